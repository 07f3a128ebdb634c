// The statement's order held by the layer: a plain-column ORDER BY sorted from the rows read
// gives exactly SQLite's order (Nulls, ties, letter case, numbers against texts), in clones and
// after Requery; an added row takes its sorted place in every cursor without a re-read.  Every
// case runs twice: with the rows read at once, and with the list read on demand (order keys
// first, the rest of each row when it is used), as large lists are.
#include "DbTestUtil.h"
#include "support/FileLocker.h"

#include <gtest/gtest.h>
#include <random>
#include <sqlite3.h>

using namespace db;

namespace {

struct Order : dbtest::DatabaseFile, ::testing::WithParamInterface<bool> {
    void SetUp() override
    {
        if (GetParam())
            conn.SetReadPolicy(ReadPolicy{1});
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

TEST_P(Order, PlainColumnOrderIsSqlitesOwnOrder)
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
TEST_P(Order, LargeSortsKeepSqlitesOrderOfTies)
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

TEST_P(Order, ParametersStillBindWhenTheLayerSorts)
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
TEST_P(Order, AddedRowTakesItsSortedPlaceInEveryCursor)
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

TEST_P(Order, RowsThePlaceCannotBeToldForStayWhereTheyAre)
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

TEST_P(Order, DistinctValuesOfTheRowsHeldAreSqlitesDistinct)
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

INSTANTIATE_TEST_SUITE_P(Rows, Order, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "OnDemand" : "AtOnce"; });

// Bookmarks (rowids) far apart, negative and next to each other all find their rows, in a
// list read at once and one read on demand.
TEST_P(Order, BookmarksFindTheirRowsWhereverTheRowidsLie)
{
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw,
                           "CREATE TABLE B (k INTEGER, t TEXT);"
                           "INSERT INTO B (rowid, k, t) VALUES (-9223372036854775807, 5, 'lowest'), (-3, 4, 'negative'),"
                           " (7, 3, 'seven'), (8, 2, 'eight'), (1099511627776, 1, 'far'), (9223372036854775807, 0, 'highest');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    conn.Close();
    conn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    Recordset rs = open(QStringLiteral("Select * From B Order by k"));
    std::vector<std::pair<Bookmark, QString>> marks;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        marks.emplace_back(rs.bookmark(), rs["t"].value().toString());
    ASSERT_EQ(marks.size(), 6u);
    EXPECT_EQ(marks.front().second, QStringLiteral("highest"));
    Recordset clone = rs.Clone();
    for (auto it = marks.rbegin(); it != marks.rend(); ++it) {
        clone.setBookmark(it->first);
        EXPECT_EQ(clone["t"].value().toString(), it->second);
    }
    rs.MoveLast();
    rs.AddNew();
    rs["k"] = qint64(-1);
    rs["t"] = QStringLiteral("added");
    rs.Update();
    const Bookmark added = rs.bookmark();
    ASSERT_TRUE(rs.PlaceRow());
    clone.setBookmark(added);
    EXPECT_EQ(clone["t"].value().toString(), QStringLiteral("added"));
    clone.setBookmark(marks[2].first);
    EXPECT_EQ(clone["t"].value().toString(), marks[2].second);
}

// A row added next to the largest rowid there can be takes that rowid, and its place like any
// other row's.
TEST_P(Order, ARowAddedWithTheLargestRowidIsFoundByItsBookmark)
{
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw, "CREATE TABLE K (t TEXT); INSERT INTO K (rowid, t) VALUES (9223372036854775806, 'below');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    conn.Close();
    conn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    Recordset rs = open(QStringLiteral("Select * From K Order by t"));
    rs.AddNew();
    rs["t"] = QStringLiteral("largest");
    rs.Update();
    const Bookmark added = rs.bookmark();
    rs.MoveFirst();
    EXPECT_EQ(rs["t"].value().toString(), QStringLiteral("below"));
    rs.setBookmark(added);
    EXPECT_EQ(rs["t"].value().toString(), QStringLiteral("largest"));
    rs.Requery();
    EXPECT_EQ(rowsOf(rs), (QStringList{QStringLiteral("below"), QStringLiteral("largest")}));
    Recordset top = conn.ExecuteQuery(QStringLiteral("Select t From K Where rowid = 9223372036854775807"));
    EXPECT_EQ(top.value(0).toString(), QStringLiteral("largest"));
}

// A list read on demand holds at first only each row's order keys: what another user saves
// before a row is read shows when it is read, a row they deleted shows Nulls and cannot be
// saved over, and writing a row read late is as safe as writing any other.
struct OnDemand : dbtest::DatabaseFile {
    db::Connection other;  // another computer on the same file
    void SetUp() override
    {
        conn.SetReadPolicy(ReadPolicy{1});
        CreateAndOpen(QStringLiteral("CREATE TABLE L (k Long, t Text(20), v Text(20));"));
        conn.BeginTrans();
        for (int i = 0; i < 1000; ++i)
            conn.Execute("INSERT INTO L (k, t, v) VALUES (?, ?, ?)",
                         {qint64(i), QStringLiteral("name %1").arg(999 - i, 3, 10, QChar('0')), QStringLiteral("v%1").arg(i)});
        conn.CommitTrans();
        other.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    }
    Recordset list()
    {
        Recordset rs;
        rs.Open(QStringLiteral("Select * From L Order by t"), conn, adOpenDynamic, adLockOptimistic);
        return rs;
    }
    // k of the row at a 1-based position
    static qint64 keyAt(Recordset& rs, long position)
    {
        rs.SetAbsolutePosition(position);
        return rs["k"].value().toLongLong();
    }
};

TEST_F(OnDemand, OthersSavesBeforeARowIsReadShowWhenItIs)
{
    Recordset rs = list();
    ASSERT_EQ(rs.RecordCount(), 1000);
    EXPECT_EQ(keyAt(rs, 1), 999);  // read now: another user's later change shows only after Resync
    other.Execute("UPDATE L SET v = 'changed' WHERE k IN (999, 100)");
    other.Execute("DELETE FROM L WHERE k = 50");
    EXPECT_EQ(rs["v"].value().toString(), QStringLiteral("v999"));

    rs.SetAbsolutePosition(900);  // k = 100, not read until now
    EXPECT_EQ(rs["k"].value().toLongLong(), 100);
    EXPECT_EQ(rs["v"].value().toString(), QStringLiteral("changed"));

    rs.SetAbsolutePosition(950);  // k = 50, deleted before it was read
    EXPECT_EQ(rs["t"].value().toString(), QStringLiteral("name 949"));  // its place in the list
    EXPECT_TRUE(rs["v"].value().isNull());
    rs["v"] = QStringLiteral("mine");
    EXPECT_EQ(dbtest::errorOf([&] { rs.Update(); }), 3197);
    rs.CancelUpdate();
    Recordset stored = conn.ExecuteQuery(QStringLiteral("Select Count(*) From L Where v = 'mine'"));
    EXPECT_EQ(stored.value(0).toLongLong(), 0);
}

TEST_F(OnDemand, RowsReadLateAreWrittenLikeAnyOther)
{
    Recordset rs = list();
    Recordset clone = rs.Clone();
    rs.SetAbsolutePosition(700);
    const qint64 k = rs["k"].value().toLongLong();
    rs["v"] = QStringLiteral("saved");
    rs.Update();
    clone.SetAbsolutePosition(700);
    EXPECT_EQ(clone["v"].value().toString(), QStringLiteral("saved"));
    Recordset stored = conn.ExecuteQuery(QStringLiteral("Select v From L Where k = ?"), {k});
    EXPECT_EQ(stored.value(0).toString(), QStringLiteral("saved"));

    // Another user's change to a row read late is not overwritten.
    clone.SetAbsolutePosition(300);
    other.Execute("UPDATE L SET v = 'theirs' WHERE k = ?", {clone["k"].value()});
    clone["v"] = QStringLiteral("mine");
    EXPECT_EQ(dbtest::errorOf([&] { clone.Update(); }), 3197);
    clone.CancelUpdate();

    rs.SetAbsolutePosition(400);
    const qint64 gone = rs["k"].value().toLongLong();
    rs.Delete();
    EXPECT_EQ(rs.RecordCount(), 999);
    Recordset left = conn.ExecuteQuery(QStringLiteral("Select Count(*) From L Where k = ?"), {gone});
    EXPECT_EQ(left.value(0).toLongLong(), 0);
}

TEST_F(OnDemand, FindFilterSortAndReadAheadSeeEveryRow)
{
    const auto texts = [](Recordset rs) {
        QStringList out;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            out << rs["k"].value().toString() + QLatin1Char('|') + rs["v"].value().toString();
        return out;
    };
    const QStringList all = texts(conn.ExecuteQuery(QStringLiteral("Select * From L Order by t")));

    Recordset found = list();
    found.Find(QStringLiteral("v = 'v3'"));
    ASSERT_FALSE(found.Eof());
    EXPECT_EQ(found["k"].value().toLongLong(), 3);

    Recordset filtered = list();
    filtered.setFilter(QStringLiteral("v like 'v99*'"));
    EXPECT_EQ(filtered.RecordCount(), 11);
    Recordset sorted = list();
    sorted.setSort(QStringLiteral("v DESC"));
    sorted.MoveFirst();
    EXPECT_EQ(sorted["v"].value().toString(), QStringLiteral("v999"));

    Recordset ahead = list();
    // Inside a transaction nothing is read ahead: a rollback may take back what the table holds.
    conn.BeginTrans();
    conn.Execute("UPDATE L SET v = 'taken back' WHERE k = 20");
    EXPECT_TRUE(ahead.ReadAhead(128));
    EXPECT_EQ(ahead.RowsToRead(), 1000);
    conn.RollbackTrans();
    other.Execute("DELETE FROM L WHERE k = 10");
    int blocks = 0;
    while (ahead.ReadAhead(128))
        ASSERT_LT(++blocks, 20);
    EXPECT_FALSE(ahead.ReadAhead(128));
    conn.Close();  // every row is held now
    const QStringList held = texts(ahead);
    QStringList expected = all;
    const int at = int(expected.indexOf(QStringLiteral("10|v10")));
    ASSERT_GE(at, 0);
    expected[at] = QStringLiteral("|");  // deleted before it was read: only its order key (t) is held
    EXPECT_EQ(held, expected);
}

// Fields read with the order keys serve DistinctValues without reading the file again; a row
// not read yet while another program holds the file is an error, never a row of Nulls.
TEST_F(OnDemand, FieldsReadWithTheKeysNeedNoFurtherRead)
{
    Recordset rs;
    rs.ReadWithKeys({QStringLiteral("V")});
    rs.Open(QStringLiteral("Select * From L Order by t"), conn, adOpenDynamic, adLockOptimistic);
    EXPECT_EQ(keyAt(rs, 1), 999);
    testsupport::FileLocker lock(path, testsupport::FileLocker::kWholeFile);
    const QVariantList values = rs.DistinctValues(rs.FieldIndex(QStringLiteral("v")));
    ASSERT_EQ(values.size(), 1000);
    EXPECT_EQ(values.front().toString(), QStringLiteral("v0"));
    EXPECT_EQ(dbtest::errorOf([&] { rs.DistinctValues(rs.FieldIndex(QStringLiteral("k"))); }), 3260);
    EXPECT_EQ(dbtest::errorOf([&] { keyAt(rs, 600); }), 3260);
    lock.Release();
    EXPECT_EQ(keyAt(rs, 600), 400);
}

}  // namespace
