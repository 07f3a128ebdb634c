// Opens the list printing window from the main window's menu, buttons and command line.
#include "output/CustomPrintMsgFrm.h"
#include "shell/MDIForm1.h"

void MDIForm1::ShowCustomPrintMsgFrm()
{
    ShowSingleNew(CustomPrintMsgFrm::Global(), true, false, static_cast<QWidget*>(nullptr), TitlePixmap());
}
