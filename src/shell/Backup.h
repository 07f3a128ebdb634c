// Database backup: where the copy goes, the copy itself, and the reminder shown at exit.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>

namespace backup {

// The name of the copy in the backup folder (matched there without letter case).
extern const QString kBackupFileName;  // "tessarine.mdb"

// A folder as typed or stored: trimmed, "\" read as "/", ending in one "/".
// Empty, and the old default "C:\", mean the user's home folder.
QString BackupFolder(const QString& typed);

// The path of the copy inside the folder: an existing file whose name matches
// kBackupFileName without letter case, else folder + kBackupFileName.
QString BackupTarget(const QString& folder);
// Whether the folder holds a copy (name matched without letter case).
bool BackupExists(const QString& folder);

class BackupFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // The chosen folder itself is the fault (missing, the database's own folder and name, not
    // writable): the same backup fails again until the folder is changed.
    bool folderRefused = false;
};

// A failure of the chosen folder.
BackupFailed FolderRefused(const QString& text);

// The copy was stopped by the caller.
class BackupCancelled : public BackupFailed {
public:
    using BackupFailed::BackupFailed;
};

struct CopyOptions {
    int pagesPerStep = 256;   // copied between two calls of progress
    int lockWaitMs = 30000;   // how long a write lock held by another program is waited out
    // Called between steps and while waiting for a lock (done and total pages); false stops
    // the copy (BackupCancelled).  The caller keeps its window alive here.
    std::function<bool(int done, int total)> progress;
};

// Whether two paths name the same file (by identity: links and spellings count as one).
bool SameFile(const QString& a, const QString& b);
// Removes what a killed backup left beside target ("<name>.part" and its journal files).
void RemoveLeftovers(const QString& target);

// Copies the live SQLite database at source into target with SQLite's online backup, in
// steps: the copy is written beside the target under a temporary name and renamed over it
// only when complete, so a failed or stopped run leaves an earlier copy intact and no
// temporary file.  A target that is the database itself is refused.  Throws BackupFailed.
void CopyDatabase(const QString& source, const QString& target, const CopyOptions& options = {});

// The text stored in BackupDate, and the date read back from it (also accepts a bare
// "yyyy/m/d" date and one followed by other text after a blank).
QString FormatBackupDate(const QDateTime& when);
std::optional<QDate> ParseBackupDate(const QString& text);

// The question the exit sequence asks, or nothing when no backup is due.
//   backupDate, backDate: the settings BackupDate and BackDate as read;
//   copyExists: whether the backup folder (pack_path) holds a copy.
std::optional<QString> ReminderQuestion(const QString& backupDate, const QString& backDate,
                                        bool copyExists, const QDate& today);

}  // namespace backup
