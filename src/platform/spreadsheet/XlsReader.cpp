#include "platform/spreadsheet/Spreadsheet.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <freexl.h>

namespace spreadsheet {

namespace {

// An open workbook, closed on every way out.
class Workbook {
public:
    explicit Workbook(const QString& path)
    {
        if (!QFileInfo(path).isFile())
            throw SpreadsheetError(kFileNotFound, QStringLiteral("找不到檔案 '%1'。").arg(path));
        const int rc = freexl_open(QFile::encodeName(path).constData(), &handle_);
        if (rc != FREEXL_OK) {
            handle_ = nullptr;
            throw SpreadsheetError(kNotAWorkbook, QStringLiteral("外部資料表不是預期的格式。 (%1)").arg(rc));
        }
        unsigned int password = 0;
        if (freexl_get_info(handle_, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK
            && password == FREEXL_BIFF_OBFUSCATED)
            throw SpreadsheetError(kNotAWorkbook, QStringLiteral("無法解密檔案 '%1'。").arg(path));
    }
    ~Workbook()
    {
        if (handle_)
            freexl_close(handle_);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    const void* handle() const { return handle_; }

    QStringList SheetNames() const
    {
        unsigned int count = 0;
        freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &count);
        QStringList names;
        for (unsigned int i = 0; i < count; ++i) {
            const char* name = nullptr;
            if (freexl_get_worksheet_name(handle_, static_cast<unsigned short>(i), &name) == FREEXL_OK && name)
                names << QString::fromUtf8(name);
            else
                names << QString();
        }
        return names;
    }

private:
    const void* handle_ = nullptr;
};

QVariant DateValue(const char* text, unsigned char type)
{
    const QString s = QString::fromUtf8(text);
    QDateTime dt;
    if (type == FREEXL_CELL_DATE)
        dt = QDateTime(QDate::fromString(s, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    else if (type == FREEXL_CELL_DATETIME)
        dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    else
        dt = QDateTime(QDate(1899, 12, 30), QTime::fromString(s, QStringLiteral("hh:mm:ss")));
    if (!dt.isValid())
        return s;  // a date the library could not spell out: keep its text
    return dt;
}

}  // namespace

QStringList XlsSheetNames(const QString& path)
{
    return Workbook(path).SheetNames();
}

SheetRows ReadXlsSheet(const QString& path, const QString& sheet)
{
    Workbook book(path);
    const QStringList names = book.SheetNames();
    int index = -1;
    for (int i = 0; i < names.size() && index < 0; ++i)
        if (names[i].compare(sheet, Qt::CaseInsensitive) == 0)
            index = i;
    if (index < 0)
        throw SpreadsheetError(kSheetNotFound, QStringLiteral("找不到物件 '%1$'。").arg(sheet));
    if (freexl_select_active_worksheet(book.handle(), static_cast<unsigned short>(index)) != FREEXL_OK)
        throw SpreadsheetError(kSheetNotFound, QStringLiteral("找不到物件 '%1$'。").arg(sheet));

    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(book.handle(), &rows, &columns) != FREEXL_OK)
        throw SpreadsheetError(kNotAWorkbook, QStringLiteral("外部資料表不是預期的格式。"));

    SheetRows out;
    out.columns = columns;
    for (unsigned int r = 0; r < rows; ++r) {
        QVariantList row;
        row.reserve(columns);
        bool any = false;
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue cell;
            QVariant v;
            if (freexl_get_cell_value(book.handle(), r, c, &cell) == FREEXL_OK) {
                switch (cell.type) {
                case FREEXL_CELL_INT:
                    v = static_cast<double>(cell.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    v = cell.value.double_value;
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                    if (cell.value.text_value && *cell.value.text_value)
                        v = QString::fromUtf8(cell.value.text_value);
                    break;
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    v = DateValue(cell.value.text_value, cell.type);
                    break;
                default:
                    break;
                }
            }
            any = any || !v.isNull();
            row << v;
        }
        // A row without a single value carries nothing to copy.
        if (any)
            out.rows.push_back(row);
    }
    return out;
}

}  // namespace spreadsheet
