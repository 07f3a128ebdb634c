// A customer database in a temporary folder, in the layout start-up leaves it (base tables
// brought up to date, no sample details), opened as gConn.
#pragma once

#include "core/Globals.h"
#include "core/schema/SchemaCheck.h"
#include "platform/db/Db.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

class CustomerDb : public ::testing::Test {
protected:
    void SetUp() override
    {
        gLangOffset = 0;
        QFile script(QStringLiteral(":/schema/base_tables.sql"));
        ASSERT_TRUE(script.open(QIODevice::ReadOnly));
        path = folder.file(QStringLiteral("Tessarine.mdb"));
        db::Connection::CreateDatabase(path, QString::fromUtf8(script.readAll()));
        gConn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
        checkfilever();
        gConn.Execute(QStringLiteral("Delete From RV12A"));
        gConn.Execute(QStringLiteral("Delete From RV12B"));
        savedProgramPath = gProgramPath;
        gProgramPath = folder.path();
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

    testsupport::TempDir folder;
    QString path;
    QString savedProgramPath;
};
