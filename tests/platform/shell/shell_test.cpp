#include "platform/shell/Shell.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSysInfo>
#include <QThread>
#include <gtest/gtest.h>

using shellsvc::ShellCall;

TEST(Shell, RecorderCapturesInsteadOfOpening)
{
    shellsvc::Recorder rec;
    EXPECT_TRUE(shellsvc::OpenUrl(QStringLiteral("http://www.example.com.tw")));
    EXPECT_TRUE(shellsvc::OpenUrl(QStringLiteral("mailto:a@b.tw")));
    EXPECT_TRUE(shellsvc::OpenFile(QStringLiteral("/data/UserManu/index.html")));
    rec.result = false;
    EXPECT_FALSE(shellsvc::StartDetached(QStringLiteral("/opt/tess/UPDATE.EXE"), {QStringLiteral("S")},
                                         QStringLiteral("/opt/tess/")));
    ASSERT_EQ(rec.calls.size(), 4u);
    EXPECT_EQ(rec.calls[0].kind, ShellCall::Url);
    EXPECT_EQ(rec.calls[1].target, QStringLiteral("mailto:a@b.tw"));
    EXPECT_EQ(rec.calls[2].kind, ShellCall::File);
    EXPECT_EQ(rec.calls[3].kind, ShellCall::Process);
    EXPECT_EQ(rec.calls[3].target, QStringLiteral("/opt/tess/UPDATE.EXE"));
    EXPECT_EQ(rec.calls[3].args, QStringList{QStringLiteral("S")});
    EXPECT_EQ(rec.calls[3].workingDir, QStringLiteral("/opt/tess/"));
}

TEST(Shell, StartsADetachedProcessWithArgumentsInItsFolder)
{
    testsupport::TempDir dir;
    ASSERT_TRUE(shellsvc::StartDetached(QStringLiteral("/bin/sh"),
                                        {QStringLiteral("-c"), QStringLiteral("printf '%s|%s' \"$(pwd)\" \"$1\" > out.tmp && mv out.tmp out.txt"),
                                         QStringLiteral("sh"), QStringLiteral("引數 with blank")},
                                        dir.path()));
    QElapsedTimer t;
    t.start();
    while (!dir.exists(QStringLiteral("out.txt")) && t.elapsed() < 10000)
        QThread::msleep(20);
    const QString expected = QFileInfo(dir.path()).canonicalFilePath() + QStringLiteral("|引數 with blank");
    EXPECT_EQ(QString::fromUtf8(dir.read(QStringLiteral("out.txt"))), expected);
    EXPECT_FALSE(shellsvc::StartDetached(dir.file(QStringLiteral("no-such-program"))));
    EXPECT_FALSE(shellsvc::OpenFile(dir.file(QStringLiteral("missing.html"))));
}

TEST(Shell, ComputerAndLoginNames)
{
    const QString name = shellsvc::ComputerName();
    EXPECT_FALSE(name.isEmpty());
    EXPECT_FALSE(name.contains(u'.'));
    EXPECT_TRUE(QSysInfo::machineHostName().startsWith(name));
    EXPECT_FALSE(shellsvc::LoginName().isEmpty());
}

// A machine without a web browser: the address is not handed over, and the caller hears so.
TEST(Shell, AWebAddressNoBrowserTakesIsReported)
{
    testsupport::TempDir empty;
    const QByteArray path = qgetenv("PATH");
    const QByteArray browser = qgetenv("BROWSER");
    qputenv("PATH", empty.path().toUtf8());
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");
    EXPECT_FALSE(shellsvc::OpenUrl(QStringLiteral("http://www.example.com.tw/")));
    qputenv("PATH", path);
    if (!browser.isNull())
        qputenv("BROWSER", browser);
}
