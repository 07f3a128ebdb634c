#include "platform/text/Like.h"

#include <gtest/gtest.h>

TEST(Like, VbPatterns)
{
    struct Case { const char* text; const char* pattern; bool match; };
    const Case cases[] = {
        {"Ab", "Ab*", true},    {"AB", "Ab*", false},  // letter case counts
        {"AB", "A?*", true},    {"A", "A?*", false},
        {"abc", "*", true},     {"", "*", true},      {"", "", true},   {"a", "", false},
        {"a1b", "a#b", true},   {"axb", "a#b", false},
        {"F", "[A-Z]", true},   {"f", "[A-Z]", false}, {"f", "[!A-Z]", true},
        {"-", "[a-]", true},    {"]", "]", true},     {"[x", "[[]x", true},
        {"台北市中山區", "台北*", true},  {"新北市", "台北*", false},
        {"a*c", "a[*]c", true}, {"abc", "a[*]c", false},
        {"abcabd", "*abd", true}, {"aXbYc", "a*b*c", true},
        // A "[" never closed matches nothing instead of failing.
        {"[abc", "[abc*", false}, {"abc", "a[b", false}, {"", "[", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vb::Like(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)), c.match)
            << c.text << " Like " << c.pattern;
}
