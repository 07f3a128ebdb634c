// The statement's order held by the layer: a plain-column ORDER BY sorted from the rows read
// gives exactly SQLite's order (Nulls, ties, letter case, numbers against texts), in clones and
// after Requery; an added row takes its sorted place in every cursor without a re-read.
#include "DbTestUtil.h"

#include <gtest/gtest.h>
#include <random>
#include <sqlite3.h>

using namespace db;

namespace {

struct Order : dbtest::DatabaseFile {
    void SetUp() override
    {
        CreateAndOpen(QStringLiteral("CREATE TABLE U (k Long, t Text(10));"
                                     "CREATE INDEX UIDX ON U (t);"));
        // A table made outside the program: a column of no type holds numbers, texts and
        // blobs side by side, and m compares texts by their bytes.
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(raw, "CREATE TABLE T (k INTEGER, t TEXT COLLATE NOCASE, n, m TEXT)", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(raw);
        // Rows in an order of their own: many ties, case variants, Nulls, numbers stored as
        // texts and texts in a number column, a text with a NUL byte.
        const QStringList texts = {"a", "A", "b", "B", "ab", "aB", "", "中", "中a", "Z", "z", "a b", "é", "E", "e"};
        const QVariantList numbers = {QVariant(), qint64(1), 1.0, 2.5, qint64(-3), "x", "X", "10", "", 1e300,
                                      qint64(9007199254740993), 9007199254740992.0, QByteArray("b\x01"), QByteArray("a")};
        std::mt19937 rng(7);
        conn.BeginTrans();
        for (int i = 0; i < 600; ++i) {
            const int a = int(rng() % (texts.size() + 1)), b = int(rng() % numbers.size());
            const QVariant t = a == texts.size() ? QVariant() : QVariant(texts[a]);
            conn.Execute("INSERT INTO T (k, t, n, m) VALUES (?, ?, ?, ?)", {qint64(rng() % 1000), t, numbers[b], t});
            conn.Execute("INSERT INTO U (k, t) VALUES (?, ?)", {qint64(i), t});
        }
        conn.Execute("INSERT INTO T (k, t, n, m) VALUES (1, ?, 1, ?)",
                     {QString::fromUtf8("a\0b", 3), QString::fromUtf8("a\0c", 3)});
        conn.Execute("DELETE FROM T WHERE k % 7 = 0");  // gaps in the rowids
        conn.CommitTrans();
    }

    // Every row as text, in the cursor's order.
    static QStringList rowsOf(Recordset rs)
    {
        QStringList out;
        if (rs.RecordCount() == 0)
            return out;
        rs.MoveFirst();
        while (!rs.Eof()) {
            QStringList cells;
            for (int k = 0; k < rs.FieldCount(); ++k) {
                const QVariant v = rs.value(k);
                cells << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            }
            out << cells.join(QChar('|'));
            rs.MoveNext();
        }
        return out;
    }
    Recordset open(const QString& sql)
    {
        Recordset rs;
        rs.Open(sql, conn, adOpenDynamic, adLockOptimistic);
        return rs;
    }
};

TEST_F(Order, PlainColumnOrderIsSqlitesOwnOrder)
{
    const char* statements[] = {
        "Select T.* From T Order by t",
        "Select * From T Order by t DESC",
        "Select * From T Order by n",
        "Select * From T Order by n Desc, t",
        "Select * From T Order by [T].[m], k DESC",
        "Select T.* From T Where n > 0 Order by t ASC, k",
        "Select k, t From T Where (t = 'a') Order by k;",
        "Select * From U Order by t",         // an index gives the order: SQLite's own way
        "Select * From T Order by Len(t), k",  // an expression: SQLite's own way
    };
    for (const char* sql : statements) {
        SCOPED_TRACE(sql);
        // A forward-only read is always sorted by SQLite itself.
        const QStringList sqlite = rowsOf(conn.ExecuteQuery(QString::fromUtf8(sql)));
        Recordset rs = open(QString::fromUtf8(sql));
        ASSERT_GT(sqlite.size(), 1);
        EXPECT_EQ(rowsOf(rs), sqlite);
        EXPECT_EQ(rowsOf(rs.Clone()), sqlite);
        rs.Requery();
        EXPECT_EQ(rowsOf(rs), sqlite);
    }
}

// Rows too many for SQLite to sort in memory (it merges runs written to disk): the ties still
// come out in the same order.
TEST_F(Order, LargeSortsKeepSqlitesOrderOfTies)
{
    conn.BeginTrans();
    const QString wide(1500, QChar('w'));
    for (int i = 0; i < 20000; ++i)
        conn.Execute("INSERT INTO T (k, t, m) VALUES (?, ?, ?)",
                     {qint64(i % 3), QStringLiteral("abcde").mid((i * 7) % 5, 1), wide + QString::number(i % 11)});
    conn.CommitTrans();
    auto marks = [](Recordset rs) {
        std::vector<Bookmark> out;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            out.push_back(rs.bookmark());
        return out;
    };
    for (const char* sql : {"Select * From T Order by t", "Select * From T Order by k DESC, t"}) {
        SCOPED_TRACE(sql);
        const std::vector<Bookmark> sqlite = marks(conn.ExecuteQuery(QString::fromUtf8(sql)));
        ASSERT_GT(sqlite.size(), 20000u);
        EXPECT_EQ(marks(open(QString::fromUtf8(sql))), sqlite);
    }
}

TEST_F(Order, ParametersStillBindWhenTheLayerSorts)
{
    const QString sql = QStringLiteral("Select * From T Where t = ? Or n = ? Order by t, n");
    const QStringList sqlite = rowsOf(conn.ExecuteQuery(sql, {QStringLiteral("b"), 2.5}));
    Recordset rs;
    rs.Open(sql, conn, adOpenDynamic, adLockOptimistic, {QStringLiteral("b"), 2.5});
    ASSERT_GT(sqlite.size(), 1);
    EXPECT_EQ(rowsOf(rs), sqlite);
}

// An added row, once placed, stands where a fresh read of the statement shows it: in the
// cursor that added it, in its clones (each with its own Sort and current row) and in clones
// made afterwards.
TEST_F(Order, AddedRowTakesItsSortedPlaceInEveryCursor)
{
    Recordset rs = open(QStringLiteral("Select * From T Order by t, n DESC"));
    Recordset list = rs.Clone();
    Recordset byKey = rs.Clone();
    byKey.setSort(QStringLiteral("k DESC"));
    list.SetAbsolutePosition(300);
    const Bookmark listMark = list.bookmark();
    byKey.SetAbsolutePosition(10);
    const Bookmark keyMark = byKey.bookmark();

    struct Added {
        qint64 k;
        QVariant t, n;
    };
    const Added added[] = {{5000, QStringLiteral("aB"), 2.5}, {5001, QStringLiteral("A"), QVariant()},
                           {5002, QVariant(), qint64(7)}, {-1, QStringLiteral("zz"), 1e300}};
    for (const Added& a : added) {
        rs.AddNew();
        rs["k"] = a.k;
        rs["t"] = a.t;
        rs["n"] = a.n;
        rs.Update();
        const Bookmark mark = rs.bookmark();
        ASSERT_TRUE(rs.PlaceRow());
        EXPECT_EQ(rs.bookmark(), mark);  // still on the added row
        EXPECT_EQ(rs["k"].value().toLongLong(), a.k);
    }
    // The clones stay on their rows.
    EXPECT_EQ(list.bookmark(), listMark);
    EXPECT_EQ(byKey.bookmark(), keyMark);
    const QStringList fresh = rowsOf(open(QStringLiteral("Select * From T Order by t, n DESC")));
    EXPECT_EQ(rowsOf(rs), fresh);
    EXPECT_EQ(rowsOf(list), fresh);
    EXPECT_EQ(rowsOf(rs.Clone()), fresh);
    Recordset resorted = open(QStringLiteral("Select * From T Order by t, n DESC"));
    resorted.setSort(QStringLiteral("k DESC"));
    EXPECT_EQ(rowsOf(byKey), rowsOf(resorted));
    rs.Requery();
    EXPECT_EQ(rowsOf(rs), fresh);
}

TEST_F(Order, RowsThePlaceCannotBeToldForStayWhereTheyAre)
{
    // The statement's condition leaves the added row out: a Requery would drop it.
    Recordset rs;
    rs.Open(QStringLiteral("Select * From T Where t <> ? Order by t"), conn, adOpenDynamic, adLockOptimistic,
            {QStringLiteral("zz")});
    const long count = rs.RecordCount();
    rs.AddNew();
    rs["t"] = QStringLiteral("zz");
    rs.Update();
    EXPECT_FALSE(rs.PlaceRow());
    EXPECT_EQ(rs.AbsolutePosition(), count + 1);
    rs.AddNew();
    rs["t"] = QStringLiteral("a");
    rs.Update();
    EXPECT_TRUE(rs.PlaceRow());
    EXPECT_LT(rs.AbsolutePosition(), count);

    // An order by an expression: the layer cannot tell the place.
    Recordset byLength = open(QStringLiteral("Select * From T Order by Len(t)"));
    byLength.AddNew();
    byLength["t"] = QStringLiteral("b");
    byLength.Update();
    EXPECT_FALSE(byLength.PlaceRow());
    EXPECT_EQ(byLength.AbsolutePosition(), byLength.RecordCount());

    // A row still being edited is not placed; without a current row there is nothing to place.
    byLength.AddNew();
    EXPECT_FALSE(byLength.PlaceRow());
    byLength.CancelUpdate();
    byLength.MoveLast();
    byLength.MoveNext();
    EXPECT_EQ(dbtest::errorOf([&] { byLength.PlaceRow(); }), 3021);

    // No ORDER BY: the table's own order, the new row last.
    Recordset plain = open(QStringLiteral("Select * From T"));
    plain.AddNew();
    plain["t"] = QStringLiteral("a");
    plain.Update();
    EXPECT_TRUE(plain.PlaceRow());
    EXPECT_EQ(plain.AbsolutePosition(), plain.RecordCount());
}

TEST_F(Order, DistinctValuesOfTheRowsHeldAreSqlitesDistinct)
{
    for (const char* column : {"t", "n", "k"}) {
        SCOPED_TRACE(column);
        const QString c = QString::fromUtf8(column);
        const QStringList sqlite =
            rowsOf(conn.ExecuteQuery(QStringLiteral("Select Distinct %1 From T Order By %1").arg(c)));
        Recordset rs = open(QStringLiteral("Select * From T Order by k"));
        QStringList held;
        for (const QVariant& v : rs.DistinctValues(rs.FieldIndex(c)))
            held << (v.isNull() ? QStringLiteral("<null>") : v.toString());
        EXPECT_EQ(held, sqlite);
    }
}

}  // namespace
