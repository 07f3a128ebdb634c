// Repairs on the database behind a connection, without the maintenance window: the table
// list, letting text columns accept the empty text, clearing tables and renumbering the
// customer codes.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace db {
class Connection;
}

namespace dbmaint {

// The user tables in the order the connection lists them (no internal table).
QStringList LoadTableList(db::Connection& conn);

// Lets every text and memo column of every table accept the empty text.  An error asks
// Abort / Retry / Ignore; returns false when the user chose Abort.
bool AllowZeroLengthAll(db::Connection& conn, const QStringList& tables);

// Asks "清空<t>嗎?" for each table and deletes the rows of those answered Yes, one table at a
// time; a failing delete is reported and the next table follows.
void ClearTables(db::Connection& conn, const QStringList& tables);

// The code the renumbering gives the n-th customer in code order: "2005" and n with at least
// four digits ("20050001", ..., "200510000").
QString RenumberCode(int n);

struct RenumberOutcome {
    bool ok = false;
    long customers = 0;
    QString error;  // the error's description when !ok
};

// Gives every customer of RV12, in code order, the code RenumberCode(1, 2, ...) in one
// transaction and moves its contact persons (RV12A) and delivery addresses (RV12B) along.
// Each customer's detail rows are found by their old code before anything is written and
// moved by their key 序號; the codes are written first as temporary codes and then as the
// final ones, so an old code equal to a new one neither collides nor mixes details up.
// `showCode` receives each final code as it is written.  On an error nothing is changed.
RenumberOutcome RenumberCustomerCodes(db::Connection& conn,
                                      const std::function<void(const QString&)>& showCode = {});

}  // namespace dbmaint
