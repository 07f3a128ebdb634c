// The settings store: one small key/value text file per section.
//
// Location 0: the program folder; location 2 (or any other with a folder given): that folder.
#pragma once

#include <QString>

// The trimmed value of the first line whose key matches exactly; "" when the file or key is missing.
QString ReadSetting(const QString& key, const QString& section, int location = 0,
                    const QString& folder = QString());
// Stores the value unchanged under the key, creating the file when missing.
void WriteSetting(const QString& key, const QString& value, const QString& section, int location = 0,
                  const QString& folder = QString());
bool FileExists(const QString& path);
