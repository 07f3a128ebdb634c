#include "core/WindowHelpers.h"

#include "core/Globals.h"

#include "platform/shell/Shell.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QTextEdit>
#include <QWidget>

QString gStatusText;

namespace {
StatusSink* gSink = nullptr;
}

StatusSink* SetStatusSink(StatusSink* sink)
{
    StatusSink* old = gSink;
    gSink = sink;
    return old;
}

StatusSink* CurrentStatusSink()
{
    return gSink;
}

void SetStatusText(const QString& text)
{
    if (text == gStatusText && !text.isEmpty())
        return;
    if (gSink)
        gSink->setStatusText(text);
    gStatusText = text;
}

void SetStatusPanel(const QString& text, int index)
{
    if (gSink)
        gSink->setStatusPanel(text, index);
    ui::DoEvents();
}

void SetHelpPanelText(const QString& text)
{
    if (gSink)
        gSink->setHelpText(text);
}

QString HelpPanelText()
{
    return gSink ? gSink->helpText() : QString();
}

void SetHelpPanelCaption(const QString& text)
{
    if (gSink)
        gSink->setHelpCaption(text);
}

QString HelpPanelCaption()
{
    return gSink ? gSink->helpCaption() : QString();
}

void StatusSink::showInner(QWidget* window)
{
    window->show();
    window->raise();
}

void ShowInMainWindow(QWidget* window)
{
    if (!window)
        return;
    if (gSink)
        gSink->showInner(window);
    else
        window->show();
}
bool HelpPanelInUse() { return gSink && gSink->helpPanelInUse(); }

// ---- Placement ----------------------------------------------------------------------------

namespace {

// The widget that is actually placed: an inner window's sub-window frame, else the window.
QWidget* placedWidget(QWidget* window)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        return sub;
    return window;
}

}  // namespace

namespace {
const char* const kCentreWhenFramed = "tessCentreWhenFramed";
}

void CenterInMDI(QWidget* window)
{
    if (!window || !gSink || !gSink->clientArea())
        return;
    if (!window->parentWidget() && !window->isVisible())
        window->setProperty(kCentreWhenFramed, true);
    QWidget* area = gSink->clientArea();
    if (auto* mdi = qobject_cast<QMdiArea*>(area))
        area = mdi->viewport();
    QWidget* w = placedWidget(window);
    const QSize inner = area->size();
    const QSize size = w->isWindow() ? w->frameGeometry().size() : w->size();
    if (inner.width() < size.width())
        return;
    const double left = (inner.width() - size.width()) / 2.0;
    const double top = (inner.height() - size.height()) / 2.0;
    QPoint pos{int(left), int(top)};
    if (w->isWindow())
        pos += area->mapToGlobal(QPoint(0, 0));
    w->move(pos);
}

void CentreFramedWindow(QWidget* window)
{
    if (!window || !window->property(kCentreWhenFramed).toBool())
        return;
    window->setProperty(kCentreWhenFramed, QVariant());
    CenterInMDI(window);
}

void CenterOnScreen(QWidget* window)
{
    if (!window)
        return;
    QWidget* w = placedWidget(window);
    QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect avail = screen->geometry();
    const QSize size = w->isWindow() ? w->frameGeometry().size() : w->size();
    if (avail.width() < size.width())
        return;
    const int left = avail.x() + (avail.width() - size.width()) / 2;
    const int top = avail.y() + (avail.height() - size.height()) / 2;
    w->move(left, top);
}

// ---- Keys and texts -------------------------------------------------------------------------

bool NumericKeyFilter(int keyAscii)
{
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == 13 || keyAscii == 8 || keyAscii == 46)
        return true;
    ui::Beep();
    return false;
}


namespace {

void setComboText(QComboBox* combo, const QString& text)
{
    if (combo->isEditable()) {
        combo->setEditText(text);
    } else {
        combo->setCurrentIndex(combo->findText(text));
    }
}

}  // namespace

void OverlayOnTextBox(QComboBox* pick, QLineEdit* box)
{
    if (!pick || !box)
        return;
    QPoint pos = box->pos();
    if (pick->parentWidget() && box->parentWidget() && pick->parentWidget() != box->parentWidget())
        pos = box->parentWidget()->mapTo(pick->parentWidget()->window(), pos)
              - pick->parentWidget()->mapTo(pick->parentWidget()->window(), QPoint(0, 0));
    pick->move(pos.x(), pos.y());
    setComboText(pick, box->text());
    pick->resize(box->width(), pick->height());
    pick->update();
    pick->setVisible(true);
    pick->raise();
    if (!vb::Trim(box->text()).isEmpty())
        setComboText(pick, box->text());
}

namespace {

// Answers the input method's questions for a box with the input method switched off.
// Text boxes answer "enabled" on their own whatever their attribute says, so the box's
// answers are taken and only that one is replaced.
class InputMethodOff : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::InputMethodQuery)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        auto* query = static_cast<QInputMethodQueryEvent*>(event);
        for (uint bit = 0; bit < 32; ++bit) {
            const auto q = Qt::InputMethodQuery(int(query->queries() & (1u << bit)));
            if (q)
                query->setValue(q, q == Qt::ImEnabled ? QVariant(false) : widget->inputMethodQuery(q));
        }
        query->accept();
        return true;
    }
};

}  // namespace

void ToggleIME(QWidget* box)
{
    if (!box)
        return;
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    static const QString marker = QStringLiteral("tess_input_method_off");
    if (!box->findChild<QObject*>(marker, Qt::FindDirectChildrenOnly)) {
        auto* filter = new InputMethodOff(box);
        filter->setObjectName(marker);
        box->installEventFilter(filter);
    }
    if (box->hasFocus()) {
        QInputMethod* im = QGuiApplication::inputMethod();
        im->commit();
        im->update(Qt::ImEnabled);
    }
}

bool CaretAfterLastLine(const QString& text, int& position, int selectionLength)
{
    auto isBreak = [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    if (vb::Trim(text).isEmpty())
        return false;
    const int lastBreak = std::max(text.lastIndexOf(QLatin1Char('\r')), text.lastIndexOf(QLatin1Char('\n')));
    if (lastBreak < 0)
        return false;
    int stripped = text.size();
    while (stripped > 0 && isBreak(text[stripped - 1]))
        --stripped;
    if (position == 0)
        position = selectionLength;
    if (position <= stripped)
        return false;
    // The caret stands on an empty last line: nothing follows the final line break.
    return lastBreak == text.size() - 1;
}

bool CaretAfterLastLine(QPlainTextEdit* box, int& position)
{
    const QTextCursor c = box->textCursor();
    return CaretAfterLastLine(box->toPlainText(), position, c.selectionEnd() - c.selectionStart());
}

bool CaretAfterLastLine(QTextEdit* box, int& position)
{
    const QTextCursor c = box->textCursor();
    return CaretAfterLastLine(box->toPlainText(), position, c.selectionEnd() - c.selectionStart());
}

namespace {

QStringList nonEmptyLines(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    QStringList lines;
    for (const QString& line : text.split(breaks)) {
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

}  // namespace

void FillListFromLines(QComboBox* list, const QString& text)
{
    list->clear();
    const QStringList lines = nonEmptyLines(text);
    list->addItems(lines);
    if (lines.isEmpty()) {
        setComboText(list, QString());
    } else {
        list->setCurrentIndex(0);
        if (list->isEditable())
            list->setEditText(lines.first());
    }
}

void FillListFromLines(QListWidget* list, const QString& text)
{
    list->clear();
    const QStringList lines = nonEmptyLines(text);
    list->addItems(lines);
    if (!lines.isEmpty())
        list->setCurrentRow(0);
}

bool OpenWebPage(const QString& url)
{
    if (shellsvc::OpenUrl(url))
        return true;
    ui::MsgBox(QStringLiteral("無法啟動網頁瀏覽器，這個網頁沒有開啟：") + gCrLf + url + gCrLf + gCrLf
                   + QStringLiteral("請先安裝網頁瀏覽器並設為預設的瀏覽器，再試一次；"
                                    "也可以把上面的網址輸入到瀏覽器中開啟。"),
               ui::Buttons::OK, ui::Icon::Exclamation);
    return false;
}
