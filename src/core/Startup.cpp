#include "core/Startup.h"

#include "core/AboutBox.h"
#include "core/ErrorText.h"
#include "core/Globals.h"
#include "core/Paths.h"
#include "core/SettingKeys.h"
#include "core/Settings.h"
#include "platform/db/Db.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QProcess>
#include <QSysInfo>
#include <QWidget>
#include <memory>
#include <pwd.h>
#include <unistd.h>

namespace {

std::unique_ptr<QLockFile> gLock;
std::function<bool(const QString&, const QStringList&)> gStartProcess;

const QString kDatabaseName = QStringLiteral("Tessarine.mdb");
const QString kBaseTablesScript = QStringLiteral(":/schema/base_tables.sql");

QString baseTablesScript()
{
    QFile f(kBaseTablesScript);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// Shows the error of an unusable database file and ends the process.
void reportAndEnd(const QString& text)
{
    ui::MsgBox(text, ui::Buttons::OK, ui::Icon::Critical);
    ui::EndProcess(1);
}

// Opens gConn on the data folder's database file.  A missing file is created with the base
// tables first; an existing file that cannot be opened is reported and left untouched.
bool openDatabase()
{
    QString path = FindFileNoCase(gDataPath, kDatabaseName);
    // An empty file (a copy or a creation that never got further) holds no database: it is
    // made anew as a missing one is.
    if (!path.isEmpty() && QFileInfo(path).size() == 0) {
        if (!QFile::remove(path)) {
            reportAndEnd(QStringLiteral("%1: 檔案是空的，也無法重新建立。").arg(path));
            return false;
        }
        path.clear();
    }
    if (path.isEmpty()) {
        // A data folder that is not there yet (a new installation, a folder removed) is made;
        // one that cannot be made is named.
        if (!QFileInfo(gDataPath).isDir() && !QDir().mkpath(gDataPath)) {
            reportAndEnd(LoadResString(2416).arg(QDir::toNativeSeparators(gDataPath)));
            return false;
        }
        path = JoinPath(gDataPath, kDatabaseName);
        const bool taken = QFileInfo::exists(path);  // a folder of that name, say: never removed
        try {
            db::Connection::CreateDatabase(path, baseTablesScript());
        } catch (const std::exception& e) {
            if (!taken)
                QFile::remove(path);  // only what we have just begun to write
            reportAndEnd(ErrorText(e));
            return false;
        }
    }
    gDatabaseFile = path;
    if (gConn.IsOpen())
        gConn.Close();
    try {
        gConn.Open(db::ConnectionText(path));
        gConn.TableNames();  // reads the file's catalogue: a damaged file fails here, not later
    } catch (const std::exception& e) {
        if (gConn.IsOpen())
            gConn.Close();
        reportAndEnd(ErrorText(e));
        return false;
    }
    return true;
}

void runPass(const std::function<void()>& pass)
{
    if (!pass)
        return;
    try {
        pass();
    } catch (const std::exception& e) {
        // The passes report their own failures; anything escaping them is shown and start-up goes on.
        ui::MsgBox(ErrorText(e), ui::Buttons::OK, ui::Icon::Critical);
    }
}

}  // namespace

QString DataFolderFor(const QString& appPath, const QString& programFolder)
{
    QString folder = vb::Trim(appPath);
    if (folder.isEmpty())
        folder = programFolder;
    folder = FolderText(folder);
    if (!FindFileNoCase(folder, QStringLiteral("tessarine.mdb")).isEmpty())
        return folder;
    return FolderText(programFolder);
}

short LanguageOffsetFor(const QString& languageId)
{
    return vb::Val(languageId) == 0 ? 0 : 10000;
}

void GetWindowsInfo()
{
    gComputerName = QSysInfo::machineHostName();
    QString user;
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name)
        user = QString::fromLocal8Bit(pw->pw_name);
    if (user.isEmpty())
        user = qEnvironmentVariable("USER", qEnvironmentVariable("LOGNAME"));
    gWinUserName = user;
}

QString SingleCopyLockPath(const QString& programFolder)
{
    const QString folder = FolderText(programFolder);
    const QFileInfo info(folder);
    if (info.isDir() && info.isWritable())
        return JoinPath(folder, QStringLiteral(".tessarine.lock"));
    // A program folder no user may write in (one installation for everybody): the lock goes
    // into the user's own runtime folder, named after the program folder.
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    const QByteArray key = QCryptographicHash::hash(QDir::cleanPath(info.absoluteFilePath()).toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return JoinPath(base, QStringLiteral("tessarine-%1.lock").arg(QString::fromLatin1(key)));
}

bool AcquireSingleCopyLock(const QString& programFolder)
{
    ReleaseSingleCopyLock();
    const QString path = SingleCopyLockPath(programFolder);
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);  // a lock is stale only when its process has gone
    if (lock->tryLock(0)) {
        gLock = std::move(lock);
        return true;
    }
    if (lock->error() == QLockFile::LockFailedError)
        return false;
    // No lock could be made anywhere: the program starts, but not without saying so.
    ui::MsgBox(QStringLiteral("無法建立執行記號 %1，無法確認Tessarine是否已經在執行中。").arg(path), ui::Buttons::OK,
               ui::Icon::Exclamation);
    return true;
}

void ReleaseSingleCopyLock()
{
    if (gLock) {
        gLock->unlock();
        gLock.reset();
    }
}

bool StartSuccessorProcess(const QString& program, const QStringList& args)
{
    ReleaseSingleCopyLock();
    if (gStartProcess)
        return gStartProcess(program, args);
    return QProcess::startDetached(program, args);
}

bool SubMain(const StartupEnv& env, const StartupHooks& hooks)
{
    gStartProcess = env.startProcess;
    gProgramPath = FolderText(env.programFolder.isEmpty() ? DefaultProgramFolder() : env.programFolder);
    gCommandLine = env.arguments.join(QLatin1Char(' '));

    // 1. Single copy.
    if (!AcquireSingleCopyLock(gProgramPath)) {
        ui::MsgBox(QStringLiteral("Tessarine已經在執行中..."), ui::Buttons::OK, ui::Icon::None);
        ui::EndProcess(0);
        return false;
    }

    // 2. Data folder.
    gDataPath = DataFolderFor(ReadSetting(settings::App_path, settings::kMain, 0), gProgramPath);
    gDataPathCopy = gDataPath;

    // 3. Language.
    UseLanguage(LanguageOffsetFor(ReadSetting(settings::LanguageID, settings::kMain, 0)));

    // 4, 5. Computer and user names; gCrLf is fixed at compile time.
    GetWindowsInfo();

    // 6. The shared connection.
    if (!openDatabase())
        return false;

    // 7. Schema passes, writing their progress into the hidden about window.
    runPass(hooks.checkFileVer);
    runPass(hooks.checkFactoryTables);
    runPass(hooks.checkMemberTable);

    // 8.
    SetSplashMessage(QStringLiteral("載入系統中，請捎待..."));

    // 9. The main window, loaded hidden under the hourglass.
    QWidget* mainWindow = nullptr;
    {
        ui::WaitCursor wait;
        if (hooks.loadMainWindow)
            mainWindow = hooks.loadMainWindow();
    }

    // 10. The splash, modal; it closes itself five seconds after it was loaded.
    ShowSplashModal();

    // 11.
    gKeyinChinese = vb::Val(ReadSetting(settings::KeyinChinese, settings::kMain, 0)) != 0;

    // 12, 13. Self-update.
    if (hooks.finishSelfUpdate && !hooks.finishSelfUpdate())
        return false;
    if (hooks.installNewVersion && !hooks.installNewVersion())
        return false;

    // 14. The main window.
    if (mainWindow) {
        if (hooks.showMainWindow)
            hooks.showMainWindow(mainWindow);
        else
            mainWindow->show();
    }

    // 15.
    if (hooks.checkVersionReminder)
        hooks.checkVersionReminder();
    return true;
}
