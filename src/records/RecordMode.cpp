#include "records/RecordMode.h"

#include "core/ErrorText.h"
#include "core/Globals.h"
#include "platform/ui/Ui.h"

#include <QPushButton>

QString ModeText::Text(Mode mode)
{
    switch (mode) {
    case AddNew:
        return QStringLiteral("addnew");
    case Change:
        return QStringLiteral("change");
    case Edit:
        return QStringLiteral("edit");
    case Find:
        return QStringLiteral("fond");
    case Browse:
        break;
    }
    return {};
}

ModeText::Mode ModeText::FromText(const QString& text)
{
    for (Mode m : {AddNew, Change, Edit, Find})
        if (text == Text(m))
            return m;
    return Browse;
}

ModeText& ModeText::operator=(Mode mode)
{
    mode_ = mode;
    if (changed)
        changed();
    return *this;
}

void ApplyButtonModes(const std::vector<QPushButton*>& buttons, const std::vector<ButtonMode>& table, bool editing)
{
    for (const ButtonMode& m : table) {
        if (m.button < 0 || m.button >= int(buttons.size()) || !buttons[size_t(m.button)])
            continue;
        buttons[size_t(m.button)]->setVisible((m.shown & (editing ? ButtonMode::Edit : ButtonMode::Browse)) != 0);
    }
}

QString ErrorWithNumber(const db::DbError& e) { return ErrorWithNumber(e, LoadResString(326)); }

QString ErrorWithNumber(const db::DbError& e, const QString& numberText)
{
    return ErrorDescription(e) + numberText + QString::number(e.Number());
}

namespace {

// Thrown out of a step when its handler has dealt with the error itself (no Abort/Retry/Ignore).
struct Handled {};

}  // namespace

bool RunButtonSteps(const std::vector<std::function<void()>>& steps, const ButtonErrorPolicy& policy,
                    const QString& failureText)
{
    std::vector<ui::Step> wrapped;
    wrapped.reserve(steps.size());
    for (const auto& s : steps) {
        wrapped.push_back([&s, &policy, &failureText] {
            try {
                s();
            } catch (const db::DbError& e) {
                if (policy.answer && policy.answer(e, failureText))
                    throw Handled{};
                throw;
            }
        });
    }
    const auto text = [&](const db::DbError& e) {
        const QString said = policy.describe ? policy.describe(e) : ErrorWithNumber(e);
        return failureText.isEmpty() ? said : said + gCrLf + failureText;
    };
    bool done = false;
    try {
        done = ui::RunSteps(wrapped, [&](const std::exception& e) {
            if (const auto* d = dynamic_cast<const db::DbError*>(&e))
                return text(*d);
            return ErrorDescription(e);
        });
    } catch (const Handled&) {
        return false;
    }
    if (!done && policy.abortEndsProgram)
        ui::EndProcess();
    return done;
}

bool TrapDbErrors(const std::function<void()>& f)
{
    for (;;) {
        try {
            f();
            return true;
        } catch (const db::DbError& e) {
            if (ui::MsgBox(ErrorWithNumber(e), ui::Buttons::AbortRetryIgnore) != ui::Answer::Retry)
                return false;
        } catch (const std::exception& e) {
            if (ui::MsgBox(ErrorText(e), ui::Buttons::AbortRetryIgnore) != ui::Answer::Retry)
                return false;
        }
    }
}
