#include "platform/report/ReportWindow.h"

#include "platform/report/Paint.h"
#include "platform/ui/Ui.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace report {

namespace {

QToolButton* MakeButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& tip)
{
    auto* b = new QToolButton(parent);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolTip(tip);
    b->setAutoRaise(true);
    return b;
}

// A button that shows its caption beside a theme icon (when the desktop has one).
QToolButton* MakeTextButton(QWidget* parent, const char* themeIcon, QStyle::StandardPixmap fallback,
                            const QString& caption)
{
    QToolButton* b = MakeButton(parent, fallback, caption);
    b->setIcon(QIcon::fromTheme(QString::fromLatin1(themeIcon), b->icon()));
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return b;
}

}  // namespace

ReportWindow::ReportWindow(Report* report, Document doc, QWidget* parent)
    : QWidget(parent, Qt::Window), report_(report), doc_(std::move(doc))
{
    setWindowTitle(doc_.title);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    auto* print = MakeTextButton(this, "document-print", QStyle::SP_FileDialogDetailedView, QStringLiteral("列印"));
    print->setObjectName(QStringLiteral("print"));
    auto* exportButton = MakeTextButton(this, "document-save-as", QStyle::SP_DialogSaveButton, QStringLiteral("匯出"));
    exportButton->setObjectName(QStringLiteral("export"));
    auto* close = MakeTextButton(this, "window-close", QStyle::SP_DialogCloseButton, QStringLiteral("關閉"));
    first_ = MakeButton(this, QStyle::SP_MediaSkipBackward, QStringLiteral("第一頁"));
    previous_ = MakeButton(this, QStyle::SP_MediaSeekBackward, QStringLiteral("上一頁"));
    next_ = MakeButton(this, QStyle::SP_MediaSeekForward, QStringLiteral("下一頁"));
    last_ = MakeButton(this, QStyle::SP_MediaSkipForward, QStringLiteral("最後一頁"));
    pageLabel_ = new QLabel(this);
    pageLabel_->setMinimumWidth(80);
    pageLabel_->setAlignment(Qt::AlignCenter);
    zoomBox_ = new QComboBox(this);
    for (int percent : {50, 75, 100, 125, 150, 200})
        zoomBox_->addItem(QStringLiteral("%1%").arg(percent), percent / 100.0);
    zoomBox_->setCurrentIndex(2);

    bar->addWidget(print);
    bar->addWidget(exportButton);
    bar->addWidget(close);
    bar->addSpacing(12);
    bar->addWidget(zoomBox_);
    bar->addSpacing(12);
    bar->addWidget(first_);
    bar->addWidget(previous_);
    bar->addWidget(pageLabel_);
    bar->addWidget(next_);
    bar->addWidget(last_);
    bar->addStretch();

    canvas_ = new QLabel;
    canvas_->setAlignment(Qt::AlignCenter);
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(canvas_);
    scroll_->setWidgetResizable(true);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);

    connect(print, &QToolButton::clicked, this, &ReportWindow::printReport);
    connect(exportButton, &QToolButton::clicked, this, &ReportWindow::exportPdf);
    connect(close, &QToolButton::clicked, this, &QWidget::close);
    connect(first_, &QToolButton::clicked, this, &ReportWindow::firstPage);
    connect(previous_, &QToolButton::clicked, this, &ReportWindow::previousPage);
    connect(next_, &QToolButton::clicked, this, &ReportWindow::nextPage);
    connect(last_, &QToolButton::clicked, this, &ReportWindow::lastPage);
    connect(zoomBox_, &QComboBox::activated, this, [this](int i) { setZoom(zoomBox_->itemData(i).toDouble()); });

    resize(920, 760);
    refresh();
}

void ReportWindow::setDocument(Document doc)
{
    doc_ = std::move(doc);
    setWindowTitle(doc_.title);
    page_ = 0;
    refresh();
}

QString ReportWindow::pageText() const
{
    return QStringLiteral("%1 / %2").arg(page_ + 1).arg(pageCount());
}

void ReportWindow::showPage(int index)
{
    page_ = std::clamp(index, 0, std::max(0, pageCount() - 1));
    refresh();
}

void ReportWindow::setZoom(double zoom)
{
    zoom_ = std::clamp(zoom, 0.1, 8.0);
    int i = zoomBox_->findData(zoom_);
    if (i >= 0)
        zoomBox_->setCurrentIndex(i);
    refresh();
}

void ReportWindow::firstPage() { showPage(0); }
void ReportWindow::previousPage() { showPage(page_ - 1); }
void ReportWindow::nextPage() { showPage(page_ + 1); }
void ReportWindow::lastPage() { showPage(pageCount() - 1); }

void ReportWindow::refresh()
{
    pageLabel_->setText(pageText());
    first_->setEnabled(page_ > 0);
    previous_->setEnabled(page_ > 0);
    next_->setEnabled(page_ + 1 < pageCount());
    last_->setEnabled(page_ + 1 < pageCount());
    const double ratio = devicePixelRatioF();
    QImage img = RenderPage(doc_, page_, zoom_ * ratio);
    img.setDevicePixelRatio(ratio);
    canvas_->setPixmap(QPixmap::fromImage(img));
}

void ReportWindow::printReport()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(doc_.title);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, std::max(1, pageCount()));
    if (ui::ShowModal(&dialog) != QDialog::Accepted)
        return;
    int from = 0, to = 0;
    if (printer.printRange() == QPrinter::PageRange) {
        from = printer.fromPage();
        to = printer.toPage();
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        from = to = page_ + 1;
    }
    if (!PrintDocument(doc_, printer, from, to))
        ui::MsgBox(QStringLiteral("無法列印"), ui::Buttons::OK, ui::Icon::Exclamation, doc_.title);
}

void ReportWindow::exportPdf()
{
    const QString path = AskSaveFileName(doc_.title, doc_.title + QStringLiteral(".pdf"));
    if (path.isEmpty())
        return;
    ExportPdf(doc_, path);
}

void ReportWindow::closeEvent(QCloseEvent* event)
{
    if (report_ && report_->onQueryClose && !report_->onQueryClose(*this)) {
        event->ignore();
        return;
    }
    event->accept();
}

void ReportWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageDown: nextPage(); return;
    case Qt::Key_PageUp: previousPage(); return;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) { firstPage(); return; }
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) { lastPage(); return; }
        break;
    default: break;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace report
