#include "contacts/MemberLayout.h"

#include "platform/db/Db.h"

#include <algorithm>

using namespace member_design;

int MemberBoxMaxLength(int adoType, int definedSize)
{
    switch (adoType) {
    case db::adSmallInt:
    case db::adSingle:
        return 7;
    case db::adInteger:
    case db::adDate:
        return 10;
    case db::adLongVarWChar:
        return 0;
    default:
        return definedSize;
    }
}

bool IsMemberNumberType(int adoType)
{
    return adoType == db::adSmallInt || adoType == db::adInteger || adoType == db::adSingle ||
           adoType == db::adCurrency;
}

int MemberFieldLayout::FieldIndex(const QString& name) const
{
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == name)
            return int(i);
    return 0;
}

namespace {

// The member columns that move up one row, closing the row that 月日 left.
bool MovesUpOneRow(const QString& name)
{
    static const QStringList kNames = {
        QStringLiteral("性別"),     QStringLiteral("關係"),     QStringLiteral("身分證號"), QStringLiteral("聯絡電話"),
        QStringLiteral("行動電話"), QStringLiteral("公司名稱"), QStringLiteral("公司電話"), QStringLiteral("公司傳真"),
        QStringLiteral("戶籍住址"), QStringLiteral("通訊地址"), QStringLiteral("Skype"),    QStringLiteral("Msn"),
        QStringLiteral("即時通"),   QStringLiteral("電子信箱"),
    };
    return kNames.contains(name);
}

const QString kMail = QStringLiteral("電子信箱");

QRect MailButtonBeside(const QRect& box, int top)
{
    return QRect(box.left() + box.width() + 30, top, kMailButtonSize, kMailButtonSize);
}

// The member adjustments of the stacked layout, by column name.
void Adjust(MemberFieldLayout& l)
{
    for (int i = 1; i <= l.LastFieldIndex(); ++i) {
        const QString& name = l.columns[size_t(i)].name;
        QRect& box = l.boxes[size_t(i)];
        QRect& label = l.labels[size_t(i)];
        if (name == QStringLiteral("生日_年")) {
            box.setWidth(800);
        } else if (name == QStringLiteral("月日")) {
            const int j = l.FieldIndex(QStringLiteral("生日_年"));
            const QRect& yearBox = l.boxes[size_t(j)];
            const QRect& yearLabel = l.labels[size_t(j)];
            label.moveTop(yearLabel.top());
            label.setWidth(500);
            label.moveLeft(yearBox.left() + yearBox.width() + 50);
            box.setWidth(800);
            box.moveTop(yearLabel.top());
            box.moveLeft(label.left() + label.width() + 100);
        } else if (MovesUpOneRow(name)) {
            box.moveTop(label.top() - box.height());
            label.moveTop(box.top());
            if (name == kMail)
                l.mailButton = MailButtonBeside(box, label.top());
        } else if (name == QStringLiteral("累積點數")) {
            box.moveTop(l.labels[size_t(i - 1)].top() + box.height());
            box.moveLeft(l.boxes[size_t(i - 1)].left());
            label.moveTop(box.top());
            label.moveLeft(l.labels[size_t(i - 1)].left());
        }
    }
}

}  // namespace

MemberFieldLayout StackMemberFields(const std::vector<MemberColumn>& columns, int paneHeight)
{
    MemberFieldLayout l;
    l.paneWidth = kFieldPaneWidth;
    l.paneHeight = paneHeight;
    int y = kBox0.top(), x = kBox0.left(), lx = kLabel0.left();
    for (size_t i = 0; i < columns.size(); ++i) {
        const MemberColumn& c = columns[i];
        QRect box = kBox0, label = kLabel0;
        int maxLength = c.definedSize;
        if (i > 0) {
            if (c.name == QStringLiteral("總序"))
                break;
            maxLength = MemberBoxMaxLength(c.adoType, c.definedSize);
            if (c.adoType == db::adLongVarWChar)
                box.setHeight(kBox0.height() * 3);
            y += l.boxes.back().height();
            if (y + box.height() > l.paneHeight - 100) {
                y = kBox0.top();
                x = kBox0.left() + kLabel0.width() + kBox0.width() + 200;
                lx = kLabel0.left() + kBox0.width() + kLabel0.width() + 200;
                l.paneWidth = x + kBox0.width() + 200;
            }
            box.moveTo(x, y);
            label.moveTo(lx, y);
        }
        if (maxLength > 30)
            box.setWidth(box.width() * 2);
        if (c.name == kMail)
            l.mailButton = MailButtonBeside(box, label.top());
        if (box.top() + box.height() > l.paneHeight)
            l.paneHeight += box.height();
        l.columns.push_back(c);
        l.maxLength.push_back(maxLength);
        l.boxes.push_back(box);
        l.labels.push_back(label);
    }
    Adjust(l);
    return l;
}

int MemberPaneHeightAtLoad()
{
    return PlaceMemberPanes(kWidth - kFrameWidth, kHeight - kFrameHeight, false, kFieldPaneWidth).fieldPane.height();
}

MemberPanes PlaceMemberPanes(int innerWidth, int innerHeight, bool maximized, int fieldPaneWidth)
{
    MemberPanes p;
    p.titleShown = !maximized && innerWidth <= kNarrowInnerWidth;
    const int top = p.titleShown ? kTitleHeight : 0;
    p.title = QRect(0, 0, innerWidth, kTitleHeight);
    const int bars = kButtonBarHeight + kStatusBarHeight;
    p.fieldPane = QRect(0, top, fieldPaneWidth, std::max(0, innerHeight - top - bars));
    const int gridLeft = p.fieldPane.left() + p.fieldPane.width();
    p.gridPane = QRect(gridLeft, top, std::max(0, innerWidth - gridLeft), std::max(0, innerHeight - top - bars));
    p.grid = QRect(100, kGridTop, std::max(0, p.gridPane.width() - 200),
                   std::max(0, p.gridPane.height() - kGridTop - 100));
    // The button bar lies along the bottom, the status bar right above it.
    p.buttonBar = QRect(0, std::max(0, innerHeight - kButtonBarHeight), innerWidth, kButtonBarHeight);
    p.statusBar = QRect(0, std::max(0, innerHeight - bars), innerWidth, kStatusBarHeight);
    return p;
}
