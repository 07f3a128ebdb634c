// The personal-contact window's rules without the window: checklist, save checks, the find
// condition, the birthday reading and the key walks.
#include "contacts/OtherFields.h"
#include "contacts/OtherFindFrm.h"
#include "contacts/OtherRules.h"
#include "contacts/OtherSave.h"
#include "core/Globals.h"
#include "core/numbering/Numbering.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"

#include <QMap>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;

namespace {

QString Lines(const QStringList& items)
{
    QString s;
    for (const QString& i : items)
        s += QStringLiteral("\r\n\r\n") + i;
    return s;
}

BoxTextFn Texts(const QMap<int, QString>& m)
{
    return [m](int box) { return m.value(box); };
}

using ContactDb = testsupport::CustomerDb;

void AddContact(const QString& number, const QString& name)
{
    gConn.Execute(QStringLiteral("Insert Into RV18A (RV18A1, RV18A2) Values (?, ?)"), {number, name});
}

qint32 SerialOf(const QString& number)
{
    return qint32(gConn.ExecuteQuery(QStringLiteral("Select 總序 From RV18A Where RV18A1 = ?"), {number})
                      .value(0)
                      .toLongLong());
}

}  // namespace

TEST(OtherReport, LinesFollowTheModeAndTheEmptyOrOddBoxes)
{
    const QString edit = QStringLiteral("※ 中文姓名以及編號一定要輸入才能存檔");
    const QString browse1 = QStringLiteral("※ 要編輯資料,要先按修改按鈕");
    const QString browse2 = QStringLiteral("※ 要新增資料,請直接按新增按鈕");
    const QString name = QStringLiteral("◆ 中文姓名 未輸入"), number = QStringLiteral("◆ 編號未輸入");
    const QString phone = QStringLiteral("◆ 電話 未輸入"), oddPhone = QStringLiteral("◆ 電話號碼很奇怪");
    const QString mobile = QStringLiteral("◆ 行動電話未輸入"), oddMobile = QStringLiteral("◆ 行動面話號碼很奇怪");
    const QString home = QStringLiteral("◆ 戶籍地址 未輸入"), now = QStringLiteral("◆ 現在住址 未輸入");
    const struct {
        bool editing;
        QMap<int, QString> boxes;
        QStringList lines;
    } cases[] = {
        {true, {{1, "001"}}, {edit, name, phone, mobile, home, now}},
        {false, {}, {browse1, browse2, name, number, phone, mobile, home, now}},
        // Lengths count characters; blanks make a box non-empty.
        {true, {{1, "001"}, {2, " "}, {8, "1234"}, {9, "0912345"}, {16, "台北"}, {17, "台中"}},
         {edit, oddPhone, oddMobile}},
        {true, {{1, "001"}, {2, "王"}, {8, "12345"}, {9, "09123456"}, {16, "a"}, {17, "b"}}, {edit}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OtherReportText(c.editing, Texts(c.boxes)), Lines(c.lines)) << c.lines.join(',').toStdString();
}

TEST(OtherSaveChecks, SaveNeedsANumberAndANameBeyondBlanks)
{
    EXPECT_TRUE(OtherSaveAllowed(Texts({{1, "001"}, {2, "王"}})));
    EXPECT_FALSE(OtherSaveAllowed(Texts({{1, "  "}, {2, "王"}})));
    EXPECT_FALSE(OtherSaveAllowed(Texts({{1, "001"}, {2, " "}})));
}

TEST(OtherSaveChecks, WidthsFromTheFieldTableSexAndPictureBoxesSkipped)
{
    gLangOffset = 0;
    const struct {
        int box;
        QString text;
        int tooWide;
    } cases[] = {
        {3, QString(25, QChar('a')), -1},
        {3, QString(26, QChar('a')), 3},
        {3, QString(13, QChar(0x738B)), 3},  // 13 Chinese characters: 26 bytes of 25
        {2, QStringLiteral("王大明小"), -1},  // 8 bytes
        {2, QStringLiteral("王大明小A"), 2},
        {5, QStringLiteral("男男男男男男"), -1},  // the sex box takes no part
        {15, QString(400, QChar('p')), -1},  // nor a box without a limit
        {18, QString(128, QChar(0x738B)), 18},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstTooWideBox(OtherFields(), OtherWidthBoxes(),
                                  [&](int box) { return box == c.box ? c.text : QString(); }),
                  c.tooWide)
            << c.box;
}

TEST_F(ContactDb, NumberHeldByAnotherContactIsRefusedWithTwoMessages)
{
    AddContact(QStringLiteral("001"), QStringLiteral("王"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK).answer(ui::Answer::OK);
        EXPECT_TRUE(OtherNumberTaken(QStringLiteral(" 001 "), 0));  // a new contact taking 001
        EXPECT_EQ(r.texts(), QStringList({"編號重複001", "編號重複"}));
    }
    EXPECT_FALSE(OtherNumberTaken(QStringLiteral("001"), SerialOf(QStringLiteral("001"))));  // its own
    EXPECT_FALSE(OtherNumberTaken(QStringLiteral("002"), 0));
}

TEST_F(ContactDb, NextNumberIsThreeDigitsAtLeast)
{
    EXPECT_EQ(GetNextCode(gConn, QStringLiteral("RV18A"), QStringLiteral("RV18A1")), QStringLiteral("001"));
    AddContact(QStringLiteral("041"), QStringLiteral("王"));
    AddContact(QStringLiteral("007"), QStringLiteral("林"));
    EXPECT_EQ(GetNextCode(gConn, QStringLiteral("RV18A"), QStringLiteral("RV18A1")), QStringLiteral("042"));
}

TEST(OtherFind, ConditionJoinsFilledBoxesAndBindsTheirTexts)
{
    const FindCondition c = BuildFindCondition(
        {{"類別", ""}, {"RV18A2", "王"}, {"RV18A3", "  "}, {"RV18A17", "台北"}}, OtherFindWording());
    EXPECT_EQ(c.text, QStringLiteral("RV18A2 LIKE '%王%' and  RV18A3 LIKE '%  %' and  RV18A17 LIKE '%台北%'"));
    EXPECT_EQ(c.sql, QStringLiteral("RV18A2 LIKE ? and  RV18A3 LIKE ? and  RV18A17 LIKE ?"));
    EXPECT_EQ(c.params, QVariantList({"%王%", "%  %", "%台北%"}));
    EXPECT_TRUE(BuildFindCondition({{"RV18A2", ""}}, OtherFindWording()).isEmpty());
}

// A quote is a character; "%" and "_" typed in a box match as wildcards.
TEST_F(ContactDb, FindConditionRunsWithQuotesAndWildcards)
{
    AddContact(QStringLiteral("001"), QStringLiteral("O'Neil"));
    AddContact(QStringLiteral("002"), QStringLiteral("Oxeil"));
    AddContact(QStringLiteral("003"), QStringLiteral("王"));
    auto found = [](const QString& typed) {
        const FindCondition c = BuildFindCondition({{"RV18A2", typed}}, OtherFindWording());
        db::Recordset rs = gConn.ExecuteQuery(
            QStringLiteral("select RV18A1 from RV18a Where ") + c.sql + QStringLiteral(" Order By RV18A1"), c.params);
        QStringList out;
        for (; !rs.Eof(); rs.MoveNext())
            out << rs.value(0).toString();
        return out;
    };
    EXPECT_EQ(found(QStringLiteral("O'N")), QStringList({"001"}));
    EXPECT_EQ(found(QStringLiteral("O_eil")), QStringList({"002"}));
    EXPECT_EQ(found(QStringLiteral("O%il")), QStringList({"001", "002"}));
}

TEST(OtherBirthday, FourDigitYearAndARealCalendarDate)
{
    const struct {
        const char* text;
        const char* stored;  // "" = not a date
    } cases[] = {
        {"2004/02/03", "2004/02/03"}, {"2008/9/3", "2008/09/03"}, {"2004-2-3", "2004/02/03"},
        {" 2000/02/29 ", "2000/02/29"},
        {"1900/02/29", ""},  {"2004/13/01", ""}, {"2004/02/30", ""}, {"93/02/03", ""},
        {"02/03/2004", ""},  {"2004/02", ""},    {"2004/2-3", ""},   {"20040203", ""},
        {"2004/002/03", ""}, {"abc", ""},        {"", ""},           {"0999/01/01", ""},
        {"2004.12.1", ""},
    };
    for (const auto& c : cases) {
        const auto d = ReadDate(QString::fromUtf8(c.text), kBirthdayForm);
        EXPECT_EQ(d ? DateText(*d) : QString(), QString::fromUtf8(c.stored)) << c.text;
    }
    EXPECT_EQ(AgeTip(QStringLiteral("2004/02/03"), kBirthdayForm, QDate(2026, 12, 10)), QStringLiteral("22 歲"));
    EXPECT_TRUE(AgeTip(QStringLiteral("93/02/03"), kBirthdayForm, QDate(2026, 12, 10)).startsWith(QStringLiteral("日期輸入格式")));
}

TEST(OtherKeys, EnterUpDownAndFunctionKeys)
{
    // Enter walks 1 -> 0 -> 2 -> 3 ... -> 18 -> 1.
    QList<int> walk{1};
    for (int i = 0; i < 19; ++i)
        walk << OtherEnterMap()(walk.last());
    EXPECT_EQ(walk, QList<int>({1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 1}));
    EXPECT_EQ(OtherBoxOnUp(1, true), 1);
    EXPECT_EQ(OtherBoxOnUp(6, true), -1);  // onto the sex box while editing: stays
    EXPECT_EQ(OtherBoxOnUp(6, false), 5);
    EXPECT_EQ(OtherDownMap()(17), 18);
    EXPECT_EQ(OtherDownMap()(18), 18);
    gLangOffset = 0;
    const auto text = [](int box) { return box == 16 ? QStringLiteral("台北市") : QStringLiteral("x"); };
    EXPECT_EQ(StockTextFor(OtherStockTexts(), 16, Qt::Key_F3, text), QStringLiteral("縣市區街路段巷弄號樓之"));
    EXPECT_EQ(StockTextFor(OtherStockTexts(), 17, Qt::Key_F5, text), QStringLiteral("台北市"));
    EXPECT_FALSE(StockTextFor(OtherStockTexts(), 16, Qt::Key_F5, text).has_value());
    EXPECT_FALSE(StockTextFor(OtherStockTexts(), 17, Qt::Key_F4, text).has_value());
}
