// What a list's SELECT says about the order of its rows.
#include "platform/db/StatementOrder.h"

#include "platform/db/DbImpl.h"

#include <optional>

namespace db::detail {

namespace {

// Where a statement's own ORDER BY begins (outside quotes, brackets and parentheses); -1 when
// it has none.
int topLevelOrderBy(const QString& sql)
{
    jet::TokenizeOptions options;
    options.lenient = true;
    const QVector<jet::Token> t = jet::Tokenize(sql, options);
    int depth = 0;
    for (int i = 0; i < t.size(); ++i) {
        if (t[i].kind == jet::Token::Punct && t[i].text == QLatin1String("("))
            ++depth;
        else if (t[i].kind == jet::Token::Punct && t[i].text == QLatin1String(")"))
            --depth;
        else if (depth == 0 && t[i].is("ORDER") && i + 2 < t.size() && t[i + 1].kind == jet::Token::Space && t[i + 2].is("BY"))
            return t[i].begin;
    }
    return -1;
}

// The terms of "ORDER BY a, t.b DESC, [c] ASC": (column, descending); nullopt when a term is
// anything but a column name (an expression, a position, a collation, NULLS FIRST).
std::optional<std::vector<std::pair<QString, bool>>> orderTerms(const QString& clause)
{
    QVector<jet::Token> t;
    try {
        t = jet::Significant(jet::Tokenize(clause));
    } catch (const DbError&) {
        return std::nullopt;
    }
    while (!t.isEmpty() && t.last().kind == jet::Token::Punct && t.last().text == QLatin1String(";"))
        t.removeLast();
    if (t.size() < 3 || !t[0].is("ORDER") || !t[1].is("BY"))
        return std::nullopt;
    std::vector<std::pair<QString, bool>> terms;
    int i = 2;
    auto isName = [&](int k) { return k < t.size() && (t[k].kind == jet::Token::Word || t[k].kind == jet::Token::Quoted); };
    auto isPunct = [&](int k, const char* p) { return k < t.size() && t[k].kind == jet::Token::Punct && t[k].text == QLatin1String(p); };
    while (true) {
        if (!isName(i) || t[i].is("ASC") || t[i].is("DESC"))
            return std::nullopt;
        QString name = t[i++].text;
        if (isPunct(i, ".")) {
            if (!isName(i + 1))
                return std::nullopt;
            name = t[i + 1].text;
            i += 2;
        }
        bool desc = false;
        if (i < t.size() && (t[i].is("ASC") || t[i].is("DESC")))
            desc = t[i++].is("DESC");
        terms.emplace_back(name, desc);
        if (i == t.size())
            return terms;
        if (!isPunct(i, ","))
            return std::nullopt;
        ++i;
    }
}

// True when SQLite reads the statement by a plain scan of the table in rowid order (`sorted`:
// and then sorts the rows itself, nothing else).
bool plainScan(sqlite3* db, const QString& sql, bool sorted)
{
    sqlite3_stmt* s = nullptr;
    const QByteArray text = (QStringLiteral("EXPLAIN QUERY PLAN ") + sql).toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &s, nullptr) != SQLITE_OK) {
        sqlite3_finalize(s);
        return false;
    }
    int scans = 0, sorts = 0, other = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        const QString detail = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 3)));
        if (detail == QLatin1String("USE TEMP B-TREE FOR ORDER BY"))
            ++sorts;
        else if (detail.startsWith(QLatin1String("SCAN ")) && !detail.contains(QLatin1String(" USING ")))
            ++scans;
        else
            ++other;
    }
    sqlite3_finalize(s);
    return scans == 1 && sorts == (sorted ? 1 : 0) && other == 0;
}

}  // namespace

void TakeStatementOrder(RowSet& set, const QString& sql)
{
    const int at = topLevelOrderBy(sql);
    if (at < 0) {
        set.orderKnown = true;
        return;
    }
    const auto terms = orderTerms(sql.mid(at));
    if (!terms)
        return;
    sqlite3* db = set.conn->db;
    const QByteArray table = set.baseTable.toUtf8();
    std::vector<OrderKey> keys;
    for (const auto& [name, desc] : *terms) {
        // The term must name one field, taken straight from the base table's column of that name.
        int field = -1;
        for (int k = 0; k < set.fields.size(); ++k)
            if (set.fields[k].name.compare(name, Qt::CaseInsensitive) == 0) {
                if (field >= 0)
                    return;
                field = k;
            }
        if (field < 0 || !set.fields[field].updatable || set.fields[field].baseColumn.compare(name, Qt::CaseInsensitive) != 0)
            return;
        const char* collation = nullptr;
        if (sqlite3_table_column_metadata(db, nullptr, table.constData(), set.fields[field].baseColumn.toUtf8().constData(),
                                          nullptr, &collation, nullptr, nullptr, nullptr) != SQLITE_OK || !collation)
            return;
        OrderKey key;
        key.field = field;
        key.desc = desc;
        if (qstricmp(collation, "NOCASE") == 0)
            key.nocase = true;
        else if (qstricmp(collation, "BINARY") != 0)
            return;
        keys.push_back(key);
    }
    set.order = std::move(keys);
    set.orderKnown = true;
    // Only when SQLite would scan the table and sort, and scans it the same way unsorted: then
    // the rows come in rowid order both ways and a stable sort here gives the very same order.
    if (!plainScan(db, set.sql, true))
        return;
    const QString head = jet::RewriteStatement(sql.left(at));
    const int rowidAt = set.sql.indexOf(QStringLiteral(".rowid AS __tess_rowid, "));
    if (rowidAt < 0 || !head.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive))
        return;
    const QString unsorted = set.sql.left(rowidAt) + QStringLiteral(".rowid AS __tess_rowid, ") + head.mid(6);
    if (!plainScan(db, unsorted, false))
        return;
    set.sql = unsorted;
    set.layerSorts = true;
}

}  // namespace db::detail
