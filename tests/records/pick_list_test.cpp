// The pick list laid over a box: where it starts, and that it writes only into the box and the
// record it was opened for.
#include "records/EntryRules.h"
#include "support/Utf8.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QStringList kStatus = {K("尚未核准"), K("現用廠商"), K("次常用"), K("已無往來")};

// A window with a page holding two boxes, a box outside the page and a list over the first box.
class PickListTest : public ::testing::Test {
public:
    void SetUp() override
    {
        page = new QWidget(&window);
        page->setGeometry(0, 0, 300, 200);
        box = new QLineEdit(page);
        box->setGeometry(10, 10, 120, 24);
        other = new QLineEdit(page);
        other->setGeometry(10, 50, 120, 24);
        outside = new QLineEdit(&window);
        outside->setGeometry(10, 220, 120, 24);
        combo = new QComboBox(page);
        window.resize(320, 260);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void open(int flags, const QString& text, bool firstWhenBlank = false)
    {
        // A drop-down closed on the offscreen platform leaves no window active.
        QApplication::setActiveWindow(&window);
        list = std::make_unique<PickList>(combo, flags);
        box->setText(text);
        list->Open(box, other, kStatus);
        if (firstWhenBlank)
            list->ShowFirstItemWhenBlank();
        QApplication::processEvents();
    }

    QWidget window;
    QWidget* page = nullptr;
    QLineEdit* box = nullptr;
    QLineEdit* other = nullptr;
    QLineEdit* outside = nullptr;
    QComboBox* combo = nullptr;
    std::unique_ptr<PickList> list;
};

}  // namespace

// The list starts at the box's own entry: Down gives the next one, the drop-down highlights it.
TEST_F(PickListTest, StartsAtTheBoxsOwnEntry)
{
    struct Case {
        const char* shown;
        bool firstWhenBlank;
        const char* afterDown;
    };
    const Case cases[] = {
        {"次常用", false, "已無往來"},
        {"尚未核准", false, "現用廠商"},
        {" 現用廠商", false, "次常用"},  // blanks around the box's text
        {"", true, "現用廠商"},           // a blank box shows the first entry
        {"別的", false, "尚未核准"},      // a text of no entry: the first one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        open(PickList::kWriteThrough, K(c.shown), c.firstWhenBlank);
        ASSERT_TRUE(combo->hasFocus());
        QTest::keyClick(combo, Qt::Key_Down);
        EXPECT_EQ(box->text(), K(c.afterDown));
        combo->showPopup();
        EXPECT_EQ(combo->view()->currentIndex().row(), kStatus.indexOf(K(c.afterDown)));
        combo->hidePopup();
        other->setFocus();
        QApplication::processEvents();
    }
}

// Every way the list loses its box, and what the box gets: a page changed is leaving the list
// (its text goes in); the box locked (a save, a cancel, another record) takes nothing; the focus
// anywhere else hides it; a save takes nothing from a list without the focus.
TEST_F(PickListTest, WritesOnlyIntoItsBoxWhileItHasTheFocus)
{
    struct Case {
        const char* route;
        std::function<void(PickListTest&)> away;
        const char* boxAfter;
    };
    const Case cases[] = {
        {"page changed", [](PickListTest& t) { t.page->hide(); }, "VIP"},
        {"box locked", [](PickListTest& t) { t.box->setReadOnly(true); }, "old"},
        {"focus elsewhere", [](PickListTest& t) { t.outside->setFocus(Qt::MouseFocusReason); }, "VIP"},
        {"left on screen, then saved",
         [](PickListTest& t) {
             t.outside->setFocus(Qt::MouseFocusReason);
             QApplication::processEvents();
             t.box->setText("old");
             t.combo->show();  // shown again without the focus
             EXPECT_FALSE(t.list->HasFocus());
             EXPECT_FALSE(t.list->Commit());
         },
         "old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.route);
        page->show();
        box->setReadOnly(false);
        open(PickList::kEnterBackToBox, "old");
        ASSERT_TRUE(list->HasFocus());
        combo->setEditText("VIP");
        c.away(*this);
        QApplication::processEvents();
        EXPECT_TRUE(combo->isHidden());
        EXPECT_EQ(box->text(), K(c.boxAfter));
        // Shown again with its page, the list stays away.
        page->show();
        QApplication::processEvents();
        EXPECT_FALSE(combo->isVisible());
    }
}
