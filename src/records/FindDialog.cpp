#include "records/FindDialog.h"

#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "platform/text/VbText.h"
#include "records/RecordExtras.h"
#include "platform/widgets/ByteLimit.h"
#include "platform/widgets/Keys.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using vb::Px;

const QString kWhite = QStringLiteral("background-color: #FFFFFF;");
const QString kGrey = QStringLiteral("background-color: #E0E0E0;");

// Design sizes (twips).
constexpr int kMargin = 240;
constexpr int kLabelWidth = 1020;
constexpr int kBoxLeft = 1080;  // from the label's left
constexpr int kBoxWidth = 2640;
constexpr int kColumnStep = 3960;
constexpr int kRowStep = 420;
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 375;

}  // namespace

FindCondition BuildFindCondition(const std::vector<FindTerm>& terms, const FindWording& wording)
{
    FindCondition c;
    for (const FindTerm& t : terms) {
        if (t.text.isEmpty())
            continue;
        if (!c.sql.isEmpty()) {
            c.text += wording.join;
            c.sql += wording.join;
        }
        c.text += t.column + wording.like + QStringLiteral("'%") + t.text + QStringLiteral("%'");
        c.sql += t.column + wording.like + QStringLiteral("?");
        c.params << QStringLiteral("%") + t.text + QStringLiteral("%");
    }
    return c;
}

FindDialog::FindDialog(const std::vector<FindBox>& boxes, int okTextId, int cancelTextId, QWidget* parent,
                       const QPixmap& titlePicture)
    : QDialog(parent), boxes_(boxes)
{
    setModal(true);
    Image1 = TitlePicture(this, titlePicture);

    // Two columns of boxes.
    const int n = int(boxes_.size());
    const int rows = (n + 1) / 2;
    for (int i = 0; i < n; ++i) {
        const FindBox& b = boxes_[size_t(i)];
        const int column = i / rows, row = i % rows;
        const int left = kMargin + column * kColumnStep, top = kTitleStripHeight + kMargin + row * kRowStep;
        auto* label = new QLabel(b.caption, this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(Px(left), Px(top), Px(kLabelWidth), Px(300));
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text1_%1").arg(i));
        box->setGeometry(Px(left + kBoxLeft), Px(top), Px(kBoxWidth), Px(300));
        box->setStyleSheet(kGrey);
        SetByteLimit(box, b.maxLength);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this] { CheckCommandStyl(); });
        Label1.push_back(label);
        Text1.push_back(box);
        DataField.push_back(b.column);
    }
    // OK and Cancel below the boxes, their right edge on the boxes' right edge.
    const int columns = n > rows ? 2 : 1;
    const int right = kMargin + (columns - 1) * kColumnStep + kBoxLeft + kBoxWidth;
    const int buttonTop = kTitleStripHeight + kMargin + rows * kRowStep + 120;
    for (int i = 0; i < 2; ++i) {
        Command1[i] = new QPushButton(LoadResString(i == 0 ? okTextId : cancelTextId), this);
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        Command1[i]->setGeometry(Px(right - kButtonWidth - (1 - i) * (kButtonWidth + 120)), Px(buttonTop),
                                 Px(kButtonWidth), Px(kButtonHeight));
        Command1[i]->setAutoDefault(false);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    Command1[0]->setDefault(false);
    setFixedSize(Px(right + kMargin), Px(buttonTop + kButtonHeight + kMargin));
    Image1->setGeometry(0, 0, width(), Px(kTitleStripHeight));
    CheckCommandStyl();
}

void FindDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    CenterOnScreen(this);
    if (!Text1.empty())
        Text1[0]->setFocus();
}

std::vector<FindTerm> FindDialog::Terms() const
{
    std::vector<FindTerm> terms;
    for (size_t i = 0; i < Text1.size(); ++i)
        terms.push_back({DataField[i], Text1[i]->text()});
    return terms;
}

void FindDialog::CheckCommandStyl()
{
    bool any = false;
    for (QLineEdit* box : Text1)
        any = any || !vb::Trim(box->text()).isEmpty();
    Command1[0]->setEnabled(any);
}

void FindDialog::Command1_Click(int index)
{
    if (index == 0) {
        const FindCondition condition = BuildFindCondition(Terms(), Wording);
        if (condition.isEmpty())
            return;
        done(QDialog::Accepted);
        Found(condition);
    } else if (index == 1) {
        Cancelled();
        done(QDialog::Rejected);
    }
}

void HoldFindCondition(FindCondition& held, QLineEdit* box, const FindCondition& condition,
                       const QString& panelText)
{
    held = condition;
    box->setText(condition.text);
    SetStatusPanel(panelText, 0);
    SetStatusText(QStringLiteral("查詢條件: ") + box->text());
}

bool FindDialog::KeyText(int index, const QString& text)
{
    if (boxes_[size_t(index)].digitsOnly) {
        for (QChar c : text)
            if (!NumericKeyFilter(c.unicode()))
                return false;
    }
    if (index == CopyTyped.from) {
        QString typed;
        for (QChar c : text)
            if (c.isPrint())
                typed += c;
        QLineEdit* to = Text1[size_t(CopyTyped.to)];
        if (!typed.isEmpty())
            to->setText((CopyTyped.trimTarget ? vb::Trim(to->text()) : to->text()) + typed);
    }
    return true;
}

bool FindDialog::eventFilter(QObject* watched, QEvent* event)
{
    int index = -1;
    for (size_t i = 0; i < Text1.size(); ++i)
        if (watched == Text1[i])
            index = int(i);
    if (index < 0)
        return QDialog::eventFilter(watched, event);
    QLineEdit* box = Text1[size_t(index)];
    switch (event->type()) {
    case QEvent::FocusIn:
        if (!gKeyinChinese && boxes_[size_t(index)].inputMethodOff)
            ToggleIME(box);
        box->setStyleSheet(kWhite);
        box->setCursorPosition(int(vb::Trim(box->text()).size()));
        break;
    case QEvent::FocusOut:
        box->setStyleSheet(kGrey);
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnter(key)) {
            Text1[size_t(index + 1) % Text1.size()]->setFocus();
            return true;
        }
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !KeyText(index, text))
            return true;
        break;
    }
    case QEvent::InputMethod: {
        auto* im = static_cast<QInputMethodEvent*>(event);
        if (!im->commitString().isEmpty() && !KeyText(index, im->commitString()))
            return true;
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
