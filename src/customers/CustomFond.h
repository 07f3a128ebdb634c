// The customer find window: up to twelve partial texts, each looked for anywhere in its own
// column; the customer window's list then holds only the customers matching all of them.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <array>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class CustomFrom;

// One filled box of the find window: its column and its text as typed.
struct FindTerm {
    QString column;
    QString text;
};

// The condition the customer list is re-read with.
struct FindCondition {
    QString text;         // as the status line shows it: RV120 Like '%A1%' AND RV123 Like '%02%'
    QString sql;          // the same with every value as a parameter: RV120 Like ? AND RV123 Like ?
    QVariantList params;  // "%A1%", "%02%"
    bool isEmpty() const { return sql.isEmpty(); }
};

// One "column Like '%text%'" per term whose text is not "" (blanks are kept), joined by " AND ".
FindCondition BuildFindCondition(const std::vector<FindTerm>& terms);

class CustomFond : public QDialog {
public:
    // `owner` is the customer window the condition is handed to.
    explicit CustomFond(CustomFrom* owner, QWidget* parent = nullptr, const QPixmap& titlePicture = QPixmap());

    static constexpr int kBoxes = 12;
    QLabel* Image1 = nullptr;
    std::array<QLabel*, kBoxes> Label1{};
    std::array<QLineEdit*, kBoxes> Text1{};
    std::array<QString, kBoxes> DataField{};  // the column each box searches
    std::array<QPushButton*, 2> Command1{};   // 0 OK, 1 Cancel

    // OK is enabled while at least one box holds more than blanks.
    void CheckCommandStyl();
    // 0: hand the condition to the customer window and close; 1: close.
    void Command1_Click(int index);
    // The terms of the boxes as they stand.
    std::vector<FindTerm> Terms() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void gotFocus(int index);
    void lostFocus(int index);
    // Typed text arriving in a box (a key or an input-method commit); false refuses it.
    bool keyText(int index, const QString& text);

    QPointer<CustomFrom> owner_;
    bool shown_ = false;
};
