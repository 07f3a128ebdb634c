// The recordset probes: each answers "no" for the one failure it names and lets every other
// error through; the two quiet calls drop errors on purpose.
#include "DbTestUtil.h"
#include "platform/db/Probes.h"

#include <gtest/gtest.h>

using namespace db;

namespace {

using dbtest::errorOf;

struct Probes : dbtest::DatabaseFile {
    void SetUp() override
    {
        CreateAndOpen(QStringLiteral("CREATE TABLE RV12 (RV120 Text(14), RV121 Text(10));"
                                     "CREATE UNIQUE INDEX RV12IDX ON RV12 (RV120);"
                                     "CREATE TABLE Empty (a Text(5));"));
        for (const char* code : {"000001", "000002", "000003"})
            conn.Execute("INSERT INTO RV12 (RV120, RV121) VALUES (?, ?)", {QString::fromUtf8(code), QStringLiteral("名")});
    }
    Recordset open(const char* sql = "Select * From RV12 Order by RV120")
    {
        Recordset rs;
        rs.Open(QString::fromUtf8(sql), conn, adOpenDynamic, adLockOptimistic);
        return rs;
    }
};

TEST_F(Probes, NoCurrentRowIsAnAnswerNotAnError)
{
    struct Case {
        const char* name;
        std::function<Recordset()> make;
    };
    const std::vector<Case> cases = {
        {"closed", [] { return Recordset(); }},
        {"empty", [&] { return open("Select * From Empty"); }},
        {"before the first", [&] { Recordset rs = open(); rs.MovePrevious(); return rs; }},
        {"past the last", [&] { Recordset rs = open(); rs.MoveLast(); rs.MoveNext(); return rs; }},
        {"on a row just deleted", [&] { Recordset rs = open(); rs.Delete(); return rs; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recordset rs = c.make();
        Recordset list = rs.IsOpen() ? open() : Recordset();
        EXPECT_FALSE(HasCurrentRow(rs));
        EXPECT_EQ(TryBookmark(rs), std::nullopt);
        EXPECT_TRUE(ValueOrNull(rs, QStringLiteral("RV120")).isNull());
        EXPECT_FALSE(TryGoToRowOf(list, rs));
    }
}

TEST_F(Probes, OnARowTheyAnswerForIt)
{
    Recordset rs = open();
    rs.MoveNext();
    EXPECT_TRUE(HasCurrentRow(rs));
    EXPECT_EQ(TryBookmark(rs), std::optional<Bookmark>(rs.bookmark()));
    EXPECT_EQ(ValueOrNull(rs, QStringLiteral("rv120")).toString(), "000002");
    EXPECT_TRUE(ValueOrNull(rs, QStringLiteral("NoSuchField")).isNull());

    Recordset list = rs.Clone();
    EXPECT_TRUE(TryGoToRowOf(list, rs));
    EXPECT_EQ(list.bookmark(), rs.bookmark());

    // A row being added counts as the current row.
    rs.AddNew();
    EXPECT_TRUE(HasCurrentRow(rs));
    EXPECT_TRUE(TryBookmark(rs).has_value());
    rs.CancelUpdate();
}

TEST_F(Probes, GoingToARowTheRecordsetNoLongerHoldsLeavesTheCursorWhereItWas)
{
    Recordset rs = open();
    const Bookmark first = rs.bookmark();
    rs.MoveNext();
    const Bookmark second = rs.bookmark();
    rs.Delete();
    rs.MoveFirst();
    EXPECT_FALSE(TryGoTo(rs, second));
    EXPECT_EQ(rs.bookmark(), first);
    EXPECT_FALSE(TryGoTo(rs, 0));
    rs.MoveLast();
    EXPECT_TRUE(TryGoTo(rs, first));
    EXPECT_EQ(rs["RV120"].toString(), "000001");

    // A clone whose filter leaves the row out does not move to it.
    Recordset list = rs.Clone();
    list.setFilter(QStringLiteral("RV120 = '000003'"));
    EXPECT_FALSE(TryGoToRowOf(list, rs));
    EXPECT_EQ(list["RV120"].toString(), "000003");

    Recordset closed;
    EXPECT_FALSE(TryGoTo(closed, first));
}

TEST_F(Probes, MovingLastWhereThereIsNoRowIsFalse)
{
    Recordset empty = open("Select * From Empty");
    EXPECT_FALSE(TryMoveLast(empty));
    Recordset closed;
    EXPECT_FALSE(TryMoveLast(closed));
    Recordset rs = open();
    EXPECT_TRUE(TryMoveLast(rs));
    EXPECT_EQ(rs["RV120"].toString(), "000003");
}

TEST_F(Probes, AFailingWriteOfAPendingEditIsNotSwallowed)
{
    // Every move writes a pending edit first: a duplicate key there is the caller's error to
    // see, not a row that is "not there".
    for (const auto& [name, move] : std::vector<std::pair<const char*, std::function<void(Recordset&, Bookmark)>>>{
             {"TryGoTo", [](Recordset& rs, Bookmark mark) { TryGoTo(rs, mark); }},
             {"TryMoveLast", [](Recordset& rs, Bookmark) { TryMoveLast(rs); }},
         }) {
        SCOPED_TRACE(name);
        Recordset rs = open();
        const Bookmark first = rs.bookmark();
        rs.AddNew();
        rs["RV120"] = QStringLiteral("000001");
        EXPECT_EQ(errorOf([&] { move(rs, first); }), 3022);
        rs.CancelUpdate();
    }
}

TEST_F(Probes, AQuietRequeryAnswersFalseWhereTheReadingFails)
{
    Recordset rs = open();
    EXPECT_TRUE(RequeryQuietly(rs));
    EXPECT_EQ(rs.RecordCount(), 3);
    conn.Execute(QStringLiteral("DROP TABLE RV12"));
    EXPECT_NE(errorOf([&] { open(); }), 0);  // the reading fails, as a plain Requery would
    EXPECT_FALSE(RequeryQuietly(rs));
    Recordset closed;
    EXPECT_FALSE(RequeryQuietly(closed));
}

// A field read through Nz: Null is "", a value stays as it is, and a field with no current row
// reads as "" instead of failing.
TEST_F(Probes, NzReadsAFieldWithoutFailing)
{
    conn.Execute("CREATE TABLE T (A Text(10), B Long)");
    conn.Execute("INSERT INTO T (A, B) VALUES (NULL, 7)");
    Recordset rs = open("SELECT * FROM T");
    EXPECT_EQ(NzValue(rs[QStringLiteral("A")]), QVariant(QString()));
    EXPECT_EQ(NzValue(rs[QStringLiteral("B")]).toInt(), 7);
    EXPECT_EQ(Nz(rs[QStringLiteral("B")]), QStringLiteral("7"));
    rs.MoveNext();
    ASSERT_TRUE(rs.Eof());
    EXPECT_EQ(NzValue(rs[QStringLiteral("B")]), QVariant(QString()));
    EXPECT_EQ(Nz(rs[QStringLiteral("B")]), QString());
}

}  // namespace
