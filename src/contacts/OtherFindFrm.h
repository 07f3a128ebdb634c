// The personal-contact find window: up to fourteen partial texts, each looked for anywhere in
// its own column of RV18A; the contact window's list then holds the contacts matching all.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class OtherFrm;

class OtherFindFrm : public QDialog {
public:
    // `owner` is the contact window the condition is handed to.
    explicit OtherFindFrm(OtherFrm* owner, const QPixmap& titlePicture = QPixmap());

    static constexpr int kBoxes = 14;
    QLabel* Image1 = nullptr;
    std::array<QLabel*, kBoxes> Label1{};
    std::array<QLineEdit*, kBoxes> Text1{};
    std::array<QPushButton*, 2> Command1{};  // 0 search, 1 cancel

    // The search button is usable while at least one box holds more than blanks.
    void CheckCommandStyl();
    // 0: build the condition, hand it to the contact window and close; 1: close.
    void Command1_Click(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPointer<OtherFrm> owner_;
    bool shown_ = false;
};
