// A temporary folder removed at the end of the test, with helpers to place files in it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

class TempDir {
public:
    TempDir();
    // The folder, ending in "/".
    QString path() const;
    // path() + name.
    QString file(const QString& name) const;
    // Writes bytes to path() + name (creating sub-folders) and returns the full path.
    QString write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;

private:
    QTemporaryDir dir_;
};

}  // namespace testsupport
