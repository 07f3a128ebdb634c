// The customer text import without its window: the target table's field list, the delimiter
// choice, reading and splitting the lines of a text file, cutting values to a column's width
// and the run that appends one row per line in one transaction.
#pragma once

#include "platform/db/Db.h"

#include <QString>
#include <QStringList>
#include <QVector>
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

// Up to `count` code-page-950 bytes of text from the 1-based position on, a double-byte
// character counting two and never split; position moves past the characters copied.
QString GetWord(const QString& text, short& position, short count);

// The field offered or matched: the last column of the table (its identity column) never is.
QStringList ChooserCaptions(const QVector<ImportField>& fields, const QStringList& taken = {});
// The index of the first field whose caption equals caption exactly, 1000 when none does.
short GetFieldID(const QVector<ImportField>& fields, const QString& caption);

// The lines of a text file: UTF-8 when the bytes are valid UTF-8, else code page 950; lines end
// in CR LF or LF.  nullopt when the file cannot be read.
std::optional<QStringList> ReadTextLines(const QString& path);
QStringList SplitTextLines(const QByteArray& bytes);

struct ImportOutcome {
    bool ok = false;
    long added = 0;     // rows added
    short failed = 0;   // a failing line ends the run, so this stays 0
    QString error;      // the error's description when !ok
};

// Appends one row of rs (opened for update on the target table of gConn) per non-empty line, in
// one transaction on gConn: column `col` of a line feeds the field whose caption
// columnCaptions[col] holds (blank = dropped), RV120 gets GetCustomerNewNo().  A line with more
// columns than columnCaptions, or a caption that names no field, is an error.  On any error
// the transaction is rolled back and nothing of the file stays.
ImportOutcome ImportLines(db::Recordset& rs, const QVector<ImportField>& fields, const QStringList& lines,
                          const QString& delimiter, const QStringList& columnCaptions);

// The run's closing message: "新增 n 筆記錄。失敗m 筆記錄。".
QString ResultMessage(const ImportOutcome& outcome);
// The message after a failed run: the error, LF, CR, "請修正後再試一次".
QString FailureMessage(const QString& error);

}  // namespace textimport
