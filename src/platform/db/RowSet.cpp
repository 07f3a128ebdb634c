// The rows a recordset and its clones share: read from the statement into the row store (all at
// once, on demand or as a forward-only read goes on), put in the statement's order, and a row's
// values decoded for its fields.
#include "platform/db/DbImpl.h"

#include <algorithm>
#include <memory>

namespace db::detail {

QVector<QVariant> RowSet::values(const Row& row) const
{
    QVector<QVariant> out(fields.size());
    const char* p = row.data;
    for (int k = 0; k < fields.size(); ++k) {
        Row one;
        one.data = p;
        out[k] = Decode(CellAt(one, 0), fields[k].adoType);
        p = NextCell(p);
    }
    return out;
}

void RowSet::storeRow(sqlite3_stmt* s)
{
    Row row = imageOf(s, hasRowid ? 1 : 0);
    if (hasRowid) {
        row.rowid = sqlite3_column_int64(s, 0);
        row.bookmark = row.rowid;
    } else {
        row.bookmark = nextBookmark++;
    }
    rows.push_back(row);
}

void RowSet::fetch()
{
    conn->check();
    pending.reset();
    if (onDemand) {
        onDemand->fetchKeys();
    } else {
        clearRows();
        Stmt st(conn->db, sql);
        st.bind(params);
        while (st.step())
            storeRow(st.get());
    }
    if (layerSorts)
        sortRows();
    inOrder = orderKnown && !order.empty();  // without an ORDER BY the rows come as SQLite reads them
    straggler = -1;
}

void RowSet::readOnDemand(OnDemandSource source)
{
    onDemand = std::make_unique<OnDemandRows>(*this, conn, std::move(source));
    // A row whose order keys another user changed since they were read stands out of order.
    onDemand->onRead = [this](int i, const Row& keys, const Row& read) {
        for (const OrderKey& k : order)
            if (inOrder && CompareStored(CellAt(keys, k.field), CellAt(read, k.field), k.nocase) != 0)
                outOfOrder(i);
    };
}

void RowSet::completeAll()
{
    if (onDemand)
        onDemand->completeAll();
}

long RowSet::rowsToRead() const { return onDemand ? onDemand->rowsToRead() : 0; }

bool RowSet::holdsAtOpen(int field) const { return !onDemand || onDemand->holdsAtOpen(field); }

int RowSet::compareInOrder(const Row& a, const Row& b) const
{
    for (const OrderKey& k : order) {
        const int c = CompareStored(CellAt(a, k.field), CellAt(b, k.field), k.nocase);
        if (c != 0)
            return k.desc ? -c : c;
    }
    return a.rowid < b.rowid ? -1 : (a.rowid > b.rowid ? 1 : 0);
}

void RowSet::sortRows()
{
    const size_t n = rows.size(), k = order.size();
    if (n < 2 || k == 0)
        return;
    // The key cells once per row, then a sort of row numbers; equal keys keep table (rowid)
    // order, as SQLite's sorter keeps the order its table scan reads.
    std::vector<KeyedCell> keys(n * k);
    for (size_t i = 0; i < n; ++i) {
        const char* p = rows[i].data;
        int at = 0;
        for (size_t j = 0; j < k; ++j) {
            const int f = order[j].field;
            // Keys usually come in field order: walk on from the last one when they do.
            if (f < at) {
                p = rows[i].data;
                at = 0;
            }
            while (at < f) {
                p = NextCell(p);
                ++at;
            }
            Row one;
            one.data = p;
            keys[i * k + j] = Keyed(CellAt(one, 0), order[j].nocase);
        }
    }
    std::vector<int> index(n);
    for (size_t i = 0; i < n; ++i)
        index[i] = int(i);
    std::sort(index.begin(), index.end(), [&](int a, int b) {
        const KeyedCell* x = &keys[size_t(a) * k];
        const KeyedCell* y = &keys[size_t(b) * k];
        for (size_t j = 0; j < k; ++j) {
            const int c = CompareKeyed(x[j], y[j], order[j].nocase);
            if (c != 0)
                return order[j].desc ? c > 0 : c < 0;
        }
        return rows[size_t(a)].rowid < rows[size_t(b)].rowid;  // table order, as a scan reads it
    });
    std::vector<Row> sorted;
    sorted.reserve(rows.capacity());
    for (int i : index)
        sorted.push_back(rows[size_t(i)]);
    rows.swap(sorted);
}

void RowSet::startStream(std::unique_ptr<Stmt> st)
{
    clearRows();
    pending.reset();
    if (st->step())
        pending = std::move(st);
}

bool RowSet::fetchOne()
{
    if (!pending)
        return false;
    storeRow(pending->get());
    indexValid = false;
    try {
        if (!pending->step())
            pending.reset();  // all read: the statement lets go of the file now
    } catch (...) {
        pending.reset();
        throw;
    }
    return true;
}

void RowSet::fetchRest()
{
    while (fetchOne()) {
    }
}

size_t RowSet::memoryBytes() const
{
    return arena.bytes() + rows.capacity() * sizeof(Row);
}

}  // namespace db::detail
