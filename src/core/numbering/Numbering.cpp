#include "core/numbering/Numbering.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A number as VB writes a whole value: no exponent, no decimals.
QString NumberText(double v)
{
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 9.0e15)
        return QString::number(static_cast<qint64>(v));
    return QString::number(v, 'g', 15);
}

// A field as text: Null gives "", a whole number stays without decimals.
QString FieldText(const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return QString();
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return NumberText(v.toDouble());
    return v.toString();
}

db::Recordset OpenReadOnly(const QString& sql, db::Connection& conn, const db::Params& params = {})
{
    db::Recordset rs;
    rs.Open(sql, conn, db::adOpenStatic, db::adLockReadOnly, params);
    return rs;
}

QString CurrentYearMonth()
{
    const QDate today = ui::Today();
    return QStringLiteral("%1%2").arg(today.year(), 4, 10, QLatin1Char('0')).arg(today.month(), 2, 10, QLatin1Char('0'));
}

void SerialsUsedUp(int lastSerial)
{
    ui::MsgBox(QStringLiteral("本月編號已用完（序號已達 %1），無法再編號。").arg(lastSerial), ui::Buttons::OK);
}

// Texts compared as the database compares a text column: by code point, ASCII letters folded.
int CompareNocase(QStringView a, QStringView b)
{
    const QByteArray x = a.toUtf8(), y = b.toUtf8();
    const int n = int(std::min(x.size(), y.size()));
    for (int i = 0; i < n; ++i) {
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        const unsigned char p = static_cast<unsigned char>(fold(x[i])), q = static_cast<unsigned char>(fold(y[i]));
        if (p != q)
            return p < q ? -1 : 1;
    }
    return int(x.size() > y.size()) - int(x.size() < y.size());
}

// Codes ordered as numbers would be: leading zeros aside, a longer code (in characters) is the
// greater one and codes of one length compare as the database compares texts.  Plain text
// order would put "999" above "1000" and never get past "1000".  CodeOrderTerms gives the same
// order in a statement.
bool CodeLess(const QString& a, const QString& b)
{
    auto significant = [](const QString& s) {
        int i = 0;
        while (i < s.size() && s[i] == u'0')
            ++i;
        return QStringView(s).mid(i);
    };
    const QStringView sa = significant(a), sb = significant(b);
    const qsizetype la = sa.toUcs4().size(), lb = sb.toUcs4().size();
    if (la != lb)
        return la < lb;
    const int c = CompareNocase(sa, sb);
    if (c != 0)
        return c < 0;
    return CompareNocase(a, b) < 0;
}

QString SignificantLength(const QString& column) { return QStringLiteral("Length(LTrim(%1, '0'))").arg(column); }
QString Significant(const QString& column) { return QStringLiteral("LTrim(%1, '0') COLLATE NOCASE").arg(column); }

// The greatest code of the column in CodeLess order (the first stored among equals): one step
// down the column's code-order index where the table has one.
QString GreatestCode(db::Connection& conn, const QString& table, const QString& column)
{
    db::Recordset rs = conn.ExecuteQuery(QStringLiteral("Select %1 As CodeValue From %2 Where %1 Is Not Null "
                                                        "Order By %3 DESC, %4 DESC, %1 DESC, rowid LIMIT 1")
                                             .arg(column, table, SignificantLength(column), Significant(column)));
    return rs.Eof() ? QString() : FieldText(rs.value(0));
}

// Whether any row of the statement belongs to a record other than ownSerial (0: any row).
bool HeldByAnother(db::Recordset& rs, qint32 ownSerial)
{
    for (; !rs.Eof(); rs.MoveNext()) {
        if (ownSerial == 0)
            return true;
        const QVariant serial = rs.value(QStringLiteral("總序"));
        if (serial.isNull() || serial.toLongLong() != ownSerial)
            return true;
    }
    return false;
}

// Whether the trimmed value stands in the column of another record of the main database.
bool TakenInMainDb(const QString& table, const QString& column, const QString& value, qint32 ownSerial)
{
    db::Recordset rs = OpenReadOnly(QStringLiteral("select * from ") + table + QStringLiteral(" where ") + column +
                                        QStringLiteral("=?"),
                                    gConn, {vb::Trim(value)});
    return HeldByAnother(rs, ownSerial);
}


}  // namespace

QString CodeOrderIndexName(const QString& table, const QString& column)
{
    return table + QStringLiteral("_") + column + QStringLiteral("_CodeOrder");
}

QString CodeOrderIndexSql(const QString& table, const QString& column)
{
    return QStringLiteral("CREATE INDEX %1 ON %2 (%3, %4, %5)")
        .arg(CodeOrderIndexName(table, column), table, SignificantLength(column), Significant(column), column);
}

QString GetMaxValue(db::Connection& conn, const QString& table, const QString& column, const QString& condition,
                    const db::Params& params)
{
    QString sql = QStringLiteral("Select Max(") + column + QStringLiteral(") As MAXno  From ") + table;
    if (!condition.isEmpty())
        sql += QStringLiteral(" Where ") + condition;
    db::Recordset rs = OpenReadOnly(sql, conn, params);
    if (rs.Eof())
        return QString();
    return FieldText(rs.value(QStringLiteral("MAXno")));
}

QString GetNextCode(db::Connection& conn, const QString& table, const QString& column)
{
    const QString m = GreatestCode(conn, table, column);
    const int walk = vb::Trim(m).size();
    if (walk == 0)
        return QStringLiteral("001");
    QString prefix, digits;
    for (int i = 0; i < walk && i < m.size(); ++i) {
        if (!IsDigit(m[i])) {
            prefix = m.left(i + 1);
            digits = m.mid(i + 1);
        }
    }
    const double n = std::floor((prefix.isEmpty() ? vb::Val(m) : vb::Val(digits)) + 1);
    QString pad;
    if (n < 10)
        pad = QStringLiteral("00");
    else if (n < 100)
        pad = QStringLiteral("0");
    return prefix + pad + NumberText(n);
}

QString NextCustomerCode(const QString& m)
{
    QString prefix;
    double number = 0;
    for (int i = 0; i < m.size(); ++i) {
        if (IsDigit(m[i])) {
            // A whole number of any size a code can hold (14 digits): no 32-bit conversion.
            number = std::nearbyint(vb::Val(m.mid(i)));
            break;
        }
        prefix += m[i];
    }
    const double n = number + 1;
    QString pad;
    if (n < 10)
        pad = QStringLiteral("00000");
    else if (n < 100)
        pad = QStringLiteral("0000");
    else if (n < 1000)
        pad = QStringLiteral("000");
    else if (n < 10000)
        pad = QStringLiteral("0");
    return prefix + pad + NumberText(n);
}

QString GetCustomerNewNo()
{
    return NextCustomerCode(GreatestCode(gConn, QStringLiteral("RV12"), QStringLiteral("rv120")));
}

CustomerNumbering::CustomerNumbering(db::Connection& conn)
    : greatest_(GreatestCode(conn, QStringLiteral("RV12"), QStringLiteral("rv120")))
{
}

QString CustomerNumbering::next()
{
    const QString code = NextCustomerCode(greatest_);
    if (CodeLess(greatest_, code))
        greatest_ = code;
    return code;
}

QString GetYearMonthNo(const QString& table, const QString& column, db::Connection& conn, short mode)
{
    const QString sql = mode == 0
        ? QStringLiteral("Select Max((") + column + QStringLiteral(")) As MAXno  From ") + table
        : QStringLiteral("Select Max(") + column + QStringLiteral(") As MAXno  From ") + table;
    db::Recordset rs = OpenReadOnly(sql, conn);
    const QString yearMonth = CurrentYearMonth();
    const QString first = yearMonth + QStringLiteral("0001");
    if (rs.Eof())
        return first;
    const QString m = FieldText(rs.value(QStringLiteral("MAXno")));
    const double value = vb::Val(m);
    if (m.size() < 10 || value == 0)
        return first;
    if (yearMonth.toInt() > vb::Val(m.left(6)))
        return first;
    const double next = std::floor(value) + 1;
    if (std::fmod(next, 10000) == 0) {  // the serial would run into the month digits
        SerialsUsedUp(9999);
        return QString();
    }
    return NumberText(next);
}

qint32 GetDocumentNo(const QString& table, db::Connection& conn)
{
    return qint32(vb::CLng(vb::Val(GetYearMonthNo(table, QStringLiteral("單據編號"), conn, 1))));
}

QString GetPNo(const QString& table, const QString& column, db::Connection& conn)
{
    db::Recordset rs = OpenReadOnly(QStringLiteral("Select Max(") + column + QStringLiteral(") As MAXno  From ") + table, conn);
    const QString yearMonth = CurrentYearMonth();
    const QString first = QStringLiteral("P") + yearMonth + QStringLiteral("001");
    if (rs.Eof())
        return first;
    const QString m = FieldText(rs.value(QStringLiteral("MAXno")));
    if (!m.startsWith(u'P') || m.size() != 10)
        return first;
    if (yearMonth.toInt() > vb::Val(m.mid(1, 6)))
        return first;
    const double next = std::floor(vb::Val(m.mid(1))) + 1;
    if (std::fmod(next, 1000) == 0) {
        SerialsUsedUp(999);
        return QString();
    }
    return QStringLiteral("P") + NumberText(next);
}

qint32 GetProductNo(const QString&)
{
    if (!gConnAlt.IsOpen())
        return 0;
    const QString m = GetMaxValue(gConnAlt, QStringLiteral("產品管理"), QStringLiteral("品號 "));
    const QString yearMonth = CurrentYearMonth();
    if (vb::Trim(m).isEmpty() || yearMonth.toInt() > vb::Val(m.left(6)))
        return qint32(vb::CLng(vb::Val(yearMonth + QStringLiteral("0001"))));
    const double next = std::floor(vb::Val(m)) + 1;
    if (std::fmod(next, 10000) == 0) {
        SerialsUsedUp(9999);
        return 0;
    }
    return qint32(vb::CLng(next));
}

QString GetDieNo(const QString& vendorShortName)
{
    try {
        const QString m = GetMaxValue(gConnAlt, QStringLiteral("刀模號管理"), QStringLiteral("刀模號 "),
                                      QStringLiteral("軋盒廠=?"), {vendorShortName});
        if (vb::Trim(m).isEmpty()) {
            QString v = GetVendorNoByName(vendorShortName);
            v.remove(u' ');
            if (v.isEmpty()) {
                ui::MsgBox(QStringLiteral("刀模廠或軋盒廠廠商編號不正確"), ui::Buttons::OK);
                return QString();
            }
            const int dash = v.indexOf(u'-');
            return (dash < 0 ? v : v.mid(dash + 1)) + QStringLiteral("-0001");
        }
        const int dash = m.indexOf(u'-');
        if (dash < 0)
            return NumberText(std::floor(vb::Val(m)) + 1);
        const QString head = m.left(dash);
        const double n = std::floor(vb::Val(m.mid(dash + 1))) + 1;
        QString pad;
        if (n < 10)
            pad = QStringLiteral("000");
        else if (n < 100)
            pad = QStringLiteral("00");
        else if (n < 1000)
            pad = QStringLiteral("0");
        const QString serial = pad + NumberText(n);
        return head.isEmpty() ? serial : head + QStringLiteral("-") + serial;
    } catch (const std::exception& e) {
        ui::MsgBox(ErrorText(e) + gCrLf + QStringLiteral("無法編刀模號"), ui::Buttons::OK);
        return QString();
    }
}

QString GetVendorNoByName(const QString& vendorShortName)
{
    ui::WaitCursor wait;
    db::Recordset rs = OpenReadOnly(QStringLiteral("select * from RV11 where RV112=?"), gConn, {vendorShortName});
    if (rs.Eof())
        return QString();
    return FieldText(rs.value(QStringLiteral("rv111")));
}

bool IsValueTaken(const QString& table, const QString& value, const QString& column, qint32 ownSerial)
{
    if (!gConnAlt.IsOpen())
        return false;
    db::Recordset rs = OpenReadOnly(QStringLiteral("Select ") + table + QStringLiteral(".* From ") + table +
                                        QStringLiteral(" Where ") + column + QStringLiteral("= ? Order By ") +
                                        column + QStringLiteral(" Desc "),
                                    gConnAlt, {value});
    return HeldByAnother(rs, ownSerial);
}

bool CheckNoDuplicate(const QString&, const QString& table, const QString& column, const QString& value,
                      qint32 ownSerial)
{
    if (!TakenInMainDb(table, column, value, ownSerial))
        return false;
    ui::MsgBox(QStringLiteral("編號重複") + value, ui::Buttons::OK);
    return true;
}

bool CheckDuplicate(const QString&, const QString& table, const QString& column, const QString& value,
                    qint32 ownSerial)
{
    if (!TakenInMainDb(table, column, value, ownSerial))
        return false;
    ui::MsgBox(column + QStringLiteral("重複: ") + value, ui::Buttons::OK);
    return true;
}
