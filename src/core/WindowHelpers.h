// Small helpers every window calls: placement, key filtering, byte lengths, pick lists over
// text boxes, the Chinese input method, the main window's status line and help panel, Enter in
// multi-line boxes, lists filled from lines of text and web pages.
#pragma once

#include "platform/text/VbText.h"

#include <QString>
#include <QVariant>

class QWidget;
class QComboBox;
class QListWidget;
class QLineEdit;
class QPlainTextEdit;
class QTextEdit;

// ---- The main window's writable areas ---------------------------------------------------------

// The main window registers itself as the sink; until it does, writes go nowhere.
class StatusSink {
public:
    virtual ~StatusSink() = default;
    virtual void setStatusText(const QString& text) = 0;              // the message bar Message(1)
    virtual void setStatusPanel(const QString& text, int index) = 0;  // the status panel MessageSta(index)
    virtual void setHelpText(const QString& text) = 0;                // the help panel's note box Text2
    virtual QString helpText() const = 0;
    virtual void setHelpCaption(const QString& text) = 0;             // the help panel's caption Label6(1)
    virtual QString helpCaption() const = 0;
    virtual QWidget* clientArea() const = 0;                          // the inner area (MDI area) for CenterInMDI
    // Shows a window inside the inner area, in front of the others (without a main window it
    // is shown on its own).
    virtual void showInner(QWidget* window);
    virtual bool helpPanelInUse() const { return true; }              // the menu's check mark 顯示報告列
};

// Registers the sink (nullptr = none); returns the previous one.
StatusSink* SetStatusSink(StatusSink* sink);
StatusSink* CurrentStatusSink();

// The text last written through SetStatusText.
extern QString gStatusText;

// Writes the message bar when the text differs from the last one written, or is empty.
void SetStatusText(const QString& text);
// Writes the status panel `index` (0 or 1), then yields once so that it repaints at once.
void SetStatusPanel(const QString& text, int index = 0);
// The help panel's note box and caption.
void SetHelpPanelText(const QString& text);
QString HelpPanelText();
void SetHelpPanelCaption(const QString& text);
QString HelpPanelCaption();
// Shows a window inside the main window, in front of the others: how one record window opens
// another (the main window's own menu targets do the same).
void ShowInMainWindow(QWidget* window);
// Whether the user keeps the help panel in use (false while no main window is registered).
bool HelpPanelInUse();

// ---- Placement ----------------------------------------------------------------------------

// Centres the window in the main window's inner area when that area is at least as wide as the
// window (the height is not compared); a wider window stays where it is.  An inner window of
// the area moves inside it; any other window moves over the area.  A window not shown yet and
// without a parent (a window loading before the main window frames it) is centred again once
// its frame has its size: the main window calls CentreFramedWindow then.
void CenterInMDI(QWidget* window);
// Carries out the centring CenterInMDI was asked for before `window` had its frame.
void CentreFramedWindow(QWidget* window);
// The same rule against the screen.
void CenterOnScreen(QWidget* window);

// ---- Keys and texts -------------------------------------------------------------------------

// True for "0".."9", Enter (13), Backspace (8) and "." (46); otherwise beeps and returns false.
// The caller drops the key when the result is false.
bool NumericKeyFilter(int keyAscii);
// Length of the text in bytes of code page 950 (a Chinese character counts 2): the one
// ByteLen, of the VB text functions.
using vb::ByteLen;

// Lays the pick list over the text box: same top, left and width, the box's text, shown in front.
void OverlayOnTextBox(QComboBox* pick, QLineEdit* box);
// Switches the Chinese input method off in this box.
void ToggleIME(QWidget* box);

// Enter in a multi-line box: true when the caret stands on an empty last line (CR LF or LF
// texts).  A position of 0 is replaced by `selectionLength` (the caller's variable changes).
bool CaretAfterLastLine(const QString& text, int& position, int selectionLength);
bool CaretAfterLastLine(QPlainTextEdit* box, int& position);
bool CaretAfterLastLine(QTextEdit* box, int& position);

// Replaces the items with the non-empty lines of the text (CR LF or LF) and shows the first.
void FillListFromLines(QComboBox* list, const QString& text);
void FillListFromLines(QListWidget* list, const QString& text);

// ---- Web pages -------------------------------------------------------------------------------

// Hands a web address to the system's browser.  When none can be started the user is told so,
// with the address and what to do.  Returns whether the page was handed over.
bool OpenWebPage(const QString& url);
