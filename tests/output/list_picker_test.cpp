// The list picker: moves, reorders, the action button's state and the search box.
#include "output/ListPicker.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>

namespace {

struct Picker {
    QWidget window;
    QPushButton* action = new QPushButton(&window);
    ListPicker picker;
    explicit Picker(const QStringList& items, bool rightAllEnables = false)
        : picker(&window, action, rightAllEnables)
    {
        picker.lstAll->addItems(items);
    }
    static QStringList Texts(QListWidget* list)
    {
        QStringList t;
        for (int i = 0; i < list->count(); ++i)
            t << list->item(i)->text();
        return t;
    }
    QStringList All() const { return Texts(picker.lstAll); }
    QString CurrentAll() const { return picker.lstAll->currentItem() ? picker.lstAll->currentItem()->text() : QString(); }
    QString CurrentSelected() const
    {
        return picker.lstSelected->currentItem() ? picker.lstSelected->currentItem()->text() : QString();
    }
};

}  // namespace

TEST(ListPicker, MovingRightSelectsTheNextCandidateAndEnablesTheAction)
{
    Picker p({"甲", "乙", "丙"});
    p.action->setEnabled(false);
    p.picker.lstAll->setCurrentRow(1);
    p.picker.cmdRightOne_Click();
    EXPECT_EQ(p.All(), QStringList({"甲", "丙"}));
    EXPECT_EQ(p.CurrentAll(), "丙");
    EXPECT_EQ(p.CurrentSelected(), "乙");
    EXPECT_TRUE(p.action->isEnabled());

    p.picker.cmdRightOne_Click();  // the last one: the new last one is selected
    EXPECT_EQ(p.CurrentAll(), "甲");
    p.picker.cmdRightOne_Click();  // the only one: the list empties, the action stays enabled
    EXPECT_TRUE(p.All().isEmpty());
    EXPECT_TRUE(p.action->isEnabled());
    EXPECT_EQ(p.picker.Selected(), QStringList({"乙", "丙", "甲"}));

    p.picker.cmdRightOne_Click();  // nothing left to move: the action is disabled
    EXPECT_FALSE(p.action->isEnabled());
}

TEST(ListPicker, MovingLeftAndAllTheWay)
{
    Picker p({"A", "B", "C"});
    p.picker.cmdRightAll_Click();
    EXPECT_TRUE(p.All().isEmpty());
    EXPECT_EQ(p.CurrentSelected(), "A");

    p.picker.lstSelected->setCurrentRow(2);
    p.picker.cmdLeftOne_Click();
    EXPECT_EQ(p.All(), QStringList({"C"}));
    EXPECT_EQ(p.CurrentAll(), "C");
    EXPECT_EQ(p.CurrentSelected(), "B");
    EXPECT_TRUE(p.action->isEnabled());

    p.picker.cmdLeftAll_Click();
    EXPECT_EQ(p.All(), QStringList({"C", "A", "B"}));
    EXPECT_EQ(p.CurrentAll(), "B");
    EXPECT_FALSE(p.action->isEnabled());

    // The last chosen item moved back disables the action.
    p.picker.lstAll->setCurrentRow(0);
    p.picker.cmdRightOne_Click();
    p.picker.cmdLeftOne_Click();
    EXPECT_FALSE(p.action->isEnabled());
}

TEST(ListPicker, RightAllEnablesTheActionOnlyWhereTheWindowSaysSo)
{
    for (bool enables : {false, true}) {
        Picker p({"A"}, enables);
        p.action->setEnabled(false);
        p.picker.cmdRightAll_Click();
        EXPECT_EQ(p.action->isEnabled(), enables);
    }
}

TEST(ListPicker, UpAndDownWalkTheItemAndStopAtTheEnds)
{
    Picker p({"1", "2", "3"});
    p.picker.cmdRightAll_Click();
    p.picker.lstSelected->setCurrentRow(2);
    p.picker.cmdUp_Click();
    p.picker.cmdUp_Click();
    p.picker.cmdUp_Click();
    EXPECT_EQ(p.picker.Selected(), QStringList({"3", "1", "2"}));
    EXPECT_EQ(p.CurrentSelected(), "3");
    p.picker.cmdDown_Click();
    p.picker.cmdDown_Click();
    p.picker.cmdDown_Click();
    EXPECT_EQ(p.picker.Selected(), QStringList({"1", "2", "3"}));
    EXPECT_EQ(p.picker.lstSelected->currentRow(), 2);
}

TEST(ListPicker, SearchBoxSelectsByPatternAndMovesOnEnter)
{
    Picker p({"AB", "Ab", "B"});
    p.picker.Text1->setFocus();
    QTest::keyClicks(p.picker.Text1, "A");
    EXPECT_EQ(p.CurrentAll(), "AB");
    QTest::keyClicks(p.picker.Text1, "b");  // letter case counts
    EXPECT_EQ(p.CurrentAll(), "Ab");
    EXPECT_EQ(p.picker.Text1->text(), "Ab");
    QTest::keyClick(p.picker.Text1, Qt::Key_Backspace);  // no match: the selection stays
    EXPECT_EQ(p.CurrentAll(), "Ab");
    QTest::keyClicks(p.picker.Text1, "?");
    EXPECT_EQ(p.CurrentAll(), "AB");
    QTest::keyClicks(p.picker.Text1, "[");  // a malformed pattern matches nothing
    EXPECT_EQ(p.CurrentAll(), "AB");

    QTest::keyClick(p.picker.Text1, Qt::Key_Return);
    EXPECT_EQ(p.picker.Selected(), QStringList({"AB"}));
    EXPECT_EQ(p.picker.Text1->text(), "A?[");
}

TEST(ListPicker, AReloadedCandidateCanBeChosenTwice)
{
    Picker p({"A"});
    p.picker.lstAll->setCurrentRow(0);
    p.picker.cmdRightOne_Click();
    p.picker.lstAll->addItem("A");
    p.picker.lstAll->setCurrentRow(0);
    p.picker.cmdRightOne_Click();
    EXPECT_EQ(p.picker.Selected(), QStringList({"A", "A"}));
}

TEST(ListPicker, MovingFiveThousandAcrossAndBackIsQuick)
{
    QStringList items;
    for (int i = 0; i < 5000; ++i)
        items << QStringLiteral("廠商%1").arg(i, 5, 10, QLatin1Char('0'));
    Picker p(items);
    p.window.resize(600, 400);
    p.window.show();
    QCoreApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    p.picker.cmdRightAll_Click();
    QCoreApplication::processEvents();  // the lists repaint
    const qint64 right = timer.restart();
    EXPECT_EQ(p.picker.Selected(), items);
    EXPECT_EQ(p.CurrentSelected(), items.first());
    timer.restart();
    p.picker.cmdLeftAll_Click();
    QCoreApplication::processEvents();
    const qint64 left = timer.elapsed();

    EXPECT_EQ(p.All(), items);  // back in their order
    EXPECT_EQ(p.CurrentAll(), items.last());
    EXPECT_EQ(p.picker.lstSelected->count(), 0);
    // About 10 ms each on a quiet machine; a move that goes item by item takes seconds.
    EXPECT_LT(right, 1000);
    EXPECT_LT(left, 1000);
}
