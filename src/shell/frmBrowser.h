// The help browser: the user manual in the program folder ("UserManu/index.html") and the
// pages callers hand over, with an address box and its history list, a button bar and a busy
// caption.  Web addresses (http, https) are handed to the system's browser; local pages show
// here.  While it is open it writes two hints into the main window's help panel.
#pragma once

#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QTextBrowser;
class QTimer;
class QToolBar;

class frmBrowser : public QWidget {
    Q_OBJECT
public:
    explicit frmBrowser(QWidget* parent = nullptr);
    ~frmBrowser() override;

    QString StartAddress;              // the program folder's "UserManu/index.html"
    QComboBox* cboAddress = nullptr;   // address box and history list
    QTextBrowser* brwWebBrowser = nullptr;
    QToolBar* tbToolBar = nullptr;     // buttons by key: "上一頁" "下一頁" "Stop" "Refresh" "Home" "Search" "關閉"
    QTimer* timTimer = nullptr;        // busy poller, 1500 ms
    QWidget* Picture1 = nullptr;       // the strip holding the address box

    // Switches the busy poller on and goes to the address: a web address opens in the
    // system's browser (a failure is said) and the box goes back to the page shown here;
    // anything else (a path or a file: address) shows here.
    void Navigate(const QString& address);
    // What callers do to show an address: into the box, onto its list, then Navigate.
    void NavigateFromCaller(const QString& address);
    // A button of the bar by its key.
    void ButtonClick(const QString& key);
    // The address of the page the window shows (a local page as its path).
    QString ShownAddress() const;
    // The page's name: its title, else the file name of its address.
    QString LocationName() const;
    bool Busy() const { return busy_; }
    // One tick of the busy poller.
    void timTimer_Timer();
    // Writes the two hints into the help panel when the panel is in use.
    void Form_Activate();
    // Puts the window back over the main window's whole inner area.
    void fitToClientArea();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool busy_ = false;
    bool unloaded_ = false;
};

// The one help browser, or nullptr while none is open.
frmBrowser* HelpBrowserInstance();
