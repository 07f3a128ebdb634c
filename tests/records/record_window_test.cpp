// The parts every record window builds from the kit: the one instance of a kind, the tab strip
// and its pages, the buttons of a control array, and a find window's condition handed over to
// its record window, with the typing a find window copies from one box onto another.
#include "records/FindDialog.h"
#include "records/OneInstance.h"
#include "records/RecordWindow.h"
#include "support/RecordingSink.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class OneWindow : public QWidget, public OneInstance<OneWindow> {
public:
    OneWindow() { Claim(this); }
};

TEST(RecordWindowParts, TheFirstWindowMadeIsTheOneUntilItIsGone)
{
    auto first = std::make_unique<OneWindow>();
    EXPECT_EQ(OneWindow::Global().data(), first.get());
    {
        OneWindow second;
        EXPECT_EQ(OneWindow::Global().data(), first.get());  // a second one does not take over
    }
    first.reset();
    EXPECT_TRUE(OneWindow::Global().isNull());
    OneWindow third;
    EXPECT_EQ(OneWindow::Global().data(), &third);
}

TEST(RecordWindowParts, TabStripAndPages)
{
    QWidget window;
    std::vector<int> changes;
    QTabBar* bar = TabBar(&window, QStringLiteral("TabStrip1"), {{"Basic"}, {"Other", QStringLiteral("其他資料")}},
                          [&](int tab) { changes.push_back(tab); });
    EXPECT_EQ(bar->objectName(), QStringLiteral("TabStrip1"));
    ASSERT_EQ(bar->count(), 2);
    EXPECT_EQ(bar->tabData(0).toString(), QStringLiteral("Basic"));
    EXPECT_EQ(bar->tabText(0), QString());
    EXPECT_EQ(bar->tabData(1).toString(), QStringLiteral("Other"));
    EXPECT_EQ(bar->tabText(1), QStringLiteral("其他資料"));
    EXPECT_TRUE(changes.empty());  // building the strip is no change of tab
    bar->setCurrentIndex(1);
    EXPECT_EQ(changes, std::vector<int>{1});

    std::array<QWidget*, 4> pages{};
    TabPages(&window, QStringLiteral("Picture3"), pages);
    EXPECT_EQ(pages[0], nullptr);  // index 0 is no page
    window.show();
    for (size_t i = 1; i < pages.size(); ++i) {
        ASSERT_NE(pages[i], nullptr);
        EXPECT_EQ(pages[i]->objectName(), QStringLiteral("Picture3_%1").arg(i));
        EXPECT_EQ(pages[i]->parentWidget(), &window);
        EXPECT_EQ(pages[i]->isVisible(), i == 1) << i;
    }
}

class HoverWatcher : public QWidget {
public:
    int hovers = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::HoverEnter)
            ++hovers;
        return false;
    }
};

TEST(RecordWindowParts, ArrayButtonIsNamedByItsIndexAndReportsToTheWindow)
{
    HoverWatcher window;
    int clicked = -1;
    QPushButton* b = ArrayButton(&window, &window, QStringLiteral("Command2"), 5, [&] { clicked = 5; });
    EXPECT_EQ(b->objectName(), QStringLiteral("Command2_5"));
    EXPECT_EQ(b->parentWidget(), &window);
    b->click();
    EXPECT_EQ(clicked, 5);
    QEvent hover(QEvent::HoverEnter);
    QCoreApplication::sendEvent(b, &hover);
    EXPECT_EQ(window.hovers, 1);
}

// ---- A find window's condition and typing ---------------------------------------------------

class Finder : public FindDialog {
public:
    using FindDialog::CopyTyping;
    explicit Finder(CopyTyping copy)
        : FindDialog({{QStringLiteral("RV120"), QStringLiteral("代號"), 14, false, true},
                      {QStringLiteral("RV121"), QStringLiteral("簡稱"), 10, false, false},
                      {QStringLiteral("RV122"), QStringLiteral("全銜"), 50, false, false}},
                     732, 733)
    {
        CopyTyped = copy;
    }
    FindCondition found;

protected:
    void Found(const FindCondition& condition) override { found = condition; }
};

TEST(FindWindowTyping, WhatOneBoxTakesGoesOntoTheEndOfAnother)
{
    struct Case {
        const char* what;
        Finder::CopyTyping copy;
        int box;
        const char* typed;
        const char* before;  // the full-name box
        const char* after;
    } const cases[] = {
        {"copied as typed", {1, 2, false}, 1, "ab", "大 ", "大 ab"},
        {"blanks at the target's ends go first", {1, 2, true}, 1, "ab", " 大 ", "大ab"},
        {"another box copies nothing", {1, 2, true}, 2, "c", "大", "大c"},
        {"no copy set", {}, 1, "ab", "大", "大"},
        {"a digits-only box refuses a letter, and nothing is copied", {0, 2, false}, 0, "a", "大", "大"},
        {"a digit the digits-only box takes is copied", {0, 2, false}, 0, "7", "大", "大7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Finder find(c.copy);
        find.show();
        find.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&find));
        find.Text1[2]->setText(QString::fromUtf8(c.before));
        find.Text1[size_t(c.box)]->setFocus();
        QTest::keyClicks(find.Text1[size_t(c.box)], QString::fromUtf8(c.typed));
        EXPECT_EQ(find.Text1[2]->text(), QString::fromUtf8(c.after));
    }
}

TEST(FindWindowTyping, ACommittedInputMethodTextIsCopiedWithoutItsUnprintables)
{
    Finder find({1, 2, false});
    find.Text1[2]->setText(QStringLiteral("大"));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("同\t電"));
    QCoreApplication::sendEvent(find.Text1[1], &commit);
    EXPECT_EQ(find.Text1[2]->text(), QStringLiteral("大同電"));
}

TEST(FindWindowTyping, AConditionHandedOverIsHeldShownInTheHiddenBoxAndOnTheStatusLine)
{
    testsupport::RecordingSink sink;
    QLineEdit box;
    FindCondition held;
    const FindCondition given = BuildFindCondition({{QStringLiteral("RV121"), QStringLiteral("大")}});
    HoldFindCondition(held, &box, given, QStringLiteral("顯示查詢條件"));
    EXPECT_EQ(held.sql, given.sql);
    EXPECT_EQ(held.params, given.params);
    EXPECT_EQ(box.text(), given.text);
    EXPECT_EQ(sink.panels[0], QStringList{QStringLiteral("顯示查詢條件")});
    EXPECT_EQ(sink.status, QStringLiteral("查詢條件: ") + given.text);
}

}  // namespace
