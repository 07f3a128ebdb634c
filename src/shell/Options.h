// What the options window writes besides the settings: the default pick lists it offers, and
// the autostart entry that starts the quick search at log-in.
#pragma once

#include <QString>

// The autostart entry that starts the program at log-in:
// $XDG_CONFIG_HOME/autostart/ (default ~/.config/autostart/) and its file.
QString AutostartFolder();
QString QuickSearchAutostartFile();
// The entry's text: the program at path started on the data of programFolder, in the
// customer window's quick find.
QString QuickSearchDesktopEntry(const QString& program, const QString& programFolder);

// Default pick lists, one entry per line (CR LF between lines).
QString DefaultCustomerGrades();
QString DefaultEmploymentKinds();
