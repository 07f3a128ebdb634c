// Jet SQL as the program writes it, turned into statements SQLite runs.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace db::jet {

// One lexical token of a Jet statement.
struct Token {
    enum Kind { Space, Word, Quoted, String, Number, Date, Param, Punct, Comment } kind = Space;
    QString text;  // Word/Punct/Number: as written; Quoted/String: the content; Date: canonical
    int begin = 0, end = 0;  // where it stands in the text tokenized: [begin, end)
    bool is(const char* word) const;  // a Word equal to word, ASCII case ignored
};

// What a caller reads besides a plain statement.
struct TokenizeOptions {
    bool hashTexts = false;  // "#O'Brien#", no date between the "#", is a String (Find and Filter)
    bool comments = false;   // "--" to the end of the line is a Comment (scripts)
    bool lenient = false;    // an unterminated quote or bracket runs to the end instead of failing
};

// Splits a statement into tokens.  Throws DbError on an unterminated quote or bracket (unless
// lenient).  Every scan of statement text for quotes, brackets and words goes through here.
QVector<Token> Tokenize(const QString& sql, TokenizeOptions options = {});

// Writes tokens back as SQLite text: names in double quotes, texts in single quotes,
// dates as canonical texts, "&" as "||", and the Jet functions under their registered names.
QString Render(const QVector<Token>& tokens, int from = 0, int to = -1);

// The significant (non-blank) tokens.
QVector<Token> Significant(const QVector<Token>& tokens);

// A statement's first word, upper case ("SELECT", "CREATE", ...); "" for an empty statement.
QString LeadingWord(const QVector<Token>& tokens);

// A DML or SELECT statement in SQLite's dialect: "DELETE t.* FROM t" forms, a bare table
// name ("RV12" runs as "SELECT * FROM RV12"), trailing ";" and the rest of the rendering.
QString RewriteStatement(const QString& sql);

// Splits a script into statements at ";" outside quotes and brackets; "--" comments dropped.
QStringList SplitScript(const QString& script);

// The Jet type a column was declared with, and what SQLite keeps of it.
struct JetType {
    QString jetType;    // "Text", "nchar", "Memo", "Integer", "Long", ...
    int adoType = 0;
    int definedSize = 0;
    bool identity = false;
    bool isText = false;
    QString sqlDecl;    // declared type for SQLite, collation included for text
};

// Parses "Text(10)", "Long Identity", "IDENTITY", "Memo", "nchar(4)", ...  Throws DbError when unknown.
JetType ParseType(const QString& typeText);
// Recovers the Jet type from a declared SQLite type (tables the catalogue has not seen).
JetType TypeFromDeclared(const QString& declared);

// SQLite text for a date or date-time value: "yyyy-MM-dd HH:mm:ss".
QString CanonicalDate(const QString& jetDateText, bool* ok = nullptr);

QString QuoteName(const QString& name);     // "name" with inner quotes doubled
QString QuoteText(const QString& text);     // 'text' with inner quotes doubled

}  // namespace db::jet
