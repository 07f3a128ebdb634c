// Opens the vendor-category and department windows from the main window's menu, buttons and command line.
#include "shell/MDIForm1.h"
#include "staff/CodeTableFrm.h"

void MDIForm1::ShowDevrItemFrm() { OpenDevrItemFrm(); }
void MDIForm1::ShowDipartmant1FRM() { OpenDipartmant1FRM(); }
