#include "platform/text/VbText.h"

#include <QVariant>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace vb;

TEST(Trim, OnlyBlanksAreStripped)
{
    const struct { const char* in; const char* trim; const char* ltrim; const char* rtrim; } cases[] = {
        {"  a b  ", "a b", "a b  ", "  a b"},
        {"", "", "", ""},
        {"   ", "", "", ""},
        {"\tx\t", "\tx\t", "\tx\t", "\tx\t"},
        {" x\r\n", "x\r\n", "x\r\n", " x\r\n"},
        {"\u3000客戶\u3000", "\u3000客戶\u3000", "\u3000客戶\u3000", "\u3000客戶\u3000"},  // ideographic space kept
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Trim(QString::fromUtf8(c.in)), QString::fromUtf8(c.trim)) << c.in;
        EXPECT_EQ(LTrim(QString::fromUtf8(c.in)), QString::fromUtf8(c.ltrim)) << c.in;
        EXPECT_EQ(RTrim(QString::fromUtf8(c.in)), QString::fromUtf8(c.rtrim)) << c.in;
    }
}

TEST(Val, LeadingNumber)
{
    const struct { const char* in; double out; } cases[] = {
        {"12abc", 12}, {" 1 2", 12}, {"", 0}, {"-1", -1}, {"0.5", 0.5}, {".5", 0.5},
        {"1e3", 1000}, {"1.5E-2", 0.015}, {"2e", 2}, {"3d2", 300}, {" -3 ", -3}, {"- 3", -3},
        {"+7", 7}, {"\t4\n2", 42}, {"abc", 0}, {"-", 0}, {"1.2.3", 1.2}, {"1,000", 1},
        {"&H10", 16}, {"&H1F", 31}, {"&h1f", 31}, {"&HFFFF", -1}, {"&H10000", 65536},
        {"&HFFFFFFFF", -1}, {"&O17", 15}, {"&17", 15}, {"&H", 0}, {"&Hxyz", 0}, {"&X1", 0},
        {"１２", 0},  // full-width digits are not a number
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(c.in)), c.out) << '"' << c.in << '"';
}

TEST(ByteLen, CountsCodePage950Bytes)
{
    const struct { const char* in; int bytes; } cases[] = {
        {"", 0}, {"abc", 3}, {"客戶", 4}, {"A001客戶資料", 12}, {"台北市,1樓", 10},
        {"\u00e9", 1},              // é: not in code page 950, written as "?"
        {"\U0001F600", 2},          // outside the BMP: two UTF-16 units, as a text column counts it
        {"A\U00020000B", 4},        // 𠀀 (CJK extension B) is not in Big5 either
        {"\u4e2d\u20ac", 4},        // 中 and the euro sign (both in CP950)
        {"\u4eec", 1},              // 们 (Simplified) is not in Big5
        {"\r\n", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ByteLen(QString::fromUtf8(c.in)), c.bytes) << c.in;
}

TEST(Cp950, LeftBytesNeverSplitsACharacter)
{
    const QString s = QStringLiteral("A客戶B");
    const struct { int max; const char* out; } cases[] = {{0, ""}, {1, "A"}, {2, "A"}, {3, "A客"}, {4, "A客"}, {5, "A客戶"}, {6, "A客戶B"}, {99, "A客戶B"}};
    for (const auto& c : cases)
        EXPECT_EQ(LeftBytes(s, c.max), QString::fromUtf8(c.out)) << c.max;
    // A character outside the BMP counts two and is never split.
    const QString wide = QString::fromUtf8("A\U00020000B");
    EXPECT_EQ(LeftBytes(wide, 2), QStringLiteral("A"));
    EXPECT_EQ(LeftBytes(wide, 3), QString::fromUtf8("A\U00020000"));
}

TEST(Cp950, EncodeDecodeRoundTripAndUnmappable)
{
    const QString text = QStringLiteral("客戶A001,台北市\r\n");
    const QByteArray bytes = ToCp950(text);
    EXPECT_EQ(bytes, QByteArray("\xab\xc8\xa4\xe1" "A001,\xa5\x78\xa5\x5f\xa5\xab\r\n"));
    EXPECT_EQ(FromCp950(bytes), text);
    EXPECT_EQ(ToCp950(QStringLiteral("a\u00e9\U0001F600b")), QByteArray("a??b"));
    // A lone lead byte at the end, and a byte the code page does not use.
    EXPECT_EQ(FromCp950(QByteArray("A\xab")), QStringLiteral("A\uFFFD"));
    EXPECT_EQ(FromCp950(QByteArray("\xff" "B")), QStringLiteral("\uFFFD" "B"));
}

TEST(Cp950, DecodeTextTellsUtf8FromAnsi)
{
    const QString text = QStringLiteral("客戶資料");
    EXPECT_TRUE(IsValidUtf8(text.toUtf8()));
    EXPECT_FALSE(IsValidUtf8(ToCp950(text)));
    EXPECT_EQ(DecodeText(text.toUtf8()), text);
    EXPECT_EQ(DecodeText("\xef\xbb\xbf" + text.toUtf8()), text);  // byte-order mark dropped
    EXPECT_EQ(DecodeText(ToCp950(text)), text);
    EXPECT_EQ(DecodeText("plain"), QStringLiteral("plain"));
}

TEST(Format, DatePatterns)
{
    const QDate d(2024, 3, 7);
    const QDateTime dt(d, QTime(9, 5, 4));
    const struct { const char* pattern; const char* out; } cases[] = {
        {"yyyy/mm/dd", "2024/03/07"}, {"YYYYMMDD", "20240307"}, {"mmdd", "0307"}, {"yyyy", "2024"},
        {"mm", "03"}, {"dd", "07"}, {"hh:nn:ss", "09:05:04"}, {"hh:mm", "09:05"}, {"yyyy/mm/dd hh:nn", "2024/03/07 09:05"},
        {"m/d", "3/7"}, {"yy", "24"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(dt, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.out)) << c.pattern;
    EXPECT_EQ(Format(d, QStringLiteral("yyyy/mm/dd")), QStringLiteral("2024/03/07"));
    EXPECT_EQ(DateNumber(d), 20240307);
    EXPECT_EQ(DateNumber(QDate(1999, 12, 31)), 19991231);
}

TEST(Numbers, BankersRoundingAndTwips)
{
    const struct { double in; int out; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {32767.4, 32767}, {-32768, -32768},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CInt(c.in), c.out) << c.in;
        EXPECT_EQ(CLng(c.in), c.out) << c.in;
    }
    EXPECT_THROW(CInt(32767.5), std::overflow_error);
    EXPECT_EQ(CLng(32767.5), 32768);
    EXPECT_THROW(CLng(3e9), std::overflow_error);

    EXPECT_EQ(TwipsToPixels(1500), 100);
    EXPECT_EQ(TwipsToPixels(7), 0);
    EXPECT_EQ(TwipsToPixels(8), 1);
    EXPECT_EQ(PixelsToTwips(100), 1500);
}

TEST(Strings, NzLeftRightMidAndCrLf)
{
    EXPECT_EQ(Nz(QVariant()), QString());
    EXPECT_EQ(Nz(QVariant(QMetaType::fromType<QString>())), QString());
    EXPECT_EQ(Nz(QVariant(QStringLiteral("x"))), QStringLiteral("x"));
    EXPECT_EQ(Nz(QVariant(12)), QStringLiteral("12"));
    // NzValue keeps the value as it is; only Null becomes "".
    EXPECT_EQ(NzValue(QVariant()), QVariant(QString()));
    EXPECT_EQ(NzValue(QVariant(0)), QVariant(0));
    EXPECT_EQ(NzValue(QVariant(QStringLiteral("x"))), QVariant(QStringLiteral("x")));
    EXPECT_EQ(gCrLf, QStringLiteral("\r\n"));

    const QString s = QStringLiteral("客戶資料");
    EXPECT_EQ(Left(s, 2), QStringLiteral("客戶"));
    EXPECT_EQ(Left(s, 9), s);
    EXPECT_EQ(Left(s, -1), QString());
    EXPECT_EQ(Right(s, 2), QStringLiteral("資料"));
    EXPECT_EQ(Mid(s, 2, 2), QStringLiteral("戶資"));
    EXPECT_EQ(Mid(s, 3), QStringLiteral("資料"));
    EXPECT_EQ(Mid(s, 9), QString());
    EXPECT_EQ(UCase(QStringLiteral("a1b")), QStringLiteral("A1B"));
}
