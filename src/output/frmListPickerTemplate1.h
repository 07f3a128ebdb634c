// The vendor label window: two-column address labels for picked vendors, from all vendors or
// from one vendor category, and the bulk registered-mail list of the same vendors.
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
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The label of one vendor row (RV11 with every column). The code in parentheses is the
// vendor number; "負責人" prints RV115 and "聯絡人" RV114, as the vendor table holds them.
enum class VendorAddress { None, Company, Factory };
LabelParts VendorLabel(db::Recordset& vendor, bool withCode, VendorAddress address, bool responsible);

class frmListPickerTemplate1 : public QWidget, public OneInstance<frmListPickerTemplate1> {
public:
    explicit frmListPickerTemplate1(const QPixmap& titlePicture = QPixmap(), QWidget* parent = nullptr);
    ~frmListPickerTemplate1() override;

    QLabel* Image1 = nullptr;
    std::array<QPushButton*, 4> Command1{};   // print, exit, offsets, bulk registered mail
    std::array<QCheckBox*, 2> Check1{};       // 0 with vendor number, 1 all vendors
    QComboBox* DataCombo1 = nullptr;          // vendor categories
    std::array<QGroupBox*, 2> Frame2{};       // address, recipient
    std::array<QRadioButton*, 4> Option1{};   // company address, factory address, 負責人, 聯絡人
    std::array<QLabel*, 2> SkinLabel1{};
    ListPicker* picker = nullptr;
    std::unique_ptr<BulkMailPanel> bulkMail;

    void Loadfactoryname(int mode);
    void 廠商標籤列印();
    void 大宗掛號單列印();
    void Check1_Click(int index);
    void Command1_Click(int index);

    db::Recordset lastSheet() const { return lastSheet_; }

private:
    db::Recordset lastSheet_;
};
