#include "shell/MDIForm1.h"

#include "core/Globals.h"
#include "core/Paths.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "output/BatchMail.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "records/RecordExtras.h"
#include "shell/AccessKeys.h"
#include "shell/Backup.h"
#include "shell/CommandLine.h"
#include "shell/Skin.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using vb::Px;

const QString kPanelSetting = QStringLiteral("顯示報告列");
constexpr int kPanelOpenTwips = 2235;

QIcon PaintIcon()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x2a, 0x5a, 0x9e));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(pm.rect().adjusted(1, 1, -1, -1), 6, 6);
    QFont f(QStringLiteral("Noto Serif CJK TC"));
    f.setPixelSize(24);
    f.setBold(true);
    f.setItalic(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("T"));
    return QIcon(pm);
}

QPixmap PaintTitlePicture()
{
    QPixmap pm(Px(10800), Px(1155));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, pm.width(), 0);
    g.setColorAt(0, QColor(0x17, 0x3f, 0x78));
    g.setColorAt(0.6, QColor(0x3d, 0x6f, 0xb6));
    g.setColorAt(1, QColor(0xb8, 0xd0, 0xee));
    p.fillRect(pm.rect(), g);
    p.setPen(QColor(255, 255, 255, 40));
    for (int x = -pm.height(); x < pm.width(); x += 18)
        p.drawLine(x, pm.height(), x + pm.height(), 0);
    QFont big(QStringLiteral("Noto Serif CJK TC"));
    big.setPixelSize(pm.height() * 9 / 20);
    big.setBold(true);
    big.setItalic(true);
    p.setFont(big);
    p.setPen(Qt::white);
    const QRect textRect = pm.rect().adjusted(pm.height() / 3, 0, 0, 0);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tessarine"));
    const int tw = QFontMetrics(big).horizontalAdvance(QStringLiteral("Tessarine "));
    QFont small(QStringLiteral("Noto Sans CJK TC"));
    small.setPixelSize(pm.height() * 3 / 10);
    p.setFont(small);
    p.setPen(QColor(0xff, 0xf4, 0xc0));
    p.drawText(textRect.adjusted(tw + 8, 4, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("捷錄人事管理系統"));
    return pm;
}

}  // namespace

MDIForm1* CreateMainWindow(const QString& commandLine)
{
    return new MDIForm1(commandLine);
}

MDIForm1::MDIForm1(const QString& commandLine, QWidget* parent) : QMainWindow(parent)
{
    instance_ = this;
    setObjectName(QStringLiteral("MDIForm1"));
    titlePixmap_ = PaintTitlePicture();
    QApplication::setWindowIcon(PaintIcon());
    buildAreas();
    buildButtons();
    buildMenus();
    SetStatusSink(this);
    formLoad(commandLine);
    qApp->installEventFilter(this);
}

MDIForm1::~MDIForm1()
{
    // An inner window still open is destroyed after this part of the window is gone: its end
    // must not reach back into it.
    if (memberWindow_)
        memberWindow_->disconnect(this);
    if (CurrentStatusSink() == this)
        SetStatusSink(nullptr);
    if (instance_ == this)
        instance_ = nullptr;
}

void MDIForm1::ApplySkin(QWidget* window) { ::ApplySkin(window); }

void MDIForm1::buildAreas()
{
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Button bar.
    ToolBarPicture = new QWidget(central);
    ToolBarPicture->setObjectName(QStringLiteral("ToolBarPicture"));
    ToolBarPicture->setAttribute(Qt::WA_StyledBackground);
    ToolBarPicture->setFixedHeight(Px(615));
    auto* bar = new QHBoxLayout(ToolBarPicture);
    bar->setContentsMargins(0, 0, Px(200), 0);
    bar->setSpacing(8);
    auto* buttonHolder = new QWidget(ToolBarPicture);
    buttonHolder->setObjectName(QStringLiteral("ButtonHolder"));
    buttonHolder->setFixedSize(Px(5940 + 1275) + 4, Px(615));
    bar->addWidget(buttonHolder);
    TitlePicture = new QLabel(ToolBarPicture);
    TitlePicture->setObjectName(QStringLiteral("TitlePicture"));
    TitlePicture->setPixmap(titlePixmap_.scaledToHeight(Px(555), Qt::SmoothTransformation));
    bar->addWidget(TitlePicture);
    bar->addStretch(1);
    auto* titles = new QVBoxLayout();
    titles->setSpacing(0);
    for (int i = 1; i <= 2; ++i) {
        Label2[i] = new QLabel(ToolBarPicture);
        Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
        Label2[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        titles->addWidget(Label2[i]);
    }
    bar->addLayout(titles);
    column->addWidget(ToolBarPicture);

    // Message bar.
    Picture2 = new QWidget(central);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setAttribute(Qt::WA_StyledBackground);
    Picture2->setFixedHeight(Px(390));
    auto* msg = new QHBoxLayout(Picture2);
    msg->setContentsMargins(0, 0, 0, 0);
    Message[1] = new QLabel(Picture2);
    Message[1]->setObjectName(QStringLiteral("Message_1"));
    msg->addWidget(Message[1]);
    column->addWidget(Picture2);

    // Inner-window area with the help side panel on its right.
    auto* middle = new QHBoxLayout();
    middle->setSpacing(0);
    MdiArea = new QMdiArea(central);
    MdiArea->setObjectName(QStringLiteral("MdiArea"));
    MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setBackground(QColor(0x8c, 0x9d, 0xb5));
    middle->addWidget(MdiArea, 1);
    // An inner window that becomes active takes the focus, as a Windows MDI child does, so its
    // keys (Tab, its buttons' access keys) work at once.
    connect(MdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        QTimer::singleShot(0, this, [this, sub = QPointer<QMdiSubWindow>(sub)] { FocusInto(sub); });
    });

    ToolPicture = new QWidget(central);
    ToolPicture->setObjectName(QStringLiteral("ToolPicture"));
    ToolPicture->setAttribute(Qt::WA_StyledBackground);
    auto* panel = new QVBoxLayout(ToolPicture);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setSpacing(0);
    auto* panelTop = new QHBoxLayout();
    panelTop->setSpacing(4);
    Command3 = new QToolButton(ToolPicture);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setText(QStringLiteral("∴"));
    Command3->setToolTip(QStringLiteral("顯示或隱藏報告說明,這個報告可以協助您檢視您輸入的正確性"));
    Command3->setFixedSize(Px(375), Px(375));
    panelTop->addWidget(Command3);
    for (int i = 0; i <= 1; ++i) {
        Label6[i] = new QLabel(ToolPicture);
        Label6[i]->setObjectName(QStringLiteral("Label6_%1").arg(i));
        panelTop->addWidget(Label6[i]);
    }
    Label6[0]->setText(QStringLiteral("報告"));
    panelTop->addStretch(1);
    panel->addLayout(panelTop);
    Text2 = new QPlainTextEdit(ToolPicture);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    panel->addWidget(Text2, 1);
    panel->addStretch(0);  // keeps the button at the top while the panel is collapsed
    middle->addWidget(ToolPicture);
    column->addLayout(middle, 1);
    connect(Command3, &QToolButton::clicked, this, &MDIForm1::Command3_Click);

    // Status line.
    Picture1 = new QWidget(central);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAttribute(Qt::WA_StyledBackground);
    Picture1->setFixedHeight(Px(315));
    auto* status = new QHBoxLayout(Picture1);
    status->setContentsMargins(0, 0, Px(100), 0);
    status->setSpacing(6);
    for (int i = 0; i <= 3; ++i) {
        MessageSta[i] = new QLabel(Picture1);
        MessageSta[i]->setObjectName(QStringLiteral("MessageSta_%1").arg(i));
    }
    MessageSta[3]->setText(QStringLiteral("狀態:"));
    status->addWidget(MessageSta[3]);
    status->addWidget(MessageSta[0]);
    status->addWidget(MessageSta[1]);
    status->addStretch(1);
    MessageSta[2]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    status->addWidget(MessageSta[2]);
    column->addWidget(Picture1);

    setCentralWidget(central);
}

void MDIForm1::buildButtons()
{
    struct Row {
        int index;
        const char* caption;
        int left, width;
        void (MDIForm1::*action)();
    };
    static const Row rows[] = {
        {0, "客戶", 0, 675, &MDIForm1::ShowCustomFrom},
        {1, "廠商", 660, 675, &MDIForm1::ShowFactorFrm},
        {2, "員工", 1320, 675, &MDIForm1::ShowPersonnelFrm},
        {3, "個人", 1980, 675, &MDIForm1::ShowOtherFrm},
        {8, "會員", 2640, 675, &MDIForm1::OpenMemberWindow},
        {6, "報表", 3300, 675, &MDIForm1::ShowCustomPrintMsgFrm},
        {4, "離開", 3960, 975, nullptr},
        {7, "技術支援", 5940, 1275, &MDIForm1::ShowTechnicalSupport},
    };
    QWidget* holder = ToolBarPicture->findChild<QWidget*>(QStringLiteral("ButtonHolder"));
    for (const Row& r : rows) {
        auto* b = new QPushButton(QString::fromUtf8(r.caption), holder);
        b->setObjectName(QStringLiteral("Command1_%1").arg(r.index));
        b->setGeometry(Px(r.left), Px(30), Px(r.width), Px(555));
        b->setFocusPolicy(Qt::NoFocus);
        Command1[r.index] = b;
        const auto action = r.action;
        connect(b, &QPushButton::clicked, this, [this, action] {
            ui::WaitCursor wait;
            if (action)
                (this->*action)();
            else
                close();
        });
    }
}

void MDIForm1::formLoad(const QString& commandLine)
{
    ApplySkin(this);
    if (QScreen* screen = this->screen())  // where no window manager maximizes
        resize(screen->availableGeometry().size());
    setWindowState(Qt::WindowMaximized);

    const bool simplified = vb::Val(ReadSetting(QStringLiteral("LanguageID"), QStringLiteral("Tessarine"))) != 0;
    China_item->setChecked(simplified);
    Taiwan_item->setChecked(!simplified);
    LoadLanguage();

    MessageSta[2]->setText(QStringLiteral("工作路徑: ") + gDataPath);
    Label2[2]->setText(LoadResString(166) + QStringLiteral(": ") + gComputerName.toUpper() + QStringLiteral(" / ")
                       + LoadResString(167) + QStringLiteral(": ") + gWinUserName.toUpper());

    const FindRequest request = ParseFindRequest(commandLine);
    switch (request.window) {
    case 1: OpenCustomerFind(request.text); break;
    case 2: OpenVendorFind(request.text); break;
    case 3: OpenContactFind(request.text); break;
    default: break;
    }

    const int stored = vb::TwipsToPixels(
        static_cast<int>(vb::Val(ReadSetting(kPanelSetting, QStringLiteral("MDIformSet")))));
    setHelpPanelWidth(stored);
}

// ---- Help side panel ---------------------------------------------------------------------------

void MDIForm1::setHelpPanelWidth(int pixels)
{
    const int collapsed = Command3->width();
    if (pixels < collapsed)
        pixels = collapsed;
    ToolPicture->setFixedWidth(pixels);
    const bool open = pixels > collapsed;
    Text2->setVisible(open);
    Label6[0]->setVisible(open);
    Label6[1]->setVisible(open);
}

int MDIForm1::HelpPanelTwips() const
{
    return vb::PixelsToTwips(ToolPicture->width());
}

void MDIForm1::Command3_Click()
{
    if (ToolPicture->width() == Command3->width())
        setHelpPanelWidth(Px(kPanelOpenTwips));
    else
        setHelpPanelWidth(Command3->width());
    // The help browser follows the panel when it is the one writing into it.
    if (Label6[1]->text() == QStringLiteral("輔助說明"))
        FitHelpBrowser();
}

// ---- Status sink -------------------------------------------------------------------------------

void MDIForm1::setStatusText(const QString& text) { Message[1]->setText(text); }

void MDIForm1::setStatusPanel(const QString& text, int index)
{
    if (index >= 0 && index < int(MessageSta.size()) && MessageSta[index])
        MessageSta[index]->setText(text);
}

void MDIForm1::setHelpText(const QString& text) { Text2->setPlainText(text); }
QString MDIForm1::helpText() const { return Text2->toPlainText(); }
void MDIForm1::setHelpCaption(const QString& text) { Label6[1]->setText(text); }
QString MDIForm1::helpCaption() const { return Label6[1]->text(); }
QWidget* MDIForm1::clientArea() const { return MdiArea; }
bool MDIForm1::helpPanelInUse() const { return 顯示報告列_item && 顯示報告列_item->isChecked(); }

void MDIForm1::showInner(QWidget* window) { ShowInner(window, true); }

// ---- Showing windows ---------------------------------------------------------------------------

QMdiSubWindow* MDIForm1::ShowInner(QWidget* window, bool front)
{
    QMdiSubWindow* sub = nullptr;
    for (QMdiSubWindow* s : MdiArea->subWindowList())
        if (s->widget() == window)
            sub = s;
    if (!sub) {
        const bool sized = window->testAttribute(Qt::WA_Resized);
        const QSize size = window->size();
        sub = MdiArea->addSubWindow(window);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        // Closing the window's own widget closes the frame around it.
        connect(window, &QObject::destroyed, sub, &QWidget::close);
        sub->show();
        // Keep the window's own size inside its frame, unless the window gave its frame its
        // design size when it was shown; where its controls need more height than that size,
        // they get it rather than being squeezed.
        if (sized && !FrameAtDesignSize(window)) {
            QSize need = size;
            if (window->layout())
                need.setHeight(std::max(need.height(), window->layout()->totalMinimumSize().height()));
            sub->resize(need + (sub->size() - window->size()));
        }
        CentreFramedWindow(window);
    }
    if (sub->isMinimized())
        sub->showNormal();
    sub->show();
    window->show();
    if (front) {
        MdiArea->setActiveSubWindow(sub);
        sub->raise();
    }
    return sub;
}

void MDIForm1::showSingle(QWidget* window, bool inner, bool front)
{
    if (inner) {
        ShowInner(window, front);
        return;
    }
    window->show();
    if (front) {
        window->raise();
        window->activateWindow();
    }
}

void MDIForm1::FocusInto(QMdiSubWindow* sub)
{
    if (!sub || sub != MdiArea->activeSubWindow() || !sub->widget() || !isActiveWindow())
        return;
    QWidget* focus = QApplication::focusWidget();
    if (focus && (sub->isAncestorOf(focus) || focus->window() != this))
        return;
    QWidget* inner = sub->widget();
    // The control it last had, else the first one Tab reaches.
    QWidget* to = inner->focusWidget();
    if (!to || !to->isVisible() || !to->isEnabled()) {
        to = nullptr;
        for (QWidget* w = inner->nextInFocusChain(); w && w != inner; w = w->nextInFocusChain()) {
            if (inner->isAncestorOf(w) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
                to = w;
                break;
            }
        }
    }
    if (to)
        to->setFocus(Qt::TabFocusReason);
}

// ---- Access keys of the inner windows --------------------------------------------------------

bool MDIForm1::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    // Only while the key goes to the main window or to a control of the active inner window
    // (not to a dialog, a pop-up or the menu bar the user is moving through).
    QMdiSubWindow* active = MdiArea->activeSubWindow();
    auto* target = qobject_cast<QWidget*>(watched);
    if (!active || !target || target->window() != this || qobject_cast<QMenuBar*>(target))
        return QMainWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::ShortcutOverride) {
        // Claiming the key keeps it from the menu bar; it comes back as a key press.
        if (!HasAccessKey(active, key))
            return false;
        event->accept();
        return true;
    }
    return PressAccessKey(active, key);
}

// ---- Exit --------------------------------------------------------------------------------------

void MDIForm1::closeEvent(QCloseEvent* event)
{
    if (ending_) {
        event->accept();
        return;
    }
    if (ui::MsgBox(QStringLiteral("離開嗎?"), ui::Buttons::YesNo, ui::Icon::None, QStringLiteral("詢問"))
        != ui::Answer::Yes) {
        event->ignore();
        return;
    }
    RunExitSequence();
    event->accept();
}

void MDIForm1::RunExitSequence()
{
    // A mail agent still handing over a message would outlive the program.
    batchmail::EndBatchesBeforeExit();
    const QString section = QStringLiteral("Tessarine");
    WriteSetting(QStringLiteral("LanguageID"), QString::number(gLangOffset), section);

    const QString folder = backup::BackupFolder(ReadSetting(QStringLiteral("pack_path"), section));
    const std::optional<QString> question = backup::ReminderQuestion(
        ReadSetting(QStringLiteral("BackupDate"), section), ReadSetting(QStringLiteral("BackDate"), section),
        backup::BackupExists(folder), ui::Today());
    if (question && ui::MsgBox(*question, ui::Buttons::YesNo) == ui::Answer::Yes)
        ShowBackupModal();

    WriteSetting(kPanelSetting, QString::number(HelpPanelTwips()), QStringLiteral("MDIformSet"));
    ending_ = true;
    ui::EndProcess(0);
}

// ---- Empty procedures --------------------------------------------------------------------------

void MDIForm1::ViewToolBarPicture() {}
void MDIForm1::智慧型工具列(const QString&) {}
