// A fatal signal leaves a note (time, signal, backtrace) and still ends the program by that
// signal.  Each case runs in a child process of its own.
#include "core/CrashNote.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <execinfo.h>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::TempDir;

namespace {

enum class End { NullWrite, Abort, Raise };

struct Case {
    int signal;
    const char* name;
    End end;
};

// Ends the child as the case says; returns only if it did not end.
[[gnu::noinline]] void EndThisProcess(const Case& c)
{
    switch (c.end) {
    case End::NullWrite: {
        // An address in the unmapped first page (not null, which the sanitizers catch first).
        volatile std::uintptr_t at = 16;
        *reinterpret_cast<volatile char*>(at) = 1;
        break;
    }
    case End::Abort:
        std::abort();
    case End::Raise:
        ::raise(c.signal);
        break;
    }
}

// Runs a child that installs the note and ends as the case says; the signal that ended it
// (0 when it exited).
int RunChild(const Case& c, const QByteArray& notePath, const QByteArray& fallbackPath)
{
    void* frame[1];
    ::backtrace(frame, 1);  // the unwinder loaded before the fork, not in the child
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(c.signal, SIG_DFL);
        InstallCrashNote(notePath, fallbackPath);
        EndThisProcess(c);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

QString ReadNote(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(CrashNote, EveryFatalSignalIsNotedAndStillEndsTheProgram)
{
    const Case cases[] = {
        {SIGSEGV, "SIGSEGV", End::NullWrite},
        {SIGABRT, "SIGABRT", End::Abort},
        {SIGBUS, "SIGBUS", End::Raise},
        {SIGFPE, "SIGFPE", End::Raise},
        {SIGILL, "SIGILL", End::Raise},
    };
    const QString name = QString::fromLatin1(kCrashNoteName);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir program, fallback;
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        EXPECT_EQ(RunChild(c, QFile::encodeName(program.file(name)), QFile::encodeName(fallback.file(name))), c.signal);
        const QDateTime after = QDateTime::currentDateTimeUtc().addSecs(1);
        const QString note = ReadNote(program.file(name));
        EXPECT_FALSE(fallback.exists(name));

        // First line: when, which program; then the signal; then the frames.
        const QStringList lines = note.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 4) << note.toStdString();
        const QRegularExpression head(QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d) UTC  Tessarine \\d+\\.\\d+\\.\\d+  pid \\d+$"));
        const auto m = head.match(lines[0]);
        ASSERT_TRUE(m.hasMatch()) << lines[0].toStdString();
        QDateTime when = QDateTime::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        when.setTimeSpec(Qt::UTC);
        EXPECT_GE(when, before);
        EXPECT_LE(when, after);
        EXPECT_EQ(lines[1], QStringLiteral("程式因信號 %1 (%2) 而結束，以下是當時的呼叫堆疊：").arg(c.signal).arg(QLatin1String(c.name)));
        const QStringList frames = lines.mid(2);
        EXPECT_TRUE(std::all_of(frames.begin(), frames.end(), [](const QString& f) { return f.endsWith(QLatin1Char(']')); }))
            << note.toStdString();
        EXPECT_TRUE(std::any_of(frames.begin(), frames.end(), [](const QString& f) { return f.contains(QLatin1String("test_core(")); }))
            << note.toStdString();
    }
}

TEST(CrashNote, AProgramFolderThatCannotBeWrittenSendsTheNoteToTheFallback)
{
    TempDir fallback;
    const QString name = QString::fromLatin1(kCrashNoteName);
    const QByteArray nowhere = QFile::encodeName(fallback.file(QStringLiteral("no such folder/") + name));
    EXPECT_EQ(RunChild({SIGSEGV, "SIGSEGV", End::Raise}, nowhere, QFile::encodeName(fallback.file(name))), SIGSEGV);
    EXPECT_TRUE(ReadNote(fallback.file(name)).contains(QLatin1String("(SIGSEGV)")));

    // A second end is added below the first.
    EXPECT_EQ(RunChild({SIGABRT, "SIGABRT", End::Abort}, nowhere, QFile::encodeName(fallback.file(name))), SIGABRT);
    const QString both = ReadNote(fallback.file(name));
    EXPECT_LT(both.indexOf(QLatin1String("(SIGSEGV)")), both.indexOf(QLatin1String("(SIGABRT)")));
}

// Notes pile up in the program folder too: an earlier note is never written over.
TEST(CrashNote, ASecondEndIsAddedBelowTheFirst)
{
    TempDir program, fallback;
    const QString name = QString::fromLatin1(kCrashNoteName);
    const QByteArray note = QFile::encodeName(program.file(name));
    const QByteArray other = QFile::encodeName(fallback.file(name));
    program.write(name, "kept from before\n");
    EXPECT_EQ(RunChild({SIGSEGV, "SIGSEGV", End::Raise}, note, other), SIGSEGV);
    EXPECT_EQ(RunChild({SIGABRT, "SIGABRT", End::Abort}, note, other), SIGABRT);
    const QString all = ReadNote(program.file(name));
    EXPECT_TRUE(all.startsWith(QLatin1String("kept from before\n"))) << all.toStdString();
    EXPECT_LT(all.indexOf(QLatin1String("(SIGSEGV)")), all.indexOf(QLatin1String("(SIGABRT)")));
    EXPECT_GT(all.indexOf(QLatin1String("(SIGSEGV)")), 0);
    EXPECT_FALSE(fallback.exists(name));
}

}  // namespace
