#include "shell/Backup.h"

#include "core/Globals.h"
#include "core/Paths.h"
#include "platform/text/VbText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <sqlite3.h>

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

[[noreturn]] void Fail(sqlite3* db, const QString& what)
{
    QString text = what;
    if (db)
        text += QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db));
    throw BackupFailed(text.toStdString());
}

}  // namespace

void CopyDatabase(const QString& source, const QString& target)
{
    if (!QFileInfo(source).isFile())
        throw BackupFailed(QStringLiteral("%1: 找不到檔案").arg(source).toStdString());
    const QFileInfo targetInfo(target);
    if (!targetInfo.absoluteDir().exists())
        throw BackupFailed(QStringLiteral("%1: 路徑不存在").arg(targetInfo.absolutePath()).toStdString());

    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);

    {
        Handle src, dst;
        if (sqlite3_open_v2(QFile::encodeName(source).constData(), &src.db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            Fail(src.db, source);
        sqlite3_busy_timeout(src.db, 10000);
        if (sqlite3_open_v2(QFile::encodeName(partial).constData(), &dst.db,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
            const QString msg = dst.db ? QString::fromUtf8(sqlite3_errmsg(dst.db)) : QString();
            QFile::remove(partial);
            throw BackupFailed((partial + QStringLiteral(": ") + msg).toStdString());
        }
        auto giveUp = [&](const QString& msg) {
            sqlite3_close_v2(dst.db);
            dst.db = nullptr;
            QFile::remove(partial);
            throw BackupFailed(msg.toStdString());
        };
        sqlite3_backup* b = sqlite3_backup_init(dst.db, "main", src.db, "main");
        if (!b)
            giveUp(QString::fromUtf8(sqlite3_errmsg(dst.db)));
        int rc;
        do {
            rc = sqlite3_backup_step(b, -1);
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                sqlite3_sleep(50);
        } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
        sqlite3_backup_finish(b);
        if (rc != SQLITE_DONE)
            giveUp(QString::fromUtf8(sqlite3_errstr(rc)));
        if (sqlite3_close(dst.db) != SQLITE_OK)
            giveUp(QStringLiteral("%1: 無法關閉").arg(partial));
        dst.db = nullptr;
    }
    // The copy is complete: put it in place in one step.
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(partial);
        throw BackupFailed(QStringLiteral("%1: 無法寫入").arg(target).toStdString());
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
