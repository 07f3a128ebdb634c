// Spreadsheet files: a one-sheet .xlsx workbook written cell by cell (libxlsxwriter),
// and the rows of one worksheet of an .xls workbook (freexl).
//
// Cell values are QVariant: an invalid (default) QVariant is an empty cell, QString a text
// cell, a number a number cell, QDate / QDateTime a date cell, bool a logical cell.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <stdexcept>
#include <vector>

namespace spreadsheet {

class SpreadsheetError : public std::runtime_error {
public:
    SpreadsheetError(long number, const QString& description);
    long Number() const { return number_; }
    QString Description() const { return description_; }

private:
    long number_;
    QString description_;
};

// A new workbook with one worksheet, kept in memory until Save.
class XlsxBook {
public:
    XlsxBook();
    ~XlsxBook();  // discards the workbook when Save was not called
    XlsxBook(const XlsxBook&) = delete;
    XlsxBook& operator=(const XlsxBook&) = delete;

    // A heading cell: bold, sky-blue fill (#00CCFF), thin border all round.
    void WriteHeading(int row, int col, const QString& text);
    // A data cell typed by the value; Null and "" leave the cell empty.
    void Write(int row, int col, const QVariant& value);
    // Sets every written column's width from its longest text, then writes the file under a
    // temporary name beside `path` and renames it over `path`.  Throws SpreadsheetError.
    void Save(const QString& path);

    // The width a column gets, in character units (kept for tests).
    double ColumnWidth(int col) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The rows of one worksheet of an .xls workbook.  Values: Null (empty cell), QString (text),
// double (number), QDateTime (date, date and time, or a time on 1899-12-30).
struct SheetRows {
    int columns = 0;
    std::vector<QVariantList> rows;  // each row holds `columns` values
};

// The worksheet names of an .xls workbook, in workbook order.  Throws SpreadsheetError.
QStringList XlsSheetNames(const QString& path);
// The worksheet named `sheet` (letter case ignored, as the spreadsheet programs do).
// Throws SpreadsheetError: kFileNotFound, kSheetNotFound, kNotAWorkbook.
SheetRows ReadXlsSheet(const QString& path, const QString& sheet);

inline constexpr long kFileNotFound = 1;
inline constexpr long kSheetNotFound = 2;
inline constexpr long kNotAWorkbook = 3;

}  // namespace spreadsheet
