#include "core/CrashNote.h"

#include "core/Paths.h"
#include "core/Version.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <unistd.h>

// Everything the handler uses is prepared beforehand: it only formats into a buffer on its own
// stack and calls open, write, close, backtrace, sigaction and raise.
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
constexpr int kSignalCount = int(sizeof(kSignals) / sizeof(kSignals[0]));

char gNotePath[4096];
char gFallbackPath[4096];
char gVersion[32];
struct sigaction gPrevious[kSignalCount];
bool gInstalled = false;
// Room to run the handler when the stack itself has overflowed.
alignas(16) char gAltStack[64 * 1024];

const char* SignalName(int sig)
{
    switch (sig) {
    case SIGSEGV: return "SIGSEGV";
    case SIGABRT: return "SIGABRT";
    case SIGBUS: return "SIGBUS";
    case SIGFPE: return "SIGFPE";
    case SIGILL: return "SIGILL";
    default: return "?";
    }
}

// A small text builder over a fixed buffer.
struct Line {
    char text[512];
    size_t n = 0;
    void add(const char* s)
    {
        while (*s && n < sizeof(text))
            text[n++] = *s++;
    }
    void number(long long v, int width = 0)
    {
        char digits[24];
        int k = 0;
        const bool negative = v < 0;
        unsigned long long u = negative ? 0ull - (unsigned long long)v : (unsigned long long)v;
        do {
            digits[k++] = char('0' + u % 10);
            u /= 10;
        } while (u);
        while (k < width)
            digits[k++] = '0';
        if (negative && n < sizeof(text))
            text[n++] = '-';
        while (k > 0 && n < sizeof(text))
            text[n++] = digits[--k];
    }
};

// UTC date and time of t without the C library's time conversions, which may lock.
void AddTime(Line& line, time_t t)
{
    long long days = (long long)t / 86400, secs = (long long)t % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    // Civil date from the days since 1970-01-01.
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = yoe + era * 400 + (month <= 2);
    line.number(year, 4);
    line.add("-");
    line.number(month, 2);
    line.add("-");
    line.number(day, 2);
    line.add(" ");
    line.number(secs / 3600, 2);
    line.add(":");
    line.number(secs / 60 % 60, 2);
    line.add(":");
    line.number(secs % 60, 2);
    line.add(" UTC");
}

void WriteAll(int fd, const char* p, size_t n)
{
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w <= 0)
            return;
        p += w;
        n -= size_t(w);
    }
}

void OnFatalSignal(int sig)
{
    const int saved = errno;
    int fd = gNotePath[0] ? ::open(gNotePath, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
    if (fd < 0 && gFallbackPath[0])
        fd = ::open(gFallbackPath, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd >= 0) {
        Line line;
        AddTime(line, ::time(nullptr));
        line.add("  Tessarine ");
        line.add(gVersion);
        line.add("  pid ");
        line.number(::getpid());
        line.add("\n程式因信號 ");
        line.number(sig);
        line.add(" (");
        line.add(SignalName(sig));
        line.add(") 而結束，以下是當時的呼叫堆疊：\n");
        WriteAll(fd, line.text, line.n);
        void* frames[64];
        const int count = ::backtrace(frames, 64);
        ::backtrace_symbols_fd(frames, count, fd);
        WriteAll(fd, "\n", 1);
        ::close(fd);
    }
    // The signal ends the program as it would have without the note.
    for (int i = 0; i < kSignalCount; ++i)
        if (kSignals[i] == sig) {
            struct sigaction previous = gPrevious[i];
            if (!(previous.sa_flags & SA_SIGINFO) && previous.sa_handler == SIG_IGN)
                previous.sa_handler = SIG_DFL;
            ::sigaction(sig, &previous, nullptr);
        }
    errno = saved;
    ::raise(sig);
}

void CopyPath(char* to, size_t room, const QByteArray& from)
{
    const size_t n = std::min(size_t(from.size()), room - 1);
    std::memcpy(to, from.constData(), n);
    to[n] = '\0';
}

}  // namespace

void InstallCrashNote(const QByteArray& notePath, const QByteArray& fallbackPath)
{
    CopyPath(gNotePath, sizeof(gNotePath), notePath);
    CopyPath(gFallbackPath, sizeof(gFallbackPath), fallbackPath);
    CopyPath(gVersion, sizeof(gVersion), VersionText().toLatin1());
    if (gInstalled)
        return;
    gInstalled = true;
    // backtrace loads its unwinder on first use; done here, not in the handler.
    void* frame[1];
    ::backtrace(frame, 1);
    stack_t alt{};
    alt.ss_sp = gAltStack;
    alt.ss_size = sizeof(gAltStack);
    ::sigaltstack(&alt, nullptr);
    struct sigaction action{};
    action.sa_handler = OnFatalSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_ONSTACK;
    for (int i = 0; i < kSignalCount; ++i)
        ::sigaction(kSignals[i], &action, &gPrevious[i]);
}

void InstallCrashNote()
{
    QString fallback = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (fallback.isEmpty())
        fallback = QDir::tempPath();
    const QString name = QString::fromLatin1(kCrashNoteName);
    InstallCrashNote(QFile::encodeName(JoinPath(DefaultProgramFolder(), name)),
                     QFile::encodeName(JoinPath(fallback, name)));
}
