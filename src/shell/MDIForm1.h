// The main window: button bar, message bar, status line, help side panel, the inner-window
// area, the menus and the exit sequence.  One instance for the life of the process.
#pragma once

#include "core/WindowHelpers.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <array>
#include <functional>
#include <utility>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

class MDIForm1 : public QMainWindow, public StatusSink {
    Q_OBJECT
public:
    // Loads the window (hidden, maximized when shown) and acts on the command line "digit/text".
    explicit MDIForm1(const QString& commandLine = QString(), QWidget* parent = nullptr);
    ~MDIForm1() override;

    // The one main window, or nullptr before it is created.  Inline, so windows of other
    // folders can read the main window's areas and title picture without linking this one.
    static MDIForm1* Instance() { return instance_; }

    // ---- Areas other windows use ----
    QWidget* ToolBarPicture = nullptr;          // button bar
    QLabel* TitlePicture = nullptr;             // the title picture in the button bar
    std::array<QLabel*, 3> Label2{};            // 1, 2: title labels at the right of the bar
    QWidget* Picture2 = nullptr;                // message bar
    std::array<QLabel*, 2> Message{};           // 1: the message text
    QWidget* Picture1 = nullptr;                // status line
    std::array<QLabel*, 4> MessageSta{};        // 0 short status, 1 free, 2 data folder, 3 "狀態:"
    QWidget* ToolPicture = nullptr;             // help side panel
    QToolButton* Command3 = nullptr;            // panel toggle "∴"
    std::array<QLabel*, 2> Label6{};            // 0 "報告", 1 the caption other windows set
    QPlainTextEdit* Text2 = nullptr;            // notes written by the record windows
    QMdiArea* MdiArea = nullptr;                // the inner windows
    std::array<QPushButton*, 9> Command1{};     // button bar; indices 0-4, 6-8 exist

    // The title picture at full size (720 x 77), for the banners of other windows.
    QPixmap TitlePixmap() const { return titlePixmap_; }
    // Skin1's apply: gives the window the program's look.
    void ApplySkin(QWidget* window);

    // ---- Menu items others read or set ----
    QAction* 顯示報告列_item = nullptr;          // checked: the help panel is in use
    QAction* 會員資料管理Item = nullptr;         // checked while the member window is open
    QAction* Taiwan_item = nullptr;
    QAction* China_item = nullptr;
    std::array<QAction*, 4> Winlist_Item{};
    QMenu* 視窗item = nullptr;
    // Any menu item by its name (objectName), nullptr when there is none.
    QAction* Item(const QString& name) const;

    // Captions from the string table at id + gLangOffset.
    void LoadLanguage();
    // Empty procedures other windows call.
    void ViewToolBarPicture();
    void 智慧型工具列(const QString& text = QString());

    // Language switch: 0 Traditional, 10000 Simplified (saved only at exit).
    void SetLanguage(int offset);
    // Window menu arrangements: 0 cascade, 1 tile horizontally, 2 tile vertically, 3 icons.
    void ArrangeItem(int k);
    // Help panel toggle.
    void Command3_Click();
    // The help panel's width in twips (as the setting 顯示報告列 keeps it).
    int HelpPanelTwips() const;

    // ---- Showing windows ----
    // Shows the window inside the main window (creating the sub-window frame the first
    // time) and, when front, puts it on top of the other inner windows.
    QMdiSubWindow* ShowInner(QWidget* window, bool front);
    // The single global instance held in slot: made by make() when missing, then shown
    // inside the main window (inner) or on top of it, brought to the front when asked.
    template <class W>
    W* ShowSingle(QPointer<W>& slot, const std::function<W*()>& make, bool inner, bool front)
    {
        if (!slot) {
            slot = make();
            if (!slot)
                return nullptr;
        }
        showSingle(slot, inner, front);
        return slot;
    }
    // The same for a window made from `args` on first use and deleted when it closes.
    template <class W, class... Args>
    W* ShowSingleNew(QPointer<W>& slot, bool inner, bool front, const Args&... args)
    {
        return ShowSingle<W>(slot, [&] {
            auto* w = new W(args...);
            w->setAttribute(Qt::WA_DeleteOnClose);
            return w;
        }, inner, front);
    }
    // A record window (made with the title picture), shown inside the main window in front.
    template <class W>
    W* ShowRecordWindow() { return ShowSingleNew(W::Global(), true, true, static_cast<QWidget*>(nullptr), TitlePixmap()); }

    // ---- Menu targets (one per item; the button bar shares them) ----
    void ShowCustomFrom();
    void ShowFactorFrm();
    void ShowPersonnelFrm();
    void ShowOtherFrm();
    void OpenMemberWindow();
    void ShowDevrItemFrm();
    void ShowDipartmant1FRM();
    void StartQuickSearch();
    void ShowCustomPrintMsgFrm();
    void ShowMemberBirthdayQuery();
    void ShowOptions();
    void ShowBackup();            // modeless, from the menu
    bool ShowBackupModal();       // from the exit reminder; true when a backup was made
    void ShowImport();
    void ShowExcelLabelJob();
    void ShowCustomerEmail();
    void ShowCustomLabel();
    void ShowFactoryLabel();
    void ShowMaintenance();
    void ShowAbout();
    void ShowHelpBrowser(const QString& url);
    void CheckNewVer_Item_Click();
    void ShowAboutRAVO();
    void Softhome_item_Click();
    void OpenMakerHome();
    void DeleteAllREC_ITEM_Click();
    void ShowReadString();
    void ShowUserManual();
    void ShowTechnicalSupport();
    // Widens the help browser to the inner area (help panel toggle while it writes there).
    void FitHelpBrowser();

    // Command line "n/text": 1 customers, 2 vendors, 3 personal contacts.
    void OpenCustomerFind(const QString& text);
    void OpenVendorFind(const QString& text);
    void OpenContactFind(const QString& text);

    // The exit sequence after "離開嗎?" was answered Yes: LanguageID, the backup reminder,
    // the help panel's width, then the process ends.
    void RunExitSequence();

    // StatusSink
    void setStatusText(const QString& text) override;
    void setStatusPanel(const QString& text, int index) override;
    void setHelpText(const QString& text) override;
    QString helpText() const override;
    void setHelpCaption(const QString& text) override;
    QString helpCaption() const override;
    QWidget* clientArea() const override;
    void showInner(QWidget* window) override;
    bool helpPanelInUse() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Alt and a letter go to the active inner window's buttons before the menu (AccessKeys.h).
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The member window; nullptr while that window is not part of the program.
    virtual QWidget* NewMemberWindow();

private:
    void buildAreas();
    void buildMenus();
    void buildButtons();
    void formLoad(const QString& commandLine);
    void setHelpPanelWidth(int pixels);
    void fillWindowList();
    void showSingle(QWidget* window, bool inner, bool front);
    // Gives the focus to the active inner window when it is elsewhere in the main window.
    void FocusInto(QMdiSubWindow* sub);

    inline static MDIForm1* instance_ = nullptr;
    QPixmap titlePixmap_;
    QPointer<QWidget> memberWindow_;
    QPointer<QWidget> backupWindow_;
    QPointer<QWidget> readStringWindow_;
    QList<QAction*> windowListActions_;
    bool ending_ = false;
};

// The maker's web site (an installation value) followed by path.
QString MakerUrl(const QString& path);

// Creates the main window, loaded and hidden; start-up shows it with show() after the splash.
MDIForm1* CreateMainWindow(const QString& commandLine);
