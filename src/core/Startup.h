// The start-up sequence: single copy, data folder, language, names, the shared connection,
// the schema passes behind the splash, the self-update checks and the main window.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// What start-up reaches through parts built elsewhere.  A missing hook is skipped.
struct StartupHooks {
    // The schema passes, in this order; each writes its progress with SetSplashMessage.
    std::function<void()> checkFileVer;
    std::function<void()> checkFactoryTables;
    std::function<void()> checkMemberTable;
    // Loads the main window hidden (its load handling runs now) and returns it.
    std::function<QWidget*()> loadMainWindow;
    // The two self-update checks; each returns false when the process is ending.
    std::function<bool()> finishSelfUpdate;
    std::function<bool()> installNewVersion;
    // Shows the main window (default: show()).
    std::function<void(QWidget*)> showMainWindow;
    std::function<void()> checkVersionReminder;
};

// The process's surroundings.  Message boxes, the clock and the end of the process go
// through the ui seams.
struct StartupEnv {
    QString programFolder;  // "" = TESSARINE_HOME, else the executable's folder
    QStringList arguments;  // command-line words after the program's name
    // Starts a process detached (nullptr = QProcess::startDetached); used by StartSuccessorProcess.
    std::function<bool(const QString& program, const QStringList& args)> startProcess;
};

// Runs the start-up in its fixed order.  True when the program goes on in the event loop with
// the main window shown; false when the process has been ended (through ui::EndProcess).
bool SubMain(const StartupEnv& env, const StartupHooks& hooks);

// Fills gComputerName and gWinUserName ("" when a name cannot be read).
void GetWindowsInfo();

// The data folder rule: App_path (trimmed) when that folder holds "tessarine.mdb" (letter case
// ignored), else the program folder; both as folder texts ending in "/".
QString DataFolderFor(const QString& appPath, const QString& programFolder);
// 0 when the numeric value of the LanguageID text is 0 (empty and non-numeric count as 0), else 10000.
short LanguageOffsetFor(const QString& languageId);

// Where the single-copy lock of a program folder lives: in the folder, or, when nobody may
// write there, in the user's runtime folder under a name made from the program folder.
QString SingleCopyLockPath(const QString& programFolder);
// Takes the single-copy lock of the program folder.  False when another copy holds it; a lock
// that cannot be made at all is said in a message and the program starts.
bool AcquireSingleCopyLock(const QString& programFolder);
// Releases the lock (before a successor process starts, and at the end of tests).
void ReleaseSingleCopyLock();
// Releases the single-copy lock, then starts the program detached with the arguments.
bool StartSuccessorProcess(const QString& program, const QStringList& args);
