#include "replay/Replay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace replay {

namespace {

struct Shared {
    QProcess xvfb;
    QProcess wm;
    QString display;
    std::unique_ptr<QTemporaryDir> dir;
};
Shared& shared()
{
    static Shared s;
    return s;
}

// Runs a tool of the X side on the replay display; its standard output.
QString Run(const QString& program, const QStringList& args, int ms = 15000, int* exitCode = nullptr)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), shared().display);
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(ms)) {
        p.kill();
        p.waitForFinished();
    }
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

void Pause(int ms) { QThread::msleep(ms); }

// A process of the replay ends with the test binary, even when the binary is killed.
void EndWithUs(QProcess& p)
{
    p.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

QRect ParseRect(const QStringList& t, int at)
{
    return QRect(t.value(at).toInt(), t.value(at + 1).toInt(), t.value(at + 2).toInt(), t.value(at + 3).toInt());
}

// Ends a server process that did not come up, and reaps it.
void Halt(QProcess& p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished(3000);
    }
}

// A server is ready when it says so: Xvfb writes its display number once it takes
// connections, the window manager names its check window on the root window once it manages
// windows.  A busy machine (builds and other suites beside the replay) can take many seconds to
// get there, so each waits up to a minute, ends early when the process dies, and is tried twice.
constexpr int kServerStartMs = 60000;

bool StartXvfb(Shared& s, QString* why)
{
    EndWithUs(s.xvfb);
    // Xvfb picks a free display itself and writes its number on the descriptor given.
    s.xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                          QStringLiteral("0"), QStringLiteral("1600x1000x24"), QStringLiteral("-nolisten"),
                                          QStringLiteral("tcp")});
    QElapsedTimer t;
    t.start();
    QByteArray out;
    while (!out.contains('\n') && t.elapsed() < kServerStartMs && s.xvfb.state() != QProcess::NotRunning) {
        s.xvfb.waitForReadyRead(200);
        out += s.xvfb.readAllStandardOutput();
    }
    const QString number = QString::fromLatin1(out).trimmed();
    if (!out.contains('\n') || number.isEmpty()) {
        *why = QStringLiteral("Xvfb did not start within %1 s: ").arg(t.elapsed() / 1000) +
               QString::fromLocal8Bit(s.xvfb.readAllStandardError());
        Halt(s.xvfb);
        return false;
    }
    s.display = QLatin1Char(':') + number;
    return true;
}

// The window named by the root window's _NET_SUPPORTING_WM_CHECK names itself the same way
// while its window manager runs; the root's property alone may be left by one that ended.
bool ManagerChecks()
{
    static const QRegularExpression id(QStringLiteral("window id # (0x[0-9a-fA-F]+)"));
    const QString check = QStringLiteral("_NET_SUPPORTING_WM_CHECK");
    const QRegularExpressionMatch onRoot = id.match(Run(QStringLiteral("xprop"), {QStringLiteral("-root"), check}));
    if (!onRoot.hasMatch())
        return false;
    const QString window = onRoot.captured(1);
    const QRegularExpressionMatch onWindow = id.match(Run(QStringLiteral("xprop"), {QStringLiteral("-id"), window, check}));
    return onWindow.hasMatch() && onWindow.captured(1) == window;
}

bool StartWindowManager(Shared& s, const QString& rc, QString* why)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), s.display);
    EndWithUs(s.wm);
    s.wm.setProcessEnvironment(env);
    s.wm.start(QStringLiteral("jwm"), {QStringLiteral("-f"), rc});
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < kServerStartMs && s.wm.state() != QProcess::NotRunning) {
        if (ManagerChecks())
            return true;
        s.wm.waitForFinished(200);
    }
    *why = s.wm.state() == QProcess::NotRunning
               ? QStringLiteral("the window manager ended at start: ") + QString::fromLocal8Bit(s.wm.readAllStandardError())
               : QStringLiteral("the window manager did not start within %1 s").arg(t.elapsed() / 1000);
    Halt(s.wm);
    return false;
}

}  // namespace

// ---- Display -------------------------------------------------------------------------------------

bool Display::Start(QString* why)
{
    Shared& s = shared();
    if (!s.display.isEmpty())
        return true;
    for (const char* tool : {"Xvfb", "jwm", "xdotool", "xprop"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            *why = QStringLiteral("%1 is not installed (scripts/setup installs it)").arg(QString::fromLatin1(tool));
            return false;
        }
    }
    s.dir = std::make_unique<QTemporaryDir>();
    if (!StartXvfb(s, why) && !StartXvfb(s, why))
        return false;

    // A window manager as on any desktop: it gives the focus to the window that is shown or
    // clicked, and back to the main window when a dialog closes.
    const QString rc = s.dir->filePath(QStringLiteral("jwmrc"));
    QFile f(rc);
    f.open(QIODevice::WriteOnly);
    f.write("<?xml version=\"1.0\"?>\n<JWM>\n<FocusModel>click</FocusModel>\n<Desktops width=\"1\" height=\"1\"/>\n</JWM>\n");
    f.close();
    if (!StartWindowManager(s, rc, why) && !StartWindowManager(s, rc, why)) {
        Stop();
        return false;
    }
    return true;
}

void Display::Stop()
{
    Shared& s = shared();
    for (QProcess* p : {&s.wm, &s.xvfb})
        Halt(*p);
    s.display.clear();
    s.dir.reset();
}

QString Display::Name() { return shared().display; }

// ---- xdotool -------------------------------------------------------------------------------------

void Keys(const QStringList& keys)
{
    for (const QString& k : keys) {
        Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30"), k});
        Pause(120);
    }
}

void Key(const QString& key) { Keys({key}); }

void Type(const QString& text)
{
    Run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
    Pause(150);
}

void Click(const QPoint& at)
{
    Run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                                    QStringLiteral("click"), QStringLiteral("1")});
    Pause(200);
}

void DoubleClick(const QPoint& at)
{
    Run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                                    QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                                    QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
    Pause(300);
}

void MoveMouseAway()
{
    Run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("1599"), QStringLiteral("999")});
    Pause(100);
}

QRect BlinkingArea()
{
    const QString dir = shared().dir->path();
    QStringList shots;
    // A text cursor blinks every half second: four shots over more than a second see it change.
    for (int i = 0; i < 4; ++i) {
        const QString file = QStringLiteral("%1/blink%2.ppm").arg(dir).arg(i);
        Run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file});
        shots << file;
        Pause(250);
    }
    QRect area;
    for (int i = 1; i < shots.size(); ++i) {
        const QStringList box = Run(QStringLiteral("convert"), {shots[0], shots[i], QStringLiteral("-compose"),
                                                                QStringLiteral("difference"), QStringLiteral("-composite"),
                                                                QStringLiteral("-colorspace"), QStringLiteral("gray"),
                                                                QStringLiteral("-threshold"), QStringLiteral("0.5%"),
                                                                QStringLiteral("-format"), QStringLiteral("%@"),
                                                                QStringLiteral("info:")})
                                    .trimmed()
                                    .split(QRegularExpression(QStringLiteral("[x+]")));
        if (box.size() != 4)
            continue;
        const QRect r(box[2].toInt(), box[3].toInt(), box[0].toInt(), box[1].toInt());
        if (r.isEmpty())  // an unchanged pair has no box
            continue;
        area |= r;
    }
    return area;
}

QStringList VisibleWindowTitles()
{
    QStringList titles;
    const QStringList ids = Run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                            QStringLiteral("--name"), QStringLiteral(".")})
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& id : ids)
        titles << Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), id}).trimmed();
    return titles;
}

// ---- State ---------------------------------------------------------------------------------------

bool State::FocusIn(const QString& name) const
{
    return focus.endsWith(QLatin1Char(':') + name) || focusChain.contains(name);
}

State Parse(const QString& text)
{
    State s;
    s.lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : s.lines) {
        const QStringList t = line.split(QLatin1Char(' '));
        const QString& kind = t.value(0);
        if (kind == QLatin1String("focus")) {
            s.focus = t.value(1);
            s.focusChain = t.mid(s.focus == QLatin1String("-") ? 2 : 3);
            if (s.focus != QLatin1String("-"))
                s.focusRect = ParseRect(t.value(2).split(QLatin1Char(',')), 0);
        } else if (kind == QLatin1String("focustext")) {
            s.focusText = line.mid(10);
        } else if (kind == QLatin1String("popup")) {
            s.popup = t.value(1);
        } else if (kind == QLatin1String("modal")) {
            s.modal = line.mid(6);
        } else if (kind == QLatin1String("active")) {
            s.active = t.value(1);
        } else if (kind == QLatin1String("window")) {
            State::Window w;
            w.geometry = ParseRect(t, 2);
            w.screen = ParseRect(t, 6);
            w.state = t.value(10);
            w.title = t.mid(12).join(QLatin1Char(' '));
            s.windows[t.value(1)] = w;
        } else if (kind == QLatin1String("widget")) {
            s.widgets[t.value(1).section(QLatin1Char(':'), 1)] = ParseRect(t, 2);
        } else if (kind == QLatin1String("view")) {
            State::View v;
            v.current = t.value(8).toInt();
            v.selected = t.value(10).toInt();
            s.views[t.value(2).section(QLatin1Char(':'), 1)] = v;
        }
    }
    return s;
}

// ---- Program -------------------------------------------------------------------------------------

Program::Program(const QString& folder) : folder_(folder)
{
    stateFile_ = QDir(folder).filePath(QStringLiteral("replay-state.txt"));
}

Program::~Program()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

qint64 Program::Pid() const { return process_.processId(); }

bool Program::EndBy(int signal, int ms)
{
    if (process_.state() != QProcess::Running)
        return false;
    ::kill(pid_t(process_.processId()), signal);
    return process_.waitForFinished(ms) && process_.exitStatus() == QProcess::CrashExit;
}

bool Program::Start(QString* why)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), Display::Name());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("TESSARINE_HOME"), folder_);
    env.insert(QStringLiteral("TESSARINE_REPLAY_STATE"), stateFile_);
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    const QString runtime = QDir(folder_).filePath(QStringLiteral("run"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_LOGGING_RULES"));
    process_.setProcessEnvironment(env);
    EndWithUs(process_);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.start(QStringLiteral(TESS_PROGRAM), {});
    if (!process_.waitForStarted(10000)) {
        *why = QStringLiteral("the program did not start");
        return false;
    }
    // The main window comes after the splash; until then the program may not take signals.
    // A search can end early when a window (the splash) goes while xdotool reads it: search
    // again until the main window shows or the time is up.
    QString id;
    QElapsedTimer waited;
    waited.start();
    while (id.isEmpty() && waited.elapsed() < 30000 && process_.state() == QProcess::Running) {
        id = Run(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                  QStringLiteral("^Tessarine 捷錄")},
                 5000)
                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                 .value(0);
        if (id.isEmpty())
            Pause(200);
    }
    if (id.isEmpty()) {
        *why = QStringLiteral("the main window did not appear");
        return false;
    }
    Run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), id}, 5000);
    const State s = WaitFor([](const State& s) {
        return s.modal == QLatin1String("-") && s.lines.contains(QStringLiteral("activewindow MDIForm1:MDIForm1"));
    });
    if (s.modal != QLatin1String("-")) {
        *why = QStringLiteral("the main window is not ready: ") + s.lines.join(QStringLiteral(" | "));
        return false;
    }
    return true;
}

State Program::Read()
{
    QFile::remove(stateFile_);
    if (process_.state() != QProcess::Running)
        return {};
    ::kill(pid_t(process_.processId()), SIGUSR1);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 5000) {
        QFile f(stateFile_);
        if (f.open(QIODevice::ReadOnly))
            return Parse(QString::fromUtf8(f.readAll()));
        Pause(20);
    }
    return {};
}

State Program::WaitFor(const std::function<bool(const State&)>& ok, int ms)
{
    QElapsedTimer t;
    t.start();
    State s = Read();
    while (!ok(s) && t.elapsed() < ms) {
        Pause(100);
        s = Read();
    }
    return s;
}

}  // namespace replay
