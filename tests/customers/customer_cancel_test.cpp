// 放棄 in the customer window: after an add the window stands again on the customer the list
// shows, with that customer's own unbound values and detail rows; after a change it shows the
// customer as the database holds it now.
#include "core/Globals.h"
#include "customers/CustomFrom.h"
#include "customers/CustomerDetailGrids.h"
#include "platform/ui/Ui.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"
#include "support/Utf8.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;

namespace {

class CancelTest : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        // One customer with stored unbound values (invoice status, creator, dates) and details.
        gConn.Execute(QStringLiteral("Insert Into RV12 (RV120, RV121, 客戶全銜, RV123, RV1210, 發票狀況, 建檔者, 建檔日, "
                                     "修改者, 修改日期) Values ('000001', '大同', '大同股份有限公司', '02-1234', '王', 4, "
                                     "'阿美', 20261201, '阿明', 20261205)"));
        gConn.Execute(QStringLiteral("Insert Into RV12A (RV12A0, RV12A1) Values ('000001', '王大明')"));
        gConn.Execute(QStringLiteral("Insert Into RV12A (RV12A0, RV12A1) Values ('000001', '李小華')"));
        gConn.Execute(QStringLiteral("Insert Into RV12B (RV12B0, 送貨名稱) Values ('000001', '總倉')"));
        w = std::make_unique<CustomFrom>();
        w->show();
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    void TearDown() override
    {
        w.reset();
        CustomerDb::TearDown();
    }
    QLineEdit* box(int n) const { return w->Box(n); }
    void press(int button) { w->Command2[size_t(button)]->click(); }
    // What the window shows of the current customer: boxes, unbound values, detail rows.
    QStringList shown() const
    {
        return {box(0)->text(),         box(1)->text(),         box(3)->text(),
                box(18)->text(),        w->Label2[0]->text(),   w->Label2[1]->text(),
                w->Label2[2]->text(),   w->Label2[3]->text(),   QString::number(w->Grids->ManRowCount()),
                QString::number(w->Grids->DeliveRowCount())};
    }

    std::unique_ptr<CustomFrom> w;
};

const QStringList kStored = {"000001", K("大同"), "02-1234", K("不開發票"), K("阿美"), "20261201", K("阿明"),
                             "20261205", "2", "1"};

}  // namespace

TEST_F(CancelTest, CancelAfterAnAddShowsTheListsCustomerWithItsOwnValues)
{
    ASSERT_EQ(shown(), kStored);
    press(1);
    ASSERT_EQ(QString(w->EditMode), QStringLiteral("addnew"));
    ASSERT_NE(shown(), kStored);  // the empty new customer with its defaults
    box(1)->setFocus();
    QTest::keyClicks(box(1), QStringLiteral("ABC"));

    ScriptedResponder user;
    user.answer(ui::Answer::Yes);  // 放棄編輯 ?
    press(6);
    EXPECT_EQ(user.texts(), QStringList{K("放棄編輯 ?")});
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(shown(), kStored);
    EXPECT_EQ(rows(QStringLiteral("Select RV120, RV121 From RV12")), QStringList{K("000001|大同")});
    EXPECT_TRUE(w->Command2[1]->isVisible());
}

TEST_F(CancelTest, CancelAfterAChangeShowsTheCustomerAsStoredNow)
{
    press(2);
    ASSERT_EQ(QString(w->EditMode), QStringLiteral("change"));
    box(1)->setFocus();
    QTest::keyClicks(box(1), QStringLiteral("X"));
    // Meanwhile the customer is changed elsewhere (another computer on the same data folder).
    gConn.Execute(QStringLiteral("Update RV12 Set RV123 = '03-5555', 發票狀況 = 1, 修改者 = '小王', 修改日期 = 20261209 "
                                 "Where RV120 = '000001'"));

    ScriptedResponder user;
    user.answer(ui::Answer::Yes);
    press(6);
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(shown(), (QStringList{"000001", K("大同"), "03-5555", K("隨貨附發票"), K("阿美"), "20261201", K("小王"),
                                    "20261209", "2", "1"}));
}
