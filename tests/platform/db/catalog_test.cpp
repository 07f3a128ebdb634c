// The column catalogue and the schema changes the start-up upgrade makes.
#include "platform/db/Db.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace db;

namespace {

long errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const DbError& e) {
        return e.Number();
    }
    return 0;
}

struct Catalog : ::testing::Test {
    testsupport::TempDir dir;
    Connection conn;
    void SetUp() override
    {
        const QString path = dir.file(QStringLiteral("t.mdb"));
        Connection::CreateDatabase(path, QStringLiteral("CREATE TABLE RV11 (RV110 Text(10), RV111 Text(10), RV1118 Memo);"));
        conn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    }
    QStringList order(const QString& table)
    {
        QStringList out;
        for (const ColumnInfo& c : conn.Columns(table))
            out << QStringLiteral("%1@%2").arg(c.name).arg(c.ordinal);
        return out;
    }
    QStringList selectStarNames(const QString& table)
    {
        Recordset rs = conn.ExecuteQuery(QStringLiteral("Select * From ") + table);
        QStringList out;
        for (int i = 0; i < rs.FieldCount(); ++i)
            out << rs.FieldName(i);
        return out;
    }
};

TEST_F(Catalog, JetTypeWordsAreKeptWithTheirAdoCodes)
{
    conn.Execute("Create Table 廠商聯絡人 (項次    Integer, 聯絡人  Text(20) Not Null, 部門  Text(20) Null, 性別 nchar(4),"
                 " 備註 Memo, 金額 Currency, 日 Date, 時 DateTime, 比 Double, 旗 YesNo, 位 Bit, 小 Byte, 數 long,"
                 " 總序 Long IDENTITY, 廠商編號 Text(10), 計 Counter)");
    struct Case {
        const char* column;
        const char* jetType;
        int ado;
        int size;
        bool required;
        bool identity;
    } cases[] = {
        {"項次", "Integer", adSmallInt, 0, false, false}, {"聯絡人", "Text", adVarWChar, 20, true, false},
        {"部門", "Text", adVarWChar, 20, false, false},   {"性別", "nchar", adWChar, 4, false, false},
        {"備註", "Memo", adLongVarWChar, 0, false, false}, {"金額", "Currency", adCurrency, 0, false, false},
        {"日", "Date", adDate, 0, false, false},           {"時", "Date", adDate, 0, false, false},
        {"比", "Double", adDouble, 0, false, false},       {"旗", "YesNo", adBoolean, 0, false, false},
        {"位", "YesNo", adBoolean, 0, false, false},       {"小", "Byte", adUnsignedTinyInt, 0, false, false},
        {"數", "Long", adInteger, 0, false, false},        {"總序", "Long", adInteger, 0, false, true},
        {"計", "Long", adInteger, 0, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        const ColumnInfo info = conn.Column("廠商聯絡人", QString::fromUtf8(c.column));
        EXPECT_EQ(info.jetType, c.jetType);
        EXPECT_EQ(info.adoType, c.ado);
        EXPECT_EQ(info.definedSize, c.size);
        EXPECT_EQ(info.required, c.required);
        EXPECT_EQ(info.identity, c.identity);
    }
    EXPECT_EQ(conn.Column("廠商聯絡人", "總序").ordinal, 13);
    EXPECT_EQ(errorOf([&] { conn.Column("廠商聯絡人", "e_mail"); }), 3265);
    EXPECT_EQ(errorOf([&] { conn.Execute("Create Table 廠商聯絡人 (a Text(2))"); }), 3010);
}

TEST_F(Catalog, AddSeveralColumnsAllOrNone)
{
    conn.Execute("ALTER TABLE rv11 ADD COLUMN 付款票期 Text(10),到期日 Integer");
    conn.Execute("ALTER TABLE rv11 ADD COLUMN 印前       Integer  ,製版     Integer  ,貨運     Integer  ");
    EXPECT_EQ(conn.Column("RV11", "到期日").adoType, adSmallInt);
    EXPECT_EQ(conn.Column("RV11", "貨運").ordinal, 7);
    EXPECT_EQ(errorOf([&] { conn.Execute("ALTER TABLE RV11 ADD COLUMN 新欄 Text(5), 付款票期 Integer"); }), 3380);
    EXPECT_FALSE(conn.ColumnExists("RV11", "新欄"));
    EXPECT_EQ(errorOf([&] { conn.Execute("ALTER TABLE RV11 ADD COLUMN 壞欄 Text(5), 另欄 Nonsense"); }), 3259);
    EXPECT_FALSE(conn.ColumnExists("RV11", "壞欄"));
}

TEST_F(Catalog, DropRenameAndCopyKeepTheValues)
{
    conn.Execute("INSERT INTO RV11 (RV110, RV111) VALUES ('001', 'v1')");
    conn.Execute("ALTER TABLE rv11 ADD COLUMN 送貨名稱 Text(25)");
    conn.Execute("UPDATE rv11 SET 送貨名稱 = rv111");
    conn.Execute("ALTER TABLE rv11 DROP COLUMN RV111;");
    conn.RenameColumn("RV11", "RV110", "類別編號");
    EXPECT_EQ(selectStarNames("RV11"), (QStringList{"類別編號", "RV1118", "送貨名稱"}));
    Recordset rs = conn.ExecuteQuery("Select 類別編號, 送貨名稱 From RV11");
    EXPECT_EQ(rs.value(0).toString(), "001");
    EXPECT_EQ(rs.value(1).toString(), "v1");
    EXPECT_EQ(errorOf([&] { conn.DropColumn("RV11", "RV111"); }), 3265);
    EXPECT_EQ(errorOf([&] { conn.RenameColumn("RV11", "RV111", "x"); }), 3265);
    EXPECT_NE(errorOf([&] { conn.Execute("ALTER TABLE RV11 DROP COLUMN e-mail"); }), 0);
}

TEST_F(Catalog, DefaultValueIsARealDefault)
{
    conn.Execute("INSERT INTO RV11 (RV110) VALUES ('001')");
    conn.Execute("ALTER TABLE rv11 ADD COLUMN 印前 Integer, 製版 Integer");
    EXPECT_EQ(conn.Column("RV11", "製版").defaultValue, "");
    conn.SetDefaultValue("RV11", "製版", "0");
    EXPECT_EQ(conn.Column("RV11", "製版").defaultValue, "0");
    conn.Execute("INSERT INTO RV11 (RV110) VALUES ('002')");
    Recordset rs = conn.ExecuteQuery("Select 製版, 印前 From RV11 Where RV110 = '002'");
    EXPECT_EQ(rs.value(0), QVariant(qint64(0)));
    EXPECT_TRUE(rs.value(1).isNull());
    EXPECT_EQ(conn.ExecuteQuery("Select count(*) From RV11").value(0).toInt(), 2);
}

TEST_F(Catalog, OrdinalPositionsKeepGapsAndReorderTheTable)
{
    conn.Execute("Create Table 廠商聯絡人 (項次    Integer, 聯絡人  Text(20) Not Null, 總序 Long IDENTITY, 廠商編號 Text(10))");
    conn.Execute("CREATE UNIQUE INDEX 廠商聯絡人IDX ON 廠商聯絡人(總序) WITH DISALLOW NULL;");
    conn.Execute("INSERT INTO 廠商聯絡人 (聯絡人, 廠商編號) VALUES ('王', 'A-001')");
    conn.SetOrdinalPosition("廠商聯絡人", "總序", 40);
    conn.SetOrdinalPosition("廠商聯絡人", "廠商編號", 41);
    conn.SetOrdinalPosition("廠商聯絡人", "項次", 0);
    EXPECT_EQ(order("廠商聯絡人"), (QStringList{"項次@0", "聯絡人@1", "總序@40", "廠商編號@41"}));
    EXPECT_EQ(selectStarNames("廠商聯絡人"), (QStringList{"項次", "聯絡人", "總序", "廠商編號"}));
    conn.SetOrdinalPosition("廠商聯絡人", "總序", 3);  // order unchanged, number kept
    EXPECT_EQ(conn.Column("廠商聯絡人", "總序").ordinal, 3);
    conn.SetOrdinalPosition("廠商聯絡人", "總序", 0);
    EXPECT_EQ(selectStarNames("廠商聯絡人"), (QStringList{"項次", "總序", "聯絡人", "廠商編號"}));
    // Index, identity and rows survive the rebuilds.
    conn.Execute("INSERT INTO 廠商聯絡人 (聯絡人, 廠商編號) VALUES ('李', 'A-001')");
    EXPECT_EQ(conn.ExecuteQuery("Select Max(總序) From 廠商聯絡人").value(0).toInt(), 2);
    EXPECT_EQ(errorOf([&] { conn.Execute("INSERT INTO 廠商聯絡人 (總序, 聯絡人) VALUES (1, 'x')"); }), 3022);
    EXPECT_EQ(errorOf([&] { conn.Execute("INSERT INTO 廠商聯絡人 (廠商編號) VALUES ('x')"); }), 3314);
}

TEST_F(Catalog, AllowZeroLengthIsRecordedNotEnforced)
{
    EXPECT_FALSE(conn.AllowZeroLength("RV11", "RV110"));
    conn.Execute("INSERT INTO RV11 (RV110, RV1118) VALUES ('', '')");
    conn.SetAllowZeroLength("rv11", "rv1118", true);
    EXPECT_TRUE(conn.AllowZeroLength("RV11", "RV1118"));
    EXPECT_FALSE(conn.AllowZeroLength("RV11", "RV110"));
}

}  // namespace
