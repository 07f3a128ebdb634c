#include "shell/資料庫維護frm.h"

#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "shell/DbMaintenance.h"
#include "shell/MDIForm1.h"
#include "shell/Skin.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

namespace {

using vb::Px;

}  // namespace

資料庫維護frm::資料庫維護frm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("資料庫維護frm"));
    setWindowTitle(QStringLiteral("資料庫維護"));
    ApplySkin(this);
    setFixedSize(Px(8085), Px(6075));

    auto* banner = new QWidget(this);
    banner->setGeometry(0, 0, Px(8085), Px(1155));
    Image1 = NewTitleImage(banner);
    Image1->setGeometry(0, 0, Px(8085), Px(1155));

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(Px(120), Px(1380), Px(3315), Px(315));
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(Px(120), Px(1740), Px(3315), Px(4200));

    Note = new QLabel(QStringLiteral("維護資料庫時.請先關閉開啟的視窗,如果是網路版,其他連線的系統也必須先退出"), this);
    Note->setObjectName(QStringLiteral("Note"));
    Note->setWordWrap(true);
    Note->setGeometry(Px(3720), Px(1440), Px(4200), Px(900));
    Command1 = new QPushButton(QStringLiteral("允許文字欄位為零"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(Px(3720), Px(2520), Px(2055), Px(735));
    Command3 = new QPushButton(QStringLiteral("清空資料表"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(Px(3720), Px(3300), Px(2055), Px(735));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(Px(5580), Px(4440), Px(2400), Px(315));
    Command6 = new QPushButton(QStringLiteral("轉換客戶資料代號"), this);
    Command6->setObjectName(QStringLiteral("Command6"));
    Command6->setGeometry(Px(5340), Px(4920), Px(1875), Px(435));

    connect(Combo1, &QComboBox::activated, this, [this](int) { Combo1_Click(); });
    connect(Command1, &QPushButton::clicked, this, &資料庫維護frm::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &資料庫維護frm::Command3_Click);
    connect(Command6, &QPushButton::clicked, this, &資料庫維護frm::Command6_Click);

    // Form_Load.
    CenterOnScreen(this);
    Combo1->addItem(QStringLiteral("Tessarine"));
    Combo1->setCurrentIndex(0);
    LoadTableList();
}

void 資料庫維護frm::Combo1_Click() { LoadTableList(); }

void 資料庫維護frm::LoadTableList()
{
    List1->clear();
    List1->addItems(dbmaint::LoadTableList(gConn));
}

QStringList 資料庫維護frm::listedTables() const
{
    QStringList tables;
    for (int i = 0; i < List1->count(); ++i)
        tables << List1->item(i)->text();
    return tables;
}

void 資料庫維護frm::Command1_Click()
{
    ui::WaitCursor wait;
    if (ui::MsgBox(QStringLiteral("確定設定所有文字欄位允許為零字串嗎"), ui::Buttons::YesNo) != ui::Answer::Yes)
        return;
    if (dbmaint::AllowZeroLengthAll(gConn, listedTables()))
        ui::MsgBox(QStringLiteral("處理完畢"));
}

void 資料庫維護frm::Command3_Click()
{
    dbmaint::ClearTables(gConn, listedTables());
    ui::MsgBox(QStringLiteral("重置完畢"));
}

void 資料庫維護frm::Command6_Click()
{
    // Window events run between customers: a second press must not start a second run.
    Command6->setEnabled(false);
    const dbmaint::RenumberOutcome outcome =
        dbmaint::RenumberCustomerCodes(gConn, [this](const QString& code) { Label1->setText(code); });
    Command6->setEnabled(true);
    if (!outcome.ok)
        ui::MsgBox(QStringLiteral("交易失敗") + outcome.error);
}

void MDIForm1::ShowMaintenance()
{
    static QPointer<資料庫維護frm> slot;
    ShowSingle<資料庫維護frm>(slot, [this] {
        auto* w = new 資料庫維護frm(this);
        w->setAttribute(Qt::WA_DeleteOnClose);
        return w;
    }, false, true);
}
