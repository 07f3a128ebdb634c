// Folder and file-name helpers shared by start-up, the settings store and the tools.
//
// Folder texts are POSIX paths ending in exactly one "/".  Names of the program's own files
// are matched without regard to letter case ("tessarine.mdb" finds "Tessarine.MDB").
#pragma once

#include <QString>

// The folder text: "\" read as "/", one "/" appended, every run of "/" reduced to one.
QString FolderText(const QString& folder);
// The folder text followed by the name, with exactly one "/" between them.
QString JoinPath(const QString& folder, const QString& name);
// The real path of the file `name` in `folder`, letter case ignored (an exact match wins);
// "" when the folder holds no such ordinary file.
QString FindFileNoCase(const QString& folder, const QString& name);
// FindFileNoCase when found, else JoinPath(folder, name): the path to read or to create.
QString ResolveFileNoCase(const QString& folder, const QString& name);
// The program folder: the environment variable TESSARINE_HOME when set, else the executable's folder.
QString DefaultProgramFolder();
