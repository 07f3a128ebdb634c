// The vendor tests' database: the full start-up layout (CustomerDb) with helpers to add
// categories, vendors and contacts.
#pragma once

#include "support/CustomerDb.h"

namespace testsupport {

class VendorDb : public CustomerDb {
protected:
    static void addCategory(const QString& code, const QString& name)
    {
        gConn.Execute(QStringLiteral("Insert Into RV1 (RV10, RV11) Values (?, ?)"), {code, name});
    }
    // A vendor; a Null status when `status` is a null QString.
    static void addVendor(const QString& category, const QString& number, const QString& shortName,
                          const QString& status = QStringLiteral("現用廠商"))
    {
        gConn.Execute(QStringLiteral("Insert Into RV11 (RV110, RV111, RV112, 廠商狀況) Values (?, ?, ?, ?)"),
                      {category, number, shortName, status.isNull() ? QVariant() : QVariant(status)});
    }
    static void addContact(const QString& number, const QString& name)
    {
        gConn.Execute(QStringLiteral("Insert Into 廠商聯絡人 (廠商編號, 聯絡人) Values (?, ?)"), {number, name});
    }
};

}  // namespace testsupport
