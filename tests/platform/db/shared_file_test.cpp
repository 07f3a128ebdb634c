// Two users on one database file (a shared data folder): an edit never silently overwrites what
// the other user saved after it was read, and a row the other user deleted is never "saved".
#include "DbTestUtil.h"

#include <functional>
#include <gtest/gtest.h>

using namespace db;

namespace {

using dbtest::errorOf;

struct SharedFile : dbtest::DatabaseFile {
    Connection other;  // the second computer

    void SetUp() override
    {
        CreateAndOpen(QStringLiteral(
            "CREATE TABLE RV12A (序號 Long Identity, RV12A0 Text(14), RV12A1 Text(20), RV12A5 Text(20), "
            "停用 YesNo, 交易日 DateTime, 金額 Currency, 備註 Memo);"));
        conn.Execute("INSERT INTO RV12A (RV12A0, RV12A1, RV12A5, 停用, 交易日, 金額) VALUES "
                     "('A001', '王小明', '0911', False, #2024/05/01#, 10.5)");
        other.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    }
    Recordset open(Connection& c)
    {
        Recordset rs;
        rs.Open(QStringLiteral("Select * From RV12A Where RV12A0 = ?"), c, adOpenStatic, adLockOptimistic, {QStringLiteral("A001")});
        return rs;
    }
    QVariant stored(const char* column)
    {
        Recordset rs = open(conn);
        return rs[QString::fromUtf8(column)].value();
    }
};

TEST_F(SharedFile, UpdateOfARowChangedOrDeletedSinceItWasReadFailsAndKeepsTheEdit)
{
    for (const bool deleteIt : {false, true}) {
        SCOPED_TRACE(deleteIt ? "deleted by the other user" : "changed by the other user");
        conn.Execute("DELETE FROM RV12A");
        conn.Execute("INSERT INTO RV12A (RV12A0, RV12A1) VALUES ('A001', '王小明')");
        Recordset mine = open(conn);
        Recordset theirs = open(other);
        if (deleteIt) {
            theirs.Delete();
        } else {
            theirs["RV12A1"] = "王大明";
            theirs.Update();
        }
        mine["RV12A1"] = "王小華";
        EXPECT_EQ(errorOf([&] { mine.Update(); }), 3197);
        // Nothing typed is lost: the edit stays open with the typed value.
        EXPECT_EQ(mine.EditMode(), adEditInProgress);
        EXPECT_EQ(mine["RV12A1"].toString(), "王小華");
        conn.Execute("SELECT 1");  // the connection is usable
        if (!deleteIt) {
            EXPECT_EQ(stored("RV12A1").toString(), "王大明");
            // Read again, the same edit goes through.
            mine.CancelUpdate();
            mine.Requery();
            mine["RV12A1"] = "王小華";
            mine.Update();
            EXPECT_EQ(stored("RV12A1").toString(), "王小華");
        } else {
            EXPECT_EQ(open(conn).RecordCount(), 0);
        }
    }
}

TEST_F(SharedFile, EditsOfDifferentFieldsBothKeepTheirValues)
{
    Recordset mine = open(conn);
    Recordset theirs = open(other);
    theirs["RV12A5"] = "0922";
    theirs.Update();
    mine["RV12A1"] = "王小華";
    mine.Update();
    EXPECT_EQ(stored("RV12A1").toString(), "王小華");
    EXPECT_EQ(stored("RV12A5").toString(), "0922");
}

TEST_F(SharedFile, OwnRepeatedUpdatesOfEveryKindOfValueAreNoConflict)
{
    // After an Update the row image must compare equal to what was written, for every type.
    Recordset rs = open(conn);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        rs["停用"] = round % 2 == 0;
        rs["交易日"] = QDateTime(QDate(2024, 6, 1 + round), QTime(9, 30));
        rs["金額"] = 10.25 + round;
        rs["備註"] = round == 1 ? QVariant() : QVariant(QStringLiteral("第%1次").arg(round));
        rs["RV12A5"] = QString();
        EXPECT_EQ(errorOf([&] { rs.Update(); }), 0);
    }
    // A row added here and then changed.
    rs.AddNew();
    rs["RV12A0"] = "A001";
    rs["停用"] = true;
    rs.Update();
    rs["停用"] = false;
    rs["RV12A1"] = "新";
    EXPECT_EQ(errorOf([&] { rs.Update(); }), 0);
}

TEST_F(SharedFile, ResyncReadsWhatTheOtherUserSavedOrLeavesTheDeletedRow)
{
    conn.Execute("INSERT INTO RV12A (RV12A0, RV12A1) VALUES ('A001', '第二位')");
    Recordset mine;
    mine.Open(QStringLiteral("Select RV12A1, RV12A0 & '-' AS 標示, 停用 From RV12A Order by 序號"), conn);
    Recordset list = mine.Clone();
    Recordset theirs = open(other);
    theirs["RV12A1"] = "王大明";
    theirs["停用"] = true;
    theirs.Update();
    mine.Resync();
    EXPECT_EQ(mine["RV12A1"].toString(), "王大明");
    EXPECT_EQ(mine["停用"].value(), QVariant(true));
    EXPECT_EQ(mine["標示"].toString(), "A001-");
    EXPECT_EQ(list["RV12A1"].toString(), "王大明");
    // What was read again is the base of the next optimistic write.
    mine["RV12A1"] = "王小華";
    mine["停用"] = false;
    EXPECT_EQ(errorOf([&] { mine.Update(); }), 0);

    theirs.Requery();
    theirs.Delete();
    EXPECT_EQ(errorOf([&] { mine.Resync(); }), 3167);
    EXPECT_EQ(mine.RecordCount(), 1);
    EXPECT_EQ(list.RecordCount(), 1);
    list.MoveFirst();
    EXPECT_EQ(list["RV12A1"].toString(), "第二位");
}

TEST_F(SharedFile, StatementOnAStoredRowThatIsGoneFailsWith3197)
{
    const qint64 key = stored("序號").toLongLong();
    other.Execute("DELETE FROM RV12A WHERE 序號 = ?", {key});
    conn.BeginTrans();
    EXPECT_EQ(errorOf([&] { conn.ExecuteOnStoredRows("UPDATE RV12A SET RV12A1 = ? WHERE 序號 = ?", {QStringLiteral("x"), key}); }), 3197);
    EXPECT_EQ(errorOf([&] { conn.ExecuteOnStoredRows("DELETE FROM RV12A WHERE 序號 = ?", {key}); }), 3197);
    conn.RollbackTrans();
    conn.Execute("INSERT INTO RV12A (RV12A0) VALUES ('B')");
    EXPECT_EQ(conn.ExecuteOnStoredRows("UPDATE RV12A SET RV12A1 = 'y' WHERE RV12A0 = 'B'"), 1);
}

// The version moves with every write, this connection's or the other user's, and with nothing else.
TEST_F(SharedFile, VersionMovesWithEveryWriteToTheFileAndOnlyThen)
{
    const struct {
        const char* what;
        std::function<void()> act;
        bool moves;
    } cases[] = {
        {"a read", [&] { stored("RV12A1"); }, false},
        {"our update", [&] { conn.Execute("UPDATE RV12A SET RV12A1 = 'a'"); }, true},
        {"the other user's update", [&] { other.Execute("UPDATE RV12A SET RV12A1 = 'b'"); }, true},
        {"the other user's read", [&] { open(other); }, false},
        {"our insert in a transaction", [&] {
             conn.BeginTrans();
             conn.Execute("INSERT INTO RV12A (RV12A0) VALUES ('B')");
             conn.CommitTrans();
         }, true},
        {"the other user's delete", [&] { other.Execute("DELETE FROM RV12A WHERE RV12A0 = 'B'"); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const DataVersion before = conn.Version();
        c.act();
        EXPECT_EQ(conn.Version() != before, c.moves);
    }
}

}  // namespace
