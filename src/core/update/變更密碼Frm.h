// The window in which a user changes his password: the old password is checked when its box
// is left (three wrong tries close the window), the new one typed twice, then written with
// today's date into the users table 權限主表 through gConnAlt.
#pragma once

#include <QDialog>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

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
