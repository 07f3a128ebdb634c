// Self-update: the program replaces its own executable in two hand-overs between copies of
// itself, and reads the version of another executable from the marker every build carries.
//
//   old program   finds a newer "TESSARINE.exe" in the data folder, copies it to "UPDATE.EXE"
//                 in the program folder and starts "UPDATE.EXE S"; it ends.
//   UPDATE.EXE S  waits 3 s, copies itself over the program's executable, starts it with "S1";
//                 it ends.
//   program S1    waits 3 s, deletes "UPDATE.EXE", shows "更新完畢 !" and carries on.
//
// Each copy is written to a temporary file beside its target, given the execute bits and
// renamed over the target (a running executable cannot be overwritten in place).  The
// single-copy lock is released before a successor starts, so its start-up is not refused.
#pragma once

#include "core/Version.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// An executable's version: major.minor.revision.
struct FileVersion {
    int Major = 0;
    int Minor = 0;
    int Revision = 0;
    auto operator<=>(const FileVersion&) const = default;
};

inline constexpr FileVersion kOwnVersion{kVersionMajor, kVersionMinor, kVersionRevision};

namespace update {

// What the hand-over needs from the running process; start-up fills it in.
struct SelfUpdateEnv {
    QString commandLine;        // the whole command line after the program's name
    QString programFolder;      // ends in "/"
    QString dataFolder;         // ends in "/"
    QString programExecutable;  // the program's executable file (see ProgramExecutable)
    // Starts a program detached; false when it cannot be started.
    std::function<bool(const QString& program, const QStringList& args)> start;
    // Releases the single-copy lock; called before the successor starts (may be empty).
    std::function<void()> releaseSingleCopyLock;
    // Waits so many milliseconds while the window system keeps running (empty: WaitWithEvents).
    std::function<void(int ms)> wait;
    // The version of the running build.
    FileVersion runningVersion = kOwnVersion;
};

enum class Outcome { GoOn, Ended };  // Ended: ui::EndProcess was called, start-up stops here

// "S" and "S1" finish a replacement (both end the process or show "更新完畢 !");
// any other command line returns GoOn at once.
Outcome FinishSelfUpdate(const SelfUpdateEnv& env);
// Offers a newer "TESSARINE.exe" found in the data folder and hands over to "UPDATE.EXE".
Outcome InstallNewVersion(const SelfUpdateEnv& env);

// True when the executable at path carries a newer version than the running program.
// No version marker in the file (or no such file): "Not a 32-bit executable!" and false.
bool IsNewerFileVersion(const QString& path);
// The version in the file's marker, if it is a whole executable (every part its headers
// place in the file is there: nothing cut short) and carries one.
std::optional<FileVersion> ReadFileVersion(const QString& path);
QString VersionString(const FileVersion& v);  // "2.2.146"

// Writes target anew through a temporary file beside it: `fill` writes the bytes (returning ""
// or why it failed); the result must be a whole Tessarine executable newer than `than`.  Only
// then does it get the execute bits and take the target's name.  Returns "" when done, else
// why not; the target is then untouched and the temporary file gone.
QString ReplaceExecutable(const QString& target, const std::function<QString(QFile& out)>& fill, const FileVersion& than);

// The high and low 16 bits of a 32-bit value.
int HiWordHex(qint32 value);
int LoWordHex(qint32 value);

// The program's executable: the running file, or, when the running file is the updater
// copy "UPDATE.EXE", the executable "tessarine" in the program folder.
QString ProgramExecutable(const QString& runningFile, const QString& programFolder);

// A wait that keeps the window system running.
void WaitWithEvents(int ms);

// The hand-over's surroundings taken from start-up: its folders, the running executable,
// StartSuccessorProcess and ReleaseSingleCopyLock.  Call after the data folder is fixed.
SelfUpdateEnv SelfUpdateEnvFromStartup(const QStringList& arguments);
// Start-up's hooks: false when the process is ending.
bool FinishSelfUpdateHook(const QStringList& arguments);
bool InstallNewVersionHook(const QStringList& arguments);

// The file names of the hand-over.
inline const QString kDropName = QStringLiteral("TESSARINE.exe");  // in the data folder
inline const QString kUpdaterName = QStringLiteral("UPDATE.EXE");  // in the program folder
inline const QString kExecutableName = QStringLiteral("tessarine");

}  // namespace update
