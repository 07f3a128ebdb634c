#include "core/Globals.h"
#include "core/update/Password.h"
#include "core/update/變更密碼Frm.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;
using testsupport::TempDir;

namespace {

const QDate kToday(2026, 12, 10);

QString DaysAgo(int days)
{
    return kToday.addDays(-days).toString(QStringLiteral("yyyy/MM/dd"));
}

// A users table standing in for the one behind gConnAlt, which the program never opens itself.
class PasswordTest : public ::testing::Test {
protected:
    TempDir dir;

    void SetUp() override
    {
        const QString path = dir.file(QStringLiteral("users.mdb"));
        db::Connection::CreateDatabase(path, QStringLiteral("CREATE TABLE 權限主表 (姓名 Text(20), 密碼 Text(20), 變更日期 Text(10))"));
        gConnAlt.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
        const struct {
            QString name, password;
            QVariant changed;
        } users[] = {
            {QStringLiteral("王小明"), QStringLiteral("pw50"), DaysAgo(50)},
            {QStringLiteral("陳大文"), QStringLiteral("pw51"), DaysAgo(51)},
            {QStringLiteral("林美玲"), QStringLiteral("pw60"), DaysAgo(60)},
            {QStringLiteral("張志強"), QStringLiteral("pw61"), DaysAgo(61)},
            {QStringLiteral("李四"), QStringLiteral("none"), QVariant()},
            {QStringLiteral("趙五"), QStringLiteral("blank"), QStringLiteral("")},
            {QStringLiteral("孫六"), QStringLiteral("junk"), QStringLiteral("不是日期")},
            {QStringLiteral("總管家"), QStringLiteral("boss"), QVariant()},
        };
        for (const auto& u : users)
            gConnAlt.Execute(QStringLiteral("INSERT INTO 權限主表 (姓名, 密碼, 變更日期) VALUES (?, ?, ?)"),
                             {u.name, u.password, u.changed});
        ui::SetToday(kToday);
        gUserName.clear();
    }
    void TearDown() override
    {
        ui::SetToday(QDate());
        gConnAlt.Close();
        gUserName.clear();
    }

    bool check(const QString& name, const QString& password, bool askToChange)
    {
        QString n = name, p = password;
        return CheckPassword(n, p, askToChange);
    }
    QVariantList row(const QString& name)
    {
        db::Recordset rs;
        rs.Open(QStringLiteral("Select 密碼, 變更日期 From 權限主表 Where 姓名 = ?"), gConnAlt, db::adOpenStatic,
                db::adLockReadOnly, {name});
        return {rs.value(0), rs.value(1)};
    }
};

}  // namespace

TEST_F(PasswordTest, ExpiryRules)
{
    const QString soon = QStringLiteral("您的密碼將於%1天後到期,是否現在變更");
    const struct {
        QString name, password;
        bool askToChange, result;
        QString message;  // "" = none
    } cases[] = {
        {QStringLiteral("王小明"), QStringLiteral("pw50"), true, true, {}},
        {QStringLiteral("陳大文"), QStringLiteral("pw51"), true, true, soon.arg(9)},
        {QStringLiteral("陳大文"), QStringLiteral("pw51"), false, true, {}},
        {QStringLiteral("林美玲"), QStringLiteral("pw60"), true, true, soon.arg(0)},
        {QStringLiteral("張志強"), QStringLiteral("pw61"), true, false, QStringLiteral("密碼過期,請洽系統管理員")},
        {QStringLiteral("張志強"), QStringLiteral("pw61"), false, false, QStringLiteral("密碼過期,請洽系統管理員")},
        {QStringLiteral("李四"), QStringLiteral("none"), true, false, QStringLiteral("密碼過期或未設定,請洽系統管理員")},
        {QStringLiteral("趙五"), QStringLiteral("blank"), true, false, QStringLiteral("密碼過期或未設定,請洽系統管理員")},
        {QStringLiteral("孫六"), QStringLiteral("junk"), true, true, soon.arg(9)},
        {QStringLiteral("總管家"), QStringLiteral("boss"), true, true, {}},
        {QStringLiteral("王小明"), QStringLiteral("wrong"), true, false, {}},
        {QStringLiteral("nobody"), QStringLiteral("pw50"), true, false, {}},
        {QStringLiteral("' OR '1'='1"), QStringLiteral("' OR '1'='1"), true, false, {}},
        {QStringLiteral("王小明"), QStringLiteral("x' OR 密碼 <> '"), true, false, {}},
    };
    for (const auto& c : cases) {
        ScriptedResponder r;
        if (!c.message.isEmpty())
            r.answer(ui::Answer::No);
        EXPECT_EQ(check(c.name, c.password, c.askToChange), c.result) << c.name.toStdString();
        EXPECT_EQ(r.texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.name.toStdString();
        if (!r.messages.empty() && c.message.startsWith(QStringLiteral("您的")))
            EXPECT_EQ(r.last().buttons, ui::Buttons::YesNo);
    }
    EXPECT_TRUE(gUserName.isEmpty());
}

TEST_F(PasswordTest, AgreeingToChangeOpensTheWindowForThatUser)
{
    ScriptedResponder r;
    r.answer(ui::Answer::Yes);
    QString seenUser;
    r.modal([&](QDialog* d) {
        seenUser = static_cast<變更密碼Frm*>(d)->Text1[3]->text();
        return 0;
    });
    EXPECT_TRUE(check(QStringLiteral("陳大文"), QStringLiteral("pw51"), true));
    EXPECT_EQ(gUserName, QStringLiteral("陳大文"));
    EXPECT_EQ(seenUser, QStringLiteral("陳大文"));
    EXPECT_EQ(r.modals.size(), 1u);
}

TEST_F(PasswordTest, ChangingThePasswordStartsTheCountAgain)
{
    gUserName = QStringLiteral("陳大文");
    變更密碼Frm w;
    EXPECT_EQ(w.Text1[3]->text(), QStringLiteral("陳大文"));
    w.Text1[0]->setText(QStringLiteral("pw51"));
    w.Text1[1]->setText(QStringLiteral("新密碼1"));
    EXPECT_FALSE(w.Command1[0]->isEnabled());
    EXPECT_EQ(w.Label1[4]->text(), QStringLiteral("密碼不符"));
    w.Text1[2]->setText(QStringLiteral("新密碼1"));
    EXPECT_TRUE(w.Command1[0]->isEnabled());
    EXPECT_EQ(w.Label1[4]->text(), QStringLiteral("密碼相符"));

    w.show();
    ScriptedResponder r;
    r.answer(ui::Answer::OK);
    w.Command1[0]->click();
    EXPECT_EQ(r.texts(), QStringList{QStringLiteral("您的密碼已經變更")});
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(row(QStringLiteral("陳大文")), (QVariantList{QStringLiteral("新密碼1"), QStringLiteral("2026/12/10")}));

    ScriptedResponder quiet;  // 0 days old now: no question
    EXPECT_TRUE(check(QStringLiteral("陳大文"), QStringLiteral("新密碼1"), true));
}

TEST_F(PasswordTest, NothingIsStoredWithoutTheRightOldPasswordOrMatchingNewOnes)
{
    gUserName = QStringLiteral("陳大文");
    const struct {
        QString old, fresh, again;
        int button;
        QString message;
    } cases[] = {
        {QStringLiteral("bad"), QStringLiteral("n1"), QStringLiteral("n1"), 0, QStringLiteral("原密碼錯誤")},
        {QStringLiteral("' OR '1'='1"), QStringLiteral("n1"), QStringLiteral("n1"), 0, QStringLiteral("原密碼錯誤")},
        {QStringLiteral("pw51"), QStringLiteral("n1"), QStringLiteral("n2"), 0, QStringLiteral("密碼不符合")},
        {QStringLiteral("pw51"), QStringLiteral("n1"), QStringLiteral("n2"), 1, QStringLiteral("密碼不符合")},
        {QStringLiteral("pw51"), QStringLiteral("n1"), QStringLiteral("n1"), 1, {}},
    };
    for (const auto& c : cases) {
        變更密碼Frm w;
        w.Text1[0]->setText(c.old);
        w.Text1[1]->setText(c.fresh);
        w.Text1[2]->setText(c.again);
        w.show();
        ScriptedResponder r;
        if (!c.message.isEmpty())
            r.answer(ui::Answer::OK);
        // A disabled button cannot be clicked; its click handler is what runs if it were.
        w.Command1[c.button]->setEnabled(true);
        w.Command1[c.button]->click();
        EXPECT_EQ(r.texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.old.toStdString();
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(row(QStringLiteral("陳大文")), (QVariantList{QStringLiteral("pw51"), DaysAgo(51)}));
    }
}

TEST_F(PasswordTest, TheThirdWrongOldPasswordClosesTheWindow)
{
    gUserName = QStringLiteral(" 王小明 ");  // trimmed for the check
    變更密碼Frm w;
    w.show();
    ScriptedResponder r;
    r.answer(ui::Answer::OK).answer(ui::Answer::OK).answer(ui::Answer::OK);
    auto leave = [&](const QString& typed) {
        w.Text1[0]->setText(typed);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(w.Text1[0], &out);
    };
    leave(QStringLiteral("pw50 "));  // right, once trimmed
    EXPECT_TRUE(r.messages.empty());
    leave(QStringLiteral("a"));
    leave(QStringLiteral("b"));
    EXPECT_TRUE(w.isVisible());
    leave(QStringLiteral("c"));
    EXPECT_EQ(r.texts(), QStringList(3, QStringLiteral("密碼錯誤")));
    EXPECT_FALSE(w.isVisible());
}

TEST_F(PasswordTest, EnterMovesAroundTheThreePasswordBoxes)
{
    變更密碼Frm w;
    w.show();
    QApplication::setActiveWindow(&w);
    const struct {
        int from, to;
    } cases[] = {{0, 1}, {1, 2}, {2, 0}};
    ScriptedResponder r;
    r.allowUnused().answer(ui::Answer::OK);  // leaving the old-password box checks it
    for (const auto& c : cases) {
        w.Text1[c.from]->setFocus();
        QTest::keyClick(w.Text1[c.from], Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), w.Text1[c.to]) << c.from;
    }
}
