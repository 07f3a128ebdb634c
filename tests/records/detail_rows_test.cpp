// The detail grid's rows as the kit keeps them: the spare-row rules, which rows a save must
// write (only those whose stored cells changed since they were read), and the keys of removed
// rows, deleted by the save and forgotten once it is taken in.
#include "platform/widgets/FlexGrid.h"
#include "records/DetailGrid.h"
#include "support/CustomerDb.h"
#include "support/DetailRowsOf.h"
#include "support/Responder.h"
#include "support/Utf8.h"

#include <QApplication>
#include <functional>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;

namespace {

// Contact names and titles under a customer code; the item number (column 0) is shown, not stored.
DetailGridDef Def(int rules = 0)
{
    return {"G",
            "GTxt",
            "RV12A",
            "RV12A0",
            K("序號"),
            {{K("項次"), 500, 0, ""}, {K("姓名"), 1300, 16, "RV12A1"}, {K("稱謂"), 800, 10, K("稱謂")}},
            -1,
            rules};
}

DetailRowArray Rows(const QStringList& names)
{
    return testsupport::DetailRowsOf(Def().KeyColumn(), names);
}

}  // namespace

TEST(DetailRows, SpareRowRules)
{
    const int keep = DetailGridDef::kKeepBlankSecondRow;
    struct Case {
        const char* what;
        int rules;
        QStringList names;
        int gridRows, row, col;
        SpareRowCase expect;
        int count, gridRowsAfter;
    };
    const Case cases[] = {
        {"the only row gets a spare when its name is typed", 0, {"A"}, 3, 1, 1, SpareRowCase::A, 2, 4},
        {"the spare row below the rows comes into the count", 0, {"A", "B"}, 4, 3, 1, SpareRowCase::B, 3, 5},
        {"an empty grid gets its first row", 0, {}, 2, 1, 1, SpareRowCase::C, 1, 3},
        {"a blank last row is dropped when the editor goes elsewhere", 0, {"A", "B", ""}, 5, 2, 2, SpareRowCase::D, 2, 4},
        {"the editor on the blank last row keeps it", 0, {"A", ""}, 4, 2, 2, SpareRowCase::None, 2, 4},
        {"a blank second row is dropped", 0, {"A", ""}, 4, 3, 2, SpareRowCase::D, 1, 3},
        {"... from row 1 only the grid's rows shrink", 0, {"A", ""}, 4, 1, 2, SpareRowCase::D, 2, 3},
        {"a blank second row kept by the rule", keep, {"A", ""}, 4, 3, 2, SpareRowCase::None, 2, 4},
        {"the rule keeps only the second row", keep, {"A", "B", ""}, 5, 2, 2, SpareRowCase::D, 2, 4},
        {"a named last row stays", 0, {"A", "B"}, 4, 1, 2, SpareRowCase::None, 2, 4},
        {"nothing to drop without rows", 0, {}, 3, 2, 2, SpareRowCase::None, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DetailRowArray rows = Rows(c.names);
        int gridRows = c.gridRows;
        EXPECT_EQ(SpareRowStep(Def(c.rules), rows, gridRows, c.row, c.col), c.expect);
        EXPECT_EQ(rows.Count(), c.count);
        EXPECT_EQ(gridRows, c.gridRowsAfter);
        EXPECT_GE(rows.UpperRow(), rows.Count());  // every counted row has its entry
    }
}

namespace {

class DetailRowsGrid : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        for (const char* name : {"甲", "乙", "丙"})
            gConn.Execute(K("Insert Into RV12A (RV12A0, RV12A1, 稱謂) Values ('000001', ?, '')"), {K(name)});
        keys = rows(K("Select 序號 From RV12A Order By 序號"));
        window.resize(600, 300);
        grid = new DetailGrid(Def(), &window, &window);
        window.show();
        grid->Load("000001");
        grid->SetEditMode("change");
    }
    void typeCell(int row, int col, const QString& text)
    {
        grid->Grid()->setRow(row);
        grid->Grid()->setCol(col);
        grid->Place(row, col);
        grid->Editor()->setText(text);
    }
    void removeRow(int row)
    {
        ScriptedResponder user;
        user.answer(ui::Answer::Yes);
        grid->Grid()->setRow(row);
        grid->DeleteRow();
    }
    // The names of the rows a save under 000001 writes.
    QStringList changedNames() const
    {
        QStringList out;
        for (const QStringList& r : grid->ChangedRowSet("000001").rows)
            out << r.value(1);
        return out;
    }

    QWidget window;
    DetailGrid* grid = nullptr;
    QStringList keys;
};

}  // namespace

TEST_F(DetailRowsGrid, ASaveWritesOnlyRowsWhoseStoredCellsChanged)
{
    struct Case {
        const char* what;
        std::function<void()> change;
        QStringList written;
        int deleted;  // the number of removed keys
    };
    const Case cases[] = {
        {"nothing changed", [] {}, {}, 0},
        {"a stored cell", [&] { typeCell(2, 2, K("經理")); }, {K("乙")}, 0},
        {"a cell changed and changed back",
         [&] {
             typeCell(2, 1, K("乙乙"));
             typeCell(2, 1, K("乙"));
         },
         {}, 0},
        {"a new row", [&] { typeCell(4, 1, K("丁")); }, {K("丁")}, 0},
        {"a removed row: the rows below move up, renumbered but not changed", [&] { removeRow(1); }, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->Load("000001");
        grid->ClearDeletedRowKeys();
        c.change();
        EXPECT_EQ(changedNames(), c.written);
        EXPECT_EQ(grid->ChangedRowSet("000001").deletedKeys.size(), c.deleted);
        // Under another code every row is written again.
        EXPECT_EQ(grid->ChangedRowSet("000009").rows.size(), grid->RowCount());
    }
}

TEST_F(DetailRowsGrid, RemovedKeysAreDeletedByTheSaveAndThenForgotten)
{
    removeRow(2);
    typeCell(3, 1, K("丁"));
    ASSERT_EQ(grid->DeletedKeys().Count(), 1);
    EXPECT_EQ(QString::number(grid->DeletedKeys().Key(1)), keys[1]);

    const DetailRowSet changed = grid->ChangedRowSet("000001");
    QVector<qint64> inserted;
    const SaveOutcome out = SaveInTransaction(gConn, K("資料並未存檔。"), {}, DetailStatements(Def(), "000001", changed),
                                              [&] { inserted = InsertedKeys(gConn, Def(), "000001", 1); });
    ASSERT_TRUE(out.saved) << out.message.toStdString();
    EXPECT_EQ(rows(K("Select RV12A1 From RV12A Order By 序號")), (QStringList{K("甲"), K("丙"), K("丁")}));

    ASSERT_TRUE(grid->TakeSaved("000001", inserted));
    EXPECT_EQ(grid->DeletedKeys().Count(), 0);
    EXPECT_EQ(grid->RowData().Key(3), QString::number(inserted.value(0)));
    const DetailRowSet again = grid->ChangedRowSet("000001");
    EXPECT_TRUE(again.rows.isEmpty());
    EXPECT_TRUE(again.deletedKeys.isEmpty());
}
