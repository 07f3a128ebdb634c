#include "platform/files/WholeFile.h"
#include "support/DiskFull.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using testsupport::DiskFull;
using testsupport::TempDir;

namespace {

QStringList Entries(const TempDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

TEST(WholeFile, ReplacesTheTargetWholeKeepingItsPermissions)
{
    TempDir dir;
    const QString target = dir.write(QStringLiteral("清單.pdf"), "the earlier file");
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    int errnum = -1;
    ASSERT_TRUE(files::WriteWholeFile(target, QByteArray(100000, 'x'), &errnum));
    EXPECT_EQ(errnum, 0);
    EXPECT_EQ(dir.read(QStringLiteral("清單.pdf")), QByteArray(100000, 'x'));
    EXPECT_EQ(QFile::permissions(target) & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("清單.pdf")});

    // A new file gets the permissions any new file gets; a link is followed to its file.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(files::WriteWholeFile(dir.file(QStringLiteral("new.txt")), "new"));
    ::umask(mask);
    EXPECT_EQ(QFileInfo(dir.file(QStringLiteral("new.txt"))).permissions() & 0x7077,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    ASSERT_TRUE(QFile::link(dir.file(QStringLiteral("new.txt")), dir.file(QStringLiteral("link.txt"))));
    ASSERT_TRUE(files::WriteWholeFile(dir.file(QStringLiteral("link.txt")), "through the link"));
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("link.txt"))).isSymLink());
    EXPECT_EQ(dir.read(QStringLiteral("new.txt")), "through the link");
}

// Each failure leaves no temporary behind and the earlier file as it was, and says which VB
// file error it is.
TEST(WholeFile, AFailureLeavesTheEarlierFileAndNamesTheError)
{
    TempDir dir;
    dir.write(QStringLiteral("plain"), "a file, not a folder");
    struct Case {
        const char* what;
        QString path;
        long vbError;
    } cases[] = {
        {"missing folder", dir.file(QStringLiteral("no/such/folder/x.pdf")), files::kPathNotFound},
        {"under a file", dir.file(QStringLiteral("plain/x.pdf")), files::kPathNotFound},
        {"read-only folder", QStringLiteral("/sys/x.pdf"), files::kPermissionDenied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int errnum = 0;
        EXPECT_FALSE(files::WriteWholeFile(c.path, "bytes", &errnum));
        EXPECT_EQ(files::VbFileError(errnum), c.vbError) << errnum;
        EXPECT_FALSE(QFileInfo::exists(c.path));
    }
    EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("plain")});

    const QString target = dir.write(QStringLiteral("full.pdf"), "the earlier file");
    {
        DiskFull full(4096);
        files::WholeFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(QByteArray(3000, 'a')), 3000);
        EXPECT_EQ(file.write(QByteArray(3000, 'b')), -1);
        EXPECT_EQ(file.write(QByteArray(10, 'c')), -1);  // nothing more after the first failure
        EXPECT_FALSE(file.commit());
        EXPECT_EQ(file.vbError(), files::kDiskFull);
    }
    EXPECT_EQ(dir.read(QStringLiteral("full.pdf")), "the earlier file");
    EXPECT_EQ(Entries(dir), (QStringList{QStringLiteral("full.pdf"), QStringLiteral("plain")}));

    // Destroyed without commit: the temporary goes, the target stays.
    {
        files::WholeFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("half");
    }
    EXPECT_EQ(dir.read(QStringLiteral("full.pdf")), "the earlier file");
    EXPECT_EQ(Entries(dir).size(), 2);
}

TEST(WholeFile, SystemErrorsAsVbFileErrors)
{
    const std::pair<int, long> cases[] = {
        {0, 0},           {ENOSPC, 61}, {EFBIG, 61}, {EDQUOT, 61}, {EACCES, 70}, {EPERM, 70},
        {EROFS, 70},      {ENOENT, 76}, {ENOTDIR, 76}, {EIO, 57},  {EISDIR, 75}, {ENAMETOOLONG, 75},
    };
    for (const auto& [errnum, number] : cases) {
        EXPECT_EQ(files::VbFileError(errnum), number) << errnum;
        if (number != 0) {
            EXPECT_FALSE(files::VbFileErrorText(number).isEmpty());
            EXPECT_FALSE(files::VbFileErrorAdvice(number).isEmpty());
        }
    }
}
