// The settings store: one small key/value text file per section ("<section>.dat").
//
// Location 0: the program folder; location 2: the data folder.  A folder given explicitly
// wins over the location.  Records are `"key","value"` lines (CR LF); a value may hold line
// breaks inside its quotes, and a double quote inside a key or value is written doubled.
// Files are written as UTF-8 and read as UTF-8, or as code page 950 when not valid UTF-8.
#pragma once

#include <QString>
#include <functional>

// The trimmed value of the first record whose key matches exactly; "" when the file or key is missing.
QString ReadSetting(const QString& key, const QString& section, int location = 0,
                    const QString& folder = QString());
// Stores the value unchanged under the key (every record holding the key, else appended),
// creating the file when missing.  The ".dat" file is replaced atomically; when a key was
// replaced, the scratch copy "<section>.new" stays beside it.  Errors ask Abort/Retry/Ignore
// (title "環境設定"); the old file is never lost.
void WriteSetting(const QString& key, const QString& value, const QString& section, int location = 0,
                  const QString& folder = QString());
// True when the path names an existing, non-hidden ordinary file (name matched without letter case).
bool FileExists(const QString& path);

// The path of a section's ".dat" file for a location (resolved without letter case).
QString SettingsFilePath(const QString& section, int location = 0, const QString& folder = QString());

// Test seam: the rename that puts a freshly written file in place (nullptr = the real one).
// Returns true on success, else false with the reason in *error.
using SettingsRenameFn = std::function<bool(const QString& from, const QString& to, QString* error)>;
void SetSettingsRenameForTest(SettingsRenameFn rename);
