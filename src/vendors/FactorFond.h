// The vendor find window: up to eleven partial texts, each looked for anywhere in its own
// column; the vendor window's list then holds only the vendors matching all of them.  One
// instance: a text put into it (the command line's short name) waits there until it is shown.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <array>
#include <vector>

#include "vendors/VendorFields.h"
#include "vendors/VendorList.h"

class QLabel;
class QLineEdit;
class QPushButton;
class FactorFrm;

class FactorFond : public QDialog {
public:
    // `owner` is the vendor window the condition is handed to (the global one when none).
    explicit FactorFond(FactorFrm* owner = nullptr, const QPixmap& titlePicture = QPixmap());
    ~FactorFond() override;

    // The loaded find window (empty while none is).
    static QPointer<FactorFond>& Global();

    QLabel* Image1 = nullptr;
    std::array<QLabel*, kVendorFindBoxes> Label1{};
    std::array<QLineEdit*, kVendorFindBoxes> Text1{};
    std::array<QPushButton*, 2> Command1{};  // 0 OK, 1 Cancel

    // OK is enabled while at least one box holds more than blanks.
    void CheckCommandStyl();
    // 0: hand the condition to the vendor window and close; 1: close.
    void Command1_Click(int index);
    std::vector<VendorFindTerm> Terms() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Typed text arriving in a box (a key or an input-method commit); false refuses it.
    bool keyText(int index, const QString& text);

    QPointer<FactorFrm> owner_;
    bool shown_ = false;
};
