// A scripted stand-in for the user: records every message box, input box, dialog, beep and
// process end, and answers from queues.  A message box with no scripted answer fails the
// running test with the message's text (it never waits for a click).
#pragma once

#include "platform/ui/Ui.h"

#include <QDialog>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace testsupport {

QString Describe(const ui::MessageCall& call);

class ScriptedResponder : public ui::Responder {
public:
    ScriptedResponder();   // installs itself
    ~ScriptedResponder() override;  // restores the previous responder; fails on unused answers

    // ---- Script ---------------------------------------------------------------------------
    ScriptedResponder& answer(ui::Answer a);                  // the next message box
    ScriptedResponder& input(const QString& text);            // the next input box ("" = cancel)
    ScriptedResponder& openFile(const QString& path);         // "" = cancel
    ScriptedResponder& saveFile(const QString& path);
    ScriptedResponder& folder(const QString& path);
    ScriptedResponder& font(std::optional<QFont> chosen);     // nullopt = cancel
    // The next modal dialog: the handler may fill the dialog in and returns its result code.
    ScriptedResponder& modal(std::function<int(QDialog*)> handler);
    ScriptedResponder& modal(int result);
    // Unused scripted answers are not a failure at the end of the test.
    ScriptedResponder& allowUnused();

    // ---- Record ---------------------------------------------------------------------------
    std::vector<ui::MessageCall> messages;
    QStringList texts() const;            // the texts of every message, in order
    const ui::MessageCall& last() const;  // fails the test when no message was shown
    QStringList inputPrompts;
    QStringList fileDialogTitles;         // open, save and folder dialogs
    std::vector<QDialog*> modals;         // the dialogs shown modally, in order
    int beeps = 0;
    std::vector<int> endCodes;            // one per EndProcess call

    // ---- ui::Responder ---------------------------------------------------------------------
    ui::Answer onMessage(const ui::MessageCall& call) override;
    QString onInput(const QString& prompt, const QString& title, const QString& defaultText) override;
    QString onOpenFile(const QString& title, const QString& dir, const QString& filter) override;
    QString onSaveFile(const QString& title, const QString& dir, const QString& filter) override;
    QString onFolder(const QString& title, const QString& dir) override;
    bool onFont(QFont& font) override;
    int onModal(QDialog* dialog) override;
    void onBeep() override { ++beeps; }
    void onEndProcess(int code) override { endCodes.push_back(code); }

private:
    ui::Responder* previous_ = nullptr;
    bool allowUnused_ = false;
    std::deque<ui::Answer> answers_;
    std::deque<QString> inputs_, openFiles_, saveFiles_, folders_;
    std::deque<std::optional<QFont>> fonts_;
    std::deque<std::function<int(QDialog*)>> modals_;
};

// The responder every test binary runs under unless a test installs its own: any message box,
// input box, dialog or modal window fails the test with what it would have shown.
class StrictResponder : public ui::Responder {
public:
    ui::Answer onMessage(const ui::MessageCall& call) override;
    QString onInput(const QString& prompt, const QString& title, const QString& defaultText) override;
    QString onOpenFile(const QString& title, const QString& dir, const QString& filter) override;
    QString onSaveFile(const QString& title, const QString& dir, const QString& filter) override;
    QString onFolder(const QString& title, const QString& dir) override;
    bool onFont(QFont& font) override;
    int onModal(QDialog* dialog) override;
};

// The answer given to a message nobody scripted: the way out (Cancel, No, Abort, OK).
ui::Answer SafeAnswer(ui::Buttons buttons);

}  // namespace testsupport

namespace testsupport {
// Runs f and returns the messages of the non-fatal test failures it raised, without failing
// the running test (to check that a misuse is reported).
QStringList CaptureFailures(const std::function<void()>& f);
}  // namespace testsupport
