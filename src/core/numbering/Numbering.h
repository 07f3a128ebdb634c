// Next codes for new records and the checks that refuse a code or name another record holds.
//
// Every code is a text column; the next code comes from the greatest stored value, never from
// a counter of our own.  Typed values always travel as bound parameters.  Procedures that read
// through gConnAlt (never opened by this program) give their empty result when it is closed.
#pragma once

#include "platform/db/Db.h"

#include <QString>

// The greatest value of the column (database text order), "" when there is none.
// `condition` is appended after " Where "; its "?" take `params`.
QString GetMaxValue(db::Connection& conn, const QString& table, const QString& column,
                    const QString& condition = QString(), const db::Params& params = {});

// Codes are numbered from the greatest code in numbering order: leading zeros aside, the longer
// code is the greater, codes of one length compare as texts (letter case ignored).  This index
// keeps a column in that order, so finding the greatest reads one entry, not every code.
QString CodeOrderIndexName(const QString& table, const QString& column);
QString CodeOrderIndexSql(const QString& table, const QString& column);

// The next code of a code column, at least three digits after its prefix: "001" for an empty
// table, "A-008" after "A-07", "1000" after "999".
QString GetNextCode(db::Connection& conn, const QString& table, const QString& column);

// The next customer code RV120 on gConn: "000001", ..., "000999", "01000", ..., "10000".
QString GetCustomerNewNo();
// The customer code that follows the greatest stored one (`greatest` "" when there is none).
QString NextCustomerCode(const QString& greatest);

// Numbers a run of new customers inside one transaction: the greatest code is read once, and
// each next() gives what GetCustomerNewNo would give after the codes handed out before it
// were stored.
class CustomerNumbering {
public:
    explicit CustomerNumbering(db::Connection& conn);
    QString next();

private:
    QString greatest_;
};

// Year, month and a four-digit serial ("2026120001").  Mode 0 or 1 (same result).
// "" with a message when this month's serials are used up.
QString GetYearMonthNo(const QString& table, const QString& column, db::Connection& conn, short mode);

// The next 單據編號 of the table; 0 when this month's serials are used up.
qint32 GetDocumentNo(const QString& table, db::Connection& conn);

// "P", year, month and a three-digit serial ("P202612001"); "" with a message when this
// month's serials are used up.
QString GetPNo(const QString& table, const QString& column, db::Connection& conn);

// The next 品號 of 產品管理 (through gConnAlt); 0 when that connection is closed or this
// month's serials are used up.
qint32 GetProductNo(const QString& unused = QString());

// The next 刀模號 of a die-cutting vendor (through gConnAlt); "" after a message on failure.
QString GetDieNo(const QString& vendorShortName);

// RV111 of the first vendor whose short name RV112 equals the name; "" when none.
QString GetVendorNoByName(const QString& vendorShortName);

// Whether a record other than `ownSerial` (總序) holds the value (through gConnAlt; false when
// it is closed).  No message.
bool IsValueTaken(const QString& table, const QString& value, const QString& column, qint32 ownSerial);

// Whether another record than `ownSerial` (0 = a record being added) holds the trimmed value;
// shows "編號重複" + value when it does.  `database` plays no part.
bool CheckNoDuplicate(const QString& database, const QString& table, const QString& column,
                      const QString& value, qint32 ownSerial);
// The same test; the message is column + "重複: " + value.
bool CheckDuplicate(const QString& database, const QString& table, const QString& column,
                    const QString& value, qint32 ownSerial);
