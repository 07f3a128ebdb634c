#include "shell/Options.h"

#include "core/Globals.h"
#include "core/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

// A text for the Exec key of a desktop entry: the program quoted, then the entry's own escapes.
QString ExecQuoted(const QString& program)
{
    QString q;
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            q += u'\\';
        q += c;
    }
    q = u'"' + q + u'"';
    q.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    q.replace(QLatin1String("%"), QLatin1String("%%"));
    return q;
}

}  // namespace

QString DefaultCustomerGrades()
{
    QStringList lines;
    for (int id = 298; id <= 302; ++id)
        lines << LoadResString(id);
    return lines.join(gCrLf);
}

QString DefaultEmploymentKinds()
{
    return QStringList{QStringLiteral("正職職員"), QStringLiteral("約聘人員"), QStringLiteral("臨時人員")}.join(gCrLf);
}

QString AutostartFolder()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return JoinPath(config, QStringLiteral("autostart")) + u'/';
}

QString QuickSearchAutostartFile()
{
    return AutostartFolder() + QStringLiteral("tessarine-Tsrne.desktop");
}

QString QuickSearchDesktopEntry(const QString& program)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=快速查詢\n"
                          "Exec=%1\n"
                          "Path=%2\n"
                          "Terminal=false\n")
        .arg(ExecQuoted(program), QFileInfo(program).absolutePath());
}
