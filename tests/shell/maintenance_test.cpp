// The database maintenance window: table list, allow-empty pass, clearing tables and the
// renumbering of customer codes with their contact and delivery rows.
#include "shell/DbMaintenance.h"
#include "shell/資料庫維護frm.h"
#include "shell/MDIForm1.h"
#include "shell/frmImpDB2.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>
#include <sqlite3.h>

using testsupport::CustomerDb;
using testsupport::ScriptedResponder;

namespace {

class Maintenance : public CustomerDb {
protected:
    static QStringList listed(const 資料庫維護frm& w)
    {
        QStringList names;
        for (int i = 0; i < w.List1->count(); ++i)
            names << w.List1->item(i)->text();
        return names;
    }
    void addCustomer(const QString& code, const QString& name)
    {
        gConn.Execute(QStringLiteral("Insert Into RV12 (RV120, RV121) Values (?, ?)"), {code, name});
    }
    void addContact(const QString& code, const QString& person)
    {
        gConn.Execute(QStringLiteral("Insert Into RV12A (RV12A0, RV12A1) Values (?, ?)"), {code, person});
    }
    void addDelivery(const QString& code, const QString& place)
    {
        gConn.Execute(QStringLiteral("Insert Into RV12B (RV12B0, 送貨名稱) Values (?, ?)"), {code, place});
    }
    // "customer name|code|contact or delivery" for every detail row, by customer name.
    static QStringList details()
    {
        return rows(QStringLiteral("Select RV121, RV120, RV12A1 From RV12 Inner Join RV12A On RV12.RV120 = RV12A.RV12A0 "
                                   "Union All "
                                   "Select RV121, RV120, 送貨名稱 From RV12 Inner Join RV12B On RV12.RV120 = RV12B.RV12B0 "
                                   "Order By 1, 3"));
    }
    // A second program on the file refuses changes to one table.
    void refuse(const char* triggerSql)
    {
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, triggerSql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(other);
    }
};

TEST_F(Maintenance, ListsUserTablesAndLetsTextColumnsAcceptEmptyText)
{
    gConn.SetAllowZeroLength("RV12", "RV121", false);
    gConn.SetAllowZeroLength("RV12", "RV1213", false);
    gConn.SetAllowZeroLength("RV12A", "RV12A1", false);
    const bool numberBefore = gConn.AllowZeroLength("RV12", "建檔日");

    ScriptedResponder user;
    資料庫維護frm window;
    EXPECT_EQ(window.windowTitle(), "資料庫維護");
    EXPECT_EQ(window.Combo1->count(), 1);
    EXPECT_EQ(window.Combo1->currentIndex(), 0);
    const QStringList tables = listed(window);
    EXPECT_TRUE(tables.contains("RV12") && tables.contains("RV12A") && tables.contains("RV18A"));
    for (const QString& t : tables)
        EXPECT_FALSE(t.startsWith("__") || t.startsWith("sqlite_")) << t.toStdString();

    user.answer(ui::Answer::No);
    window.Command1->click();
    EXPECT_FALSE(gConn.AllowZeroLength("RV12", "RV121"));

    user.answer(ui::Answer::Yes).answer(ui::Answer::OK);
    window.Command1->click();
    EXPECT_EQ(user.texts(), QStringList({"確定設定所有文字欄位允許為零字串嗎", "確定設定所有文字欄位允許為零字串嗎", "處理完畢"}));
    EXPECT_EQ(user.messages[0].buttons, ui::Buttons::YesNo);
    EXPECT_TRUE(gConn.AllowZeroLength("RV12", "RV121"));
    EXPECT_TRUE(gConn.AllowZeroLength("RV12", "RV1213"));
    EXPECT_TRUE(gConn.AllowZeroLength("RV12A", "RV12A1"));
    EXPECT_EQ(gConn.AllowZeroLength("RV12", "建檔日"), numberBefore);
    EXPECT_EQ(ui::WaitCursorDepth(), 0);
}

TEST_F(Maintenance, AllowEmptyErrorAbortsOrGoesOn)
{
    // A table gone after the list was read fails its step.
    for (ui::Answer choice : {ui::Answer::Abort, ui::Answer::Ignore}) {
        gConn.Execute("Create Table 暫存 (甲 Text(10))");
        gConn.SetAllowZeroLength("RV18A", "RV18A1", false);
        ScriptedResponder user;
        資料庫維護frm window;
        ASSERT_LT(listed(window).indexOf("RV18A"), listed(window).indexOf("暫存"));
        gConn.Execute("Drop Table 暫存");
        gConn.SetAllowZeroLength("RV18A", "RV18A1", false);
        user.answer(ui::Answer::Yes).answer(choice);
        if (choice == ui::Answer::Ignore)
            user.answer(ui::Answer::OK);
        window.Command1->click();
        ASSERT_GE(user.messages.size(), 2u);
        EXPECT_EQ(user.messages[1].buttons, ui::Buttons::AbortRetryIgnore);
        EXPECT_EQ(user.texts().contains("處理完畢"), choice == ui::Answer::Ignore);
        EXPECT_TRUE(gConn.AllowZeroLength("RV18A", "RV18A1"));  // listed before the failing table
        EXPECT_EQ(ui::WaitCursorDepth(), 0);
    }
}

TEST_F(Maintenance, ClearsTablesAnsweredYesAndGoesOnAfterAFailingDelete)
{
    addCustomer("000001", "甲");
    addContact("000001", "王先生");
    addDelivery("000001", "倉庫");
    gConn.Execute("Insert Into RV18A (RV18A1) Values ('李小姐')");
    refuse("CREATE TRIGGER keep BEFORE DELETE ON RV12A BEGIN SELECT RAISE(ABORT, 'kept'); END;");

    ScriptedResponder user;
    資料庫維護frm window;
    const QStringList yes = {"RV12A", "RV12", "RV18A"};
    QStringList expected;
    for (const QString& t : listed(window)) {
        user.answer(yes.contains(t) ? ui::Answer::Yes : ui::Answer::No);
        expected << "清空" + t + "嗎?";
        if (t == "RV12A") {
            user.answer(ui::Answer::OK);
            expected << "kept";
        }
    }
    user.answer(ui::Answer::OK);
    expected << "重置完畢";
    window.Command3->click();
    QStringList texts = user.texts();
    // The refusal (a rule of the database, error 30019) is told in Chinese with its number.
    for (QString& t : texts)
        if (t.contains("30019") && !t.contains("kept"))
            t = "kept";
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(count("RV12"), 0);
    EXPECT_EQ(count("RV18A"), 0);
    EXPECT_EQ(count("RV12A"), 1);
    EXPECT_EQ(count("RV12B"), 1);
    EXPECT_TRUE(gConn.ColumnExists("RV12", "RV121"));
}

TEST_F(Maintenance, RenumberingKeepsEveryDetailWithItsCustomer)
{
    struct Customer {
        QString code, name, contact, delivery;
    };
    struct Case {
        QList<Customer> customers;
        QStringList codes;  // the new code of each customer, in the order above
    };
    const Case cases[] = {
        // Code order is text order.
        {{{"A1", "甲", "王一", "倉一"}, {"000002", "乙", "王二", "倉二"}, {"000010", "丙", "王三", ""}},
         {"20050003", "20050001", "20050002"}},
        // An old code equal to a code handed out earlier waits behind it.
        {{{"000001", "甲", "王一", "倉一"}, {"20050001", "乙", "王二", "倉二"}, {"20050003", "丙", "王三", "倉三"},
          {"O'Neil", "丁", "王四", ""}},
         {"20050001", "20050002", "20050003", "20050004"}},
    };
    for (const Case& c : cases) {
        gConn.Execute("Delete From RV12");
        gConn.Execute("Delete From RV12A");
        gConn.Execute("Delete From RV12B");
        QStringList expected;
        for (int i = 0; i < c.customers.size(); ++i) {
            const Customer& k = c.customers[i];
            addCustomer(k.code, k.name);
            addContact(k.code, k.contact);
            expected << k.name + "|" + c.codes[i] + "|" + k.contact;
            if (!k.delivery.isEmpty()) {
                addDelivery(k.code, k.delivery);
                expected << k.name + "|" + c.codes[i] + "|" + k.delivery;
            }
        }
        expected.sort();
        addContact("999999", "無主");  // a detail of no customer stays where it is

        ScriptedResponder user;
        資料庫維護frm window;
        for (int run = 0; run < 2; ++run) {  // a second run gives every customer its own code again
            window.Command6->click();
            EXPECT_TRUE(user.messages.empty());
            QStringList got = details();
            got.sort();
            EXPECT_EQ(got, expected);
            EXPECT_EQ(window.Label1->text(), c.codes.size() == 3 ? "20050003" : "20050004");
            EXPECT_EQ(rows("Select RV12A1 From RV12A Where RV12A0 = '999999'"), QStringList{"無主"});
            EXPECT_FALSE(gConn.InTransaction());
            EXPECT_TRUE(window.Command6->isEnabled());
        }
    }
}

TEST_F(Maintenance, FailedRenumberingChangesNothing)
{
    addCustomer("000001", "甲");
    addCustomer("000002", "乙");
    addDelivery("000002", "倉庫");
    refuse("CREATE TRIGGER keep BEFORE UPDATE ON RV12B BEGIN SELECT RAISE(ABORT, 'kept'); END;");
    const QStringList before = rows("Select RV120, RV121 From RV12 Order By RV120");

    ScriptedResponder user;
    資料庫維護frm window;
    user.answer(ui::Answer::OK);
    window.Command6->click();
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_TRUE(user.last().text.startsWith("交易失敗"));
    EXPECT_TRUE(user.last().text.contains("30019")) << user.last().text.toStdString();
    EXPECT_FALSE(user.last().text.contains("kept"));
    EXPECT_EQ(rows("Select RV120, RV121 From RV12 Order By RV120"), before);
    EXPECT_EQ(rows("Select RV12B0 From RV12B"), QStringList{"000002"});
    EXPECT_FALSE(gConn.InTransaction());
}

TEST_F(Maintenance, MenuItemsOpenOneWindowEach)
{
    const QString savedData = gDataPath;
    gDataPath = folder.path();
    {
        MDIForm1 main;
        auto shown = [](const QString& name) {
            int n = 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                n += w->objectName() == name && w->isVisible();
            return n;
        };
        for (int i = 0; i < 2; ++i) {
            main.Item("ConvOtherItem")->trigger();
            main.ShowMaintenance();
        }
        EXPECT_EQ(shown("frmImpDB2"), 1);
        EXPECT_EQ(shown("資料庫維護frm"), 1);
    }
    gDataPath = savedData;
}

TEST(RenumberCode, FourDigitsAtLeast)
{
    EXPECT_EQ(dbmaint::RenumberCode(1), "20050001");
    EXPECT_EQ(dbmaint::RenumberCode(999), "20050999");
    EXPECT_EQ(dbmaint::RenumberCode(10000), "200510000");
}

}  // namespace
