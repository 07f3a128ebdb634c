// The number check that refuses saving a personal contact.  No widget here.
#pragma once

#include <QString>

// The save's number check: a number (trimmed) that another contact than `serial` (總序, 0 for a
// contact being added) holds is refused with the duplicate check's own message ("編號重複" and
// the number) and a second "編號重複".  True = refuse.
bool OtherNumberTaken(const QString& number, qint32 serial);
