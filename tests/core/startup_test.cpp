#include "core/AboutBox.h"
#include "core/Globals.h"
#include "core/Paths.h"
#include "core/SettingKeys.h"
#include "core/Settings.h"
#include "core/Startup.h"
#include "platform/db/Db.h"
#include "support/LayerFaults.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QMainWindow>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;
using testsupport::TempDir;

namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.programFolder = home.path();
        gKeyinChinese = false;
        gLangOffset = 0;
    }
    void TearDown() override
    {
        ReleaseSingleCopyLock();
        if (gConn.IsOpen())
            gConn.Close();
        UnloadAboutBox();
        delete mainWindow;
        gProgramPath = gDataPath = gDataPathCopy = gDatabaseFile = QString();
        gLangOffset = 0;
    }

    // Hooks that record the order in which start-up reaches them.
    StartupHooks recordingHooks()
    {
        StartupHooks h;
        h.checkFileVer = [this] { calls << "checkfilever"; SetSplashMessage(QStringLiteral("檢查客戶資料表")); };
        h.checkFactoryTables = [this] { calls << "CheckFactoryTables"; };
        h.checkMemberTable = [this] { calls << "CheckMemberTable"; };
        h.loadMainWindow = [this] {
            calls << "load MDIForm1";
            mainWindow = new QMainWindow;
            return mainWindow;
        };
        h.finishSelfUpdate = [this] { calls << "FinishSelfUpdate"; return true; };
        h.installNewVersion = [this] { calls << "InstallNewVersion"; return true; };
        h.showMainWindow = [this](QWidget* w) { calls << "show MDIForm1"; EXPECT_EQ(w, mainWindow); };
        h.checkVersionReminder = [this] { calls << "CheckVersionReminder"; };
        return h;
    }

    static void makeDatabase(const QString& path) { db::Connection::CreateDatabase(path, QString()); }

    TempDir home;
    StartupEnv env;
    QStringList calls;
    QMainWindow* mainWindow = nullptr;
};

TEST_F(StartupTest, NewUserFolderGetsDatabaseAndStartsInOrder)
{
    ScriptedResponder r;
    r.modal([&](QDialog* dialog) {
        calls << "splash";
        auto* about = qobject_cast<AboutBox*>(dialog);
        EXPECT_NE(about, nullptr);
        if (about)
            EXPECT_EQ(about->MessageLabel->text(), QStringLiteral("載入系統中，請捎待..."));
        EXPECT_FALSE(mainWindow->isVisible()) << "main window loaded hidden";
        WriteSetting(QStringLiteral("KeyinChinese"), QStringLiteral("1"), settings::kMain);  // read after the splash
        return 0;
    });

    ASSERT_TRUE(SubMain(env, recordingHooks()));

    EXPECT_EQ(calls, (QStringList{"checkfilever", "CheckFactoryTables", "CheckMemberTable", "load MDIForm1", "splash",
                                  "FinishSelfUpdate", "InstallNewVersion", "show MDIForm1", "CheckVersionReminder"}));
    EXPECT_TRUE(r.messages.empty());
    EXPECT_TRUE(r.endCodes.empty());
    EXPECT_EQ(gProgramPath, home.path());
    EXPECT_EQ(gDataPath, home.path());
    EXPECT_EQ(gDataPathCopy, gDataPath);
    EXPECT_EQ(gDatabaseFile, home.file(QStringLiteral("Tessarine.mdb")));
    EXPECT_TRUE(home.exists(QStringLiteral("Tessarine.mdb")));
    EXPECT_TRUE(gConn.IsOpen());
    EXPECT_EQ(gConn.DataSource(), gDatabaseFile);
    if (QFile::exists(QStringLiteral(":/schema/base_tables.sql")))
        EXPECT_TRUE(gConn.TableExists(QStringLiteral("RV12"))) << "base tables created";
    EXPECT_TRUE(gKeyinChinese);
    EXPECT_EQ(gLangOffset, 0);
    EXPECT_EQ(LoadedAboutBox(), nullptr) << "splash unloaded";
    EXPECT_FALSE(gComputerName.isEmpty());
}

TEST_F(StartupTest, DataFolderRule)
{
    TempDir other;
    makeDatabase(other.file(QStringLiteral("TESSARINE.MDB")));
    TempDir empty;
    const QString otherNoSlash = other.path().chopped(1);
    struct Case {
        QString appPath;
        QString expected;
    };
    const std::vector<Case> cases = {
        {QString(), home.path()},
        {other.path(), other.path()},
        {otherNoSlash, other.path()},
        {QStringLiteral("  ") + otherNoSlash + QStringLiteral("  "), other.path()},
        {QString(otherNoSlash).replace('/', '\\') + QStringLiteral("\\\\"), other.path()},
        {empty.path(), home.path()},
        {QStringLiteral("c:\\Tessarine\\"), home.path()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DataFolderFor(c.appPath, home.path()), c.expected) << c.appPath.toStdString();
}

TEST_F(StartupTest, AppPathWithUpperCaseDatabaseIsUsedAndMissingOneFallsBack)
{
    TempDir other;
    makeDatabase(other.file(QStringLiteral("TESSARINE.MDB")));
    WriteSetting(QStringLiteral("App_path"), other.path(), settings::kMain, 0, home.path());
    {
        ScriptedResponder r;
        r.modal(0);
        ASSERT_TRUE(SubMain(env, {}));
        EXPECT_EQ(gDataPath, other.path());
        EXPECT_EQ(gDatabaseFile, other.file(QStringLiteral("TESSARINE.MDB")));
        EXPECT_FALSE(home.exists(QStringLiteral("Tessarine.mdb")));
        EXPECT_FALSE(other.exists(QStringLiteral("Tessarine.mdb")));
    }
    TearDown();

    TempDir empty;
    WriteSetting(QStringLiteral("App_path"), empty.path(), settings::kMain, 0, home.path());
    const QByteArray settings = home.read(QStringLiteral("Tessarine.dat"));
    ScriptedResponder r;
    r.modal(0);
    ASSERT_TRUE(SubMain(env, {}));
    EXPECT_EQ(gDataPath, home.path());
    EXPECT_TRUE(home.exists(QStringLiteral("Tessarine.mdb")));
    EXPECT_TRUE(QDir(empty.path()).isEmpty());
    EXPECT_EQ(home.read(QStringLiteral("Tessarine.dat")), settings) << "App_path left as it was";
}

TEST_F(StartupTest, LanguageOffset)
{
    const std::vector<std::pair<QString, short>> cases = {
        {QString(), 0}, {"0", 0}, {"abc", 0}, {" 0 ", 0}, {"1", 10000}, {"10000", 10000}, {"-3", 10000},
    };
    for (const auto& [text, offset] : cases)
        EXPECT_EQ(LanguageOffsetFor(text), offset) << text.toStdString();

    WriteSetting(QStringLiteral("LanguageID"), QStringLiteral("10000"), settings::kMain, 0, home.path());
    ScriptedResponder r;
    r.modal(0);
    ASSERT_TRUE(SubMain(env, {}));
    EXPECT_EQ(gLangOffset, 10000);
    EXPECT_FALSE(gKeyinChinese) << "KeyinChinese missing";
}

TEST_F(StartupTest, SecondCopyOnlySaysSoAndEnds)
{
    QLockFile first(home.file(QStringLiteral(".tessarine.lock")));
    ASSERT_TRUE(first.tryLock(0));
    ScriptedResponder r;
    r.answer(ui::Answer::OK);
    EXPECT_FALSE(SubMain(env, recordingHooks()));
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.last().text, QStringLiteral("Tessarine已經在執行中..."));
    EXPECT_EQ(r.last().buttons, ui::Buttons::OK);
    EXPECT_EQ(r.endCodes.size(), 1u);
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_FALSE(home.exists(QStringLiteral("Tessarine.mdb")));
    EXPECT_TRUE(gDataPath.isEmpty());
}

// A program folder nobody may write in still admits one copy only, counted per folder.
TEST_F(StartupTest, SingleCopyHoldsInAReadOnlyProgramFolder)
{
    const QString readOnly = QStringLiteral("/proc/1/");  // no file can be made here, not even by root
    ASSERT_FALSE(QFileInfo(readOnly).isWritable());
    const QString lockPath = SingleCopyLockPath(readOnly);
    EXPECT_FALSE(lockPath.startsWith(readOnly));
    EXPECT_NE(SingleCopyLockPath(QStringLiteral("/proc/1/task/")), lockPath);
    EXPECT_EQ(SingleCopyLockPath(home.path()), home.file(QStringLiteral(".tessarine.lock")));
    ScriptedResponder r;
    ASSERT_TRUE(AcquireSingleCopyLock(readOnly));
    EXPECT_TRUE(QFileInfo::exists(lockPath));
    QLockFile second(lockPath);
    EXPECT_FALSE(second.tryLock(0)) << "a second copy would start";
    ReleaseSingleCopyLock();
    EXPECT_TRUE(second.tryLock(0));
    second.unlock();
    EXPECT_TRUE(r.messages.empty());
}

// A database file of no bytes is a missing one: created with the base tables, then upgraded.
TEST_F(StartupTest, EmptyDatabaseFileIsMadeAnew)
{
    home.write(QStringLiteral("tessarine.mdb"), QByteArray());
    ScriptedResponder r;
    r.modal(0);
    StartupHooks hooks = recordingHooks();
    bool sawTables = false;
    hooks.checkFileVer = [&] { sawTables = gConn.TableExists(QStringLiteral("RV12")); };
    ASSERT_TRUE(SubMain(env, hooks));
    EXPECT_TRUE(r.messages.empty());
    EXPECT_TRUE(sawTables) << "the upgrade found the base tables";
    EXPECT_GT(QFileInfo(gDatabaseFile).size(), 0);
    EXPECT_EQ(QDir(home.path()).entryList({QStringLiteral("*.mdb")}, QDir::Files).size(), 1);
}

// A data folder whose name holds ";" and "Data Source=" opens the database in that folder.
TEST_F(StartupTest, DataFolderNamedLikeAConnectionTextOpensItsOwnFile)
{
    TempDir elsewhere;
    db::Connection::CreateDatabase(elsewhere.file(QStringLiteral("Tessarine.mdb")), QStringLiteral("CREATE TABLE Decoy (x Text(5))"));
    const QString tricky = home.file(QStringLiteral("x;Data Source=") + elsewhere.path());
    ASSERT_TRUE(QDir().mkpath(tricky));
    makeDatabase(JoinPath(tricky, QStringLiteral("Tessarine.mdb")));
    WriteSetting(QStringLiteral("App_path"), tricky, settings::kMain, 0, home.path());
    ScriptedResponder r;
    r.modal(0);
    ASSERT_TRUE(SubMain(env, {}));
    EXPECT_EQ(gDataPath, FolderText(tricky));
    EXPECT_EQ(gConn.DataSource(), JoinPath(tricky, QStringLiteral("Tessarine.mdb")));
    EXPECT_FALSE(gConn.TableExists(QStringLiteral("Decoy")));
    for (const QString& quoteInName : {QStringLiteral("a\"b;c"), QStringLiteral("'q';Data Source=x")}) {
        const QString path = home.file(quoteInName + QStringLiteral(".mdb"));
        makeDatabase(path);
        db::Connection c;
        c.Open(db::ConnectionText(path));
        EXPECT_EQ(c.DataSource(), path);
    }
}

TEST_F(StartupTest, LockIsReleasedBeforeASuccessorStarts)
{
    QStringList started;
    env.startProcess = [&](const QString& program, const QStringList& args) {
        QLockFile successor(home.file(QStringLiteral(".tessarine.lock")));
        EXPECT_TRUE(successor.tryLock(0)) << "the successor can take the lock";
        started << program << args;
        return true;
    };
    ScriptedResponder r;
    r.modal(0);
    StartupHooks hooks;
    hooks.installNewVersion = [&] {
        StartSuccessorProcess(home.file(QStringLiteral("UPDATE.EXE")), {QStringLiteral("S")});
        ui::EndProcess(0);
        return false;
    };
    hooks.checkVersionReminder = [&] { ADD_FAILURE() << "start-up went on after the process ended"; };
    EXPECT_FALSE(SubMain(env, hooks));
    EXPECT_EQ(started, (QStringList{home.file(QStringLiteral("UPDATE.EXE")), QStringLiteral("S")}));
    EXPECT_EQ(r.endCodes.size(), 1u);
}

TEST_F(StartupTest, UnusableDatabaseIsReportedAndNeverReplaced)
{
    const QByteArray garbage("this is not a database file, it must stay as it is");
    home.write(QStringLiteral("tessarine.mdb"), garbage);
    ScriptedResponder r;
    r.answer(ui::Answer::OK);
    EXPECT_FALSE(SubMain(env, recordingHooks()));
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.endCodes.size(), 1u);
    EXPECT_TRUE(calls.isEmpty()) << "no schema pass, no main window";
    EXPECT_EQ(home.read(QStringLiteral("tessarine.mdb")), garbage);
    EXPECT_EQ(QDir(home.path()).entryList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Name),
              QStringList{QStringLiteral("tessarine.mdb")});
    EXPECT_FALSE(gConn.IsOpen());
}

TEST_F(StartupTest, SchemaPassThatThrowsIsReportedAndStartupGoesOn)
{
    ScriptedResponder r;
    r.answer(ui::Answer::OK).modal(0);
    StartupHooks hooks = recordingHooks();
    hooks.checkFactoryTables = [] { throw db::DbError(3260, QStringLiteral("locked")); };
    EXPECT_TRUE(SubMain(env, hooks));
    EXPECT_EQ(r.messages.size(), 1u);
    EXPECT_TRUE(calls.contains("CheckMemberTable"));
    EXPECT_TRUE(calls.contains("CheckVersionReminder"));
}

// What start-up meets in the data folder instead of a usable database is told in Chinese (what
// happened, what to do, the Jet number where the database layer refused), and nothing there is
// removed; a data folder not there yet is made and the program starts.
TEST_F(StartupTest, AnUnusableDataFolderIsToldInChineseAndAMissingOneIsMade)
{
    struct Case {
        const char* name;
        std::function<void(TempDir&, StartupEnv&)> arrange;
        QString number;  // "" = starts without a message
        QString says;
    };
    const Case cases[] = {
        {"folder named like the database",
         [](TempDir& home, StartupEnv&) { QDir(home.path()).mkdir(QStringLiteral("Tessarine.mdb")); }, "3204",
         QStringLiteral("Tessarine.mdb 已經存在")},
        {"not a database", [](TempDir& home, StartupEnv&) { home.write(QStringLiteral("tessarine.mdb"), "not a database file at all"); },
         "3343", QStringLiteral("損壞")},
        {"damaged database",
         [](TempDir& home, StartupEnv&) {
             QFile script(QStringLiteral(":/schema/base_tables.sql"));
             ASSERT_TRUE(script.open(QIODevice::ReadOnly));
             db::Connection::CreateDatabase(home.file(QStringLiteral("Tessarine.mdb")), QString::fromUtf8(script.readAll()));
             testsupport::DamageDatabaseFile(home.file(QStringLiteral("Tessarine.mdb")));
         },
         "3049", QStringLiteral("損壞")},
        {"folder that cannot be made",
         [](TempDir& home, StartupEnv& env) {
             home.write(QStringLiteral("plain-file"), "x");
             env.programFolder = home.file(QStringLiteral("plain-file/Tessarine/"));
         },
         "", QStringLiteral("請建立這個資料夾")},
        {"missing folder", [](TempDir& home, StartupEnv& env) { env.programFolder = home.file(QStringLiteral("new/Tessarine/")); },
         "", QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        StartupEnv here;
        here.programFolder = folder.path();
        c.arrange(folder, here);
        const QStringList before = QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        ScriptedResponder r;
        if (c.says.isEmpty())
            r.modal(0);
        else
            r.answer(ui::Answer::OK);
        const bool started = SubMain(here, {});
        if (c.says.isEmpty()) {
            EXPECT_TRUE(started);
            EXPECT_TRUE(r.messages.empty());
            EXPECT_TRUE(QFileInfo(here.programFolder + QStringLiteral("Tessarine.mdb")).isFile());
        } else {
            EXPECT_FALSE(started);
            ASSERT_EQ(r.messages.size(), 1u);
            const QString text = r.last().text;
            EXPECT_TRUE(text.contains(c.says)) << text.toStdString();
            EXPECT_TRUE(text.contains(c.number)) << text.toStdString();
            EXPECT_TRUE(testsupport::HasChinese(text)) << text.toStdString();
            EXPECT_FALSE(testsupport::HasEnglishSentence(text)) << text.toStdString();
            EXPECT_EQ(r.endCodes.size(), 1u);
            EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        }
        ReleaseSingleCopyLock();
        if (gConn.IsOpen())
            gConn.Close();
        UnloadAboutBox();
    }
}

}  // namespace
