// The record cycle of every record window: refusals in order before anything is written, the
// parts and the window's fields stored into the row inside the write, a commit that fails put
// back as typed, a single Update's error handed to the caller, and the row placed before the
// mode; the parts follow the mode.
#include "records/RecordCycle.h"
#include "records/RecordMode.h"
#include "support/CustomerDb.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

namespace {

// A part that notes what the cycle asks of it.
class NotingPart : public RecordPart {
public:
    NotingPart(QStringList& log, QString name, bool refuse = false) : log_(log), name_(std::move(name)), refuse_(refuse) {}
    void StoreRecord(db::Recordset& rs) override
    {
        log_ << name_ + " store";
        rs.setValue(K("RV124"), name_);
    }
    void SetReadOnly(bool readOnly) override { readOnly_ = readOnly; }
    bool RefuseSave(const QString& failureText) override
    {
        log_ << name_ + " refuse? " + failureText;
        return refuse_;
    }
    bool readOnly_ = false;

private:
    QStringList& log_;
    QString name_;
    bool refuse_;
};

class RecordCycle : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        gConn.Execute(K("Insert Into RV12 (RV120, RV121) Values ('000001', '大同')"));
        rs.Open(K("Select * From RV12 Order By RV120"), gConn, db::adOpenDynamic, db::adLockOptimistic);
    }
    // A new customer typed into the row, and a cycle that notes every step.
    SaveCycle typedCycle(bool withTransaction)
    {
        rs.AddNew();
        rs.setValue(K("RV120"), K("000002"));
        rs.setValue(K("RV121"), K("新客戶"));
        SaveCycle c{.rs = &rs, .adding = true, .failureText = K("資料並未存檔。")};
        c.intoRow = [this] {
            log << "into";
            rs.setValue(K("RV123"), K("unbound"));
        };
        if (withTransaction)
            c.transaction = [this](const std::function<void()>& into, const std::function<void()>& write) {
                return SaveInTransaction(gConn, K("資料並未存檔。"), into, {}, [&] {
                    write();
                    log << "written";
                });
            };
        c.failed = [this](const SaveOutcome& out) { log << "failed " + QString::number(out.errorNumber); };
        c.place = [this] { log << "place"; };
        c.mode = [this] { log << "mode"; };
        return c;
    }
    static QStringList customers() { return rows(K("Select RV120, RV121, RV124, RV123 From RV12 Order By RV120")); }

    db::Recordset rs;
    QStringList log;
};

}  // namespace

// The first refusal ends the save: nothing is stored, written, placed or left.
TEST_F(RecordCycle, RefusalsRunInOrderAndTheFirstEndsTheSave)
{
    struct Case {
        const char* what;
        bool partRefuses;
        bool checkRefuses;
        QStringList log;
        bool saved;
    };
    const Case cases[] = {
        {"nothing refused", false, false,
         {"check", "grid refuse? 資料並未存檔。", "audit store", "into", "written", "place", "mode"}, true},
        {"the window's check refuses", false, true, {"check"}, false},
        {"the part after it refuses", true, false, {"check", "grid refuse? 資料並未存檔。"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        const QStringList before = customers();
        NotingPart grid(log, K("grid"), c.partRefuses);
        NotingPart audit(log, K("audit"));
        SaveCycle cycle = typedCycle(true);
        cycle.refusals = {[&] {
                              log << "check";
                              return c.checkRefuses;
                          },
                          &grid};
        cycle.stored = {&audit};
        EXPECT_EQ(SaveRecord(cycle), c.saved);
        EXPECT_EQ(log, c.log);
        if (c.saved) {
            EXPECT_EQ(customers(), before + QStringList{K("000002|新客戶|audit|unbound")});
            gConn.Execute(K("Delete From RV12 Where RV120 = '000002'"));
            rs.Requery();
        } else {
            EXPECT_EQ(customers(), before);
            rs.CancelUpdate();
        }
    }
}

// A commit that fails once the row was written leaves the table as it was and the typed row
// pending again, so that the next save writes it; the window says so, and nothing is placed.
TEST_F(RecordCycle, AFailedCommitPutsTheTypedRowBack)
{
    SaveCycle cycle = typedCycle(true);
    cycle.transaction = [&](const std::function<void()>& into, const std::function<void()>& write) {
        gConn.BeginTrans();
        into();
        write();
        gConn.RollbackTrans();  // as a commit the file refused
        SaveOutcome out;
        out.rowWritten = true;
        out.errorNumber = 3197;
        return out;
    };
    EXPECT_FALSE(SaveRecord(cycle));
    EXPECT_EQ(log, (QStringList{"into", "failed 3197"}));
    EXPECT_EQ(customers(), QStringList{K("000001|大同||")});
    EXPECT_EQ(rs.EditMode(), db::adEditAdd);
    EXPECT_EQ(rs.value(K("RV120")).toString(), K("000002"));
    EXPECT_EQ(rs.value(K("RV123")).toString(), K("unbound"));
    rs.Update();  // the next save writes what was typed
    EXPECT_EQ(customers(), (QStringList{K("000001|大同||"), K("000002|新客戶||unbound")}));
}

// Without a transaction the row is written by one Update; an error on the way goes to the
// caller (the button's steps) and the row stays pending.
TEST_F(RecordCycle, WithoutATransactionTheErrorGoesToTheCaller)
{
    SaveCycle cycle = typedCycle(false);
    EXPECT_TRUE(SaveRecord(cycle));
    EXPECT_EQ(log, (QStringList{"into", "place", "mode"}));
    EXPECT_EQ(customers(), (QStringList{K("000001|大同||"), K("000002|新客戶||unbound")}));

    log.clear();
    cycle = typedCycle(false);
    cycle.intoRow = [] { throw db::DbError(3315, K("欄位不可為空")); };
    EXPECT_THROW(SaveRecord(cycle), db::DbError);
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(rs.EditMode(), db::adEditAdd);
    EXPECT_EQ(customers().size(), 2);
}

// Every assignment of the mode makes the parts read-only while browsing and writable in any
// other mode, then runs what else follows the mode.
TEST_F(RecordCycle, PartsFollowTheMode)
{
    NotingPart boxes(log, K("boxes"));
    NotingPart grid(log, K("grid"));
    ModeText mode;
    QStringList bar;
    FollowMode(mode, {&boxes, &grid}, [&] { bar << (mode.isEmpty() ? "browse" : "edit"); });
    for (ModeText::Mode m : {ModeText::AddNew, ModeText::Browse, ModeText::Change, ModeText::Find}) {
        mode = m;
        EXPECT_EQ(boxes.readOnly_, m == ModeText::Browse);
        EXPECT_EQ(grid.readOnly_, m == ModeText::Browse);
    }
    EXPECT_EQ(bar, (QStringList{"edit", "browse", "edit", "edit"}));
}
