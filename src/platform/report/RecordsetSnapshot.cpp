// The bridge from the data layer: a recordset read into a Snapshot.  Kept apart from the rest
// of the engine so that a report fed with snapshots needs nothing of the data layer.
#include "platform/db/Db.h"
#include "platform/report/Report.h"

namespace report {

Snapshot Snapshot::fromRecordset(const db::Recordset& source)
{
    if (!source.IsOpen())
        return Snapshot();
    QStringList columns;
    for (int i = 0; i < source.FieldCount(); ++i)
        columns << source.FieldName(i);
    Snapshot snap(columns);

    // A clone walks the rows without moving the caller's cursor; it sees the same filter and
    // order as the caller.
    db::Recordset rs = source.Clone();
    if (!source.filter().isEmpty())
        rs.setFilter(source.filter());
    if (!source.sort().isEmpty())
        rs.setSort(source.sort());
    if (rs.Bof() && rs.Eof())
        return snap;
    rs.MoveFirst();
    while (!rs.Eof()) {
        snap.addRow(rs.values());
        rs.MoveNext();
    }
    return snap;
}

void Report::setDataSource(const db::Recordset& rs)
{
    db::Recordset handle(rs);
    source_ = [handle] { return Snapshot::fromRecordset(handle); };
}

}  // namespace report
