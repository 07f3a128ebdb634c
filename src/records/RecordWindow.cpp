#include "records/RecordWindow.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

RecordWindow::RecordWindow(QWidget* parent, int designWidth, int designHeight, FirstPlace place)
    : QWidget(parent), designWidth_(designWidth), designHeight_(designHeight), place_(place)
{
}

void RecordWindow::FailLoad()
{
    loadFailed_ = true;
    unloaded_ = true;
}

void RecordWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!FirstShowAtDesignSize(this, designWidth_, designHeight_, [this] { Form_Activate(); }, place_))
        return;
    shown_ = true;
    if (!maximise_)
        return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->showMaximized();
    Form_Resize();
}

void RecordWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void RecordWindow::closeEvent(QCloseEvent* event)
{
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
    }
    event->accept();
}
