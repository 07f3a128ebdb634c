// The start-up argument "digit/text" that opens a record window with a text to find.
#pragma once

#include <QString>

struct FindRequest {
    int window = 0;  // 1 customers, 2 vendors, 3 personal contacts; 0 = nothing to open
    QString text;    // everything after the first "/", trimmed
};

// The command line is trimmed; without a "/" nothing is requested.  The part before the
// first "/" must be a whole number, else nothing is requested either.
FindRequest ParseFindRequest(const QString& commandLine);

// The command line that opens the customer window for a quick find, with nothing typed yet.
inline const QString kQuickSearchCommandLine = QStringLiteral("1/");
