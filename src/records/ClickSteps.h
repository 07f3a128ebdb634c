// The button bars of the employee and code-table windows run each click as steps under one
// error handler: the kit's button steps, with Abort ending the program.
#pragma once

#include "platform/db/Db.h"

#include <QString>
#include <functional>
#include <vector>

// Runs a click's steps.  `special` may deal with a data error itself (true: the click ends
// there); any other error shows its description, `numberText` and its number (then CR LF and
// `failureText`, what a save did not do, when given) with Abort, Retry and Ignore: Retry runs
// the step again, Ignore goes on with the next, Abort ends the program.
void RunClickSteps(const std::vector<std::function<void()>>& steps,
                   const std::function<bool(const db::DbError&)>& special, const QString& numberText,
                   const QString& failureText = {});
