#include "platform/shell/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QUrl>
#include <pwd.h>
#include <unistd.h>

namespace shellsvc {

namespace {
Recorder* gRecorder = nullptr;
}

Recorder::Recorder() : previous_(gRecorder) { gRecorder = this; }
Recorder::~Recorder() { gRecorder = previous_; }

bool OpenUrl(const QString& url)
{
    if (gRecorder) {
        gRecorder->calls.push_back({ShellCall::Url, url, {}, {}});
        return gRecorder->result;
    }
    const QUrl u = QUrl::fromUserInput(url.trimmed());
    return u.isValid() && QDesktopServices::openUrl(u);
}

bool OpenFile(const QString& path)
{
    if (gRecorder) {
        gRecorder->calls.push_back({ShellCall::File, path, {}, {}});
        return gRecorder->result;
    }
    return QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool StartDetached(const QString& program, const QStringList& args, const QString& workingDir)
{
    if (gRecorder) {
        gRecorder->calls.push_back({ShellCall::Process, program, args, workingDir});
        return gRecorder->result;
    }
    return QProcess::startDetached(program, args, workingDir);
}

QString ComputerName()
{
    const QString host = QSysInfo::machineHostName();
    const qsizetype dot = host.indexOf(u'.');
    return dot > 0 ? host.left(dot) : host;
}

QString LoginName()
{
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    for (const char* var : {"USER", "LOGNAME"})
        if (const QString v = qEnvironmentVariable(var); !v.isEmpty())
            return v;
    return {};
}

}  // namespace shellsvc
