#include "platform/spreadsheet/Spreadsheet.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <map>
#include <xlsxwriter.h>

namespace spreadsheet {

SpreadsheetError::SpreadsheetError(long number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description)
{
}

namespace {

struct Cell {
    int row;
    int col;
    QVariant value;
    bool heading;
};

// Characters a spreadsheet draws about two digits wide: the CJK blocks and full-width forms.
bool IsWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3)
        || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
        || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

int DisplayWidth(const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        int w = 0;
        for (char32_t c : line.toUcs4())
            w += IsWide(c) ? 2 : 1;
        widest = std::max(widest, w);
    }
    return widest;
}

bool IsDateType(const QVariant& v)
{
    const int t = v.metaType().id();
    return t == QMetaType::QDate || t == QMetaType::QDateTime;
}

bool IsNumberType(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::Char: case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

QDateTime AsDateTime(const QVariant& v)
{
    if (v.metaType().id() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    return v.toDateTime();
}

bool HasTime(const QDateTime& dt)
{
    return dt.time().isValid() && dt.time() != QTime(0, 0);
}

// The text the cell shows, for the column width.
QString ShownText(const QVariant& v)
{
    if (IsDateType(v)) {
        const QDateTime dt = AsDateTime(v);
        return dt.toString(HasTime(dt) ? QStringLiteral("yyyy/MM/dd hh:mm:ss") : QStringLiteral("yyyy/MM/dd"));
    }
    if (v.metaType().id() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (IsNumberType(v))
        return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

// The writer's failures said to the user in words of their own, with what to do.
QString WriterErrorText(lxw_error err)
{
    switch (err) {
    case LXW_ERROR_CREATING_XLSX_FILE:
        return QStringLiteral("無法建立 Excel 檔案,請確認資料夾存在並可以寫入,且檔案沒有被其他程式開啟。");
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return QStringLiteral("記憶體不足,無法建立 Excel 檔案。");
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        return QStringLiteral("無法使用暫存檔,請確認暫存資料夾可以寫入。");
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return QStringLiteral("寫入 Excel 檔案時發生錯誤,請確認磁碟空間足夠。");
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("有資料的文字太長,一格最多只能存入 32767 個字。");
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
        return QStringLiteral("資料超出工作表的範圍 (最多 1048576 列、16384 欄)。");
    default:
        return QStringLiteral("建立 Excel 檔案時發生錯誤 (%1)。").arg(int(err));
    }
}

void Check(lxw_error err)
{
    if (err != LXW_NO_ERROR)
        throw SpreadsheetError(err, WriterErrorText(err));
}

}  // namespace

struct XlsxBook::Impl {
    std::vector<Cell> cells;
    std::map<int, int> widest;  // column -> display width of its longest text

    void Note(int col, const QString& shown, int extra)
    {
        int& w = widest[col];
        w = std::max(w, DisplayWidth(shown) + extra);
    }
};

XlsxBook::XlsxBook() : d(std::make_unique<Impl>()) {}
XlsxBook::~XlsxBook() = default;

void XlsxBook::WriteHeading(int row, int col, const QString& text)
{
    d->cells.push_back({row, col, text, true});
    d->Note(col, text, 1);  // bold text runs a little wider
}

void XlsxBook::Write(int row, int col, const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return;
    if (value.metaType().id() == QMetaType::QString && value.toString().isEmpty())
        return;
    d->cells.push_back({row, col, value, false});
    d->Note(col, ShownText(value), 0);
}

double XlsxBook::ColumnWidth(int col) const
{
    auto it = d->widest.find(col);
    if (it == d->widest.end())
        return 0;
    return std::min(255.0, it->second + 2.0);
}

void XlsxBook::Save(const QString& path)
{
    const QFileInfo target(path);
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName()
                        + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        throw SpreadsheetError(LXW_ERROR_CREATING_XLSX_FILE, WriterErrorText(LXW_ERROR_CREATING_XLSX_FILE));
    // Only the name is kept: the library creates the file itself, with the usual permissions.
    const QString tempPath = temp.fileName();
    temp.close();
    temp.remove();
    const QByteArray tempName = QFile::encodeName(tempPath);

    lxw_workbook* book = workbook_new(tempName.constData());
    if (!book)
        throw SpreadsheetError(LXW_ERROR_MEMORY_MALLOC_FAILED, WriterErrorText(LXW_ERROR_MEMORY_MALLOC_FAILED));
    try {
        lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
        lxw_format* heading = workbook_add_format(book);
        format_set_bold(heading);
        format_set_pattern(heading, LXW_PATTERN_SOLID);
        format_set_bg_color(heading, 0x00CCFF);
        format_set_border(heading, LXW_BORDER_THIN);
        lxw_format* date = workbook_add_format(book);
        format_set_num_format(date, "yyyy/mm/dd");
        lxw_format* dateTime = workbook_add_format(book);
        format_set_num_format(dateTime, "yyyy/mm/dd hh:mm:ss");

        for (const Cell& c : d->cells) {
            const lxw_row_t row = static_cast<lxw_row_t>(c.row);
            const lxw_col_t col = static_cast<lxw_col_t>(c.col);
            const QVariant& v = c.value;
            if (c.heading) {
                Check(worksheet_write_string(sheet, row, col, v.toString().toUtf8().constData(), heading));
            } else if (IsDateType(v)) {
                const QDateTime dt = AsDateTime(v);
                lxw_datetime x{dt.date().year(), dt.date().month(), dt.date().day(),
                               dt.time().hour(), dt.time().minute(),
                               dt.time().second() + dt.time().msec() / 1000.0};
                Check(worksheet_write_datetime(sheet, row, col, &x, HasTime(dt) ? dateTime : date));
            } else if (v.metaType().id() == QMetaType::Bool) {
                Check(worksheet_write_boolean(sheet, row, col, v.toBool(), nullptr));
            } else if (IsNumberType(v)) {
                Check(worksheet_write_number(sheet, row, col, v.toDouble(), nullptr));
            } else {
                Check(worksheet_write_string(sheet, row, col, v.toString().toUtf8().constData(), nullptr));
            }
        }
        for (const auto& [col, w] : d->widest) {
            (void)w;
            Check(worksheet_set_column(sheet, static_cast<lxw_col_t>(col), static_cast<lxw_col_t>(col),
                                       ColumnWidth(col), nullptr));
        }
    } catch (...) {
        lxw_workbook_free(book);
        throw;
    }

    const lxw_error closed = workbook_close(book);
    if (closed == LXW_NO_ERROR
        && std::rename(tempName.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) == 0)
        return;
    QFile::remove(tempPath);
    Check(closed != LXW_NO_ERROR ? closed : LXW_ERROR_CREATING_XLSX_FILE);
}

}  // namespace spreadsheet
