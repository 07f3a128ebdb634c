#include "core/schema/SchemaToolkit.h"
#include "core/ErrorText.h"

#include "platform/ui/Ui.h"

#include <vector>

namespace {

// What "Select T.C From T" can name without brackets: letters of any script, digits, "_".
bool IsPlainName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QChar ch : name) {
        if (!(ch.isLetterOrNumber() || ch == QLatin1Char('_')))
            return false;
    }
    return true;
}


}  // namespace

bool TableExists(db::Connection& conn, const QString& table)
{
    try {
        return IsPlainName(table) && conn.TableExists(table);
    } catch (...) {
        return false;
    }
}

bool FieldExistsRs(db::Connection& conn, const QString& table, const QString& column)
{
    try {
        return IsPlainName(table) && IsPlainName(column) && conn.ColumnExists(table, column);
    } catch (...) {
        return false;
    }
}

bool FieldExists(const QString& table, const QString& column, db::Connection& conn)
{
    return FieldExistsRs(conn, table, column);
}

short GetFieldOrdinal(db::Connection& conn, const QString& table, const QString& column)
{
    return static_cast<short>(conn.Column(table, column).ordinal);
}

void SetFieldOrdinal(db::Connection& conn, const QString& table, const QString& column, short position)
{
    if (GetFieldOrdinal(conn, table, column) != position)
        conn.SetOrdinalPosition(table, column, position);
}

bool GetFieldAllowZeroLength(db::Connection& conn, const QString& table, const QString& column)
{
    return conn.Column(table, column).allowZeroLength;
}

void RenameField(db::Connection& conn, const QString& table, const QString& oldName, const QString& newName)
{
    conn.RenameColumn(table, oldName, newName);
}

void SetFieldDefault(db::Connection& conn, const QString& table, const QString& column, const QString& defaultText)
{
    conn.SetDefaultValue(table, column, defaultText);
}

QString GetFieldDefault(db::Connection& conn, const QString& table, const QString& column)
{
    return conn.Column(table, column).defaultValue;
}

void SetAllowZeroLength(db::Connection& conn, const QString& table)
{
    QVector<db::ColumnInfo> columns;
    const bool read = ui::RunSteps({[&] { columns = conn.Columns(table); }}, [](const std::exception& e) { return ErrorText(e); });
    if (!read)
        return;

    std::vector<ui::Step> steps;
    for (const db::ColumnInfo& col : columns) {
        if (col.adoType != db::adWChar && col.adoType != db::adVarWChar && col.adoType != db::adLongVarWChar)
            continue;
        if (col.allowZeroLength)
            continue;  // already accepts the empty text: nothing to write
        const QString name = col.name;
        steps.push_back([&conn, table, name] { conn.SetAllowZeroLength(table, name, true); });
    }
    if (!steps.empty())
        ui::RunSteps(steps, [](const std::exception& e) { return ErrorText(e); });
}
