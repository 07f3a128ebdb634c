// Client-side recordset: a snapshot of the rows that writes changes back by the row's key.
#include "platform/db/DbImpl.h"

#include <QRegularExpression>
#include <QSet>

#include <QDebug>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace db {

using detail::Cell;
using detail::FieldDef;
using detail::Row;
using detail::RowSet;

namespace {

[[noreturn]] void noCurrentRecord()
{
    throw DbError(3021, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                       "Requested operation requires a current record."));
}

[[noreturn]] void notUpdatable()
{
    throw DbError(3251, QStringLiteral("Current Recordset does not support updating. This may be a limitation of "
                                       "the provider, or of the selected locktype."));
}

[[noreturn]] void badBookmark()
{
    throw DbError(3159, QStringLiteral("Not a valid bookmark."));
}

[[noreturn]] void badArgument(const QString& what)
{
    throw DbError(3001, QStringLiteral("Arguments are of the wrong type, are out of acceptable range, or are in "
                                       "conflict with one another. (%1)").arg(what));
}

inline unsigned char fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

// ASCII letter case ignored, bytes of UTF-8 otherwise (code point order).
int compareText(const char* a, int an, const char* b, int bn)
{
    const int n = std::min(an, bn);
    for (int i = 0; i < n; ++i) {
        const unsigned char x = fold(quint8(a[i])), y = fold(quint8(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return an == bn ? 0 : (an < bn ? -1 : 1);
}

inline int utf8Len(unsigned char c) { return c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1; }

// "*" and "%" any run, "?" and "_" one character; ASCII letter case ignored.
bool likeMatch(const char* s, int sn, const QByteArray& pat)
{
    const char* p = pat.constData();
    const int pn = int(pat.size());
    int si = 0, pi = 0, starP = -1, starS = 0;
    while (si < sn) {
        if (pi < pn && (p[pi] == '*' || p[pi] == '%')) {
            starP = pi++;
            starS = si;
        } else if (pi < pn && (p[pi] == '?' || p[pi] == '_')) {
            si += utf8Len(quint8(s[si]));
            ++pi;
        } else if (pi < pn && fold(quint8(p[pi])) == fold(quint8(s[si]))) {
            ++pi;
            ++si;
        } else if (starP >= 0) {
            pi = starP + 1;
            starS += utf8Len(quint8(s[starS]));
            si = starS;
        } else {
            return false;
        }
    }
    while (pi < pn && (p[pi] == '*' || p[pi] == '%'))
        ++pi;
    return pi == pn;
}

bool isNumericTag(const Cell& c) { return c.tag == detail::TagInt || c.tag == detail::TagReal; }
double numberOf(const Cell& c) { return c.tag == detail::TagInt ? double(c.i) : c.d; }

int compareCells(const Cell& a, const Cell& b)
{
    if (a.tag == detail::TagNull || b.tag == detail::TagNull)
        return (a.tag == detail::TagNull) == (b.tag == detail::TagNull) ? 0 : (a.tag == detail::TagNull ? -1 : 1);
    if (isNumericTag(a) && isNumericTag(b)) {
        const double x = numberOf(a), y = numberOf(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (isNumericTag(a) != isNumericTag(b))
        return isNumericTag(a) ? -1 : 1;
    return compareText(a.p, a.n, b.p, b.n);
}

// ---- criteria of Find and Filter ----------------------------------------------------------

struct Condition {
    enum Op { Eq, Ne, Lt, Gt, Le, Ge, Like, NotLike, IsNull, NotNull } op = Eq;
    int field = -1;
    bool numeric = false;   // compare as numbers
    double number = 0;
    QByteArray text;        // UTF-8 text, canonical date, or the like pattern
};

struct Node {
    enum Kind { Leaf, And, Or } kind = Leaf;
    Condition cond;
    std::vector<Node> kids;
};

// A criterion may delimit a text with "#" as well as with quotes ("name = #O'Brien#"); what
// between two "#" is no date becomes a quoted text.
QString hashDelimitedTexts(const QString& text)
{
    if (!text.contains(QChar('#')))
        return text;
    QString out;
    int i = 0;
    const int n = text.size();
    while (i < n) {
        const QChar c = text[i];
        if (c == QChar('\'') || c == QChar('"') || c == QChar('[')) {
            const QChar close = c == QChar('[') ? QChar(']') : c;
            int j = i + 1;
            while (j < n && !(text[j] == close && !(close != QChar(']') && j + 1 < n && text[j + 1] == close)))
                j += (close != QChar(']') && text[j] == close) ? 2 : 1;
            out += text.mid(i, j + 1 - i);
            i = j + 1;
            continue;
        }
        if (c == QChar('#')) {
            const int close = text.indexOf(QChar('#'), i + 1);
            if (close > i) {
                const QString inner = text.mid(i + 1, close - i - 1);
                bool date = false;
                jet::CanonicalDate(inner, &date);
                out += date ? text.mid(i, close + 1 - i) : jet::QuoteText(inner);
                i = close + 1;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

class CriteriaParser {
public:
    CriteriaParser(const QString& text, const QVector<FieldDef>& fields)
        : fields_(fields), toks_(jet::Significant(jet::Tokenize(hashDelimitedTexts(text)))), text_(text)
    {
    }

    Node parseAll()
    {
        Node n = parseOr();
        if (i_ != toks_.size())
            fail();
        return n;
    }

    Condition parseOne()
    {
        Condition c = clause();
        if (i_ != toks_.size())
            fail();
        return c;
    }

private:
    [[noreturn]] void fail() { badArgument(text_); }

    bool atPunct(const char* p) const { return i_ < toks_.size() && toks_[i_].kind == jet::Token::Punct && toks_[i_].text == QLatin1String(p); }

    Node parseOr()
    {
        Node left = parseAnd();
        if (i_ < toks_.size() && toks_[i_].is("OR")) {
            Node n;
            n.kind = Node::Or;
            n.kids.push_back(std::move(left));
            while (i_ < toks_.size() && toks_[i_].is("OR")) {
                ++i_;
                n.kids.push_back(parseAnd());
            }
            return n;
        }
        return left;
    }

    Node parseAnd()
    {
        Node left = factor();
        if (i_ < toks_.size() && toks_[i_].is("AND")) {
            Node n;
            n.kind = Node::And;
            n.kids.push_back(std::move(left));
            while (i_ < toks_.size() && toks_[i_].is("AND")) {
                ++i_;
                n.kids.push_back(factor());
            }
            return n;
        }
        return left;
    }

    Node factor()
    {
        if (atPunct("(")) {
            ++i_;
            Node n = parseOr();
            if (!atPunct(")"))
                fail();
            ++i_;
            return n;
        }
        Node n;
        n.cond = clause();
        return n;
    }

    Condition clause()
    {
        if (i_ >= toks_.size() || (toks_[i_].kind != jet::Token::Word && toks_[i_].kind != jet::Token::Quoted))
            fail();
        Condition c;
        QString name = toks_[i_++].text;
        // "table.column" names the column.
        while (atPunct(".") && i_ + 1 < toks_.size()) {
            name = toks_[i_ + 1].text;
            i_ += 2;
        }
        for (int k = 0; k < fields_.size(); ++k)
            if (fields_[k].name.compare(name, Qt::CaseInsensitive) == 0) {
                c.field = k;
                break;
            }
        if (c.field < 0)
            throw DbError(3265, QStringLiteral("Item cannot be found in the collection corresponding to the requested "
                                               "name or ordinal. (%1)").arg(name));
        if (i_ >= toks_.size())
            fail();
        const jet::Token& op = toks_[i_++];
        if (op.is("LIKE")) {
            c.op = Condition::Like;
        } else if (op.is("NOT") && i_ < toks_.size() && toks_[i_].is("LIKE")) {
            ++i_;
            c.op = Condition::NotLike;
        } else if (op.is("IS")) {
            bool negate = false;
            if (i_ < toks_.size() && toks_[i_].is("NOT")) {
                negate = true;
                ++i_;
            }
            if (i_ >= toks_.size() || !toks_[i_].is("NULL"))
                fail();
            ++i_;
            c.op = negate ? Condition::NotNull : Condition::IsNull;
            return c;
        } else if (op.kind == jet::Token::Punct) {
            const QString o = op.text;
            if (o == QLatin1String("=") || o == QLatin1String("=="))
                c.op = Condition::Eq;
            else if (o == QLatin1String("<>") || o == QLatin1String("!="))
                c.op = Condition::Ne;
            else if (o == QLatin1String("<"))
                c.op = Condition::Lt;
            else if (o == QLatin1String(">"))
                c.op = Condition::Gt;
            else if (o == QLatin1String("<="))
                c.op = Condition::Le;
            else if (o == QLatin1String(">="))
                c.op = Condition::Ge;
            else
                fail();
        } else {
            fail();
        }
        // The value.
        if (i_ >= toks_.size())
            fail();
        bool negative = false;
        if (atPunct("-")) {
            negative = true;
            ++i_;
        }
        if (i_ >= toks_.size())
            fail();
        const jet::Token& v = toks_[i_++];
        if (v.is("NULL")) {
            if (c.op == Condition::Eq)
                c.op = Condition::IsNull;
            else if (c.op == Condition::Ne)
                c.op = Condition::NotNull;
            else
                fail();
            return c;
        }
        QString value = v.text;
        if (negative)
            value.prepend(QChar('-'));
        const int type = fields_[c.field].adoType;
        const bool numericField = type == adSmallInt || type == adInteger || type == adUnsignedTinyInt || type == adDouble
                                  || type == adSingle || type == adCurrency || type == adBoolean;
        if (c.op == Condition::Like || c.op == Condition::NotLike) {
            c.text = value.toUtf8();
            return c;
        }
        if (v.kind == jet::Token::Date) {
            c.text = value.toUtf8();
        } else if (numericField) {
            bool ok = false;
            c.number = value.toDouble(&ok);
            if (!ok) {
                if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                    c.number = -1, ok = true;
                else if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                    c.number = 0, ok = true;
            }
            if (!ok)
                fail();
            c.numeric = true;
        } else if (type == adDate) {
            bool ok = false;
            const QString canon = jet::CanonicalDate(value, &ok);
            c.text = (ok ? canon : value).toUtf8();
        } else {
            c.text = value.toUtf8();
        }
        return c;
    }

    const QVector<FieldDef>& fields_;
    QVector<jet::Token> toks_;
    QString text_;
    int i_ = 0;
};

bool matches(const Condition& c, const Row& row, int adoType)
{
    const Cell cell = detail::CellAt(row, c.field);
    switch (c.op) {
    case Condition::IsNull:
        return cell.tag == detail::TagNull;
    case Condition::NotNull:
        return cell.tag != detail::TagNull;
    default:
        break;
    }
    if (cell.tag == detail::TagNull)
        return false;
    if (c.op == Condition::Like || c.op == Condition::NotLike) {
        bool m;
        if (cell.tag == detail::TagText) {
            m = likeMatch(cell.p, cell.n, c.text);
        } else {
            const QByteArray t = detail::Decode(cell, adoType).toString().toUtf8();
            m = likeMatch(t.constData(), int(t.size()), c.text);
        }
        return c.op == Condition::Like ? m : !m;
    }
    int cmp;
    if (c.numeric && isNumericTag(cell)) {
        const double x = numberOf(cell);
        cmp = x < c.number ? -1 : (x > c.number ? 1 : 0);
    } else if (cell.tag == detail::TagText) {
        cmp = compareText(cell.p, cell.n, c.text.constData(), int(c.text.size()));
    } else {
        const QByteArray t = c.numeric ? QByteArray::number(c.number) : c.text;
        const QByteArray mine = detail::Decode(cell, 0).toString().toUtf8();
        cmp = compareText(mine.constData(), int(mine.size()), t.constData(), int(t.size()));
    }
    switch (c.op) {
    case Condition::Eq: return cmp == 0;
    case Condition::Ne: return cmp != 0;
    case Condition::Lt: return cmp < 0;
    case Condition::Gt: return cmp > 0;
    case Condition::Le: return cmp <= 0;
    case Condition::Ge: return cmp >= 0;
    default: return false;
    }
}

bool evaluate(const Node& n, const Row& row, const QVector<FieldDef>& fields)
{
    switch (n.kind) {
    case Node::Leaf:
        return matches(n.cond, row, fields[n.cond.field].adoType);
    case Node::And:
        for (const Node& k : n.kids)
            if (!evaluate(k, row, fields))
                return false;
        return true;
    case Node::Or:
        for (const Node& k : n.kids)
            if (evaluate(k, row, fields))
                return true;
        return false;
    }
    return false;
}

struct SortKey {
    int field;
    bool desc;
};


}  // namespace

// ---- the cursor -----------------------------------------------------------------------------

struct Recordset::Impl {
    std::shared_ptr<RowSet> rs;
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
    std::optional<Node> filterNode;
    std::vector<SortKey> sortKeys;
    QVector<FieldDef> declared;
    QStringList readWithKeys;  // see Recordset::ReadWithKeys
    std::map<int, RecordsetListener> listeners;
    int nextListener = 1;

    ~Impl() { detach(); }

    void attach(std::shared_ptr<RowSet> set)
    {
        detach();
        rs = std::move(set);
        rs->cursors.push_back(this);
    }

    void detach()
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

    void notify(RecordsetEvent e, int field = -1)
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

    int currentRow() const
    {
        requireOpen();
        if (!onRow())
            noCurrentRecord();
        const int row = view[size_t(pos)];
        rs->complete(row);
        return row;
    }

    int fieldIndex(const QString& name) const
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

    const FieldDef& fieldDef(int index) const
    {
        const auto& f = rs ? rs->fields : declared;
        if (index < 0 || index >= f.size())
            detail::ThrowMissingItem(QString::number(index));
        return f[index];
    }

    QVariant value(int index) const
    {
        const int row = currentRow();
        fieldDef(index);
        if (edit != adEditNone && row == editRow && dirty[index])
            return buf[index];
        return detail::Decode(detail::CellAt(rs->rows[size_t(row)], index), rs->fields[index].adoType);
    }

    // Every field of the current row, walking its image once.
    QVariantList values() const
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

    QVariant valueAt(long position, int index) const
    {
        requireOpen();
        fieldDef(index);
        if (position < 0 || position >= known(position))
            noCurrentRecord();
        const int row = view[size_t(position)];
        if (edit != adEditNone && row == editRow && dirty[index])
            return buf[index];
        rs->complete(row);
        return detail::Decode(detail::CellAt(rs->rows[size_t(row)], index), rs->fields[index].adoType);
    }

    void beginEdit()
    {
        if (edit != adEditNone)
            return;
        editRow = currentRow();
        edit = adEditInProgress;
        buf = QVector<QVariant>(rs->fields.size());
        dirty = QVector<bool>(rs->fields.size(), false);
    }

    void setValue(int index, const QVariant& v)
    {
        currentRow();
        const FieldDef& f = fieldDef(index);
        if (rs->readOnly)
            notUpdatable();
        if (rs->conn && (!f.updatable || f.identity))
            throw DbError(3164, QStringLiteral("Field '%1' cannot be updated.").arg(f.name));
        const QVariant stored = detail::ToStorage(v, f);
        beginEdit();
        buf[index] = stored;
        dirty[index] = true;
        notify(RecordsetEvent::FieldChanged, index);
    }

    void settleEdit()
    {
        if (edit != adEditNone)
            update();
    }

    // Other cursors follow structural changes of the shared rows.
    void broadcast(RecordsetEvent e)
    {
        const auto cursors = rs->cursors;
        for (Impl* c : cursors)
            c->notify(e);
    }

    void addNew()
    {
        requireOpen();
        if (rs->readOnly)
            notUpdatable();
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

    QVector<QVariant> rowValues(int row) const
    {
        rs->complete(row);
        QVector<QVariant> values = rs->values(rs->rows[size_t(row)]);
        for (int k = 0; k < values.size(); ++k)
            if (dirty[k])
                values[k] = buf[k];
        return values;
    }

    // "column still holds what the row image holds", with the value bound exactly as it was read.
    // A Yes/No column is compared by truth (stored True is -1, a written one may read 1).
    QString readCondition(const Row& row, int k, Params& params) const
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

    // Reads the base table's columns of the row with that rowid into `values` (decoded, or as
    // stored when `raw`); false when the row is gone.
    bool readBaseColumns(qint64 rowid, QVector<QVariant>& values, bool raw) const
    {
        auto& st = *rs->conn;
        const QVector<int>& which = rs->readBackFields;
        if (which.isEmpty())
            return true;
        sqlite3_stmt* s = st.cachedStatement(rs->readBackSql);
        detail::CachedUse use{s};
        sqlite3_bind_int64(s, 1, rowid);
        const int rc = sqlite3_step(s);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            detail::ThrowSqlite(st.db, rc);
        if (rc != SQLITE_ROW)
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

    // Reads the current row again from the database (what another user saved since); a row
    // another user deleted leaves the cursor and raises 3167.  A pending edit is dropped.
    void resync()
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

    void update()
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
                sqlite3_bind_int64(s, 1, rowid);
                const int rc = sqlite3_step(s);
                if (rc != SQLITE_ROW && rc != SQLITE_DONE)
                    detail::ThrowSqlite(st.db, rc);
                if (rc == SQLITE_ROW && which.size() == rs->fields.size()) {
                    // Every field is a column of the table: the stored row is the new image.
                    const Row image = rs->imageOf(s, 0);
                    row.data = image.data;
                    row.size = image.size;
                    stored = true;
                } else if (rc == SQLITE_ROW) {
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

    void cancelUpdate()
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

    void removeFromViews(int row)
    {
        for (Impl* c : rs->cursors) {
            const long p = c->positionOfRow(row);
            if (p < 0)
                continue;
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
        }
    }

    void deleteCurrent()
    {
        requireOpen();
        if (rs->readOnly)
            notUpdatable();
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
        broadcast(RecordsetEvent::RowsChanged);
    }

    // True while the statement (its condition) still selects the stored row.
    bool selects(qint64 rowid) const
    {
        if (!rs->hasCondition)
            return true;
        detail::Stmt st(rs->conn->db, QStringLiteral("SELECT 1 FROM (") + rs->sql + QStringLiteral(") WHERE __tess_rowid = ?"));
        for (int i = 0; i < rs->params.size(); ++i)
            detail::BindValue(st.get(), i + 1, rs->params[i]);
        sqlite3_bind_int64(st.get(), int(rs->params.size()) + 1, rowid);
        return st.step();
    }

    // The Sort of this cursor between two rows, ties in stored order (as rebuildView sorts).
    bool sortsBefore(int a, int b) const
    {
        for (const SortKey& key : sortKeys) {
            const int c = compareCells(detail::CellAt(rs->rows[size_t(a)], key.field), detail::CellAt(rs->rows[size_t(b)], key.field));
            if (c != 0)
                return key.desc ? c > 0 : c < 0;
        }
        return a < b;
    }

    bool placeRow()
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

    void rebuildView()
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
            if (filterNode && !evaluate(*filterNode, r, rs->fields))
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
                    int c = compareCells(keys[size_t(a) * k + j], keys[size_t(b) * k + j]);
                    if (c != 0)
                        return sortKeys[j].desc ? c > 0 : c < 0;
                }
                return false;
            });
        }
        onDeleted = false;
    }

    long positionOfRow(int row) const
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

    void moveTo(long p)
    {
        pos = p;
        onDeleted = false;
        notify(RecordsetEvent::Moved);
    }

    // `keyset`: the cursor may show what other users save (keyset and dynamic cursors), so a
    // large list may read its rows on demand.
    void open(const QString& sql, const std::shared_ptr<detail::ConnState>& conn, bool readOnly, const Params& params,
              bool forwardOnly = false, bool keyset = false);
};

namespace {

// Where a statement's own ORDER BY begins (outside quotes, brackets and parentheses); -1 when
// it has none.
int topLevelOrderBy(const QString& sql)
{
    int depth = 0;
    const int n = int(sql.size());
    auto wordAt = [&](int i, const char* word) {
        const int len = int(std::strlen(word));
        if (i + len > n || sql.mid(i, len).compare(QLatin1String(word), Qt::CaseInsensitive) != 0)
            return false;
        const bool before = i == 0 || !(sql[i - 1].isLetterOrNumber() || sql[i - 1] == QChar('_'));
        const bool after = i + len == n || !(sql[i + len].isLetterOrNumber() || sql[i + len] == QChar('_'));
        return before && after;
    };
    for (int i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == QChar('\'') || c == QChar('"')) {
            ++i;
            while (i < n && !(sql[i] == c && !(i + 1 < n && sql[i + 1] == c)))
                i += (sql[i] == c) ? 2 : 1;
        } else if (c == QChar('[')) {
            while (i < n && sql[i] != QChar(']'))
                ++i;
        } else if (c == QChar('(')) {
            ++depth;
        } else if (c == QChar(')')) {
            --depth;
        } else if (depth == 0 && wordAt(i, "ORDER")) {
            int j = i + 5;
            while (j < n && sql[j].isSpace())
                ++j;
            if (j > i + 5 && wordAt(j, "BY"))
                return i;
        }
    }
    return -1;
}

// The terms of "ORDER BY a, t.b DESC, [c] ASC": (column, descending); nullopt when a term is
// anything but a column name (an expression, a position, a collation, NULLS FIRST).
std::optional<std::vector<std::pair<QString, bool>>> orderTerms(const QString& clause)
{
    QVector<jet::Token> t;
    try {
        t = jet::Significant(jet::Tokenize(clause));
    } catch (const DbError&) {
        return std::nullopt;
    }
    while (!t.isEmpty() && t.last().kind == jet::Token::Punct && t.last().text == QLatin1String(";"))
        t.removeLast();
    if (t.size() < 3 || !t[0].is("ORDER") || !t[1].is("BY"))
        return std::nullopt;
    std::vector<std::pair<QString, bool>> terms;
    int i = 2;
    auto isName = [&](int k) { return k < t.size() && (t[k].kind == jet::Token::Word || t[k].kind == jet::Token::Quoted); };
    auto isPunct = [&](int k, const char* p) { return k < t.size() && t[k].kind == jet::Token::Punct && t[k].text == QLatin1String(p); };
    while (true) {
        if (!isName(i) || t[i].is("ASC") || t[i].is("DESC"))
            return std::nullopt;
        QString name = t[i++].text;
        if (isPunct(i, ".")) {
            if (!isName(i + 1))
                return std::nullopt;
            name = t[i + 1].text;
            i += 2;
        }
        bool desc = false;
        if (i < t.size() && (t[i].is("ASC") || t[i].is("DESC")))
            desc = t[i++].is("DESC");
        terms.emplace_back(name, desc);
        if (i == t.size())
            return terms;
        if (!isPunct(i, ","))
            return std::nullopt;
        ++i;
    }
}

// True when SQLite reads the statement by a plain scan of the table in rowid order (`sorted`:
// and then sorts the rows itself, nothing else).
bool plainScan(sqlite3* db, const QString& sql, bool sorted)
{
    sqlite3_stmt* s = nullptr;
    const QByteArray text = (QStringLiteral("EXPLAIN QUERY PLAN ") + sql).toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &s, nullptr) != SQLITE_OK) {
        sqlite3_finalize(s);
        return false;
    }
    int scans = 0, sorts = 0, other = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        const QString detail = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 3)));
        if (detail == QLatin1String("USE TEMP B-TREE FOR ORDER BY"))
            ++sorts;
        else if (detail.startsWith(QLatin1String("SCAN ")) && !detail.contains(QLatin1String(" USING ")))
            ++scans;
        else
            ++other;
    }
    sqlite3_finalize(s);
    return scans == 1 && sorts == (sorted ? 1 : 0) && other == 0;
}

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

}  // namespace

namespace {

// The statement's order as the layer can apply it (RowSet::order); when SQLite would only scan
// the table and sort, the rows are read unsorted and sorted here, which is quicker.
void takeOrder(RowSet& set, const QString& sql, bool forwardOnly)
{
    const int at = topLevelOrderBy(sql);
    if (at < 0) {
        set.orderKnown = true;
        return;
    }
    const auto terms = orderTerms(sql.mid(at));
    if (!terms)
        return;
    sqlite3* db = set.conn->db;
    const QByteArray table = set.baseTable.toUtf8();
    std::vector<detail::OrderKey> keys;
    for (const auto& [name, desc] : *terms) {
        // The term must name one field, taken straight from the base table's column of that name.
        int field = -1;
        for (int k = 0; k < set.fields.size(); ++k)
            if (set.fields[k].name.compare(name, Qt::CaseInsensitive) == 0) {
                if (field >= 0)
                    return;
                field = k;
            }
        if (field < 0 || !set.fields[field].updatable || set.fields[field].baseColumn.compare(name, Qt::CaseInsensitive) != 0)
            return;
        const char* collation = nullptr;
        if (sqlite3_table_column_metadata(db, nullptr, table.constData(), set.fields[field].baseColumn.toUtf8().constData(),
                                          nullptr, &collation, nullptr, nullptr, nullptr) != SQLITE_OK || !collation)
            return;
        detail::OrderKey key;
        key.field = field;
        key.desc = desc;
        if (qstricmp(collation, "NOCASE") == 0)
            key.nocase = true;
        else if (qstricmp(collation, "BINARY") != 0)
            return;
        keys.push_back(key);
    }
    set.order = std::move(keys);
    set.orderKnown = true;
    // Only when SQLite would scan the table and sort, and scans it the same way unsorted: then
    // the rows come in rowid order both ways and a stable sort here gives the very same order.
    if (forwardOnly || !plainScan(db, set.sql, true))
        return;
    const QString head = jet::RewriteStatement(sql.left(at));
    const int rowidAt = set.sql.indexOf(QStringLiteral(".rowid AS __tess_rowid, "));
    if (rowidAt < 0 || !head.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive))
        return;
    const QString unsorted = set.sql.left(rowidAt) + QStringLiteral(".rowid AS __tess_rowid, ") + head.mid(6);
    if (!plainScan(db, unsorted, false))
        return;
    set.sql = unsorted;
    set.layerSorts = true;
}

// A list in an order the layer can tell (sorted here, or by SQLite along an index) whose fields
// are all plain, distinctly named columns of its table, on a table of many rows: read its rows
// on demand (RowSet::onDemand).
void takeOnDemand(RowSet& set, const QStringList& alsoRead)
{
    QStringList columns;
    QSet<QString> names;
    for (int k = 0; k < set.fields.size(); ++k) {
        const FieldDef& f = set.fields[k];
        if (!f.updatable || f.adoType == adEmpty || names.contains(f.name.toLower()))
            return;
        names.insert(f.name.toLower());
        columns << set.quoted[k];
    }
    detail::Stmt top(set.conn->db, QStringLiteral("SELECT max(rowid) FROM ") + set.quotedBase);
    if (!top.step() || sqlite3_column_int64(top.get(), 0) < detail::OnDemandFrom())
        return;
    set.rowsSql = QStringLiteral("SELECT rowid, %1 FROM %2").arg(columns.join(QChar(',')), set.quotedBase);
    set.held.assign(size_t(set.fields.size()), false);
    for (const detail::OrderKey& key : set.order)
        set.held[size_t(key.field)] = true;
    for (int k = 0; k < set.fields.size(); ++k)
        if (alsoRead.contains(set.fields[k].name, Qt::CaseInsensitive))
            set.held[size_t(k)] = true;
    set.onDemand = true;
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
    QString base, qualifier;
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
                set->hasCondition = true;
            if (depth == 0 && (t.is("GROUP") || t.is("UNION") || t.is("HAVING")))
                grouped = true;
        }
        if (from > 0 && !grouped) {
            const int n = end - from - 1;
            auto nameTok = [&](int i) { return sig[i].kind == jet::Token::Word || sig[i].kind == jet::Token::Quoted; };
            if (n == 1 && nameTok(from + 1)) {
                base = qualifier = sig[from + 1].text;
            } else if (n == 2 && nameTok(from + 1) && nameTok(from + 2)) {
                base = sig[from + 1].text;
                qualifier = sig[from + 2].text;
            } else if (n == 3 && nameTok(from + 1) && sig[from + 2].is("AS") && nameTok(from + 3)) {
                base = sig[from + 1].text;
                qualifier = sig[from + 3].text;
            }
        }
    }
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
    for (int c = first; c < count; ++c) {
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
                const auto& cat = conn->catalogue(t);
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
            if (set->hasRowid && t.compare(set->baseTable, Qt::CaseInsensitive) == 0) {
                f.updatable = true;
                f.baseColumn = o;
            }
        }
        set->fields << f;
    }
    set->readOnly = readOnly || !set->hasRowid;
    set->quotedBase = jet::QuoteName(set->baseTable);
    QStringList readBack;
    for (int k = 0; k < set->fields.size(); ++k) {
        const FieldDef& f = set->fields[k];
        set->quoted << (f.updatable ? jet::QuoteName(f.baseColumn) : QString());
        if (f.updatable) {
            readBack << set->quoted.last();
            set->readBackFields << k;
        }
    }
    set->readBackSql = QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(readBack.join(QChar(',')), set->quotedBase);
    // No column of the base table: nothing to write back to.
    if (std::none_of(set->fields.begin(), set->fields.end(), [](const FieldDef& f) { return f.updatable; }))
        set->readOnly = true;
    if (set->hasRowid && !forwardOnly)
        takeOrder(*set, sql, forwardOnly);
    if (keyset && set->hasRowid && set->orderKnown && !set->order.empty())
        takeOnDemand(*set, readWithKeys);
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
    // Expressions take their type from the first row.
    for (int k = 0; k < set->fields.size(); ++k) {
        FieldDef& f = set->fields[k];
        if (f.adoType != adEmpty)
            continue;
        const Cell c = set->rows.empty() ? Cell() : detail::CellAt(set->rows.front(), k);
        switch (c.tag) {
        case detail::TagInt: f.adoType = adInteger; f.definedSize = 4; break;
        case detail::TagReal: f.adoType = adDouble; f.definedSize = 8; break;
        case detail::TagBlob: f.adoType = adLongVarBinary; break;
        default: f.adoType = adVarWChar; f.definedSize = 255;
        }
    }
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
        badArgument(QStringLiteral("no fields"));
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
        noCurrentRecord();
    d->moveTo(0);
}

void Recordset::MoveLast()
{
    d->requireOpen();
    d->settleEdit();
    if (d->view.empty())
        noCurrentRecord();
    d->moveTo(d->size() - 1);
}

void Recordset::MoveNext()
{
    d->requireOpen();
    if (d->eof())
        noCurrentRecord();
    d->settleEdit();
    d->moveTo(d->onDeleted ? d->pos : d->pos + 1);
}

void Recordset::MovePrevious()
{
    d->requireOpen();
    if (d->bof())
        noCurrentRecord();
    d->settleEdit();
    d->moveTo(std::max(-1L, d->pos - 1));
}

void Recordset::Move(long n)
{
    d->requireOpen();
    if (n == 0)
        return;
    if ((n > 0 && d->eof()) || (n < 0 && d->bof()))
        noCurrentRecord();
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
        badArgument(QStringLiteral("AbsolutePosition %1").arg(pos));
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
bool Recordset::ReadAhead(int rows) { return d->rs && d->rs->readAhead(rows); }
long Recordset::RowsToRead() const { return d->rs ? d->rs->partialRows : 0; }
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
    if (set.partialRows > 0 && !set.held[size_t(index)]) {
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
        badBookmark();
    const long p = d->positionOfRow(row);
    if (p < 0)
        badBookmark();
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
    const Condition cond = CriteriaParser(criteria, d->rs->fields).parseOne();
    d->settleEdit();
    long p;
    if (start) {
        const int row = d->rs->rowOfBookmark(*start);
        p = row >= 0 ? d->positionOfRow(row) : -1;
        if (p < 0)
            badBookmark();
    } else {
        if (d->bof() || d->eof())
            noCurrentRecord();
        p = (d->onDeleted && dir == adSearchBackward) ? d->pos - 1 : d->pos;
    }
    p += dir == adSearchBackward ? -skipRecords : skipRecords;
    const int type = d->rs->fields[cond.field].adoType;
    d->rs->completeAll();
    const auto& rows = d->rs->rows;
    if (dir == adSearchBackward) {
        for (long i = std::min(p, d->size() - 1); i >= 0; --i)
            if (matches(cond, rows[size_t(d->view[size_t(i)])], type))
                return d->moveTo(i);
        d->moveTo(-1);
    } else {
        for (long i = std::max(p, 0L); i < d->size(); ++i)
            if (matches(cond, rows[size_t(d->view[size_t(i)])], type))
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
        d->filterNode = CriteriaParser(criteria, d->rs->fields).parseAll();
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
    std::vector<SortKey> keys;
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
