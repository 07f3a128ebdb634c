#include "core/Globals.h"
#include "core/Settings.h"
#include "platform/ui/Ui.h"
#include "shell/Backup.h"
#include "shell/bkmdbfrm.h"
#include "support/OtherProgram.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QApplication>
#include <QTest>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

using testsupport::OtherProgram;
using testsupport::ScriptedResponder;
using testsupport::TempDir;

namespace {

const QString kSection = QStringLiteral("Tessarine");

// A small database with rows, written through its own connection.
void MakeDatabase(const QString& path, int rows)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    QString sql = QStringLiteral("BEGIN; CREATE TABLE RV12 (RV120 TEXT PRIMARY KEY, RV121 TEXT);");
    for (int i = 0; i < rows; ++i)
        sql += QStringLiteral("INSERT INTO RV12 VALUES ('%1', '客戶%1');").arg(i, 6, 10, QLatin1Char('0'));
    sql += QStringLiteral("COMMIT;");
    ASSERT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// (integrity_check result, row count of RV12) of a database file.
std::pair<QString, int> Inspect(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QString check;
    int count = -1;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        check = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM RV12", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        count = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return {check, count};
}

TEST(BackupReminder, AsksWhenNoCopyNoDateOrTooOld)
{
    const QString first = LoadResString(168) + QStringLiteral("\n\r") + LoadResString(171);
    const QString before = LoadResString(169), after = LoadResString(170);
    ASSERT_EQ(before, QStringLiteral("上次備份距離現在 "));
    ASSERT_EQ(after, QStringLiteral(" 天,是否要備份?"));
    const QDate today(2026, 12, 10);
    const QString stamp2 = backup::FormatBackupDate(QDateTime(QDate(2026, 12, 8), QTime(23, 59, 59)));
    const QString stamp3 = backup::FormatBackupDate(QDateTime(QDate(2026, 12, 7), QTime(0, 0, 1)));
    struct Case {
        const char* what;
        bool copy;
        QString backupDate, backDate;
        std::optional<QString> question;
    } cases[] = {
        {"no copy in the folder", false, stamp2, "2", first},
        {"copy but no date recorded", true, "  ", "2", first},
        {"date not readable", true, "someday", "2", before + "0" + after},
        {"two days old, interval 2", true, stamp2, "2", std::nullopt},
        {"three days old, interval 2", true, stamp3, "2", before + "3" + after},
        {"empty interval means 2", true, stamp3, "", before + "3" + after},
        {"interval 0 means 2", true, stamp2, "0", std::nullopt},
        {"interval 5", true, stamp3, " 5 ", std::nullopt},
        {"leading digits of the interval", true, stamp3, "3天", std::nullopt},
        {"old date-only text", true, "2026/12/1", "2", before + "9" + after},
        {"old text with time after a blank", true, "2026/12/7 下午 03:00:00", "2", before + "3" + after},
    };
    for (const Case& c : cases)
        EXPECT_EQ(backup::ReminderQuestion(c.backupDate, c.backDate, c.copy, today), c.question) << c.what;
}

TEST(BackupFolder, TypedFolderBecomesOneFolderText)
{
    const QString home = QDir::homePath() + QLatin1Char('/');
    struct Case {
        QString typed, folder;
    } cases[] = {
        {"", home},
        {"  ", home},
        {"C:\\", home},
        {"c:/", home},
        {"/srv/backup", "/srv/backup/"},
        {" /srv/backup/ ", "/srv/backup/"},
        {"\\srv\\backup\\", "/srv/backup/"},
        {"/srv//backup", "/srv/backup/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(backup::BackupFolder(c.typed), c.folder) << c.typed.toStdString();
}

TEST(CopyDatabase, CopiesLiveDatabaseAndReplacesCopyOfAnyLetterCase)
{
    TempDir data, target;
    const QString source = data.file(QStringLiteral("Tessarine.mdb"));
    MakeDatabase(source, 500);
    // The program keeps the database open while it is copied.
    sqlite3* live = nullptr;
    ASSERT_EQ(sqlite3_open(source.toUtf8().constData(), &live), SQLITE_OK);
    sqlite3_exec(live, "INSERT INTO RV12 VALUES ('999999', 'x')", nullptr, nullptr, nullptr);

    target.write(QStringLiteral("TESSARINE.MDB"), "an old copy");
    const QString dest = backup::BackupTarget(target.path());
    EXPECT_EQ(dest, target.file(QStringLiteral("TESSARINE.MDB")));
    backup::CopyDatabase(source, dest);
    sqlite3_close(live);

    EXPECT_EQ(Inspect(dest), std::make_pair(QStringLiteral("ok"), 501));
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files), QStringList{QStringLiteral("TESSARINE.MDB")});
}

TEST(CopyDatabase, FailureLeavesEarlierCopyAndNoPartialFile)
{
    TempDir data, target;
    const QString source = data.file(QStringLiteral("Tessarine.mdb"));
    MakeDatabase(source, 3);
    EXPECT_THROW(backup::CopyDatabase(source, target.file(QStringLiteral("missing/tessarine.mdb"))),
                 backup::BackupFailed);
    // A source that is not a database: the earlier copy stays as it was.
    target.write(QStringLiteral("tessarine.mdb"), "earlier copy");
    const QString junk = data.write(QStringLiteral("junk.mdb"), QByteArray(4096, 'x'));
    EXPECT_THROW(backup::CopyDatabase(junk, target.file(QStringLiteral("tessarine.mdb"))), backup::BackupFailed);
    EXPECT_EQ(target.read(QStringLiteral("tessarine.mdb")), QByteArray("earlier copy"));
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files), QStringList{QStringLiteral("tessarine.mdb")});
}

// A backup aimed at the database itself, under any spelling, link or letter case, is refused
// and the open database goes on working.
TEST(CopyDatabase, TheDatabaseItselfIsNeverTheTarget)
{
    TempDir data, other;
    const QString source = data.file(QStringLiteral("Tessarine.mdb"));
    MakeDatabase(source, 10);
    sqlite3* live = nullptr;
    ASSERT_EQ(sqlite3_open(source.toUtf8().constData(), &live), SQLITE_OK);
    ASSERT_TRUE(QFile::link(data.path(), other.file(QStringLiteral("linked"))));
    ASSERT_EQ(::link(source.toUtf8().constData(), other.file(QStringLiteral("tessarine.mdb")).toUtf8().constData()), 0);
    const QStringList targets{
        backup::BackupTarget(backup::BackupFolder(data.path())),                           // the data folder, name of another case
        data.path() + QStringLiteral("./Tessarine.mdb"),                                   // another spelling
        backup::BackupTarget(backup::BackupFolder(other.file(QStringLiteral("linked")))),  // through a folder link
        other.file(QStringLiteral("tessarine.mdb")),                                       // a hard link
    };
    for (const QString& target : targets) {
        SCOPED_TRACE(target.toStdString());
        try {
            backup::CopyDatabase(source, target);
            ADD_FAILURE() << "copied over the database";
        } catch (const backup::BackupFailed& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("資料庫檔案本身"))) << e.what();
        }
        EXPECT_EQ(sqlite3_exec(live, "INSERT INTO RV12 VALUES (hex(randomblob(8)), 'still open')", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    sqlite3_close(live);
    EXPECT_EQ(Inspect(source), std::make_pair(QStringLiteral("ok"), 14));
    EXPECT_EQ(QDir(data.path()).entryList(QDir::Files), QStringList{QStringLiteral("Tessarine.mdb")});
}

// What a killed backup left in the folder is gone after the next one.
TEST(CopyDatabase, LeftoversOfAKilledBackupAreRemoved)
{
    TempDir data, target;
    const QString source = data.file(QStringLiteral("Tessarine.mdb"));
    MakeDatabase(source, 10);
    for (const char* name : {"tessarine.mdb.part", "tessarine.mdb.part-journal", "TESSARINE.MDB.part"})
        target.write(QString::fromLatin1(name), "half a copy");
    target.write(QStringLiteral("notes.txt"), "mine");
    backup::CopyDatabase(source, backup::BackupTarget(target.path()));
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("notes.txt"), QStringLiteral("tessarine.mdb")}));
    EXPECT_EQ(Inspect(target.file(QStringLiteral("tessarine.mdb"))).second, 10);
}

// Another program writing the database: the copy waits a bounded time, keeps its caller
// informed all along (a stop is heard at once), and leaves nothing behind.
TEST(CopyDatabase, AWriteLockIsWaitedOutForABoundedTimeAndCanBeStopped)
{
    TempDir data, target;
    const QString source = data.file(QStringLiteral("Tessarine.mdb"));
    MakeDatabase(source, 10);
    OtherProgram other(source, "BEGIN EXCLUSIVE; INSERT INTO RV12 VALUES ('x', 'y');");
    ASSERT_TRUE(other.holding());
    const QString dest = target.file(QStringLiteral("tessarine.mdb"));
    int calls = 0;
    backup::CopyOptions options;
    options.lockWaitMs = 700;
    options.progress = [&](int, int) { return ++calls > 0; };
    QElapsedTimer clock;
    clock.start();
    try {
        backup::CopyDatabase(source, dest, options);
        ADD_FAILURE() << "copied a locked database";
    } catch (const backup::BackupCancelled&) {
        ADD_FAILURE() << "not cancelled";
    } catch (const backup::BackupFailed& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("其他程式"))) << e.what();
    }
    EXPECT_GE(clock.elapsed(), 700);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_GT(calls, 5);  // the caller was called while waiting

    options.lockWaitMs = 60000;
    options.progress = [&](int, int) { return false; };
    clock.restart();
    EXPECT_THROW(backup::CopyDatabase(source, dest, options), backup::BackupCancelled);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(QDir(target.path()).entryList(QDir::Files).isEmpty());

    other.letGo();
    options.progress = {};
    backup::CopyDatabase(source, dest, options);
    EXPECT_EQ(Inspect(dest), std::make_pair(QStringLiteral("ok"), 10));
}

class BackupWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = {gProgramPath, gDataPath, gDatabaseFile};
        gProgramPath = program.path();
        gDataPath = data.path();
        gDatabaseFile = data.file(QStringLiteral("Tessarine.mdb"));
        MakeDatabase(gDatabaseFile, 20);
        ui::SetNow(QDateTime(QDate(2026, 12, 10), QTime(9, 30, 0)));
        ui::SetToday(QDate(2026, 12, 10));
    }
    void TearDown() override
    {
        gProgramPath = saved[0];
        gDataPath = saved[1];
        gDatabaseFile = saved[2];
        ui::SetNow(QDateTime());
        ui::SetToday(QDate());
    }
    TempDir program, data, backupDir;
    QStringList saved;
};

TEST_F(BackupWindowTest, BacksUpIntoFolderTypedWithoutSeparatorAndRecordsTheDate)
{
    QString folder = backupDir.path();
    folder.chop(1);  // no trailing "/"
    WriteSetting(QStringLiteral("pack_path"), folder, kSection);

    ScriptedResponder user;
    user.answer(ui::Answer::OK);
    bkmdbfrm window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("資料備份系統"));
    EXPECT_EQ(window.SkinLabel1[2]->text(), LoadResString(176));
    EXPECT_EQ(window.Text1->text(), folder);
    window.Command1[0]->click();

    EXPECT_EQ(user.texts(), QStringList{QStringLiteral("備份完畢")});
    EXPECT_TRUE(window.backedUp());
    EXPECT_EQ(Inspect(backupDir.file(QStringLiteral("tessarine.mdb"))).first, QStringLiteral("ok"));
    const QString stamp = ReadSetting(QStringLiteral("BackupDate"), kSection);
    EXPECT_EQ(stamp, QStringLiteral("2026/12/10 09:30:00"));
    // The next exit finds the copy and the fresh date: no question.
    EXPECT_EQ(backup::ReminderQuestion(stamp, ReadSetting(QStringLiteral("BackDate"), kSection),
                                       backup::BackupExists(backup::BackupFolder(folder)), ui::Today()),
              std::nullopt);
}

TEST_F(BackupWindowTest, FailedCopyIsReportedRetriedAndRecordsNothing)
{
    WriteSetting(QStringLiteral("pack_path"), backupDir.file(QStringLiteral("nowhere")), kSection);
    WriteSetting(QStringLiteral("BackupDate"), QStringLiteral("2026/11/01 08:00:00"), kSection);

    ScriptedResponder user;
    user.answer(ui::Answer::Retry).answer(ui::Answer::Cancel);
    bkmdbfrm window;
    EXPECT_EQ(window.SkinLabel1[2]->text(), QStringLiteral("資料備份系統: 2026/11/01 08:00:00"));
    window.show();
    window.Command1[0]->click();

    ASSERT_EQ(user.messages.size(), 2u);
    for (const ui::MessageCall& m : user.messages) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("備份發生錯誤...."))) << m.text.toStdString();
        EXPECT_EQ(m.buttons, ui::Buttons::RetryCancel);
    }
    EXPECT_FALSE(window.backedUp());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(ReadSetting(QStringLiteral("BackupDate"), kSection), QStringLiteral("2026/11/01 08:00:00"));
}

TEST_F(BackupWindowTest, EmptyOrOldDefaultFolderMeansHomeAndBrowseCancelKeepsIt)
{
    for (const QString& stored : {QString(), QStringLiteral("C:\\")}) {
        WriteSetting(QStringLiteral("pack_path"), stored, kSection);
        ScriptedResponder user;
        user.folder(QString());
        bkmdbfrm window;
        EXPECT_EQ(window.Text1->text(), QDir::homePath() + QLatin1Char('/'));
        window.Command2->click();
        EXPECT_EQ(window.Text1->text(), QDir::homePath() + QLatin1Char('/'));
    }
    ScriptedResponder user;
    user.folder(QStringLiteral("/srv/chosen"));
    bkmdbfrm window;
    window.Command2->click();
    EXPECT_EQ(window.Text1->text(), QStringLiteral("/srv/chosen"));
}

// While another program holds the database the window stays alive: 取消 stops the copy at
// once, without a message, and the window stays open for another try; a lock that outlasts the
// wait is reported like any failed copy.
TEST_F(BackupWindowTest, TheWindowStaysAliveAndCancelStopsTheCopy)
{
    WriteSetting(QStringLiteral("pack_path"), backupDir.path(), kSection);
    OtherProgram other(gDatabaseFile, "BEGIN EXCLUSIVE;");
    ASSERT_TRUE(other.holding());
    ScriptedResponder user;
    bkmdbfrm window;
    window.lockWaitMs = 60000;
    window.show();
    int ticks = 0;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++ticks; });
    heartbeat.start(20);
    QTimer::singleShot(400, window.Command1[1], &QPushButton::click);
    QElapsedTimer clock;
    clock.start();
    window.Command1[0]->click();
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_GT(ticks, 5);  // events ran all along
    EXPECT_TRUE(user.messages.empty());
    EXPECT_EQ(window.SkinLabel1[0]->text(), QStringLiteral("備份已取消"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.copying());
    EXPECT_TRUE(window.Command1[0]->isEnabled());
    EXPECT_FALSE(window.backedUp());
    EXPECT_TRUE(QDir(backupDir.path()).entryList(QDir::Files).isEmpty());

    window.lockWaitMs = 300;
    user.answer(ui::Answer::Cancel);
    window.Command1[0]->click();
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_TRUE(user.last().text.startsWith(QStringLiteral("備份發生錯誤...."))) << user.last().text.toStdString();
    EXPECT_TRUE(window.isVisible());

    other.letGo();
    user.answer(ui::Answer::OK);
    window.Command1[0]->click();
    EXPECT_TRUE(window.backedUp());
    EXPECT_EQ(Inspect(backupDir.file(QStringLiteral("tessarine.mdb"))).second, 20);
}

// A backup aimed at the database itself is refused once: the folder box takes the focus with its
// text selected, and Enter (which would press the start button) does not repeat the refusal;
// another folder typed in makes the start work again.
TEST_F(BackupWindowTest, AfterARefusalTheFolderBoxHasTheFocusAndEnterDoesNotRepeatIt)
{
    WriteSetting(QStringLiteral("pack_path"), data.path(), kSection);
    ScriptedResponder user;
    user.answer(ui::Answer::Cancel);
    bkmdbfrm window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.Command1[0]->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_TRUE(user.last().text.contains(QStringLiteral("這就是資料庫檔案本身"))) << user.last().text.toStdString();

    EXPECT_EQ(QApplication::focusWidget(), window.Text1);
    EXPECT_EQ(window.Text1->selectedText(), window.Text1->text());
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(user.messages.size(), 1u);
    EXPECT_TRUE(window.isVisible());

    QTest::keyClicks(window.Text1, backupDir.path());
    EXPECT_TRUE(window.Command1[0]->isEnabled());
    user.answer(ui::Answer::OK);
    QTest::keyClick(window.Text1, Qt::Key_Return);
    EXPECT_EQ(user.last().text, QStringLiteral("備份完畢"));
    EXPECT_TRUE(window.backedUp());
}

}  // namespace
