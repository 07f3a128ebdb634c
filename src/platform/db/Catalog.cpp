// Jet DDL and the column catalogue: what ADOX and DAO gave, on the connection's own handle,
// inside the caller's transaction.
#include "platform/db/DbImpl.h"

#include <QRegularExpression>
#include <algorithm>

namespace db::detail {

using jet::QuoteName;
using jet::QuoteText;
using jet::Token;

void ThrowMissingItem(const QString& name)
{
    throw DbError(3265, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal. (%1)").arg(name));
}

int TableCat::find(const QString& column) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].info.name.compare(column, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TableCat::at(const QString& column) const
{
    const int k = find(column);
    if (k < 0)
        ThrowMissingItem(column);
    return k;
}

QString DefaultToSql(const QString& jetDefault)
{
    QString t = jetDefault.trimmed();
    if (t.startsWith(QChar('=')))
        t = t.mid(1).trimmed();
    if (t.isEmpty() || t.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0)
        return {};
    static const QRegularExpression number(QStringLiteral("^[-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?$"));
    if (number.match(t).hasMatch())
        return t.startsWith(QChar('+')) ? t.mid(1) : t;
    if (t.size() >= 2 && ((t.startsWith(QChar('"')) && t.endsWith(QChar('"'))) || (t.startsWith(QChar('\'')) && t.endsWith(QChar('\''))))) {
        const QChar q = t[0];
        QString inner = t.mid(1, t.size() - 2);
        inner.replace(QString(2, q), QString(q));
        return QuoteText(inner);
    }
    if (t.size() >= 2 && t.startsWith(QChar('#')) && t.endsWith(QChar('#'))) {
        bool ok = false;
        const QString canon = jet::CanonicalDate(t.mid(1, t.size() - 2), &ok);
        if (ok)
            return QuoteText(canon);
    }
    const QString l = t.toLower().remove(QChar(' '));
    if (l == QLatin1String("now()"))
        return QStringLiteral("(datetime('now','localtime'))");
    if (l == QLatin1String("date()"))
        return QStringLiteral("(date('now','localtime') || ' 00:00:00')");
    if (l == QLatin1String("time()"))
        return QStringLiteral("('1899-12-30 ' || time('now','localtime'))");
    if (l == QLatin1String("true") || l == QLatin1String("yes") || l == QLatin1String("on"))
        return QStringLiteral("-1");
    if (l == QLatin1String("false") || l == QLatin1String("no") || l == QLatin1String("off"))
        return QStringLiteral("0");
    return QuoteText(t);
}

namespace {

bool isStopWord(const Token& t)
{
    static const char* words[] = {"NOT", "NULL", "DEFAULT", "PRIMARY", "UNIQUE", "CONSTRAINT", "REFERENCES", "CHECK"};
    for (const char* w : words)
        if (t.is(w))
            return true;
    return false;
}

bool isName(const Token& t) { return t.kind == Token::Word || t.kind == Token::Quoted; }

[[noreturn]] void syntax(const QString& what)
{
    throw DbError(3290, QStringLiteral("Syntax error in %1.").arg(what));
}

// Splits tokens [from, to) at commas outside parentheses.
QVector<QVector<Token>> splitItems(const QVector<Token>& sig, int from, int to)
{
    QVector<QVector<Token>> items;
    QVector<Token> cur;
    int depth = 0;
    for (int i = from; i < to; ++i) {
        const Token& t = sig[i];
        if (t.kind == Token::Punct) {
            if (t.text == QLatin1String("("))
                ++depth;
            else if (t.text == QLatin1String(")"))
                --depth;
            else if (t.text == QLatin1String(",") && depth == 0) {
                items << cur;
                cur.clear();
                continue;
            }
        }
        cur << t;
    }
    if (!cur.isEmpty())
        items << cur;
    return items;
}

QString tokensText(const QVector<Token>& toks, int from, int to)
{
    QString out;
    for (int i = from; i < to; ++i) {
        const Token& t = toks[i];
        if (!out.isEmpty() && t.kind != Token::Punct && !(out.endsWith(QChar('('))))
            out += QChar(' ');
        if (t.kind == Token::String)
            out += QChar('"') + QString(t.text).replace(QChar('"'), QStringLiteral("\"\"")) + QChar('"');
        else if (t.kind == Token::Date)
            out += QChar('#') + t.text + QChar('#');
        else
            out += t.text;
    }
    return out;
}

// Names inside "( a, b DESC )" starting at sig[i] == "(".
QStringList nameList(const QVector<Token>& sig, int& i)
{
    QStringList names;
    if (i >= sig.size() || sig[i].text != QLatin1String("("))
        syntax(QStringLiteral("index definition"));
    ++i;
    while (i < sig.size() && sig[i].text != QLatin1String(")")) {
        if (isName(sig[i]) && !sig[i].is("ASC") && !sig[i].is("DESC"))
            names << sig[i].text;
        ++i;
    }
    ++i;
    return names;
}

struct ColumnDef {
    CatColumn col;
    bool unique = false;
    bool primary = false;
};

ColumnDef parseColumn(const QVector<Token>& item)
{
    if (item.isEmpty() || !isName(item[0]))
        syntax(QStringLiteral("field definition"));
    ColumnDef def;
    int i = 1;
    int typeEnd = i;
    while (typeEnd < item.size() && !isStopWord(item[typeEnd]))
        ++typeEnd;
    const jet::JetType type = jet::ParseType(tokensText(item, 1, typeEnd));
    CatColumn& c = def.col;
    c.info.name = item[0].text;
    c.info.jetType = type.jetType;
    c.info.adoType = type.adoType;
    c.info.definedSize = type.definedSize;
    c.info.identity = type.identity;
    c.info.allowZeroLength = false;
    c.sqlDecl = type.sqlDecl;
    c.isText = type.isText;
    i = typeEnd;
    while (i < item.size()) {
        const Token& t = item[i];
        if (t.is("NOT") && i + 1 < item.size() && item[i + 1].is("NULL")) {
            c.info.required = true;
            i += 2;
        } else if (t.is("NULL")) {
            ++i;
        } else if (t.is("DEFAULT")) {
            int j = i + 1;
            int depth = 0;
            while (j < item.size() && (depth > 0 || !isStopWord(item[j]))) {
                if (item[j].text == QLatin1String("(")) ++depth;
                if (item[j].text == QLatin1String(")")) --depth;
                ++j;
            }
            c.info.defaultValue = tokensText(item, i + 1, j);
            c.dflt = DefaultToSql(c.info.defaultValue);
            i = j;
        } else if (t.is("PRIMARY")) {
            def.primary = def.unique = true;
            c.info.required = true;
            i += 2;
        } else if (t.is("UNIQUE")) {
            def.unique = true;
            ++i;
        } else if (t.is("CONSTRAINT")) {
            i += 2;
        } else {
            syntax(QStringLiteral("field definition"));
        }
    }
    return def;
}

QString columnSql(const CatColumn& c)
{
    QString s = QuoteName(c.info.name) + QChar(' ') + c.sqlDecl;
    if ((c.info.required || c.nnIndex) && !c.info.identity)
        s += QStringLiteral(" NOT NULL");
    if (!c.dflt.isEmpty())
        s += QStringLiteral(" DEFAULT ") + c.dflt;
    return s;
}

int maxOrdinal(const QVector<CatColumn>& cols)
{
    int m = -1;
    for (const CatColumn& c : cols)
        m = std::max(m, c.info.ordinal);
    return m;
}

QString textAt(sqlite3_stmt* s, int col)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, col));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(s, col)) : QString();
}

}  // namespace

// ---- catalogue ----------------------------------------------------------------------------

QString ConnState::tableName(const QString& table)
{
    check();
    static const QString kSql = QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name = ? COLLATE NOCASE");
    sqlite3_stmt* s = keptStatement(kSql);  // asked at every open of a table's rows
    if (!s)
        ThrowSqlite(db, sqlite3_errcode(db), kSql);
    CachedUse use{s};
    BindValue(s, 1, table);
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW)
        return textAt(s, 0);
    if (rc != SQLITE_DONE)
        ThrowSqlite(db, rc, kSql);
    return {};
}

int ConnState::schemaVersion()
{
    sqlite3_stmt* s = keptStatement(QStringLiteral("PRAGMA schema_version"));
    if (!s)
        return -1;
    const int rc = sqlite3_step(s);
    const int v = rc == SQLITE_ROW ? sqlite3_column_int(s, 0) : -1;
    sqlite3_reset(s);
    // Another program holding the file locked: said at once, not after a wait for every column.
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        throw DbError(3260, QStringLiteral("Could not update; currently locked. (database is locked)"));
    return v;
}

const TableCat& ConnState::catalogue(const QString& table)
{
    check();
    // Another connection may have changed the schema since the cache was read.
    const int version = schemaVersion();
    if (version != catVersion || version < 0) {
        catCache.clear();
        catVersion = version;
    }
    return catalogueAsChecked(table);
}

const TableCat& ConnState::catalogueAsChecked(const QString& table)
{
    const QString key = table.toLower();
    auto it = catCache.constFind(key);
    if (it != catCache.constEnd())
        return it.value();
    const QString real = tableName(table);
    if (real.isEmpty())
        throw DbError(3078, QStringLiteral("The database engine cannot find the input table or query '%1'. "
                                           "Make sure it exists and that its name is spelled correctly.").arg(table));
    QHash<QString, CatColumn> stored;
    {
        Stmt s(db, QStringLiteral("SELECT col, jettype, adotype, size, required, azl, deflt, dfltsql, ordinal, ident, nnindex, decl"
                                  " FROM __tess_columns WHERE tbl = ?"));
        s.bindAt(1, real);
        while (s.step()) {
            CatColumn c;
            c.info.name = textAt(s.get(), 0);
            c.info.jetType = textAt(s.get(), 1);
            c.info.adoType = sqlite3_column_int(s.get(), 2);
            c.info.definedSize = sqlite3_column_int(s.get(), 3);
            c.info.required = sqlite3_column_int(s.get(), 4) != 0;
            c.info.allowZeroLength = sqlite3_column_int(s.get(), 5) != 0;
            c.info.defaultValue = textAt(s.get(), 6);
            c.dflt = textAt(s.get(), 7);
            c.info.ordinal = sqlite3_column_int(s.get(), 8);
            c.info.identity = sqlite3_column_int(s.get(), 9) != 0;
            c.nnIndex = sqlite3_column_int(s.get(), 10) != 0;
            c.sqlDecl = textAt(s.get(), 11);
            c.isText = c.info.adoType == adVarWChar || c.info.adoType == adWChar || c.info.adoType == adLongVarWChar;
            stored.insert(c.info.name.toLower(), c);
        }
    }
    TableCat cat;
    cat.name = real;
    QVector<int> adopted;
    Stmt s(db, QStringLiteral("PRAGMA table_info(") + QuoteName(real) + QChar(')'));
    while (s.step()) {
        const QString name = textAt(s.get(), 1);
        auto found = stored.constFind(name.toLower());
        CatColumn c;
        if (found != stored.constEnd()) {
            c = found.value();
            c.info.name = name;
        } else {
            const jet::JetType t = jet::TypeFromDeclared(textAt(s.get(), 2));
            c.info.name = name;
            c.info.jetType = t.jetType;
            c.info.adoType = t.adoType;
            c.info.definedSize = t.definedSize;
            c.info.identity = t.identity;
            c.info.required = sqlite3_column_int(s.get(), 3) != 0;
            c.info.allowZeroLength = true;
            c.dflt = textAt(s.get(), 4);
            c.info.defaultValue = c.dflt;
            c.sqlDecl = textAt(s.get(), 2);
            c.isText = t.isText;
            adopted << cat.columns.size();
        }
        cat.columns << c;
    }
    int next = maxOrdinal(cat.columns);
    for (int i : adopted)
        cat.columns[i].info.ordinal = ++next;
    return catCache.insert(key, cat).value();
}

void ConnState::writeCatalogue(const QString& table, const QVector<CatColumn>& columns)
{
    QHash<QString, qint64> seq;
    {
        Stmt s(db, QStringLiteral("SELECT col, seq FROM __tess_columns WHERE tbl = ?"));
        s.bindAt(1, table);
        while (s.step())
            seq.insert(textAt(s.get(), 0).toLower(), sqlite3_column_int64(s.get(), 1));
    }
    {
        Stmt del(db, QStringLiteral("DELETE FROM __tess_columns WHERE tbl = ?"));
        del.bindAt(1, table);
        del.step();
    }
    Stmt ins(db, QStringLiteral("INSERT INTO __tess_columns (tbl, col, jettype, adotype, size, required, azl, deflt, dfltsql,"
                                " ordinal, ident, seq, nnindex, decl) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (const CatColumn& c : columns) {
        sqlite3_reset(ins.get());
        const Params p = {table, c.info.name, c.info.jetType, c.info.adoType, c.info.definedSize, c.info.required ? 1 : 0,
                          c.info.allowZeroLength ? 1 : 0, c.info.defaultValue, c.dflt, c.info.ordinal,
                          c.info.identity ? 1 : 0, seq.value(c.info.name.toLower(), 0), c.nnIndex ? 1 : 0, c.sqlDecl};
        ins.bind(p);
        ins.step();
    }
    forget(table);
}

void ConnState::dropLayerTriggers(const QString& table)
{
    QStringList names;
    {
        Stmt s(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type='trigger' AND tbl_name = ? COLLATE NOCASE"
                                  " AND substr(name,1,7) = '__tess_'"));
        s.bindAt(1, table);
        while (s.step())
            names << textAt(s.get(), 0);
    }
    for (const QString& n : names)
        execPlain(QStringLiteral("DROP TRIGGER ") + QuoteName(n));
}

void ConnState::makeIdentityTriggers(const QString& table, const QVector<CatColumn>& columns)
{
    dropLayerTriggers(table);
    makeCheckTriggers(table, columns);
    for (const CatColumn& c : columns) {
        if (!c.info.identity)
            continue;
        const QString t = QuoteName(table), col = QuoteName(c.info.name);
        const QString where = QStringLiteral("tbl = %1 AND col = %2").arg(QuoteText(table), QuoteText(c.info.name));
        execPlain(QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 FOR EACH ROW WHEN NEW.%3 IS NULL BEGIN "
                                 "UPDATE __tess_columns SET seq = seq + 1 WHERE %4; "
                                 "UPDATE %2 SET %3 = (SELECT seq FROM __tess_columns WHERE %4) WHERE rowid = NEW.rowid; END")
                      .arg(QuoteName(QStringLiteral("__tess_id_%1_%2").arg(table, c.info.name)), t, col, where));
        execPlain(QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 FOR EACH ROW WHEN NEW.%3 IS NOT NULL BEGIN "
                                 "UPDATE __tess_columns SET seq = NEW.%3 WHERE %4 AND seq < NEW.%3; END")
                      .arg(QuoteName(QStringLiteral("__tess_ix_%1_%2").arg(table, c.info.name)), t, col, where));
    }
}

// What Jet refuses on every write, statements included: a text longer than its column (3163)
// and a text that is no number in a number column (3464).  An empty text in a number column
// becomes Null, as a recordset writes it.
void ConnState::makeCheckTriggers(const QString& table, const QVector<CatColumn>& columns)
{
    QStringList when, raise, empty, nulls;
    for (const CatColumn& c : columns) {
        const QString col = QStringLiteral("NEW.") + QuoteName(c.info.name);
        const int t = c.info.adoType;
        if ((t == adVarWChar || t == adWChar) && c.info.definedSize > 0) {
            const QString cond = QStringLiteral("length(%1) > %2").arg(col).arg(c.info.definedSize);
            when << cond;
            raise << QStringLiteral("SELECT RAISE(ABORT, %1) WHERE %2;")
                         .arg(QuoteText(QStringLiteral("__tess_toolong:") + c.info.name), cond);
        } else if (!c.info.identity
                   && (t == adSmallInt || t == adInteger || t == adUnsignedTinyInt || t == adDouble || t == adSingle
                       || t == adCurrency || t == adBoolean)) {
            const QString cond = QStringLiteral("(typeof(%1) = 'text' AND %1 <> '')").arg(col);
            when << cond;
            raise << QStringLiteral("SELECT RAISE(ABORT, %1) WHERE %2;")
                         .arg(QuoteText(QStringLiteral("__tess_mismatch:") + c.info.name), cond);
            empty << QStringLiteral("(typeof(%1) = 'text' AND %1 = '')").arg(col);
            nulls << QStringLiteral("%1 = CASE WHEN typeof(%1) = 'text' AND %1 = '' THEN NULL ELSE %1 END").arg(QuoteName(c.info.name));
        } else if (t == adDate) {
            // A date written as text "yyyy/mm/dd" or "yyyy/mm/dd hh:nn:ss" is kept in the stored form, so
            // that it compares and sorts with the others; an empty text is Null.
            static const char* day = "[0-9][0-9][0-9][0-9][/-][0-9][0-9][/-][0-9][0-9]";
            const QString name = QuoteName(c.info.name);
            const QString loose = QStringLiteral("(typeof(%1) = 'text' AND (%1 = '' OR %1 GLOB '%2' OR (%1 GLOB '%2 [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' AND %1 GLOB '*/*')))");
            empty << loose.arg(col, QLatin1String(day));
            nulls << QStringLiteral("%1 = CASE WHEN typeof(%1) <> 'text' THEN %1 WHEN %1 = '' THEN NULL "
                                    "WHEN %1 GLOB '%2' THEN replace(%1, '/', '-') || ' 00:00:00' "
                                    "WHEN %1 GLOB '%2 [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' THEN replace(%1, '/', '-') ELSE %1 END")
                         .arg(name, QLatin1String(day));
        }
    }
    const QString t = QuoteName(table);
    for (const char* op : {"INSERT", "UPDATE"}) {
        const QString suffix = QStringLiteral("%1_%2").arg(QString::fromLatin1(op).toLower(), table);
        if (!when.isEmpty())
            execPlain(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW WHEN %4 BEGIN %5 END")
                          .arg(QuoteName(QStringLiteral("__tess_ck_") + suffix), QString::fromLatin1(op), t,
                               when.join(QStringLiteral(" OR ")), raise.join(QChar(' '))));
        if (!empty.isEmpty())
            execPlain(QStringLiteral("CREATE TRIGGER %1 AFTER %2 ON %3 FOR EACH ROW WHEN %4 BEGIN UPDATE %3 SET %5 WHERE rowid = NEW.rowid; END")
                          .arg(QuoteName(QStringLiteral("__tess_nz_") + suffix), QString::fromLatin1(op), t,
                               empty.join(QStringLiteral(" OR ")), nulls.join(QStringLiteral(", "))));
    }
}

void ConnState::rebuild(const QString& table, QVector<CatColumn> columns)
{
    const QString real = tableName(table);
    QStringList indexSql;
    {
        Stmt s(db, QStringLiteral("SELECT sql FROM sqlite_master WHERE type='index' AND tbl_name = ? AND sql IS NOT NULL"));
        s.bindAt(1, real);
        while (s.step())
            indexSql << textAt(s.get(), 0);
    }
    QStringList defs, names;
    for (const CatColumn& c : columns) {
        defs << columnSql(c);
        names << QuoteName(c.info.name);
    }
    const QString tmp = QStringLiteral("\"__tess_rebuild\"");
    execPlain(QStringLiteral("DROP TABLE IF EXISTS ") + tmp);
    execPlain(QStringLiteral("CREATE TABLE %1 (%2)").arg(tmp, defs.join(QStringLiteral(", "))));
    execPlain(QStringLiteral("INSERT INTO %1 (rowid, %2) SELECT rowid, %2 FROM %3 ORDER BY rowid")
                  .arg(tmp, names.join(QStringLiteral(", ")), QuoteName(real)));
    execPlain(QStringLiteral("DROP TABLE ") + QuoteName(real));
    execPlain(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(tmp, QuoteName(real)));
    for (const QString& sql : indexSql)
        execPlain(sql);
    writeCatalogue(real, columns);
    makeIdentityTriggers(real, columns);
}

// ---- DDL ----------------------------------------------------------------------------------

void ConnState::createTable(const QVector<Token>& sig)
{
    // CREATE TABLE name ( items )
    if (sig.size() < 5 || !isName(sig[2]) || sig[3].text != QLatin1String("(") || sig.last().text != QLatin1String(")"))
        syntax(QStringLiteral("CREATE TABLE statement"));
    const QString table = sig[2].text;
    if (!tableName(table).isEmpty())
        throw DbError(3010, QStringLiteral("Table '%1' already exists.").arg(table));
    QVector<CatColumn> cols;
    QVector<QStringList> uniques;
    QVector<bool> primaries;
    for (const QVector<Token>& item : splitItems(sig, 4, sig.size() - 1)) {
        int i = 0;
        if (!item.isEmpty() && item[0].is("CONSTRAINT"))
            i = 2;
        if (i < item.size() && (item[i].is("PRIMARY") || item[i].is("UNIQUE") || item[i].is("FOREIGN"))) {
            if (item[i].is("FOREIGN"))
                continue;  // Jet relations are not kept
            const bool primary = item[i].is("PRIMARY");
            int j = i + 1;
            if (j < item.size() && item[j].is("KEY"))
                ++j;
            uniques << nameList(item, j);
            primaries << primary;
            continue;
        }
        ColumnDef def = parseColumn(item);
        if (std::any_of(cols.begin(), cols.end(), [&](const CatColumn& c) {
                return c.info.name.compare(def.col.info.name, Qt::CaseInsensitive) == 0;
            }))
            throw DbError(3191, QStringLiteral("Cannot define field '%1' more than once.").arg(def.col.info.name));
        def.col.info.ordinal = cols.size();
        if (def.unique) {
            uniques << QStringList{def.col.info.name};
            primaries << def.primary;
        }
        cols << def.col;
    }
    if (cols.isEmpty())
        syntax(QStringLiteral("CREATE TABLE statement"));
    for (int u = 0; u < uniques.size(); ++u)
        if (primaries[u])
            for (CatColumn& c : cols)
                if (uniques[u].contains(c.info.name, Qt::CaseInsensitive))
                    c.info.required = true;
    Savepoint sp(*this);
    QStringList defs;
    for (const CatColumn& c : cols)
        defs << columnSql(c);
    execPlain(QStringLiteral("CREATE TABLE %1 (%2)").arg(QuoteName(table), defs.join(QStringLiteral(", "))));
    for (int u = 0; u < uniques.size(); ++u) {
        QStringList q;
        for (const QString& n : uniques[u])
            q << QuoteName(n);
        execPlain(QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
                      .arg(QuoteName(QStringLiteral("%1_%2%3").arg(table, primaries[u] ? QStringLiteral("PrimaryKey") : QStringLiteral("Unique")).arg(u)),
                           QuoteName(table), q.join(QStringLiteral(", "))));
    }
    writeCatalogue(table, cols);
    makeIdentityTriggers(table, cols);
    sp.release();
}

void ConnState::createIndex(const QVector<Token>& sig)
{
    int i = 1;
    bool unique = false;
    if (i < sig.size() && sig[i].is("UNIQUE")) {
        unique = true;
        ++i;
    }
    if (i >= sig.size() || !sig[i].is("INDEX") || i + 3 >= sig.size() || !isName(sig[i + 1]) || !sig[i + 2].is("ON")
        || !isName(sig[i + 3]))
        syntax(QStringLiteral("CREATE INDEX statement"));
    const QString name = sig[i + 1].text;
    const QString table = sig[i + 3].text;
    i += 4;
    const int listStart = i;
    // Beside Jet's list of fields, an index may order by expressions ("Length(LTrim(c, '0'))",
    // "c COLLATE NOCASE"): such a list goes to SQLite as written and names no required fields.
    bool expressions = false;
    int listEnd = listStart + 1;
    for (int depth = 1; listEnd < sig.size(); ++listEnd) {
        const Token& t = sig[listEnd];
        if (t.text == QLatin1String("(") && t.kind == Token::Punct)
            ++depth, expressions = true;
        else if (t.text == QLatin1String(")") && t.kind == Token::Punct && --depth == 0)
            break;
        else if (t.kind == Token::String || t.kind == Token::Number || t.is("COLLATE"))
            expressions = true;
    }
    QStringList cols;
    QStringList listSql;
    if (expressions) {
        QVector<Token> spaced;
        for (int k = listStart + 1; k < listEnd; ++k)
            spaced << Token{Token::Space, QStringLiteral(" ")} << sig[k];
        listSql << jet::Render(spaced);
        i = listEnd + 1;
    } else {
        cols = nameList(sig, i);
        for (int k = listStart + 1; k < i - 1; ++k) {
            if (sig[k].is("ASC") || sig[k].is("DESC"))
                listSql.last() += QChar(' ') + sig[k].text.toUpper();
            else if (isName(sig[k]))
                listSql << QuoteName(sig[k].text);
        }
    }
    bool disallowNull = false;
    for (; i < sig.size(); ++i) {
        if (sig[i].is("PRIMARY")) {
            unique = true;
            disallowNull = true;
        } else if (sig[i].is("DISALLOW")) {
            disallowNull = true;
        }
    }
    const TableCat cat = catalogue(table);
    for (const QString& c : cols)
        if (cat.find(c) < 0)
            ThrowMissingItem(c);
    Savepoint sp(*this);
    execPlain(QStringLiteral("CREATE %1INDEX %2 ON %3 %4")
                  .arg(unique ? QStringLiteral("UNIQUE ") : QString(), QuoteName(name), QuoteName(cat.name),
                       QChar('(') + listSql.join(QStringLiteral(", ")) + QChar(')')));
    if (disallowNull) {
        QVector<CatColumn> columns = cat.columns;
        bool needRebuild = false;
        for (CatColumn& c : columns) {
            if (!cols.contains(c.info.name, Qt::CaseInsensitive))
                continue;
            if (!c.info.identity && !c.info.required && !c.nnIndex)
                needRebuild = true;
            c.nnIndex = true;
        }
        if (needRebuild)
            rebuild(cat.name, columns);
        else
            writeCatalogue(cat.name, columns);
    }
    sp.release();
}

void ConnState::dropIndex(const QVector<Token>& sig)
{
    if (sig.size() < 3 || !isName(sig[2]))
        syntax(QStringLiteral("DROP INDEX statement"));
    execPlain(QStringLiteral("DROP INDEX ") + QuoteName(sig[2].text));
}

void ConnState::dropTable(const QString& table)
{
    const QString real = tableName(table);
    if (real.isEmpty())
        throw DbError(3376, QStringLiteral("Table '%1' does not exist.").arg(table));
    Savepoint sp(*this);
    execPlain(QStringLiteral("DROP TABLE ") + QuoteName(real));
    Stmt del(db, QStringLiteral("DELETE FROM __tess_columns WHERE tbl = ?"));
    del.bindAt(1, real);
    del.step();
    forget(real);
    sp.release();
}

void ConnState::addColumns(const QString& table, QVector<CatColumn> defs)
{
    const TableCat cat = catalogue(table);
    QVector<CatColumn> columns = cat.columns;
    Savepoint sp(*this);
    bool needRebuild = false;
    QVector<QPair<QString, qint64>> numbered;
    for (CatColumn c : defs) {
        bool clash = false;
        for (const CatColumn& e : columns)
            clash = clash || e.info.name.compare(c.info.name, Qt::CaseInsensitive) == 0;
        if (clash)
            throw DbError(3380, QStringLiteral("Field '%1' already exists in table '%2'.").arg(c.info.name, cat.name));
        c.info.ordinal = maxOrdinal(columns) + 1;
        QString sql = QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(QuoteName(cat.name), QuoteName(c.info.name), c.sqlDecl);
        if (!c.dflt.isEmpty())
            sql += QStringLiteral(" DEFAULT ") + c.dflt;
        if (c.info.required && !c.info.identity)
            needRebuild = true;
        execPlain(sql);
        if (c.info.identity) {
            const QString t = QuoteName(cat.name), col = QuoteName(c.info.name);
            execPlain(QStringLiteral("UPDATE %1 SET %2 = r.n FROM (SELECT rowid AS rid, row_number() OVER (ORDER BY rowid) AS n FROM %1) AS r"
                                     " WHERE %1.rowid = r.rid").arg(t, col));
            Stmt cnt(db, QStringLiteral("SELECT count(*) FROM ") + t);
            cnt.step();
            numbered << qMakePair(c.info.name, qint64(sqlite3_column_int64(cnt.get(), 0)));
        }
        columns << c;
    }
    writeCatalogue(cat.name, columns);
    for (const auto& n : numbered) {
        Stmt s(db, QStringLiteral("UPDATE __tess_columns SET seq = ? WHERE tbl = ? AND col = ?"));
        s.bind({n.second, cat.name, n.first});
        s.step();
    }
    if (needRebuild)
        rebuild(cat.name, columns);
    else
        makeIdentityTriggers(cat.name, columns);
    sp.release();
}

void ConnState::dropColumns(const QString& table, const QStringList& names)
{
    const TableCat cat = catalogue(table);
    QVector<CatColumn> columns = cat.columns;
    for (const QString& n : names)
        if (cat.find(n) < 0)
            ThrowMissingItem(n);
    Savepoint sp(*this);
    dropLayerTriggers(cat.name);
    for (const QString& n : names) {
        execPlain(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(QuoteName(cat.name), QuoteName(n)));
        columns.erase(std::remove_if(columns.begin(), columns.end(),
                                     [&](const CatColumn& c) { return c.info.name.compare(n, Qt::CaseInsensitive) == 0; }),
                      columns.end());
    }
    writeCatalogue(cat.name, columns);
    makeIdentityTriggers(cat.name, columns);
    sp.release();
}

void ConnState::alterTable(const QVector<Token>& sig)
{
    // ALTER TABLE name ADD [COLUMN] defs | DROP [COLUMN] names | ALTER [COLUMN] def
    if (sig.size() < 5 || !isName(sig[2]))
        syntax(QStringLiteral("ALTER TABLE statement"));
    const QString table = sig[2].text;
    int i = 3;
    const Token action = sig[i++];
    if (i < sig.size() && sig[i].is("COLUMN"))
        ++i;
    if (action.is("ADD")) {
        if (i < sig.size() && (sig[i].is("CONSTRAINT") || sig[i].is("PRIMARY") || sig[i].is("UNIQUE")))
            throw DbError(3251, QStringLiteral("Operation is not supported for this type of object."));
        QVector<CatColumn> defs;
        for (QVector<Token> item : splitItems(sig, i, sig.size())) {
            if (!item.isEmpty() && item[0].is("COLUMN"))
                item.removeFirst();
            defs << parseColumn(item).col;
        }
        addColumns(table, defs);
    } else if (action.is("DROP")) {
        if (i < sig.size() && sig[i].is("CONSTRAINT")) {
            if (i + 1 >= sig.size())
                syntax(QStringLiteral("ALTER TABLE statement"));
            execPlain(QStringLiteral("DROP INDEX ") + QuoteName(sig[i + 1].text));
            return;
        }
        QStringList names;
        for (QVector<Token> item : splitItems(sig, i, sig.size())) {
            if (!item.isEmpty() && item[0].is("COLUMN"))
                item.removeFirst();
            if (item.size() != 1 || !isName(item[0]))
                syntax(QStringLiteral("ALTER TABLE statement"));
            names << item[0].text;
        }
        dropColumns(table, names);
    } else if (action.is("ALTER")) {
        const ColumnDef def = parseColumn(sig.mid(i));
        const TableCat cat = catalogue(table);
        const int k = cat.find(def.col.info.name);
        if (k < 0)
            ThrowMissingItem(def.col.info.name);
        QVector<CatColumn> columns = cat.columns;
        CatColumn c = def.col;
        c.info.name = columns[k].info.name;
        c.info.ordinal = columns[k].info.ordinal;
        c.info.allowZeroLength = columns[k].info.allowZeroLength;
        columns[k] = c;
        Savepoint sp(*this);
        rebuild(cat.name, columns);
        sp.release();
    } else {
        syntax(QStringLiteral("ALTER TABLE statement"));
    }
}

long ConnState::execJet(const QString& jetSql, const Params& params)
{
    check();
    QVector<Token> sig = jet::Significant(jet::Tokenize(jetSql));
    while (!sig.isEmpty() && sig.last().kind == Token::Punct && sig.last().text == QLatin1String(";"))
        sig.removeLast();
    if (sig.size() >= 2) {
        if (sig[0].is("CREATE") && sig[1].is("TABLE")) {
            createTable(sig);
            return 0;
        }
        if (sig[0].is("CREATE") && (sig[1].is("INDEX") || (sig[1].is("UNIQUE") && sig.size() > 2 && sig[2].is("INDEX")))) {
            createIndex(sig);
            return 0;
        }
        if (sig[0].is("ALTER") && sig[1].is("TABLE")) {
            alterTable(sig);
            return 0;
        }
        if (sig[0].is("DROP") && sig[1].is("TABLE") && sig.size() >= 3) {
            dropTable(sig[2].text);
            return 0;
        }
        if (sig[0].is("DROP") && sig[1].is("INDEX")) {
            dropIndex(sig);
            return 0;
        }
    }
    return exec(jet::RewriteStatement(jetSql), params);
}

}  // namespace db::detail

// ---- Connection's catalogue calls ----------------------------------------------------------

namespace db {

using detail::CatColumn;
using detail::TableCat;

bool Connection::TableExists(const QString& table) const
{
    try {
        return !d->st->tableName(table).isEmpty();
    } catch (const DbError&) {
        return false;
    }
}

bool Connection::IndexExists(const QString& index) const
{
    auto& st = *d->st;
    st.check();
    detail::Stmt s(st.db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ? COLLATE NOCASE"));
    s.bindAt(1, index);
    return s.step();
}

bool Connection::ColumnExists(const QString& table, const QString& column) const
{
    try {
        return d->st->catalogue(table).find(column) >= 0;
    } catch (const DbError&) {
        return false;
    }
}

QVector<ColumnInfo> Connection::Columns(const QString& table) const
{
    const auto& cat = d->st->catalogue(table);
    QVector<ColumnInfo> out;
    for (const CatColumn& c : cat.columns)
        out << c.info;
    std::stable_sort(out.begin(), out.end(), [](const ColumnInfo& a, const ColumnInfo& b) { return a.ordinal < b.ordinal; });
    return out;
}

ColumnInfo Connection::Column(const QString& table, const QString& column) const
{
    const auto& cat = d->st->catalogue(table);
    const int k = cat.at(column);
    return cat.columns[k].info;
}

void Connection::AddColumn(const QString& table, const QString& column, const QString& jetTypeText)
{
    auto& st = *d->st;
    st.check();
    QVector<jet::Token> item = jet::Significant(jet::Tokenize(jetTypeText));
    item.prepend(jet::Token{jet::Token::Quoted, column});
    // Reuse the DDL parser through a one-item ALTER.
    QVector<jet::Token> sig = {jet::Token{jet::Token::Word, QStringLiteral("ALTER")}, jet::Token{jet::Token::Word, QStringLiteral("TABLE")},
                               jet::Token{jet::Token::Quoted, table}, jet::Token{jet::Token::Word, QStringLiteral("ADD")}};
    sig += item;
    st.alterTable(sig);
}

void Connection::DropColumn(const QString& table, const QString& column)
{
    d->st->check();
    d->st->dropColumns(table, {column});
}

void Connection::RenameColumn(const QString& table, const QString& oldName, const QString& newName)
{
    auto& st = *d->st;
    const TableCat cat = st.catalogue(table);
    const int k = cat.at(oldName);
    const int clash = cat.find(newName);
    if (clash >= 0 && clash != k)
        throw DbError(3191, QStringLiteral("Field '%1' already exists in table '%2'.").arg(newName, cat.name));
    detail::Savepoint sp(st);
    QVector<CatColumn> columns = cat.columns;
    const QString old = columns[k].info.name;
    st.dropLayerTriggers(cat.name);
    if (old != newName)
        st.execPlain(QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3")
                         .arg(jet::QuoteName(cat.name), jet::QuoteName(old), jet::QuoteName(newName)));
    {
        detail::Stmt s(st.db, QStringLiteral("UPDATE __tess_columns SET col = ? WHERE tbl = ? AND col = ?"));
        s.bind({newName, cat.name, old});
        s.step();
    }
    columns[k].info.name = newName;
    st.writeCatalogue(cat.name, columns);
    st.makeIdentityTriggers(cat.name, columns);
    sp.release();
}

void Connection::SetDefaultValue(const QString& table, const QString& column, const QString& defaultText)
{
    auto& st = *d->st;
    const TableCat cat = st.catalogue(table);
    const int k = cat.at(column);
    QVector<CatColumn> columns = cat.columns;
    columns[k].info.defaultValue = defaultText;
    columns[k].dflt = detail::DefaultToSql(defaultText);
    detail::Savepoint sp(st);
    st.rebuild(cat.name, columns);
    sp.release();
}

void Connection::SetOrdinalPosition(const QString& table, const QString& column, int position)
{
    auto& st = *d->st;
    const TableCat cat = st.catalogue(table);
    const int k = cat.at(column);
    if (cat.columns[k].info.ordinal == position)
        return;
    QVector<CatColumn> columns = cat.columns;
    columns[k].info.ordinal = position;
    QVector<int> order(columns.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return columns[a].info.ordinal < columns[b].info.ordinal; });
    bool moved = false;
    QVector<CatColumn> sorted;
    for (int i = 0; i < order.size(); ++i) {
        moved = moved || order[i] != i;
        sorted << columns[order[i]];
    }
    detail::Savepoint sp(st);
    if (moved)
        st.rebuild(cat.name, sorted);
    else
        st.writeCatalogue(cat.name, columns);
    sp.release();
}

bool Connection::AllowZeroLength(const QString& table, const QString& column) const
{
    return Column(table, column).allowZeroLength;
}

void Connection::SetAllowZeroLength(const QString& table, const QString& column, bool allow)
{
    auto& st = *d->st;
    const TableCat cat = st.catalogue(table);
    const int k = cat.at(column);
    QVector<CatColumn> columns = cat.columns;
    columns[k].info.allowZeroLength = allow;
    detail::Savepoint sp(st);
    st.writeCatalogue(cat.name, columns);
    sp.release();
}

}  // namespace db
