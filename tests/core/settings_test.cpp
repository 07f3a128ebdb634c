#include "core/Globals.h"
#include "core/Settings.h"
#include "platform/text/VbText.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testsupport::ScriptedResponder;
using testsupport::TempDir;

namespace {

const QString kSection = QStringLiteral("Tessarine");

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedProgram = gProgramPath;
        savedData = gDataPath;
        gProgramPath = dir.path();
        gDataPath = dataDir.path();
    }
    void TearDown() override
    {
        gProgramPath = savedProgram;
        gDataPath = savedData;
        SetSettingsRenameForTest(nullptr);
    }
    QByteArray dat() const { return dir.read(QStringLiteral("Tessarine.dat")); }

    TempDir dir, dataDir;
    QString savedProgram, savedData;
};

TEST_F(SettingsTest, ReadsFirstExactKeyTrimmedFromEveryFileForm)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QString key;
        QString expected;
    };
    const QByteArray cp950 = vb::ToCp950(QStringLiteral("\"CustomType\",\"甲級\"\r\n"));
    const std::vector<Case> cases = {
        {"exact key", "\"LanguageID\",\"10000\"\r\n", "LanguageID", "10000"},
        {"letter case counts", "\"LanguageID\",\"10000\"\r\n", "languageid", ""},
        {"first of two", "\"k\",\"1\"\r\n\"k\",\"2\"\r\n", "k", "1"},
        {"value trimmed", "\"k\",\"  a b  \"\r\n", "k", "a b"},
        {"LF line ends", "\"a\",\"1\"\n\"b\",\"2\"\n", "b", "2"},
        {"unquoted fields", "a , 1\r\nb,  two words \r\n", "b", "two words"},
        {"list value with CR LF", "\"CustomType\",\"甲\r\n乙\"\r\n\"x\",\"y\"\r\n", "x", "y"},
        {"code page 950 file", cp950, "CustomType", "甲級"},
        {"UTF-8 file", QStringLiteral("\"CustomType\",\"甲級\"\r\n").toUtf8(), "CustomType", "甲級"},
        {"dangling key after the match", "\"a\",\"1\"\r\n\"b\"\r\n", "a", "1"},
        {"dangling key itself", "\"a\",\"1\"\r\n\"b\"\r\n", "b", ""},
        {"missing key", "\"a\",\"1\"\r\n", "z", ""},
        {"blank lines between records", "\"a\",\"1\"\r\n\r\n\"b\",\"2\"\r\n", "b", "2"},
    };
    for (const Case& c : cases) {
        dir.write(QStringLiteral("Tessarine.dat"), c.bytes);
        EXPECT_EQ(ReadSetting(c.key, kSection), c.expected) << c.name;
    }
    QFile::remove(dir.file(QStringLiteral("Tessarine.dat")));
    EXPECT_EQ(ReadSetting(QStringLiteral("a"), kSection), QString()) << "missing file";
}

// A line that holds no readable record (an unescaped quote, garbage, a key without a value,
// a quote never closed) is skipped on reading, and written back as it was: the keys after it
// keep their values, and no write shifts them.
TEST_F(SettingsTest, AnUnreadableLineNeverShiftsTheKeysAfterIt)
{
    const QByteArray bad[] = {
        "\"pack_path\",\"D:\\my \"backup\" folder\\\"",  // a quote inside the value, not doubled
        "garbage without a comma",
        "\"lonely key\"",
        "\"a\",\"b\",\"c\"",
        "\"App_path\",\"never closed",
    };
    for (const QByteArray& line : bad) {
        SCOPED_TRACE(line.toStdString());
        const QByteArray before = "\"LanguageID\",\"10000\"\r\n" + line + "\r\n\"CustomType\",\"甲\r\n乙\"\r\n\"BackDate\",\"5\"\r\n";
        dir.write(QStringLiteral("Tessarine.dat"), before);
        EXPECT_EQ(ReadSetting(QStringLiteral("LanguageID"), kSection), QStringLiteral("10000"));
        EXPECT_EQ(ReadSetting(QStringLiteral("CustomType"), kSection), QStringLiteral("甲\r\n乙"));
        EXPECT_EQ(ReadSetting(QStringLiteral("BackDate"), kSection), QStringLiteral("5"));
        WriteSetting(QStringLiteral("BackDate"), QStringLiteral("7"), kSection);
        WriteSetting(QStringLiteral("KeyinChinese"), QStringLiteral("1"), kSection);
        QByteArray after = before;
        after.replace("\"BackDate\",\"5\"", "\"BackDate\",\"7\"");
        EXPECT_EQ(dat(), after + "\"KeyinChinese\",\"1\"\r\n");
        EXPECT_EQ(ReadSetting(QStringLiteral("CustomType"), kSection), QStringLiteral("甲\r\n乙"));
        EXPECT_EQ(ReadSetting(QStringLiteral("BackDate"), kSection), QStringLiteral("7"));
    }
}

// A write keeps the file's permission bits; a new file gets those of any new file.
TEST_F(SettingsTest, WritingKeepsThePermissionBits)
{
    const QString path = dir.write(QStringLiteral("Tessarine.dat"), "\"a\",\"1\"\r\n");
    for (const QFileDevice::Permissions p : {QFileDevice::Permissions(0x6644), QFileDevice::Permissions(0x6640)}) {
        ASSERT_TRUE(QFile::setPermissions(path, p));
        WriteSetting(QStringLiteral("a"), QStringLiteral("2"), kSection);
        WriteSetting(QStringLiteral("b"), QStringLiteral("3"), kSection);
        EXPECT_EQ(QFile::permissions(path), p);
    }
    const mode_t mask = ::umask(0022);
    WriteSetting(QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("Factory"));
    ::umask(mask);
    EXPECT_EQ(QFile::permissions(dir.file(QStringLiteral("Factory.dat"))), QFileDevice::Permissions(0x6644));
}

TEST_F(SettingsTest, WriteIntoMissingFileMakesOneRecordAndNoScratchCopy)
{
    WriteSetting(QStringLiteral("CheckNewVer"), QStringLiteral("3"), kSection);
    EXPECT_EQ(dat(), QByteArray("\"CheckNewVer\",\"3\"\r\n"));
    EXPECT_FALSE(dir.exists(QStringLiteral("Tessarine.new")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";
}

TEST_F(SettingsTest, ReplacingRewritesEveryMatchDropsBlankKeysAndLeavesScratchCopy)
{
    dir.write(QStringLiteral("Tessarine.dat"), "\"k\",\"1\"\r\n\" \",\"orphan\"\r\n\"other\",\"x\"\r\n\"k\",\"2\"\r\n");
    WriteSetting(QStringLiteral("k"), QStringLiteral("9"), kSection);
    const QByteArray expected("\"k\",\"9\"\r\n\"other\",\"x\"\r\n\"k\",\"9\"\r\n");
    EXPECT_EQ(dat(), expected);
    EXPECT_EQ(dir.read(QStringLiteral("Tessarine.new")), expected);
}

TEST_F(SettingsTest, AppendingKeepsRecordsAndRemovesScratchCopy)
{
    dir.write(QStringLiteral("Tessarine.dat"), "\"a\",\"1\"\r\n\"\",\"orphan\"\r\n");
    dir.write(QStringLiteral("Tessarine.new"), "stale");
    WriteSetting(QStringLiteral("b"), QStringLiteral("2"), kSection);
    EXPECT_EQ(dat(), QByteArray("\"a\",\"1\"\r\n\"b\",\"2\"\r\n"));
    EXPECT_FALSE(dir.exists(QStringLiteral("Tessarine.new")));
}

TEST_F(SettingsTest, ValuesRoundTrip)
{
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("blanks"), QStringLiteral("  padded  ")},
        {QStringLiteral("CustomType"), QStringLiteral("甲級\r\n乙級\r\n丙級")},
        {QStringLiteral("quote"), QStringLiteral("say \"hi\", \"\"twice\"\"")},
        {QStringLiteral("comma"), QStringLiteral("a,b")},
        {QStringLiteral("empty"), QString()},
        {QStringLiteral("顯示報告列"), QStringLiteral("2235")},
    };
    for (const auto& [key, value] : cases)
        WriteSetting(key, value, kSection);
    for (const auto& [key, value] : cases)
        EXPECT_EQ(ReadSetting(key, kSection), vb::Trim(value)) << key.toStdString();
    EXPECT_TRUE(dat().contains("\"blanks\",\"  padded  \"\r\n")) << "stored unchanged";
    // A rewrite of another key keeps them all.
    WriteSetting(QStringLiteral("blanks"), QStringLiteral("x"), kSection);
    for (const auto& [key, value] : cases) {
        if (key != QStringLiteral("blanks"))
            EXPECT_EQ(ReadSetting(key, kSection), vb::Trim(value)) << key.toStdString();
    }
}

TEST_F(SettingsTest, CodePage950FileIsRewrittenAsUtf8)
{
    dir.write(QStringLiteral("Tessarine.dat"), vb::ToCp950(QStringLiteral("\"CustomType\",\"甲級\"\r\n")));
    WriteSetting(QStringLiteral("LanguageID"), QStringLiteral("0"), kSection);
    EXPECT_EQ(dat(), QStringLiteral("\"CustomType\",\"甲級\"\r\n\"LanguageID\",\"0\"\r\n").toUtf8());
}

TEST_F(SettingsTest, FailedRenameKeepsOldFileAndAsksAbortRetryIgnore)
{
    const QByteArray old("\"LanguageID\",\"0\"\r\n");
    dir.write(QStringLiteral("Tessarine.dat"), old);
    int calls = 0;
    SetSettingsRenameForTest([&](const QString&, const QString&, QString* error) {
        ++calls;
        *error = QStringLiteral("disk full");
        return false;
    });
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Abort);
        WriteSetting(QStringLiteral("LanguageID"), QStringLiteral("10000"), kSection);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.last().text, QStringLiteral("disk full"));
        EXPECT_EQ(r.last().title, QStringLiteral("環境設定"));
        EXPECT_EQ(r.last().buttons, ui::Buttons::AbortRetryIgnore);
    }
    EXPECT_EQ(dat(), old);
    EXPECT_EQ(ReadSetting(QStringLiteral("LanguageID"), kSection), QStringLiteral("0"));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden).size(), 0)
        << "temporary file removed";

    // Retry after the cause has gone puts the new content in place.
    SetSettingsRenameForTest([&](const QString& from, const QString& to, QString* error) {
        if (++calls == 2) {
            *error = QStringLiteral("busy");
            return false;
        }
        return QFile::remove(to) && QFile::rename(from, to);
    });
    ScriptedResponder r;
    r.answer(ui::Answer::Retry);
    WriteSetting(QStringLiteral("LanguageID"), QStringLiteral("10000"), kSection);
    EXPECT_EQ(r.texts(), QStringList{QStringLiteral("busy")});
    EXPECT_EQ(ReadSetting(QStringLiteral("LanguageID"), kSection), QStringLiteral("10000"));
}

TEST_F(SettingsTest, MissingFolderReportsAndWritesNothing)
{
    ScriptedResponder r;
    r.answer(ui::Answer::Ignore);
    const QString missing = dir.file(QStringLiteral("no/such/folder"));
    WriteSetting(QStringLiteral("a"), QStringLiteral("1"), kSection, 2, missing);
    EXPECT_EQ(r.messages.size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(SettingsTest, LocationsAndFileNamesWithoutLetterCase)
{
    dataDir.write(QStringLiteral("UNITDATA.DAT"), "\"Unit\",\"個\r\n箱\"\r\n");
    EXPECT_EQ(ReadSetting(QStringLiteral("Unit"), QStringLiteral("Unitdata"), 2), QStringLiteral("個\r\n箱"));
    EXPECT_EQ(ReadSetting(QStringLiteral("Unit"), QStringLiteral("Unitdata"), 0), QString());
    WriteSetting(QStringLiteral("Unit"), QStringLiteral("件"), QStringLiteral("Unitdata"), 2);
    EXPECT_EQ(dataDir.read(QStringLiteral("UNITDATA.DAT")), QStringLiteral("\"Unit\",\"件\"\r\n").toUtf8());
    EXPECT_FALSE(dataDir.exists(QStringLiteral("Unitdata.dat")));
}

TEST_F(SettingsTest, FileExists)
{
    dir.write(QStringLiteral("Tessarine.mdb"), "x");
    dir.write(QStringLiteral(".hidden"), "x");
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    EXPECT_TRUE(FileExists(dir.file(QStringLiteral("Tessarine.mdb"))));
    EXPECT_TRUE(FileExists(dir.file(QStringLiteral("tessarine.MDB"))));
    EXPECT_FALSE(FileExists(dir.file(QStringLiteral("folder"))));
    EXPECT_FALSE(FileExists(dir.file(QStringLiteral(".hidden"))));
    EXPECT_FALSE(FileExists(dir.file(QStringLiteral("missing.mdb"))));
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_FALSE(FileExists(dir.file(QStringLiteral("no/such/Tessarine.mdb"))));
}

}  // namespace
