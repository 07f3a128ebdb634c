// The employee window's field entry: focus, pick lists, the department picker, the masked date
// box, Enter and arrow moves, function-key aids and the checks made when a box is left.
#include "staff/PersonnelFrm.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "core/numbering/Numbering.h"
#include "core/numbering/Validators.h"
#include "platform/db/Probes.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/Keys.h"
#include "records/FieldTable.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QAbstractItemView>
#include <QTabBar>
#include <QTableView>

namespace {

// Text1 boxes a floating editor covers keep their colour.
bool Covered(BoxRef b)
{
    if (b.array != BoxArray::Text1)
        return false;
    switch (b.index) {
    case 0: case 3: case 6: case 7: case 12: case 13: case 14:
        return true;
    default:
        return false;
    }
}

}  // namespace

// ---- Boxes -------------------------------------------------------------------------------------

QWidget* PersonnelFrm::Box(BoxRef b) const
{
    switch (b.array) {
    case BoxArray::Text1:
        return b.index >= 0 && b.index < 20 ? Text1[size_t(b.index)] : nullptr;
    case BoxArray::Text2:
        return b.index >= 0 && b.index < 11 ? Text2[size_t(b.index)] : nullptr;
    case BoxArray::Text3:
        return b.index >= 0 && b.index < 7 ? Text3[size_t(b.index)] : nullptr;
    }
    return nullptr;
}

QString PersonnelFrm::BoxText(BoxRef b) const
{
    QWidget* w = Box(b);
    if (auto* line = qobject_cast<QLineEdit*>(w))
        return line->text();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
        return memo->toPlainText();
    return {};
}

void PersonnelFrm::SetBoxText(BoxRef b, const QString& text)
{
    QWidget* w = Box(b);
    if (auto* line = qobject_cast<QLineEdit*>(w))
        line->setText(text);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
        memo->setPlainText(text);
}

std::optional<BoxRef> PersonnelFrm::boxOf(QObject* widget) const
{
    for (const PersonnelField& f : PersonnelFields())
        if (Box(f.box) == widget)
            return f.box;
    return std::nullopt;
}

void PersonnelFrm::showFocus(BoxRef box, bool focused)
{
    boxes_[size_t(box.array)]->SetFocused(box.index, focused);
}

void PersonnelFrm::focusBox(BoxRef b)
{
    if (QWidget* w = Box(b)) {
        if (b.array == BoxArray::Text1)
            selectTab(b.index >= 17 ? 2 : 1);
        w->setFocus(Qt::OtherFocusReason);
    }
}

// ---- Change ------------------------------------------------------------------------------------

void PersonnelFrm::boxChanged(BoxRef b)
{
    if (b.array == BoxArray::Text1 && b.index == 0)
        PartnameLab->setText(取得部門名稱(vb::Trim(Text(0))));
    if (b.array == BoxArray::Text1 && b.index == 16)
        showPhoto();
    if (!editing() || loading_)
        return;
    DataChanged = true;
    if (b.array == BoxArray::Text1 && b.index == 12)
        Check1->setChecked(EmployedFlag(Text(12)) == 1);
    SaveButtonStyle();
    if (b.array == BoxArray::Text1)
        報告();
}

// ---- Focus -------------------------------------------------------------------------------------

void PersonnelFrm::boxGotFocus(BoxRef b)
{
    if (!editing() || guard_.Returning() || closing_)
        return;
    QWidget* w = Box(b);
    SetStatusText(w->toolTip());
    if (b.array == BoxArray::Text3) {
        showFocus(b, true);
        static_cast<QLineEdit*>(w)->setCursorPosition(vb::Trim(BoxText(b)).size());
        return;
    }
    if (b.array == BoxArray::Text1)
        selectTab(b.index >= 17 ? 2 : 1);
    TargetBox = b;
    const int next = NextOnEnter(b.array, b.index);
    if (next >= 0)
        NextBox = {b.array, next};
    if (b.array == BoxArray::Text1 && b.index == 16)
        NextBox = {BoxArray::Text1, 17};

    if (b == BoxRef{BoxArray::Text1, 0}) {
        // The department picker takes the typing; leaving it fills code, name and number.
        picker_->Open(w, Box(NextBox), {}, QRect(w->mapTo(this, QPoint(0, 0)), w->size()), true);
        DataCombo1[2]->lineEdit()->selectAll();
        return;
    }
    if (b == BoxRef{BoxArray::Text1, 3}) {
        QStringList grades;
        for (const QString& line : JobGradeListText(ReadSetting(QStringLiteral("CommanyManType"), QStringLiteral("Tessarine"), 0))
                                       .split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts))
            grades << line;
        LocatCombo1(b, grades, true);
        return;
    }
    if (b == BoxRef{BoxArray::Text1, 6}) {
        LocatCombo1(b, GenderItems());
        return;
    }
    if (b == BoxRef{BoxArray::Text2, 0}) {
        LocatCombo1(b, EmploymentItems());
        return;
    }
    if (b == BoxRef{BoxArray::Text2, 1}) {
        LocatCombo1(b, MaritalItems());
        return;
    }
    if (IsDateBox(b)) {
        DataKeyin(b);
        if (maskCovers_)
            return;
    }
    if (!Covered(b))
        showFocus(b, true);
    if (auto* line = qobject_cast<QLineEdit*>(w))
        line->setCursorPosition(vb::Trim(line->text()).size());
}

void PersonnelFrm::LocatCombo1(BoxRef b, const QStringList& items, bool firstWhenEmpty)
{
    QWidget* w = Box(b);
    pickList_->Open(w, Box(NextBox), items,
                    QRect(w->mapTo(this, QPoint(0, 0)), QSize(w->width(), Combo1->sizeHint().height())));
    // The grade list shows its first grade, which an empty box takes.
    if (firstWhenEmpty)
        pickList_->ShowFirstItemWhenBlank();
}

void PersonnelFrm::DataKeyin(BoxRef b)
{
    QWidget* w = Box(b);
    const QString text = BoxText(b);
    const std::optional<QDate> date = ReadDate(text, kEmployeeDateForm);
    if (!vb::Trim(text).isEmpty() && !date) {
        // A stored text that is no date: said once; the box itself takes the correction.
        maskCovers_ = false;
        if (!(reportedBox_ == b)) {
            reportedBox_ = b;
            {
                const LeaveGuard::Hold hold(guard_);
                ui::MsgBox(text + LoadResString(688));
            }
            guard_.Return(w);
        }
        return;
    }
    SetStatusText(LoadResString(684));
    maskCovers_ = true;
    DateMaskTXT->Cover(w, date ? DateText(*date) : QString());
    DateMaskTXT->selectAll();
    SetStatusText(DateMaskTXT->toolTip());
}

void PersonnelFrm::boxLostFocus(BoxRef b)
{
    if (!editing() || guard_.Returning() || closing_)
        return;
    QWidget* w = Box(b);
    showFocus(b, false);
    if (b.array != BoxArray::Text1)
        return;
    // A date box hands over to the masked date box, which checks what is typed in it.
    if (QApplication::focusWidget() == DateMaskTXT || QApplication::focusWidget() == Combo1 ||
        QApplication::focusWidget() == DataCombo1[2])
        return;
    // Leaving for 放棄 checks nothing.
    if (QApplication::focusWidget() == Command2[kCancel])
        return;
    const int i = b.index;
    // A refused box takes the focus back; the box the focus was going to checks nothing.
    auto back = [&](const QString& message) {
        if (!message.isEmpty()) {
            const LeaveGuard::Hold hold(guard_);
            ui::MsgBox(message);
        }
        guard_.Return(w);
    };
    try {
        if (i == 0 || i == 1 || i == 9)
            SetBoxText(b, vb::UCase(Text(i)));
        switch (i) {
        case 1: {
            const QVariant serial = db::NzValue(WorkmanRs.field(QStringLiteral("總序")));
            bool duplicate = false;
            {
                const LeaveGuard::Hold hold(guard_);
                duplicate = CheckNoDuplicate(QStringLiteral("tessarine.mdb"), QStringLiteral("RV17A"),
                                             QStringLiteral("RV17A1"), vb::Trim(Text(1)),
                                             qint32(vb::Val(serial.toString())));
            }
            if (duplicate) {
                back(QString());
                return;
            }
            break;
        }
        case 2:
            SetBoxText(b, vb::Trim(Text(2)));
            break;
        case 8:
            if (!vb::Trim(Text(8)).isEmpty()) {
                SetBoxText(b, vb::UCase(Text(8)));
                QString message;
                if (!CheckIdNumber(IdCheckMode(), Text(8), message)) {
                    back(message);
                    return;
                }
            }
            break;
        case 7:
        case 12:
        case 13:
            if (vb::Trim(Text(i)).isEmpty())
                return;
            if (const auto date = ReadDate(Text(i), kEmployeeDateForm)) {
                SetBoxText(b, DateText(*date));
            } else {
                back(Text(i) + LoadResString(688));
                return;
            }
            break;
        case 15: {
            SetBoxText(b, vb::Trim(Text(15)));
            QString message;
            IsValidEmail(Text(15), message);
            if (!vb::Trim(message).isEmpty()) {
                const LeaveGuard::Hold hold(guard_);
                ui::MsgBox(message);
            }
            break;
        }
        default:
            break;
        }
    } catch (const db::DbError& e) {
        ui::MsgBox(ErrorText(e), ui::Buttons::OK);
    }
    SetStatusText(QString());
    if (i == 13)
        Check1->setChecked(EmployedFlag(Text(12)) == 1);
}

// ---- The masked date box -----------------------------------------------------------------------

void PersonnelFrm::maskLeft()
{
    if (!maskCovers_ || guard_.Returning() || closing_)
        return;
    // Written back as shown, "_" places and all, until it reads as a date.
    const QString text = DateMaskTXT->displayText();
    if (DateMaskTXT->Blank()) {
        SetBoxText(TargetBox, QString());
    } else {
        SetBoxText(TargetBox, text);
        const std::optional<QDate> date = ReadDate(text, kEmployeeDateForm);
        if (!date) {
            // The mask stays over its box until it holds a date or nothing.
            {
                const LeaveGuard::Hold hold(guard_);
                ui::MsgBox(text + LoadResString(678));
            }
            guard_.Return(DateMaskTXT);
            return;
        }
        SetBoxText(TargetBox, DateText(*date));
    }
    maskCovers_ = false;
    DateMaskTXT->hide();
    SetStatusText(QString());
}

void PersonnelFrm::maskEnter() { focusBox(NextBox); }

// ---- Keys --------------------------------------------------------------------------------------

bool PersonnelFrm::boxKey(BoxRef b, QKeyEvent* key)
{
    const int i = b.index;
    const bool multiLine = PersonnelFieldOf(b).multiLine;
    // Arrows move between the boxes of an array (the notes boxes keep theirs).
    if (!multiLine && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
        const int to = key->key() == Qt::Key_Up ? NextOnUp(b.array, i) : NextOnDown(b.array, i);
        if (to >= 0)
            focusBox({b.array, to});
        return true;
    }
    if (!editing())
        return false;  // the boxes are read-only; the aids too leave the stored row alone
    if (b.array == BoxArray::Text1 && key->key() >= Qt::Key_F3 && key->key() <= Qt::Key_F5) {
        if (const auto text = StockTextFor(PersonnelStockTexts(), i, key->key(), [this](int box) { return Text(box); }))
            SetBoxText(b, Text(i) + *text);
        return true;
    }
    if (b.array == BoxArray::Text3 && IsEnter(key)) {
        focusBox({b.array, NextOnEnter(b.array, i)});
        return true;
    }
    if (!IsEnter(key)) {
        // The notes box of the addresses page holds its byte limit on typing too.
        const int limit = PersonnelFieldOf(b).maxLength;
        if (multiLine && limit > 0 && !key->text().isEmpty() && key->key() != Qt::Key_Backspace &&
            vb::ByteLen(BoxText(b)) >= limit)
            return true;
        return false;
    }
    if (multiLine) {
        auto* memo = static_cast<QPlainTextEdit*>(Box(b));
        int position = memo->textCursor().position();
        if (!CaretAfterLastLine(memo, position))
            return false;  // a new line
        // Enter on an empty last line leaves the box without adding a line.
        QTextCursor c = memo->textCursor();
        c.movePosition(QTextCursor::End);
        memo->setTextCursor(c);
    }
    if (b == BoxRef{BoxArray::Text1, 16}) {
        if (vb::UCase(Text(16)) == QStringLiteral("P"))
            Command3_Click(5);
        return true;
    }
    const int to = NextOnEnter(b.array, i);
    if (to >= 0)
        focusBox({b.array, to});
    return true;
}

// ---- Hover -------------------------------------------------------------------------------------

void PersonnelFrm::boxHover(BoxRef b)
{
    QWidget* w = Box(b);
    if (b == BoxRef{BoxArray::Text1, 7})
        w->setToolTip(AgeTip(Text(7), kEmployeeDateForm, ui::Today()));
    if (!HintsOff)
        SetStatusText(w->toolTip());
}

// ---- Events ------------------------------------------------------------------------------------

bool PersonnelFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (!built_)
        return QWidget::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    try {
        if (watched == DateMaskTXT) {
            if (type == QEvent::FocusOut && RealFocusChange(event))
                maskLeft();
            else if (type == QEvent::FocusIn && RealFocusChange(event)) {
                DateMaskTXT->selectAll();
                SetStatusText(DateMaskTXT->toolTip());
            } else if (type == QEvent::KeyPress && IsEnter(static_cast<QKeyEvent*>(event))) {
                maskEnter();
                return true;
            } else if (type == QEvent::KeyPress) {
                // Tab goes on from the date box the mask covers, as it would from the box itself.
                const auto* key = static_cast<QKeyEvent*>(event);
                if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
                    !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                    const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
                    if (QWidget* to = NextInTabOrder(Box(TargetBox), forward, DateMaskTXT))
                        to->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                    return true;
                }
            }
            return QWidget::eventFilter(watched, event);
        }
        if (watched == DataGrid1->viewport()) {
            if (type == QEvent::MouseButtonPress) {
                mouseOnGrid_ = true;
            } else if (type == QEvent::MouseButtonRelease) {
                mouseOnGrid_ = false;
            } else if ((type == QEvent::HoverEnter || type == QEvent::HoverMove) && !HintsOff) {
                SetStatusText(DataGrid1->toolTip());
            }
            return QWidget::eventFilter(watched, event);
        }
        if (type == QEvent::HoverEnter || type == QEvent::HoverMove) {
            auto* w = qobject_cast<QWidget*>(watched);
            const bool bar = std::find(Command2.begin(), Command2.end(), watched) != Command2.end() ||
                             std::find(Command3.begin(), Command3.end(), watched) != Command3.end() ||
                             std::find(DataCombo1.begin(), DataCombo1.end(), watched) != DataCombo1.end();
            if (bar && w && !HintsOff)
                SetStatusText(w->toolTip());
        }
        if (const std::optional<BoxRef> b = boxOf(watched)) {
            switch (type) {
            case QEvent::FocusIn:
                if (RealFocusChange(event))
                    boxGotFocus(*b);
                break;
            case QEvent::FocusOut:
                if (RealFocusChange(event))
                    boxLostFocus(*b);
                break;
            case QEvent::KeyPress:
                if (boxKey(*b, static_cast<QKeyEvent*>(event)))
                    return true;
                break;
            case QEvent::HoverEnter:
            case QEvent::HoverMove:
                if (b->array != BoxArray::Text2)
                    boxHover(*b);
                break;
            default:
                break;
            }
        }
    } catch (const std::exception& e) {
        ui::MsgBox(ErrorText(e), ui::Buttons::AbortRetryIgnore);
    }
    return QWidget::eventFilter(watched, event);
}
