// Another program (the sqlite3 shell) holding a database file from its own transaction until it
// is let go: what a second computer on a shared data folder does to this one.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

namespace testsupport {

class OtherProgram {
public:
    // Runs `hold` (e.g. "BEGIN EXCLUSIVE; INSERT ...;") and waits until it has run.
    OtherProgram(const QString& path, const QByteArray& hold)
    {
        shell_.start(QStringLiteral("sqlite3"), {path});
        shell_.waitForStarted();
        shell_.write(hold + "\nSELECT 'held';\n");
        QByteArray out;
        while (!out.contains("held") && shell_.waitForReadyRead(5000))
            out += shell_.readAll();
        holding_ = out.contains("held");
    }
    ~OtherProgram() { letGo(); }
    bool holding() const { return holding_; }
    void letGo()
    {
        if (shell_.state() == QProcess::NotRunning)
            return;
        shell_.write("ROLLBACK;\n.quit\n");
        shell_.closeWriteChannel();
        shell_.waitForFinished(5000);
    }

private:
    QProcess shell_;
    bool holding_ = false;
};

}  // namespace testsupport
