// Process-wide globals fixed by start-up and read by every window.
#pragma once

#include "platform/db/Db.h"
#include <QString>

extern QString gDataPath;       // the data folder, a POSIX path ending in exactly one "/"
extern QString gDataPathCopy;   // copy of gDataPath taken at start-up, never changed
extern QString gProgramPath;    // the program folder (TESSARINE_HOME or the executable's folder), ending in "/"
extern QString gDatabaseFile;   // the database file's real path, resolved once (name matched without letter case)
extern short gLangOffset;       // 0 Traditional, 10000 Simplified
extern QString gComputerName;
extern QString gWinUserName;
extern const QString gCrLf;     // "\r\n"
extern bool gKeyinChinese;
extern QString gUserName;       // no sign-in: always empty
extern QString gTableSetName;   // the table the member window edits
extern QString gOtherFindWhere; // condition handed from the personal-contact find window
extern QString gCommandLine;    // the process's arguments joined by blanks, as typed
extern db::Connection gConn;    // the one shared connection
extern db::Connection gConnAlt; // declared, never opened: every use raises "connection closed"

// Switches the language: gLangOffset (0 Traditional, 10000 Simplified) and Qt's own texts with it.
void UseLanguage(short offset);

// The string-table text of id + gLangOffset ("" with a warning when the id has no text).
QString LoadResString(int id);

// Does nothing; some windows call it where the original did (with or without an argument).
void DoNothing();
template <class T>
void DoNothing(const T&) {}
