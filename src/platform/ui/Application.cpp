#include "platform/ui/Application.h"

#include "platform/ui/Ui.h"

#include <QFocusEvent>
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

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        // A window shown (a top-level one, or one inside the main window's frame) shows its
        // texts in the language in use; so does a caption set later, before it is painted.
        if (receiver->isWidgetType()) {
            auto* w = static_cast<QWidget*>(receiver);
            if (event->type() == QEvent::Show &&
                (w->isWindow() || (w->parentWidget() && w->parentWidget()->inherits("QMdiSubWindow"))))
                LocalizeWindow(w);
            else if (event->type() == QEvent::Paint &&
                     (w->inherits("QLabel") || w->inherits("QAbstractButton") || w->inherits("QGroupBox") ||
                      w->inherits("QTabBar") || w->inherits("QHeaderView")))
                LocalizeWindow(w, false);
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
