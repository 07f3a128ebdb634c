// Opens the member window and birthday query from the main window's menu, buttons and command line.
#include "contacts/MemberBirthdayQuery.h"
#include "shell/MDIForm1.h"

QWidget* MDIForm1::NewMemberWindow() { return nullptr; }

void MDIForm1::ShowMemberBirthdayQuery()
{
    ShowSingleNew(frm會員生日查詢::Global(), true, false);
}
