#include "core/Globals.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "customers/CustomFond.h"
#include "customers/CustomFrom.h"
#include "customers/CustomerDetailGrids.h"
#include "customers/CustomerNotes.h"
#include "platform/db/Db.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/FlexGrid.h"
#include "shell/MDIForm1.h"
#include "support/CustomerDb.h"
#include "support/ListedColumn.h"
#include "support/RecordingSink.h"
#include "support/Responder.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <iostream>

using testsupport::ScriptedResponder;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

struct Customer {
    QString code, name, full, phone, category;
    int invoice = 0;
};

// The customer database, with the main window's writable areas recorded.
class CustomerDb : public testsupport::CustomerDb {
protected:
    static void add(const Customer& c)
    {
        gConn.Execute(QStringLiteral("Insert Into RV12 (RV120, RV121, 客戶全銜, RV123, 類別, 發票狀況, 建檔日) "
                                     "Values (?, ?, ?, ?, ?, ?, ?)"),
                      {c.code, c.name, c.full, c.phone, c.category, c.invoice, 20261201});
    }
    static void addThree()
    {
        add({"000001", "大同", "大同股份有限公司", "(02)2592-1111", "電子業", 1});
        add({"000002", "中華", "中華電信", "(03)555-0202", "電信業", 5});
        add({"000003", "台塑", "台塑企業", "(07)333-0303", "電子業", 2});
    }

    // The window, with the responder answering whatever it asks at load.
    std::unique_ptr<CustomFrom> open()
    {
        auto w = std::make_unique<CustomFrom>();
        w->show();
        return w;
    }

    static QStringList listColumn(CustomFrom& w, const QString& field)
    {
        return testsupport::ListedColumn(w.CustomerListRs, field);
    }

    static QString current(CustomFrom& w) { return w.BoxText(0); }

    testsupport::RecordingSink sink;
};

QString Notes(const QStringList& items)
{
    QString s;
    for (const QString& i : items)
        s += kCrLf + kCrLf + i;
    return s;
}

const QStringList kEveryMissing = {
    "◆ 客戶代號 未輸入",
    "◆ 客戶名稱 未輸入",
    "◆ 客戶全銜 未輸入,這會影響郵寄名單,以及報價等功能",
    "◆ 電話 未輸入",
    "◆ 傳真 未輸入",
    "◆ 郵遞區號 未輸入",
    "◆ 客戶的地址未輸入",
    "◆ 客戶分類未輸入,如果資料量多.分類會更方便日後的資料處理",
    "◆ 負責業務未輸入,相關系統可能需要計算業務業績等",
    "◆ 結帳日期未輸入,讓出貨系統自動判斷結帳日期",
    "◆ 發票狀況未輸入,讓發票管理系統知道客戶開立發票的方式",
};
const QString kBrowse1 = QStringLiteral("※ 要編輯資料,要先按修改按鈕");
const QString kBrowse2 = QStringLiteral("※ 要新增資料,請直接按新增按鈕");
const QString kEditing = QStringLiteral("※ 中文姓名以及編號一定要輸入才能存檔");
const QString kNoContact = QStringLiteral("◆沒有聯絡人的紀錄");

}  // namespace

// ---- Notes and the find condition, as plain functions ----------------------------------------

TEST(CustomerNotes, ItemsFollowTheModeTheEmptyBoxesAndTheContacts)
{
    const auto empty = [](int) { return QString(); };
    const auto full = [](int) { return QStringLiteral("x"); };
    // Boxes 3 and 19 empty, box 5 blanks only (counts as filled).
    const auto some = [](int box) {
        return box == 3 || box == 19 ? QString() : box == 5 ? QStringLiteral("  ") : QStringLiteral("x");
    };
    struct Case {
        const char* name;
        bool editing;
        std::function<QString(int)> boxes;
        int contacts;
        QStringList items;
    } cases[] = {
        {"new record while adding", true, empty, 0, QStringList{kEditing} + kEveryMissing + QStringList{kNoContact}},
        {"complete customer browsing", false, full, 2, {kBrowse1, kBrowse2}},
        {"empty record browsing", false, empty, 0, QStringList{kBrowse1, kBrowse2} + kEveryMissing + QStringList{kNoContact}},
        {"two boxes missing, in table order", false, some, 1, {kBrowse1, kBrowse2, kEveryMissing[3], kEveryMissing[7]}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CustomerNotesText(c.editing, c.boxes, c.contacts), Notes(c.items)) << c.name;
}

TEST(CustomerFindCondition, FilledBoxesJoinedWithTheirValuesApart)
{
    const FindCondition c = BuildFindCondition(
        {{"RV120", "A1"}, {"RV121", ""}, {"RV123", "02"}, {"RV128", " "}, {"RV1213", "O'Neil"}});
    EXPECT_EQ(c.text, QStringLiteral("RV120 Like '%A1%' AND RV123 Like '%02%' AND RV128 Like '% %' AND RV1213 Like '%O'Neil%'"));
    EXPECT_EQ(c.sql, QStringLiteral("RV120 Like ? AND RV123 Like ? AND RV128 Like ? AND RV1213 Like ?"));
    EXPECT_EQ(c.params, (QVariantList{"%A1%", "%02%", "% %", "%O'Neil%"}));
    EXPECT_TRUE(BuildFindCondition({{"RV120", ""}}).isEmpty());
}

// ---- The window ----------------------------------------------------------------------------------

TEST_F(CustomerDb, EmptyTableOpensOnAnEmptyRecordWithFindModifyDeleteOff)
{
    ScriptedResponder r;
    r.answer(ui::Answer::OK);
    auto w = open();
    EXPECT_EQ(r.texts(), QStringList{"第一次使用資料庫"});
    for (int i : {0, 2, 4})
        EXPECT_FALSE(w->Command2[i]->isEnabled()) << i;
    const QString notes = Notes(QStringList{kBrowse1, kBrowse2} + kEveryMissing + QStringList{kNoContact});
    EXPECT_EQ(w->NotesText, notes);
    EXPECT_EQ(sink.help, notes);
    EXPECT_EQ(sink.caption, QStringLiteral("客戶管理"));
    // Switching tabs leaves them off while there is no customer.
    w->TabStrip2->setCurrentIndex(1);
    w->TabStrip2->setCurrentIndex(0);
    for (int i : {0, 2, 4})
        EXPECT_FALSE(w->Command2[i]->isEnabled()) << i;
}

TEST_F(CustomerDb, OpensOnTheLastCustomerByShortNameWithItsUnboundFields)
{
    addThree();
    gConn.Execute(QStringLiteral("Insert Into RV12A (RV12A0, RV12A1) Values ('000003', '王小明')"));
    auto w = open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("客戶資料管理"));
    // Short names in code-point order: 中華, 台塑, 大同.
    EXPECT_EQ(listColumn(*w, "RV121"), (QStringList{"中華", "台塑", "大同"}));
    EXPECT_EQ(current(*w), QStringLiteral("000001"));
    EXPECT_EQ(w->BoxText(2), QStringLiteral("大同股份有限公司"));
    EXPECT_EQ(w->BoxText(18), QStringLiteral("隨貨附發票"));
    EXPECT_EQ(w->Label2[1]->text(), QStringLiteral("20261201"));
    for (int i : {0, 2, 4})
        EXPECT_TRUE(w->Command2[i]->isEnabled()) << i;

    // The list shows the code and the short name only.
    QTableView* grid = w->DataGrid1[0];
    QStringList shown;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (!grid->isColumnHidden(c))
            shown << grid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(shown, (QStringList{"客戶代號", "客戶"}));

    // A click on a row shows that customer, its notes and its unbound fields.
    grid->setCurrentIndex(grid->model()->index(0, 0));
    EXPECT_EQ(current(*w), QStringLiteral("000002"));
    EXPECT_EQ(w->BoxText(18), QStringLiteral("不詳"));
    EXPECT_TRUE(w->NotesText.contains(kNoContact));
    grid->setCurrentIndex(grid->model()->index(1, 0));
    EXPECT_EQ(current(*w), QStringLiteral("000003"));
    EXPECT_EQ(w->Grids->ManGrid()->TextMatrix(1, 1), QStringLiteral("王小明"));
    EXPECT_FALSE(w->NotesText.contains(kNoContact));
    EXPECT_EQ(sink.help, w->NotesText);
}

TEST_F(CustomerDb, BrowsingRefusesTypingPastingAndDeleting)
{
    addThree();
    auto w = open();
    QApplication::clipboard()->setText(QStringLiteral("貼上"));
    for (int box : {0, 1, 3, 15}) {
        QLineEdit* e = w->Box(box);
        const QString before = e->text();
        e->setFocus();
        QTest::keyClicks(e, QStringLiteral("xy"));
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(e->text(), before) << box;
    }
    EXPECT_EQ(w->CustomerRs.EditMode(), db::adEditNone);
    // Adding or changing opens the boxes.
    w->EditMode = QStringLiteral("change");
    EXPECT_FALSE(w->Box(1)->isReadOnly());
    w->EditMode.clear();
    EXPECT_TRUE(w->Box(1)->isReadOnly());
}

TEST_F(CustomerDb, SortChoiceIsKeptForTheNextOpening)
{
    addThree();
    {
        auto w = open();
        w->Combo1->setCurrentIndex(1);
        emit w->Combo1->activated(1);
        EXPECT_EQ(listColumn(*w, "RV120"), (QStringList{"000001", "000002", "000003"}));
        w->close();
    }
    EXPECT_EQ(ReadSetting("CustomSort", "Tessarine"), QStringLiteral("代號"));
    EXPECT_EQ(sink.help, QString());
    EXPECT_EQ(sink.caption, QStringLiteral("專家視窗"));
    auto w = open();
    EXPECT_EQ(w->Combo1->currentText(), QStringLiteral("代號"));
    EXPECT_EQ(current(*w), QStringLiteral("000003"));
    w->close();

    // A hand-edited value: the list comes in the table's own order.
    WriteSetting("CustomSort", "xx", "Tessarine");
    auto odd = open();
    EXPECT_EQ(odd->Combo1->currentText(), QStringLiteral("xx"));
    EXPECT_EQ(odd->CustomerListRs.RecordCount(), 3);
}

TEST_F(CustomerDb, CategoryViewListsOneCategory)
{
    addThree();
    add({"000004", "O'Hara", "O'Hara Ltd", "", "It's", 0});
    auto w = open();
    EXPECT_FALSE(w->Combo3->isEnabled());
    w->Command1[0]->click();
    EXPECT_EQ(w->Command1[0]->text(), QStringLiteral("分類顯示"));
    ASSERT_TRUE(w->Combo3->isEnabled());
    // The category list is refilled and left empty: the list stays whole until one is picked.
    EXPECT_EQ(w->Combo3->currentText(), QString());
    EXPECT_EQ(w->Combo3->count(), 3);
    EXPECT_EQ(w->CustomerListRs.RecordCount(), 4);
    // A category with a quote is just a value.
    w->Combo3->setCurrentIndex(w->Combo3->findText("It's"));
    emit w->Combo3->activated(w->Combo3->currentIndex());
    EXPECT_EQ(listColumn(*w, "RV120"), QStringList{"000004"});
    w->Combo3->setCurrentIndex(w->Combo3->findText("電子業"));
    emit w->Combo3->activated(w->Combo3->currentIndex());
    EXPECT_EQ(listColumn(*w, "RV121"), (QStringList{"台塑", "大同"}));
    EXPECT_EQ(current(*w), QStringLiteral("000001"));
    w->Command1[0]->click();
    EXPECT_EQ(w->CustomerListRs.RecordCount(), 4);
}

TEST_F(CustomerDb, QuickFindMovesToTheFirstCodeElseNamePrefixMatch)
{
    addThree();
    add({"TW01", "tw", "", "", "", 0});
    add({"X9", "TW商行", "", "", "", 0});
    add({"Y1", "a*b", "", "", "", 0});
    auto w = open();
    struct Case {
        const char* typed;
        const char* customer;  // "" = stays where it was
        const char* status;    // "" = none written
    } cases[] = {
        {"00000", "000002", "找到客戶  [ 中華]"},  // first in the list's order (by short name)
        {"tw", "TW01", "找到客戶  [ tw]"},         // the code wins over "TW商行"
        {"台", "000003", "找到客戶  [ 台塑]"},
        {" 中華 ", "000002", "找到客戶  [ 中華]"},
        {"a*", "Y1", "找到客戶  [ a*b]"},
        {"*", "", "沒找到"},  // typed characters are never wildcards
        {"zz", "", "沒找到"},
        {"'", "", "沒找到"},
        {"   ", "", ""},
    };
    for (const Case& c : cases) {
        w->DataCombo1[0]->setEditText(QString());
        const QString before = current(*w);
        gStatusText.clear();
        sink.status.clear();
        w->DataCombo1[0]->setEditText(QString::fromUtf8(c.typed));
        const QString expected = *c.customer ? QString::fromUtf8(c.customer) : before;
        EXPECT_EQ(current(*w), expected) << c.typed;
        EXPECT_EQ(w->CustomerListRs.value("RV120").toString(), expected) << c.typed;
        EXPECT_EQ(sink.status, QString::fromUtf8(c.status)) << c.typed;
    }
}

TEST_F(CustomerDb, FindWindowRequeriesWithTheConditionAndFallsBackWhenNothingMatches)
{
    addThree();
    auto w = open();
    ScriptedResponder r;
    r.modal([](QDialog* d) {
        auto* find = dynamic_cast<CustomFond*>(d);
        EXPECT_EQ(find->windowTitle(), QStringLiteral("客戶資料查詢"));
        EXPECT_FALSE(find->Command1[0]->isEnabled());
        find->Text1[3]->setText(QStringLiteral("02"));
        find->Command1[0]->click();
        return int(QDialog::Accepted);
    });
    w->Command2[0]->click();
    EXPECT_EQ(sink.status, QStringLiteral("查詢條件: RV123 Like '%02%'"));
    EXPECT_EQ(listColumn(*w, "RV120"), (QStringList{"000002", "000001"}));
    EXPECT_EQ(w->CustomerListRs.value("RV120").toString(), current(*w));

    // A quote is just part of the value; nothing matches, so the whole list comes back.
    r.modal([](QDialog* d) {
        auto* find = dynamic_cast<CustomFond*>(d);
        find->Text1[1]->setText(QStringLiteral("O'"));
        find->Command1[0]->click();
        return int(QDialog::Accepted);
    });
    r.answer(ui::Answer::OK);
    w->Command2[0]->click();
    EXPECT_EQ(r.texts(), QStringList{"查無資料"});
    EXPECT_EQ(w->CustomerListRs.RecordCount(), 3);
    EXPECT_EQ(w->Text6->text(), QStringLiteral("RV121 Like '%O'%'"));
}

TEST_F(CustomerDb, FindWindowBoxes)
{
    CustomFond find(nullptr);
    find.show();
    find.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&find));
    // Enter goes round the boxes.
    find.Text1[11]->setFocus();
    QTest::keyClick(find.Text1[11], Qt::Key_Return);
    EXPECT_TRUE(find.Text1[0]->hasFocus());
    // The short name typed is copied onto the full name.
    find.Text1[2]->setText(QStringLiteral("大 "));
    find.Text1[1]->setFocus();
    QTest::keyClicks(find.Text1[1], QStringLiteral("ab"));
    EXPECT_EQ(find.Text1[2]->text(), QStringLiteral("大ab"));
    EXPECT_TRUE(find.Command1[0]->isEnabled());
    // Receivables and closing day take digits only.
    ScriptedResponder r;
    QTest::keyClicks(find.Text1[9], QStringLiteral("1a2.5"));
    EXPECT_EQ(find.Text1[9]->text(), QStringLiteral("12.5"));
    EXPECT_EQ(r.beeps, 1);
    // Blanks alone do not enable OK.
    for (QLineEdit* box : find.Text1)
        box->clear();
    find.Text1[4]->setText(QStringLiteral("  "));
    EXPECT_FALSE(find.Command1[0]->isEnabled());
    find.Command1[1]->click();
    EXPECT_EQ(sink.panels[0].last(), QStringLiteral("客戶顯示全部內容"));
}

TEST_F(CustomerDb, WebSiteButtonOpensTheTrimmedAddress)
{
    addThree();
    auto w = open();
    struct Case {
        const char* box;
        const char* opened;  // "" = the empty-box message
    } cases[] = {
        {" www.tessarine.tw ", "http://www.tessarine.tw"},
        {"https://shop.example.tw", "https://shop.example.tw"},
        {"   ", ""},
    };
    for (const Case& c : cases) {
        shellsvc::Recorder rec;
        ScriptedResponder r;
        if (!*c.opened)
            r.answer(ui::Answer::OK);
        w->SetBoxText(15, QString::fromUtf8(c.box));
        w->Command5[1]->click();
        if (*c.opened) {
            ASSERT_EQ(rec.calls.size(), 1u) << c.box;
            EXPECT_EQ(rec.calls[0].target, QString::fromUtf8(c.opened));
        } else {
            EXPECT_TRUE(rec.calls.empty());
            EXPECT_EQ(r.texts(), QStringList{"網址是空的"});
        }
    }
}

TEST_F(CustomerDb, CommandLineOpensTheWindowOnTheNamedCustomer)
{
    addThree();
    const testsupport::RecordingSink::Aside mainWindowWrites(sink);
    {
        MDIForm1 main(QStringLiteral("1/台塑"));
        CustomFrom* w = CustomFrom::Global();
        ASSERT_TRUE(w);
        EXPECT_EQ(w->DataCombo1[0]->currentText(), QStringLiteral("台塑"));
        EXPECT_EQ(w->BoxText(0), QStringLiteral("000003"));
        EXPECT_EQ(main.Text2->toPlainText().isEmpty(), false);
        EXPECT_EQ(main.Label6[1]->text(), QStringLiteral("客戶管理"));
        // Coming back to the window shows its notes again.
        main.show();
        auto* other = new QWidget;
        main.ShowInner(other, true);
        SetHelpPanelText(QStringLiteral("other notes"));
        // The menu brings the same window back.
        main.ShowCustomFrom();
        EXPECT_EQ(CustomFrom::Global().data(), w);
        EXPECT_EQ(main.Text2->toPlainText(), QString(w->NotesText).replace(kCrLf, "\n"));
    }
}

// Timings on a large table; run with TESS_CUSTOMER_TIMING=1.
TEST_F(CustomerDb, LargeTableOpensAndFindsQuickly)
{
    if (qEnvironmentVariableIsEmpty("TESS_CUSTOMER_TIMING"))
        GTEST_SKIP() << "set TESS_CUSTOMER_TIMING=1";
    gConn.BeginTrans();
    for (int i = 1; i <= 100000; ++i)
        gConn.Execute(QStringLiteral("Insert Into RV12 (RV120, RV121, 客戶全銜, RV123, RV128, 類別) Values (?, ?, ?, ?, ?, ?)"),
                      {QStringLiteral("%1").arg(i, 6, 10, QChar('0')), QStringLiteral("客戶%1").arg(i),
                       QStringLiteral("客戶%1股份有限公司").arg(i), QStringLiteral("(02)2592-%1").arg(i % 10000),
                       QStringLiteral("台北市中山北路%1號").arg(i), QStringLiteral("類別%1").arg(i % 7)});
    gConn.CommitTrans();
    QElapsedTimer t;
    t.start();
    auto w = open();
    QApplication::processEvents();
    const qint64 openMs = t.elapsed();
    std::cout << "open on 100000 customers: " << openMs << " ms" << std::endl;
    EXPECT_LT(openMs, 1000);

    qint64 worst = 0;
    for (const QString& typed : {QStringLiteral("0"), QStringLiteral("09"), QStringLiteral("099"), QStringLiteral("0999"),
                                 QStringLiteral("09999"), QStringLiteral("客"), QStringLiteral("客戶5"),
                                 QStringLiteral("客戶55"), QStringLiteral("客戶555"), QStringLiteral("無此客戶")}) {
        t.restart();
        w->DataCombo1[0]->setEditText(typed);
        QApplication::processEvents();
        worst = std::max(worst, t.elapsed());
    }
    std::cout << "quick find, slowest keystroke: " << worst << " ms" << std::endl;
    EXPECT_LT(worst, 100);

    // The drop-down list of short names is read when it opens.
    t.restart();
    w->DataCombo1[0]->showPopup();
    QApplication::processEvents();
    std::cout << "quick-find list opened: " << t.elapsed() << " ms" << std::endl;
    EXPECT_EQ(w->DataCombo1[0]->count(), 100000);
    EXPECT_EQ(w->DataCombo1[0]->currentText(), QStringLiteral("無此客戶"));
    w->DataCombo1[0]->hidePopup();
}

// At its design size the find window shows every control whole, in Traditional and in
// Simplified Chinese: nothing reaches past the window's edge, no caption is cut.
TEST_F(CustomerDb, FindWindowShowsEveryControlAtItsDesignSize)
{
    for (short offset : {short(0), short(10000)}) {
        SCOPED_TRACE(offset);
        gLangOffset = offset;
        CustomFond find(nullptr);
        find.show();
        for (QWidget* c : find.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (c->isHidden())
                continue;
            EXPECT_TRUE(find.rect().contains(c->geometry())) << c->objectName().toStdString();
            if (qobject_cast<QPushButton*>(c) || (qobject_cast<QLabel*>(c) && !static_cast<QLabel*>(c)->text().isEmpty()))
                EXPECT_LE(c->sizeHint().width(), c->width()) << c->objectName().toStdString();
        }
    }
    gLangOffset = 0;
}
