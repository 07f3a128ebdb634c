#include "customers/CustomerDetailGrids.h"

#include "core/Globals.h"
#include "platform/shell/Shell.h"
#include "platform/text/VbText.h"
#include "platform/widgets/ByteLimit.h"
#include "platform/widgets/FlexGrid.h"
#include "support/CustomerDb.h"
#include "support/DetailRowsOf.h"
#include "support/Responder.h"
#include "support/Utf8.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>
#include <set>

using testsupport::ScriptedResponder;

namespace {

// ---- Plain rules ---------------------------------------------------------------------------

DetailRowArray Rows(DetailKind kind, const QStringList& names)
{
    return testsupport::DetailRowsOf(CustomerGridDef(kind).KeyColumn(), names);
}

}  // namespace

TEST(DetailGridRules, SpareRowCasesRunInOrderAndNeverLeaveTheArray)
{
    struct Case {
        const char* what;
        DetailKind kind;
        QStringList names;  // column 1 of the counted rows
        int gridRows, row, col;
        SpareRowCase expect;
        int count, gridRowsAfter;
    };
    const auto C = DetailKind::Contacts;
    const auto D = DetailKind::Deliveries;
    const Case cases[] = {
        {"one row, column 1 of row 1 itself", C, {"A"}, 3, 1, 1, SpareRowCase::A, 2, 4},
        {"spare row, column 1, n >= 2", C, {"A", "B", "C"}, 5, 4, 1, SpareRowCase::B, 4, 6},
        {"no rows, column 1", D, {}, 2, 1, 1, SpareRowCase::C, 1, 3},
        {"blank last row dropped from another row", C, {"A", "B", ""}, 5, 2, 3, SpareRowCase::D, 2, 4},
        {"contacts keep a blank row 2 of 2", C, {"A", ""}, 4, 1, 2, SpareRowCase::None, 2, 4},
        {"deliveries lose the spare after a blank row 2", D, {"A", ""}, 4, 1, 2, SpareRowCase::D, 2, 3},
        {"nothing to drop without counted rows", D, {}, 3, 2, 2, SpareRowCase::None, 0, 3},
        {"named last row stays", C, {"A", "B", "C"}, 5, 2, 3, SpareRowCase::None, 3, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DetailRowArray rows = Rows(c.kind, c.names);
        int gridRows = c.gridRows;
        EXPECT_EQ(SpareRowStep(CustomerGridDef(c.kind), rows, gridRows, c.row, c.col), c.expect);
        EXPECT_EQ(rows.Count(), c.count);
        EXPECT_EQ(gridRows, c.gridRowsAfter);
        EXPECT_GE(rows.UpperRow(), rows.Count());  // every counted row has its entry
    }
}

TEST(DetailGridRules, EnterWalksTheRowAndBeepsOnAnExactlyEmptyName)
{
    struct Case {
        DetailKind kind;
        int col;
        QString col1;
        EnterMove expect;
    };
    const Case cases[] = {
        {DetailKind::Contacts, 8, "A", {4, 1, false}},
        {DetailKind::Deliveries, 6, "A", {4, 1, false}},
        {DetailKind::Deliveries, 6, "", {4, 1, false}},  // leaving the row is not checked
        {DetailKind::Contacts, 1, "", {3, 1, true}},
        {DetailKind::Contacts, 1, " ", {3, 2, false}},  // a blank is not empty here
        {DetailKind::Contacts, 6, "A", {3, 7, false}},
        {DetailKind::Contacts, 7, "A", {3, 8, false}},      // on into the last column
        {DetailKind::Deliveries, 5, "A", {3, 6, false}},
    };
    for (const Case& c : cases) {
        const EnterMove m = EnterWalk(CustomerGridDef(c.kind), 3, c.col, c.col1);
        EXPECT_EQ(m.row, c.expect.row) << c.col;
        EXPECT_EQ(m.col, c.expect.col) << c.col;
        EXPECT_EQ(m.beep, c.expect.beep) << c.col;
    }
}

TEST(DetailGridRules, ByteLimitOnKeysAndInputMethodCommits)
{
    const QString ten = "abcdefghij";
    EXPECT_TRUE(KeyRefused(10, ten, 'k'));
    EXPECT_TRUE(KeyRefused(10, ten, 13));
    EXPECT_FALSE(KeyRefused(10, ten, 8));                // Backspace always goes through
    EXPECT_FALSE(KeyRefused(0, ten + ten, 'k'));         // 0: no limit
    EXPECT_FALSE(KeyRefused(10, "abcdefghi", 0x4E2D));  // measured before the key: 9 < 10
    EXPECT_TRUE(KeyRefused(10, K("客戶資料管"), 'a'));   // Chinese counts 2

    // A commit is taken character by character as typed keys are: measured before each one.
    EXPECT_EQ(TypedCommit(10, "ab", K("客戶資料管理")), K("客戶資料"));
    EXPECT_EQ(TypedCommit(10, "abcdefghi", K("中文")), K("中"));
    EXPECT_EQ(TypedCommit(10, ten, K("中")), "");
    EXPECT_EQ(TypedCommit(0, ten, K("中文")), K("中文"));
}

TEST(DetailGridRules, RemovingARowRenumbersAndRemembersStoredKeysOnly)
{
    DetailRowArray rows = Rows(DetailKind::Contacts, {"A", "B", "C"});
    rows.set(1, 9, "11");
    rows.set(2, 9, "12");
    DeletedRowKeys deleted;

    ASSERT_TRUE(RemoveDetailRow(rows, deleted, 2));
    EXPECT_EQ(rows.Count(), 2);
    EXPECT_EQ(rows.UpperRow(), 2);
    EXPECT_EQ(rows.at(2, 0), "2");
    EXPECT_EQ(rows.at(2, 1), "C");
    EXPECT_EQ(rows.Key(2), "");
    ASSERT_EQ(deleted.Count(), 1);
    EXPECT_EQ(deleted.Key(1), 12);

    ASSERT_TRUE(RemoveDetailRow(rows, deleted, 2));  // the new row: nothing to remember
    EXPECT_EQ(deleted.Count(), 1);
    for (int r : {0, 2, -1}) {
        EXPECT_FALSE(RemoveDetailRow(rows, deleted, r)) << r;
        EXPECT_EQ(rows.Count(), 1);
    }
    EXPECT_EQ(DeleteRowQuestion(CustomerGridDef(DetailKind::Contacts), rows, 1), K("確定刪除 1 A 這一行?"));
    EXPECT_EQ(DeleteRowQuestion(CustomerGridDef(DetailKind::Deliveries), rows, 5), K("確定刪除  :  這一行?"));
}

// Every change of the rows marks the rows it changes, and only those: what the save compares
// with what was read.
TEST(DetailGridRules, EveryChangeOfTheRowsMarksTheRowsItChanges)
{
    const DetailGridDef& def = CustomerGridDef(DetailKind::Contacts);
    struct Case {
        const char* what;
        std::function<void(DetailRowArray&)> change;  // on A B C D, nothing touched
        std::set<int> touched;
    };
    const Case cases[] = {
        {"a cell given another text", [](DetailRowArray& r) { r.set(2, 3, "x"); }, {2}},
        {"a cell given its own text", [](DetailRowArray& r) { r.set(2, 1, "B"); }, {}},
        {"a key given", [&](DetailRowArray& r) { r.set(3, def.KeyColumn(), "7"); }, {3}},
        {"row 2 removed: the rows below move up, the last leaves the count",
         [](DetailRowArray& r) {
             DeletedRowKeys deleted;
             RemoveDetailRow(r, deleted, 2);
         },
         {2, 3, 4}},
        {"the spare row comes into the count",
         [&](DetailRowArray& r) {
             int gridRows = 6;
             SpareRowStep(def, r, gridRows, 5, 1);
         },
         {5}},
        {"the count shrinks, then grows over rows it had",
         [](DetailRowArray& r) {
             r.setCount(2);
             r.setCount(4);
         },
         {3, 4}},
        {"counted rows cut off the array", [](DetailRowArray& r) { r.Redim(2); }, {3, 4}},
        {"rows added past the count", [](DetailRowArray& r) { r.Redim(9); }, {}},
        {"cleared", [](DetailRowArray& r) {
             r.set(1, 1, "Z");
             r.Clear();
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DetailRowArray rows = Rows(DetailKind::Contacts, {"A", "B", "C", "D"});
        EXPECT_EQ(rows.Touched(), (std::set<int>{1, 2, 3, 4}));
        rows.ClearTouched();
        c.change(rows);
        EXPECT_EQ(rows.Touched(), c.touched);
    }
}

// ---- The grids in a window -----------------------------------------------------------------

namespace {

// The grids on the customer database as start-up leaves it (no contacts, no deliveries).
class DetailGridsTest : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        if (HasFatalFailure())
            return;

        window.resize(900, 400);
        auto* layout = new QVBoxLayout(&window);
        auto* frameLayout = new QVBoxLayout(frame);
        frameLayout->addWidget(manPage);
        frameLayout->addWidget(delivePage);
        layout->addWidget(frame);
        layout->addWidget(other);
        layout->addWidget(deleteRow);
        grids = new CustomerDetailGrids(manPage, delivePage, &window);
        grids->SetDeleteRowButton(deleteRow);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Contacts get the keys 1, 2, 3, … in the order added, as in a file that never held any (the
    // start-up's sample contacts, though deleted, have used up the first numbers).
    void addContact(const QString& code, const QString& name, const QVariant& title = QVariant(),
                    const QString& mail = QString())
    {
        gConn.Execute(K("INSERT INTO RV12A (RV12A0, RV12A1, 稱謂, RV12A6, 序號) VALUES (?, ?, ?, ?, ?)"),
                      {code, name, title, mail, ++contactKeys});
    }
    void addDelivery(const QString& code, const QString& name)
    {
        gConn.Execute(K("INSERT INTO RV12B (RV12B0, 送貨名稱) VALUES (?, ?)"), {code, name});
    }

    FlexGrid* man() const { return grids->ManGrid(); }
    FlexGrid* delive() const { return grids->DeliveGrid(); }
    QLineEdit* manTxt() const { return grids->ManGridTxt(); }
    QLineEdit* deliveTxt() const { return grids->EditGridTXT(); }

    void click(FlexGrid* g, int row, int col)
    {
        const QRect cell = g->visualRect(g->model()->index(row - 1, col - 1));
        ASSERT_TRUE(cell.isValid());
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void type(QLineEdit* box, const QString& text)
    {
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, ch.isLetterOrNumber() && ch.unicode() < 128 ? int(ch.toUpper().unicode()) : 0,
                            Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(box, &press);
        }
    }
    void commit(QLineEdit* box, const QString& text)
    {
        QInputMethodEvent ev;
        ev.setCommitString(text);
        QCoreApplication::sendEvent(box, &ev);
    }
    void enter(QLineEdit* box) { QTest::keyClick(box, Qt::Key_Return); }
    // The cell the editor shows over, by its centre.
    QPoint cellOf(FlexGrid* g, QLineEdit* box) const
    {
        const QPoint centre = g->viewport()->mapFrom(g->parentWidget(), box->geometry().center());
        const QModelIndex i = g->indexAt(centre);
        return {i.row() + 1, i.column() + 1};
    }

    int contactKeys = 0;
    QWidget window;
    QWidget* frame = new QWidget;  // the record window around the pages
    QWidget* manPage = new QWidget;
    QWidget* delivePage = new QWidget;
    QLineEdit* other = new QLineEdit;
    QPushButton* deleteRow = new QPushButton(K("刪除一行"));
    CustomerDetailGrids* grids = nullptr;
};

}  // namespace

TEST_F(DetailGridsTest, LoadingShowsRowsKeysAndASpareRowAndSetsEveryLimit)
{
    addContact("C1", K("王小明"), K("經理"), "a@b.com.tw");
    addContact("C1", K("李四"));  // Null 稱謂
    addContact("C1", K("張三"));
    addContact("C2", K("別家"));
    addDelivery("C1", K("總公司"));
    grids->ReadDeliveDate("C1  ");  // a code with trailing blanks finds the same rows
    grids->ReadMinDate("C1");

    EXPECT_EQ(grids->ManRowCount(), 3);
    EXPECT_EQ(man()->Rows(), 5);
    EXPECT_EQ(man()->Cols(), 9);
    EXPECT_EQ(man()->TextMatrix(0, 6), "e-mail");
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(man()->TextMatrix(r, 0), QString::number(r));
        EXPECT_EQ(grids->ManRowData().at(r, 0), QString::number(r));
        EXPECT_EQ(grids->ManRowData().Key(r), QString::number(r));
    }
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(man()->RowHeight(r), 300) << r;
    EXPECT_EQ(man()->TextMatrix(1, 2), K("經理"));
    EXPECT_EQ(man()->TextMatrix(2, 2), "");
    EXPECT_EQ(man()->TextMatrix(1, 6), "a@b.com.tw");
    EXPECT_EQ(grids->ManRowData().at(1, 6), "a@b.com.tw");
    EXPECT_EQ(grids->DeliveRowCount(), 1);
    EXPECT_EQ(delive()->TextMatrix(1, 1), K("總公司"));

    const std::vector<short> manLimits = {0, 16, 10, 10, 10, 12, 50, 10, 0, 0, 0};
    const std::vector<short> deliveLimits = {0, 25, 10, 15, 15, 50, 20, 0, 0};
    EXPECT_EQ(grids->ManCellByteLimit(), manLimits);
    EXPECT_EQ(grids->DeliveCellByteLimit(), deliveLimits);

    // A customer without rows: captions and one empty row, and the columns still limited.
    grids->ReadMinDate("C9");
    grids->ReadDeliveDate("C9");
    EXPECT_EQ(grids->ManRowCount(), 0);
    EXPECT_EQ(man()->Rows(), 2);
    EXPECT_EQ(man()->TextMatrix(1, 1), "");
    EXPECT_EQ(grids->ManCellByteLimit(), manLimits);
    EXPECT_EQ(grids->DeliveCellByteLimit(), deliveLimits);
}

// Three contacts typed into a new customer with the keyboard alone, the middle one removed.
TEST_F(DetailGridsTest, TypingAndEnterAloneAddContactsToANewCustomer)
{
    grids->ReadMinDate("");
    grids->SetEditMode("addnew");
    click(man(), 1, 1);
    ASSERT_TRUE(manTxt()->isVisible());
    EXPECT_EQ(manTxt()->height(), vb::TwipsToPixels(350));
    EXPECT_EQ(manTxt()->width(), vb::TwipsToPixels(1300 + 50));

    const QStringList names = {K("王小明"), K("李四"), K("張三")};
    for (const QString& name : names) {
        commit(manTxt(), name);
        enter(manTxt());
        type(manTxt(), K("先生"));
        for (int c = 2; c <= 8; ++c)
            enter(manTxt());
    }
    EXPECT_EQ(cellOf(man(), manTxt()), QPoint(4, 1));
    EXPECT_EQ(grids->ManRowCount(), 4);  // the row the editor waits on is counted, blank
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(grids->ManRowData().at(r, 1), names[r - 1]);
        EXPECT_EQ(grids->ManRowData().at(r, 2), K("先生"));
        EXPECT_EQ(man()->TextMatrix(r, 1), names[r - 1]);
        EXPECT_EQ(grids->ManRowData().Key(r), "");
    }
    EXPECT_EQ(grids->ManRowData().at(4, 1), "");

    // Moving to row 2 drops the blank last row; then it is removed.
    click(man(), 2, 3);
    EXPECT_EQ(grids->ManRowCount(), 3);
    EXPECT_TRUE(deleteRow->isEnabled());
    ScriptedResponder r;
    r.answer(ui::Answer::Yes);
    grids->刪除一行(2);
    EXPECT_EQ(r.last().text, K("確定刪除  李四 這一行?"));  // rows typed in carry no number yet
    EXPECT_EQ(r.last().title, K("刪除資料"));
    EXPECT_EQ(grids->ManRowCount(), 2);
    EXPECT_EQ(grids->ManRowData().at(2, 0), "2");
    EXPECT_EQ(grids->ManRowData().at(2, 1), K("張三"));
    EXPECT_EQ(man()->TextMatrix(2, 1), K("張三"));
    EXPECT_EQ(grids->ManDeletedRowKeys().Count(), 0);  // never stored
    EXPECT_FALSE(manTxt()->isVisible());
    EXPECT_EQ(grids->DeliveRowCount(), 0);  // the other grid untouched
    EXPECT_EQ(delive()->TextMatrix(1, 1), "");
}

TEST_F(DetailGridsTest, DeletingAStoredRowRemembersItsKeyAndAnswerNoChangesNothing)
{
    for (const char* n : {"甲", "乙", "丙"})
        addContact("C1", K(n));
    grids->ReadMinDate("C1");
    grids->SetEditMode("change");
    click(man(), 2, 1);
    {
        ScriptedResponder r;
        r.answer(ui::Answer::No);
        grids->刪除一行(2);
    }
    EXPECT_EQ(grids->ManRowCount(), 3);
    EXPECT_EQ(grids->ManDeletedRowKeys().Count(), 0);

    ScriptedResponder r;
    r.answer(ui::Answer::Yes);
    grids->刪除一行(2);
    EXPECT_EQ(grids->ManRowCount(), 2);
    ASSERT_EQ(grids->ManDeletedRowKeys().Count(), 1);
    EXPECT_EQ(grids->ManDeletedRowKeys().Key(1), 2);
    EXPECT_EQ(grids->ManRowData().Key(2), "3");
    EXPECT_EQ(grids->ManRowData().at(2, 0), "2");
    EXPECT_EQ(man()->TextMatrix(2, 0), "3");  // the grid's numbers wait for the next load
    grids->刪除一行(1);                           // tab 1 (basic data): nothing
    EXPECT_EQ(grids->ManRowCount(), 2);

    // Deleting row 1 leaves the caption row current: a second delete is out of range.
    click(man(), 1, 1);
    r.answer(ui::Answer::Yes).answer(ui::Answer::Yes).answer(ui::Answer::OK);
    grids->刪除一行(2);
    EXPECT_EQ(man()->Row(), 0);
    EXPECT_EQ(grids->ManRowData().at(1, 1), K("丙"));
    grids->刪除一行(2);
    EXPECT_EQ(r.texts().mid(1), QStringList({K("確定刪除 1 甲 這一行?"), K("確定刪除   這一行?"),
                                             K("超過範圍,也許刪過頭了...")}));
    EXPECT_EQ(grids->ManDeletedRowKeys().Keys(), (std::vector<qint64>{2, 1}));
    EXPECT_EQ(grids->ManRowData().at(1, 1), K("丙"));
    grids->ClearDeletedRowKeys();
    EXPECT_EQ(grids->ManDeletedRowKeys().Count(), 0);
}

// A click on the spare row in browse mode, then 刪除一行 and 發信給聯絡人: messages, no change.
TEST_F(DetailGridsTest, BrowseModeClicksShowNoEditorAndOutOfRangeRowsAreRefused)
{
    addContact("C1", K("甲"), {}, "ok@mail.com");
    addContact("C1", K("乙"), {}, "  ");
    grids->ReadMinDate("C1");
    deleteRow->setEnabled(false);
    click(man(), 3, 2);
    EXPECT_FALSE(manTxt()->isVisible());
    EXPECT_FALSE(deleteRow->isEnabled());
    EXPECT_EQ(man()->Row(), 3);

    ScriptedResponder r;
    r.answer(ui::Answer::Yes).answer(ui::Answer::OK).answer(ui::Answer::OK).answer(ui::Answer::OK);
    grids->刪除一行(2);
    EXPECT_EQ(r.texts(), QStringList({K("確定刪除   這一行?"), K("超過範圍,也許刪過頭了...")}));
    EXPECT_EQ(grids->ManRowCount(), 2);

    shellsvc::Recorder shell;
    grids->MailCom_Click();
    click(man(), 2, 6);
    grids->MailCom_Click();
    click(man(), 1, 3);
    grids->MailCom_Click();
    EXPECT_EQ(r.texts().mid(2), QStringList({K("行 3 的郵件地址是空的，請點選有郵件地址那行。"),
                                             K("行 2 的郵件地址是空的，請點選有郵件地址那行。")}));
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].target, "mailto:ok@mail.com");
}

TEST_F(DetailGridsTest, ClicksOnABlankRowStartAtColumnOne)
{
    addContact("C1", K("甲"));
    grids->ReadMinDate("C1");
    grids->SetEditMode("change");
    click(man(), 2, 4);  // the spare row
    EXPECT_EQ(cellOf(man(), manTxt()), QPoint(2, 1));
    EXPECT_TRUE(manTxt()->hasFocus());
    EXPECT_FALSE(deleteRow->isEnabled());  // clicked beyond the counted rows
    // One contact and the editor on column 1: the counted rows become 2, spare row 3 (300 twips).
    EXPECT_EQ(grids->ManRowCount(), 2);
    EXPECT_EQ(man()->Rows(), 4);
    EXPECT_EQ(man()->RowHeight(3), 300);

    // Enter on an exactly empty name beeps and stays; a single blank lets it move on.
    ScriptedResponder r;
    enter(manTxt());
    EXPECT_EQ(r.beeps, 1);
    EXPECT_EQ(cellOf(man(), manTxt()), QPoint(2, 1));
    type(manTxt(), " ");
    enter(manTxt());
    EXPECT_EQ(cellOf(man(), manTxt()), QPoint(2, 2));
    // ... yet a click treats that row as blank.
    click(man(), 2, 5);
    EXPECT_EQ(cellOf(man(), manTxt()), QPoint(2, 1));
}

TEST_F(DetailGridsTest, TypingStopsAtTheColumnLimitAlsoThroughTheInputMethod)
{
    grids->ReadMinDate("");  // a new customer: the limits hold all the same
    grids->SetEditMode("addnew");
    click(man(), 1, 1);
    type(manTxt(), "abcdefghijklmnopqrst");
    EXPECT_EQ(manTxt()->text(), "abcdefghijklmnop");  // 16 bytes
    QTest::keyClick(manTxt(), Qt::Key_Backspace);
    EXPECT_EQ(manTxt()->text(), "abcdefghijklmno");
    type(manTxt(), K("中"));  // measured before the key: 15 < 16, one byte over
    EXPECT_EQ(vb::ByteLen(manTxt()->text()), 17);
    manTxt()->setText("abcdefghijklmno");
    commit(manTxt(), K("中文"));  // through the input method the same: one character goes in
    EXPECT_EQ(manTxt()->text(), "abcdefghijklmno" + K("中"));

    manTxt()->setText("");
    commit(manTxt(), K("王小明王小明王小明"));  // 18 bytes offered through the input method
    EXPECT_EQ(manTxt()->text(), K("王小明王小明王小"));
    commit(manTxt(), K("明"));
    EXPECT_EQ(manTxt()->text(), K("王小明王小明王小"));
    EXPECT_EQ(grids->ManRowData().at(1, 1), K("王小明王小明王小"));

    for (int c = 2; c <= 8; ++c)
        enter(manTxt());  // to 備註: no limit
    const QString longText = QString(60, QChar('x'));
    type(manTxt(), longText);
    commit(manTxt(), K("備註文字"));
    EXPECT_EQ(manTxt()->text(), longText + K("備註文字"));
    EXPECT_EQ(man()->TextMatrix(1, 8), longText + K("備註文字"));
}

TEST_F(DetailGridsTest, LeavingTheEmailCellRechecksItButNotOtherColumns)
{
    addContact("C1", K("甲"));
    grids->ReadMinDate("C1");
    grids->SetEditMode("change");
    click(man(), 1, 6);
    type(manTxt(), "abc");
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        other->setFocus();
        EXPECT_EQ(r.texts(), QStringList({K("字串首字或尾字含有 @ 字元。")}));
        EXPECT_TRUE(manTxt()->isVisible());
        EXPECT_TRUE(manTxt()->hasFocus());
        EXPECT_EQ(cellOf(man(), manTxt()), QPoint(1, 6));
        EXPECT_EQ(manTxt()->text(), "abc");
    }
    manTxt()->setText("abc@mail.com.tw");
    enter(manTxt());  // to Skype: a name that is no address
    type(manTxt(), "skypeuser");
    ScriptedResponder r;  // no message may show
    other->setFocus();
    EXPECT_FALSE(manTxt()->isVisible());
    EXPECT_EQ(grids->ManRowData().at(1, 6), "abc@mail.com.tw");
    EXPECT_EQ(grids->ManRowData().at(1, 7), "skypeuser");

    // Choosing another tab leaves the box too.
    click(man(), 1, 6);
    manTxt()->setText("wrong");
    r.answer(ui::Answer::OK);
    manPage->hide();
    EXPECT_EQ(r.texts(), QStringList({K("字串首字或尾字含有 @ 字元。")}));
    manPage->show();
    EXPECT_TRUE(manTxt()->isVisible());
    EXPECT_EQ(cellOf(man(), manTxt()), QPoint(1, 6));
    r.messages.clear();

    // Closing the record window over a wrong address asks nothing.
    manTxt()->setFocus();
    ASSERT_TRUE(manTxt()->hasFocus());
    frame->close();
    EXPECT_TRUE(r.messages.empty());
}

TEST_F(DetailGridsTest, ScrollingHidesTheEditorUnlessEnterMovedIt)
{
    for (int i = 1; i <= 40; ++i)
        addContact("C1", QStringLiteral("n%1").arg(i));
    window.resize(1300, 400);
    grids->ReadMinDate("C1");
    grids->SetEditMode("change");
    // A click on the half-shown bottom row leaves the editor where it was placed.
    const int bottomY = man()->viewport()->height() - 2;
    const int bottomRow = man()->rowAt(bottomY) + 1;
    QTest::mouseClick(man()->viewport(), Qt::LeftButton, {}, QPoint(man()->columnViewportPosition(0) + 5, bottomY));
    QTest::qWait(QApplication::doubleClickInterval() + 300);
    EXPECT_TRUE(manTxt()->isVisible());
    EXPECT_EQ(man()->Row(), bottomRow);
    EXPECT_EQ(man()->verticalScrollBar()->value(), 0);

    click(man(), 1, 8);
    const int before = man()->verticalScrollBar()->value();
    EXPECT_EQ(before, 0);  // a loaded list starts at its top
    for (int i = 0; i < 1 + 8 * 29; ++i)
        enter(manTxt());  // walks down rows past the visible ones
    EXPECT_GT(man()->verticalScrollBar()->value(), before);
    EXPECT_TRUE(manTxt()->isVisible());
    EXPECT_EQ(cellOf(man(), manTxt()), QPoint(31, 1));

    man()->verticalScrollBar()->setValue(0);
    EXPECT_FALSE(manTxt()->isVisible());
}

TEST_F(DetailGridsTest, EnterPastTheLastGridRowAddsARowToWalkOnto)
{
    addDelivery("C1", K("總公司"));
    grids->ReadDeliveDate("C1");
    grids->SetEditMode("change");
    click(delive(), 1, 1);  // one row: a counted blank row 2 and a spare row 3
    click(delive(), 1, 2);  // the blank row 2 loses its spare row
    ASSERT_EQ(delive()->Rows(), 3);
    click(delive(), 2, 1);
    commit(deliveTxt(), K("倉庫"));
    for (int c = 1; c <= 6; ++c)
        enter(deliveTxt());
    EXPECT_EQ(cellOf(delive(), deliveTxt()), QPoint(3, 1));
    EXPECT_EQ(grids->DeliveRowCount(), 3);
    EXPECT_EQ(delive()->Rows(), 5);
    EXPECT_EQ(grids->DeliveRowData().at(2, 1), K("倉庫"));
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(delive()->RowHeight(r), 300) << r;
}

TEST_F(DetailGridsTest, CompanyAddressBecomesANewDeliveryRow)
{
    addDelivery("C1", K("總公司"));
    addDelivery("C1", K("倉庫"));
    grids->ReadDeliveDate("C1");
    grids->SetEditMode("change");
    ScriptedResponder r;
    r.answer(ui::Answer::OK);
    EXPECT_FALSE(grids->AddressCom_Click(K("大同"), "02", "03", "   "));
    EXPECT_EQ(r.texts(), QStringList({K("客戶簡稱或公司地址未輸入。")}));
    EXPECT_EQ(grids->DeliveRowCount(), 2);

    ASSERT_TRUE(grids->AddressCom_Click(K(" 大同 "), " (02)2592-1234 ", "(02)2591-0000",
                                        K("台北市中山北路三段22號 ")));
    const QStringList row3 = {"3", K("大同"), "", "(02)2592-1234", "(02)2591-0000", K("台北市中山北路三段22號"), ""};
    for (int c = 0; c <= 6; ++c) {
        EXPECT_EQ(delive()->TextMatrix(3, c), row3[c]) << c;
        EXPECT_EQ(grids->DeliveRowData().at(3, c), row3[c]) << c;
    }
    EXPECT_EQ(grids->DeliveRowData().Key(3), "");
    EXPECT_EQ(grids->DeliveRowCount(), 3);
    EXPECT_EQ(delive()->Rows(), 5);
    EXPECT_EQ(delive()->TextMatrix(4, 1), "");
    EXPECT_EQ(delive()->RowHeight(3), 300);

    r.answer(ui::Answer::Yes);
    click(delive(), 3, 2);
    grids->刪除一行(3);
    EXPECT_EQ(r.last().text, K("確定刪除 3 : 大同 這一行?"));
    EXPECT_EQ(grids->DeliveRowCount(), 2);
}
