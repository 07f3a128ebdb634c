// The start-up schema passes on a real database file: a new database built from the base
// script, an old layout holding rows, a second start, and a statement failing inside a pass.
#include "core/Globals.h"
#include "core/schema/SchemaCheck.h"
#include "core/numbering/Numbering.h"
#include "core/schema/SchemaToolkit.h"
#include "support/StatementSteps.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QCryptographicHash>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

namespace {

QString BaseTablesScript()
{
    QFile f(QStringLiteral(":/schema/base_tables.sql"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// The layout the record windows use, after the upgrade.  "Long Identity" marks an auto-number.
const QMap<QString, QString> kUpgradedLayout = {
    {"RV1", "RV10 Text(4), RV11 Text(10), RV12 Text(20), 總序 Long Identity"},
    {"RV11",
     "RV110 Text(10), RV111 Text(10), RV112 Text(10), RV113 Text(50), RV114 Text(20), RV115 Text(10), "
     "RV116 Text(50), RV117 Text(10), RV118 Text(10), RV119 Text(15), RV1110 Text(15), RV1111 Text(50), "
     "RV1112 Text(50), RV1113 Text(30), RV1114 Text(30), RV1115 Text(8), RV1116 Text(50), RV1117 Text(50), "
     "RV1118 Memo, 結帳日 Integer, 最後交易日 Date, 廠商狀況 Text(10), 總序 Long Identity, 付款票期 Text(10), "
     "到期日 Integer, 印前 Integer, 製版 Integer, 紙行 Integer, 印刷 Integer, 上光 Integer, 刀模 Integer, "
     "裱紙 Integer, 軋型 Integer, 貼糊 Integer, 裝裁 Integer, 其他 Integer, 貨運 Integer, 建檔者 Text(10), "
     "建檔日期 Long, 修改者 Text(10), 修改日期 Long"},
    {"RV12",
     "RV120 Text(14), RV121 Text(10), RV123 Text(30), RV124 Text(30), RV125 Text(10), RV126 Text(20), "
     "RV127 Text(10), RV128 Text(50), RV129 Text(50), RV1210 Text(10), RV1211 Text(10), RV1212 Text(10), "
     "RV1213 Memo, RV1214 Text(3), RV1217 Text(50), 發票狀況 Integer, 發票對象 Text(10), 建檔日期 Text(10), "
     "類別 Text(20), 級別 Text(20), 付款條件方式 Text(20), 付款條件日 Integer, 帳戶別 Text(20), "
     "客戶全銜 Text(50), 建檔者 Text(10), 建檔日 Long, 修改者 Text(10), 修改日期 Long, 總序 Long Identity"},
    {"RV12A",
     "RV12A0 Text(14), RV12A1 Text(16), RV12A2 Text(10), RV12A3 Text(10), RV12A4 Text(10), RV12A5 Text(12), "
     "RV12A6 Text(50), 稱謂 Text(10), 備註 Memo, 序號 Long Identity"},
    {"RV12B",
     "RV12B0 Text(14), RV12B2 Text(10), RV12B3 Text(15), RV12B4 Text(15), RV12B5 Text(50), RV12B6 Text(20), "
     "送貨名稱 Text(25), 序號 Long Identity"},
    {"RV17", "RV170 Text(4), RV171 Text(10), 總序 Long Identity"},
    {"RV17A",
     "RV17A0 Text(14), RV17A1 Text(10), RV17A2 Text(10), RV17A4 Text(10), RV17A5 Text(50), RV17A6 Text(14), "
     "RV17A7 Text(20), RV17A8 Text(10), RV17A9 Text(30), RV17A10 Text(30), RV17A11 Text(30), "
     "RV17A12 Text(10), RV17A13 Text(10), RV17A14 Text(50), RV17A15 Text(255), RV17A16 Text(255), "
     "RV17A17 Memo, chk0 Integer, 就職狀況 Text(10), 婚姻狀況 Text(10), 血型 Text(10), 介紹人 Text(10), "
     "保證人 Text(10), 保人身分證 Text(15), 勞保投保日 Date, 健保投保日 Date, 學歷 Text(50), 經歷 Text(50), "
     "身家紀錄 Memo, 基本薪資 Currency, 職務津貼 Currency, 勞保金額 Currency, 健保金額 Currency, "
     "眷口人數 Integer, 扶養人數 Integer, 轉帳帳號 Text(15), AddInsuranceDate Date, EmployeePart Text(10), "
     "建檔日期 Date, 總序 Long Identity, EnglishName Text(40)"},
    {"RV18", "RV180 Text(10), RV181 Text(20), 總序 Long Identity"},
    {"RV18A",
     "RV18A1 Text(10), RV18A2 Text(8), RV18A3 Text(25), RV18A4 Text(10), RV18A6 Text(50), RV18A7 Text(20), "
     "RV18A8 Text(10), RV18A9 Text(30), RV18A10 Text(30), RV18A11 Text(30), RV18A12 Text(30), "
     "RV18A13 Text(30), RV18Ahttp Text(50), RV18A14 Memo, RV18A15 Text(50), RV18A16 Text(50), "
     "RV18A17 Text(255), 性別 nchar(4), 總序 Long Identity, 類別 Text(15)"},
    {"廠商聯絡人",
     "項次 Integer, 聯絡人 Text(20), 部門 Text(20), 職銜 Text(20), 分機 Text(20), 電話 Text(50), "
     "行動電話 Text(50), e_mail Text(50), 備註 Text(50), 總序 Long Identity, 廠商編號 Text(10)"},
    {"會員管理",
     "會員編號 Text(15), 類別 Text(20), 中文姓名 Text(30), 英文姓名 Text(30), 生日_年 Text(4), 月日 Text(4), "
     "性別 Text(10), 關係 Text(15), 身分證號 Text(20), 聯絡電話 Text(50), 行動電話 Text(50), "
     "公司名稱 Text(50), 公司電話 Text(50), 公司傳真 Text(50), 戶籍住址 Text(50), 通訊地址 Text(50), "
     "Skype Text(50), Msn Text(50), 即時通 Text(50), 電子信箱 Text(50), 累積點數 Long, 總序 Long Identity, "
     "備註 Memo, 建檔者 Text(10), 建檔日期 Long, 修改者 Text(10), 修改日期 Long"},
};

// "name Type(n)" as the catalogue reports a column, identity marked.
QString Describe(const db::ColumnInfo& c)
{
    QString type = c.jetType;
    if (c.definedSize > 0)
        type += QStringLiteral("(%1)").arg(c.definedSize);
    if (c.identity)
        type += QStringLiteral(" Identity");
    return c.name + QLatin1Char(' ') + type;
}

class SchemaCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = dir_.file(QStringLiteral("Tessarine.mdb"));
        const QString script = BaseTablesScript();
        ASSERT_FALSE(script.isEmpty());
        db::Connection::CreateDatabase(path_, script);
        Open();
    }
    void TearDown() override
    {
        if (gConn.IsOpen())
            gConn.Close();
    }

    void Open() { gConn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path_); }

    // The file's bytes with the connection closed, so nothing is left pending.
    QByteArray FileDigest()
    {
        gConn.Close();
        QFile f(path_);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray digest = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
        Open();
        return digest;
    }

    // Start-up's three calls.
    void StartUp()
    {
        const SchemaProgress record = [this](const QString& t) { progress_ << t; };
        checkfilever(record);
        CheckFactoryTables(record);
        CheckMemberTable(record);
    }

    QVariant Scalar(const QString& sql)
    {
        db::Recordset rs = gConn.ExecuteQuery(sql);
        return rs.Eof() ? QVariant() : rs.value(0);
    }
    long Count(const QString& table) { return Scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toLongLong(); }

    QStringList Layout(const QString& table)
    {
        QStringList out;
        for (const db::ColumnInfo& c : gConn.Columns(table))
            out << Describe(c);
        return out;
    }

    testsupport::TempDir dir_;
    QString path_;
    QStringList progress_;
};

TEST_F(SchemaCheck, LookupsReadOneRecordThroughTheIndexesAndStayCaseBlind)
{
    StartUp();
    gConn.BeginTrans();
    for (int i = 1; i <= 3000; ++i) {
        gConn.Execute("INSERT INTO RV12 (RV120, RV121) VALUES (?, ?)",
                      {QString::number(i).rightJustified(6, u'0'), QStringLiteral("Name%1").arg(i)});
        gConn.Execute("INSERT INTO RV18A (RV18A1, RV18A2) VALUES (?, ?)",
                      {QStringLiteral("P%1").arg(i), QStringLiteral("Name%1").arg(i)});
    }
    gConn.CommitTrans();

    testsupport::ScriptedResponder user;
    // Each lookup among 3,000 rows: a scan of the table would take tens of thousands of steps.
    const auto cheap = [](const std::function<void()>& work) {
        testsupport::StatementSteps steps(gConn);
        work();
        return steps.steps() < 1500;
    };
    // The short name found whatever its letter case, as Jet compared texts.
    user.answer(ui::Answer::OK);
    EXPECT_TRUE(cheap([] { EXPECT_TRUE(CheckDuplicate(QString(), "rv12", "RV121", "NAME2999", 0)); }));
    EXPECT_TRUE(cheap([] { EXPECT_FALSE(CheckDuplicate(QString(), "rv12", "RV121", "Name2999", 2999)); }));
    EXPECT_TRUE(cheap([] { EXPECT_FALSE(CheckDuplicate(QString(), "rv12", "RV121", "Name3001", 0)); }));
    user.answer(ui::Answer::OK);
    EXPECT_TRUE(cheap([] { EXPECT_TRUE(CheckNoDuplicate(QString(), "RV18A", "RV18A1", "p17", 0)); }));
    EXPECT_EQ(user.texts(), QStringList({"RV121重複: NAME2999", "編號重複p17"}));
    EXPECT_TRUE(cheap([] { EXPECT_EQ(GetCustomerNewNo(), "03001"); }));
    EXPECT_TRUE(cheap([] { EXPECT_EQ(GetNextCode(gConn, "RV18A", "RV18A1"), "P3001"); }));
}

TEST_F(SchemaCheck, NewDatabaseComesUpToTheRecordWindowsLayout)
{
    StartUp();  // the strict responder fails the test on any message box

    for (auto it = kUpgradedLayout.cbegin(); it != kUpgradedLayout.cend(); ++it) {
        QStringList expected = it.value().split(QStringLiteral(", "));
        QStringList actual = Layout(it.key());
        if (it.key().startsWith(QStringLiteral("RV"))) {  // base tables: as a set; created ones: in order
            expected.sort();
            actual.sort();
        }
        EXPECT_EQ(actual, expected) << qPrintable(it.key());
    }
    EXPECT_EQ(GetFieldOrdinal(gConn, "廠商聯絡人", "總序"), 40);
    EXPECT_EQ(GetFieldOrdinal(gConn, "廠商聯絡人", "廠商編號"), 41);
    EXPECT_EQ(GetFieldOrdinal(gConn, "會員管理", "總序"), 32);
    EXPECT_EQ(GetFieldOrdinal(gConn, "會員管理", "修改日期"), 44);
    for (const char* flag : {"印前", "製版", "貨運"})
        EXPECT_EQ(GetFieldDefault(gConn, "RV11", QString::fromUtf8(flag)), "0") << flag;
    // The detail tables are read by their owner's code and written back by their key.
    for (const char* index : {"RV12A_RV12A0", "RV12A_序號", "RV12B_RV12B0", "RV12B_序號", "廠商聯絡人_廠商編號"})
        EXPECT_TRUE(gConn.IndexExists(QString::fromUtf8(index))) << index;

    // Every lookup a window makes per action, and every code numbered on an add.
    for (const char* index : {"RV12_RV121", "RV12_類別", "RV11_RV110", "RV11_RV111", "RV11_RV112", "RV17A_RV17A0", "RV17A_RV17A1",
                              "RV18A_RV18A1", "RV18A_RV18A2", "RV18A_類別", "RV12_RV120_CodeOrder", "RV18A_RV18A1_CodeOrder", "RV17_RV170_CodeOrder",
                              "RV1_RV10_CodeOrder"})
        EXPECT_TRUE(gConn.IndexExists(QString::fromUtf8(index))) << index;

    EXPECT_EQ(Count("RV12"), 0);
    EXPECT_EQ(Count("RV12A"), 4);
    EXPECT_EQ(Count("RV12B"), 4);
    EXPECT_EQ(Count("RV1") + Count("RV17") + Count("RV11") + Count("會員管理"), 0);

    EXPECT_EQ(progress_, QStringList({"檢查資料庫,員工管理...", "檢查資料庫格式,員工資料檔..", "檢查資料庫,客戶管理...",
                                      "檢查資料庫,客戶資料...", "檢查資料庫,廠商預設資料...", "檢查資料庫,廠商管理...",
                                      "檢查資料庫,廠商管理...", "檢查資料庫,會員管理資料..."}));
}

TEST_F(SchemaCheck, CodesAreUniqueWithoutLetterCase)
{
    StartUp();
    const struct {
        const char* first;
        const char* duplicate;
    } cases[] = {
        {"INSERT INTO RV12 (RV120, RV121) VALUES ('A0001', 'x')", "INSERT INTO RV12 (RV120, RV121) VALUES ('A0001', 'y')"},
        {"INSERT INTO RV12 (RV120, RV121) VALUES ('B0001', 'x')", "INSERT INTO RV12 (RV120, RV121) VALUES ('b0001', 'y')"},
        {"INSERT INTO 會員管理 (會員編號) VALUES ('M1')", "INSERT INTO 會員管理 (會員編號) VALUES ('m1')"},
    };
    for (const auto& c : cases) {
        gConn.Execute(QString::fromUtf8(c.first));
        try {
            gConn.Execute(QString::fromUtf8(c.duplicate));
            ADD_FAILURE() << "accepted: " << c.duplicate;
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.Number(), 3022) << c.duplicate;
        }
    }
}

TEST_F(SchemaCheck, SecondStartChangesNothing)
{
    StartUp();
    const QByteArray before = FileDigest();
    const QStringList tables = gConn.TableNames();
    StartUp();
    EXPECT_EQ(gConn.TableNames(), tables);
    EXPECT_EQ(FileDigest(), before);
}

TEST_F(SchemaCheck, OldLayoutKeepsItsRowsAndValues)
{
    for (int n : {0, 7, 44})
        gConn.Execute(QStringLiteral("ALTER TABLE RV17A ADD COLUMN popedem%1 Text(10)").arg(n));
    gConn.Execute("INSERT INTO RV12 (RV120, RV121, RV122, 隨貨附發票) VALUES ('000001', '甲', '甲公司股份有限公司', 2)");
    gConn.Execute("INSERT INTO RV12 (RV120, RV121, RV122, 隨貨附發票) VALUES ('000002', '乙', '乙有限公司', 4)");
    gConn.Execute("INSERT INTO RV12A (RV12A0, RV12A1, RV12A7) VALUES ('000001', '王小明', '週一休')");
    gConn.Execute("INSERT INTO RV12A (RV12A0, RV12A1, RV12A7) VALUES ('000001', '李四', '')");
    gConn.Execute("INSERT INTO RV12B (RV12B0, RV12B1, RV12B2) VALUES ('000002', '乙倉庫', '趙六')");
    gConn.Execute("INSERT INTO RV17A (RV17A0, RV17A1, RV17A2, RV17A3, popedem7) VALUES ('001', '001-001', '陳一', 'Chen', 'x')");
    gConn.Execute("INSERT INTO RV17A (RV17A0, RV17A1, RV17A2, RV17A3) VALUES ('001', '001-002', '陳二', 'Tan')");
    // Personal contacts by category code: a known code, a code no category has, a category
    // without a name, a name longer than the new column, and no code at all.
    gConn.Execute("INSERT INTO RV18 (RV180, RV181) VALUES ('01', '朋友')");
    gConn.Execute("INSERT INTO RV18 (RV180, RV181) VALUES ('03', '')");
    gConn.Execute("INSERT INTO RV18 (RV180, RV181) VALUES ('04', '一二三四五六七八九十甲乙丙丁戊己庚')");
    for (const char* row : {"'01', '001'", "'02', '002'", "'03', '003'", "'04', '004'", "NULL, '005'"})
        gConn.Execute(QStringLiteral("INSERT INTO RV18A (RV18A0, RV18A1, RV18A2) VALUES (%1, '好友')").arg(row));

    StartUp();

    const struct {
        const char* sql;
        QVariant expected;
    } values[] = {
        {"SELECT 客戶全銜 FROM RV12 WHERE RV120 = '000001'", "甲公司股份有限公司"},
        {"SELECT 發票狀況 FROM RV12 WHERE RV120 = '000002'", 4},
        {"SELECT 備註 FROM RV12A WHERE RV12A1 = '王小明'", "週一休"},
        {"SELECT 備註 FROM RV12A WHERE RV12A1 = '李四'", ""},
        {"SELECT 送貨名稱 FROM RV12B WHERE RV12B0 = '000002'", "乙倉庫"},
        {"SELECT EnglishName FROM RV17A WHERE RV17A1 = '001-002'", "Tan"},
        {"SELECT 類別 FROM RV18A WHERE RV18A1 = '001'", "朋友"},
        {"SELECT 類別 FROM RV18A WHERE RV18A1 = '002'", "02"},
        {"SELECT 類別 FROM RV18A WHERE RV18A1 = '003'", "03"},
        {"SELECT 類別 FROM RV18A WHERE RV18A1 = '004'", "一二三四五六七八九十甲乙丙丁戊"},
        {"SELECT COUNT(*) FROM RV18A WHERE RV18A1 = '005' AND 類別 IS NULL", 1},
        // identity columns number the rows that were there before
        {"SELECT COUNT(DISTINCT 總序) FROM RV12 WHERE 總序 IS NOT NULL", 2},
        {"SELECT COUNT(DISTINCT 序號) FROM RV12A WHERE 序號 IS NOT NULL", 2},
        {"SELECT COUNT(DISTINCT 序號) FROM RV12B WHERE 序號 IS NOT NULL", 1},
        {"SELECT COUNT(DISTINCT 總序) FROM RV17A WHERE 總序 IS NOT NULL", 2},
        {"SELECT COUNT(DISTINCT 總序) FROM RV18A WHERE 總序 IS NOT NULL", 5},
        // the customer table holds rows: no sample rows anywhere
        {"SELECT COUNT(*) FROM RV12A", 2},
        {"SELECT COUNT(*) FROM RV12B", 1},
    };
    for (const auto& v : values)
        EXPECT_EQ(Scalar(QString::fromUtf8(v.sql)).toString(), v.expected.toString()) << v.sql;

    EXPECT_TRUE(gConn.IndexExists("RV12A_RV12A0"));
    EXPECT_TRUE(gConn.IndexExists("RV12B_序號"));
    for (const char* gone : {"popedem0", "popedem7", "popedem44", "RV17A3"})
        EXPECT_FALSE(FieldExists("RV17A", QString::fromUtf8(gone), gConn)) << gone;
    EXPECT_FALSE(FieldExists("RV12", "隨貨附發票", gConn));
    EXPECT_FALSE(FieldExists("RV12", "RV122", gConn));

    // A new row after the upgrade gets a serial of its own.
    gConn.Execute("INSERT INTO RV12 (RV120, RV121) VALUES ('000003', '丙')");
    EXPECT_EQ(Scalar("SELECT COUNT(DISTINCT 總序) FROM RV12").toInt(), 3);
}

TEST_F(SchemaCheck, SampleRowsOnlyIntoAnEmptyCustomerDatabase)
{
    checkfilever();  // the layout first; its sample rows are removed again below
    const struct {
        int customers, contacts, deliveries;
        int contactsAfter, deliveriesAfter;
    } cases[] = {
        {0, 0, 0, 4, 4},
        {0, 1, 0, 1, 4},
        {0, 0, 1, 4, 1},
        {1, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        for (const char* t : {"RV12", "RV12A", "RV12B"})
            gConn.Execute(QStringLiteral("DELETE FROM ") + t);
        if (c.customers)
            gConn.Execute("INSERT INTO RV12 (RV120, RV121) VALUES ('000009', '丁')");
        if (c.contacts)
            gConn.Execute("INSERT INTO RV12A (RV12A0, RV12A1) VALUES ('000009', '某')");
        if (c.deliveries)
            gConn.Execute("INSERT INTO RV12B (RV12B0, 送貨名稱) VALUES ('000009', '某處')");

        CheckFactoryType();

        const QString at = QStringLiteral("case %1/%2/%3").arg(c.customers).arg(c.contacts).arg(c.deliveries);
        EXPECT_EQ(Count("RV12"), c.customers) << qPrintable(at);
        EXPECT_EQ(Count("RV12A"), c.contactsAfter) << qPrintable(at);
        EXPECT_EQ(Count("RV12B"), c.deliveriesAfter) << qPrintable(at);
    }
    EXPECT_EQ(Count("RV12A WHERE RV12A0 = '00001'"), 0);  // last case left no sample rows
}

TEST_F(SchemaCheck, InvoiceColumnRenamedOnlyWhenTheNewNameIsFree)
{
    gConn.Execute("INSERT INTO RV12 (RV120, 隨貨附發票) VALUES ('000001', 3)");
    checkfilever();
    EXPECT_FALSE(FieldExists("RV12", "隨貨附發票", gConn));
    EXPECT_EQ(Scalar("SELECT 發票狀況 FROM RV12").toInt(), 3);

    gConn.Execute("ALTER TABLE RV12 ADD COLUMN 隨貨附發票 Integer");
    checkfilever();
    EXPECT_TRUE(FieldExists("RV12", "隨貨附發票", gConn));
    EXPECT_TRUE(FieldExists("RV12", "發票狀況", gConn));
}

// A statement refused in the middle of a pass: the pass's changes are all undone, its own
// message is shown, and the passes after it still run.
TEST_F(SchemaCheck, FailingStatementRollsThePassBack)
{
    struct Case {
        const char* name;
        std::function<void()> prepare;  // makes one statement of the pass fail
        std::function<void()> run;
        QString tail;                   // what the message ends with
        std::function<void()> check;    // nothing of the pass is left
    };
    const QString notUpgraded = QStringLiteral(",資料庫並未升級\r\n檢查是否所有使用者都已退出.包括螢幕右下角的快速搜尋程式\r\n");
    const Case cases[] = {
        {"checkfilever: copy from a missing column",
         [] {
             gConn.Execute("ALTER TABLE RV17A ADD COLUMN popedem3 Text(10)");
             gConn.Execute("ALTER TABLE RV17A DROP COLUMN RV17A3");
         },
         [] { checkfilever(); }, notUpgraded + QStringLiteral("位置: checkfilever"),
         [] {
             EXPECT_TRUE(FieldExists("RV17A", "popedem3", gConn));
             EXPECT_FALSE(FieldExists("RV17A", "就職狀況", gConn));
             EXPECT_FALSE(FieldExists("RV17A", "EnglishName", gConn));
             EXPECT_FALSE(FieldExists("RV18A", "性別", gConn));
             EXPECT_FALSE(TableExists(gConn, "廠商聯絡人"));  // the passes it calls did not run
         }},
        {"CheckFactoryTables: vendor block",
         [] { gConn.Execute("ALTER TABLE RV11 ADD COLUMN 到期日 Integer"); },
         [] { CheckFactoryTables(); }, notUpgraded + QStringLiteral("發生模組在廠商資料檢查"),
         [] {
             EXPECT_TRUE(TableExists(gConn, "廠商聯絡人"));  // its own block committed before
             EXPECT_FALSE(FieldExists("RV11", "廠商狀況", gConn));
             EXPECT_FALSE(FieldExists("RV11", "總序", gConn));
             EXPECT_FALSE(FieldExists("RV11", "印前", gConn));
             EXPECT_FALSE(FieldExists("RV11", "建檔者", gConn));
         }},
        {"CheckMemberTable: index name taken",
         [] { gConn.Execute("CREATE INDEX 會員管理Idx ON RV1 (RV10)"); },
         [] { CheckMemberTable(); }, QStringLiteral("\r\n模組 會員資料"),
         [] { EXPECT_FALSE(TableExists(gConn, "會員管理")); }},
        {"CheckFactoryType: delivery table not upgraded",
         [] {}, [] { CheckFactoryType(); }, QStringLiteral(", 資料庫並未改變\r\n位置: CheckFactoryType"),
         [this] { EXPECT_EQ(Count("RV12A"), 0); }},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        QFile::remove(path_);
        SetUp();
        c.prepare();
        testsupport::ScriptedResponder user;
        user.answer(ui::Answer::OK);
        c.run();
        ASSERT_EQ(user.messages.size(), 1u);
        EXPECT_TRUE(user.last().text.endsWith(c.tail)) << qPrintable(user.last().text);
        EXPECT_GT(user.last().text.size(), c.tail.size());  // the error's own description first
        EXPECT_EQ(user.last().buttons, ui::Buttons::OK);
        EXPECT_FALSE(gConn.InTransaction());
        c.check();
    }
}

// After a failed upgrade start-up goes on, and the next start finishes the work.
TEST_F(SchemaCheck, NextStartRecoversFromAFailedUpgrade)
{
    gConn.Execute("CREATE INDEX 會員管理Idx ON RV1 (RV10)");
    {
        testsupport::ScriptedResponder user;
        user.answer(ui::Answer::OK);
        StartUp();
        EXPECT_EQ(user.texts().size(), 1);
    }
    EXPECT_TRUE(FieldExists("RV11", "印前", gConn));  // the vendor pass still ran
    gConn.Execute("DROP INDEX 會員管理Idx ON RV1");
    StartUp();
    EXPECT_EQ(Layout("會員管理").join(", "), kUpgradedLayout.value("會員管理"));
}

}  // namespace
