#include "customers/CustomFond.h"

#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "customers/CustomFrom.h"

#include <QLineEdit>

namespace {

const std::vector<FindBox>& CustomerFindBoxes()
{
    static const std::vector<FindBox> boxes = {
        {QStringLiteral("RV120"), QStringLiteral("客戶代號"), 14, true, false},
        {QStringLiteral("RV121"), QStringLiteral("客戶簡稱"), 10, false, false},
        {QStringLiteral("客戶全銜"), QStringLiteral("客戶全銜"), 25, false, false},
        {QStringLiteral("RV123"), QStringLiteral("客戶電話"), 30, true, false},
        {QStringLiteral("RV124"), QStringLiteral("客戶傳真"), 30, true, false},
        {QStringLiteral("RV125"), QStringLiteral("郵遞區號"), 10, true, false},
        {QStringLiteral("RV128"), QStringLiteral("公司地址"), 50, false, false},
        {QStringLiteral("RV129"), QStringLiteral("發票地址"), 50, false, false},
        {QStringLiteral("RV1210"), QStringLiteral("負責業務"), 10, false, false},
        {QStringLiteral("RV1211"), QStringLiteral("應收帳款"), 8, true, true},
        {QStringLiteral("RV1212"), QStringLiteral("結帳日期"), 3, true, true},
        {QStringLiteral("RV1213"), QStringLiteral("備註"), 50, false, false},
    };
    return boxes;
}

}  // namespace

CustomFond::CustomFond(CustomFrom* owner, QWidget* parent, const QPixmap& titlePicture)
    : FindDialog(CustomerFindBoxes(), 732, 733, parent, titlePicture), owner_(owner)
{
    setObjectName(QStringLiteral("CustomFond"));
    CopyTyped = {.from = 1, .to = 2, .trimTarget = true};  // the short name onto the full name
    setWindowTitle(LoadResString(731));
    SetStatusText(LoadResString(750));
}

void CustomFond::Found(const FindCondition& condition)
{
    CustomFrom* window = owner_ ? owner_.data() : CustomFrom::Global().data();
    if (window)
        window->SetFindCondition(condition);
}

void CustomFond::Cancelled() { SetStatusPanel(QStringLiteral("客戶") + LoadResString(297), 0); }
