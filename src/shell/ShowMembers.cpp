// Opens the member window and birthday query from the main window's menu, buttons and command line.
#include "contacts/DBtable_fm.h"
#include "contacts/frm會員生日查詢.h"
#include "shell/MDIForm1.h"

#include <QAction>
#include <QPointer>

// The member window on gTableSetName; its unload clears the menu item's check mark.
QWidget* MDIForm1::NewMemberWindow()
{
    auto* w = new DBtable_fm(nullptr, TitlePixmap());
    if (!w->Loaded()) {
        delete w;
        return nullptr;
    }
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->Unloaded = [item = QPointer<QAction>(會員資料管理Item)] {
        if (item)
            item->setChecked(false);
    };
    return w;
}

void MDIForm1::ShowMemberBirthdayQuery()
{
    ShowSingleNew(frm會員生日查詢::Global(), true, false);
}
