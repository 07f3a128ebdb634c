#include "core/update/Excel.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "platform/spreadsheet/Spreadsheet.h"
#include "platform/ui/Ui.h"

#include <QDateTime>
#include <vector>

namespace {

// Field types a cell cannot show: GUID, binary, memo and long binary.
bool IsSkipped(int adoType)
{
    return adoType == 72 || adoType == db::adBinary || adoType == db::adLongVarWChar
        || adoType == db::adLongVarBinary;
}

enum class Kind { None, Number, Date, Text };

Kind KindOf(const QVariant& v)
{
    if (v.isNull())
        return Kind::None;
    switch (v.metaType().id()) {
    case QMetaType::Double:
        return Kind::Number;
    case QMetaType::QDateTime:
        return Kind::Date;
    default:
        return Kind::Text;
    }
}

// A value of a column that holds more than one kind, as the text the sheet showed.
QString AsText(const QVariant& v)
{
    if (KindOf(v) == Kind::Number)
        return QString::number(v.toDouble(), 'g', 15);
    if (KindOf(v) == Kind::Date) {
        const QDateTime dt = v.toDateTime();
        return dt.toString(dt.time() == QTime(0, 0) ? QStringLiteral("yyyy/MM/dd")
                                                     : QStringLiteral("yyyy/MM/dd hh:mm:ss"));
    }
    return v.toString();
}

}  // namespace

void ExportRsToExcel(db::Recordset& rs, QString& path)
{
    QString failure;
    {
        ui::WaitCursor busy;
        try {
            std::vector<int> fields;
            for (int i = 0; i < rs.FieldCount(); ++i)
                if (!IsSkipped(rs.FieldType(i)))
                    fields.push_back(i);

            spreadsheet::XlsxBook book;
            for (int c = 0; c < int(fields.size()); ++c)
                book.WriteHeading(0, c, rs.FieldName(fields[c]));
            if (!(rs.Bof() && rs.Eof())) {
                rs.MoveFirst();
                for (int r = 1; !rs.Eof(); ++r) {
                    for (int c = 0; c < int(fields.size()); ++c)
                        book.Write(r, c, rs.value(fields[c]));
                    rs.MoveNext();
                }
            }
            if (!path.contains(QLatin1Char('.')))
                path += QStringLiteral(".Xlsx");
            book.Save(path);
        } catch (const spreadsheet::SpreadsheetError& e) {
            failure = QString::number(e.Number()) + QStringLiteral(": ") + e.Description();
        } catch (const std::exception& e) {
            failure = ErrorText(e);
        }
    }
    if (failure.isEmpty()) {
        ui::MsgBox(QStringLiteral("轉存完畢"));
        return;
    }
    ui::ExportFailed(failure, QStringLiteral("您可能需要安裝 Office 2000 "));
}

void ImportExcelSheet(const QString& sheet, const QString& workbook, const QString& table,
                      const QString& database, bool replaceExisting)
{
    spreadsheet::SheetRows data;
    try {
        data = spreadsheet::ReadXlsSheet(workbook, sheet);
    } catch (const spreadsheet::SpreadsheetError& e) {
        const long number = e.Number() == spreadsheet::kFileNotFound  ? 3024
                          : e.Number() == spreadsheet::kSheetNotFound ? 3011
                                                                      : 3274;
        throw db::DbError(number, e.Description(), workbook);
    }

    // Each column's type: one kind of value throughout, or text.
    const int columns = std::max(1, data.columns);
    std::vector<Kind> kinds(columns, Kind::None);
    std::vector<bool> longText(columns, false);
    for (const QVariantList& row : data.rows) {
        for (int c = 0; c < data.columns; ++c) {
            const Kind k = KindOf(row[c]);
            if (k == Kind::None)
                continue;
            kinds[c] = kinds[c] == Kind::None || kinds[c] == k ? k : Kind::Text;
        }
    }
    for (const QVariantList& row : data.rows)
        for (int c = 0; c < data.columns; ++c)
            if (kinds[c] == Kind::Text && AsText(row[c]).size() > 255)
                longText[c] = true;

    QStringList defs, names, marks;
    for (int c = 0; c < columns; ++c) {
        const QString name = QStringLiteral("F%1").arg(c + 1);
        const QString type = kinds[c] == Kind::Number ? QStringLiteral("Double")
                           : kinds[c] == Kind::Date   ? QStringLiteral("DateTime")
                           : longText[c]              ? QStringLiteral("Memo")
                                                      : QStringLiteral("Text(255)");
        defs << name + QLatin1Char(' ') + type;
        names << name;
        marks << QStringLiteral("?");
    }

    db::Connection conn;
    conn.Open(db::ConnectionText(database));
    const bool exists = conn.TableExists(table);
    if (exists && !replaceExisting)
        throw db::DbError(3010, QStringLiteral("資料表 '%1' 已經存在。").arg(table));
    conn.BeginTrans();
    try {
        if (exists)
            conn.Execute(QStringLiteral("DROP TABLE [%1]").arg(table));
        conn.Execute(QStringLiteral("CREATE TABLE [%1] (%2)").arg(table, defs.join(QStringLiteral(", "))));
        const QString insert = QStringLiteral("INSERT INTO [%1] (%2) VALUES (%3)")
                                   .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        for (const QVariantList& row : data.rows) {
            db::Params values;
            for (int c = 0; c < data.columns; ++c)
                values << (kinds[c] == Kind::Text && !row[c].isNull() ? QVariant(AsText(row[c])) : row[c]);
            conn.Execute(insert, values);
        }
        conn.CommitTrans();
    } catch (...) {
        conn.RollbackTrans();
        throw;
    }
    conn.Close();
    ui::MsgBox(QStringLiteral("匯入成功."), ui::Buttons::OK, ui::Icon::Information);
}
