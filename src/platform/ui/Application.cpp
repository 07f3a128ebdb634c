#include "platform/ui/Application.h"

#include "platform/ui/Ui.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>
#include <cstdio>
#include <exception>

namespace ui {

namespace {

bool gReporting = false;
std::function<QString(const std::exception&)> gDescribe;

// A focus event a widget got after its handlers had already moved the focus on (or back):
// the widget is told the outcome directly, past every event filter, so no window's
// enter or leave handling runs twice.  A popup taking the focus for a while is left alone.
void SettleFocus(QObject* receiver, const QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::FocusIn && type != QEvent::FocusOut) || !receiver->isWidgetType())
        return;
    if (static_cast<const QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
        return;
    auto* widget = static_cast<QWidget*>(receiver);
    const bool has = widget->hasFocus();
    if ((type == QEvent::FocusIn) == has)
        return;
    QFocusEvent settle(has ? QEvent::FocusIn : QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    static_cast<QObject*>(widget)->event(&settle);
}

// Alt with a key inserts no text anywhere: a letter no access key answers is no character
// typed, in a box, a list or a grid.  AltGr is no Alt (X reports it as a modifier of its own); Ctrl+Alt, its other spelling,
// is left alone too.  The key goes on without its text, so Alt+Down and the like still work.
bool SendWithoutAltText(QObject* receiver, QKeyEvent* key, bool* handled)
{
    const Qt::KeyboardModifiers mods = key->modifiers();
    if (!(mods & Qt::AltModifier) || (mods & Qt::ControlModifier) || key->text().isEmpty())
        return false;
    // An open menu reads its items' access keys from the text.
    if (receiver->inherits("QMenu") || receiver->inherits("QMenuBar"))
        return false;
    QKeyEvent bare(key->type(), key->key(), mods, key->nativeScanCode(), key->nativeVirtualKey(),
                   key->nativeModifiers(), QString(), key->isAutoRepeat(), key->count(), key->device());
    *handled = QCoreApplication::sendEvent(receiver, &bare);
    key->setAccepted(bare.isAccepted());
    return true;
}

// The drop-down whose list `receiver` is, or null.
QComboBox* DropDownOf(QObject* receiver)
{
    auto* view = qobject_cast<QAbstractItemView*>(receiver);
    if (!view || !view->isVisible())
        return nullptr;
    for (QWidget* w = view->parentWidget(); w; w = w->parentWidget())
        if (auto* combo = qobject_cast<QComboBox*>(w))
            return combo->view() == view ? combo : nullptr;
    return nullptr;
}

// Tab or Shift+Tab with a drop-down open takes the highlighted entry as a pick would, closes
// the list and moves on from the box as Tab there does.
bool TabFromDropDown(QObject* receiver, const QKeyEvent* key)
{
    if ((key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) ||
        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    QComboBox* combo = DropDownOf(receiver);
    if (!combo)
        return false;
    const QPointer<QComboBox> alive = combo;
    const QModelIndex at = combo->view()->currentIndex();
    combo->hidePopup();
    if (at.isValid() && alive) {
        const int row = at.row();
        combo->setCurrentIndex(row);
        if (combo->isEditable())
            combo->setEditText(combo->itemText(row));
        QMetaObject::invokeMethod(combo, "activated", Qt::DirectConnection, Q_ARG(int, row));
        if (alive)
            QMetaObject::invokeMethod(combo, "textActivated", Qt::DirectConnection, Q_ARG(QString, combo->itemText(row)));
    }
    if (alive) {
        QKeyEvent tab(QEvent::KeyPress, key->key(), key->modifiers());
        QCoreApplication::sendEvent(combo, &tab);
    }
    return true;
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            bool handled = false;
            if (SendWithoutAltText(receiver, key, &handled))
                return handled;
            if (TabFromDropDown(receiver, key))
                return true;
        }
        const QPointer<QObject> alive = receiver;
        const bool handled = QApplication::notify(receiver, event);
        if (alive)
            SettleFocus(receiver, event);
        return handled;
    } catch (const std::exception& e) {
        ReportUnexpectedError(gDescribe ? gDescribe(e) : QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ReportUnexpectedError(QString());
    }
    return false;
}

void SetErrorDescriber(std::function<QString(const std::exception&)> describe) { gDescribe = std::move(describe); }

QString UnexpectedErrorText(const QString& description)
{
    QString text = QStringLiteral("發生未預期的錯誤，這個動作沒有完成。");
    if (!description.isEmpty())
        text += QStringLiteral("\r\n\r\n") + description;
    return text + QStringLiteral("\r\n\r\n程式會繼續執行。");
}

void ReportUnexpectedError(const QString& description)
{
    const QString text = UnexpectedErrorText(description);
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    if (gReporting)  // an error while its own message is up: the first box stands for both
        return;
    gReporting = true;
    try {
        MsgBox(text, Buttons::OK, Icon::Critical);
    } catch (...) {
        // The box itself failed: the text is on stderr already, and there is no one else to tell.
    }
    gReporting = false;
}

}  // namespace ui
