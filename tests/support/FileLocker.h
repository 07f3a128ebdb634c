// Another program holding a database file locked, as a second computer on a shared data folder
// does in the middle of its own write: the sqlite3 shell in a transaction of its own, ended (and
// the shell closed) by Release or at the end of the scope.
//
//     testsupport::FileLocker lock(path, testsupport::FileLocker::kWholeFile);
//     ... a save here meets the lock ...
//     lock.Release();
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace testsupport {

class FileLocker {
public:
    enum Hold {
        kWriting,    // a write under way: others still read, none writes
        kWholeFile,  // a commit under way: others neither read nor write
    };
    FileLocker(const QString& path, Hold hold)
    {
        shell_.start(QStringLiteral("sqlite3"), {path});
        EXPECT_TRUE(shell_.waitForStarted(5000)) << "the sqlite3 shell does not start";
        shell_.write(hold == kWholeFile ? "BEGIN EXCLUSIVE;\n" : "BEGIN IMMEDIATE;\n");
        shell_.write("SELECT 'held';\n");
        QByteArray out;
        while (!out.contains("held") && shell_.waitForReadyRead(5000))
            out += shell_.readAllStandardOutput();
        EXPECT_TRUE(out.contains("held")) << "the sqlite3 shell holds no lock: " << out.constData();
    }
    ~FileLocker() { Release(); }
    FileLocker(const FileLocker&) = delete;
    FileLocker& operator=(const FileLocker&) = delete;

    void Release()
    {
        if (shell_.state() == QProcess::NotRunning)
            return;
        shell_.write("ROLLBACK;\n.quit\n");
        shell_.closeWriteChannel();
        if (!shell_.waitForFinished(5000))
            shell_.kill();
        shell_.waitForFinished(5000);
    }

private:
    QProcess shell_;
};

}  // namespace testsupport
