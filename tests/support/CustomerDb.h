// A customer database in a temporary program folder, in the layout start-up leaves it (base
// tables brought up to date, no sample contacts or deliveries), opened as gConn.
// Header only: the schema code it calls is linked by the test binaries that use it.
#pragma once

#include "core/Globals.h"
#include "core/schema/SchemaCheck.h"
#include "platform/db/Db.h"
#include "support/TempDir.h"

#include <QChar>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

namespace testsupport {

class CustomerDb : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedProgramPath = gProgramPath;
        gProgramPath = folder.path();
        gLangOffset = 0;
        QFile script(QStringLiteral(":/schema/base_tables.sql"));
        ASSERT_TRUE(script.open(QIODevice::ReadOnly));
        path = folder.file(QStringLiteral("Tessarine.mdb"));
        db::Connection::CreateDatabase(path, QString::fromUtf8(script.readAll()));
        gConn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
        checkfilever();
        // The upgrade's sample contacts and deliveries belong to no customer of the tests.
        gConn.Execute(QStringLiteral("Delete From RV12A"));
        gConn.Execute(QStringLiteral("Delete From RV12B"));
    }
    void TearDown() override
    {
        if (gConn.InTransaction())
            gConn.RollbackTrans();
        gConn.Close();
        gProgramPath = savedProgramPath;
    }

    // Every row of the query as "a|b|c".
    static QStringList rows(const QString& sql)
    {
        db::Recordset rs = gConn.ExecuteQuery(sql);
        QStringList out;
        while (!rs.Eof()) {
            QStringList cells;
            for (int i = 0; i < rs.FieldCount(); ++i)
                cells << rs.value(i).toString();
            out << cells.join(QChar('|'));
            rs.MoveNext();
        }
        return out;
    }
    static long count(const QString& table)
    {
        return gConn.ExecuteQuery(QStringLiteral("Select Count(*) From ") + table).value(0).toLongLong();
    }

    TempDir folder;
    QString path;  // the database file
    QString savedProgramPath;
};

}  // namespace testsupport
