// The number check that refuses saving a personal contact, and the condition the find window
// builds.  No widget here.
#pragma once

#include <QString>
#include <QVariantList>
#include <vector>

// The save's number check: a number (trimmed) that another contact than `serial` (總序, 0 for a
// contact being added) holds is refused with the duplicate check's own message ("編號重複" and
// the number) and a second "編號重複".  True = refuse.
bool OtherNumberTaken(const QString& number, qint32 serial);

// One filled box of the find window: the column it searches and its text as typed.
struct OtherFindTerm {
    QString column;
    QString text;
};
// The condition of the find window: one "column LIKE '%text%'" per term whose text is not ""
// (blanks count), joined by " and  ".  `text` is what the status line shows; `sql` carries the
// same terms with the values bound, so a quote is just a character and "%" and "_" typed by the
// user stay wildcards.
struct OtherFindCondition {
    QString text;
    QString sql;
    QVariantList params;
    bool isEmpty() const { return sql.isEmpty(); }
};
OtherFindCondition BuildOtherFindCondition(const std::vector<OtherFindTerm>& terms);
