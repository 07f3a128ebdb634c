// The contact e-mail list window: every customer contact as one line of text, picked into a
// chosen list with the list picker, one message per chosen line. No menu opens it.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>

class ListPicker;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace mail { class Transport; }

namespace batchmail {
class SendProgress;
}

class CustomemailtFrm1 : public QWidget {
public:
    explicit CustomemailtFrm1(const QPixmap& titlePicture = QPixmap(), QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    ListPicker* picker = nullptr;               // lstAll, lstSelected, the moves and the search box
    QComboBox* Combo2 = nullptr;                // sort (reloads, unsorted)
    QFrame* Frame1 = nullptr;
    std::array<QComboBox*, 2> Combo1{};         // filter pair without effect
    QPushButton* Command3 = nullptr;            // "速查" caption
    std::array<QLabel*, 2> SkinLabel1{};
    std::array<QPushButton*, 2> Command1{};     // 0 send, 1 exit
    QLineEdit* txtSubject = nullptr;
    QPlainTextEdit* txtNewMessage = nullptr;
    batchmail::SendProgress* sendProgress = nullptr;  // beside the buttons while a batch runs
    // The mail system the messages go to; none: the sendmail agent.
    mail::Transport* transport = nullptr;

    void ReadListAll();
    void 發信();

protected:
    void closeEvent(QCloseEvent* event) override;
};
