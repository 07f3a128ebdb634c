// Opens the personal-contact window from the main window's menu, buttons and command line.
#include "shell/MDIForm1.h"

void MDIForm1::ShowOtherFrm() {}
void MDIForm1::OpenContactFind(const QString&) {}
