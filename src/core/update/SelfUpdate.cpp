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

// Copies source over target as ReplaceExecutable does; throws CopyFailed.
void CopyExecutable(const QString& source, const QString& target, const FileVersion& than)
{
    const QString failed = ReplaceExecutable(
        target,
        [&](QFile& out) -> QString {
            QFile in(source);
            if (!in.open(QIODevice::ReadOnly))
                return QStringLiteral("%1: %2").arg(source, in.errorString());
            QByteArray buffer(1 << 20, Qt::Uninitialized);
            for (;;) {
                const qint64 n = in.read(buffer.data(), buffer.size());
                if (n < 0)
                    return QStringLiteral("%1: %2").arg(source, in.errorString());
                if (n == 0)
                    return {};
                if (out.write(buffer.constData(), n) != n)
                    return QStringLiteral("%1: %2").arg(target, out.errorString());
            }
        },
        than);
    if (!failed.isEmpty())
        throw CopyFailed{failed};
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

namespace {

// Whether the bytes are a whole ELF executable: every part its headers place in the file lies
// inside it, so a copy or download cut short anywhere after the first bytes is refused.
bool IsWholeElf(QByteArrayView d)
{
    if (d.size() < 52 || !d.startsWith(QByteArrayView("\x7f" "ELF", 4)))
        return false;
    const bool wide = d[4] == 2;
    const bool little = d[5] == 1;
    if ((d[4] != 1 && !wide) || (d[5] != 1 && d[5] != 2))
        return false;
    const quint64 size = quint64(d.size());
    auto num = [&](quint64 at, int bytes, quint64* out) {
        if (at + quint64(bytes) > size)
            return false;
        quint64 v = 0;
        for (int i = 0; i < bytes; ++i) {
            const quint64 b = quint8(d[qsizetype(at) + (little ? bytes - 1 - i : i)]);
            v = (v << 8) | b;
        }
        *out = v;
        return true;
    };
    const int word = wide ? 8 : 4;
    quint64 phoff = 0, shoff = 0, phent = 0, phnum = 0, shent = 0, shnum = 0;
    if (!num(wide ? 32 : 28, word, &phoff) || !num(wide ? 40 : 32, word, &shoff) || !num(wide ? 54 : 42, 2, &phent)
        || !num(wide ? 56 : 44, 2, &phnum) || !num(wide ? 58 : 46, 2, &shent) || !num(wide ? 60 : 48, 2, &shnum))
        return false;
    auto inside = [&](quint64 off, quint64 len) { return off <= size && len <= size - off; };
    if ((phnum && !inside(phoff, phent * phnum)) || (shnum && !inside(shoff, shent * shnum)))
        return false;
    for (quint64 i = 0; i < phnum; ++i) {
        const quint64 h = phoff + i * phent;
        quint64 off = 0, len = 0;
        if (!num(h + (wide ? 8 : 4), word, &off) || !num(h + (wide ? 32 : 16), word, &len) || !inside(off, len))
            return false;
    }
    for (quint64 i = 0; i < shnum; ++i) {
        const quint64 h = shoff + i * shent;
        quint64 type = 0, off = 0, len = 0;
        if (!num(h + 4, 4, &type) || !num(h + (wide ? 24 : 16), word, &off) || !num(h + (wide ? 32 : 20), word, &len))
            return false;
        if (type != 8 /* no bits in the file */ && !inside(off, len))
            return false;
    }
    return true;
}

}  // namespace

QString VersionString(const FileVersion& v)
{
    return QStringLiteral("%1.%2.%3").arg(v.Major).arg(v.Minor).arg(v.Revision);
}

QString ReplaceExecutable(const QString& target, const std::function<QString(QFile& out)>& fill, const FileVersion& than)
{
    const QFileInfo to(target);
    QTemporaryFile out(to.absolutePath() + QStringLiteral("/.") + to.fileName() + QStringLiteral(".XXXXXX"));
    if (!out.open())
        return QStringLiteral("%1: %2").arg(target, out.errorString());
    if (QString failed = fill(out); !failed.isEmpty())
        return failed;
    if (!out.flush() || ::fsync(out.handle()) != 0)  // on disk before it takes the target's name
        return QStringLiteral("%1: %2").arg(target, out.errorString());
    // Nothing takes the target's name, nor is started, unless it is a whole Tessarine build
    // newer than the one it replaces.
    const std::optional<FileVersion> v = ReadFileVersion(out.fileName());
    if (!v)
        return QStringLiteral("%1: 不是完整的 Tessarine 程式檔，未安裝。").arg(target);
    if (!(*v > than))
        return QStringLiteral("%1: 版本 %2 並不比 %3 新，未安裝。").arg(target, VersionString(*v), VersionString(than));
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                       | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                       | QFileDevice::ExeOther);
    out.close();
    if (std::rename(QFile::encodeName(out.fileName()).constData(), QFile::encodeName(to.absoluteFilePath()).constData()) != 0)
        return QStringLiteral("%1: %2").arg(target, QString::fromLocal8Bit(std::strerror(errno)));
    out.setAutoRemove(false);
    return {};
}

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
    if (!IsWholeElf(data))
        return std::nullopt;
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
            // Only a newer build replaces the program.
            CopyExecutable(updater, env.programExecutable, ReadFileVersion(env.programExecutable).value_or(FileVersion{}));
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
        // Done only when the program file in place is the build now running.
        const std::optional<FileVersion> installed = ReadFileVersion(env.programExecutable);
        if (installed == env.runningVersion)
            ui::MsgBox(QStringLiteral("更新完畢 !"));
        else
            ui::MsgBox(QStringLiteral("更新未完成: %1 的版本是 %2，執行中的是 %3。")
                           .arg(env.programExecutable, installed ? VersionString(*installed) : QStringLiteral("?"),
                                VersionString(env.runningVersion)));
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
        CopyExecutable(dropped, updater, env.runningVersion);
    } catch (const CopyFailed& e) {
        return Fail(e);
    }
    return HandOver(env, updater, QStringLiteral("S"));
}

}  // namespace update
