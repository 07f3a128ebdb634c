#include "Fixture.h"

#include "core/numbering/Numbering.h"
#include "support/StatementSteps.h"

namespace {

struct CodeCase {
    QList<QVariant> stored;
    const char* next;
};

QVariant Null() { return QVariant(); }

}  // namespace

using Numbering = DbFixture;

TEST_F(Numbering, NextCodeFollowsTheGreatestCode)
{
    const CodeCase cases[] = {
        {{}, "001"},
        {{Null()}, "001"},
        {{"001", "009"}, "010"},
        {{"099"}, "100"},
        {{"999"}, "1000"},
        {{"999", "1000"}, "1001"},  // "999" is the greater text; the code must still move on
        {{"1000", "999", "1001"}, "1002"},
        {{"A-07"}, "A-008"},
        {{"A-07", "A-008"}, "A-009"},
        {{"AB"}, "AB001"},
        {{"D01", "d02"}, "d003"},
    };
    for (const CodeCase& c : cases) {
        empty(QStringLiteral("Codes"));
        insertValues(QStringLiteral("Codes"), QStringLiteral("代號"), c.stored);
        EXPECT_EQ(GetNextCode(gConn, QStringLiteral("Codes"), QStringLiteral("代號")), QString::fromUtf8(c.next))
            << c.next;
    }
}

TEST_F(Numbering, CustomerCodes)
{
    // The same codes whether the greatest is read through the code-order index the start-up
    // upgrade makes or without it.
    for (const bool indexed : {false, true}) {
    if (indexed)
        gConn.Execute(CodeOrderIndexSql(QStringLiteral("RV12"), QStringLiteral("RV120")));
    const CodeCase cases[] = {
        {{}, "000001"},
        {{"000009"}, "000010"},
        {{"000998", "000999"}, "01000"},
        {{"000999", "01000"}, "01001"},  // the shorter code is the newer one
        {{"09999"}, "10000"},
        {{"99999", "100000"}, "100001"},
        {{"C00012"}, "C000013"},
        {{"2147483647"}, "2147483648"},  // past 2^31
        {{"99999999999999"}, "100000000000000"},
        {{"C4294967296"}, "C4294967297"},
        // Mixed prefixes: the longest code past its leading zeros wins, then text order with
        // letter case ignored.
        {{"C00012", "000999", "B7"}, "C000013"},
        {{"10", "A9", "009"}, "A000010"},
        {{"A12", "a13", "a9"}, "a000014"},
        {{"A12", "00a13"}, "000001"},  // a leading digit ends the prefix: 0 numbers on
        {{"X", "0"}, "X000001"},
    };
    for (const CodeCase& c : cases) {
        empty(QStringLiteral("RV12"));
        insertValues(QStringLiteral("RV12"), QStringLiteral("RV120"), c.stored);
        EXPECT_EQ(GetCustomerNewNo(), QString::fromUtf8(c.next)) << c.next << (indexed ? " indexed" : "");
    }
    }
}

TEST_F(Numbering, NextCodesReadOneIndexEntryNotEveryCode)
{
    // A window numbers every add: with the code-order index, the greatest code is one step down
    // it, whatever the table holds.
    gConn.Execute(CodeOrderIndexSql(QStringLiteral("RV12"), QStringLiteral("RV120")));
    gConn.Execute(CodeOrderIndexSql(QStringLiteral("Codes"), QStringLiteral("代號")));
    gConn.BeginTrans();
    for (int i = 1; i <= 3000; ++i) {
        insert(QStringLiteral("RV12"), {QStringLiteral("RV120")}, {{QString::number(i).rightJustified(6, u'0')}});
        insert(QStringLiteral("Codes"), {QStringLiteral("代號")}, {{QStringLiteral("A-%1").arg(i)}});
    }
    gConn.CommitTrans();
    testsupport::StatementSteps customer(gConn);
    EXPECT_EQ(GetCustomerNewNo(), QStringLiteral("03001"));
    EXPECT_LT(customer.steps(), 1000);  // a read of every code takes over 10,000
    CustomerNumbering run(gConn);
    EXPECT_EQ(run.next(), QStringLiteral("03001"));
    EXPECT_LT(customer.steps(), 2000);
    testsupport::StatementSteps code(gConn);
    EXPECT_EQ(GetNextCode(gConn, QStringLiteral("Codes"), QStringLiteral("代號")), QStringLiteral("A-3001"));
    EXPECT_LT(code.steps(), 1000);
}

TEST_F(Numbering, ARunOfCustomerCodesCountsOnAsStoringEachWould)
{
    // The import numbers in memory; every code must be the one GetCustomerNewNo gives once the
    // codes before it are stored.
    const QList<QVariant> starts[] = {{}, {"000997"}, {"09998"}, {"C00012"}, {"000999", "01000"}, {"ZZ"}};
    for (const QList<QVariant>& start : starts) {
        empty(QStringLiteral("RV12"));
        insertValues(QStringLiteral("RV12"), QStringLiteral("RV120"), start);
        CustomerNumbering numbering(gConn);
        for (int i = 0; i < 4; ++i) {
            const QString expected = GetCustomerNewNo();
            EXPECT_EQ(numbering.next(), expected);
            insertValues(QStringLiteral("RV12"), QStringLiteral("RV120"), {expected});
        }
    }
}

TEST_F(Numbering, YearMonthNumbers)
{
    struct Case {
        QList<QVariant> stored;
        const char* next;
    } cases[] = {
        {{}, "2026120001"},
        {{"2026120007"}, "2026120008"},
        {{"2026110007"}, "2026120001"},
        {{"202612007"}, "2026120001"},          // nine characters
        {{"2027010003"}, "2027010004"},         // a later month stays in its own count
    };
    for (const auto& c : cases) {
        for (short mode : {0, 1}) {
            empty(QStringLiteral("會員管理"));
            insertValues(QStringLiteral("會員管理"), QStringLiteral("會員編號"), c.stored);
            EXPECT_EQ(GetYearMonthNo(QStringLiteral("會員管理"), QStringLiteral("會員編號"), gConn, mode),
                      QString::fromUtf8(c.next));
        }
    }
    EXPECT_EQ(GetDocumentNo(QStringLiteral("應付帳款管理"), gConn), 2026120001);
    insertValues(QStringLiteral("應付帳款管理"), QStringLiteral("單據編號"), {"2026120041"});
    EXPECT_EQ(GetDocumentNo(QStringLiteral("應付帳款管理"), gConn), 2026120042);
}

TEST_F(Numbering, PNumbers)
{
    struct Case {
        QList<QVariant> stored;
        const char* next;
    } cases[] = {
        {{}, "P202612001"},
        {{"P202612007"}, "P202612008"},
        {{"P202611007"}, "P202612001"},
        {{"Q202612007"}, "P202612001"},
        {{"P20261207"}, "P202612001"},
        {{"P2026120070"}, "P202612001"},
    };
    for (const auto& c : cases) {
        empty(QStringLiteral("會員管理"));
        insertValues(QStringLiteral("會員管理"), QStringLiteral("版號"), c.stored);
        EXPECT_EQ(GetPNo(QStringLiteral("會員管理"), QStringLiteral("版號"), gConn), QString::fromUtf8(c.next));
    }
}

TEST_F(Numbering, SerialsUsedUpGiveAMessageAndNoNumber)
{
    testsupport::ScriptedResponder user;
    user.answer(ui::Answer::OK).answer(ui::Answer::OK).answer(ui::Answer::OK).answer(ui::Answer::OK);

    insertValues(QStringLiteral("會員管理"), QStringLiteral("會員編號"), {"2026129999"});
    EXPECT_EQ(GetYearMonthNo(QStringLiteral("會員管理"), QStringLiteral("會員編號"), gConn, 1), QString());
    insertValues(QStringLiteral("應付帳款管理"), QStringLiteral("單據編號"), {"2026129999"});
    EXPECT_EQ(GetDocumentNo(QStringLiteral("應付帳款管理"), gConn), 0);
    insertValues(QStringLiteral("會員管理"), QStringLiteral("版號"), {"P202612999"});
    EXPECT_EQ(GetPNo(QStringLiteral("會員管理"), QStringLiteral("版號"), gConn), QString());
    openAlt();
    insertValues(QStringLiteral("產品管理"), QStringLiteral("品號"), {"2026129999"});
    EXPECT_EQ(GetProductNo(), 0);

    ASSERT_EQ(user.messages.size(), 4u);
    for (const ui::MessageCall& m : user.messages) {
        EXPECT_TRUE(m.text.contains(QStringLiteral("999"))) << m.text.toStdString();
        EXPECT_EQ(m.title, ui::DefaultTitle());
    }
}

TEST_F(Numbering, ClosedSecondaryConnectionGivesEmptyResults)
{
    testsupport::ScriptedResponder user;
    user.answer(ui::Answer::OK);
    ASSERT_FALSE(gConnAlt.IsOpen());
    EXPECT_EQ(GetProductNo(), 0);
    EXPECT_FALSE(IsValueTaken(QStringLiteral("產品管理"), QStringLiteral("X"), QStringLiteral("品號"), 0));
    EXPECT_EQ(GetDieNo(QStringLiteral("大同")), QString());
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_TRUE(user.last().text.endsWith(gCrLf + QStringLiteral("無法編刀模號"))) << user.last().text.toStdString();
}

TEST_F(Numbering, ProductNumbersThroughTheSecondaryConnection)
{
    openAlt();
    EXPECT_EQ(GetProductNo(), 2026120001);
    insertValues(QStringLiteral("產品管理"), QStringLiteral("品號"), {"2026110041"});
    EXPECT_EQ(GetProductNo(), 2026120001);
    insertValues(QStringLiteral("產品管理"), QStringLiteral("品號"), {"2026120041"});
    EXPECT_EQ(GetProductNo(), 2026120042);
}

TEST_F(Numbering, DieNumbers)
{
    openAlt();
    insert(QStringLiteral("RV11"), {QStringLiteral("RV111"), QStringLiteral("RV112")},
           {{"003-012", "大同"}, {"O 77", "O'Brien"}, {"", "空號"}});
    struct Case {
        const char* vendor;
        QList<QVariant> stored;
        const char* next;
    } cases[] = {
        {"大同", {}, "012-0001"},
        {"大同", {"012-0001"}, "012-0002"},  // the serial is padded to four digits
        {"大同", {"012-0009"}, "012-0010"},
        {"大同", {"012-0099"}, "012-0100"},
        {"大同", {"012-0999"}, "012-1000"},
        {"大同", {"15"}, "16"},
        {"大同", {"-0041"}, "0042"},
        {"O'Brien", {}, "O77-0001"},  // blanks dropped, no dash: the whole number
    };
    for (const auto& c : cases) {
        empty(QStringLiteral("刀模號管理"));
        for (const QVariant& v : c.stored)
            insert(QStringLiteral("刀模號管理"), {QStringLiteral("刀模號"), QStringLiteral("軋盒廠")},
                   {{v, QString::fromUtf8(c.vendor)}});
        // Another vendor's die numbers play no part.
        insert(QStringLiteral("刀模號管理"), {QStringLiteral("刀模號"), QStringLiteral("軋盒廠")}, {{"999-9999", "別家"}});
        EXPECT_EQ(GetDieNo(QString::fromUtf8(c.vendor)), QString::fromUtf8(c.next)) << c.next;
    }

    testsupport::ScriptedResponder user;
    user.answer(ui::Answer::OK).answer(ui::Answer::OK);
    EXPECT_EQ(GetDieNo(QStringLiteral("沒有這家")), QString());
    EXPECT_EQ(GetDieNo(QStringLiteral("空號")), QString());
    EXPECT_EQ(user.texts(), QStringList(2, QStringLiteral("刀模廠或軋盒廠廠商編號不正確")));
    EXPECT_EQ(user.last().title, ui::DefaultTitle());
}

TEST_F(Numbering, VendorNumberByName)
{
    insert(QStringLiteral("RV11"), {QStringLiteral("RV111"), QStringLiteral("RV112")},
           {{"003-012", "大同"}, {"004", "O'Brien"}});
    EXPECT_EQ(GetVendorNoByName(QStringLiteral("O'Brien")), QStringLiteral("004"));
    EXPECT_EQ(GetVendorNoByName(QStringLiteral("大")), QString());
    EXPECT_EQ(ui::WaitCursorDepth(), 0);
}

TEST_F(Numbering, ValueTakenByAnotherRecord)
{
    openAlt();
    insert(QStringLiteral("會員管理"), {QStringLiteral("版號")}, {{"P1"}, {"P1"}, {"O'Brien"}});  // 總序 1, 2, 3
    struct Case {
        const char* value;
        qint32 own;
        bool taken;
    } cases[] = {
        {"P1", 0, true}, {"P1", 1, true}, {"P1", 2, true}, {"O'Brien", 3, false},
        {"O'Brien", 0, true}, {"P2", 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValueTaken(QStringLiteral("會員管理"), QString::fromUtf8(c.value), QStringLiteral("版號"), c.own),
                  c.taken)
            << c.value << " " << c.own;
}

TEST_F(Numbering, DuplicateChecks)
{
    // 總序 1 and 2 share a code: whichever record is edited, the code is held by the other.
    insert(QStringLiteral("RV12"), {QStringLiteral("RV120"), QStringLiteral("RV121")},
           {{"A001", "大同"}, {"A001", "大華"}, {"O'B", "O'Brien"}});
    struct Case {
        const char* value;
        qint32 own;
        const char* message;  // "" = no duplicate
    } cases[] = {
        {"A001", 0, "編號重複A001"},
        {" A001 ", 0, "編號重複 A001 "},  // searched trimmed, shown as typed
        {"A001", 1, "編號重複A001"},
        {"A001", 2, "編號重複A001"},
        {"O'B", 3, ""},
        {"O'B", 0, "編號重複O'B"},
        {"A002", 0, ""},
    };
    for (const auto& c : cases) {
        testsupport::ScriptedResponder user;
        const bool expected = *c.message != '\0';
        if (expected)
            user.answer(ui::Answer::OK);
        EXPECT_EQ(CheckNoDuplicate(QStringLiteral("tessarine.mdb"), QStringLiteral("RV12"), QStringLiteral("RV120"),
                                   QString::fromUtf8(c.value), c.own),
                  expected)
            << c.value << " " << c.own;
        if (expected) {
            ASSERT_EQ(user.messages.size(), 1u);
            EXPECT_EQ(user.last().text, QString::fromUtf8(c.message));
            EXPECT_EQ(user.last().buttons, ui::Buttons::OK);
            EXPECT_EQ(user.last().title, ui::DefaultTitle());
        } else {
            EXPECT_TRUE(user.messages.empty());
        }
    }

    testsupport::ScriptedResponder user;
    user.answer(ui::Answer::OK);
    EXPECT_TRUE(CheckDuplicate(QString(), QStringLiteral("RV12"), QStringLiteral("RV121"), QStringLiteral("大同 "), 2));
    EXPECT_FALSE(CheckDuplicate(QString(), QStringLiteral("RV12"), QStringLiteral("RV121"), QStringLiteral("大同"), 1));
    EXPECT_EQ(user.texts(), QStringList{QStringLiteral("RV121重複: 大同 ")});
}
