#include "shell/Options.h"

#include "core/Globals.h"
#include "core/Paths.h"
#include "shell/CommandLine.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

// A value of a desktop entry's string key: its own escapes for backslash and control characters.
QString EntryValue(QString text)
{
    text.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    text.replace(QLatin1String("\n"), QLatin1String("\\n"));
    text.replace(QLatin1String("\t"), QLatin1String("\\t"));
    text.replace(QLatin1String("\r"), QLatin1String("\\r"));
    return text;
}

// One argument of the Exec key: quoted, with the quoting's own escapes, then as a value.
QString ExecArgument(const QString& argument)
{
    QString q;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            q += u'\\';
        q += c;
    }
    return EntryValue(u'"' + q + u'"').replace(QLatin1String("%"), QLatin1String("%%"));
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

QString QuickSearchDesktopEntry(const QString& program, const QString& programFolder)
{
    // The program runs on the data of the folder it was set up from, whatever the session's
    // environment says.
    const QString folder = QDir(programFolder).absolutePath();
    const QStringList command{QStringLiteral("env"), QStringLiteral("TESSARINE_HOME=") + folder, program,
                              kQuickSearchCommandLine};
    QStringList exec{command.first()};
    for (qsizetype i = 1; i < command.size(); ++i)
        exec << ExecArgument(command[i]);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=快速查詢\n"
                          "Exec=%1\n"
                          "Path=%2\n"
                          "Terminal=false\n")
        .arg(exec.join(u' '), EntryValue(folder));
}
