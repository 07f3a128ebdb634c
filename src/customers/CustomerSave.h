// Saving and deleting a customer: the required boxes, the width check over boxes 0 to 12, and
// the one transaction that writes the customer row with its contact and delivery rows.  The
// statements and the transaction are the kit's; this file holds the customer's own tables.
#pragma once

#include "records/FieldTable.h"
#include "records/RecordSave.h"

#include <QString>

// Every required box left blank, one line each followed by CR LF, in box order (code, short
// name, full name, telephone, salesperson); "" when nothing is missing.
QString MissingFieldsMessage(const BoxTextFn& text);

// Boxes 0 to 12, the boxes the width check covers.
const std::vector<int>& WidthCheckedBoxes();
// The first of boxes 0 to 12 whose text is longer in code-page-950 bytes than its limit, or -1.
int FirstTooWideBox(const BoxTextFn& text);

// The keys the new contact and delivery rows got from a save, in grid order.
struct InsertedDetailKeys {
    QVector<qint64> contacts;
    QVector<qint64> deliveries;
};

// Writes the contact statements, the delivery statements and the customer row in one
// transaction (`beforeDetails` first: the unbound fields into the record); a failure rolls
// everything back and says "資料並未存檔。".  `inserted`, when given, receives the keys of
// the new rows (read inside the transaction; meaningful only when the save commits).
SaveOutcome SaveCustomerRows(db::Connection& conn, const QString& code, const DetailRowSet& contacts,
                             const DetailRowSet& deliveries, const std::function<void()>& beforeDetails,
                             const std::function<void()>& writeCustomer, InsertedDetailKeys* inserted = nullptr);

// Deletes the customer row (`deleteCustomer`) and every contact and delivery row of the code
// in one transaction; a failure says "刪除失敗，資料並未刪除。".
DeleteOutcome DeleteCustomerRows(db::Connection& conn, const QString& code,
                                 const std::function<void()>& deleteCustomer);
