#include "customers/CustomerSave.h"

#include "core/Globals.h"
#include "platform/text/VbText.h"

namespace {

QString Cell(const QStringList& row, int column)
{
    return column < row.size() ? row.at(column) : QString();
}

// The stored key of a row: Val of its key cell, 0 for a row not stored yet.
qint64 KeyOf(const QStringList& row, int keyColumn)
{
    const double v = vb::Val(Cell(row, keyColumn));
    return v > 0 ? qint64(v) : 0;
}

QString NotSaved(const QString& description)
{
    return description + gCrLf + QStringLiteral("資料並未存檔。");
}

}  // namespace

// ---- Checks ------------------------------------------------------------------------------------

QString MissingFieldsMessage(const BoxTextFn& text)
{
    static const struct {
        int box;
        const char* line;
    } kRequired[] = {
        {0, "客戶代號必須輸入"}, {1, "客戶簡稱必須輸入"}, {2, "客戶全銜必須輸入"},
        {3, "客戶電話必須輸入"}, {10, "負責的業務必須輸入"},
    };
    QString message;
    for (const auto& r : kRequired)
        if (vb::Trim(text(r.box)).isEmpty())
            message += QString::fromUtf8(r.line) + gCrLf;
    return message;
}

int FirstTooWideBox(const BoxTextFn& text)
{
    // Byte limits of boxes 0 to 12.
    static const int kMax[13] = {14, 10, 50, 30, 30, 10, 20, 10, 50, 50, 10, 10, 10};
    for (int i = 0; i < 13; ++i)
        if (vb::ByteLen(text(i)) > kMax[i])
            return i;
    return -1;
}

QString TooWideMessage(int maxLength)
{
    return QStringLiteral("'") + LoadResString(316) + QString::number(maxLength) + LoadResString(317);
}

QString SaveWidthTitle() { return LoadResString(318); }

// ---- Detail rows -------------------------------------------------------------------------------

QVector<SqlStatement> ContactStatements(const QString& code, const DetailRowSet& contacts)
{
    QVector<SqlStatement> out;
    for (const QStringList& r : contacts.rows) {
        // Grid column 5 is the mobile number (RV12A5), column 7 the Skype name (RV12A4).
        const db::Params texts = {Cell(r, 1), Cell(r, 2), Cell(r, 3), Cell(r, 4), Cell(r, 7),
                                  Cell(r, 5), Cell(r, 6), Cell(r, 8), code};
        if (const qint64 key = KeyOf(r, 9)) {
            db::Params params = texts;
            params << key;
            out.push_back({QStringLiteral("UPDATE  RV12A SET RV12A1 =? , 稱謂 =? , RV12A2 =? , RV12A3 =? , "
                                          "RV12A4 =? , RV12A5 =? , RV12A6 =? ,  備註 =? ,  RV12A0 =?  WHERE 序號=?"),
                           params, true});
        } else if (!vb::Trim(Cell(r, 1)).isEmpty()) {
            out.push_back({QStringLiteral("INSERT INTO RV12A (RV12A1,稱謂, RV12A2,RV12A3,RV12A4,RV12A5,RV12A6,備註,RV12A0) "
                                          "VALUES ( ?, ?, ?, ?, ?, ?, ?, ?, ? ) "),
                           texts});
        }
    }
    for (qint64 k : contacts.deletedKeys)
        out.push_back({QStringLiteral("DELETE FROM RV12A where 序號= ?"), {k}, true});
    return out;
}

QVector<SqlStatement> DeliveryStatements(const QString& code, const DetailRowSet& deliveries)
{
    QVector<SqlStatement> out;
    for (const QStringList& r : deliveries.rows) {
        const db::Params texts = {Cell(r, 1), Cell(r, 2), Cell(r, 3), Cell(r, 4), Cell(r, 5), Cell(r, 6), code};
        if (const qint64 key = KeyOf(r, 7)) {
            db::Params params = texts;
            params << key;
            out.push_back({QStringLiteral("UPDATE  RV12B SET 送貨名稱 =? , RV12B2 =? , RV12B3 =? , RV12B4 =? , "
                                          "RV12B5 =? , RV12B6 =? ,  RV12B0 =?  WHERE 序號=?"),
                           params, true});
        } else if (!vb::Trim(Cell(r, 1)).isEmpty()) {
            out.push_back({QStringLiteral("INSERT INTO RV12B (送貨名稱, RV12B2,RV12B3,RV12B4,RV12B5,RV12B6,RV12B0) "
                                          "VALUES ( ?, ?, ?, ?, ?, ?, ? ) "),
                           texts});
        }
    }
    for (qint64 k : deliveries.deletedKeys)
        out.push_back({QStringLiteral("DELETE FROM RV12B where 序號= ?"), {k}, true});
    return out;
}

// ---- The transactions ----------------------------------------------------------------------------

SaveOutcome SaveCustomerRows(db::Connection& conn, const QString& code, const DetailRowSet& contacts,
                             const DetailRowSet& deliveries, const std::function<void()>& beforeDetails,
                             const std::function<void()>& writeCustomer)
{
    SaveOutcome out;
    conn.BeginTrans();
    try {
        if (beforeDetails)
            beforeDetails();
        for (const auto& list : {ContactStatements(code, contacts), DeliveryStatements(code, deliveries)})
            for (const SqlStatement& s : list)
                s.storedRow ? conn.ExecuteOnStoredRows(s.sql, s.params) : conn.Execute(s.sql, s.params);
        if (writeCustomer)
            writeCustomer();
        out.customerWritten = true;
        conn.CommitTrans();
        out.saved = true;
    } catch (const db::DbError& e) {
        out.errorNumber = e.Number();
        out.message = NotSaved(e.Description());
    } catch (const std::exception& e) {
        out.errorNumber = -1;
        out.message = NotSaved(QString::fromUtf8(e.what()));
    }
    if (!out.saved) {
        try {
            conn.RollbackTrans();
        } catch (const db::DbError&) {
        }
    }
    return out;
}

DeleteOutcome DeleteCustomerRows(db::Connection& conn, const QString& code,
                                 const std::function<void()>& deleteCustomer)
{
    DeleteOutcome out;
    conn.BeginTrans();
    try {
        if (deleteCustomer)
            deleteCustomer();
        conn.Execute(QStringLiteral("Delete  RV12a.* From RV12a Where rv12a0=?"), {code});
        conn.Execute(QStringLiteral("Delete  RV12b.* From RV12b Where rv12b0=?"), {code});
        conn.CommitTrans();
        out.deleted = true;
    } catch (const db::DbError& e) {
        out.errorNumber = e.Number();
        out.message = e.Description() + gCrLf + QStringLiteral("刪除失敗，資料並未刪除。");
    } catch (const std::exception& e) {
        out.errorNumber = -1;
        out.message = QString::fromUtf8(e.what()) + gCrLf + QStringLiteral("刪除失敗，資料並未刪除。");
    }
    if (!out.deleted) {
        try {
            conn.RollbackTrans();
        } catch (const db::DbError&) {
        }
    }
    return out;
}
