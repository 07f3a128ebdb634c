#include "contacts/ContactListRpt.h"
#include "contacts/MemberBirthday.h"
#include "contacts/MemberListRpt.h"
#include "support/PdfText.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using report::Snapshot;
using testsupport::ExpectUnderCaptions;
using testsupport::LineWith;
using testsupport::PdfLines;
using testsupport::Words;

namespace {

// Every column of 會員管理, in the table's order.
const QStringList kMemberColumns = {"會員編號", "類別", "中文姓名", "英文姓名", "生日_年", "月日", "性別", "關係",
                                    "身分證號", "聯絡電話", "行動電話", "公司名稱", "公司電話", "公司傳真",
                                    "戶籍住址", "通訊地址", "Skype", "Msn", "即時通", "電子信箱", "累積點數",
                                    "總序", "備註", "建檔者", "建檔日期", "修改者", "修改日期"};

QVariantList Member(int i, const QVariant& year, const QVariant& monthDay)
{
    const QString n = QString::number(i);
    return {"202612000" + n, "金卡", "林美玲" + n, "Meiling" + n, year, monthDay, "女", "本人",
            "B22345678" + n, "(02)2771-000" + n, "0933-12345" + n, "公司" + n, "(02)2222-000" + n,
            "(02)2771-900" + n, "高雄市苓雅區四維路" + n + "號", "台北市信義區松仁路" + n + "號", "skype", "msn",
            "im", "mail", 100 * i, i, "memo", "", 20261201, "", 20261201};
}

QString M(const QVariantList& row, const char* column)
{
    return row[kMemberColumns.indexOf(QString::fromUtf8(column))].toString();
}

}  // namespace

TEST(MemberBirthDate, ComposesYearAndMonthDay)
{
    struct Case {
        QVariant year, monthDay;
        const char* shown;
    };
    const Case cases[] = {
        {"1975", "0315", "1975/03/15"}, {QVariant(), "0315", "03/15"}, {"", "1231", "12/31"},
        {"1975", QVariant(), "1975"},    {"1975", "", "1975"},         {QVariant(), QVariant(), ""},
        {"1975", "315", "1975/315"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MemberBirthDate(c.year, c.monthDay), QString::fromUtf8(c.shown))
            << c.year.toString().toStdString() << "|" << c.monthDay.toString().toStdString();
}

// Two members read back from the PDF: each value under its true caption — the mailing
// address under "通訊地址", the registered one under "戶籍地址", the company fax under "傳真",
// the composed birth date under "出生日期".
TEST(MemberListReport, PdfShowsEveryValueUnderItsCaption)
{
    會員資料管理Rpt rpt;
    rpt.setPrintDate(QDate(2026, 12, 10));
    Snapshot rows(kMemberColumns);
    const QVariantList members[] = {Member(1, "1975", "0315"), Member(2, QVariant(), "1101")};
    for (const QVariantList& m : members)
        rows.addRow(m);
    rpt.SetMembers(rows);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("members.pdf");
    ASSERT_TRUE(rpt.ExportReport(pdf));
    const QStringList lines = PdfLines(pdf);

    ASSERT_GE(LineWith(lines, "會員資料列表"), 0);
    const int dateLine = LineWith(lines, "列印日期:");
    ASSERT_GE(dateLine, 0);
    EXPECT_TRUE(lines[dateLine].contains("2026/12/10"));
    EXPECT_TRUE(QString(lines[dateLine]).remove(' ').contains("列印頁數:1／1"));

    const QStringList captions1 = {"會員編號", "中文姓名", "英文姓名", "電話"};
    const QStringList captions2 = {"身份證號", "類別", "出生日期", "傳真"};
    const QStringList captions3 = {"通訊地址", "戶籍地址"};
    const int cap1 = LineWith(lines, "會員編號");
    ASSERT_GE(cap1, 0);
    const int cap2 = LineWith(lines, "身份證號", cap1);
    const int cap3 = LineWith(lines, "通訊地址", cap2);
    ASSERT_GT(cap2, cap1);
    ASSERT_GT(cap3, cap2);
    EXPECT_EQ(Words(lines[cap1]), captions1);
    EXPECT_EQ(Words(lines[cap2]), captions2);
    EXPECT_EQ(Words(lines[cap3]), captions3);

    // The layout sets some fields up to 120 twips left of their captions.
    constexpr int kDesignOffset = 5;
    const char* birth[] = {"1975/03/15", "11/01"};
    int previous = cap3;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const QVariantList& m = members[i];
        const int l1 = LineWith(lines, M(m, "會員編號"), previous + 1);
        ASSERT_GT(l1, previous);
        const int l2 = LineWith(lines, M(m, "身分證號"), l1 + 1);
        const int l3 = LineWith(lines, M(m, "通訊地址"), l2 + 1);
        ASSERT_GT(l2, l1);
        ASSERT_GT(l3, l2);
        ExpectUnderCaptions(lines[cap1], captions1, lines[l1],
                            {M(m, "會員編號"), M(m, "中文姓名"), M(m, "英文姓名"), M(m, "聯絡電話")}, kDesignOffset);
        ExpectUnderCaptions(lines[cap2], captions2, lines[l2],
                            {M(m, "身分證號"), M(m, "類別"), QString::fromUtf8(birth[i]), M(m, "公司傳真")}, kDesignOffset);
        ExpectUnderCaptions(lines[cap3], captions3, lines[l3], {M(m, "通訊地址"), M(m, "戶籍住址")}, kDesignOffset);
        previous = l3;
    }
    EXPECT_FALSE(lines.join('\n').contains("memo"));
}

TEST(MemberListReport, EmptySourcePrintsHeadersOnly)
{
    會員資料管理Rpt rpt;
    rpt.SetMembers(Snapshot(kMemberColumns));
    const report::Document doc = rpt.layout();
    ASSERT_EQ(doc.pages.size(), 1u);
    EXPECT_EQ(doc.pages[0].detailCount(), 0);
    EXPECT_EQ(doc.pages[0].find("Label14")->text, "會員資料列表");
    EXPECT_NE(doc.pages[0].find("Label10"), nullptr);
    EXPECT_TRUE(doc.missingFields.isEmpty()) << doc.missingFields.join(',').toStdString();
}

namespace {

// Every column of RV18A after the start-up upgrade.
const QStringList kContactColumns = {"RV18A0", "RV18A1", "RV18A2", "RV18A3", "RV18A4", "RV18A6", "RV18A7",
                                     "RV18A8", "RV18A9", "RV18A10", "RV18A11", "RV18A12", "RV18A13",
                                     "RV18Ahttp", "RV18A14", "RV18A15", "RV18A16", "RV18A17", "性別", "類別"};

QVariantList Contact(int i)
{
    const QString n = QString::number(i);
    return {"01", "00" + n, "張三" + n, "Zhang" + n, "1970/01/0" + n, "x", "C12345678" + n, "朋友",
            "(02)2345-111" + n, "x", "0922-00011" + n, "(02)8888-000" + n, "(02)8888-900" + n, "http", "memo",
            "台南市東區大學路" + n + "號", "嘉義市西區中山路" + n + "號", "remark" + n, "男", "朋友類"};
}

QString C(const QVariantList& row, const char* column)
{
    return row[kContactColumns.indexOf(QString::fromUtf8(column))].toString();
}

}  // namespace

// Two contacts read back from the PDF: seven columns of two lines, every value under its
// caption; the registered address under "戶籍地址", the current one under "現在地址", and the
// remarks not printed.
TEST(ContactListReport, PdfShowsEveryValueUnderItsCaption)
{
    個人通訊Rpt rpt;
    rpt.setPrintDate(QDate(2026, 12, 10));
    Snapshot rows(kContactColumns);
    rows.addRow(Contact(1));
    rows.addRow(Contact(2));
    rpt.setDataSource(rows);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("contacts.pdf");
    ASSERT_TRUE(rpt.ExportReport(pdf));
    const QStringList lines = PdfLines(pdf);

    ASSERT_GE(LineWith(lines, "個人通訊列表"), 0);
    const int dateLine = LineWith(lines, "列印日期:");
    ASSERT_GE(dateLine, 0);
    EXPECT_TRUE(lines[dateLine].contains("2026/12/10"));
    const int pageLine = LineWith(lines, "頁數:");
    ASSERT_GE(pageLine, 0);
    EXPECT_TRUE(QString(lines[pageLine]).remove(' ').contains("頁數:1/1"));

    const QStringList captions1 = {"分類編號", "中文姓名", "性別", "電話", "身份證號", "公司電話", "戶籍地址"};
    const QStringList captions2 = {"編號", "英文姓名", "出生日期", "行動電話", "關係", "傳真", "現在地址"};
    const int cap1 = LineWith(lines, "分類編號");
    ASSERT_GE(cap1, 0);
    ASSERT_EQ(LineWith(lines, "英文姓名", cap1), cap1 + 1);
    EXPECT_EQ(Words(lines[cap1]), captions1);
    EXPECT_EQ(Words(lines[cap1 + 1]), captions2);
    // Captions nearly touch one another, so pdftotext spaces them a little apart from the values.
    constexpr int kNarrowGaps = 4;
    int previous = cap1 + 1;
    for (int i = 1; i <= 2; ++i) {
        SCOPED_TRACE(i);
        const QVariantList c = Contact(i);
        const int l1 = LineWith(lines, C(c, "RV18A2"), previous + 1);
        ASSERT_GT(l1, previous);
        ASSERT_LT(l1 + 1, lines.size());
        ExpectUnderCaptions(lines[cap1], captions1, lines[l1],
                            {C(c, "類別"), C(c, "RV18A2"), C(c, "性別"), C(c, "RV18A9"), C(c, "RV18A7"),
                             C(c, "RV18A12"), C(c, "RV18A15")},
                            kNarrowGaps);
        ExpectUnderCaptions(lines[cap1 + 1], captions2, lines[l1 + 1],
                            {C(c, "RV18A1"), C(c, "RV18A3"), C(c, "RV18A4"), C(c, "RV18A11"), C(c, "RV18A8"),
                             C(c, "RV18A13"), C(c, "RV18A16")},
                            kNarrowGaps);
        previous = l1 + 1;
    }
    EXPECT_FALSE(lines.join('\n').contains("remark"));

    const report::Document empty = rpt.layout(Snapshot(kContactColumns));
    ASSERT_EQ(empty.pages.size(), 1u);
    EXPECT_EQ(empty.pages[0].detailCount(), 0);
    EXPECT_NE(empty.pages[0].find("Label17"), nullptr);
}

TEST(MemberAndContactReports, OneInstanceEach)
{
    EXPECT_EQ(&會員資料管理Rpt::Instance(), &會員資料管理Rpt::Instance());
    EXPECT_EQ(&個人通訊Rpt::Instance(), &個人通訊Rpt::Instance());
}
