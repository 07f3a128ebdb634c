#include "core/Globals.h"
#include "platform/db/Db.h"
#include "platform/strings/Strings.h"
#include "platform/text/VbText.h"
#include "shell/ClearAllTables.h"
#include "shell/ReadSTRINGfrm.h"
#include "shell/StringDump.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <sqlite3.h>

using testsupport::ScriptedResponder;
using testsupport::TempDir;

namespace {

// The dump's lines, decoded from code page 950, each still ending in CR LF.
QStringList DumpLines(const QByteArray& bytes)
{
    QStringList lines;
    for (const QByteArray& line : bytes.split('\n'))
        if (!line.isEmpty())
            lines << vb::FromCp950(line + '\n');
    return lines;
}

TEST(StringDump, WritesEachIdWithTextUnderIdPlus10000InCurrentLanguage)
{
    TempDir dir;
    for (int offset : {0, 10000}) {
        const QString path = dir.file(QStringLiteral("aaa.txt"));
        const int written = DumpStringTable(path, offset);
        const QByteArray bytes = dir.read(QStringLiteral("aaa.txt"));
        const QStringList lines = DumpLines(bytes);
        EXPECT_EQ(lines.size(), written);
        const QString text100 = vb::FromCp950(vb::ToCp950(strings::LoadResString(100 + offset)));
        const QString line100 = QStringLiteral("10100,\"%1\"\r\n").arg(text100);
        EXPECT_TRUE(lines.contains(line100)) << offset;
        // Ids without a text give no line; the numbers ascend.
        int previous = 0;
        for (const QString& l : lines) {
            const int n = l.section(QLatin1Char(','), 0, 0).toInt();
            EXPECT_GT(n, previous);
            EXPECT_TRUE(strings::HasResString(n - 10000 + offset)) << n;
            previous = n;
        }
        EXPECT_FALSE(lines.filter(QRegularExpression(QStringLiteral("^10138,"))).size());
    }
    // A Simplified character code page 950 cannot hold is written as "?".
    const QByteArray bytes = dir.read(QStringLiteral("aaa.txt"));
    const QString simplified = strings::LoadResString(10128);
    ASSERT_EQ(simplified, QStringLiteral("报表"));
    EXPECT_TRUE(bytes.contains(QByteArray("10128,\"?") + vb::ToCp950(QStringLiteral("表")) + "\"\r\n"));
}

TEST(StringDump, WindowWritesIntoDataFolderAndSaysDone)
{
    TempDir data;
    const QString savedData = gDataPath;
    gDataPath = data.path();
    ScriptedResponder user;
    user.answer(ui::Answer::OK);
    ReadSTRINGfrm window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("讀取資源檔"));
    window.Command1->click();
    EXPECT_EQ(user.texts(), QStringList{QStringLiteral("完畢")});
    EXPECT_TRUE(data.exists(QStringLiteral("aaa.txt")));
    EXPECT_EQ(ui::WaitCursorDepth(), 0);

    // A folder that cannot be written: the error is shown and the pointer restored.
    gDataPath = data.file(QStringLiteral("missing/"));
    user.answer(ui::Answer::OK);
    window.Command1->click();
    EXPECT_EQ(user.messages.size(), 2u);
    EXPECT_NE(user.last().text, QStringLiteral("完畢"));
    EXPECT_EQ(ui::WaitCursorDepth(), 0);
    gDataPath = savedData;
}

// The customer database as start-up leaves it, with one customer and one personal contact.
class ClearAllTest : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        if (HasFatalFailure())
            return;
        gConn.Execute(QStringLiteral("INSERT INTO RV12 (RV120, RV121) VALUES ('000001', '甲')"));
        gConn.Execute(QStringLiteral("INSERT INTO RV18A (RV18A1) VALUES ('王小明')"));
    }
};

TEST_F(ClearAllTest, EmptiesEveryTableKeepsSchemaAndEnds)
{
    ScriptedResponder user;
    user.answer(ui::Answer::OK);
    EXPECT_TRUE(ClearAllTables(gConn));
    EXPECT_EQ(user.texts(), QStringList{QStringLiteral("資料已經清空,請結束程式重新進入系統")});
    EXPECT_EQ(user.endCodes, std::vector<int>{0});
    EXPECT_EQ(count(QStringLiteral("RV12")), 0);
    EXPECT_EQ(count(QStringLiteral("RV18A")), 0);
    EXPECT_TRUE(gConn.ColumnExists(QStringLiteral("RV18A"), QStringLiteral("RV18A1")));
}

TEST_F(ClearAllTest, FailureRollsBackReportsAndKeepsRunning)
{
    // A second program refuses deletes on one table.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "CREATE TRIGGER keep BEFORE DELETE ON RV18A BEGIN SELECT RAISE(ABORT, 'kept'); END;",
                           nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);

    ScriptedResponder user;
    user.answer(ui::Answer::OK);
    EXPECT_FALSE(ClearAllTables(gConn));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_NE(user.last().text, QStringLiteral("資料已經清空,請結束程式重新進入系統"));
    EXPECT_TRUE(user.endCodes.empty());
    EXPECT_FALSE(gConn.InTransaction());
    EXPECT_EQ(count(QStringLiteral("RV12")), 1);
    EXPECT_EQ(count(QStringLiteral("RV18A")), 1);
}

}  // namespace
