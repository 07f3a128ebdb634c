// Saving and deleting a customer: the checks before a save, the statements that write the two
// detail tables, and the one transaction that writes the customer row with its details.  No
// widget here: the window hands over the box texts, the grid rows and callbacks that touch its
// recordset.
#pragma once

#include "platform/db/Db.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// ---- Checks ------------------------------------------------------------------------------------

// The text of box n of the customer record.
using BoxTextFn = std::function<QString(int box)>;

// Every required box left blank, one line each followed by CR LF, in box order (code, short
// name, full name, telephone, salesperson); "" when nothing is missing.
QString MissingFieldsMessage(const BoxTextFn& text);

// The first of boxes 0 to 12 whose text is longer in code-page-950 bytes than its limit, or -1.
int FirstTooWideBox(const BoxTextFn& text);
// The message for a box held to `maxLength` bytes (shown with the question icon and the title
// SaveWidthTitle()).
QString TooWideMessage(int maxLength);
QString SaveWidthTitle();

// ---- Detail rows -------------------------------------------------------------------------------

// The rows of one detail grid as the save reads them: the counted rows in grid order (element 0
// is row 1), each row's cells by column of the row array (0 item number, then the cell texts,
// the last one the stored row's 序號 or "" for a row not stored yet), and the keys of the stored
// rows removed in the grid since the last save or cancel.
struct DetailRowSet {
    QVector<QStringList> rows;
    QVector<qint64> deletedKeys;
};

struct SqlStatement {
    QString sql;
    db::Params params;
    bool storedRow = false;  // writes a row read earlier: touching none is error 3197
};

// Contact persons (RV12A): an UPDATE by 序號 for each stored row, an INSERT for each new row
// with a name, then a DELETE for each removed key.  Every row gets the customer code.
QVector<SqlStatement> ContactStatements(const QString& code, const DetailRowSet& contacts);
// Delivery addresses (RV12B), in the same way.
QVector<SqlStatement> DeliveryStatements(const QString& code, const DetailRowSet& deliveries);

// ---- The transactions ----------------------------------------------------------------------------

struct SaveOutcome {
    bool saved = false;            // committed
    bool customerWritten = false;  // writeCustomer ran to its end (then rolled back when !saved)
    long errorNumber = 0;
    QString message;               // the text to show when !saved
};

// Begins a transaction on `conn`, runs `beforeDetails` (the unbound fields into the record),
// the contact statements, the delivery statements, `writeCustomer` (the customer row's update)
// and commits.  Any error on the way rolls everything back; the outcome then carries the
// error's description, CR LF and "資料並未存檔。".  An error of BeginTrans itself is thrown.
SaveOutcome SaveCustomerRows(db::Connection& conn, const QString& code, const DetailRowSet& contacts,
                             const DetailRowSet& deliveries, const std::function<void()>& beforeDetails,
                             const std::function<void()>& writeCustomer);

struct DeleteOutcome {
    bool deleted = false;
    long errorNumber = 0;
    QString message;  // description, CR LF and "刪除失敗，資料並未刪除。" when !deleted
};

// Begins a transaction, runs `deleteCustomer` (the customer row), deletes every contact and
// delivery row of the code and commits; any error rolls everything back.  An error of
// BeginTrans itself is thrown.
DeleteOutcome DeleteCustomerRows(db::Connection& conn, const QString& code,
                                 const std::function<void()>& deleteCustomer);
