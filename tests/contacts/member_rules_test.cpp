// The member window's layout model, list statements, status texts, quick find and query-by-form
// condition, against the member table as start-up creates it.
#include "contacts/MemberLayout.h"
#include "contacts/MemberStatements.h"
#include "core/Globals.h"
#include "core/schema/SchemaCheck.h"
#include "support/CustomerDb.h"

#include <gtest/gtest.h>

namespace {

class MemberRules : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        CheckMemberTable();
    }
    static std::vector<MemberColumn> memberColumns()
    {
        std::vector<MemberColumn> out;
        for (const db::ColumnInfo& c : gConn.Columns(QStringLiteral("會員管理")))
            out.push_back({c.name, c.adoType, c.definedSize});
        return out;
    }
};

// label left, label top, box left, box top, box width (twips)
struct Placed {
    const char* column;
    int labelLeft, labelTop, boxLeft, boxTop, boxWidth, maxLength;
};

int Row(int r) { return 180 + 315 * r; }

}  // namespace

// The layout of the member table at the window's design size, as the window's design lays it out.
TEST_F(MemberRules, MemberTableLaysOutInTwentyRowsWithTheMemberAdjustments)
{
    const int pane = MemberPaneHeightAtLoad();
    EXPECT_GE(pane, 6580);
    const MemberFieldLayout l = StackMemberFields(memberColumns(), pane);
    ASSERT_EQ(l.LastFieldIndex(), 20);
    const Placed expected[21] = {
        {"會員編號", 60, 240, 1140, Row(0), 2400, 15},  {"類別", 60, Row(1), 1140, Row(1), 2400, 20},
        {"中文姓名", 60, Row(2), 1140, Row(2), 2400, 30}, {"英文姓名", 60, Row(3), 1140, Row(3), 2400, 30},
        {"生日_年", 60, Row(4), 1140, Row(4), 800, 4},    {"月日", 1990, Row(4), 2590, Row(4), 800, 4},
        {"性別", 60, Row(5), 1140, Row(5), 2400, 10},     {"關係", 60, Row(6), 1140, Row(6), 2400, 15},
        {"身分證號", 60, Row(7), 1140, Row(7), 2400, 20}, {"聯絡電話", 60, Row(8), 1140, Row(8), 4800, 50},
        {"行動電話", 60, Row(9), 1140, Row(9), 4800, 50}, {"公司名稱", 60, Row(10), 1140, Row(10), 4800, 50},
        {"公司電話", 60, Row(11), 1140, Row(11), 4800, 50}, {"公司傳真", 60, Row(12), 1140, Row(12), 4800, 50},
        {"戶籍住址", 60, Row(13), 1140, Row(13), 4800, 50}, {"通訊地址", 60, Row(14), 1140, Row(14), 4800, 50},
        {"Skype", 60, Row(15), 1140, Row(15), 4800, 50},  {"Msn", 60, Row(16), 1140, Row(16), 4800, 50},
        {"即時通", 60, Row(17), 1140, Row(17), 4800, 50}, {"電子信箱", 60, Row(18), 1140, Row(18), 4800, 50},
        {"累積點數", 60, Row(19), 1140, Row(19), 2400, 10},
    };
    for (int i = 0; i <= 20; ++i) {
        const Placed& e = expected[i];
        SCOPED_TRACE(e.column);
        EXPECT_EQ(l.columns[size_t(i)].name, QString::fromUtf8(e.column));
        EXPECT_EQ(l.labels[size_t(i)].left(), e.labelLeft);
        EXPECT_EQ(l.labels[size_t(i)].top(), e.labelTop);
        EXPECT_EQ(l.boxes[size_t(i)].left(), e.boxLeft);
        EXPECT_EQ(l.boxes[size_t(i)].top(), e.boxTop);
        EXPECT_EQ(l.boxes[size_t(i)].width(), e.boxWidth);
        EXPECT_EQ(l.boxes[size_t(i)].height(), 315);
        EXPECT_EQ(l.maxLength[size_t(i)], e.maxLength);
    }
    EXPECT_EQ(l.labels[5].width(), 500);
    EXPECT_EQ(l.mailButton, QRect(5970, Row(18), 375, 375));
    EXPECT_EQ(l.FieldIndex(QStringLiteral("月日")), 5);
    EXPECT_EQ(l.FieldIndex(QStringLiteral("出生日期")), 0);
}

// A pane too short for every row wraps the rest into a second column from the first row; the
// member adjustments still find their boxes by name.
TEST_F(MemberRules, ShortPaneWrapsIntoASecondColumn)
{
    const MemberFieldLayout l = StackMemberFields(memberColumns(), 4000);
    ASSERT_EQ(l.LastFieldIndex(), 20);
    // Rows 0..10 fit (row 10 ends at 3645 <= 3900); 公司名稱 (box 11) starts the second column.
    EXPECT_EQ(l.boxes[10].left(), 1140);
    EXPECT_EQ(l.boxes[11].left(), 4655);
    EXPECT_EQ(l.labels[11].left(), 3575);
    // 公司名稱 moved up one row with the others: above the first row of the second column.
    EXPECT_EQ(l.boxes[11].top(), Row(0) - 315);
    EXPECT_EQ(l.boxes[12].top(), Row(0));
    EXPECT_EQ(l.paneWidth, 4655 + 2400 + 200);
    // 累積點數 comes right under 電子信箱, in that box's column.
    EXPECT_EQ(l.boxes[19].top(), Row(7));
    EXPECT_EQ(l.boxes[20].top(), Row(8));
    EXPECT_EQ(l.boxes[20].left(), 4655);
    EXPECT_EQ(l.labels[20].left(), 3575);
    EXPECT_EQ(l.mailButton, QRect(4655 + 4800 + 30, Row(7), 375, 375));
}

TEST_F(MemberRules, BoxLimitsAndNumberTypesFollowTheAdoType)
{
    struct Case {
        int type, size, limit;
        bool number;
    } cases[] = {
        {db::adSmallInt, 0, 7, true}, {db::adSingle, 0, 7, true},  {db::adInteger, 0, 10, true},
        {db::adDate, 0, 10, false},   {db::adLongVarWChar, 0, 0, false}, {db::adVarWChar, 50, 50, false},
        {db::adCurrency, 0, 0, true}, {db::adDouble, 0, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MemberBoxMaxLength(c.type, c.size), c.limit) << c.type;
        EXPECT_EQ(IsMemberNumberType(c.type), c.number) << c.type;
    }
}

TEST_F(MemberRules, PanesFollowTheInnerSize)
{
    // Wide or maximized: no title band, both panes from the top.
    for (const auto& [w, maximized] : {std::pair{12350, false}, std::pair{9000, true}}) {
        const MemberPanes p = PlaceMemberPanes(w, 7605, maximized, 6600);
        EXPECT_FALSE(p.titleShown);
        EXPECT_EQ(p.fieldPane, QRect(0, 0, 6600, 7605 - 975));
        EXPECT_EQ(p.gridPane, QRect(6600, 0, w - 6600, 7605 - 975));
        EXPECT_EQ(p.grid, QRect(100, 900, w - 6600 - 200, 7605 - 975 - 1000));
        EXPECT_EQ(p.buttonBar, QRect(0, 7605 - 480, w, 480));
        EXPECT_EQ(p.statusBar, QRect(0, 7605 - 975, w, 495));
    }
    const MemberPanes narrow = PlaceMemberPanes(10520, 7605, false, 6600);
    EXPECT_TRUE(narrow.titleShown);
    EXPECT_EQ(narrow.fieldPane.top(), 1095);
    EXPECT_EQ(narrow.gridPane.height(), 7605 - 1095 - 975);
}

TEST_F(MemberRules, ListStatementBindsTheFilterByType)
{
    const QString t = QStringLiteral("會員管理");
    struct Case {
        const char* column;
        int type;
        const char* value;
        const char* sort;
        const char* sql;
        QVariantList params;
    } cases[] = {
        {"會員編號", db::adVarWChar, "", "會員編號", "Select 會員管理.* From 會員管理 Order By 會員編號", {}},
        {"類別", db::adVarWChar, " V ", "會員編號", "Select 會員管理.* From 會員管理 Where 類別 like  ?  Order By 會員編號",
         {QStringLiteral("V%")}},
        {"累積點數", db::adInteger, "12abc", "會員編號", "Select 會員管理.* From 會員管理 Where 累積點數 = ?  Order By 會員編號",
         {qint64(12)}},
        {"累積點數", db::adInteger, "abc", "中文姓名", "Select 會員管理.* From 會員管理 Where 累積點數 = ?  Order By 中文姓名",
         {qint64(0)}},
        {"", db::adVarWChar, "V", "", "Select 會員管理.* From 會員管理", {}},
        {"類別", db::adVarWChar, "O'Neil", "會員編號",
         "Select 會員管理.* From 會員管理 Where 類別 like  ?  Order By 會員編號", {QStringLiteral("O'Neil%")}},
    };
    for (const Case& c : cases) {
        const db::Statement q = MemberListQuery(t, QString::fromUtf8(c.column), c.type, QString::fromUtf8(c.value),
                                              QString::fromUtf8(c.sort));
        EXPECT_EQ(q.sql, QString::fromUtf8(c.sql));
        EXPECT_EQ(q.params, c.params) << c.sql;
        // Every statement runs as it stands.
        EXPECT_NO_THROW(gConn.ExecuteQuery(q.sql, q.params)) << c.sql;
    }
    // A date column compares with the bound date; a text that is no date is refused before any read.
    const db::Statement d = MemberListQuery(t, QStringLiteral("生日"), db::adDate, QStringLiteral("2008/2/3"),
                                          QStringLiteral("會員編號"));
    EXPECT_EQ(d.params, QVariantList{QDateTime(QDate(2008, 2, 3), QTime(0, 0))});
    try {
        MemberListQuery(t, QStringLiteral("生日"), db::adDate, QStringLiteral("#1/1/2008# or 1=1 or #"),
                        QStringLiteral("會員編號"));
        ADD_FAILURE() << "no error";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.Number(), 3075);
    }
}

TEST_F(MemberRules, StatusLineDescribesFilterAndSort)
{
    EXPECT_EQ(MemberListDescription(QStringLiteral("會員編號"), QString(), QStringLiteral("會員編號")),
              QStringLiteral("只顯示  以 [會員編號 ] 欄位來排序"));
    EXPECT_EQ(MemberListDescription(QStringLiteral("類別"), QStringLiteral("VIP"), QStringLiteral("會員編號")),
              QStringLiteral("只顯示 [類別] 欄位 內容有以VIP開頭的資料, 以 [會員編號 ] 欄位來排序"));
    EXPECT_EQ(MemberListDescription(QStringLiteral("類別"), QStringLiteral("VIP"), QString()),
              QStringLiteral("只顯示 [類別] 欄位 內容有以VIP開頭的資料, 排序欄位為空"));
    EXPECT_EQ(MemberListDescription(QString(), QStringLiteral("VIP"), QString()), QStringLiteral("只顯示  排序欄位為空"));
}

TEST_F(MemberRules, QuickFindMatchesPrefixOrNumber)
{
    for (const auto& [no, points] : {std::pair{"2008010001", 5}, std::pair{"2008020001", 12}, std::pair{"2009010001", 12}})
        gConn.Execute(QStringLiteral("Insert Into 會員管理 (會員編號, 累積點數) Values (?, ?)"),
                      {QString::fromUtf8(no), points});
    db::Recordset rs;
    rs.Open(QStringLiteral("Select * From 會員管理 Order By 會員編號"), gConn);
    EXPECT_EQ(MemberQuickFindRow(rs, QStringLiteral("會員編號"), db::adVarWChar, QStringLiteral("200802")), 1);
    EXPECT_EQ(MemberQuickFindRow(rs, QStringLiteral("會員編號"), db::adVarWChar, QStringLiteral(" 2009 ")), 2);
    EXPECT_EQ(MemberQuickFindRow(rs, QStringLiteral("會員編號"), db::adVarWChar, QStringLiteral("2010")), -1);
    EXPECT_EQ(MemberQuickFindRow(rs, QStringLiteral("會員編號"), db::adVarWChar, QStringLiteral("  ")), -1);
    EXPECT_EQ(MemberQuickFindRow(rs, QStringLiteral("累積點數"), db::adInteger, QStringLiteral("12點")), 1);
    EXPECT_EQ(MemberQuickFindRow(rs, QStringLiteral("累積點數"), db::adInteger, QStringLiteral("1")), -1);
}

TEST_F(MemberRules, FormConditionJoinsFilledBoxesWithAnd)
{
    const FindCondition c = MemberFormCondition({{QStringLiteral("會員編號"), QString()},
                                                 {QStringLiteral("類別"), QStringLiteral("VIP")},
                                                 {QStringLiteral("中文姓名"), QStringLiteral("王")},
                                                 {QStringLiteral("英文姓名"), QStringLiteral("  ")}});
    EXPECT_EQ(c.text, QStringLiteral("類別 like  '%VIP%' And 中文姓名 like  '%王%'"));
    EXPECT_EQ(c.sql, QStringLiteral("類別 like  ? And 中文姓名 like  ?"));
    EXPECT_EQ(c.params, (QVariantList{QStringLiteral("%VIP%"), QStringLiteral("%王%")}));
    const db::Statement q = MemberFormQuery(QStringLiteral("會員管理"), c);
    EXPECT_EQ(q.sql, QStringLiteral("SELECT 會員管理.* FROM 會員管理 Where 類別 like  ? And 中文姓名 like  ?"));
    EXPECT_NO_THROW(gConn.ExecuteQuery(q.sql, q.params));
    EXPECT_TRUE(MemberFormCondition({{QStringLiteral("類別"), QStringLiteral(" ")}}).isEmpty());
}
