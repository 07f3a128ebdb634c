// Opens the employee window from the main window's menu, buttons and command line.
#include "shell/MDIForm1.h"
#include "codetables/CodeTableFrm.h"
#include "staff/PersonnelFrm.h"

void MDIForm1::ShowPersonnelFrm()
{
    // 新增 with no department opens the department window in its add mode.
    PersonnelFrm::OpenDepartmentWindow() = [] {
        OpenDipartmant1FRM(true, MDIForm1::Instance() ? MDIForm1::Instance()->TitlePixmap() : QPixmap());
    };
    ShowRecordWindow<PersonnelFrm>();
}
