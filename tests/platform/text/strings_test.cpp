#include "platform/strings/Strings.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

using strings::LoadResString;

TEST(StringTable, TraditionalAndGeneratedSimplifiedHalves)
{
    EXPECT_EQ(LoadResString(132), QStringLiteral("客戶資料管理"));
    EXPECT_EQ(LoadResString(10132), QStringLiteral("客户资料管理"));
    EXPECT_TRUE(strings::HasResString(10132));
    EXPECT_EQ(strings::Caption(132), LoadResString(132));

    // Every Traditional line has its Simplified twin at id + 10000.
    QFile tw(QStringLiteral(":/strings/zh_TW.tsv"));
    ASSERT_TRUE(tw.open(QIODevice::ReadOnly));
    int lines = 0;
    for (const QByteArray& line : tw.readAll().split('\n')) {
        const int tab = line.indexOf('\t');
        if (tab <= 0)
            continue;
        const int id = line.left(tab).toInt();
        EXPECT_TRUE(strings::HasResString(id + 10000)) << id;
        ++lines;
    }
    EXPECT_GT(lines, 0);
}

TEST(StringTable, MissingIdIsAnErrorNotAnEmptyText)
{
    const int missing = 9999;
    ASSERT_FALSE(strings::HasResString(missing));
    try {
        LoadResString(missing);
        FAIL() << "no error for a missing id";
    } catch (const strings::ResourceNotFound& e) {
        EXPECT_EQ(e.id, missing);
    }
    EXPECT_EQ(strings::Caption(missing), QString());
}

// The conversion the build runs over the table, checked on words a regional conversion would
// reword (新增 to 添加, 存檔 to 存盘 ...): the Simplified half changes characters only, and the
// system's own Simplified texts stand.
TEST(StringTable, SimplifiedConversionChangesCharactersOnly)
{
    QFile samples(QStringLiteral(TESS_SOURCE_DIR "/tests/platform/text/opencc_samples.tsv"));
    ASSERT_TRUE(samples.open(QIODevice::ReadOnly));
    QStringList traditional, expected;
    for (const QByteArray& line : samples.readAll().split('\n')) {
        const QList<QByteArray> cols = line.split('\t');
        if (cols.size() == 2) {
            traditional << QString::fromUtf8(cols[0]);
            expected << QString::fromUtf8(cols[1]);
        }
    }
    ASSERT_FALSE(traditional.isEmpty());

    QProcess opencc;
    opencc.start(QStringLiteral("opencc"), {QStringLiteral("-c"), QStringLiteral(TESS_SOURCE_DIR "/resources/opencc/tw2s.json")});
    ASSERT_TRUE(opencc.waitForStarted()) << "opencc is not installed";
    opencc.write(traditional.join(u'\n').toUtf8() + '\n');
    opencc.closeWriteChannel();
    ASSERT_TRUE(opencc.waitForFinished(30000));
    const QStringList got = QString::fromUtf8(opencc.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(got.size(), expected.size());
    for (qsizetype i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i], expected[i]) << traditional[i].toStdString();

    // The table built into the program.
    const std::pair<int, const char*> built[] = {
        {271, "新增(&N)"}, {275, "存档(&S)"}, {283, "联络人"}, {141, "报表列印"}, {146, "资料库备份"},
        {164, "软体开发部首页"}, {126, "档案(&F)"}, {167, "使用者"},
        {751, "厂商资料查询"}, {732, "确定(&Y)"}, {733, "取消(&C)"},
    };
    for (const auto& [id, text] : built)
        EXPECT_EQ(LoadResString(id + 10000), QString::fromUtf8(text)) << id;
}
