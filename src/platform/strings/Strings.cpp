#include "platform/strings/Strings.h"

#include <QFile>
#include <QHash>
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

}  // namespace

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
