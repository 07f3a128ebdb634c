// A detail-row array as a grid holds it after loading: row i carries key i and the name given.
#pragma once

#include "records/DetailGrid.h"

#include <QStringList>

namespace testsupport {

inline DetailRowArray DetailRowsOf(int keyColumn, const QStringList& names)
{
    DetailRowArray rows(keyColumn);
    rows.Redim(int(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        rows.set(i + 1, 0, QString::number(i + 1));
        rows.set(i + 1, 1, names[i]);
    }
    rows.setCount(short(names.size()));
    return rows;
}

}  // namespace testsupport
