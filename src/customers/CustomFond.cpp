#include "customers/CustomFond.h"

#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "customers/CustomFrom.h"
#include "platform/text/VbText.h"
#include "platform/widgets/ByteLimit.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

int Px(int twips) { return vb::TwipsToPixels(twips); }

struct FindBox {
    const char* column;
    const char* caption;
    int maxLength;
    bool inputMethodOff;  // switched off on focus unless Chinese typing is the default
    bool digitsOnly;
};

const FindBox kFindBoxes[CustomFond::kBoxes] = {
    {"RV120", "客戶代號", 14, true, false},   {"RV121", "客戶簡稱", 10, false, false},
    {"客戶全銜", "客戶全銜", 25, false, false}, {"RV123", "客戶電話", 30, true, false},
    {"RV124", "客戶傳真", 30, true, false},   {"RV125", "郵遞區號", 10, true, false},
    {"RV128", "公司地址", 50, false, false},  {"RV129", "發票地址", 50, false, false},
    {"RV1210", "負責業務", 10, false, false}, {"RV1211", "應收帳款", 8, true, true},
    {"RV1212", "結帳日期", 3, true, true},    {"RV1213", "備註", 50, false, false},
};

const QString kWhite = QStringLiteral("background-color: #FFFFFF;");
const QString kGrey = QStringLiteral("background-color: #E0E0E0;");

}  // namespace

FindCondition BuildFindCondition(const std::vector<FindTerm>& terms)
{
    FindCondition c;
    for (const FindTerm& t : terms) {
        if (t.text.isEmpty())
            continue;
        if (!c.sql.isEmpty()) {
            c.text += QStringLiteral(" AND ");
            c.sql += QStringLiteral(" AND ");
        }
        c.text += t.column + QStringLiteral(" Like '%") + t.text + QStringLiteral("%'");
        c.sql += t.column + QStringLiteral(" Like ?");
        c.params << QStringLiteral("%") + t.text + QStringLiteral("%");
    }
    return c;
}

CustomFond::CustomFond(CustomFrom* owner, QWidget* parent, const QPixmap& titlePicture)
    : QDialog(parent), owner_(owner)
{
    setObjectName(QStringLiteral("CustomFond"));
    setModal(true);
    // Title strip.
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    if (!titlePicture.isNull())
        Image1->setPixmap(titlePicture);
    Image1->setGeometry(0, 0, Px(11070), Px(1155));

    // Two columns of six boxes.
    for (int i = 0; i < kBoxes; ++i) {
        const FindBox& b = kFindBoxes[i];
        const int column = i / 6, row = i % 6;
        const int left = 240 + column * 3960, top = 1155 + 240 + row * 420;
        Label1[i] = new QLabel(QString::fromUtf8(b.caption), this);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        Label1[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Label1[i]->setGeometry(Px(left), Px(top), Px(1020), Px(300));
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        Text1[i]->setGeometry(Px(left + 1080), Px(top), Px(2640), Px(300));
        Text1[i]->setStyleSheet(kGrey);
        SetByteLimit(Text1[i], b.maxLength);
        Text1[i]->installEventFilter(this);
        DataField[i] = QString::fromUtf8(b.column);
        connect(Text1[i], &QLineEdit::textChanged, this, [this] { CheckCommandStyl(); });
    }
    const int buttonTop = 1155 + 240 + 6 * 420 + 120;
    for (int i = 0; i < 2; ++i) {
        Command1[i] = new QPushButton(LoadResString(732 + i), this);
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        Command1[i]->setGeometry(Px(8160 - (1 - i) * 1320), Px(buttonTop), Px(1200), Px(375));
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    Command1[0]->setDefault(false);
    Command1[0]->setAutoDefault(false);
    Command1[1]->setAutoDefault(false);
    setFixedSize(Px(8400 + 120), Px(buttonTop + 375 + 240));
    Image1->setGeometry(0, 0, width(), Px(1155));

    setWindowTitle(LoadResString(731));
    SetStatusText(LoadResString(750));
    CheckCommandStyl();
}

void CustomFond::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    CenterOnScreen(this);
    Text1[0]->setFocus();
}

std::vector<FindTerm> CustomFond::Terms() const
{
    std::vector<FindTerm> terms;
    for (int i = 0; i < kBoxes; ++i)
        terms.push_back({DataField[i], Text1[i]->text()});
    return terms;
}

void CustomFond::CheckCommandStyl()
{
    bool any = false;
    for (QLineEdit* box : Text1)
        any = any || !vb::Trim(box->text()).isEmpty();
    Command1[0]->setEnabled(any);
}

void CustomFond::Command1_Click(int index)
{
    if (index == 0) {
        const FindCondition condition = BuildFindCondition(Terms());
        if (condition.isEmpty())
            return;
        CustomFrom* window = owner_ ? owner_.data() : CustomFrom::Global().data();
        done(QDialog::Accepted);
        if (window)
            window->SetFindCondition(condition);
    } else if (index == 1) {
        SetStatusPanel(QStringLiteral("客戶") + LoadResString(297), 0);
        done(QDialog::Rejected);
    }
}

void CustomFond::gotFocus(int index)
{
    if (!gKeyinChinese && kFindBoxes[index].inputMethodOff)
        ToggleIME(Text1[index]);
    Text1[index]->setStyleSheet(kWhite);
    Text1[index]->setCursorPosition(int(vb::Trim(Text1[index]->text()).size()));
}

void CustomFond::lostFocus(int index) { Text1[index]->setStyleSheet(kGrey); }

bool CustomFond::keyText(int index, const QString& text)
{
    if (kFindBoxes[index].digitsOnly) {
        for (QChar c : text)
            if (!NumericKeyFilter(c.unicode()))
                return false;
    }
    if (index == 1) {
        // The short name typed is copied onto the end of the full name.
        QString typed;
        for (QChar c : text)
            if (c.isPrint())
                typed += c;
        if (!typed.isEmpty())
            Text1[2]->setText(vb::Trim(Text1[2]->text()) + typed);
    }
    return true;
}

bool CustomFond::eventFilter(QObject* watched, QEvent* event)
{
    int index = -1;
    for (int i = 0; i < kBoxes; ++i)
        if (watched == Text1[i])
            index = i;
    if (index < 0)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        gotFocus(index);
        break;
    case QEvent::FocusOut:
        lostFocus(index);
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Text1[(index + 1) % kBoxes]->setFocus();
            return true;
        }
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !keyText(index, text))
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
