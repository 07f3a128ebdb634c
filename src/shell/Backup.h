// Database backup: where the copy goes, the copy itself, and the reminder shown at exit.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
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
};

// Copies the live SQLite database at source into target with SQLite's online backup:
// the copy is written beside the target under a temporary name and renamed over it only
// when complete, so a failed run leaves an earlier copy intact.  Throws BackupFailed.
void CopyDatabase(const QString& source, const QString& target);

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
