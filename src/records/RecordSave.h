// The save and the delete of a record window, as plain code: one transaction that writes the
// record row with its detail rows and ends in one outcome.  No widget here: the window hands
// over the statements and callbacks that touch its recordset.
//
//     const SaveOutcome out = SaveInTransaction(gConn, QStringLiteral("資料並未儲存。"),
//         [this] { Text2Rs(); },                                   // unbound fields
//         DetailStatements(kContacts, number, contacts_->RowSet()), // bound statements
//         [this] { FactoryRs.Update(); });                          // the record row
//     if (!out.saved) ui::MsgBox(out.message);
#pragma once

#include "platform/db/Db.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// The rows of one detail grid as the save reads them: the counted rows in grid order (element 0
// is row 1), each row's cells by column of the row array (0 item number, then the cell texts,
// the last one the stored row's key or "" for a row not stored yet), and the keys of the stored
// rows removed in the grid since the last save or cancel.
struct DetailRowSet {
    QVector<QStringList> rows;
    QVector<qint64> deletedKeys;
};

// What a failed save says last, after the error: "資料並未存檔。".
QString SaveFailedText();

struct SaveOutcome {
    bool saved = false;          // committed
    bool rowWritten = false;     // writeRow ran to its end (then rolled back when !saved)
    long errorNumber = 0;
    QString message;             // the error's text for the user, CR LF and the window's failure text
};

// Begins a transaction on `conn`, runs `beforeDetails` (the unbound fields into the record),
// the statements in order, `writeRow` (the record row's update) and commits.  Any error on
// the way (a database error or any other exception) rolls everything back; the outcome then
// carries the error's number and its text for the user (ErrorText) followed by CR LF and
// `failureText`.  An error of
// BeginTrans itself is thrown.
SaveOutcome SaveInTransaction(db::Connection& conn, const QString& failureText,
                              const std::function<void()>& beforeDetails, const QVector<db::Statement>& statements,
                              const std::function<void()>& writeRow);

// After a save whose commit failed once the record row was written (SaveOutcome::rowWritten):
// reads the table again and puts `typed` (every field of the row as it was written, in field
// order) back into an edit of the row, a new row again when `adding`, else the row at `mark`,
// so the next save writes it.  The identity column `keyField` is left alone.
void RestoreTypedRow(db::Recordset& rs, const QVector<QVariant>& typed, bool adding, db::Bookmark mark,
                     const QString& keyField);

struct DeleteOutcome {
    bool deleted = false;
    long errorNumber = 0;
    QString message;  // the error's text for the user, CR LF and the window's failure text when !deleted
};

// Begins a transaction, runs `deleteRow` (the record row), then the statements (its detail
// rows) and commits; any error rolls everything back.  An error of BeginTrans is thrown.
DeleteOutcome DeleteInTransaction(db::Connection& conn, const QString& failureText,
                                  const std::function<void()>& deleteRow, const QVector<db::Statement>& statements);
