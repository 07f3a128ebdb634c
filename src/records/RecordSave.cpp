#include "records/RecordSave.h"

#include "core/ErrorText.h"
#include "core/Globals.h"

namespace {

template <class Outcome>
void Fail(Outcome& out, long number, const QString& description, const QString& failureText)
{
    out.errorNumber = number;
    out.message = description + gCrLf + failureText;
}

void RollbackQuietly(db::Connection& conn)
{
    try {
        conn.RollbackTrans();
    } catch (const db::DbError&) {
        // The failure the user reads is the save's own: a commit that failed may have ended
        // the transaction already, and a damaged file refuses the rollback too.
    }
}

}  // namespace

QString SaveFailedText() { return QStringLiteral("資料並未存檔。"); }

SaveOutcome SaveInTransaction(db::Connection& conn, const QString& failureText,
                              const std::function<void()>& beforeDetails, const QVector<db::Statement>& statements,
                              const std::function<void()>& writeRow)
{
    SaveOutcome out;
    conn.BeginTrans();
    try {
        if (beforeDetails)
            beforeDetails();
        for (const db::Statement& s : statements)
            s.storedRow ? conn.ExecuteOnStoredRows(s.sql, s.params) : conn.Execute(s.sql, s.params);
        if (writeRow)
            writeRow();
        out.rowWritten = true;
        conn.CommitTrans();
        out.saved = true;
    } catch (const db::DbError& e) {
        Fail(out, e.Number(), ErrorText(e), failureText);
    } catch (const std::exception& e) {
        Fail(out, -1, ErrorText(e), failureText);
    }
    if (!out.saved)
        RollbackQuietly(conn);
    return out;
}

void RestoreTypedRow(db::Recordset& rs, const QVector<QVariant>& typed, bool adding, db::Bookmark mark,
                     const QString& keyField)
{
    try {
        rs.Requery();
        if (adding)
            rs.AddNew();
        else
            rs.setBookmark(mark);
        for (int k = 0; k < typed.size() && k < rs.FieldCount(); ++k) {
            if (rs.FieldName(k).compare(keyField, Qt::CaseInsensitive) == 0)
                continue;
            if (rs.value(k) != typed[k])
                rs.setValue(k, typed[k]);
        }
    } catch (const db::DbError&) {
        // The file cannot be read now (the lock or damage the save met): the recordset stays
        // as it is, and the save's own failure is what the user reads.
    }
}

DeleteOutcome DeleteInTransaction(db::Connection& conn, const QString& failureText,
                                  const std::function<void()>& deleteRow, const QVector<db::Statement>& statements)
{
    DeleteOutcome out;
    conn.BeginTrans();
    try {
        if (deleteRow)
            deleteRow();
        for (const db::Statement& s : statements)
            conn.Execute(s.sql, s.params);
        conn.CommitTrans();
        out.deleted = true;
    } catch (const db::DbError& e) {
        Fail(out, e.Number(), ErrorText(e), failureText);
    } catch (const std::exception& e) {
        Fail(out, -1, ErrorText(e), failureText);
    }
    if (!out.deleted)
        RollbackQuietly(conn);
    return out;
}
