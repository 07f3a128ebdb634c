// The column catalogue and the schema changes the start-up upgrade makes.
#include "DbTestUtil.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace db;

namespace {

using dbtest::errorOf;

struct Catalog : dbtest::DatabaseFile {
    void SetUp() override
    {
        CreateAndOpen(QStringLiteral("CREATE TABLE RV11 (RV110 Text(10), RV111 Text(10), RV1118 Memo);"));
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
        int fieldSize;  // DefinedSize of the recordset's field, as ADO gives it
    } cases[] = {
        {"項次", "Integer", adSmallInt, 0, false, false, 2}, {"聯絡人", "Text", adVarWChar, 20, true, false, 20},
        {"部門", "Text", adVarWChar, 20, false, false, 20},   {"性別", "nchar", adWChar, 4, false, false, 4},
        {"備註", "Memo", adLongVarWChar, 0, false, false, 536870910}, {"金額", "Currency", adCurrency, 0, false, false, 8},
        {"日", "Date", adDate, 0, false, false, 8},           {"時", "Date", adDate, 0, false, false, 8},
        {"比", "Double", adDouble, 0, false, false, 8},       {"旗", "YesNo", adBoolean, 0, false, false, 2},
        {"位", "YesNo", adBoolean, 0, false, false, 2},       {"小", "Byte", adUnsignedTinyInt, 0, false, false, 1},
        {"數", "Long", adInteger, 0, false, false, 4},        {"總序", "Long", adInteger, 0, false, true, 4},
        {"計", "Long", adInteger, 0, false, true, 4},
    };
    Recordset rs = conn.ExecuteQuery("Select * From 廠商聯絡人");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        const ColumnInfo info = conn.Column("廠商聯絡人", QString::fromUtf8(c.column));
        EXPECT_EQ(info.jetType, c.jetType);
        EXPECT_EQ(info.adoType, c.ado);
        EXPECT_EQ(info.definedSize, c.size);
        EXPECT_EQ(info.required, c.required);
        EXPECT_EQ(info.identity, c.identity);
        EXPECT_EQ(rs.field(QString::fromUtf8(c.column)).DefinedSize(), c.fieldSize);
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
    // A column another connection adds is seen with its type.
    Connection other;
    other.Open(QStringLiteral("Data Source=") + conn.DataSource());
    other.Execute("ALTER TABLE RV11 ADD COLUMN 結帳日 Integer;");
    EXPECT_EQ(conn.Column("RV11", "結帳日").adoType, adSmallInt);
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
    conn.Execute("CREATE INDEX RV11名稱 ON RV11 (送貨名稱)");
    EXPECT_EQ(errorOf([&] { conn.DropColumn("RV11", "送貨名稱"); }), 3280);
    EXPECT_TRUE(conn.ColumnExists("RV11", "送貨名稱"));
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

namespace {

QString baseSchema()
{
    QFile f(QStringLiteral(TESS_SOURCE_DIR "/resources/schema/base_tables.sql"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromUtf8(f.readAll());
}

// The upgrade's statements as the start-up check sends them, on the shipped base tables.
TEST(CatalogUpgrade, StartUpStatementsRunOnTheBaseTables)
{
    testsupport::TempDir dir;
    const QString path = dir.file(QStringLiteral("Tessarine.mdb"));
    Connection::CreateDatabase(path, baseSchema());
    Connection conn;
    conn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    conn.Execute("INSERT INTO  RV12A (RV12A0,rv12a1,RV12A2,RV12A3)  VALUES ('00001', '王', '經理', '12')");
    conn.Execute("INSERT INTO RV12 (RV120, RV122, 隨貨附發票) VALUES ('000001', '大同股份有限公司', 1)");
    conn.BeginTrans();
    const char* statements[] = {
        "ALTER TABLE RV18A ADD COLUMN 性別 nchar(4);",
        "ALTER TABLE RV17A  ADD COLUMN 就職狀況 Text(10) ;",
        "ALTER TABLE RV17A  ADD COLUMN 勞保投保日 Date ;",
        "ALTER TABLE RV17A  ADD COLUMN 身家紀錄 Memo ;",
        "ALTER TABLE RV17A  ADD COLUMN 基本薪資 Currency ;",
        "ALTER TABLE RV17A  ADD COLUMN AddInsuranceDate DateTime ;",
        "ALTER TABLE RV17a ADD COLUMN 總序 Long Identity ;",
        "ALTER TABLE rv17A ADD COLUMN EnglishName text(40)",
        "Update RV17a SET EnglishName = RV17a3",
        "ALTER TABLE rv17a DROP COLUMN rv17a3",
        "ALTER TABLE rv12B ADD COLUMN 送貨名稱 Text(25)",
        "UPDATE rv12B SET 送貨名稱 = rv12B1",
        "ALTER TABLE rv12B DROP COLUMN RV12B1;",
        "ALTER TABLE RV12B ADD COLUMN 序號 Long Identity ;",
        "ALTER TABLE rv12 ADD COLUMN 付款條件方式  Text(20)",
        "ALTER TABLE rv12 ADD COLUMN 客戶全銜 text(50)",
        "Update RV12 SET 客戶全銜 = RV122",
        "ALTER TABLE rv12 DROP COLUMN rv122",
        "ALTER TABLE rv12A ADD COLUMN 備註 Memo",
        "Update RV12A SET 備註 = RV12A7",
        "ALTER TABLE rv12A DROP COLUMN rv12A7",
        "ALTER TABLE RV12 ADD COLUMN 建檔日 long;",
        "ALTER TABLE RV12A ADD COLUMN 序號 Long Identity ;",
        "ALTER TABLE RV12 ADD COLUMN 總序 Long Identity ;",
        "ALTER TABLE RV18A ADD COLUMN 類別 Text(15) ;",
        "ALTER TABLE rv18A DROP COLUMN rv18A0",
        "ALTER TABLE RV11 ADD COLUMN 最後交易日 DateTime;",
        "ALTER TABLE rv11 ADD COLUMN 付款票期 Text(10),到期日 Integer",
        "ALTER TABLE rv11 ADD COLUMN 印前       Integer  ,製版     Integer  ,貨運     Integer  ",
        "ALTER TABLE RV11 ADD COLUMN 建檔者 text(10);",
        "Create Table 廠商聯絡人 (項次    Integer, 聯絡人  Text(20) Not Null, 部門  Text(20) Null, 總序 Long IDENTITY, 廠商編號 Text(10))",
        "CREATE UNIQUE INDEX 廠商聯絡人IDX ON 廠商聯絡人(總序) WITH DISALLOW NULL;",
        "ALTER TABLE 廠商聯絡人 ADD COLUMN e_mail text(50)",
        "ALTER TABLE 會員管理 ADD COLUMN 生日_年 Text(4), 月日 Text(4) ;",
    };
    conn.Execute("CREATE TABLE 會員管理 (會員編號 Text(15), 總序 Long Identity, 備註 Memo, 建檔日期 Long)");
    for (const char* s : statements) {
        SCOPED_TRACE(s);
        EXPECT_NO_THROW(conn.Execute(QString::fromUtf8(s)));
    }
    conn.RenameColumn("Rv12", "隨貨附發票", "發票狀況");
    conn.CommitTrans();
    Recordset rs = conn.ExecuteQuery("Select RV12.* From RV12");
    EXPECT_EQ(rs["客戶全銜"].toString(), "大同股份有限公司");
    EXPECT_EQ(rs["發票狀況"].value(), QVariant(qint64(1)));
    EXPECT_EQ(rs["總序"].value(), QVariant(qint64(1)));
    EXPECT_EQ(conn.ExecuteQuery("Select 序號, 備註 From RV12A").value(0), QVariant(qint64(1)));
    EXPECT_FALSE(conn.ColumnExists("RV12", "RV122"));
    EXPECT_FALSE(conn.ColumnExists("廠商聯絡人", "e-mail"));
    EXPECT_TRUE(conn.TableExists("廠商聯絡人"));
    EXPECT_EQ(conn.Column("RV17A", "基本薪資").adoType, adCurrency);
}

}  // namespace
