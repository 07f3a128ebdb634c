#include "platform/files/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

long VbFileError(int errnum)
{
    switch (errnum) {
    case 0:
        return 0;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return kDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return kPermissionDenied;
    case ENOENT:
    case ENOTDIR:
        return kPathNotFound;
    case EIO:
        return kDeviceIoError;
    default:
        return kPathFileAccessError;
    }
}

QString VbFileErrorText(long number)
{
    switch (number) {
    case kDiskFull:
        return QStringLiteral("磁碟已滿，檔案沒有寫完");
    case kPermissionDenied:
        return QStringLiteral("沒有寫入的權限（資料夾或磁碟是唯讀的）");
    case kPathNotFound:
        return QStringLiteral("找不到路徑");
    case kDeviceIoError:
        return QStringLiteral("裝置 I/O 錯誤");
    default:
        return QStringLiteral("路徑/檔案存取錯誤");
    }
}

QString VbFileErrorAdvice(long number)
{
    switch (number) {
    case kDiskFull:
        return QStringLiteral("請清出磁碟空間，或換一個磁碟或資料夾再試一次。");
    case kPermissionDenied:
        return QStringLiteral("請換一個可以寫入的資料夾再試一次。");
    case kPathNotFound:
        return QStringLiteral("請確認資料夾存在，或換一個資料夾再試一次。");
    case kDeviceIoError:
        return QStringLiteral("請檢查磁碟或隨身碟是否接好，再試一次。");
    default:
        return QStringLiteral("請換一個資料夾或檔名再試一次。");
    }
}

QString WriteFailureText(const QString& path, long number)
{
    return QStringLiteral("%1: %2\r\n%3").arg(number).arg(VbFileErrorText(number), path);
}

namespace {

// The permissions a new file gets: everyone may read and write, less the process's mask.
mode_t NewFileMode()
{
    // Read without changing it where the system tells it, so no other thread ever sees a
    // changed mask.
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            bool ok = false;
            const uint mask = line.startsWith("Umask:") ? line.mid(6).trimmed().toUInt(&ok, 8) : 0;
            if (ok)
                return 0666 & ~mode_t(mask);
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file a write to path replaces: links followed, even to a target not there yet.
QString ReplacedFile(const QString& path)
{
    QString file = QFileInfo(path).absoluteFilePath();
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo info(file);
        if (!info.isSymLink())
            break;
        file = info.symLinkTarget();
    }
    return file;
}

}  // namespace

WholeFile::WholeFile(const QString& path) : path_(path) {}

WholeFile::~WholeFile() { discard(); }

bool WholeFile::fail(int errnum)
{
    if (errno_ == 0)
        errno_ = errnum != 0 ? errnum : EIO;
    setErrorString(QString::fromLocal8Bit(std::strerror(errno_)));
    return false;
}

void WholeFile::discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.isEmpty()) {
        ::unlink(temp_.constData());
        temp_.clear();
    }
    if (isOpen())
        QIODevice::close();
}

bool WholeFile::open(OpenMode mode)
{
    if (isOpen() || (mode & ReadOnly) || (mode & Append) || !(mode & WriteOnly))
        return fail(EINVAL);
    target_ = ReplacedFile(path_);
    const QByteArray target = QFile::encodeName(target_);
    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && ::access(target.constData(), W_OK) != 0)
        return fail(errno);
    const QFileInfo info(target_);
    QByteArray name = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
    fd_ = ::mkstemp(name.data());
    if (fd_ < 0)
        return fail(errno);
    temp_ = name;
    if (::fchmod(fd_, exists ? (existing.st_mode & 07777) : NewFileMode()) != 0) {
        const int e = errno;
        discard();
        return fail(e);
    }
    return QIODevice::open(WriteOnly | Unbuffered);
}

qint64 WholeFile::readData(char*, qint64) { return -1; }

qint64 WholeFile::writeData(const char* data, qint64 size)
{
    if (fd_ < 0 || errno_ != 0)
        return -1;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, data + done, size_t(size - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
            return -1;
        }
        if (n == 0) {
            fail(ENOSPC);
            return -1;
        }
        done += n;
    }
    return done;
}

bool WholeFile::seek(qint64 pos)
{
    if (fd_ < 0 || ::lseek(fd_, off_t(pos), SEEK_SET) < 0)
        return false;
    return QIODevice::seek(pos);
}

qint64 WholeFile::size() const
{
    struct stat st {};
    return fd_ >= 0 && ::fstat(fd_, &st) == 0 ? qint64(st.st_size) : 0;
}

void WholeFile::cancel()
{
    discard();
    fail(ECANCELED);
}

bool WholeFile::commit()
{
    if (fd_ < 0 || errno_ != 0) {
        discard();
        return fail(errno_ != 0 ? errno_ : EBADF);
    }
    int e = 0;
    if (::fsync(fd_) != 0)
        e = errno;
    if (::close(fd_) != 0 && e == 0)
        e = errno;
    fd_ = -1;
    if (e == 0 && std::rename(temp_.constData(), QFile::encodeName(target_).constData()) != 0)
        e = errno;
    if (e != 0) {
        discard();
        return fail(e);
    }
    temp_.clear();
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(QFile::encodeName(QFileInfo(target_).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    QIODevice::close();
    return true;
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, int* errnum)
{
    WholeFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (errnum)
        *errnum = file.errorNumber();
    return ok;
}

}  // namespace files
