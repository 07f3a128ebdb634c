// Recordset: cursor moves, edits written back by the row's key, identity numbers, bookmarks,
// clones, Find, Filter, Sort and in-memory recordsets.
#include "DbTestUtil.h"

#include <QFile>
#include <gtest/gtest.h>
#if defined(__SANITIZE_ADDRESS__)
extern "C" void __sanitizer_purge_allocator();
#endif

using namespace db;

namespace {

using dbtest::errorOf;

struct Rs : dbtest::DatabaseFile {
    void SetUp() override
    {
        CreateAndOpen(QStringLiteral(
            "CREATE TABLE RV12 (RV120 Text(14), RV121 Text(10), RV1213 Memo, 付款條件日 Integer, 建檔日 long, 最後交易日 DateTime);"
            "CREATE UNIQUE INDEX RV12IDX ON RV12 (RV120);"));
        const char* rows[][2] = {{"000003", "大同"}, {"000001", "Acer"}, {"000002", "華碩"}, {"A010", "O'Neil"}};
        for (auto& r : rows)
            conn.Execute("INSERT INTO RV12 (RV120, RV121) VALUES (?, ?)", {QString::fromUtf8(r[0]), QString::fromUtf8(r[1])});
    }
    QStringList codes(Recordset rs)
    {
        QStringList out;
        if (rs.RecordCount() == 0)
            return out;
        rs.MoveFirst();
        while (!rs.Eof()) {
            out << rs["RV120"].toString();
            rs.MoveNext();
        }
        return out;
    }
    Recordset open(const char* sql = "Select RV12.* From RV12 Order by RV120")
    {
        Recordset rs;
        rs.Open(QString::fromUtf8(sql), conn, adOpenDynamic, adLockOptimistic);
        return rs;
    }
};

TEST_F(Rs, MovesAndEnds)
{
    Recordset rs = open();
    EXPECT_EQ(rs.RecordCount(), 4);
    EXPECT_FALSE(rs.Bof());
    EXPECT_EQ(rs.AbsolutePosition(), 1);
    rs.MovePrevious();
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(errorOf([&] { rs.value(0); }), 3021);
    EXPECT_EQ(errorOf([&] { rs.MovePrevious(); }), 3021);
    rs.MoveLast();
    EXPECT_EQ(rs["rv120"].toString(), "A010");
    rs.Move(-2);
    EXPECT_EQ(rs.AbsolutePosition(), 2);
    rs.Move(5);
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(errorOf([&] { rs.MoveNext(); }), 3021);
    EXPECT_EQ(rs.FieldIndex("RV121"), 1);
    EXPECT_EQ(rs.field("rv121").Type(), adVarWChar);
    EXPECT_EQ(rs.field("RV121").DefinedSize(), 10);
    EXPECT_EQ(rs.field("RV1213").Type(), adLongVarWChar);
    EXPECT_EQ(rs.field("付款條件日").Type(), adSmallInt);
    EXPECT_EQ(errorOf([&] { rs.field("nope"); }), 3265);

    Recordset empty = open("Select * From RV12 Where RV120 = 'none'");
    EXPECT_TRUE(empty.Bof() && empty.Eof());
    EXPECT_EQ(errorOf([&] { empty.MoveFirst(); }), 3021);
}

TEST_F(Rs, EditsAreWrittenBackAndReadAgain)
{
    Recordset rs = open();
    rs.Find("RV120 = '000002'");
    rs["RV121"] = "It's";
    rs["付款條件日"] = "";        // empty box into a number column: Null
    rs["建檔日"] = "20261209";
    rs["最後交易日"] = "2026/12/09";
    EXPECT_EQ(rs.EditMode(), adEditInProgress);
    rs.Update();
    Recordset again = conn.ExecuteQuery("Select * From RV12 Where RV121 = ?", {"IT'S"});
    ASSERT_FALSE(again.Eof());
    EXPECT_TRUE(again["付款條件日"].IsNull());
    EXPECT_EQ(again["建檔日"].value(), QVariant(qint64(20261209)));
    EXPECT_EQ(again["最後交易日"].value().toDateTime(), QDateTime(QDate(2026, 12, 9), QTime(0, 0)));
    EXPECT_EQ(errorOf([&] { rs["建檔日"] = "abc"; }), 3421);
    EXPECT_EQ(errorOf([&] { again["RV121"] = "x"; }), 3251);

    rs.AddNew();
    rs["RV120"] = "000009";
    rs.CancelUpdate();
    EXPECT_EQ(rs.RecordCount(), 4);
    EXPECT_EQ(rs["RV120"].toString(), "000002");

    rs.Delete();
    EXPECT_EQ(errorOf([&] { rs.value(0); }), 3021);
    rs.MoveNext();
    EXPECT_EQ(rs["RV120"].toString(), "000003");
    EXPECT_EQ(codes(open()), (QStringList{"000001", "000003", "A010"}));
}

TEST_F(Rs, FailedUpdateKeepsTheBufferAsTyped)
{
    Recordset rs = open();
    rs.AddNew();
    rs["RV120"] = "000001";
    rs["RV121"] = "新的";
    EXPECT_EQ(errorOf([&] { rs.Update(); }), 3022);
    EXPECT_EQ(rs.EditMode(), adEditAdd);
    EXPECT_EQ(rs["RV120"].toString(), "000001");
    EXPECT_EQ(rs["RV121"].toString(), "新的");
    rs["RV121"] = QString(11, QChar(0x9577));  // one character more than Text(10) holds
    EXPECT_EQ(errorOf([&] { rs.Update(); }), 3163);
    EXPECT_EQ(rs["RV121"].toString().size(), 11);
    rs["RV121"] = "新的";
    rs["RV120"] = "000005";
    rs.Update();
    EXPECT_EQ(rs.EditMode(), adEditNone);
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_EQ(rs["RV121"].toString(), "新的");

    rs.MoveFirst();
    rs["RV120"] = "A010";
    EXPECT_EQ(errorOf([&] { rs.MoveNext(); }), 3022);  // a move saves the edit first
    EXPECT_EQ(rs["RV120"].toString(), "A010");
    rs.CancelUpdate();
    EXPECT_EQ(rs["RV120"].toString(), "000001");
}

TEST_F(Rs, IdentityNumbersExistingRowsAndEveryInsertNeverReused)
{
    conn.Execute("ALTER TABLE RV12 ADD COLUMN 總序 Long Identity ;");
    Recordset rs = open("Select RV12.* From RV12");
    QList<qint64> serials;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        serials << rs["總序"].value().toLongLong();
    EXPECT_EQ(serials, (QList<qint64>{1, 2, 3, 4}));  // in row order
    rs.AddNew();
    rs["RV120"] = "B001";
    rs.Update();
    EXPECT_EQ(rs["總序"].value(), QVariant(qint64(5)));
    rs.Delete();
    conn.Execute("INSERT INTO RV12 (RV120) VALUES ('B002')");
    EXPECT_EQ(conn.ExecuteQuery("Select 總序 From RV12 Where RV120 = 'B002'").value(0), QVariant(qint64(6)));
    EXPECT_EQ(conn.Column("RV12", "總序").identity, true);
    EXPECT_EQ(errorOf([&] { rs.MoveFirst(); rs["總序"] = 99; }), 3164);
    // Nothing the recordset wrote with blocks a later change of the table.
    rs.MoveFirst();
    rs["RV121"] = "z";
    rs.Update();
    EXPECT_NO_THROW(conn.Execute("ALTER TABLE RV12 DROP COLUMN 建檔日"));
    EXPECT_NO_THROW(conn.Execute("DROP TABLE RV12"));
}

}  // namespace

namespace {

TEST_F(Rs, BookmarksSurviveRequeryAndCrossClones)
{
    Recordset rs = open();
    Recordset list = rs.Clone();
    EXPECT_EQ(list.AbsolutePosition(), 1);
    rs.Find("RV120 = '000003'");
    const Bookmark mark = rs.bookmark();
    conn.Execute("INSERT INTO RV12 (RV120) VALUES ('000000')");
    rs.Requery();
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_EQ(rs["RV120"].toString(), "000000");  // a requery goes to the first row
    rs.setBookmark(mark);
    EXPECT_EQ(rs["RV120"].toString(), "000003");
    list.setBookmark(mark);
    EXPECT_EQ(list["RV121"].toString(), "大同");
    EXPECT_EQ(list.RecordCount(), 5);  // clones share the rows

    // A row the original adds shows in the clone; one the clone deletes leaves the original.
    rs.AddNew();
    rs["RV120"] = "000004";
    rs.Update();
    EXPECT_EQ(list.RecordCount(), 6);
    list.setBookmark(rs.bookmark());
    EXPECT_EQ(list["RV120"].toString(), "000004");
    list.setBookmark(mark);
    list.Delete();
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_EQ(errorOf([&] { rs.setBookmark(mark); }), 3159);

    Recordset handle = rs;  // another handle on the same cursor
    handle.MoveFirst();
    EXPECT_EQ(rs.AbsolutePosition(), 1);
}

TEST_F(Rs, FindInAdoGrammar)
{
    conn.Execute("UPDATE RV12 SET 建檔日 = 20261209, 最後交易日 = #2026/12/09# WHERE RV120 = '000002'");
    Recordset rs = open();
    struct Case {
        const char* criteria;
        const char* expected;  // RV120 found, "" for none
    } cases[] = {
        {"rv120 like '00000*'", "000001"},
        {"RV121 like 'ac%'", "000001"},
        {"RV121 Like  '華*'", "000002"},
        {"RV121 = 'acer'", "000001"},
        {"RV121 = 'O''Neil'", "A010"},
        {"RV121 = #O'Neil#", "A010"},
        {"[RV121] = '大同'", "000003"},
        {"建檔日 = 20261209", "000002"},
        {"建檔日 > 1", "000002"},
        {"最後交易日 = #2026/12/09#", "000002"},
        {"RV120 like 'A?1*'", "A010"},
        {"RV120 = 'none'", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.criteria);
        rs.MoveFirst();
        rs.Find(QString::fromUtf8(c.criteria));
        if (*c.expected)
            EXPECT_EQ(rs["RV120"].toString(), c.expected);
        else
            EXPECT_TRUE(rs.Eof());
    }
    // Skip, direction and start.
    rs.MoveFirst();
    rs.Find("RV120 like '0*'", 1);
    EXPECT_EQ(rs["RV120"].toString(), "000002");
    rs.MoveLast();
    rs.Find("RV120 like '0*'", 0, adSearchBackward);
    EXPECT_EQ(rs["RV120"].toString(), "000003");
    rs.Find("RV120 like 'Z*'", 0, adSearchBackward);
    EXPECT_TRUE(rs.Bof());
    rs.MoveFirst();
    const Bookmark second = (rs.MoveNext(), rs.bookmark());
    rs.MoveLast();
    rs.Find("RV120 like '0*'", 0, adSearchForward, second);
    EXPECT_EQ(rs["RV120"].toString(), "000002");
    EXPECT_EQ(errorOf([&] { rs.Find("RV120 ~ 'x'"); }), 3001);
    EXPECT_EQ(errorOf([&] { rs.Find("nope = 'x'"); }), 3265);
}

TEST_F(Rs, FilterAndSortShapeTheCursorOnly)
{
    Recordset rs = open("Select RV12.* From RV12");
    rs.setFilter("RV120 like '0*' AND (RV121 = 'Acer' OR RV121 = '大同')");
    EXPECT_EQ(codes(rs), (QStringList{"000003", "000001"}));
    rs.setSort("RV120 DESC");
    EXPECT_EQ(codes(rs), (QStringList{"000003", "000001"}));
    rs.setSort("[RV120] ASC");
    EXPECT_EQ(codes(rs), (QStringList{"000001", "000003"}));
    EXPECT_EQ(rs.Clone().RecordCount(), 4);  // a clone has no filter
    rs.setFilter("");
    EXPECT_EQ(codes(rs), (QStringList{"000001", "000002", "000003", "A010"}));
    rs.setSort("RV121");
    EXPECT_EQ(codes(rs).first(), "000001");  // Acer before O'Neil, letter case ignored
}

TEST_F(Rs, InMemoryRecordsets)
{
    Recordset list;
    list.Append("客戶", adVarWChar, 50);
    list.Append("e-mail", adVarWChar, 100);
    list.Append("點數", adInteger);
    list.Open();
    EXPECT_TRUE(list.Bof() && list.Eof());
    const char* names[] = {"大同", "Acer", "華碩"};
    for (const char* n : names) {
        list.AddNew();
        list["客戶"] = QString::fromUtf8(n);
        list["點數"] = "7";
        list.Update();
    }
    EXPECT_EQ(list.RecordCount(), 3);
    EXPECT_EQ(list["點數"].value(), QVariant(qint64(7)));
    Recordset copy = list.Clone();
    copy.MoveFirst();
    copy.Find("客戶 like 'ac%'");
    EXPECT_EQ(copy["客戶"].toString(), "Acer");
    list.setBookmark(copy.bookmark());
    list.Delete();
    list.MoveNext();
    EXPECT_EQ(list["客戶"].toString(), "華碩");
    EXPECT_EQ(copy.RecordCount(), 2);
    list.Delete();
    list.MoveNext();
    EXPECT_TRUE(list.Eof());
}

TEST_F(Rs, ChangeNotifications)
{
    Recordset rs = open();
    std::vector<RecordsetEvent> seen;
    const int id = rs.Subscribe([&](RecordsetEvent e, int) { seen.push_back(e); });
    rs.MoveNext();
    rs["RV121"] = "x";
    rs.CancelUpdate();
    rs.Requery();
    rs.Unsubscribe(id);
    rs.MoveNext();
    EXPECT_EQ(seen, (std::vector<RecordsetEvent>{RecordsetEvent::Moved, RecordsetEvent::FieldChanged,
                                                  RecordsetEvent::FieldChanged, RecordsetEvent::Reset}));
}

TEST_F(Rs, ForwardOnlyQueriesReadAsTheyGoAndLetGoOfTheFile)
{
    conn.BeginTrans();
    for (int i = 0; i < 3000; ++i)
        conn.Execute("INSERT INTO RV12 (RV120) VALUES (?)", {QStringLiteral("B%1").arg(i, 5, 10, QChar('0'))});
    conn.CommitTrans();

    // A write on the connection while a query is half read: the query still gives the rows it
    // was opened on, and the write (a DROP included) meets no statement left open.
    Recordset q = conn.ExecuteQuery("Select RV120 From RV12 Order By RV120");
    EXPECT_EQ(q.value(0).toString(), "000001");
    q.MoveNext();
    conn.Execute("DELETE FROM RV12 WHERE RV120 LIKE 'B%'");
    conn.Execute("CREATE TABLE Scratch (a Long)");
    conn.Execute("DROP TABLE Scratch");
    long n = 1;
    for (; !q.Eof(); q.MoveNext())
        ++n;
    EXPECT_EQ(n, 3004);
    EXPECT_EQ(conn.ExecuteQuery("Select Count(*) From RV12").value(0).toLongLong(), 4);

    // A query whose rows are all read holds no lock: another connection writes at once.
    Recordset count = conn.ExecuteQuery("Select Count(*) From RV12");
    Recordset first = conn.ExecuteQuery("Select RV120 From RV12 Where RV120 = '000001'");
    Connection other;
    other.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    EXPECT_EQ(errorOf([&] { other.Execute("INSERT INTO RV12 (RV120) VALUES ('X')"); }), 0);
    EXPECT_EQ(count.value(0).toLongLong(), 4);
    EXPECT_EQ(first.RecordCount(), 1);

    // Sort, filter and clone read the rest first.
    Recordset all = conn.ExecuteQuery("Select RV120 From RV12");
    all.setSort("RV120 DESC");
    EXPECT_EQ(all.RecordCount(), 5);
    all.MoveFirst();
    EXPECT_EQ(all.value(0).toString(), "X");
}

TEST_F(Rs, ValuesOfTheRowInOnePass)
{
    Recordset rs = open();
    rs.MoveNext();
    rs["RV121"] = "改";
    const QVariantList values = rs.values();
    ASSERT_EQ(values.size(), rs.FieldCount());
    for (int i = 0; i < rs.FieldCount(); ++i)
        EXPECT_EQ(values[i], rs.value(i)) << i;
    EXPECT_EQ(values[1].toString(), "改");
    rs.CancelUpdate();
}

// A row saved again and again, its values growing and shrinking, keeps every other value of
// it and of its neighbours, in this cursor, a clone and the file.
TEST_F(Rs, ARowSavedOverAndOverKeepsEveryValue)
{
    Recordset rs = open();
    Recordset clone = rs.Clone();
    rs.MoveFirst();
    rs.MoveNext();  // 000002
    const QStringList texts = {"", "短", QString(300, QChar('x')), "中", QString(2000, QChar(0x6587)), "b"};
    for (int i = 0; i < 60; ++i) {
        const QString memo = texts[i % texts.size()];
        const QString name = QString(i % 10 + 1, QChar('n'));
        rs["RV1213"] = memo.isEmpty() ? QVariant() : QVariant(memo);
        rs["RV121"] = name;
        rs["付款條件日"] = qint64(i);
        rs.Update();
        clone.setBookmark(rs.bookmark());
        for (Recordset* c : {&rs, &clone}) {
            EXPECT_EQ((*c)["RV120"].toString(), "000002") << i;
            EXPECT_EQ((*c)["RV121"].toString(), name) << i;
            EXPECT_EQ((*c)["RV1213"].value().toString(), memo) << i;
            EXPECT_EQ((*c)["付款條件日"].value().toLongLong(), i) << i;
        }
    }
    EXPECT_EQ(codes(rs), (QStringList{"000001", "000002", "000003", "A010"}));
    rs.MoveFirst();
    EXPECT_EQ(rs["RV121"].toString(), "Acer");
    rs.MoveLast();
    EXPECT_EQ(rs["RV121"].toString(), "O'Neil");
    Recordset stored = conn.ExecuteQuery(QStringLiteral("Select RV121, 付款條件日 From RV12 Where RV120 = '000002'"));
    EXPECT_EQ(stored.value(0).toString(), QString(10, QChar('n')));
    EXPECT_EQ(stored.value(1).toLongLong(), 59);
}

// Resident memory of the process in bytes.  The address sanitizer holds freed blocks back
// (to catch their later use): they are given back first, as the usual allocator would.
long long residentBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_purge_allocator();
#endif
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return QString::fromLatin1(f.readAll()).section(QChar(' '), 1, 1).toLongLong() * 4096;
}

TEST_F(Rs, AClosedLargeRecordsetGivesItsMemoryBack)
{
    const QString memo(1500, QChar('x'));
    conn.BeginTrans();
    for (int i = 0; i < 30000; ++i)
        conn.Execute("INSERT INTO RV12 (RV120, RV1213) VALUES (?, ?)", {QStringLiteral("M%1").arg(i), memo});
    conn.CommitTrans();
    const long long before = residentBytes();
    long long kept = 12LL << 20;
    {
        Recordset rs = open();
        EXPECT_EQ(rs.RecordCount(), 30004);
        while (rs.ReadAhead(5000)) {  // a list this long reads its rows on demand: every one now
        }
        EXPECT_GT(residentBytes() - before, 40LL << 20);
#if defined(__SANITIZE_ADDRESS__)
        kept += (residentBytes() - before) / 8;  // the sanitizer's shadow of memory once used stays
#endif
        rs.Requery();  // fills its own blocks again
        EXPECT_LT(residentBytes() - before, 60LL << 20);
    }
    EXPECT_LT(residentBytes() - before, kept);
}

}  // namespace
