#include "shell/UserManual.h"

#include "core/Paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

bool InstallUserManual(const QString& programFolder)
{
    const QString source = QStringLiteral(":/manual/UserManu");
    const QString target = JoinPath(programFolder, QStringLiteral("UserManu"));
    bool ok = true;
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = target + from.mid(source.size());
        if (QFileInfo::exists(to))
            continue;
        const QString temp = to + QStringLiteral(".part");
        QFile::remove(temp);
        if (!QDir().mkpath(QFileInfo(to).absolutePath()) || !QFile::copy(from, temp)) {
            ok = false;
            continue;
        }
        QFile::setPermissions(temp, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                        | QFileDevice::ReadOther);
        if (!QFile::rename(temp, to)) {
            QFile::remove(temp);
            ok = false;
        }
    }
    return ok;
}
