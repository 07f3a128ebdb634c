// Opens the batch e-mail window from the main window's menu, buttons and command line.
#include "shell/MDIForm1.h"

#include "output/CustomerBatchMail.h"

void MDIForm1::ShowCustomerEmail()
{
    ShowSingle<frm客戶批次發信1>(frm客戶批次發信1::Global(), [this] {
        auto* w = new frm客戶批次發信1(TitlePixmap());
        w->setAttribute(Qt::WA_DeleteOnClose);
        return w;
    }, true, false);
}
