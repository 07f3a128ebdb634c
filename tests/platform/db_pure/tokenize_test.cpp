// The one tokenizer that every reader of statement text goes through: spans, the options the
// script splitter and the criteria use, and a script split at its statements.
#include "platform/db/Db.h"
#include "platform/db/JetSql.h"

#include <gtest/gtest.h>

using namespace db::jet;

namespace {

TEST(Tokenize, EveryTokenSpansItsOwnSourceTextAndTheSpansCoverTheWhole)
{
    const QString sql = QStringLiteral("SELECT [客戶 名稱], 'O''Brien' & x FROM RV12 WHERE d = #2024/1/31# AND n >= 3.5e2 -- note");
    TokenizeOptions withComments;
    withComments.comments = true;
    const QVector<Token> t = Tokenize(sql, withComments);
    int at = 0;
    for (const Token& k : t) {
        EXPECT_EQ(k.begin, at) << k.text.toStdString();
        EXPECT_GT(k.end, k.begin);
        at = k.end;
    }
    EXPECT_EQ(at, sql.size());
    EXPECT_EQ(t.last().kind, Token::Comment);
    const QVector<Token> sig = Significant(t);
    EXPECT_EQ(sig[1].kind, Token::Quoted);
    EXPECT_EQ(sig[1].text, QStringLiteral("客戶 名稱"));
    EXPECT_EQ(sql.mid(sig[3].begin, sig[3].end - sig[3].begin), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(sig[3].text, QStringLiteral("O'Brien"));
}

TEST(Tokenize, OptionsReadHashTextsAndUnterminatedQuotesOnlyWhenAsked)
{
    const QString hash = QStringLiteral("名稱 = #O'Brien#");
    EXPECT_EQ(Significant(Tokenize(QStringLiteral("名稱 = #abc#")))[2].kind, Token::Punct);  // in a statement "#" is no quote
    TokenizeOptions texts;
    texts.hashTexts = true;
    const QVector<Token> t = Significant(Tokenize(hash, texts));
    ASSERT_EQ(t.size(), 3);
    EXPECT_EQ(t[2].kind, Token::String);
    EXPECT_EQ(t[2].text, QStringLiteral("O'Brien"));
    EXPECT_EQ(Significant(Tokenize(QStringLiteral("d = #2024/01/31#"), texts))[2].kind, Token::Date);

    for (const char* open : {"x = 'abc", "[abc", "x = \"abc"}) {
        EXPECT_THROW(Tokenize(QString::fromUtf8(open)), db::DbError) << open;
        TokenizeOptions lenient;
        lenient.lenient = true;
        const QVector<Token> l = Tokenize(QString::fromUtf8(open), lenient);
        EXPECT_EQ(l.last().text, QStringLiteral("abc")) << open;
        EXPECT_EQ(l.last().end, int(strlen(open))) << open;
    }
    // "--" is two minus signs in a statement.
    EXPECT_EQ(Significant(Tokenize(QStringLiteral("a--b"))).size(), 4);
}

TEST(SplitScript, SplitsAtSemicolonsOutsideQuotesAndDropsComments)
{
    struct Case {
        const char* script;
        QStringList statements;
    };
    const Case cases[] = {
        {"CREATE TABLE a (x Long);\nCREATE TABLE b (y Text(10));", {"CREATE TABLE a (x Long)", "CREATE TABLE b (y Text(10))"}},
        {"INSERT INTO a VALUES ('x;y'); INSERT INTO a VALUES ('it''s;')",
         {"INSERT INTO a VALUES ('x;y')", "INSERT INTO a VALUES ('it''s;')"}},
        {"-- heading; with a semicolon\nSELECT [a;b] FROM t; ;  ;", {"SELECT [a;b] FROM t"}},
        {"SELECT 1 -- the end; of line\n, 2", {"SELECT 1 \n, 2"}},
        {"SELECT 'open; to the end", {"SELECT 'open; to the end"}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitScript(QString::fromUtf8(c.script)), c.statements) << c.script;
}

}  // namespace
