#include "support/PdfText.h"
#include "vendors/FactoryListRpt.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using report::Snapshot;
using testsupport::ExpectUnderCaptions;
using testsupport::LineWith;
using testsupport::PdfLines;

namespace {

// Every column of RV11 as the list-printing window selects them.
const QStringList kColumns = {"RV110", "RV111", "RV112", "RV113", "RV114", "RV115", "RV116", "RV117",
                              "RV118", "RV119", "RV1110", "RV1111", "RV1112", "RV1113", "RV1114",
                              "RV1115", "RV1116", "RV1117", "RV1118", "廠商狀況"};

QVariantList Vendor(int i)
{
    const QString n = QString::number(i);
    return {"A01", "A01-00" + n, "華新" + n, "華新麗華" + n + "股份有限公司", "陳聯絡" + n, "焦負責" + n,
            "0912-00000" + n, "8654321" + n, "月結30天", "x", "x", "台北市松山區南京東路" + n + "號",
            "新北市林口區工業路" + n + "號", "(02)2712-000" + n, "(02)2712-900" + n, "", "", "", "memo",
            "往來中"};
}

Snapshot Vendors(int n)
{
    Snapshot s(kColumns);
    for (int i = 1; i <= n; ++i)
        s.addRow(Vendor(i));
    return s;
}

QString V(const QVariantList& row, const char* column)
{
    return row[kColumns.indexOf(QString::fromUtf8(column))].toString();
}

const QStringList kCaptions1 = {"廠商代號", "廠商全銜", "統一編號", "負責人", "聯絡人", "付款方式", "廠商狀況"};
const QStringList kCaptions2 = {"廠商簡稱", "電話", "傳真", "行動電話"};
const QStringList kCaptions3 = {"公司地址", "發票地址"};

}  // namespace

// Two vendors read back from the PDF: the header, the three caption lines and each vendor's
// three lines, every value under its own caption ("發票地址" over RV1112).
TEST(VendorListReport, PdfShowsEveryValueUnderItsCaption)
{
    廠商報表列印Rpt rpt;
    rpt.setPrintDate(QDate(2026, 12, 10));
    rpt.setDataSource(Vendors(2));
    QTemporaryDir dir;
    const QString pdf = dir.filePath("vendors.pdf");
    ASSERT_TRUE(rpt.ExportReport(pdf));
    const QStringList lines = PdfLines(pdf);

    ASSERT_GE(LineWith(lines, "廠商資料列表"), 0);
    const int dateLine = LineWith(lines, "列印日期:");
    ASSERT_GE(dateLine, 0);
    EXPECT_TRUE(lines[dateLine].contains("2026/12/10"));
    EXPECT_TRUE(QString(lines[dateLine]).remove(' ').contains("列印頁數:1／1"));

    const int cap1 = LineWith(lines, "廠商代號");
    const int cap2 = LineWith(lines, "廠商簡稱", cap1);
    const int cap3 = LineWith(lines, "公司地址", cap2);
    ASSERT_GE(cap1, 0);
    ASSERT_EQ(cap2, cap1 + 1);
    ASSERT_EQ(cap3, cap2 + 1);
    EXPECT_EQ(testsupport::Words(lines[cap1]), kCaptions1);
    EXPECT_EQ(testsupport::Words(lines[cap2]), kCaptions2);
    EXPECT_EQ(testsupport::Words(lines[cap3]), kCaptions3);

    int previous = cap3;
    for (int i = 1; i <= 2; ++i) {
        SCOPED_TRACE(i);
        const QVariantList v = Vendor(i);
        const int l1 = LineWith(lines, V(v, "RV111"), previous + 1);
        ASSERT_GT(l1, previous);
        ASSERT_LT(l1 + 2, lines.size());
        ExpectUnderCaptions(lines[cap1], kCaptions1, lines[l1],
                            {V(v, "RV111"), V(v, "RV113"), V(v, "RV117"), V(v, "RV115"), V(v, "RV114"),
                             V(v, "RV118"), V(v, "廠商狀況")});
        ExpectUnderCaptions(lines[cap2], kCaptions2, lines[l1 + 1],
                            {V(v, "RV112"), V(v, "RV1113"), V(v, "RV1114"), V(v, "RV116")});
        ExpectUnderCaptions(lines[cap3], kCaptions3, lines[l1 + 2], {V(v, "RV1111"), V(v, "RV1112")});
        previous = l1 + 2;
    }
    EXPECT_FALSE(lines.join('\n').contains("memo"));
}

// No rows: the report header and the captions, no detail block.  Empty values keep the block
// at its three lines, and the page count stands on the first page only.
TEST(VendorListReport, EmptySourceAndPaging)
{
    廠商報表列印Rpt rpt;
    const report::Document empty = rpt.layout(Snapshot(kColumns));
    ASSERT_EQ(empty.pages.size(), 1u);
    EXPECT_EQ(empty.pages[0].detailCount(), 0);
    EXPECT_EQ(empty.pages[0].find("Label14")->text, "廠商資料列表");
    EXPECT_EQ(empty.pages[0].find("Label18")->text, "1");
    EXPECT_NE(empty.pages[0].find("Label13"), nullptr);

    Snapshot blank(kColumns);
    blank.addRow({});
    const report::Document one = rpt.layout(blank);
    EXPECT_EQ(one.pages[0].detailCount(), 1);
    EXPECT_EQ(one.pages[0].find("txtRV1112", 0)->text, "");

    const report::Document many = rpt.layout(Vendors(60));
    ASSERT_GE(many.pages.size(), 2u);
    EXPECT_EQ(many.pages[0].find("Label18")->text, QString::number(many.pages.size()));
    EXPECT_EQ(many.pages[1].find("Label18"), nullptr);
    EXPECT_NE(many.pages[1].find("Label1"), nullptr);
    int printed = 0;
    for (const report::Page& page : many.pages)
        printed += page.detailCount();
    EXPECT_EQ(printed, 60);
    EXPECT_TRUE(many.missingFields.isEmpty()) << many.missingFields.join(',').toStdString();
}

TEST(VendorListReport, OneInstance)
{
    EXPECT_EQ(&廠商報表列印Rpt::Instance(), &廠商報表列印Rpt::Instance());
    EXPECT_EQ(廠商報表列印Rpt::Instance().title(), "廠商資料列表");
}
