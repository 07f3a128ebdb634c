#include "staff/StaffListRpt.h"
#include "support/PdfText.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using report::Snapshot;
using testsupport::ExpectUnderCaptions;
using testsupport::LineWith;
using testsupport::PdfLines;
using testsupport::Words;

namespace {

// Every column of RV17A as the list-printing window selects them.
const QStringList kColumns = {"RV17A0",  "RV17A1",  "RV17A2",  "RV17A3",  "RV17A4",  "RV17A5",
                              "RV17A6",  "RV17A7",  "RV17A8",  "RV17A9",  "RV17A10", "RV17A11",
                              "RV17A12", "RV17A13", "RV17A14", "RV17A15", "RV17A16", "RV17A17",
                              "chk0",    "EnglishName", "AddInsuranceDate", "EmployeePart"};

QVariantList Employee(int i, const QString& left = QString())
{
    const QString n = QString::number(i);
    return {"01",   "01-00" + n,  "王大明" + n, "x", "1980/01/0" + n, "wang" + n + "@example.com",
            "男",   "A12345678" + n, "經理" + n, "(02)2345-678" + n, "msn" + n, "0911-22233" + n,
            "2020/03/0" + n, left, "台中市西屯區文心路" + n + "號", "台北市大安區信義路" + n + "號", "x",
            "memo", 0, "David" + n, "2020/03/1" + n, "A" + n};
}

QString V(const QVariantList& row, const char* column)
{
    return row[kColumns.indexOf(QString::fromUtf8(column))].toString();
}

const QStringList kCaptions1 = {"部門名稱", "中文姓名", "出生日期", "職稱", "性別", "電話", "到職日", "e-mail"};
const QStringList kCaptions2 = {"員工編號", "英文姓名", "身份證字號", "加保日期", "職級別", "行動電話", "離職日", "ICQ/MSN"};
const QStringList kCaptions3 = {"現住地址", "戶籍地址"};

}  // namespace

// Two employees read back from the PDF, one still employed: every value under its own
// caption, the page number and count at the right of the captions.
TEST(StaffListReport, PdfShowsEveryValueUnderItsCaption)
{
    員工資料Rpt rpt;
    rpt.setPrintDate(QDate(2026, 12, 10));
    Snapshot rows(kColumns);
    rows.addRow(Employee(1));
    rows.addRow(Employee(2, "2024/05/31"));
    rpt.setDataSource(rows);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("staff.pdf");
    ASSERT_TRUE(rpt.ExportReport(pdf));
    const QStringList lines = PdfLines(pdf);

    ASSERT_GE(LineWith(lines, "員工資料列表"), 0);
    const int dateLine = LineWith(lines, "列印日期:");
    ASSERT_GE(dateLine, 0);
    EXPECT_TRUE(lines[dateLine].contains("2026/12/10"));

    const int cap1 = LineWith(lines, "部門名稱");
    ASSERT_GE(cap1, 0);
    ASSERT_EQ(LineWith(lines, "員工編號", cap1), cap1 + 1);
    ASSERT_EQ(LineWith(lines, "現住地址", cap1), cap1 + 2);
    EXPECT_EQ(Words(lines[cap1]), kCaptions1 + QStringList{"頁數:"});
    EXPECT_EQ(Words(lines[cap1 + 1]).mid(0, kCaptions2.size()), kCaptions2);
    EXPECT_TRUE(lines[cap1 + 1].mid(lines[cap1 + 1].indexOf("ICQ/MSN") + 7).remove(' ') == "1/1") << lines[cap1 + 1].toStdString();
    EXPECT_EQ(Words(lines[cap1 + 2]), kCaptions3);
    const QString captions2 = lines[cap1 + 1];

    int previous = cap1 + 2;
    for (int i = 1; i <= 2; ++i) {
        SCOPED_TRACE(i);
        const QVariantList v = i == 1 ? Employee(1) : Employee(2, "2024/05/31");
        const int l1 = LineWith(lines, V(v, "RV17A2"), previous + 1);
        ASSERT_GT(l1, previous);
        ASSERT_LT(l1 + 2, lines.size());
        ExpectUnderCaptions(lines[cap1], kCaptions1, lines[l1],
                            {V(v, "RV17A0"), V(v, "RV17A2"), V(v, "RV17A4"), V(v, "RV17A8"), V(v, "RV17A6"),
                             V(v, "RV17A9"), V(v, "RV17A12"), V(v, "RV17A5")});
        QStringList captions = kCaptions2;
        QStringList second = {V(v, "RV17A1"), V(v, "EnglishName"), V(v, "RV17A7"), V(v, "AddInsuranceDate"),
                              V(v, "EmployeePart"), V(v, "RV17A11"), V(v, "RV17A13"), V(v, "RV17A10")};
        if (i == 1) {  // still employed: the date-left box stays empty
            captions.removeAt(6);
            second.removeAt(6);
        }
        ExpectUnderCaptions(captions2, captions, lines[l1 + 1], second);
        ExpectUnderCaptions(lines[cap1 + 2], kCaptions3, lines[l1 + 2], {V(v, "RV17A15"), V(v, "RV17A14")});
        previous = l1 + 2;
    }
    EXPECT_FALSE(lines.join('\n').contains("memo"));
}

// No rows: the headers only.  Many rows: every page carries "頁數:" with its own number and
// the page count.
TEST(StaffListReport, EmptySourceAndPageNumbers)
{
    員工資料Rpt rpt;
    const report::Document empty = rpt.layout(Snapshot(kColumns));
    ASSERT_EQ(empty.pages.size(), 1u);
    EXPECT_EQ(empty.pages[0].detailCount(), 0);
    EXPECT_EQ(empty.pages[0].find("LabelTitle")->text, "員工資料列表");
    EXPECT_NE(empty.pages[0].find("Label22"), nullptr);

    Snapshot rows(kColumns);
    for (int i = 1; i <= 50; ++i)
        rows.addRow(Employee(i % 10));
    const report::Document doc = rpt.layout(rows);
    ASSERT_GE(doc.pages.size(), 2u);
    int printed = 0;
    for (size_t p = 0; p < doc.pages.size(); ++p) {
        const report::Page& page = doc.pages[p];
        EXPECT_EQ(page.find("Label9")->text, "頁數:");
        EXPECT_EQ(page.find("Label18")->text, QString::number(p + 1));
        EXPECT_EQ(page.find("Label20")->text, QString::number(doc.pages.size()));
        printed += page.detailCount();
    }
    EXPECT_EQ(printed, 50);
    EXPECT_EQ(doc.pages[1].find("LabelTitle"), nullptr);
    EXPECT_TRUE(doc.missingFields.isEmpty()) << doc.missingFields.join(',').toStdString();
}

TEST(StaffListReport, OneInstance)
{
    EXPECT_EQ(&員工資料Rpt::Instance(), &員工資料Rpt::Instance());
}
