// The compact row store: one image per row in a bump arena, cells tagged and length-prefixed;
// values into their stored form and cells back into values.
#include "platform/db/RowStore.h"

#include "platform/db/JetSql.h"
#include "platform/text/VbText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <sys/mman.h>

namespace db::detail {

namespace {

constexpr size_t kBlock = 1 << 20;

inline void putVarint(char*& p, quint32 n)
{
    while (n >= 0x80) {
        *p++ = char((n & 0x7f) | 0x80);
        n >>= 7;
    }
    *p++ = char(n);
}

inline quint32 getVarint(const char*& p)
{
    quint32 n = 0;
    int shift = 0;
    while (true) {
        const auto b = quint8(*p++);
        n |= quint32(b & 0x7f) << shift;
        if (!(b & 0x80))
            return n;
        shift += 7;
    }
}

inline size_t varintSize(quint32 n)
{
    size_t k = 1;
    while (n >= 0x80) {
        n >>= 7;
        ++k;
    }
    return k;
}

inline void skipCell(const char*& p)
{
    switch (quint8(*p++)) {
    case TagInt:
    case TagReal:
        p += 8;
        break;
    case TagText:
    case TagBlob: {
        const quint32 n = getVarint(p);
        p += n;
        break;
    }
    default:
        break;
    }
}

bool isTextType(int t)
{
    return t == adVarWChar || t == adWChar || t == adLongVarWChar || t == 8 || t == 129 || t == 200 || t == 201;
}

bool isIntType(int t) { return t == adSmallInt || t == adInteger || t == adUnsignedTinyInt || t == 16 || t == 18 || t == 19 || t == 20 || t == 21; }
bool isRealType(int t) { return t == adDouble || t == adSingle || t == adCurrency || t == 14 || t == 131; }

QDateTime parseCanonical(const char* p, int n, bool* ok)
{
    auto num = [&](int at, int len) {
        int v = 0;
        for (int k = at; k < at + len; ++k) {
            if (p[k] < '0' || p[k] > '9')
                return -1;
            v = v * 10 + (p[k] - '0');
        }
        return v;
    };
    *ok = false;
    if (n < 10 || p[4] != '-' || p[7] != '-')
        return {};
    const QDate d(num(0, 4), num(5, 2), num(8, 2));
    if (!d.isValid())
        return {};
    QTime t(0, 0, 0);
    if (n >= 19)
        t = QTime(num(11, 2), num(14, 2), num(17, 2));
    if (!t.isValid())
        return {};
    *ok = true;
    return QDateTime(d, t);
}

[[noreturn]] void conversionError(const QVariant& v)
{
    throw DbError(3421, QStringLiteral("Data type conversion error. (%1)").arg(v.toString()), v.toString());
}

}  // namespace

namespace {

constexpr size_t kPoolLimit = 8;  // blocks kept for the next set
std::mutex poolMutex;
std::vector<char*> pool;

// A block is filled right after it is mapped: its pages come in one call, not a fault each.
char* mapBlock(size_t size)
{
    void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    return static_cast<char*>(p);
}

}  // namespace

size_t Arena::pooledBytes()
{
    std::lock_guard<std::mutex> lock(poolMutex);
    return pool.size() * kBlock;
}

void Arena::reset()
{
    current_ = 0;
    used_ = 0;
}

void Arena::clear()
{
    {
        std::lock_guard<std::mutex> lock(poolMutex);
        for (Block& b : blocks_) {
            if (b.size == kBlock && pool.size() < kPoolLimit)
                pool.push_back(b.p);
            else
                ::munmap(b.p, b.size);
        }
    }
    blocks_.clear();
    current_ = 0;
    used_ = total_ = 0;
}

char* Arena::alloc(size_t n)
{
    if (blocks_.empty() || used_ + n > blocks_[current_].size) {
        // The next kept block that holds it, else a new one.
        size_t next = blocks_.empty() ? 0 : current_ + 1;
        while (next < blocks_.size() && blocks_[next].size < n)
            ++next;
        if (next >= blocks_.size()) {
            Block b;
            b.size = std::max(kBlock, (n + 4095) & ~size_t(4095));
            if (b.size == kBlock) {
                std::lock_guard<std::mutex> lock(poolMutex);
                if (!pool.empty()) {
                    b.p = pool.back();
                    pool.pop_back();
                }
            }
            if (!b.p)
                b.p = mapBlock(b.size);
            blocks_.push_back(b);
            total_ += b.size;
            next = blocks_.size() - 1;
        }
        current_ = next;
        used_ = 0;
    }
    char* p = blocks_[current_].p + used_;
    used_ += n;
    return p;
}

const char* NextCell(const char* cell)
{
    skipCell(cell);
    return cell;
}

Cell CellAt(const Row& row, int column)
{
    const char* p = row.data;
    for (int k = 0; k < column; ++k)
        skipCell(p);
    Cell c;
    c.tag = CellTag(quint8(*p++));
    switch (c.tag) {
    case TagInt:
        std::memcpy(&c.i, p, 8);
        break;
    case TagReal:
        std::memcpy(&c.d, p, 8);
        break;
    case TagText:
    case TagBlob:
        c.n = int(getVarint(p));
        c.p = p;
        break;
    default:
        break;
    }
    return c;
}

Cell ColumnCell(sqlite3_stmt* s, int column)
{
    Cell c;
    switch (sqlite3_column_type(s, column)) {
    case SQLITE_INTEGER:
        c.tag = TagInt;
        c.i = sqlite3_column_int64(s, column);
        break;
    case SQLITE_FLOAT:
        c.tag = TagReal;
        c.d = sqlite3_column_double(s, column);
        break;
    case SQLITE_TEXT:
        c.tag = TagText;
        c.p = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
        c.n = sqlite3_column_bytes(s, column);
        break;
    case SQLITE_BLOB:
        c.tag = TagBlob;
        c.p = static_cast<const char*>(sqlite3_column_blob(s, column));
        c.n = sqlite3_column_bytes(s, column);
        break;
    default:
        break;
    }
    return c;
}

namespace {

inline unsigned char lowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

// SQLite's NOCASE: ASCII letters folded, bytes otherwise, the shorter first on a common start.
// Like SQLite it stops comparing at a NUL byte of the first text.
int nocaseCompare(const char* a, int an, const char* b, int bn)
{
    int n = std::min(an, bn);
    const auto* x = reinterpret_cast<const unsigned char*>(a);
    const auto* y = reinterpret_cast<const unsigned char*>(b);
    int r = 0;
    while (n-- > 0 && *x != 0 && lowerAscii(*x) == lowerAscii(*y)) {
        ++x;
        ++y;
    }
    if (n >= 0)
        r = int(lowerAscii(*x)) - int(lowerAscii(*y));
    return r != 0 ? r : an - bn;
}

int bytesCompare(const char* a, int an, const char* b, int bn)
{
    const int r = std::memcmp(a, b, size_t(std::min(an, bn)));
    return r != 0 ? r : an - bn;
}

// An integer against a real, exactly (no rounding of large integers).
int intRealCompare(qint64 i, double r)
{
    if (std::isnan(r))
        return 1;
    if (r < -9223372036854775808.0)
        return 1;
    if (r >= 9223372036854775808.0)
        return -1;
    const auto y = qint64(r);
    if (i < y)
        return -1;
    if (i > y)
        return 1;
    const auto s = double(i);
    return s < r ? -1 : (s > r ? 1 : 0);
}

int typeRank(CellTag t)
{
    switch (t) {
    case TagNull: return 0;
    case TagInt:
    case TagReal: return 1;
    case TagText: return 2;
    default: return 3;
    }
}

}  // namespace

int CompareStored(const Cell& a, const Cell& b, bool nocase)
{
    const int ra = typeRank(a.tag), rb = typeRank(b.tag);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    switch (a.tag) {
    case TagNull:
        return 0;
    case TagInt:
        if (b.tag == TagInt)
            return a.i < b.i ? -1 : (a.i > b.i ? 1 : 0);
        return intRealCompare(a.i, b.d);
    case TagReal:
        if (b.tag == TagInt)
            return -intRealCompare(b.i, a.d);
        return a.d < b.d ? -1 : (a.d > b.d ? 1 : 0);
    case TagText:
        return nocase ? nocaseCompare(a.p, a.n, b.p, b.n) : bytesCompare(a.p, a.n, b.p, b.n);
    case TagBlob:
        return bytesCompare(a.p, a.n, b.p, b.n);
    }
    return 0;
}

KeyedCell Keyed(const Cell& c, bool nocase)
{
    KeyedCell k;
    k.cell = c;
    if (c.tag != TagText)
        return k;
    const int n = std::min(c.n, 8);
    for (int j = 0; j < n; ++j) {
        unsigned char b = static_cast<unsigned char>(c.p[j]);
        if (b == 0)
            return k;
        if (nocase)
            b = lowerAscii(b);
        k.prefix |= quint64(b) << (8 * (7 - j));
    }
    k.packed = true;
    return k;
}

int CompareKeyed(const KeyedCell& a, const KeyedCell& b, bool nocase)
{
    if (a.packed && b.packed) {
        // The first differing byte decides; a text that ends first has a 0 there (no text
        // holds one), so it comes first, as SQLite orders a text before its longer start.
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix ? -1 : 1;
        if (a.cell.n <= 8 && b.cell.n <= 8)
            return 0;  // the same bytes to the end of both
    }
    return CompareStored(a.cell, b.cell, nocase);
}

QVariant Decode(const Cell& c, int t)
{
    switch (c.tag) {
    case TagNull:
        return {};
    case TagInt:
        if (t == adBoolean)
            return c.i != 0;
        if (isRealType(t))
            return double(c.i);
        if (isTextType(t))
            return QString::number(c.i);
        return c.i;
    case TagReal:
        if (t == adBoolean)
            return c.d != 0;
        if (isIntType(t) && c.d == std::floor(c.d) && std::fabs(c.d) < 9e15)
            return qint64(c.d);
        if (isTextType(t))
            return QString::number(c.d, 'g', 15);
        return c.d;
    case TagText:
        if (t == adDate) {
            bool ok = false;
            const QDateTime d = parseCanonical(c.p, c.n, &ok);
            if (ok)
                return d;
        }
        return QString::fromUtf8(c.p, c.n);
    case TagBlob:
        return QByteArray(c.p, c.n);
    }
    return {};
}

QVariant ToStorage(const QVariant& v, int adoType)
{
    if (!v.isValid() || v.isNull())
        return {};
    if ((v.typeId() == QMetaType::QDate && !v.toDate().isValid())
        || (v.typeId() == QMetaType::QDateTime && !v.toDateTime().isValid()))
        return {};  // an empty date is Null
    const int t = adoType;
    const int id = v.typeId();
    const bool isString = id == QMetaType::QString || id == QMetaType::QByteArray || id == QMetaType::QChar;
    if (isTextType(t)) {
        switch (id) {
        case QMetaType::Bool:
            return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        case QMetaType::QDate:
            return v.toDate().toString(QStringLiteral("yyyy/MM/dd"));
        case QMetaType::QDateTime: {
            const QDateTime d = v.toDateTime();
            return d.time() == QTime(0, 0) ? d.toString(QStringLiteral("yyyy/MM/dd")) : d.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        }
        case QMetaType::Double:
        case QMetaType::Float:
            return QString::number(v.toDouble(), 'g', 15);
        default:
            return v.toString();
        }
    }
    if (isIntType(t) || isRealType(t)) {
        double d = 0;
        if (id == QMetaType::Bool) {
            d = v.toBool() ? -1 : 0;
        } else if (isString) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return {};  // an empty box saves Null in a number column
            bool ok = false;
            d = s.toDouble(&ok);
            if (!ok)
                conversionError(v);
        } else {
            bool ok = false;
            d = v.toDouble(&ok);
            if (!ok)
                conversionError(v);
        }
        // nan and inf are no numbers a column can hold; a whole-number column takes no more
        // than its width (checked before rounding, which cannot hold such a value either).
        if (!std::isfinite(d))
            conversionError(v);
        if (isRealType(t))
            return d;
        if (d < -2147483648.5 || d > 2147483647.5)
            throw DbError(3349, QStringLiteral("Numeric field overflow."));
        const qint64 n = (id == QMetaType::LongLong || id == QMetaType::Int || id == QMetaType::UInt || id == QMetaType::Long)
                             ? v.toLongLong()
                             : vb::CLng(d);
        if ((t == adSmallInt && (n < -32768 || n > 32767)) || (t == adUnsignedTinyInt && (n < 0 || n > 255))
            || (t == adInteger && (n < -2147483648LL || n > 2147483647LL)))
            throw DbError(3349, QStringLiteral("Numeric field overflow."));
        return n;
    }
    if (t == adDate) {
        if (id == QMetaType::QDate)
            return QDateTime(v.toDate(), QTime(0, 0));
        if (id == QMetaType::QDateTime)
            return v.toDateTime();
        if (isString) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return {};
            bool ok = false;
            const QString canon = jet::CanonicalDate(s, &ok);
            if (!ok)
                conversionError(v);
            return QDateTime::fromString(canon, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        }
        conversionError(v);
    }
    if (t == adBoolean) {
        if (id == QMetaType::Bool)
            return v.toBool();
        if (isString) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return {};
            if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || s.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
                return true;
            if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || s.compare(QLatin1String("no"), Qt::CaseInsensitive) == 0)
                return false;
            bool ok = false;
            const double d = s.toDouble(&ok);
            if (!ok)
                conversionError(v);
            return d != 0;
        }
        return v.toDouble() != 0;
    }
    if (t == adLongVarBinary || t == adBinary)
        return v.toByteArray();
    return v;
}

namespace {

// One value in its stored form.
struct Out {
    CellTag tag = TagNull;
    qint64 i = 0;
    double d = 0;
    QByteArray bytes;
    size_t size() const { return (tag == TagInt || tag == TagReal) ? 9 : tag == TagNull ? 1 : 1 + varintSize(quint32(bytes.size())) + size_t(bytes.size()); }
};

Out storageOf(const QVariant& v)
{
    Out o;
    if (!v.isValid() || v.isNull())
        return o;
    switch (v.typeId()) {
    case QMetaType::Bool:
        o.tag = TagInt;
        o.i = v.toBool() ? 1 : 0;
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::UShort:
        o.tag = TagInt;
        o.i = v.toLongLong();
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        o.tag = TagReal;
        o.d = v.toDouble();
        break;
    case QMetaType::QDateTime:
        o.tag = TagText;
        o.bytes = v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
        break;
    case QMetaType::QDate:
        o.tag = TagText;
        o.bytes = (v.toDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00")).toUtf8();
        break;
    case QMetaType::QByteArray:
        o.tag = TagBlob;
        o.bytes = v.toByteArray();
        break;
    default:
        o.tag = TagText;
        o.bytes = v.toString().toUtf8();
    }
    return o;
}

char* writeOut(char* p, const Out& o)
{
    *p++ = char(o.tag);
    if (o.tag == TagInt) {
        std::memcpy(p, &o.i, 8);
        p += 8;
    } else if (o.tag == TagReal) {
        std::memcpy(p, &o.d, 8);
        p += 8;
    } else if (o.tag == TagText || o.tag == TagBlob) {
        putVarint(p, quint32(o.bytes.size()));
        std::memcpy(p, o.bytes.constData(), size_t(o.bytes.size()));
        p += o.bytes.size();
    }
    return p;
}

}  // namespace

void RowStore::encode(Row& row, const QVector<QVariant>& values)
{
    QVector<Out> cells(values.size());
    size_t size = 0;
    for (int k = 0; k < values.size(); ++k) {
        cells[k] = storageOf(values[k]);
        size += cells[k].size();
    }
    char* p = arena.alloc(size == 0 ? 1 : size);
    row.data = p;
    row.size = quint32(size);
    for (const Out& o : cells)
        p = writeOut(p, o);
}

void RowStore::patch(Row& row, const QVector<QVariant>& values, const QVector<bool>& changed)
{
    // Unchanged cells are copied as they are.
    const int n = values.size();
    QVector<Out> cells(n);
    std::vector<std::pair<const char*, size_t>> old(static_cast<size_t>(n));
    const char* p = row.data;
    size_t size = 0;
    for (int k = 0; k < n; ++k) {
        const char* start = p;
        skipCell(p);
        old[size_t(k)] = {start, size_t(p - start)};
        if (changed[k]) {
            cells[k] = storageOf(values[k]);
            size += cells[k].size();
        } else {
            size += old[size_t(k)].second;
        }
    }
    // The new image is made beside the old one, then takes the old one's bytes when it fits in
    // them (a row saved again and again does not grow the arena), else new bytes.  Nothing keeps
    // a pointer into a row's image past the call that read it.
    char near[2048];
    std::unique_ptr<char[]> far;
    char* image = size <= sizeof(near) ? near : (far = std::make_unique<char[]>(size)).get();
    char* out = image;
    for (int k = 0; k < n; ++k) {
        if (changed[k]) {
            out = writeOut(out, cells[k]);
        } else {
            std::memcpy(out, old[size_t(k)].first, old[size_t(k)].second);
            out += old[size_t(k)].second;
        }
    }
    char* place = size <= row.size ? const_cast<char*>(row.data) : arena.alloc(size == 0 ? 1 : size);
    if (size)
        std::memcpy(place, image, size);
    row.data = place;
    row.size = std::max(row.size, quint32(size));
}

Row RowStore::imageOf(sqlite3_stmt* s, int first, const std::vector<int>* columnOf)
{
    struct Src {
        int type;
        const void* p;
        int n;
        qint64 i;
        double d;
    };
    const int count = columnOf ? int(columnOf->size()) + first : sqlite3_column_count(s);
    Src src[64];
    std::vector<Src> many;
    Src* cells = src;
    if (count - first > 64) {
        many.resize(size_t(count - first));
        cells = many.data();
    }
    size_t size = 0;
    for (int k = first; k < count; ++k) {
        Src& x = cells[k - first];
        const int c = columnOf ? (*columnOf)[size_t(k - first)] : k;
        x.type = c < 0 ? SQLITE_NULL : sqlite3_column_type(s, c);
        switch (x.type) {
        case SQLITE_INTEGER:
            x.i = sqlite3_column_int64(s, c);
            size += 9;
            break;
        case SQLITE_FLOAT:
            x.d = sqlite3_column_double(s, c);
            size += 9;
            break;
        case SQLITE_TEXT:
            x.p = sqlite3_column_text(s, c);
            x.n = sqlite3_column_bytes(s, c);
            size += 1 + varintSize(quint32(x.n)) + size_t(x.n);
            break;
        case SQLITE_BLOB:
            x.p = sqlite3_column_blob(s, c);
            x.n = sqlite3_column_bytes(s, c);
            size += 1 + varintSize(quint32(x.n)) + size_t(x.n);
            break;
        default:
            size += 1;
        }
    }
    char* p = arena.alloc(size == 0 ? 1 : size);
    Row row;
    row.data = p;
    row.size = quint32(size);
    for (int c = 0; c < count - first; ++c) {
        const Src& x = cells[c];
        switch (x.type) {
        case SQLITE_INTEGER:
            *p++ = char(TagInt);
            std::memcpy(p, &x.i, 8);
            p += 8;
            break;
        case SQLITE_FLOAT:
            *p++ = char(TagReal);
            std::memcpy(p, &x.d, 8);
            p += 8;
            break;
        case SQLITE_TEXT:
        case SQLITE_BLOB:
            *p++ = char(x.type == SQLITE_TEXT ? TagText : TagBlob);
            putVarint(p, quint32(x.n));
            if (x.n)
                std::memcpy(p, x.p, size_t(x.n));
            p += x.n;
            break;
        default:
            *p++ = char(TagNull);
        }
    }
    return row;
}

void RowStore::clearRows()
{
    rows.clear();
    arena.reset();
    byBookmark.clear();
    indexValid = false;
    nextBookmark = 1;
}

int RowStore::rowOfBookmark(qint64 b)
{
    if (!indexValid) {
        byBookmark.build(rows);
        indexValid = true;
    }
    const int i = byBookmark.find(b);
    if (i < 0)
        return -1;
    return (rows[size_t(i)].flags & (RowDeleted | RowPending)) ? -1 : i;
}

void BookmarkIndex::clear()
{
    base_ = 0;
    dense_.clear();
    sparse_.clear();
}

void BookmarkIndex::build(const std::vector<Row>& rows)
{
    clear();
    qint64 low = std::numeric_limits<qint64>::max(), high = std::numeric_limits<qint64>::min();
    size_t live = 0;
    for (const Row& r : rows)
        if (!(r.flags & (RowDeleted | RowPending))) {
            low = std::min(low, r.bookmark);
            high = std::max(high, r.bookmark);
            ++live;
        }
    if (live == 0)
        return;
    // A table where the range is at most a few times the rows; past that, a hash.
    if (quint64(high) - quint64(low) < quint64(4 * live + 1024)) {
        base_ = low;
        dense_.reserve(size_t(high - low + 1) + 4096);  // room for the rows added next
        dense_.assign(size_t(high - low + 1), -1);
    }
    for (int i = 0; i < int(rows.size()); ++i)
        if (!(rows[size_t(i)].flags & (RowDeleted | RowPending)))
            insert(rows[size_t(i)].bookmark, i);
}

void BookmarkIndex::insert(qint64 bookmark, int row)
{
    if (!dense_.empty() && bookmark >= base_) {
        const quint64 at = quint64(bookmark) - quint64(base_);  // no overflow at the rowids' limits
        if (at < dense_.size()) {
            dense_[at] = row;
            return;
        }
        if (at < dense_.size() + 4096) {  // added rows take the next rowids
            dense_.resize(size_t(at + 1), -1);
            dense_[at] = row;
            return;
        }
    }
    sparse_.insert(bookmark, row);
}

int BookmarkIndex::find(qint64 bookmark) const
{
    if (!dense_.empty() && bookmark >= base_ && quint64(bookmark) - quint64(base_) < dense_.size()) {
        const int row = dense_[size_t(quint64(bookmark) - quint64(base_))];
        if (row >= 0)
            return row;
    }
    if (sparse_.isEmpty())
        return -1;
    const auto it = sparse_.constFind(bookmark);
    return it == sparse_.constEnd() ? -1 : it.value();
}

}  // namespace db::detail
