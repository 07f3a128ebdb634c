// The rows of a large list read on demand: keys first, the rest of a row when it is used.
#include "platform/db/OnDemandRows.h"

#include "platform/db/DbImpl.h"

#include <QSet>
#include <limits>

namespace db::detail {

std::optional<OnDemandSource> OnDemandSourceFor(const RowSet& set, const ReadPolicy& policy, const QStringList& alsoRead)
{
    QStringList columns;
    QSet<QString> names;
    for (int k = 0; k < set.fields.size(); ++k) {
        const FieldDef& f = set.fields[k];
        if (!f.updatable || f.adoType == adEmpty || names.contains(f.name.toLower()))
            return std::nullopt;
        names.insert(f.name.toLower());
        columns << set.quoted[k];
    }
    Stmt top(set.conn->db, QStringLiteral("SELECT max(rowid) FROM ") + set.quotedBase);
    if (!top.step() || sqlite3_column_int64(top.get(), 0) < policy.onDemandFrom)
        return std::nullopt;
    std::vector<bool> held(size_t(set.fields.size()), false);
    for (const OrderKey& key : set.order)
        held[size_t(key.field)] = true;
    for (int k = 0; k < set.fields.size(); ++k)
        if (alsoRead.contains(set.fields[k].name, Qt::CaseInsensitive))
            held[size_t(k)] = true;
    // The statement's rows (its condition applies), only their rowids and the fields held; in
    // the statement's own order unless they are sorted afterwards.
    OnDemandSource source;
    QStringList keys{QStringLiteral("__tess_rowid")};
    source.keyColumnOf.assign(size_t(set.fields.size()), -1);
    for (int k = 0; k < set.fields.size(); ++k)
        if (held[size_t(k)]) {
            source.keyColumnOf[size_t(k)] = int(keys.size());
            keys << QLatin1Char('"') + QString(set.fields[k].name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
        }
    source.keysSql = QStringLiteral("SELECT %1 FROM (%2)").arg(keys.join(QLatin1Char(',')), set.sql);
    source.params = set.params;
    source.rowsSql = QStringLiteral("SELECT rowid, %1 FROM %2").arg(columns.join(QChar(',')), set.quotedBase);
    return source;
}

OnDemandRows::OnDemandRows(RowStore& store, std::shared_ptr<ConnState> conn, OnDemandSource source)
    : store_(store), conn_(std::move(conn)), source_(std::move(source))
{
}

void OnDemandRows::fetchKeys()
{
    conn_->check();
    store_.clearRows();
    partial_ = 0;
    ahead_ = 0;
    Stmt st(conn_->db, source_.keysSql);
    st.bind(source_.params);
    while (st.step()) {
        Row row = store_.imageOf(st.get(), 0, &source_.keyColumnOf);
        row.rowid = sqlite3_column_int64(st.get(), 0);
        row.bookmark = row.rowid;
        row.flags = RowPartial;
        store_.rows.push_back(row);
    }
    partial_ = long(store_.rows.size());
}

void OnDemandRows::settle(Row& row)
{
    row.flags &= quint8(~RowPartial);
    --partial_;
}

void OnDemandRows::takeRows(sqlite3_stmt* s, qint64* lastRowid, int* seen)
{
    int n = 0;
    qint64 last = 0;
    for (;;) {
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            ThrowSqlite(conn_->db, rc);
        ++n;
        last = sqlite3_column_int64(s, 0);
        const int i = store_.rowOfBookmark(last);
        if (i < 0 || !(store_.rows[size_t(i)].flags & RowPartial))
            continue;
        const Row image = store_.imageOf(s, 1);
        Row& row = store_.rows[size_t(i)];
        if (onRead)
            onRead(i, row, image);
        row.data = image.data;
        row.size = image.size;
        settle(row);
    }
    if (lastRowid)
        *lastRowid = last;
    if (seen)
        *seen = n;
}

void OnDemandRows::dropPartial(qint64 upToRowid)
{
    // Gone from the table since the keys were read: the row keeps its place and shows Nulls;
    // writing it back finds nothing to write and says another user changed it.
    for (Row& r : store_.rows)
        if ((r.flags & RowPartial) && r.rowid <= upToRowid)
            settle(r);
}

void OnDemandRows::readAround(int i)
{
    conn_->check();
    std::vector<qint64> wanted;
    wanted.reserve(kAround);
    auto& rows = store_.rows;
    const int n = int(rows.size());
    for (int j = std::max(0, i - kAbove); j < n && int(wanted.size()) < kAround; ++j)
        if (rows[size_t(j)].flags & RowPartial)
            wanted.push_back(rows[size_t(j)].rowid);
    QString marks;
    for (int j = 0; j < kAround; ++j)
        marks += j ? QStringLiteral(",?") : QStringLiteral("?");
    sqlite3_stmt* s = conn_->cachedStatement(source_.rowsSql + QStringLiteral(" WHERE rowid IN (%1)").arg(marks));
    CachedUse use{s};
    for (int j = 0; j < kAround; ++j) {
        if (j < int(wanted.size()))
            sqlite3_bind_int64(s, j + 1, wanted[size_t(j)]);
        else
            sqlite3_bind_null(s, j + 1);
    }
    takeRows(s);
    // Those asked for and not found are gone.
    for (qint64 rowid : wanted) {
        const int j = store_.rowOfBookmark(rowid);
        if (j >= 0 && (rows[size_t(j)].flags & RowPartial))
            settle(rows[size_t(j)]);
    }
}

void OnDemandRows::completeAll()
{
    if (partial_ == 0)
        return;
    conn_->check();
    Stmt st(conn_->db, source_.rowsSql + QStringLiteral(" WHERE rowid > ?"));
    sqlite3_bind_int64(st.get(), 1, ahead_);
    takeRows(st.get());
    dropPartial(std::numeric_limits<qint64>::max());
}

bool OnDemandRows::readAhead(int count)
{
    if (partial_ == 0)
        return false;
    conn_->check();
    if (conn_->inTrans)
        return true;
    sqlite3_stmt* s = conn_->cachedStatement(source_.rowsSql + QStringLiteral(" WHERE rowid > ? ORDER BY rowid LIMIT ?"));
    CachedUse use{s};
    sqlite3_bind_int64(s, 1, ahead_);
    sqlite3_bind_int(s, 2, count);
    qint64 last = 0;
    int seen = 0;
    takeRows(s, &last, &seen);
    if (seen < count) {
        dropPartial(std::numeric_limits<qint64>::max());
        return false;
    }
    dropPartial(last);
    ahead_ = last;
    return partial_ > 0;
}

}  // namespace db::detail
