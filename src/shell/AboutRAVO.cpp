#include "shell/AboutRAVO.h"

#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "shell/MDIForm1.h"
#include "shell/OnlineUpdate.h"
#include "shell/Skin.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>

namespace {
constexpr int kWebLabel = 25;
QPointer<AboutRAVO> gAboutRAVO;
}  // namespace

AboutRAVO::AboutRAVO(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutRAVO"));
    setAttribute(Qt::WA_DeleteOnClose);
    ApplySkin(this);

    for (int i = 0; i < int(Label2.size()); ++i) {
        Label2[i] = new QLabel(LoadResString(200 + i), this);
        Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
        Label2[i]->installEventFilter(this);
    }
    // The web address is the installation's own; the texts of what we do not know are empty
    // and their labels stay out of the window.
    Label2[kWebLabel]->setText(update::MakerSite());
    for (QLabel* label : Label2)
        label->setVisible(!label->text().isEmpty());
    Label2[kWebLabel - 1]->setVisible(Label2[kWebLabel]->isVisibleTo(this));  // its caption
    Label2[kWebLabel]->setCursor(Qt::PointingHandCursor);
    Label2[kWebLabel]->setStyleSheet(QStringLiteral("color: #1a4fa0; text-decoration: underline;"));
    for (int i : {0, 2, 11, 26}) {
        QFont f = Label2[i]->font();
        f.setBold(true);
        Label2[i]->setFont(f);
    }
    Command1 = new QPushButton(LoadResString(183), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);

    // Left: name and lines of business.  Right: the contact lines in pairs.  Below: the
    // description.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(18, 14, 18, 12);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(4);
    grid->addWidget(Label2[0], 0, 0);
    grid->addWidget(Label2[1], 1, 0);
    for (int i = 2; i <= 10; ++i)
        grid->addWidget(Label2[i], i, 0);
    grid->addWidget(Label2[11], 0, 1, 1, 2);
    for (int pair = 0; pair < 7; ++pair) {
        grid->addWidget(Label2[12 + 2 * pair], 1 + pair, 1);
        grid->addWidget(Label2[13 + 2 * pair], 1 + pair, 2);
    }
    grid->setRowMinimumHeight(11, 10);
    for (int i = 26; i <= 32; ++i) {
        Label2[i]->setWordWrap(true);
        grid->addWidget(Label2[i], 12 + (i - 26), 0, 1, 3);
    }
    grid->addWidget(Command1, 19, 2, Qt::AlignRight);
    setWindowTitle(LoadResString(200));
    adjustSize();
    setFixedSize(size());

    move(0, 0);
    lower();
}

void AboutRAVO::Label2_Click(int index)
{
    if (index == kWebLabel && !Label2[kWebLabel]->text().isEmpty())
        OpenWebPage(Label2[kWebLabel]->text());
}

bool AboutRAVO::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < int(Label2.size()); ++i)
            if (watched == Label2[i])
                Label2_Click(i);
    }
    return QDialog::eventFilter(watched, event);
}

void MDIForm1::ShowAboutRAVO()
{
    if (!gAboutRAVO)
        gAboutRAVO = new AboutRAVO(this);
    gAboutRAVO->show();
    gAboutRAVO->raise();
    gAboutRAVO->activateWindow();
}
