// A button's steps under a window's error policy: an error the policy answers ends the click
// without Abort/Retry/Ignore; one it hands on is offered them with the policy's text and the
// click's failure text; Abort ends the program only where the policy says so.
#include "core/Globals.h"
#include "records/RecordMode.h"
#include "support/Responder.h"

#include <gtest/gtest.h>

namespace {

const QString kNotSaved = QString::fromUtf8("資料並未存檔。");

struct Case {
    const char* name;
    bool answers;                     // the policy answers error 3022 itself
    bool abortEndsProgram;
    std::vector<ui::Answer> user;     // the user's answers to Abort/Retry/Ignore, in order
    QString failureText;
    bool done;                        // what RunButtonSteps returns
    int firstStepRuns, secondStepRuns, ends;
    QStringList shown;                // the messages shown
};

TEST(ButtonErrorPolicy, AnsweredHandedOnRetriedIgnoredAborted)
{
    const QString offered = QStringLiteral("重複 3022");
    const std::vector<Case> cases = {
        {"answered by the window", true, true, {}, kNotSaved, false, 1, 0, 0, {}},
        {"handed on, retried", false, false, {ui::Answer::Retry}, kNotSaved, true, 2, 1, 0, {offered + gCrLf + kNotSaved}},
        {"handed on, no failure text", false, false, {ui::Answer::Retry}, {}, true, 2, 1, 0, {offered}},
        {"handed on, ignored", false, false, {ui::Answer::Ignore}, {}, true, 1, 1, 0, {offered}},
        {"aborted", false, false, {ui::Answer::Abort}, {}, false, 1, 0, 0, {offered}},
        {"aborted, ending the program", false, true, {ui::Answer::Abort}, {}, false, 1, 0, 1, {offered}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScriptedResponder user;
        for (ui::Answer a : c.user)
            user.answer(a);
        QString failureAnswered;
        ButtonErrorPolicy policy;
        policy.answer = [&](const db::DbError& e, const QString& failureText) {
            failureAnswered = failureText;
            return c.answers && e.Number() == 3022;
        };
        policy.describe = [](const db::DbError& e) { return QStringLiteral("重複 ") + QString::number(e.Number()); };
        policy.abortEndsProgram = c.abortEndsProgram;
        int first = 0, second = 0;
        const bool done = RunButtonSteps({[&] {
                                              if (++first == 1)
                                                  throw db::DbError(3022, QStringLiteral("duplicate"));
                                          },
                                          [&] { ++second; }},
                                         policy, c.failureText);
        EXPECT_EQ(done, c.done);
        EXPECT_EQ(first, c.firstStepRuns);
        EXPECT_EQ(second, c.secondStepRuns);
        EXPECT_EQ(int(user.endCodes.size()), c.ends);
        EXPECT_EQ(user.texts(), c.shown);
        EXPECT_EQ(failureAnswered, c.failureText);  // the window's answer ends with it too
        for (const ui::MessageCall& m : user.messages)
            EXPECT_EQ(m.buttons, ui::Buttons::AbortRetryIgnore);
    }
}

}  // namespace
