// The cursor behind a Recordset handle: moves, edits written back by rowid, clones kept in step.
#include "platform/db/RecordsetImpl.h"

#include "platform/db/StatementOrder.h"

#include <QDebug>
#include <QRegularExpression>

namespace db {

using namespace detail;

namespace {

// A field's DefinedSize as ADO reports it: characters for text, bytes for the fixed-size types.
int fieldSize(int adoType, int columnSize)
{
    switch (adoType) {
    case adUnsignedTinyInt: return 1;
    case adSmallInt: case adBoolean: return 2;
    case adInteger: case adSingle: return 4;
    case adDouble: case adCurrency: case adDate: return 8;
    case adLongVarWChar: return 536870910;
    default: return columnSize;
    }
}

// Steps a list's read-back statement (RowSet::readBackSql) on the row of that rowid; false when
// the row is no longer there.
bool readBack(const ConnState& st, sqlite3_stmt* s, qint64 rowid)
{
    sqlite3_bind_int64(s, 1, rowid);
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        ThrowSqlite(st.db, rc);
    return rc == SQLITE_ROW;
}

// The table a SELECT reads, when it reads one table (no join, grouping or union): its rows can
// be written back by rowid.
struct SelectSource {
    QString table, qualifier;  // "" when none; the qualifier is the table's alias, else its name
    bool hasCondition = false;  // a WHERE clause
};

SelectSource selectSource(const QVector<jet::Token>& sig)
{
    SelectSource source;
    if (!sig.isEmpty() && sig[0].is("SELECT") && sig.size() > 1 && !sig[1].is("DISTINCT") && !sig[1].is("DISTINCTROW")
        && !sig[1].is("ALL")) {
        int depth = 0, from = -1, end = int(sig.size());
        bool grouped = false;
        for (int i = 1; i < sig.size(); ++i) {
            const jet::Token& t = sig[i];
            if (t.kind == jet::Token::Punct && t.text == QLatin1String("("))
                ++depth;
            else if (t.kind == jet::Token::Punct && t.text == QLatin1String(")"))
                --depth;
            else if (depth == 0 && t.is("FROM") && from < 0)
                from = i;
            else if (depth == 0 && from >= 0 && end == int(sig.size())
                     && (t.is("WHERE") || t.is("ORDER") || t.is("GROUP") || t.is("HAVING") || t.is("UNION") || t.is("LIMIT")))
                end = i;
            if (depth == 0 && from >= 0 && t.is("WHERE"))
                source.hasCondition = true;
            if (depth == 0 && (t.is("GROUP") || t.is("UNION") || t.is("HAVING")))
                grouped = true;
        }
        if (from > 0 && !grouped) {
            const int n = end - from - 1;
            auto nameTok = [&](int i) { return sig[i].kind == jet::Token::Word || sig[i].kind == jet::Token::Quoted; };
            if (n == 1 && nameTok(from + 1)) {
                source.table = source.qualifier = sig[from + 1].text;
            } else if (n == 2 && nameTok(from + 1) && nameTok(from + 2)) {
                source.table = sig[from + 1].text;
                source.qualifier = sig[from + 2].text;
            } else if (n == 3 && nameTok(from + 1) && sig[from + 2].is("AS") && nameTok(from + 3)) {
                source.table = sig[from + 1].text;
                source.qualifier = sig[from + 3].text;
            }
        }
    }
    return source;
}

// Statement column c as a field: its name (Jet's "Expr1000" for an expression with none), its
// Jet type from the catalogue, and whether it is a column of the base table to write back to.
// The schema is asked after once a statement (catalogueChecked), not once a column: each asking
// takes the file's read lock.
FieldDef fieldOf(ConnState& conn, const RowSet& set, sqlite3_stmt* s, int c, int& unnamed, bool& catalogueChecked)
{
    FieldDef f;
    f.name = QString::fromUtf8(sqlite3_column_name(s, c));
    // An expression without a name of its own is "Expr1000", "Expr1001", ... as Jet names it.
    static const QRegularExpression plainName(QStringLiteral("^[^\\d\\W]\\w*$"), QRegularExpression::UseUnicodePropertiesOption);
    if (!sqlite3_column_origin_name(s, c) && !plainName.match(f.name).hasMatch())
        f.name = QStringLiteral("Expr%1").arg(1000 + unnamed++);
    const char* table = sqlite3_column_table_name(s, c);
    const char* origin = sqlite3_column_origin_name(s, c);
    if (table && origin) {
        const QString t = QString::fromUtf8(table), o = QString::fromUtf8(origin);
        try {
            const bool checked = catalogueChecked;
            catalogueChecked = true;
            const auto& cat = checked ? conn.catalogueAsChecked(t) : conn.catalogue(t);
            const int k = cat.find(o);
            if (k >= 0) {
                const ColumnInfo& info = cat.columns[k].info;
                f.adoType = info.adoType;
                f.definedSize = fieldSize(info.adoType, info.definedSize);
                f.identity = info.identity;
            }
        } catch (const DbError& e) {
            if (e.Number() == 3260)
                throw;  // the file is locked: the statement cannot be read either
        }
        if (set.hasRowid && t.compare(set.baseTable, Qt::CaseInsensitive) == 0) {
            f.updatable = true;
            f.baseColumn = o;
        }
    }
    return f;
}

// How the set's rows are written back: the base table's and columns' quoted names, the read-back
// of an added row; read-only without a base table or any column of it.
void takeWriteBack(RowSet& set, bool readOnly)
{
    set.readOnly = readOnly || !set.hasRowid;
    set.quotedBase = jet::QuoteName(set.baseTable);
    QStringList readBack;
    for (int k = 0; k < set.fields.size(); ++k) {
        const FieldDef& f = set.fields[k];
        set.quoted << (f.updatable ? jet::QuoteName(f.baseColumn) : QString());
        if (f.updatable) {
            readBack << set.quoted.last();
            set.readBackFields << k;
        }
    }
    set.readBackSql = QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(readBack.join(QChar(',')), set.quotedBase);
    // No column of the base table: nothing to write back to.
    if (std::none_of(set.fields.begin(), set.fields.end(), [](const FieldDef& f) { return f.updatable; }))
        set.readOnly = true;
}

// Expressions take their type from the first row.
void typeExpressions(RowSet& set)
{
    for (int k = 0; k < set.fields.size(); ++k) {
        FieldDef& f = set.fields[k];
        if (f.adoType != adEmpty)
            continue;
        const Cell c = set.rows.empty() ? Cell() : detail::CellAt(set.rows.front(), k);
        switch (c.tag) {
        case detail::TagInt: f.adoType = adInteger; f.definedSize = 4; break;
        case detail::TagReal: f.adoType = adDouble; f.definedSize = 8; break;
        case detail::TagBlob: f.adoType = adLongVarBinary; break;
        default: f.adoType = adVarWChar; f.definedSize = 255;
        }
    }
}

}  // namespace

void Recordset::Impl::open(const QString& sql, const std::shared_ptr<detail::ConnState>& conn, bool readOnly, const Params& params,
                           bool forwardOnly, bool keyset)
{
    conn->check();
    auto set = std::make_shared<RowSet>();
    set->conn = conn;
    set->params = params;
    const QString rewritten = jet::RewriteStatement(sql);
    // A SELECT over one table can write back by rowid.
    const QVector<jet::Token> sig = jet::Significant(jet::Tokenize(rewritten));
    const SelectSource source = selectSource(sig);
    set->hasCondition = source.hasCondition;
    const QString& base = source.table;
    const QString& qualifier = source.qualifier;
    std::unique_ptr<detail::Stmt> st;
    if (!base.isEmpty()) {
        const QString withRowid = QStringLiteral("SELECT ") + jet::QuoteName(qualifier) + QStringLiteral(".rowid AS __tess_rowid, ")
                                  + rewritten.mid(6);
        try {
            st = std::make_unique<detail::Stmt>(conn->db, withRowid);
            set->sql = withRowid;
            set->hasRowid = true;
            set->baseTable = conn->tableName(base);
        } catch (const DbError&) {
            st.reset();
        }
    }
    if (!st) {
        st = std::make_unique<detail::Stmt>(conn->db, rewritten);
        set->sql = rewritten;
        set->hasRowid = false;
        set->baseTable.clear();
    }
    sqlite3_stmt* s = st->get();
    const int first = set->hasRowid ? 1 : 0;
    const int count = sqlite3_column_count(s);
    if (count == 0)
        throw DbError(3219, QStringLiteral("Operation is not allowed in this context: the statement returns no rows."));
    int unnamed = 0;
    bool catalogueChecked = false;
    for (int c = first; c < count; ++c)
        set->fields << fieldOf(*conn, *set, s, c, unnamed, catalogueChecked);
    takeWriteBack(*set, readOnly);
    if (set->hasRowid && !forwardOnly)
        detail::TakeStatementOrder(*set, sql);
    if (keyset && set->hasRowid && set->orderKnown && !set->order.empty()) {
        if (auto source = detail::OnDemandSourceFor(*set, conn->readPolicy, readWithKeys))
            set->readOnDemand(std::move(*source));
    }
    if (forwardOnly) {
        // Rows are read as the cursor reaches them: asking whether a table has rows reads one.
        st->bind(params);
        set->startStream(std::move(st));
        set->fetchOne();
        conn->streams.erase(std::remove_if(conn->streams.begin(), conn->streams.end(),
                                           [](const std::weak_ptr<RowSet>& w) { return w.expired(); }),
                            conn->streams.end());
        if (set->pending)
            conn->streams.push_back(set);
    } else {
        st.reset();
        set->fetch();
    }
    typeExpressions(*set);
    attach(set);
    filterText.clear();
    sortText.clear();
    filterNode.reset();
    sortKeys.clear();
    if (forwardOnly) {
        view.clear();
        streaming = true;
        onDeleted = false;
        need(0);
    } else {
        rebuildView();
    }
    pos = 0;
    notify(RecordsetEvent::Reset);
}

void Recordset::Impl::attach(std::shared_ptr<RowSet> set)
{
    detach();
    rs = std::move(set);
    rs->cursors.push_back(this);
}

void Recordset::Impl::detach()
{
    if (!rs)
        return;
    auto& c = rs->cursors;
    c.erase(std::remove(c.begin(), c.end(), this), c.end());
    rs.reset();
    view.clear();
    streaming = false;
    pos = -1;
    onDeleted = false;
    edit = adEditNone;
    buf.clear();
    dirty.clear();
}

void Recordset::Impl::notify(RecordsetEvent e, int field)
{
    if (listeners.empty())
        return;
    const auto copy = listeners;
    for (const auto& [id, fn] : copy) {
        try {
            fn(e, field);
        } catch (const std::exception& ex) {
            qWarning("recordset listener: %s", ex.what());
        }
    }
}

int Recordset::Impl::currentRow() const
{
    requireOpen();
    if (!onRow())
        ThrowNoCurrentRecord();
    const int row = view[size_t(pos)];
    rs->complete(row);
    return row;
}

int Recordset::Impl::fieldIndex(const QString& name) const
{
    const auto& f = rs ? rs->fields : declared;
    for (int i = 0; i < f.size(); ++i)
        if (f[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    const int dot = name.lastIndexOf(QChar('.'));
    if (dot >= 0)
        return fieldIndex(name.mid(dot + 1));
    return -1;
}

const FieldDef& Recordset::Impl::fieldDef(int index) const
{
    const auto& f = rs ? rs->fields : declared;
    if (index < 0 || index >= f.size())
        detail::ThrowMissingItem(QString::number(index));
    return f[index];
}

QVariant Recordset::Impl::value(int index) const
{
    const int row = currentRow();
    fieldDef(index);
    if (edit != adEditNone && row == editRow && dirty[index])
        return buf[index];
    return detail::Decode(detail::CellAt(rs->rows[size_t(row)], index), rs->fields[index].adoType);
}

QVariantList Recordset::Impl::values() const
{
    const int row = currentRow();
    const auto& fields = rs->fields;
    QVariantList out;
    out.reserve(fields.size());
    const char* p = rs->rows[size_t(row)].data;
    for (int k = 0; k < fields.size(); ++k) {
        Row one;
        one.data = p;
        const Cell c = detail::CellAt(one, 0);
        out << ((edit != adEditNone && row == editRow && dirty[k]) ? buf[k] : detail::Decode(c, fields[k].adoType));
        p = detail::NextCell(p);
    }
    return out;
}

QVariant Recordset::Impl::valueAt(long position, int index) const
{
    requireOpen();
    fieldDef(index);
    if (position < 0 || position >= known(position))
        ThrowNoCurrentRecord();
    const int row = view[size_t(position)];
    if (edit != adEditNone && row == editRow && dirty[index])
        return buf[index];
    rs->complete(row);
    return detail::Decode(detail::CellAt(rs->rows[size_t(row)], index), rs->fields[index].adoType);
}

void Recordset::Impl::beginEdit()
{
    if (edit != adEditNone)
        return;
    editRow = currentRow();
    edit = adEditInProgress;
    buf = QVector<QVariant>(rs->fields.size());
    dirty = QVector<bool>(rs->fields.size(), false);
}

void Recordset::Impl::setValue(int index, const QVariant& v)
{
    currentRow();
    const FieldDef& f = fieldDef(index);
    if (rs->readOnly)
        ThrowNotUpdatable();
    if (rs->conn && (!f.updatable || f.identity))
        throw DbError(3164, QStringLiteral("Field '%1' cannot be updated.").arg(f.name));
    const QVariant stored = detail::ToStorage(v, f.adoType);
    beginEdit();
    buf[index] = stored;
    dirty[index] = true;
    notify(RecordsetEvent::FieldChanged, index);
}

void Recordset::Impl::settleEdit()
{
    if (edit != adEditNone)
        update();
}

void Recordset::Impl::broadcast(RecordsetEvent e)
{
    const auto cursors = rs->cursors;
    for (Impl* c : cursors)
        c->notify(e);
}

void Recordset::Impl::addNew()
{
    requireOpen();
    if (rs->readOnly)
        ThrowNotUpdatable();
    settleEdit();
    Row row;
    row.flags = detail::RowPending;
    rs->encode(row, QVector<QVariant>(rs->fields.size()));
    rs->rows.push_back(row);
    const int idx = int(rs->rows.size()) - 1;
    posBeforeAdd = onDeleted ? -1 : pos;
    view.push_back(idx);
    pos = size() - 1;
    onDeleted = false;
    edit = adEditAdd;
    editRow = idx;
    buf = QVector<QVariant>(rs->fields.size());
    dirty = QVector<bool>(rs->fields.size(), false);
    notify(RecordsetEvent::RowsChanged);
    notify(RecordsetEvent::Moved);
}

QVector<QVariant> Recordset::Impl::rowValues(int row) const
{
    rs->complete(row);
    QVector<QVariant> values = rs->values(rs->rows[size_t(row)]);
    for (int k = 0; k < values.size(); ++k)
        if (dirty[k])
            values[k] = buf[k];
    return values;
}

QString Recordset::Impl::readCondition(const Row& row, int k, Params& params) const
{
    const FieldDef& f = rs->fields[k];
    const QString& col = rs->quoted[k];
    const Cell c = detail::CellAt(row, k);
    switch (c.tag) {
    case detail::TagNull:
        return col + QStringLiteral(" IS NULL");
    case detail::TagInt:
        if (f.adoType == adBoolean) {
            params << qint64(c.i != 0);
            return QStringLiteral("(%1 <> 0) IS ?").arg(col);
        }
        params << c.i;
        break;
    case detail::TagReal:
        params << c.d;
        break;
    case detail::TagText:
        params << QString::fromUtf8(c.p, c.n);
        break;
    case detail::TagBlob:
        params << QByteArray(c.p, c.n);
        break;
    }
    return col + QStringLiteral(" IS ?");
}

bool Recordset::Impl::readBaseColumns(qint64 rowid, QVector<QVariant>& values, bool raw) const
{
    auto& st = *rs->conn;
    const QVector<int>& which = rs->readBackFields;
    if (which.isEmpty())
        return true;
    sqlite3_stmt* s = st.cachedStatement(rs->readBackSql);
    detail::CachedUse use{s};
    if (!readBack(st, s, rowid))
        return false;
    for (int j = 0; j < which.size(); ++j) {
        Cell c;
        QByteArray hold;
        switch (sqlite3_column_type(s, j)) {
        case SQLITE_INTEGER:
            c.tag = detail::TagInt;
            c.i = sqlite3_column_int64(s, j);
            break;
        case SQLITE_FLOAT:
            c.tag = detail::TagReal;
            c.d = sqlite3_column_double(s, j);
            break;
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            const bool text = sqlite3_column_type(s, j) == SQLITE_TEXT;
            const void* p = text ? static_cast<const void*>(sqlite3_column_text(s, j)) : sqlite3_column_blob(s, j);
            hold = QByteArray(static_cast<const char*>(p), sqlite3_column_bytes(s, j));
            c.tag = text ? detail::TagText : detail::TagBlob;
            c.p = hold.constData();
            c.n = int(hold.size());
            break;
        }
        default:
            break;
        }
        QVariant& v = values[which[j]];
        if (!raw)
            v = detail::Decode(c, rs->fields[which[j]].adoType);
        else if (c.tag == detail::TagInt)
            v = c.i;
        else if (c.tag == detail::TagReal)
            v = c.d;
        else if (c.tag == detail::TagText)
            v = QString::fromUtf8(hold);
        else if (c.tag == detail::TagBlob)
            v = hold;
        else
            v = QVariant();
    }
    return true;
}

void Recordset::Impl::resync()
{
    requireOpen();
    if (edit == adEditAdd || !rs->conn || !rs->hasRowid)
        return;
    const int r = currentRow();
    cancelUpdate();
    rs->conn->check();
    QVector<QVariant> values(rs->fields.size());
    if (!readBaseColumns(rs->rows[size_t(r)].rowid, values, true)) {
        rs->rows[size_t(r)].flags |= detail::RowDeleted;
        rs->indexValid = false;
        removeFromViews(r);
        broadcast(RecordsetEvent::RowsChanged);
        throw DbError(3167, QStringLiteral("Record is deleted."));
    }
    QVector<bool> mask(rs->fields.size());
    for (int k = 0; k < rs->fields.size(); ++k)
        mask[k] = rs->fields[k].updatable;
    rs->patch(rs->rows[size_t(r)], values, mask);
    rs->outOfOrder(r);
    broadcast(RecordsetEvent::RowsChanged);
}

void Recordset::Impl::update()
{
    if (edit == adEditNone)
        return;
    requireOpen();
    Row& row = rs->rows[size_t(editRow)];
    qint64 rowid = row.rowid;
    const bool added = edit == adEditAdd;
    if (rs->conn) {
        auto& st = *rs->conn;
        st.check();
        QStringList names;
        Params params;
        for (int k = 0; k < rs->fields.size(); ++k)
            if (dirty[k] && rs->fields[k].updatable) {
                const FieldDef& f = rs->fields[k];
                if ((f.adoType == adVarWChar || f.adoType == adWChar) && f.definedSize > 0
                    && buf[k].typeId() == QMetaType::QString && buf[k].toString().size() > f.definedSize)
                    throw DbError(3163, QStringLiteral("The field is too small to accept the amount of data you attempted "
                                                       "to add. Try inserting or pasting less data. (%1)").arg(f.name));
                names << rs->quoted[k];
                params << buf[k];
            }
        const QString& table = rs->quotedBase;
        if (edit == adEditAdd) {
            QString sql;
            if (names.isEmpty()) {
                sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table);
            } else {
                QStringList marks;
                for (int k = 0; k < names.size(); ++k)
                    marks << QStringLiteral("?");
                sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, names.join(QChar(',')), marks.join(QChar(',')));
            }
            st.execCached(sql, params);
            rowid = sqlite3_last_insert_rowid(st.db);
        } else if (!names.isEmpty()) {
            // Optimistic: the row is written only where it still holds, in every changed
            // field, the value it was read with; otherwise another user got there first.
            QStringList where{QStringLiteral("rowid = ?")};
            params << rowid;
            for (int k = 0; k < rs->fields.size(); ++k)
                if (dirty[k] && rs->fields[k].updatable)
                    where << readCondition(row, k, params);
            for (QString& n : names)
                n += QStringLiteral(" = ?");
            if (st.execCached(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                  .arg(table, names.join(QStringLiteral(", ")), where.join(QStringLiteral(" AND "))),
                              params) == 0)
                throw ChangedByAnotherUser();
        }
    }
    if (added) {
        rs->outOfOrder(editRow);  // at the end of the rows until placed
    } else {
        for (const detail::OrderKey& k : rs->order)
            if (dirty[k.field])
                rs->outOfOrder(editRow);
    }
    if (!added) {
        rs->patch(row, buf, dirty);
    } else if (rs->conn) {
        // Read the new row back: identity numbers and defaults as stored.
        auto& st = *rs->conn;
        QVector<QVariant> values;
        const QVector<int>& which = rs->readBackFields;
        bool stored = false;
        if (!which.isEmpty()) {
            sqlite3_stmt* s = st.cachedStatement(rs->readBackSql);
            detail::CachedUse use{s};
            const bool found = readBack(st, s, rowid);
            if (found && which.size() == rs->fields.size()) {
                // Every field is a column of the table: the stored row is the new image.
                const Row image = rs->imageOf(s, 0);
                row.data = image.data;
                row.size = image.size;
                stored = true;
            } else if (found) {
                values = rowValues(editRow);
                for (int j = 0; j < which.size(); ++j) {
                    const Cell c = detail::ColumnCell(s, j);
                    values[which[j]] = detail::Decode(c, rs->fields[which[j]].adoType);
                }
            }
        }
        if (!stored)
            rs->encode(row, values.isEmpty() ? rowValues(editRow) : values);
    } else {
        rs->encode(row, rowValues(editRow));
    }
    edit = adEditNone;
    buf.clear();
    dirty.clear();
    if (added) {
        row.flags &= quint8(~detail::RowPending);
        row.rowid = rowid;
        row.bookmark = rs->hasRowid ? rowid : rs->nextBookmark++;
        if (rs->indexValid)
            rs->byBookmark.insert(row.bookmark, editRow);
        for (Impl* c : rs->cursors)
            if (c != this)
                c->view.push_back(editRow);
    }
    broadcast(RecordsetEvent::RowsChanged);
}

void Recordset::Impl::cancelUpdate()
{
    if (edit == adEditAdd) {
        rs->rows[size_t(editRow)].flags |= detail::RowDeleted;
        view.erase(std::remove(view.begin(), view.end(), editRow), view.end());
        edit = adEditNone;
        buf.clear();
        dirty.clear();
        pos = std::min(posBeforeAdd, size());
        if (pos < 0 && !view.empty())
            pos = 0;
        notify(RecordsetEvent::RowsChanged);
        notify(RecordsetEvent::Moved);
    } else if (edit == adEditInProgress) {
        edit = adEditNone;
        buf.clear();
        dirty.clear();
        notify(RecordsetEvent::FieldChanged, -1);
    }
}

void Recordset::Impl::removeFromViews(int row)
{
    for (Impl* c : rs->cursors) {
        const long p = c->positionOfRow(row);
        if (p < 0)
            continue;
        c->notify(RecordsetEvent::RowRemoving, int(p));
        c->view.erase(c->view.begin() + p);
        if (c->pos > p)
            --c->pos;
        else if (c->pos == p)
            c->onDeleted = true;
        if (c->edit != adEditNone && c->editRow == row) {
            c->edit = adEditNone;
            c->buf.clear();
            c->dirty.clear();
        }
        c->notify(RecordsetEvent::RowRemoved, int(p));
    }
}

void Recordset::Impl::deleteCurrent()
{
    requireOpen();
    if (rs->readOnly)
        ThrowNotUpdatable();
    if (edit == adEditAdd) {
        cancelUpdate();
        return;
    }
    const int row = currentRow();
    if (rs->conn) {
        rs->conn->execCached(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(jet::QuoteName(rs->baseTable)),
                             {rs->rows[size_t(row)].rowid});
    }
    edit = adEditNone;
    buf.clear();
    dirty.clear();
    rs->rows[size_t(row)].flags |= detail::RowDeleted;
    removeFromViews(row);
}

bool Recordset::Impl::selects(qint64 rowid) const
{
    if (!rs->hasCondition)
        return true;
    detail::Stmt st(rs->conn->db, QStringLiteral("SELECT 1 FROM (") + rs->sql + QStringLiteral(") WHERE __tess_rowid = ?"));
    for (int i = 0; i < rs->params.size(); ++i)
        detail::BindValue(st.get(), i + 1, rs->params[i]);
    sqlite3_bind_int64(st.get(), int(rs->params.size()) + 1, rowid);
    return st.step();
}

bool Recordset::Impl::sortsBefore(int a, int b) const
{
    for (const detail::SortKey& key : sortKeys) {
        const int c = detail::CompareForSort(detail::CellAt(rs->rows[size_t(a)], key.field), detail::CellAt(rs->rows[size_t(b)], key.field));
        if (c != 0)
            return key.desc ? c > 0 : c < 0;
    }
    return a < b;
}

bool Recordset::Impl::placeRow()
{
    const int from = currentRow();
    if (edit != adEditNone || !rs->conn || !rs->hasRowid || !rs->orderKnown)
        return false;
    // A cursor's own Sort compares whole rows (a Sort already read them all; this holds it).
    if (std::any_of(rs->cursors.begin(), rs->cursors.end(), [](const Impl* c) { return !c->sortKeys.empty(); }))
        rs->completeAll();
    auto& rows = rs->rows;
    const Row moved = rows[size_t(from)];
    if (!selects(moved.rowid))
        return false;
    // The stored rows are in the statement's order: the row goes before the first one after it.
    const int n = int(rows.size());
    const auto skipped = [&](int i) {
        return i == from || (rows[size_t(i)].flags & (detail::RowDeleted | detail::RowPending));
    };
    int before = n;
    if (rs->inOrder && (rs->straggler < 0 || rs->straggler == from)) {
        // Every other row in order: found by halving, rows not shown stepped over.
        int lo = 0, hi = n;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            int j = mid;
            while (j < hi && skipped(j))
                ++j;
            if (j == hi)
                hi = mid;
            else if (rs->compareInOrder(rows[size_t(j)], moved) > 0)
                hi = j;
            else
                lo = j + 1;
        }
        while (lo < n && skipped(lo))
            ++lo;
        before = lo;
        rs->straggler = -1;
    } else {
        for (int i = 0; i < n; ++i) {
            if (skipped(i))
                continue;
            if (rs->compareInOrder(rows[size_t(i)], moved) > 0) {
                before = i;
                break;
            }
        }
        rs->inOrder = false;
    }
    const int to = before > from ? before - 1 : before;
    if (to != from) {
        if (from < to)
            std::rotate(rows.begin() + from, rows.begin() + from + 1, rows.begin() + to + 1);
        else
            std::rotate(rows.begin() + to, rows.begin() + from, rows.begin() + from + 1);
        auto remap = [&](int i) {
            if (i == from)
                return to;
            if (from < to && i > from && i <= to)
                return i - 1;
            if (to < from && i >= to && i < from)
                return i + 1;
            return i;
        };
        for (Impl* c : rs->cursors) {
            for (int& v : c->view)
                v = remap(v);
            if (c->edit != adEditNone)
                c->editRow = remap(c->editRow);
        }
        // Only the rows between the two places changed places: the bookmark table follows.
        if (rs->indexValid) {
            for (int i = std::min(from, to); i <= std::max(from, to); ++i)
                if (!(rows[size_t(i)].flags & (detail::RowDeleted | detail::RowPending)))
                    rs->byBookmark.insert(rows[size_t(i)].bookmark, i);
        }
    }
    // Each cursor shows the row where its own order puts it.
    std::vector<Impl*> movedCursors;
    for (Impl* c : rs->cursors) {
        const auto it = std::find(c->view.begin(), c->view.end(), to);
        if (it == c->view.end())
            continue;
        const long old = long(it - c->view.begin());
        const int current = c->onRow() ? c->view[size_t(c->pos)] : -1;
        const long posBefore = c->pos;
        c->view.erase(it);
        long at = 0;
        const long n = long(c->view.size());
        if (!c->sortKeys.empty()) {
            while (at < n && !c->sortsBefore(to, c->view[size_t(at)]))
                ++at;
        } else {
            while (at < n && c->view[size_t(at)] < to)
                ++at;
        }
        c->view.insert(c->view.begin() + at, to);
        if (current >= 0) {
            c->pos = c->positionOfRow(current);
        } else {
            if (old < c->pos)
                --c->pos;
            if (at <= c->pos)
                ++c->pos;
        }
        if (c->pos != posBefore)
            movedCursors.push_back(c);
    }
    broadcast(RecordsetEvent::RowsChanged);
    for (Impl* c : movedCursors)
        c->notify(RecordsetEvent::Moved);
    return true;
}

void Recordset::Impl::rebuildView()
{
    rs->fetchRest();
    if (filterNode || !sortKeys.empty())
        rs->completeAll();
    streaming = false;
    view.clear();
    view.reserve(rs->rows.size() + 256);  // room for the rows added next
    const int n = int(rs->rows.size());
    for (int i = 0; i < n; ++i) {
        const Row& r = rs->rows[size_t(i)];
        if (r.flags & (detail::RowDeleted | detail::RowPending))
            continue;
        if (filterNode && !detail::Matches(*filterNode, r, rs->fields))
            continue;
        view.push_back(i);
    }
    if (!sortKeys.empty()) {
        const size_t k = sortKeys.size();
        std::vector<Cell> keys(size_t(n) * k);
        for (int i : view)
            for (size_t j = 0; j < k; ++j)
                keys[size_t(i) * k + j] = detail::CellAt(rs->rows[size_t(i)], sortKeys[j].field);
        std::stable_sort(view.begin(), view.end(), [&](int a, int b) {
            for (size_t j = 0; j < k; ++j) {
                int c = detail::CompareForSort(keys[size_t(a) * k + j], keys[size_t(b) * k + j]);
                if (c != 0)
                    return sortKeys[j].desc ? c > 0 : c < 0;
            }
            return false;
        });
    }
    onDeleted = false;
}

long Recordset::Impl::positionOfRow(int row) const
{
    // Without a Sort of its own a cursor shows its rows in stored order, so the row is found
    // by halving; only a view out of that order is searched row by row.
    if (sortKeys.empty()) {
        const auto it = std::lower_bound(view.begin(), view.end(), row);
        if (it != view.end() && *it == row)
            return long(it - view.begin());
    }
    const auto it = std::find(view.begin(), view.end(), row);
    return it == view.end() ? -1 : long(it - view.begin());
}

void Recordset::Impl::moveTo(long p)
{
    pos = p;
    onDeleted = false;
    notify(RecordsetEvent::Moved);
}

}  // namespace db
