// Opens the vendor-category and department windows from the main window's menu, buttons and command line.
#include "shell/MDIForm1.h"

void MDIForm1::ShowDevrItemFrm() {}
void MDIForm1::ShowDipartmant1FRM() {}
