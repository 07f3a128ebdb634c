#include "contacts/OtherFindFrm.h"

#include "contacts/OtherFrm.h"
#include "core/Globals.h"
#include "core/WindowHelpers.h"

#include <QLineEdit>

std::vector<FindBox> OtherFindBoxes()
{
    // Column, caption id (0: "類別"), Chinese typing switched off on entry.
    static const struct {
        const char* column;
        int captionId;
        bool inputMethodOff;
    } kBoxes[] = {
        {"類別", 0, true},      {"RV18A1", 781, true},  {"RV18A2", 782, false}, {"RV18A3", 783, true},
        {"RV18A4", 784, true},  {"性別", 780, false},   {"RV18A8", 787, false}, {"RV18A7", 786, true},
        {"RV18A9", 788, false}, {"RV18A10", 789, true}, {"RV18A11", 790, true}, {"RV18A12", 791, true},
        {"RV18A13", 792, true}, {"RV18A17", 785, true},
    };
    std::vector<FindBox> boxes;
    for (const auto& b : kBoxes)
        boxes.push_back({QString::fromUtf8(b.column),
                         b.captionId ? LoadResString(b.captionId) : QStringLiteral("類別"), 14, b.inputMethodOff,
                         false});
    return boxes;
}

FindWording OtherFindWording() { return {QStringLiteral(" LIKE "), QStringLiteral(" and  ")}; }

OtherFindFrm::OtherFindFrm(OtherFrm* owner, const QPixmap& titlePicture)
    : FindDialog(OtherFindBoxes(), 732, 733, owner, titlePicture), owner_(owner)
{
    setObjectName(QStringLiteral("OtherFindFrm"));
    setWindowTitle(LoadResString(719));
    Wording = OtherFindWording();
}

void OtherFindFrm::Found(const FindCondition& condition)
{
    gOtherFindWhere = condition.text;
    if (OtherFrm* window = owner_ ? owner_.data() : OtherFrm::Global().data())
        window->FondSub(condition);
}

void OtherFindFrm::Cancelled()
{
    SetStatusText(LoadResString(519));
    SetStatusText(QString());
}
