#include "vendors/FactorFond.h"

#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "platform/text/VbText.h"
#include "vendors/FactorFrm.h"
#include "vendors/VendorFields.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using vb::Px;

constexpr int kLabelW = 1020, kLineStep = 420, kBoxH = 300;

}  // namespace

FactorFond::FactorFond(FactorFrm* owner, const QPixmap& titlePicture)
    : FindDialog(VendorFindBoxes(), 732, 733, nullptr, titlePicture), owner_(owner)
{
    Claim(this);
    setObjectName(QStringLiteral("FactorFond"));
    Wording = VendorFindWording();
    CopyTyped = {.from = 1, .to = 2};  // the short name onto the full name

    // Number and short name on the first line, the full name on the second, contact and person
    // in charge on the third, then one box a line; the remarks box is taller.
    struct At {
        int line, left, width, height;
    };
    const At at[] = {
        {0, 0, 2160, kBoxH}, {0, 3360, 2160, kBoxH}, {1, 0, 5520, kBoxH}, {2, 0, 2160, kBoxH},
        {2, 3360, 2160, kBoxH}, {3, 0, 5520, kBoxH}, {4, 0, 5520, kBoxH}, {5, 0, 2760, kBoxH},
        {6, 0, 2760, kBoxH}, {7, 0, 2160, kBoxH}, {8, 0, 5520, 720},
    };
    for (size_t i = 0; i < Text1.size() && i < std::size(at); ++i) {
        const int top = kTitleStripHeight + 180 + at[i].line * kLineStep;
        const int labelLeft = 120 + at[i].left;
        Label1[i]->setGeometry(Px(labelLeft), Px(top), Px(kLabelW), Px(kBoxH));
        Text1[i]->setGeometry(Px(labelLeft + kLabelW + 60), Px(top), Px(at[i].width), Px(at[i].height));
    }
    const int buttonTop = kTitleStripHeight + 180 + 8 * kLineStep + 720 + 180;
    for (int i = 0; i < 2; ++i)
        Command1[i]->setGeometry(Px(3000 + i * 1320), Px(buttonTop), Px(1200), Px(375));
    setFixedSize(Px(120 + kLabelW + 60 + 5520 + 240), Px(buttonTop + 375 + 240));
    Image1->setGeometry(0, 0, width(), Px(kTitleStripHeight));

    setWindowTitle(LoadResString(751));
    SetStatusText(QStringLiteral("您可以只輸入查詢字串的部分即可查詢並且也可以同時輸入多個欄位為查詢條件"));
}

FactorFond::~FactorFond() = default;

void FactorFond::Found(const FindCondition& condition)
{
    if (FactorFrm* window = owner_ ? owner_.data() : FactorFrm::Global().data())
        window->SetFindCondition(condition);
}

void FactorFond::Cancelled() { SetStatusPanel(QStringLiteral("廠商顯示全部"), 0); }
