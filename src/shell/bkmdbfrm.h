// The backup window: copies the database into a chosen folder and records when.
#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class bkmdbfrm : public QDialog {
    Q_OBJECT
public:
    explicit bkmdbfrm(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;                 // title picture
    QLineEdit* Text1 = nullptr;               // backup folder (this backup only)
    std::array<QPushButton*, 2> Command1{};   // 0 start, 1 cancel
    QPushButton* Command2 = nullptr;          // browse for the folder
    std::array<QLabel*, 5> SkinLabel1{};      // 0 progress, 2 last backup, 4 folder caption

    // Start: copies the database into the folder; on success records BackupDate, reports
    // and closes.  A failed copy is reported (Retry / Cancel) and records nothing; when the
    // folder was refused, the folder box takes the focus and the start waits until the folder
    // changes.  While the copy runs (in steps, the window alive), 取消 stops it and leaves the
    // window open.
    void Command1_Click(int index);
    // Browse: the chosen folder goes into Text1; a cancel keeps it.
    void Command2_Click();

    bool backedUp() const { return backedUp_; }
    bool copying() const { return copying_; }

    // How long a write lock another program holds on the database is waited out.
    int lockWaitMs = 30000;

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void refuseFolder();

    bool backedUp_ = false;
    bool copying_ = false;
    bool cancelRequested_ = false;
};
