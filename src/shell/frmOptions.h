// The options window: the main settings section's options on four tabs, read at load and
// written by 套用 / 確定; 取消 and Esc write nothing.  A changed data folder ends the program.
// Its start-up button puts the program into the desktop's autostart folder, to start at log-in
// (the quick search of customers and vendors is the program's own).
#pragma once

#include <QString>
#include <QWidget>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

class frmOptions : public QWidget {
    Q_OBJECT
public:
    explicit frmOptions(QWidget* parent = nullptr);
    ~frmOptions() override;

    QLabel* picBanner = nullptr;                 // the main window's title picture
    QTabBar* tbsOptions = nullptr;               // tabs 0..3 here are tabs 1..4 of the window
    std::array<QWidget*, 5> picOptions{};        // 1..4: the panel of each tab
    std::array<QCheckBox*, 6> Check1{};
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 4> Option1{};      // identity-number check
    std::array<QPushButton*, 1> Command1{};      // add the quick search to the start-up programs
    std::array<QPushButton*, 4> Command2{};      // 0, 1: "..." pickers; 2, 3: list headings
    std::array<QLabel*, 6> lblPath{};            // texts 820..825 of panel 2
    QLineEdit* Text2 = nullptr;                  // data folder
    QLineEdit* BackPathText = nullptr;           // backup folder
    QLineEdit* BackDateTXT = nullptr;            // backup reminder days
    QLineEdit* CheckNewVerTxt = nullptr;         // version reminder days
    std::array<QPlainTextEdit*, 2> typeText{};   // 0 customer grades, 1 employment kinds
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdApply = nullptr;

    // Writes every option.  False when the data folder changed and the process was ended.
    bool cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    // Start-up entry for the quick-search program, then closes the window.
    void Command1_Click(int index);
    // 0: pick the data folder, 1: pick the backup folder; 2, 3: nothing.
    void Command2_Click(int index);
    void BackPathText_LostFocus();
    // Shows and enables the selected tab's panel (0-based tab), disables the others.
    void tbsOptions_Click();
    // Ctrl+Tab: the next tab, after the last the first.
    void NextTab();

    // The data-folder text as shown at load.
    QString DataFolderAtLoad() const { return dataFolderAtLoad_; }

    // The program the start-up entry starts: this program's own executable.
    QString QuickSearchProgram;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void formLoad();
    void watchKeys();
    QString dataFolderAtLoad_;
};
