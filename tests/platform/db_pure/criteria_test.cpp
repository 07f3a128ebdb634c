// The criteria of Find and Filter on their own: parsed against a list of fields and tested on rows
// of the row store, with no window, no application object and no connection of ours.
#include "platform/db/Criteria.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>
#include <vector>

using namespace db::detail;

namespace {

QVector<FieldDef> Fields()
{
    auto f = [](const char* name, int type) {
        FieldDef d;
        d.name = QString::fromUtf8(name);
        d.adoType = type;
        return d;
    };
    return {f("code", db::adVarWChar), f("名稱", db::adVarWChar), f("num", db::adInteger), f("amt", db::adDouble),
            f("day", db::adDate), f("cat", db::adVarWChar)};
}

// Rows 1 to 6, numbered by their bookmark, stored as the layer stores them (dates canonical).
class CriteriaRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        const char* sql =
            "CREATE TABLE t(id INTEGER PRIMARY KEY, code, 名稱, num, amt, day, cat);"
            "INSERT INTO t VALUES (1, 'A01', 'O''Brien', 30, 2.5, '2024-01-31 00:00:00', '甲');"
            "INSERT INTO t VALUES (2, 'a02', '客戶', 45, 10, '2024-02-01 00:00:00', NULL);"
            "INSERT INTO t VALUES (3, 'B11', '客戶甲', 5, 0.5, '2023-12-31 00:00:00', '乙');"
            "INSERT INTO t VALUES (4, 'b%1', '客', -5, NULL, NULL, '甲');"
            "INSERT INTO t VALUES (5, '100', '100', 100, 100, '2024-01-31 00:00:00', '丙');"
            "INSERT INTO t VALUES (6, NULL, NULL, NULL, NULL, NULL, NULL);";
        ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_stmt* s = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db_, "SELECT id, code, 名稱, num, amt, day, cat FROM t ORDER BY id", -1, &s, nullptr), SQLITE_OK);
        while (sqlite3_step(s) == SQLITE_ROW) {
            Row r = store_.imageOf(s, 1);
            r.bookmark = sqlite3_column_int64(s, 0);
            store_.rows.push_back(r);
        }
        sqlite3_finalize(s);
    }
    void TearDown() override { sqlite3_close(db_); }

    // The bookmarks of the rows a Filter keeps.
    std::vector<qint64> Kept(const QString& filter)
    {
        const QVector<FieldDef> fields = Fields();
        const Criteria c = ParseCriteria(filter, fields);
        std::vector<qint64> out;
        for (const Row& r : store_.rows)
            if (Matches(c, r, fields))
                out.push_back(r.bookmark);
        return out;
    }

    sqlite3* db_ = nullptr;
    RowStore store_;
};

TEST_F(CriteriaRows, FiltersKeepTheRowsJetKeeps)
{
    struct Case {
        const char* filter;
        std::vector<qint64> kept;
    };
    const Case cases[] = {
        // Texts: letter case ignored, "*" "%" any run, "?" "_" one character (a Chinese one too).
        {"code = 'a01'", {1}},
        {"code like 'A*'", {1, 2}},
        {"code LIKE 'b%'", {3, 4}},
        {"code like '?1?'", {3}},
        {"名稱 like '客_'", {2}},
        {"名稱 like '客*'", {2, 3, 4}},
        {"code not like '*1'", {2, 5}},
        {"code > 'a02'", {3, 4}},
        // Numbers as numbers, a negative one, a real against a whole number.
        {"num >= 30", {1, 2, 5}},
        {"num = -5", {4}},
        {"amt < 2.5", {3}},
        {"amt >= 10", {2, 5}},
        // Null: no comparison keeps it; Is Null and "= Null" do.
        {"cat <> '甲'", {3, 5}},
        {"cat Is Null", {2, 6}},
        {"cat = Null", {2, 6}},
        {"cat Is Not Null", {1, 3, 4, 5}},
        // Dates by their stored text, however written.
        {"day = #2024/01/31#", {1, 5}},
        {"day < #1/1/2024#", {3}},
        {"day >= '2024/2/1'", {2}},
        // And binds before Or; parentheses; table.column; a text between "#" that is no date.
        {"num >= 30 And (cat = '甲' Or cat Is Null)", {1, 2}},
        {"num >= 30 And cat = '甲' Or cat Is Null", {1, 2, 6}},
        {"(code like 'a*' Or code like 'b*') And num > 0", {1, 2, 3}},
        {"t.code = 'B11'", {3}},
        {"名稱 = #O'Brien#", {1}},
        {"[名稱] = \"客戶甲\"", {3}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Kept(QString::fromUtf8(c.filter)), c.kept) << c.filter;
}

TEST_F(CriteriaRows, ATextThatIsNoCriteriaFailsWithTheJetNumber)
{
    struct Case {
        const char* text;
        long number;
    };
    const Case cases[] = {
        {"code", 3001},                // no operator
        {"code = ", 3001},             // no value
        {"(code = 'x'", 3001},         // unclosed parenthesis
        {"code = 'x' And", 3001},      // nothing after And
        {"num = abc", 3001},           // no number for a number field
        {"code ~ 'x'", 3001},          // no such operator
        {"nosuch = 1", 3265},          // no such field
        {"code = 'x' and 價格 > 1", 3265},
    };
    for (const Case& c : cases) {
        try {
            ParseCriteria(QString::fromUtf8(c.text), Fields());
            ADD_FAILURE() << c.text << " was taken";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.Number(), c.number) << c.text;
        }
    }
}

TEST_F(CriteriaRows, FindTakesOneConditionOnly)
{
    const QVector<FieldDef> fields = Fields();
    const Condition c = ParseCondition(QStringLiteral("num > 29"), fields);
    EXPECT_EQ(c.field, 2);
    EXPECT_TRUE(Matches(c, store_.rows[0], db::adInteger));
    EXPECT_FALSE(Matches(c, store_.rows[2], db::adInteger));
    EXPECT_THROW(ParseCondition(QStringLiteral("num > 29 And cat = '甲'"), fields), db::DbError);
}

TEST(CriteriaSort, SortPutsNullFirstThenNumbersThenTextsWithCaseIgnored)
{
    auto text = [](const char* s) {
        Cell c;
        c.tag = TagText;
        c.p = s;
        c.n = int(strlen(s));
        return c;
    };
    Cell null, one, half;
    one.tag = TagInt;
    one.i = 1;
    half.tag = TagReal;
    half.d = 0.5;
    const std::vector<Cell> ordered = {null, half, one, text("a"), text("B"), text("b1"), text("客")};
    for (size_t i = 0; i < ordered.size(); ++i)
        for (size_t j = 0; j < ordered.size(); ++j) {
            const int got = CompareForSort(ordered[i], ordered[j]);
            EXPECT_EQ((got > 0) - (got < 0), (i > j) - (i < j)) << i << " against " << j;
        }
    EXPECT_EQ(CompareForSort(text("ABC"), text("abc")), 0);
}

}  // namespace
