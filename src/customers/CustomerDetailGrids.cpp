#include "customers/CustomerDetailGrids.h"

#include "platform/shell/Shell.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/FlexGrid.h"

const DetailGridDef& CustomerGridDef(DetailKind kind)
{
    static const DetailGridDef contacts = {
        QStringLiteral("ManGrid"),
        QStringLiteral("ManGridTxt"),
        QStringLiteral("RV12A"),
        QStringLiteral("RV12A0"),
        QStringLiteral("序號"),
        {{QStringLiteral("項次"), 500, 0, {}},
         {QStringLiteral("聯絡人"), 1300, 16, QStringLiteral("RV12A1")},
         {QStringLiteral("稱謂"), 1100, 10, QStringLiteral("稱謂")},
         {QStringLiteral("職銜"), 1100, 10, QStringLiteral("RV12A2")},
         {QStringLiteral("分機"), 1000, 10, QStringLiteral("RV12A3")},
         {QStringLiteral("行動電話"), 1200, 12, QStringLiteral("RV12A5")},
         {QStringLiteral("e-mail"), 4000, 50, QStringLiteral("RV12A6")},
         {QStringLiteral("Skype"), 2000, 10, QStringLiteral("RV12A4")},
         {QStringLiteral("備註"), 4000, 0, QStringLiteral("備註")}},
        6,
        DetailGridDef::kKeepBlankSecondRow,
    };
    static const DetailGridDef deliveries = {
        QStringLiteral("DeliveGrid"),
        QStringLiteral("EditGridTXT"),
        QStringLiteral("RV12B"),
        QStringLiteral("RV12B0"),
        QStringLiteral("序號"),
        {{QStringLiteral("項次"), 500, 0, {}},
         {QStringLiteral("送貨名稱"), 1300, 25, QStringLiteral("送貨名稱")},
         {QStringLiteral("聯絡人"), 1300, 10, QStringLiteral("RV12B2")},
         {QStringLiteral("電話"), 2000, 15, QStringLiteral("RV12B3")},
         {QStringLiteral("傳真"), 2000, 15, QStringLiteral("RV12B4")},
         {QStringLiteral("地址"), 4000, 50, QStringLiteral("RV12B5")},
         {QStringLiteral("備註"), 4000, 20, QStringLiteral("RV12B6")}},
        -1,
        DetailGridDef::kRelayoutEveryStep,
        QStringLiteral(" : "),
    };
    return kind == DetailKind::Contacts ? contacts : deliveries;
}

CustomerDetailGrids::CustomerDetailGrids(QWidget* manPage, QWidget* delivePage, QObject* parent) : QObject(parent)
{
    man_ = new DetailGrid(CustomerGridDef(DetailKind::Contacts), manPage, this);
    delive_ = new DetailGrid(CustomerGridDef(DetailKind::Deliveries), delivePage, this);
}

CustomerDetailGrids::~CustomerDetailGrids() = default;

void CustomerDetailGrids::SetEditMode(const QString& editMode)
{
    man_->SetEditMode(editMode);
    delive_->SetEditMode(editMode);
}

void CustomerDetailGrids::SetDeleteRowButton(QWidget* button)
{
    man_->SetDeleteRowButton(button);
    delive_->SetDeleteRowButton(button);
}

void CustomerDetailGrids::ClearDeletedRowKeys()
{
    man_->ClearDeletedRowKeys();
    delive_->ClearDeletedRowKeys();
}

bool CustomerDetailGrids::ReadyToSave() { return man_->ReadyToSave() && delive_->ReadyToSave(); }

void CustomerDetailGrids::刪除一行(int selectedTab)
{
    if (selectedTab == 2)
        man_->DeleteRow();
    else if (selectedTab == 3)
        delive_->DeleteRow();
}

void CustomerDetailGrids::MailCom_Click()
{
    const int row = man_->Grid()->Row();
    if (row <= 0)
        return;
    const QString e = vb::Trim(man_->RowData().at(row, man_->Def().emailColumn));
    if (!e.isEmpty())
        shellsvc::OpenUrl(QStringLiteral("mailto:") + e);
    else
        ui::MsgBox(QStringLiteral("行 ") + QString::number(row) +
                   QStringLiteral(" 的郵件地址是空的，請點選有郵件地址那行。"));
}

bool CustomerDetailGrids::AddressCom_Click(const QString& shortName, const QString& phone, const QString& fax,
                                           const QString& address)
{
    if (vb::Trim(shortName).isEmpty() || vb::Trim(address).isEmpty()) {
        ui::MsgBox(QStringLiteral("客戶簡稱或公司地址未輸入。"));
        return false;
    }
    delive_->AppendRow({vb::Trim(shortName), QString(), vb::Trim(phone), vb::Trim(fax), vb::Trim(address), QString()});
    return true;
}
