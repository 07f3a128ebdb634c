// The rows of a large list read on demand.  At open only each row's rowid and its order keys
// (and any fields asked for with them) are read, so a list of many thousand rows opens at the
// cost of its keys; the rest of a row is read from its table the first time the row is used,
// together with the rows around it in the list, and ReadAhead reads on in table order while the
// program is idle, so that in time every row is held.  Until then a row is partial (RowPartial):
// the fields not held are Null.  A row another user changed before it was read shows what they
// saved; one they deleted keeps its place with only its keys.
#pragma once

#include "platform/db/RowStore.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace db::detail {

struct ConnState;
struct RowSet;

// What a list read on demand reads, as statements.
struct OnDemandSource {
    QString keysSql;                 // each row's rowid, then the fields held from the start, in list order
    Params params;                   // bound to keysSql
    std::vector<int> keyColumnOf;    // per field: its column in keysSql, -1 when read later
    QString rowsSql;                 // "SELECT rowid, <every field's column> FROM <table>", nothing after
};

// The source for the set's list when the policy reads it on demand: an order the layer can tell
// (RowSet::order), every field a plain, distinctly named column of the base table, a table of
// at least policy.onDemandFrom rows.  `alsoRead` names fields held from the start besides the
// order keys.  Nullopt when the list is read whole.
std::optional<OnDemandSource> OnDemandSourceFor(const RowSet& set, const ReadPolicy& policy, const QStringList& alsoRead);

class OnDemandRows {
public:
    // A used row is read with the partial rows after it, up to kAround in all, starting up to
    // kAbove rows above it (lists are read downwards).
    static constexpr int kAbove = 32;
    static constexpr int kAround = 256;

    OnDemandRows(RowStore& store, std::shared_ptr<ConnState> conn, OnDemandSource source);

    // The store's rows anew: one partial row per row of the list, in the list's order, its
    // bookmark its rowid.
    void fetchKeys();
    // Reads row i (partial) with the partial rows around it.  A row no longer in the table stops
    // being partial, with Nulls for what was not held.
    void readAround(int i);
    // Every row still partial, in one pass over the table.
    void completeAll();
    // Up to `count` more rows in table order; false when no row is left to read.  Inside a
    // transaction it reads nothing (the table may hold what a rollback takes back) and says true.
    bool readAhead(int count);
    long rowsToRead() const { return partial_; }
    bool holdsAtOpen(int field) const { return source_.keyColumnOf[size_t(field)] >= 0; }

    // Called as partial row `row` is read, before what was read takes the place of its keys
    // (another user may have changed them since).
    std::function<void(int row, const Row& keys, const Row& read)> onRead;

private:
    // Takes the rows of a statement giving rowid and then every field into the partial rows they
    // belong to (other rows are left as they are).
    void takeRows(sqlite3_stmt* s, qint64* lastRowid = nullptr, int* seen = nullptr);
    void settle(Row& row);              // no longer partial
    void dropPartial(qint64 upToRowid);  // rows not found in the table: Nulls from now on

    RowStore& store_;
    std::shared_ptr<ConnState> conn_;
    OnDemandSource source_;
    long partial_ = 0;   // rows still RowPartial
    qint64 ahead_ = 0;   // readAhead has read the table up to this rowid
};

}  // namespace db::detail
