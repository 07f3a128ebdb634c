#include "shell/frmBrowser.h"

#include "core/Globals.h"
#include "core/Paths.h"
#include "core/WindowHelpers.h"
#include "platform/shell/Shell.h"
#include "platform/text/VbText.h"
#include "platform/widgets/Keys.h"
#include "shell/MDIForm1.h"
#include "shell/Skin.h"
#include "shell/UserManual.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QPointer<frmBrowser> gBrowser;

const QString kBusyCaption = QStringLiteral("執行中...");
const QString kHelpCaption = QStringLiteral("輔助說明");

QString HelpHints()
{
    return QStringLiteral("※ 您可以在功能表〔視窗〕下點選〔輔助說明〕，可以進入此畫面") + gCrLf + gCrLf
           + QStringLiteral("※ 如果您不希望每次進入系統都顯示此輔助說明,您可以在功能表〔工具〕=>〔個人偏好設定〕裡面.設定不顯示輔助說明");
}

bool IsWebPage(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

bool IsMailAddress(const QUrl& url) { return url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0; }

bool IsWebAddress(const QUrl& url) { return IsWebPage(url) || IsMailAddress(url); }

// Web pages to the system's browser (a failure is said), mail addresses to the mail program.
void HandOver(const QUrl& url)
{
    if (IsWebPage(url))
        OpenWebPage(url.toString());
    else
        shellsvc::OpenUrl(url.toString());
}

// A typed address as a URL: web and file addresses as they are, anything else a local path.
QUrl AddressUrl(const QString& address)
{
    const QString text = address.trimmed();
    const QUrl url(text, QUrl::TolerantMode);
    if (IsWebAddress(url) || url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) == 0)
        return url;
    return QUrl::fromLocalFile(text);
}

}  // namespace

frmBrowser* HelpBrowserInstance() { return gBrowser; }

frmBrowser::frmBrowser(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmBrowser"));
    setAttribute(Qt::WA_DeleteOnClose);
    ApplySkin(this);

    tbToolBar = new QToolBar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        const char* key;
        const char* tip;
        QStyle::StandardPixmap icon;
    };
    static const Button buttons[] = {
        {"上一頁", "上一頁", QStyle::SP_ArrowBack},
        {"下一頁", "下一頁", QStyle::SP_ArrowForward},
        {"Stop", "停止", QStyle::SP_BrowserStop},
        {"Refresh", "重新整理", QStyle::SP_BrowserReload},
        {"Home", "首頁", QStyle::SP_DirHomeIcon},
        {"Search", "搜尋", QStyle::SP_FileDialogContentsView},
        {"關閉", "關閉瀏覽器", QStyle::SP_DialogCloseButton},
    };
    for (const Button& b : buttons) {
        const QString key = QString::fromUtf8(b.key);
        QAction* a = tbToolBar->addAction(style()->standardIcon(b.icon), QString::fromUtf8(b.tip));
        a->setObjectName(key);
        a->setToolTip(QString::fromUtf8(b.tip));
        connect(a, &QAction::triggered, this, [this, key] { ButtonClick(key); });
    }

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    auto* strip = new QHBoxLayout(Picture1);
    strip->setContentsMargins(4, 2, vb::TwipsToPixels(100), 2);
    auto* label = new QLabel(QStringLiteral("網址(&A):"), Picture1);
    cboAddress = new QComboBox(Picture1);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setEditable(true);
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    label->setBuddy(cboAddress);
    strip->addWidget(label);
    strip->addWidget(cboAddress, 1);

    brwWebBrowser = new QTextBrowser(this);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    brwWebBrowser->setOpenLinks(false);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(tbToolBar);
    column->addWidget(Picture1);
    column->addSpacing(3);
    column->addWidget(brwWebBrowser, 1);

    timTimer = new QTimer(this);
    timTimer->setInterval(1500);
    connect(timTimer, &QTimer::timeout, this, &frmBrowser::timTimer_Timer);

    // Links: web pages go to the system's browser, local pages show here.
    connect(brwWebBrowser, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        const QUrl target = brwWebBrowser->source().resolved(link);
        if (IsWebAddress(target)) {
            HandOver(target);
            return;
        }
        busy_ = true;
        brwWebBrowser->setSource(target);
        busy_ = false;
    });
    // The page has arrived: its name becomes the caption.
    connect(brwWebBrowser, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(LocationName()); });
    connect(cboAddress, &QComboBox::activated, this, [this](int index) { Navigate(cboAddress->itemText(index)); });
    cboAddress->lineEdit()->installEventFilter(this);

    if (MDIForm1* main = MDIForm1::Instance())
        connect(main->MdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
            if (sub && sub->widget() == this)
                Form_Activate();
        });

    gBrowser = this;
    StartAddress = JoinPath(gProgramPath, kUserManualPage);
    cboAddress->setEditText(StartAddress);
    cboAddress->addItem(StartAddress);
    Navigate(StartAddress);
}

frmBrowser::~frmBrowser()
{
    if (gBrowser == this)
        gBrowser = nullptr;
}

void frmBrowser::Navigate(const QString& address)
{
    timTimer->start();
    const QUrl url = AddressUrl(address);
    if (IsWebAddress(url)) {
        // The page goes elsewhere: the box names the page this window still shows, before a
        // message about the hand-over takes the focus (the box would take its text leaving
        // the focus for a choice from its list).
        cboAddress->setEditText(ShownAddress());
        HandOver(url);
        return;
    }
    busy_ = true;
    setWindowTitle(kBusyCaption);
    brwWebBrowser->setSource(url);
    busy_ = false;
    setWindowTitle(LocationName());
}

void frmBrowser::NavigateFromCaller(const QString& address)
{
    cboAddress->setEditText(address);
    cboAddress->addItem(address);
    Navigate(address);
}

void frmBrowser::ButtonClick(const QString& key)
{
    timTimer->start();
    if (key == QStringLiteral("上一頁")) {
        brwWebBrowser->backward();
    } else if (key == QStringLiteral("下一頁")) {
        brwWebBrowser->forward();
    } else if (key == QLatin1String("Stop")) {
        timTimer->stop();
        busy_ = false;
        setWindowTitle(LocationName());
    } else if (key == QLatin1String("Refresh")) {
        brwWebBrowser->reload();
    } else if (key == QLatin1String("Home")) {
        brwWebBrowser->home();
    } else if (key == QLatin1String("Search")) {
        // The manual's contents page serves as the search page.
        Navigate(StartAddress);
    } else if (key == QStringLiteral("關閉")) {
        close();
    }
}

QString frmBrowser::ShownAddress() const
{
    const QUrl source = brwWebBrowser->source();
    return source.isLocalFile() ? source.toLocalFile() : source.toString();
}

QString frmBrowser::LocationName() const
{
    const QString title = brwWebBrowser->documentTitle().trimmed();
    if (!title.isEmpty())
        return title;
    const QUrl source = brwWebBrowser->source();
    const QString name = source.isLocalFile() ? QFileInfo(source.toLocalFile()).fileName() : source.toString();
    return name;
}

void frmBrowser::timTimer_Timer()
{
    if (busy_) {
        setWindowTitle(kBusyCaption);
        return;
    }
    timTimer->stop();
    setWindowTitle(LocationName());
}

void frmBrowser::Form_Activate()
{
    if (!HelpPanelInUse())
        return;
    SetHelpPanelText(HelpHints());
    SetHelpPanelCaption(kHelpCaption);
}

void frmBrowser::closeEvent(QCloseEvent* event)
{
    if (!unloaded_ && HelpPanelInUse()) {
        SetHelpPanelText(QString());
        SetHelpPanelCaption(QString());
    }
    unloaded_ = true;
    timTimer->stop();
    event->accept();
}

bool frmBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cboAddress->lineEdit() && event->type() == QEvent::KeyPress) {
        if (IsEnter(static_cast<QKeyEvent*>(event))) {
            Navigate(cboAddress->currentText());
            return true;
        }
    }
    if (watched == parentWidget() && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        fitToClientArea();
    else if (event->type() == QEvent::Resize && MDIForm1::Instance()
             && watched == MDIForm1::Instance()->MdiArea->viewport())
        fitToClientArea();
    return QWidget::eventFilter(watched, event);
}

// The browser covers the main window's whole inner area.
void frmBrowser::fitToClientArea()
{
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!sub || !sub->mdiArea())
        return;
    static bool fitting = false;
    if (fitting)
        return;
    fitting = true;
    const QRect area = sub->mdiArea()->viewport()->rect();
    if (sub->geometry() != area)
        sub->setGeometry(area);
    fitting = false;
}

// ---- The main window's side ---------------------------------------------------------------------

void MDIForm1::ShowHelpBrowser(const QString& url)
{
    frmBrowser* browser = gBrowser;
    const bool created = !browser;
    if (created)
        browser = new frmBrowser;
    QMdiSubWindow* sub = ShowInner(browser, true);
    if (created && sub) {
        sub->installEventFilter(browser);
        MdiArea->viewport()->installEventFilter(browser);
        browser->fitToClientArea();
    }
    if (!url.isEmpty())
        browser->NavigateFromCaller(url);
}

void MDIForm1::FitHelpBrowser()
{
    if (!gBrowser)
        ShowHelpBrowser(QString());
    // The help panel's new width reaches the inner area first.
    if (QWidget* central = centralWidget(); central && central->layout())
        central->layout()->activate();
    gBrowser->fitToClientArea();
}
