// Questions a window asks of a recordset where "no" is an answer, not an error: does it stand
// on a row, which one, can it go back to a row or on to the last one.  Each probe says which
// failure it answers; any other error still comes out as a DbError.  Three calls drop every error
// on purpose, each for a value only shown or a reading only retried: ValueOrNull, Nz/NzValue
// and RequeryQuietly.
//
//     const std::optional<db::Bookmark> mark = db::TryBookmark(rs);   // before a cancel
//     ...
//     if (mark && !db::TryGoTo(rs, *mark)) { the row went away meanwhile }
#pragma once

#include "platform/db/Db.h"

#include <optional>

namespace db {

// Whether the recordset is open and stands on a row: not before the first, past the last, nor
// on a row just deleted (the cursor then stands between rows).  A row being added counts.
bool HasCurrentRow(const Recordset& rs);

// The current row's bookmark; none where HasCurrentRow is false.
std::optional<Bookmark> TryBookmark(const Recordset& rs);

// Moves to the row the bookmark names.  False, the cursor where it was, where the recordset is
// closed or holds no such row (deleted meanwhile, left out by a filter: error 3159).  A pending
// edit is written first, as before any move; its failure comes out as a DbError.
bool TryGoTo(Recordset& rs, Bookmark mark);

// Moves to the row another cursor on the same rows stands on (a clone, or the recordset it was
// made from).  False, nothing moved, where that one stands on no row or this one lacks it.
bool TryGoToRowOf(Recordset& rs, const Recordset& other);

// Moves to the last row; false, nothing moved, where the recordset is closed or empty.  A
// pending edit is written first, as before any move; its failure comes out as a DbError.
bool TryMoveLast(Recordset& rs);

// The field's value on the current row, for showing it: Null where there is no current row, no
// such field, or the row cannot be read now (the file locked or damaged) - the box or label
// then shows nothing, and the next reading tries again.
Value ValueOrNull(const Recordset& rs, const QString& field);

// A field's value with Null read as "" (vb::Nz, vb::NzValue), and "" too where the field cannot
// be read at all (no current row): every error dropped, for a value the window only shows or
// passes on.  Nz gives it as text, NzValue as it is.
QString Nz(const Field& field);
Value NzValue(const Field& field);

// Reads the rows again after a save or delete that failed, whose error the user has been told:
// false, and nothing more said, where the reading fails too (the same lock or damage).
bool RequeryQuietly(Recordset& rs);

}  // namespace db
