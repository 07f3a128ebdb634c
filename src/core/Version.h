// The program's version, compiled in once.
#pragma once

#include <QString>

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 2;
inline constexpr int kVersionRevision = 146;

// "major.minor.revision"
inline QString VersionText()
{
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}
