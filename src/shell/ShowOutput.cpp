// Opens the list printing window from the main window's menu, buttons and command line.
#include "output/CustomPrintMsgFrm.h"
#include "shell/MDIForm1.h"

void MDIForm1::ShowCustomPrintMsgFrm()
{
    ShowSingle<CustomPrintMsgFrm>(CustomPrintMsgFrm::Global(), [this] {
        auto* w = new CustomPrintMsgFrm(nullptr, TitlePixmap());
        w->setAttribute(Qt::WA_DeleteOnClose);
        return w;
    }, true, false);
}
