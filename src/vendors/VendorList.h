// The statements behind the vendor list: the list query by category, the exclusion of vendors
// no longer traded with and the sort, and the find window's condition.  Typed values always
// travel as bound parameters; the condition text the status line shows is built apart.
#pragma once

#include "platform/db/Db.h"
#include "records/FindDialog.h"
#include "records/RecordSave.h"

#include <QString>
#include <QStringList>
#include <vector>

// The sort choices of the list, in their order: "廠商編號", "廠商簡稱", "類別編號".
const QStringList& VendorSortItems();

// The list query: one category (a non-empty code) or all vendors; `excludeInactive` leaves out
// the vendors whose status is "已無往來" (a vendor without a status stays); `sortText` is one
// of the sort choices (any other text gives no order).
db::Statement LinkGridData1Query(const QString& categoryCode, bool excludeInactive, const QString& sortText);

// How the find window writes its condition for the status line:
// RV111 LIKE '%A1%'AND RV112 LIKE '%abc%' (the statement binds every value).
FindWording VendorFindWording();

// The find's query: every vendor matching the condition, in the table's order.
db::Statement FondSubQuery(const FindCondition& condition);
