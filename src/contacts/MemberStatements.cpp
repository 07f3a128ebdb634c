#include "contacts/MemberStatements.h"

#include "contacts/MemberLayout.h"
#include "platform/db/JetSql.h"
#include "platform/text/VbText.h"
#include "records/RecordList.h"

namespace {

bool IsFilterNumberType(int t) { return t == db::adSmallInt || t == db::adInteger || t == db::adSingle; }

// A typed date as the value a date column holds; error 3075 when the text is no date.
QDateTime DateValue(const QString& text)
{
    bool ok = false;
    const QString canonical = db::jet::CanonicalDate(vb::Trim(text), &ok);
    if (!ok)
        throw db::DbError(3075, QStringLiteral("日期格式不正確: ") + text);
    return QDateTime::fromString(canonical, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QVariant NumberValue(const QString& text)
{
    const double v = vb::Val(text);
    if (v == double(qint64(v)))
        return qint64(v);
    return v;
}

}  // namespace

db::Statement MemberListQuery(const QString& table, const QString& filterColumn, int filterType,
                                const QString& filterValue, const QString& sortColumn)
{
    db::Statement q;
    QString where;
    if (!vb::Trim(filterColumn).isEmpty() && !vb::Trim(filterValue).isEmpty()) {
        if (IsFilterNumberType(filterType)) {
            where = QStringLiteral(" Where ") + filterColumn + QStringLiteral(" = ? ");
            q.params << NumberValue(filterValue);
        } else if (filterType == db::adDate) {
            where = QStringLiteral(" Where ") + filterColumn + QStringLiteral(" = ? ");
            q.params << DateValue(filterValue);
        } else {
            where = QStringLiteral(" Where ") + filterColumn + QStringLiteral(" like  ? ");
            q.params << vb::Trim(filterValue) + QStringLiteral("%");
        }
    }
    q.sql = QStringLiteral("Select ") + table + QStringLiteral(".* From ") + table + where;
    if (!vb::Trim(sortColumn).isEmpty())
        q.sql += QStringLiteral(" Order By ") + sortColumn;
    return q;
}

QString MemberListDescription(const QString& filterColumn, const QString& filterValue, const QString& sortColumn)
{
    QString filter;
    if (!filterColumn.isEmpty() && !filterValue.isEmpty())
        filter = QStringLiteral("[") + filterColumn + QStringLiteral("] 欄位 內容有以") + filterValue +
                 QStringLiteral("開頭的資料");
    const QString sort = sortColumn.isEmpty()
                             ? QStringLiteral(" 排序欄位為空")
                             : QStringLiteral(" 以 [") + sortColumn + QStringLiteral(" ] 欄位來排序");
    return QStringLiteral("只顯示 ") + (filter.isEmpty() ? sort : filter + QStringLiteral(",") + sort);
}

long MemberQuickFindRow(const db::Recordset& rs, const QString& column, int columnType, const QString& text)
{
    const QString t = vb::Trim(text);
    if (t.isEmpty() || !rs.IsOpen())
        return -1;
    if (IsMemberNumberType(columnType)) {
        const double wanted = vb::Val(text);
        return FindRow(rs, column, [wanted](const QVariant& v) { return !v.isNull() && v.toDouble() == wanted; });
    }
    if (columnType == db::adDate) {
        const QDateTime wanted = DateValue(text);
        return FindRow(rs, column, [&wanted](const QVariant& v) { return v.toDateTime() == wanted; });
    }
    return FindPrefix(rs, column, t);
}

FindCondition MemberFormCondition(const std::vector<MemberCriterion>& boxes)
{
    std::vector<FindTerm> terms;
    for (const MemberCriterion& b : boxes)
        if (!vb::Trim(b.text).isEmpty())
            terms.push_back({b.column, b.text});
    FindWording wording;
    wording.like = QStringLiteral(" like  ");
    wording.join = QStringLiteral(" And ");
    return BuildFindCondition(terms, wording);
}

db::Statement MemberFormQuery(const QString& table, const FindCondition& condition)
{
    return {QStringLiteral("SELECT ") + table + QStringLiteral(".* FROM ") + table + QStringLiteral(" Where ") +
                condition.sql,
            condition.params};
}
