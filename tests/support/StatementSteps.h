// Counts the steps SQLite's virtual machine takes for the statements a connection runs while an
// instance lives: a lookup through an index takes a few dozen, a scan of a table at least one
// per row, so a bound on the count tells a lookup from a scan without timing anything.
// Header only.
#pragma once

#include "platform/db/Db.h"
#include "platform/db/DbImpl.h"

#include <sqlite3.h>

namespace testsupport {

class StatementSteps {
public:
    explicit StatementSteps(db::Connection& conn) : db_(conn.impl()->st->db)
    {
        // Statements the connection keeps prepared count on from earlier runs: start them at 0.
        for (sqlite3_stmt* s = sqlite3_next_stmt(db_, nullptr); s; s = sqlite3_next_stmt(db_, s))
            sqlite3_stmt_status(s, SQLITE_STMTSTATUS_VM_STEP, 1);
        sqlite3_trace_v2(db_, SQLITE_TRACE_PROFILE, &StatementSteps::onEnd, this);
    }
    ~StatementSteps() { sqlite3_trace_v2(db_, 0, nullptr, nullptr); }
    StatementSteps(const StatementSteps&) = delete;
    StatementSteps& operator=(const StatementSteps&) = delete;

    long long steps() const { return steps_; }

private:
    static int onEnd(unsigned, void* self, void* statement, void*)
    {
        // Kept statements run many times: each end takes the count and starts it again.
        static_cast<StatementSteps*>(self)->steps_ +=
            sqlite3_stmt_status(static_cast<sqlite3_stmt*>(statement), SQLITE_STMTSTATUS_VM_STEP, 1);
        return 0;
    }
    sqlite3* db_;
    long long steps_ = 0;
};

}  // namespace testsupport
