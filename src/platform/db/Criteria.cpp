// The criteria of Find and Filter, and the comparison of a cursor's Sort.
#include "platform/db/Criteria.h"

#include <algorithm>

namespace db::detail {

namespace {

inline unsigned char fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

// ASCII letter case ignored, bytes of UTF-8 otherwise (code point order).
int compareText(const char* a, int an, const char* b, int bn)
{
    const int n = std::min(an, bn);
    for (int i = 0; i < n; ++i) {
        const unsigned char x = fold(quint8(a[i])), y = fold(quint8(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return an == bn ? 0 : (an < bn ? -1 : 1);
}

inline int utf8Len(unsigned char c) { return c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1; }

// "*" and "%" any run, "?" and "_" one character; ASCII letter case ignored.
bool likeMatch(const char* s, int sn, const QByteArray& pat)
{
    const char* p = pat.constData();
    const int pn = int(pat.size());
    int si = 0, pi = 0, starP = -1, starS = 0;
    while (si < sn) {
        if (pi < pn && (p[pi] == '*' || p[pi] == '%')) {
            starP = pi++;
            starS = si;
        } else if (pi < pn && (p[pi] == '?' || p[pi] == '_')) {
            si += utf8Len(quint8(s[si]));
            ++pi;
        } else if (pi < pn && fold(quint8(p[pi])) == fold(quint8(s[si]))) {
            ++pi;
            ++si;
        } else if (starP >= 0) {
            pi = starP + 1;
            starS += utf8Len(quint8(s[starS]));
            si = starS;
        } else {
            return false;
        }
    }
    while (pi < pn && (p[pi] == '*' || p[pi] == '%'))
        ++pi;
    return pi == pn;
}

bool isNumericTag(const Cell& c) { return c.tag == TagInt || c.tag == TagReal; }
double numberOf(const Cell& c) { return c.tag == TagInt ? double(c.i) : c.d; }

}  // namespace

int CompareForSort(const Cell& a, const Cell& b)
{
    if (a.tag == TagNull || b.tag == TagNull)
        return (a.tag == TagNull) == (b.tag == TagNull) ? 0 : (a.tag == TagNull ? -1 : 1);
    if (isNumericTag(a) && isNumericTag(b)) {
        const double x = numberOf(a), y = numberOf(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (isNumericTag(a) != isNumericTag(b))
        return isNumericTag(a) ? -1 : 1;
    return compareText(a.p, a.n, b.p, b.n);
}

namespace {

// A criterion may delimit a text with "#" as well as with quotes ("name = #O'Brien#").
QVector<jet::Token> criteriaTokens(const QString& text)
{
    jet::TokenizeOptions options;
    options.hashTexts = true;
    return jet::Significant(jet::Tokenize(text, options));
}

class CriteriaParser {
public:
    CriteriaParser(const QString& text, const QVector<FieldDef>& fields)
        : fields_(fields), toks_(criteriaTokens(text)), text_(text)
    {
    }

    Criteria parseAll()
    {
        Criteria n = parseOr();
        if (i_ != toks_.size())
            fail();
        return n;
    }

    Condition parseOne()
    {
        Condition c = clause();
        if (i_ != toks_.size())
            fail();
        return c;
    }

private:
    [[noreturn]] void fail() { ThrowBadArgument(text_); }

    bool atPunct(const char* p) const { return i_ < toks_.size() && toks_[i_].kind == jet::Token::Punct && toks_[i_].text == QLatin1String(p); }

    Criteria parseOr() { return joined("OR", Criteria::Or, &CriteriaParser::parseAnd); }
    Criteria parseAnd() { return joined("AND", Criteria::And, &CriteriaParser::factor); }

    // One or more of what `next` parses, joined by the word.
    Criteria joined(const char* word, Criteria::Kind kind, Criteria (CriteriaParser::*next)())
    {
        Criteria left = (this->*next)();
        if (i_ >= toks_.size() || !toks_[i_].is(word))
            return left;
        Criteria n;
        n.kind = kind;
        n.kids.push_back(std::move(left));
        while (i_ < toks_.size() && toks_[i_].is(word)) {
            ++i_;
            n.kids.push_back((this->*next)());
        }
        return n;
    }

    Criteria factor()
    {
        if (atPunct("(")) {
            ++i_;
            Criteria n = parseOr();
            if (!atPunct(")"))
                fail();
            ++i_;
            return n;
        }
        Criteria n;
        n.cond = clause();
        return n;
    }

    Condition clause()
    {
        if (i_ >= toks_.size() || (toks_[i_].kind != jet::Token::Word && toks_[i_].kind != jet::Token::Quoted))
            fail();
        Condition c;
        QString name = toks_[i_++].text;
        // "table.column" names the column.
        while (atPunct(".") && i_ + 1 < toks_.size()) {
            name = toks_[i_ + 1].text;
            i_ += 2;
        }
        for (int k = 0; k < fields_.size(); ++k)
            if (fields_[k].name.compare(name, Qt::CaseInsensitive) == 0) {
                c.field = k;
                break;
            }
        if (c.field < 0)
            throw DbError(3265, QStringLiteral("Item cannot be found in the collection corresponding to the requested "
                                               "name or ordinal. (%1)").arg(name));
        if (i_ >= toks_.size())
            fail();
        const jet::Token& op = toks_[i_++];
        if (op.is("LIKE")) {
            c.op = Condition::Like;
        } else if (op.is("NOT") && i_ < toks_.size() && toks_[i_].is("LIKE")) {
            ++i_;
            c.op = Condition::NotLike;
        } else if (op.is("IS")) {
            bool negate = false;
            if (i_ < toks_.size() && toks_[i_].is("NOT")) {
                negate = true;
                ++i_;
            }
            if (i_ >= toks_.size() || !toks_[i_].is("NULL"))
                fail();
            ++i_;
            c.op = negate ? Condition::NotNull : Condition::IsNull;
            return c;
        } else if (op.kind == jet::Token::Punct) {
            const QString o = op.text;
            if (o == QLatin1String("=") || o == QLatin1String("=="))
                c.op = Condition::Eq;
            else if (o == QLatin1String("<>") || o == QLatin1String("!="))
                c.op = Condition::Ne;
            else if (o == QLatin1String("<"))
                c.op = Condition::Lt;
            else if (o == QLatin1String(">"))
                c.op = Condition::Gt;
            else if (o == QLatin1String("<="))
                c.op = Condition::Le;
            else if (o == QLatin1String(">="))
                c.op = Condition::Ge;
            else
                fail();
        } else {
            fail();
        }
        // The value.
        if (i_ >= toks_.size())
            fail();
        bool negative = false;
        if (atPunct("-")) {
            negative = true;
            ++i_;
        }
        if (i_ >= toks_.size())
            fail();
        const jet::Token& v = toks_[i_++];
        if (v.is("NULL")) {
            if (c.op == Condition::Eq)
                c.op = Condition::IsNull;
            else if (c.op == Condition::Ne)
                c.op = Condition::NotNull;
            else
                fail();
            return c;
        }
        QString value = v.text;
        if (negative)
            value.prepend(QChar('-'));
        const int type = fields_[c.field].adoType;
        const bool numericField = type == adSmallInt || type == adInteger || type == adUnsignedTinyInt || type == adDouble
                                  || type == adSingle || type == adCurrency || type == adBoolean;
        if (c.op == Condition::Like || c.op == Condition::NotLike) {
            c.text = value.toUtf8();
            return c;
        }
        if (v.kind == jet::Token::Date) {
            c.text = value.toUtf8();
        } else if (numericField) {
            bool ok = false;
            c.number = value.toDouble(&ok);
            if (!ok) {
                if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                    c.number = -1, ok = true;
                else if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                    c.number = 0, ok = true;
            }
            if (!ok)
                fail();
            c.numeric = true;
        } else if (type == adDate) {
            bool ok = false;
            const QString canon = jet::CanonicalDate(value, &ok);
            c.text = (ok ? canon : value).toUtf8();
        } else {
            c.text = value.toUtf8();
        }
        return c;
    }

    const QVector<FieldDef>& fields_;
    QVector<jet::Token> toks_;
    QString text_;
    int i_ = 0;
};

}  // namespace

bool Matches(const Condition& c, const Row& row, int adoType)
{
    const Cell cell = CellAt(row, c.field);
    switch (c.op) {
    case Condition::IsNull:
        return cell.tag == TagNull;
    case Condition::NotNull:
        return cell.tag != TagNull;
    default:
        break;
    }
    if (cell.tag == TagNull)
        return false;
    if (c.op == Condition::Like || c.op == Condition::NotLike) {
        bool m;
        if (cell.tag == TagText) {
            m = likeMatch(cell.p, cell.n, c.text);
        } else {
            const QByteArray t = Decode(cell, adoType).toString().toUtf8();
            m = likeMatch(t.constData(), int(t.size()), c.text);
        }
        return c.op == Condition::Like ? m : !m;
    }
    int cmp;
    if (c.numeric && isNumericTag(cell)) {
        const double x = numberOf(cell);
        cmp = x < c.number ? -1 : (x > c.number ? 1 : 0);
    } else if (cell.tag == TagText) {
        cmp = compareText(cell.p, cell.n, c.text.constData(), int(c.text.size()));
    } else {
        const QByteArray t = c.numeric ? QByteArray::number(c.number) : c.text;
        const QByteArray mine = Decode(cell, 0).toString().toUtf8();
        cmp = compareText(mine.constData(), int(mine.size()), t.constData(), int(t.size()));
    }
    switch (c.op) {
    case Condition::Eq: return cmp == 0;
    case Condition::Ne: return cmp != 0;
    case Condition::Lt: return cmp < 0;
    case Condition::Gt: return cmp > 0;
    case Condition::Le: return cmp <= 0;
    case Condition::Ge: return cmp >= 0;
    default: return false;
    }
}

bool Matches(const Criteria& n, const Row& row, const QVector<FieldDef>& fields)
{
    switch (n.kind) {
    case Criteria::Leaf:
        return Matches(n.cond, row, fields[n.cond.field].adoType);
    case Criteria::And:
        for (const Criteria& k : n.kids)
            if (!Matches(k, row, fields))
                return false;
        return true;
    case Criteria::Or:
        for (const Criteria& k : n.kids)
            if (Matches(k, row, fields))
                return true;
        return false;
    }
    return false;
}

Condition ParseCondition(const QString& text, const QVector<FieldDef>& fields) { return CriteriaParser(text, fields).parseOne(); }
Criteria ParseCriteria(const QString& text, const QVector<FieldDef>& fields) { return CriteriaParser(text, fields).parseAll(); }

}  // namespace db::detail
