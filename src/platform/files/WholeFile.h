// Writing a file whole or not at all: the bytes go to a temporary file beside the target,
// which takes the target's name only once every byte is on disk.  A failure at any point
// removes the temporary and leaves an earlier file of that name as it was.  The system's error
// number of the first failure is kept, and turned into the VB runtime's file error numbers the
// messages show.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace files {

// The VB runtime's file error numbers.
inline constexpr long kDiskFull = 61;
inline constexpr long kPermissionDenied = 70;
inline constexpr long kPathFileAccessError = 75;
inline constexpr long kPathNotFound = 76;
inline constexpr long kDeviceIoError = 57;

// The VB file error number for a system error number (errno); 0 for 0.
long VbFileError(int errnum);
// What happened, in Chinese ("磁碟已滿"), and what the user can do about it.
QString VbFileErrorText(long number);
QString VbFileErrorAdvice(long number);
// "61: 磁碟已滿，檔案沒有寫完", a line break, then the file.
QString WriteFailureText(const QString& path, long number);

// A write-only device over the temporary file of `path`.  open() creates the temporary (in
// the target's folder, with the permissions a new file gets there, or those of the existing
// target); commit() puts it on disk and renames it over the target.  Destroyed without a
// successful commit() the temporary is removed.  A symbolic link is followed: its target is
// the file replaced.
class WholeFile : public QIODevice {
public:
    explicit WholeFile(const QString& path);
    ~WholeFile() override;
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    bool open(OpenMode mode) override;  // WriteOnly (Truncate implied); anything else fails
    bool commit();
    void cancel();  // removes the temporary; commit() then fails

    bool isSequential() const override { return false; }
    bool seek(qint64 pos) override;
    qint64 size() const override;

    QString fileName() const { return path_; }
    // errno of the first failure, 0 while there is none.
    int errorNumber() const { return errno_; }
    long vbError() const { return VbFileError(errno_); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool fail(int errnum);
    void discard();

    QString path_;    // as given
    QString target_;  // the file replaced: path_, its link followed
    QByteArray temp_;
    int fd_ = -1;
    int errno_ = 0;
};

// The whole of bytes into path.  False on failure, with errno in *errnum when given.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, int* errnum = nullptr);

}  // namespace files
