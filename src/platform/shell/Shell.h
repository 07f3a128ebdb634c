// Handing things to the system: open a web address or file with the user's program, start a
// process on its own, and the computer and login names.  Tests install a Recorder so nothing
// is really opened or started.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace shellsvc {

// Opens a web address ("http://…", "mailto:…") with the system's program.  Returns false when
// nothing could open it.
bool OpenUrl(const QString& url);
// Opens a local file or folder with the system's program.
bool OpenFile(const QString& path);
// Starts program with args in workingDir ("" = the current folder), not waiting for it.
bool StartDetached(const QString& program, const QStringList& args = {}, const QString& workingDir = QString());

// The computer's name (the host name without its domain) and the user's login name.
QString ComputerName();
QString LoginName();

// ---- The test seam -------------------------------------------------------------------------

struct ShellCall {
    enum Kind { Url, File, Process };
    Kind kind = Url;
    QString target;      // the address, file or program
    QStringList args;    // the process's arguments
    QString workingDir;  // the process's working folder
};

// While installed, every call above is recorded instead of carried out and answers `result`.
class Recorder {
public:
    Recorder();   // installs itself
    ~Recorder();  // restores the previous one
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    std::vector<ShellCall> calls;
    bool result = true;

private:
    Recorder* previous_;
};

}  // namespace shellsvc
