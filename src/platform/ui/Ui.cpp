#include "platform/ui/Ui.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QTranslator>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace ui {

namespace {

QString& defaultTitle()
{
    static QString t = QStringLiteral("Tessarine");
    return t;
}

Responder* gResponder = nullptr;
QDate gToday;
QDateTime gNow;
int gWaitDepth = 0;

QWidget* parentWindow() { return QApplication::activeWindow(); }

QString titleOrDefault(const QString& title) { return title.isEmpty() ? DefaultTitle() : title; }

// "\r\n" inside a message is the program's line break; the box shows it as one.
QString forDisplay(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    return s;
}

// Filters in the "Text (*.txt)|*.txt|All|*.*" form become Qt's "Text (*.txt);;All (*.*)".
QString qtFilter(const QString& filter)
{
    if (!filter.contains(u'|'))
        return filter;
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        out << (parts[i].contains(u'(') ? parts[i] : parts[i] + QStringLiteral(" (") + patterns + u')');
    }
    return out.join(QStringLiteral(";;"));
}

enum class FileDialogKind { Open, Save, Folder };

// Qt's own file dialog (the program's on every platform it runs on), its texts in the language
// of Qt's catalogue.  The chosen path, or "" on cancel.
QString runFileDialog(const QString& title, const QString& dir, const QString& filter, FileDialogKind kind)
{
    QFileDialog dialog(parentWindow(), title, dir, qtFilter(filter));
    switch (kind) {
    case FileDialogKind::Open: dialog.setFileMode(QFileDialog::ExistingFile); break;
    case FileDialogKind::Save:
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        break;
    case FileDialogKind::Folder:
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        break;
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace

bool SetQtLanguage(const QString& locale)
{
    static QTranslator* current = nullptr;
    auto next = std::make_unique<QTranslator>();
    if (!next->load(QStringLiteral("qtbase_") + locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        std::fprintf(stderr, "ui: cannot read Qt's catalogue for %s\n", qPrintable(locale));
        return false;
    }
    if (current) {
        QCoreApplication::removeTranslator(current);
        delete current;
    }
    current = next.release();
    QCoreApplication::installTranslator(current);
    return true;
}

QString DefaultTitle() { return defaultTitle(); }
void SetDefaultTitle(const QString& title) { defaultTitle() = title; }

Responder* SetResponder(Responder* responder)
{
    Responder* previous = gResponder;
    gResponder = responder;
    return previous;
}

Responder* CurrentResponder() { return gResponder; }

void ExportFailed(const QString& reason, const QString& advice)
{
    const QString crlf = QStringLiteral("\r\n");
    MsgBox(QStringLiteral("匯出失敗，原因如下：") + crlf + crlf + reason + crlf + advice, Buttons::OK, Icon::Critical,
           QStringLiteral("匯出失敗"));
}

int TitleBarWidth(const QString& title)
{
    QFont font = QApplication::font();
    font.setPointSizeF(std::max(font.pointSizeF(), 12.0));
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int bar = metrics.height() + 8;  // about the height of a title bar, and of its icon and buttons
    return metrics.horizontalAdvance(title) + 4 * bar + 16;
}

Answer MsgBox(const QString& text, Buttons buttons, Icon icon, const QString& title)
{
    const MessageCall call{text, buttons, icon, titleOrDefault(title)};
    if (gResponder)
        return gResponder->onMessage(call);

    QMessageBox box(parentWindow());
    box.setWindowTitle(call.title);
    box.setText(forDisplay(call.text));
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        Answer answer;
    };
    std::vector<Choice> choices;
    switch (buttons) {
    case Buttons::OK: choices = {{QMessageBox::Ok, Answer::OK}}; break;
    case Buttons::OKCancel: choices = {{QMessageBox::Ok, Answer::OK}, {QMessageBox::Cancel, Answer::Cancel}}; break;
    case Buttons::YesNo: choices = {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}}; break;
    case Buttons::YesNoCancel:
        choices = {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}, {QMessageBox::Cancel, Answer::Cancel}};
        break;
    case Buttons::AbortRetryIgnore:
        choices = {{QMessageBox::Abort, Answer::Abort}, {QMessageBox::Retry, Answer::Retry}, {QMessageBox::Ignore, Answer::Ignore}};
        break;
    case Buttons::RetryCancel: choices = {{QMessageBox::Retry, Answer::Retry}, {QMessageBox::Cancel, Answer::Cancel}}; break;
    }
    QMessageBox::StandardButtons set;
    for (const Choice& c : choices)
        set |= c.button;
    box.setStandardButtons(set);
    // The captions a Traditional-Chinese Windows gives its message boxes.
    static const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        {QMessageBox::Ok, "確定"},          {QMessageBox::Cancel, "取消"},
        {QMessageBox::Yes, "是(&Y)"},       {QMessageBox::No, "否(&N)"},
        {QMessageBox::Abort, "中止(&A)"},   {QMessageBox::Retry, "重試(&R)"},
        {QMessageBox::Ignore, "略過(&I)"},
    };
    for (const auto& [button, caption] : captions)
        if (QAbstractButton* b = box.button(button))
            b->setText(QString::fromUtf8(caption));
    box.setDefaultButton(choices.front().button);  // the first button, as on Windows
    // Escape answers Cancel where there is one, OK on a lone OK, and nothing otherwise.
    if (set.testFlag(QMessageBox::Cancel))
        box.setEscapeButton(QMessageBox::Cancel);
    else if (buttons == Buttons::OK)
        box.setEscapeButton(QMessageBox::Ok);
    else
        box.setEscapeButton(static_cast<QAbstractButton*>(nullptr));
    // A short message must not cut its title: the box is at least as wide as its title bar needs.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(TitleBarWidth(call.title), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Choice& c : choices)
        if (c.button == clicked)
            return c.answer;
    return set.testFlag(QMessageBox::Cancel) ? Answer::Cancel : choices.front().answer;
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    const QString shownTitle = titleOrDefault(title);
    if (gResponder)
        return gResponder->onInput(prompt, shownTitle, defaultText);
    bool ok = false;
    const QString text = QInputDialog::getText(parentWindow(), shownTitle, forDisplay(prompt), QLineEdit::Normal,
                                               defaultText, &ok);
    return ok ? text : QString();
}

QString GetOpenFileName(const QString& title, const QString& dir, const QString& filter)
{
    if (gResponder)
        return gResponder->onOpenFile(title, dir, filter);
    return runFileDialog(title, dir, filter, FileDialogKind::Open);
}

QString GetSaveFileName(const QString& title, const QString& dir, const QString& filter)
{
    if (gResponder)
        return gResponder->onSaveFile(title, dir, filter);
    return runFileDialog(title, dir, filter, FileDialogKind::Save);
}

QString GetFolder(const QString& title, const QString& dir)
{
    if (gResponder)
        return gResponder->onFolder(title, dir);
    return runFileDialog(title, dir, QString(), FileDialogKind::Folder);
}

bool GetFont(QFont& font, const QString& title)
{
    if (gResponder)
        return gResponder->onFont(font);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, parentWindow(), title);
    if (ok)
        font = chosen;
    return ok;
}

int ShowModal(QDialog* dialog)
{
    if (gResponder)
        return gResponder->onModal(dialog);
    return dialog->exec();
}

void Beep()
{
    if (gResponder) {
        gResponder->onBeep();
        return;
    }
    QApplication::beep();
}

QDate Today()
{
    if (gToday.isValid())
        return gToday;
    if (gNow.isValid())
        return gNow.date();
    return QDate::currentDate();
}

QDateTime Now()
{
    if (gNow.isValid())
        return gNow;
    if (gToday.isValid())
        return QDateTime(gToday, QTime::currentTime());
    return QDateTime::currentDateTime();
}

void SetToday(const QDate& date) { gToday = date; }
void SetNow(const QDateTime& now) { gNow = now; }

void EndProcess(int code)
{
    if (gResponder) {
        gResponder->onEndProcess(code);
        return;
    }
    // The process ends here: no window's close handling runs.  Committed data is already on
    // disk; only the standard streams need flushing.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(code);
}

WaitCursor::WaitCursor()
{
    if (gWaitDepth++ == 0 && qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    if (--gWaitDepth == 0 && qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::restoreOverrideCursor();
}

int WaitCursorDepth() { return gWaitDepth; }

void DoEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

bool RunSteps(const std::vector<Step>& steps, const std::function<QString(const std::exception&)>& describe,
              const QString& title)
{
    for (std::size_t i = 0; i < steps.size();) {
        QString text;
        try {
            steps[i]();
            ++i;
            continue;
        } catch (const StepError& e) {
            text = e.text;
        } catch (const std::exception& e) {
            text = describe ? describe(e) : QString::fromUtf8(e.what());
        }
        switch (MsgBox(text, Buttons::AbortRetryIgnore, Icon::None, title)) {
        case Answer::Retry:
            break;          // the same step again
        case Answer::Ignore:
            ++i;            // on with the next
            break;
        default:
            return false;   // Abort
        }
    }
    return true;
}

}  // namespace ui
