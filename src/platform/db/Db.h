// The ADO/Jet-like data layer over SQLite: Connection, Recordset, Field, catalogue.
//
// Values are QVariant: an invalid (default) QVariant is Null, distinct from "".
// Text is QString, whole numbers qint64, Currency/Double double, Date QDateTime (or QDate),
// YesNo bool.  Typed values always travel as bound parameters ("?" in the statement).
//
// Errors are thrown as DbError carrying a Jet-style number:
//   3021 no current record, 3022 duplicate key, 3260 record locked, 3314 required field,
//   3704 connection/recordset closed, 3265 item not found in this collection,
//   3024 file not found, 3078 no such table, 3061 no such column (unknown name),
//   3075 syntax error, 3142 a second statement after the first, 3010 table exists,
//   3380 field exists, 3280 field is part of an index, 3421 value of the wrong type for the field,
//   3349 number too large for the field, 3164 field cannot be updated (identity, expression),
//   3251 recordset is read-only, 3159 bookmark not valid, 3167 row no longer there,
//   3001 bad argument (Find/Filter text), 3003 transaction already open, 3034 no transaction,
//   3343 not a database file, 3049 a damaged database file, 3026 disk full, 3043 disk or
//   network error, 3051 the file cannot be opened or written, 3204 the database's name is taken,
//   3197 changed or deleted by another user since it was read;
//   anything else: 30000 + SQLite's code, with SQLite's text.
//
// Text columns are declared COLLATE NOCASE: "=", Max, DISTINCT, ORDER BY and unique indexes
// ignore ASCII letter case.  Dates are stored as the text "yyyy-MM-dd HH:mm:ss".
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

namespace db {

using Value = QVariant;
using Params = QVariantList;

// One statement with its values as bound parameters: what every statement builder returns.
struct Statement {
    QString sql;
    Params params;
    // An UPDATE or DELETE of a row read earlier (by its key), to be run through
    // ExecuteOnStoredRows: touching none means another user deleted it since.
    bool storedRow = false;
};

// ADO DataTypeEnum codes the windows and the schema upgrade look at.
enum AdoType : int {
    adEmpty = 0,
    adSmallInt = 2,        // Jet Integer
    adInteger = 3,         // Jet Long (and identity)
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBoolean = 11,        // Jet YesNo / Bit
    adUnsignedTinyInt = 17,// Jet Byte
    adBinary = 128,
    adWChar = 130,         // nchar(n)
    adVarWChar = 202,      // Text(n)
    adLongVarWChar = 203,  // Memo
    adLongVarBinary = 205, // OLE object
};

enum CursorType { adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3 };
enum LockType { adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3, adLockBatchOptimistic = 4 };
enum SearchDirection { adSearchForward = 1, adSearchBackward = -1 };
enum EditModeEnum { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2 };

// An error of the database layer: its Jet number and the engine's English description, for
// logs and tests.  What a user reads is made from the number (and the subject) by the caller,
// in the user's language.
class DbError : public std::runtime_error {
public:
    DbError(long number, const QString& description, const QString& subject = {});
    long Number() const { return number_; }
    QString Description() const { return description_; }
    // What the error is about, where one thing is: the file of an open or create, the value a
    // column refused.
    QString Subject() const { return subject_; }

private:
    long number_;
    QString description_;
    QString subject_;
};

// A row's identity inside a recordset and all its clones; survives Requery.
using Bookmark = qint64;

struct ColumnInfo {
    QString name;
    QString jetType;        // "Text", "nchar", "Memo", "Integer", "Long", "Currency", "Date", "Double", "YesNo", "Byte"
    int adoType = adEmpty;  // AdoType code
    int definedSize = 0;    // characters for Text/nchar, 0 otherwise
    bool required = false;
    bool allowZeroLength = true;
    QString defaultValue;   // the default's text as written, "" when none
    int ordinal = 0;        // ordinal position (gaps kept as stored)
    bool identity = false;
};

// The connection text for a database file: the path between quotes, so that nothing in it
// (";", "Data Source=", a quote) can make the text name another file.
QString ConnectionText(const QString& path);

// Jet's 3197: the row was changed or deleted by another user since it was read.
DbError ChangedByAnotherUser();

class Recordset;

// How the recordsets of a connection read a list opened with a keyset or dynamic cursor.  A list
// on a table of at least `onDemandFrom` rows (by its greatest rowid), in an order the layer can
// tell, whose fields are all plain columns of that table, reads at open only each row's rowid
// and order keys; the rest of a row is read when the row is first used (see
// Recordset::ReadAhead).  Any other list is read whole at open.
struct ReadPolicy {
    long onDemandFrom = 20000;
};

// Where the file stands as a connection sees it: what other connections have committed to it
// and what this connection has written.  Two equal versions mean nothing was written between.
struct DataVersion {
    qint64 others = -1;
    qint64 own = -1;
    friend bool operator==(const DataVersion&, const DataVersion&) = default;
};

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>": opens an existing file read-write.
    // A value may stand between quotes (ConnectionText), its quote doubled inside.
    void Open(const QString& connectionText);
    void Close();
    bool IsOpen() const;
    QString DataSource() const;  // the file path opened

    // Makes a new database file and runs the script's statements (";"-separated, Jet SQL) in it.
    static void CreateDatabase(const QString& path, const QString& schemaScript);

    // DDL and DML; returns the rows affected.
    long Execute(const QString& sql, const Params& params = {});
    // An UPDATE or DELETE of rows read earlier (by their key): when it touches no row, another
    // user deleted them (or changed the key) in the meantime, and it fails with 3197.
    long ExecuteOnStoredRows(const QString& sql, const Params& params = {});
    // SELECT through Execute: a forward-only, read-only recordset.  Its rows are read as the
    // cursor reaches them (a write on the connection reads the rest first); asking for the
    // count, a sort, a filter or a clone reads them all.
    Recordset ExecuteQuery(const QString& sql, const Params& params = {});

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const;
    // Cheap enough to ask on every click: whether what was read from the file may have changed.
    DataVersion Version() const;

    // Kept from one Open to the next; a recordset takes the policy in force when it is opened.
    void SetReadPolicy(const ReadPolicy& policy);
    ReadPolicy readPolicy() const;

    // OpenSchema(adSchemaTables): the user tables (never sqlite_* nor the layer's own tables).
    QStringList TableNames() const;
    // The same list as a recordset with the fields TABLE_NAME and TABLE_TYPE ("TABLE").
    Recordset OpenSchemaTables() const;

    // Catalogue (what ADOX and DAO gave): every operation runs inside the caller's transaction.
    bool TableExists(const QString& table) const;
    bool ColumnExists(const QString& table, const QString& column) const;  // never throws
    bool IndexExists(const QString& index) const;                          // by name, any table
    QVector<ColumnInfo> Columns(const QString& table) const;               // in ordinal order
    ColumnInfo Column(const QString& table, const QString& column) const;  // 3265 when missing
    void AddColumn(const QString& table, const QString& column, const QString& jetTypeText);
    void DropColumn(const QString& table, const QString& column);
    void RenameColumn(const QString& table, const QString& oldName, const QString& newName);
    void SetDefaultValue(const QString& table, const QString& column, const QString& defaultText);
    void SetOrdinalPosition(const QString& table, const QString& column, int position);
    bool AllowZeroLength(const QString& table, const QString& column) const;
    void SetAllowZeroLength(const QString& table, const QString& column, bool allow);

    struct Impl;
    Impl* impl() const { return d.get(); }

private:
    std::unique_ptr<Impl> d;
};

// One field of a recordset's current row (a light proxy).
class Field {
public:
    Field(Recordset* rs, int index) : rs_(rs), index_(index) {}
    QString Name() const;
    int Type() const;         // AdoType
    int DefinedSize() const;
    Value value() const;      // 3021 without a current row
    void setValue(const Value& v);
    Field& operator=(const Value& v) { setValue(v); return *this; }
    operator Value() const { return value(); }
    bool IsNull() const { return value().isNull(); }
    QString toString() const { return value().toString(); }
    int Index() const { return index_; }

private:
    Recordset* rs_;
    int index_;
};

// Change notifications for models and bound widgets.  RowRemoving and RowRemoved come in a pair
// around one row leaving a cursor (a delete, or a row found deleted by another user); the second
// argument is then that row's 0-based place among the cursor's rows, so a list can drop just it.
enum class RecordsetEvent { Moved, FieldChanged, RowsChanged, Reset, Closed, RowRemoving, RowRemoved };
using RecordsetListener = std::function<void(RecordsetEvent, int field)>;

class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset& other);              // another handle on the same cursor
    Recordset& operator=(const Recordset& other);
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    // Client-side cursor over a SELECT (all cursor/lock types behave as a snapshot that writes back).
    void Open(const QString& sql, Connection& conn, CursorType cursor = adOpenStatic,
              LockType lock = adLockOptimistic, const Params& params = {});
    // In-memory recordset: Fields().Append first, then Open() with no source.
    void Append(const QString& name, int adoType, int definedSize = 0);
    void Open();
    void Close();
    bool IsOpen() const;

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(long n);
    bool Bof() const;
    bool Eof() const;
    long RecordCount() const;
    long AbsolutePosition() const;  // 1-based; <= 0 when not on a row
    void SetAbsolutePosition(long pos);

    int FieldCount() const;
    Field field(int index);
    Field field(const QString& name);      // ASCII case-insensitive; 3265 when missing
    Field operator[](int index) { return field(index); }
    Field operator[](const QString& name) { return field(name); }
    int FieldIndex(const QString& name) const;  // -1 when missing
    QString FieldName(int index) const;
    int FieldType(int index) const;
    int FieldSize(int index) const;
    Value value(int index) const;
    Value value(const QString& name) const;
    // The value of a row by its 0-based position in this cursor's order, without moving.
    Value valueAt(long position, int index) const;
    // Every field of the current row, in field order (one pass over the row).
    QVariantList values() const;
    void setValue(int index, const Value& v);
    void setValue(const QString& name, const Value& v);

    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete();
    // ADO's Resync of the current row: its base-table fields read again from the database.  A row
    // deleted there since it was read leaves this cursor and its clones, with error 3167.
    void Resync();
    EditModeEnum EditMode() const;
    // The current row (added and updated) takes the place the statement's ORDER BY gives it -
    // where a Requery would show it - in this cursor and its clones, each keeping its own Sort
    // and Filter, without reading the table again.  False, with nothing moved, when the layer
    // cannot tell the statement's order or the statement's condition leaves the row out.
    bool PlaceRow();
    // The distinct values of a field over the rows held (what "SELECT DISTINCT column ... ORDER BY
    // column" gives on them): equal by the column's collation, the first read standing for its
    // equals, in the column's order.  Reads nothing from the database, except the column itself
    // while some rows are still to be read (see ReadAhead).
    QVariantList DistinctValues(int index) const;
    // A large list opened with a keyset or dynamic cursor reads at first only its rows' order
    // keys; a row is read when first used.  ReadAhead reads up to `rows` more of them (for idle
    // time) and says whether any are still to be read.
    bool ReadAhead(int rows);
    long RowsToRead() const;  // rows such a list has not read yet
    // Fields such a list reads for every row at open with its order keys, for a DistinctValues
    // that then reads nothing more.  Set before Open.
    void ReadWithKeys(const QStringList& fields);

    void Requery();
    Bookmark bookmark() const;
    void setBookmark(Bookmark b);
    Recordset Clone() const;
    // Whether the two hold one set of rows (one is a clone of the other, or both of a third).
    bool SharesRows(const Recordset& other) const;

    // The places (0-based, in this cursor's order, ascending) of the rows whose text field starts
    // with `prefix`, letter case ignored as the table compares it, asked of the table's index
    // instead of read row by row; for a list read on demand, where reading every row to test it
    // would read the whole table.  nullopt when the list holds all its rows or has a Sort of its
    // own, the field is not a text column of the base table, the prefix has letters outside ASCII
    // with a case, or more than `most` rows of the table start so (a short prefix: testing rows
    // in order finds one soon).
    std::optional<std::vector<long>> PositionsStartingWith(int field, const QString& prefix, long most) const;

    // ADO Find: one condition ("col = v", "col like 't*'", numbers, #date#); on failure Eof (or Bof backwards).
    void Find(const QString& criteria, long skipRecords = 0, SearchDirection dir = adSearchForward,
              std::optional<Bookmark> start = std::nullopt);
    void setFilter(const QString& criteria);  // "" = no filter
    QString filter() const;
    void setSort(const QString& sort);        // "col [ASC|DESC], ..."
    QString sort() const;

    int Subscribe(RecordsetListener listener);
    void Unsubscribe(int id);

    struct Impl;
    Impl* impl() const { return d.get(); }

private:
    std::shared_ptr<Impl> d;
};

}  // namespace db
