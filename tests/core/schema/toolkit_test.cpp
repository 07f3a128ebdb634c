// Probes and column-property procedures on a real database file.
#include "core/schema/SchemaToolkit.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QCryptographicHash>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace {

class SchemaToolkit : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = dir_.file(QStringLiteral("t.mdb"));
        db::Connection::CreateDatabase(path_, QStringLiteral(
            "CREATE TABLE T (Code Text(10), Note Memo, Qty Integer, Sex nchar(4), [e-mail] Text(50));"
            "INSERT INTO T (Code, Note, Qty) VALUES ('a1', 'n', 5)"));
        Open();
    }
    void Open() { conn_.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path_); }
    QByteArray FileDigest()
    {
        conn_.Close();
        QFile f(path_);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray digest = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
        Open();
        return digest;
    }

    testsupport::TempDir dir_;
    QString path_;
    db::Connection conn_;
};

TEST_F(SchemaToolkit, ProbesAnswerWithoutThrowing)
{
    const struct {
        const char* table;
        const char* column;
        bool exists;
    } cases[] = {
        {"T", "Code", true},  {"t", "code", true},   {"T", "Missing", false},
        {"NoSuch", "Code", false},
        {"T", "e-mail", false},  // a hyphenated name cannot be probed unbracketed
        {"T", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FieldExists(c.table, c.column, conn_), c.exists) << c.table << "." << c.column;
        EXPECT_EQ(FieldExistsRs(conn_, c.table, c.column), c.exists) << c.table << "." << c.column;
    }
    EXPECT_TRUE(TableExists(conn_, "T"));
    EXPECT_FALSE(TableExists(conn_, "NoSuch"));
    EXPECT_FALSE(TableExists(conn_, "T; DROP TABLE T"));
    EXPECT_TRUE(TableExists(conn_, "T"));
}

TEST_F(SchemaToolkit, PropertyProceduresRaiseForAMissingColumn)
{
    const std::function<void()> calls[] = {
        [&] { GetFieldOrdinal(conn_, "T", "Missing"); },
        [&] { SetFieldOrdinal(conn_, "T", "Missing", 3); },
        [&] { GetFieldAllowZeroLength(conn_, "T", "Missing"); },
        [&] { RenameField(conn_, "T", "Missing", "Other"); },
        [&] { SetFieldDefault(conn_, "T", "Missing", "0"); },
        [&] { GetFieldDefault(conn_, "T", "Missing"); },
    };
    int i = 0;
    for (const auto& call : calls) {
        try {
            call();
            ADD_FAILURE() << "call " << i << " did not raise";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.Number(), 3265) << "call " << i;
        }
        ++i;
    }
}

TEST_F(SchemaToolkit, RenameDefaultAndPositionKeepValues)
{
    EXPECT_EQ(GetFieldDefault(conn_, "T", "Qty"), "");
    SetFieldDefault(conn_, "T", "Qty", "0");
    EXPECT_EQ(GetFieldDefault(conn_, "T", "Qty"), "0");

    RenameField(conn_, "T", "Code", "編號");
    SetFieldOrdinal(conn_, "T", "編號", 40);
    EXPECT_EQ(GetFieldOrdinal(conn_, "T", "編號"), 40);
    EXPECT_EQ(conn_.Columns("T").last().name, "編號");

    db::Recordset rs = conn_.ExecuteQuery("SELECT 編號, Note, Qty FROM T");
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.value(0).toString(), "a1");
    EXPECT_EQ(rs.value(1).toString(), "n");
    EXPECT_EQ(rs.value(2).toInt(), 5);
    rs.Close();

    conn_.Execute("INSERT INTO T (編號) VALUES ('a2')");
    EXPECT_EQ(conn_.ExecuteQuery("SELECT Qty FROM T WHERE 編號 = 'a2'").value(0).toInt(), 0);
}

TEST_F(SchemaToolkit, SamePositionWritesNothing)
{
    const short pos = GetFieldOrdinal(conn_, "T", "Qty");
    const QByteArray before = FileDigest();
    SetFieldOrdinal(conn_, "T", "Qty", pos);
    EXPECT_EQ(FileDigest(), before);
}

TEST_F(SchemaToolkit, RollbackUndoesEveryColumnChange)
{
    const QStringList before = [&] {
        QStringList out;
        for (const auto& c : conn_.Columns("T"))
            out << c.name + "/" + c.defaultValue + "/" + QString::number(c.ordinal);
        return out;
    }();
    conn_.BeginTrans();
    RenameField(conn_, "T", "Code", "編號");
    SetFieldDefault(conn_, "T", "Qty", "0");
    SetFieldOrdinal(conn_, "T", "Note", 30);
    conn_.RollbackTrans();

    QStringList after;
    for (const auto& c : conn_.Columns("T"))
        after << c.name + "/" + c.defaultValue + "/" + QString::number(c.ordinal);
    EXPECT_EQ(after, before);
}

TEST_F(SchemaToolkit, AllowZeroLengthPassTouchesTextColumnsOnly)
{
    for (const char* col : {"Code", "Note", "Sex"})
        conn_.SetAllowZeroLength("T", col, false);

    SetAllowZeroLength(conn_, "T");

    for (const char* col : {"Code", "Note", "Sex"})
        EXPECT_TRUE(GetFieldAllowZeroLength(conn_, "T", col)) << col;
}

TEST_F(SchemaToolkit, AllowZeroLengthPassReportsItsOwnErrors)
{
    testsupport::ScriptedResponder user;
    user.answer(ui::Answer::Abort);
    SetAllowZeroLength(conn_, "NoSuch");  // never throws to the caller
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.last().buttons, ui::Buttons::AbortRetryIgnore);
    EXPECT_FALSE(user.last().text.isEmpty());
}

}  // namespace
