#include "records/ClickSteps.h"

#include "core/ErrorText.h"
#include "core/Globals.h"
#include "platform/ui/Ui.h"
#include "records/RecordMode.h"

void RunClickSteps(const std::vector<std::function<void()>>& steps,
                   const std::function<bool(const db::DbError&)>& special, const QString& numberText,
                   const QString& failureText)
{
    bool handled = false;
    const bool done = RunButtonSteps(
        steps,
        [&](const db::DbError& e) {
            handled = special && special(e);
            return handled;
        },
        [&](const db::DbError& e) {
            const QString text = ErrorDescription(e) + numberText + QString::number(e.Number());
            return failureText.isEmpty() ? text : text + gCrLf + failureText;
        });
    // Abort ends the program.
    if (!done && !handled)
        ui::EndProcess();
}
