// The customer label window: two-column address labels for a range of customer codes, for
// hand-picked customers, or for one customer on many rows; and the bulk registered-mail list
// of the picked customers.
#pragma once

#include "output/LabelSheet.h"
#include "records/OneInstance.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

class BulkMailPanel;
class ListPicker;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;

// The label of one customer row (RV12 with every column) under the window's settings.
LabelParts CustomerLabel(db::Recordset& customer, bool withCode, bool responsibleAsRecipient,
                         const QString& recipientText);

class CustomLabelPrtFrm1 : public QWidget, public OneInstance<CustomLabelPrtFrm1> {
public:
    explicit CustomLabelPrtFrm1(const QPixmap& titlePicture = QPixmap(), QWidget* parent = nullptr);
    ~CustomLabelPrtFrm1() override;

    QLabel* Image1 = nullptr;
    QTabBar* TabStrip1 = nullptr;             // "客戶代號", "自訂", "單筆"
    QStackedWidget* frames = nullptr;         // Frame1(1..3)
    std::array<QComboBox*, 2> DataCombo1{};   // start and end code
    ListPicker* picker = nullptr;
    QComboBox* Combo2 = nullptr;              // sort
    QComboBox* Combo3 = nullptr;              // category
    QComboBox* Combo4 = nullptr;              // one customer
    QLineEdit* Text2 = nullptr;               // number of rows
    std::array<QCheckBox*, 2> Check1{};       // 0 with code, 1 responsible person as recipient
    QComboBox* Combo1 = nullptr;              // recipient text
    std::array<QPushButton*, 4> Command1{};   // print, exit, offsets, bulk registered mail
    QFrame* Picture2 = nullptr;               // bulk registered-mail panel
    std::unique_ptr<BulkMailPanel> bulkMail;

    void LabelPrint();
    void UserDecidePrint();
    void 單筆多模列印();
    void ReadListAll();
    void 大宗掛號單列印();
    void TabStrip1_Click();
    void Command1_Click(int index);

    // The last label sheet handed to the report (tests read it).
    db::Recordset lastSheet() const { return lastSheet_; }

private:
    LabelParts LabelOf(db::Recordset& customer) const;
    void ShowSheet(LabelPairer& pairer);
    db::Recordset lastSheet_;
};
