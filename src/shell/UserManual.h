// The user manual: shipped inside the program and copied into the program folder, where the
// help browser opens it.
#pragma once

#include <QString>

// The manual's place under the program folder.
inline const QString kUserManualPage = QStringLiteral("UserManu/index.html");
// Copies the manual shipped inside the program into programFolder/UserManu/ when it is not
// there yet.  Returns false when it is missing and could not be written.
bool InstallUserManual(const QString& programFolder);
