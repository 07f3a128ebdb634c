#include "shell/Backup.h"

#include "core/Globals.h"
#include "core/Paths.h"
#include "platform/text/VbText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <cstdio>
#include <sqlite3.h>
#include <sys/stat.h>

namespace backup {

const QString kBackupFileName = QStringLiteral("tessarine.mdb");

QString BackupFolder(const QString& typed)
{
    QString f = vb::Trim(typed);
    f.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (f.isEmpty() || f.compare(QLatin1String("c:/"), Qt::CaseInsensitive) == 0
        || f.compare(QLatin1String("c:"), Qt::CaseInsensitive) == 0)
        f = QDir::homePath();
    return FolderText(f);
}

QString BackupTarget(const QString& folder)
{
    return ResolveFileNoCase(folder, kBackupFileName);
}

bool BackupExists(const QString& folder)
{
    return !FindFileNoCase(folder, kBackupFileName).isEmpty();
}

namespace {

struct Handle {
    sqlite3* db = nullptr;
    ~Handle() { if (db) sqlite3_close_v2(db); }
};

// What a user reads for an engine result code; the engine's own English goes to the log.
QString EngineText(int rc, sqlite3* db)
{
    if (db)
        qWarning("backup: %s", sqlite3_errmsg(db));
    switch (rc & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("磁碟已滿，請清出空間或選擇其他資料夾。");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("資料庫檔案已經損壞，無法備份，請用以前的備份還原。");
    case SQLITE_IOERR:
        return QStringLiteral("讀寫磁碟時發生錯誤，請檢查磁碟後再試一次。");
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
        return QStringLiteral("無法開啟檔案，請確認檔案存在而且可以讀寫。");
    default:
        return QStringLiteral("無法完成備份（錯誤代號: %1），請稍後再試一次。").arg(rc);
    }
}

[[noreturn]] void Fail(sqlite3* db, int rc, const QString& what)
{
    throw BackupFailed((what + QStringLiteral(": ") + EngineText(rc, db)).toStdString());
}

}  // namespace

BackupFailed FolderRefused(const QString& text)
{
    BackupFailed e(text.toStdString());
    e.folderRefused = true;
    return e;
}

bool SameFile(const QString& a, const QString& b)
{
    struct stat sa {}, sb {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0
           && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void RemoveLeftovers(const QString& target)
{
    const QFileInfo t(target);
    const QString prefix = t.fileName() + QStringLiteral(".part");
    const QDir dir = t.absoluteDir();
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name.startsWith(prefix, Qt::CaseInsensitive) || name.startsWith(kBackupFileName + QStringLiteral(".part"), Qt::CaseInsensitive))
            QFile::remove(dir.filePath(name));
}

void CopyDatabase(const QString& source, const QString& target, const CopyOptions& options)
{
    if (!QFileInfo(source).isFile())
        throw BackupFailed(QStringLiteral("%1: 找不到檔案").arg(source).toStdString());
    const QFileInfo targetInfo(target);
    if (!targetInfo.absoluteDir().exists())
        throw FolderRefused(QStringLiteral("%1: 路徑不存在").arg(targetInfo.absolutePath()));
    // The database itself, under whatever name or link: replacing it would take the open
    // database away from under the program.
    if (SameFile(source, target))
        throw FolderRefused(QStringLiteral("%1: 這就是資料庫檔案本身，不能備份到它上面，請選擇其他資料夾。").arg(target));

    // What a backup that was killed left behind.
    RemoveLeftovers(target);
    const QString partial = target + QStringLiteral(".part");

    {
        Handle src, dst;
        if (const int rc = sqlite3_open_v2(QFile::encodeName(source).constData(), &src.db, SQLITE_OPEN_READONLY, nullptr);
            rc != SQLITE_OK)
            Fail(src.db, rc, source);
        // A lock held by another program is waited out here, with the caller kept informed,
        // not inside SQLite.
        sqlite3_busy_timeout(src.db, 0);
        if (sqlite3_open_v2(QFile::encodeName(partial).constData(), &dst.db,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
            if (dst.db)
                qWarning("backup: %s", sqlite3_errmsg(dst.db));
            QFile::remove(partial);
            throw FolderRefused(QStringLiteral("%1: 無法在這個資料夾寫入檔案，請選擇其他資料夾。").arg(targetInfo.absolutePath()));
        }
        sqlite3_exec(dst.db, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr);
        sqlite3_backup* b = nullptr;
        auto giveUp = [&](const QString& msg, bool cancelled = false) {
            if (b)
                sqlite3_backup_finish(b);
            b = nullptr;
            sqlite3_close_v2(dst.db);
            dst.db = nullptr;
            RemoveLeftovers(target);
            if (cancelled)
                throw BackupCancelled(msg.toStdString());
            throw BackupFailed(msg.toStdString());
        };
        b = sqlite3_backup_init(dst.db, "main", src.db, "main");
        if (!b)
            giveUp(EngineText(sqlite3_errcode(dst.db), dst.db));
        QElapsedTimer busySince;
        int rc;
        for (;;) {
            rc = sqlite3_backup_step(b, options.pagesPerStep);
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
                if (!busySince.isValid())
                    busySince.start();
                if (busySince.elapsed() >= options.lockWaitMs)
                    giveUp(QStringLiteral("%1: 資料庫正被其他程式寫入，等候 %2 秒後仍未釋放，請稍後再試。")
                               .arg(source)
                               .arg(options.lockWaitMs / 1000.0));
                sqlite3_sleep(20);
            } else if (rc == SQLITE_OK) {
                busySince.invalidate();
            } else {
                break;
            }
            const int total = sqlite3_backup_pagecount(b);
            if (options.progress && !options.progress(total - sqlite3_backup_remaining(b), total))
                giveUp(QStringLiteral("備份已取消"), true);
        }
        sqlite3_backup_finish(b);
        b = nullptr;
        if (rc != SQLITE_DONE)
            giveUp(EngineText(rc, nullptr));
        if (sqlite3_close(dst.db) != SQLITE_OK)
            giveUp(QStringLiteral("%1: 無法關閉").arg(partial));
        dst.db = nullptr;
    }
    // The copy is complete: put it in place in one step.
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(partial);
        throw FolderRefused(QStringLiteral("%1: 無法寫入").arg(target));
    }
}

QString FormatBackupDate(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

std::optional<QDate> ParseBackupDate(const QString& text)
{
    const QString t = vb::Trim(text);
    if (t.isEmpty())
        return std::nullopt;
    const QString first = t.section(QLatin1Char(' '), 0, 0);
    for (const char* pattern : {"yyyy/M/d", "yyyy-M-d"}) {
        const QDate d = QDate::fromString(first, QLatin1String(pattern));
        if (d.isValid())
            return d;
    }
    return std::nullopt;
}

std::optional<QString> ReminderQuestion(const QString& backupDate, const QString& backDate,
                                        bool copyExists, const QDate& today)
{
    if (!copyExists || vb::Trim(backupDate).isEmpty())
        return LoadResString(168) + QStringLiteral("\n\r") + LoadResString(171);
    long interval = static_cast<long>(vb::Val(vb::Trim(backDate)));
    if (interval == 0)
        interval = 2;
    const std::optional<QDate> last = ParseBackupDate(backupDate);
    if (!last)
        return LoadResString(169) + QStringLiteral("0") + LoadResString(170);
    const qint64 days = last->daysTo(today);
    if (days > interval)
        return LoadResString(169) + QString::number(days) + LoadResString(170);
    return std::nullopt;
}

}  // namespace backup
