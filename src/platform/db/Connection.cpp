#include "platform/db/DbImpl.h"

#include "platform/text/VbText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <optional>

namespace db {

DbError::DbError(long number, const QString& description, const QString& subject)
    : std::runtime_error(description.toStdString()), number_(number), description_(description), subject_(subject)
{
}

QString ConnectionText(const QString& path)
{
    QString quoted = path;
    quoted.replace(QChar('"'), QStringLiteral("\"\""));
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"") + quoted + QChar('"');
}

DbError ChangedByAnotherUser()
{
    return DbError(3197, QStringLiteral("The Microsoft Jet database engine stopped the process because you and another user "
                                        "are attempting to change the same data at the same time."));
}

namespace detail {

void ThrowClosed()
{
    throw DbError(3704, QStringLiteral("Operation is not allowed when the object is closed."));
}

void ThrowNoCurrentRecord()
{
    throw DbError(3021, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                       "Requested operation requires a current record."));
}

void ThrowNotUpdatable()
{
    throw DbError(3251, QStringLiteral("Current Recordset does not support updating. This may be a limitation of "
                                       "the provider, or of the selected locktype."));
}

void ThrowBadBookmark()
{
    throw DbError(3159, QStringLiteral("Not a valid bookmark."));
}

void ThrowBadArgument(const QString& what)
{
    throw DbError(3001, QStringLiteral("Arguments are of the wrong type, are out of acceptable range, or are in "
                                       "conflict with one another. (%1)").arg(what));
}

void ThrowSqlite(sqlite3* db, int rc, const QString& sql)
{
    const int ext = db ? sqlite3_extended_errcode(db) : rc;
    const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const int primary = ext & 0xff;
    if (ext == SQLITE_CONSTRAINT_UNIQUE || ext == SQLITE_CONSTRAINT_PRIMARYKEY)
        throw DbError(3022, QStringLiteral(
            "The changes you requested to the table were not successful because they would create duplicate "
            "values in the index, primary key, or relationship. Change the data in the field or fields that "
            "contain duplicate data, remove the index, or redefine the index to permit duplicate entries and try again."));
    if (ext == SQLITE_CONSTRAINT_NOTNULL || msg.startsWith(QLatin1String("__tess_required"))) {
        QString field = msg.section(QChar(':'), 1).trimmed();
        throw DbError(3314, QStringLiteral("The field '%1' cannot contain a Null value because the Required property "
                                           "for this field is set to True.  Enter a value in this field.").arg(field));
    }
    if (msg.startsWith(QLatin1String("__tess_toolong:")))
        throw DbError(3163, QStringLiteral("The field is too small to accept the amount of data you attempted to add. "
                                           "Try inserting or pasting less data. (%1)").arg(msg.section(QChar(':'), 1)));
    if (msg.startsWith(QLatin1String("__tess_mismatch:")))
        throw DbError(3464, QStringLiteral("Data type mismatch in criteria expression. (%1)").arg(msg.section(QChar(':'), 1)));
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        throw DbError(3260, QStringLiteral("Could not update; currently locked. (%1)").arg(msg));
    if (primary == SQLITE_NOTADB)
        throw DbError(3343, QStringLiteral("Unrecognized database format. (%1)").arg(msg));
    if (primary == SQLITE_CORRUPT)
        throw DbError(3049, QStringLiteral("Cannot open database. It may not be a database that your application "
                                           "recognizes, or the file may be corrupt. (%1)").arg(msg));
    if (primary == SQLITE_FULL)
        throw DbError(3026, QStringLiteral("Not enough space on disk. (%1)").arg(msg));
    if (primary == SQLITE_IOERR)
        throw DbError(3043, QStringLiteral("Disk or network error. (%1)").arg(msg));
    if (primary == SQLITE_READONLY || primary == SQLITE_PERM || primary == SQLITE_CANTOPEN)
        throw DbError(3051, QStringLiteral("The database file cannot be opened for writing. (%1)").arg(msg));
    if (msg.startsWith(QLatin1String("no such table:")))
        throw DbError(3078, QStringLiteral("The database engine cannot find the input table or query '%1'. "
                                           "Make sure it exists and that its name is spelled correctly.")
                                .arg(msg.section(QChar(':'), 1).trimmed()));
    if (msg.startsWith(QLatin1String("no such column:")))
        throw DbError(3061, QStringLiteral("No value given for one or more required parameters. (%1)").arg(msg));
    if (msg.contains(QLatin1String(" has no column named ")))
        throw DbError(3127, QStringLiteral("The INSERT INTO statement contains the following unknown field name: '%1'. "
                                           "Make sure you have typed the name correctly, and try the operation again.")
                                .arg(msg.section(QLatin1String(" has no column named "), 1).trimmed()));
    if (msg.startsWith(QLatin1String("duplicate column name:")))
        throw DbError(3380, QStringLiteral("Field '%1' already exists in table.").arg(msg.section(QChar(':'), 1).trimmed()));
    if (msg.contains(QLatin1String("after drop column")) || msg.startsWith(QLatin1String("cannot drop")))
        throw DbError(3280, QStringLiteral("Can't delete a field that is part of an index or is needed by the system. (%1)").arg(msg));
    if (msg.contains(QLatin1String("syntax error")) || msg.contains(QLatin1String("incomplete input"))
        || msg.contains(QLatin1String("unrecognized token")))
        throw DbError(3075, QStringLiteral("Syntax error in query expression '%1'. (%2)").arg(sql, msg));
    throw DbError(30000 + primary, msg);
}

// ---- statements ---------------------------------------------------------------------------

Stmt::Stmt(sqlite3* db, const QString& sql) : db_(db), sql_(sql)
{
    if (!db)
        ThrowClosed();
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &s_, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(s_);
        s_ = nullptr;
        ThrowSqlite(db, rc, sql);
    }
    // A second statement after the first would be left unrun without a word: refuse it.
    for (const char* p = tail; p && p < utf8.constData() + utf8.size(); ++p) {
        if (*p != ' ' && *p != ';' && *p != '\n' && *p != '\r' && *p != '\t') {
            sqlite3_finalize(s_);
            s_ = nullptr;
            throw DbError(3142, QStringLiteral("Characters found after end of SQL statement. (%1)").arg(sql));
        }
    }
    if (!s_)
        throw DbError(3075, QStringLiteral("Syntax error: empty statement."));
}

Stmt::~Stmt() { sqlite3_finalize(s_); }

void Stmt::bind(const Params& params)
{
    const int wanted = sqlite3_bind_parameter_count(s_);
    if (wanted != params.size())
        throw DbError(3061, QStringLiteral("Too few parameters. Expected %1, given %2.").arg(wanted).arg(params.size()));
    for (int i = 0; i < params.size(); ++i)
        BindValue(s_, i + 1, params[i]);
}

void Stmt::bindAt(int index1, const Value& v) { BindValue(s_, index1, v); }

bool Stmt::step()
{
    const int rc = sqlite3_step(s_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    ThrowSqlite(db_, rc, sql_);
}

void BindValue(sqlite3_stmt* s, int i, const Value& v)
{
    if (v.isNull() || !v.isValid()) {
        sqlite3_bind_null(s, i);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int64(s, i, v.toBool() ? -1 : 0);  // Jet's True
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::UChar:
    case QMetaType::SChar:
        sqlite3_bind_int64(s, i, v.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(s, i, v.toDouble());
        return;
    case QMetaType::QDate: {
        if (!v.toDate().isValid())
            return void(sqlite3_bind_null(s, i));
        const QByteArray t = (v.toDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00")).toUtf8();
        sqlite3_bind_text(s, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::QDateTime: {
        if (!v.toDateTime().isValid())
            return void(sqlite3_bind_null(s, i));
        const QByteArray t = v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
        sqlite3_bind_text(s, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::QTime: {
        const QByteArray t = (QStringLiteral("1899-12-30 ") + v.toTime().toString(QStringLiteral("HH:mm:ss"))).toUtf8();
        sqlite3_bind_text(s, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray t = v.toString().toUtf8();
        sqlite3_bind_text(s, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    }
    }
}

long ConnState::exec(const QString& sqliteSql, const Params& params)
{
    check();
    Stmt st(db, sqliteSql);
    if (!sqlite3_stmt_readonly(st.get()))
        settleStreams();
    st.bind(params);
    if (sqlite3_stmt_readonly(st.get())) {
        st.step();  // a query run as a command: its first row is enough to show it works
        return -1;
    }
    while (st.step()) {
    }
    return long(sqlite3_changes(db));
}

sqlite3_stmt* ConnState::cachedStatement(const QString& sqliteSql)
{
    check();
    sqlite3_stmt* s = stmtCache.value(sqliteSql, nullptr);
    if (!s) {
        if (stmtCache.size() >= 64)
            dropCache();
        const QByteArray utf8 = sqliteSql.toUtf8();
        const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &s, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(s);
            ThrowSqlite(db, rc, sqliteSql);
        }
        stmtCache.insert(sqliteSql, s);
    }
    return s;
}

sqlite3_stmt* ConnState::keptStatement(const QString& sqliteSql)
{
    sqlite3_stmt* s = stmtCache.value(sqliteSql, nullptr);
    if (!s) {
        const QByteArray utf8 = sqliteSql.toUtf8();
        if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &s, nullptr) != SQLITE_OK) {
            sqlite3_finalize(s);
            return nullptr;
        }
        stmtCache.insert(sqliteSql, s);
    }
    return s;
}

long ConnState::execCached(const QString& sqliteSql, const Params& params)
{
    settleStreams();
    sqlite3_stmt* s = cachedStatement(sqliteSql);
    CachedUse use{s};
    if (sqlite3_bind_parameter_count(s) != params.size())
        throw DbError(3061, QStringLiteral("Too few parameters."));
    for (int i = 0; i < params.size(); ++i)
        BindValue(s, i + 1, params[i]);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        ThrowSqlite(db, rc, sqliteSql);
    return long(sqlite3_changes(db));
}

void ConnState::settleStreams()
{
    if (streams.empty())
        return;
    const auto open = std::move(streams);
    streams.clear();
    for (const std::weak_ptr<RowSet>& w : open)
        if (const std::shared_ptr<RowSet> set = w.lock())
            set->fetchRest();
}

void ConnState::dropCache()
{
    for (sqlite3_stmt* s : std::as_const(stmtCache))
        sqlite3_finalize(s);
    stmtCache.clear();
}

void ConnState::execPlain(const QString& sqliteSql)
{
    check();
    settleStreams();
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sqliteSql.toUtf8().constData(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK)
        ThrowSqlite(db, rc, sqliteSql);
}

Savepoint::Savepoint(ConnState& st) : st_(st)
{
    name_ = QStringLiteral("__tess_sp%1").arg(++st_.savepointSeq);
    st_.execPlain(QStringLiteral("SAVEPOINT ") + name_);
}

Savepoint::~Savepoint()
{
    if (done_ || !st_.db)
        return;
    const QByteArray sql = (QStringLiteral("ROLLBACK TO ") + name_ + QStringLiteral("; RELEASE ") + name_).toUtf8();
    sqlite3_exec(st_.db, sql.constData(), nullptr, nullptr, nullptr);
    st_.forgetAll();
}

void Savepoint::release()
{
    st_.execPlain(QStringLiteral("RELEASE ") + name_);
    done_ = true;
}

// ---- Jet functions ------------------------------------------------------------------------

namespace {

QString argText(sqlite3_value* v)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

bool argNull(sqlite3_value* v) { return sqlite3_value_type(v) == SQLITE_NULL; }

void resultText(sqlite3_context* c, const QString& s)
{
    const QByteArray b = s.toUtf8();
    sqlite3_result_text(c, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

void resultNumber(sqlite3_context* c, double d)
{
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9e15)
        sqlite3_result_int64(c, qint64(d));
    else
        sqlite3_result_double(c, d);
}

double argNumber(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return double(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return sqlite3_value_double(v);
    case SQLITE_NULL: return 0;
    default: return vb::Val(argText(v));
    }
}

QDateTime argDate(sqlite3_value* v, bool* ok)
{
    bool good = false;
    const QString canon = jet::CanonicalDate(argText(v).replace(QChar('T'), QChar(' ')), &good);
    if (ok)
        *ok = good;
    return good ? QDateTime::fromString(canon, QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QDateTime();
}

#define TEXT_FN(name, expr)                                                                   \
    void name(sqlite3_context* c, int argc, sqlite3_value** a)                               \
    {                                                                                          \
        if (argNull(a[0])) { sqlite3_result_null(c); return; }                                \
        const QString s = argText(a[0]);                                                       \
        resultText(c, expr);                                                                   \
    }

TEXT_FN(fnTrim, vb::Trim(s))
TEXT_FN(fnLTrim, vb::LTrim(s))
TEXT_FN(fnRTrim, vb::RTrim(s))
TEXT_FN(fnUCase, vb::UCase(s))
TEXT_FN(fnLCase, vb::LCase(s))
TEXT_FN(fnCStr, s)
#undef TEXT_FN

void fnLeft(sqlite3_context* c, int, sqlite3_value** a)
{
    if (argNull(a[0])) return sqlite3_result_null(c);
    resultText(c, vb::Left(argText(a[0]), int(argNumber(a[1]))));
}

void fnRight(sqlite3_context* c, int, sqlite3_value** a)
{
    if (argNull(a[0])) return sqlite3_result_null(c);
    resultText(c, vb::Right(argText(a[0]), int(argNumber(a[1]))));
}

void fnMid(sqlite3_context* c, int argc, sqlite3_value** a)
{
    if (argNull(a[0])) return sqlite3_result_null(c);
    resultText(c, vb::Mid(argText(a[0]), int(argNumber(a[1])), argc > 2 ? int(argNumber(a[2])) : -1));
}

void fnLen(sqlite3_context* c, int, sqlite3_value** a)
{
    if (argNull(a[0])) return sqlite3_result_null(c);
    sqlite3_result_int64(c, argText(a[0]).size());
}

void fnVal(sqlite3_context* c, int, sqlite3_value** a)
{
    if (argNull(a[0])) return resultNumber(c, 0);
    if (sqlite3_value_type(a[0]) == SQLITE_INTEGER) return sqlite3_result_int64(c, sqlite3_value_int64(a[0]));
    resultNumber(c, vb::Val(argText(a[0])));
}

bool truth(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: return false;
    case SQLITE_INTEGER: return sqlite3_value_int64(v) != 0;
    case SQLITE_FLOAT: return sqlite3_value_double(v) != 0;
    default: {
        const QString t = argText(v).trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
        return vb::Val(t) != 0;
    }
    }
}

void fnIIf(sqlite3_context* c, int, sqlite3_value** a) { sqlite3_result_value(c, truth(a[0]) ? a[1] : a[2]); }

void fnNz(sqlite3_context* c, int argc, sqlite3_value** a)
{
    if (!argNull(a[0])) return sqlite3_result_value(c, a[0]);
    if (argc > 1) return sqlite3_result_value(c, a[1]);
    sqlite3_result_text(c, "", 0, SQLITE_STATIC);
}

void fnYear(sqlite3_context* c, int, sqlite3_value** a)
{
    bool ok = false;
    const QDateTime d = argDate(a[0], &ok);
    if (!ok) return sqlite3_result_null(c);
    sqlite3_result_int(c, d.date().year());
}

void fnMonth(sqlite3_context* c, int, sqlite3_value** a)
{
    bool ok = false;
    const QDateTime d = argDate(a[0], &ok);
    if (!ok) return sqlite3_result_null(c);
    sqlite3_result_int(c, d.date().month());
}

void fnDay(sqlite3_context* c, int, sqlite3_value** a)
{
    bool ok = false;
    const QDateTime d = argDate(a[0], &ok);
    if (!ok) return sqlite3_result_null(c);
    sqlite3_result_int(c, d.date().day());
}

void fnNow(sqlite3_context* c, int, sqlite3_value**)
{
    resultText(c, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void fnDate(sqlite3_context* c, int, sqlite3_value**)
{
    resultText(c, QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00"));
}

void fnTime(sqlite3_context* c, int, sqlite3_value**)
{
    resultText(c, QStringLiteral("1899-12-30 ") + QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
}

// A number through a VB pattern of digits ("0", "000", "0.00", "#,##0.00", "#") or one of the
// named formats; nothing when the pattern is none of these.
std::optional<QString> formatNumber(double n, QString pattern)
{
    const QString named = pattern.toLower();
    if (named == QLatin1String("fixed"))
        pattern = QStringLiteral("0.00");
    else if (named == QLatin1String("standard"))
        pattern = QStringLiteral("#,##0.00");
    else if (named == QLatin1String("general number"))
        pattern.clear();
    static const QRegularExpression digits(QStringLiteral("^[0#,]*(\\.[0#]*)?$"));
    if (!pattern.isEmpty() && !digits.match(pattern).hasMatch())
        return {};
    if (pattern.isEmpty())
        return (n == std::floor(n) && std::fabs(n) < 9e15) ? QString::number(qint64(n)) : QString::number(n, 'g', 15);
    const int dot = pattern.indexOf(QChar('.'));
    const QString whole = dot < 0 ? pattern : pattern.left(dot);
    const QString frac = dot < 0 ? QString() : pattern.mid(dot + 1);
    const int minWhole = int(whole.count(QChar('0')));
    const int maxFrac = int(frac.size());
    const int minFrac = int(frac.count(QChar('0')));
    const bool group = whole.contains(QChar(','));
    // Half away from zero, as Format rounds.
    const double scale = std::pow(10.0, maxFrac);
    const double rounded = std::round(std::fabs(n) * scale) / scale;
    QString text = QString::number(rounded, 'f', maxFrac);
    QString intPart = text.section(QChar('.'), 0, 0);
    QString fracPart = maxFrac > 0 ? text.section(QChar('.'), 1) : QString();
    while (fracPart.size() > minFrac && fracPart.endsWith(QChar('0')))
        fracPart.chop(1);
    if (intPart == QLatin1String("0") && minWhole == 0)
        intPart.clear();
    intPart = intPart.rightJustified(minWhole, QChar('0'));
    if (group)
        for (int k = int(intPart.size()) - 3; k > 0; k -= 3)
            intPart.insert(k, QChar(','));
    QString out = intPart;
    if (!fracPart.isEmpty() || (dot >= 0 && minFrac > 0))
        out += QChar('.') + fracPart;
    else if (dot >= 0 && maxFrac == 0)
        out += QChar('.');
    if (n < 0 && rounded != 0)
        out.prepend(QChar('-'));
    return out;
}

void fnFormat(sqlite3_context* c, int argc, sqlite3_value** a)
{
    if (argNull(a[0])) return sqlite3_result_null(c);
    const QString pattern = argc > 1 ? argText(a[1]) : QString();
    const int type = sqlite3_value_type(a[0]);
    if (type == SQLITE_TEXT) {
        bool ok = false;
        const QDateTime d = argDate(a[0], &ok);
        if (ok && !pattern.isEmpty())
            return resultText(c, vb::Format(d, pattern));
        bool number = false;
        argText(a[0]).trimmed().toDouble(&number);
        if (!number)
            return resultText(c, argText(a[0]));
    }
    const std::optional<QString> text = formatNumber(argNumber(a[0]), pattern);
    resultText(c, text ? *text : argText(a[0]));
}

void fnInStr(sqlite3_context* c, int argc, sqlite3_value** a)
{
    int start = 1;
    int k = 0;
    if (argc == 3) {
        start = int(argNumber(a[0]));
        k = 1;
    }
    if (argNull(a[k]) || argNull(a[k + 1])) return sqlite3_result_null(c);
    const QString s = argText(a[k]), f = argText(a[k + 1]);
    if (start < 1) start = 1;
    if (start > s.size() + 1) return sqlite3_result_int(c, 0);
    sqlite3_result_int(c, int(s.indexOf(f, start - 1)) + 1);
}

void fnCLng(sqlite3_context* c, int, sqlite3_value** a)
{
    if (argNull(a[0])) return sqlite3_result_null(c);
    sqlite3_result_int64(c, vb::CLng(argNumber(a[0])));
}

void fnCDbl(sqlite3_context* c, int, sqlite3_value** a)
{
    if (argNull(a[0])) return sqlite3_result_null(c);
    sqlite3_result_double(c, argNumber(a[0]));
}

void fnStr(sqlite3_context* c, int, sqlite3_value** a)
{
    if (argNull(a[0])) return sqlite3_result_null(c);
    const double n = argNumber(a[0]);
    QString t = (n == std::floor(n)) ? QString::number(qint64(n)) : QString::number(n, 'g', 15);
    resultText(c, n >= 0 ? QStringLiteral(" ") + t : t);
}

// Jet's "&": Null reads as an empty text; only when every part is Null is the result Null.
void fnCat(sqlite3_context* c, int argc, sqlite3_value** a)
{
    QString out;
    bool any = false;
    for (int k = 0; k < argc; ++k) {
        switch (sqlite3_value_type(a[k])) {
        case SQLITE_NULL:
            continue;
        case SQLITE_FLOAT: {
            const double d = sqlite3_value_double(a[k]);
            out += (d == std::floor(d) && std::fabs(d) < 9e15) ? QString::number(qint64(d)) : QString::number(d, 'g', 15);
            break;
        }
        default:
            out += argText(a[k]);
        }
        any = true;
    }
    if (!any)
        return sqlite3_result_null(c);
    resultText(c, out);
}

void registerFunctions(sqlite3* db)
{
    struct F { const char* name; int argc; void (*fn)(sqlite3_context*, int, sqlite3_value**); bool det; };
    static const F fns[] = {
        {"jet_trim", 1, fnTrim, true},   {"jet_ltrim", 1, fnLTrim, true}, {"jet_rtrim", 1, fnRTrim, true},
        {"ucase", 1, fnUCase, true},     {"lcase", 1, fnLCase, true},     {"cstr", 1, fnCStr, true},
        {"jet_left", 2, fnLeft, true},   {"jet_right", 2, fnRight, true}, {"mid", 2, fnMid, true},
        {"mid", 3, fnMid, true},         {"len", 1, fnLen, true},         {"val", 1, fnVal, true},
        {"iif", 3, fnIIf, true},         {"nz", 1, fnNz, true},           {"nz", 2, fnNz, true},
        {"year", 1, fnYear, true},       {"month", 1, fnMonth, true},     {"day", 1, fnDay, true},
        {"jet_now", 0, fnNow, false},    {"jet_date", 0, fnDate, false},  {"jet_time", 0, fnTime, false},
        {"jet_format", 1, fnFormat, true}, {"jet_format", 2, fnFormat, true},
        {"jet_instr", 2, fnInStr, true}, {"jet_instr", 3, fnInStr, true},
        {"clng", 1, fnCLng, true},       {"cint", 1, fnCLng, true},       {"cdbl", 1, fnCDbl, true},
        {"jet_str", 1, fnStr, true},     {"jet_cat", -1, fnCat, true},
    };
    for (const F& f : fns)
        sqlite3_create_function_v2(db, f.name, f.argc, SQLITE_UTF8 | (f.det ? SQLITE_DETERMINISTIC : 0), nullptr,
                                   f.fn, nullptr, nullptr, nullptr);
}

// The file itself, or one in the same folder whose name differs only in letter case.
QString locateFile(const QString& path)
{
    if (QFileInfo::exists(path))
        return path;
    const QFileInfo fi(path);
    const QDir dir(fi.absolutePath());
    if (!dir.exists())
        return {};
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        if (name.compare(fi.fileName(), Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    return {};
}

sqlite3* openFile(const QString& path, int flags)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
        sqlite3_close_v2(db);
        throw DbError(3051, QStringLiteral("Cannot open the database file '%1'. (%2)").arg(path, msg), path);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 2000);
    char* err = nullptr;
    const int prc = sqlite3_exec(db,
                                 "PRAGMA journal_mode=DELETE; PRAGMA foreign_keys=OFF;"
                                 "CREATE TABLE IF NOT EXISTS __tess_columns (tbl TEXT COLLATE NOCASE, col TEXT COLLATE NOCASE,"
                                 " jettype TEXT, adotype INTEGER, size INTEGER, required INTEGER, azl INTEGER,"
                                 " deflt TEXT, dfltsql TEXT, ordinal INTEGER, ident INTEGER, seq INTEGER DEFAULT 0,"
                                 " nnindex INTEGER, decl TEXT, PRIMARY KEY (tbl, col));",
                                 nullptr, nullptr, &err);
    sqlite3_free(err);
    if (prc != SQLITE_OK) {
        try {
            ThrowSqlite(db, prc);
        } catch (...) {
            sqlite3_close_v2(db);
            throw;
        }
    }
    registerFunctions(db);
    return db;
}

}  // namespace
}  // namespace detail

// ---- Connection ---------------------------------------------------------------------------

Connection::Connection() : d(std::make_unique<Impl>()) {}

Connection::~Connection() { Close(); }

void Connection::Open(const QString& connectionText)
{
    auto& st = *d->st;
    if (st.db)
        throw DbError(3705, QStringLiteral("Operation is not allowed when the object is open."));
    // "key=value;..." where a value between double (or single) quotes may hold ";" and "=",
    // its own quote doubled.
    QString path;
    bool sawPair = false;
    const QString& t = connectionText;
    for (qsizetype i = 0; i < t.size();) {
        const qsizetype eq = t.indexOf(QChar('='), i);
        const qsizetype semi = t.indexOf(QChar(';'), i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            if (semi < 0)
                break;
            i = semi + 1;
            continue;
        }
        sawPair = true;
        const QString key = t.mid(i, eq - i).trimmed();
        qsizetype j = eq + 1;
        while (j < t.size() && t[j] == QChar(' '))
            ++j;
        QString value;
        if (j < t.size() && (t[j] == QChar('"') || t[j] == QChar('\''))) {
            const QChar q = t[j];
            for (++j; j < t.size(); ++j) {
                if (t[j] != q) {
                    value += t[j];
                } else if (j + 1 < t.size() && t[j + 1] == q) {
                    value += q;
                    ++j;
                } else {
                    ++j;
                    break;
                }
            }
            while (j < t.size() && t[j] != QChar(';'))
                ++j;
        } else {
            const qsizetype end = t.indexOf(QChar(';'), j);
            value = t.mid(j, (end < 0 ? t.size() : end) - j).trimmed();
            j = end < 0 ? t.size() : end;
        }
        if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            path = value;
        i = j + 1;
    }
    if (path.isEmpty() && !sawPair)
        path = connectionText.trimmed();
    path.replace(QChar('\\'), QChar('/'));
    const QString found = path.isEmpty() ? QString() : detail::locateFile(path);
    if (found.isEmpty())
        throw DbError(3024, QStringLiteral("Could not find file '%1'.").arg(path), path);
    auto fresh = std::make_shared<detail::ConnState>();
    fresh->db = detail::openFile(found, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
    fresh->path = found;
    fresh->readPolicy = d->readPolicy;
    d->st = fresh;
}

void Connection::Close()
{
    auto& st = *d->st;
    if (!st.db)
        return;
    for (const std::weak_ptr<detail::RowSet>& w : st.streams)
        if (const auto set = w.lock())
            set->pending.reset();
    st.streams.clear();
    st.dropCache();
    sqlite3_close_v2(st.db);
    st.db = nullptr;
    st.inTrans = false;
    st.forgetAll();
}

bool Connection::IsOpen() const { return d->st->db != nullptr; }

QString Connection::DataSource() const { return d->st->path; }

void Connection::CreateDatabase(const QString& path, const QString& schemaScript)
{
    QString p = path;
    p.replace(QChar('\\'), QChar('/'));
    if (!detail::locateFile(p).isEmpty())
        throw DbError(3204, QStringLiteral("Database '%1' already exists.").arg(p), p);
    detail::ConnState st;
    st.db = detail::openFile(p, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX);
    st.path = p;
    try {
        st.execPlain(QStringLiteral("BEGIN"));
        for (const QString& statement : jet::SplitScript(schemaScript))
            st.execJet(statement, {});
        st.execPlain(QStringLiteral("COMMIT"));
    } catch (...) {
        st.dropCache();
        sqlite3_close_v2(st.db);
        st.db = nullptr;
        QFile::remove(p);
        throw;
    }
    st.dropCache();
    sqlite3_close_v2(st.db);
    st.db = nullptr;
}

long Connection::Execute(const QString& sql, const Params& params)
{
    d->st->check();
    return d->st->execJet(sql, params);
}

long Connection::ExecuteOnStoredRows(const QString& sql, const Params& params)
{
    const long n = Execute(sql, params);
    if (n == 0)
        throw ChangedByAnotherUser();
    return n;
}

void Connection::BeginTrans()
{
    auto& st = *d->st;
    st.check();
    if (st.inTrans)
        throw DbError(3003, QStringLiteral("Could not start transaction; too many transactions already nested."));
    st.execPlain(QStringLiteral("BEGIN"));
    st.inTrans = true;
}

void Connection::CommitTrans()
{
    auto& st = *d->st;
    st.check();
    if (!st.inTrans)
        throw DbError(3034, QStringLiteral("You tried to commit or rollback a transaction without first beginning a transaction."));
    if (sqlite3_get_autocommit(st.db)) {
        // The engine already rolled the transaction back (disk full, I/O error): nothing was saved.
        st.inTrans = false;
        st.forgetAll();
        throw DbError(30000 + SQLITE_ABORT, QStringLiteral("The transaction was rolled back by the database engine; nothing was saved."));
    }
    st.execPlain(QStringLiteral("COMMIT"));
    st.inTrans = false;
}

void Connection::RollbackTrans()
{
    auto& st = *d->st;
    st.check();
    if (!st.inTrans)
        throw DbError(3034, QStringLiteral("You tried to commit or rollback a transaction without first beginning a transaction."));
    st.inTrans = false;
    st.forgetAll();
    if (!sqlite3_get_autocommit(st.db))
        st.execPlain(QStringLiteral("ROLLBACK"));
}

bool Connection::InTransaction() const { return d->st->inTrans; }

DataVersion Connection::Version() const
{
    d->st->check();
    DataVersion v;
    if (sqlite3_stmt* s = d->st->keptStatement(QStringLiteral("PRAGMA data_version"))) {
        if (sqlite3_step(s) == SQLITE_ROW)
            v.others = sqlite3_column_int64(s, 0);
        sqlite3_reset(s);
    }
    v.own = sqlite3_total_changes64(d->st->db);
    return v;
}

void Connection::SetReadPolicy(const ReadPolicy& policy)
{
    d->readPolicy = policy;
    d->st->readPolicy = policy;
}

ReadPolicy Connection::readPolicy() const { return d->readPolicy; }

QStringList Connection::TableNames() const
{
    auto& st = *d->st;
    st.check();
    detail::Stmt s(st.db, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND substr(name,1,7) <> 'sqlite_'"
                                         " AND substr(name,1,7) <> '__tess_' ORDER BY name COLLATE NOCASE"));
    QStringList out;
    while (s.step())
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)));
    return out;
}

}  // namespace db
