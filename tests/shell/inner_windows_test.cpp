// The main window with a real customer window inside it: the customer window's button access
// keys win over the menus while it is active, and cascading keeps every window's own size.
#include "core/Globals.h"
#include "customers/CustomFond.h"
#include "customers/CustomFrom.h"
#include "platform/strings/Strings.h"
#include "platform/ui/Ui.h"
#include "shell/MDIForm1.h"
#include "staff/PersonnelFrm.h"
#include "shell/WindowArrange.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;

namespace {

class InnerWindows : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        testsupport::CustomerDb::SetUp();
        savedData = gDataPath;
        gDataPath = folder.path();
        for (const char* code : {"000001", "000002"})
            gConn.Execute(QStringLiteral("Insert Into RV12 (RV120, RV121, 客戶全銜) Values (?, ?, ?)"),
                          {QString::fromUtf8(code), QStringLiteral("客戶") + QString::fromUtf8(code),
                           QStringLiteral("全銜")});
    }
    void TearDown() override
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        gDataPath = savedData;
        testsupport::CustomerDb::TearDown();
    }
    // The main window, shown and active, with the customer window open inside it.
    CustomFrom* openCustomers(MDIForm1& main)
    {
        main.show();
        QApplication::setActiveWindow(&main);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&main));
        main.ShowCustomFrom();
        CustomFrom* w = CustomFrom::Global();
        EXPECT_NE(w, nullptr);
        return w;
    }
    static void altKey(char letter)
    {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key(Qt::Key_A + (letter - 'A')), Qt::AltModifier);
    }
    QString savedData;
};

}  // namespace

TEST_F(InnerWindows, ButtonAccessKeysOfTheActiveRecordWindowWinOverTheMenus)
{
    MDIForm1 main;
    CustomFrom* w = openCustomers(main);
    ASSERT_NE(w, nullptr);
    w->DataGrid1[0]->setFocus();
    ASSERT_TRUE(w->isAncestorOf(QApplication::focusWidget()));

    {
        // Alt+F: 查詢(F) opens the find window; the 檔案 menu stays closed.
        ScriptedResponder user;
        bool findShown = false;
        user.modal([&](QDialog* d) {
            findShown = dynamic_cast<CustomFond*>(d) != nullptr;
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
            return 0;
        });
        altKey('F');
        EXPECT_TRUE(findShown);
    }
    {
        // Alt+D: 刪除(D) asks before deleting; No keeps the customer.
        ScriptedResponder user;
        user.answer(ui::Answer::No);
        altKey('D');
        EXPECT_EQ(user.texts(), QStringList{LoadResString(306)});
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_EQ(count(QStringLiteral("RV12")), 2);
    }
    {
        // Alt+M: 修改(M), then Alt+X is 放棄(X) (離開(X) is hidden while editing): back to browsing.
        altKey('M');
        EXPECT_EQ(QString(w->EditMode), QStringLiteral("change"));
        altKey('X');
        EXPECT_TRUE(w->EditMode.isEmpty());
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
    {
        // A letter no button of the window has still opens its menu: Alt+T, 工具.
        w->DataGrid1[0]->setFocus();
        altKey('T');
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->menuAction()->objectName(), QStringLiteral("ToolItem"));
        menu->close();
    }
}

// An inner window that is opened or activated takes the focus from the main window's own
// controls, and while it is active its buttons take their access keys even when the focus
// is still on one of those controls.
TEST_F(InnerWindows, TheActiveInnerWindowTakesTheFocusAndItsKeys)
{
    gConn.Execute(QStringLiteral("Insert Into RV17 (RV170, RV171) Values ('001', '業務部')"));
    gConn.Execute(QStringLiteral("Insert Into RV17A (RV17A0, RV17A1, RV17A2) Values ('001', '001-001', '王')"));
    MDIForm1 main;
    CustomFrom* customers = openCustomers(main);
    ASSERT_NE(customers, nullptr);
    main.Command3->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(main.Command3->hasFocus());

    // The employee window's first control is disabled: the focus still goes into the window.
    main.ShowPersonnelFrm();
    PersonnelFrm* staff = PersonnelFrm::Global();
    ASSERT_NE(staff, nullptr);
    QApplication::processEvents();
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(staff->isAncestorOf(QApplication::focusWidget()))
        << QApplication::focusWidget()->objectName().toStdString();

    // Back to the customer window: the focus follows it.
    main.Command3->setFocus(Qt::OtherFocusReason);
    main.MdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(customers->parentWidget()));
    QApplication::processEvents();
    EXPECT_TRUE(customers->isAncestorOf(QApplication::focusWidget()));

    // The focus on the main window's panel button: Alt+D is still the customer window's 刪除(D).
    main.Command3->setFocus(Qt::OtherFocusReason);
    ScriptedResponder user;
    user.answer(ui::Answer::No);
    altKey('D');
    EXPECT_EQ(user.texts(), QStringList{LoadResString(306)});
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(InnerWindows, ALeaveCheckThatRefusesKeepsTheButtonUnpressed)
{
    MDIForm1 main;
    CustomFrom* w = openCustomers(main);
    ASSERT_NE(w, nullptr);
    w->DataGrid1[0]->setFocus();
    altKey('M');
    ASSERT_EQ(QString(w->EditMode), QStringLiteral("change"));
    // A tax number that fails its check: leaving the box is refused, so 存檔(S) is not pressed.
    w->Box(7)->setFocus();
    w->Box(7)->setText(QStringLiteral("12345678"));
    ScriptedResponder user;
    user.answer(ui::Answer::OK);
    altKey('S');
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_TRUE(w->Box(7)->hasFocus());
    EXPECT_EQ(QString(w->EditMode), QStringLiteral("change"));
    EXPECT_EQ(rows(QStringLiteral("Select RV120 From RV12 Order By RV120")), (QStringList{"000001", "000002"}));
}

TEST_F(InnerWindows, CascadeKeepsEachWindowsOwnSizeAndRestoreWorks)
{
    MDIForm1 main;
    main.setWindowState(Qt::WindowNoState);
    main.resize(1600, 1200);
    CustomFrom* w = openCustomers(main);
    ASSERT_NE(w, nullptr);
    auto* other = new QWidget;
    other->setWindowTitle(QStringLiteral("小視窗"));
    other->resize(300, 200);
    main.ShowInner(other, true);
    const QList<QMdiSubWindow*> subs = main.MdiArea->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(subs.size(), 2);
    const QSize customerSize = subs[0]->size(), otherSize = subs[1]->size();
    ASSERT_GT(customerSize.height(), 300);  // more than a title bar

    subs[0]->showMaximized();
    main.MdiArea->setActiveSubWindow(subs[1]);
    main.Winlist_Item[0]->trigger();
    EXPECT_TRUE(main.Winlist_Item[0]->isChecked());
    for (QMdiSubWindow* s : subs)
        EXPECT_FALSE(s->isMaximized());
    EXPECT_EQ(subs[0]->size(), customerSize);
    EXPECT_EQ(subs[1]->size(), otherSize);
    // Staggered from the top-left corner by a title bar, the active window in front.
    const int step = subs[0]->widget()->geometry().top();
    EXPECT_EQ(subs[0]->pos(), QPoint(0, 0));
    EXPECT_EQ(subs[1]->pos(), QPoint(step, step));
    EXPECT_EQ(main.MdiArea->activeSubWindow(), subs[1]);

    // Maximize and restore: the window comes back at its own size and place.
    const QPoint cascaded = subs[0]->pos();
    subs[0]->showMaximized();
    subs[0]->showNormal();
    EXPECT_EQ(subs[0]->size(), customerSize);
    EXPECT_EQ(subs[0]->pos(), cascaded);
}

TEST(CascadePositions, StepDownAndStartAgainAtTheTop)
{
    const QRect area(0, 0, 800, 300);
    const std::vector<QSize> sizes = {{400, 200}, {400, 200}, {400, 200}, {100, 50}};
    // With a step of 60 the third window would reach past the bottom: it starts again at the top.
    EXPECT_EQ(CascadePositions(sizes, area, 30),
              (std::vector<QPoint>{{0, 0}, {30, 30}, {60, 60}, {90, 90}}));
    EXPECT_EQ(CascadePositions(sizes, area, 60),
              (std::vector<QPoint>{{0, 0}, {60, 60}, {0, 0}, {60, 60}}));
}
