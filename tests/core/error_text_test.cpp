// What a user reads for an error of the database layer: in the user's language, saying what
// happened and what to do, with the Jet number; the English description never shows.
#include "core/ErrorText.h"
#include "core/Globals.h"
#include "support/LayerFaults.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(ErrorText, EveryLayerErrorInBothLanguagesWithItsNumber)
{
    struct Case {
        long number;
        QString english;
        QString subject;
        QString traditional;  // a part of the Traditional text
        QString simplified;   // the same part in Simplified mode
    };
    const Case cases[] = {
        {3197, "The Microsoft Jet database engine stopped the process because you and another user are attempting "
               "to change the same data at the same time.", {}, "請按「放棄」", "请按「放弃」"},
        {3260, "Could not update; currently locked. (database is locked)", {}, "請稍後再試", "请稍后再试"},
        {3049, "Cannot open database. (database disk image is malformed)", {}, "備份", "备份"},
        {3343, "Unrecognized database format. (file is not a database)", {}, "損壞", "损坏"},
        {3204, "Database '/srv/data/Tessarine.mdb' already exists.", "/srv/data/Tessarine.mdb",
         "/srv/data/Tessarine.mdb 已經存在", "/srv/data/Tessarine.mdb 已经存在"},
        {3051, "Cannot open the database file '/srv/x/Tessarine.mdb'. (unable to open database file)",
         "/srv/x/Tessarine.mdb", "資料夾", "资料夹"},
        {3024, "Could not find file '/srv/y.mdb'.", "/srv/y.mdb", "找不到檔案 /srv/y.mdb", "/srv/y.mdb"},
        {3421, "Data type conversion error. (abc)", "abc", "數字欄位輸入了文字", "文字"},
        {3022, "The changes you requested to the table were not successful because they would create duplicate "
               "values in the index.", {}, "已經存在", "已经存在"},
        {30021, "some engine text we never expected", {}, "錯誤代號", "错误代号"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        const db::DbError e(c.number, c.english, c.subject);
        for (short offset : {short(0), short(10000)}) {
            gLangOffset = offset;
            const QString text = ErrorText(e);
            EXPECT_TRUE(text.contains(offset ? c.simplified : c.traditional)) << text.toStdString();
            EXPECT_TRUE(text.contains(QString::number(c.number))) << text.toStdString();
            EXPECT_TRUE(testsupport::HasChinese(text)) << text.toStdString();
            EXPECT_FALSE(testsupport::HasEnglishSentence(text)) << text.toStdString();
        }
    }
    gLangOffset = 0;
    // Another error: its own text when it is already Chinese, else a general text.
    EXPECT_EQ(ErrorText(std::runtime_error("備份已取消")), QStringLiteral("備份已取消"));
    const QString general = ErrorText(std::runtime_error("std::bad_alloc happened somewhere"));
    EXPECT_TRUE(testsupport::HasChinese(general));
    EXPECT_FALSE(general.contains(QLatin1String("bad_alloc")));
}

}  // namespace
