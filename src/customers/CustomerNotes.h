// The completeness notes of the customer window: how to edit, and which important fields of
// the customer shown are still empty.  Shown in the main window's help panel.
#pragma once

#include "records/BoxText.h"

#include <QString>
#include <functional>

// The notes text.  `boxText(n)` is the text of record box n; a box counts as empty only when
// its text is "" (blanks count as filled).  `contactRows` is the number of contact persons the
// customer has.  Every item is preceded by two line breaks (CR LF).
QString CustomerNotesText(bool editing, const BoxTextFn& boxText, int contactRows);
