// Opens the vendor-category and department windows from the main window's menu, buttons and command line.
#include "shell/MDIForm1.h"
#include "codetables/CodeTableFrm.h"

void MDIForm1::ShowDevrItemFrm() { OpenDevrItemFrm(false, TitlePixmap()); }
void MDIForm1::ShowDipartmant1FRM() { OpenDipartmant1FRM(false, TitlePixmap()); }
