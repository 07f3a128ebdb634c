// What the boxes of the member window do while the user works in them: colours, the pick lists
// over 類別 and 性別, Enter, the key filter of number boxes, the checks when a box is left and
// the change handling.
#include "contacts/DBtable_fm.h"
#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "core/numbering/ListFillers.h"
#include "core/numbering/Validators.h"
#include "platform/db/Db.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/Keys.h"
#include "records/EntryRules.h"
#include "records/FieldTable.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

bool NumberText(const QString& text)
{
    for (QChar c : text)
        if (!(c.isDigit() && c.unicode() < 128) && c != u'.')
            return false;
    return true;
}

}  // namespace

bool DBtable_fm::eventFilter(QObject* watched, QEvent* event)
{
    if (boxEvent(watched, event))
        return true;
    const QEvent::Type type = event->type();
    if ((watched == Picture1 || watched == Picture4) && type == QEvent::MouseMove)
        SetStatusText(QString());
    return QWidget::eventFilter(watched, event);
}

bool DBtable_fm::boxEvent(QObject* watched, QEvent* event)
{
    if (!boxes_)
        return false;
    const QEvent::Type type = event->type();
    if (watched == Combo2 && type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab) {
        pick_->Commit();
        if (PickNextBox)
            PickNextBox->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (watched == MemoFieldTxt) {
        if (type == QEvent::FocusIn && RealFocusChange(event)) {
            if (!EditMode.isEmpty())
                boxes_->SetFocused(MemoFieldTxt, true);
        } else if (type == QEvent::FocusOut && RealFocusChange(event)) {
            boxes_->SetFocused(MemoFieldTxt, false);
        } else if (type == QEvent::KeyPress) {
            return Memo_KeyPress(static_cast<QKeyEvent*>(event));
        }
        return false;
    }
    const int index = boxes_->IndexOf(watched);
    if (index < 0 || index > LastFieldIndex)
        return false;
    return DispatchBoxEvent(index, event,
                            {.GotFocus = [this](int i) { Fields_Text_GotFocus(i); },
                             .LostFocus = [this](int i) { Fields_Text_LostFocus(i); },
                             .Key = [this](int i, QKeyEvent* k) { return Fields_Text_KeyPress(i, k); },
                             .InputMethod = [this](int i, QInputMethodEvent* im) { return refuseInputText(i, im); },
                             .DoubleClick = [this](int i) { Fields_Text_DblClick(i); },
                             .Hover = [this](int i) { Fields_Text_MouseMove(i); }});
}

// An input method's text obeys the same filter as keys: true when it is refused.
bool DBtable_fm::refuseInputText(int index, const QInputMethodEvent* im)
{
    if (!EditMode.isEmpty() && IsMemberNumberType(FieldTypes[size_t(index)]) && !im->commitString().isEmpty() &&
        !NumberText(im->commitString())) {
        ui::Beep();
        return true;
    }
    return false;
}

// ---- Focus ---------------------------------------------------------------------------------------

void DBtable_fm::Fields_Text_GotFocus(int index)
{
    if (EditMode.isEmpty())
        return;
    QLineEdit* box = Fields_Text[size_t(index)];
    boxes_->SetFocused(box, true);
    PickNextBox = index == LastFieldIndex ? static_cast<QWidget*>(Fields_Text[1]) : Fields_Text[size_t(index + 1)];
    PickTarget = box;
    if (guard_.Returning() || pick_->HandingBack())
        return;
    const QString& name = FieldNames[size_t(index)];
    if (name != QStringLiteral("類別") && name != QStringLiteral("性別"))
        return;
    {
        const QSignalBlocker block(Combo2);
        Combo2->clear();
    }
    if (name == QStringLiteral("類別"))
        ButtonSteps({[this] { FillDistinctCombo(Combo2, QStringLiteral("類別"), TableName, gConn); }});
    else
        Combo2->addItems({QStringLiteral("男"), QStringLiteral("女")});
    QRect at = box->geometry();
    at.setWidth(at.width() + vb::TwipsToPixels(300));
    pick_->Open(box, PickNextBox, {}, at, true);
    // A criterion is only what the user puts there: the list offers its first item while editing.
    if (EditMode != ModeText::Find)
        pick_->ShowFirstItemWhenBlank();
}

void DBtable_fm::Fields_Text_LostFocus(int index)
{
    QLineEdit* box = Fields_Text[size_t(index)];
    boxes_->SetFocused(box, false);
    // The checks hold for a member being added or changed; criteria and shown values pass.
    if ((EditMode != ModeText::AddNew && EditMode != ModeText::Edit) || guard_.Returning())
        return;
    QWidget* next = QApplication::focusWidget();
    if (next == Command2[kCancel] || next == Combo2)
        return;
    const QString& name = FieldNames[size_t(index)];
    QString message;
    bool refused = false;
    if (name == QStringLiteral("電子信箱")) {
        const QString trimmed = vb::Trim(box->text());
        if (trimmed != box->text())
            box->setText(trimmed);
        refused = !trimmed.isEmpty() && !IsValidEmail(trimmed, message);
    } else if (name == QStringLiteral("身分證號")) {
        if (vb::Trim(box->text()).isEmpty())
            return;
        const QString upper = vb::UCase(box->text());
        if (upper != box->text())
            box->setText(upper);
        refused = !CheckIdNumber(IdCheckMode(), upper, message);
    }
    if (!refused)
        return;
    ui::MsgBox(message);
    guard_.Return(box);
    boxes_->SetFocused(box, true);
}

// ---- Keys ----------------------------------------------------------------------------------------

bool DBtable_fm::Fields_Text_KeyPress(int index, QKeyEvent* key)
{
    if (IsEnter(key)) {
        QWidget* next = index < LastFieldIndex ? static_cast<QWidget*>(Fields_Text[size_t(index + 1)]) : MemoFieldTxt;
        next->setFocus(Qt::OtherFocusReason);
        return true;
    }
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;  // caret movement, selection, Backspace, shortcuts
    if (EditMode.isEmpty())
        return true;  // boxes only show the member while browsing
    if (IsMemberNumberType(FieldTypes[size_t(index)]) && !NumberText(text)) {
        NumericKeyFilter(text.at(0).unicode());  // beeps
        return true;
    }
    return false;
}

bool DBtable_fm::Memo_KeyPress(QKeyEvent* key)
{
    if (!IsEnter(key))
        return false;
    int pos = MemoFieldTxt->textCursor().position();
    if (!CaretAfterLastLine(MemoFieldTxt, pos))
        return false;  // a line break inside the memo
    if (LastFieldIndex >= 1)
        Fields_Text[1]->setFocus(Qt::OtherFocusReason);
    return true;
}

void DBtable_fm::Fields_Text_DblClick(int index)
{
    if (EditMode.isEmpty() || EditMode == ModeText::Find || FieldTypes[size_t(index)] != db::adDate)
        return;
    Fields_Text[size_t(index)]->setText(vb::Format(ui::Today(), QStringLiteral("yyyy/mm/dd")));
}

void DBtable_fm::Fields_Text_MouseMove(int index)
{
    const QRect& r = Layout().boxes[size_t(index)];
    Label3[1]->setText(QString::number(r.top()) + QStringLiteral(",") + QString::number(r.left()));
}

// ---- Change --------------------------------------------------------------------------------------

void DBtable_fm::Fields_Text_Change(int index)
{
    Q_UNUSED(index);
    if (EditMode.isEmpty())
        return;
    ChangFlagOpt->setChecked(true);
    // Criteria make the query runnable; a member's change makes it savable.
    if (EditMode == ModeText::Find)
        Command2[kRunQuery]->setEnabled(true);
    else
        Command2[kSave]->setEnabled(true);
}
