#include "vendors/VendorList.h"

#include "platform/text/VbText.h"

const QStringList& VendorSortItems()
{
    static const QStringList items = {QStringLiteral("廠商編號"), QStringLiteral("廠商簡稱"), QStringLiteral("類別編號")};
    return items;
}

db::Statement LinkGridData1Query(const QString& categoryCode, bool excludeInactive, const QString& sortText)
{
    static const char* const kOrders[] = {"Order By rv111", "Order By rv112", "Order By rv110"};
    db::Statement q;
    q.sql = QStringLiteral("select *from RV11 ");
    const QString code = vb::Trim(categoryCode);
    if (!code.isEmpty()) {
        q.sql += QStringLiteral("where RV110=? ");
        q.params << code;
    }
    if (excludeInactive) {
        // Rows from before the status column existed have no status and are still traded with.
        q.sql += code.isEmpty() ? QStringLiteral("where  ") : QStringLiteral("And ");
        q.sql += QStringLiteral("(廠商狀況 Is Null Or 廠商狀況 <> '已無往來') ");
    }
    const int sort = int(VendorSortItems().indexOf(sortText));
    if (sort >= 0)
        q.sql += QString::fromLatin1(kOrders[sort]);
    return q;
}

FindWording VendorFindWording()
{
    return {QStringLiteral(" LIKE "), QStringLiteral("AND ")};
}

db::Statement FondSubQuery(const FindCondition& condition)
{
    return {QStringLiteral("select *from RV11 where ") + condition.sql, condition.params};
}
