// The customer text import without its window: the target table's field list, the delimiter
// choice, reading and splitting the lines of a text file, cutting values to a column's width
// and the run that appends one row per line in one transaction.
#pragma once

#include "platform/db/Db.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

namespace textimport {

// One column of the target table as the import sees it.
struct ImportField {
    QString name;     // FieldNames
    int type = 0;     // FieldTypes: the ADO type code
    QString caption;  // FieldCaptions
    int width = 0;    // FieldWidths: the widest value in code-page-950 bytes
};

// The caption of a customer column ("RV121" -> "客戶簡稱"); any other name is its own caption.
QString CheangChineseName(const QString& name);
// The input width of a column of the ADO type with the given defined size.
int FieldWidth(int adoType, int definedSize);
// The columns of the table in field order ("SELECT *FROM " + table on conn).
QVector<ImportField> GetFields(db::Connection& conn, const QString& table);

// The table behind an entry of the target list ("客戶資料管理" -> "RV12"); "" for any other text.
// The preview knows the vendor and employee tables as well; the run only the first two.
QString PreviewTable(const QString& target);
QString RunTable(const QString& target);

// The delimiter a choice stands for: "<space>" one blank, "<tab>" one tab, anything else itself.
QString DelimiterOf(const QString& choice);

// The columns of a line: the text before each delimiter, the rest as the last column.  A line
// ending in the delimiter gives no empty last column; an empty line gives no column.
QStringList SplitLine(const QString& line, const QString& delimiter);

// The most columns a preview shows: a pair of boxes per column, numbered by a 16-bit index.
constexpr qsizetype kMostPreviewColumns = 32768;
// How many columns SplitLine gives for the line, counted without splitting it.
qsizetype CountColumns(const QString& line, const QString& delimiter);
// The first line with more columns than a preview shows: its 1-based number and its columns.
struct WideLine {
    long line = 0;
    qsizetype columns = 0;
};
std::optional<WideLine> FirstTooWideLine(const QStringList& lines, const QString& delimiter);
// "第 n 行有 m 個欄位，預覽最多只能對應 32768 個欄位，無法轉換。"
QString TooWideLineMessage(const WideLine& wide);

// Up to `count` code-page-950 bytes of text from the 1-based position on, a double-byte
// character counting two and never split; position moves past the characters copied.
QString GetWord(const QString& text, short& position, short count);

// The field offered or matched: the last column of the table (its identity column) never is.
QStringList ChooserCaptions(const QVector<ImportField>& fields, const QStringList& taken = {});
// The index of the first field whose caption equals caption exactly, 1000 when none does.
short GetFieldID(const QVector<ImportField>& fields, const QString& caption);

// Progress of a long step: done out of total; returning false asks the step to stop.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// The lines of a text file.  Lines end in CR LF, LF or CR alone.  A file that is valid UTF-8 is
// UTF-8; in any other file each line is read on its own: UTF-8 when it is valid UTF-8, else
// code page 950.  A line that is neither is refused, never stored garbled.
struct TextLines {
    enum Status { Ok, CannotOpen, BadLine, Cancelled } status = Ok;
    QStringList lines;
    long badLine = 0;  // 1-based number of the first line that is neither UTF-8 nor code page 950
    bool ok() const { return status == Ok; }
};
TextLines ReadTextLines(const QString& path, const Progress& progress = {});
TextLines SplitTextLines(const QByteArray& bytes, const Progress& progress = {});
// "第 n 行的文字既不是 UTF-8 也不是 Big5，無法轉換。"
QString BadLineMessage(long line);

struct ImportOutcome {
    bool ok = false;
    bool cancelled = false;  // the user stopped the run: nothing of the file stays
    long added = 0;     // rows added
    short failed = 0;   // a failing line ends the run, so this stays 0
    QString error;      // the error's description when !ok
};

// Appends one row of rs (opened for update on the target table of gConn) per non-empty line, in
// one transaction on gConn: column `col` of a line feeds the field whose caption
// columnCaptions[col] holds (blank = dropped), RV120 gets the next customer code (what
// GetCustomerNewNo gives, counted on in memory from the greatest code read once inside the
// transaction).  A line with more columns than columnCaptions, or a caption that names no
// field, is an error.  On any error, and when progress asks to stop, the transaction is rolled
// back and nothing of the file stays.
ImportOutcome ImportLines(db::Recordset& rs, const QVector<ImportField>& fields, const QStringList& lines,
                          const QString& delimiter, const QStringList& columnCaptions,
                          const Progress& progress = {});

// The run's closing message: "新增 n 筆記錄。失敗m 筆記錄。".
QString ResultMessage(const ImportOutcome& outcome);
// The message after a failed run: the error, LF, CR, "請修正後再試一次".
QString FailureMessage(const QString& error);

}  // namespace textimport
