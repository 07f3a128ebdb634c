#include "core/update/SelfUpdate.h"
#include "support/FakeBuild.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

using namespace update;
using testsupport::ScriptedResponder;
using testsupport::TempDir;

namespace {

const QByteArray kPrefix("@(#)Tessarine file version ");

// The bytes of an executable stand-in carrying the given version marker.
QByteArray Build(const char* version)
{
    return testsupport::FakeBuild(version);
}

bool IsExecutable(const QString& path)
{
    const auto p = QFileInfo(path).permissions();
    return (p & QFileDevice::ExeOwner) && (p & QFileDevice::ExeGroup) && (p & QFileDevice::ExeOther);
}

// A program folder and a data folder with a launcher and lock that only write down what happens.
struct HandOverFixture {
    TempDir program, data;
    QStringList log;
    std::vector<int> waits;
    SelfUpdateEnv env;

    HandOverFixture()
    {
        env.programFolder = program.path();
        env.dataFolder = data.path();
        env.programExecutable = program.file(QStringLiteral("tessarine"));
        env.start = [this](const QString& prog, const QStringList& args) {
            log << QStringLiteral("start ") + QFileInfo(prog).fileName() + QLatin1Char(' ') + args.join(QLatin1Char(' '));
            return true;
        };
        env.releaseSingleCopyLock = [this] { log << QStringLiteral("release lock"); };
        env.wait = [this](int ms) { waits.push_back(ms); };
    }
    QStringList programFiles() const
    {
        return QDir(program.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

}  // namespace

TEST(FileVersion, NewerOnlyWhenTheMarkerSaysSo)
{
    ASSERT_EQ(kOwnVersion, (FileVersion{2, 2, 146}));
    TempDir dir;
    const struct {
        const char* version;
        bool newer;
    } cases[] = {
        {"2.2.147", true},  {"2.2.146", false}, {"2.1.999", false}, {"2.3.0", true},
        {"3.0.0", true},    {"1.99.999", false}, {"2.2.1460", true},
    };
    for (const auto& c : cases) {
        const QString path = dir.write(QStringLiteral("TESSARINE.exe"), Build(c.version));
        EXPECT_EQ(IsNewerFileVersion(path), c.newer) << c.version;
    }
}

TEST(FileVersion, AFileWithoutAMarkerIsNotAnExecutable)
{
    TempDir dir;
    const QString plain = dir.write(QStringLiteral("plain.exe"), "MZ just some bytes " + kPrefix + "x.y");
    const QString cut = dir.write(QStringLiteral("cut.exe"), kPrefix + "2.2");
    // Not taken for a build either: a script or a web page carrying a marker, and a real build
    // cut short anywhere after its first bytes (a copy or a download that ended early).
    const QString script = dir.write(QStringLiteral("script.exe"), "#!/bin/sh\n# " + kPrefix + "9.9.9" + '\0' + "\nrm -rf ~\n");
    const QString page = dir.write(QStringLiteral("page.exe"), "<html>" + kPrefix + "9.9.9" + '\0' + "</html>");
    QFile self(QCoreApplication::applicationFilePath());
    ASSERT_TRUE(self.open(QIODevice::ReadOnly));
    const QByteArray whole = self.readAll();
    ASSERT_EQ(ReadFileVersion(self.fileName()), kOwnVersion);
    QStringList paths{plain, cut, script, page, dir.file(QStringLiteral("missing.exe"))};
    paths << dir.write(QStringLiteral("half.exe"), whole.left(whole.size() / 2));
    ASSERT_GT(whole.left(whole.size() - 1).indexOf(kPrefix), 0);  // the marker is still there
    paths << dir.write(QStringLiteral("short-by-one.exe"), whole.left(whole.size() - 1));
    for (const QString& path : paths) {
        SCOPED_TRACE(QFileInfo(path).fileName().toStdString());
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        EXPECT_FALSE(IsNewerFileVersion(path));
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.last().text, QStringLiteral("Not a 32-bit executable!"));
        EXPECT_EQ(r.last().buttons, ui::Buttons::OK);
    }
    EXPECT_FALSE(IsNewerFileVersion(QStringLiteral("   ")));  // no message
}

TEST(FileVersion, EveryBuildCarriesItsOwnVersion)
{
    EXPECT_EQ(ReadFileVersion(QCoreApplication::applicationFilePath()), kOwnVersion);
    // The build's project version says the same.
    QFile cmake(QStringLiteral(TESS_SOURCE_DIR "/CMakeLists.txt"));
    ASSERT_TRUE(cmake.open(QIODevice::ReadOnly));
    EXPECT_TRUE(cmake.readAll().contains("project(Tessarine VERSION " + VersionText().toLatin1() + ' '));
}

TEST(FileVersion, WordHalves)
{
    EXPECT_EQ(HiWordHex(0x00020003), 2);
    EXPECT_EQ(LoWordHex(0x00020003), 3);
    EXPECT_EQ(HiWordHex(0x7FFF0000), 0x7FFF);
    EXPECT_EQ(LoWordHex(0x00000092), 146);
}

TEST(InstallNewVersion, HandsANewerDroppedBuildToTheUpdater)
{
    HandOverFixture f;
    const QByteArray newer = Build("2.2.147");
    f.data.write(QStringLiteral("TESSARINE.exe"), newer);
    ScriptedResponder r;
    r.answer(ui::Answer::Yes);

    EXPECT_EQ(InstallNewVersion(f.env), Outcome::Ended);

    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.last().text, QStringLiteral("有新版本的程式,是否更新"));
    EXPECT_EQ(r.last().buttons, ui::Buttons::YesNo);
    EXPECT_EQ(f.log, (QStringList{QStringLiteral("release lock"), QStringLiteral("start UPDATE.EXE S")}));
    EXPECT_EQ(r.endCodes, std::vector<int>{0});
    EXPECT_EQ(f.program.read(QStringLiteral("UPDATE.EXE")), newer);
    EXPECT_TRUE(IsExecutable(f.program.file(QStringLiteral("UPDATE.EXE"))));
    EXPECT_EQ(f.programFiles(), QStringList{QStringLiteral("UPDATE.EXE")});  // no temporary left
}

TEST(InstallNewVersion, LeavesEverythingAloneOtherwise)
{
    const struct {
        const char* name;
        QByteArray drop;  // empty: nothing dropped
        bool asked;
        ui::Answer answer;
    } cases[] = {
        {"nothing dropped", {}, false, ui::Answer::No},
        {"same version", Build("2.2.146"), false, ui::Answer::No},
        {"older version", Build("2.1.999"), false, ui::Answer::No},
        {"user says no", Build("2.2.147"), true, ui::Answer::No},
    };
    for (const auto& c : cases) {
        HandOverFixture f;
        if (!c.drop.isEmpty())
            f.data.write(QStringLiteral("TESSARINE.exe"), c.drop);
        ScriptedResponder r;
        if (c.asked)
            r.answer(c.answer);
        EXPECT_EQ(InstallNewVersion(f.env), Outcome::GoOn) << c.name;
        EXPECT_EQ(r.messages.size(), c.asked ? 1u : 0u) << c.name;
        EXPECT_TRUE(f.log.isEmpty()) << c.name;
        EXPECT_TRUE(f.programFiles().isEmpty()) << c.name;
        EXPECT_TRUE(r.endCodes.empty()) << c.name;
    }
}

TEST(InstallNewVersion, FindsTheDroppedBuildWhateverItsLetterCase)
{
    HandOverFixture f;
    f.data.write(QStringLiteral("tessarine.EXE"), Build("2.2.147"));
    ScriptedResponder r;
    r.answer(ui::Answer::Yes);
    EXPECT_EQ(InstallNewVersion(f.env), Outcome::Ended);
    EXPECT_TRUE(f.program.exists(QStringLiteral("UPDATE.EXE")));
}

TEST(FinishSelfUpdate, TheUpdaterCopiesItselfOverTheProgramAndStartsIt)
{
    HandOverFixture f;
    const QByteArray newer = Build("2.2.147");
    f.program.write(QStringLiteral("tessarine"), Build("2.2.146"));
    f.program.write(QStringLiteral("UPDATE.EXE"), newer);
    f.env.commandLine = QStringLiteral("S");
    ScriptedResponder r;

    EXPECT_EQ(FinishSelfUpdate(f.env), Outcome::Ended);

    EXPECT_EQ(f.waits, std::vector<int>{3000});
    EXPECT_EQ(f.program.read(QStringLiteral("tessarine")), newer);
    EXPECT_TRUE(IsExecutable(f.program.file(QStringLiteral("tessarine"))));
    EXPECT_EQ(f.log, (QStringList{QStringLiteral("release lock"), QStringLiteral("start tessarine S1")}));
    EXPECT_EQ(r.endCodes, std::vector<int>{0});
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(f.programFiles(), (QStringList{QStringLiteral("UPDATE.EXE"), QStringLiteral("tessarine")}));
}

TEST(FinishSelfUpdate, TheNewProgramRemovesTheUpdater)
{
    HandOverFixture f;
    f.program.write(QStringLiteral("tessarine"), Build("2.2.147"));
    f.program.write(QStringLiteral("UPDATE.EXE"), Build("2.2.147"));
    f.env.commandLine = QStringLiteral("S1");
    f.env.runningVersion = FileVersion{2, 2, 147};
    ScriptedResponder r;
    r.answer(ui::Answer::OK);

    EXPECT_EQ(FinishSelfUpdate(f.env), Outcome::GoOn);

    EXPECT_EQ(f.waits, std::vector<int>{3000});
    EXPECT_EQ(f.programFiles(), QStringList{QStringLiteral("tessarine")});
    EXPECT_EQ(r.texts(), QStringList{QStringLiteral("更新完畢 !")});
    EXPECT_EQ(r.last().buttons, ui::Buttons::OK);
    EXPECT_TRUE(f.log.isEmpty());
    EXPECT_TRUE(r.endCodes.empty());
}

// "更新完畢 !" is said only when the program file in place is the build that is running.
TEST(FinishSelfUpdate, DoneOnlyWhenTheNewBuildIsTheOneInPlace)
{
    for (const QByteArray& inPlace : {Build("2.2.146"), QByteArray("#!/bin/sh\n")}) {
        HandOverFixture f;
        f.program.write(QStringLiteral("tessarine"), inPlace);
        f.env.commandLine = QStringLiteral("S1");
        f.env.runningVersion = FileVersion{2, 2, 147};
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        EXPECT_EQ(FinishSelfUpdate(f.env), Outcome::GoOn);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_TRUE(r.last().text.startsWith(QStringLiteral("更新未完成"))) << r.last().text.toStdString();
    }
}

// The updater puts nothing in the program's place that is not a whole build newer than it.
TEST(FinishSelfUpdate, TheUpdaterRefusesAReplacementThatIsNotNewer)
{
    const struct {
        const char* name;
        QByteArray updater;
    } cases[] = {
        {"same version", Build("2.2.147")},
        {"older version", Build("2.2.100")},
        {"a script", "#!/bin/sh\ntouch /tmp/owned\n"},
        {"a web page", "<html>@(#)Tessarine file version 9.9.9</html>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HandOverFixture f;
        const QByteArray old = Build("2.2.147");
        f.program.write(QStringLiteral("tessarine"), old);
        f.program.write(QStringLiteral("UPDATE.EXE"), c.updater);
        f.env.commandLine = QStringLiteral("S");
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        EXPECT_EQ(FinishSelfUpdate(f.env), Outcome::Ended);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_TRUE(r.last().text.contains(QStringLiteral("未安裝"))) << r.last().text.toStdString();
        EXPECT_EQ(r.endCodes, std::vector<int>{1});
        EXPECT_TRUE(f.log.isEmpty());  // nothing started
        EXPECT_EQ(f.program.read(QStringLiteral("tessarine")), old);
        EXPECT_EQ(f.programFiles(), (QStringList{QStringLiteral("UPDATE.EXE"), QStringLiteral("tessarine")}));
    }
}

TEST(FinishSelfUpdate, OnlyTheExactWordsCount)
{
    for (const char* line : {"", "s", "s1", "S2", " S", "S S1", "1/000123"}) {
        HandOverFixture f;
        f.program.write(QStringLiteral("UPDATE.EXE"), Build("2.2.147"));
        f.env.commandLine = QString::fromLatin1(line);
        ScriptedResponder r;
        EXPECT_EQ(FinishSelfUpdate(f.env), Outcome::GoOn) << line;
        EXPECT_TRUE(f.waits.empty()) << line;
        EXPECT_TRUE(f.program.exists(QStringLiteral("UPDATE.EXE"))) << line;
        EXPECT_TRUE(r.messages.empty()) << line;
    }
}

TEST(FinishSelfUpdate, AFailedCopyKeepsTheOldProgramAndEnds)
{
    HandOverFixture f;
    const QByteArray old = Build("2.2.146");
    f.program.write(QStringLiteral("tessarine"), old);  // no UPDATE.EXE to copy from
    f.env.commandLine = QStringLiteral("S");
    ScriptedResponder r;
    r.answer(ui::Answer::OK);

    EXPECT_EQ(FinishSelfUpdate(f.env), Outcome::Ended);

    EXPECT_EQ(r.messages.size(), 1u);
    EXPECT_TRUE(r.last().text.contains(QStringLiteral("UPDATE.EXE")));
    EXPECT_EQ(r.endCodes, std::vector<int>{1});
    EXPECT_TRUE(f.log.isEmpty());  // nothing started
    EXPECT_EQ(f.program.read(QStringLiteral("tessarine")), old);
    EXPECT_EQ(f.programFiles(), QStringList{QStringLiteral("tessarine")});
}

TEST(FinishSelfUpdate, AProgramThatCannotBeStartedIsReported)
{
    HandOverFixture f;
    f.program.write(QStringLiteral("UPDATE.EXE"), Build("2.2.147"));
    f.env.commandLine = QStringLiteral("S");
    f.env.start = [](const QString&, const QStringList&) { return false; };
    ScriptedResponder r;
    r.answer(ui::Answer::OK);
    EXPECT_EQ(FinishSelfUpdate(f.env), Outcome::Ended);
    EXPECT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.endCodes, std::vector<int>{1});
}

TEST(ProgramExecutable, TheUpdaterReplacesTheProgramBesideIt)
{
    EXPECT_EQ(ProgramExecutable(QStringLiteral("/opt/tess/UPDATE.EXE"), QStringLiteral("/opt/tess/")),
              QStringLiteral("/opt/tess/tessarine"));
    EXPECT_EQ(ProgramExecutable(QStringLiteral("/opt/tess/update.exe"), QStringLiteral("/opt/tess/")),
              QStringLiteral("/opt/tess/tessarine"));
    EXPECT_EQ(ProgramExecutable(QStringLiteral("/usr/bin/tessarine"), QStringLiteral("/home/u/tess/")),
              QStringLiteral("/usr/bin/tessarine"));
}

// ---- The whole hand-over with real processes ------------------------------------------------
//
// This test binary stands in for the program: copies of it run the step below as "UPDATE.EXE S"
// and "tessarine S1", writing what they show into a log file.

namespace {

const char kChainLog[] = "TESS_UPDATE_CHAIN_LOG";

class LogResponder : public ui::Responder {
public:
    explicit LogResponder(QString path) : path_(std::move(path)) {}
    ui::Answer onMessage(const ui::MessageCall& call) override
    {
        append(QStringLiteral("message ") + call.text);
        return ui::Answer::OK;
    }
    void onEndProcess(int code) override { append(QStringLiteral("end %1").arg(code)); }
    void append(const QString& line)
    {
        QFile f(path_);
        if (f.open(QIODevice::Append))
            f.write((line + QLatin1Char('\n')).toUtf8());
    }

private:
    QString path_;
};

QByteArray WithVersion(QByteArray binary, const FileVersion& from, const FileVersion& to)
{
    const QByteArray a = kPrefix + QByteArray::number(from.Major) + '.' + QByteArray::number(from.Minor) + '.'
                       + QByteArray::number(from.Revision) + '\0';
    const QByteArray b = kPrefix + QByteArray::number(to.Major) + '.' + QByteArray::number(to.Minor) + '.'
                       + QByteArray::number(to.Revision) + '\0';
    EXPECT_EQ(a.size(), b.size());
    EXPECT_TRUE(binary.contains(a));
    return binary.replace(a, b);
}

}  // namespace

TEST(SelfUpdateChain, DISABLED_Step)
{
    const QString logPath = qEnvironmentVariable(kChainLog);
    if (logPath.isEmpty())
        GTEST_SKIP();
    LogResponder log(logPath);
    ui::Responder* previous = ui::SetResponder(&log);
    SelfUpdateEnv env;
    env.commandLine = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
    env.programFolder = qEnvironmentVariable("TESSARINE_HOME");
    env.programExecutable = ProgramExecutable(QCoreApplication::applicationFilePath(), env.programFolder);
    // The copies carry the version their marker was given.
    env.runningVersion = ReadFileVersion(QCoreApplication::applicationFilePath()).value_or(kOwnVersion);
    log.append(QStringLiteral("run %1 %2").arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                                               env.commandLine));
    FinishSelfUpdate(env);
    ui::SetResponder(previous);
}

TEST(SelfUpdateChain, ThreeProcessesLeaveTheNewBuildInPlace)
{
    TempDir program, data;
    QFile self(QCoreApplication::applicationFilePath());
    ASSERT_TRUE(self.open(QIODevice::ReadOnly));
    const QByteArray current = self.readAll();
    const FileVersion next{kOwnVersion.Major, kOwnVersion.Minor, kOwnVersion.Revision + 1};
    const QString exe = program.write(QStringLiteral("tessarine"), current);
    QFile::setPermissions(exe, QFileInfo(exe).permissions() | QFileDevice::ExeOwner);
    data.write(QStringLiteral("TESSARINE.exe"), WithVersion(current, kOwnVersion, next));
    const QString logPath = data.file(QStringLiteral("chain.log"));

    SelfUpdateEnv env;
    env.programFolder = program.path();
    env.dataFolder = data.path();
    env.programExecutable = exe;
    env.start = [&](const QString& prog, const QStringList& args) {
        QProcess p;
        p.setProgram(prog);
        p.setArguments(args);
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QString::fromLatin1(kChainLog), logPath);
        e.insert(QStringLiteral("TESSARINE_HOME"), program.path());
        e.insert(QStringLiteral("GTEST_FILTER"), QStringLiteral("SelfUpdateChain.DISABLED_Step"));
        e.remove(QStringLiteral("GTEST_TOTAL_SHARDS"));  // the step runs in whichever share of the suite this is
        e.remove(QStringLiteral("GTEST_SHARD_INDEX"));
        e.insert(QStringLiteral("GTEST_ALSO_RUN_DISABLED_TESTS"), QStringLiteral("1"));
        p.setProcessEnvironment(e);
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setStandardErrorFile(QProcess::nullDevice());
        return p.startDetached();
    };
    ScriptedResponder r;
    r.answer(ui::Answer::Yes);
    ASSERT_EQ(InstallNewVersion(env), Outcome::Ended);
    EXPECT_EQ(r.texts(), QStringList{QStringLiteral("有新版本的程式,是否更新")});

    QElapsedTimer t;
    t.start();
    QStringList lines;
    while (t.elapsed() < 60000) {
        QFile f(logPath);
        if (f.open(QIODevice::ReadOnly))
            lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (lines.contains(QStringLiteral("message 更新完畢 !")))
            break;
        QThread::msleep(100);
    }
    // The updater's own end and its successor's start may come in either order.
    const QStringList expected{QStringLiteral("run UPDATE.EXE S"), QStringLiteral("end 0"),
                               QStringLiteral("run tessarine S1"), QStringLiteral("message 更新完畢 !")};
    EXPECT_EQ(lines.size(), 4)
        << lines.join(QLatin1Char('|')).toStdString();
    for (const QString& line : expected)
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();
    EXPECT_LT(lines.indexOf(expected[0]), lines.indexOf(expected[2]));
    EXPECT_LT(lines.indexOf(expected[2]), lines.indexOf(expected[3]));
    EXPECT_EQ(ReadFileVersion(exe), next);
    EXPECT_TRUE(IsExecutable(exe));
    EXPECT_FALSE(program.exists(QStringLiteral("UPDATE.EXE")));
}
