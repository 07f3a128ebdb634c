// A text written in a test's source (UTF-8) as a QString.
#pragma once

#include <QString>

inline QString K(const char* s) { return QString::fromUtf8(s); }
