// The member window driven as a user drives it, against a real database file: opening from the
// main window's menu, the generated boxes and list, browsing, filter and quick find, adding with
// year-month numbers, changing, the save's failures, query by form, deleting, the box aids.
#include "contacts/DBtable_fm.h"
#include "core/Globals.h"
#include "core/schema/SchemaCheck.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "platform/db/Db.h"
#include "platform/shell/Shell.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "records/RecordExtras.h"
#include "shell/MDIForm1.h"
#include "shell/Skin.h"
#include "support/Clipping.h"
#include "support/CustomerDb.h"
#include "support/FileLocker.h"
#include "support/LayerFaults.h"
#include "support/ListedColumn.h"
#include "support/RecordingSink.h"
#include "support/Responder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;

namespace {

// Box indices of the member table.
enum Box { kNo = 0, kCategory = 1, kName = 2, kEnglish = 3, kSex = 6, kId = 8, kMail = 19, kPoints = 20 };

class MemberWindow : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        testsupport::CustomerDb::SetUp();
        CheckMemberTable();
        gTableSetName = QStringLiteral("會員管理");
        ui::SetToday(QDate(2026, 12, 10));
    }
    void TearDown() override
    {
        ui::SetToday(QDate());
        testsupport::CustomerDb::TearDown();
    }

    static void add(const QString& number, const QString& name, const QString& category = QString(),
                    int points = 0)
    {
        gConn.Execute(QStringLiteral("Insert Into 會員管理 (會員編號, 中文姓名, 類別, 累積點數, 建檔日期, 建檔者) "
                                     "Values (?, ?, ?, ?, 20080101, '甲')"),
                      {number, name, category, points});
    }

    std::unique_ptr<DBtable_fm> open()
    {
        auto w = std::make_unique<DBtable_fm>();
        EXPECT_TRUE(w->Loaded());
        w->show();
        QApplication::setActiveWindow(w.get());
        QApplication::processEvents();
        return w;
    }

    static QStringList listed(DBtable_fm& w, const QString& column = QStringLiteral("會員編號"))
    {
        return testsupport::ListedColumn(w.GridRs(), column);
    }
    static QString text(DBtable_fm& w, int box) { return w.Fields_Text[size_t(box)]->text(); }
    static void type(DBtable_fm& w, int box, const QString& t) { w.Fields_Text[size_t(box)]->setText(t); }

    testsupport::RecordingSink sink;
};

}  // namespace

TEST_F(MemberWindow, OpensWithBoxesAndListColumnsFromTheTable)
{
    auto w = open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("會員管理"));
    EXPECT_EQ(w->LastFieldIndex, 20);
    ASSERT_EQ(w->Fields_Text.size(), 21u);
    EXPECT_EQ(w->FieldNames.back(), QStringLiteral("累積點數"));
    EXPECT_EQ(w->FieldTypes.back(), int(db::adInteger));
    for (QComboBox* c : w->Combo1) {
        EXPECT_EQ(c->count(), 21);
        EXPECT_EQ(c->currentText(), QStringLiteral("會員編號"));
    }
    // An empty table: nothing to change or delete.
    EXPECT_FALSE(w->Command2[1]->isEnabled());
    EXPECT_FALSE(w->Command2[2]->isEnabled());
    EXPECT_EQ(sink.status, QStringLiteral("只顯示  以 [會員編號 ] 欄位來排序"));
    // The list shows one column per box, 120 twips per byte.
    int shown = 0;
    for (int c = 0; c < w->DataGrid1->model()->columnCount(); ++c)
        if (!w->DataGrid1->isColumnHidden(c))
            ++shown;
    EXPECT_EQ(shown, 21);
    const int points = w->GridRs().FieldIndex(QStringLiteral("累積點數"));
    EXPECT_EQ(w->DataGrid1->columnWidth(points), vb::TwipsToPixels(1200));
    // Every box and label stands where the layout model puts it; 電子信箱's mail button beside it.
    for (int i = 0; i <= 20; ++i) {
        const QRect& b = w->Layout().boxes[size_t(i)];
        EXPECT_EQ(w->Fields_Text[size_t(i)]->geometry(),
                  QRect(vb::TwipsToPixels(b.left()), vb::TwipsToPixels(b.top()), vb::TwipsToPixels(b.width()),
                        vb::TwipsToPixels(b.height())))
            << i;
        EXPECT_EQ(w->Fields_name[size_t(i)]->x(), vb::TwipsToPixels(w->Layout().labels[size_t(i)].left())) << i;
        EXPECT_EQ(w->Fields_name[size_t(i)]->text(), w->FieldNames[size_t(i)]);
    }
    EXPECT_TRUE(w->Command4[0]->isVisible());
    EXPECT_EQ(w->Command4[0]->x(), vb::TwipsToPixels(5970));
    // Wider than 10520 twips inside: no title band, both panes from the top.
    EXPECT_FALSE(w->TopPicture->isVisible());
    EXPECT_EQ(w->Picture1->y(), 0);
    EXPECT_EQ(w->Picture4->x(), vb::TwipsToPixels(6600));
}

TEST_F(MemberWindow, AddsMembersNumberedByYearAndMonthOneAfterAnother)
{
    auto w = open();
    w->Command2[0]->click();
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(text(*w, kNo), QStringLiteral("2026120001"));
    EXPECT_TRUE(w->Command2[8]->isVisible());
    EXPECT_TRUE(w->Command2[8]->isEnabled());
    EXPECT_FALSE(w->Command2[0]->isVisible());
    EXPECT_FALSE(w->DataGrid1->isEnabled());
    EXPECT_EQ(w->CreatTxt[0]->text(), QStringLiteral("20261210"));
    type(*w, kName, QStringLiteral("王小明"));
    type(*w, kCategory, QStringLiteral("VIP"));
    w->MemoFieldTxt->setPlainText(QStringLiteral("第一行"));
    w->Command2[8]->click();
    // Continuous entry: the next member starts at once with the next number.
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(text(*w, kNo), QStringLiteral("2026120002"));
    EXPECT_TRUE(text(*w, kName).isEmpty());
    EXPECT_TRUE(w->MemoFieldTxt->toPlainText().isEmpty());
    type(*w, kName, QStringLiteral("林"));
    w->Command2[8]->click();
    EXPECT_EQ(text(*w, kNo), QStringLiteral("2026120003"));
    w->Command2[9]->click();
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_TRUE(w->Command2[0]->isVisible());
    EXPECT_EQ(rows(QStringLiteral("Select 會員編號, 中文姓名, 類別, 備註, 建檔日期, 建檔者, 修改日期 From 會員管理 "
                                  "Order By 會員編號")),
              QStringList({"2026120001|王小明|VIP|第一行|20261210||", "2026120002|林|||20261210||"}));
    EXPECT_EQ(listed(*w), QStringList({"2026120001", "2026120002"}));
    EXPECT_TRUE(w->Command2[1]->isEnabled());
}

TEST_F(MemberWindow, NumberFollowsTheLargestStoredOneAlsoOfALaterMonth)
{
    add(QStringLiteral("2027010005"), QStringLiteral("甲"));
    auto w = open();
    w->Command2[0]->click();
    EXPECT_EQ(text(*w, kNo), QStringLiteral("2027010006"));
    w->Command2[9]->click();
    EXPECT_EQ(count(QStringLiteral("會員管理")), 1);
    // A stored number of an earlier month: the month starts again at 0001.
    gConn.Execute(QStringLiteral("Update 會員管理 Set 會員編號 = '2026110042'"));
    w->Command2[0]->click();
    EXPECT_EQ(text(*w, kNo), QStringLiteral("2026120001"));
    w->Command2[9]->click();
}

TEST_F(MemberWindow, ChangeKeepsCreationValuesAndStampsTheChange)
{
    add(QStringLiteral("2008010001"), QStringLiteral("甲"));
    add(QStringLiteral("2008010002"), QStringLiteral("乙"));
    auto w = open();
    w->Command2[6]->click();  // >>
    EXPECT_EQ(text(*w, kName), QStringLiteral("乙"));
    EXPECT_EQ(w->CreatTxt[0]->text(), QStringLiteral("20080101"));
    EXPECT_EQ(w->CreatTxt[1]->text(), QStringLiteral("甲"));
    w->Command2[1]->click();
    EXPECT_EQ(w->EditMode, QStringLiteral("edit"));
    EXPECT_FALSE(w->Command2[8]->isEnabled());  // nothing changed yet
    EXPECT_FALSE(w->ChangFlagOpt->isChecked());
    type(*w, kName, QStringLiteral("丙"));
    EXPECT_TRUE(w->Command2[8]->isEnabled());
    EXPECT_TRUE(w->ChangFlagOpt->isChecked());
    w->Command2[8]->click();
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_FALSE(w->Command2[8]->isEnabled());
    EXPECT_EQ(rows(QStringLiteral("Select 中文姓名, 建檔日期, 建檔者, 修改日期 From 會員管理 Where 會員編號 = '2008010002'")),
              QStringList({"丙|20080101|甲|20261210"}));
    // The window stays on the changed member.
    EXPECT_EQ(text(*w, kNo), QStringLiteral("2008010002"));
    EXPECT_EQ(w->CreatTxt[2]->text(), QStringLiteral("20261210"));
    // 放棄 of a change puts the stored values back.
    w->Command2[1]->click();
    type(*w, kName, QStringLiteral("丁"));
    w->Command2[9]->click();
    EXPECT_EQ(text(*w, kName), QStringLiteral("丙"));
    EXPECT_EQ(rows(QStringLiteral("Select 中文姓名 From 會員管理 Where 會員編號 = '2008010002'")), QStringList({"丙"}));
}

// A duplicate number fails at the write: the error is shown with Abort, Retry and Ignore and the
// member stays pending in the window, to be corrected and saved.
TEST_F(MemberWindow, DuplicateNumberKeepsTheNewMemberForACorrection)
{
    add(QStringLiteral("2026120001"), QStringLiteral("甲"));
    auto w = open();
    w->Command2[0]->click();
    type(*w, kNo, QStringLiteral("2026120001"));
    type(*w, kName, QStringLiteral("乙"));
    for (const ui::Answer a : {ui::Answer::Abort, ui::Answer::Ignore}) {
        ScriptedResponder r;
        r.answer(a);
        w->Command2[8]->click();
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.last().buttons, ui::Buttons::AbortRetryIgnore);
        EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
        EXPECT_TRUE(w->Command2[8]->isVisible());
        EXPECT_EQ(text(*w, kName), QStringLiteral("乙"));
    }
    EXPECT_EQ(count(QStringLiteral("會員管理")), 1);
    type(*w, kNo, QStringLiteral("2026120002"));
    w->Command2[8]->click();
    w->Command2[9]->click();
    EXPECT_EQ(rows(QStringLiteral("Select 會員編號, 中文姓名 From 會員管理 Order By 會員編號")),
              QStringList({"2026120001|甲", "2026120002|乙"}));
}

// Two computers on one data folder: a member changed or deleted on the other one since it was
// read refuses the save with the typed values kept; 放棄 then leaves the member as stored (a
// deleted one leaves the list), so a new change of it can be saved.
TEST_F(MemberWindow, MemberChangedOrDeletedElsewhereRefusesTheSaveAndCancelLeavesItAsStored)
{
    add(QStringLiteral("2008010001"), QStringLiteral("甲"));
    add(QStringLiteral("2008010002"), QStringLiteral("乙"));
    auto w = open();
    db::Connection other;
    other.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    const auto saveRefused = [&](const QString& typed) {
        ScriptedResponder r;
        r.answer(ui::Answer::Abort);
        w->Command2[8]->click();
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.last().buttons, ui::Buttons::AbortRetryIgnore);
        EXPECT_EQ(w->EditMode, QStringLiteral("edit"));
        EXPECT_EQ(text(*w, kName), typed);
    };
    ASSERT_EQ(text(*w, kNo), QStringLiteral("2008010001"));
    w->Command2[1]->click();
    type(*w, kName, QStringLiteral("我的"));
    other.Execute(QStringLiteral("Update 會員管理 Set 中文姓名 = '他的' Where 會員編號 = '2008010001'"));
    saveRefused(QStringLiteral("我的"));
    EXPECT_EQ(rows(QStringLiteral("Select 中文姓名 From 會員管理 Where 會員編號 = '2008010001'")), QStringList({"他的"}));
    w->Command2[9]->click();
    w->Command2[3]->click();  // <<
    EXPECT_EQ(text(*w, kName), QStringLiteral("他的"));
    w->Command2[1]->click();
    type(*w, kName, QStringLiteral("我的"));
    w->Command2[8]->click();
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(rows(QStringLiteral("Select 中文姓名 From 會員管理 Where 會員編號 = '2008010001'")), QStringList({"我的"}));

    w->Command2[6]->click();  // >>
    w->Command2[1]->click();
    type(*w, kName, QStringLiteral("再改"));
    other.Execute(QStringLiteral("Delete From 會員管理 Where 會員編號 = '2008010002'"));
    saveRefused(QStringLiteral("再改"));
    w->Command2[9]->click();
    EXPECT_EQ(listed(*w), QStringList({"2008010001"}));
    EXPECT_EQ(text(*w, kName), QStringLiteral("我的"));
}

// Saving and deleting keep the list without reading the members again (a list of 100,000 is
// read once); members another computer added meanwhile come with 資料重整.
TEST_F(MemberWindow, SaveAndDeleteKeepTheListWithoutReadingTheTableAgain)
{
    add(QStringLiteral("2008010001"), QStringLiteral("甲"));
    add(QStringLiteral("2008010003"), QStringLiteral("丙"));
    auto w = open();
    add(QStringLiteral("2008010002"), QStringLiteral("乙"));  // on another computer
    w->Command2[1]->click();
    type(*w, kName, QStringLiteral("甲二"));
    w->Command2[8]->click();
    EXPECT_EQ(listed(*w), QStringList({"2008010001", "2008010003"}));
    EXPECT_EQ(text(*w, kName), QStringLiteral("甲二"));
    w->Command2[0]->click();
    type(*w, kName, QStringLiteral("新"));
    w->Command2[8]->click();
    w->Command2[9]->click();
    EXPECT_EQ(listed(*w), QStringList({"2008010001", "2008010003", "2026120001"}));
    // Sorted by name, a changed name takes its place in that order.
    add(QStringLiteral("2008010004"), QStringLiteral("丁"));
    w->Combo1[1]->setCurrentText(QStringLiteral("中文姓名"));  // read again: 乙 and 丁 come in
    w->Command2[3]->click();
    ASSERT_EQ(text(*w, kName), QStringLiteral("丁"));
    w->Command2[1]->click();
    type(*w, kName, QStringLiteral("戊"));
    w->Command2[8]->click();
    EXPECT_EQ(listed(*w, QStringLiteral("中文姓名")), QStringList({"丙", "乙", "戊", "新", "甲二"}));
    EXPECT_EQ(text(*w, kName), QStringLiteral("戊"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Command2[2]->click();
    }
    EXPECT_EQ(listed(*w, QStringLiteral("中文姓名")), QStringList({"丙", "乙", "新", "甲二"}));
    EXPECT_EQ(text(*w, kName), QStringLiteral("丙"));
    EXPECT_EQ(count(QStringLiteral("會員管理")), 4);
    add(QStringLiteral("2008010005"), QStringLiteral("己"));
    w->Command1->click();
    EXPECT_EQ(listed(*w, QStringLiteral("中文姓名")), QStringList({"丙", "乙", "己", "新", "甲二"}));
}

// 新增 while another program holds the file locked cannot read the next number: it says so and
// starts nothing; the shown member stays and can be changed once the lock is gone.
TEST_F(MemberWindow, AddWhileTheFileIsLockedStartsNothing)
{
    add(QStringLiteral("2008010001"), QStringLiteral("甲"));
    auto w = open();
    {
        testsupport::FileLocker lock(path, testsupport::FileLocker::kWholeFile);
        ScriptedResponder r;
        r.answer(ui::Answer::Abort);
        w->Command2[0]->click();
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.last().buttons, ui::Buttons::AbortRetryIgnore);
    }
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_TRUE(w->Command2[0]->isVisible());
    EXPECT_EQ(w->MainRs().EditMode(), db::adEditNone);
    EXPECT_EQ(text(*w, kName), QStringLiteral("甲"));
    w->Command2[1]->click();
    type(*w, kEnglish, QStringLiteral("Jia"));
    w->Command2[8]->click();
    EXPECT_EQ(rows(QStringLiteral("Select 會員編號, 中文姓名, 英文姓名 From 會員管理")), QStringList({"2008010001|甲|Jia"}));
}

TEST_F(MemberWindow, PointsTakeDigitsOnlyAndAFractionIsRoundedOrRefused)
{
    auto w = open();
    w->Command2[0]->click();
    QLineEdit* points = w->Fields_Text[kPoints];
    points->setFocus();
    {
        ScriptedResponder r;
        QTest::keyClicks(points, QStringLiteral("1a2.5"));
        EXPECT_EQ(r.beeps, 1);
    }
    EXPECT_EQ(points->text(), QStringLiteral("12.5"));
    w->Command2[8]->click();  // 12.5 is stored as VB rounds it: 12
    points = w->Fields_Text[kPoints];
    points->setFocus();
    QTest::keyClicks(points, QStringLiteral("."));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Command2[8]->click();
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_TRUE(r.last().text.contains(QStringLiteral("累積點數"))) << r.last().text.toStdString();
    }
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(rows(QStringLiteral("Select 會員編號, 累積點數 From 會員管理")), QStringList({"2026120001|12"}));
    w->Command2[9]->click();
    EXPECT_EQ(count(QStringLiteral("會員管理")), 1);
    // While browsing no key reaches a box.
    QTest::keyClicks(w->Fields_Text[kName], QStringLiteral("xyz"));
    EXPECT_TRUE(w->Fields_Text[kName]->text().isEmpty());
}

TEST_F(MemberWindow, FilterByPrefixOrNumberAndQuickFindOnTheSortColumn)
{
    add(QStringLiteral("2008010001"), QStringLiteral("甲"), QStringLiteral("VIP"), 5);
    add(QStringLiteral("2008020001"), QStringLiteral("乙"), QStringLiteral("一般"), 12);
    add(QStringLiteral("2009010001"), QStringLiteral("丙"), QStringLiteral("VIP2"), 12);
    add(QStringLiteral("2009010002"), QStringLiteral("丁"), QStringLiteral("O'Neil"), 7);
    auto w = open();
    w->Combo1[0]->setCurrentText(QStringLiteral("類別"));
    // The value list offers the categories in use.
    EXPECT_EQ(w->Combo3->count(), 4);
    w->Combo3->setEditText(QStringLiteral("VIP"));
    EXPECT_EQ(listed(*w), QStringList({"2008010001", "2009010001"}));
    EXPECT_EQ(sink.status, QStringLiteral("只顯示 [類別] 欄位 內容有以VIP開頭的資料, 以 [會員編號 ] 欄位來排序"));
    // A quote is a value like any other.
    w->Combo3->setEditText(QStringLiteral("O'"));
    EXPECT_EQ(listed(*w), QStringList({"2009010002"}));
    // Nothing matches: empty boxes and audit values.
    w->Combo3->setEditText(QStringLiteral("ZZZ"));
    EXPECT_TRUE(listed(*w).isEmpty());
    EXPECT_TRUE(text(*w, kNo).isEmpty());
    EXPECT_TRUE(w->CreatTxt[0]->text().isEmpty());
    w->Combo3->setEditText(QString());
    EXPECT_EQ(listed(*w).size(), 4);
    // A number column compares the number the text begins with.
    w->Combo1[0]->setCurrentText(QStringLiteral("累積點數"));
    w->Combo3->setEditText(QStringLiteral("12abc"));
    EXPECT_EQ(listed(*w), QStringList({"2008020001", "2009010001"}));
    w->Combo3->setEditText(QString());
    // Sort by name; the quick find then looks at the name.
    w->Combo1[1]->setCurrentText(QStringLiteral("中文姓名"));
    EXPECT_EQ(listed(*w, QStringLiteral("中文姓名")), QStringList({"丁", "丙", "乙", "甲"}));
    w->Text1[1]->setText(QStringLiteral("丙"));
    EXPECT_EQ(text(*w, kNo), QStringLiteral("2009010001"));
    EXPECT_EQ(w->CreatTxt[1]->text(), QStringLiteral("甲"));
    w->Text1[1]->setText(QStringLiteral("戊"));  // nothing matches: the member stays
    EXPECT_EQ(text(*w, kNo), QStringLiteral("2009010001"));
    w->Combo1[1]->setCurrentText(QStringLiteral("會員編號"));
    w->Text1[1]->setText(QStringLiteral("200802"));
    EXPECT_EQ(text(*w, kName), QStringLiteral("乙"));
}

TEST_F(MemberWindow, QueryByFormShowsTheMatchingMembersUntilRefresh)
{
    add(QStringLiteral("2008010001"), QStringLiteral("王大"), QStringLiteral("VIP"));
    add(QStringLiteral("2008010002"), QStringLiteral("林"), QStringLiteral("VIP"));
    add(QStringLiteral("2008010003"), QStringLiteral("王小"), QStringLiteral("一般"));
    auto w = open();
    w->Command2[10]->click();
    EXPECT_EQ(w->EditMode, QStringLiteral("fond"));
    EXPECT_EQ(w->Label3[1]->text(), QStringLiteral("查詢"));
    EXPECT_TRUE(w->Command2[11]->isVisible());
    EXPECT_FALSE(w->Command2[0]->isVisible());
    for (QLineEdit* box : w->Fields_Text)
        EXPECT_TRUE(box->text().isEmpty());
    // Criteria are not written into the member the boxes showed.
    type(*w, kName, QStringLiteral("王"));
    EXPECT_TRUE(w->Command2[11]->isEnabled());
    type(*w, kCategory, QStringLiteral("一"));
    type(*w, kEnglish, QStringLiteral("nobody"));
    w->Command2[11]->click();  // nothing matches: the criteria stay
    EXPECT_EQ(w->EditMode, QStringLiteral("fond"));
    EXPECT_EQ(text(*w, kName), QStringLiteral("王"));
    type(*w, kEnglish, QString());
    w->Command2[11]->click();
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_TRUE(w->QueryMode);
    EXPECT_EQ(listed(*w), QStringList({"2008010003"}));
    EXPECT_EQ(text(*w, kName), QStringLiteral("王小"));
    EXPECT_EQ(w->Label3[1]->text(), QStringLiteral("查詢"));
    EXPECT_EQ(rows(QStringLiteral("Select 中文姓名 From 會員管理 Order By 會員編號")), QStringList({"王大", "林", "王小"}));
    // A member found so can be changed and saved.
    w->Command2[1]->click();
    type(*w, kEnglish, QStringLiteral("Wang"));
    EXPECT_TRUE(w->Command2[8]->isEnabled());
    w->Command2[8]->click();
    EXPECT_EQ(rows(QStringLiteral("Select 英文姓名 From 會員管理 Where 會員編號 = '2008010003'")), QStringList({"Wang"}));
    w->Command1->click();
    EXPECT_FALSE(w->QueryMode);
    EXPECT_EQ(w->Label3[1]->text(), QStringLiteral("一般"));
    EXPECT_EQ(listed(*w).size(), 3);
    // 取消 leaves the query with every member listed.
    w->Command2[10]->click();
    type(*w, kName, QStringLiteral("林"));
    w->Command2[12]->click();
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_FALSE(w->QueryMode);
    EXPECT_EQ(listed(*w).size(), 3);
    EXPECT_EQ(text(*w, kName), QStringLiteral("王大"));
    EXPECT_EQ(rows(QStringLiteral("Select 中文姓名 From 會員管理 Order By 會員編號")), QStringList({"王大", "林", "王小"}));
}

TEST_F(MemberWindow, DeleteAsksAndMovesTellTheEnds)
{
    add(QStringLiteral("2008010001"), QStringLiteral("甲"));
    add(QStringLiteral("2008010002"), QStringLiteral("乙"));
    auto w = open();
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Command2[4]->click();  // < on the first row
        EXPECT_EQ(r.texts(), QStringList({"已經在第一筆"}));
    }
    EXPECT_EQ(text(*w, kName), QStringLiteral("甲"));
    w->Command2[5]->click();
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Command2[5]->click();
        EXPECT_EQ(r.texts(), QStringList({"已經在最後一筆"}));
    }
    EXPECT_EQ(text(*w, kName), QStringLiteral("乙"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::No);
        w->Command2[2]->click();
        EXPECT_EQ(r.texts(), QStringList({"確定刪除? "}));
        EXPECT_EQ(r.last().buttons, ui::Buttons::YesNo);
    }
    EXPECT_EQ(count(QStringLiteral("會員管理")), 2);
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Command2[2]->click();
    }
    EXPECT_EQ(rows(QStringLiteral("Select 中文姓名 From 會員管理")), QStringList({"甲"}));
    EXPECT_EQ(listed(*w), QStringList({"2008010001"}));
}

TEST_F(MemberWindow, PickListsOfferCategoriesAndSex)
{
    add(QStringLiteral("2008010001"), QStringLiteral("甲"), QStringLiteral("VIP"));
    add(QStringLiteral("2008010002"), QStringLiteral("乙"), QStringLiteral("一般"));
    auto w = open();
    w->Command2[0]->click();
    w->Fields_Text[kCategory]->setFocus();
    QComboBox* pick = w->Combo2;
    ASSERT_TRUE(pick->isVisible());
    EXPECT_EQ(pick->count(), 2);
    EXPECT_EQ(pick->currentText(), QStringLiteral("VIP"));  // the first one stored, sorted
    EXPECT_EQ(pick->width(), w->Fields_Text[kCategory]->width() + vb::TwipsToPixels(300));
    pick->setEditText(QStringLiteral("金卡"));
    QTest::keyClick(pick, Qt::Key_Return);
    EXPECT_EQ(text(*w, kCategory), QStringLiteral("金卡"));
    EXPECT_EQ(QApplication::focusWidget(), w->Fields_Text[kName]);
    EXPECT_FALSE(pick->isVisible());
    // Passing through 性別 takes its first item.
    w->Fields_Text[kSex]->setFocus();
    ASSERT_TRUE(pick->isVisible());
    EXPECT_EQ(pick->count(), 2);
    EXPECT_EQ(pick->currentText(), QStringLiteral("男"));
    QTest::keyClick(pick, Qt::Key_Return);
    EXPECT_EQ(text(*w, kSex), QStringLiteral("男"));
    EXPECT_EQ(QApplication::focusWidget(), w->Fields_Text[kSex + 1]);
    // Tab leaves a list for the next box too, with what the list shows.
    w->Fields_Text[kSex]->setFocus();
    pick->setEditText(QStringLiteral("女"));
    QTest::keyClick(pick, Qt::Key_Tab);
    EXPECT_EQ(text(*w, kSex), QStringLiteral("女"));
    EXPECT_EQ(QApplication::focusWidget(), w->Fields_Text[kSex + 1]);
    // Enter walks the boxes; after the last one the memo, Enter at its end goes to 類別.
    QTest::keyClick(w->Fields_Text[kPoints - 1], Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->Fields_Text[kPoints]);
    QTest::keyClick(w->Fields_Text[kPoints], Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->MemoFieldTxt);
    QTest::keyClicks(w->MemoFieldTxt, QStringLiteral("a"));
    QTest::keyClick(w->MemoFieldTxt, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->MemoFieldTxt);
    QTest::keyClick(w->MemoFieldTxt, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), pick);  // box 1 (類別) opened its list again
    w->Command2[9]->click();
    // A query by form gets no criterion the user did not type.
    w->Command2[10]->click();
    w->Fields_Text[kSex]->setFocus();
    ASSERT_TRUE(pick->isVisible());
    EXPECT_TRUE(pick->currentText().isEmpty());
    w->Fields_Text[kName]->setFocus();
    EXPECT_TRUE(text(*w, kSex).isEmpty());
    w->Command2[12]->click();
}

TEST_F(MemberWindow, LeaveChecksHoldWhileAddingOrChanging)
{
    add(QStringLiteral("2008010001"), QStringLiteral("甲"));
    gConn.Execute(QStringLiteral("Update 會員管理 Set 電子信箱 = 'bad@', 身分證號 = 'x1'"));
    auto w = open();
    // Browsing: stored values pass through the boxes without a word.
    w->Fields_Text[kMail]->setFocus();
    w->Fields_Text[kId]->setFocus();
    w->Fields_Text[kName]->setFocus();
    w->Command2[1]->click();
    w->Fields_Text[kMail]->setFocus();
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Fields_Text[kName]->setFocus();
        ASSERT_EQ(r.messages.size(), 1u);
    }
    EXPECT_EQ(QApplication::focusWidget(), w->Fields_Text[kMail]);
    type(*w, kMail, QStringLiteral(" a@b.com.tw "));
    w->Fields_Text[kName]->setFocus();
    EXPECT_EQ(text(*w, kMail), QStringLiteral("a@b.com.tw"));
    // The identity number is upper-cased and checked as the setting says; 3 checks nothing.
    WriteSetting(QStringLiteral("iDCardNO"), QStringLiteral("0"), QStringLiteral("Tessarine"), 0);
    type(*w, kId, QStringLiteral("a123456789"));
    w->Fields_Text[kId]->setFocus();
    w->Fields_Text[kName]->setFocus();
    EXPECT_EQ(text(*w, kId), QStringLiteral("A123456789"));
    type(*w, kId, QStringLiteral("a12"));
    w->Fields_Text[kId]->setFocus();
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Fields_Text[kName]->setFocus();
        ASSERT_EQ(r.messages.size(), 1u);
    }
    EXPECT_EQ(QApplication::focusWidget(), w->Fields_Text[kId]);
    WriteSetting(QStringLiteral("iDCardNO"), QStringLiteral("3"), QStringLiteral("Tessarine"), 0);
    w->Fields_Text[kName]->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), w->Fields_Text[kName]);
    w->Command2[8]->click();
    EXPECT_EQ(rows(QStringLiteral("Select 電子信箱, 身分證號 From 會員管理")), QStringList({"a@b.com.tw|A12"}));
    // A query by form takes partial criteria.
    w->Command2[10]->click();
    type(*w, kMail, QStringLiteral("@b"));
    w->Fields_Text[kMail]->setFocus();
    w->Fields_Text[kName]->setFocus();
    w->Command2[11]->click();
    EXPECT_EQ(listed(*w), QStringList({"2008010001"}));
}

TEST_F(MemberWindow, MailButtonWritesToTheAddressOrSaysItIsEmpty)
{
    add(QStringLiteral("2008010001"), QStringLiteral("甲"));
    auto w = open();
    shellsvc::Recorder shell;
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Command4[0]->click();
        EXPECT_EQ(r.texts(), QStringList({"郵件地紙是空的"}));
    }
    gConn.Execute(QStringLiteral("Update 會員管理 Set 電子信箱 = 'a@b.com'"));
    w->Command1->click();
    w->Command4[0]->click();
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].target, QStringLiteral("mailto:a@b.com"));
}

// From the main window: one member window at a time; closing it, by its button or by its
// frame's close box, lets the menu open a new one.
TEST_F(MemberWindow, MainWindowOpensOneMemberWindowAtATime)
{
    gDataPath = folder.path();
    ScriptedResponder user;
    user.allowUnused();
    MDIForm1 main;
    main.show();
    main.會員資料管理Item->trigger();
    ASSERT_TRUE(main.會員資料管理Item->isChecked());
    auto windows = main.MdiArea->subWindowList();
    ASSERT_EQ(windows.size(), 1);
    auto* w = dynamic_cast<DBtable_fm*>(windows[0]->widget());
    ASSERT_TRUE(w);
    EXPECT_TRUE(windows[0]->isMaximized());
    if (const QString shots = qEnvironmentVariable("TESS_SHOTS"); !shots.isEmpty()) {
        main.resize(1024, 768);
        QApplication::processEvents();
        main.grab().save(shots + QStringLiteral("/member-in-main.png"));
    }
    user.answer(ui::Answer::OK);
    main.會員資料管理Item->trigger();
    EXPECT_EQ(user.texts(), QStringList({"會員資料管理已經開啟"}));
    EXPECT_EQ(main.MdiArea->subWindowList().size(), 1);
    w->Command2[7]->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(main.會員資料管理Item->isChecked());
    // The button bar's 會員 button opens it again; the frame's close box closes it.
    main.Command1[8]->click();
    EXPECT_TRUE(main.會員資料管理Item->isChecked());
    ASSERT_EQ(main.MdiArea->subWindowList().size(), 1);
    main.MdiArea->subWindowList()[0]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(main.會員資料管理Item->isChecked());
    main.會員資料管理Item->trigger();
    EXPECT_EQ(main.MdiArea->subWindowList().size(), 1);
    EXPECT_EQ(user.texts().size(), 1);
}

// At its design size, in both languages, with the bar of each mode: every control whole.
TEST_F(MemberWindow, ShowsEachControlWholeInBothLanguages)
{
    add(QStringLiteral("2008010001"), QStringLiteral("王大明"), QStringLiteral("VIP"), 12);
    for (const short offset : {0, 10000}) {
        gLangOffset = offset;
        auto w = open();
        ApplySkin(w.get());
        const auto check = [&](const char* mode) {
            // TESS_SHOTS=folder keeps a picture of the window for a look by eye.
            if (const QString shots = qEnvironmentVariable("TESS_SHOTS"); !shots.isEmpty())
                w->grab().save(QStringLiteral("%1/member-%2-%3.png").arg(shots, offset ? "cn" : "tw", mode));
            const QStringList clipped = testsupport::ClippedControls(w.get());
            EXPECT_TRUE(clipped.isEmpty()) << mode << (offset ? " (Simplified)\n" : " (Traditional)\n")
                                           << clipped.join(QLatin1Char('\n')).toStdString();
        };
        check("browse");
        w->Command2[1]->click();
        check("edit");
        w->Command2[9]->click();
        w->Command2[10]->click();
        check("query");
        w->Command2[12]->click();
        // A narrow window shows the title band above the panes.
        w->resize(vb::TwipsToPixels(9000), w->height());
        EXPECT_TRUE(w->TopPicture->isVisible());
        EXPECT_EQ(w->Picture1->y(), vb::TwipsToPixels(1095));
    }
    gLangOffset = 0;
}

// A read that fails (here a sort column dropped since the window opened) is reported with Abort,
// Retry and Ignore; the window goes on with the members it listed.
TEST_F(MemberWindow, FailingReadIsReportedAndTheListStays)
{
    add(QStringLiteral("2008010001"), QStringLiteral("甲"));
    add(QStringLiteral("2008010002"), QStringLiteral("乙"));
    auto w = open();
    gConn.DropColumn(QStringLiteral("會員管理"), QStringLiteral("關係"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Abort);
        w->Combo1[1]->setCurrentText(QStringLiteral("關係"));
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.last().buttons, ui::Buttons::AbortRetryIgnore);
    }
    EXPECT_EQ(listed(*w), QStringList({"2008010001", "2008010002"}));
    w->Command2[6]->click();
    EXPECT_EQ(text(*w, kName), QStringLiteral("乙"));
}

// Every fault of the database layer a save can meet on a shared data folder is told in Chinese,
// with its number and what to do, and ends with "資料並未存檔。".
TEST_F(MemberWindow, ASaveFailureOfTheDatabaseIsToldInChinese)
{
    add(QStringLiteral("2008010001"), QStringLiteral("甲"));
    for (const testsupport::SaveFault& fault : testsupport::SaveFaults()) {
        auto w = open();
        w->Command2[1]->click();
        type(*w, kName, QStringLiteral("我的"));
        testsupport::FaultInPlace held(fault, path, "UPDATE 會員管理 SET 中文姓名 = '他的';");
        ScriptedResponder r;
        r.answer(ui::Answer::Abort);
        w->Command2[8]->click();
        held.letGo();
        ASSERT_FALSE(r.messages.empty()) << fault.name;
        testsupport::ExpectChineseFailure(r.last(), fault, QStringLiteral("資料並未存檔。"));
        EXPECT_EQ(w->EditMode, QStringLiteral("edit")) << fault.name;
    }
}
