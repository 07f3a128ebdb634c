// Drives the real program under a virtual display of its own (Xvfb with the jwm window manager)
// with xdotool, as a user at the keyboard would, and reads back what the program shows.
//
// What the program shows comes from three places: the X windows (dialogs, message boxes and
// drop-downs are windows of their own), the database file after a save, and the account the
// program writes when it gets SIGUSR1 while TESSARINE_REPLAY_STATE names a file (app/ReplayState.h):
// the focus, the inner windows and their places, the lists' selections, the open pop-up.
#pragma once

#include "support/TempDir.h"

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

namespace replay {

// The X server and window manager every replay of the test program shares.
class Display {
public:
    // Starts them once; false (with the reason) when they cannot run.
    static bool Start(QString* why);
    static void Stop();
    static QString Name();  // ":N"
};

// One reading of the program's account.
struct State {
    QStringList lines;
    QString focus;        // "Class:objectName"
    QRect focusRect;      // the focus widget on the screen
    QStringList focusChain;  // the named widgets around the focus, innermost first
    QString focusText;    // the text the focus widget shows (a box, a list, a date picker)
    QString popup;        // "-" when none
    QString modal;        // the whole "modal" line after the word
    QString active;       // the active inner window, "-" when none
    struct Window {
        QRect geometry;   // inside the inner-window area
        QRect screen;     // on the screen
        QString state;    // normal, max, min
        QString title;
    };
    std::map<QString, Window> windows;         // by the window's "Class:objectName"
    std::map<QString, QRect> widgets;          // the active window's focusable widgets, on screen
    struct View {
        int current = -1;
        int selected = 0;
    };
    std::map<QString, View> views;             // by the view's objectName
    bool FocusIn(const QString& name) const;   // the focus widget or a named widget around it
};

// The program on a scratch data folder.
class Program {
public:
    explicit Program(const QString& folder);
    ~Program();
    bool Start(QString* why);
    qint64 Pid() const;
    // Sends the program a signal and waits up to `ms` for it to end: whether it ended by a crash.
    bool EndBy(int signal, int ms);

    // A fresh reading of the account (waits up to a few seconds for the program to write it).
    State Read();
    // Reads until `ok` holds, up to `ms`; the last reading either way.
    State WaitFor(const std::function<bool(const State&)>& ok, int ms = 8000);

private:
    QString folder_;
    QString stateFile_;
    QProcess process_;
};

// xdotool on the replay display: keys ("alt+f", "Tab"), typing, clicks.
void Keys(const QStringList& keys);
void Key(const QString& key);
void Type(const QString& text);
void Click(const QPoint& at);
void DoubleClick(const QPoint& at);
// The mouse pointer off every window (so no hover effect changes the screen).
void MoveMouseAway();
// The part of the screen that changes by itself over a second or so with nothing typed: the
// blinking text cursor(s).  Empty when nothing blinks.
QRect BlinkingArea();
// The titles of the visible X windows.
QStringList VisibleWindowTitles();

}  // namespace replay
