#include "platform/db/Db.h"
#include "platform/report/Paint.h"
#include "platform/report/Report.h"
#include "platform/report/ReportWindow.h"
#include "platform/ui/Ui.h"
#include "support/DiskFull.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using namespace report;

namespace {

// A small list: report header 1000, page header 500, detail 1000, page footer 400, report
// footer 300, margins 360.  Page 1 holds 14 details, later pages 15.
std::unique_ptr<Report> SampleReport()
{
    auto r = std::make_unique<Report>(QStringLiteral("樣本列表"), QStringLiteral("Section4"),
                                      QStringLiteral("PageHeader"), QStringLiteral("樣本_Detail"),
                                      QStringLiteral("PageFooter"), QStringLiteral("ReportFooter"));
    r->setReportWidth(11000);
    r->setPrintDate(QDate(2026, 3, 7));
    Section& rh = r->section(SectionKind::ReportHeader);
    rh.height = 1000;
    rh.addLabel("LabelTitle", "%i", 6000, 60, 4000, 400, Font{"新細明體", 18, true});
    rh.addLabel("LabelDate", "列印日期:%d", 0, 600, 3000, 240);
    Section& ph = r->section(SectionKind::PageHeader);
    ph.height = 500;
    ph.addLabel("Label1", "代號", 0, 0, 1000, 240, Font{"新細明體", 11.25, true});
    ph.addLabel("Label2", "名稱", 1200, 0, 3000, 240, Font{"新細明體", 11.25, true});
    ph.addLabel("LabelPage", "第%p頁/共%P頁", 9000, 0, 2000, 240);
    ph.addLine("Line2", 0, 450, 11000);
    Section& d = r->section(SectionKind::Detail);
    d.height = 1000;
    d.addField("txtCode", "CODE", 0, 30, 1000, 240);
    d.addField("txtName", "name", 1200, 30, 3000, 240);
    d.addLine("Line1", 0, 980, 11000);
    Section& pf = r->section(SectionKind::PageFooter);
    pf.height = 400;
    pf.addLabel("LabelFoot", "- %p -", 5000, 60, 1000, 240, Font{}, Align::Center);
    Section& rf = r->section(SectionKind::ReportFooter);
    rf.height = 300;
    rf.addLabel("LabelEnd", "報表結束", 0, 30, 2000, 240);
    return r;
}

Snapshot Rows(int n)
{
    Snapshot s({"Code", "Name"});
    for (int i = 0; i < n; ++i)
        s.addRow({QStringLiteral("C%1").arg(i + 1, 4, 10, QChar('0')), QStringLiteral("客戶%1").arg(i + 1)});
    return s;
}

bool HavePoppler()
{
    return !QStandardPaths::findExecutable("pdftotext").isEmpty();
}

QString RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

// Pagination around the page boundaries: 0 rows, 1, a page minus one, exactly a page (the
// report footer then moves to a page of its own), one more, two full pages and one more.
TEST(ReportLayout, PaginatesAroundPageBoundaries)
{
    struct Case {
        int rows;
        std::vector<int> perPage;
    };
    const Case cases[] = {
        {0, {0}}, {1, {1}}, {13, {13}}, {14, {14, 0}}, {15, {14, 1}}, {29, {14, 15, 0}}, {30, {14, 15, 1}},
    };
    auto r = SampleReport();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        const Document doc = r->layout(Rows(c.rows));
        const int pages = int(doc.pages.size());
        ASSERT_EQ(pages, int(c.perPage.size()));
        int nextRow = 0;
        for (int p = 0; p < pages; ++p) {
            SCOPED_TRACE(p + 1);
            const Page& page = doc.pages[size_t(p)];
            EXPECT_EQ(page.detailCount(), c.perPage[size_t(p)]);
            // Report header on the first page only, page header and footer on every page.
            EXPECT_EQ(page.find("LabelTitle") != nullptr, p == 0);
            ASSERT_NE(page.find("LabelPage"), nullptr);
            EXPECT_EQ(page.find("LabelPage")->text, QStringLiteral("第%1頁/共%2頁").arg(p + 1).arg(pages));
            ASSERT_NE(page.find("LabelFoot"), nullptr);
            EXPECT_EQ(page.find("LabelFoot")->text, QStringLiteral("- %1 -").arg(p + 1));
            EXPECT_EQ(page.find("LabelFoot")->rect.top(), kA4Height - 360 - 400 + 60);
            // Rows in order, none lost or repeated, every detail above the page footer.
            for (const Item* it : page.itemsOf("樣本_Detail")) {
                if (it->control != "txtCode")
                    continue;
                EXPECT_EQ(it->row, nextRow);
                EXPECT_EQ(it->text, QStringLiteral("C%1").arg(nextRow + 1, 4, 10, QChar('0')));
                EXPECT_LE(it->rect.top() - 30 + 1000, kA4Height - 360 - 400);
                ++nextRow;
            }
            EXPECT_EQ(page.find("LabelEnd") != nullptr, p == pages - 1);
        }
        EXPECT_EQ(nextRow, c.rows);
        // The page header follows the report header on page 1 and starts later pages.
        EXPECT_EQ(doc.pages[0].find("Label1")->rect.top(), 360 + 1000);
        if (pages > 1)
            EXPECT_EQ(doc.pages[1].find("Label1")->rect.top(), 360);
        // The report footer comes right after the last detail.
        const Page& last = doc.pages.back();
        const int afterDetails = last.detailCount() > 0 ? last.itemsOf("樣本_Detail").back()->rect.top() - 980 + 1000
                                                        : (pages == 1 ? 360 + 1000 + 500 : 360 + 500);
        EXPECT_EQ(last.find("LabelEnd")->rect.top(), afterDetails + 30);
    }
}

TEST(ReportLayout, LabelCodesAreReplacedInLabelsOnly)
{
    auto r = SampleReport();
    Section& rh = r->section("SECTION4");
    rh.addLabel("Mixed", "%i|%d|%p/%P|%%|%x|100%", 0, 300, 9000, 240);
    rh.addLabel("Lines", "1.\t第一行\r\n2.\t第二行", 0, 700, 9000, 600);
    Snapshot rows({"code", "name"});
    rows.addRow({"%p", "%i 50%"});
    const Document doc = r->layout(rows);
    const Page& page = doc.pages.at(0);
    EXPECT_EQ(page.find("LabelTitle")->text, QStringLiteral("樣本列表"));
    EXPECT_EQ(page.find("LabelDate")->text, QStringLiteral("列印日期:2026/03/07"));
    EXPECT_EQ(page.find("Mixed")->text, QStringLiteral("樣本列表|2026/03/07|1/1|%%|%x|100%"));
    EXPECT_EQ(page.find("Lines")->text, QStringLiteral("1.\t第一行\r\n2.\t第二行"));
    EXPECT_EQ(page.find("txtCode", 0)->text, QStringLiteral("%p"));
    EXPECT_EQ(page.find("txtName", 0)->text, QStringLiteral("%i 50%"));
    EXPECT_EQ(doc.title, QStringLiteral("樣本列表"));
}

TEST(ReportLayout, FieldsBindByNameAndCanBeRebound)
{
    auto r = SampleReport();
    Snapshot rows({"CODE", "Name", "備註"});
    rows.addRow({"A1", "甲", "附記"});
    Document doc = r->layout(rows);
    EXPECT_EQ(doc.pages[0].find("txtCode", 0)->text, "A1");
    EXPECT_EQ(doc.pages[0].find("txtName", 0)->text, QStringLiteral("甲"));
    EXPECT_TRUE(doc.missingFields.isEmpty());

    r->control("TXTNAME").dataField = "備註";
    r->section("樣本_detail").control("txtCode").dataField = "NoSuchColumn";
    doc = r->layout(rows);
    EXPECT_EQ(doc.pages[0].find("txtName", 0)->text, QStringLiteral("附記"));
    EXPECT_EQ(doc.pages[0].find("txtCode", 0)->text, QString());
    EXPECT_EQ(doc.missingFields, QStringList{"NoSuchColumn"});

    EXPECT_THROW(r->section("Detail"), ReportError);
    EXPECT_THROW(r->control("Nothing"), ReportError);
}

TEST(ReportLayout, FieldValuesPrintAsText)
{
    const std::pair<QVariant, QString> cases[] = {
        {QVariant(), ""},
        {QVariant(QString()), ""},
        {QVariant(qint64(1234567890123)), "1234567890123"},
        {QVariant(12.5), "12.5"},
        {QVariant(0.1 + 0.2), "0.3"},
        {QVariant(QDate(2008, 9, 3)), "2008/9/3"},
        {QVariant(QDateTime(QDate(2008, 9, 3), QTime(0, 0))), "2008/9/3"},
        {QVariant(QDateTime(QDate(2008, 9, 3), QTime(14, 5, 6))), "2008/9/3 14:05:06"},
        {QVariant(QStringLiteral(" 台北市 ")), QStringLiteral(" 台北市 ")},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FieldText(value), text) << value.toString().toStdString();
}

TEST(ReportLayout, RunTimeHeightsMarginAndOrientation)
{
    auto r = SampleReport();
    r->section("樣本_Detail").height = 2000;
    r->section("PageHeader").height = 180;
    r->setLeftMargin(100);
    r->setOrientation(Orientation::Landscape);
    const Document doc = r->layout(Rows(3));
    EXPECT_EQ(doc.pageSize, QSize(kA4Height, kA4Width));
    const Page& page = doc.pages.at(0);
    EXPECT_EQ(page.find("txtCode", 0)->rect.topLeft(), QPoint(100, 360 + 1000 + 180 + 30));
    EXPECT_EQ(page.find("txtCode", 1)->rect.top() - page.find("txtCode", 0)->rect.top(), 2000);
    EXPECT_EQ(page.find("LabelFoot")->rect.top(), kA4Width - 360 - 400 + 60);
    const Item* line = page.find("Line1", 0);
    EXPECT_EQ(line->kind, Item::Kind::Line);
    EXPECT_EQ(line->lineEnd(), QPoint(100 + 11000, line->rect.top()));

    // Impossible geometry is clamped instead of looping: a detail taller than the page prints
    // one to a page, negative heights and margins count as zero.
    r->setOrientation(Orientation::Portrait);
    r->section("樣本_Detail").height = 40000;
    r->section("PageFooter").height = -5;
    r->setLeftMargin(-300);
    const Document tall = r->layout(Rows(3));
    ASSERT_EQ(tall.pages.size(), 4u);  // the report footer follows on a page of its own
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(tall.pages[size_t(p)].detailCount(), 1);
    EXPECT_EQ(tall.pages[0].find("txtCode", 0)->rect.left(), 0);
}

TEST(ReportPdf, TextReadsBackInItsColumns)
{
    ASSERT_TRUE(HavePoppler()) << "pdftotext is missing: scripts/setup installs poppler-utils";
    QTemporaryDir dir;
    auto r = SampleReport();
    Section& d = r->section(SectionKind::Detail);
    d.addField("txtZip", "zip", 4500, 30, 1200, 240, Font{"Arial", 11.25, true});
    r->section("Section4").addLabel("Notes", "1.\t第一行\r\n2.\t第二行", 3200, 500, 4000, 480);
    Snapshot rows({"code", "name", "zip"});
    for (int i = 0; i < 16; ++i)
        rows.addRow({QStringLiteral("C%1").arg(i + 1), QStringLiteral("台灣大道%1號").arg(i + 1), "40756"});
    // A value longer than its box is cut at the box's edge, not printed over the next column.
    rows.addRow({"LONGCODE-WIDER-THAN-ITS-BOX", "名", "1"});
    const Document doc = r->layout(rows);
    ASSERT_EQ(doc.pages.size(), 2u);
    const QString pdf = dir.filePath("sample.pdf");
    ASSERT_TRUE(WritePdf(doc, pdf));

    const QString text = RunTool("pdftotext", {"-layout", pdf, "-"});
    const QStringList pages = text.split(QChar('\f'));
    ASSERT_GE(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("樣本列表")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("列印日期:2026/03/07")));
    // Both lines of a two-line label, tabs expanded within the box.
    EXPECT_TRUE(pages[0].simplified().contains(QStringLiteral("1. 第一行")));
    EXPECT_TRUE(pages[0].simplified().contains(QStringLiteral("2. 第二行")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("第2頁/共2頁")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("報表結束")));
    // Each row on one line, its values in the order of the captions.
    for (int i = 0; i < 16; ++i) {
        const QString code = QStringLiteral("C%1").arg(i + 1);
        const QString name = QStringLiteral("台灣大道%1號").arg(i + 1);
        bool found = false;
        for (const QString& line : text.split('\n')) {
            const QStringList words = line.simplified().split(' ');
            if (words.size() == 3 && words[0] == code) {
                EXPECT_EQ(words[1], name);
                EXPECT_EQ(words[2], "40756");
                found = true;
            }
        }
        EXPECT_TRUE(found) << code.toStdString();
    }
    EXPECT_FALSE(text.contains("LONGCODE-WIDER-THAN-ITS-BOX"));
    EXPECT_TRUE(text.contains("LONGCODE"));

    // Fonts are embedded, so the page prints the same everywhere.
    const QString fonts = RunTool("pdffonts", {pdf});
    for (const QString& line : fonts.split('\n').mid(2))
        if (!line.trimmed().isEmpty())
            EXPECT_TRUE(line.contains(" yes ")) << line.toStdString();
}

TEST(ReportPreview, ShowsNavigatesAndRunsTheReportsHandlers)
{
    auto r = SampleReport();
    int startUps = 0, queries = 0;
    bool allowClose = false;
    r->onStartUp = [&](Report&) { ++startUps; };
    r->onQueryClose = [&](ReportWindow& w) {
        ++queries;
        w.setWindowState(Qt::WindowNoState);
        return allowClose;
    };
    r->setDataSource(Rows(30));
    r->Show();
    ReportWindow* w = r->window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("樣本列表"));
    EXPECT_EQ(w->pageText(), "1 / 3");
    w->nextPage();
    EXPECT_EQ(w->pageText(), "2 / 3");
    w->lastPage();
    w->nextPage();
    EXPECT_EQ(w->pageText(), "3 / 3");
    w->setZoom(2.0);
    EXPECT_EQ(w->zoom(), 2.0);

    // Showing again takes a fresh snapshot of the source into the same window.
    r->setDataSource(Rows(2));
    r->Show();
    EXPECT_EQ(r->window(), w);
    EXPECT_EQ(w->pageText(), "1 / 1");
    EXPECT_EQ(startUps, 1);

    // The report may refuse to close; once it agrees the window goes away.
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    allowClose = true;
    EXPECT_TRUE(w->close());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(r->window(), nullptr);
    EXPECT_EQ(queries, 2);
}

namespace {

// Answers the save-file and print dialogs the way a user would.
struct DialogAnswers : ui::Responder {
    QString savePath;
    QString savedTitle, savedDir;
    QString printTo;
    int fromPage = 0, toPage = 0;
    std::vector<ui::MessageCall> messages;
    ui::Answer onMessage(const ui::MessageCall& call) override
    {
        messages.push_back(call);
        return ui::Answer::OK;
    }
    QString onSaveFile(const QString& title, const QString& dir, const QString&) override
    {
        savedTitle = title;
        savedDir = dir;
        return savePath;
    }
    int onModal(QDialog* dialog) override
    {
        auto* print = qobject_cast<QPrintDialog*>(dialog);
        if (!print || printTo.isEmpty())
            return QDialog::Rejected;
        print->printer()->setOutputFormat(QPrinter::PdfFormat);
        print->printer()->setOutputFileName(printTo);
        if (fromPage > 0) {
            print->printer()->setPrintRange(QPrinter::PageRange);
            print->printer()->setFromTo(fromPage, toPage);
        }
        return QDialog::Accepted;
    }
};

}  // namespace

TEST(ReportPdf, ExportAndPrintGoThroughTheirDialogs)
{
    QTemporaryDir dir;
    DialogAnswers answers;
    ui::Responder* previous = ui::SetResponder(&answers);
    ui::SetToday(QDate(2008, 9, 3));
    auto r = SampleReport();
    r->setPrintDate(QDate());  // today by the program's clock
    r->setDataSource(Rows(30));

    EXPECT_FALSE(r->ExportReport());  // the user cancels
    EXPECT_EQ(answers.savedTitle, QStringLiteral("樣本列表"));
    EXPECT_EQ(answers.savedDir, QStringLiteral("樣本列表.pdf"));
    answers.savePath = dir.filePath("out.pdf");
    EXPECT_TRUE(r->ExportReport());
    EXPECT_FALSE(r->ExportReport(dir.filePath("no/such/folder/x.pdf")));
    r->setOrientation(Orientation::Landscape);
    EXPECT_TRUE(r->ExportReport(dir.filePath("landscape.pdf")));
    r->setOrientation(Orientation::Portrait);

    // The preview's print button prints the pages chosen in the print dialog.
    r->Show();
    answers.printTo = dir.filePath("printed.pdf");
    answers.fromPage = 2;
    answers.toPage = 3;
    r->window()->printReport();
    r->closeWindow();
    ui::SetToday(QDate());
    ui::SetResponder(previous);

    ASSERT_TRUE(HavePoppler()) << "pdftotext is missing: scripts/setup installs poppler-utils";
    const QString exported = RunTool("pdftotext", {"-layout", answers.savePath, "-"});
    EXPECT_TRUE(exported.contains(QStringLiteral("列印日期:2008/09/03")));
    EXPECT_EQ(exported.count(QChar('\f')), 3);
    EXPECT_TRUE(RunTool("pdfinfo", {answers.savePath}).contains("595 x 842 pts (A4)"));
    EXPECT_TRUE(RunTool("pdfinfo", {dir.filePath("landscape.pdf")}).contains("842 x 595 pts (A4)"));
    const QString printed = RunTool("pdftotext", {"-layout", answers.printTo, "-"});
    EXPECT_EQ(printed.count(QChar('\f')), 2);
    EXPECT_TRUE(printed.contains(QStringLiteral("第2頁/共3頁")));
    EXPECT_TRUE(printed.contains(QStringLiteral("第3頁/共3頁")));
    EXPECT_TRUE(printed.contains("C0030"));
}

// A PDF that cannot be written is said in Chinese with its file error number and what to do;
// neither a half file nor a temporary is left, and an earlier file stays as it was.
TEST(ReportPdf, AFailedExportSaysWhyAndLeavesNoHalfFile)
{
    QTemporaryDir dir;
    const QString earlier = dir.filePath("earlier.pdf");
    {
        QFile f(earlier);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("%PDF-1.4 the earlier report\n%%EOF\n");
    }
    QFile(dir.filePath("plain")).open(QIODevice::WriteOnly);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    struct Case {
        const char* what;
        QString path;
        bool diskFull;
        const char* number;
        const char* advice;
    } cases[] = {
        {"full disk", earlier, true, "61: ", "磁碟空間"},
        {"read-only folder", QStringLiteral("/sys/清單.pdf"), false, "70: ", "可以寫入的資料夾"},
        {"no such folder", dir.filePath("plain/清單.pdf"), false, "76: ", "資料夾存在"},
    };
    DialogAnswers answers;
    ui::Responder* previous = ui::SetResponder(&answers);
    auto r = SampleReport();
    r->setDataSource(Rows(30));
    r->Show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        answers.messages.clear();
        answers.savePath = c.path;
        {
            std::optional<testsupport::DiskFull> full;
            if (c.diskFull)
                full.emplace(2048);
            r->window()->exportPdf();
        }
        ASSERT_EQ(answers.messages.size(), 1u);
        const ui::MessageCall& m = answers.messages[0];
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("匯出失敗，原因如下：\r\n\r\n") + QLatin1String(c.number)))
            << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(c.path));
        EXPECT_TRUE(m.text.contains(QString::fromUtf8(c.advice))) << m.text.toStdString();
        EXPECT_EQ(m.title, QStringLiteral("匯出失敗"));
        EXPECT_EQ(m.icon, ui::Icon::Critical);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before);
        EXPECT_EQ(QFile::exists(c.path), c.path == earlier);
    }
    QFile f(earlier);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "%PDF-1.4 the earlier report\n%%EOF\n");

    // The export without a preview says the same.
    answers.messages.clear();
    EXPECT_FALSE(r->ExportReport(dir.filePath("plain/x.pdf")));
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_EQ(answers.messages[0].title, QStringLiteral("匯出失敗"));
    r->closeWindow();
    ui::SetResponder(previous);
}

// A recordset source is read when the report is shown: its rows as they are then, in the
// caller's filter and order, without moving the caller's cursor.
TEST(ReportSource, RecordsetIsReadWhenShown)
{
    db::Recordset rs;
    rs.Append("Code", db::adVarWChar, 10);
    rs.Append("Name", db::adVarWChar, 20);
    rs.Append("Qty", db::adInteger);
    rs.Open();
    const std::tuple<const char*, const char*, QVariant> data[] = {
        {"A1", "甲", 1}, {"B2", "乙", QVariant()}, {"C3", "丙", 3}};
    for (const auto& [code, name, qty] : data) {
        rs.AddNew();
        rs.setValue("Code", QString::fromUtf8(code));
        rs.setValue("Name", QString::fromUtf8(name));
        rs.setValue("Qty", qty);
        rs.Update();
    }
    auto r = SampleReport();
    r->setDataSource(rs);

    // Changes after the hand-over still print: the rows are taken at layout time.
    rs.setSort("Code DESC");
    rs.setFilter("Code <> 'B2'");
    rs.MoveLast();
    const db::Bookmark where = rs.bookmark();
    const Document doc = r->layout();
    EXPECT_EQ(rs.bookmark(), where);
    const Page& page = doc.pages.at(0);
    ASSERT_EQ(page.detailCount(), 2);
    EXPECT_EQ(page.find("txtCode", 0)->text, "C3");
    EXPECT_EQ(page.find("txtName", 0)->text, QStringLiteral("丙"));
    EXPECT_EQ(page.find("txtCode", 1)->text, "A1");

    const Snapshot all = Snapshot::fromRecordset(rs);
    EXPECT_EQ(all.columns(), (QStringList{"Code", "Name", "Qty"}));
    EXPECT_EQ(all.value(1, "QTY"), QVariant(1));

    // A closed or empty source prints the headers alone.
    rs.Close();
    EXPECT_EQ(r->layout().pages.at(0).detailCount(), 0);
    db::Recordset empty;
    empty.Append("Code", db::adVarWChar, 10);
    empty.Open();
    r->setDataSource(empty);
    EXPECT_EQ(r->layout().pages.at(0).detailCount(), 0);
}

TEST(ReportSource, QueryResultPrints)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("t.mdb");
    db::Connection::CreateDatabase(file, "CREATE TABLE RV12 (RV120 Text(10), RV121 Text(20));"
                                         "INSERT INTO RV12 VALUES ('C2', '乙');"
                                         "INSERT INTO RV12 VALUES ('C1', '甲')");
    db::Connection conn;
    conn.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file);
    auto r = SampleReport();
    r->control("txtCode").dataField = "rv120";
    r->control("txtName").dataField = "RV121";
    r->setDataSource(conn.ExecuteQuery("Select RV12.* From RV12  Order By RV12.RV120"));
    const Page page = r->layout().pages.at(0);
    ASSERT_EQ(page.detailCount(), 2);
    EXPECT_EQ(page.find("txtCode", 0)->text, "C1");
    EXPECT_EQ(page.find("txtName", 1)->text, QStringLiteral("乙"));
}

// ---- An export killed half-way ---------------------------------------------------------------
//
// A copy of this test binary runs the step below, writing a long report over an earlier PDF,
// and is killed while it writes.

namespace {
const char kPdfTarget[] = "TESS_PDF_TARGET";
}

TEST(ReportPdfKilled, DISABLED_Step)
{
    const QString target = qEnvironmentVariable(kPdfTarget);
    if (target.isEmpty())
        GTEST_SKIP();
    Document doc;
    doc.title = QStringLiteral("長報表");
    doc.pageSize = QSize(kA4Width, kA4Height);
    for (int i = 0; i < 2000; ++i) {
        Page page;
        for (int line = 0; line < 40; ++line) {
            Item item;
            item.rect = QRect(360, 360 + line * 380, 11000, 360);
            item.text = QStringLiteral("第%1頁 客戶資料 第%2行 台北市中山區").arg(i + 1).arg(line + 1);
            page.items.push_back(item);
        }
        doc.pages.push_back(std::move(page));
    }
    WritePdf(doc, target);
}

// The earlier file stays whole until the new one is complete; nothing half-written is left
// in its place.
TEST(ReportPdfKilled, AnExportKilledHalfWayLeavesTheEarlierFile)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("客戶列表.pdf"));
    const QByteArray earlier = "%PDF-1.4 the earlier report, complete\n%%EOF\n";
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(earlier);
    }
    QProcess child;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QString::fromLatin1(kPdfTarget), target);
    e.insert(QStringLiteral("GTEST_FILTER"), QStringLiteral("ReportPdfKilled.DISABLED_Step"));
    e.remove(QStringLiteral("GTEST_TOTAL_SHARDS"));  // the step runs in whichever share of the suite this is
    e.remove(QStringLiteral("GTEST_SHARD_INDEX"));
    e.insert(QStringLiteral("GTEST_ALSO_RUN_DISABLED_TESTS"), QStringLiteral("1"));
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(e);
    child.setProgram(QCoreApplication::applicationFilePath());
    child.start();
    ASSERT_TRUE(child.waitForStarted());
    // Kill it once it is writing: a file beside the target grows, or the target itself changes
    // (a sanitized build on a busy machine takes well over a minute to get there).
    QElapsedTimer clock;
    clock.start();
    bool writing = false;
    while (!writing && clock.elapsed() < 300000 && child.state() == QProcess::Running) {
        QThread::msleep(20);
        for (const QFileInfo& f : QDir(dir.path()).entryInfoList(QDir::Files | QDir::Hidden))
            if (f.size() > 100000 || (f.filePath() == target && f.size() != earlier.size()))
                writing = true;
    }
    ASSERT_TRUE(writing) << "the export never started writing";
    child.kill();
    child.waitForFinished();
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray now = f.readAll();
    // Either the earlier file, or (when the kill came after the rename) the whole new one.
    if (now != earlier) {
        EXPECT_TRUE(now.startsWith("%PDF-")) << now.left(40).toStdString();
        EXPECT_TRUE(now.trimmed().endsWith("%%EOF")) << "a half-written file took the report's place";
    }
}
