// The main window's menu tree, captions, language switch, window list and the targets the
// menu items and buttons open.
#include "shell/MDIForm1.h"

#include "core/AboutBox.h"
#include "core/Globals.h"
#include "core/Paths.h"
#include "core/WindowHelpers.h"
#include "customers/CustomFrom.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Ui.h"
#include "shell/ClearAllTables.h"
#include "shell/ReadSTRINGfrm.h"
#include "shell/WindowArrange.h"
#include "shell/bkmdbfrm.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

enum Flags : unsigned {
    Menu = 1,        // a top-level menu; the rows after it are its items
    Separator = 2,
    Hidden = 4,
    Disabled = 8,
    Checkable = 16,
    Checked = 32,
};

struct MenuRow {
    const char* name;
    const char* caption;  // design caption
    int id;               // string-table id, 0 = keeps the design caption
    unsigned flags;
    void (MDIForm1::*action)();
};

const MenuRow kMenus[] = {
    {"File_item", "檔案(&F)", 126, Menu, nullptr},
    {"exit_item", "離開", 105, 0, nullptr},  // closes the window
    {"資料管理item", "資料管理(&D)", 127, Menu, nullptr},
    {"Custom_Item", "客戶資料管理", 132, 0, &MDIForm1::ShowCustomFrom},
    {"factory_item", "廠商資料管理", 133, 0, &MDIForm1::ShowFactorFrm},
    {"Employee_ITEM", "員工資料管理", 134, 0, &MDIForm1::ShowPersonnelFrm},
    {"OtherDate_item", "個人通訊管理", 135, 0, &MDIForm1::ShowOtherFrm},
    {"會員資料管理Item", "會員資料管理", 0, Checkable, &MDIForm1::OpenMemberWindow},
    {"分隔1_item", "", 0, Separator, nullptr},
    {"FactoryType_Item", "廠商類別設定", 136, 0, &MDIForm1::ShowDevrItemFrm},
    {"CompanypartItem", "公司部門設定", 137, 0, &MDIForm1::ShowDipartmant1FRM},
    {"分隔2", "", 0, Separator | Hidden, nullptr},
    {"快速查詢", "快速查詢", 139, Hidden, &MDIForm1::StartQuickSearch},
    {"maillabel_item", "報表", 128, Menu, nullptr},
    {"客戶資料列印_ITEM", "報表列印", 141, 0, &MDIForm1::ShowCustomPrintMsgFrm},
    {"會員生日查詢_Item", "會員生日查詢", 0, Hidden, &MDIForm1::ShowMemberBirthdayQuery},
    {"ToolItem", "工具(&T)", 129, Menu, nullptr},
    {"setitem", "選項設定", 145, 0, &MDIForm1::ShowOptions},
    {"data_packupitem", "資料庫備份", 146, 0, &MDIForm1::ShowBackup},
    {"ConvOtherItem", "轉換外部資料", 147, 0, &MDIForm1::ShowImport},
    {"轉換Excel到通訊錄_item", "轉換Excel到通訊錄", 0, Hidden, &MDIForm1::ShowExcelLabelJob},
    {"t分隔1item", "", 0, Separator, nullptr},
    {"CusMultEmail_ITEM", "客戶批次發信", 0, 0, &MDIForm1::ShowCustomerEmail},
    {"WorkmanMultEmail_item", "員工批次發信", 0, Hidden, nullptr},
    {"FactoryMultEmail_item", "廠商批次發信", 0, Hidden, nullptr},
    {"OtherMultEmail_item", "個人通訊批次發信", 0, Hidden, nullptr},
    {"t分隔2item", "", 0, Separator, nullptr},
    {"CustomLabel_item", "客戶標籤列印", 152, 0, &MDIForm1::ShowCustomLabel},
    {"FactoryLabel_item", "廠商標籤列印", 153, 0, &MDIForm1::ShowFactoryLabel},
    {"t分隔3item", "", 0, Separator, nullptr},
    {"顯示報告列_item", "顯示報告列", 0, Checkable | Checked, nullptr},
    {"資料庫維護_item", "資料庫維護", 0, Hidden | Disabled, &MDIForm1::ShowMaintenance},
    {"視窗item", "視窗(&W)", 130, Menu, nullptr},
    {"Winlist_Item(0)", "重疊顯示", 154, Checkable, nullptr},
    {"Winlist_Item(1)", "水平並排", 155, Checkable, nullptr},
    {"Winlist_Item(2)", "垂直並排", 156, Checkable, nullptr},
    {"Winlist_Item(3)", "排列圖示", 157, Checkable, nullptr},
    {"Language_Item", "Language ", 0, Menu, nullptr},
    {"Taiwan_item", "Chinese(traditnoal)", 0, Checkable | Checked, nullptr},
    {"China_item", "Chiness (simplified)", 0, Checkable, nullptr},
    {"Help_item", "援助(&H)", 131, Menu, nullptr},
    {"aboutitem", "關於這個程式", 158, 0, &MDIForm1::ShowAbout},
    {"輔助說明_item", "輔助說明", 0, 0, &MDIForm1::ShowUserManual},
    {"helpSPEC_ITEM", "", 0, Separator, nullptr},
    {"CheckNewVer_Item", "檢查更新", 0, 0, &MDIForm1::CheckNewVer_Item_Click},
    {"AboutRAVOItem", "關於瑞沃印刷", 163, 0, &MDIForm1::ShowAboutRAVO},
    {"Softhome_item", "軟體開發部首頁", 164, 0, &MDIForm1::Softhome_item_Click},
    {"RavoPrintHome_item", "瑞沃印刷首頁", 165, 0, &MDIForm1::OpenMakerHome},
    {"DeleteAllREC_ITEM", "清空所有資料", 0, Hidden, &MDIForm1::DeleteAllREC_ITEM_Click},
    {"ReadSTRING_ITEM", "讀取資源檔", 0, Hidden, &MDIForm1::ShowReadString},
};

}  // namespace

void MDIForm1::buildMenus()
{
    QMenu* current = nullptr;
    for (const MenuRow& row : kMenus) {
        const QString name = QString::fromUtf8(row.name);
        const QString caption = QString::fromUtf8(row.caption);
        QAction* action;
        if (row.flags & Menu) {
            current = menuBar()->addMenu(caption);
            action = current->menuAction();
        } else if (row.flags & Separator) {
            action = current->addSeparator();
        } else {
            action = current->addAction(caption);
        }
        action->setObjectName(name);
        action->setProperty("captionId", row.id);
        action->setCheckable(row.flags & Checkable);
        action->setChecked(row.flags & Checked);
        action->setEnabled(!(row.flags & Disabled));
        action->setVisible(!(row.flags & Hidden));
        if (row.flags & (Menu | Separator))
            continue;
        const auto handler = row.action;
        const bool isExit = name == QLatin1String("exit_item");
        // A menu item's check mark changes only where its handler sets it.
        connect(action, &QAction::triggered, this, [this, action, handler, isExit](bool checked) {
            if (action->isCheckable())
                action->setChecked(!checked);
            if (isExit)
                close();
            else if (handler)
                (this->*handler)();
        });
    }

    顯示報告列_item = Item(QStringLiteral("顯示報告列_item"));
    會員資料管理Item = Item(QStringLiteral("會員資料管理Item"));
    Taiwan_item = Item(QStringLiteral("Taiwan_item"));
    China_item = Item(QStringLiteral("China_item"));
    視窗item = Item(QStringLiteral("視窗item"))->menu();
    for (int k = 0; k < 4; ++k) {
        Winlist_Item[k] = Item(QStringLiteral("Winlist_Item(%1)").arg(k));
        connect(Winlist_Item[k], &QAction::triggered, this, [this, k] { ArrangeItem(k); });
    }
    connect(Taiwan_item, &QAction::triggered, this, [this] { SetLanguage(0); });
    connect(China_item, &QAction::triggered, this, [this] { SetLanguage(10000); });
    connect(視窗item, &QMenu::aboutToShow, this, &MDIForm1::fillWindowList);
}

QAction* MDIForm1::Item(const QString& name) const
{
    for (QAction* a : findChildren<QAction*>())
        if (a->objectName() == name)
            return a;
    return nullptr;
}

void MDIForm1::LoadLanguage()
{
    setWindowTitle(LoadResString(100));
    for (const MenuRow& row : kMenus)
        if (row.id != 0)
            Item(QString::fromUtf8(row.name))->setText(LoadResString(row.id));
    for (int i = 0; i <= 3; ++i) {
        Command1[i]->setText(LoadResString(973 + i));
        Winlist_Item[i]->setText(LoadResString(154 + i));
    }
    for (QPushButton* b : Command1)
        if (b)
            b->update();
}

void MDIForm1::SetLanguage(int offset)
{
    Taiwan_item->setChecked(offset == 0);
    China_item->setChecked(offset != 0);
    UseLanguage(static_cast<short>(offset));
    LoadLanguage();
}

void MDIForm1::ArrangeItem(int k)
{
    for (int i = 0; i < 4; ++i)
        Winlist_Item[i]->setChecked(i == k);
    ArrangeWindows(MdiArea, static_cast<Arrange>(k));
}

void MDIForm1::fillWindowList()
{
    for (QAction* a : windowListActions_) {
        視窗item->removeAction(a);
        a->deleteLater();
    }
    windowListActions_.clear();
    const QList<QMdiSubWindow*> windows = MdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    windowListActions_.append(視窗item->addSeparator());
    int n = 0;
    for (QMdiSubWindow* w : windows) {
        QAction* a = 視窗item->addAction(QStringLiteral("&%1 %2").arg(++n).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == MdiArea->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w = QPointer<QMdiSubWindow>(w)] {
            if (w) {
                if (w->isMinimized())
                    w->showNormal();
                MdiArea->setActiveSubWindow(w);
            }
        });
        windowListActions_.append(a);
    }
}

// ---- Targets -----------------------------------------------------------------------------------
// The other areas' windows are opened from a file each (Show*.cpp); until a window joins the
// program its menu item and button are present and do nothing.

void MDIForm1::ShowCustomFrom()
{
    ShowRecordWindow<CustomFrom>();
}

void MDIForm1::OpenCustomerFind(const QString& text)
{
    ShowCustomFrom();
    ui::DoEvents();
    if (CustomFrom* w = CustomFrom::Global())
        w->SetQuickFindText(text);
}

// The check mark is the member window's single-instance flag; the window clears it when it
// closes (and so does its destruction, whichever comes first).
void MDIForm1::OpenMemberWindow()
{
    if (!會員資料管理Item->isChecked()) {
        gTableSetName = QStringLiteral("會員管理");
        QWidget* window = NewMemberWindow();
        if (!window)
            return;
        會員資料管理Item->setChecked(true);
        memberWindow_ = window;
        connect(window, &QObject::destroyed, this, [this] { 會員資料管理Item->setChecked(false); });
        ShowInner(window, true);
        return;
    }
    ui::MsgBox(QStringLiteral("會員資料管理已經開啟"));
    if (memberWindow_)
        ShowInner(memberWindow_, true);
}

void MDIForm1::StartQuickSearch()
{
    shellsvc::StartDetached(JoinPath(gProgramPath, QStringLiteral("Tsrne.exe")));
}

void MDIForm1::ShowBackup()
{
    QPointer<bkmdbfrm> slot = qobject_cast<bkmdbfrm*>(backupWindow_.data());
    ShowSingle<bkmdbfrm>(slot, [this] {
        auto* w = new bkmdbfrm(this);
        w->setAttribute(Qt::WA_DeleteOnClose);
        return w;
    }, false, true);
    backupWindow_ = slot.data();
}

bool MDIForm1::ShowBackupModal()
{
    if (backupWindow_)
        backupWindow_->close();
    bkmdbfrm window(this);
    ui::ShowModal(&window);
    return window.backedUp();
}

void MDIForm1::ShowAbout() { ShowAboutWindow(); }

namespace {

// A page of the maker's site; without a site set the user is told so and nothing opens.
QString MakerPage(const QString& path)
{
    const QString url = MakerUrl(path);
    if (url.isEmpty())
        ui::MsgBox(QStringLiteral("尚未設定瑞沃印刷的網站位址，無法開啟這個網頁。"), ui::Buttons::OK, ui::Icon::Exclamation);
    return url;
}

}  // namespace

// Without a site set the help browser still shows the manual installed with the program.
void MDIForm1::ShowUserManual() { ShowHelpBrowser(MakerUrl(QStringLiteral("/TSuserManu/index.html"))); }

void MDIForm1::ShowTechnicalSupport()
{
    if (const QString url = MakerPage(QStringLiteral("/confab/html/")); !url.isEmpty())
        ShowHelpBrowser(url);
}

void MDIForm1::Softhome_item_Click()
{
    if (const QString url = MakerPage(QStringLiteral("/pressmont/")); !url.isEmpty())
        ShowHelpBrowser(url);
}

void MDIForm1::OpenMakerHome()
{
    if (const QString url = MakerPage(QStringLiteral("/index.html")); !url.isEmpty())
        OpenWebPage(url);
}

void MDIForm1::DeleteAllREC_ITEM_Click()
{
    const QString path = gDatabaseFile.isEmpty() ? JoinPath(gDataPath, QStringLiteral("tessarine.mdb")) : gDatabaseFile;
    ui::MsgBox(path);
    if (ui::MsgBox(QStringLiteral("確定清空所有資料嗎? "), ui::Buttons::YesNo) == ui::Answer::Yes) {
        ending_ = true;
        if (!ClearAllTables(gConn))
            ending_ = false;
    }
}

void MDIForm1::ShowReadString()
{
    QPointer<ReadSTRINGfrm> slot = qobject_cast<ReadSTRINGfrm*>(readStringWindow_.data());
    ShowSingle<ReadSTRINGfrm>(slot, [this] {
        auto* w = new ReadSTRINGfrm(this);
        w->setAttribute(Qt::WA_DeleteOnClose);
        return w;
    }, false, true);
    readStringWindow_ = slot.data();
}
