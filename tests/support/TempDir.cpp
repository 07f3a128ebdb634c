#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace testsupport {

TempDir::TempDir() : dir_(QDir::tempPath() + QStringLiteral("/tess-XXXXXX"))
{
    if (!dir_.isValid())
        ADD_FAILURE() << "cannot create a temporary folder: " << dir_.errorString().toStdString();
}

QString TempDir::path() const { return dir_.path() + u'/'; }
QString TempDir::file(const QString& name) const { return path() + name; }

QString TempDir::write(const QString& name, const QByteArray& bytes) const
{
    const QString full = file(name);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << full.toStdString();
    return full;
}

QByteArray TempDir::read(const QString& name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << file(name).toStdString();
        return {};
    }
    return f.readAll();
}

bool TempDir::exists(const QString& name) const { return QFileInfo::exists(file(name)); }

}  // namespace testsupport
