#include "platform/text/Like.h"

namespace vb {

namespace {

// Whether c is in the list that starts after "[" at pattern[p]; end receives the index of "]".
// Returns false with end = -1 when the list is not closed.
bool InList(const QString& pattern, qsizetype p, QChar c, qsizetype& end)
{
    bool negate = false;
    if (p < pattern.size() && pattern[p] == QLatin1Char('!')) {
        negate = true;
        ++p;
    }
    bool found = false;
    bool first = true;
    for (; p < pattern.size(); ++p) {
        const QChar here = pattern[p];
        if (here == QLatin1Char(']') && !first) {
            end = p;
            return found != negate;
        }
        first = false;
        if (p + 2 < pattern.size() && pattern[p + 1] == QLatin1Char('-') && pattern[p + 2] != QLatin1Char(']')) {
            if (c >= here && c <= pattern[p + 2])
                found = true;
            p += 2;
        } else if (c == here) {
            found = true;
        }
    }
    end = -1;
    return false;
}

bool Match(const QString& text, qsizetype t, const QString& pattern, qsizetype p)
{
    while (p < pattern.size()) {
        const QChar pc = pattern[p];
        if (pc == QLatin1Char('*')) {
            while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
                ++p;
            if (p == pattern.size())
                return true;
            for (qsizetype k = t; k <= text.size(); ++k)
                if (Match(text, k, pattern, p))
                    return true;
            return false;
        }
        if (pc == QLatin1Char('[')) {
            qsizetype end = -1;
            if (t >= text.size()) {
                InList(pattern, p + 1, QChar(), end);
                return false;
            }
            if (!InList(pattern, p + 1, text[t], end))
                return false;
            p = end + 1;
            ++t;
            continue;
        }
        if (t >= text.size())
            return false;
        const QChar tc = text[t];
        const bool ok = pc == QLatin1Char('?') || (pc == QLatin1Char('#') ? (tc >= QLatin1Char('0') && tc <= QLatin1Char('9'))
                                                                          : tc == pc);
        if (!ok)
            return false;
        ++p;
        ++t;
    }
    return t == text.size();
}

bool WellFormed(const QString& pattern)
{
    for (qsizetype p = 0; p < pattern.size(); ++p) {
        if (pattern[p] != QLatin1Char('['))
            continue;
        qsizetype end = -1;
        InList(pattern, p + 1, QChar(), end);
        if (end < 0)
            return false;
        p = end;
    }
    return true;
}

}  // namespace

bool Like(const QString& text, const QString& pattern)
{
    return WellFormed(pattern) && Match(text, 0, pattern, 0);
}

}  // namespace vb
