// The about window: the start-up splash (modal, closes itself five seconds after it was
// loaded) and the about window of the help menu (modeless, closed by a click).
#pragma once

#include <QDateTime>
#include <QDialog>

class QLabel;
class QCheckBox;
class QTimer;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
    ~AboutBox() override;

    QLabel* MessageLabel;  // one-line progress text at the bottom
    QLabel* Label1_0;      // version line
    QLabel* Label1_1;      // product name
    QCheckBox* Check1;     // hidden; ticked: no closing by itself
    QTimer* Timer1;        // 500 ms
    QLabel* Image1;        // the product picture

    QDateTime loadTime() const { return loadTime_; }
    // One timer tick: closes the window when Check1 is not ticked and five seconds have passed.
    void tick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QDateTime loadTime_;
};

// The version line: text 173 + gLangOffset, ": " and major.minor.revision.
QString AboutVersionLine();

// The one about window, loaded (hidden) by the first call; nullptr when not loaded.
AboutBox* TheAboutBox();
AboutBox* LoadedAboutBox();
// Writes a progress text into the about window's MessageLabel (loading it hidden when needed)
// and lets the window system repaint.  The start-up and the schema passes call this.
void SetSplashMessage(const QString& text);
// Shows the about window modally as the splash; returns when it has closed (and unloads it).
void ShowSplashModal();
// Shows the about window modeless (help menu): Check1 ticked, closed only by a click.
void ShowAboutWindow();
// Unloads the about window when loaded.
void UnloadAboutBox();
