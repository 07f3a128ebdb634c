// The find window of a record window, built from a table of boxes: each box searches its own
// column for its text anywhere in the column, and the record window's list is then re-read
// with every filled box's condition (values bound, never pasted into the statement).
//
//     class FactoryFond : public FindDialog {
//     public:
//         FactoryFond(FactorFrm* owner) : FindDialog(VendorFindBoxes(), 732, 733, owner) {...}
//     protected:
//         void Found(const FindCondition& c) override { owner_->SetFindCondition(c); }
//     };
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <QVariantList>
#include <array>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

// One box of a find window.
struct FindBox {
    QString column;       // the column it searches
    QString caption;
    int maxLength;        // bytes
    bool inputMethodOff;  // Chinese typing switched off on focus unless it is the default
    bool digitsOnly;
};

// One filled box: its column and its text as typed.
struct FindTerm {
    QString column;
    QString text;
};

// The condition a list is re-read with.
struct FindCondition {
    QString text;         // as the status line shows it: RV120 Like '%A1%' AND RV123 Like '%02%'
    QString sql;          // the same with every value as a parameter: RV120 Like ? AND RV123 Like ?
    QVariantList params;  // "%A1%", "%02%"
    bool isEmpty() const { return sql.isEmpty(); }
};

// The words of a condition's text: the customer and vendor windows write
// "RV120 Like '%A1%' AND RV123 Like '%02%'", the personal-contact window
// "RV18A2 LIKE '%王%' and  RV18A17 LIKE '%台北%'".
struct FindWording {
    QString like = QStringLiteral(" Like ");
    QString join = QStringLiteral(" AND ");
};

// One "column Like '%text%'" per term whose text is not "" (blanks are kept), joined by " AND "
// (or the wording given).  A "%" or "_" typed stays a wildcard.
FindCondition BuildFindCondition(const std::vector<FindTerm>& terms, const FindWording& wording = {});

// A condition handed over to a record window by its find window: kept in `held` for the list's
// re-read, its text in the window's hidden box `box` and on the status line after "查詢條件: ",
// `panelText` in the status panel.
void HoldFindCondition(FindCondition& held, QLineEdit* box, const FindCondition& condition,
                       const QString& panelText);

class FindDialog : public QDialog {
public:
    // Two columns of boxes under the title picture, OK and Cancel (string ids) below them on the
    // right; the window is as large as what it holds.
    FindDialog(const std::vector<FindBox>& boxes, int okTextId, int cancelTextId, QWidget* parent = nullptr,
               const QPixmap& titlePicture = QPixmap());

    QLabel* Image1 = nullptr;
    std::vector<QLabel*> Label1;
    std::vector<QLineEdit*> Text1;
    std::vector<QString> DataField;          // the column each box searches
    std::array<QPushButton*, 2> Command1{};  // 0 OK, 1 Cancel

    // OK is enabled while at least one box holds more than blanks.
    void CheckCommandStyl();
    // 0: hand the condition over (Found) and close; 1: close (Cancelled).
    void Command1_Click(int index);
    // The terms of the boxes as they stand.
    std::vector<FindTerm> Terms() const;

protected:
    virtual void Found(const FindCondition& condition) = 0;
    virtual void Cancelled() {}
    // Typed text arriving in box `index` (a key or an input-method commit); false refuses it.
    // The default refuses anything but digits in a digits-only box, and copies what box
    // CopyTyped.from takes onto box CopyTyped.to.
    virtual bool KeyText(int index, const QString& text);

    // Typing into box `from` goes onto the end of box `to` as well, its printable characters
    // only (the short name typed builds the full name too); with `trimTarget` the blanks at the
    // ends of `to` go first.  None while `from` is -1.
    struct CopyTyping {
        int from = -1;
        int to = -1;
        bool trimTarget = false;
    };
    CopyTyping CopyTyped;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

    FindWording Wording;  // the words of the condition's text

private:
    std::vector<FindBox> boxes_;
    bool shown_ = false;
};
