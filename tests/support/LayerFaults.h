// The faults of the database layer a save meets on a shared data folder, put in place on a real
// database file, and the check of what the user then reads: a Chinese text that says what
// happened and what to do, with the Jet number, ending with what the save did not do.
//
//     for (const SaveFault& fault : SaveFaults()) {
//         ... open the window, start a change ...
//         const FaultInPlace held(fault, path, "UPDATE RV12 SET RV121 = '他的'");
//         ... 存檔 ...
//         ExpectChineseFailure(user.last(), fault, "資料並未存檔。");
//     }
#pragma once

#include "platform/ui/Ui.h"
#include "support/OtherProgram.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace testsupport {

struct SaveFault {
    enum Kind {
        ChangedElsewhere,  // another computer changed the row since it was read
        Locked,            // another program holds the whole file in its own write
        Damaged,           // the file was damaged under the open program (keep it last)
    } kind;
    const char* name;
    std::vector<long> numbers;  // the Jet numbers the user may be shown
};

inline const std::vector<SaveFault>& SaveFaults()
{
    static const std::vector<SaveFault> faults = {
        {SaveFault::ChangedElsewhere, "changed elsewhere", {3197}},
        {SaveFault::Locked, "locked", {3260}},
        {SaveFault::Damaged, "damaged file", {3049, 3343}},
    };
    return faults;
}

// Damages a database file the way a broken disk or a cut network copy does: every page after
// the first overwritten, and the file's change counter moved on so that a connection holding
// it open reads it again.
inline void DamageDatabaseFile(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray header = f.read(100);
    ASSERT_EQ(header.size(), 100);
    int pageSize = (uchar(header[16]) << 8) | uchar(header[17]);
    if (pageSize == 1)
        pageSize = 65536;
    const qint64 size = f.size();
    ASSERT_GT(size, pageSize);
    f.seek(pageSize);
    f.write(QByteArray(int(size - pageSize), char(0x5a)));
    header[27] = char(uchar(header[27]) + 1);
    f.seek(0);
    f.write(header);
    f.close();
}

// Holds the fault in place while it lives.  `change` is the statement another computer runs on
// the row the window has open (for ChangedElsewhere).
class FaultInPlace {
public:
    FaultInPlace(const SaveFault& fault, const QString& path, const QByteArray& change)
    {
        switch (fault.kind) {
        case SaveFault::ChangedElsewhere: {
            OtherProgram other(path, change);
            EXPECT_TRUE(other.holding());
            break;
        }
        case SaveFault::Locked:
            holder_ = std::make_unique<OtherProgram>(path, "BEGIN EXCLUSIVE;");
            EXPECT_TRUE(holder_->holding());
            break;
        case SaveFault::Damaged:
            DamageDatabaseFile(path);
            break;
        }
    }
    void letGo() { holder_.reset(); }

private:
    std::unique_ptr<OtherProgram> holder_;
};

// Three Latin words in a row: an English sentence, not a name, a path or a number.
inline bool HasEnglishSentence(const QString& text)
{
    static const QRegularExpression words(QStringLiteral("[A-Za-z]+[,;:]?\\s+[A-Za-z]+[,;:]?\\s+[A-Za-z]+"));
    return text.contains(words);
}

inline bool HasChinese(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff)
            return true;
    return false;
}

// What the user read after the fault: Chinese, no English sentence (text or title), one of the
// fault's Jet numbers, and ending with `ending`.
inline void ExpectChineseFailure(const ui::MessageCall& m, const SaveFault& fault, const QString& ending)
{
    SCOPED_TRACE(fault.name);
    EXPECT_TRUE(HasChinese(m.text)) << m.text.toStdString();
    EXPECT_FALSE(HasEnglishSentence(m.text)) << m.text.toStdString();
    EXPECT_FALSE(HasEnglishSentence(m.title)) << m.title.toStdString();
    bool numbered = false;
    for (long n : fault.numbers)
        numbered = numbered || m.text.contains(QString::number(n)) || m.title.contains(QString::number(n));
    EXPECT_TRUE(numbered) << m.text.toStdString() << " / " << m.title.toStdString();
    EXPECT_TRUE(m.text.endsWith(ending)) << m.text.toStdString();
}

}  // namespace testsupport
