// The row store on its own: no window, no application object, no connection of ours - rows come
// straight from SQLite statements on an in-memory database.  The comparisons are held against
// SQLite's own ORDER BY and "=", which the lists' sorted places and index finds rely on.
#include "platform/db/RowStore.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

using namespace db::detail;

namespace {

struct Sqlite {
    sqlite3* db = nullptr;
    Sqlite() { EXPECT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK); }
    ~Sqlite() { sqlite3_close(db); }
    void exec(const std::string& sql)
    {
        char* err = nullptr;
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
    }
    sqlite3_stmt* prepare(const std::string& sql)
    {
        sqlite3_stmt* s = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        return s;
    }
    // The rows of a query, each an image in the store; the first column becomes the bookmark.
    void fill(RowStore& store, const std::string& sql)
    {
        sqlite3_stmt* s = prepare(sql);
        while (sqlite3_step(s) == SQLITE_ROW) {
            Row r = store.imageOf(s, 1);
            r.bookmark = sqlite3_column_int64(s, 0);
            store.rows.push_back(r);
        }
        sqlite3_finalize(s);
        store.indexValid = false;
    }
    long long scalar(const std::string& sql)
    {
        sqlite3_stmt* s = prepare(sql);
        EXPECT_EQ(sqlite3_step(s), SQLITE_ROW) << sql;
        const long long v = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
        return v;
    }
};

int sign(int x) { return (x > 0) - (x < 0); }

// Values of every storage class, with the cases that trip a hand-written comparison: case-only
// differences, a text and its longer start, texts alike in their first eight bytes, integers
// beyond a double's exact range against reals, negative zero, Chinese text, an empty text and
// an empty blob.
const char* kValues =
    "INSERT INTO t(v) VALUES (NULL), (0), (-0.0), (1), (1.0), (1.5), (-3), (9007199254740993), (9007199254740992.0),"
    " (-9223372036854775808), (9223372036854775807), (1e300), ('a'), ('A'), ('ab'), ('aB'), ('abcdefgh'),"
    " ('ABCDEFGH'), ('abcdefghi'), ('abcdefgH'), ('abcdefgz'), ('b'), ('Z'), ('_'), (''), ('客戶'), ('客戶甲'),"
    " ('客'), ('001'), ('1'), (X''), (X'00'), (X'41'), (X'4142'), ('abc' || char(0) || 'x'), ('abc')";

TEST(RowStore, ComparisonsAgreeWithSqliteForEveryPairOfValues)
{
    Sqlite q;
    q.exec("CREATE TABLE t(id INTEGER PRIMARY KEY, v)");
    q.exec(kValues);
    RowStore store;
    q.fill(store, "SELECT id, v FROM t ORDER BY id");
    ASSERT_GT(store.rows.size(), 30u);

    for (const bool nocase : {false, true}) {
        const std::string coll = nocase ? "NOCASE" : "BINARY";
        sqlite3_stmt* s = q.prepare("SELECT CASE WHEN x.v IS NULL AND y.v IS NULL THEN 0 WHEN x.v IS NULL THEN -1"
                                    " WHEN y.v IS NULL THEN 1 WHEN x.v < y.v COLLATE " + coll + " THEN -1"
                                    " WHEN x.v = y.v COLLATE " + coll + " THEN 0 ELSE 1 END"
                                    " FROM t x, t y WHERE x.id = ?1 AND y.id = ?2");
        for (const Row& a : store.rows)
            for (const Row& b : store.rows) {
                sqlite3_bind_int64(s, 1, a.bookmark);
                sqlite3_bind_int64(s, 2, b.bookmark);
                ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
                const int want = sqlite3_column_int(s, 0);
                sqlite3_reset(s);
                const Cell ca = CellAt(a, 0), cb = CellAt(b, 0);
                EXPECT_EQ(sign(CompareStored(ca, cb, nocase)), want)
                    << coll << " rows " << a.bookmark << " and " << b.bookmark;
                EXPECT_EQ(sign(CompareKeyed(Keyed(ca, nocase), Keyed(cb, nocase), nocase)), want)
                    << "keyed " << coll << " rows " << a.bookmark << " and " << b.bookmark;
            }
        sqlite3_finalize(s);
    }
}

TEST(RowStore, ImagesGiveBackEveryColumnAsStoredAndDecodedForItsType)
{
    Sqlite q;
    const std::string longText(3000, 'x');
    q.exec("CREATE TABLE t(id INTEGER PRIMARY KEY, code TEXT, n INTEGER, r REAL, d TEXT, b BLOB, flag INTEGER, z)");
    q.exec("INSERT INTO t VALUES (7, '客戶001', 42, 2.5, '2024-01-31 00:00:00', X'00FF10', -1, NULL)");
    q.exec("INSERT INTO t VALUES (8, '" + longText + "', 5, 3.0, 'not a date', X'', 0, 'z')");
    RowStore store;
    q.fill(store, "SELECT id, * FROM t ORDER BY id");
    ASSERT_EQ(store.rows.size(), 2u);
    const Row& r = store.rows[0];

    EXPECT_EQ(Decode(CellAt(r, 0), db::adInteger).toLongLong(), 7);
    EXPECT_EQ(Decode(CellAt(r, 1), db::adVarWChar).toString(), QStringLiteral("客戶001"));
    EXPECT_EQ(Decode(CellAt(r, 2), db::adInteger).toLongLong(), 42);
    EXPECT_EQ(Decode(CellAt(r, 2), db::adDouble).toDouble(), 42.0);
    EXPECT_EQ(Decode(CellAt(r, 2), db::adVarWChar).toString(), QStringLiteral("42"));
    EXPECT_EQ(Decode(CellAt(r, 3), db::adDouble).toDouble(), 2.5);
    EXPECT_EQ(Decode(CellAt(r, 4), db::adDate).toDateTime(), QDateTime(QDate(2024, 1, 31), QTime(0, 0)));
    EXPECT_EQ(Decode(CellAt(r, 5), db::adLongVarBinary).toByteArray(), QByteArray("\x00\xff\x10", 3));
    EXPECT_EQ(Decode(CellAt(r, 6), db::adBoolean).toBool(), true);
    EXPECT_TRUE(Decode(CellAt(r, 7), db::adVarWChar).isNull());

    // A long text, an empty blob, a whole real in a Long column and a text no date reads as.
    const Row& s = store.rows[1];
    EXPECT_EQ(Decode(CellAt(s, 1), db::adVarWChar).toString().size(), 3000);
    EXPECT_EQ(CellAt(s, 5).tag, TagBlob);
    EXPECT_EQ(CellAt(s, 5).n, 0);
    EXPECT_EQ(Decode(CellAt(s, 3), db::adInteger).toLongLong(), 3);
    EXPECT_EQ(Decode(CellAt(s, 4), db::adDate).toString(), QStringLiteral("not a date"));
    EXPECT_EQ(Decode(CellAt(s, 6), db::adBoolean).toBool(), false);
    // Walking cell by cell reaches the same cells as asking for each.
    const char* p = s.data;
    for (int k = 0; k < 7; ++k)
        p = NextCell(p);
    EXPECT_EQ(*p, char(TagText));
    EXPECT_EQ(p - s.data, ptrdiff_t(s.size) - 3);  // the last cell: tag, length 1, "z"
}

TEST(RowStore, ArenaKeepsItsBlocksOnResetAndGivesRoomToRowsLargerThanABlock)
{
    Arena arena;
    const size_t big = (3u << 20) + 17;  // more than one block
    char* first = arena.alloc(100);
    char* huge = arena.alloc(big);
    huge[big - 1] = 'x';  // the whole of it is writable
    EXPECT_NE(first, huge);
    const size_t held = arena.bytes();
    EXPECT_GE(held, big + 100);

    arena.reset();  // a list read again reuses what it had
    EXPECT_EQ(arena.alloc(100), first);
    EXPECT_EQ(arena.bytes(), held);
    arena.clear();
    EXPECT_EQ(arena.bytes(), 0u);
    EXPECT_LE(Arena::pooledBytes(), size_t(8) << 20);  // only a few blocks are kept for the next list
}

// Bookmarks close together (rowids) and far apart (a table whose rowids jump) are both found;
// deleted rows and rows still being added are not; rows added later are found without a rebuild.
TEST(RowStore, BookmarksFindTheirRowsWhetherCloseOrFarApart)
{
    struct Case {
        const char* name;
        std::vector<qint64> bookmarks;
    };
    const Case cases[] = {
        {"close", {1, 2, 3, 5, 8, 9, 10}},
        {"far apart", {1, 1000000, 5, 9223372036854775807LL, -9223372036854775807LL - 1, 40000000000LL, 6}},
    };
    for (const Case& c : cases) {
        RowStore store;
        for (const qint64 b : c.bookmarks) {
            Row r;
            r.bookmark = b;
            store.rows.push_back(r);
        }
        store.rows[2].flags = RowDeleted;
        store.rows[3].flags = RowPending;
        for (size_t i = 0; i < store.rows.size(); ++i) {
            const int want = (i == 2 || i == 3) ? -1 : int(i);
            EXPECT_EQ(store.rowOfBookmark(c.bookmarks[i]), want) << c.name << " bookmark " << c.bookmarks[i];
        }
        EXPECT_EQ(store.rowOfBookmark(4), -1) << c.name;
        EXPECT_EQ(store.rowOfBookmark(1234567), -1) << c.name;

        // A row added after the index was built: the next rowid, and one far past the range.
        store.byBookmark.insert(11, 99);
        store.byBookmark.insert(5000000000LL, 98);
        EXPECT_EQ(store.byBookmark.find(11), 99) << c.name;
        EXPECT_EQ(store.byBookmark.find(5000000000LL), 98) << c.name;
        EXPECT_EQ(store.byBookmark.find(c.bookmarks[0]), 0) << c.name;
    }
}

}  // namespace
