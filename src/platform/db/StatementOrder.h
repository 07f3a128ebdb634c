// What a list's SELECT says about the order of its rows.  When every term of its ORDER BY names
// a plain column of its base table (or it has none), the layer knows the order (RowSet::order,
// orderKnown): an added row can take its sorted place without a Requery (Recordset::PlaceRow),
// and a large list can be read on demand in that order.  When SQLite would answer the statement
// only by scanning the table and sorting, the layer reads the rows unsorted and sorts them
// itself by SQLite's own rules (layerSorts), which is quicker and gives the very same order.
#pragma once

#include <QString>

namespace db::detail {

struct RowSet;

// Sets the set's order, orderKnown and layerSorts (and then its statement, unsorted) for `sql`,
// the statement as the program wrote it.  For a set of rows with rowids, read with a cursor
// that can move back (SQLite always sorts a forward-only read itself).
void TakeStatementOrder(RowSet& set, const QString& sql);

}  // namespace db::detail
