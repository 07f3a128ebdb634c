// The vendor window driven end to end against a real database file: the list and its views,
// the type-ahead finds, the find window, adding, changing, cancelling, deleting and saving.
#include "core/Globals.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/FlexGrid.h"
#include "records/DetailGrid.h"
#include "shell/MDIForm1.h"
#include "support/LayerFaults.h"
#include "support/ListedColumn.h"
#include "support/RecordingSink.h"
#include "support/Responder.h"
#include "support/UserKeys.h"
#include "vendors/FactorFond.h"
#include "vendors/FactorFrm.h"
#include "vendors/VendorDb.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <iostream>

using testsupport::ClickDropDownEntry;
using testsupport::PressKey;
using testsupport::ScriptedResponder;
using testsupport::TypeKeys;

namespace {

class VendorWindow : public testsupport::VendorDb {
protected:
    void SetUp() override
    {
        testsupport::VendorDb::SetUp();
        ui::SetToday(QDate(2026, 12, 10));
        ui::SetNow(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    }
    void TearDown() override
    {
        ui::SetToday(QDate());
        ui::SetNow(QDateTime());
        testsupport::VendorDb::TearDown();
    }

    std::unique_ptr<FactorFrm> open()
    {
        auto w = std::make_unique<FactorFrm>();
        w->show();
        return w;
    }
    // Twelve categories 001..012 with `perCategory` vendors each; every seventh has left
    // ("已無往来"), every eleventh has no status at all.
    static void addMany(int perCategory)
    {
        gConn.BeginTrans();
        for (int c = 1; c <= 12; ++c) {
            const QString code = QStringLiteral("%1").arg(c, 3, 10, QChar('0'));
            addCategory(code, QStringLiteral("類別%1").arg(c));
            for (int v = 1; v <= perCategory; ++v) {
                const int n = (c - 1) * perCategory + v;
                const QString status = n % 7 == 0 ? QStringLiteral("已無往來")
                                                  : n % 11 == 0 ? QString() : QStringLiteral("現用廠商");
                addVendor(code, code + QStringLiteral("-%1").arg(v, 3, 10, QChar('0')),
                          QStringLiteral("廠商%1").arg(n, 4, 10, QChar('0')), status);
            }
        }
        gConn.CommitTrans();
    }
    static QStringList listed(FactorFrm& w, const QString& field = QStringLiteral("RV111"))
    {
        return testsupport::ListedColumn(w.FactoryGridRs(), field);
    }
    static QStringList contactNames(FactorFrm& w)
    {
        QStringList out;
        for (int r = 1; r <= w.ManGrid->RowCount(); ++r)
            out << w.ManGrid->RowData().at(r, 1);
        return out;
    }
    // A click on the cell, then the text typed into the editor over it.
    static void typeCell(FactorFrm& w, int row, int col, const QString& text)
    {
        FlexGrid* g = w.ManGrid->Grid();
        g->setRow(row);
        g->setCol(col);
        emit g->cellClicked(row, col);
        QApplication::processEvents();
        w.ManGrid->Editor()->setText(text);
    }
    static void click(QPushButton* b) { b->click(); }
    // The window takes the keyboard focus, as the window in front does.
    static void activate(FactorFrm& w)
    {
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }

    testsupport::RecordingSink sink;
};

}  // namespace

TEST_F(VendorWindow, EmptyDatabaseOpensAllVendorsAndKeepsTheSettings)
{
    {
        auto w = open();
        EXPECT_EQ(w->windowTitle(), QStringLiteral("廠商資料管理"));
        EXPECT_EQ(w->Combo1->currentText(), QStringLiteral("廠商編號"));
        EXPECT_FALSE(w->Check1->isChecked());
        EXPECT_EQ(w->Command3[1]->text(), QStringLiteral("不分類"));
        EXPECT_FALSE(w->DataCombo2[0]->isEnabled());
        EXPECT_FALSE(w->Command2[2]->isEnabled());
        EXPECT_FALSE(w->Command2[4]->isEnabled());
        EXPECT_EQ(w->Label4[18]->text(), QStringLiteral("類別編號*"));
        EXPECT_EQ(w->Command2[5]->text(), QStringLiteral("存檔(&S)"));
        EXPECT_EQ(sink.caption, QStringLiteral("廠商管理"));
        // 新增 with no category asks, and the window stays in browse mode on No.
        ScriptedResponder r;
        r.answer(ui::Answer::No);
        click(w->Command2[1]);
        EXPECT_EQ(r.texts(), QStringList{"廠商類別未建立,是否現在要建立?"});
        EXPECT_TRUE(w->EditMode.isEmpty());
        EXPECT_TRUE(w->Command2[1]->isVisible());
        w->Check1->setChecked(true);
        w->close();
    }
    EXPECT_EQ(ReadSetting("FactoryShowSRT", "Tessarine"), QStringLiteral("廠商編號"));
    EXPECT_EQ(ReadSetting("已無往來廠商", "Factory"), QStringLiteral("1"));
    EXPECT_EQ(ReadSetting("FactoryShowAllButton", "Factory"), QStringLiteral("0"));
    EXPECT_EQ(sink.caption, QStringLiteral("專家視窗"));
}

TEST_F(VendorWindow, FiveHundredVendorsByCategoryFilterSortAndTypeAhead)
{
    addMany(42);  // 504 vendors
    gConn.Execute(QStringLiteral("Update RV11 Set RV112 = 'O''Neil' Where RV111 = '003-005'"));
    addContact("001-001", "甲聯絡人");
    addContact("001-002", "乙聯絡人");
    QElapsedTimer t;
    t.start();
    auto w = open();
    const qint64 openMs = t.elapsed();
    EXPECT_EQ(listed(*w).size(), 504);
    EXPECT_EQ(listed(*w).first(), QStringLiteral("001-001"));
    EXPECT_EQ(contactNames(*w), QStringList{"甲聯絡人"});

    // One category; 不含無往來 keeps the vendors without a status.
    t.restart();
    click(w->Command3[1]);
    EXPECT_EQ(w->Command3[1]->text(), QStringLiteral("分類顯示"));
    EXPECT_TRUE(w->DataCombo2[0]->isEnabled());
    EXPECT_EQ(listed(*w).size(), 42);
    w->Check1->setChecked(true);
    EXPECT_EQ(listed(*w).size(), 36);  // 6 of 42 have left
    EXPECT_TRUE(listed(*w).contains(QStringLiteral("001-011")));  // no status
    // Sort by short name.
    w->Combo1->setCurrentIndex(1);
    emit w->Combo1->activated(1);
    EXPECT_EQ(listed(*w, "RV112").first(), QStringLiteral("廠商0001"));
    const qint64 switchMs = t.elapsed();

    // Category type-ahead by code, then by name.
    w->DataCombo2[0]->setEditText(QStringLiteral("003"));
    EXPECT_EQ(listed(*w).first().left(3), QStringLiteral("003"));
    EXPECT_EQ(sink.status, QStringLiteral("找到類別[ 類別3 ]"));
    w->DataCombo2[0]->setEditText(QStringLiteral("類別12"));
    EXPECT_EQ(listed(*w).first().left(3), QStringLiteral("012"));

    // Vendor type-ahead: the number first, then the short name; the contacts follow.
    click(w->Command3[1]);  // all vendors
    w->DataCombo2[1]->setEditText(QStringLiteral("001-002"));
    EXPECT_EQ(w->BoxText(1), QStringLiteral("001-002"));
    EXPECT_EQ(sink.status, QStringLiteral("找到員工[ 廠商0002]"));
    EXPECT_EQ(contactNames(*w), QStringList{"乙聯絡人"});
    w->DataCombo2[1]->setEditText(QStringLiteral("O'N"));
    EXPECT_EQ(w->BoxText(1), QStringLiteral("003-005"));
    EXPECT_TRUE(contactNames(*w).isEmpty());
    w->DataCombo2[1]->setEditText(QStringLiteral("無此廠商"));
    EXPECT_EQ(sink.status, QStringLiteral("沒找到"));
    EXPECT_EQ(w->BoxText(1), QStringLiteral("003-005"));
    std::cout << "[ MEASURE  ] open with 504 vendors " << openMs << " ms; view, filter and sort " << switchMs
              << " ms" << std::endl;
    EXPECT_LT(openMs, 3000);
}

TEST_F(VendorWindow, ViewIsKeptAndAMouseClickLoadsAVendor)
{
    addMany(3);
    addContact("002-001", "丙");
    {
        auto w = open();
        click(w->Command3[1]);
        w->close();
    }
    EXPECT_EQ(ReadSetting("FactoryShowAllButton", "Factory"), QStringLiteral("1"));
    auto w = open();
    EXPECT_EQ(w->Command3[1]->text(), QStringLiteral("分類顯示"));
    EXPECT_EQ(listed(*w), (QStringList{"001-001", "001-002", "001-003"}));
    // Keys alone move only the list; a click loads the vendor.
    click(w->Command3[1]);
    QTableView* grid = w->DataGrid1[1];
    w->ListSyncArmed = false;
    grid->setCurrentIndex(grid->model()->index(3, 0));
    EXPECT_EQ(w->BoxText(1), QStringLiteral("001-001"));
    const QRect cell = grid->visualRect(grid->model()->index(3, grid->currentIndex().column()));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    grid->setCurrentIndex(grid->model()->index(3, 0));
    EXPECT_EQ(w->BoxText(1), QStringLiteral("002-001"));
    EXPECT_EQ(contactNames(*w), QStringList{"丙"});
}

TEST_F(VendorWindow, FindWindowByShortNameWithAQuoteShowsTheFoundVendorsContacts)
{
    addCategory("001", "印刷");
    addVendor("001", "001-001", "大同");
    addVendor("001", "001-002", "O'Neil");
    gConn.Execute(QStringLiteral("Update RV11 Set RV113 = 'O''Neil Ltd' Where RV111 = '001-002'"));
    addContact("001-001", "大同的人");
    addContact("001-002", "Neil's man");
    auto w = open();
    EXPECT_EQ(contactNames(*w), QStringList{"大同的人"});
    ScriptedResponder r;
    r.modal([](QDialog* d) {
        auto* find = static_cast<FactorFond*>(d);
        QTest::keyClicks(find->Text1[1], QStringLiteral("O'Ne"));
        EXPECT_EQ(find->Text1[2]->text(), QStringLiteral("O'Ne"));
        EXPECT_TRUE(find->Command1[0]->isEnabled());
        find->Command1[0]->click();
        return 1;
    });
    click(w->Command2[0]);
    EXPECT_EQ(listed(*w), QStringList{"001-002"});
    EXPECT_EQ(sink.status, QStringLiteral("查詢條件: RV112 LIKE '%O'Ne%'AND RV113 LIKE '%O'Ne%'"));
    EXPECT_EQ(contactNames(*w), QStringList{"Neil's man"});
}

// The command line 2/text opens the window; the text waits in the hidden find window's
// short-name box until the user opens it.
TEST_F(VendorWindow, CommandLineOpensTheWindowWithTheFindWindowWaiting)
{
    addCategory("001", "印刷");
    addVendor("001", "001-001", "大同");
    addVendor("001", "001-002", "O'Neil");
    MDIForm1 main(QStringLiteral("2/ O'Neil "));
    QPointer<FactorFrm> w = FactorFrm::Global();
    ASSERT_TRUE(w);
    ASSERT_TRUE(FactorFond::Global());
    EXPECT_FALSE(FactorFond::Global()->isVisible());
    EXPECT_EQ(listed(*w).size(), 2);
    ScriptedResponder r;
    r.modal([](QDialog* d) {
        auto* f = static_cast<FactorFond*>(d);
        EXPECT_EQ(f->Text1[1]->text(), QStringLiteral("O'Neil"));
        EXPECT_EQ(f->Text1[2]->text(), QString());
        EXPECT_TRUE(f->Command1[0]->isEnabled());
        f->Command1[0]->click();
        return 1;
    });
    click(w->Command2[0]);
    EXPECT_EQ(listed(*w), QStringList{"001-002"});
    EXPECT_FALSE(FactorFond::Global());
    // Opened again, the find window starts empty; 取消 leaves the list as it is.
    r.modal([](QDialog* d) {
        auto* f = static_cast<FactorFond*>(d);
        EXPECT_EQ(f->Text1[1]->text(), QString());
        EXPECT_FALSE(f->Command1[0]->isEnabled());
        f->Command1[1]->click();
        return 0;
    });
    click(w->Command2[0]);
    EXPECT_EQ(listed(*w), QStringList{"001-002"});
    w->close();
}

// Refresh reads the categories again; the picker renumbers a changed vendor only when its
// category really changes.
TEST_F(VendorWindow, RefreshOffersANewCategoryAndThePickerRenumbersOnARealChange)
{
    addCategory("001", "印刷");
    addVendor("001", "001-001", "大同");
    auto w = open();
    addCategory("002", "製版");
    click(w->Command3[0]);
    EXPECT_EQ(w->Command3[1]->text(), QStringLiteral("不分類"));
    EXPECT_EQ(w->DataCombo2[0]->findText(QStringLiteral("製版")), 1);
    EXPECT_EQ(w->DataCombo1->findText(QStringLiteral("製版")), 1);

    activate(*w);
    click(w->Command2[2]);
    w->Text1[0]->setFocus(Qt::OtherFocusReason);
    EXPECT_TRUE(w->DataCombo1->isVisible());
    w->DataCombo1->setEditText(QStringLiteral("001"));
    w->Text1[2]->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(w->BoxText(1), QStringLiteral("001-001"));
    w->Text1[0]->setFocus(Qt::OtherFocusReason);
    w->DataCombo1->setEditText(QStringLiteral("製"));
    w->Text1[2]->setFocus(Qt::OtherFocusReason);
    EXPECT_FALSE(w->DataCombo1->isVisible());
    EXPECT_EQ(w->BoxText(0), QStringLiteral("002"));
    EXPECT_EQ(w->BoxText(9), QStringLiteral("製版"));
    EXPECT_EQ(w->BoxText(1), QStringLiteral("002-001"));
    click(w->Command2[5]);
    EXPECT_EQ(rows("Select RV110, RV111 From RV11"), QStringList{"002|002-001"});

    // A new vendor saved with the picker still open, as Alt+S does, goes to the typed category.
    click(w->Command2[1]);
    w->SetBoxText(2, QStringLiteral("乙"));
    w->Text1[0]->setFocus(Qt::OtherFocusReason);
    w->DataCombo1->setEditText(QStringLiteral("印"));
    click(w->Command2[5]);
    EXPECT_FALSE(w->DataCombo1->isVisible());
    EXPECT_EQ(rows("Select RV110, RV111 From RV11 Order By RV111"), (QStringList{"001|001-001", "002|002-001"}));
}

// Without automatic numbers the number box holds the code and a hyphen; leaving it so, or
// with a stored number, keeps the user in the box.  The status list fills a blank status.
TEST_F(VendorWindow, ManualNumberLeaveChecksAndTheStatusList)
{
    addCategory("A1", "印刷");
    addVendor("A1", "A1-001", "大同");
    WriteSetting(QStringLiteral("FacotryAutoNO"), QStringLiteral("1"), QStringLiteral("Tessarine"), 0);
    auto w = open();
    click(w->Command2[1]);
    EXPECT_EQ(w->BoxText(1), QStringLiteral("A1-"));
    ScriptedResponder r;
    r.answer(ui::Answer::OK).answer(ui::Answer::OK);
    w->Text1_LostFocus(1);
    EXPECT_EQ(r.last().text, QStringLiteral("沒有輸入廠商編號, 廠商編號的組成為 [類別代號]  + [-] + [數字編號] 如: A1-001"));
    w->SetBoxText(1, QStringLiteral("A1-001"));
    w->Text1_LostFocus(1);
    EXPECT_EQ(r.last().text, QStringLiteral("編號重複A1-001"));
    w->SetBoxText(1, QStringLiteral("A1-002"));
    w->SetBoxText(16, QString());
    w->Text1_GotFocus(16);
    EXPECT_TRUE(w->Combo2->isVisible());
    EXPECT_EQ(w->BoxText(16), QStringLiteral("尚未核准"));
    w->Combo2->setEditText(QStringLiteral("次常用"));
    EXPECT_EQ(w->BoxText(16), QStringLiteral("次常用"));
    EXPECT_EQ(w->StatusList->NextBox(), w->Text1[23]);
}

TEST_F(VendorWindow, AddNumbersByNumericSerialWithContactsInOneSave)
{
    addCategory("001", "印刷");
    auto w = open();
    auto addOne = [&](const QString& name, const QStringList& contacts) {
        click(w->Command2[1]);
        EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
        EXPECT_EQ(w->BoxText(16), QStringLiteral("尚未核准"));
        w->SetBoxText(2, name);
        int row = 1;
        for (const QString& c : contacts)
            typeCell(*w, row++, 1, c);
        const QString number = w->BoxText(1);
        click(w->Command2[5]);
        EXPECT_TRUE(w->EditMode.isEmpty());
        return number;
    };
    EXPECT_EQ(addOne("甲", {"甲一", "甲二"}), QStringLiteral("001-001"));
    EXPECT_EQ(addOne("乙", {"乙一", "O'Neil"}), QStringLiteral("001-002"));
    EXPECT_EQ(addOne("丙", {"丙一", "丙二"}), QStringLiteral("001-003"));
    EXPECT_EQ(rows("Select 廠商編號, 聯絡人 From 廠商聯絡人 Where 廠商編號 = '001-002' Order By 總序"),
              (QStringList{"001-002|乙一", "001-002|O'Neil"}));
    EXPECT_EQ(rows("Select 建檔日期, 廠商狀況 From RV11 Where RV111 = '001-003'"), QStringList{"20261210|尚未核准"});
    EXPECT_EQ(w->BoxText(1), QStringLiteral("001-003"));
    EXPECT_EQ(contactNames(*w), (QStringList{"丙一", "丙二"}));
    addVendor("001", "001-999", "舊");
    EXPECT_EQ(addOne("丁", {}), QStringLiteral("001-1000"));
    EXPECT_EQ(addOne("戊", {}), QStringLiteral("001-1001"));
}

TEST_F(VendorWindow, TooLongShortNameIsRefusedWithTheWidthMessage)
{
    addCategory("001", "印刷");
    auto w = open();
    click(w->Command2[1]);
    w->SetBoxText(2, QStringLiteral("大同電子股份"));
    ScriptedResponder r;
    r.answer(ui::Answer::OK);
    click(w->Command2[5]);
    EXPECT_EQ(r.last().text, QStringLiteral("欄位資料過長,請不要超過10個字元(一個中文字算2個字元)"));
    EXPECT_EQ(r.last().title, QStringLiteral("取消存檔"));
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(count("RV11"), 0);
}

TEST_F(VendorWindow, CancelShowsTheStoredContactsAgainAndDeleteTakesThemAlong)
{
    addCategory("001", "印刷");
    addVendor("001", "001-001", "甲");
    addContact("001-001", "王大明");
    addContact("001-001", "林淑芬");
    auto w = open();
    click(w->Command2[2]);
    typeCell(*w, 1, 1, QStringLiteral("改過的"));
    ScriptedResponder r;
    r.answer(ui::Answer::Yes);
    click(w->Command2[6]);
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(contactNames(*w), (QStringList{"王大明", "林淑芬"}));
    // The next save writes nothing of the abandoned cell.
    click(w->Command2[2]);
    w->SetBoxText(3, QStringLiteral("甲股份有限公司"));
    click(w->Command2[5]);
    EXPECT_EQ(rows("Select 聯絡人 From 廠商聯絡人 Order By 總序"), (QStringList{"王大明", "林淑芬"}));

    r.answer(ui::Answer::Yes);
    click(w->Command2[4]);
    EXPECT_EQ(count("RV11"), 0);
    EXPECT_EQ(count("廠商聯絡人"), 0);
    EXPECT_FALSE(w->Command2[2]->isEnabled());
    EXPECT_FALSE(w->Command2[4]->isEnabled());
}

// A contact name longer than its column makes the save fail: everything rolls back, and the
// window keeps every typed value for the next try.
TEST_F(VendorWindow, FailedSaveLosesNothingTyped)
{
    addCategory("001", "印刷");
    auto w = open();
    click(w->Command2[1]);
    w->SetBoxText(2, QStringLiteral("甲"));
    typeCell(*w, 1, 1, QString(25, QChar('x')));
    ScriptedResponder r;
    r.answer(ui::Answer::OK);
    click(w->Command2[5]);
    EXPECT_TRUE(r.last().text.endsWith(QStringLiteral("資料並未儲存。")));
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(w->BoxText(2), QStringLiteral("甲"));
    EXPECT_EQ(count("RV11"), 0);
    typeCell(*w, 1, 1, QStringLiteral("王大明"));
    click(w->Command2[5]);
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(rows("Select RV111, RV112 From RV11"), QStringList{"001-001|甲"});
    EXPECT_EQ(rows("Select 聯絡人 From 廠商聯絡人"), QStringList{"王大明"});
}

TEST_F(VendorWindow, KeysMirrorPrintablesAndBrowseAidsNeverReachTheRow)
{
    addCategory("001", "印刷");
    addVendor("001", "001-001", "甲");
    auto w = open();
    auto* web = static_cast<QLineEdit*>(w->Text1[17]);
    web->setFocus();
    QTest::keyClick(web, Qt::Key_F3);
    EXPECT_EQ(web->text(), QStringLiteral(".com.tw"));
    EXPECT_EQ(w->FactoryRs().EditMode(), db::adEditNone);
    click(w->Command2[2]);
    auto* shortName = static_cast<QLineEdit*>(w->Text1[2]);
    auto* full = static_cast<QLineEdit*>(w->Text1[3]);
    shortName->setFocus();
    shortName->end(false);
    QTest::keyClicks(shortName, QStringLiteral("ab"));
    QTest::keyClick(shortName, Qt::Key_Backspace);
    EXPECT_EQ(full->text(), QStringLiteral("ab"));
    EXPECT_EQ(shortName->text(), QStringLiteral("甲a"));
    ScriptedResponder r;
    r.answer(ui::Answer::Yes);
    click(w->Command2[6]);
    EXPECT_EQ(rows("Select RV1116 From RV11"), QStringList{""});
}

// The change stamp (修改者, 修改日期) shows once a change is saved: not while the change is
// being made, nor after it was abandoned.
TEST_F(VendorWindow, ChangeDateShowsOnlyOnceTheChangeIsSaved)
{
    addCategory("001", "印刷");
    addVendor("001", "001-001", "甲");
    auto w = open();
    ScriptedResponder r;
    r.answer(ui::Answer::Yes);
    click(w->Command2[2]);
    EXPECT_EQ(w->Label2[3]->text(), QString());
    w->SetBoxText(3, QStringLiteral("甲公司"));
    click(w->Command2[6]);
    EXPECT_EQ(w->Label2[3]->text(), QString());
    click(w->Command2[2]);
    w->SetBoxText(3, QStringLiteral("甲公司"));
    EXPECT_EQ(w->Label2[3]->text(), QString());
    click(w->Command2[5]);
    EXPECT_EQ(rows("Select RV113, 修改日期 From RV11"), QStringList{"甲公司|20261210"});
    EXPECT_EQ(w->Label2[3]->text(), QStringLiteral("20261210"));
}

// A closing day its number column cannot take is named before anything is written.
TEST_F(VendorWindow, ALetterInTheClosingDayIsRefusedWithTheBoxNamed)
{
    addCategory("001", "印刷");
    addVendor("001", "001-001", "甲");
    auto w = open();
    click(w->Command2[2]);
    w->SetBoxText(20, QStringLiteral("abc"));
    w->SetBoxText(3, QStringLiteral("甲公司"));
    ScriptedResponder r;
    r.answer(ui::Answer::OK);
    click(w->Command2[5]);
    // The box named, nothing in English, what the save did not do; no title of its own.
    EXPECT_EQ(r.last().text, QStringLiteral("「結帳日」不能存入「abc」,請輸入正確的數值。\r\n資料並未儲存。"));
    EXPECT_EQ(r.last().title, ui::DefaultTitle());
    EXPECT_EQ(w->EditMode, QStringLiteral("change"));
    EXPECT_EQ(rows("Select RV113 From RV11"), QStringList{""});
    // The box has the focus back, with its day list over it when that opened: the user types there.
    if (w->SharedList->IsOpen())
        w->Combo3->setEditText(QStringLiteral("25"));
    else
        w->SetBoxText(20, QStringLiteral("25"));
    click(w->Command2[5]);
    EXPECT_EQ(rows("Select RV113, 結帳日 From RV11"), QStringList{"甲公司|25"});
}

// Every list over a box (the category picker, the status list, the list shared by the day,
// cheque-term and tax boxes): Alt+Down and F4 open its drop-down every time, the very first
// time included; closing the drop-down leaves the list over the box with the focus; Tab leaves
// the list and hides it at once.
TEST_F(VendorWindow, PickListsDropDownEveryTimeAndHideWhenLeft)
{
    addCategory("A1", "印刷");
    addVendor("A1", "A1-001", "大同");
    auto w = open();
    activate(*w);
    click(w->Command2[2]);  // 修改
    const struct {
        int box;
        QComboBox* list;
        PickList* pick;
    } lists[] = {{0, w->DataCombo1, w->CategoryList}, {16, w->Combo2, w->StatusList}, {20, w->Combo3, w->SharedList},
                 {21, w->Combo3, w->SharedList},      {22, w->Combo3, w->SharedList}, {23, w->Combo3, w->SharedList}};
    for (const auto& l : lists) {
        w->Text1[size_t(l.box)]->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        QComboBox* list = l.list;
        ASSERT_TRUE(list->isVisible()) << l.box;
        ASSERT_TRUE(list->hasFocus()) << l.box;
        for (int round = 0; round < 2; ++round) {
            for (auto [key, mod] : {std::pair{Qt::Key_Down, Qt::AltModifier}, std::pair{Qt::Key_F4, Qt::NoModifier}}) {
                QTest::keyClick(list, key, mod);
                QApplication::processEvents();
                EXPECT_TRUE(list->view()->isVisible()) << l.box << " " << round << " " << key;
                list->hidePopup();
                QApplication::processEvents();
                EXPECT_TRUE(list->isVisible()) << l.box << " " << round << " " << key;
                EXPECT_TRUE(list->hasFocus()) << l.box << " " << round << " " << key;
            }
        }
        QTest::keyClick(list, Qt::Key_Tab);
        EXPECT_FALSE(list->hasFocus()) << l.box;
        // Hidden, or laid over the box Tab went to.
        EXPECT_TRUE(!list->isVisible() || l.pick->TargetBox() != w->Text1[size_t(l.box)]) << l.box;
    }
    EXPECT_EQ(w->BoxText(0), QStringLiteral("A1"));
    EXPECT_EQ(w->BoxText(1), QStringLiteral("A1-001"));
    EXPECT_EQ(w->BoxText(16), QStringLiteral("現用廠商"));
}

// However the category is chosen in the picker over the category box -- a code or a name
// typed and Enter or Tab, typed into the open drop-down, picked there with the mouse, or saved
// with Alt+S while the picker is open -- the stored code, the number and the name shown are
// one category's.
TEST_F(VendorWindow, CategoryPickerTakesTheChosenCategoryHoweverChosen)
{
    addCategory("001", "印刷");
    addCategory("002", "製版");
    addCategory("003", "貨運");
    addVendor("001", "001-001", "大同");
    addVendor("001", "001-002", "中興");
    auto w = open();
    activate(*w);
    QComboBox* picker = w->DataCombo1;
    const struct {
        const char* way;
        std::function<void()> choose;
        const char* code;
        const char* name;
        const char* number;
        bool altS;  // saved with the picker open
    } ways[] = {
        {"code, Enter", [] { TypeKeys("003"); PressKey(Qt::Key_Return); }, "003", "貨運", "003-001", false},
        {"code, Tab", [] { TypeKeys("002"); PressKey(Qt::Key_Tab); }, "002", "製版", "002-001", false},
        {"name, Enter", [] { TypeKeys(QStringLiteral("貨運")); PressKey(Qt::Key_Return); }, "003", "貨運", "003-002",
         false},
        {"name begun, Tab", [] { TypeKeys(QStringLiteral("製")); PressKey(Qt::Key_Tab); }, "002", "製版", "002-002",
         false},
        {"code into the drop-down, Enter",
         [] {
             PressKey(Qt::Key_F4);
             TypeKeys("003");
             PressKey(Qt::Key_Return);
         },
         "003", "貨運", "003-003", false},
        {"name begun into the drop-down, Enter",
         [] {
             PressKey(Qt::Key_Down, Qt::AltModifier);
             TypeKeys(QStringLiteral("製"));
             PressKey(Qt::Key_Return);
         },
         "002", "製版", "002-003", false},
        {"clicked in the drop-down, then a click elsewhere",
         [&] {
             PressKey(Qt::Key_F4);
             ClickDropDownEntry(picker, 2);
             w->Text1[2]->setFocus(Qt::MouseFocusReason);
         },
         "003", "貨運", "003-004", false},
        {"code, Alt+S", [] { TypeKeys("002"); }, "002", "製版", "002-004", true},
    };
    int n = 0;
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        const QString name = QStringLiteral("新%1").arg(++n);
        // The current category is proposed: 001 at first, then the one picked last.
        click(w->Command2[1]);
        ASSERT_NE(w->BoxText(0), QString::fromUtf8(way.code));
        ASSERT_TRUE(picker->hasFocus());
        w->SetBoxText(2, name);
        way.choose();
        if (way.altS) {
            // The save starts with the picker open and focused, as Alt+S starts it.
            EXPECT_TRUE(picker->hasFocus());
            w->Command2_Click(5);
        } else {
            EXPECT_FALSE(picker->isVisible());
            EXPECT_FALSE(picker->hasFocus());
            EXPECT_EQ(w->BoxText(0), QString::fromUtf8(way.code));
            EXPECT_EQ(w->BoxText(9), QString::fromUtf8(way.name));
            EXPECT_EQ(w->BoxText(1), QString::fromUtf8(way.number));
            click(w->Command2[5]);
        }
        EXPECT_TRUE(w->EditMode.isEmpty());
        EXPECT_EQ(rows("Select RV110, RV111 From RV11 Where RV112 = '" + name + "'"),
                  QStringList{QString::fromUtf8(way.code) + "|" + way.number});
        // The saved vendor is shown with its category's name.
        EXPECT_EQ(w->BoxText(1), QString::fromUtf8(way.number));
        EXPECT_EQ(w->BoxText(9), QString::fromUtf8(way.name));
    }
}

// A new vendor saved while a find's result is shown, and not among the vendors found, brings
// the list of the current category (not of every vendor).
TEST_F(VendorWindow, NewVendorOutsideAFindsResultBringsItsCategorysList)
{
    addCategory("A", "五金");
    addCategory("B", "電子");
    addVendor("A", "A-001", "大華");
    addVendor("A", "A-002", "中興");
    addVendor("B", "B-001", "小明");
    auto w = open();
    ASSERT_EQ(w->Command3[1]->text(), QStringLiteral("不分類"));
    FindCondition find;
    find.text = QStringLiteral("RV112 Like '%中%'");
    find.sql = QStringLiteral("RV112 Like ?");
    find.params = {QStringLiteral("%中%")};
    w->SetFindCondition(find);
    ASSERT_EQ(listed(*w), QStringList{"A-002"});
    click(w->Command2[1]);
    EXPECT_EQ(w->BoxText(1), QStringLiteral("A-003"));
    w->SetBoxText(2, QStringLiteral("大新"));
    click(w->Command2[5]);
    EXPECT_EQ(rows("Select RV110, RV111 From RV11 Where RV112 = '大新'"), QStringList{"A|A-003"});
    QStringList shown = listed(*w);
    shown.sort();
    EXPECT_EQ(shown, (QStringList{"A-001", "A-002", "A-003"}));
    EXPECT_EQ(w->BoxText(1), QStringLiteral("A-003"));
}

// Every fault of the database layer a save can meet on a shared data folder is told in Chinese,
// with its number and what to do, and ends with what the save did not do.
TEST_F(VendorWindow, ASaveFailureOfTheDatabaseIsToldInChinese)
{
    addCategory("001", "印刷");
    addVendor("001", "001-001", "甲");
    for (const testsupport::SaveFault& fault : testsupport::SaveFaults()) {
        auto w = open();
        click(w->Command2[2]);
        w->SetBoxText(3, QStringLiteral("甲公司"));
        testsupport::FaultInPlace held(fault, path, "UPDATE RV11 SET RV113 = '乙公司';");
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        click(w->Command2[5]);
        held.letGo();
        ASSERT_FALSE(r.messages.empty()) << fault.name;
        testsupport::ExpectChineseFailure(r.last(), fault, QStringLiteral("資料並未儲存。"));
        EXPECT_EQ(w->EditMode, QStringLiteral("change")) << fault.name;
    }
}
