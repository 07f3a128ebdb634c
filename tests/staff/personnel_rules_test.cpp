// The employee window's plain rules: numbering, dates, identity checks, the save check, the
// list query and the checklist.
#include "staff/PersonnelRules.h"

#include "core/Globals.h"
#include "support/CustomerDb.h"

#include <map>

namespace {

class Employees : public testsupport::CustomerDb {
protected:
    static void employee(const QString& dept, const QString& number, const QString& name = QStringLiteral("王小明"),
                         const QString& left = QString())
    {
        gConn.Execute(QStringLiteral("Insert Into RV17A (RV17A0, RV17A1, RV17A2, RV17A13) Values (?, ?, ?, ?)"),
                      {dept, number, name, left.isEmpty() ? QVariant() : QVariant(left)});
    }
};

BoxTextFn Texts(std::map<int, QString> texts)
{
    return [texts](int i) {
        const auto it = texts.find(i);
        return it == texts.end() ? QString() : it->second;
    };
}

}  // namespace

// The next number is one more than the greatest numeric serial of the department.
TEST_F(Employees, NextNumberWithinTheDepartment)
{
    EXPECT_EQ(GetWorkmanNewNo(gConn, "003"), QStringLiteral("003-001"));
    employee("003", "003-001");
    employee("003", "003-002");
    employee("003", "003-010");
    employee("004", "004-050");
    EXPECT_EQ(GetWorkmanNewNo(gConn, " 003 "), QStringLiteral("003-011"));
    employee("003", "003-099");
    EXPECT_EQ(GetWorkmanNewNo(gConn, "003"), QStringLiteral("003-100"));
    // Past 999 the serial keeps counting instead of repeating 1000.
    employee("003", "003-999");
    EXPECT_EQ(GetWorkmanNewNo(gConn, "003"), QStringLiteral("003-1000"));
    employee("003", "003-1000");
    EXPECT_EQ(GetWorkmanNewNo(gConn, "003"), QStringLiteral("003-1001"));
    // Numbers typed by hand without a serial do not count; a quote in a code is only a value.
    employee("A'1", "A'1");
    employee("A'1", "A'1-00X");
    EXPECT_EQ(GetWorkmanNewNo(gConn, "A'1"), QStringLiteral("A'1-001"));
    EXPECT_EQ(NewWorkmanNumberText(gConn, "003", false), QStringLiteral("003-"));
}

TEST(PersonnelDates, NormalisedOrRefused)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2004/2/5", "2004/02/05"}, {"2004/02/29", "2004/02/29"}, {"2004-2-29", "2004/02/29"},
        {" 2004.12.1 ", "2004/12/01"}, {"2004/2/30", nullptr},   {"2003/02/29", nullptr},
        {"2004/02/__", nullptr},    {"____/__/__", nullptr},    {"93/2/5", nullptr},
        {"2004/2", nullptr},        {"abc", nullptr},           {"2004/13/01", nullptr},
    };
    for (const auto& [text, expected] : cases) {
        const auto date = ReadDate(QString::fromUtf8(text), kEmployeeDateForm);
        const auto result = date ? std::optional<QString>(DateText(*date)) : std::nullopt;
        if (expected)
            EXPECT_EQ(result.value_or(QStringLiteral("(none)")), QString::fromUtf8(expected)) << text;
        else
            EXPECT_FALSE(result.has_value()) << text;
    }
    const QDate today(2026, 12, 10);
    EXPECT_EQ(AgeTip("1980/12/31", kEmployeeDateForm, today), QStringLiteral("46 歲"));
    EXPECT_EQ(AgeTip("", kEmployeeDateForm, today), DateFormatTip());
    EXPECT_EQ(AgeTip("0999/01/01", kEmployeeDateForm, today), DateFormatTip());
}

// iDCardNO chooses the check: 0 Taiwan, 1 Hong Kong, 2 mainland, anything else none.
TEST(PersonnelIdCheck, ModeChoosesTheValidator)
{
    gLangOffset = 0;
    struct Case {
        int mode;
        const char* id;
        bool ok;
        const char* message;
    };
    const Case cases[] = {
        {0, "A123456789", true, nullptr},
        {0, "A123456788", false, "輸入錯誤，請再檢查。"},
        {0, "A323456789", false, "第二碼只能是數字 1(男) 或 2(女)。"},
        {0, "A12345678", false, "國民身份證號碼必須是十碼。"},
        {1, "A1234563", true, nullptr},
        {1, "A123456789", false, "香港身份證號碼必須是八碼。"},
        {2, "11010519491231002X", true, nullptr},
        {2, "110105194912310021", false, "驗證錯誤。"},
        {3, "anything", true, nullptr},
        {7, "A123", true, nullptr},
    };
    for (const Case& c : cases) {
        QString message;
        EXPECT_EQ(CheckIdNumber(c.mode, c.id, message), c.ok) << c.mode << " " << c.id;
        if (c.message)
            EXPECT_EQ(message, QString::fromUtf8(c.message)) << c.id;
    }
}

// The save check: number prefix, the three dates, then the widths (title and e-nglish name are not width-tested).
TEST(PersonnelSaveCheck, PrefixDatesWidths)
{
    gLangOffset = 0;
    const QString sixChinese = QStringLiteral("歐陽中華民國");
    struct Case {
        std::map<int, QString> texts;
        const char* message;
        int box;
    };
    const Case cases[] = {
        {{{0, "003"}, {1, "003-001"}, {2, "王"}}, "", -1},
        {{{0, "003"}, {1, "003001"}}, "編號的開頭必須是以部門編號+[_]", -1},
        {{{0, "003"}, {1, "004-001"}}, "編號的開頭必須是以部門編號+[_]", -1},
        {{{0, "003"}, {1, "X003-1"}}, "編號的開頭必須是以部門編號+[_]", -1},
        {{{0, " 003"}, {1, "003-1"}, {7, "2004/2/30"}}, "日期欄位必須輸入正確", -1},
        {{{0, "003"}, {1, "003-1"}, {13, "2004/02/__"}}, "日期欄位必須輸入正確", -1},
        {{{0, "003"}, {1, "003-1"}, {7, "  "}, {12, "2004/2/5"}}, "", -1},
        {{{0, "003"}, {1, "003-1"}, {2, sixChinese}}, "欄位資料過長,請不要超過10個字元(一個中文字算2個字元)", 2},
        {{{0, "003"}, {1, "003-1"}, {4, sixChinese}}, "", -1},
        {{{0, "003"}, {1, "003-1"}, {17, QString(26, QChar(0x8DEF))}},
         "欄位資料過長,請不要超過50個字元(一個中文字算2個字元)", 17},
    };
    for (const Case& c : cases) {
        const WorkmanRefusal r = SaveCheck_Workman(Texts(c.texts));
        EXPECT_EQ(r.message, QString::fromUtf8(c.message)) << c.texts.at(1).toStdString();
        EXPECT_EQ(r.box, c.box) << c.message;
        EXPECT_EQ(r.width, c.box >= 0);
    }
    EXPECT_FALSE(SaveButtonEnabled(Texts({{0, "003"}, {1, "003-001"}, {2, "  "}})));
    EXPECT_TRUE(SaveButtonEnabled(Texts({{0, "003"}, {1, "003-001"}, {2, "王"}})));
}

// The list: grouping x resigned x sort, the department code always a bound value.
TEST_F(Employees, ListQueryVariants)
{
    employee("001", "001-001", "B");
    employee("001", "001-002", "A", "2020/01/01");
    employee("002", "002-001", "丙");
    employee("O'K", "O'K-001", "丁");
    auto names = [](const db::Statement& q) {
        db::Recordset rs;
        rs.Open(q.sql, gConn, db::adOpenStatic, db::adLockReadOnly, q.params);
        QStringList out;
        for (; !rs.Eof(); rs.MoveNext())
            out << rs.value(QStringLiteral("RV17A1")).toString();
        return out;
    };
    EXPECT_EQ(names(WorkmanListQuery(true, "001", false, false)), (QStringList{"001-001", "002-001", "O'K-001"}));
    EXPECT_EQ(names(WorkmanListQuery(true, "001", true, false)),
              (QStringList{"001-001", "001-002", "002-001", "O'K-001"}));
    EXPECT_EQ(names(WorkmanListQuery(false, "001", false, false)), QStringList{"001-001"});
    EXPECT_EQ(names(WorkmanListQuery(false, "001", true, true)), (QStringList{"001-002", "001-001"}));
    EXPECT_EQ(names(WorkmanListQuery(false, "O'K", false, true)), QStringList{"O'K-001"});
    EXPECT_FALSE(WorkmanListQuery(true, "", true, true).sql.contains(QStringLiteral("where"), Qt::CaseInsensitive));
}

TEST(PersonnelChecklist, AdviceAndEmptyBoxes)
{
    const QString gap = QStringLiteral("\r\n\r\n");
    EXPECT_EQ(PersonnelChecklist(true, Texts({{1, "003-001"}, {8, "A1"}, {9, "1"}, {17, "a"}, {18, "b"}})),
              gap + "※ 中文姓名以及編號一定要輸入才能存檔" + gap + "◆ 中文姓名 未輸入");
    EXPECT_EQ(PersonnelChecklist(false, Texts({{1, "x"}, {2, " "}, {8, "A1"}, {9, "1"}, {17, "a"}})),
              gap + "※ 要編輯資料,要先按修改按鈕" + gap + "※ 要新增資料,請直接按新增按鈕" + gap + "◆ 現在住址 未輸入");
}

TEST(PersonnelEntryRules, MovesAndAids)
{
    gLangOffset = 0;
    EXPECT_EQ(NextOnUp(BoxArray::Text1, 1), 1);
    EXPECT_EQ(NextOnUp(BoxArray::Text1, 5), 4);
    EXPECT_EQ(NextOnDown(BoxArray::Text1, 18), 19);
    EXPECT_EQ(NextOnDown(BoxArray::Text1, 19), -1);
    EXPECT_EQ(NextOnEnter(BoxArray::Text1, 19), 1);
    EXPECT_EQ(NextOnEnter(BoxArray::Text1, 16), -1);
    EXPECT_EQ(NextOnEnter(BoxArray::Text2, 10), 1);
    EXPECT_EQ(NextOnUp(BoxArray::Text2, 0), 0);
    EXPECT_EQ(NextOnDown(BoxArray::Text3, 6), 1);
    const auto stock = [](int box, int key, const QString& registeredAddress) {
        return StockTextFor(PersonnelStockTexts(), box, key, [&](int) { return registeredAddress; });
    };
    EXPECT_EQ(stock(17, Qt::Key_F3, ""), QStringLiteral("縣市區街路段巷弄號樓之"));
    EXPECT_EQ(stock(18, Qt::Key_F4, ""), QStringLiteral("縣市區街路段巷弄號樓之"));
    EXPECT_EQ(stock(15, Qt::Key_F3, ""), QStringLiteral(".com.tw"));
    EXPECT_EQ(stock(18, Qt::Key_F5, "台北市"), QStringLiteral("台北市"));
    EXPECT_FALSE(stock(17, Qt::Key_F5, "台北市").has_value());
    EXPECT_FALSE(stock(2, Qt::Key_F3, "").has_value());
    EXPECT_EQ(JobGradeListText("  "), QStringLiteral("正職職員\r\n約聘人員\r\n臨時人員"));
    EXPECT_EQ(JobGradeListText("經理\r\n\r\n課長 "), QStringLiteral("經理\r\n\r\n課長"));
}
