// Table and column probes and the column-property procedures the start-up schema check uses.
//
// Everything works on the connection it is given (normally gConn), inside whatever transaction
// that connection holds, so a rollback undoes renames, positions and defaults as well.
// The probes never throw; the property procedures throw db::DbError to their caller
// (3265 when the table or column is missing).
#pragma once

#include "platform/db/Db.h"

#include <QString>

// True when the table exists.
bool TableExists(db::Connection& conn, const QString& table);
// True when "Select table.column From table" would run: the table has the column and the name
// is a plain word (a name holding a blank, hyphen or other operator is never found).
bool FieldExistsRs(db::Connection& conn, const QString& table, const QString& column);
bool FieldExists(const QString& table, const QString& column, db::Connection& conn);

// The column's 0-based ordinal position in the table's field order.
short GetFieldOrdinal(db::Connection& conn, const QString& table, const QString& column);
// Sets the position only when it differs from the one the column has.
void SetFieldOrdinal(db::Connection& conn, const QString& table, const QString& column, short position);
bool GetFieldAllowZeroLength(db::Connection& conn, const QString& table, const QString& column);
void RenameField(db::Connection& conn, const QString& table, const QString& oldName, const QString& newName);
void SetFieldDefault(db::Connection& conn, const QString& table, const QString& column, const QString& defaultText);
// The default's text, "" when the column has none.
QString GetFieldDefault(db::Connection& conn, const QString& table, const QString& column);

// Lets every text column (nchar, Text, Memo) of the table accept the empty text.  Errors are
// handled here with Abort / Retry / Ignore and never reach the caller.
void SetAllowZeroLength(db::Connection& conn, const QString& table);
