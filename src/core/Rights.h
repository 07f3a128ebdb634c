// The rights check the record windows ask before adding, changing, deleting, reading,
// approving or printing.  Every user may do everything.
#pragma once

#include <QString>

// True: allowed.  `showMessage` asks for a refusal message; nothing is ever refused.
bool CheckRight(const QString& item, const QString& action, bool showMessage = false);
