// The program at 100,000 customers, 200,000 contact rows and 200,000 delivery rows: each piece of
// work done by the program next to the same work done the best way with raw sqlite3 calls in the
// same run, on the same database file opened with the same flags.  Prints the median of the
// repetitions of each side and their ratio.
//
// The database is made as the program makes one (base tables, then the start-up upgrade), then
// filled through sqlite3 with every column of every row holding a value.
#include "core/Globals.h"
#include "core/numbering/Numbering.h"
#include "core/schema/SchemaCheck.h"
#include "customers/CustomFrom.h"
#include "customers/CustomerDetailGrids.h"
#include "platform/ui/Ui.h"
#include "records/DetailGrid.h"
#include "platform/db/Db.h"
#include "platform/report/Report.h"
#include "shell/ImportText.h"
#include "shell/MDIForm1.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QDir>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <sqlite3.h>
#include <sys/resource.h>
#include <string>
#include <strings.h>
#include <vector>

namespace {

constexpr int kCustomers = 100000;
constexpr int kContactsPerCustomer = 2;
constexpr int kDeliveriesPerCustomer = 2;
constexpr int kImportLines = 10000;
constexpr int kStarts = 5;
const char* kListSql = "Select RV12.* From RV12 Order by RV121";

QString connectionText(const QString& path) { return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path; }

// The same flags and settings the data layer opens its file with.
sqlite3* openRaw(const QString& path)
{
    sqlite3* raw = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_busy_timeout(raw, 2000);
    sqlite3_exec(raw, "PRAGMA journal_mode=DELETE; PRAGMA foreign_keys=OFF;", nullptr, nullptr, nullptr);
    return raw;
}

long long residentBytes()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return QString::fromLatin1(f.readAll()).section(QChar(' '), 1, 1).toLongLong() * 4096;
}

struct World {
    QTemporaryDir dir;
    QString fullFolder, emptyFolder;  // program folders, each holding its Tessarine.mdb
    QString fullPath, emptyPath;
    sqlite3* raw = nullptr;  // on the full file
    db::Recordset list;      // the customer list, as the customer window opens it
    std::vector<std::string> listCodes;  // RV120 in the list's order, for the raw find
    QString findCode;
    QStringList importLines;
    QStringList importCaptions;
    std::vector<std::vector<QByteArray>> importRows;  // what the import stores, for raw inserts
    QStringList importColumns;
};
World* w = nullptr;

QString pick(std::mt19937& rng, const QString& pool, int minLen, int maxLen)
{
    std::uniform_int_distribution<int> len(minLen, maxLen), at(0, int(pool.size()) - 1);
    QString s;
    const int n = len(rng);
    for (int i = 0; i < n; ++i)
        s += pool[at(rng)];
    return s;
}

const QString kHan = QString::fromUtf8("台北市中正區忠孝東路信義大安松山內湖南港士林北投萬華文山新竹桃園台中高雄"
                                       "股份有限公司企業社工業商行貿易電子科技實業國際建設開發王李陳林黃張吳劉蔡楊");
const QString kDigits = QStringLiteral("0123456789");

// A value of the column's type that fills it (text up to its width).
QVariant fill(std::mt19937& rng, const db::ColumnInfo& c, const QString& code)
{
    switch (c.adoType) {
    case db::adSmallInt:
    case db::adUnsignedTinyInt:
        return qint64(rng() % 31);
    case db::adInteger:
        return qint64(20261209);
    case db::adDouble:
    case db::adCurrency:
    case db::adSingle:
        return double(rng() % 100000) / 100.0;
    case db::adDate:
        return QStringLiteral("2026-12-09 00:00:00");
    case db::adBoolean:
        return qint64(-1);
    case db::adLongVarWChar:
        return pick(rng, kHan, 20, 40);
    default:
        break;
    }
    const int width = std::max(1, c.definedSize);
    if (c.name.compare(QLatin1String("RV120"), Qt::CaseInsensitive) == 0 || c.name.endsWith(QLatin1String("0"))
        || c.name == QStringLiteral("廠商編號"))
        return code;
    if (width <= 4)
        return pick(rng, kDigits, width, width);
    return pick(rng, kHan, std::max(1, width / 2), width);
}

void bindValue(sqlite3_stmt* s, int i, const QVariant& v)
{
    if (v.typeId() == QMetaType::LongLong)
        sqlite3_bind_int64(s, i, v.toLongLong());
    else if (v.typeId() == QMetaType::Double)
        sqlite3_bind_double(s, i, v.toDouble());
    else {
        const QByteArray b = v.toString().toUtf8();
        sqlite3_bind_text(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
}

// Every row of a table but its identity column, `perCode` rows for each customer code.
void fillTable(sqlite3* raw, const QString& table, const QVector<db::ColumnInfo>& all, int perCode, std::mt19937& rng)
{
    QVector<db::ColumnInfo> cols;
    for (const db::ColumnInfo& c : all)
        if (!c.identity)
            cols << c;
    QStringList names, marks;
    for (const db::ColumnInfo& c : cols) {
        names << QStringLiteral("\"%1\"").arg(c.name);
        marks << QStringLiteral("?");
    }
    const QByteArray sql = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)").arg(table, names.join(','), marks.join(',')).toUtf8();
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(raw, sql.constData(), -1, &ins, nullptr);
    for (int r = 1; r <= kCustomers; ++r) {
        const QString code = QString::number(r).rightJustified(6, '0');
        for (int k = 0; k < perCode; ++k) {
            for (int c = 0; c < cols.size(); ++c)
                bindValue(ins, c + 1, fill(rng, cols[c], code));
            if (sqlite3_step(ins) != SQLITE_DONE)
                std::fprintf(stderr, "fill %s: %s\n", qPrintable(table), sqlite3_errmsg(raw));
            sqlite3_reset(ins);
        }
    }
    sqlite3_finalize(ins);
}

// A database as the program makes it: base tables, then the start-up passes.
void makeProgramDatabase(const QString& folder)
{
    QFile script(QStringLiteral(":/schema/base_tables.sql"));
    script.open(QIODevice::ReadOnly);
    const QString path = folder + QStringLiteral("/Tessarine.mdb");
    db::Connection::CreateDatabase(path, QString::fromUtf8(script.readAll()));
    gProgramPath = folder + QStringLiteral("/");
    gDataPath = gProgramPath;
    gConn.Open(connectionText(path));
    checkfilever();
    CheckFactoryTables();
    CheckMemberTable();
    gConn.Execute(QStringLiteral("Delete From RV12A"));  // the sample rows
    gConn.Execute(QStringLiteral("Delete From RV12B"));
}

void build()
{
    w->fullFolder = w->dir.filePath(QStringLiteral("full"));
    w->emptyFolder = w->dir.filePath(QStringLiteral("empty"));
    QDir().mkpath(w->fullFolder);
    QDir().mkpath(w->emptyFolder);
    w->fullPath = w->fullFolder + QStringLiteral("/Tessarine.mdb");
    w->emptyPath = w->emptyFolder + QStringLiteral("/Tessarine.mdb");

    makeProgramDatabase(w->emptyFolder);
    gConn.Close();
    makeProgramDatabase(w->fullFolder);
    std::mt19937 rng(42);
    const QVector<db::ColumnInfo> customers = gConn.Columns(QStringLiteral("RV12"));
    const QVector<db::ColumnInfo> contacts = gConn.Columns(QStringLiteral("RV12A"));
    const QVector<db::ColumnInfo> deliveries = gConn.Columns(QStringLiteral("RV12B"));
    gConn.Close();
    sqlite3* raw = openRaw(w->fullPath);
    sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
    fillTable(raw, QStringLiteral("RV12"), customers, 1, rng);
    fillTable(raw, QStringLiteral("RV12A"), contacts, kContactsPerCustomer, rng);
    fillTable(raw, QStringLiteral("RV12B"), deliveries, kDeliveriesPerCustomer, rng);
    sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close_v2(raw);

    // The import file: every text column of the customer table that the import offers.
    gConn.Open(connectionText(w->emptyPath));
    const QVector<textimport::ImportField> fields = textimport::GetFields(gConn, QStringLiteral("RV12"));
    gConn.Close();
    QVector<int> mapped;
    for (int i = 0; i + 1 < fields.size(); ++i)
        if (fields[i].name.compare(QLatin1String("RV120"), Qt::CaseInsensitive) != 0
            && (fields[i].type == db::adVarWChar || fields[i].type == db::adLongVarWChar)) {
            mapped << i;
            w->importCaptions << fields[i].caption;
            w->importColumns << fields[i].name;
        }
    w->importColumns << QStringLiteral("RV120");
    for (int r = 0; r < kImportLines; ++r) {
        QStringList values;
        std::vector<QByteArray> row;
        for (int i : mapped) {
            const int width = fields[i].type == db::adLongVarWChar ? 60 : fields[i].width;
            const QString v = pick(rng, kHan, std::max(1, width / 4), std::max(1, width / 2));
            values << v;
            row.push_back(v.toUtf8());
        }
        w->importLines << values.join(QChar(','));
        w->importRows.push_back(std::move(row));
    }
}

// ---- opening, finding, updating and re-reading the customer list -------------------------------

// Steps through every cell of the statement as a caller of sqlite3 would; returns the bytes seen.
size_t rawScan(sqlite3* raw, const char* sql)
{
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(raw, sql, -1, &s, nullptr);
    size_t bytes = 0;
    const int n = sqlite3_column_count(s);
    while (sqlite3_step(s) == SQLITE_ROW) {
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(s, c)) {
            case SQLITE_INTEGER: bytes += size_t(sqlite3_column_int64(s, c) & 1); break;
            case SQLITE_FLOAT: bytes += size_t(sqlite3_column_double(s, c) > 0); break;
            case SQLITE_TEXT: sqlite3_column_text(s, c); bytes += size_t(sqlite3_column_bytes(s, c)); break;
            default: break;
            }
        }
    }
    sqlite3_finalize(s);
    return bytes;
}

// The list reads its rows' order keys at open and the rest on demand: the raw side reads the
// same keys in the same order.
void BM_Open_Layer(benchmark::State& state)
{
    for (auto _ : state) {
        db::Recordset rs;
        rs.Open(kListSql, gConn, db::adOpenDynamic, db::adLockOptimistic);
        benchmark::DoNotOptimize(rs.RecordCount());
    }
}

void BM_Open_Raw(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(rawScan(w->raw, "SELECT rowid, RV121 FROM RV12 ORDER BY RV121"));
}

// Opened and then every row read, as the list does while the program is idle.
void BM_OpenAll_Layer(benchmark::State& state)
{
    for (auto _ : state) {
        db::Recordset rs;
        rs.Open(kListSql, gConn, db::adOpenDynamic, db::adLockOptimistic);
        while (rs.ReadAhead(2000)) {
        }
        benchmark::DoNotOptimize(rs.RecordCount());
    }
}

void BM_OpenAll_Raw(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(rawScan(w->raw, "SELECT RV12.* FROM RV12 ORDER BY RV121"));
}

void BM_Find_Layer(benchmark::State& state)
{
    const QString criteria = "RV120 like '" + w->findCode + "*'";
    for (auto _ : state) {
        w->list.MoveFirst();
        w->list.Find(criteria);
        benchmark::DoNotOptimize(w->list.AbsolutePosition());
    }
}

// The same scan over the same rows held in memory: a case-blind prefix test on each code.
void BM_Find_Raw(benchmark::State& state)
{
    const std::string prefix = w->findCode.toStdString();
    for (auto _ : state) {
        long found = -1;
        for (size_t i = 0; i < w->listCodes.size(); ++i) {
            const std::string& c = w->listCodes[i];
            if (c.size() >= prefix.size()
                && std::equal(prefix.begin(), prefix.end(), c.begin(),
                              [](char a, char b) { return std::tolower(quint8(a)) == std::tolower(quint8(b)); })) {
                found = long(i);
                break;
            }
        }
        benchmark::DoNotOptimize(found);
    }
}

void BM_Update_Layer(benchmark::State& state)
{
    gConn.BeginTrans();
    w->list.SetAbsolutePosition(kCustomers / 2);
    long i = 0;
    for (auto _ : state) {
        w->list["RV1212"] = (++i & 1) ? QStringLiteral("odd") : QStringLiteral("even");
        w->list.Update();
    }
    gConn.CommitTrans();
}

// Prepared once, bound again for each write.
void BM_Update_Raw(benchmark::State& state)
{
    sqlite3_exec(w->raw, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(w->raw, "UPDATE RV12 SET RV1212 = ? WHERE rowid = ?", -1, &s, nullptr);
    long i = 0;
    for (auto _ : state) {
        sqlite3_bind_text(s, 1, (++i & 1) ? "odd" : "even", -1, SQLITE_STATIC);
        sqlite3_bind_int64(s, 2, kCustomers / 2);
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    sqlite3_exec(w->raw, "COMMIT", nullptr, nullptr, nullptr);
}

void BM_Requery_Layer(benchmark::State& state)
{
    for (auto _ : state) {
        w->list.Requery();
        benchmark::DoNotOptimize(w->list.RecordCount());
    }
    while (w->list.ReadAhead(2000)) {  // the snapshot after this reads rows held, as before
    }
}

void BM_Requery_Raw(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(rawScan(w->raw, "SELECT rowid, RV121 FROM RV12 ORDER BY RV121"));
}

// ---- the report's snapshot -----------------------------------------------------------------

void BM_Snapshot_Layer(benchmark::State& state)
{
    for (auto _ : state) {
        const report::Snapshot snap = report::Snapshot::fromRecordset(w->list);
        benchmark::DoNotOptimize(snap.rowCount());
    }
}

// The same rows read into the same values straight from the statement.
void BM_Snapshot_Raw(benchmark::State& state)
{
    for (auto _ : state) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(w->raw, "SELECT RV12.* FROM RV12 ORDER BY RV121", -1, &s, nullptr);
        const int n = sqlite3_column_count(s);
        std::vector<QVariantList> rows;
        while (sqlite3_step(s) == SQLITE_ROW) {
            QVariantList row;
            row.reserve(n);
            for (int c = 0; c < n; ++c) {
                switch (sqlite3_column_type(s, c)) {
                case SQLITE_INTEGER: row << qint64(sqlite3_column_int64(s, c)); break;
                case SQLITE_FLOAT: row << sqlite3_column_double(s, c); break;
                case SQLITE_TEXT:
                    row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, c)), sqlite3_column_bytes(s, c));
                    break;
                default: row << QVariant();
                }
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(s);
        benchmark::DoNotOptimize(rows.size());
    }
}

// ---- the text import ---------------------------------------------------------------------------

void useFile(const QString& path)
{
    if (gConn.IsOpen() && gConn.DataSource() == path)
        return;
    if (gConn.IsOpen())
        gConn.Close();
    gConn.Open(connectionText(path));
}

qint64 greatestSerial(const QString& path)
{
    useFile(path);
    return gConn.ExecuteQuery(QStringLiteral("Select Max(總序) From RV12")).value(0).toLongLong();
}

void removeImported(const QString& path, qint64 serial)
{
    useFile(path);
    gConn.Execute(QStringLiteral("Delete From RV12 Where 總序 > ?"), {serial});
}

void importLayer(benchmark::State& state, bool full)
{
    const QString path = full ? w->fullPath : w->emptyPath;
    const QVector<textimport::ImportField> fields = (useFile(path), textimport::GetFields(gConn, QStringLiteral("RV12")));
    const qint64 serial = greatestSerial(path);
    for (auto _ : state) {
        state.PauseTiming();
        db::Recordset rs;  // the window opens it before the run
        rs.Open(QStringLiteral("SELECT *FROM RV12"), gConn, db::adOpenDynamic, db::adLockPessimistic);
        state.ResumeTiming();
        const textimport::ImportOutcome out =
            textimport::ImportLines(rs, fields, w->importLines, QStringLiteral(","), w->importCaptions);
        state.PauseTiming();
        if (!out.ok)
            state.SkipWithError(out.error.toStdString().c_str());
        rs.Close();
        removeImported(path, serial);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kImportLines);
}

// The same rows, codes included, inserted with one prepared statement in one transaction.
void importRaw(benchmark::State& state, bool full)
{
    const QString path = full ? w->fullPath : w->emptyPath;
    const qint64 serial = greatestSerial(path);
    gConn.Close();
    sqlite3* raw = openRaw(path);
    QStringList names, marks;
    for (const QString& c : w->importColumns) {
        names << QStringLiteral("\"%1\"").arg(c);
        marks << QStringLiteral("?");
    }
    const QByteArray sql = QStringLiteral("INSERT INTO RV12 (%1) VALUES (%2)").arg(names.join(','), marks.join(',')).toUtf8();
    // The codes the import gives.
    std::vector<QByteArray> codes;
    QString code = full ? QString::number(kCustomers).rightJustified(6, '0') : QString();
    for (int r = 0; r < kImportLines; ++r) {
        code = NextCustomerCode(code);
        codes.push_back(code.toUtf8());
    }
    for (auto _ : state) {
        sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* ins = nullptr;
        sqlite3_prepare_v2(raw, sql.constData(), -1, &ins, nullptr);
        for (int r = 0; r < kImportLines; ++r) {
            const std::vector<QByteArray>& row = w->importRows[size_t(r)];
            int k = 1;
            for (const QByteArray& v : row)
                sqlite3_bind_text(ins, k++, v.constData(), int(v.size()), SQLITE_STATIC);
            sqlite3_bind_text(ins, k, codes[size_t(r)].constData(), int(codes[size_t(r)].size()), SQLITE_STATIC);
            if (sqlite3_step(ins) != SQLITE_DONE)
                state.SkipWithError(sqlite3_errmsg(raw));
            sqlite3_reset(ins);
        }
        sqlite3_finalize(ins);
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
        state.PauseTiming();
        sqlite3_stmt* del = nullptr;
        sqlite3_prepare_v2(raw, "DELETE FROM RV12 WHERE \"總序\" > ?", -1, &del, nullptr);
        sqlite3_bind_int64(del, 1, serial);
        sqlite3_step(del);
        sqlite3_finalize(del);
        state.ResumeTiming();
    }
    sqlite3_close_v2(raw);
    state.SetItemsProcessed(state.iterations() * kImportLines);
}

// The next customer code on 100,000 customers (the import reads it once per run).
void BM_NextCode_Layer(benchmark::State& state)
{
    useFile(w->fullPath);
    for (auto _ : state)
        benchmark::DoNotOptimize(GetCustomerNewNo());
}

// The same greatest code found over the same codes read straight from the statement.
void BM_NextCode_Raw(benchmark::State& state)
{
    for (auto _ : state) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(w->raw, "SELECT RV120 FROM RV12 WHERE RV120 IS NOT NULL", -1, &s, nullptr);
        std::string best;
        size_t bestDigits = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            const char* p = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
            const size_t n = size_t(sqlite3_column_bytes(s, 0));
            size_t z = 0;
            while (z < n && p[z] == '0')
                ++z;
            if (n - z > bestDigits || (n - z == bestDigits && strncasecmp(p + z, best.c_str() + (best.size() - bestDigits), bestDigits) > 0)) {
                best.assign(p, n);
                bestDigits = n - z;
            }
        }
        sqlite3_finalize(s);
        benchmark::DoNotOptimize(best);
    }
}

void BM_ImportEmpty_Layer(benchmark::State& state) { importLayer(state, false); }
void BM_ImportEmpty_Raw(benchmark::State& state) { importRaw(state, false); }
void BM_ImportFull_Layer(benchmark::State& state) { importLayer(state, true); }
void BM_ImportFull_Raw(benchmark::State& state) { importRaw(state, true); }

// ---- moving through the customer window's list ---------------------------------------------------

CustomFrom* window = nullptr;

CustomFrom* customerWindow();

void BM_ListMove_Layer(benchmark::State& state)
{
    QTableView* grid = customerWindow()->DataGrid1[0];
    const int rows = grid->model()->rowCount();
    int r = 0;
    for (auto _ : state) {
        r = (r + 1) % rows;
        grid->setCurrentIndex(grid->model()->index(r, 0));
    }
}

// The customer's row by its key, then its contacts and deliveries by its code, every cell read.
void BM_ListMove_Raw(benchmark::State& state)
{
    sqlite3* raw = w->raw;
    sqlite3_stmt *one = nullptr, *contacts = nullptr, *deliveries = nullptr;
    sqlite3_prepare_v2(raw, "SELECT * FROM RV12 WHERE rowid = ?", -1, &one, nullptr);
    sqlite3_prepare_v2(raw, "SELECT * FROM RV12A WHERE RV12A0 = ?", -1, &contacts, nullptr);
    sqlite3_prepare_v2(raw, "SELECT * FROM RV12B WHERE RV12B0 = ?", -1, &deliveries, nullptr);
    auto readAll = [](sqlite3_stmt* s) {
        size_t bytes = 0;
        while (sqlite3_step(s) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(s); ++c) {
                sqlite3_column_text(s, c);
                bytes += size_t(sqlite3_column_bytes(s, c));
            }
        sqlite3_reset(s);
        return bytes;
    };
    qint64 r = 0;
    for (auto _ : state) {
        r = r % kCustomers + 1;
        sqlite3_bind_int64(one, 1, r);
        size_t bytes = readAll(one);
        const QByteArray code = QString::number(r).rightJustified(6, '0').toUtf8();
        sqlite3_bind_text(contacts, 1, code.constData(), int(code.size()), SQLITE_STATIC);
        sqlite3_bind_text(deliveries, 1, code.constData(), int(code.size()), SQLITE_STATIC);
        bytes += readAll(contacts) + readAll(deliveries);
        benchmark::DoNotOptimize(bytes);
    }
    sqlite3_finalize(one);
    sqlite3_finalize(contacts);
    sqlite3_finalize(deliveries);
}

// ---- the customer window's actions ---------------------------------------------------------------

// Answers every question Yes and every message OK; a message nobody expected is printed.
class Answers : public ui::Responder {
public:
    Answers() { previous_ = ui::SetResponder(this); }
    ~Answers() override { ui::SetResponder(previous_); }
    ui::Answer onMessage(const ui::MessageCall& call) override
    {
        if (call.buttons == ui::Buttons::YesNo || call.buttons == ui::Buttons::YesNoCancel)
            return ui::Answer::Yes;
        std::fprintf(stderr, "message: %s\n", qPrintable(call.text));
        return ui::Answer::OK;
    }

private:
    ui::Responder* previous_ = nullptr;
};

CustomFrom* customerWindow()
{
    useFile(w->fullPath);
    if (!window) {
        window = new CustomFrom();
        window->show();
        QApplication::processEvents();
    }
    return window;
}

void press(CustomFrom* f, int button)
{
    f->Command2[size_t(button)]->click();
    QApplication::processEvents();
}

// Opening the window on 100,000 customers: the list, its categories, the last customer shown.
void BM_WindowOpen_Layer(benchmark::State& state)
{
    useFile(w->fullPath);
    for (auto _ : state) {
        auto* f = new CustomFrom();
        f->show();
        QApplication::processEvents();
        state.PauseTiming();
        delete f;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// 新增, the four required boxes typed, 存檔: the new customer shown in its place in the list.
void addCustomer(CustomFrom* f, int n)
{
    press(f, 1);
    f->Box(1)->setText(QStringLiteral("新客戶%1").arg(n));
    f->Box(2)->setText(QStringLiteral("新客戶股份有限公司%1").arg(n));
    f->Box(3)->setText(QStringLiteral("02-1234"));
    f->Box(10)->setText(QStringLiteral("王"));
    press(f, 5);
}

// The customers the window's list holds.
long listed(CustomFrom* f) { return f->List.ListRs.IsOpen() ? f->List.ListRs.RecordCount() : -1; }

void BM_WindowAdd_Layer(benchmark::State& state)
{
    CustomFrom* f = customerWindow();
    Answers answers;
    int n = 0;
    for (auto _ : state) {
        const long before = listed(f);
        addCustomer(f, ++n);
        if (listed(f) != before + 1 || !f->EditMode.isEmpty()) {
            state.SkipWithError("the customer was not added");
            break;
        }
        state.PauseTiming();
        press(f, 4);  // 刪除 (Yes): the next add starts from the same table
        state.ResumeTiming();
    }
    state.counters["listed"] = double(listed(f));
}

void BM_WindowDelete_Layer(benchmark::State& state)
{
    CustomFrom* f = customerWindow();
    Answers answers;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        addCustomer(f, ++n);
        const long before = listed(f);
        state.ResumeTiming();
        press(f, 4);
        if (listed(f) != before - 1) {
            state.SkipWithError("the customer was not deleted");
            break;
        }
    }
}

// 修改, one letter typed into the short name, 放棄 (Yes): the customer as stored shown again.
void BM_WindowCancel_Layer(benchmark::State& state)
{
    CustomFrom* f = customerWindow();
    Answers answers;
    for (auto _ : state) {
        state.PauseTiming();
        press(f, 2);
        if (!(f->EditMode == "change")) {
            state.SkipWithError("no change started");
            break;
        }
        f->Box(1)->setText(f->Box(1)->text() + QStringLiteral("x"));
        state.ResumeTiming();
        press(f, 6);
    }
}

// The raw counterparts: the row written or read by its key, with its detail rows.
void BM_WindowAdd_Raw(benchmark::State& state)
{
    sqlite3* raw = w->raw;
    sqlite3_stmt *ins = nullptr, *one = nullptr, *del = nullptr;
    sqlite3_prepare_v2(raw, "INSERT INTO RV12 (RV120, RV121, 客戶全銜, RV123, RV1210) VALUES ('900000', '新客戶', '新客戶股份有限公司', '02-1234', '王')",
                       -1, &ins, nullptr);
    sqlite3_prepare_v2(raw, "SELECT * FROM RV12 WHERE rowid = ?", -1, &one, nullptr);
    sqlite3_prepare_v2(raw, "DELETE FROM RV12 WHERE rowid = ?", -1, &del, nullptr);
    for (auto _ : state) {
        sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_step(ins);
        sqlite3_reset(ins);
        const qint64 rowid = sqlite3_last_insert_rowid(raw);
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_bind_int64(one, 1, rowid);
        while (sqlite3_step(one) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(one); ++c)
                sqlite3_column_text(one, c);
        sqlite3_reset(one);
        state.PauseTiming();
        sqlite3_bind_int64(del, 1, rowid);
        sqlite3_step(del);
        sqlite3_reset(del);
        state.ResumeTiming();
    }
    sqlite3_finalize(ins);
    sqlite3_finalize(one);
    sqlite3_finalize(del);
}

void BM_WindowDelete_Raw(benchmark::State& state)
{
    sqlite3* raw = w->raw;
    sqlite3_stmt *ins = nullptr, *del = nullptr, *delA = nullptr, *delB = nullptr;
    sqlite3_prepare_v2(raw, "INSERT INTO RV12 (RV120, RV121) VALUES ('900000', '新客戶')", -1, &ins, nullptr);
    sqlite3_prepare_v2(raw, "DELETE FROM RV12 WHERE rowid = ?", -1, &del, nullptr);
    sqlite3_prepare_v2(raw, "DELETE FROM RV12A WHERE RV12A0 = '900000'", -1, &delA, nullptr);
    sqlite3_prepare_v2(raw, "DELETE FROM RV12B WHERE RV12B0 = '900000'", -1, &delB, nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        sqlite3_step(ins);
        sqlite3_reset(ins);
        const qint64 rowid = sqlite3_last_insert_rowid(raw);
        state.ResumeTiming();
        sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_bind_int64(del, 1, rowid);
        for (sqlite3_stmt* s : {del, delA, delB}) {
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
    }
    for (sqlite3_stmt* s : {ins, del, delA, delB})
        sqlite3_finalize(s);
}

// ---- a save that changes one contact of 20,000 ------------------------------------------------------

constexpr int kManyContacts = 20000;
const char* kManyCode = "000777";

void addManyContacts()
{
    sqlite3* raw = w->raw;
    sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
    // The filled rows hold any text in the e-mail column and texts as wide as their columns in
    // characters, which the save's checks refuse: the customer gets values it accepts.
    sqlite3_exec(raw, "UPDATE RV12A SET RV12A6 = 'a@b.tw' WHERE RV12A0 = '000777'", nullptr, nullptr, nullptr);
    QStringList sets;
    for (const db::ColumnInfo& c : gConn.Columns(QStringLiteral("RV12")))
        if ((c.adoType == db::adVarWChar || c.adoType == db::adWChar) && c.name.compare(QLatin1String("RV120"), Qt::CaseInsensitive) != 0)
            sets << QStringLiteral("\"%1\" = '1'").arg(c.name);
    sqlite3_exec(raw, QStringLiteral("UPDATE RV12 SET %1 WHERE RV120 = '000777'").arg(sets.join(',')).toUtf8().constData(), nullptr,
                 nullptr, nullptr);
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(raw, "INSERT INTO RV12A (RV12A0, RV12A1, 稱謂, RV12A2, RV12A3, RV12A4, RV12A5, RV12A6, 備註) "
                            "VALUES (?, ?, '先生', '經理', '123', 'skype', '0912-345678', 'a@b.tw', '備註')",
                       -1, &ins, nullptr);
    for (int i = kContactsPerCustomer; i < kManyContacts; ++i) {
        const QByteArray name = QStringLiteral("聯絡人%1").arg(i).toUtf8();
        sqlite3_bind_text(ins, 1, kManyCode, -1, SQLITE_STATIC);
        sqlite3_bind_text(ins, 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_step(ins);
        sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
}

void removeManyContacts()
{
    sqlite3_exec(w->raw, "DELETE FROM RV12A WHERE RV12A0 = '000777' AND RV12A1 LIKE '聯絡人%'", nullptr, nullptr, nullptr);
}

// The window on the customer with 20,000 contacts, 修改, one contact's name changed, then 存檔
// (timed): the one row written, the window back to browsing on the customer.
void BM_SaveOneContact_Layer(benchmark::State& state)
{
    CustomFrom* f = customerWindow();
    addManyContacts();
    Answers answers;
    f->List.ShowRow(QStringLiteral("RV120"), QString::fromLatin1(kManyCode));
    f->List.Rs.Resync();  // the values just given
    f->DataGrid1_RowColChange();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        press(f, 2);
        DetailGrid* grid = f->Grids->Man();
        grid->Place(kManyContacts / 2, 1);
        grid->Editor()->setText(QStringLiteral("改名%1").arg(++n));
        grid->EditorChange();
        state.ResumeTiming();
        press(f, 5);
        if (!f->EditMode.isEmpty()) {
            state.SkipWithError("the save did not end");
            break;
        }
    }
    state.counters["contacts"] = f->Grids->ManRowCount();
    removeManyContacts();
}

// One contact row and the customer row updated by their keys in one transaction.
void BM_SaveOneContact_Raw(benchmark::State& state)
{
    addManyContacts();
    sqlite3* raw = w->raw;
    sqlite3_stmt *contact = nullptr, *customer = nullptr, *key = nullptr;
    sqlite3_prepare_v2(raw, "SELECT 序號 FROM RV12A WHERE RV12A0 = '000777' ORDER BY 序號 LIMIT 1 OFFSET 10000", -1, &key, nullptr);
    sqlite3_step(key);
    const qint64 serial = sqlite3_column_int64(key, 0);
    sqlite3_finalize(key);
    sqlite3_prepare_v2(raw, "UPDATE RV12A SET RV12A1 = ?, 稱謂 = '先生', RV12A2 = '經理', RV12A3 = '123', RV12A4 = 'skype', "
                            "RV12A5 = '0912-345678', RV12A6 = 'a@b.tw', 備註 = '備註', RV12A0 = '000777' WHERE 序號 = ?",
                       -1, &contact, nullptr);
    sqlite3_prepare_v2(raw, "UPDATE RV12 SET 修改者 = '', 修改日期 = 20261211 WHERE RV120 = '000777'", -1, &customer, nullptr);
    int n = 0;
    for (auto _ : state) {
        const QByteArray name = QStringLiteral("改名%1").arg(++n).toUtf8();
        sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_bind_text(contact, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(contact, 2, serial);
        sqlite3_step(contact);
        sqlite3_reset(contact);
        sqlite3_step(customer);
        sqlite3_reset(customer);
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(contact);
    sqlite3_finalize(customer);
    removeManyContacts();
}

BENCHMARK(BM_Open_Layer)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open_Raw)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAll_Layer)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAll_Raw)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Find_Layer)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Find_Raw)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Update_Layer)->Repetitions(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Update_Raw)->Repetitions(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Requery_Layer)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Requery_Raw)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Snapshot_Layer)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Snapshot_Raw)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextCode_Layer)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextCode_Raw)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportEmpty_Layer)->Repetitions(5)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportEmpty_Raw)->Repetitions(5)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportFull_Layer)->Repetitions(5)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportFull_Raw)->Repetitions(5)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListMove_Layer)->Repetitions(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListMove_Raw)->Repetitions(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowOpen_Layer)->Repetitions(5)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowAdd_Layer)->Repetitions(5)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowAdd_Raw)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowDelete_Layer)->Repetitions(5)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowDelete_Raw)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowCancel_Layer)->Repetitions(5)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveOneContact_Layer)->Repetitions(5)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveOneContact_Raw)->Repetitions(5)->Unit(benchmark::kMillisecond);

double medianOf(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Keeps the processor and wall time per iteration of every repetition, for the medians.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, std::vector<double>> cpu, wall;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.iterations > 0 && r.run_type == Run::RT_Iteration && !r.error_occurred) {
                cpu[r.run_name.function_name].push_back(r.cpu_accumulated_time / double(r.iterations));
                wall[r.run_name.function_name].push_back(r.real_accumulated_time / double(r.iterations));
            }
        ConsoleReporter::ReportRuns(runs);
    }
    double median(const std::string& name, bool processor = true) const
    {
        const auto& m = processor ? cpu : wall;
        const auto it = m.find(name);
        return it == m.end() ? 0 : medianOf(it->second);
    }
};

// ---- start-up, in a process of its own ---------------------------------------------------------

// The child: what start-up does before the user can work (the connection, the schema passes,
// the main window shown and idle); prints its resident memory.
int startupChild(const QString& folder)
{
    gProgramPath = folder + QStringLiteral("/");
    gDataPath = gProgramPath;
    gConn.Open(connectionText(folder + QStringLiteral("/Tessarine.mdb")));
    checkfilever();
    CheckFactoryTables();
    CheckMemberTable();
    auto* main = new MDIForm1();
    main->show();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    const double cpu = double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) + double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
    std::printf("%lld %.6f\n", residentBytes(), cpu);
    std::fflush(stdout);
    return 0;
}

struct StartFigure {
    double seconds = 0;  // wall, process start to idle main window
    double cpu = 0;      // processor time of the same
    double megabytes = 0;
};

StartFigure measureStarts(const QString& self, const QString& folder)
{
    std::vector<double> times, cpu, memory;
    for (int i = 0; i < kStarts; ++i) {
        QProcess p;
        QElapsedTimer t;
        t.start();
        p.start(self, {QStringLiteral("--startup-child"), folder});
        p.waitForFinished(120000);
        times.push_back(double(t.nsecsElapsed()) / 1e9);
        const QStringList out = QString::fromLatin1(p.readAllStandardOutput()).split(QChar(' '), Qt::SkipEmptyParts);
        memory.push_back(out.value(0).toDouble() / 1048576.0);
        cpu.push_back(out.value(1).toDouble());
    }
    return {medianOf(times), medianOf(cpu), medianOf(memory)};
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && QString::fromUtf8(argv[1]) == QLatin1String("--startup-child"))
        return startupChild(QString::fromUtf8(argv[2]));

    benchmark::Initialize(&argc, argv);
    World world;
    w = &world;
    std::fprintf(stderr, "making the database (%d customers, %d contacts, %d deliveries)...\n", kCustomers,
                 kCustomers * kContactsPerCustomer, kCustomers * kDeliveriesPerCustomer);
    build();
    useFile(w->fullPath);
    w->raw = openRaw(w->fullPath);
    w->list.Open(kListSql, gConn, db::adOpenDynamic, db::adLockOptimistic);
    for (long i = 0; i < w->list.RecordCount(); ++i)
        w->listCodes.push_back(w->list.valueAt(i, w->list.FieldIndex(QStringLiteral("RV120"))).toString().toStdString());
    w->list.SetAbsolutePosition(kCustomers - 5);
    w->findCode = w->list["RV120"].toString();

    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const StartFigure startFull = measureStarts(QCoreApplication::applicationFilePath(), w->fullFolder);
    const StartFigure startEmpty = measureStarts(QCoreApplication::applicationFilePath(), w->emptyFolder);

    // Processor time is the figure that holds on a shared machine; wall time follows for reference.
    auto pair = [&](const char* what, const char* ours, const char* raw, double scale, const char* unit, const char* goal) {
        const double a = reporter.median(ours), b = reporter.median(raw);
        const double aw = reporter.median(ours, false), bw = reporter.median(raw, false);
        if (a <= 0 || b <= 0)
            return;
        std::printf("| %s | %.3f %s | %.3f %s | %.2fx | %.3f / %.3f %s | %s |\n", what, a * scale, unit, b * scale, unit, a / b,
                    aw * scale, bw * scale, unit, goal);
    };
    auto rate = [&](const char* what, const char* ours, const char* raw, const char* goal) {
        const double a = reporter.median(ours), b = reporter.median(raw);
        const double aw = reporter.median(ours, false), bw = reporter.median(raw, false);
        if (a <= 0 || b <= 0)
            return;
        std::printf("| %s | %.0f lines/s | %.0f lines/s | %.2fx | %.0f / %.0f lines/s | %s |\n", what, kImportLines / a,
                    kImportLines / b, a / b, kImportLines / aw, kImportLines / bw, goal);
    };
    std::printf("\n100,000 customers (every column filled), 200,000 contacts, 200,000 deliveries; median of %d repetitions\n\n",
                kStarts);
    std::printf("| work | ours (processor) | raw (processor) | ratio | wall: ours / raw | goal |\n|---|---|---|---|---|---|\n");
    pair("open the customer list (order keys; rows on demand)", "BM_Open_Layer", "BM_Open_Raw", 1e3, "ms", "<= 1.5x");
    pair("open the customer list and read every row", "BM_OpenAll_Layer", "BM_OpenAll_Raw", 1e3, "ms", "<= 1.5x");
    pair("find a code near the end", "BM_Find_Layer", "BM_Find_Raw", 1e3, "ms", "< 20 ms");
    pair("update one field", "BM_Update_Layer", "BM_Update_Raw", 1e6, "us", "<= 2x");
    pair("requery the list", "BM_Requery_Layer", "BM_Requery_Raw", 1e3, "ms", "<= 1.5x");
    pair("report snapshot of the list", "BM_Snapshot_Layer", "BM_Snapshot_Raw", 1e3, "ms", "each row read once");
    pair("next customer code", "BM_NextCode_Layer", "BM_NextCode_Raw", 1e3, "ms", "read once per import");
    rate("import into an empty table", "BM_ImportEmpty_Layer", "BM_ImportEmpty_Raw", ">= 25,000 lines/s, <= 3x");
    rate("import into 100,000 customers", "BM_ImportFull_Layer", "BM_ImportFull_Raw", ">= 25,000 lines/s, <= 3x");
    pair("move to the next customer", "BM_ListMove_Layer", "BM_ListMove_Raw", 1e3, "ms", "<= 2 ms");
    pair("open the customer window", "BM_WindowOpen_Layer", "BM_OpenAll_Raw", 1e3, "ms", "<= 0.4 s");
    pair("add a customer (新增, 存檔)", "BM_WindowAdd_Layer", "BM_WindowAdd_Raw", 1e3, "ms", "<= 50 ms");
    pair("delete a customer (刪除)", "BM_WindowDelete_Layer", "BM_WindowDelete_Raw", 1e3, "ms", "<= 50 ms");
    pair("cancel a change (修改, 放棄)", "BM_WindowCancel_Layer", "BM_ListMove_Raw", 1e3, "ms", "<= 50 ms");
    pair("save one changed contact of 20,000", "BM_SaveOneContact_Layer", "BM_SaveOneContact_Raw", 1e3, "ms", "<= 50 ms");
    std::printf("\n| start-up (process start to idle main window) | 100,000 customers | empty database | ratio | goal |\n"
                "|---|---|---|---|---|\n");
    std::printf("| processor time | %.3f s | %.3f s | %.2fx | <= 1.5x |\n", startFull.cpu, startEmpty.cpu, startFull.cpu / startEmpty.cpu);
    std::printf("| wall time | %.3f s | %.3f s | %.2fx | <= 1.5x |\n", startFull.seconds, startEmpty.seconds,
                startFull.seconds / startEmpty.seconds);
    std::printf("| resident memory when idle | %.1f MB | %.1f MB | %.2fx | <= 1.2x |\n", startFull.megabytes,
                startEmpty.megabytes, startFull.megabytes / startEmpty.megabytes);
    delete window;
    w->list.Close();
    gConn.Close();
    sqlite3_close_v2(w->raw);
    return 0;
}
