#include "platform/spreadsheet/Spreadsheet.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace spreadsheet;
using testsupport::TempDir;

namespace {

const QString kFirms = QStringLiteral(TESS_FIXTURES "/firms.xls");  // saved by LibreOffice Calc

long ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const SpreadsheetError& e) {
        EXPECT_FALSE(e.Description().isEmpty());
        return e.Number();
    }
    return 0;
}

// What a failure tells the user.
QString DescriptionOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const SpreadsheetError& e) {
        return e.Description();
    }
    return {};
}

// One part of a zip file, through the unzip program.
QString ZipPart(const QString& zip, const QString& part)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, part});
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

TEST(XlsReader, ReadsEveryCellOfASpreadsheetProgramsWorkbookTyped)
{
    const SheetRows s = ReadXlsSheet(kFirms, QStringLiteral("Sheet1"));
    ASSERT_EQ(s.columns, 8);
    ASSERT_EQ(s.rows.size(), 3u);
    for (const QVariantList& row : s.rows)
        ASSERT_EQ(row.size(), 8);

    const QVariantList& first = s.rows[0];
    EXPECT_EQ(first[0].toString(), QStringLiteral("台灣精密工業股份有限公司"));
    EXPECT_EQ(first[3].toString(), QStringLiteral("台北市中正區重慶南路一段122號"));
    EXPECT_EQ(first[4].metaType().id(), QMetaType::Double);
    EXPECT_EQ(first[4].toDouble(), 12.0);
    EXPECT_EQ(first[5].metaType().id(), QMetaType::QDateTime);
    EXPECT_EQ(first[5].toDateTime().date(), QDate(2026, 1, 15));
    EXPECT_EQ(first[6].metaType().id(), QMetaType::QString);
    EXPECT_EQ(first[6].toString(), QStringLiteral("000123"));

    EXPECT_TRUE(s.rows[1][1].isNull());  // the empty chairman cell
    EXPECT_EQ(s.rows[1][4].toDouble(), 3.5);
    EXPECT_EQ(s.rows[1][7].toString(), QStringLiteral("五"));
    EXPECT_EQ(s.rows[2][4].toDouble(), -7.0);
    EXPECT_EQ(s.rows[2][5].toDateTime().date(), QDate(1999, 2, 28));
    EXPECT_TRUE(s.rows[2][7].isNull());
}

TEST(XlsReader, FindsSheetsByNameWhateverTheLetterCase)
{
    EXPECT_EQ(XlsSheetNames(kFirms), (QStringList{QStringLiteral("Sheet1"), QStringLiteral("客戶")}));
    const SheetRows other = ReadXlsSheet(kFirms, QStringLiteral("客戶"));
    ASSERT_EQ(other.rows.size(), 1u);
    EXPECT_EQ(other.rows[0], (QVariantList{QStringLiteral("甲"), QStringLiteral("乙")}));
    EXPECT_EQ(ReadXlsSheet(kFirms, QStringLiteral("SHEET1")).rows.size(), 3u);
}

TEST(XlsReader, ReportsWhatCannotBeRead)
{
    TempDir dir;
    const QString text = dir.write(QStringLiteral("list.xls"), "code,name\r\n001,甲\r\n");
    const struct {
        QString path, sheet;
        long error;
    } cases[] = {
        {dir.file(QStringLiteral("missing.xls")), QStringLiteral("Sheet1"), kFileNotFound},
        {text, QStringLiteral("Sheet1"), kNotAWorkbook},
        {kFirms, QStringLiteral("Sheet9"), kSheetNotFound},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf([&] { ReadXlsSheet(c.path, c.sheet); }), c.error) << c.path.toStdString();
}

TEST(XlsxBook, WritesTypedCellsAndAFormattedHeading)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()) << "scripts/setup installs unzip";
    TempDir dir;
    XlsxBook book;
    book.WriteHeading(0, 0, QStringLiteral("客戶編號"));
    book.WriteHeading(0, 1, QStringLiteral("金額"));
    book.WriteHeading(0, 2, QStringLiteral("建檔日"));
    book.Write(1, 0, QStringLiteral("000123"));
    book.Write(1, 1, 12.5);
    book.Write(1, 2, QDate(2026, 1, 15));
    book.Write(2, 0, QVariant());        // Null: no cell
    book.Write(2, 1, qint64(7));
    const QString path = dir.file(QStringLiteral("list.xlsx"));
    book.Save(path);

    const QString sheet = ZipPart(path, QStringLiteral("xl/worksheets/sheet1.xml"));
    const QString shared = ZipPart(path, QStringLiteral("xl/sharedStrings.xml"));
    const QString styles = ZipPart(path, QStringLiteral("xl/styles.xml"));
    ASSERT_FALSE(sheet.isEmpty());
    // The code is a text cell, so its leading zeros survive.
    EXPECT_TRUE(sheet.contains(QRegularExpression(QStringLiteral("<c r=\"A2\"[^>]*t=\"s\""))));
    EXPECT_TRUE(shared.contains(QStringLiteral("<t>000123</t>")));
    EXPECT_TRUE(shared.contains(QStringLiteral("客戶編號")));
    EXPECT_TRUE(sheet.contains(QRegularExpression(QStringLiteral("<c r=\"B2\"[^>]*><v>12.5</v>"))));
    EXPECT_TRUE(sheet.contains(QRegularExpression(QStringLiteral("<c r=\"C2\" s=\"\\d+\"><v>46037</v>"))));
    EXPECT_TRUE(sheet.contains(QRegularExpression(QStringLiteral("<c r=\"B3\"[^>]*><v>7</v>"))));
    EXPECT_FALSE(sheet.contains(QStringLiteral("r=\"A3\"")));
    EXPECT_TRUE(styles.contains(QStringLiteral("FF00CCFF")));
    EXPECT_TRUE(styles.contains(QStringLiteral("<b/>")));
    EXPECT_TRUE(styles.contains(QStringLiteral("yyyy/mm/dd")));
    EXPECT_TRUE(styles.contains(QStringLiteral("<left style=\"thin\">")));
}

TEST(XlsxBook, ColumnsAreAsWideAsTheirLongestText)
{
    XlsxBook book;
    book.WriteHeading(0, 0, QStringLiteral("No"));
    book.Write(1, 0, QStringLiteral("1234567890"));
    book.WriteHeading(0, 1, QStringLiteral("名稱"));
    book.Write(1, 1, QStringLiteral("台灣精密工業"));  // six wide characters
    book.Write(2, 1, QStringLiteral("abc"));
    book.WriteHeading(0, 2, QStringLiteral("備註"));
    EXPECT_GT(book.ColumnWidth(0), 10.0);
    EXPECT_GT(book.ColumnWidth(1), 12.0);
    EXPECT_LT(book.ColumnWidth(2), book.ColumnWidth(1));
    EXPECT_EQ(book.ColumnWidth(3), 0.0);  // never written
}

TEST(XlsxBook, AFailedSaveLeavesTheExistingFileAlone)
{
    TempDir dir;
    const QString path = dir.write(QStringLiteral("list.xlsx"), "earlier export");
    XlsxBook book;
    book.Write(0, 0, QString(40000, QLatin1Char('x')));  // longer than a cell may hold
    EXPECT_NE(ErrorOf([&] { book.Save(path); }), 0);
    EXPECT_EQ(dir.read(QStringLiteral("list.xlsx")), QByteArray("earlier export"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no temporary left

    XlsxBook none;
    EXPECT_NE(ErrorOf([&] { none.Save(dir.file(QStringLiteral("no/such/folder/list.xlsx"))); }), 0);

    // Said in the user's words, with what to do.
    EXPECT_TRUE(DescriptionOf([&] { book.Save(path); }).contains(QStringLiteral("32767")));
    EXPECT_TRUE(DescriptionOf([&] { none.Save(dir.file(QStringLiteral("no/such/folder/list.xlsx"))); })
                    .startsWith(QStringLiteral("無法建立 Excel 檔案")));
}
