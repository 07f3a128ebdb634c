// What a user reads for an error: a text in the user's language saying what happened and what
// to do.  The database layer's English descriptions go to the log only.
#pragma once

#include "platform/db/Db.h"

#include <QString>
#include <exception>

// The text for a database error, without its number ("另一部電腦已經修改…請按「放棄」…").
QString ErrorDescription(const db::DbError& e);
// The same followed by its number ("…（錯誤代號: 3197）"), for messages that show no number
// of their own.
QString ErrorText(const db::DbError& e);
// Any error: a database error as above; another error whose text is already the user's
// language as it is; anything else a general text (its own text goes to the log).
QString ErrorText(const std::exception& e);
QString ErrorDescription(const std::exception& e);

// Whether what the user typed can be the cause (a duplicate, a missing, too long or wrong value),
// not the file, the disk or another computer.
bool CausedByTypedData(const db::DbError& e);
