// Writing the string table of the current language into a text file.
#pragma once

#include <QString>

// Writes one line per string-table id 1..1000 that has a text: id + 10000, a comma and the
// text of id + offset in double quotes, CR LF; in code page 950 (characters it cannot
// hold become "?").  Returns the number of lines; throws std::runtime_error when the file
// cannot be written.
int DumpStringTable(const QString& path, int offset);
