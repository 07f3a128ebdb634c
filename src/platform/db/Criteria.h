// The criteria of Find and Filter ("RV120 like 'A*'", "付款條件日 >= 30 And (類別 = '甲' Or 類別
// Is Null)", "建檔日 = #2024/01/31#"), parsed against a recordset's fields and tested on its stored
// rows the way Jet's client cursor tests them: texts compared with ASCII letter case ignored,
// "*" "%" "?" "_" as wildcards, numbers as numbers, dates by their stored text.  Also the
// comparison of two values a cursor's Sort uses.
#pragma once

#include "platform/db/DbImpl.h"

#include <QByteArray>
#include <vector>

namespace db::detail {

// One condition: a field, an operator and a value.
struct Condition {
    enum Op { Eq, Ne, Lt, Gt, Le, Ge, Like, NotLike, IsNull, NotNull } op = Eq;
    int field = -1;
    bool numeric = false;   // compare as numbers
    double number = 0;
    QByteArray text;        // UTF-8 text, canonical date, or the like pattern
};

// Conditions joined by And and Or (a Filter).
struct Criteria {
    enum Kind { Leaf, And, Or } kind = Leaf;
    Condition cond;
    std::vector<Criteria> kids;
};

// Find's one condition; a Filter's conditions with And, Or and parentheses.  A text that is no
// such criteria fails with 3001, a field the recordset lacks with 3265.
Condition ParseCondition(const QString& text, const QVector<FieldDef>& fields);
Criteria ParseCriteria(const QString& text, const QVector<FieldDef>& fields);

bool Matches(const Condition& c, const Row& row, int adoType);
bool Matches(const Criteria& n, const Row& row, const QVector<FieldDef>& fields);

// A cursor's Sort between two values: Null first, then numbers, then texts (ASCII letter case
// ignored); blobs as texts.
int CompareForSort(const Cell& a, const Cell& b);

}  // namespace db::detail
