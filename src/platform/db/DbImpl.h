// Inside the data layer: the connection state shared with recordsets (its kept statements, its
// catalogue of Jet column types, its read policy), and the rows a recordset and its clones share
// (RowSet: the row store filled from the statement, with what writing a row back needs).
#pragma once

#include "platform/db/Db.h"
#include "platform/db/JetSql.h"
#include "platform/db/OnDemandRows.h"
#include "platform/db/RowStore.h"

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
[[noreturn]] void ThrowNoCurrentRecord();            // 3021
[[noreturn]] void ThrowNotUpdatable();               // 3251
[[noreturn]] void ThrowBadBookmark();                // 3159
[[noreturn]] void ThrowBadArgument(const QString& what);  // 3001

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
    ReadPolicy readPolicy;              // how its recordsets read large lists (Connection's)
    int schemaVersion();

    void check() const { if (!db) ThrowClosed(); }
    long exec(const QString& sqliteSql, const Params& params = {});
    // The same for the statements a recordset writes with: prepared once, reset after each use
    // (a reset statement never blocks a later ALTER or DROP).
    long execCached(const QString& sqliteSql, const Params& params);
    // The kept statement of that text, prepared on first use; the caller resets it (CachedUse).
    sqlite3_stmt* cachedStatement(const QString& sqliteSql);
    // The same for the catalogue's own few statements, which may run while another cached
    // statement is in use: preparing one never drops the others.  nullptr when it cannot be
    // prepared.
    sqlite3_stmt* keptStatement(const QString& sqliteSql);
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
    // The same without asking the file again whether its schema changed: for the second and
    // later tables and columns of one statement, once catalogue() has asked for the first.
    const TableCat& catalogueAsChecked(const QString& table);
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

struct FieldDef {
    QString name;
    int adoType = adEmpty;
    int definedSize = 0;
    QString baseColumn;  // column of the base table, "" for expressions and joins
    bool updatable = false;
    bool identity = false;
};

// One term of a statement's ORDER BY that names a column of the base table.
struct OrderKey {
    int field = -1;
    bool desc = false;
    bool nocase = false;  // the column's collation: NOCASE, else BINARY
};

// Rows shared by a recordset and its clones: the store, filled from the statement, and what
// writing a row back needs.
struct RowSet : RowStore {
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
    // A large keyset or dynamic list reads its rows on demand (null: every row at once).
    std::unique_ptr<OnDemandRows> onDemand;
    void readOnDemand(OnDemandSource source);  // from now on, and at the next fetch
    std::vector<Recordset::Impl*> cursors;

    void fetch();  // (re)reads every row (on demand: every row's keys)
    // Completes row i when it holds only its keys (with its neighbours in the list).
    void complete(int i)
    {
        if (rows[size_t(i)].flags & RowPartial)
            onDemand->readAround(i);
    }
    void completeAll();         // every row still partial, in one pass over the table
    long rowsToRead() const;    // rows still partial
    bool holdsAtOpen(int field) const;  // every row holds the field from the start
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
    QVector<QVariant> values(const Row& row) const;
    size_t memoryBytes() const;
};

}  // namespace db::detail

namespace db {

struct Connection::Impl {
    std::shared_ptr<detail::ConnState> st = std::make_shared<detail::ConnState>();
    ReadPolicy readPolicy;  // given to the state of each Open
};

}  // namespace db
