// The batch e-mail window: candidates read through a filter and a sort, moves between the two
// lists, and one message per recipient handed to a recording mail agent.
#include "output/BatchMail.h"
#include "output/frm客戶批次發信1.h"
#include "output/CustomemailtFrm1.h"
#include "output/ListPicker.h"
#include "shell/MDIForm1.h"

#include <QListWidget>

#include "core/Globals.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>

using testsupport::ScriptedResponder;

namespace {

class BatchMail : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        const auto customer = [](const char* code, const char* name, const char* category, const char* grade) {
            gConn.Execute(QStringLiteral("Insert Into RV12 (RV120,RV121,類別,級別,RV128) Values (?,?,?,?,?)"),
                          {QString::fromUtf8(code), QString::fromUtf8(name), QString::fromUtf8(category),
                           QString::fromUtf8(grade), QStringLiteral("台北市")});
        };
        const auto contact = [](const char* code, const char* name, const char* mail) {
            gConn.Execute(QStringLiteral("Insert Into RV12A (RV12A0,RV12A1,RV12A6) Values (?,?,?)"),
                          {QString::fromUtf8(code), QString::fromUtf8(name),
                           mail ? QVariant(QString::fromUtf8(mail)) : QVariant()});
        };
        customer("000002", "乙公司", "B", "2");
        customer("000001", "甲公司", "A", "1");
        customer("000003", "丙公司", "A", "");  // no contacts: never a candidate
        contact("000001", "王", "wang@x.tw");
        contact("000001", "李", nullptr);
        contact("000002", "林", "lin@x.tw");
        contact("000001", "陳", "chen@x.tw");
    }

    // The rows of a list as "客戶/聯絡人".
    static QStringList Names(db::Recordset rs)
    {
        QStringList out;
        db::Recordset copy = rs.Clone();
        for (long i = 0; i < copy.RecordCount(); ++i)
            out << copy.valueAt(i, 0).toString() + QLatin1Char('/') + copy.valueAt(i, 1).toString();
        return out;
    }
    static void Choose(QComboBox* box, const QString& text)
    {
        box->setEditText(text);
        emit box->activated(box->currentIndex());
    }
};

}  // namespace

TEST_F(BatchMail, CandidatesFollowTheFilterAndTheSort)
{
    frm客戶批次發信1 w;
    EXPECT_EQ(Names(w.candidates()), QStringList({"甲公司/王", "甲公司/李", "甲公司/陳", "乙公司/林"}));
    EXPECT_TRUE(Names(w.recipients()).isEmpty());
    ASSERT_EQ(w.Combo1[1]->count(), 2);  // the categories, empty ones left out
    EXPECT_EQ(w.Combo1[1]->itemText(0), "A");
    EXPECT_TRUE(w.Combo1[1]->currentText().isEmpty());
    EXPECT_TRUE(w.Command1[0]->isEnabled());

    Choose(w.Combo1[1], QStringLiteral("B"));
    EXPECT_EQ(Names(w.candidates()), QStringList({"乙公司/林"}));
    Choose(w.Combo1[1], QStringLiteral("   "));  // blanks filter nothing
    EXPECT_EQ(w.candidates().RecordCount(), 4);
    Choose(w.Combo1[1], QStringLiteral("O'Neil"));  // a quote is a character of the value
    EXPECT_EQ(w.candidates().RecordCount(), 0);

    w.Combo1[0]->setCurrentIndex(2);  // 客戶簡稱: the value list follows the selector
    EXPECT_EQ(w.Combo1[1]->count(), 3);
    Choose(w.Combo1[1], QStringLiteral("甲"));  // exact, not a prefix
    EXPECT_EQ(w.candidates().RecordCount(), 0);
    Choose(w.Combo1[1], QStringLiteral("甲公司"));
    EXPECT_EQ(w.candidates().RecordCount(), 3);

    Choose(w.Combo1[1], QString());
    w.Combo2->setCurrentIndex(1);
    Choose(w.Combo2, w.Combo2->currentText());
    EXPECT_EQ(Names(w.candidates()).last(), "甲公司/陳");  // by short name: 乙 sorts before 甲

    w.Text1->setText(QStringLiteral("甲"));
    EXPECT_EQ(w.candidates().value(0).toString(), "甲公司");
    w.Text1->setText(QStringLiteral("無此"));  // no match: the row stays
    EXPECT_EQ(w.candidates().value(0).toString(), "甲公司");
}

TEST_F(BatchMail, MovesKeepContactsWithoutAddressOnTheLeft)
{
    ScriptedResponder user;
    frm客戶批次發信1 w;
    w.candidates().SetAbsolutePosition(2);  // 李 has no address
    user.answer(ui::Answer::OK);
    w.加入右邊一列();
    EXPECT_EQ(user.last().text, "e-mail 是空的");
    EXPECT_EQ(w.candidates().RecordCount(), 4);

    w.candidates().SetAbsolutePosition(1);
    w.加入右邊一列();
    EXPECT_EQ(Names(w.recipients()), QStringList({"甲公司/王"}));
    EXPECT_EQ(Names(w.candidates()), QStringList({"甲公司/李", "甲公司/陳", "乙公司/林"}));

    w.cmdRightAll_Click();
    EXPECT_EQ(Names(w.candidates()), QStringList({"甲公司/李"}));
    EXPECT_EQ(Names(w.recipients()), QStringList({"甲公司/王", "甲公司/陳", "乙公司/林"}));
    EXPECT_TRUE(w.Command1[0]->isEnabled());

    w.recipients().SetAbsolutePosition(1);
    w.移回左邊一列();  // back to the end of the candidates, not to its sorted place
    EXPECT_EQ(Names(w.candidates()), QStringList({"甲公司/李", "甲公司/王"}));

    w.cmdLeftAll_Click();
    EXPECT_EQ(w.recipients().RecordCount(), 0);
    EXPECT_FALSE(w.Command1[0]->isEnabled());
    user.answer(ui::Answer::OK);
    w.移回左邊一列();
    EXPECT_EQ(user.last().text, "已無資料");
    EXPECT_EQ(user.messages.size(), 2u);
}

namespace {

// A mail agent that records each call's arguments and fails for one address.
QString FakeAgent(const testsupport::TempDir& dir, const QString& log)
{
    const QString path = dir.write(QStringLiteral("sendmail"), QStringLiteral(
        "#!/bin/sh\necho \"$*\" >> '%1'\ncat > /dev/null\n"
        "case \"$3\" in lin@*) echo 'mailbox full' >&2; exit 1;; esac\n").arg(log).toUtf8());
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

}  // namespace

TEST_F(BatchMail, OneMessagePerRecipientAndAFailureEndsTheBatch)
{
    const QString log = folder.file(QStringLiteral("calls.log"));
    qputenv("TESSARINE_SENDMAIL", FakeAgent(folder, log).toLocal8Bit());
    ScriptedResponder user;
    frm客戶批次發信1 w;
    w.txtSubject->setText(QStringLiteral("  "));
    w.txtNewMessage->setPlainText(QStringLiteral("內容"));

    user.answer(ui::Answer::Yes).answer(ui::Answer::OK);
    w.發信();  // nothing chosen yet: says so instead of reporting a send
    EXPECT_EQ(user.last().text, "已無資料");

    w.cmdRightAll_Click();  // 王, 陳, 林
    user.answer(ui::Answer::No);
    w.發信();  // blank subject, and the user says no
    EXPECT_FALSE(QFile::exists(log));

    w.recipients().SetAbsolutePosition(3);
    w.移回左邊一列();  // 林 back; two recipients left
    user.answer(ui::Answer::Yes).answer(ui::Answer::OK);
    w.txtAttachment->setText(folder.path());  // a folder is no attachment: sent without one
    w.發信();
    EXPECT_EQ(user.last().text, "傳送完畢");

    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), "-i -- wang@x.tw\n-i -- chen@x.tw\n");
    f.close();
    QFile::remove(log);

    w.cmdRightAll_Click();  // 林 again, now first to fail
    w.recipients().MoveFirst();
    ASSERT_TRUE(w.recipients().RecordCount() == 3);
    user.answer(ui::Answer::Yes).answer(ui::Answer::OK);
    w.發信();
    EXPECT_TRUE(user.last().text.startsWith(QStringLiteral("32002 ")));
    EXPECT_TRUE(user.last().text.contains(QStringLiteral("mailbox full")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()).count(QLatin1Char('\n')), 3);  // 王, 陳, then 林 failed
    EXPECT_TRUE(w.Command1[0]->isEnabled());
    qunsetenv("TESSARINE_SENDMAIL");
}

namespace {

// A mail agent that takes a moment over each message and records its address once it went;
// it refuses the address written in the file "refused" beside it.
QString SlowAgent(const testsupport::TempDir& dir, const QString& log)
{
    const QString path = dir.write(QStringLiteral("slow-sendmail"), QStringLiteral(
        "#!/bin/sh\ncat > /dev/null\nsleep 0.2\n"
        "if [ \"$3\" = \"$(cat '%1refused' 2>/dev/null)\" ]; then echo 'mailbox full' >&2; exit 1; fi\n"
        "echo \"$3\" >> '%2'\n").arg(dir.path(), log).toUtf8());
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QStringList Lines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Presses the stop as a user would, from the event loop, once the progress shows `progress`;
// counts the timer's turns meanwhile.
struct StopPresser {
    QTimer timer;
    int turns = 0;
    QStringList seen;  // every progress text shown, once each
    std::function<bool()> ready = [] { return true; };  // besides the text, before the stop is pressed
    StopPresser(batchmail::SendProgress* progress, const QString& pressAt)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, progress, pressAt] {
            ++turns;
            const QString text = progress->lblProgress->text();
            if (progress->isVisible() && (seen.isEmpty() || seen.last() != text))
                seen << text;
            if (text == pressAt && progress->cmdStop->isEnabled() && ready()) {
                QTest::mouseClick(progress->cmdStop, Qt::LeftButton);
                // The batch ends as soon as this turn is over: what the stop showed is seen now.
                if (progress->isVisible() && seen.last() != progress->lblProgress->text())
                    seen << progress->lblProgress->text();
            }
        });
        timer.start(5);
    }
};

}  // namespace

TEST_F(BatchMail, TheProgressCountsAndAStopEndsTheBatchAtOnce)
{
    gConn.Execute(QStringLiteral("Insert Into RV12A (RV12A0,RV12A1,RV12A6) Values ('000002','甲','a@x.tw')"));
    gConn.Execute(QStringLiteral("Insert Into RV12A (RV12A0,RV12A1,RV12A6) Values ('000002','乙','b@x.tw')"));
    const QString log = folder.file(QStringLiteral("sent.log"));
    mail::SendmailTransport agent(SlowAgent(folder, log), 10000);
    const QString stopping = QStringLiteral("正在停止傳送…");
    struct Case {
        int pressAt;          // the progress shows this message when the stop is pressed (0: never)
        const char* refused;  // the address the agent refuses
        int sent;
        const char* message;  // how the user's message begins
    };
    const Case cases[] = {
        // The message being handed over when the stop is pressed does not go.
        {2, "", 1, "已停止傳送：送出 1 封，其餘 4 封沒有寄出。"},
        {5, "", 4, "已停止傳送：送出 4 封，其餘 1 封沒有寄出。"},
        {0, "", 5, "傳送完畢"},
        {0, "a@x.tw", 3, "32002 "},  // the fourth is refused: the fifth is not tried
    };
    for (const Case& c : cases) {
        QFile::remove(log);
        folder.write(QStringLiteral("refused"), c.refused);
        ScriptedResponder user;
        frm客戶批次發信1 w;
        w.transport = &agent;
        w.show();
        w.cmdRightAll_Click();
        ASSERT_EQ(w.recipients().RecordCount(), 5);
        w.txtSubject->setText(QStringLiteral("通知"));
        w.txtNewMessage->setPlainText(QStringLiteral("內容"));
        EXPECT_FALSE(w.sendProgress->isVisible());

        StopPresser presser(w.sendProgress, QStringLiteral("正在傳送第 %1 封，共 5 封").arg(c.pressAt));
        user.answer(ui::Answer::OK);
        w.發信();
        EXPECT_TRUE(user.last().text.startsWith(QString::fromUtf8(c.message))) << user.last().text.toStdString();
        const QStringList sent = Lines(log);
        EXPECT_EQ(sent.size(), c.sent) << c.pressAt;
        EXPECT_EQ(sent.value(0), "wang@x.tw");
        QStringList shown;
        for (int n = 1; n <= (c.pressAt ? c.pressAt : std::min(c.sent + 1, 5)); ++n)
            shown << QStringLiteral("正在傳送第 %1 封，共 5 封").arg(n);
        if (c.pressAt)
            shown << stopping;
        EXPECT_EQ(presser.seen.join(QLatin1Char('|')).toStdString(), shown.join(QLatin1Char('|')).toStdString());
        EXPECT_FALSE(w.sendProgress->isVisible());
        EXPECT_TRUE(w.Command1[0]->isEnabled());
        EXPECT_TRUE(w.txtSubject->isEnabled());
    }
}

// A hung agent is ended on the time-out, or at once by the stop (the time-out then a minute
// away); the window keeps answering meanwhile.
TEST_F(BatchMail, AHungAgentEndsTheBatchWhileTheWindowKeepsAnswering)
{
    const QString pidFile = folder.file(QStringLiteral("agent.pid"));
    const QString path = folder.write(QStringLiteral("hung-sendmail"), QStringLiteral(
        "#!/bin/sh\necho $$ >> '%1'\nexec sleep 600\n").arg(pidFile).toUtf8());
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    struct Case {
        int timeoutMs;
        bool stop;             // pressed once the agent runs
        int turns;             // the least turns of the event loop while the agent is waited for
        const char* progress;  // every progress text shown
        const char* message;   // how the user's message begins
    };
    const Case cases[] = {
        {500, false, 20, "正在傳送第 1 封，共 3 封", "32023 "},
        {60000, true, 1, "正在傳送第 1 封，共 3 封|正在停止傳送…", "已停止傳送：送出 0 封，其餘 3 封沒有寄出。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        QFile::remove(pidFile);
        mail::SendmailTransport agent(path, c.timeoutMs, 500);
        ScriptedResponder user;
        frm客戶批次發信1 w;
        w.transport = &agent;
        w.show();
        w.cmdRightAll_Click();
        w.txtSubject->setText(QStringLiteral("通知"));
        w.txtNewMessage->setPlainText(QStringLiteral("內容"));
        StopPresser presser(w.sendProgress, QString::fromUtf8(c.stop ? "正在傳送第 1 封，共 3 封" : "(never)"));
        presser.ready = [&] { return Lines(pidFile).size() == 1; };
        user.answer(ui::Answer::OK);
        QElapsedTimer clock;
        clock.start();
        w.發信();
        // The timer ran while the agent was waited for; how the batch ended is what the user is told.
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_GE(presser.turns, c.turns);
        EXPECT_EQ(presser.seen.join(QLatin1Char('|')).toStdString(), c.progress);
        EXPECT_TRUE(user.last().text.startsWith(QString::fromUtf8(c.message))) << user.last().text.toStdString();
        EXPECT_EQ(user.messages.size(), 1u);
        EXPECT_EQ(Lines(pidFile).size(), 1);  // one agent started, not one per recipient
        EXPECT_FALSE(QFile::exists(QStringLiteral("/proc/") + Lines(pidFile).value(0)));  // ended and reaped
        EXPECT_FALSE(w.sendProgress->isVisible());
    }
}

namespace {

// Gone, or a zombie only init can reap (an agent's orphaned child).
bool Gone(const QString& pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid.isEmpty() || !stat.open(QIODevice::ReadOnly))
        return !pid.isEmpty();
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}

// A KILL sent to another process lands when the kernel next runs it: on a busy machine that
// can be a moment after the call that sent it returned.
bool GoneSoon(const QString& pid)
{
    QElapsedTimer clock;
    clock.start();
    while (!Gone(pid)) {
        if (clock.elapsed() > 5000)
            return false;
        QThread::msleep(10);
    }
    return true;
}

}  // namespace

// 離開 while the agent hangs on the second of three messages: before the program ends, the
// agent and the child it started (both deaf to the request to end) are ended, the agent is
// reaped, and the user is told what went, without waiting for the agent's time-out.
TEST_F(BatchMail, LeavingTheProgramDuringABatchEndsTheAgentAndSaysWhatWent)
{
    const QString sent = folder.file(QStringLiteral("sent.log"));
    const QString path = folder.write(QStringLiteral("deaf-sendmail"), QStringLiteral(
        "#!/bin/sh\ntrap '' TERM\ncat > /dev/null\n"
        "if [ \"$3\" = wang@x.tw ]; then echo \"$3\" >> '%1'; exit 0; fi\n"
        "echo $$ > '%2agent.pid'\nsleep 600 &\necho $! > '%2child.pid'\nwait\n").arg(sent, folder.path()).toUtf8());
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("TESSARINE_SENDMAIL", path.toLocal8Bit());

    MDIForm1 main;
    frm客戶批次發信1 w;
    w.cmdRightAll_Click();
    ASSERT_EQ(w.recipients().RecordCount(), 3);
    w.txtSubject->setText(QStringLiteral("通知"));
    w.txtNewMessage->setPlainText(QStringLiteral("內容"));

    ScriptedResponder user;
    user.answer(ui::Answer::Yes).answer(ui::Answer::OK).answer(ui::Answer::No).allowUnused();
    QString agentPid, childPid;
    bool closed = false;
    QTimer leave;
    QObject::connect(&leave, &QTimer::timeout, [&] {
        if (closed || !QFile::exists(folder.file(QStringLiteral("child.pid"))))
            return;
        closed = true;
        agentPid = Lines(folder.file(QStringLiteral("agent.pid"))).value(0);
        childPid = Lines(folder.file(QStringLiteral("child.pid"))).value(0);
        main.close();  // 檔案 → 離開, and 是
        // The process would end here: nothing it started may be left.
        EXPECT_EQ(user.endCodes, std::vector<int>{0});
        EXPECT_FALSE(QFile::exists(QStringLiteral("/proc/") + agentPid));
        EXPECT_TRUE(GoneSoon(childPid));
    });
    leave.start(20);
    QElapsedTimer clock;
    clock.start();
    w.發信();
    EXPECT_TRUE(closed);
    EXPECT_LT(clock.elapsed(), 20000);  // not the agent's minute
    ASSERT_GE(user.texts().size(), 2);
    EXPECT_EQ(user.texts()[0], QStringLiteral("離開嗎?"));
    EXPECT_EQ(user.texts()[1], QStringLiteral("已停止傳送：送出 1 封，其餘 2 封沒有寄出。"));
    EXPECT_EQ(user.texts().count(user.texts()[1]), 1);  // said once, not again as the batch unwinds
    EXPECT_EQ(Lines(sent), QStringList{"wang@x.tw"});
    EXPECT_FALSE(w.sendProgress->isVisible());
    qunsetenv("TESSARINE_SENDMAIL");
}

TEST_F(BatchMail, ContactLinesAndTheirAddresses)
{
    EXPECT_EQ(batchmail::ContactLine("甲公司", "王", "wang@x.tw"), "甲公司 王-wang@x.tw");
    EXPECT_EQ(batchmail::AddressOfLine(" 甲公司 王-wang@x.tw "), QString("wang@x.tw"));
    EXPECT_EQ(batchmail::AddressOfLine("A-B 王-wang@x.tw"), QString("B 王-wang@x.tw"));  // the first hyphen decides
    EXPECT_EQ(batchmail::AddressOfLine("甲公司 李-"), QString(""));
    EXPECT_FALSE(batchmail::AddressOfLine("甲公司 李").has_value());

    const QString log = folder.file(QStringLiteral("calls.log"));
    qputenv("TESSARINE_SENDMAIL", FakeAgent(folder, log).toLocal8Bit());
    ScriptedResponder user;
    CustomemailtFrm1 w;
    ASSERT_EQ(w.picker->lstAll->count(), 4);  // every contact, those without an address too
    w.picker->cmdRightAll_Click();
    w.txtSubject->setText(QStringLiteral("通知"));
    w.txtNewMessage->setPlainText(QStringLiteral("內容"));
    user.answer(ui::Answer::OK);
    w.發信();  // 李's line has an empty address: the mail system refuses it and the batch ends
    EXPECT_EQ(user.last().text.left(6), QStringLiteral("32014 "));
    qunsetenv("TESSARINE_SENDMAIL");
}

TEST_F(BatchMail, MovingFiveThousandRecipientsAcrossAndBackIsQuick)
{
    gConn.BeginTrans();
    for (int i = 0; i < 1000; ++i) {
        const QString code = QStringLiteral("1%1").arg(i, 5, 10, QLatin1Char('0'));
        gConn.Execute(QStringLiteral("Insert Into RV12 (RV120,RV121) Values (?,?)"), {code, QStringLiteral("客戶") + code});
        for (int k = 0; k < 5; ++k)
            gConn.Execute(QStringLiteral("Insert Into RV12A (RV12A0,RV12A1,RV12A6) Values (?,?,?)"),
                          {code, QStringLiteral("聯絡人%1").arg(k), QStringLiteral("c%1.%2@x.tw").arg(code).arg(k)});
    }
    gConn.CommitTrans();
    frm客戶批次發信1 w;
    w.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(w.candidates().RecordCount(), 5004);

    QElapsedTimer timer;
    timer.start();
    w.cmdRightAll_Click();
    QCoreApplication::processEvents();  // both grids repaint
    const qint64 right = timer.restart();
    EXPECT_EQ(Names(w.candidates()), QStringList({"甲公司/李"}));  // no address: stays
    ASSERT_EQ(w.recipients().RecordCount(), 5003);
    EXPECT_EQ(w.recipients().AbsolutePosition(), 1);
    EXPECT_EQ(Names(w.recipients()).mid(0, 3), QStringList({"甲公司/王", "甲公司/陳", "乙公司/林"}));
    EXPECT_EQ(Names(w.recipients()).last(), "客戶100999/聯絡人4");
    EXPECT_TRUE(w.Command1[0]->isEnabled());

    timer.restart();
    w.cmdLeftAll_Click();
    QCoreApplication::processEvents();
    const qint64 left = timer.elapsed();
    EXPECT_EQ(w.recipients().RecordCount(), 0);
    ASSERT_EQ(w.candidates().RecordCount(), 5004);
    EXPECT_EQ(Names(w.candidates()).mid(0, 2), QStringList({"甲公司/李", "甲公司/王"}));
    EXPECT_FALSE(w.Command1[0]->isEnabled());
    // About 20 ms each on a quiet machine; a move that goes row by row takes seconds.
    EXPECT_LT(right, 1000);
    EXPECT_LT(left, 1000);
}
