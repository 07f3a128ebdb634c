// Recordset's public calls: each checks the handle is open and its arguments, then asks the
// cursor (RecordsetImpl.h), the criteria (Criteria.h) or the shared rows.
#include "platform/db/RecordsetImpl.h"

#include <algorithm>
#include <cstring>

namespace db {

using namespace detail;

// ---- Recordset ------------------------------------------------------------------------------

Recordset::Recordset() : d(std::make_shared<Impl>()) {}
Recordset::~Recordset() = default;
Recordset::Recordset(const Recordset& other) = default;
Recordset& Recordset::operator=(const Recordset& other) = default;
Recordset::Recordset(Recordset&& other) noexcept : d(std::move(other.d)) { other.d = std::make_shared<Impl>(); }
Recordset& Recordset::operator=(Recordset&& other) noexcept
{
    if (this != &other) {
        d = std::move(other.d);
        other.d = std::make_shared<Impl>();
    }
    return *this;
}

void Recordset::Open(const QString& sql, Connection& conn, CursorType cursor, LockType lock, const Params& params)
{
    const auto& st = conn.impl()->st;
    st->check();
    if (d->rs)
        Close();
    d->open(sql, st, lock == adLockReadOnly, params, false, cursor == adOpenKeyset || cursor == adOpenDynamic);
}

Recordset Connection::ExecuteQuery(const QString& sql, const Params& params)
{
    d->st->check();
    Recordset r;
    r.impl()->open(sql, d->st, true, params, true);
    return r;
}

Recordset Connection::OpenSchemaTables() const
{
    const QStringList names = TableNames();
    Recordset r;
    r.Append(QStringLiteral("TABLE_NAME"), adVarWChar, 64);
    r.Append(QStringLiteral("TABLE_TYPE"), adVarWChar, 32);
    r.Open();
    for (const QString& n : names) {
        r.AddNew();
        r.setValue(0, n);
        r.setValue(1, QStringLiteral("TABLE"));
        r.Update();
    }
    if (!names.isEmpty())
        r.MoveFirst();
    return r;
}

void Recordset::Append(const QString& name, int adoType, int definedSize)
{
    if (d->rs)
        throw DbError(3705, QStringLiteral("Operation is not allowed when the object is open."));
    FieldDef f;
    f.name = name;
    f.adoType = adoType;
    f.definedSize = definedSize;
    f.updatable = true;
    d->declared << f;
}

void Recordset::Open()
{
    if (d->rs)
        throw DbError(3705, QStringLiteral("Operation is not allowed when the object is open."));
    if (d->declared.isEmpty())
        ThrowBadArgument(QStringLiteral("no fields"));
    auto set = std::make_shared<RowSet>();
    set->fields = d->declared;
    d->attach(set);
    d->rebuildView();
    d->pos = 0;
    d->notify(RecordsetEvent::Reset);
}

void Recordset::Close()
{
    d->requireOpen();
    d->detach();
    d->filterText.clear();
    d->sortText.clear();
    d->filterNode.reset();
    d->sortKeys.clear();
    d->notify(RecordsetEvent::Closed);
}

bool Recordset::IsOpen() const { return d->rs != nullptr; }

void Recordset::MoveFirst()
{
    d->requireOpen();
    d->settleEdit();
    if (d->known(0) == 0)
        ThrowNoCurrentRecord();
    d->moveTo(0);
}

void Recordset::MoveLast()
{
    d->requireOpen();
    d->settleEdit();
    if (d->view.empty())
        ThrowNoCurrentRecord();
    d->moveTo(d->size() - 1);
}

void Recordset::MoveNext()
{
    d->requireOpen();
    if (d->eof())
        ThrowNoCurrentRecord();
    d->settleEdit();
    d->moveTo(d->onDeleted ? d->pos : d->pos + 1);
}

void Recordset::MovePrevious()
{
    d->requireOpen();
    if (d->bof())
        ThrowNoCurrentRecord();
    d->settleEdit();
    d->moveTo(std::max(-1L, d->pos - 1));
}

void Recordset::Move(long n)
{
    d->requireOpen();
    if (n == 0)
        return;
    if ((n > 0 && d->eof()) || (n < 0 && d->bof()))
        ThrowNoCurrentRecord();
    d->settleEdit();
    long target = d->pos + n;
    if (d->onDeleted && n > 0)
        --target;
    d->moveTo(std::clamp(target, -1L, d->size()));
}

bool Recordset::Bof() const
{
    d->requireOpen();
    return d->bof();
}

bool Recordset::Eof() const
{
    d->requireOpen();
    return d->eof();
}

long Recordset::RecordCount() const
{
    d->requireOpen();
    return d->size();
}

long Recordset::AbsolutePosition() const
{
    d->requireOpen();
    if (d->onDeleted || d->known(0) == 0)
        return -1;
    if (d->pos < 0)
        return -2;
    if (d->pos >= d->size())
        return -3;
    return d->pos + 1;
}

void Recordset::SetAbsolutePosition(long pos)
{
    d->requireOpen();
    if (pos < 1 || pos > d->size())
        ThrowBadArgument(QStringLiteral("AbsolutePosition %1").arg(pos));
    d->settleEdit();
    d->moveTo(pos - 1);
}

int Recordset::FieldCount() const { return d->rs ? d->rs->fields.size() : d->declared.size(); }

Field Recordset::field(int index)
{
    d->fieldDef(index);
    return Field(this, index);
}

Field Recordset::field(const QString& name)
{
    const int k = d->fieldIndex(name);
    if (k < 0)
        detail::ThrowMissingItem(name);
    return Field(this, k);
}

int Recordset::FieldIndex(const QString& name) const { return d->fieldIndex(name); }
QString Recordset::FieldName(int index) const { return d->fieldDef(index).name; }
int Recordset::FieldType(int index) const { return d->fieldDef(index).adoType; }
int Recordset::FieldSize(int index) const { return d->fieldDef(index).definedSize; }
Value Recordset::value(int index) const { return d->value(index); }

Value Recordset::value(const QString& name) const
{
    const int k = d->fieldIndex(name);
    if (k < 0)
        detail::ThrowMissingItem(name);
    return d->value(k);
}

Value Recordset::valueAt(long position, int index) const { return d->valueAt(position, index); }
QVariantList Recordset::values() const { return d->values(); }

std::optional<std::vector<long>> Recordset::PositionsStartingWith(int field, const QString& prefix, long most) const
{
    d->requireOpen();
    RowSet& set = *d->rs;
    // A cursor with a Sort of its own finds a row's place by a search through its rows: testing
    // them in order is then no dearer.
    if (!set.onDemand || !set.conn || !set.hasRowid || !d->sortKeys.empty() || field < 0 || field >= set.fields.size())
        return std::nullopt;
    const FieldDef& f = set.fields[field];
    if (!f.updatable || (f.adoType != adVarWChar && f.adoType != adWChar))
        return std::nullopt;
    // NOCASE folds ASCII letters only: a prefix with other cased letters is tested row by row.
    for (const QChar c : prefix)
        if (c.unicode() > 0x7f && (c.toLower() != c || c.toUpper() != c))
            return std::nullopt;
    // Every text starting with the prefix sorts from the prefix up to the prefix followed by the
    // last character there is.
    const QString sql = QStringLiteral("SELECT rowid FROM %1 WHERE %2 >= ?1 COLLATE NOCASE AND %2 < ?2 COLLATE NOCASE LIMIT ?3")
                            .arg(set.quotedBase, set.quoted[field]);
    Stmt st(set.conn->db, sql);
    st.bind({prefix, prefix + QString::fromUcs4(U"\U0010FFFF"), qint64(most) + 1});
    std::vector<long> places;
    long found = 0;
    while (st.step()) {
        if (++found > most)
            return std::nullopt;
        const int row = set.rowOfBookmark(sqlite3_column_int64(st.get(), 0));
        const long p = row >= 0 ? d->positionOfRow(row) : -1;
        if (p >= 0)
            places.push_back(p);  // rows outside this cursor's condition or filter are passed over
    }
    std::sort(places.begin(), places.end());
    return places;
}

void Recordset::setValue(int index, const Value& v) { d->setValue(index, v); }

void Recordset::setValue(const QString& name, const Value& v)
{
    const int k = d->fieldIndex(name);
    if (k < 0)
        detail::ThrowMissingItem(name);
    d->setValue(k, v);
}

void Recordset::AddNew() { d->addNew(); }
void Recordset::Update()
{
    d->requireOpen();
    d->update();
}
void Recordset::CancelUpdate()
{
    d->requireOpen();
    d->cancelUpdate();
}
void Recordset::Delete() { d->deleteCurrent(); }
void Recordset::Resync() { d->resync(); }
EditModeEnum Recordset::EditMode() const { return d->edit; }
bool Recordset::PlaceRow() { return d->placeRow(); }
bool Recordset::ReadAhead(int rows) { return d->rs && d->rs->onDemand && d->rs->onDemand->readAhead(rows); }
long Recordset::RowsToRead() const { return d->rs ? d->rs->rowsToRead() : 0; }
void Recordset::ReadWithKeys(const QStringList& fields) { d->readWithKeys = fields; }

QVariantList Recordset::DistinctValues(int index) const
{
    d->requireOpen();
    const FieldDef& f = d->fieldDef(index);
    d->size();  // a forward-only read: every row
    auto& set = *d->rs;
    bool nocase = false;
    if (set.conn && f.updatable) {
        const char* collation = nullptr;
        if (sqlite3_table_column_metadata(set.conn->db, nullptr, set.baseTable.toUtf8().constData(), f.baseColumn.toUtf8().constData(),
                                          nullptr, &collation, nullptr, nullptr, nullptr) == SQLITE_OK && collation)
            nocase = qstricmp(collation, "NOCASE") == 0;
    }
    struct Item {
        detail::KeyedCell key;
        qint64 order;
    };
    std::vector<Item> items;
    items.reserve(set.rows.size());
    detail::Arena held;  // texts of rows not read yet
    if (set.rowsToRead() > 0 && !set.holdsAtOpen(index)) {
        // Rows not read yet: the column's values come from one pass over that column alone.
        set.conn->check();
        detail::Stmt st(set.conn->db, QStringLiteral("SELECT rowid, %1 FROM %2").arg(set.quoted[index], set.quotedBase));
        while (st.step()) {
            sqlite3_stmt* s = st.get();
            const qint64 rowid = sqlite3_column_int64(s, 0);
            const int i = set.rowOfBookmark(rowid);
            if (i < 0)
                continue;
            const Row& r = set.rows[size_t(i)];
            if (!(r.flags & detail::RowPartial)) {
                items.push_back({detail::Keyed(detail::CellAt(r, index), nocase), rowid});
                continue;
            }
            Cell c = detail::ColumnCell(s, 1);
            if (c.tag == detail::TagText || c.tag == detail::TagBlob) {  // held past the next step
                char* copy = held.alloc(size_t(std::max(c.n, 1)));
                if (c.n)
                    std::memcpy(copy, c.p, size_t(c.n));
                c.p = copy;
            }
            items.push_back({detail::Keyed(c, nocase), rowid});
        }
    } else {
        for (const Row& r : set.rows)
            if (!(r.flags & (detail::RowDeleted | detail::RowPending)))
                items.push_back({detail::Keyed(detail::CellAt(r, index), nocase), set.hasRowid ? r.rowid : r.bookmark});
    }
    std::sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        const int c = detail::CompareKeyed(a.key, b.key, nocase);
        return c != 0 ? c < 0 : a.order < b.order;
    });
    QVariantList out;
    out.reserve(qsizetype(items.size()));
    for (size_t i = 0; i < items.size(); ++i)
        if (i == 0 || detail::CompareKeyed(items[i - 1].key, items[i].key, nocase) != 0)
            out << detail::Decode(items[i].key.cell, f.adoType);
    return out;
}

void Recordset::Requery()
{
    d->requireOpen();
    d->cancelUpdate();
    auto& set = *d->rs;
    // Every cursor on these rows keeps its row where it can; this one goes to the first.
    std::vector<std::pair<Impl*, qint64>> marks;
    for (Impl* c : set.cursors) {
        if (c->edit != adEditNone)
            c->cancelUpdate();
        marks.emplace_back(c, c->onRow() ? set.rows[size_t(c->view[size_t(c->pos)])].bookmark : 0);
    }
    if (set.conn)
        set.fetch();
    else {
        // In memory: only the deleted rows go.
        std::vector<Row> keep;
        for (const Row& r : set.rows)
            if (!(r.flags & (detail::RowDeleted | detail::RowPending)))
                keep.push_back(r);
        set.rows.swap(keep);
        set.indexValid = false;
    }
    for (auto& [c, mark] : marks) {
        c->rebuildView();
        long p = 0;
        if (c != d.get() && mark != 0) {
            const int row = set.rowOfBookmark(mark);
            const long found = row >= 0 ? c->positionOfRow(row) : -1;
            if (found >= 0)
                p = found;
        }
        c->pos = p;
        c->notify(RecordsetEvent::Reset);
    }
}

Bookmark Recordset::bookmark() const
{
    const int row = d->currentRow();
    return d->rs->rows[size_t(row)].bookmark;
}

void Recordset::setBookmark(Bookmark b)
{
    d->requireOpen();
    d->settleEdit();
    const int row = d->rs->rowOfBookmark(b);
    if (row < 0)
        ThrowBadBookmark();
    const long p = d->positionOfRow(row);
    if (p < 0)
        ThrowBadBookmark();
    d->moveTo(p);
}

bool Recordset::SharesRows(const Recordset& other) const { return d->rs && d->rs == other.d->rs; }

Recordset Recordset::Clone() const
{
    d->requireOpen();
    Recordset r;
    r.d->declared = d->declared;
    r.d->attach(d->rs);
    r.d->rebuildView();
    r.d->pos = 0;
    return r;
}

void Recordset::Find(const QString& criteria, long skipRecords, SearchDirection dir, std::optional<Bookmark> start)
{
    d->requireOpen();
    const detail::Condition cond = detail::ParseCondition(criteria, d->rs->fields);
    d->settleEdit();
    long p;
    if (start) {
        const int row = d->rs->rowOfBookmark(*start);
        p = row >= 0 ? d->positionOfRow(row) : -1;
        if (p < 0)
            ThrowBadBookmark();
    } else {
        if (d->bof() || d->eof())
            ThrowNoCurrentRecord();
        p = (d->onDeleted && dir == adSearchBackward) ? d->pos - 1 : d->pos;
    }
    p += dir == adSearchBackward ? -skipRecords : skipRecords;
    const int type = d->rs->fields[cond.field].adoType;
    d->rs->completeAll();
    const auto& rows = d->rs->rows;
    if (dir == adSearchBackward) {
        for (long i = std::min(p, d->size() - 1); i >= 0; --i)
            if (detail::Matches(cond, rows[size_t(d->view[size_t(i)])], type))
                return d->moveTo(i);
        d->moveTo(-1);
    } else {
        for (long i = std::max(p, 0L); i < d->size(); ++i)
            if (detail::Matches(cond, rows[size_t(d->view[size_t(i)])], type))
                return d->moveTo(i);
        d->moveTo(d->size());
    }
}

void Recordset::setFilter(const QString& criteria)
{
    d->requireOpen();
    d->settleEdit();
    if (criteria.trimmed().isEmpty() || criteria.trimmed() == QLatin1String("0"))
        d->filterNode.reset();
    else
        d->filterNode = detail::ParseCriteria(criteria, d->rs->fields);
    d->filterText = d->filterNode ? criteria : QString();
    d->rebuildView();
    d->pos = 0;
    d->notify(RecordsetEvent::Reset);
}

QString Recordset::filter() const { return d->filterText; }

void Recordset::setSort(const QString& sort)
{
    d->requireOpen();
    d->settleEdit();
    std::vector<detail::SortKey> keys;
    for (const QString& part : sort.split(QChar(','), Qt::SkipEmptyParts)) {
        QString p = part.trimmed();
        bool desc = false;
        if (p.endsWith(QLatin1String(" DESC"), Qt::CaseInsensitive)) {
            desc = true;
            p.chop(5);
        } else if (p.endsWith(QLatin1String(" ASC"), Qt::CaseInsensitive)) {
            p.chop(4);
        }
        p = p.trimmed();
        if (p.startsWith(QChar('[')) && p.endsWith(QChar(']')))
            p = p.mid(1, p.size() - 2);
        const int k = d->fieldIndex(p);
        if (k < 0)
            detail::ThrowMissingItem(p);
        keys.push_back({k, desc});
    }
    const qint64 mark = d->onRow() ? d->rs->rows[size_t(d->view[size_t(d->pos)])].bookmark : 0;
    d->sortKeys = keys;
    d->sortText = keys.empty() ? QString() : sort;
    d->rebuildView();
    long p = 0;
    if (mark) {
        const int row = d->rs->rowOfBookmark(mark);
        const long found = row >= 0 ? d->positionOfRow(row) : -1;
        if (found >= 0)
            p = found;
    }
    d->pos = p;
    d->notify(RecordsetEvent::Reset);
}

QString Recordset::sort() const { return d->sortText; }

int Recordset::Subscribe(RecordsetListener listener)
{
    const int id = d->nextListener++;
    d->listeners.emplace(id, std::move(listener));
    return id;
}

void Recordset::Unsubscribe(int id) { d->listeners.erase(id); }

// ---- Field ----------------------------------------------------------------------------------

QString Field::Name() const { return rs_->FieldName(index_); }
int Field::Type() const { return rs_->FieldType(index_); }
int Field::DefinedSize() const { return rs_->FieldSize(index_); }
Value Field::value() const { return rs_->value(index_); }
void Field::setValue(const Value& v) { rs_->setValue(index_, v); }

}  // namespace db
