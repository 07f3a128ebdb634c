// The mode of a record window and what follows from it: the mode (ModeText::AddNew, Change or
// Browse, read as "addnew", "change" or "") whose every assignment runs the window's reaction
// (lock the boxes, hide the grid editors), the button bar shown per mode from a table, and the runner of a button's
// steps with the error handling every record window shares.
//
//     EditMode.changed = [this] { boxes_->SetEditing(!EditMode.isEmpty()); contacts_->SetEditMode(EditMode); };
//     static const std::vector<ButtonMode> kBar = {{0, ButtonMode::Browse}, {5, ButtonMode::Edit}, ...};
//     ApplyButtonModes(Command2, kBar, editing);
//     const ButtonErrorPolicy kErrors = {.answer = [](const db::DbError& e, const QString&) {
//         if (e.Number() == 3022) { ...; return true; } return false; }};
//     RunButtonSteps({[this] { SaveFile(); }, [this] { 報告(); }}, kErrors, SaveFailedText());
#pragma once

#include "platform/db/Db.h"

#include <QString>
#include <functional>
#include <vector>

class QPushButton;
class QWidget;

// The window's mode.  Every assignment runs `changed`, so while browsing no key, paste or menu
// edit reaches a box.  The mode reads and compares as its text too ("addnew", "change" or ""),
// the words the windows have always used for it.
class ModeText {
public:
    enum Mode {
        Browse,  // ""
        AddNew,  // "addnew"
        Change,  // "change"
        Edit,    // "edit": the member window's word for changing a record
        Find,    // "fond": the member window's boxes take the values to look for
    };
    // The text of a mode, and the mode of a text (an unknown text reads as browsing).
    static QString Text(Mode mode);
    static Mode FromText(const QString& text);

    ModeText& operator=(Mode mode);
    ModeText& operator=(const QString& mode) { return *this = FromText(mode); }
    ModeText& operator=(const char* mode) { return *this = FromText(QString::fromUtf8(mode)); }
    void clear() { *this = Browse; }
    bool isEmpty() const { return mode_ == Browse; }
    Mode mode() const { return mode_; }
    operator QString() const { return Text(mode_); }
    bool operator==(Mode other) const { return mode_ == other; }
    bool operator==(const QString& other) const { return Text(mode_) == other; }
    bool operator==(const char* other) const { return Text(mode_) == QString::fromUtf8(other); }
    std::function<void()> changed;  // run after every assignment

private:
    Mode mode_ = Browse;
};

// Which mode shows a button of the bar.
struct ButtonMode {
    enum Shown { Browse = 1, Edit = 2, Both = 3 };
    int button;  // index in the window's button array
    Shown shown;
};
// Shows each button of the table in its mode and hides it in the other; buttons the table
// does not name are left alone.
void ApplyButtonModes(const std::vector<QPushButton*>& buttons, const std::vector<ButtonMode>& table, bool editing);

// "description" + string 326 + number: how a data error is shown with Abort, Retry, Ignore.
QString ErrorWithNumber(const db::DbError& e);
// The same with the window's own words before the number.
QString ErrorWithNumber(const db::DbError& e, const QString& numberText);

// How a window's buttons meet an error in their steps: one value per window, passed with
// every click.
struct ButtonErrorPolicy {
    // Deals with a data error itself - its own message, ending with `failureText` (what the
    // click did not do) where one is given - and ends the click quietly (true), or hands the
    // error on (false).  Unset: every data error is handed on.
    std::function<bool(const db::DbError& e, const QString& failureText)> answer = {};
    // The text of a data error handed on (ErrorWithNumber when unset); CR LF and the failure
    // text follow it where one is given.
    std::function<QString(const db::DbError&)> describe = {};
    // Abort ends the program, not only the click.
    bool abortEndsProgram = false;
};

// The steps of a button, run one after the other.
using RecordSteps = std::vector<std::function<void()>>;

// Runs a button's steps.  A data error goes to the policy's answer first; one it hands on, and
// any other exception, shows its text with Abort, Retry and Ignore: Retry runs the failed step
// again, Ignore goes on with the next, Abort leaves (or ends the program, as the policy says).
// True when every step ran.
bool RunButtonSteps(const std::vector<std::function<void()>>& steps, const ButtonErrorPolicy& policy = {},
                    const QString& failureText = {});

// Runs f; a data error shows its description and number with Abort, Retry, Ignore (Retry runs
// f again).  False when f did not complete.
bool TrapDbErrors(const std::function<void()>& f);
