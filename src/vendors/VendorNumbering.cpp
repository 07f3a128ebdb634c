#include "vendors/VendorNumbering.h"

#include "core/Globals.h"
#include "platform/text/VbText.h"

QString NextVendorNo(const QString& code, long long greatestSerial)
{
    const long long next = std::max(0LL, greatestSerial) + 1;
    return code + QStringLiteral("-") + QStringLiteral("%1").arg(next, 3, 10, QChar('0'));
}

QString GetfactoryNewNo(const QString& code)
{
    const QString c = vb::Trim(code);
    db::Recordset rs = gConn.ExecuteQuery(
        QStringLiteral("Select Max(Val(Mid(rv111, InStr(rv111, '-') + 1))) From rv11 "
                       "Where rv110 = ? And InStr(rv111, '-') > 0"),
        {c});
    long long greatest = 0;
    if (!rs.Eof() && !rs.value(0).isNull())
        greatest = vb::CLng(rs.value(0).toDouble());
    return NextVendorNo(c, greatest);
}
