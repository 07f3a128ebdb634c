#include "core/AboutBox.h"

#include "core/Globals.h"
#include "core/Version.h"
#include "core/WindowHelpers.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QPointer<AboutBox> gAbout;

QPixmap productPicture()
{
    QPixmap pix(440, 150);
    QPainter p(&pix);
    QLinearGradient g(0, 0, 440, 150);
    g.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    g.setColorAt(1, QColor(0x5b, 0x9b, 0xd5));
    p.fillRect(pix.rect(), g);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(44);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 18, 440, 64), Qt::AlignCenter, QStringLiteral("Tessarine"));
    f.setPixelSize(24);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(0, 86, 440, 40), Qt::AlignCenter, QStringLiteral("捷錄人事管理系統"));
    return pix;
}

}  // namespace

QString AboutVersionLine()
{
    return LoadResString(173) + QStringLiteral(": ") + vb::Trim(QString::number(kVersionMajor)) + QLatin1Char('.')
           + vb::Trim(QString::number(kVersionMinor)) + QLatin1Char('.')
           + vb::Trim(QString::number(kVersionRevision));
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("關於 Tessarine 捷錄人事管理系統"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(productPicture());
    Image1->setAlignment(Qt::AlignCenter);

    Label1_1 = new QLabel(QStringLiteral("Tessarine 捷錄人事管理系統"), this);
    Label1_1->setObjectName(QStringLiteral("Label1_1"));
    Label1_1->setAlignment(Qt::AlignCenter);

    Label1_0 = new QLabel(this);
    Label1_0->setObjectName(QStringLiteral("Label1_0"));
    Label1_0->setAlignment(Qt::AlignCenter);

    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setVisible(false);

    MessageLabel = new QLabel(this);
    MessageLabel->setObjectName(QStringLiteral("MessageLabel"));
    MessageLabel->setFrameShape(QFrame::Panel);
    MessageLabel->setFrameShadow(QFrame::Sunken);
    MessageLabel->setMinimumHeight(22);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Image1);
    layout->addWidget(Label1_1);
    layout->addWidget(Label1_0);
    layout->addStretch(1);
    layout->addWidget(MessageLabel);

    Image1->installEventFilter(this);
    Label1_0->installEventFilter(this);
    Label1_1->installEventFilter(this);

    // Load: version line, centred on the screen, the timer started and the load time noted.
    Label1_0->setText(AboutVersionLine());
    setFixedSize(sizeHint().expandedTo(QSize(480, 280)));
    CenterOnScreen(this);
    Timer1 = new QTimer(this);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &AboutBox::tick);
    Timer1->start();
    loadTime_ = ui::Now();
}

AboutBox::~AboutBox() = default;

void AboutBox::tick()
{
    if (Check1->isChecked())
        return;
    if (loadTime_.msecsTo(ui::Now()) >= 5000)
        done(QDialog::Accepted);
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && (watched == Image1 || watched == Label1_0 || watched == Label1_1)) {
        done(QDialog::Accepted);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

AboutBox* TheAboutBox()
{
    if (!gAbout)
        gAbout = new AboutBox();
    return gAbout;
}

AboutBox* LoadedAboutBox()
{
    return gAbout;
}

void SetSplashMessage(const QString& text)
{
    AboutBox* box = TheAboutBox();
    box->MessageLabel->setText(text);
    box->MessageLabel->repaint();
    ui::DoEvents();
}

void ShowSplashModal()
{
    AboutBox* box = TheAboutBox();
    ui::ShowModal(box);
    UnloadAboutBox();
}

void ShowAboutWindow()
{
    AboutBox* box = TheAboutBox();
    box->Check1->setChecked(true);
    QObject::connect(box, &QDialog::finished, box, &QObject::deleteLater, Qt::UniqueConnection);
    box->setModal(false);
    box->show();
    box->raise();
    box->activateWindow();
}

void UnloadAboutBox()
{
    if (gAbout) {
        AboutBox* box = gAbout;
        gAbout = nullptr;
        box->hide();
        box->deleteLater();
    }
}
