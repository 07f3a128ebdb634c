// What a window's list shows in one column: every row's value as text, in the list's order,
// read without moving its cursor.
#pragma once

#include "platform/db/Db.h"

#include <QStringList>

namespace testsupport {

inline QStringList ListedColumn(const db::Recordset& list, const QString& column)
{
    QStringList out;
    const int f = list.FieldIndex(column);
    for (long i = 0; i < list.RecordCount(); ++i)
        out << list.valueAt(i, f).toString();
    return out;
}

}  // namespace testsupport
