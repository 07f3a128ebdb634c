// The record mode: the windows set and test it by name, the tests and older code by its text;
// both must agree, and every assignment must reach the window's reaction.
#include "records/RecordMode.h"

#include <gtest/gtest.h>

namespace {

TEST(ModeText, NamesAndTextsAgreeEitherWayAndEveryAssignmentIsSeen)
{
    const struct {
        ModeText::Mode mode;
        const char* text;
    } cases[] = {{ModeText::Browse, ""},
                 {ModeText::AddNew, "addnew"},
                 {ModeText::Change, "change"},
                 {ModeText::Edit, "edit"},
                 {ModeText::Find, "fond"}};
    ModeText mode;
    int seen = 0;
    mode.changed = [&] { ++seen; };
    int expected = 0;
    for (const auto& c : cases) {
        mode = c.mode;
        ++expected;
        EXPECT_EQ(QString(mode), QString::fromUtf8(c.text));
        EXPECT_TRUE(mode == QString::fromUtf8(c.text)) << c.text;
        EXPECT_EQ(mode.isEmpty(), c.mode == ModeText::Browse) << c.text;
        for (const auto& other : cases)
            EXPECT_EQ(mode == other.mode, &other == &c) << c.text << " against " << other.text;

        mode.clear();
        ++expected;
        mode = QString::fromUtf8(c.text);
        ++expected;
        EXPECT_EQ(mode.mode(), c.mode) << c.text;
    }
    EXPECT_EQ(seen, expected);
    // A text that names no mode leaves the window browsing rather than in a mode no check knows.
    mode = QStringLiteral("addnew");
    mode = QStringLiteral("changed");
    EXPECT_TRUE(mode.isEmpty());
}

}  // namespace
