// The grid model and the bound boxes follow the recordset, and typing goes into the field.
#include "platform/dbmodel/FieldBinding.h"
#include "platform/dbmodel/RecordsetModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace db;

namespace {

Recordset members()
{
    Recordset rs;
    rs.Append("會員編號", adVarWChar, 15);
    rs.Append("累積點數", adInteger);
    rs.Append("生日", adDate);
    rs.Open();
    const struct { const char* no; int points; } rows[] = {{"M001", 5}, {"M002", 0}};
    for (const auto& r : rows) {
        rs.AddNew();
        rs["會員編號"] = QString::fromUtf8(r.no);
        rs["累積點數"] = r.points;
        rs["生日"] = QDate(2000, 1, 2);
        rs.Update();
    }
    rs.MoveFirst();
    return rs;
}

TEST(RecordsetModel, FollowsTheCursorAndItsRows)
{
    Recordset rs = members();
    Recordset grid = rs.Clone();
    dbmodel::RecordsetModel model(grid);
    QSignalSpy moved(&model, &dbmodel::RecordsetModel::currentRowChanged);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "會員編號");
    model.setHeaderData(0, Qt::Horizontal, "編號");
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "編號");
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), "M002");
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), "2000/01/02");

    rs.AddNew();  // the original adds; the grid on the clone sees it after Update
    rs["會員編號"] = "M003";
    rs.Update();
    EXPECT_EQ(model.rowCount(), 3);
    model.moveTo(2);
    EXPECT_EQ(grid["會員編號"].toString(), "M003");
    EXPECT_EQ(moved.last().at(0).toInt(), 2);
}

// A delete drops just that row from every list on the rows (its own place in each, sorted or
// not): a view keeps its other rows, its current row and its scroll, with no full reset.
TEST(RecordsetModel, ADeleteRemovesJustThatRow)
{
    Recordset rs = members();
    rs.AddNew();
    rs["會員編號"] = "M000";
    rs["累積點數"] = 9;
    rs.Update();  // stored order M001 M002 M000
    Recordset grid = rs.Clone();
    Recordset byCode = rs.Clone();
    byCode.setSort("會員編號");  // M000 M001 M002
    dbmodel::RecordsetModel model(grid);
    dbmodel::RecordsetModel sorted(byCode);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy removedSorted(&sorted, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy resetSorted(&sorted, &QAbstractItemModel::modelReset);
    const QPersistentModelIndex last(model.index(2, 0));

    rs.MoveFirst();
    rs.MoveNext();
    ASSERT_EQ(rs["會員編號"].toString(), "M002");
    rs.Delete();

    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.at(0).at(1).toInt(), 1);
    EXPECT_EQ(removed.at(0).at(2).toInt(), 1);
    ASSERT_EQ(removedSorted.count(), 1);
    EXPECT_EQ(removedSorted.at(0).at(1).toInt(), 2);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(resetSorted.count(), 0);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), "M000");
    EXPECT_EQ(sorted.data(sorted.index(1, 0)).toString(), "M001");
    EXPECT_EQ(last.row(), 1);  // the row below moved up with its data

    // Deleting through the list's own cursor, and an added row cancelled, keep the count true.
    model.moveTo(0);
    grid.Delete();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(sorted.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "M000");
    grid.AddNew();
    EXPECT_EQ(model.rowCount(), 2);
    grid.CancelUpdate();
    EXPECT_EQ(model.rowCount(), 1);
}

TEST(FieldBinding, BoxesShowTheRowAndTypingEntersTheField)
{
    Recordset rs = members();
    dbmodel::FieldBinding binding(rs);
    QLineEdit no, points;
    QCheckBox flag;
    binding.bind(&no, "會員編號");
    binding.bind(&points, "累積點數");
    binding.bind(&flag, "累積點數");
    EXPECT_TRUE(flag.isChecked());
    flag.setChecked(false);
    EXPECT_EQ(rs["累積點數"].value(), QVariant(qint64(0)));
    flag.setChecked(true);
    EXPECT_EQ(rs["累積點數"].value(), QVariant(qint64(1)));
    rs.CancelUpdate();
    binding.unbind(&flag);
    EXPECT_EQ(no.text(), "M001");
    rs.MoveNext();
    EXPECT_EQ(no.text(), "M002");
    EXPECT_EQ(points.text(), "0");

    QComboBox kind;
    binding.bind(&kind, "會員編號");
    kind.addItems({"A", "B"});  // filling the list is no edit
    EXPECT_EQ(rs.EditMode(), adEditNone);
    binding.unbind(&kind);

    points.setText("12");
    EXPECT_EQ(rs.EditMode(), adEditInProgress);
    EXPECT_EQ(rs["累積點數"].value(), QVariant(qint64(12)));
    rs.CancelUpdate();
    EXPECT_EQ(points.text(), "0");

    QSignalSpy failed(&binding, &dbmodel::FieldBinding::writeFailed);
    points.setText("abc");
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.first().at(1).toInt(), 3421);

    rs["會員編號"] = "M009";  // code assigning a field shows in the box
    EXPECT_EQ(no.text(), "M009");
    rs.MoveFirst();  // a move saves the edit
    rs.Close();
    EXPECT_EQ(no.text(), "");
}

}  // namespace
