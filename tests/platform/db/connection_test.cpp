// Connection, Jet SQL as the program writes it, errors and transactions, on real files.
#include "DbTestUtil.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace db;

namespace {

const char* kSchema = R"(
CREATE TABLE RV12 (RV120 Text(14), RV121 Text(10), RV1213 Memo, 隨貨附發票 Integer);
CREATE UNIQUE INDEX RV12IDX ON RV12 (RV120);
CREATE TABLE RV12A (RV12A0 Text(14), RV12A1 Text(16), RV12A6 Text(50));
)";

struct Db : dbtest::DatabaseFile {
    void SetUp() override { CreateAndOpen(QString::fromUtf8(kSchema), QStringLiteral("Tessarine.mdb")); }
    QVariant scalar(const QString& sql, const Params& p = {})
    {
        Recordset rs = conn.ExecuteQuery(sql, p);
        return rs.Eof() ? QVariant() : rs.value(0);
    }
    static long errorOf(const std::function<void()>& f) { return dbtest::errorOf(f); }
};

TEST_F(Db, OpenNeverCreatesAFileAndMatchesTheNameWithoutLetterCase)
{
    Connection other;
    EXPECT_EQ(errorOf([&] { other.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + dir.file("none.mdb")); }), 3024);
    EXPECT_FALSE(dir.exists("none.mdb"));
    other.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + dir.file("tessarine.MDB"));
    EXPECT_TRUE(other.IsOpen());
    EXPECT_EQ(errorOf([&] { Connection::CreateDatabase(path, {}); }), 3204);
    EXPECT_EQ(errorOf([&] { Connection::CreateDatabase(dir.file("TESSARINE.mdb"), {}); }), 3204);
}

TEST_F(Db, ClosingReleasesTheFile)
{
    auto openFiles = [] { return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size(); };
    const auto before = openFiles();
    for (int i = 0; i < 3; ++i) {
        const QString other = dir.file(QStringLiteral("copy%1.mdb").arg(i));
        Connection::CreateDatabase(other, QString::fromUtf8(kSchema));
        Connection c;
        c.Open(QStringLiteral("Data Source=") + other);
        Recordset rs;
        rs.Open("Select RV12.* From RV12", c);
        rs.AddNew();
        rs["RV120"] = "A";
        rs.Update();
        c.Close();
    }
    EXPECT_EQ(openFiles(), before);
}

TEST_F(Db, NeverOpenedConnectionRaisesClosedOnEveryUse)
{
    Connection alt;
    const std::vector<std::function<void()>> uses = {
        [&] { alt.Execute("DELETE FROM RV12"); },
        [&] { alt.ExecuteQuery("SELECT * FROM RV12"); },
        [&] { alt.BeginTrans(); },
        [&] { alt.TableNames(); },
        [&] { Recordset rs; rs.Open("SELECT * FROM RV12", alt); },
    };
    for (const auto& use : uses)
        EXPECT_EQ(errorOf(use), 3704);
    EXPECT_FALSE(alt.TableExists("RV12"));
    EXPECT_FALSE(alt.ColumnExists("RV12", "RV120"));
}

TEST_F(Db, JetStatementsRunAsWritten)
{
    conn.Execute("INSERT INTO RV12 (RV120, RV121, 隨貨附發票) VALUES (?, ?, ?)", {"A001", "大同", 1});
    conn.Execute("INSERT INTO RV12 (RV120, RV121, 隨貨附發票) VALUES (?, ?, ?)", {"a002", "O'Neil", 2});
    conn.Execute("INSERT INTO RV12A (RV12A0, RV12A1, RV12A6) VALUES (?, ?, ?)", {"A001", "王", "w@x"});
    struct Case {
        const char* sql;
        QVariant expected;
    } cases[] = {
        {"select *from RV12 where rv120='a001'", "A001"},
        {"  Select  RV12.*  From  [RV12]  Where  (RV12.RV120 = 'A001') ;", "A001"},
        {"Select Max(rv120) as MaxNo  From RV12 ", "a002"},
        {"Select Max((RV120)) As MAXno  From RV12", "a002"},
        {"Select count(*) From RV12 Where RV120 Like 'a%'", 2},
        {"Select RV121 From RV12,RV12A Where RV12.RV120=RV12A.RV12A0 Order By RV12A.RV12A6", "大同"},
        {"Select RV120 From RV12 Order By RV121 DESC", "A001"},
        {"Select rv12.隨貨附發票 From rv12 Where 隨貨附發票 = 2", 2},
        {"Select \"x\" & RV120 From RV12 Where RV121 = \"大同\"", "xA001"},
        {"Select RV120 & '-' & RV1213 & '.' From RV12 Where RV120 = 'A001'", "A001-."},
        {"Select Left(RV1213 & RV120, 2) & 1 + 2 From RV12 Where RV120 = 'A001'", "A03"},
        {"Select count(*) From RV12 Where RV1213 & RV121 = '大同' And RV1213 & RV1213 Is Null", 1},
        {"Select IIf(Len(RV121) > 2, Left(RV121, 1), Right(RV121, 1)) From RV12 Where RV120 = 'a002'", "O"},
        {"Select Mid(RV120, 2, 2) & UCase(Trim('  b ')) From RV12 Where RV120 = 'A001'", "00B"},
        {"Select Val('12abc') + Nz(RV1213, 5) From RV12 Where RV120 = 'A001'", 17},
        {"Select Format(#2026/12/09#, 'yyyy/mm/dd')", "2026/12/09"},
        {"Select Format(7, '000') & Format(1234.565, '#,##0.00') & Format(0.5, '0') & Format(-2.5, 'Fixed')", "0071,234.571-2.50"},
        {"Select Year(#2026/12/09#) * 100 + Month(#2026/12/09#)", 202612},
        {"RV12", "A001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        const QVariant v = scalar(QString::fromUtf8(c.sql));
        EXPECT_EQ(v.toString(), c.expected.toString());
    }
}

TEST_F(Db, ExpressionsWithoutAnAliasAreNamedAsJetNamesThem)
{
    Recordset rs = conn.ExecuteQuery("Select RV12.RV120, Count(*), Max(RV121) As MAXno, RV120 & 'x', 1 From RV12 Group By RV120");
    QStringList names;
    for (int i = 0; i < rs.FieldCount(); ++i)
        names << rs.FieldName(i);
    EXPECT_EQ(names, QStringList({"RV120", "Expr1000", "MAXno", "Expr1001", "Expr1002"}));
}

TEST_F(Db, DeleteFormsOfJet)
{
    const char* forms[] = {"Delete  RV12a.* From RV12a Where rv12a0='A001'", "Delete *.* from RV12A",
                           "Delete RV12A.*from[RV12A]", "DELETE FROM RV12A where RV12A0= 'A001';"};
    for (const char* f : forms) {
        SCOPED_TRACE(f);
        conn.Execute("INSERT INTO RV12A (RV12A0) VALUES (?)", {"A001"});
        EXPECT_EQ(conn.Execute(QString::fromUtf8(f)), 1);
        EXPECT_EQ(scalar("Select count(*) From RV12A").toInt(), 0);
    }
}

TEST_F(Db, TrueIsMinusOneHoweverItIsWritten)
{
    conn.Execute("CREATE TABLE 旗 (a Text(8), b YesNo, c Integer, d YesNo DEFAULT True)");
    conn.Execute("INSERT INTO 旗 (a, b, c) VALUES ('lit', True, True)");
    conn.Execute("INSERT INTO 旗 (a, b, c) VALUES (?, ?, ?)", {"bound", true, true});
    Recordset rs;
    rs.Open("Select * From 旗", conn);
    rs.AddNew();
    rs["a"] = QString("rs");
    rs["b"] = true;
    rs["c"] = true;
    rs.Update();
    EXPECT_EQ(scalar("Select count(*) From 旗 Where b = -1 And c = -1 And d = -1").toInt(), 3);
    EXPECT_EQ(scalar("Select count(*) From 旗 Where b = True And c = True And Not (b = False)").toInt(), 3);
    rs.Requery();
    EXPECT_EQ(rs["b"].value(), QVariant(true));
}

TEST_F(Db, TextKeepsItsFormAndCaseIsIgnored)
{
    conn.Execute("INSERT INTO RV12 (RV120, RV1213) VALUES (?, ?)", {"A001", "007"});
    conn.Execute("INSERT INTO RV12 (RV120, RV1213) VALUES (?, ?)", {"b'1", ""});
    EXPECT_EQ(scalar("Select RV1213 From RV12 Where RV120 = 'a001'").toString(), "007");
    EXPECT_EQ(scalar("Select RV1213 From RV12 Where RV120 = ?", {"B'1"}).toString(), "");
    EXPECT_FALSE(scalar("Select RV1213 From RV12 Where RV120 = ?", {"B'1"}).isNull());
    EXPECT_EQ(errorOf([&] { conn.Execute("INSERT INTO RV12 (RV120) VALUES (?)", {"a001"}); }), 3022);
}

TEST_F(Db, ErrorNumbers)
{
    conn.Execute("CREATE TABLE 會員管理 (會員編號 Text(15), 姓名 Text(30) Not Null, 總序 Long Identity)");
    conn.Execute("CREATE UNIQUE INDEX 會員管理Idx1 ON 會員管理 (會員編號) WITH DISALLOW NULL;");
    EXPECT_EQ(errorOf([&] { conn.Execute("INSERT INTO 會員管理 (會員編號) VALUES ('1')"); }), 3314);
    EXPECT_EQ(errorOf([&] { conn.Execute("INSERT INTO 會員管理 (姓名) VALUES ('x')"); }), 3314);
    conn.Execute("INSERT INTO 會員管理 (會員編號, 姓名) VALUES ('1', 'x')");
    EXPECT_EQ(errorOf([&] { conn.Execute("INSERT INTO 會員管理 (會員編號, 姓名) VALUES ('1', 'y')"); }), 3022);
    EXPECT_EQ(errorOf([&] { conn.Execute("Select * From NoSuchTable"); }), 3078);
    EXPECT_EQ(errorOf([&] { conn.Execute("Select RV12.NoSuch From RV12"); }), 3061);
    EXPECT_EQ(errorOf([&] { conn.Execute("INSERT INTO RV12 (NoSuch) VALUES ('1')"); }), 3127);
    // Statements are held to the columns as recordsets are.
    EXPECT_EQ(errorOf([&] { conn.Execute("INSERT INTO RV12 (RV120) VALUES ('123456789012345')"); }), 3163);
    EXPECT_EQ(errorOf([&] { conn.Execute("INSERT INTO RV12 (RV120, 隨貨附發票) VALUES ('N1', 'abc')"); }), 3464);
    conn.Execute("INSERT INTO RV12 (RV120, 隨貨附發票) VALUES ('N1', '12')");
    conn.Execute("INSERT INTO RV12 (RV120, 隨貨附發票) VALUES ('N2', '')");
    EXPECT_EQ(errorOf([&] { conn.Execute("UPDATE RV12 SET RV121 = ? WHERE RV120 = 'N1'", {QString(11, QChar(0x9577))}); }), 3163);
    conn.Execute("UPDATE RV12 SET 隨貨附發票 = '' WHERE RV120 = 'N1'");
    EXPECT_EQ(scalar("Select count(*) From RV12 Where 隨貨附發票 Is Null And RV120 Like 'N%'").toInt(), 2);
    conn.Execute("CREATE TABLE 日 (d DateTime)");
    for (const char* d : {"2026/12/09", "2026-01-05", "2025/12/31 23:59:58", ""})
        conn.Execute("INSERT INTO 日 (d) VALUES (?)", {QString::fromUtf8(d)});
    EXPECT_EQ(scalar("Select count(*) From 日 Where d >= #2026/01/05# And d <= #2026/12/09#").toInt(), 2);
    EXPECT_EQ(scalar("Select Min(d) From 日").toDateTime(), QDateTime(QDate(2025, 12, 31), QTime(23, 59, 58)));
    EXPECT_EQ(scalar("Select count(*) From 日 Where d Is Null").toInt(), 1);
    EXPECT_EQ(errorOf([&] { conn.Execute("Select RV121 From RV12 Where RV121 = 'it's'"); }), 3075);
    EXPECT_EQ(errorOf([&] { conn.Execute("DELETE FROM RV12A; DELETE FROM RV12"); }), 3142);

    // Another program holding the file: locked.
    Connection other;
    other.Open(QStringLiteral("Data Source=") + path);
    other.BeginTrans();
    other.Execute("INSERT INTO RV12 (RV120) VALUES ('Z')");
    EXPECT_EQ(errorOf([&] { conn.Execute("INSERT INTO RV12 (RV120) VALUES ('Y')"); }), 3260);
    other.RollbackTrans();
}

TEST_F(Db, TransactionRollsBackRowsAndSchema)
{
    conn.Execute("INSERT INTO RV12 (RV120, RV121) VALUES ('A001', 'x')");
    conn.BeginTrans();
    EXPECT_EQ(errorOf([&] { conn.BeginTrans(); }), 3003);
    conn.Execute("ALTER TABLE RV12 ADD COLUMN 類別 Text(20), 總序 Long Identity");
    conn.RenameColumn("RV12", "隨貨附發票", "發票狀況");
    conn.SetOrdinalPosition("RV12", "RV120", 9);
    conn.SetDefaultValue("RV12", "RV121", "0");
    Recordset rs;
    rs.Open("Select RV12.* From RV12", conn);
    rs.AddNew();
    rs["RV120"] = "A002";
    rs.Update();
    conn.RollbackTrans();
    QStringList names;
    for (const ColumnInfo& c : conn.Columns("RV12"))
        names << c.name;
    EXPECT_EQ(names, (QStringList{"RV120", "RV121", "RV1213", "隨貨附發票"}));
    EXPECT_EQ(scalar("Select count(*) From RV12").toInt(), 1);
    EXPECT_EQ(conn.Column("RV12", "RV121").defaultValue, "");
    EXPECT_EQ(errorOf([&] { conn.CommitTrans(); }), 3034);
    // The recordset still shows the row the rollback took away; changing it is refused.
    rs.MoveLast();
    rs["RV121"] = "y";
    EXPECT_EQ(errorOf([&] { rs.Update(); }), 3197);
}

TEST_F(Db, TableListHidesTheLayersOwnTables)
{
    EXPECT_EQ(conn.TableNames(), (QStringList{"RV12", "RV12A"}));
    Recordset schema = conn.OpenSchemaTables();
    EXPECT_EQ(schema.RecordCount(), 2);
    EXPECT_EQ(schema["TABLE_NAME"].toString(), "RV12");
    EXPECT_EQ(schema["TABLE_TYPE"].toString(), "TABLE");
    EXPECT_TRUE(conn.TableExists("rv12a"));
    EXPECT_FALSE(conn.TableExists("RV99"));
    EXPECT_TRUE(conn.ColumnExists("rv12", "rv121"));
    EXPECT_FALSE(conn.ColumnExists("RV12", "建檔者"));
    EXPECT_FALSE(conn.ColumnExists("RV99", "RV120"));
}

}  // namespace
