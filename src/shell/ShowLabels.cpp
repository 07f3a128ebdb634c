// Opens the label windows from the main window's menu, buttons and command line.
#include "shell/MDIForm1.h"

void MDIForm1::ShowCustomLabel() {}
void MDIForm1::ShowFactoryLabel() {}
void MDIForm1::ShowExcelLabelJob() {}
