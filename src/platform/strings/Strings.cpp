#include "platform/strings/Strings.h"

#include <QFile>
#include <QHash>
#include <QStringList>
#include <algorithm>
#include <cstdio>

namespace strings {

ResourceNotFound::ResourceNotFound(int id_)
    : std::runtime_error("Resource with identifier " + std::to_string(id_) + " not found (326)"), id(id_)
{
}

namespace {

// Within a text, "\n", "\r", "\t" and "\\" stand for a line feed, a carriage return, a tab and
// a backslash; any other backslash is kept as it is.
QString unescape(QStringView s)
{
    if (!s.contains(u'\\'))
        return s.toString();
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\\' && i + 1 < s.size()) {
            const QChar n = s[i + 1];
            if (n == u'n') { out += u'\n'; ++i; continue; }
            if (n == u'r') { out += u'\r'; ++i; continue; }
            if (n == u't') { out += u'\t'; ++i; continue; }
            if (n == u'\\') { out += u'\\'; ++i; continue; }
        }
        out += s[i];
    }
    return out;
}

void load(QHash<int, QString>& table, const QString& path, int offset)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "strings: cannot read %s\n", qPrintable(path));
        return;
    }
    const QString all = QString::fromUtf8(f.readAll());
    for (QStringView line : QStringView(all).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0)
            continue;
        bool ok = false;
        const int id = line.left(tab).trimmed().toInt(&ok);
        if (!ok)
            continue;
        table.insert(id + offset, unescape(line.mid(tab + 1)));
    }
}

const QHash<int, QString>& table()
{
    static const QHash<int, QString> t = [] {
        QHash<int, QString> h;
        load(h, QStringLiteral(":/strings/zh_TW.tsv"), 0);
        load(h, QStringLiteral(":/strings/zh_CN.tsv"), 10000);
        return h;
    }();
    return t;
}

// Two line-aligned files: the Traditional texts and their Simplified forms.
struct Conversions {
    QHash<QString, QString> toSimplified, toTraditional;
    QHash<QChar, QChar> characters;
};

QStringList lines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "strings: cannot read %s\n", qPrintable(path));
        return {};
    }
    QStringList out = QString::fromUtf8(f.readAll()).split(u'\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

const Conversions& conversions()
{
    static const Conversions c = [] {
        Conversions c;
        const QStringList tw = lines(QStringLiteral(":/strings/literals_tw.txt"));
        const QStringList cn = lines(QStringLiteral(":/strings/literals_cn.txt"));
        for (qsizetype i = 0; i < std::min(tw.size(), cn.size()); ++i) {
            const QString t = unescape(tw[i]), s = unescape(cn[i]);
            c.toSimplified.insert(t, s);
            if (t != s)
                c.toTraditional.insert(s, t);
        }
        const QStringList ctw = lines(QStringLiteral(":/strings/chars_tw.txt"));
        const QStringList ccn = lines(QStringLiteral(":/strings/chars_cn.txt"));
        for (qsizetype i = 0; i < std::min(ctw.size(), ccn.size()); ++i)
            if (ctw[i].size() == 1 && ccn[i].size() == 1 && ctw[i] != ccn[i])
                c.characters.insert(ctw[i][0], ccn[i][0]);
        return c;
    }();
    return c;
}

}  // namespace

QString ToSimplified(const QString& text)
{
    const Conversions& c = conversions();
    if (const auto it = c.toSimplified.constFind(text); it != c.toSimplified.constEnd())
        return *it;
    QString out = text;
    for (QChar& ch : out)
        ch = c.characters.value(ch, ch);
    return out;
}

QString ToTraditional(const QString& text) { return conversions().toTraditional.value(text, text); }

bool HasTraditionalCharacters(const QString& text)
{
    const Conversions& c = conversions();
    for (const QChar ch : text)
        if (c.characters.contains(ch))
            return true;
    return false;
}

QString LoadResString(int id)
{
    const auto& t = table();
    const auto it = t.constFind(id);
    if (it == t.constEnd())
        throw ResourceNotFound(id);
    return *it;
}

bool HasResString(int id) { return table().contains(id); }

QString Caption(int id)
{
    const auto& t = table();
    const auto it = t.constFind(id);
    if (it == t.constEnd()) {
        std::fprintf(stderr, "strings: no text for id %d\n", id);
        return {};
    }
    return *it;
}

}  // namespace strings
