#include "support/Responder.h"

#include <gtest/gtest.h>

namespace testsupport {

namespace {

const char* buttonsName(ui::Buttons b)
{
    switch (b) {
    case ui::Buttons::OK: return "OK";
    case ui::Buttons::OKCancel: return "OKCancel";
    case ui::Buttons::YesNo: return "YesNo";
    case ui::Buttons::YesNoCancel: return "YesNoCancel";
    case ui::Buttons::AbortRetryIgnore: return "AbortRetryIgnore";
    case ui::Buttons::RetryCancel: return "RetryCancel";
    }
    return "?";
}

QString dialogName(QDialog* dialog)
{
    if (!dialog)
        return QStringLiteral("(null dialog)");
    return QString::fromLatin1(dialog->metaObject()->className()) + QStringLiteral(" \"") + dialog->windowTitle() +
           u'"';
}

template <typename T>
T take(std::deque<T>& q)
{
    T v = std::move(q.front());
    q.pop_front();
    return v;
}

}  // namespace

QString Describe(const ui::MessageCall& call)
{
    return QStringLiteral("[%1] \"%2\" (%3)").arg(call.title, call.text, QString::fromLatin1(buttonsName(call.buttons)));
}

ui::Answer SafeAnswer(ui::Buttons buttons)
{
    switch (buttons) {
    case ui::Buttons::OK: return ui::Answer::OK;
    case ui::Buttons::YesNo: return ui::Answer::No;
    case ui::Buttons::AbortRetryIgnore: return ui::Answer::Abort;
    default: return ui::Answer::Cancel;
    }
}

// ---- ScriptedResponder -----------------------------------------------------------------------

ScriptedResponder::ScriptedResponder() { previous_ = ui::SetResponder(this); }

ScriptedResponder::~ScriptedResponder()
{
    ui::SetResponder(previous_);
    if (allowUnused_)
        return;
    if (!answers_.empty())
        ADD_FAILURE() << answers_.size() << " scripted message answer(s) never used; messages shown: "
                      << texts().join(QStringLiteral(" | ")).toStdString();
    if (!inputs_.empty() || !openFiles_.empty() || !saveFiles_.empty() || !folders_.empty() || !fonts_.empty() ||
        !modals_.empty())
        ADD_FAILURE() << "scripted input, dialog or modal answers never used";
}

ScriptedResponder& ScriptedResponder::answer(ui::Answer a) { answers_.push_back(a); return *this; }
ScriptedResponder& ScriptedResponder::input(const QString& text) { inputs_.push_back(text); return *this; }
ScriptedResponder& ScriptedResponder::openFile(const QString& path) { openFiles_.push_back(path); return *this; }
ScriptedResponder& ScriptedResponder::saveFile(const QString& path) { saveFiles_.push_back(path); return *this; }
ScriptedResponder& ScriptedResponder::folder(const QString& path) { folders_.push_back(path); return *this; }
ScriptedResponder& ScriptedResponder::font(std::optional<QFont> chosen) { fonts_.push_back(std::move(chosen)); return *this; }
ScriptedResponder& ScriptedResponder::modal(std::function<int(QDialog*)> handler) { modals_.push_back(std::move(handler)); return *this; }
ScriptedResponder& ScriptedResponder::modal(int result) { return modal([result](QDialog*) { return result; }); }
ScriptedResponder& ScriptedResponder::allowUnused() { allowUnused_ = true; return *this; }

QStringList ScriptedResponder::texts() const
{
    QStringList out;
    for (const auto& m : messages)
        out << m.text;
    return out;
}

const ui::MessageCall& ScriptedResponder::last() const
{
    static const ui::MessageCall none;
    if (messages.empty()) {
        ADD_FAILURE() << "no message box was shown";
        return none;
    }
    return messages.back();
}

ui::Answer ScriptedResponder::onMessage(const ui::MessageCall& call)
{
    messages.push_back(call);
    if (answers_.empty()) {
        ADD_FAILURE() << "unscripted message box: " << Describe(call).toStdString();
        return SafeAnswer(call.buttons);
    }
    return take(answers_);
}

QString ScriptedResponder::onInput(const QString& prompt, const QString& title, const QString& defaultText)
{
    inputPrompts << prompt;
    if (inputs_.empty()) {
        ADD_FAILURE() << "unscripted input box: [" << title.toStdString() << "] " << prompt.toStdString();
        return {};
    }
    return take(inputs_);
}

QString ScriptedResponder::onOpenFile(const QString& title, const QString& dir, const QString& filter)
{
    fileDialogTitles << title;
    if (openFiles_.empty()) {
        ADD_FAILURE() << "unscripted open-file dialog: " << title.toStdString();
        return {};
    }
    return take(openFiles_);
}

QString ScriptedResponder::onSaveFile(const QString& title, const QString& dir, const QString& filter)
{
    fileDialogTitles << title;
    if (saveFiles_.empty()) {
        ADD_FAILURE() << "unscripted save-file dialog: " << title.toStdString();
        return {};
    }
    return take(saveFiles_);
}

QString ScriptedResponder::onFolder(const QString& title, const QString& dir)
{
    fileDialogTitles << title;
    if (folders_.empty()) {
        ADD_FAILURE() << "unscripted folder dialog: " << title.toStdString();
        return {};
    }
    return take(folders_);
}

bool ScriptedResponder::onFont(QFont& font)
{
    if (fonts_.empty()) {
        ADD_FAILURE() << "unscripted font dialog";
        return false;
    }
    const auto chosen = take(fonts_);
    if (!chosen)
        return false;
    font = *chosen;
    return true;
}

int ScriptedResponder::onModal(QDialog* dialog)
{
    modals.push_back(dialog);
    if (modals_.empty()) {
        ADD_FAILURE() << "unscripted modal window: " << dialogName(dialog).toStdString();
        return QDialog::Rejected;
    }
    const int result = take(modals_)(dialog);
    if (dialog)
        dialog->setResult(result);
    return result;
}

// ---- StrictResponder -------------------------------------------------------------------------

ui::Answer StrictResponder::onMessage(const ui::MessageCall& call)
{
    ADD_FAILURE() << "unexpected message box: " << Describe(call).toStdString();
    return SafeAnswer(call.buttons);
}

QString StrictResponder::onInput(const QString& prompt, const QString& title, const QString&)
{
    ADD_FAILURE() << "unexpected input box: [" << title.toStdString() << "] " << prompt.toStdString();
    return {};
}

QString StrictResponder::onOpenFile(const QString& title, const QString&, const QString&)
{
    ADD_FAILURE() << "unexpected open-file dialog: " << title.toStdString();
    return {};
}

QString StrictResponder::onSaveFile(const QString& title, const QString&, const QString&)
{
    ADD_FAILURE() << "unexpected save-file dialog: " << title.toStdString();
    return {};
}

QString StrictResponder::onFolder(const QString& title, const QString&)
{
    ADD_FAILURE() << "unexpected folder dialog: " << title.toStdString();
    return {};
}

bool StrictResponder::onFont(QFont&)
{
    ADD_FAILURE() << "unexpected font dialog";
    return false;
}

int StrictResponder::onModal(QDialog* dialog)
{
    ADD_FAILURE() << "unexpected modal window: " << dialogName(dialog).toStdString();
    return QDialog::Rejected;
}

}  // namespace testsupport

#include <gtest/gtest-spi.h>

namespace testsupport {
QStringList CaptureFailures(const std::function<void()>& f)
{
    ::testing::TestPartResultArray results;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        f();
    }
    QStringList out;
    for (int i = 0; i < results.size(); ++i)
        out << QString::fromUtf8(results.GetTestPartResult(i).message());
    return out;
}
}  // namespace testsupport
