// The cursor behind a Recordset handle: its place in the shared rows (a view of row numbers in
// its own order, under its own Filter and Sort), the edit in progress and how it is written back
// by the row's rowid, and the other cursors on the same rows (clones) kept in step with every
// row added, moved, changed or deleted.  Recordset's public calls check their arguments and
// call in here; the rows themselves are RowSet's.
#pragma once

#include "platform/db/Criteria.h"
#include "platform/db/DbImpl.h"

#include <algorithm>
#include <limits>
#include <map>
#include <optional>

namespace db {

namespace detail {

// One key of a cursor's Sort.
struct SortKey {
    int field;
    bool desc;
};

}  // namespace detail

struct Recordset::Impl {
    std::shared_ptr<detail::RowSet> rs;
    mutable std::vector<int> view;  // row indices in cursor order
    // A forward-only read: the view is every row read so far, and grows as the cursor moves on.
    bool streaming = false;
    long pos = -1;
    bool onDeleted = false;  // the current row was deleted; the next move settles
    EditModeEnum edit = adEditNone;
    int editRow = -1;
    QVector<QVariant> buf;
    QVector<bool> dirty;
    long posBeforeAdd = -1;
    QString filterText, sortText;
    std::optional<detail::Criteria> filterNode;
    std::vector<detail::SortKey> sortKeys;
    QVector<detail::FieldDef> declared;
    QStringList readWithKeys;  // see Recordset::ReadWithKeys
    std::map<int, RecordsetListener> listeners;
    int nextListener = 1;

    ~Impl() { detach(); }

    // `keyset`: the cursor may show what other users save (keyset and dynamic cursors), so a
    // large list may read its rows on demand (as the connection's read policy says).
    void open(const QString& sql, const std::shared_ptr<detail::ConnState>& conn, bool readOnly, const Params& params,
              bool forwardOnly = false, bool keyset = false);
    void attach(std::shared_ptr<detail::RowSet> set);
    void detach();
    void notify(RecordsetEvent e, int field = -1);
    // Other cursors follow structural changes of the shared rows.
    void broadcast(RecordsetEvent e);

    void requireOpen() const
    {
        if (!rs)
            detail::ThrowClosed();
    }

    // Reads on until the view holds position p (or the rows end).
    void need(long p) const
    {
        if (!streaming)
            return;
        while (long(view.size()) <= p) {
            if (view.size() < rs->rows.size())
                view.push_back(int(view.size()));
            else if (!rs->fetchOne())
                break;
        }
    }
    long size() const
    {
        need(std::numeric_limits<long>::max() - 1);
        return long(view.size());
    }
    long known(long p) const
    {
        need(std::max(p, 0L));
        return long(view.size());
    }
    bool bof() const { return !onDeleted && (known(0) == 0 || pos < 0); }
    bool eof() const { return !onDeleted && (known(pos) == 0 || pos >= known(pos)); }
    bool onRow() const { return rs && !onDeleted && pos >= 0 && pos < known(pos); }

    int currentRow() const;  // its row number, read in full; 3021 when not on a row
    int fieldIndex(const QString& name) const;
    const detail::FieldDef& fieldDef(int index) const;
    QVariant value(int index) const;
    // Every field of the current row, walking its image once.
    QVariantList values() const;
    QVariant valueAt(long position, int index) const;

    // Editing and writing back.
    void beginEdit();
    void setValue(int index, const QVariant& v);
    void settleEdit();
    void addNew();
    void update();
    void cancelUpdate();
    void deleteCurrent();
    QVector<QVariant> rowValues(int row) const;
    // "column still holds what the row image holds", with the value bound exactly as it was read.
    // A Yes/No column is compared by truth (stored True is -1, a written one may read 1).
    QString readCondition(const detail::Row& row, int k, Params& params) const;
    // Reads the base table's columns of the row with that rowid into `values` (decoded, or as
    // stored when `raw`); false when the row is gone.
    bool readBaseColumns(qint64 rowid, QVector<QVariant>& values, bool raw) const;
    // Reads the current row again from the database (what another user saved since); a row
    // another user deleted leaves the cursor and raises 3167.  A pending edit is dropped.
    void resync();
    void removeFromViews(int row);

    // Places and order.
    // True while the statement (its condition) still selects the stored row.
    bool selects(qint64 rowid) const;
    // The Sort of this cursor between two rows, ties in stored order (as rebuildView sorts).
    bool sortsBefore(int a, int b) const;
    bool placeRow();
    void rebuildView();
    long positionOfRow(int row) const;
    void moveTo(long p);
};

}  // namespace db
