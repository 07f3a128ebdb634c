#include "staff/ClickSteps.h"

#include "platform/ui/Ui.h"
#include "records/RecordMode.h"

void RunClickSteps(const std::vector<std::function<void()>>& steps,
                   const std::function<bool(const db::DbError&)>& special, const QString& numberText)
{
    bool handled = false;
    const bool done = RunButtonSteps(
        steps,
        [&](const db::DbError& e) {
            handled = special && special(e);
            return handled;
        },
        [&](const db::DbError& e) { return e.Description() + numberText + QString::number(e.Number()); });
    // Abort ends the program.
    if (!done && !handled)
        ui::EndProcess();
}
