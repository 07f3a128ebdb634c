#include "records/EntryRules.h"

#include "core/Globals.h"
#include "platform/text/VbText.h"
#include "platform/widgets/Keys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace {

QString TextOf(const QWidget* box)
{
    if (auto* e = qobject_cast<const QLineEdit*>(box))
        return e->text();
    if (auto* p = qobject_cast<const QPlainTextEdit*>(box))
        return p->toPlainText();
    return {};
}

void SetTextOf(QWidget* box, const QString& text)
{
    if (auto* e = qobject_cast<QLineEdit*>(box)) {
        if (e->text() != text)
            e->setText(text);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(box)) {
        if (p->toPlainText() != text)
            p->setPlainText(text);
    }
}

bool IsReadOnly(const QWidget* box)
{
    if (auto* e = qobject_cast<const QLineEdit*>(box))
        return e->isReadOnly();
    if (auto* p = qobject_cast<const QPlainTextEdit*>(box))
        return p->isReadOnly();
    return false;
}

// The inner window (or the top-level window) a widget is part of.
const QWidget* InnerWindowOf(const QWidget* w)
{
    while (w->parentWidget() && !w->isWindow() && !w->parentWidget()->inherits("QMdiSubWindow"))
        w = w->parentWidget();
    return w;
}

// Alt+Down and F4 open a drop-down list, as everywhere in Windows.
bool OpensDropDown(const QKeyEvent* k)
{
    return (k->key() == Qt::Key_Down && (k->modifiers() & Qt::AltModifier)) ||
           (k->key() == Qt::Key_F4 && !(k->modifiers() & (Qt::AltModifier | Qt::ControlModifier)));
}

}  // namespace

PickList::PickList(QComboBox* list, int flags, QObject* parent) : QObject(parent), list_(list), listObject_(list), flags_(flags)
{
    // The list holds any text the box held, not only its items.
    list_->setEditable(true);
    list_->setInsertPolicy(QComboBox::NoInsert);
    list_->setCompleter(nullptr);
    list_->hide();
    list_->installEventFilter(this);
    if (list_->lineEdit())
        list_->lineEdit()->installEventFilter(this);
    // The drop-down's own key handling is installed with the view; this filter comes after it
    // and so runs first.
    list_->view()->installEventFilter(this);
    connect(list_, &QComboBox::activated, this, [this] { write(); });
    // Wherever else in the window the focus goes, the list goes.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
    if (flags_ & kWriteThrough)
        connect(list_, &QComboBox::editTextChanged, this, [this] {
            if (list_->isVisible())
                write();
        });
}

void PickList::Open(QWidget* target, QWidget* next, const QStringList& items, const QRect& geometry, bool keepItems)
{
    if (target_ && target_ != target)
        target_->removeEventFilter(this);
    target_ = target;
    next_ = next;
    taken_.reset();
    // The box hidden (its page changed) or locked (the record saved, abandoned or left) takes
    // the list away.
    target->installEventFilter(this);
    if (!keepItems) {
        const QSignalBlocker block(list_);
        list_->clear();
        list_->addItems(items);
    }
    {
        const QSignalBlocker block(list_);
        list_->setCurrentIndex(-1);
        list_->setEditText(QString());
        const QString keep = TextOf(target);
        if (!vb::Trim(keep).isEmpty()) {
            // The list stands at the box's own entry: Down gives the one after it.
            int at = list_->findText(keep, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (at < 0)
                at = list_->findText(vb::Trim(keep), Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (at >= 0)
                list_->setCurrentIndex(at);
            list_->setEditText(keep);
        }
    }
    list_->setGeometry(geometry.isEmpty() ? target->geometry() : geometry);
    list_->raise();
    list_->show();
    list_->setFocus(Qt::OtherFocusReason);
}

void PickList::ShowFirstItemWhenBlank()
{
    if (!vb::Trim(list_->currentText()).isEmpty() || list_->count() == 0)
        return;
    const QSignalBlocker block(list_);
    list_->setCurrentIndex(0);
    list_->setEditText(list_->itemText(0));
}

bool PickList::IsOpen() const { return list_->isVisible() && target_; }

bool PickList::HasFocus() const
{
    if (!IsOpen())
        return false;
    if (list_->view() && list_->view()->isVisible())
        return true;
    // The window's focus, also while a message box is in front of it.
    const QWidget* f = list_->window()->focusWidget();
    return f && (f == list_ || list_->isAncestorOf(f));
}

void PickList::focusMoved(QWidget* now)
{
    // A message box or the list's own drop-down is another window: the list stays for them.
    if (!now || list_->isHidden() || now == list_ || list_->isAncestorOf(now) || now->window() != list_->window())
        return;
    close(false);
}

void PickList::close(bool leaving)
{
    if (list_->isHidden())
        return;
    if (leaving)
        write();
    list_->hide();
    // A choice a save has taken already is not taken twice.
    const bool taken = (flags_ & kChooseOnly) && taken_ == list_->currentText();
    if (leaving && Left && !taken)
        Left();
}

void PickList::write()
{
    if (target_ && !(flags_ & kChooseOnly))
        SetTextOf(target_, list_->currentText());
}

bool PickList::Commit()
{
    if (!IsOpen())
        return false;
    if (!HasFocus()) {
        // Left on the screen without the focus, it holds nothing of the record being saved.
        close(false);
        return false;
    }
    write();
    if ((flags_ & kChooseOnly) && taken_ != list_->currentText()) {
        taken_ = list_->currentText();
        if (Left)
            Left();
    }
    return true;
}

// A key typed while the drop-down is open.  As in a Windows drop-down combo box, characters and
// Backspace edit the list's text (the first key after the drop-down opens replaces the whole
// text) and the first entry beginning with the text is highlighted.  Enter after typing closes
// the drop-down, takes the highlighted entry (none: the text as typed) and goes on as Enter in
// the list; without typing it picks the highlighted entry, as a drop-down does.
bool PickList::dropDownKey(QKeyEvent* key)
{
    QLineEdit* edit = list_->lineEdit();
    if (!edit)
        return false;
    if (IsEnter(key)) {
        if (!typedInDropDown_)
            return false;
        const QModelIndex highlighted = list_->view()->currentIndex();
        list_->hidePopup();
        if (highlighted.isValid()) {
            list_->setCurrentIndex(highlighted.row());
            list_->setEditText(list_->itemText(highlighted.row()));
        }
        enter();
        return true;
    }
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    const bool backspace = key->key() == Qt::Key_Backspace;
    if (!backspace && (text.isEmpty() || !text.at(0).isPrint()))
        return false;
    if (!typedInDropDown_)
        edit->selectAll();
    typedInDropDown_ = true;
    if (backspace)
        edit->backspace();
    else
        edit->insert(text);
    highlightTyped();
    return true;
}

void PickList::highlightTyped()
{
    const QString text = list_->lineEdit()->text();
    const int row = text.isEmpty() ? -1 : list_->findText(text, Qt::MatchStartsWith);
    QAbstractItemView* view = list_->view();
    if (row < 0) {
        view->selectionModel()->clear();
        return;
    }
    const QModelIndex index = list_->model()->index(row, list_->modelColumn(), list_->rootModelIndex());
    view->setCurrentIndex(index);
    view->scrollTo(index);
}

void PickList::enter()
{
    if (!target_)
        return;
    write();
    QWidget* to = (flags_ & kEnterBackToBox) ? target_.data() : next_.data();
    if (to) {
        returning_ = (flags_ & kEnterBackToBox) != 0;
        to->setFocus(Qt::OtherFocusReason);
        returning_ = false;
    }
    if (Entered)
        Entered();
}

bool PickList::eventFilter(QObject* watched, QEvent* event)
{
    // A list being destroyed is a combo box no more (its drop-down goes with it): nothing to do.
    if (!qobject_cast<QComboBox*>(listObject_))
        return false;
    const QEvent::Type type = event->type();
    if (watched == target_ && watched != list_) {
        if (type == QEvent::Hide && !list_->isHidden()) {
            // A page changed under the list: leaving it as a click elsewhere would, unless its
            // whole window is going.
            const QWidget* f = list_->window()->focusWidget();
            const bool focused = f && (f == list_ || list_->isAncestorOf(f));
            close(focused && InnerWindowOf(list_)->isVisible());
        } else if (type == QEvent::ReadOnlyChange && IsReadOnly(target_)) {
            close(false);
        }
        return false;
    }
    if (watched == list_->view()) {
        if (type == QEvent::Show)
            typedInDropDown_ = false;
        else if (type == QEvent::KeyPress)
            return dropDownKey(static_cast<QKeyEvent*>(event));
        return false;
    }
    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (OpensDropDown(key)) {
            list_->showPopup();
            return true;
        }
        if ((flags_ & kTabFromBox) && target_ && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            if (QWidget* to = NextInTabOrder(target_, forward, list_))
                to->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
        if (IsEnter(key) && watched == list_ && target_) {
            enter();
            return true;
        }
    } else if (type == QEvent::FocusIn && watched == list_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && Focused)
            Focused();
    } else if (type == QEvent::FocusOut && watched == list_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // A message box or the list's own drop-down taking the focus is not leaving the list.
        // The first time the drop-down opens, the focus moves into it a second time, as an
        // ordinary focus change, while it is shown.
        const bool dropDownOpen = list_->view() && list_->view()->isVisible();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !dropDownOpen &&
            list_->isVisible())
            close(true);
    }
    return false;
}

QWidget* NextInTabOrder(QWidget* from, bool forward, const QWidget* skip)
{
    QWidget* w = from;
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == from)
            return nullptr;
        if (skip && (w == skip || skip->isAncestorOf(w)))
            continue;
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && w->window() == from->window())
            return w;
    }
}

bool RealFocusChange(const QEvent* event)
{
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool DispatchBoxEvent(int box, QEvent* event, const BoxEvents& handlers)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (handlers.GotFocus && RealFocusChange(event))
            handlers.GotFocus(box);
        break;
    case QEvent::FocusOut:
        if (handlers.LostFocus && RealFocusChange(event))
            handlers.LostFocus(box);
        break;
    case QEvent::KeyPress:
        return handlers.Key && handlers.Key(box, static_cast<QKeyEvent*>(event));
    case QEvent::InputMethod:
        return handlers.InputMethod && handlers.InputMethod(box, static_cast<QInputMethodEvent*>(event));
    case QEvent::MouseButtonDblClick:
        if (handlers.DoubleClick)
            handlers.DoubleClick(box);
        break;
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::MouseMove:
        if (handlers.Hover)
            handlers.Hover(box);
        break;
    default:
        break;
    }
    return false;
}

void CommitPickLists(const std::vector<PickList*>& lists)
{
    for (PickList* l : lists)
        if (l)
            l->Commit();
}

void LeaveGuard::Return(QWidget* box)
{
    const Hold hold(*this);
    if (QWidget* w = box->window(); w && !w->isActiveWindow())
        w->activateWindow();
    box->setFocus(Qt::OtherFocusReason);
}

std::optional<QString> StockTextFor(const std::vector<StockText>& table, int box, int key,
                                    const BoxTextFn& boxText)
{
    for (const StockText& s : table) {
        if (s.box != box || s.key != key)
            continue;
        if (s.copyBox >= 0)
            return boxText(s.copyBox);
        if (s.textId > 0)
            return LoadResString(s.textId);
        return s.text;
    }
    return std::nullopt;
}
