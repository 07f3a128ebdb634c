// What the record boxes do while the user moves through them and types, as tables the window
// supplies and small pieces the kit moves by:
//
//   - PickList: a list laid over a box while editing (the customer's categories, the vendor's
//     status and cheque terms, the vendor's category and the employee's department pickers).
//     It shows the box's text, writes what is typed or picked into its TargetBox, and Enter
//     hands the focus to its NextBox (or back to the box).  Alt+Down and F4 open its drop-down
//     every time; typing while the drop-down is open goes into the list's text, as in a Windows
//     drop-down combo box.  It hides itself when it loses the focus.  Commit() puts its text
//     into the box (a picker takes its choice); a window calls CommitPickLists() before any
//     save, however the save is started (a click, Alt+S, Enter): only a list that has the focus
//     gives its text.  A list writes only into the box it was opened over, for the record that
//     box showed then: it hides whenever the focus is anywhere else in the window, when its box
//     is hidden (a page changed) and when its box stops taking typing (the record is saved,
//     abandoned, or another shown).  It opens at the box's own entry, so Down gives the next.
//   - LeaveGuard: a leave check that refuses the box puts the focus back without running the
//     leave checks of the box the focus was on its way to (no message loops).
//   - BoxMap: where Enter, Up and Down lead from a box (a table of exceptions and a rule for
//     the rest).
//   - StockTexts: the F3/F4/F5 texts a box appends.
//
//     status_ = new PickList(Combo2, PickList::kWriteThrough, this);
//     ... Text1_GotFocus(16):  status_->Open(Text1[16], Text1[23], {"尚未核准", "現用廠商", ...});
//     static const BoxMap kEnter{{{8, 11}, {10, 20}, {14, 17}, {19, 15}}, [](int b) { return b + 1 > 20 ? 1 : b + 1; }};
//     static const std::vector<StockText> kFKeys{{3, Qt::Key_F3, 345}, {12, Qt::Key_F5, 0, 11}, ...};
#pragma once

#include "records/BoxText.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QComboBox;
class QInputMethodEvent;
class QKeyEvent;

class PickList : public QObject {
public:
    enum Flag {
        // Every edit of the list's text (a key, a pick) goes into the box at once.
        kWriteThrough = 1,
        // Enter gives the focus back to the box instead of the next box.
        kEnterBackToBox = 2,
        // The list never writes into its box: what it holds is taken by the window's Left and
        // Entered (a picker whose choice fills several boxes).
        kChooseOnly = 4,
        // Tab and Shift+Tab move the focus on from the list as they would from its box (the
        // list stands in for the box in the window's tab order).
        kTabFromBox = 8,
    };
    PickList(QComboBox* list, int flags, QObject* parent = nullptr);

    QComboBox* List() const { return list_; }
    QWidget* TargetBox() const { return target_; }
    QWidget* NextBox() const { return next_; }

    // Lays the list over `target` at `geometry` (the parent's coordinates; an empty rectangle
    // takes the box's own place), fills it with `items` (unless `keepItems`), shows the box's
    // text when it holds more than blanks, and gives the list the focus.
    void Open(QWidget* target, QWidget* next, const QStringList& items, const QRect& geometry = {},
              bool keepItems = false);
    // When the box held only blanks, the list shows its first item (written into the box when
    // the list is left or Enter is pressed); call right after Open.
    void ShowFirstItemWhenBlank();
    // Writes the list's text into its box while the list has the focus (a choose-only list
    // runs Left instead, once for a text: leaving it afterwards with the same text runs nothing
    // more); true when it did.  A list shown without the focus is hidden and gives nothing.
    bool Commit();
    bool IsOpen() const;
    // The list is shown and the focus is in it or in its drop-down.
    bool HasFocus() const;
    // True while Enter hands the focus back to the box (the box then opens no list).
    bool HandingBack() const { return returning_; }

    // Runs when the list gets the focus (a hint for the status line).
    std::function<void()> Focused;
    // Runs after the list has written into its box and hidden itself on losing the focus
    // (Enter and Tab leave it too), and when Commit takes a choose-only list's choice.
    std::function<void()> Left;
    // Runs after Enter has moved the focus on.
    std::function<void()> Entered;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void write();
    void enter();
    bool dropDownKey(QKeyEvent* key);
    void highlightTyped();
    void focusMoved(QWidget* now);
    // Hides the list; `leaving`: it had the focus, so its text goes into its box first.
    void close(bool leaving);
    QComboBox* list_;
    QObject* listObject_;  // the same list, asked what it still is while it is being destroyed
    int flags_;
    QPointer<QWidget> target_;
    QPointer<QWidget> next_;
    bool returning_ = false;        // Enter is handing the focus back to the box
    std::optional<QString> taken_;  // the text whose choice Commit has taken (choose-only)
    bool typedInDropDown_ = false;  // a key was typed since the drop-down opened
};

// The widget Tab (forward) or Shift+Tab would give the focus to from `from`: the next one in the
// focus chain that is shown, enabled and takes Tab, passing over `skip` and its children (an
// editor laid over `from`).  Null when there is none.
QWidget* NextInTabOrder(QWidget* from, bool forward, const QWidget* skip = nullptr);

// A focus event that really enters or leaves a box: not a message box or a list's own popup
// taking the focus and giving it back.
bool RealFocusChange(const QEvent* event);

// What a window does with the events of its boxes; a handler left empty is not asked.
struct BoxEvents {
    std::function<void(int box)> GotFocus = {};   // a real focus change into the box
    std::function<void(int box)> LostFocus = {};  // a real focus change out of it
    std::function<bool(int box, QKeyEvent* key)> Key = {};  // true: the key goes no further
    std::function<bool(int box, QInputMethodEvent* text)> InputMethod = {};  // true: the text goes no further
    std::function<void(int box)> DoubleClick = {};
    std::function<void(int box)> Hover = {};  // the mouse moves over the box
};
// Hands an event of box `box` to its handler; true when the event goes no further.
bool DispatchBoxEvent(int box, QEvent* event, const BoxEvents& handlers);

// Commits every open list of the window (before a save).
void CommitPickLists(const std::vector<PickList*>& lists);

// True while the focus is being put back into a refused box: the leave checks of other boxes
// and the pick lists of the refused box do nothing then.
class LeaveGuard {
public:
    bool Returning() const { return returning_; }
    // Puts the focus back into `box` (activating its window first when a message box left it
    // in the background).
    void Return(QWidget* box);
    // Holds the guard up for a scope: focus moves made meanwhile (a message box, hiding an
    // editor, a box refused at save) run no leave checks and open no lists.
    class Hold {
    public:
        explicit Hold(LeaveGuard& guard) : guard_(guard), was_(guard.returning_) { guard_.returning_ = true; }
        ~Hold() { guard_.returning_ = was_; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        LeaveGuard& guard_;
        bool was_;
    };

private:
    bool returning_ = false;
};


// Where a key leads from a box: the table's entry, else the rule (-1 = nowhere).
struct BoxMap {
    std::map<int, int> moves;
    std::function<int(int box)> otherwise;
    int operator()(int box) const
    {
        const auto it = moves.find(box);
        if (it != moves.end())
            return it->second;
        return otherwise ? otherwise(box) : -1;
    }
};

// An F-key text aid: F3/F4/F5 in `box` appends the string-table text `textId`, or a fixed
// `text`, or the whole text of box `copyBox`.
struct StockText {
    int box;
    int key;  // Qt::Key_F3 ...
    int textId = 0;
    int copyBox = -1;
    QString text = {};
};
// The text a key appends to a box, or nothing.
std::optional<QString> StockTextFor(const std::vector<StockText>& table, int box, int key,
                                    const BoxTextFn& boxText);
