#include "output/PickedRows.h"

#include "platform/text/VbText.h"

#include <QSet>
#include <utility>

namespace {

constexpr int kNamesPerStatement = 500;

// A name as the database compares texts: ASCII letters folded, nothing else.
QString Folded(const QString& s)
{
    QString out = s;
    for (QChar& c : out)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    return out;
}

}  // namespace

PickedRows::PickedRows(db::Connection& conn, QString selectFrom, QString column, QStringList names)
    : conn_(conn), selectFrom_(std::move(selectFrom)), column_(std::move(column)), names_(std::move(names))
{
}

void PickedRows::read()
{
    read_ = true;
    QSet<QString> seen;
    db::Params pending;
    const auto flush = [&] {
        if (pending.isEmpty())
            return;
        QStringList marks;
        for (int i = 0; i < pending.size(); ++i)
            marks << QStringLiteral("?");
        db::Recordset rs;
        rs.Open(selectFrom_ + QStringLiteral(" Where ") + column_ + QStringLiteral(" In (") + marks.join(QChar(',')) +
                    QStringLiteral(")"),
                conn_, db::adOpenStatic, db::adLockReadOnly, pending);
        const int field = rs.FieldIndex(column_);
        const int chunk = int(chunks_.size());
        const long n = rs.RecordCount();
        for (long p = 0; p < n; ++p) {
            const QString key = Folded(vb::Nz(rs.valueAt(p, field)));
            if (!first_.contains(key))
                first_.insert(key, {chunk, p});
        }
        chunks_.push_back(rs);
        pending.clear();
    };
    for (const QString& name : std::as_const(names_)) {
        const QString item = vb::Trim(name);
        if (seen.contains(Folded(item)))
            continue;
        seen.insert(Folded(item));
        pending << item;
        if (pending.size() == kNamesPerStatement)
            flush();
    }
    flush();
}

db::Recordset* PickedRows::Find(const QString& name)
{
    if (!read_)
        read();
    const auto it = first_.constFind(Folded(name));
    if (it == first_.constEnd())
        return nullptr;
    db::Recordset& rs = chunks_[size_t(it->first)];
    rs.SetAbsolutePosition(it->second + 1);
    return &rs;
}
