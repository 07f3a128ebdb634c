// A record window's button runs its steps through the kit: an error asks Abort, Retry or Ignore
// (Retry runs the failed step again, Ignore goes on with the next, Abort leaves), unless the
// window's own handler deals with the error itself and ends the operation without a word.
#include "core/ErrorText.h"
#include "records/RecordMode.h"
#include "support/Responder.h"
#include "support/Utf8.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <vector>

using testsupport::ScriptedResponder;

namespace {

const db::DbError kLocked(3260, K("資料被鎖定"));
const db::DbError kDuplicate(3022, K("重複的值"));
const std::runtime_error kOther("broken");

}  // namespace

TEST(RunButtonSteps, AbortRetryIgnoreAndTheWindowsOwnErrors)
{
    // Step "b" fails the first time it runs; the log has every run, "b!" the failing one.
    enum Fault { Locked, Duplicate, Other };
    struct Case {
        const char* what;
        Fault fault;
        std::vector<ui::Answer> answers;
        bool describe;       // the window gives its own text for data errors
        QString log;
        bool result;
        QStringList texts;   // what the boxes said
    };
    const QString locked = ErrorWithNumber(kLocked);
    const Case cases[] = {
        {"retry runs the failed step again", Locked, {ui::Answer::Retry}, false, "a b! b c", true, {locked}},
        {"ignore goes on with the next step", Locked, {ui::Answer::Ignore}, false, "a b! c", true, {locked}},
        {"abort leaves", Locked, {ui::Answer::Abort}, false, "a b!", false, {locked}},
        {"the window's own error ends quietly", Duplicate, {}, false, "a b!", false, {}},
        {"another error is described in the user's words", Other, {ui::Answer::Ignore}, false, "a b! c", true,
         {ErrorDescription(kOther)}},
        {"the window's text for a data error", Locked, {ui::Answer::Abort}, true, "a b!", false, {K("鎖住了")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedResponder user;
        for (ui::Answer a : c.answers)
            user.answer(a);
        QStringList log;
        bool failed = false;
        const auto step = [&](const char* name, bool fails) {
            return [&log, &failed, &c, name, fails] {
                if (fails && !failed) {
                    failed = true;
                    log << QString::fromUtf8(name) + "!";
                    if (c.fault == Locked)
                        throw kLocked;
                    if (c.fault == Duplicate)
                        throw kDuplicate;
                    throw kOther;
                }
                log << QString::fromUtf8(name);
            };
        };
        int specialCalls = 0;
        const bool ran = RunButtonSteps(
            {step("a", false), step("b", true), step("c", false)},
            {.answer =
                 [&](const db::DbError& e, const QString&) {
                     ++specialCalls;
                     return e.Number() == 3022;
                 },
             .describe = c.describe
                             ? std::function<QString(const db::DbError&)>([](const db::DbError&) { return K("鎖住了"); })
                             : std::function<QString(const db::DbError&)>()});
        EXPECT_EQ(log.join(' '), c.log);
        EXPECT_EQ(ran, c.result);
        EXPECT_EQ(user.texts(), c.texts);
        for (const ui::MessageCall& m : user.messages)
            EXPECT_EQ(m.buttons, ui::Buttons::AbortRetryIgnore);
        EXPECT_EQ(specialCalls, c.fault == Other ? 0 : 1);  // only data errors reach the window's hook
    }
}

TEST(RunButtonSteps, WithoutAHookEveryDataErrorAsksAndShowsItsNumber)
{
    ScriptedResponder user;
    user.answer(ui::Answer::Abort);
    EXPECT_FALSE(RunButtonSteps({[] { throw kDuplicate; }}));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_TRUE(user.last().text.endsWith(QStringLiteral("3022"))) << user.last().text.toStdString();
    EXPECT_TRUE(user.last().text.startsWith(ErrorDescription(kDuplicate)));
}
