// The frame every record window shares inside the main window: the first show at the design
// size with the activation hook (FirstShowAtDesignSize), the layout run again on every resize,
// and the unload run once however the window is closed.  A window derives from it and overrides
// what it needs:
//
//     class FactorFrm : public RecordWindow {
//         FactorFrm(...) : RecordWindow(parent, 11070, 7850, FirstPlace::TopLeft) { ... }
//         void Form_Activate() override;   // help panel notes
//         void Form_Resize() override;     // the layout
//         void Form_Unload() override;     // settings kept, help panel given back
//     };
//
// Two choices are the window's own, made in its constructor:
//
//     MaximiseAfterFirstShow();   // opens at the design size, then takes the main window's area
//     if (!tableOpened)
//         FailLoad();             // the opener sees Loaded() false and deletes it unshown
#pragma once

#include "records/RecordExtras.h"

#include <QWidget>

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
