// The vendor window's plain rules: list query, find condition, numbering, save check, contact
// statements, checklist and entry rules, against a real database file where they touch one.
#include "core/Globals.h"
#include "platform/text/VbText.h"
#include "support/Responder.h"
#include "vendors/VendorDb.h"
#include "vendors/VendorEntryRules.h"
#include "vendors/VendorFields.h"
#include "vendors/VendorList.h"
#include "vendors/VendorNumbering.h"
#include "vendors/VendorSave.h"

#include <QMap>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;

namespace {

class VendorRules : public testsupport::VendorDb {
protected:
    static QStringList listed(const db::Statement& q)
    {
        db::Recordset rs;
        rs.Open(q.sql, gConn, db::adOpenDynamic, db::adLockOptimistic, q.params);
        QStringList out;
        while (!rs.Eof()) {
            out << rs.value(QStringLiteral("RV111")).toString();
            rs.MoveNext();
        }
        return out;
    }
};

}  // namespace

TEST(VendorListQuery, StatementByCategoryExclusionAndSort)
{
    const struct {
        QString code;
        bool exclude;
        QString sort;
        QString sql;
        db::Params params;
    } cases[] = {
        {"", false, "廠商編號", "select *from RV11 Order By rv111", {}},
        {" ", true, "廠商簡稱",
         "select *from RV11 where  (廠商狀況 Is Null Or 廠商狀況 <> '已無往來') Order By rv112", {}},
        {"001", false, "類別編號", "select *from RV11 where RV110=? Order By rv110", {"001"}},
        {" 001 ", true, "廠商編號",
         "select *from RV11 where RV110=? And (廠商狀況 Is Null Or 廠商狀況 <> '已無往來') Order By rv111", {"001"}},
        {"", false, "名稱", "select *from RV11 ", {}},
    };
    for (const auto& c : cases) {
        const db::Statement q = LinkGridData1Query(c.code, c.exclude, c.sort);
        EXPECT_EQ(q.sql, c.sql);
        EXPECT_EQ(q.params, c.params);
    }
}

// Rows from before the status column existed have no status: they stay in the list.
TEST_F(VendorRules, ExclusionKeepsVendorsWithoutStatusAndCodesAreBound)
{
    addVendor("001", "001-001", "甲", "現用廠商");
    addVendor("001", "001-002", "乙", "已無往來");
    addVendor("001", "001-003", "丙", QString());
    addVendor("0'1", "0'1-001", "丁", QString());
    EXPECT_EQ(listed(LinkGridData1Query("001", true, "廠商編號")), QStringList({"001-001", "001-003"}));
    EXPECT_EQ(listed(LinkGridData1Query("001", false, "廠商編號")), QStringList({"001-001", "001-002", "001-003"}));
    EXPECT_EQ(listed(LinkGridData1Query("", true, "廠商編號")), QStringList({"0'1-001", "001-001", "001-003"}));
    EXPECT_EQ(listed(LinkGridData1Query("0'1", true, "廠商編號")), QStringList({"0'1-001"}));
}

TEST(VendorFindCondition, TextAsShownAndValuesBound)
{
    const FindCondition c = BuildFindCondition({{"RV111", "A1"}, {"RV112", "abc"}, {"RV113", ""}, {"RV114", " "}},
                                               VendorFindWording());
    EXPECT_EQ(c.text, QStringLiteral("RV111 LIKE '%A1%'AND RV112 LIKE '%abc%'AND RV114 LIKE '% %'"));
    EXPECT_EQ(c.sql, QStringLiteral("RV111 LIKE ?AND RV112 LIKE ?AND RV114 LIKE ?"));
    EXPECT_EQ(c.params, db::Params({"%A1%", "%abc%", "% %"}));
    EXPECT_EQ(FondSubQuery(c).sql, QStringLiteral("select *from RV11 where ") + c.sql);
}

TEST_F(VendorRules, FindByShortNameWithAQuote)
{
    addVendor("001", "001-001", "O'Neil");
    addVendor("001", "001-002", "Neil");
    const FindCondition c = BuildFindCondition({{"RV112", "O'Ne"}}, VendorFindWording());
    EXPECT_EQ(c.text, QStringLiteral("RV112 LIKE '%O'Ne%'"));
    EXPECT_EQ(listed(FondSubQuery(c)), QStringList({"001-001"}));
}

TEST_F(VendorRules, NextNumberFollowsTheGreatestNumericSerialOfTheCategory)
{
    EXPECT_EQ(GetfactoryNewNo(" 003 "), QStringLiteral("003-001"));
    const struct {
        QString stored;
        QString next;
    } steps[] = {
        {"003-001", "003-002"}, {"003-009", "003-010"}, {"003-099", "003-100"},
        {"003-999", "003-1000"}, {"003-1000", "003-1001"}, {"003-12A", "003-1001"},
    };
    for (const auto& s : steps) {
        addVendor("003", s.stored, "x");
        EXPECT_EQ(GetfactoryNewNo("003"), s.next) << s.stored.toStdString();
    }
    // Another category's numbers, and numbers without a hyphen, play no part.
    addVendor("004", "004-5000", "y");
    addVendor("005", "005", "z");
    EXPECT_EQ(GetfactoryNewNo("005"), QStringLiteral("005-001"));
    addVendor("0'6", "0'6-004", "q");
    EXPECT_EQ(GetfactoryNewNo("0'6"), QStringLiteral("0'6-005"));
}

TEST_F(VendorRules, SaveCheckRefusesDuplicatePrefixAndWidthInThatOrder)
{
    gLangOffset = 0;
    addVendor("001", "001-001", "甲");
    const long own = gConn.ExecuteQuery(QStringLiteral("Select 總序 From RV11")).value(0).toLongLong();
    QMap<int, QString> box{{0, "001"}, {1, "001-001"}, {2, "甲"}};
    auto text = [&](int b) { return box.value(b); };
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        EXPECT_TRUE(CheckSaveFACTOR(text, 0).refused);  // a new vendor with a stored number
        EXPECT_TRUE(r.last().text.contains(QStringLiteral("編號重複")));
    }
    EXPECT_FALSE(CheckSaveFACTOR(text, qint32(own)).refused);  // its own row
    for (const QString& bad : {QStringLiteral("002-005"), QStringLiteral("001005")}) {
        box[1] = bad;
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        EXPECT_TRUE(CheckSaveFACTOR(text, 0).refused);
        EXPECT_EQ(r.last().text, QStringLiteral("廠商編號的開頭必須是類別編號+[-]"));
    }
    box[1] = "001-002";
    box[2] = "大同電子股份";  // 12 bytes of 10
    box[19] = QString(151, QChar(0x5927));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        const VendorSaveRefusal refusal = CheckSaveFACTOR(text, 0);
        EXPECT_TRUE(refusal.refused);
        EXPECT_EQ(refusal.focusBox, 2);  // the lower box of two
        EXPECT_EQ(r.last().text, QStringLiteral("欄位資料過長,請不要超過10個字元(一個中文字算2個字元)"));
        EXPECT_EQ(r.last().title, QStringLiteral("取消存檔"));
        EXPECT_EQ(r.last().icon, ui::Icon::Question);
    }
}

TEST(VendorSaveWidths, BoxesOneToTwentyWithoutTheCategoryName)
{
    const struct {
        int box;
        QString text;
        int tooWide;
    } cases[] = {
        {0, "12345678901", -1},  {9, "12345678901", -1}, {21, QString(16, 'x'), -1},
        {24, QString(16, 'x'), -1}, {1, "12345678901", 1}, {15, "123456789", 15},
        {20, QString(16, 'x'), 20}, {19, QString(150, QChar(0x5927)), -1}, {19, QString(151, QChar(0x5927)), 19},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstTooWideVendorBox([&](int b) { return b == c.box ? c.text : QString(); }), c.tooWide) << c.box;
}

// The contacts grid's statements: a stored contact updated by its key, a new one inserted (a
// quote stored as typed the first time), a new one without a name skipped, a removed one
// deleted; the delete of a vendor takes every contact of its trimmed number.
TEST_F(VendorRules, ContactStatementsWriteRowsBound)
{
    addContact("001-001", "舊");
    addContact("001-001", "刪");
    const QStringList keys = rows(QStringLiteral("Select 總序 From 廠商聯絡人 Order By 總序"));
    DetailRowSet contacts{{{"1", "王大明", "業務", "經理", "101", "02", "0912", "w@x.tw", "備", keys[0]},
                                {"2", "O'Neil", "", "", "", "", "", "", "", ""},
                                {"3", " ", "", "", "", "", "", "", "", ""}},
                               {keys[1].toLongLong()}};
    for (const db::Statement& s : DetailStatements(VendorContactsDef(), "001-001", contacts))
        gConn.Execute(s.sql, s.params);
    EXPECT_EQ(rows(QStringLiteral("Select 項次, 聯絡人, 部門, 職銜, 分機, 電話, 行動電話, e_mail, 備註, 廠商編號 "
                                  "From 廠商聯絡人 Order By 總序")),
              QStringList({"1|王大明|業務|經理|101|02|0912|w@x.tw|備|001-001", "2|O'Neil||||||||001-001"}));
    const db::Statement del = VendorContactsDeleteStatement(" 001-001 ");
    gConn.Execute(del.sql, del.params);
    EXPECT_EQ(count(QStringLiteral("廠商聯絡人")), 0);
}

TEST(VendorReport, BrowseAndEditLinesThenTheEmptyBoxes)
{
    const QString crlf2 = QStringLiteral("\r\n\r\n");
    auto all = [](int) { return QStringLiteral("x"); };
    EXPECT_EQ(VendorReportText(false, all),
              crlf2 + QStringLiteral("※ 要編輯資料,要先按修改按鈕") + crlf2 + QStringLiteral("※ 要新增資料,請直接按新增按鈕"));
    const QString editing = VendorReportText(true, [](int b) { return b == 0 || b == 2 ? QStringLiteral("x") : QString(); });
    EXPECT_TRUE(editing.startsWith(crlf2 + QStringLiteral("※ 中文姓名以及編號一定要輸入才能存檔") + crlf2 +
                                   QStringLiteral("◆廠商全銜 未輸入")));
    EXPECT_TRUE(editing.endsWith(QStringLiteral("◆廠商狀況未輸入: 相關系統有時候不顯示非現用廠商") + crlf2 +
                                 QStringLiteral("◆廠商結帳日位輸入")));
    EXPECT_EQ(editing.count(QStringLiteral("◆")), 7);
}

// Enter from box 1, following each box's next box or its pick list's, walks the cycle.
TEST(VendorEntry, EnterCycleArrowsAndPickLists)
{
    QList<int> cycle;
    int box = 1;
    do {
        cycle << box;
        box = VendorPickOf(box) != VendorPick::None ? VendorPickNextBox(box) : VendorEnterMap()(box);
    } while (box != 1 && cycle.size() < 40);
    EXPECT_EQ(cycle, QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 17, 18, 19, 15, 16, 23, 10, 20, 21, 22}));
    EXPECT_EQ(VendorEnterMap()(24), 1);
    EXPECT_EQ(VendorEnterMap()(0), 1);
    const struct {
        int box, up, down;
    } arrows[] = {{0, 1, 1}, {1, 1, 2}, {10, -1, 11}, {8, 7, -1}, {19, 18, 20}, {20, -1, -1}, {24, 23, -1}};
    for (const auto& a : arrows) {
        EXPECT_EQ(VendorUpMap()(a.box), a.up) << a.box;
        EXPECT_EQ(VendorDownMap()(a.box), a.down) << a.box;
    }
    gLangOffset = 0;
    EXPECT_EQ(VendorPickItems(16).first(), QStringLiteral("尚未核准"));
    EXPECT_EQ(VendorPickItems(20).size(), 31);
    EXPECT_EQ(VendorPickItems(21).last(), QStringLiteral("六個月"));
    EXPECT_EQ(VendorPickItems(23), QStringList({"應稅", "內含", "零稅率"}));
}

TEST(VendorEntry, StockTextsKeysAndAddresses)
{
    gLangOffset = 0;
    const auto stock = [](int box, int key, const QString& companyAddress) {
        return StockTextFor(VendorStockTexts(), box, key, [&](int) { return companyAddress; });
    };
    EXPECT_EQ(stock(3, Qt::Key_F3, ""), QStringLiteral("股份有限公司"));
    EXPECT_EQ(stock(3, Qt::Key_F5, ""), QStringLiteral("科技股份有限公司"));
    EXPECT_EQ(stock(11, Qt::Key_F4, ""), QStringLiteral("縣市區街路段巷弄號樓之"));
    EXPECT_EQ(stock(12, Qt::Key_F5, "台北市"), QStringLiteral("台北市"));
    EXPECT_FALSE(stock(11, Qt::Key_F5, "台北市"));
    EXPECT_EQ(stock(18, Qt::Key_F3, ""), QStringLiteral(".com.tw"));
    EXPECT_FALSE(stock(4, Qt::Key_F3, ""));

    EXPECT_TRUE(VendorBoxFull(QStringLiteral("大同電子股"), 10));  // five Chinese characters
    EXPECT_FALSE(VendorBoxFull(QStringLiteral("大同電子 "), 10));   // the blank is trimmed
    EXPECT_FALSE(VendorBoxFull(QString(400, 'x'), 0));
    EXPECT_EQ(PrintableOnly(QStringLiteral("a\bb\r\t c")), QStringLiteral("ab c"));

    EXPECT_EQ(WithScheme(" www.x.com.tw ", "http://"), QStringLiteral("http://www.x.com.tw"));
    EXPECT_EQ(WithScheme("https://x.tw", "http://"), QStringLiteral("https://x.tw"));
    EXPECT_EQ(WithScheme("a@x.tw", "mailto:"), QStringLiteral("mailto:a@x.tw"));
    EXPECT_EQ(WithScheme("MAILTO:a@x.tw", "mailto:"), QStringLiteral("MAILTO:a@x.tw"));
}
