#include "vendors/VendorSave.h"

#include "core/Globals.h"
#include "core/numbering/Numbering.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "records/RecordExtras.h"
#include "vendors/VendorFields.h"

bool VendorNumberPrefixOk(const QString& categoryCode, const QString& number)
{
    return number.startsWith(vb::Trim(categoryCode) + QStringLiteral("-"));
}

const std::vector<int>& VendorWidthCheckedBoxes()
{
    static const std::vector<int> boxes = {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    return boxes;
}

int FirstTooWideVendorBox(const BoxTextFn& text) { return FirstTooWideBox(VendorFields(), VendorWidthCheckedBoxes(), text); }

QString VendorTooWideMessage(int maxLength)
{
    return LoadResString(316) + QString::number(maxLength) + LoadResString(317);
}

bool RefuseVendorNumber(const BoxTextFn& text, qint32 ownSerial)
{
    if (CheckNoDuplicate(QStringLiteral("tessarine.mdb"), QStringLiteral("rv11"), QStringLiteral("RV111"),
                         vb::Trim(text(1)), ownSerial))
        return true;
    if (!VendorNumberPrefixOk(text(0), text(1))) {
        ui::MsgBox(LoadResString(405));
        return true;
    }
    return false;
}

VendorSaveRefusal CheckSaveFACTOR(const BoxTextFn& text, qint32 ownSerial)
{
    VendorSaveRefusal r;
    if (RefuseVendorNumber(text, ownSerial)) {
        r.refused = true;
        return r;
    }
    const int wide = FirstTooWideVendorBox(text);
    if (wide >= 0) {
        ui::MsgBox(VendorTooWideMessage(VendorMaxLength(wide)), ui::Buttons::OK, ui::Icon::Question, SaveWidthTitle());
        r.refused = true;
        r.focusBox = wide;
    }
    return r;
}

db::Statement VendorContactsDeleteStatement(const QString& vendorNumber)
{
    return {QStringLiteral("Delete  廠商聯絡人.* From 廠商聯絡人 Where 廠商編號=?"), {vb::Trim(vendorNumber)}};
}

QString VendorReportText(bool editing, const BoxTextFn& text)
{
    static const std::vector<BoxNote> kNotes = {
        {0, "◆廠商代號 未輸入"},
        {2, "◆廠商簡稱 未輸入"},
        {3, "◆廠商全銜 未輸入,這會影響郵寄名單,以及支票開立等功能"},
        {13, "◆電話 未輸入"},
        {14, "◆傳真 未輸入"},
        {11, "◆廠商的公司地址未輸入"},
        {12, "◆廠商的工廠地址未輸入"},
        {16, "◆廠商狀況未輸入: 相關系統有時候不顯示非現用廠商"},
        {20, "◆廠商結帳日位輸入"},
    };
    return RecordNotesText(editing, kNotes, text);
}
