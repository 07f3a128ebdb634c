#include "core/Globals.h"
#include "core/Settings.h"
#include "core/Startup.h"
#include "core/WindowHelpers.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Ui.h"
#include "shell/OnlineUpdate.h"
#include "support/DiskFull.h"
#include "support/FakeBuild.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSet>
#include <QTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>
#include <optional>

using testsupport::ScriptedResponder;
using testsupport::TempDir;
using ui::Answer;

namespace {

const QString kInfo = QStringLiteral("這個動作將會連結上網際網路以檢查有沒有新版程式可供更新");
const QString kOffer = QStringLiteral("有新版本的程式是否更新");
const QString kLatest = QStringLiteral("沒有可用的更新檔,您目前的程式已經是最新版本");
const QString kEnding = QStringLiteral("系統現在要結束並置換新版程式,約十幾秒鐘,請稍候");
const QString kNotCompleted = QStringLiteral("檢查更新沒有完成");

// A loopback HTTP server answering each path from a table of raw responses (404 otherwise).
class WebSite {
public:
    QHash<QByteArray, QByteArray> pages;
    QSet<QByteArray> silent;  // paths whose answer is sent and then nothing more, the line kept open
    QList<QByteArray> requested;

    WebSite()
    {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    buffers_[s] += s->readAll();
                    if (!buffers_[s].contains("\r\n\r\n"))
                        return;
                    const QByteArray path = buffers_.take(s).split(' ').value(1);
                    requested << path;
                    s->write(pages.value(path, Response("404 Not Found", "no such page")));
                    if (!silent.contains(path))
                        s->disconnectFromHost();
                });
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QString root() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }

    static QByteArray Response(const char* status, const QByteArray& body)
    {
        return QByteArray("HTTP/1.1 ") + status + "\r\nContent-Length: " + QByteArray::number(body.size())
               + "\r\nConnection: close\r\n\r\n" + body;
    }
    void versionFile(const char* major, const char* minor, const char* revision, const QString& url)
    {
        const QByteArray text = QByteArray("\"Major\",\"") + major + "\"\r\n\"Minor\",\"" + minor
                                + "\"\r\n\"Revision\",\"" + revision + "\"\r\n\"Url1\",\" " + url.toUtf8() + " \"\r\n";
        pages["/Tessarinever.html"] = Response("200 OK", text);
    }

private:
    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> buffers_;
};

class OnlineUpdateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedProgram = gProgramPath;
        gProgramPath = program.path();
        WriteSetting(update::kMakerSiteKey, site.root() + QStringLiteral("/"), QStringLiteral("Tessarine"));
    }
    void TearDown() override
    {
        ReleaseSingleCopyLock();
        gProgramPath = savedProgram;
        ui::SetToday(QDate());
    }
    // The program folder's files, the single-copy lock aside.
    QStringList programFiles() const
    {
        QStringList files = QDir(program.path()).entryList(QDir::Files | QDir::Hidden);
        files.removeAll(QStringLiteral(".tessarine.lock"));
        return files;
    }

    TempDir program;
    WebSite site;
    QString savedProgram;
};

TEST_F(OnlineUpdateTest, NewerReleaseIsDownloadedAndHandedToTheUpdater)
{
    const QByteArray newProgram = testsupport::FakeBuild("2.2.147");
    site.versionFile("2", "2", "147", site.root() + QStringLiteral("/files/tessarine-2.2.147"));
    site.pages["/files/tessarine-2.2.147"] = WebSite::Response("200 OK", newProgram);

    ScriptedResponder user;
    user.answer(Answer::OK).answer(Answer::Yes).answer(Answer::OK);
    shellsvc::Recorder shell;
    update::CheckNewVersion();

    EXPECT_EQ(user.texts(), (QStringList{kInfo, kOffer, kEnding}));
    EXPECT_EQ(user.messages[1].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(gStatusText, QStringLiteral("下載檔案中....,請耐心等待"));
    // The version page is kept as the version file; the download became an executable UPDATE.EXE.
    EXPECT_TRUE(program.read(QStringLiteral("Tessarinever.dat")).startsWith("\"Major\",\"2\""));
    EXPECT_EQ(program.read(QStringLiteral("UPDATE.EXE")), newProgram);
    EXPECT_TRUE(QFileInfo(program.file(QStringLiteral("UPDATE.EXE"))).isExecutable());
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].kind, shellsvc::ShellCall::Process);
    EXPECT_EQ(shell.calls[0].target, program.file(QStringLiteral("UPDATE.EXE")));
    EXPECT_EQ(shell.calls[0].args, QStringList{QStringLiteral("S")});
    EXPECT_EQ(user.endCodes, std::vector<int>{0});
    EXPECT_EQ(programFiles(), (QStringList{QStringLiteral("Tessarine.dat"), QStringLiteral("Tessarinever.dat"),
                                           QStringLiteral("UPDATE.EXE")}));
}

TEST_F(OnlineUpdateTest, OfferedOnlyForANewerVersion)
{
    struct Case {
        const char *major, *minor, *revision;
        bool offered;
    } cases[] = {
        {"2", "2", "147", true},   {"2", "3", "0", true},     {"3", "0", "0", true},
        {"2", "2", "146", false},  {"1", "9", "999", false},  {"2", "1", "999", false},
        {"", "", "", false},  // a version file without the keys
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1.%2.%3").arg(c.major, c.minor, c.revision).toStdString());
        site.versionFile(c.major, c.minor, c.revision, site.root() + QStringLiteral("/new"));
        ScriptedResponder user;
        user.answer(Answer::OK).answer(c.offered ? Answer::No : Answer::OK);
        update::CheckNewVersion();
        EXPECT_EQ(user.texts(), (QStringList{kInfo, c.offered ? kOffer : kLatest}));
        EXPECT_FALSE(site.requested.contains("/new"));
        EXPECT_EQ(ui::WaitCursorDepth(), 0);
    }
    EXPECT_EQ(gStatusText, QString());  // cleared after "up to date"
}

TEST_F(OnlineUpdateTest, FailedDownloadKeepsTheProgramRunningAndTheOldFile)
{
    const QByteArray oldUpdater("old updater");
    program.write(QStringLiteral("UPDATE.EXE"), oldUpdater);
    site.versionFile("2", "2", "147", site.root() + QStringLiteral("/new"));
    struct Case {
        const char* name;
        QByteArray answer;   // "" = the start of the updater fails
        const char* error;   // part of the message shown
    } cases[] = {
        {"not found", WebSite::Response("404 Not Found", "gone"), "404"},
        {"empty body", WebSite::Response("200 OK", ""), "空的"},
        {"updater does not start", WebSite::Response("200 OK", testsupport::FakeBuild("2.2.147")), "無法啟動"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        site.pages["/new"] = c.answer;
        program.write(QStringLiteral("UPDATE.EXE"), oldUpdater);
        ScriptedResponder user;
        shellsvc::Recorder shell;
        shell.result = false;
        const bool starts = QByteArray(c.name) == "updater does not start";
        user.answer(Answer::OK).answer(Answer::Yes);
        if (starts)
            user.answer(Answer::OK);
        user.answer(Answer::Abort);
        update::CheckNewVersion();

        ASSERT_FALSE(user.messages.empty());
        EXPECT_EQ(user.last().buttons, ui::Buttons::AbortRetryIgnore);
        EXPECT_TRUE(user.last().text.contains(QString::fromUtf8(c.error))) << user.last().text.toStdString();
        EXPECT_TRUE(user.endCodes.empty());
        if (!starts)
            EXPECT_EQ(program.read(QStringLiteral("UPDATE.EXE")), oldUpdater);
        EXPECT_EQ(programFiles().size(), 3);  // no temporary file left behind
        EXPECT_EQ(ui::WaitCursorDepth(), 0);
    }
}

// A server that sends 100 kB of a promised 5 MB and then nothing: the download shows how far it
// got and offers 取消; cancelled, or silent for the stall time, it ends with a Chinese message
// and installs nothing.
TEST_F(OnlineUpdateTest, AStalledDownloadEndsOrIsCancelledAndInstallsNothing)
{
    const QByteArray oldUpdater("old updater");
    site.versionFile("2", "2", "147", site.root() + QStringLiteral("/stall"));
    site.pages["/stall"] = QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 5242880\r\n\r\n") + QByteArray(102400, 'x');
    site.silent << "/stall";
    const int savedStall = update::gDownloadStallMs;
    update::gDownloadStallMs = 1000;
    struct Case {
        bool cancel;
        QString message;
        ui::Buttons buttons;
    };
    const Case cases[] = {
        {false, QStringLiteral("下載中斷：1 秒沒有收到任何資料，程式沒有更新。請檢查網路連線後再試一次。"), ui::Buttons::AbortRetryIgnore},
        {true, QStringLiteral("已取消下載，程式沒有更新。"), ui::Buttons::OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cancel ? "cancel" : "stall");
        program.write(QStringLiteral("UPDATE.EXE"), oldUpdater);
        ScriptedResponder user;
        shellsvc::Recorder shell;
        user.answer(Answer::OK).answer(Answer::Yes).answer(c.cancel ? Answer::OK : Answer::Abort);
        QStringList shown;  // the progress texts, once each
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<QProgressDialog*>(w);
                if (!progress || progress->objectName() != QStringLiteral("DownloadProgress") || !progress->isVisible())
                    continue;
                if (shown.isEmpty() || shown.last() != progress->labelText())
                    shown << progress->labelText();
                if (c.cancel && progress->labelText().startsWith(QStringLiteral("已下載 100 KB")))
                    progress->cancel();
            }
        });
        watch.start(20);
        QElapsedTimer clock;
        clock.start();
        update::CheckNewVersion();
        watch.stop();
        EXPECT_LT(clock.elapsed(), 8000);
        EXPECT_EQ(user.last().text, c.message);
        EXPECT_EQ(user.last().buttons, c.buttons);
        EXPECT_TRUE(shown.contains(QStringLiteral("已下載 100 KB，共 5120 KB"))) << shown.join('|').toStdString();
        EXPECT_TRUE(shell.calls.empty());
        EXPECT_TRUE(user.endCodes.empty());
        EXPECT_EQ(program.read(QStringLiteral("UPDATE.EXE")), oldUpdater);
        EXPECT_EQ(programFiles().size(), 3);  // no temporary file left behind
    }
    update::gDownloadStallMs = savedStall;
}

TEST_F(OnlineUpdateTest, UnreachableSiteGoesThroughTheErrorHandler)
{
    // No site configured: the check says so; Retry asks again.  Ignore ends the check with a
    // word that it could not be completed: a check that never got the version file neither
    // claims the program is up to date nor goes by the version file of an earlier check.
    const QByteArray stale = "\"Major\",\"9\"\r\n\"Url1\",\"http://127.0.0.1:1/old\"\r\n";
    program.write(QStringLiteral("Tessarinever.dat"), stale);
    WriteSetting(update::kMakerSiteKey, QString(), QStringLiteral("Tessarine"));
    ScriptedResponder user;
    user.answer(Answer::OK).answer(Answer::Retry).answer(Answer::Ignore).answer(Answer::OK);
    update::CheckNewVersion();
    const QStringList texts = user.texts();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[1], texts[2]);
    EXPECT_EQ(user.messages[1].buttons, ui::Buttons::AbortRetryIgnore);
    EXPECT_TRUE(texts[1].contains(QStringLiteral("網站")));
    EXPECT_TRUE(texts[3].startsWith(kNotCompleted)) << texts[3].toStdString();
    EXPECT_EQ(user.messages[3].buttons, ui::Buttons::OK);
    EXPECT_TRUE(site.requested.isEmpty());
    EXPECT_EQ(program.read(QStringLiteral("Tessarinever.dat")), stale);
    EXPECT_EQ(gStatusText, QString());
    EXPECT_EQ(ui::WaitCursorDepth(), 0);

    // The same for a site that answers with an error, and for a version page that cannot be
    // stored (the disk is full): the earlier version file decides nothing.
    WriteSetting(update::kMakerSiteKey, site.root(), QStringLiteral("Tessarine"));
    for (const bool diskFull : {false, true}) {
        SCOPED_TRACE(diskFull ? "disk full" : "server error");
        if (diskFull)
            site.versionFile("2", "2", "146", QString());
        else
            site.pages["/Tessarinever.html"] = WebSite::Response("500 Internal Server Error", "");
        ScriptedResponder again;
        again.answer(Answer::OK).answer(Answer::Ignore).answer(Answer::OK);
        {
            std::optional<testsupport::DiskFull> full;
            if (diskFull)
                full.emplace(16);
            update::CheckNewVersion();
        }
        ASSERT_EQ(again.texts().size(), 3);
        EXPECT_TRUE(again.texts()[2].startsWith(kNotCompleted)) << again.texts()[2].toStdString();
        EXPECT_EQ(program.read(QStringLiteral("Tessarinever.dat")), stale);
        EXPECT_EQ(programFiles().filter(QStringLiteral("Tessarinever")), QStringList{QStringLiteral("Tessarinever.dat")});
    }
}

// Nothing is installed or started that is not a whole Tessarine build newer than this one,
// whatever the site serves: the download is reported and deleted, "UPDATE.EXE" stays as it was.
TEST_F(OnlineUpdateTest, OnlyAWholeNewerBuildIsInstalled)
{
    const QByteArray oldUpdater = testsupport::FakeBuild("2.2.140");
    const QByteArray build = testsupport::FakeBuild("2.2.147", QByteArray(300000, 'x'));
    // An answer cut short, with no length announced: the connection just closes.
    const QByteArray cutShort = QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n") + build.left(build.size() - 100);
    const struct {
        const char* name;
        QByteArray answer;
        const char* error;
    } cases[] = {
        {"a shell script", WebSite::Response("200 OK", "#!/bin/sh\ntouch owned\n"), "不是完整的 Tessarine 程式檔"},
        {"a web page", WebSite::Response("200 OK", "<html><body>Welcome</body></html>"), "不是完整的 Tessarine 程式檔"},
        {"the same version", WebSite::Response("200 OK", testsupport::FakeBuild("2.2.146")), "並不比 2.2.146 新"},
        {"cut short, no length", cutShort, "不是完整的 Tessarine 程式檔"},
        {"cut short, with length",
         QByteArray("HTTP/1.1 200 OK\r\nContent-Length: ") + QByteArray::number(build.size())
             + "\r\nConnection: close\r\n\r\n" + build.left(1000),
         "下載未完成"},
    };
    site.versionFile("2", "2", "147", site.root() + QStringLiteral("/new"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        site.pages["/new"] = c.answer;
        program.write(QStringLiteral("UPDATE.EXE"), oldUpdater);
        ScriptedResponder user;
        shellsvc::Recorder shell;
        user.answer(Answer::OK).answer(Answer::Yes).answer(Answer::Abort);
        update::CheckNewVersion();
        EXPECT_TRUE(user.last().text.contains(QString::fromUtf8(c.error))) << user.last().text.toStdString();
        EXPECT_TRUE(shell.calls.empty());
        EXPECT_TRUE(user.endCodes.empty());
        EXPECT_EQ(program.read(QStringLiteral("UPDATE.EXE")), oldUpdater);
        EXPECT_EQ(programFiles().size(), 3);  // the download is gone
    }
}

// Only http and https; a download larger than the setting UpdateMaxMB stops there.
TEST_F(OnlineUpdateTest, DownloadsAreWebAddressesOfLimitedSize)
{
    const QString outside = program.write(QStringLiteral("outside.bin"), testsupport::FakeBuild("2.2.147"));
    for (const QString& url : {QStringLiteral("file://") + outside, QStringLiteral("ftp://127.0.0.1/x")}) {
        SCOPED_TRACE(url.toStdString());
        site.versionFile("2", "2", "147", url);
        ScriptedResponder user;
        shellsvc::Recorder shell;
        user.answer(Answer::OK).answer(Answer::Yes).answer(Answer::Abort);
        update::CheckNewVersion();
        EXPECT_TRUE(user.last().text.contains(QStringLiteral("http"))) << user.last().text.toStdString();
        EXPECT_FALSE(program.exists(QStringLiteral("UPDATE.EXE")));
        EXPECT_TRUE(shell.calls.empty());
    }

    WriteSetting(QStringLiteral("UpdateMaxMB"), QStringLiteral("1"), QStringLiteral("Tessarine"));
    EXPECT_EQ(update::DownloadLimitBytes(), 1 << 20);
    const QByteArray big = testsupport::FakeBuild("2.2.147", QByteArray(3 << 20, 'x'));
    site.versionFile("2", "2", "147", site.root() + QStringLiteral("/big"));
    for (const bool announced : {true, false}) {
        SCOPED_TRACE(announced ? "length announced" : "no length");
        site.pages["/big"] = announced ? WebSite::Response("200 OK", big)
                                       : QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n") + big;
        ScriptedResponder user;
        shellsvc::Recorder shell;
        user.answer(Answer::OK).answer(Answer::Yes).answer(Answer::Abort);
        update::CheckNewVersion();
        EXPECT_TRUE(user.last().text.contains(QStringLiteral("上限"))) << user.last().text.toStdString();
        EXPECT_FALSE(program.exists(QStringLiteral("UPDATE.EXE")));
        EXPECT_TRUE(shell.calls.empty());
        EXPECT_EQ(programFiles().size(), 3);
    }
    WriteSetting(QStringLiteral("UpdateMaxMB"), QString(), QStringLiteral("Tessarine"));
    EXPECT_EQ(update::DownloadLimitBytes(), qint64(512) << 20);
}

TEST_F(OnlineUpdateTest, ReminderAsksWhenTheIntervalHasPassed)
{
    const QString question = LoadResString(919);
    ui::SetToday(QDate(2026, 12, 10));
    struct Case {
        const char* lastCheck;
        const char* interval;
        Answer answer;          // OK: no question expected
        const char* calls;      // what the answer led to
        const char* storedDate; // CheckVerDate afterwards
    } cases[] = {
        {"2026/12/05", "3", Answer::Yes, "home,check", "2026/12/10"},
        {"2026/12/07", "3", Answer::OK, "", "2026/12/07"},
        {"2026/12/06", "0", Answer::Yes, "home,check", "2026/12/10"},   // 0 means 3 days
        {"2026/11/20", "30", Answer::OK, "", "2026/11/20"},
        {"2026/12/05", "3", Answer::No, "", "2026/12/05"},             // asked again next time
        {"", "3", Answer::Yes, "check", "2026/12/10"},                 // never answered Yes
        {"", "", Answer::No, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lastCheck) + " / " + c.interval);
        WriteSetting(QStringLiteral("CheckVerDate"), QString::fromUtf8(c.lastCheck), QStringLiteral("Tessarine"));
        WriteSetting(QStringLiteral("CheckNewVer"), QString::fromUtf8(c.interval), QStringLiteral("Tessarine"));
        ScriptedResponder user;
        if (c.answer != Answer::OK)
            user.answer(c.answer);
        QStringList calls;
        QString dateAtCheck;
        update::CheckVersionReminder([&] { calls << "home"; }, [&] {
            calls << "check";
            dateAtCheck = ReadSetting(QStringLiteral("CheckVerDate"), QStringLiteral("Tessarine"));
        });
        EXPECT_EQ(user.texts(), c.answer == Answer::OK ? QStringList{} : QStringList{question});
        EXPECT_EQ(calls.join(u','), QString::fromUtf8(c.calls));
        EXPECT_EQ(ReadSetting(QStringLiteral("CheckVerDate"), QStringLiteral("Tessarine")), QString::fromUtf8(c.storedDate));
        // With a date on record the new date is stored before the check runs, without one after.
        if (calls.contains("check"))
            EXPECT_EQ(dateAtCheck, QString::fromUtf8(*c.lastCheck ? "2026/12/10" : ""));
    }
}

}  // namespace
