// The compact row store under every recordset: each row one image of tagged, length-prefixed
// cells in a bump arena, found by its bookmark; the comparisons SQLite's ORDER BY makes between
// stored values; a value assigned to a field in its stored form, and a cell decoded into the
// value a field shows.  It knows nothing of statements or cursors: RowSet (DbImpl.h, RowSet.cpp)
// fills it from a statement and OnDemandRows fills a list's rows by parts.
#pragma once

#include "platform/db/Db.h"

#include <QHash>
#include <sqlite3.h>
#include <vector>

namespace db::detail {

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
// RowPartial: only the row's order keys are read yet, every other cell is Null (OnDemandRows).
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
// A value assigned to a field of that type, checked and converted to the form the row keeps
// (Decode gives it back): 3421 when it is no such value, 3349 when a number does not fit.
QVariant ToStorage(const QVariant& v, int adoType);

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

// The rows of one list and what finds them: their images in one arena, and the row of each
// bookmark (rebuilt on the first lookup after the rows changed places: indexValid).
struct RowStore {
    std::vector<Row> rows;
    Arena arena;
    qint64 nextBookmark = 1;  // a list without rowids numbers its rows; one with rowids uses them
    BookmarkIndex byBookmark;
    bool indexValid = false;

    void clearRows();  // no rows, the arena kept for the next fill
    // The row of a bookmark; -1 when none has it (or its row is deleted or still being added).
    int rowOfBookmark(qint64 b);
    // Encodes values (storage forms) into the arena.
    void encode(Row& row, const QVector<QVariant>& values);
    // A new image with the changed cells replaced and the others copied (one value a cell).
    void patch(Row& row, const QVector<QVariant>& values, const QVector<bool>& changed);
    // The image of the statement's current row from column `first` on, in this store's arena.
    // With `columnOf`, field k comes from statement column columnOf[k], Null where that is -1.
    Row imageOf(sqlite3_stmt* s, int first, const std::vector<int>* columnOf = nullptr);
};

}  // namespace db::detail
