// The mode of a record window and what follows from it: the mode (ModeText::AddNew, Change or
// Browse, read as "addnew", "change" or "") whose every assignment runs the window's reaction
// (lock the boxes, hide the grid editors), the button bar shown per mode from a table, and the runner of a button's
// steps with the error handling every record window shares.
//
//     EditMode.changed = [this] { boxes_->SetEditing(!EditMode.isEmpty()); contacts_->SetEditMode(EditMode); };
//     static const std::vector<ButtonMode> kBar = {{0, ButtonMode::Browse}, {5, ButtonMode::Edit}, ...};
//     ApplyButtonModes(Command2, kBar, editing);
//     RunButtonSteps({[this] { SaveFile(); }, [this] { 報告(); }},
//                    [this](const db::DbError& e) { if (e.Number() == 3022) { ...; return true; } return false; });
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

// Runs a button's steps.  `special` may deal with a data error itself (true ends the
// operation quietly, false hands it on); any other error, and any other exception, shows
// `describe`'s text (ErrorWithNumber when none is given) with Abort, Retry and Ignore: Retry
// runs the failed step again, Ignore goes on with the next, Abort leaves.  True when every
// step ran.
bool RunButtonSteps(const std::vector<std::function<void()>>& steps,
                    const std::function<bool(const db::DbError&)>& special = {},
                    const std::function<QString(const db::DbError&)>& describe = {});

// Runs f; a data error shows its description and number with Abort, Retry, Ignore (Retry runs
// f again).  False when f did not complete.
bool TrapDbErrors(const std::function<void()>& f);
