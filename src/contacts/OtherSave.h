// The checks that refuse saving a personal contact, and the condition the find window builds.
// No widget here: the window hands over its box texts and the current row's serial.
#pragma once

#include "contacts/OtherRules.h"

#include <QString>
#include <QVariantList>
#include <vector>

// The first box (0 to 18, the sex box skipped) whose text is longer in code-page-950 bytes than
// its limit, or -1.  Boxes without a limit never are.
int FirstTooWideOtherBox(const OtherBoxText& text);
// "'" + "欄位資料過長,請不要超過" + the limit + "個字元(一個中文字算2個字元)", shown with the
// question icon and the title OtherSaveWidthTitle().
QString OtherTooWideMessage(int maxLength);
QString OtherSaveWidthTitle();

// The save check: a number (box 1, trimmed) that another contact than `serial` (總序, 0 for a
// contact being added) holds is refused with the duplicate check's own message and a second
// "編號重複"; then the widths.  Returns -1 when the save may go on, else the box that refused
// it (1 for the number; the too-wide box after its message).
int SaveCheck_OTHER(const OtherBoxText& text, qint32 serial);

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
