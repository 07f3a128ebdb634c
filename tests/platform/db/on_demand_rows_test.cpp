// The rows of a list read on demand, on their own: the keys of every row first, a used row read
// with the rows around it, read-ahead and the one-pass read reaching every row, rows another
// user changed or deleted before they were read, and rows found by bookmark wherever their
// rowids lie.  The list is "Select * From L Order by t": t runs against the table's order, so
// the list's row p is the table's row 1000 - p (k = 999 - p).
#include "DbTestUtil.h"
#include "platform/db/DbImpl.h"
#include "platform/db/OnDemandRows.h"

#include <gtest/gtest.h>
#include <limits>

using namespace db;
using detail::OnDemandRows;
using detail::OnDemandSource;

namespace {

constexpr int kRows = 1000;

struct OnDemandRowsTest : dbtest::DatabaseFile {
    detail::RowStore store;

    void SetUp() override
    {
        CreateAndOpen(QStringLiteral("CREATE TABLE L (k Long, t Text(20), v Text(20));"
                                     "CREATE TABLE B (k Long, t Text(20));"));
        fill();
    }
    // L's rows anew, rowids 1 to kRows.
    void fill()
    {
        conn.BeginTrans();
        conn.Execute("DELETE FROM L");
        for (int i = 0; i < kRows; ++i)
            conn.Execute("INSERT INTO L (k, t, v) VALUES (?, ?, ?)", {qint64(i), nameOf(i), QStringLiteral("v%1").arg(i)});
        conn.CommitTrans();
    }
    static QString nameOf(qint64 k) { return QStringLiteral("name %1").arg(kRows - 1 - k, 3, 10, QChar('0')); }

    // The list of L by t, only t read with the keys.
    OnDemandRows reader(const QString& where = {}, const Params& params = {})
    {
        OnDemandSource source;
        source.keysSql = QStringLiteral("SELECT rowid, t FROM L %1 ORDER BY t").arg(where);
        source.params = params;
        source.keyColumnOf = {-1, 1, -1};
        source.rowsSql = QStringLiteral("SELECT rowid, k, t, v FROM L");
        return OnDemandRows(store, conn.impl()->st, source);
    }

    // Row p of the store as "k|t|v", Null as "-", with "*" after it while it is partial.
    QString rowAt(size_t p) const
    {
        const detail::Row& row = store.rows[p];
        QStringList cells;
        for (int k = 0; k < 3; ++k) {
            const QVariant v = detail::Decode(detail::CellAt(row, k), k == 0 ? adInteger : adVarWChar);
            cells << (v.isNull() ? QStringLiteral("-") : v.toString());
        }
        return cells.join(QChar('|')) + ((row.flags & detail::RowPartial) ? QStringLiteral("*") : QString());
    }
    // The same row as the table holds it, read in full.
    static QString full(int p)
    {
        const qint64 k = kRows - 1 - p;
        return QStringLiteral("%1|%2|v%1").arg(k).arg(nameOf(k));
    }
    static QString keysOnly(int p) { return QStringLiteral("-|%1|-").arg(nameOf(kRows - 1 - p)); }
};

TEST_F(OnDemandRowsTest, KeysFirstEveryRowPartialInTheListsOrder)
{
    OnDemandRows rows = reader();
    rows.fetchKeys();
    ASSERT_EQ(store.rows.size(), size_t(kRows));
    EXPECT_EQ(rows.rowsToRead(), kRows);
    for (int p : {0, 1, 500, kRows - 1}) {
        SCOPED_TRACE(p);
        EXPECT_EQ(rowAt(size_t(p)), keysOnly(p) + QStringLiteral("*"));
        EXPECT_EQ(store.rows[size_t(p)].rowid, kRows - p);
        EXPECT_EQ(store.rows[size_t(p)].bookmark, kRows - p);
        EXPECT_EQ(store.rowOfBookmark(kRows - p), p);
    }
    EXPECT_TRUE(rows.holdsAtOpen(1));
    EXPECT_FALSE(rows.holdsAtOpen(0));
    EXPECT_FALSE(rows.holdsAtOpen(2));

    // Read again: the keys anew, not added to those held.
    rows.readAround(0);
    rows.fetchKeys();
    EXPECT_EQ(store.rows.size(), size_t(kRows));
    EXPECT_EQ(rows.rowsToRead(), kRows);
    EXPECT_EQ(rowAt(0), keysOnly(0) + QStringLiteral("*"));

    // The statement's condition and parameters apply.
    OnDemandRows some = reader(QStringLiteral("WHERE k < ?"), {qint64(10)});
    some.fetchKeys();
    ASSERT_EQ(store.rows.size(), 10u);
    EXPECT_EQ(store.rows.front().rowid, 10);
    EXPECT_EQ(some.rowsToRead(), 10);
}

// A used row is read with the partial rows from kAbove above it on, kAround in all; rows read
// already are not read again and do not count.
TEST_F(OnDemandRowsTest, AUsedRowIsReadWithTheRowsAroundIt)
{
    static_assert(OnDemandRows::kAbove == 32 && OnDemandRows::kAround == 256, "the ranges below");
    struct Case {
        const char* name;
        std::vector<int> used;
        std::vector<std::pair<int, int>> read;  // rows held afterwards, first to last
    } cases[] = {
        {"first row", {0}, {{0, 255}}},
        {"inside the list", {500}, {{468, 723}}},
        {"near the top", {20}, {{0, 255}}},
        {"last row", {kRows - 1}, {{kRows - 33, kRows - 1}}},
        {"apart", {100, 900}, {{68, 323}, {868, kRows - 1}}},
        {"overlapping", {100, 300}, {{68, 579}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OnDemandRows rows = reader();
        rows.fetchKeys();
        for (int p : c.used)
            rows.readAround(p);
        long held = 0;
        for (int p = 0; p < kRows; ++p) {
            const bool read = std::any_of(c.read.begin(), c.read.end(), [&](auto r) { return p >= r.first && p <= r.second; });
            held += read;
            ASSERT_EQ(rowAt(size_t(p)), read ? full(p) : keysOnly(p) + QStringLiteral("*")) << "row " << p;
        }
        EXPECT_EQ(rows.rowsToRead(), kRows - held);
    }
}

// Reading on in table order (a block at a time) and the one pass that reads the rest both leave
// every row held as the table holds it when it is read: another user's change shows, a row they
// deleted keeps its place with only its keys.  Inside a transaction nothing is read ahead.
TEST_F(OnDemandRowsTest, ReadingOnReachesEveryRow)
{
    const struct {
        const char* name;
        bool ahead;
    } ways[] = {{"read ahead", true}, {"all at once", false}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        fill();
        OnDemandRows rows = reader();
        rows.fetchKeys();
        rows.readAround(0);  // rows 0 to 255 (rowids 1000 down to 745) held before the change
        conn.Execute("UPDATE L SET v = 'changed' WHERE k IN (999, 500)");
        conn.Execute("DELETE FROM L WHERE k IN (9, 998)");
        if (way.ahead) {
            conn.BeginTrans();
            EXPECT_TRUE(rows.readAhead(100));
            EXPECT_EQ(rows.rowsToRead(), kRows - 256);
            conn.RollbackTrans();
            int blocks = 0;
            while (rows.readAhead(100))
                ASSERT_LT(++blocks, kRows);
            // 743 rows to read, in a table read 100 rowids at a time: the eighth block reads the
            // last of them and says so (the rows after it were held already).
            EXPECT_EQ(blocks, 7);
            EXPECT_FALSE(rows.readAhead(100));
        } else {
            rows.completeAll();
        }
        EXPECT_EQ(rows.rowsToRead(), 0);
        for (int p = 0; p < kRows; ++p) {
            const qint64 k = kRows - 1 - p;
            QString expected = full(p);
            if (k == 500)
                expected = QStringLiteral("500|%1|changed").arg(nameOf(500));
            else if (k == 9)
                expected = keysOnly(p);  // deleted before it was read
            ASSERT_EQ(rowAt(size_t(p)), expected) << "row " << p;  // k 999 and 998: read before
        }
    }
}

// A row found by its bookmark (its rowid) wherever the rowids lie: spread over the whole range,
// packed at its top or its bottom.  Bookmarks next to them find nothing.
TEST_F(OnDemandRowsTest, BookmarksFindTheirRowsAtTheLimitsOfTheRowids)
{
    constexpr qint64 lo = std::numeric_limits<qint64>::min(), hi = std::numeric_limits<qint64>::max();
    const struct {
        const char* name;
        std::vector<qint64> rowids;
        std::vector<qint64> absent;
    } cases[] = {
        {"spread", {lo, -3, 7, 8, qint64(1) << 40, hi}, {lo + 1, -2, 0, 9, hi - 1}},
        {"at the top", {hi - 4, hi - 3, hi - 2, hi - 1, hi}, {hi - 5, 0, lo}},
        {"at the bottom", {lo, lo + 1, lo + 2, lo + 3, lo + 4}, {lo + 5, 0, hi}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        conn.Execute("DELETE FROM B");
        for (size_t i = 0; i < c.rowids.size(); ++i)
            conn.impl()->st->exec(QStringLiteral("INSERT INTO B (rowid, k, t) VALUES (?, ?, ?)"),
                                  {c.rowids[i], qint64(c.rowids.size() - i), QStringLiteral("row %1").arg(i)});
        OnDemandSource source;
        source.keysSql = QStringLiteral("SELECT rowid, k FROM B ORDER BY k");  // the rowids' order backwards
        source.keyColumnOf = {1, -1};
        source.rowsSql = QStringLiteral("SELECT rowid, k, t FROM B");
        OnDemandRows rows(store, conn.impl()->st, source);
        rows.fetchKeys();
        ASSERT_EQ(store.rows.size(), c.rowids.size());
        for (size_t i = 0; i < c.rowids.size(); ++i) {
            const int p = store.rowOfBookmark(c.rowids[i]);
            ASSERT_EQ(p, int(c.rowids.size() - 1 - i)) << c.rowids[i];
            rows.readAround(p);
            EXPECT_EQ(detail::Decode(detail::CellAt(store.rows[size_t(p)], 1), adVarWChar).toString(),
                      QStringLiteral("row %1").arg(i));
        }
        EXPECT_EQ(rows.rowsToRead(), 0);
        for (qint64 b : c.absent)
            EXPECT_EQ(store.rowOfBookmark(b), -1) << b;
    }
}

}  // namespace
