// The note a fatal signal leaves behind: when the program is ended by SIGSEGV, SIGABRT, SIGBUS,
// SIGFPE or SIGILL, the time, the signal and a backtrace are appended to kCrashNoteName in the
// program folder (in the fallback folder when the program folder cannot be written), and the
// signal then ends the program as it would have without the note.
#pragma once

#include <QByteArray>
#include <QString>

inline constexpr const char* kCrashNoteName = "tessarine-crash.log";

// Installs the handler for the five signals; notePath and fallbackPath are the files written,
// in the file system's encoding.  Safe to call again (the paths are replaced).
void InstallCrashNote(const QByteArray& notePath, const QByteArray& fallbackPath);

// The program's own installation: the note in the program folder, else in the runtime folder
// (the temporary folder when there is none).
void InstallCrashNote();
