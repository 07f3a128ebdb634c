#include "app/ReplayState.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QTabBar>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int gWake[2] = {-1, -1};
QStringList gTrail;  // the last focus changes, oldest first

void OnSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(gWake[1], &c, 1);
}

QString NameOf(const QWidget* w)
{
    if (!w)
        return QStringLiteral("-");
    const QString name = w->objectName();
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(':') +
           (name.isEmpty() ? QStringLiteral("?") : name);
}

// A widget's rectangle on the screen.
QRect OnScreen(const QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

QString Geometry(const QRect& r)
{
    return QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The focus widget and the named widgets around it, innermost first.
QString FocusLine()
{
    QWidget* f = QApplication::focusWidget();
    QString line = QStringLiteral("focus ") + NameOf(f);
    if (f)
        line += QLatin1Char(' ') + Geometry(OnScreen(f)).replace(QLatin1Char(' '), QLatin1Char(','));
    for (QWidget* p = f ? f->parentWidget() : nullptr; p; p = p->parentWidget())
        if (!p->objectName().isEmpty() && !p->objectName().startsWith(QLatin1String("qt_")))
            line += QLatin1Char(' ') + p->objectName();
    return line;
}

// What the focus widget shows as its text (a box, a list's text, a date picker), on one line.
QString FocusTextLine()
{
    QWidget* f = QApplication::focusWidget();
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(f))
        text = edit->text();
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(f))
        text = spin->text();
    else if (auto* combo = qobject_cast<QComboBox*>(f))
        text = combo->currentText();
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return QStringLiteral("focustext ") + text;
}

void Write(const QString& path)
{
    QStringList out;
    out << FocusLine();
    out << FocusTextLine();
    out << QStringLiteral("popup ") + NameOf(QApplication::activePopupWidget());
    QWidget* modal = QApplication::activeModalWidget();
    QString modalLine = QStringLiteral("modal ") + NameOf(modal);
    if (modal)
        modalLine += QLatin1Char(' ') + modal->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        modalLine += QLatin1Char(' ') + box->text().simplified();
    out << modalLine;
    out << QStringLiteral("activewindow ") + NameOf(QApplication::activeWindow());
    for (QWidget* top : QApplication::topLevelWidgets()) {
        for (QMdiArea* area : top->findChildren<QMdiArea*>()) {
            QMdiSubWindow* active = area->activeSubWindow();
            out << QStringLiteral("active ") + NameOf(active ? active->widget() : nullptr);
            for (QMdiSubWindow* sub : area->subWindowList()) {
                const char* state = sub->isMinimized() ? "min" : sub->isMaximized() ? "max" : "normal";
                out << QStringLiteral("window %1 %2 %3 %4 %5 %6")
                           .arg(NameOf(sub->widget()), Geometry(sub->geometry()), Geometry(OnScreen(sub)),
                                QString::fromLatin1(state))
                           .arg(sub->isVisible() ? 1 : 0)
                           .arg(sub->windowTitle());
                if (!sub->widget())
                    continue;
                if (sub == active) {
                    for (QWidget* w : sub->widget()->findChildren<QWidget*>())
                        if (w->isVisible() && w->focusPolicy() != Qt::NoFocus && !w->objectName().isEmpty() &&
                            !w->objectName().startsWith(QLatin1String("qt_")))
                            out << QStringLiteral("widget %1 %2 %3 %4")
                                       .arg(NameOf(w), Geometry(OnScreen(w)))
                                       .arg(w->isEnabled() ? 1 : 0)
                                       .arg(qobject_cast<QAbstractButton*>(w)
                                                ? static_cast<QAbstractButton*>(w)->text().simplified()
                                                : QString());
                    // Each tab of a tab bar, as "<bar>#<index>", so a replay can click it.
                    for (QTabBar* bar : sub->widget()->findChildren<QTabBar*>())
                        if (bar->isVisible() && !bar->objectName().isEmpty())
                            for (int t = 0; t < bar->count(); ++t)
                                out << QStringLiteral("widget %1#%2 %3 %4")
                                           .arg(NameOf(bar))
                                           .arg(t)
                                           .arg(Geometry(QRect(bar->mapToGlobal(bar->tabRect(t).topLeft()),
                                                               bar->tabRect(t).size())))
                                           .arg(bar->isEnabled() ? 1 : 0);
                }
                for (QAbstractItemView* view : sub->widget()->findChildren<QAbstractItemView*>()) {
                    if (view->objectName().isEmpty() || !view->selectionModel())
                        continue;
                    QSet<int> rows;
                    for (const QModelIndex& i : view->selectionModel()->selectedIndexes())
                        rows.insert(i.row());
                    out << QStringLiteral("view %1 %2 %3 current %4 selected %5")
                               .arg(NameOf(sub->widget()), NameOf(view), Geometry(OnScreen(view)))
                               .arg(view->currentIndex().row())
                               .arg(rows.size());
                }
            }
        }
    }
    for (const QString& step : gTrail)
        out << QStringLiteral("trail ") + step;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write((out.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    file.commit();
}

}  // namespace

// Focus events with their reasons, and pop-ups and lists showing and hiding, into the trail.
class Tracer : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(watched);
        QString step;
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            step = QStringLiteral("%1 %2 reason %3")
                       .arg(event->type() == QEvent::FocusIn ? QStringLiteral("in") : QStringLiteral("out"), NameOf(w))
                       .arg(int(static_cast<QFocusEvent*>(event)->reason()));
            break;
        case QEvent::Show:
        case QEvent::Hide:
            if (qobject_cast<QComboBox*>(w) || w->isWindow())
                step = (event->type() == QEvent::Show ? QStringLiteral("show ") : QStringLiteral("hide ")) + NameOf(w);
            break;
        default:
            break;
        }
        if (!step.isEmpty()) {
            gTrail << step;
            while (gTrail.size() > 40)
                gTrail.removeFirst();
        }
        return false;
    }
};

void InstallReplayState(QObject* parent)
{
    const QString path = qEnvironmentVariable("TESSARINE_REPLAY_STATE");
    if (path.isEmpty() || ::pipe2(gWake, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(gWake[0], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [path] {
        char buf[64];
        while (::read(gWake[0], buf, sizeof buf) > 0) {
        }
        Write(path);
    });
    qApp->installEventFilter(new Tracer(parent));
    struct sigaction sa = {};
    sa.sa_handler = OnSignal;
    sa.sa_flags = SA_RESTART;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGUSR1, &sa, nullptr);
}
