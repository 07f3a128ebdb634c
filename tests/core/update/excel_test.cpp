#include "core/Globals.h"
#include "core/update/Excel.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;
using testsupport::TempDir;

namespace {

const QString kFirms = QStringLiteral(TESS_FIXTURES "/firms.xls");  // saved by LibreOffice Calc

const char kCustomers[] =
    "CREATE TABLE RV12 (RV120 Text(10), RV121 Text(40), 金額 Currency, 建檔日 Date, 備註 Memo, 數量 Long);"
    "INSERT INTO RV12 VALUES ('000123', '台灣精密工業', 12.5, #2026/01/15#, 'memo text', 3);"
    "INSERT INTO RV12 VALUES ('000456', NULL, NULL, NULL, NULL, 0);"
    "CREATE TABLE 備忘 (內容 Memo);"
    "INSERT INTO 備忘 VALUES ('x');";

struct Database {
    TempDir dir;
    QString path = dir.file(QStringLiteral("Tessarine.mdb"));
    db::Connection conn;

    explicit Database(const QString& script = QString::fromUtf8(kCustomers))
    {
        db::Connection::CreateDatabase(path, script);
        conn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    }
    db::Recordset open(const QString& sql)
    {
        db::Recordset rs;
        rs.Open(sql, conn);
        return rs;
    }
};

// The first sheet of each workbook as a spreadsheet reader sees it, one CSV-like line per row:
// texts as they are, whole numbers without a decimal point, dates as yyyy/mm/dd, an empty cell
// as nothing.  A code written as a number would come back without its leading zeros.
// The reader is openpyxl on the system's Python (scripts/setup installs python3-openpyxl).
const char kReadBack[] = R"(
import sys, datetime, openpyxl
def text(v):
    if v is None: return ''
    if isinstance(v, bool): return 'TRUE' if v else 'FALSE'
    if isinstance(v, datetime.datetime): return v.strftime('%Y/%m/%d')
    if isinstance(v, float) and v.is_integer(): return str(int(v))
    return str(v)
for path in sys.argv[1:]:
    ws = openpyxl.load_workbook(path).worksheets[0]
    for row in ws.iter_rows(values_only=True):
        if any(v is not None for v in row):
            print(','.join(text(v) for v in row))
    print('\f')
)";

QString SystemPython()
{
    const QString debian = QStringLiteral("/usr/bin/python3");  // where Debian's packages go
    return QFileInfo(debian).isExecutable() ? debian : QStandardPaths::findExecutable(QStringLiteral("python3"));
}

std::vector<QStringList> ReadBack(const QStringList& workbooks)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
    p.setProcessEnvironment(env);
    p.start(SystemPython(), QStringList{QStringLiteral("-c"), QString::fromUtf8(kReadBack)} + workbooks);
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    std::vector<QStringList> sheets;
    for (const QString& sheet : QString::fromUtf8(p.readAllStandardOutput()).split(QStringLiteral("\f\n")))
        sheets.push_back(sheet.split(u'\n', Qt::SkipEmptyParts));
    sheets.pop_back();  // after the last sheet's mark
    return sheets;
}

// The workbooks as LibreOffice reads them, where it is installed (one run converts them all;
// each start of LibreOffice takes seconds).
std::optional<std::vector<QStringList>> AsCsv(const QStringList& workbooks)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        return std::nullopt;
    TempDir out;
    QProcess p;
    p.start(soffice, QStringList{QStringLiteral("-env:UserInstallation=file://") + out.file(QStringLiteral("profile")),
                                 QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                 QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), QStringLiteral("--outdir"),
                                 out.path()}
                         + workbooks);
    p.waitForFinished(180000);
    std::vector<QStringList> sheets;
    for (const QString& workbook : workbooks) {
        QFile f(out.file(QFileInfo(workbook).completeBaseName() + QStringLiteral(".csv")));
        sheets.push_back(f.open(QIODevice::ReadOnly)
                             ? QString::fromUtf8(f.readAll()).split(QStringLiteral("\n"), Qt::SkipEmptyParts)
                             : QStringList{QStringLiteral("<not converted>")});
    }
    return sheets;
}

}  // namespace

TEST(ExportRsToExcel, WritesEveryRowUnderAHeadingAndKeepsCodesAsText)
{
    Database d;
    const struct {
        QString sql, name;
        QStringList csv;
    } cases[] = {
        {QStringLiteral("Select RV12.* From RV12 Order By RV120"), QStringLiteral("customers"),
         {QStringLiteral("RV120,RV121,金額,建檔日,數量"),  // the memo field is left out
          QStringLiteral("000123,台灣精密工業,12.5,2026/01/15,3"), QStringLiteral("000456,,,,0")}},
        {QStringLiteral("Select RV120, RV121 From RV12 Where RV120 = 'none'"), QStringLiteral("empty"),
         {QStringLiteral("RV120,RV121")}},
        {QStringLiteral("Select * From 備忘"), QStringLiteral("memos"), {}},
    };
    QStringList written;
    for (const auto& c : cases) {
        db::Recordset rs = d.open(c.sql);
        QString path = d.dir.file(c.name);
        ASSERT_FALSE(path.contains(QLatin1Char('.')));
        ScriptedResponder r;
        r.answer(ui::Answer::OK);

        ExportRsToExcel(rs, path);

        EXPECT_EQ(path, d.dir.file(c.name + QStringLiteral(".Xlsx")));
        EXPECT_TRUE(QFileInfo(path).isFile());
        EXPECT_EQ(r.texts(), QStringList{QStringLiteral("轉存完畢")});
        EXPECT_EQ(r.last().icon, ui::Icon::None);
        EXPECT_EQ(r.last().title, ui::DefaultTitle());
        EXPECT_EQ(ui::WaitCursorDepth(), 0);
        written << path;
    }

    const std::vector<QStringList> sheets = ReadBack(written);
    ASSERT_EQ(sheets.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(sheets[i], cases[i].csv) << cases[i].name.toStdString();
    if (const auto calc = AsCsv(written))
        for (std::size_t i = 0; i < std::size(cases); ++i)
            EXPECT_EQ((*calc)[i], cases[i].csv) << "LibreOffice: " << cases[i].name.toStdString();
}

TEST(ExportRsToExcel, ExtensionOnlyWhenThePathHasNoDotAtAll)
{
    Database d;
    QDir(d.dir.path()).mkpath(QStringLiteral("a.b"));
    const struct {
        QString given, saved;
    } cases[] = {
        {QStringLiteral("list"), QStringLiteral("list.Xlsx")},
        {QStringLiteral("list.xls"), QStringLiteral("list.xls")},
        {QStringLiteral("a.b/list"), QStringLiteral("a.b/list")},
    };
    for (const auto& c : cases) {
        db::Recordset rs = d.open(QStringLiteral("Select RV120 From RV12"));
        QString path = d.dir.file(c.given);
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        ExportRsToExcel(rs, path);
        EXPECT_EQ(path, d.dir.file(c.saved));
        EXPECT_TRUE(QFileInfo(path).isFile()) << c.given.toStdString();
    }
}

TEST(ExportRsToExcel, AFailureIsReportedAndNotCalledDone)
{
    Database d;
    db::Recordset rs = d.open(QStringLiteral("Select * From RV12"));
    QString path = d.dir.file(QStringLiteral("no/such/folder/list.xlsx"));
    ScriptedResponder r;
    r.answer(ui::Answer::OK);

    ExportRsToExcel(rs, path);

    ASSERT_EQ(r.messages.size(), 1u);
    const ui::MessageCall& m = r.last();
    EXPECT_TRUE(m.text.startsWith(QStringLiteral("匯出失敗，原因如下：\r\n\r\n"))) << m.text.toStdString();
    EXPECT_TRUE(m.text.contains(QRegularExpression(QStringLiteral("\r\n\r\n\\d+: \\S"))));
    EXPECT_TRUE(m.text.endsWith(QStringLiteral("\r\n您可能需要安裝 Office 2000 ")));
    EXPECT_EQ(m.icon, ui::Icon::Critical);
    EXPECT_EQ(m.title, QStringLiteral("匯出失敗"));
    EXPECT_EQ(ui::WaitCursorDepth(), 0);
}

TEST(ImportExcelSheet, CopiesASpreadsheetProgramsSheetIntoANewTable)
{
    Database d(QStringLiteral("CREATE TABLE RV1 (RV10 Text(10))"));
    ScriptedResponder r;
    r.answer(ui::Answer::OK);

    ImportExcelSheet(QStringLiteral("Sheet1"), kFirms, QStringLiteral("服務業"), d.path);

    EXPECT_EQ(r.texts(), QStringList{QStringLiteral("匯入成功.")});
    EXPECT_EQ(r.last().icon, ui::Icon::Information);

    QStringList names;
    QList<int> types;
    for (const db::ColumnInfo& c : d.conn.Columns(QStringLiteral("服務業"))) {
        names << c.name;
        types << c.adoType;
    }
    EXPECT_EQ(names, (QStringList{"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8"}));
    // Names and addresses are texts, F5 numbers, F6 dates, F7 codes (texts), F8 a mix (texts).
    EXPECT_EQ(types, (QList<int>{db::adVarWChar, db::adVarWChar, db::adVarWChar, db::adVarWChar, db::adDouble,
                                 db::adDate, db::adVarWChar, db::adVarWChar}));

    db::Recordset rs = d.open(QStringLiteral("Select 服務業.* From 服務業 "));
    ASSERT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(rs.value(QStringLiteral("F1")).toString(), QStringLiteral("台灣精密工業股份有限公司"));
    EXPECT_EQ(rs.value(QStringLiteral("F4")).toString(), QStringLiteral("台北市中正區重慶南路一段122號"));
    EXPECT_EQ(rs.value(QStringLiteral("F5")).toDouble(), 12.0);
    EXPECT_EQ(rs.value(QStringLiteral("F6")).toDate(), QDate(2026, 1, 15));
    EXPECT_EQ(rs.value(QStringLiteral("F7")).toString(), QStringLiteral("000123"));
    EXPECT_EQ(rs.value(QStringLiteral("F8")).toString(), QStringLiteral("5"));
    rs.MoveNext();
    EXPECT_TRUE(rs.value(QStringLiteral("F2")).isNull());
    EXPECT_EQ(rs.value(QStringLiteral("F3")).toString(), QStringLiteral("陳志強"));
    EXPECT_EQ(rs.value(QStringLiteral("F8")).toString(), QStringLiteral("五"));
}

TEST(ImportExcelSheet, FailuresReachTheCallerAndChangeNothing)
{
    Database d(QStringLiteral("CREATE TABLE 製造業 (F1 Text(255));INSERT INTO 製造業 VALUES ('earlier')"));
    TempDir other;
    const QString text = other.write(QStringLiteral("製造業.xls"), "not a workbook");
    const struct {
        QString sheet, workbook, table;
        long error;
    } cases[] = {
        {QStringLiteral("Sheet1"), kFirms, QStringLiteral("製造業"), 3010},
        {QStringLiteral("Sheet1"), other.file(QStringLiteral("missing.xls")), QStringLiteral("服務業"), 3024},
        {QStringLiteral("Sheet9"), kFirms, QStringLiteral("服務業"), 3011},
        {QStringLiteral("Sheet1"), text, QStringLiteral("服務業"), 3274},
    };
    for (const auto& c : cases) {
        ScriptedResponder r;  // no message at all
        long error = 0;
        try {
            ImportExcelSheet(c.sheet, c.workbook, c.table, d.path);
        } catch (const db::DbError& e) {
            error = e.Number();
        }
        EXPECT_EQ(error, c.error) << c.workbook.toStdString();
    }
    EXPECT_EQ(d.conn.TableNames(), QStringList{QStringLiteral("製造業")});
    db::Recordset rs = d.open(QStringLiteral("Select * From 製造業"));
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.value(0).toString(), QStringLiteral("earlier"));
}
