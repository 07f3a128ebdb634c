#include "records/RecordWindow.h"

#include <QCloseEvent>

RecordWindow::RecordWindow(QWidget* parent, int designWidth, int designHeight, FirstPlace place)
    : QWidget(parent), designWidth_(designWidth), designHeight_(designHeight), place_(place)
{
}

void RecordWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (FirstShowAtDesignSize(this, designWidth_, designHeight_, [this] { Form_Activate(); }, place_))
        shown_ = true;
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
