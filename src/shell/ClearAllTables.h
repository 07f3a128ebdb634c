// Emptying every table of the database.
#pragma once

#include <QString>

namespace db { class Connection; }

// Deletes every row of every user table on conn in one transaction.  On success shows
// "資料已經清空,請結束程式重新進入系統" and ends the program; on a failure rolls back,
// reports the error and returns false (the data are as before).
bool ClearAllTables(db::Connection& conn);
