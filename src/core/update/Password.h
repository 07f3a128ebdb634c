// The password check with its expiry rules, and the window in which a user changes his
// password.  Both work on the users table 權限主表 (姓名, 密碼, 變更日期 "YYYY/MM/DD")
// through gConnAlt.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

// True when the user may go on.  No matching row: false, no message.  The supervisor
// "總管家" always passes.  No change date: refused; 61 days or more: refused; 51 to 60 days
// and askToChange: offers the change-password window (true either way).  Database errors
// reach the caller.
bool CheckPassword(QString& userName, QString& password, bool askToChange);

// The change-password window for the user in gUserName.
class 變更密碼Frm : public QDialog {
public:
    explicit 變更密碼Frm(QWidget* parent = nullptr);

    // Text1(0) old password, (1) new password, (2) new password again, (3) user name.
    std::vector<QLineEdit*> Text1;
    // Label1(4) tells whether the new passwords match; 0 to 3 caption the boxes.
    std::vector<QLabel*> Label1;
    // Command1(0) changes the password, Command1(1) leaves.
    std::vector<QPushButton*> Command1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Text1_GotFocus(int index);
    void Text1_LostFocus(int index);
    void Text1_KeyPress(int index);
    void Text1_Change();
    void Command1_Click(int index);

    int wrongTries_ = 0;
};
