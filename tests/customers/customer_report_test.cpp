#include "customers/CustomerListRpt.h"
#include "platform/report/Paint.h"
#include "platform/report/ReportWindow.h"
#include "support/PdfText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>

using report::Document;
using report::Snapshot;
using testsupport::ExpectUnderCaptions;
using testsupport::LineWith;
using testsupport::PdfLines;
using testsupport::Words;

namespace {

// Columns as RV12 holds them (letter case as a query may return it).
const QStringList kColumns = {"RV120", "rv121", "客戶全銜", "RV123", "RV124", "RV125", "RV126", "RV127",
                              "RV128", "RV129", "RV1210", "RV1211", "類別", "級別"};

QVariantList Customer(int i)
{
    const QString n = QString::number(i);
    return {QStringLiteral("C%1").arg(i, 5, 10, QChar('0')), QStringLiteral("大同%1").arg(n),
            QStringLiteral("大同%1股份有限公司").arg(n), QStringLiteral("(02)2592-%1").arg(i % 10000, 4, 10, QChar('0')),
            QStringLiteral("(02)2591-%1").arg(i % 10000, 4, 10, QChar('0')), "104", QStringLiteral("林蔚山"),
            QStringLiteral("1100%1").arg(i % 10000, 4, 10, QChar('0')),
            QStringLiteral("台北市中山北路三段%1號").arg(n), QStringLiteral("台北市中山區民權東路%1號").arg(n),
            QStringLiteral("王小明"), "memo", QStringLiteral("電子業"), "A"};
}

Snapshot Customers(int n)
{
    Snapshot s(kColumns);
    for (int i = 1; i <= n; ++i)
        s.addRow(Customer(i));
    return s;
}

}  // namespace

// The printed list read back from the PDF: title, date, page numbers, the twelve captions and
// every customer's twelve values, each value under its own caption.
TEST(CustomerListReport, PdfShowsEveryCaptionAndValueInItsColumn)
{
    ASSERT_FALSE(QStandardPaths::findExecutable("pdftotext").isEmpty()) << "scripts/setup installs poppler-utils";
    客戶資料管理Rpt rpt;
    rpt.setPrintDate(QDate(2026, 12, 10));
    rpt.setDataSource(Customers(3));
    QTemporaryDir dir;
    const QString pdf = dir.filePath("customers.pdf");
    ASSERT_TRUE(rpt.ExportReport(pdf));
    const QStringList lines = PdfLines(pdf);

    ASSERT_GE(LineWith(lines, QStringLiteral("客戶資料列表")), 0);
    const int dateLine = LineWith(lines, QStringLiteral("列印日期:"));
    ASSERT_GE(dateLine, 0);
    EXPECT_TRUE(lines[dateLine].contains("2026/12/10"));
    EXPECT_TRUE(QString(lines[dateLine]).remove(' ').contains(QStringLiteral("列印頁數:1／1")));

    // Captions: two lines, left to right.
    const int cap1 = LineWith(lines, QStringLiteral("客戶代號"));
    ASSERT_GE(cap1, 0);
    const int cap2 = LineWith(lines, QStringLiteral("客戶簡稱"), cap1);
    ASSERT_GT(cap2, cap1);
    const QStringList captions1 = {"客戶代號", "客戶全銜", "電話", "負責人", "公司地址"};
    const QStringList captions2 = {"客戶簡稱", "服務業務", "客戶分類", "客戶級別", "傳真", "統一編號", "發票地址"};
    EXPECT_EQ(Words(lines[cap1]), captions1);
    EXPECT_EQ(Words(lines[cap2]), captions2);

    // Each customer: its first line under the first captions, its second under the second.
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(i);
        const QVariantList c = Customer(i);
        auto v = [&](const char* column) { return c[kColumns.indexOf(QString::fromUtf8(column))].toString(); };
        const int l1 = LineWith(lines, v("RV120"));
        ASSERT_GT(l1, cap2);
        const int l2 = l1 + 1;
        ASSERT_LT(l2, lines.size());
        const QStringList first = {v("RV120"), v("客戶全銜"), v("RV123"), v("RV126"), v("RV128")};
        const QStringList second = {v("rv121"), v("RV1210"), v("類別"), v("級別"), v("RV124"), v("RV127"), v("RV129")};
        ExpectUnderCaptions(lines[cap1], captions1, lines[l1], first);
        ExpectUnderCaptions(lines[cap2], captions2, lines[l2], second);
    }
    EXPECT_FALSE(lines.join('\n').contains("memo"));  // columns the layout does not bind stay off
}

// 0 rows, 1, a full first page, one more, and full first and second pages with one more: the
// page count printed on page 1 is the real count, every customer prints once and in order.
TEST(CustomerListReport, PaginatesAroundPageBoundaries)
{
    客戶資料管理Rpt rpt;
    const Document probe = rpt.layout(Customers(200));
    const int firstPage = probe.pages[0].detailCount();
    const int laterPage = probe.pages[1].detailCount();
    ASSERT_GT(firstPage, 10);
    ASSERT_GE(laterPage, firstPage);

    struct Case {
        int rows, pages;
    };
    const Case cases[] = {{0, 1},
                          {1, 1},
                          {firstPage, 1},
                          {firstPage + 1, 2},
                          {firstPage + laterPage, 2},
                          {firstPage + laterPage + 1, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        const Document doc = rpt.layout(Customers(c.rows));
        ASSERT_EQ(int(doc.pages.size()), c.pages);
        EXPECT_EQ(doc.pages[0].find("Label18")->text, QString::number(c.pages));
        EXPECT_EQ(doc.pages[0].find("Label17")->text, "1");
        int next = 0;
        for (const report::Page& page : doc.pages) {
            EXPECT_NE(page.find("Label1"), nullptr);  // captions on every page
            for (const report::Item* it : page.itemsOf(客戶資料管理Rpt::kDetail))
                if (it->control == "txtRV120")
                    EXPECT_EQ(it->text, Customer(++next)[0].toString());
        }
        EXPECT_EQ(next, c.rows);
    }
    // No rows: one page with the headers and no detail.
    const Document empty = rpt.layout(Snapshot(kColumns));
    EXPECT_EQ(empty.pages[0].detailCount(), 0);
    EXPECT_NE(empty.pages[0].find("Label14"), nullptr);
    EXPECT_EQ(empty.pages[0].find("Label14")->text, QStringLiteral("客戶資料列表"));
}

TEST(CustomerListReport, PreviewClosesBackToNormalState)
{
    客戶資料管理Rpt& rpt = 客戶資料管理Rpt::Instance();
    EXPECT_EQ(&rpt, &客戶資料管理Rpt::Instance());
    rpt.setDataSource(Customers(40));
    rpt.Show();
    report::ReportWindow* w = rpt.window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("客戶資料列表"));
    EXPECT_EQ(w->pageCount(), 2);
    w->setWindowState(Qt::WindowMaximized);
    EXPECT_TRUE(w->close());
    EXPECT_EQ(w->windowState(), Qt::WindowNoState);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(rpt.window(), nullptr);
}

// Ten thousand customers: the page model well under a second, the PDF in a few.
TEST(CustomerListReport, TenThousandCustomers)
{
    客戶資料管理Rpt rpt;
    const Snapshot rows = Customers(10000);
    QElapsedTimer timer;
    timer.start();
    const Document doc = rpt.layout(rows);
    const qint64 layoutMs = timer.elapsed();
    int printed = 0;
    for (const report::Page& page : doc.pages)
        printed += page.detailCount();
    EXPECT_EQ(printed, 10000);
    EXPECT_EQ(doc.pages[0].find("Label18")->text, QString::number(doc.pages.size()));

    QTemporaryDir dir;
    timer.restart();
    ASSERT_TRUE(report::WritePdf(doc, dir.filePath("all.pdf")));
    const qint64 pdfMs = timer.elapsed();
    std::cout << "10000 customers: " << doc.pages.size() << " pages, layout " << layoutMs << " ms, PDF " << pdfMs
              << " ms, " << QFileInfo(dir.filePath("all.pdf")).size() / 1024 << " KiB\n";
    EXPECT_LT(layoutMs, 2000);
    EXPECT_LT(pdfMs, 60000);
}
