// What the boxes of the personal-contact window do while the user works in them: focus and
// colours, the pick lists over the category and sex boxes, the date box over the birthday,
// Enter and the arrow and function keys, the checks when a box is left and the change handling.
#include "contacts/OtherFields.h"
#include "contacts/OtherFrm.h"
#include "contacts/OtherRules.h"
#include "records/EntryRules.h"
#include "records/FieldTable.h"
#include "core/Globals.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "core/numbering/Numbering.h"
#include "core/numbering/Validators.h"
#include "platform/db/Probes.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>

namespace {

const QString kEmptyMask = QStringLiteral("____/__/__");

bool IsEnterKey(const QKeyEvent* k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }

// The date box's text without its blanks ("" for the empty mask).
QString MaskText(const QLineEdit* mask)
{
    const QString shown = mask->displayText();
    if (shown == kEmptyMask)
        return {};
    QString out = shown;
    out.remove(QChar('_'));
    return out;
}

}  // namespace

bool OtherFrm::inputEvent(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == DateMaskTXT) {
        if (type == QEvent::FocusIn && RealFocusChange(event))
            DateMask_GotFocus();
        else if (type == QEvent::FocusOut && RealFocusChange(event))
            DateMask_LostFocus();
        else if (type == QEvent::KeyPress && IsEnterKey(static_cast<QKeyEvent*>(event))) {
            if (CurrentBoxIndex == 4)
                Text1[5]->setFocus(Qt::OtherFocusReason);
            return true;
        } else if (type == QEvent::MouseButtonDblClick) {
            Text1_DblClick(4);
            return true;
        } else if (type == QEvent::MouseMove || type == QEvent::HoverMove) {
            const auto date = ReadBirthday(MaskText(DateMaskTXT));
            if (date)
                DateMaskTXT->setToolTip(BirthdayTip(MaskText(DateMaskTXT), ui::Today()));
        }
        return false;
    }
    const int index = boxes_ ? boxes_->IndexOf(watched) : -1;
    if (index < 0)
        return false;
    return DispatchBoxEvent(index, event,
                            {.GotFocus = [this](int i) { Text1_GotFocus(i); },
                             .LostFocus = [this](int i) { Text1_LostFocus(i); },
                             .Key = [this](int i, QKeyEvent* k) { return Text1_Key(i, k); },
                             .InputMethod = {},
                             .DoubleClick = [this](int i) { Text1_DblClick(i); },
                             .Hover = [this](int i) { Text1_MouseMove(i); }});
}

// ---- Focus -------------------------------------------------------------------------------------------

void OtherFrm::Text1_GotFocus(int index)
{
    QWidget* box = Text1[size_t(index)];
    SetStatusText(box->toolTip());
    if (!CanEdit)
        return;
    CurrentBoxIndex = index;
    boxes_->SetFocused(box, true);
    if (QLineEdit* line = Box(index))
        line->setCursorPosition(int(vb::Trim(line->text()).size()));
    selectTab(OtherPageOf(index));
    CurrentBox = box;
    if (guard_.Returning() || pick_->HandingBack())
        return;
    if (index == 0) {
        {
            const QSignalBlocker block(Combo1[0]);
            Combo1[0]->clear();
        }
        trapButton([&] { 載入個人通訊分類(Combo1[0]); });
        pick_->Open(box, Text1[2], {}, {}, true);
    } else if (index == 5) {
        pick_->Open(box, Text1[6], SexPickItems());
        if (BoxText(5).isEmpty()) {
            // The first entry, chosen: Down goes on to the next.
            const QSignalBlocker block(Combo1[0]);
            Combo1[0]->setCurrentIndex(0);
        }
    } else if (index == 4) {
        const auto date = ReadBirthday(BoxText(4));
        DateMaskTXT->setText(date ? BirthdayText(*date) : QString());
        DateMaskTXT->setModified(false);
        DateMaskTXT->setGeometry(box->geometry());
        DateMaskTXT->show();
        DateMaskTXT->raise();
        DateMaskTXT->setFocus(Qt::OtherFocusReason);
    }
    PickTarget = pick_->TargetBox();
    PickNext = pick_->NextBox();
}

void OtherFrm::Text1_LostFocus(int index)
{
    if (!CanEdit || guard_.Returning())
        return;
    QWidget* box = Text1[size_t(index)];
    boxes_->SetFocused(box, false);
    SetStatusText(QString());
    QWidget* next = QApplication::focusWidget();
    // Leaving for 放棄, for the box's own pick list or date box, or a hidden page asks nothing.
    if (next == Command2[kCancel] || next == Combo1[0] || next == DateMaskTXT || !box->isVisible())
        return;
    bool back = false;
    trapButton([&] {
        switch (index) {
        case 1: {
            // Leaving for 存檔 leaves the number to the save check, which tests it the same way
            // and says so with both of its messages.
            const QString code = vb::Trim(BoxText(1));
            if (!code.isEmpty() && next != Command2[kSave])
                back = CheckNoDuplicate(QStringLiteral("tessarine.mdb"), QStringLiteral("RV18A"),
                                        QStringLiteral("RV18A1"), code,
                                        qint32(vb::Val(db::Nz(MainRs().field(QStringLiteral("總序"))))));
            break;
        }
        case 4: {
            const QString text = BoxText(4);
            if (vb::Trim(text).isEmpty())
                break;
            if (const auto date = ReadBirthday(text)) {
                if (BirthdayText(*date) != text)
                    SetBoxText(4, BirthdayText(*date));
            } else {
                ui::MsgBox(text + LoadResString(527));
                back = true;
            }
            break;
        }
        case 7: {
            if (vb::Trim(BoxText(7)).isEmpty())
                break;
            const QString upper = vb::UCase(BoxText(7));
            if (upper != BoxText(7))
                SetBoxText(7, upper);
            QString message;
            if (!CheckIdNumber(IdCheckMode(), upper, message)) {
                ui::MsgBox(message);
                back = true;
            }
            break;
        }
        case 13: {
            QString message;
            IsValidEmail(BoxText(13), message);
            if (!vb::Trim(message).isEmpty()) {
                ui::MsgBox(message);
                back = true;
            }
            break;
        }
        default:
            break;
        }
    });
    if (back)
        returnFocus(box);
}

// Puts the focus back into a box a check refused, without running the leave checks of the box
// the focus was on its way to, nor opening the box's pick list again.
void OtherFrm::returnFocus(QWidget* box)
{
    selectTab(OtherPageOf(boxes_->IndexOf(box)));
    guard_.Return(box);
    boxes_->SetFocused(box, true);
}

// ---- Keys --------------------------------------------------------------------------------------------

bool OtherFrm::Text1_Key(int index, QKeyEvent* key)
{
    const int code = key->key();
    auto go = [this](int target) {
        selectTab(OtherPageOf(target));
        Text1[size_t(target)]->setFocus(Qt::OtherFocusReason);
    };
    if (index != kOtherRemarksBox) {
        if (code == Qt::Key_Up) {
            const int target = OtherBoxOnUp(index, CanEdit);
            if (target >= 0)
                go(target);
            return true;
        }
        if (code == Qt::Key_Down) {
            go(OtherDownMap()(index));
            return true;
        }
        if (CanEdit && (code == Qt::Key_F3 || code == Qt::Key_F5)) {
            if (const auto text = StockTextFor(OtherStockTexts(), index, code, [this](int box) { return BoxText(box); }))
                SetBoxText(index, BoxText(index) + *text);
            return true;
        }
    }
    const bool enter = IsEnterKey(key);
    const bool typed = !key->text().isEmpty() && (key->text().at(0).isPrint() || enter);
    if (!typed)
        return false;  // caret movement, selection, shortcuts
    if (!CanEdit) {
        ui::Beep();
        SetStatusText(QStringLiteral("必須先在新增或是修改模式才能編輯資料"));
        ui::DoEvents();
        return true;
    }
    if (!enter)
        return false;
    if (index == 7 && vb::UCase(BoxText(7)) == QStringLiteral("P")) {
        Command3[1]->click();
        return true;
    }
    if (index == kOtherRemarksBox) {
        int pos = Remarks()->textCursor().position();
        if (!CaretAfterLastLine(Remarks(), pos))
            return false;  // a line break inside the remarks
    }
    go(OtherEnterMap()(index));
    return true;
}

void OtherFrm::Text1_DblClick(int index)
{
    if (!CanEdit || index != 4)
        return;
    const QString today = vb::Format(ui::Today(), QStringLiteral("yyyy/m/d"));
    SetBoxText(4, today);
    if (DateMaskTXT->isVisible()) {
        DateMaskTXT->setText(BirthdayText(ui::Today()));
        DateMaskTXT->setModified(false);
    }
}

void OtherFrm::Text1_MouseMove(int index)
{
    if (index == 4)
        Text1[4]->setToolTip(BirthdayTip(BoxText(4), ui::Today()));
    if (!CanEdit)
        SetStatusText(Text1[size_t(index)]->toolTip());
}

// ---- Change --------------------------------------------------------------------------------------------

void OtherFrm::Text1_Change(int index)
{
    if (EditMode.isEmpty())
        return;
    SetStatusText(Text1[size_t(index)]->toolTip());
    SaveCommandCheck();
    DataChanged = true;
    if (index == 15)
        showPhoto(BoxText(15));
    報告();
}

// ---- The date box ----------------------------------------------------------------------------------

void OtherFrm::DateMask_GotFocus()
{
    DateMaskTXT->selectAll();
    SetStatusText(LoadResString(526));
}

bool OtherFrm::DateMask_LostFocus()
{
    QWidget* box = CurrentBox ? CurrentBox : Text1[4];
    auto* line = qobject_cast<QLineEdit*>(box);
    if (!line)
        return true;
    // An untouched date box leaves the birthday as it was, whatever it holds.
    if (DateMaskTXT->isModified()) {
        const QString typed = MaskText(DateMaskTXT);
        if (typed.isEmpty()) {
            line->setText(QString());
        } else {
            line->setText(typed);
            const auto date = ReadBirthday(typed);
            if (!date) {
                ui::MsgBox(typed + LoadResString(527));
                guard_.Return(DateMaskTXT);
                return false;
            }
            line->setText(BirthdayText(*date));
        }
    }
    DateMaskTXT->hide();
    boxes_->SetFocused(line, false);
    SetStatusText(QString());
    return true;
}
