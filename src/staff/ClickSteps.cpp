#include "staff/ClickSteps.h"

#include "platform/ui/Ui.h"

namespace {

// A step's error was dealt with by the window itself.
struct Handled {};

}  // namespace

void RunClickSteps(const std::vector<std::function<void()>>& steps,
                   const std::function<bool(const db::DbError&)>& special, const QString& numberText)
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
    try {
        const bool done = ui::RunSteps(wrapped, [&](const std::exception& e) {
            const auto* d = dynamic_cast<const db::DbError*>(&e);
            return (d ? d->Description() : QString::fromUtf8(e.what())) + numberText +
                   QString::number(d ? d->Number() : 0);
        });
        if (!done)
            ui::EndProcess();
    } catch (const Handled&) {
    }
}
