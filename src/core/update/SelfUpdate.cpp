#include "core/update/SelfUpdate.h"

#include "core/Globals.h"
#include "core/Startup.h"
#include "platform/ui/Ui.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <QThread>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace update {

namespace {

// Every build carries its version in this text; ReadFileVersion finds it in another build's
// file.  The text is made at compile time from the version constants.
constexpr char kMarkerPrefix[] = "@(#)Tessarine file version ";

constexpr int DigitCount(int v)
{
    int n = 1;
    for (; v >= 10; v /= 10)
        ++n;
    return n;
}

constexpr std::size_t kMarkerSize = sizeof(kMarkerPrefix) - 1 + DigitCount(kVersionMajor) + 1
    + DigitCount(kVersionMinor) + 1 + DigitCount(kVersionRevision) + 1;

constexpr std::array<char, kMarkerSize> MakeMarker()
{
    std::array<char, kMarkerSize> out{};
    std::size_t at = 0;
    for (std::size_t i = 0; i + 1 < sizeof(kMarkerPrefix); ++i)
        out[at++] = kMarkerPrefix[i];
    const int parts[3] = {kVersionMajor, kVersionMinor, kVersionRevision};
    for (int p = 0; p < 3; ++p) {
        const int n = DigitCount(parts[p]);
        for (int i = n - 1, v = parts[p]; i >= 0; --i, v /= 10)
            out[at + i] = static_cast<char>('0' + v % 10);
        at += n;
        out[at++] = p < 2 ? '.' : '\0';
    }
    return out;
}

[[gnu::used]] constexpr std::array<char, kMarkerSize> kMarker = MakeMarker();

// "12.3.456" followed by NUL, each part at most 65535.
std::optional<FileVersion> ParseVersion(QByteArrayView text)
{
    int parts[3] = {0, 0, 0};
    qsizetype i = 0;
    for (int p = 0; p < 3; ++p) {
        const qsizetype start = i;
        long v = 0;
        while (i < text.size() && i - start < 6 && text[i] >= '0' && text[i] <= '9')
            v = v * 10 + (text[i++] - '0');
        if (i == start || v > 0xFFFF)
            return std::nullopt;
        parts[p] = static_cast<int>(v);
        const char end = p < 2 ? '.' : '\0';
        if (i >= text.size() || text[i] != end)
            return std::nullopt;
        ++i;
    }
    return FileVersion{parts[0], parts[1], parts[2]};
}

// The file in folder whose name matches without regard to letter case ("" when none).
QString FindNoCase(const QString& folder, const QString& name)
{
    const QString exact = QDir(folder).filePath(name);
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& n : names)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(n);
    return {};
}

struct CopyFailed {
    QString description;
};

// Copies source over target through a temporary file beside the target that gets the
// execute bits and is then renamed over it.  The target is untouched when anything fails.
void CopyExecutable(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw CopyFailed{QStringLiteral("%1: %2").arg(source, in.errorString())};
    const QFileInfo to(target);
    QTemporaryFile out(to.absolutePath() + QStringLiteral("/.") + to.fileName() + QStringLiteral(".XXXXXX"));
    if (!out.open())
        throw CopyFailed{QStringLiteral("%1: %2").arg(target, out.errorString())};
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(buffer.data(), buffer.size());
        if (n < 0)
            throw CopyFailed{QStringLiteral("%1: %2").arg(source, in.errorString())};
        if (n == 0)
            break;
        if (out.write(buffer.constData(), n) != n)
            throw CopyFailed{QStringLiteral("%1: %2").arg(target, out.errorString())};
    }
    if (!out.flush() || ::fsync(out.handle()) != 0)  // on disk before it takes the target's name
        throw CopyFailed{QStringLiteral("%1: %2").arg(target, out.errorString())};
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                       | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                       | QFileDevice::ExeOther);
    out.close();
    if (std::rename(QFile::encodeName(out.fileName()).constData(),
                    QFile::encodeName(to.absoluteFilePath()).constData())
        != 0)
        throw CopyFailed{QStringLiteral("%1: %2").arg(target, QString::fromLocal8Bit(std::strerror(errno)))};
    out.setAutoRemove(false);
}

void Wait(const SelfUpdateEnv& env, int ms)
{
    if (env.wait)
        env.wait(ms);
    else
        WaitWithEvents(ms);
}

// Releases the lock and starts the successor, then ends this process.  A start that fails
// is reported the same way as a failed copy.
Outcome HandOver(const SelfUpdateEnv& env, const QString& program, const QString& word)
{
    if (env.releaseSingleCopyLock)
        env.releaseSingleCopyLock();
    const QStringList args{word};
    const bool started = env.start ? env.start(program, args) : QProcess::startDetached(program, args);
    if (!started)
        ui::MsgBox(QStringLiteral("%1: 無法啟動程式").arg(program));
    ui::EndProcess(started ? 0 : 1);
    return Outcome::Ended;
}

Outcome Fail(const CopyFailed& e)
{
    ui::MsgBox(e.description);
    ui::EndProcess(1);
    return Outcome::Ended;
}

}  // namespace

std::optional<FileVersion> ReadFileVersion(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = f.size();
    if (size <= 0)
        return std::nullopt;
    QByteArray owned;
    QByteArrayView data;
    if (uchar* mapped = f.map(0, size)) {
        data = QByteArrayView(reinterpret_cast<const char*>(mapped), size);
    } else {
        owned = f.readAll();
        data = owned;
    }
    const QByteArrayView prefix(kMarkerPrefix, sizeof(kMarkerPrefix) - 1);
    for (qsizetype at = data.indexOf(prefix); at >= 0; at = data.indexOf(prefix, at + 1)) {
        if (auto v = ParseVersion(data.sliced(at + prefix.size())))
            return v;
    }
    return std::nullopt;
}

bool IsNewerFileVersion(const QString& path)
{
    if (path.trimmed().isEmpty())
        return false;
    const std::optional<FileVersion> v = ReadFileVersion(path);
    if (!v) {
        ui::MsgBox(QStringLiteral("Not a 32-bit executable!"));
        return false;
    }
    return *v > kOwnVersion;
}

int HiWordHex(qint32 value)
{
    return static_cast<qint16>((static_cast<quint32>(value) >> 16) & 0xFFFF);
}

int LoWordHex(qint32 value)
{
    return static_cast<qint16>(static_cast<quint32>(value) & 0xFFFF);
}

QString ProgramExecutable(const QString& runningFile, const QString& programFolder)
{
    if (QFileInfo(runningFile).fileName().compare(kUpdaterName, Qt::CaseInsensitive) == 0)
        return QDir(programFolder).filePath(kExecutableName);
    return runningFile;
}

void WaitWithEvents(int ms)
{
    QElapsedTimer t;  // monotonic: a wait across midnight still ends
    t.start();
    while (t.elapsed() < ms) {
        ui::DoEvents();
        QThread::msleep(10);
    }
}

SelfUpdateEnv SelfUpdateEnvFromStartup(const QStringList& arguments)
{
    SelfUpdateEnv env;
    env.commandLine = arguments.join(QLatin1Char(' '));
    env.programFolder = gProgramPath;
    env.dataFolder = gDataPath;
    env.programExecutable = ProgramExecutable(QCoreApplication::applicationFilePath(), gProgramPath);
    env.start = StartSuccessorProcess;
    env.releaseSingleCopyLock = ReleaseSingleCopyLock;
    return env;
}

bool FinishSelfUpdateHook(const QStringList& arguments)
{
    return FinishSelfUpdate(SelfUpdateEnvFromStartup(arguments)) == Outcome::GoOn;
}

bool InstallNewVersionHook(const QStringList& arguments)
{
    return InstallNewVersion(SelfUpdateEnvFromStartup(arguments)) == Outcome::GoOn;
}

Outcome FinishSelfUpdate(const SelfUpdateEnv& env)
{
    if (env.commandLine == QLatin1String("S")) {
        Wait(env, 3000);
        const QString found = FindNoCase(env.programFolder, kUpdaterName);
        const QString updater = found.isEmpty() ? QDir(env.programFolder).filePath(kUpdaterName) : found;
        try {
            CopyExecutable(updater, env.programExecutable);
        } catch (const CopyFailed& e) {
            return Fail(e);
        }
        return HandOver(env, env.programExecutable, QStringLiteral("S1"));
    }
    if (env.commandLine == QLatin1String("S1")) {
        Wait(env, 3000);
        const QString updater = FindNoCase(env.programFolder, kUpdaterName);
        if (!updater.isEmpty())
            QFile::remove(updater);
        ui::MsgBox(QStringLiteral("更新完畢 !"));
    }
    return Outcome::GoOn;
}

Outcome InstallNewVersion(const SelfUpdateEnv& env)
{
    const QString dropped = FindNoCase(env.dataFolder, kDropName);
    if (dropped.isEmpty())
        return Outcome::GoOn;
    if (!IsNewerFileVersion(dropped))
        return Outcome::GoOn;
    if (ui::MsgBox(QStringLiteral("有新版本的程式,是否更新"), ui::Buttons::YesNo) != ui::Answer::Yes)
        return Outcome::GoOn;
    const QString updater = QDir(env.programFolder).filePath(kUpdaterName);
    try {
        CopyExecutable(dropped, updater);
    } catch (const CopyFailed& e) {
        return Fail(e);
    }
    return HandOver(env, updater, QStringLiteral("S"));
}

}  // namespace update
