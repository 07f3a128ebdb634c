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

QString ErrorWithNumber(const db::DbError& e)
{
    return ErrorDescription(e) + LoadResString(326) + QString::number(e.Number());
}

namespace {

// Thrown out of a step when its handler has dealt with the error itself (no Abort/Retry/Ignore).
struct Handled {};

}  // namespace

bool RunButtonSteps(const std::vector<std::function<void()>>& steps,
                    const std::function<bool(const db::DbError&)>& special,
                    const std::function<QString(const db::DbError&)>& describe)
{
    std::vector<ui::Step> wrapped;
    wrapped.reserve(steps.size());
    for (const auto& s : steps) {
        wrapped.push_back([s, special] {
            try {
                s();
            } catch (const db::DbError& e) {
                if (special && special(e))
                    throw Handled{};
                throw;
            }
        });
    }
    const auto text = [&](const db::DbError& e) { return describe ? describe(e) : ErrorWithNumber(e); };
    try {
        return ui::RunSteps(wrapped, [&](const std::exception& e) {
            if (const auto* d = dynamic_cast<const db::DbError*>(&e))
                return text(*d);
            return ErrorDescription(e);
        });
    } catch (const Handled&) {
        return false;
    }
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
