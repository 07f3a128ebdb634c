// The customer save and delete without the window: the checks, the detail statements and the
// one transaction, against a real database file.
#include "core/Globals.h"
#include "customers/CustomerEntryRules.h"
#include "customers/CustomerSave.h"
#include "platform/db/Db.h"
#include "support/CustomerDb.h"

#include <gtest/gtest.h>

namespace {

class SaveDb : public testsupport::CustomerDb {
protected:
    static QStringList contacts()
    {
        return rows(QStringLiteral("Select RV12A0, RV12A1, 稱謂, RV12A2, RV12A3, RV12A4, RV12A5, RV12A6, 備註 "
                                   "From RV12A Order By 序號"));
    }
    static QStringList deliveries()
    {
        return rows(QStringLiteral("Select RV12B0, 送貨名稱, RV12B2, RV12B3, RV12B4, RV12B5, RV12B6 From RV12B Order By 序號"));
    }
    static QString keyOf(const QString& table, const QString& nameColumn, const QString& name)
    {
        db::Recordset rs = gConn.ExecuteQuery(
            QStringLiteral("Select 序號 From %1 Where %2 = ?").arg(table, nameColumn), {name});
        return rs.Eof() ? QString() : rs.value(0).toString();
    }
};

}  // namespace

TEST(CustomerSaveChecks, MissingFieldsInOneMessageInBoxOrder)
{
    gLangOffset = 0;
    const struct {
        QMap<int, QString> texts;
        QString message;
    } cases[] = {
        {{}, "客戶代號必須輸入\r\n客戶簡稱必須輸入\r\n客戶全銜必須輸入\r\n客戶電話必須輸入\r\n負責的業務必須輸入\r\n"},
        {{{0, "000001"}, {1, "  "}, {2, "大同股份有限公司"}, {3, "02"}, {10, "王"}}, "客戶簡稱必須輸入\r\n"},
        {{{0, "000001"}, {1, "大同"}, {2, "大同股份有限公司"}, {3, "02"}, {10, "王"}}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MissingFieldsMessage([&](int box) { return c.texts.value(box); }), c.message);
}

TEST(CustomerSaveChecks, WidthsCountChineseAsTwoBytesInBoxesZeroToTwelve)
{
    gLangOffset = 0;
    const struct {
        int box;
        QString text;
        int tooWide;
    } cases[] = {
        {1, "大同電子股份", 1},        // six Chinese characters: 12 bytes of 10
        {1, "大同電子股", -1},         // 10 bytes
        {0, "ABCDEFGHIJKLMNO", 0},     // 15 of 14
        {12, "12345678901", 12},
        {13, "潛在新客戶潛在新客戶潛在", -1},  // boxes past 12 are not measured here
        {16, QString(300, QChar(0x5927)), -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstTooWideBox([&](int box) { return box == c.box ? c.text : QString(); }), c.tooWide) << c.box;
    EXPECT_EQ(TooWideMessage(10), QStringLiteral("'欄位資料過長,請不要超過10個字元(一個中文字算2個字元)"));
    EXPECT_EQ(SaveWidthTitle(), QStringLiteral("取消存檔"));
}

// A first save inserts the named rows; a second one updates stored rows by key (grid column 5 is
// the mobile number, 7 the Skype name), inserts the new named row, skips a new blank one, keeps a
// stored row whose name was blanked, and deletes the removed keys.  Quotes are stored as typed.
TEST_F(SaveDb, DetailRowsInsertUpdateAndDeleteByKey)
{
    DetailRowSet man{{{"1", "王大明", "先生", "經理", "101", "0912", "w@x.tw", "wang.skype", "老客戶"},
                      {"2", "林淑芬", "", "會計", "102", "", "", "", ""},
                      {"3", " ", "", "", "", "", "", "", ""}},
                     {}};
    DetailRowSet dlv{{{"1", "大同總公司", "王", "02-1", "02-2", "台北市", "後門"}}, {}};
    SaveOutcome first = SaveCustomerRows(gConn, "000001", man, dlv, {}, {});
    ASSERT_TRUE(first.saved) << first.message.toStdString();
    EXPECT_EQ(contacts(), (QStringList{"000001|王大明|先生|經理|101|wang.skype|0912|w@x.tw|老客戶",
                                       "000001|林淑芬||會計|102||||"}));
    EXPECT_EQ(deliveries(), QStringList{"000001|大同總公司|王|02-1|02-2|台北市|後門"});

    const QString wang = keyOf("RV12A", "RV12A1", "王大明");
    const QString lin = keyOf("RV12A", "RV12A1", "林淑芬");
    const QString head = keyOf("RV12B", "送貨名稱", "大同總公司");
    DetailRowSet man2{{{"1", "", "先生", "經理", "101", "0912", "w@x.tw", "wang.skype", "老客戶", wang},
                       {"2", "O'Neil", "Mr", "", "", "", "", "", "", ""},
                       {"3", "", "", "", "", "", "", "", "", ""}},
                      {lin.toLongLong()}};
    DetailRowSet dlv2{{{"1", "大同倉庫", "", "", "", "新北市", "", head}}, {}};
    SaveOutcome second = SaveCustomerRows(gConn, "000009", man2, dlv2, {}, {});
    ASSERT_TRUE(second.saved) << second.message.toStdString();
    EXPECT_EQ(contacts(), (QStringList{"000009||先生|經理|101|wang.skype|0912|w@x.tw|老客戶",
                                       "000009|O'Neil|Mr||||||"}));
    EXPECT_EQ(deliveries(), QStringList{"000009|大同倉庫||||新北市|"});
}

// Any failure inside the transaction leaves every table as it was and says nothing was saved:
// a refused customer row after the detail statements ran, and a database another process holds.
TEST_F(SaveDb, FailureRollsEverythingBack)
{
    gConn.Execute(QStringLiteral("Insert Into RV12A (RV12A0, RV12A1) Values ('000001', '王大明')"));
    const QString wang = keyOf("RV12A", "RV12A1", "王大明");
    const DetailRowSet man{{{"1", "王小明", "", "", "", "", "", "", "", wang}, {"2", "林淑芬", "", "", "", "", "", "", "", ""}},
                           {}};
    const DetailRowSet dlv{{{"1", "倉庫", "", "", "", "", ""}}, {}};
    bool before = false;
    SaveOutcome refused = SaveCustomerRows(gConn, "000001", man, dlv, [&] { before = true; },
                                           [] { throw db::DbError(3022, QStringLiteral("duplicate")); });
    EXPECT_TRUE(before);
    EXPECT_FALSE(refused.saved);
    EXPECT_EQ(refused.errorNumber, 3022);
    EXPECT_EQ(refused.message, QStringLiteral("這個編號（或其他不能重複的資料）已經存在。請改用另一個編號再存檔。"
                                              "（錯誤代號: 3022）\r\n資料並未存檔。"));
    EXPECT_FALSE(gConn.InTransaction());
    EXPECT_EQ(contacts(), QStringList{"000001|王大明|||||||"});
    EXPECT_TRUE(deliveries().isEmpty());

    db::Connection other;
    other.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    other.BeginTrans();
    other.Execute(QStringLiteral("Insert Into RV12B (RV12B0, 送貨名稱) Values ('X', 'Y')"));
    SaveOutcome locked = SaveCustomerRows(gConn, "000001", man, dlv, {}, {});
    other.RollbackTrans();
    EXPECT_FALSE(locked.saved);
    EXPECT_EQ(locked.errorNumber, 3260);
    EXPECT_TRUE(locked.message.endsWith(gCrLf + QStringLiteral("資料並未存檔。")));
    EXPECT_EQ(contacts(), QStringList{"000001|王大明|||||||"});
}

// Another computer on the shared data folder deleted a contact (or a delivery address) after
// this window read it: changing or removing that row is refused as a whole, never "saved".
TEST_F(SaveDb, DetailRowDeletedByAnotherUserRefusesTheSave)
{
    gConn.Execute(QStringLiteral("Insert Into RV12A (RV12A0, RV12A1) Values ('000001', '王大明')"));
    gConn.Execute(QStringLiteral("Insert Into RV12B (RV12B0, 送貨名稱) Values ('000001', '倉庫')"));
    const QString wang = keyOf("RV12A", "RV12A1", "王大明");
    const QString store = keyOf("RV12B", "送貨名稱", "倉庫");
    db::Connection other;
    other.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    other.Execute(QStringLiteral("Delete From RV12A"));
    other.Execute(QStringLiteral("Delete From RV12B"));
    const DetailRowSet newMan{{{"1", "林淑芬", "", "", "", "", "", "", "", ""}}, {}};
    const DetailRowSet noRows;
    const struct {
        const char* what;
        DetailRowSet man, dlv;
    } cases[] = {
        {"contact changed", {{{"1", "王小明", "", "", "", "", "", "", "", wang}}, {}}, noRows},
        {"contact removed", {{}, {wang.toLongLong()}}, noRows},
        {"address changed", newMan, {{{"1", "新倉庫", "", "", "", "", "", store}}, {}}},
        {"address removed", newMan, {{}, {store.toLongLong()}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bool customerWritten = false;
        const SaveOutcome out = SaveCustomerRows(gConn, "000001", c.man, c.dlv, {}, [&] { customerWritten = true; });
        EXPECT_FALSE(out.saved);
        EXPECT_FALSE(customerWritten);
        EXPECT_EQ(out.errorNumber, 3197);
        EXPECT_TRUE(out.message.endsWith(gCrLf + QStringLiteral("資料並未存檔。")));
        EXPECT_FALSE(gConn.InTransaction());
        EXPECT_TRUE(contacts().isEmpty());
        EXPECT_TRUE(deliveries().isEmpty());
    }
}

TEST_F(SaveDb, DeleteRemovesTheDetailsOfTheCodeOnlyOrNothing)
{
    gConn.Execute(QStringLiteral("Insert Into RV12 (RV120, RV121) Values ('000001', '大同')"));
    for (const char* code : {"000001", "000002"}) {
        gConn.Execute(QStringLiteral("Insert Into RV12A (RV12A0, RV12A1) Values (?, '王')"), {QString::fromUtf8(code)});
        gConn.Execute(QStringLiteral("Insert Into RV12B (RV12B0, 送貨名稱) Values (?, '倉')"), {QString::fromUtf8(code)});
    }
    DeleteOutcome failed = DeleteCustomerRows(gConn, "000001", [] {
        gConn.Execute(QStringLiteral("Delete From RV12 Where RV120 = '000001'"));
        throw db::DbError(3260, QStringLiteral("locked"));
    });
    EXPECT_FALSE(failed.deleted);
    EXPECT_EQ(failed.message, QStringLiteral("資料庫正被另一部電腦或另一個程式使用，暫時無法寫入。請稍後再試一次。"
                                             "（錯誤代號: 3260）\r\n刪除失敗，資料並未刪除。"));
    EXPECT_EQ(rows("Select RV120 From RV12"), QStringList{"000001"});
    EXPECT_EQ(contacts().size(), 2);

    DeleteOutcome done = DeleteCustomerRows(gConn, "000001", [] {
        gConn.Execute(QStringLiteral("Delete From RV12 Where RV120 = '000001'"));
    });
    EXPECT_TRUE(done.deleted);
    EXPECT_TRUE(rows("Select RV120 From RV12").isEmpty());
    EXPECT_EQ(contacts(), QStringList{"000002|王|||||||"});
    EXPECT_EQ(deliveries(), QStringList{"000002|倉|||||"});
}

TEST(CustomerEntryRules, EnterAndArrowMaps)
{
    const struct {
        int box, enter, down, up;
    } cases[] = {
        {0, 1, 1, 1},     {1, 2, 2, 0},    {2, 19, 3, 1},   {9, 15, 10, 8},  {11, 12, 12, 10},
        {13, 14, 1, 12},  {15, 19, 16, 13}, {16, 1, -1, -1}, {19, 10, 20, 18}, {22, 2, 23, 21},
        {23, 2, -1, 22},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CustomerEnterMap()(c.box), c.enter) << c.box;
        EXPECT_EQ(CustomerDownMap()(c.box), c.down) << c.box;
        EXPECT_EQ(CustomerUpMap()(c.box), c.up) << c.box;
    }
}

TEST(CustomerEntryRules, StockTextsClosingDayAndCodes)
{
    gLangOffset = 0;
    const struct {
        int box, key;
        std::optional<QString> text;
    } keys[] = {
        {2, Qt::Key_F3, "股份有限公司"}, {2, Qt::Key_F4, "有限公司"}, {2, Qt::Key_F5, "科技股份有限公司"},
        {8, Qt::Key_F3, "縣市區街路段巷弄號樓之"}, {8, Qt::Key_F4, "縣市區街路段巷弄號樓之"}, {8, Qt::Key_F5, std::nullopt},
        {9, Qt::Key_F5, "台北市中山北路"}, {15, Qt::Key_F3, ".com.tw"}, {15, Qt::Key_F4, std::nullopt}, {1, Qt::Key_F3, std::nullopt},
    };
    for (const auto& k : keys)
        EXPECT_EQ(StockTextFor(CustomerStockTexts(), k.box, k.key, [](int) { return QStringLiteral("台北市中山北路"); }), k.text)
            << k.box << " " << k.key;

    for (const char* ok : {"", "0", "1", "31", "25日"})
        EXPECT_TRUE(ClosingDayAccepted(QString::fromUtf8(ok))) << ok;
    for (const char* bad : {"0.5", "32", "-1"})
        EXPECT_FALSE(ClosingDayAccepted(QString::fromUtf8(bad))) << bad;

    for (int code = 0; code <= 5; ++code) {
        const QString text = InvoiceStatusText(code);
        EXPECT_EQ(InvoiceStatusCode(text), code >= 1 && code <= 4 ? std::optional<int>(code) : std::nullopt) << code;
    }
    EXPECT_EQ(InvoiceStatusText(0), QStringLiteral("不詳"));
    EXPECT_EQ(GradeListText(QStringLiteral("甲\r\n乙\r\n丙")), QStringLiteral("甲\r\n乙\r\n丙"));
    EXPECT_EQ(GradeListText(QStringLiteral("  ")),
              QStringLiteral("潛在新客戶\r\nA級客戶\r\nB級客戶\r\nC級客戶\r\n失聯客戶"));
}
