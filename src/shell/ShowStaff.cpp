// Opens the employee window from the main window's menu, buttons and command line.
#include "shell/MDIForm1.h"
#include "staff/PersonnelFrm.h"

void MDIForm1::ShowPersonnelFrm()
{
    ShowRecordWindow<PersonnelFrm>();
}
