#include "core/Language.h"

#include "core/Globals.h"
#include "platform/strings/Strings.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTabBar>
#include <QWidget>

QString LocalText(const QString& text)
{
    return gLangOffset != 0 ? strings::ToSimplified(text) : strings::ToTraditional(text);
}

bool CaptionIs(const QString& caption, const QString& text)
{
    return caption == text || caption == strings::ToSimplified(text);
}

namespace {

template <class Get, class Set>
void Convert(Get get, Set set)
{
    const QString now = get();
    if (now.isEmpty())
        return;
    const QString shown = LocalText(now);
    if (shown != now)
        set(shown);
}

void LocalizeOne(QWidget* w)
{
    if (w->isWindow() || (w->parentWidget() && w->parentWidget()->inherits("QMdiSubWindow")))
        Convert([&] { return w->windowTitle(); }, [&](const QString& t) { w->setWindowTitle(t); });
    Convert([&] { return w->toolTip(); }, [&](const QString& t) { w->setToolTip(t); });
    if (auto* label = qobject_cast<QLabel*>(w)) {
        Convert([&] { return label->text(); }, [&](const QString& t) { label->setText(t); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        Convert([&] { return button->text(); }, [&](const QString& t) { button->setText(t); });
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        Convert([&] { return group->title(); }, [&](const QString& t) { group->setTitle(t); });
    } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
        for (int i = 0; i < bar->count(); ++i)
            Convert([&] { return bar->tabText(i); }, [&](const QString& t) { bar->setTabText(i, t); });
    } else if (auto* header = qobject_cast<QHeaderView*>(w)) {
        if (QAbstractItemModel* model = header->model())
            for (int i = 0; i < header->count(); ++i)
                Convert([&] { return model->headerData(i, header->orientation()).toString(); },
                        [&](const QString& t) { model->setHeaderData(i, header->orientation(), t); });
    }
}

}  // namespace

void LocalizeTexts(QWidget* widget, bool deep)
{
    LocalizeOne(widget);
    if (!deep)
        return;
    for (QWidget* w : widget->findChildren<QWidget*>())
        LocalizeOne(w);
    for (QAction* a : widget->findChildren<QAction*>())
        Convert([&] { return a->text(); }, [&](const QString& t) { a->setText(t); });
}
