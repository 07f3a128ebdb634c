// What the data-layer tests share: a database file in a temporary folder, opened as a
// connection, and the Jet error number a piece of code raises.
#pragma once

#include "platform/db/Db.h"
#include "support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>

namespace dbtest {

// The Jet number of the DbError f throws; 0 when it throws none.
inline long errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const db::DbError& e) {
        return e.Number();
    }
    return 0;
}

struct DatabaseFile : ::testing::Test {
    testsupport::TempDir dir;
    QString path;
    db::Connection conn;

    // Makes the file with the script's tables and opens it.
    void CreateAndOpen(const QString& script, const QString& fileName = QStringLiteral("t.mdb"))
    {
        path = dir.file(fileName);
        db::Connection::CreateDatabase(path, script);
        conn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    }
};

}  // namespace dbtest
