// The record list after the window's actions, without re-reading the table: an added record
// takes its sorted place in the main recordset and the list; a cancelled change shows the
// record as stored; the category list comes from the rows the list already holds.
#include "core/Globals.h"
#include "core/numbering/ListFillers.h"
#include "platform/db/Db.h"
#include "platform/dbmodel/RecordsetModel.h"
#include "records/RecordList.h"
#include "support/CustomerDb.h"
#include "support/Utf8.h"

#include <QComboBox>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

class ListTest : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        const char* rows[][3] = {{"000001", "大同", "製造"}, {"000002", "Acer", "經銷"}, {"000003", "華碩", "製造"},
                                 {"000004", "O'Neil", ""},  {"000005", "acer", "經銷"}, {"000006", "Zed", nullptr}};
        for (auto& r : rows)
            gConn.Execute(QStringLiteral("INSERT INTO RV12 (RV120, RV121, 類別) VALUES (?, ?, ?)"),
                          {K(r[0]), K(r[1]), r[2] ? QVariant(K(r[2])) : QVariant()});
        list.Attach(&view, {{QStringLiteral("RV120"), 1000, K("客戶代號")}, {QStringLiteral("RV121"), 1200, K("客戶")}});
        list.RowChanged = [this] { ++rowChanges; };
    }

    // The short names in the list's order, as its model shows them.
    QStringList listed() const
    {
        QStringList out;
        const int col = list.ListRs.FieldIndex(QStringLiteral("RV121"));
        for (int r = 0; r < list.Model()->rowCount(); ++r)
            out << list.Model()->index(r, col).data().toString();
        return out;
    }
    QString current(const db::Recordset& rs) const { return rs.value(QStringLiteral("RV121")).toString(); }
    // As a window's save writes it: the list's moves held back meanwhile.
    void add(const QString& code, const QString& name)
    {
        RecordList::Hold hold(list);
        list.Rs.AddNew();
        list.Rs.setValue(QStringLiteral("RV120"), code);
        list.Rs.setValue(QStringLiteral("RV121"), name);
        list.Rs.Update();
    }

    QTableView view;
    RecordList list;
    int rowChanges = 0;
};

TEST_F(ListTest, AnAddedRecordTakesItsSortedPlaceInTheListWithoutARead)
{
    list.Open(QStringLiteral("Select RV12.* From RV12 Order by RV121"));
    EXPECT_EQ(listed(), (QStringList{"Acer", "acer", "O'Neil", "Zed", K("大同"), K("華碩")}));
    list.ListRs.SetAbsolutePosition(3);
    // Another user adds a customer meanwhile: only a read of the table would show it.
    gConn.Execute(QStringLiteral("INSERT INTO RV12 (RV120, RV121) VALUES ('000099', 'Bee')"));

    const int changesBefore = rowChanges;
    add(QStringLiteral("000007"), QStringLiteral("Mio"));
    ASSERT_TRUE(list.ShowAdded());
    EXPECT_EQ(listed(), (QStringList{"Acer", "acer", "Mio", "O'Neil", "Zed", K("大同"), K("華碩")}));
    EXPECT_EQ(current(list.Rs), "Mio");
    EXPECT_EQ(current(list.ListRs), "Mio");
    EXPECT_EQ(list.ListRs.AbsolutePosition(), 3);
    EXPECT_EQ(view.currentIndex().row(), 2);
    EXPECT_EQ(rowChanges, changesBefore);  // the window shows the saved record itself

    // A tie with a listed name goes after it, as a fresh read of the table orders it.
    add(QStringLiteral("000008"), QStringLiteral("ACER"));
    ASSERT_TRUE(list.ShowAdded());
    EXPECT_EQ(listed(), (QStringList{"Acer", "acer", "ACER", "Mio", "O'Neil", "Zed", K("大同"), K("華碩")}));
    // A clone made now (the list relinked) keeps the order.
    list.Relink();
    EXPECT_EQ(listed(), (QStringList{"Acer", "acer", "ACER", "Mio", "O'Neil", "Zed", K("大同"), K("華碩")}));
}

TEST_F(ListTest, AnAddedRecordOutsideTheListsConditionIsLeftToTheWindow)
{
    list.Open(QStringLiteral("Select RV12.* From RV12 Where (類別 = ?) Order by RV121"), {K("製造")});
    list.ListRs.MoveLast();
    add(QStringLiteral("000007"), QStringLiteral("Mio"));  // no category: the statement leaves it out
    EXPECT_FALSE(list.ShowAdded());
    EXPECT_EQ(current(list.Rs), "Mio");
    EXPECT_EQ(current(list.ListRs), K("華碩"));
}

TEST_F(ListTest, ACancelledChangeShowsTheRecordAsStoredWithoutReadingTheTable)
{
    list.Open(QStringLiteral("Select RV12.* From RV12 Order by RV120"));
    list.ListRs.SetAbsolutePosition(2);
    ASSERT_EQ(current(list.Rs), "Acer");
    list.Rs.setValue(QStringLiteral("RV121"), QStringLiteral("typed"));
    list.Rs.setValue(QStringLiteral("類別"), QStringLiteral("typed"));
    // Meanwhile another user changes this customer and adds another.
    gConn.Execute(QStringLiteral("UPDATE RV12 SET 類別 = 'OEM' WHERE RV120 = '000002'"));
    gConn.Execute(QStringLiteral("INSERT INTO RV12 (RV120, RV121) VALUES ('000099', 'Bee')"));

    list.CancelChange();
    EXPECT_EQ(list.Rs.EditMode(), db::adEditNone);
    EXPECT_EQ(current(list.Rs), "Acer");
    EXPECT_EQ(list.Rs.value(QStringLiteral("類別")).toString(), "OEM");
    EXPECT_EQ(list.Rs.RecordCount(), 6);  // the table was not read again
    EXPECT_EQ(current(list.ListRs), "Acer");

    // A customer deleted elsewhere meanwhile leaves the list.
    list.Rs.setValue(QStringLiteral("RV121"), QStringLiteral("typed"));
    gConn.Execute(QStringLiteral("DELETE FROM RV12 WHERE RV120 = '000002'"));
    list.CancelChange();
    EXPECT_EQ(list.Rs.RecordCount(), 5);
    EXPECT_EQ(list.Model()->rowCount(), 5);
}

TEST_F(ListTest, CategoriesFromTheRowsHeldAreTheTablesDistinctCategories)
{
    list.Open(QStringLiteral("Select RV12.* From RV12 Order by RV121"));
    QComboBox fromRows, fromTable;
    FillDistinctFromRows(&fromRows, list.Rs, QStringLiteral("類別"));
    FillDistinctCombo(&fromTable, QStringLiteral("類別"), QStringLiteral("RV12"), gConn);
    QStringList a, b;
    for (int i = 0; i < fromRows.count(); ++i)
        a << fromRows.itemText(i);
    for (int i = 0; i < fromTable.count(); ++i)
        b << fromTable.itemText(i);
    EXPECT_EQ(a, (QStringList{K("經銷"), K("製造")}));
    EXPECT_EQ(a, b);
    // The box stands on the first category, and refilling it either way (the window refills it
    // from the table when a category is to be picked) replaces the list, never adds to it.
    EXPECT_EQ(fromRows.currentIndex(), 0);
    EXPECT_EQ(fromRows.currentText(), K("經銷"));
    const auto texts = [](const QComboBox& box) {
        QStringList out;
        for (int i = 0; i < box.count(); ++i)
            out << box.itemText(i);
        return out;
    };
    FillDistinctCombo(&fromRows, QStringLiteral("類別"), QStringLiteral("RV12"), gConn);
    EXPECT_EQ(texts(fromRows), b);
    FillDistinctFromRows(&fromRows, list.Rs, QStringLiteral("類別"));
    EXPECT_EQ(texts(fromRows), b);
    EXPECT_EQ(fromRows.currentText(), K("經銷"));
}

}  // namespace

// Type-ahead: a code beginning with the text wins over a name beginning with it, letter case
// ignored either way; when neither, the recordset stays where it was.
TEST_F(ListTest, TypeAheadFindsByCodeThenByNameElseLeavesTheRowAlone)
{
    gConn.Execute(QStringLiteral("INSERT INTO RV12 (RV120, RV121) VALUES (?, ?)"), {K("ZED-1"), K("後加")});
    list.Open(QStringLiteral("Select RV12.* From RV12 Order by RV120"));
    const struct {
        const char* text;
        bool found;
        const char* name;  // the row's name afterwards
    } cases[] = {
        {"00000", true, "大同"}, {"000003", true, "華碩"}, {"zed", true, "後加"},  // the code, before the name Zed
        {"ACE", true, "Acer"},   {"華", true, "華碩"},    {"xyz", false, "華碩"},   // not found: stays on the last row found
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindCodeOrName(list.Rs, QStringLiteral("RV120"), QStringLiteral("RV121"), K(c.text)), c.found) << c.text;
        EXPECT_EQ(current(list.Rs), K(c.name)) << c.text;
    }
}

// A long list reads its rows on demand; typing into its quick-find box must still find the first
// row in the list's order, within its condition, letter case ignored, and without reading every
// row of the table.  The same finds on the list read whole are the measure.
TEST_F(ListTest, TypeAheadOnAListReadOnDemandFindsWhatAWholeReadFinds)
{
    gConn.BeginTrans();
    for (int i = 0; i < 3000; ++i)
        gConn.Execute(QStringLiteral("INSERT INTO RV12 (RV120, RV121, 類別) VALUES (?, ?, ?)"),
                      {QStringLiteral("C%1").arg(i, 5, 10, QChar('0')), QStringLiteral("n%1").arg(2999 - i, 4, 10, QChar('0')),
                       i % 3 ? K("經銷") : K("製造")});
    gConn.CommitTrans();
    const auto finds = [&](const QString& sql, const QString& sort = {}) {
        QStringList out;
        db::Recordset rs;
        rs.Open(sql, gConn, db::adOpenKeyset);
        if (!sort.isEmpty())
            rs.setSort(sort);
        for (const char* text : {"c", "C0", "c0123", "C02999", "c0299", "N", "n12", "ACE", "acer", "華", "O'", "%", "_", "C9", "xyz"}) {
            const long p = FindPrefix(rs, QStringLiteral("RV120"), K(text));
            const long q = p < 0 ? FindPrefix(rs, QStringLiteral("RV121"), K(text)) : p;
            out << QStringLiteral("%1:%2").arg(K(text)).arg(q < 0 ? QStringLiteral("-") : rs.valueAt(q, rs.FieldIndex(QStringLiteral("RV121"))).toString());
        }
        return out;
    };
    // C01230..C01239 are named n1769..n1760; C01239 is 製造, not 經銷.
    const std::pair<QString, QString> lists[] = {{QStringLiteral("Select RV12.* From RV12 Order by RV121"), K("c0123:n1760")},
                                                 {K("Select RV12.* From RV12 Where 類別 = '經銷' Order by RV121"), K("c0123:n1761")}};
    for (const auto& [sql, first] : lists) {
        gConn.SetReadPolicy(db::ReadPolicy{1'000'000});
        const QStringList whole = finds(sql);
        gConn.SetReadPolicy(db::ReadPolicy{1});
        const QStringList onDemand = finds(sql);
        gConn.SetReadPolicy(db::ReadPolicy{});
        EXPECT_EQ(onDemand, whole) << sql.toStdString();
        EXPECT_TRUE(whole.contains(first)) << whole.join(' ').toStdString();
    }
    {
        // A Sort of the cursor's own orders the rows the find goes through.
        const QString sql = QStringLiteral("Select RV12.* From RV12 Order by RV121");
        gConn.SetReadPolicy(db::ReadPolicy{1'000'000});
        const QStringList whole = finds(sql, QStringLiteral("RV120 DESC"));
        gConn.SetReadPolicy(db::ReadPolicy{1});
        const QStringList onDemand = finds(sql, QStringLiteral("RV120 DESC"));
        gConn.SetReadPolicy(db::ReadPolicy{});
        EXPECT_EQ(onDemand, whole);
        EXPECT_TRUE(whole.contains(K("c0123:n1760"))) << whole.join(' ').toStdString();
    }
    gConn.SetReadPolicy(db::ReadPolicy{1});
    db::Recordset rs;
    rs.Open(QStringLiteral("Select RV12.* From RV12 Order by RV121"), gConn, db::adOpenKeyset);
    gConn.SetReadPolicy(db::ReadPolicy{});
    const long before = rs.RowsToRead();
    ASSERT_GT(before, 2900);
    EXPECT_GE(FindPrefix(rs, QStringLiteral("RV120"), QStringLiteral("c01234")), 0);
    EXPECT_GT(rs.RowsToRead(), before / 2);  // the found row and a block around it, not the table
}
