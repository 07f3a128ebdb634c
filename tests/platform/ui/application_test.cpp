// The application object every test binary runs under is the program's own: what a handler
// throws becomes a message and the next event is handled as usual; focus moved by a focus
// handler leaves the text cursor only in the box that has the focus.
#include "platform/db/Db.h"
#include "platform/ui/Application.h"
#include "support/Responder.h"

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <stdexcept>

using testsupport::ScriptedResponder;

namespace {

// A button whose every press throws what the test asks for, and counts the presses that got
// through to its handler.
class ThrowingButton : public QPushButton {
public:
    std::function<void()> toThrow;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        ++presses;
        QPushButton::mousePressEvent(e);
        toThrow();
    }
};

}  // namespace

TEST(UnexpectedErrors, EveryKindOfThrowIsReportedAndTheProgramGoesOn)
{
    ASSERT_NE(dynamic_cast<ui::Application*>(QCoreApplication::instance()), nullptr);
    const struct {
        const char* name;
        std::function<void()> toThrow;
        QString shown;  // the description in the message
    } cases[] = {
        {"std::runtime_error", [] { throw std::runtime_error("值超出範圍"); }, QStringLiteral("值超出範圍")},
        {"data error", [] { throw db::DbError(3163, QStringLiteral("The field is too small")); },
         QStringLiteral("The field is too small")},
        {"std::out_of_range from a library", [] { (void)std::vector<int>{}.at(3); }, QString()},
        {"not an exception class", [] { throw 42; }, QString()},
    };
    ThrowingButton button;
    button.resize(80, 30);
    button.show();
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    for (const auto& c : cases) {
        ScriptedResponder user;
        user.answer(ui::Answer::OK);
        button.toThrow = c.toThrow;
        QTest::mouseClick(&button, Qt::LeftButton);

        ASSERT_EQ(user.messages.size(), 1u) << c.name;
        const ui::MessageCall& m = user.last();
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("發生未預期的錯誤，這個動作沒有完成。"))) << c.name;
        EXPECT_TRUE(m.text.endsWith(QStringLiteral("程式會繼續執行。"))) << c.name;
        if (!c.shown.isEmpty())
            EXPECT_TRUE(m.text.contains(c.shown)) << m.text.toStdString();
        EXPECT_EQ(m.icon, ui::Icon::Critical);
    }
    EXPECT_EQ(button.presses, int(std::size(cases)));
    // The release after each thrown press still reached the button: it was clicked every time.
    EXPECT_EQ(clicks, int(std::size(cases)));
    EXPECT_FALSE(button.isDown());
}

TEST(UnexpectedErrors, SlotsAndTimersAreGuardedToo)
{
    ScriptedResponder user;
    user.answer(ui::Answer::OK).answer(ui::Answer::OK);
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, [] { throw std::runtime_error("按鈕"); });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    bool later = false;
    QTimer::singleShot(0, [] { throw std::runtime_error("計時器"); });
    QTimer::singleShot(0, [&] { later = true; });
    QTest::qWait(20);
    EXPECT_TRUE(later);
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_TRUE(user.messages[0].text.contains(QStringLiteral("按鈕")));
    EXPECT_TRUE(user.messages[1].text.contains(QStringLiteral("計時器")));
}

namespace {

// Three boxes in a window; a focus handler of the middle box may send the focus elsewhere, as
// the record windows' entry and leave checks do.
struct FocusWindow {
    QWidget window;
    QLineEdit* box[3];
    QLineEdit* untouched;  // drawn as a box that never had the focus
    std::function<void(QEvent::Type)> onFocus;

    struct Filter : QObject {
        FocusWindow* owner;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if ((e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) && owner->onFocus) {
                auto run = std::move(owner->onFocus);  // once
                run(e->type());
            }
            return false;
        }
    } filter;

    FocusWindow()
    {
        auto* column = new QVBoxLayout(&window);
        for (QLineEdit*& b : box) {
            b = new QLineEdit(QStringLiteral("台北市"), &window);
            column->addWidget(b);
        }
        untouched = new QLineEdit(QStringLiteral("台北市"), &window);
        column->addWidget(untouched);
        filter.owner = this;
        box[1]->installEventFilter(&filter);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    static QImage look(QWidget* w) { return w->grab().toImage(); }
};

}  // namespace

TEST(FocusSettling, AFocusHandlerThatMovesTheFocusLeavesNoCursorBehind)
{
    FocusWindow f;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
    f.box[0]->setFocus(Qt::TabFocusReason);
    f.box[0]->deselect();

    // Entering the middle box sends the focus on to the last one.
    f.onFocus = [&](QEvent::Type type) {
        if (type == QEvent::FocusIn)
            f.box[2]->setFocus(Qt::OtherFocusReason);
    };
    f.box[1]->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(f.box[2]->hasFocus());
    EXPECT_EQ(FocusWindow::look(f.box[1]), FocusWindow::look(f.untouched));
    EXPECT_EQ(FocusWindow::look(f.box[0]), FocusWindow::look(f.untouched));
    EXPECT_NE(FocusWindow::look(f.box[2]), FocusWindow::look(f.untouched));  // the cursor is here
}

TEST(FocusSettling, ALeaveCheckThatKeepsTheFocusKeepsTheCursor)
{
    FocusWindow f;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
    f.box[1]->setFocus(Qt::MouseFocusReason);
    const QImage focused = FocusWindow::look(f.box[1]);
    ASSERT_NE(focused, FocusWindow::look(f.untouched));

    // Leaving the middle box is refused: the focus goes back into it.
    f.onFocus = [&](QEvent::Type type) {
        if (type == QEvent::FocusOut)
            f.box[1]->setFocus(Qt::OtherFocusReason);
    };
    f.box[2]->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(f.box[1]->hasFocus());
    EXPECT_EQ(FocusWindow::look(f.box[1]), focused);
    EXPECT_EQ(FocusWindow::look(f.box[2]), FocusWindow::look(f.untouched));
}
