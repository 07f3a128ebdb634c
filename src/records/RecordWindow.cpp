#include "records/RecordWindow.h"

#include "core/Globals.h"
#include "platform/text/VbText.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPushButton>
#include <QTabBar>

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

TitleAndList BuildTitleAndList(QWidget* window, const QPixmap& picture, int pictureWidthTwips)
{
    auto* strip = new QWidget(window);
    strip->setObjectName(QStringLiteral("Picture1"));
    QLabel* image = TitlePicture(strip, picture);
    image->setGeometry(0, 0, vb::Px(pictureWidthTwips), vb::Px(kTitleStripHeight));
    auto* list = new QWidget(window);
    list->setObjectName(QStringLiteral("Picture4"));
    return {strip, image, list};
}

QPushButton* ArrayButton(QWidget* parent, QWidget* window, const QString& array, int index,
                         const std::function<void()>& click)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QStringLiteral("%1_%2").arg(array).arg(index));
    button->setAttribute(Qt::WA_Hover);
    button->installEventFilter(window);
    QObject::connect(button, &QPushButton::clicked, window, click);
    return button;
}

QFont ButtonFont(const QWidget* window)
{
    QFont font = window->font();
    font.setPointSize(10);
    return font;
}

void CaptionButtons(std::span<QPushButton* const> buttons, int firstTextId, const std::optional<QFont>& font)
{
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->setText(LoadResString(firstTextId + int(i)));
        if (font)
            buttons[i]->setFont(*font);
    }
}

QTabBar* TabBar(QWidget* window, const QString& name, const std::vector<TabKey>& tabs,
                const std::function<void(int tab)>& changed)
{
    auto* bar = new QTabBar(window);
    bar->setObjectName(name);
    bar->setExpanding(false);
    bar->setDrawBase(true);
    for (const TabKey& t : tabs)
        bar->setTabData(bar->addTab(t.caption), QString::fromUtf8(t.key));
    QObject::connect(bar, &QTabBar::currentChanged, window, changed);
    return bar;
}

void TabPages(QWidget* window, const QString& name, std::span<QWidget*> pages)
{
    for (size_t i = 1; i < pages.size(); ++i) {
        pages[i] = new QWidget(window);
        pages[i]->setObjectName(QStringLiteral("%1_%2").arg(name).arg(i));
        pages[i]->setAttribute(Qt::WA_StyledBackground);
        pages[i]->setVisible(i == 1);
    }
}
