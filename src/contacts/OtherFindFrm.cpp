#include "contacts/OtherFindFrm.h"

#include "contacts/OtherFields.h"
#include "contacts/OtherFrm.h"
#include "contacts/OtherSave.h"
#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/ByteLimit.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

int Px(int twips) { return vb::TwipsToPixels(twips); }

const QString kWhite = QStringLiteral("background-color: #FFFFFF;");
const QString kGrey = QStringLiteral("background-color: #E0E0E0;");

// Where each box sits (twips): left, row, width.  Rows are 300 apart from the top 240, below
// the title picture.
struct Place {
    int left, row, width;
};
constexpr int kLeftA = 1020, kLeftB = 3660, kShort = 1635, kName = 2655, kLong = 4275;
const Place kPlaces[OtherFindFrm::kBoxes] = {
    {kLeftA, 0, kShort}, {kLeftB, 0, kShort}, {kLeftA, 1, kName},  {kLeftA, 2, kName},  {kLeftA, 3, kShort},
    {kLeftB, 3, kShort}, {kLeftA, 4, kShort}, {kLeftB, 4, kShort}, {kLeftA, 5, kLong},  {kLeftA, 6, kLong},
    {kLeftA, 7, kLong},  {kLeftA, 8, kLong},  {kLeftA, 9, kLong},  {kLeftA, 10, kLong},
};
constexpr int kTitle = 1155, kRowStep = 330, kFirstRow = 240;
int RowTop(int row) { return kTitle + kFirstRow + row * kRowStep; }

}  // namespace

OtherFindFrm::OtherFindFrm(OtherFrm* owner, const QPixmap& titlePicture) : QDialog(owner), owner_(owner)
{
    setObjectName(QStringLiteral("OtherFindFrm"));
    setModal(true);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    if (!titlePicture.isNull())
        Image1->setPixmap(titlePicture);

    for (const OtherFindBox& b : OtherFindBoxes()) {
        const Place& p = kPlaces[b.box];
        auto* label = new QLabel(b.labelId ? LoadResString(b.labelId) : b.caption, this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(b.label));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const int labelLeft = p.left == kLeftA ? 60 : kLeftA + kShort + 60;
        label->setGeometry(Px(labelLeft), Px(RowTop(p.row)), Px(p.left - labelLeft - 60), Px(285));
        Label1[size_t(b.label)] = label;
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text1_%1").arg(b.box));
        box->setGeometry(Px(p.left), Px(RowTop(p.row)), Px(p.width), Px(285));
        box->setStyleSheet(kGrey);
        SetByteLimit(box, kOtherFindMaxLength);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this] { CheckCommandStyl(); });
        Text1[size_t(b.box)] = box;
    }
    const int buttonTop = RowTop(11) + 120;
    for (int i = 0; i < 2; ++i) {
        Command1[size_t(i)] = new QPushButton(LoadResString(732 + i), this);
        Command1[size_t(i)]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        Command1[size_t(i)]->setAutoDefault(false);
        Command1[size_t(i)]->setGeometry(Px(3300 + i * 1080), Px(buttonTop), Px(1000), Px(375));
        connect(Command1[size_t(i)], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    setFixedSize(Px(5550), Px(buttonTop + 375 + 240));
    Image1->setGeometry(0, 0, width(), Px(kTitle));
    setWindowTitle(LoadResString(719));
    CheckCommandStyl();
}

void OtherFindFrm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    CenterOnScreen(this);
    Text1[0]->setFocus();
}

void OtherFindFrm::CheckCommandStyl()
{
    bool any = false;
    for (QLineEdit* box : Text1)
        any = any || !vb::Trim(box->text()).isEmpty();
    Command1[0]->setEnabled(any);
}

void OtherFindFrm::Command1_Click(int index)
{
    if (index == 0) {
        std::vector<OtherFindTerm> terms;
        for (const OtherFindBox& b : OtherFindBoxes())
            terms.push_back({b.column, Text1[size_t(b.box)]->text()});
        const OtherFindCondition condition = BuildOtherFindCondition(terms);
        gOtherFindWhere = condition.text;
        OtherFrm* window = owner_ ? owner_.data() : OtherFrm::Global().data();
        done(QDialog::Accepted);
        if (window) {
            try {
                window->FondSub(condition);
            } catch (const db::DbError& e) {
                ui::MsgBox(e.Description(), ui::Buttons::OK, ui::Icon::Question,
                           LoadResString(523) + QString::number(e.Number()));
            }
        }
    } else {
        SetStatusText(LoadResString(519));
        SetStatusText(QString());
        done(QDialog::Rejected);
    }
}

bool OtherFindFrm::eventFilter(QObject* watched, QEvent* event)
{
    const auto it = std::find(Text1.begin(), Text1.end(), watched);
    if (it == Text1.end())
        return QDialog::eventFilter(watched, event);
    const int index = int(it - Text1.begin());
    switch (event->type()) {
    case QEvent::FocusIn:
        if (!gKeyinChinese && OtherFindBoxes()[size_t(index)].inputMethodOff)
            ToggleIME(Text1[size_t(index)]);
        Text1[size_t(index)]->setStyleSheet(kWhite);
        break;
    case QEvent::FocusOut:
        Text1[size_t(index)]->setStyleSheet(kGrey);
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Text1[size_t((index + 1) % kBoxes)]->setFocus();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
