// What the member window reads and says, as plain code: the list statement with its filter and
// sort, the status-line description of them, the quick find's row and the query by form's
// condition.  Every typed value is bound, never pasted into a statement.
#pragma once

#include "platform/db/Db.h"
#include "records/FindDialog.h"

#include <QString>
#include <vector>

// The member rows of `table` with the filter (column `filterColumn` of ADO type `filterType`,
// value as typed) and ordered by `sortColumn`:
//   "Select T.* From T Order By 會員編號" without a filter;
//   numbers: " Where f = ? " with Val(value);  dates: " Where f = ? " with the date value;
//   any other: " Where f like  ? " with the trimmed value followed by "%".
// No filter when the column or the value is blank.  A date value that reads as no date is error
// 3075 (nothing would match it); an empty sort column leaves the order out.
db::Statement MemberListQuery(const QString& table, const QString& filterColumn, int filterType,
                                const QString& filterValue, const QString& sortColumn);

// The status line's description: "只顯示 " followed by the filter phrase and the sort phrase,
// e.g. 只顯示 [類別] 欄位 內容有以VIP開頭的資料, 以 [會員編號 ] 欄位來排序
QString MemberListDescription(const QString& filterColumn, const QString& filterValue, const QString& sortColumn);

// The 0-based position (in the cursor's order) of the first row whose column matches the quick
// find's text: equal to Val(text) for numbers, equal to the date for dates, beginning with the
// trimmed text (letter case ignored) for any other type; -1 when none does or the text is blank.
long MemberQuickFindRow(const db::Recordset& rs, const QString& column, int columnType, const QString& text);

// The query by form's condition: "column like  ?" with "%text%" for every box whose trimmed text
// is not empty, in box order, joined by " And "; empty when no box is filled.
struct MemberCriterion {
    QString column;
    QString text;
};
FindCondition MemberFormCondition(const std::vector<MemberCriterion>& boxes);
// The statement a query by form opens.
db::Statement MemberFormQuery(const QString& table, const FindCondition& condition);
