// The frame every record window shares inside the main window: the first show at the design
// size with the activation hook (FirstShowAtDesignSize), the layout run again on every resize,
// and the unload run once however the window is closed.  A window derives from it and overrides
// what it needs:
//
//     class FactorFrm : public RecordWindowOf<FactorFrm> {
//         FactorFrm(...) : RecordWindowOf(parent, "FactorFrm", 11070, 7850, FirstPlace::TopLeft)
//         {
//             Claim(this);                              // FactorFrm::Global()
//             BuildTitleAndList(titlePicture, 10800);   // Picture1 with Image1, Picture4
//             ...
//         }
//         void Form_Activate() override;   // help panel notes
//         void Form_Resize() override;     // the layout
//         void Form_Unload() override;     // settings kept, help panel given back
//     };
//
// Every button's steps run through ButtonSteps, with the window's ButtonErrors.
//
// Two choices are the window's own, made in its constructor:
//
//     MaximiseAfterFirstShow();   // opens at the design size, then takes the main window's area
//     if (!tableOpened)
//         FailLoad();             // the opener sees Loaded() false and deletes it unshown
//
// Beside it the controls every record window builds the same way: buttons of a control array
// (ArrayButton), their captions from the string table (CaptionButtons), the tab strip (TabBar)
// and the pages under it (TabPages).
#pragma once

#include "records/OneInstance.h"
#include "records/RecordExtras.h"
#include "records/RecordMode.h"

#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <span>
#include <vector>

class QLabel;
class QPushButton;
class QTabBar;

class RecordWindow : public QWidget {
public:
    // The design size in twips, frame included.
    RecordWindow(QWidget* parent, int designWidth, int designHeight, FirstPlace place = FirstPlace::Centred);

    // When the window is shown the first time and whenever its frame becomes active again.
    virtual void Form_Activate() {}
    // True once the window has been shown (and placed at its design size).
    bool FirstShown() const { return shown_; }
    // False when the window's load failed (FailLoad): it is then to be deleted unshown.
    bool Loaded() const { return !loadFailed_; }

protected:
    // Runs a button's steps with the window's answer to their data errors (ButtonErrors, and
    // Abort, Retry, Ignore for what it hands on); `failureText` ends the message of a failure.
    // True when every step ran.
    bool ButtonSteps(const RecordSteps& steps, const QString& failureText = {})
    {
        return RunButtonSteps(steps, ButtonErrors(), failureText);
    }
    // The same with an answer of the click's own instead of the window's.
    bool ButtonSteps(const RecordSteps& steps, const ButtonErrorPolicy& errors, const QString& failureText = {})
    {
        return RunButtonSteps(steps, errors, failureText);
    }
    // How the window's buttons meet a data error: every error handed on unless the window says.
    virtual ButtonErrorPolicy ButtonErrors() { return {}; }

    // Lays the controls out for the window's present size.
    virtual void Form_Resize() {}
    // Runs once, on the first close; never after FailLoad.
    virtual void Form_Unload() {}

    // The frame is maximised right after the first show at the design size (restoring it gives
    // the design size back), and the controls are laid out for the maximised size.
    void MaximiseAfterFirstShow() { maximise_ = true; }
    // The window's load failed (what it shows cannot be opened): the window counts as unloaded
    // then and there, so Loaded() is false and no close runs Form_Unload.
    void FailLoad();

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    int designWidth_;
    int designHeight_;
    FirstPlace place_;
    bool maximise_ = false;
    bool shown_ = false;
    bool unloaded_ = false;
    bool loadFailed_ = false;
};

// The title strip "Picture1" across the top of a record window with the title picture "Image1"
// on it (TitlePicture, `pictureWidthTwips` by kTitleStripHeight), and the list panel
// "Picture4"; made before any other control, so that every other one lies above them.
struct TitleAndList {
    QWidget* strip;
    QLabel* picture;
    QWidget* list;
};
TitleAndList BuildTitleAndList(QWidget* window, const QPixmap& picture, int pictureWidthTwips);

// A record window of kind W: the frame above, one instance, the title strip and the list panel.
template <class W>
class RecordWindowOf : public RecordWindow, public OneInstance<W> {
public:
    QWidget* Picture1 = nullptr;  // title strip
    QLabel* Image1 = nullptr;     // the title picture on it
    QWidget* Picture4 = nullptr;  // list panel

protected:
    // `name` is the window's object name.
    RecordWindowOf(QWidget* parent, const QString& name, int designWidth, int designHeight,
                   FirstPlace place = FirstPlace::Centred)
        : RecordWindow(parent, designWidth, designHeight, place)
    {
        setObjectName(name);
    }
    void BuildTitleAndList(const QPixmap& picture, int pictureWidthTwips)
    {
        const TitleAndList made = ::BuildTitleAndList(this, picture, pictureWidthTwips);
        Picture1 = made.strip;
        Image1 = made.picture;
        Picture4 = made.list;
    }
};

// Button `index` of the control array `array` ("Command2_5"): the mouse over it is reported to
// `window`'s event filter (the help line) and a click runs `click`.
QPushButton* ArrayButton(QWidget* parent, QWidget* window, const QString& array, int index,
                         const std::function<void()>& click);

// The buttons' font: the window's at 10 points.
QFont ButtonFont(const QWidget* window);
// Captions from the string table, text `firstTextId + i` on buttons[i] (in `font` where one is
// given).
void CaptionButtons(std::span<QPushButton* const> buttons, int firstTextId, const std::optional<QFont>& font = {});

// A tab of a record window's tab strip: the key the tab answers to (its data) and its caption
// (none: set later from the string table).
struct TabKey {
    const char* key;
    QString caption = {};
};
// The tab strip `name` of `window`: tabs sized to their captions over a base line; `changed`
// runs on every change of tab after the strip is built.
QTabBar* TabBar(QWidget* window, const QString& name, const std::vector<TabKey>& tabs,
                const std::function<void(int tab)>& changed);
// The pages under the tab strip, pages[1] onwards ("<name>_1", ...; pages[0] is no page and
// left alone): styled as a page, only the first shown.
void TabPages(QWidget* window, const QString& name, std::span<QWidget*> pages);
