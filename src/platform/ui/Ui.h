// The user-interface seams: message and input boxes, common dialogs, modal windows,
// hourglass pointer, beep, clock and process end.  Production goes to Qt; tests install a
// Responder that records every call and answers from a script.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <vector>

class QWidget;
class QDialog;

namespace ui {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel, AbortRetryIgnore, RetryCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { OK, Cancel, Yes, No, Abort, Retry, Ignore };

// The language of Qt's own texts (its file dialogs, a text box's menu): "zh_TW" or "zh_CN".
// Loads Qt's catalogue for it in place of the one loaded before; false when it cannot be read
// (Qt's texts then stay as they were).
bool SetQtLanguage(const QString& locale);

// The program's default title for a message box that has none of its own.
QString DefaultTitle();
void SetDefaultTitle(const QString& title);

struct MessageCall {
    QString text;
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
    QString title;  // as shown (the default title when the caller gave none)
};

// MsgBox: text, buttons, icon and title ("" = the default title).  Returns the user's answer.
Answer MsgBox(const QString& text, Buttons buttons = Buttons::OK, Icon icon = Icon::None,
              const QString& title = QString());

// The box every export shows when its file could not be written: "匯出失敗，原因如下：", the
// reason (with its error number), then what the user can do; critical icon, title "匯出失敗".
void ExportFailed(const QString& reason, const QString& advice);

// The width a window needs for its frame to show the whole title: the title as window managers
// commonly draw it (12-point bold), beside the frame's icon and its buttons.  A message box is
// never narrower.
int TitleBarWidth(const QString& title);

// InputBox: returns the typed text, or "" on cancel (as VB did).
QString InputBox(const QString& prompt, const QString& title = QString(),
                 const QString& defaultText = QString());

// Common dialogs; a cancel returns an empty string (or false for the font).
QString GetOpenFileName(const QString& title, const QString& dir, const QString& filter);
QString GetSaveFileName(const QString& title, const QString& dir, const QString& filter);
QString GetFolder(const QString& title, const QString& dir);
bool GetFont(QFont& font, const QString& title = QString());

// Shows a dialog modally (through the responder in tests) and returns its result code.
int ShowModal(QDialog* dialog);

// Beep and the clock.
void Beep();
QDate Today();
QDateTime Now();

// Ends the process at once (VB End): production quits the event loop and exits without
// running other windows' close handling; tests observe it.
void EndProcess(int code = 0);

// Hourglass pointer, nesting; observable in tests.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
int WaitCursorDepth();

// Yield to the window system so status texts repaint (VB DoEvents).
void DoEvents();

// ---- The test seam -------------------------------------------------------------------------

class Responder {
public:
    virtual ~Responder() = default;
    virtual Answer onMessage(const MessageCall& call) = 0;
    virtual QString onInput(const QString& prompt, const QString& title, const QString& defaultText) { return defaultText; }
    virtual QString onOpenFile(const QString& title, const QString& dir, const QString& filter) { return {}; }
    virtual QString onSaveFile(const QString& title, const QString& dir, const QString& filter) { return {}; }
    virtual QString onFolder(const QString& title, const QString& dir) { return {}; }
    virtual bool onFont(QFont& font) { return false; }
    virtual int onModal(QDialog* dialog) { return 0; }
    virtual void onBeep() {}
    virtual void onEndProcess(int code) {}
};

// Installs a responder (nullptr = production behaviour).  Returns the previous one.
Responder* SetResponder(Responder* responder);
Responder* CurrentResponder();

// Test clock: an invalid date/time restores the real clock.
void SetToday(const QDate& date);
void SetNow(const QDateTime& now);

// ---- Abort / Retry / Ignore step runner ------------------------------------------------------

// An operation as an ordered list of steps.  When a step throws, `describe` turns the error
// into the box's text (Abort/Retry/Ignore); Retry runs the failed step again, Ignore goes on
// with the next step, Abort leaves.  Returns true when the last step was reached.
struct StepError {
    QString text;
};
using Step = std::function<void()>;
bool RunSteps(const std::vector<Step>& steps,
              const std::function<QString(const std::exception&)>& describe,
              const QString& title = QString());

}  // namespace ui
