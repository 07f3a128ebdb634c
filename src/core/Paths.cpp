#include "core/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QString FolderText(const QString& folder)
{
    QString s = folder;
    s.replace(QLatin1Char('\\'), QLatin1Char('/'));
    s += QLatin1Char('/');
    static const QRegularExpression runs(QStringLiteral("/{2,}"));
    s.replace(runs, QStringLiteral("/"));
    return s;
}

QString JoinPath(const QString& folder, const QString& name)
{
    QString n = name;
    while (n.startsWith(QLatin1Char('/')) || n.startsWith(QLatin1Char('\\')))
        n.remove(0, 1);
    return FolderText(folder) + n;
}

QString FindFileNoCase(const QString& folder, const QString& name)
{
    const QString exact = JoinPath(folder, name);
    if (QFileInfo(exact).isFile())
        return exact;
    QDir dir(FolderText(folder));
    if (!dir.exists())
        return {};
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return FolderText(folder) + entry;
    }
    return {};
}

QString ResolveFileNoCase(const QString& folder, const QString& name)
{
    const QString found = FindFileNoCase(folder, name);
    return found.isEmpty() ? JoinPath(folder, name) : found;
}

QString DefaultProgramFolder()
{
    const QString home = qEnvironmentVariable("TESSARINE_HOME");
    if (!home.trimmed().isEmpty())
        return FolderText(QDir(home).absolutePath());
    return FolderText(QCoreApplication::applicationDirPath());
}
