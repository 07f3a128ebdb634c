// The kit's save and delete: one transaction, and on any failure the database exactly as it was
// before, the connection free for the next try, and one outcome saying what happened.
#include "core/ErrorText.h"
#include "records/RecordSave.h"
#include "support/CustomerDb.h"
#include "support/Utf8.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

const QString kFailure = K("資料並未儲存。");

db::Statement AddContact(const char* name)
{
    return {K("Insert Into RV12A (RV12A0, RV12A1) Values (?, ?)"), {K("000001"), K(name)}};
}

void RenameCustomer() { gConn.Execute(K("Update RV12 Set RV121 = '新名' Where RV120 = '000001'")); }

class RecordSave : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        gConn.Execute(K("Insert Into RV12 (RV120, RV121) Values ('000001', '大同')"));
        gConn.Execute(K("Insert Into RV12A (RV12A0, RV12A1) Values ('000001', '甲')"));
    }
    // The customer and its contacts.
    static QStringList state()
    {
        return rows(K("Select RV120, RV121 From RV12")) + rows(K("Select RV12A0, RV12A1 From RV12A Order By 序號"));
    }
};

}  // namespace

TEST_F(RecordSave, CommitsTheFieldsTheDetailRowsAndTheRecordRowTogether)
{
    QStringList order;
    const SaveOutcome out = SaveInTransaction(
        gConn, kFailure, [&] { order << "fields"; }, {AddContact("乙"), AddContact("丙")},
        [&] {
            order << "row";
            EXPECT_EQ(count("RV12A"), 3);  // the detail rows are written before the record row
            RenameCustomer();
        });
    EXPECT_TRUE(out.saved);
    EXPECT_TRUE(out.rowWritten);
    EXPECT_EQ(out.errorNumber, 0);
    EXPECT_EQ(order, (QStringList{"fields", "row"}));
    EXPECT_FALSE(gConn.InTransaction());
    EXPECT_EQ(state(), (QStringList{K("000001|新名"), K("000001|甲"), K("000001|乙"), K("000001|丙")}));
}

// Wherever the save fails, everything it wrote is undone and the outcome names the error,
// followed by the window's failure text.
TEST_F(RecordSave, AnyFailureLeavesTheDatabaseAsItWas)
{
    const db::DbError refused(3315, K("欄位不可為空"));
    const db::DbError duplicate(3022, K("重複的值"));
    const std::runtime_error other("disk gone");
    struct Case {
        const char* what;
        std::function<void()> fields;
        QVector<db::Statement> statements;
        std::function<void()> row;
        long number;
        QString description;  // "" = not checked
        bool rowWritten;
    };
    const Case cases[] = {
        {"the record's own fields refused", [&] { throw refused; }, {AddContact("乙")}, RenameCustomer, 3315,
         ErrorText(refused), false},
        {"a stored detail row deleted by another user since it was read", {},
         {AddContact("乙"), {K("Update RV12A Set RV12A1 = 'x' Where 序號 = ?"), {qint64(999)}, true}}, RenameCustomer,
         3197, {}, false},
        {"the record row refused after the details", {}, {AddContact("乙")},
         [&] {
             RenameCustomer();
             throw duplicate;
         },
         3022, ErrorText(duplicate), false},
        {"another error than the database's", {}, {AddContact("乙")},
         [&] {
             RenameCustomer();
             throw other;
         },
         -1, ErrorText(other), false},
    };
    const QStringList before = state();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SaveOutcome out = SaveInTransaction(gConn, kFailure, c.fields, c.statements, c.row);
        EXPECT_FALSE(out.saved);
        EXPECT_EQ(out.rowWritten, c.rowWritten);
        EXPECT_EQ(out.errorNumber, c.number);
        EXPECT_TRUE(out.message.endsWith(K("\r\n") + kFailure)) << out.message.toStdString();
        if (!c.description.isEmpty())
            EXPECT_EQ(out.message, c.description + K("\r\n") + kFailure);
        EXPECT_FALSE(gConn.InTransaction());
        EXPECT_EQ(state(), before);
    }
    // The connection takes the next save.
    EXPECT_TRUE(SaveInTransaction(gConn, kFailure, {}, {AddContact("乙")}, RenameCustomer).saved);
    EXPECT_EQ(count("RV12A"), 2);
}

TEST_F(RecordSave, DeleteRemovesRecordAndDetailsOrNothing)
{
    const auto deleteRow = [] { gConn.Execute(K("Delete From RV12 Where RV120 = '000001'")); };
    const db::Statement details{K("Delete From RV12A Where RV12A0 = ?"), {K("000001")}};
    const QStringList before = state();

    const DeleteOutcome failed =
        DeleteInTransaction(gConn, kFailure, deleteRow, {details, {K("Delete From 沒有這個表"), {}}});
    EXPECT_FALSE(failed.deleted);
    EXPECT_NE(failed.errorNumber, 0);
    EXPECT_TRUE(failed.message.endsWith(K("\r\n") + kFailure)) << failed.message.toStdString();
    EXPECT_FALSE(gConn.InTransaction());
    EXPECT_EQ(state(), before);

    const DeleteOutcome done = DeleteInTransaction(gConn, kFailure, deleteRow, {details});
    EXPECT_TRUE(done.deleted);
    EXPECT_TRUE(done.message.isEmpty());
    EXPECT_TRUE(state().isEmpty());
}
