#include "vendors/FactorFond.h"

#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "platform/text/VbText.h"
#include "vendors/FactorFrm.h"
#include "vendors/VendorEntryRules.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

int Px(int twips) { return vb::TwipsToPixels(twips); }

const QString kWhite = QStringLiteral("background-color: #FFFFFF;");
const QString kGrey = QStringLiteral("background-color: #E0E0E0;");
constexpr int kTitle = 1155, kLabelW = 1020, kLineStep = 420, kBoxH = 300;

}  // namespace

QPointer<FactorFond>& FactorFond::Global()
{
    static QPointer<FactorFond> instance;
    return instance;
}

FactorFond::FactorFond(FactorFrm* owner, const QPixmap& titlePicture) : owner_(owner)
{
    if (!Global())
        Global() = this;
    setObjectName(QStringLiteral("FactorFond"));
    setModal(true);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    if (!titlePicture.isNull())
        Image1->setPixmap(titlePicture);

    // Number and short name on the first line, the full name on the second, contact and person
    // in charge on the third, then one box a line; the remarks box is taller.
    struct At {
        int line, left, width, height;
    };
    const At at[kVendorFindBoxes] = {
        {0, 0, 2160, kBoxH}, {0, 3360, 2160, kBoxH}, {1, 0, 5520, kBoxH}, {2, 0, 2160, kBoxH},
        {2, 3360, 2160, kBoxH}, {3, 0, 5520, kBoxH}, {4, 0, 5520, kBoxH}, {5, 0, 2760, kBoxH},
        {6, 0, 2760, kBoxH}, {7, 0, 2160, kBoxH}, {8, 0, 5520, 720},
    };
    const auto& boxes = VendorFindBoxes();
    for (int i = 0; i < kVendorFindBoxes; ++i) {
        const int top = kTitle + 180 + at[i].line * kLineStep;
        const int labelLeft = 120 + at[i].left;
        Label1[i] = new QLabel(boxes[size_t(i)].caption, this);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        Label1[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Label1[i]->setGeometry(Px(labelLeft), Px(top), Px(kLabelW), Px(kBoxH));
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        Text1[i]->setGeometry(Px(labelLeft + kLabelW + 60), Px(top), Px(at[i].width), Px(at[i].height));
        Text1[i]->setMaxLength(14);
        Text1[i]->setStyleSheet(kGrey);
        Text1[i]->installEventFilter(this);
        connect(Text1[i], &QLineEdit::textChanged, this, [this] { CheckCommandStyl(); });
    }
    const int buttonTop = kTitle + 180 + 8 * kLineStep + 720 + 180;
    for (int i = 0; i < 2; ++i) {
        Command1[i] = new QPushButton(LoadResString(732 + i), this);
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        Command1[i]->setGeometry(Px(3000 + i * 1320), Px(buttonTop), Px(1200), Px(375));
        Command1[i]->setAutoDefault(false);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    setFixedSize(Px(120 + kLabelW + 60 + 5520 + 240), Px(buttonTop + 375 + 240));
    Image1->setGeometry(0, 0, width(), Px(kTitle));

    setWindowTitle(LoadResString(751));
    SetStatusText(QStringLiteral("您可以只輸入查詢字串的部分即可查詢並且也可以同時輸入多個欄位為查詢條件"));
    CheckCommandStyl();
}

FactorFond::~FactorFond() = default;

void FactorFond::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    CenterOnScreen(this);
    Text1[0]->setFocus();
}

std::vector<VendorFindTerm> FactorFond::Terms() const
{
    std::vector<VendorFindTerm> terms;
    for (int i = 0; i < kVendorFindBoxes; ++i)
        terms.push_back({VendorFindBoxes()[size_t(i)].column, Text1[i]->text()});
    return terms;
}

void FactorFond::CheckCommandStyl()
{
    bool any = false;
    for (QLineEdit* box : Text1)
        any = any || !vb::Trim(box->text()).isEmpty();
    Command1[0]->setEnabled(any);
}

void FactorFond::Command1_Click(int index)
{
    if (index == 0) {
        const VendorFindCondition condition = BuildVendorFindCondition(Terms());
        if (condition.isEmpty())
            return;
        FactorFrm* window = owner_ ? owner_.data() : FactorFrm::Global().data();
        done(QDialog::Accepted);
        if (window)
            window->SetFindCondition(condition);
    } else if (index == 1) {
        SetStatusPanel(QStringLiteral("廠商顯示全部"), 0);
        done(QDialog::Rejected);
    }
}

bool FactorFond::keyText(int index, const QString& text)
{
    if (VendorFindBoxes()[size_t(index)].digitsOnly) {
        for (QChar c : text)
            if (!NumericKeyFilter(c.unicode()))
                return false;
    }
    // The short name typed is copied onto the end of the full name (printable characters only).
    if (index == 1) {
        const QString typed = PrintableOnly(text);
        if (!typed.isEmpty())
            Text1[2]->setText(Text1[2]->text() + typed);
    }
    return true;
}

bool FactorFond::eventFilter(QObject* watched, QEvent* event)
{
    int index = -1;
    for (int i = 0; i < kVendorFindBoxes; ++i)
        if (watched == Text1[i])
            index = i;
    if (index < 0)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        Text1[index]->setStyleSheet(kWhite);
        Text1[index]->setCursorPosition(int(vb::Trim(Text1[index]->text()).size()));
        break;
    case QEvent::FocusOut:
        Text1[index]->setStyleSheet(kGrey);
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Text1[(index + 1) % kVendorFindBoxes]->setFocus();
            return true;
        }
        const QString text = key->text();
        if (!text.isEmpty() && (text.at(0).isPrint() || key->key() == Qt::Key_Backspace) && !keyText(index, text))
            return true;
        break;
    }
    case QEvent::InputMethod: {
        auto* im = static_cast<QInputMethodEvent*>(event);
        if (!im->commitString().isEmpty() && !keyText(index, im->commitString()))
            return true;
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
