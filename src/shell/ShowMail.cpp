// Opens the batch e-mail window from the main window's menu, buttons and command line.
#include "shell/MDIForm1.h"

#include "output/frm客戶批次發信1.h"

void MDIForm1::ShowCustomerEmail()
{
    ShowSingleNew(frm客戶批次發信1::Global(), true, false, TitlePixmap());
}
