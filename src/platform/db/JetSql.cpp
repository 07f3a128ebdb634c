#include "platform/db/JetSql.h"

#include "platform/db/Db.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QRegularExpression>

namespace db::jet {

bool Token::is(const char* word) const
{
    return kind == Word && text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

namespace {

bool isWordStart(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u >= 0x80;
}

bool isWordChar(QChar c)
{
    const ushort u = c.unicode();
    return isWordStart(c) || (u >= '0' && u <= '9') || u == '$';
}

bool isDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

bool isBlank(QChar c)
{
    const ushort u = c.unicode();
    return u == ' ' || u == '\t' || u == '\r' || u == '\n' || u == '\f' || u == '\v';
}

int readQuoted(const QString& s, int i, QChar close, QString* out)
{
    // s[i] is the opening character; doubled closing characters stand for one.
    QString text;
    int j = i + 1;
    while (j < s.size()) {
        if (s[j] == close) {
            if (close != QChar(']') && j + 1 < s.size() && s[j + 1] == close) {
                text += close;
                j += 2;
                continue;
            }
            *out = text;
            return j + 1;
        }
        text += s[j++];
    }
    return -1;
}

}  // namespace

QString CanonicalDate(const QString& jetDateText, bool* ok)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(?:(\\d{1,4})[/\\-.](\\d{1,2})[/\\-.](\\d{1,4}))?\\s*"
                       "(?:(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*([AaPp][Mm])?)?\\s*$"));
    const auto m = re.match(jetDateText);
    if (ok)
        *ok = false;
    if (!m.hasMatch() || jetDateText.trimmed().isEmpty())
        return {};
    QDate date(1899, 12, 30);
    if (!m.captured(1).isEmpty()) {
        int a = m.captured(1).toInt(), b = m.captured(2).toInt(), c = m.captured(3).toInt();
        int y, mo, d;
        if (m.captured(1).size() >= 3) {
            y = a; mo = b; d = c;  // yyyy/mm/dd
        } else {
            mo = a; d = b; y = c;  // mm/dd/yyyy
            if (m.captured(3).size() <= 2)
                y += (y < 30) ? 2000 : 1900;
        }
        date = QDate(y, mo, d);
        if (!date.isValid())
            return {};
    }
    int h = 0, mi = 0, se = 0;
    if (!m.captured(4).isEmpty()) {
        h = m.captured(4).toInt();
        mi = m.captured(5).toInt();
        se = m.captured(6).toInt();
        const QString ampm = m.captured(7).toLower();
        if (ampm == QLatin1String("pm") && h < 12)
            h += 12;
        if (ampm == QLatin1String("am") && h == 12)
            h = 0;
    }
    const QTime time(h, mi, se);
    if (!time.isValid())
        return {};
    if (ok)
        *ok = true;
    return QDateTime(date, time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QVector<Token> Tokenize(const QString& s, TokenizeOptions options)
{
    QVector<Token> out;
    int i = 0;
    const int n = s.size();
    // The closing character of a quote or bracket opened at i; what it held goes into t.
    const auto quoted = [&](Token& t, QChar close, Token::Kind kind, const char* what) {
        int j = readQuoted(s, i, close, &t.text);
        if (j < 0) {
            if (!options.lenient)
                throw DbError(3075, QString::fromLatin1(what).arg(s));
            t.text = s.mid(i + 1);
            j = n;
        }
        t.kind = kind;
        i = j;
    };
    while (i < n) {
        const QChar c = s[i];
        Token t;
        t.begin = i;
        if (options.comments && c == QChar('-') && i + 1 < n && s[i + 1] == QChar('-')) {
            while (i < n && s[i] != QChar('\n'))
                ++i;
            t.kind = Token::Comment;
        } else if (isBlank(c)) {
            int j = i;
            while (j < n && isBlank(s[j]))
                ++j;
            t.kind = Token::Space;
            t.text = QStringLiteral(" ");
            i = j;
        } else if (isWordStart(c)) {
            int j = i;
            while (j < n && isWordChar(s[j]))
                ++j;
            t.kind = Token::Word;
            t.text = s.mid(i, j - i);
            i = j;
        } else if (isDigit(c) || (c == QChar('.') && i + 1 < n && isDigit(s[i + 1]))) {
            int j = i;
            while (j < n && (isDigit(s[j]) || s[j] == QChar('.')))
                ++j;
            if (j < n && (s[j] == QChar('e') || s[j] == QChar('E')) && j + 1 < n
                && (isDigit(s[j + 1]) || ((s[j + 1] == QChar('+') || s[j + 1] == QChar('-')) && j + 2 < n && isDigit(s[j + 2])))) {
                j += 2;
                while (j < n && isDigit(s[j]))
                    ++j;
            }
            t.kind = Token::Number;
            t.text = s.mid(i, j - i);
            i = j;
        } else if (c == QChar('[') || c == QChar('`')) {
            quoted(t, c == QChar('[') ? QChar(']') : QChar('`'), Token::Quoted, "Syntax error in query: unterminated name in '%1'.");
        } else if (c == QChar('\'') || c == QChar('"')) {
            quoted(t, c, Token::String, "Syntax error in string in query expression '%1'.");
        } else if (c == QChar('#')) {
            const int close = s.indexOf(QChar('#'), i + 1);
            bool ok = false;
            QString canon;
            if (close > i)
                canon = CanonicalDate(s.mid(i + 1, close - i - 1), &ok);
            if (ok) {
                t.kind = Token::Date;
                t.text = canon;
                i = close + 1;
            } else if (options.hashTexts && close > i) {
                t.kind = Token::String;
                t.text = s.mid(i + 1, close - i - 1);
                i = close + 1;
            } else {
                t.kind = Token::Punct;
                t.text = c;
                ++i;
            }
        } else if (c == QChar('?')) {
            t.kind = Token::Param;
            t.text = c;
            ++i;
        } else {
            t.kind = Token::Punct;
            static const char* two[] = {"<>", "<=", ">=", "!=", "||", "=="};
            t.text = c;
            for (const char* op : two) {
                if (i + 1 < n && s[i] == QChar(op[0]) && s[i + 1] == QChar(op[1])) {
                    t.text = s.mid(i, 2);
                    break;
                }
            }
            i += t.text.size();
        }
        t.end = i;
        out.push_back(t);
    }
    return out;
}

QVector<Token> Significant(const QVector<Token>& tokens)
{
    QVector<Token> out;
    out.reserve(tokens.size());
    for (const Token& t : tokens)
        if (t.kind != Token::Space && t.kind != Token::Comment)
            out.push_back(t);
    return out;
}

QString LeadingWord(const QVector<Token>& tokens)
{
    for (const Token& t : tokens) {
        if (t.kind == Token::Space || (t.kind == Token::Punct && t.text == QLatin1String("(")))
            continue;
        return t.kind == Token::Word ? t.text.toUpper() : QString();
    }
    return {};
}

QString QuoteName(const QString& name)
{
    QString q = name;
    q.replace(QChar('"'), QStringLiteral("\"\""));
    return QChar('"') + q + QChar('"');
}

QString QuoteText(const QString& text)
{
    QString q = text;
    q.replace(QChar('\''), QStringLiteral("''"));
    return QChar('\'') + q + QChar('\'');
}

namespace {

bool isTrim(const Token& t) { return t.is("TRIM") || t.is("LTRIM") || t.is("RTRIM"); }

// The arguments of the call whose "(" is tokens[open]: commas outside inner parentheses, plus one.
int argumentCount(const QVector<Token>& tokens, int open, int to)
{
    int depth = 0, commas = 0;
    for (int k = open; k < to; ++k) {
        const Token& t = tokens[k];
        if (t.kind != Token::Punct)
            continue;
        if (t.text == QLatin1String("("))
            ++depth;
        else if (t.text == QLatin1String(")") && --depth == 0)
            break;
        else if (t.text == QLatin1String(",") && depth == 1)
            ++commas;
    }
    return commas + 1;
}

}  // namespace

// Jet's Trim, LTrim and RTrim take one argument and strip blanks; with a second argument (the
// characters to strip, which Jet does not offer) they are SQLite's own.
QString Render(const QVector<Token>& tokens, int from, int to)
{
    // Functions whose Jet name SQLite reads as a keyword or a function of its own.
    static const QHash<QString, QString> renamed = {
        {QStringLiteral("left"), QStringLiteral("jet_left")},
        {QStringLiteral("right"), QStringLiteral("jet_right")},
        {QStringLiteral("date"), QStringLiteral("jet_date")},
        {QStringLiteral("now"), QStringLiteral("jet_now")},
        {QStringLiteral("time"), QStringLiteral("jet_time")},
        {QStringLiteral("format"), QStringLiteral("jet_format")},
        {QStringLiteral("instr"), QStringLiteral("jet_instr")},
        {QStringLiteral("trim"), QStringLiteral("jet_trim")},
        {QStringLiteral("ltrim"), QStringLiteral("jet_ltrim")},
        {QStringLiteral("rtrim"), QStringLiteral("jet_rtrim")},
        {QStringLiteral("str"), QStringLiteral("jet_str")},
    };
    if (to < 0)
        to = tokens.size();
    QString out;
    out.reserve(64);
    for (int i = from; i < to; ++i) {
        const Token& t = tokens[i];
        switch (t.kind) {
        case Token::Space:
        case Token::Comment:
            out += QChar(' ');
            break;
        case Token::Word: {
            int j = i + 1;
            while (j < to && tokens[j].kind == Token::Space)
                ++j;
            if (j < to && tokens[j].kind == Token::Punct && tokens[j].text == QLatin1String("(")) {
                const auto it = renamed.constFind(t.text.toLower());
                if (it != renamed.constEnd() && !(isTrim(t) && argumentCount(tokens, j, to) == 2)) {
                    out += it.value();
                    break;
                }
            }
            if (t.is("TRUE"))
                out += QStringLiteral("-1");  // Jet's True
            else if (t.is("FALSE"))
                out += QChar('0');
            else
                out += t.text;
            break;
        }
        case Token::Quoted:
            out += QuoteName(t.text);
            break;
        case Token::String:
        case Token::Date:
            out += QuoteText(t.text);
            break;
        case Token::Punct:
            out += (t.text == QLatin1String("&")) ? QStringLiteral("||") : t.text;
            break;
        default:
            out += t.text;
        }
    }
    return out;
}

namespace {

// Where an operand of "&" ends: "&" binds more loosely than arithmetic and more tightly than
// comparisons, so a chain runs between commas, parentheses, comparisons and clause words.
bool endsConcatOperand(const QVector<Token>& tokens, int i)
{
    const Token& t = tokens[i];
    if (t.kind == Token::Punct) {
        static const char* ops[] = {",", ";", "=", "==", "<>", "!=", "<", ">", "<=", ">="};
        for (const char* op : ops)
            if (t.text == QLatin1String(op))
                return true;
        return false;
    }
    if (t.kind != Token::Word)
        return false;
    static const char* words[] = {"SELECT", "DISTINCT", "DISTINCTROW", "ALL", "TOP", "FROM", "WHERE", "AS", "AND", "OR",
                                  "NOT", "LIKE", "IS", "IN", "BETWEEN", "ORDER", "GROUP", "BY", "HAVING", "ON", "SET",
                                  "VALUES", "INTO", "DESC", "ASC", "UNION", "JOIN", "INNER", "OUTER", "CASE", "WHEN",
                                  "THEN", "ELSE", "END", "UPDATE", "INSERT", "DELETE", "ESCAPE"};
    for (const char* w : words)
        if (t.is(w))
            return true;
    if (t.is("LEFT") || t.is("RIGHT")) {  // LEFT JOIN, but Left(x, n) is a function
        int j = i + 1;
        while (j < tokens.size() && tokens[j].kind == Token::Space)
            ++j;
        return !(j < tokens.size() && tokens[j].kind == Token::Punct && tokens[j].text == QLatin1String("("));
    }
    return false;
}

// Rewrites "a & b & c" as jet_cat(a, b, c): Jet's "&" reads Null as "", where SQLite's "||"
// would make the whole text Null.  i starts after an opening parenthesis (or at 0) and stops
// on the matching closing one.
QVector<Token> rewriteConcat(const QVector<Token>& tokens, int& i)
{
    QVector<Token> out, cur;
    QVector<QVector<Token>> operands;
    const auto flush = [&]() {
        if (operands.isEmpty()) {
            out += cur;
        } else {
            operands << cur;
            out << Token{Token::Space, QStringLiteral(" ")} << Token{Token::Word, QStringLiteral("jet_cat")}
                << Token{Token::Punct, QStringLiteral("(")};
            for (int k = 0; k < operands.size(); ++k) {
                if (k > 0)
                    out << Token{Token::Punct, QStringLiteral(",")};
                out += operands[k];
            }
            out << Token{Token::Punct, QStringLiteral(")")} << Token{Token::Space, QStringLiteral(" ")};
            operands.clear();
        }
        cur.clear();
    };
    while (i < tokens.size()) {
        const Token& t = tokens[i];
        if (t.kind == Token::Punct && t.text == QLatin1String(")"))
            break;
        if (t.kind == Token::Punct && t.text == QLatin1String("(")) {
            ++i;
            QVector<Token> inner = rewriteConcat(tokens, i);
            cur << t;
            cur += inner;
            if (i < tokens.size())
                cur << tokens[i++];  // ")"
            continue;
        }
        if (t.kind == Token::Punct && t.text == QLatin1String("&")) {
            operands << cur;
            cur.clear();
            ++i;
            continue;
        }
        if (endsConcatOperand(tokens, i)) {
            flush();
            out << t;
            ++i;
            continue;
        }
        cur << t;
        ++i;
    }
    flush();
    return out;
}

}  // namespace

QString RewriteStatement(const QString& sql)
{
    QVector<Token> tokens = Tokenize(sql);
    // Trailing ";" and blanks.
    while (!tokens.isEmpty() && (tokens.last().kind == Token::Space
                                 || (tokens.last().kind == Token::Punct && tokens.last().text == QLatin1String(";"))))
        tokens.removeLast();
    while (!tokens.isEmpty() && tokens.first().kind == Token::Space)
        tokens.removeFirst();
    if (tokens.size() == 1 && (tokens[0].kind == Token::Word || tokens[0].kind == Token::Quoted))
        return QStringLiteral("SELECT * FROM ") + QuoteName(tokens[0].text);
    if (!tokens.isEmpty() && tokens[0].is("DELETE")) {
        // "DELETE t.* FROM t", "Delete *.* from t": what stands between DELETE and FROM goes.
        int from = -1;
        for (int i = 1; i < tokens.size(); ++i)
            if (tokens[i].is("FROM")) {
                from = i;
                break;
            }
        if (from > 1) {
            tokens.remove(1, from - 1);
            tokens.insert(1, Token{Token::Space, QStringLiteral(" ")});
        }
    }
    for (const Token& t : tokens)
        if (t.kind == Token::Punct && t.text == QLatin1String("&")) {
            int i = 0;
            QVector<Token> rewritten;
            while (true) {
                rewritten += rewriteConcat(tokens, i);
                if (i >= tokens.size())
                    break;
                rewritten << tokens[i++];  // an unmatched ")" stays for SQLite to refuse
            }
            tokens = rewritten;
            break;
        }
    return Render(tokens);
}

QStringList SplitScript(const QString& script)
{
    QStringList out;
    QString cur;
    const auto flush = [&]() {
        if (!cur.trimmed().isEmpty())
            out << cur.trimmed();
        cur.clear();
    };
    TokenizeOptions options;
    options.comments = true;
    options.lenient = true;
    for (const Token& t : Tokenize(script, options)) {
        if (t.kind == Token::Comment)
            continue;
        if (t.kind == Token::Punct && t.text == QLatin1String(";"))
            flush();
        else
            cur += QStringView(script).mid(t.begin, t.end - t.begin);
    }
    flush();
    return out;
}

namespace {

JetType make(const char* jet, int ado, int size, bool text, const QString& decl, bool identity = false)
{
    JetType t;
    t.jetType = QString::fromLatin1(jet);
    t.adoType = ado;
    t.definedSize = size;
    t.isText = text;
    t.identity = identity;
    t.sqlDecl = decl;
    return t;
}

JetType textType(int size) { return make("Text", adVarWChar, size, true, QStringLiteral("TEXT(%1) COLLATE NOCASE").arg(size)); }
JetType ncharType(int size) { return make("nchar", adWChar, size, true, QStringLiteral("NCHAR(%1) COLLATE NOCASE").arg(size)); }
JetType memoType() { return make("Memo", adLongVarWChar, 0, true, QStringLiteral("LONGTEXT COLLATE NOCASE")); }
JetType identityType() { return make("Long", adInteger, 0, false, QStringLiteral("COUNTER INTEGER"), true); }

}  // namespace

JetType ParseType(const QString& typeText)
{
    static const QRegularExpression sizeRe(QStringLiteral("\\(\\s*(\\d+)\\s*(?:,\\s*\\d+\\s*)?\\)"));
    QString s = typeText.trimmed().toLower();
    int size = -1;
    const auto m = sizeRe.match(s);
    if (m.hasMatch()) {
        size = m.captured(1).toInt();
        s.remove(m.capturedStart(), m.capturedLength());
    }
    const QStringList words = s.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty())
        throw DbError(3292, QStringLiteral("Syntax error in field definition."));
    for (const QString& w : words)
        if (w == QLatin1String("identity") || w == QLatin1String("counter") || w == QLatin1String("autoincrement"))
            return identityType();
    const QString w = words.first();
    const QString w2 = words.size() > 1 ? words[1] : QString();
    if (w == QLatin1String("text") || w == QLatin1String("varchar") || w == QLatin1String("nvarchar")
        || w == QLatin1String("string") || w == QLatin1String("alphanumeric") || w == QLatin1String("varwchar"))
        return size >= 0 ? textType(size) : (w == QLatin1String("text") ? memoType() : textType(255));
    if (w == QLatin1String("nchar") || w == QLatin1String("char") || w == QLatin1String("character")
        || w == QLatin1String("wchar") || (w == QLatin1String("national") && w2.startsWith(QLatin1String("char"))))
        return ncharType(size >= 0 ? size : 255);
    if (w == QLatin1String("memo") || w == QLatin1String("longtext") || w == QLatin1String("longchar")
        || w == QLatin1String("note") || w == QLatin1String("ntext"))
        return memoType();
    if (w == QLatin1String("integer") || w == QLatin1String("short") || w == QLatin1String("smallint")
        || w == QLatin1String("integer2"))
        return make("Integer", adSmallInt, 0, false, QStringLiteral("SMALLINT"));
    if (w == QLatin1String("long") || w == QLatin1String("int") || w == QLatin1String("integer4"))
        return make("Long", adInteger, 0, false, QStringLiteral("LONG INTEGER"));
    if (w == QLatin1String("currency") || w == QLatin1String("money"))
        return make("Currency", adCurrency, 0, false, QStringLiteral("CURRENCY REAL"));
    if (w == QLatin1String("date") || w == QLatin1String("datetime") || w == QLatin1String("time")
        || w == QLatin1String("timestamp"))
        return make("Date", adDate, 0, false, QStringLiteral("DATETIME"));
    if (w == QLatin1String("double") || w == QLatin1String("float") || w == QLatin1String("float8")
        || w == QLatin1String("number") || w == QLatin1String("numeric") || w == QLatin1String("decimal"))
        return make("Double", adDouble, 0, false, QStringLiteral("DOUBLE"));
    if (w == QLatin1String("single") || w == QLatin1String("real") || w == QLatin1String("float4")
        || w == QLatin1String("ieeesingle"))
        return make("Single", adSingle, 0, false, QStringLiteral("SINGLE FLOAT"));
    if (w == QLatin1String("yesno") || w == QLatin1String("bit") || w == QLatin1String("boolean")
        || w == QLatin1String("logical") || w == QLatin1String("logical1"))
        return make("YesNo", adBoolean, 0, false, QStringLiteral("YESNO INTEGER"));
    if (w == QLatin1String("byte") || w == QLatin1String("tinyint") || w == QLatin1String("integer1"))
        return make("Byte", adUnsignedTinyInt, 0, false, QStringLiteral("BYTE TINYINT"));
    if (w == QLatin1String("oleobject") || w == QLatin1String("longbinary") || w == QLatin1String("image")
        || w == QLatin1String("general"))
        return make("OLEObject", adLongVarBinary, 0, false, QStringLiteral("LONGBINARY BLOB"));
    if (w == QLatin1String("binary") || w == QLatin1String("varbinary"))
        return make("Binary", adBinary, size >= 0 ? size : 510, false, QStringLiteral("BINARY BLOB"));
    throw DbError(3259, QStringLiteral("Invalid field data type '%1'.").arg(typeText.trimmed()));
}

JetType TypeFromDeclared(const QString& declared)
{
    const QString d = declared.trimmed();
    if (d.isEmpty())
        return memoType();
    QString u = d.toUpper();
    const int coll = u.indexOf(QLatin1String(" COLLATE"));
    if (coll >= 0)
        u.truncate(coll);
    try {
        return ParseType(u);
    } catch (const DbError&) {
        // No Jet type word: the affinity rules below decide.
    }
    // SQLite's own affinity rules for anything else.
    if (u.contains(QLatin1String("INT")))
        return make("Long", adInteger, 0, false, QStringLiteral("INTEGER"));
    if (u.contains(QLatin1String("CHAR")) || u.contains(QLatin1String("CLOB")) || u.contains(QLatin1String("TEXT")))
        return memoType();
    if (u.contains(QLatin1String("BLOB")))
        return make("OLEObject", adLongVarBinary, 0, false, QStringLiteral("BLOB"));
    return make("Double", adDouble, 0, false, QStringLiteral("DOUBLE"));
}

}  // namespace db::jet
