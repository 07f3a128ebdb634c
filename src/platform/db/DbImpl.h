// Inside the data layer: the connection state shared with recordsets, the catalogue, and the
// compact row store behind a recordset and its clones.
#pragma once

#include "platform/db/Db.h"
#include "platform/db/JetSql.h"

#include <QHash>
#include <QMap>
#include <cstring>
#include <map>
#include <sqlite3.h>
#include <vector>

namespace db::detail {

// The layer's own tables start with this prefix and never show in a table list.
inline const char* kReservedPrefix = "__tess_";
inline const char* kCatalogueTable = "__tess_columns";

[[noreturn]] void ThrowSqlite(sqlite3* db, int rc, const QString& sql = {});
[[noreturn]] void ThrowClosed();
[[noreturn]] void ThrowMissingItem(const QString& name);

// Parses one column definition ("name type [NOT NULL] [DEFAULT x] ...") of CREATE or ALTER.
struct CatColumn;
// The SQLite DEFAULT expression for a Jet default value text ("0", "\"abc\"", "Now()").
QString DefaultToSql(const QString& jetDefault);

// One column as the catalogue keeps it.
struct CatColumn {
    ColumnInfo info;
    QString sqlDecl;      // declared type for SQLite
    bool isText = false;
    bool nnIndex = false; // an index refusing nulls covers it
    QString dflt;         // SQLite DEFAULT expression, "" when none
};

struct TableCat {
    QString name;                // as stored in the database
    QVector<CatColumn> columns;  // physical order
    int find(const QString& column) const;  // -1 when missing
    int at(const QString& column) const;    // 3265 when missing
};

// A prepared statement, finalised on destruction.
class Stmt {
public:
    Stmt(sqlite3* db, const QString& sql);
    ~Stmt();
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    void bind(const Params& params);
    void bindAt(int index1, const Value& v);
    bool step();  // true while a row is ready; throws on error
    sqlite3_stmt* get() const { return s_; }
    const QString& sql() const { return sql_; }

private:
    sqlite3* db_;
    sqlite3_stmt* s_ = nullptr;
    QString sql_;
};

// Connection state, shared with the recordsets opened on it.
struct ConnState {
    sqlite3* db = nullptr;
    QString path;
    bool inTrans = false;
    int savepointSeq = 0;
    QHash<QString, TableCat> catCache;  // key: table name lower-cased
    int catVersion = -1;                // schema version the cache was read at
    int schemaVersion();

    void check() const { if (!db) ThrowClosed(); }
    long exec(const QString& sqliteSql, const Params& params = {});
    // The same for the statements a recordset writes with: prepared once, reset after each use
    // (a reset statement never blocks a later ALTER or DROP).
    long execCached(const QString& sqliteSql, const Params& params);
    // The kept statement of that text, prepared on first use; the caller resets it (CachedUse).
    sqlite3_stmt* cachedStatement(const QString& sqliteSql);
    void dropCache();
    QHash<QString, sqlite3_stmt*> stmtCache;
    void execPlain(const QString& sqliteSql);  // no parameters, no rows
    // Forward-only reads still stepping through their statement.  Before anything writes, each
    // reads the rest of its rows, so no write ever meets a statement left half-read.
    std::vector<std::weak_ptr<struct RowSet>> streams;
    void settleStreams();
    // Runs one statement as the program writes it (DDL included); returns the rows affected.
    long execJet(const QString& jetSql, const Params& params);

    // The table's stored name (ASCII case ignored); "" when there is none.
    QString tableName(const QString& table);
    // The catalogue of a table, adopted from SQLite's schema the first time it is asked for.
    // Throws 3078 when the table does not exist.
    const TableCat& catalogue(const QString& table);
    void forget(const QString& table) { catCache.remove(table.toLower()); }
    void forgetAll() { catCache.clear(); }

    // Catalogue changes; each runs inside a savepoint of its own.
    void createTable(const QVector<jet::Token>& sig);
    void createIndex(const QVector<jet::Token>& sig);
    void alterTable(const QVector<jet::Token>& sig);
    void dropTable(const QString& table);
    void dropIndex(const QVector<jet::Token>& sig);
    void addColumns(const QString& table, QVector<CatColumn> defs);
    void dropColumns(const QString& table, const QStringList& columns);
    void rebuild(const QString& table, QVector<CatColumn> columns);
    void writeCatalogue(const QString& table, const QVector<CatColumn>& columns);
    void makeIdentityTriggers(const QString& table, const QVector<CatColumn>& columns);
    void makeCheckTriggers(const QString& table, const QVector<CatColumn>& columns);  // called by the above
    void dropLayerTriggers(const QString& table);
};

// Resets a kept statement and clears its bindings when the use ends.
struct CachedUse {
    sqlite3_stmt* s;
    ~CachedUse()
    {
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
    }
};

// A savepoint: rolled back unless released.  Forgets the cached catalogue on rollback.
class Savepoint {
public:
    explicit Savepoint(ConnState& st);
    ~Savepoint();
    void release();

private:
    ConnState& st_;
    QString name_;
    bool done_ = false;
};

// Binding and storage forms of values.
void BindValue(sqlite3_stmt* s, int index1, const Value& v);

// ---- rows --------------------------------------------------------------------------------

enum CellTag : unsigned char { TagNull = 0, TagInt = 1, TagReal = 2, TagText = 3, TagBlob = 4 };

struct Cell {
    CellTag tag = TagNull;
    qint64 i = 0;
    double d = 0;
    const char* p = nullptr;
    int n = 0;
};

struct Row {
    qint64 bookmark = 0;
    qint64 rowid = 0;
    const char* data = nullptr;
    quint32 size = 0;  // bytes held for the image (one rewritten in place may use fewer)
    quint8 flags = 0;  // RowDeleted, RowPending
};
// RowPartial: only the row's order keys are read yet, every other cell is Null (see RowSet).
enum : quint8 { RowDeleted = 1, RowPending = 2, RowPartial = 4 };

// Bump allocator for row images, in blocks mapped straight from the system.  Re-reading a set
// (reset) fills its own blocks again, so a large list does not fault fresh pages in; when the
// set goes (clear), a few blocks stay in a small shared pool for the next set and the rest go
// back to the system at once.
class Arena {
public:
    Arena() = default;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    ~Arena() { clear(); }
    char* alloc(size_t n);
    size_t bytes() const { return total_; }
    void reset();  // empty, keeping the blocks for the next fill
    void clear();  // empty, giving the blocks back

    static size_t pooledBytes();  // what the shared pool holds

private:
    struct Block {
        char* p = nullptr;
        size_t size = 0;
    };
    std::vector<Block> blocks_;
    size_t current_ = 0;  // the block being filled
    size_t used_ = 0, total_ = 0;
};

Cell CellAt(const Row& row, int column);
// A column of a statement's current row; a text or blob points into SQLite's own copy, which
// holds until the statement steps on.
Cell ColumnCell(sqlite3_stmt* s, int column);
// Two stored values in the order SQLite's ORDER BY gives them: Null, then numbers (integers and
// reals compared exactly), then texts (by the column's collation: bytes, or NOCASE's ASCII
// folding), then blobs (bytes).
int CompareStored(const Cell& a, const Cell& b, bool nocase);
// A stored value with the first eight bytes of its text (ASCII letters folded under NOCASE)
// packed into one number, so that most comparisons of texts read no text: CompareKeyed gives
// the order CompareStored gives.
struct KeyedCell {
    Cell cell;
    quint64 prefix = 0;
    bool packed = false;  // a text with no NUL byte among its first eight
};
KeyedCell Keyed(const Cell& c, bool nocase);
int CompareKeyed(const KeyedCell& a, const KeyedCell& b, bool nocase);
const char* NextCell(const char* cell);  // the cell after the one at `cell`
QVariant Decode(const Cell& c, int adoType);

struct FieldDef {
    QString name;
    int adoType = adEmpty;
    int definedSize = 0;
    QString baseColumn;  // column of the base table, "" for expressions and joins
    bool updatable = false;
    bool identity = false;
};

struct CursorImpl;

// One term of a statement's ORDER BY that names a column of the base table.
struct OrderKey {
    int field = -1;
    bool desc = false;
    bool nocase = false;  // the column's collation: NOCASE, else BINARY
};

// Row numbers by bookmark: a plain table over the bookmarks' range where they lie close
// together (rowids mostly do), a hash for the others.
class BookmarkIndex {
public:
    void clear();
    void build(const std::vector<Row>& rows);  // every row but the deleted and pending ones
    void insert(qint64 bookmark, int row);
    int find(qint64 bookmark) const;  // -1 when missing

private:
    qint64 base_ = 0;
    std::vector<int> dense_;  // row of bookmark base_ + i, -1 for none
    QHash<qint64, int> sparse_;
};

// Rows shared by a recordset and its clones.
struct RowSet {
    std::shared_ptr<ConnState> conn;  // null for an in-memory recordset
    QString sql;                      // SQLite text, rowid first when hasRowid
    Params params;
    QString baseTable;
    bool hasRowid = false;
    bool readOnly = false;
    QVector<FieldDef> fields;
    QString quotedBase;      // the base table and each field's column as statements name them
    QVector<QString> quoted;
    QString readBackSql;           // an added row read back: its identity numbers and defaults
    QVector<int> readBackFields;
    // The statement's order as the layer can apply it: `orderKnown` when the statement has no
    // ORDER BY or every term of it is a plain column of the base table (held in `order`);
    // `layerSorts` when the rows are read in table order and sorted here, as SQLite would.
    std::vector<OrderKey> order;
    bool orderKnown = false;
    bool layerSorts = false;
    // Whether the rows stand in the statement's order (as read), but for at most one row known
    // to stand elsewhere (`straggler`: added or changed, not yet placed); then a row's place is
    // found by halving.  A second such row leaves the order unknown until the rows are read again.
    bool inOrder = false;
    int straggler = -1;
    void outOfOrder(int row)
    {
        if (!inOrder || straggler == row)
            return;
        if (straggler < 0)
            straggler = row;
        else
            inOrder = false;
    }
    bool hasCondition = false;  // a WHERE clause: an added row may fall outside it
    // A large keyset or dynamic list reads at first only each row's rowid and order keys; the
    // rest of a row is read from the table when the row is first used (a few hundred rows
    // around it at a time), and ReadAhead reads on in table order while the program is idle.
    // A row another user deleted before it was read shows Nulls; one they changed shows what
    // they saved.
    bool onDemand = false;
    std::vector<bool> held;   // fields a partial row holds: the order keys and those asked for
    long partialRows = 0;     // rows still RowPartial
    qint64 aheadRowid = 0;    // readAhead has read the table up to this rowid
    QString rowsSql;          // SELECT rowid, every field's column FROM the base table
    std::vector<Row> rows;
    Arena arena;
    qint64 nextBookmark = 1;  // a list without rowids numbers its rows; one with rowids uses them
    BookmarkIndex byBookmark;
    bool indexValid = false;
    std::vector<Recordset::Impl*> cursors;

    void fetch();  // (re)reads every row
    void fetchKeys();  // onDemand: each row's rowid and order keys only
    // Completes row i when it holds only its keys (with its neighbours in the list).
    void complete(int i)
    {
        if (rows[size_t(i)].flags & RowPartial)
            readAround(i);
    }
    void readAround(int i);
    void completeAll();         // every row still partial, in one pass over the table
    bool readAhead(int count);  // up to `count` more rows in table order; false when none is left
    // Takes the rows of a statement giving rowid and then every field, into the partial rows
    // they belong to (other rows are left as they are).
    void takeRows(sqlite3_stmt* s, qint64* lastRowid = nullptr, int* seen = nullptr);
    void dropPartial(qint64 upToRowid);  // rows not found in the table: Nulls from now on
    // Puts the rows in the statement's order (stable: ties keep the order they were read in).
    void sortRows();
    // The statement's order between two rows; ties go by rowid (the order a table scan reads).
    int compareInOrder(const Row& a, const Row& b) const;
    // A forward-only read: the statement stands on the next row not yet stored (none: all read).
    std::unique_ptr<Stmt> pending;
    void startStream(std::unique_ptr<Stmt> st);
    bool fetchOne();  // stores the pending row and steps on; false when none was pending
    void fetchRest();
    void storeRow(sqlite3_stmt* s);
    // The image of the statement's current row from column `first` on, in this set's arena.
    // With `columnOf`, field k comes from statement column columnOf[k], Null where that is -1.
    Row imageOf(sqlite3_stmt* s, int first, const std::vector<int>* columnOf = nullptr);
    int rowOfBookmark(qint64 b);
    // Encodes values (storage forms) into the arena.
    void encode(Row& row, const QVector<QVariant>& values);
    // A new image with the changed cells replaced and the others copied.
    void patch(Row& row, const QVector<QVariant>& values, const QVector<bool>& changed);
    QVector<QVariant> values(const Row& row) const;
    size_t memoryBytes() const;
};

QVariant ToStorage(const QVariant& v, const FieldDef& f);  // type check and conversion on assignment

// Lists whose table holds at least this many rows (by its greatest rowid) are read on demand.
long OnDemandFrom();
void SetOnDemandFrom(long rows);  // for tests

}  // namespace db::detail

namespace db {

struct Connection::Impl {
    std::shared_ptr<detail::ConnState> st = std::make_shared<detail::ConnState>();
};

}  // namespace db
