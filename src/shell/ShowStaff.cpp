// Opens the employee window from the main window's menu, buttons and command line.
#include "shell/MDIForm1.h"
#include "staff/PersonnelFrm.h"

void MDIForm1::ShowPersonnelFrm()
{
    ShowSingle<PersonnelFrm>(PersonnelFrm::Global(), [this] {
        auto* w = new PersonnelFrm(nullptr, TitlePixmap());
        w->setAttribute(Qt::WA_DeleteOnClose);
        return w;
    }, true, true);
}
