// The program on databases of 10,000, 100,000 and 1,000,000 customers: each piece of work done by
// the program next to the same work done the best way with raw sqlite3 calls in the same run, on
// the same database file opened with the same flags.  Every benchmark checks, on both sides, that
// its work was done (rows counted, values read back); a failed check ends the run.  Prints the
// median of the repetitions of each side, their ratio, the growth of the windows' actions with the
// size of the table, and the start-up of the real program.
//
// A database is made as the program makes one (base tables, then the start-up upgrade), filled
// through sqlite3 in one transaction with every column of every row holding a value, and kept in
// the build folder under its size: a later run copies it and takes the copy through the start-up
// passes again (as an upgraded program does with a user's file).
#include "core/Globals.h"
#include "core/SettingKeys.h"
#include "core/Settings.h"
#include "core/numbering/Numbering.h"
#include "core/schema/SchemaCheck.h"
#include "contacts/OtherFrm.h"
#include "customers/CustomFrom.h"
#include "customers/CustomerDetailGrids.h"
#include "output/BulkMail.h"
#include "output/CustomLabelPrtFrm1.h"
#include "output/ListPicker.h"
#include "platform/db/Db.h"
#include "platform/report/Report.h"
#include "platform/report/ReportWindow.h"
#include "platform/ui/Ui.h"
#include "records/DetailGrid.h"
#include "shell/ImportText.h"
#include "shell/MDIForm1.h"
#include "shell/frmImpDB2.h"
#include "output/frm客戶批次發信1.h"
#include "platform/dbmodel/RecordsetModel.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QKeyEvent>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <sqlite3.h>
#include <string>
#include <strings.h>
#include <vector>

namespace {

constexpr int kBase = 100000;                      // the size of the main table's pairs
const std::vector<int> kSizes = {10000, 100000, 1000000};
constexpr int kContactsPerCustomer = 2;
constexpr int kDeliveriesPerCustomer = 2;
constexpr int kMembers = 100000;
constexpr int kPersonal = 100000;
constexpr int kVendors = 10000;
constexpr int kEmployees = 5000;
constexpr int kImportLines = 100000;
constexpr int kPicks = 1000;
// Repetitions of every benchmark (TESS_BENCH_REPETITIONS for a quick look; the tables want 15).
const int kRepetitions = std::max(1, qEnvironmentVariableIntValue("TESS_BENCH_REPETITIONS") > 0
                                         ? qEnvironmentVariableIntValue("TESS_BENCH_REPETITIONS") : 15);
constexpr int kStarts = 5;
// Raised whenever what the filler writes changes, so that a kept database is made again.
constexpr int kFillerVersion = 4;
const char* kListSql = "Select RV12.* From RV12 Order by RV121";
// The salesperson list the customer window offers.
const char* kSalesSql = "SELECT RV17A.RV17A2 FROM RV17, RV17A WHERE RV17.RV171 LIKE '業務%' AND (RV17A.RV17A13 IS NULL OR "
                        "RV17A.RV17A13 = '') AND RV17.RV170 = RV17A.RV17A0 ORDER BY RV17A.RV17A2";

// ---- checks ------------------------------------------------------------------------------------

std::string gRunning;  // the benchmark running, for the message of a failed check

// A benchmark whose work was not done would give a figure for nothing: the run ends here.
void require(bool ok, const QString& what)
{
    if (ok)
        return;
    std::fflush(stdout);
    std::fprintf(stderr, "\n*** check failed in %s: %s\n*** the run is ended: its figures would not be for the work named.\n",
                 gRunning.c_str(), qPrintable(what));
    std::fflush(stderr);
    std::_Exit(2);
}

// ---- raw sqlite3 -------------------------------------------------------------------------------

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

class Stmt {
public:
    Stmt(sqlite3* raw, const char* sql)
    {
        if (sqlite3_prepare_v2(raw, sql, -1, &s_, nullptr) != SQLITE_OK)
            require(false, QStringLiteral("raw statement %1: %2").arg(QString::fromUtf8(sql), QString::fromUtf8(sqlite3_errmsg(raw))));
    }
    ~Stmt() { sqlite3_finalize(s_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    operator sqlite3_stmt*() const { return s_; }
    bool step() { return sqlite3_step(s_) == SQLITE_ROW; }
    void reset() { sqlite3_reset(s_); }
    void text(int i, const QByteArray& b) { sqlite3_bind_text(s_, i, b.constData(), int(b.size()), SQLITE_TRANSIENT); }
    void integer(int i, qint64 v) { sqlite3_bind_int64(s_, i, v); }
    QByteArray col(int i) const
    {
        return QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(s_, i)), sqlite3_column_bytes(s_, i));
    }
    qint64 num(int i) const { return sqlite3_column_int64(s_, i); }

private:
    sqlite3_stmt* s_ = nullptr;
};

// Every cell of the current row read as a caller would; returns the bytes seen.
size_t readRow(sqlite3_stmt* s)
{
    size_t bytes = 0;
    const int n = sqlite3_column_count(s);
    for (int c = 0; c < n; ++c) {
        switch (sqlite3_column_type(s, c)) {
        case SQLITE_INTEGER: bytes += size_t(sqlite3_column_int64(s, c) & 1); break;
        case SQLITE_FLOAT: bytes += size_t(sqlite3_column_double(s, c) > 0); break;
        case SQLITE_TEXT: sqlite3_column_text(s, c); bytes += size_t(sqlite3_column_bytes(s, c)); break;
        default: break;
        }
    }
    return bytes;
}

// Steps through every cell of the statement; returns the rows.
long rawScan(sqlite3* raw, const char* sql)
{
    Stmt s(raw, sql);
    long rows = 0;
    size_t bytes = 0;
    while (s.step()) {
        bytes += readRow(s);
        ++rows;
    }
    benchmark::DoNotOptimize(bytes);
    return rows;
}

qint64 rawNumber(sqlite3* raw, const char* sql)
{
    Stmt s(raw, sql);
    return s.step() ? s.num(0) : -1;
}

// ---- making the databases -------------------------------------------------------------------------

const QString kHan = QString::fromUtf8("台北市中正區忠孝東路信義大安松山內湖南港士林北投萬華文山新竹桃園台中高雄"
                                       "股份有限公司企業社工業商行貿易電子科技實業國際建設開發王李陳林黃張吳劉蔡楊");
const QString kDigits = QStringLiteral("0123456789");

QString pick(std::mt19937& rng, const QString& pool, int minLen, int maxLen)
{
    std::uniform_int_distribution<int> len(minLen, maxLen), at(0, int(pool.size()) - 1);
    QString s;
    const int n = len(rng);
    for (int i = 0; i < n; ++i)
        s += pool[at(rng)];
    return s;
}

// Texts made ahead, many per width, picked at random for each cell: a million rows are filled in
// the time it takes to write them.  A text fits its column as the program counts it (a Chinese
// character takes two of the column's width), as the rows a user saves do.
class TextPool {
public:
    explicit TextPool(std::mt19937& rng) : rng_(rng) {}
    const QByteArray& han(int width)
    {
        auto& v = han_[width];
        if (v.empty())
            for (int i = 0; i < kPool; ++i)
                v.push_back(pick(rng_, kHan, std::max(1, width / 4), std::max(1, width / 2)).toUtf8());
        return v[rng_() % kPool];
    }
    const QByteArray& digits(int width)
    {
        auto& v = digits_[width];
        if (v.empty())
            for (int i = 0; i < kPool; ++i)
                v.push_back(pick(rng_, kDigits, width, width).toUtf8());
        return v[rng_() % kPool];
    }

private:
    static constexpr int kPool = 16384;
    std::mt19937& rng_;
    std::map<int, std::vector<QByteArray>> han_, digits_;
};

QByteArray codeOf(long r) { return QString::number(r).rightJustified(6, '0').toUtf8(); }

// Every row of a table but its identity column: `rows` codes, `perCode` rows for each.  A column
// named like a code (ending in 0 or 編號) takes the code; the customer's short name is made
// unique (two characters and the row's number), as the bulk mail looks customers up by it.
// What a real file holds where random texts would not do: customers and personal contacts in
// kCategories categories, employees in departments (the first three sales departments, holding
// kSalespeople of them, none left the company).
constexpr int kCategories = 40;
constexpr int kDepartments = 20;
constexpr int kSalesDepartments = 3;
constexpr int kSalespeople = 1500;

QByteArray departmentOf(long employee)
{
    const long d = employee <= kSalespeople ? 1 + (employee - 1) % kSalesDepartments
                                            : kSalesDepartments + 1 + employee % (kDepartments - kSalesDepartments);
    return QString::number(d).rightJustified(4, '0').toUtf8();
}

// The value a column of a row takes in a real file, or an empty optional for a random one.
std::optional<QByteArray> realValue(const QString& table, const QString& column, long r, std::mt19937& rng)
{
    static const QStringList categories = [] {
        QStringList c;
        std::mt19937 g(11);
        while (c.size() < kCategories) {
            const QString t = pick(g, kHan, 2, 4);
            if (!c.contains(t))
                c << t;
        }
        return c;
    }();
    if ((table == QStringLiteral("RV12") || table == QStringLiteral("RV18A")) && column == QStringLiteral("類別"))
        return categories[int(rng() % kCategories)].toUtf8();
    if (table == QStringLiteral("RV17") && column == QStringLiteral("RV170"))
        return QString::number(r).rightJustified(4, '0').toUtf8();
    if (table == QStringLiteral("RV17") && column == QStringLiteral("RV171"))
        return (r <= kSalesDepartments ? QStringLiteral("業務%1部").arg(QString(QStringLiteral("一二三")[int(r) - 1]))
                                       : QStringLiteral("部門%1").arg(r)).toUtf8();
    if (table == QStringLiteral("RV17A") && column == QStringLiteral("RV17A0"))
        return departmentOf(r);
    if (table == QStringLiteral("RV17A") && column == QStringLiteral("RV17A2"))
        return (pick(rng, kHan, 2, 2) + QString::number(r)).toUtf8();
    if (table == QStringLiteral("RV17A") && column == QStringLiteral("RV17A13"))
        return QByteArray("");
    return std::nullopt;
}

void fillTable(sqlite3* raw, const QString& table, const QVector<db::ColumnInfo>& all, long rows, int perCode,
               std::mt19937& rng, TextPool& pool)
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
    Stmt ins(raw, sql.constData());
    const bool customers = table == QStringLiteral("RV12");
    for (long r = 1; r <= rows; ++r) {
        const QByteArray code = codeOf(r);
        for (int k = 0; k < perCode; ++k) {
            for (int i = 0; i < cols.size(); ++i) {
                const db::ColumnInfo& c = cols[i];
                const int at = i + 1;
                switch (c.adoType) {
                case db::adSmallInt:
                case db::adUnsignedTinyInt: ins.integer(at, qint64(rng() % 31)); continue;
                case db::adInteger: ins.integer(at, 20261209); continue;
                case db::adDouble:
                case db::adCurrency:
                case db::adSingle: sqlite3_bind_double(ins, at, double(rng() % 100000) / 100.0); continue;
                case db::adDate: sqlite3_bind_text(ins, at, "2026-12-09 00:00:00", -1, SQLITE_STATIC); continue;
                case db::adBoolean: ins.integer(at, -1); continue;
                case db::adLongVarWChar: {
                    const QByteArray& t = pool.han(40);
                    sqlite3_bind_text(ins, at, t.constData(), int(t.size()), SQLITE_STATIC);
                    continue;
                }
                default: break;
                }
                const int width = std::max(1, c.definedSize);
                if (const auto real = realValue(table, c.name, r, rng)) {
                    sqlite3_bind_text(ins, at, real->constData(), int(real->size()), SQLITE_TRANSIENT);
                } else if (c.name.endsWith(QLatin1String("0")) || c.name.endsWith(QStringLiteral("編號"))) {
                    sqlite3_bind_text(ins, at, code.constData(), int(code.size()), SQLITE_TRANSIENT);
                } else if (customers && c.name.compare(QLatin1String("RV121"), Qt::CaseInsensitive) == 0) {
                    const QByteArray name = (pick(rng, kHan, 2, 2) + QString::number(r % 1000000).rightJustified(6, '0')).toUtf8();
                    sqlite3_bind_text(ins, at, name.constData(), int(name.size()), SQLITE_TRANSIENT);
                } else {
                    const QByteArray& t = width <= 4 ? pool.digits(width) : pool.han(width);
                    sqlite3_bind_text(ins, at, t.constData(), int(t.size()), SQLITE_STATIC);
                }
            }
            if (sqlite3_step(ins) != SQLITE_DONE)
                require(false, QStringLiteral("filling %1: %2").arg(table, QString::fromUtf8(sqlite3_errmsg(raw))));
            ins.reset();
        }
    }
}

// The start-up passes, as the program runs them on every start.
void startupPasses()
{
    checkfilever();
    CheckFactoryTables();
    CheckMemberTable();
}

// A database as the program makes it: base tables, then the start-up passes; left open in gConn.
void makeProgramDatabase(const QString& folder)
{
    QFile script(QStringLiteral(":/schema/base_tables.sql"));
    script.open(QIODevice::ReadOnly);
    const QString path = folder + QStringLiteral("/Tessarine.mdb");
    QFile::remove(path);
    db::Connection::CreateDatabase(path, QString::fromUtf8(script.readAll()));
    gProgramPath = folder + QStringLiteral("/");
    gDataPath = gProgramPath;
    gConn.Open(connectionText(path));
    startupPasses();
    gConn.Execute(QStringLiteral("Delete From RV12A"));  // the sample rows
    gConn.Execute(QStringLiteral("Delete From RV12B"));
}

QString dataFolder()
{
    const QString folder = qEnvironmentVariable("TESS_BENCH_DATA", QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data"));
    QDir().mkpath(folder);
    return QDir(folder).absolutePath();
}

// The kept file's name: the size, and what made it (the base tables and the filler).
QString keptName(int customers)
{
    QFile script(QStringLiteral(":/schema/base_tables.sql"));
    script.open(QIODevice::ReadOnly);
    QCryptographicHash h(QCryptographicHash::Sha1);
    h.addData(script.readAll());
    h.addData(QByteArray::number(kFillerVersion));
    return QStringLiteral("customers-%1-%2.mdb").arg(customers).arg(QString::fromLatin1(h.result().toHex().left(10)));
}

// The kept database of that many customers (made now when missing): 2 contacts and 2 deliveries
// per customer, 100,000 members and personal contacts, 10,000 vendors, 5,000 employees.
QString keptDatabase(int customers)
{
    const QString kept = dataFolder() + QStringLiteral("/") + keptName(customers);
    if (QFileInfo::exists(kept))
        return kept;
    QElapsedTimer t;
    t.start();
    std::fprintf(stderr, "making the database of %d customers (kept as %s)...\n", customers, qPrintable(kept));
    const QString folder = dataFolder() + QStringLiteral("/making");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    makeProgramDatabase(folder);
    std::map<QString, QVector<db::ColumnInfo>> columns;
    for (const char* table : {"RV12", "RV12A", "RV12B", "RV11", "RV17", "RV17A", "RV18A", "會員管理"})
        columns[QString::fromUtf8(table)] = gConn.Columns(QString::fromUtf8(table));
    gConn.Close();
    std::mt19937 rng(42);
    TextPool pool(rng);
    sqlite3* raw = openRaw(folder + QStringLiteral("/Tessarine.mdb"));
    sqlite3_exec(raw, "PRAGMA cache_size=-200000", nullptr, nullptr, nullptr);
    sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
    fillTable(raw, QStringLiteral("RV12"), columns[QStringLiteral("RV12")], customers, 1, rng, pool);
    fillTable(raw, QStringLiteral("RV12A"), columns[QStringLiteral("RV12A")], customers, kContactsPerCustomer, rng, pool);
    fillTable(raw, QStringLiteral("RV12B"), columns[QStringLiteral("RV12B")], customers, kDeliveriesPerCustomer, rng, pool);
    fillTable(raw, QStringLiteral("RV11"), columns[QStringLiteral("RV11")], kVendors, 1, rng, pool);
    sqlite3_exec(raw, "DELETE FROM RV17; DELETE FROM RV17A", nullptr, nullptr, nullptr);  // the sample rows
    fillTable(raw, QStringLiteral("RV17"), columns[QStringLiteral("RV17")], kDepartments, 1, rng, pool);
    fillTable(raw, QStringLiteral("RV17A"), columns[QStringLiteral("RV17A")], kEmployees, 1, rng, pool);
    fillTable(raw, QStringLiteral("RV18A"), columns[QStringLiteral("RV18A")], kPersonal, 1, rng, pool);
    fillTable(raw, QStringLiteral("會員管理"), columns[QStringLiteral("會員管理")], kMembers, 1, rng, pool);
    require(sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK, QStringLiteral("filling: the commit failed"));
    require(rawNumber(raw, "SELECT count(*) FROM RV12") == customers, QStringLiteral("filling: customers counted"));
    sqlite3_close_v2(raw);
    QFile::rename(folder + QStringLiteral("/Tessarine.mdb"), kept);
    QDir(folder).removeRecursively();
    std::fprintf(stderr, "made in %.1f s\n", double(t.elapsed()) / 1000);
    return kept;
}

// ---- the world of one size: its database, the main window, the raw connection -------------------

struct World {
    int customers = 0;
    QString folder, path;
    sqlite3* raw = nullptr;
    MDIForm1* main = nullptr;
    std::vector<qint64> orderRowids;        // the customer list's rows in its order (RV121)
    std::vector<QByteArray> orderCodes;     // and their codes
    std::vector<QByteArray> orderNames;     // and their short names
    QString salesName;                      // the first name of the salesperson list
    long categories = 0;                    // distinct non-empty 類別 of the customers
    int shownRows = 30;                     // rows the customer list shows
};
World* w = nullptr;
db::Recordset gList;  // the customer list, as the customer window opens it, every row read

void closeWindows()
{
    if (w && w->main) {
        delete w->main;
        w->main = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
}

void leaveWorld()
{
    if (!w)
        return;
    closeWindows();
    if (gList.IsOpen())
        gList.Close();
    sqlite3_close_v2(w->raw);
    if (gConn.IsOpen())
        gConn.Close();
    QDir(w->folder).removeRecursively();  // the copy (the kept file stays)
    delete w;
    w = nullptr;
}

// The world of that many customers, made current: a fresh copy of the kept file, taken through
// the start-up passes, with the main window shown and active.
World& world(int customers)
{
    if (w && w->customers == customers)
        return *w;
    leaveWorld();
    const QString kept = keptDatabase(customers);
    w = new World;
    w->customers = customers;
    w->folder = dataFolder() + QStringLiteral("/run-%1").arg(customers);
    QDir(w->folder).removeRecursively();
    QDir().mkpath(w->folder);
    w->path = w->folder + QStringLiteral("/Tessarine.mdb");
    std::fprintf(stderr, "copying the database of %d customers...\n", customers);
    require(QFile::copy(kept, w->path), QStringLiteral("copying %1").arg(kept));
    gProgramPath = w->folder + QStringLiteral("/");
    gDataPath = gProgramPath;
    gConn.Open(connectionText(w->path));
    startupPasses();
    w->raw = openRaw(w->path);
    Stmt order(w->raw, "SELECT rowid, RV120, RV121 FROM RV12 ORDER BY RV121");
    while (order.step()) {
        w->orderRowids.push_back(order.num(0));
        w->orderCodes.push_back(order.col(1));
        w->orderNames.push_back(order.col(2));
    }
    Stmt sales(w->raw, kSalesSql);
    require(sales.step(), QStringLiteral("the file has no salespeople"));
    w->salesName = QString::fromUtf8(sales.col(0));
    require(long(w->orderRowids.size()) == customers, QStringLiteral("customers counted"));
    w->categories = rawNumber(w->raw, "SELECT count(DISTINCT 類別) FROM RV12 WHERE 類別 <> ''");
    return *w;
}

MDIForm1* mainWindow()
{
    if (!w->main) {
        w->main = new MDIForm1();
        w->main->resize(1280, 900);
        w->main->show();
        QApplication::setActiveWindow(w->main);
        QApplication::processEvents();
    }
    return w->main;
}

// Answers every question Yes; any other message fails the check of the benchmark it came in.
class Answers : public ui::Responder {
public:
    Answers() { previous_ = ui::SetResponder(this); }
    ~Answers() override { ui::SetResponder(previous_); }
    ui::Answer onMessage(const ui::MessageCall& call) override
    {
        if (call.buttons == ui::Buttons::YesNo || call.buttons == ui::Buttons::YesNoCancel)
            return ui::Answer::Yes;
        require(false, QStringLiteral("a message nobody expected: ") + call.text);
        return ui::Answer::OK;
    }

private:
    ui::Responder* previous_ = nullptr;
};

// Counts the paintings of a widget.
class PaintCount : public QObject {
public:
    explicit PaintCount(QWidget* watched) : watched_(watched) { watched->installEventFilter(this); }
    ~PaintCount() override
    {
        if (watched_)
            watched_->removeEventFilter(this);
    }
    long count = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++count;
        return false;
    }

private:
    QPointer<QWidget> watched_;
};

// The customer window inside the main window, active, as the menu opens it.
CustomFrom* customerWindow()
{
    if (CustomFrom* f = CustomFrom::Global())
        return f;
    mainWindow()->ShowCustomFrom();
    QApplication::processEvents();
    CustomFrom* f = CustomFrom::Global();
    require(f != nullptr, QStringLiteral("the customer window did not open"));
    if (w->shownRows == 30) {
        QTableView* grid = f->DataGrid1[0];
        const int first = grid->rowAt(0), last = grid->rowAt(grid->viewport()->height() - 1);
        if (first >= 0)
            w->shownRows = (last < 0 ? grid->model()->rowCount() - 1 : last) - first + 1;
    }
    return f;
}

void closeCustomerWindow()
{
    if (CustomFrom* f = CustomFrom::Global()) {
        delete f;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
}

void press(CustomFrom* f, int button)
{
    f->Command2[size_t(button)]->click();
    QApplication::processEvents();
}

long listed(CustomFrom* f) { return f->List.ListRs.IsOpen() ? f->List.ListRs.RecordCount() : -1; }

// One character typed: the key of a letter or digit, none for a Chinese character (an input
// method's commit).
void typeKey(QWidget* target, QChar ch)
{
    const int key = ch.unicode() < 128 && ch.isLetterOrNumber() ? ch.toUpper().unicode() : 0;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

// A box given the focus as a click or Tab gives it (the box left runs its leave checks), then typed
// into: into the box, or into the pick list the box lays over itself when it gets the focus.
void typeInto(CustomFrom* f, int box, const QString& text)
{
    f->Box(box)->setFocus(Qt::TabFocusReason);
    QWidget* e = QApplication::focusWidget();
    require(e != nullptr, QStringLiteral("no control has the focus"));
    if (auto* line = qobject_cast<QLineEdit*>(e))
        line->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(e); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
    for (const QChar ch : text)
        typeKey(e, ch);
}

// 新增, the required boxes typed in the order a user fills them, 存檔 clicked: the short name's
// leave check (the duplicate check, and the full name filled from it) runs as it does for a user.
void addCustomer(CustomFrom* f, const QString& name)
{
    press(f, 1);
    require(QString(f->EditMode) == QStringLiteral("addnew"), QStringLiteral("新增 did not start an add"));
    typeInto(f, 1, name);
    f->Box(2)->setFocus(Qt::TabFocusReason);
    require(f->BoxText(2) == name, QStringLiteral("leaving the short name did not run its check (full name '%1')").arg(f->BoxText(2)));
    typeInto(f, 2, name + QStringLiteral("股份有限公司"));
    typeInto(f, 3, QStringLiteral("02-1234"));
    typeInto(f, 10, w->salesName);
    f->Command2[5]->setFocus(Qt::MouseFocusReason);
    press(f, 5);
}

// The newest customer row's short name, read straight from the file.
QString newestName()
{
    Stmt s(w->raw, "SELECT RV121 FROM RV12 WHERE rowid = (SELECT max(rowid) FROM RV12)");
    return s.step() ? QString::fromUtf8(s.col(0)) : QString();
}

// ---- the customer window's actions, at every size --------------------------------------------------

void WindowOpen_ours(benchmark::State& state, int n)
{
    world(n);
    closeCustomerWindow();
    mainWindow();
    for (auto _ : state) {
        mainWindow()->ShowCustomFrom();
        QApplication::processEvents();
        state.PauseTiming();
        CustomFrom* f = CustomFrom::Global();
        require(f && listed(f) == n, QStringLiteral("the list holds %1 customers, not %2").arg(f ? listed(f) : -1).arg(n));
        require(f->BoxText(0) == QString::fromUtf8(w->orderCodes.back()),
                QStringLiteral("the window shows %1, not the last customer %2").arg(f->BoxText(0), QString::fromUtf8(w->orderCodes.back())));
        require(f->Combo3->count() == w->categories,
                QStringLiteral("the category list holds %1 entries, not %2").arg(f->Combo3->count()).arg(w->categories));
        closeCustomerWindow();
        state.ResumeTiming();
    }
}

// What the window shows, read the best way: the count, the categories down their index, the rows
// the list shows (its last ones) down the short name's index, and the last customer with its
// contacts and deliveries.
void WindowOpen_raw(benchmark::State& state, int n)
{
    world(n);
    customerWindow();  // for the number of rows the list shows
    const int shown = w->shownRows;
    for (auto _ : state) {
        const qint64 count = rawNumber(w->raw, "SELECT count(*) FROM RV12");
        long categories = 0;
        {
            Stmt distinct(w->raw, "SELECT DISTINCT 類別 FROM RV12 ORDER BY 類別");
            while (distinct.step())
                if (sqlite3_column_bytes(distinct, 0) > 0)
                    ++categories;
        }
        Stmt last(w->raw, "SELECT * FROM RV12 ORDER BY RV121 DESC LIMIT ?");
        last.integer(1, shown);
        QByteArray lastCode;
        size_t bytes = 0;
        while (last.step()) {
            bytes += readRow(last);
            if (lastCode.isEmpty())
                lastCode = last.col(0);
        }
        Stmt contacts(w->raw, "SELECT * FROM RV12A WHERE RV12A0 = ?"), deliveries(w->raw, "SELECT * FROM RV12B WHERE RV12B0 = ?");
        contacts.text(1, lastCode);
        deliveries.text(1, lastCode);
        while (contacts.step())
            bytes += readRow(contacts);
        while (deliveries.step())
            bytes += readRow(deliveries);
        benchmark::DoNotOptimize(bytes);
        require(count == n, QStringLiteral("%1 customers counted, not %2").arg(count).arg(n));
        require(categories == w->categories, QStringLiteral("%1 categories, not %2").arg(categories).arg(w->categories));
        require(lastCode == w->orderCodes.back(), QStringLiteral("the last customer read is %1").arg(QString::fromUtf8(lastCode)));
    }
}

void Add_ours(benchmark::State& state, int n)
{
    world(n);
    CustomFrom* f = customerWindow();
    Answers answers;
    int k = 0;
    for (auto _ : state) {
        const long before = listed(f);
        const QString name = QStringLiteral("新客戶%1").arg(++k);
        addCustomer(f, name);
        state.PauseTiming();
        require(f->EditMode.isEmpty(), QStringLiteral("存檔 did not end the add"));
        require(listed(f) == before + 1, QStringLiteral("the list holds %1 customers after the add, not %2").arg(listed(f)).arg(before + 1));
        require(newestName() == name, QStringLiteral("the newest stored customer is '%1', not '%2'").arg(newestName(), name));
        require(f->BoxText(1) == name, QStringLiteral("the window shows '%1' after the add").arg(f->BoxText(1)));
        press(f, 4);  // 刪除 (Yes): the next add starts from the same table
        require(listed(f) == before, QStringLiteral("the added customer was not deleted again"));
        state.ResumeTiming();
    }
}

// The next code one step down the code-order index, the short name's duplicate check, the
// salesperson list read, the row inserted in a transaction and read back.
void Add_raw(benchmark::State& state, int n)
{
    world(n);
    sqlite3* raw = w->raw;
    Stmt greatest(raw, "SELECT RV120 FROM RV12 WHERE RV120 IS NOT NULL ORDER BY Length(LTrim(RV120, '0')) DESC, "
                       "LTrim(RV120, '0') COLLATE NOCASE DESC, RV120 DESC, rowid LIMIT 1");
    Stmt dup(raw, "SELECT count(*) FROM RV12 WHERE RV121 = ? AND rowid <> 0");
    Stmt sales(raw, kSalesSql);
    Stmt ins(raw, "INSERT INTO RV12 (RV120, RV121, 客戶全銜, RV123, RV1210) VALUES (?, ?, ?, '02-1234', ?)");
    Stmt one(raw, "SELECT * FROM RV12 WHERE rowid = ?");
    Stmt del(raw, "DELETE FROM RV12 WHERE rowid = ?");
    int k = 0;
    for (auto _ : state) {
        const QByteArray name = QStringLiteral("新客戶%1").arg(++k).toUtf8();
        greatest.step();
        const QByteArray code = NextCustomerCode(QString::fromUtf8(greatest.col(0))).toUtf8();
        greatest.reset();
        QStringList names;
        while (sales.step())
            names << QString::fromUtf8(sales.col(0));
        sales.reset();
        dup.text(1, name);
        dup.step();
        const qint64 dups = dup.num(0);
        dup.reset();
        sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
        ins.text(1, code);
        ins.text(2, name);
        ins.text(3, name + QStringLiteral("股份有限公司").toUtf8());
        ins.text(4, names.value(0).toUtf8());
        const bool inserted = sqlite3_step(ins) == SQLITE_DONE;
        ins.reset();
        const qint64 rowid = sqlite3_last_insert_rowid(raw);
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
        one.integer(1, rowid);
        QByteArray back;
        while (one.step()) {
            readRow(one);
            back = one.col(sqlite3_column_count(one) > 1 ? 1 : 0);
        }
        one.reset();
        state.PauseTiming();
        require(inserted && dups == 0, QStringLiteral("the insert failed: ") + QString::fromUtf8(sqlite3_errmsg(raw)));
        require(names.size() >= kSalespeople && code == NextCustomerCode(QString::fromUtf8(codeOf(n))).toUtf8(),
                QStringLiteral("%1 salespeople, code %2").arg(names.size()).arg(QString::fromUtf8(code)));
        require(newestName().toUtf8() == name, QStringLiteral("the row read back is not the one inserted"));
        del.integer(1, rowid);
        sqlite3_step(del);
        del.reset();
        state.ResumeTiming();
    }
}

// A customer's rows, its contacts and deliveries kept aside by the raw connection, to be put back
// (with their keys) once a benchmark has deleted them: every size's file stays as it was made.
struct KeptCustomer {
    KeptCustomer(sqlite3* raw, const QByteArray& code) : raw_(raw)
    {
        const QByteArray c = "'" + code + "'";
        sqlite3_exec(raw, "DROP TABLE IF EXISTS temp.k12; DROP TABLE IF EXISTS temp.k12a; DROP TABLE IF EXISTS temp.k12b", nullptr, nullptr, nullptr);
        sqlite3_exec(raw, ("CREATE TEMP TABLE k12 AS SELECT rowid AS tess_rowid, * FROM main.RV12 WHERE RV120 = " + c + "; CREATE TEMP TABLE k12a AS "
                           "SELECT * FROM main.RV12A WHERE RV12A0 = " + c + "; CREATE TEMP TABLE k12b AS SELECT * FROM main.RV12B "
                           "WHERE RV12B0 = " + c).constData(), nullptr, nullptr, nullptr);
        details = rawNumber(raw, "SELECT (SELECT count(*) FROM temp.k12a) + (SELECT count(*) FROM temp.k12b)");
        require(rawNumber(raw, "SELECT count(*) FROM temp.k12") == 1 && details > 0, QStringLiteral("the customer to delete was not kept"));
    }
    ~KeptCustomer()
    {
        QStringList columns;
        {
            Stmt names(raw_, "SELECT name FROM pragma_table_info('RV12')");
            while (names.step())
                columns << QStringLiteral("\"%1\"").arg(QString::fromUtf8(names.col(0)));
        }
        const QByteArray back = QStringLiteral("BEGIN; INSERT INTO main.RV12 (rowid, %1) SELECT tess_rowid, %1 FROM temp.k12; "
                                               "INSERT INTO main.RV12A SELECT * FROM temp.k12a; INSERT INTO main.RV12B SELECT * FROM temp.k12b; COMMIT")
                                    .arg(columns.join(QLatin1Char(',')))
                                    .toUtf8();
        require(sqlite3_exec(raw_, back.constData(), nullptr, nullptr, nullptr) == SQLITE_OK,
                QStringLiteral("the deleted customer was not put back: ") + QString::fromUtf8(sqlite3_errmsg(raw_)));
    }
    qint64 details = 0;

private:
    sqlite3* raw_;
};

// The rows stored for a customer: its own, its contacts' and its deliveries'.
qint64 storedRows(const QByteArray& code)
{
    Stmt s(w->raw, "SELECT (SELECT count(*) FROM RV12 WHERE RV120 = ?1) + (SELECT count(*) FROM RV12A WHERE RV12A0 = ?1) + "
                   "(SELECT count(*) FROM RV12B WHERE RV12B0 = ?1)");
    s.text(1, code);
    return s.step() ? s.num(0) : -1;
}

// The customers deleted: one after another from a third of the list on, each with its contacts
// and deliveries, put back after each delete.
size_t deletedAt(int n, int k) { return size_t(n / 3 + k); }

// 刪除 answered Yes on a customer with its contacts and deliveries.
void Delete_ours(benchmark::State& state, int n)
{
    world(n);
    CustomFrom* f = customerWindow();
    Answers answers;
    static std::map<int, int> deletedBefore;  // by the window, over the repetitions: gone from its list
    int& k = deletedBefore[n];
    for (auto _ : state) {
        state.PauseTiming();
        const QByteArray code = w->orderCodes[deletedAt(n, k++)];
        // The customers deleted before it have left the list (their rows were put back in the file only).
        QTableView* grid = f->DataGrid1[0];
        grid->setCurrentIndex(grid->model()->index(int(deletedAt(n, 0)), 0));
        QApplication::processEvents();
        require(f->BoxText(0).toUtf8() == code, QStringLiteral("the window shows %1 (the list %2), not %3")
                                                    .arg(f->BoxText(0), grid->currentIndex().data().toString(), QString::fromUtf8(code)));
        const long before = listed(f);
        KeptCustomer kept(w->raw, code);
        state.ResumeTiming();
        press(f, 4);
        state.PauseTiming();
        require(listed(f) == before - 1, QStringLiteral("the list holds %1 customers after the delete, not %2").arg(listed(f)).arg(before - 1));
        require(storedRows(code) == 0, QStringLiteral("the deleted customer or its detail rows are still stored"));
        state.ResumeTiming();
    }
}

// The row and its detail rows deleted by key and code in a transaction.
void Delete_raw(benchmark::State& state, int n)
{
    world(n);
    sqlite3* raw = w->raw;
    Stmt del(raw, "DELETE FROM RV12 WHERE rowid = ?");
    Stmt delA(raw, "DELETE FROM RV12A WHERE RV12A0 = ?");
    Stmt delB(raw, "DELETE FROM RV12B WHERE RV12B0 = ?");
    int k = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const size_t at = deletedAt(n, k++);
        const QByteArray code = w->orderCodes[at];
        KeptCustomer kept(raw, code);
        state.ResumeTiming();
        sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
        del.integer(1, w->orderRowids[at]);
        sqlite3_step(del);
        const int deleted = sqlite3_changes(raw);
        del.reset();
        int details = 0;
        for (Stmt* s : {&delA, &delB}) {
            s->text(1, code);
            sqlite3_step(*s);
            details += sqlite3_changes(raw);
            s->reset();
        }
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
        state.PauseTiming();
        require(deleted == 1 && details == kept.details, QStringLiteral("%1 rows and %2 detail rows deleted").arg(deleted).arg(details));
        state.ResumeTiming();
    }
}

// 修改, one letter typed into the short name, 放棄 (Yes): the customer as stored shown again.
void Cancel_ours(benchmark::State& state, int n)
{
    world(n);
    CustomFrom* f = customerWindow();
    Answers answers;
    for (auto _ : state) {
        state.PauseTiming();
        const QString stored = f->BoxText(1);
        const QString changed = stored.left(stored.size() - 1) + QStringLiteral("x");  // the box is full
        state.ResumeTiming();
        press(f, 2);
        typeInto(f, 1, changed);
        f->Command2[6]->setFocus(Qt::MouseFocusReason);
        press(f, 6);
        state.PauseTiming();
        require(f->EditMode.isEmpty(), QStringLiteral("放棄 did not end the change"));
        require(f->BoxText(1) == stored && changed != stored, QStringLiteral("the window shows '%1', not the stored '%2'").arg(f->BoxText(1), stored));
        state.ResumeTiming();
    }
}

// One customer's row by its key, its contacts and deliveries by its code, every cell read; the
// code read is checked against the list's.
struct RawCustomer {
    explicit RawCustomer(sqlite3* raw)
        : one(raw, "SELECT * FROM RV12 WHERE rowid = ?"), contacts(raw, "SELECT * FROM RV12A WHERE RV12A0 = ?"),
          deliveries(raw, "SELECT * FROM RV12B WHERE RV12B0 = ?")
    {
    }
    void read(size_t at)
    {
        int details = 0;
        const QByteArray code = readRowid(w->orderRowids[at], &details);
        require(code == w->orderCodes[at] && details > 0,
                QStringLiteral("row %1 read as %2 with %3 detail rows").arg(at).arg(QString::fromUtf8(code)).arg(details));
    }
    // The customer of that rowid with its detail rows; its code.
    QByteArray readRowid(qint64 rowid, int* detailRows = nullptr)
    {
        size_t bytes = 0;
        one.integer(1, rowid);
        QByteArray code;
        while (one.step()) {
            bytes += readRow(one);
            code = one.col(0);
        }
        one.reset();
        contacts.text(1, code);
        deliveries.text(1, code);
        int details = 0;
        for (Stmt* s : {&contacts, &deliveries}) {
            while (s->step()) {
                bytes += readRow(*s);
                ++details;
            }
            s->reset();
        }
        benchmark::DoNotOptimize(bytes);
        if (detailRows)
            *detailRows = details;
        return code;
    }
    Stmt one, contacts, deliveries;
};

void Cancel_raw(benchmark::State& state, int n)
{
    world(n);
    RawCustomer c(w->raw);
    const size_t at = w->orderRowids.size() / 2;
    for (auto _ : state)
        c.read(at);
}

// Where the moves start: at the top of the list, in its middle, near its end.
enum class Place { Top, Middle, End };
constexpr int kMoves = 20;  // moves a repetition
int firstRow(int n, Place at) { return at == Place::Top ? 0 : at == Place::Middle ? n / 2 : n - kMoves - 2; }

// Down pressed in the list: the window shows the next customer with its contacts and deliveries
// and repaints (the event loop run, as after a user's key).
void Move_ours(benchmark::State& state, int n, Place at)
{
    world(n);
    CustomFrom* f = customerWindow();
    QTableView* grid = f->DataGrid1[0];
    const int rows = grid->model()->rowCount();
    require(rows >= n - 1000, QStringLiteral("the list shows %1 rows").arg(rows));
    int r = firstRow(n, at);
    grid->setFocus(Qt::MouseFocusReason);
    grid->setCurrentIndex(grid->model()->index(r, 0));
    QApplication::processEvents();
    PaintCount paints(f->Box(0));
    for (auto _ : state) {
        ++r;
        const long painted = paints.count;
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(grid, &down);
        QApplication::processEvents();
        const QByteArray listCode = grid->model()->index(r, 0).data().toString().toUtf8();
        if (f->BoxText(0).toUtf8() != listCode || grid->currentIndex().row() != r || paints.count == painted) {
            state.PauseTiming();
            require(false, QStringLiteral("row %1: the window shows %2, the list %3%4")
                               .arg(r)
                               .arg(f->BoxText(0), QString::fromUtf8(listCode),
                                    paints.count == painted ? QStringLiteral(" (and did not repaint)") : QString()));
        }
    }
}

void Move_raw(benchmark::State& state, int n, Place at)
{
    world(n);
    RawCustomer c(w->raw);
    size_t r = size_t(firstRow(n, at));
    for (auto _ : state)
        c.read(++r);
}

// The short name of a customer near the end of the list typed letter by letter into the
// quick-find box: after each letter the list moves to the first customer it fits.
void Find_ours(benchmark::State& state, int n)
{
    world(n);
    CustomFrom* f = customerWindow();
    const QString name = QString::fromUtf8(w->orderNames[size_t(n) - 5]);
    const QString code = QString::fromUtf8(w->orderCodes[size_t(n) - 5]);
    QLineEdit* box = f->DataCombo1[0]->lineEdit();
    for (auto _ : state) {
        state.PauseTiming();
        f->SetQuickFindText(QString());
        f->List.ListRs.MoveFirst();
        box->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        state.ResumeTiming();
        for (const QChar ch : name) {
            typeKey(box, ch);
            QApplication::processEvents();
        }
        state.PauseTiming();
        require(f->BoxText(0) == code, QStringLiteral("the find shows %1, not %2").arg(f->BoxText(0), code));
        state.ResumeTiming();
    }
}

// After each letter: a code starting with the text down the code's index, else the first short
// name starting with it down the name's index, and that customer read with its detail rows.
void Find_raw(benchmark::State& state, int n)
{
    world(n);
    RawCustomer c(w->raw);
    const QString name = QString::fromUtf8(w->orderNames[size_t(n) - 5]);
    Stmt byCode(w->raw, "SELECT rowid FROM RV12 WHERE RV120 >= ?1 AND RV120 < ?2 ORDER BY RV120 LIMIT 1");
    Stmt byName(w->raw, "SELECT rowid FROM RV12 WHERE RV121 >= ?1 AND RV121 < ?2 ORDER BY RV121 LIMIT 1");
    for (auto _ : state) {
        QByteArray code;
        for (int i = 1; i <= name.size(); ++i) {
            const QByteArray prefix = name.left(i).toUtf8(), end = prefix + "\xf4\x8f\xbf\xbf";
            qint64 rowid = -1;
            for (Stmt* s : {&byCode, &byName}) {
                s->text(1, prefix);
                s->text(2, end);
                if (rowid < 0 && s->step())
                    rowid = s->num(0);
                s->reset();
            }
            if (rowid >= 0)
                code = c.readRowid(rowid);
        }
        require(code == w->orderCodes[size_t(n) - 5], QStringLiteral("found %1").arg(QString::fromUtf8(code)));
    }
}

// ---- the main table's pairs, at 100,000 customers ------------------------------------------------------

// The list reads its rows' order keys at open and the rest on demand: the raw side reads the
// same keys in the same order.
void ListOpen_ours(benchmark::State& state)
{
    world(kBase);
    for (auto _ : state) {
        db::Recordset rs;
        rs.Open(kListSql, gConn, db::adOpenDynamic, db::adLockOptimistic);
        require(rs.RecordCount() == kBase, QStringLiteral("%1 rows").arg(rs.RecordCount()));
    }
}

void ListOpen_raw(benchmark::State& state)
{
    world(kBase);
    for (auto _ : state)
        require(rawScan(w->raw, "SELECT rowid, RV121 FROM RV12 ORDER BY RV121") == kBase, QStringLiteral("rows counted"));
}

// Opened and then every row read, as the list does while the program is idle.
void ListReadAll_ours(benchmark::State& state)
{
    world(kBase);
    for (auto _ : state) {
        db::Recordset rs;
        rs.Open(kListSql, gConn, db::adOpenDynamic, db::adLockOptimistic);
        while (rs.ReadAhead(2000)) {
        }
        require(rs.RecordCount() == kBase && rs.RowsToRead() == 0, QStringLiteral("rows read"));
        require(rs.valueAt(kBase - 1, rs.FieldIndex(QStringLiteral("RV120"))).toString().toUtf8() == w->orderCodes.back(),
                QStringLiteral("the last row's code"));
    }
}

void ListReadAll_raw(benchmark::State& state)
{
    world(kBase);
    for (auto _ : state)
        require(rawScan(w->raw, "SELECT RV12.* FROM RV12 ORDER BY RV121") == kBase, QStringLiteral("rows counted"));
}

db::Recordset& heldList()
{
    world(kBase);
    if (!gList.IsOpen()) {
        gList.Open(kListSql, gConn, db::adOpenDynamic, db::adLockOptimistic);
        while (gList.ReadAhead(2000)) {
        }
    }
    return gList;
}

void Update_ours(benchmark::State& state)
{
    db::Recordset& list = heldList();
    gConn.BeginTrans();
    list.SetAbsolutePosition(kBase / 2);
    const qint64 rowid = w->orderRowids[kBase / 2 - 1];
    long i = 0;
    QString last;
    for (auto _ : state) {
        last = (++i & 1) ? QStringLiteral("odd%1").arg(i & 0xff) : QStringLiteral("even%1").arg(i & 0xff);
        list["RV1212"] = last;
        list.Update();
    }
    gConn.CommitTrans();
    Stmt back(w->raw, "SELECT RV1212 FROM RV12 WHERE rowid = ?");
    back.integer(1, rowid);
    require(back.step() && QString::fromUtf8(back.col(0)) == last, QStringLiteral("the value read back"));
}

// Prepared once, bound again for each write.
void Update_raw(benchmark::State& state)
{
    world(kBase);
    const qint64 rowid = w->orderRowids[kBase / 2 - 1];
    sqlite3_exec(w->raw, "BEGIN", nullptr, nullptr, nullptr);
    Stmt s(w->raw, "UPDATE RV12 SET RV1212 = ? WHERE rowid = ?");
    long i = 0;
    QByteArray last;
    for (auto _ : state) {
        last = ((++i & 1) ? QStringLiteral("odd%1").arg(i & 0xff) : QStringLiteral("even%1").arg(i & 0xff)).toUtf8();
        s.text(1, last);
        s.integer(2, rowid);
        sqlite3_step(s);
        s.reset();
    }
    sqlite3_exec(w->raw, "COMMIT", nullptr, nullptr, nullptr);
    Stmt back(w->raw, "SELECT RV1212 FROM RV12 WHERE rowid = ?");
    back.integer(1, rowid);
    require(back.step() && back.col(0) == last, QStringLiteral("the value read back"));
}

void Requery_ours(benchmark::State& state)
{
    db::Recordset& list = heldList();
    for (auto _ : state) {
        list.Requery();
        require(list.RecordCount() == kBase, QStringLiteral("rows counted"));
    }
    while (list.ReadAhead(2000)) {  // the snapshot after this reads rows held, as before
    }
}

void Requery_raw(benchmark::State& state)
{
    world(kBase);
    for (auto _ : state)
        require(rawScan(w->raw, "SELECT rowid, RV121 FROM RV12 ORDER BY RV121") == kBase, QStringLiteral("rows counted"));
}

// ---- the text import of a file of 100,000 lines, through the import window ------------------------------

struct ImportData {
    QString file;                  // the text file, written once
    QStringList captions;          // the field each column feeds, as the window offers them
    QStringList columns;           // and their columns, then the code's
    int textColumns = 0;
    QString emptyFolder;
};
ImportData* gImport = nullptr;

// An empty program-made database and the import file: every text column of the customer table
// that the import offers, 100,000 lines, written to disk.
ImportData& importData()
{
    if (gImport)
        return *gImport;
    world(kBase);
    closeWindows();  // they hold lists of the connection closed here
    if (gList.IsOpen())
        gList.Close();
    gImport = new ImportData;
    gImport->emptyFolder = dataFolder() + QStringLiteral("/run-empty");
    QDir(gImport->emptyFolder).removeRecursively();
    QDir().mkpath(gImport->emptyFolder);
    gConn.Close();
    makeProgramDatabase(gImport->emptyFolder);
    const QVector<textimport::ImportField> fields = textimport::GetFields(gConn, QStringLiteral("RV12"));
    gConn.Close();
    gConn.Open(connectionText(w->path));
    std::mt19937 rng(7);
    QVector<int> mapped;
    for (int i = 0; i + 1 < fields.size(); ++i)
        if (fields[i].name.compare(QLatin1String("RV120"), Qt::CaseInsensitive) != 0
            && (fields[i].type == db::adVarWChar || fields[i].type == db::adLongVarWChar)) {
            mapped << i;
            gImport->captions << fields[i].caption;
            gImport->columns << fields[i].name;
        }
    gImport->textColumns = int(mapped.size());
    gImport->columns << QStringLiteral("RV120");
    gImport->file = dataFolder() + QStringLiteral("/import-100000.txt");
    QFile out(gImport->file);
    require(out.open(QIODevice::WriteOnly | QIODevice::Truncate), QStringLiteral("writing the import file"));
    for (int r = 0; r < kImportLines; ++r) {
        QStringList values;
        for (int i : mapped) {
            const int width = fields[i].type == db::adLongVarWChar ? 60 : fields[i].width;
            values << pick(rng, kHan, std::max(1, width / 4), std::max(1, width / 2));
        }
        out.write((values.join(QChar(',')) + QStringLiteral("\r\n")).toUtf8());
    }
    out.close();
    return *gImport;
}

QString importPath(bool full) { return full ? w->path : importData().emptyFolder + QStringLiteral("/Tessarine.mdb"); }

void useFile(const QString& path)
{
    if (gConn.IsOpen() && gConn.DataSource() == path)
        return;
    if (gList.IsOpen())
        gList.Close();
    if (gConn.IsOpen())
        gConn.Close();
    gConn.Open(connectionText(path));
}

qint64 countOf(const QString& path)
{
    sqlite3* raw = openRaw(path);
    const qint64 n = rawNumber(raw, "SELECT count(*) FROM RV12");
    sqlite3_close_v2(raw);
    return n;
}

void removeImported(const QString& path, qint64 serial)
{
    sqlite3* raw = openRaw(path);
    Stmt del(raw, "DELETE FROM RV12 WHERE rowid > ?");
    del.integer(1, serial);
    sqlite3_step(del);
    sqlite3_reset(del);
    sqlite3_close_v2(raw);
}

qint64 greatestRowid(const QString& path)
{
    sqlite3* raw = openRaw(path);
    const qint64 n = rawNumber(raw, "SELECT coalesce(max(rowid), 0) FROM RV12");
    sqlite3_close_v2(raw);
    return n;
}

// The import window's user: the file chooser given the file, the run's closing message read.
class ImportUser : public ui::Responder {
public:
    explicit ImportUser(QString file) : file_(std::move(file)) { previous_ = ui::SetResponder(this); }
    ~ImportUser() override { ui::SetResponder(previous_); }
    QStringList messages;
    ui::Answer onMessage(const ui::MessageCall& call) override
    {
        messages << call.text;
        return call.buttons == ui::Buttons::YesNo || call.buttons == ui::Buttons::YesNoCancel ? ui::Answer::Yes : ui::Answer::OK;
    }
    QString onOpenFile(const QString&, const QString&, const QString&) override { return file_; }

private:
    QString file_;
    ui::Responder* previous_ = nullptr;
};

// The import window as a user drives it: the file chosen with "...", 步驟二, 讀入對應欄位 (the
// file read, its first line shown in columns), each column's field picked from the chooser laid
// over its box, 開始轉換 clicked (the file read again and imported), the closing message answered
// and the imported table shown.  The window is open before the timing starts.
void Import_ours(benchmark::State& state, bool full)
{
    ImportData& data = importData();
    closeWindows();  // the windows hold the connection's lists
    const QString path = importPath(full);
    useFile(path);
    const qint64 serial = greatestRowid(path), before = countOf(path);
    const QString done = QStringLiteral("新增 %1 筆記錄。失敗0 筆記錄。").arg(kImportLines);
    for (auto _ : state) {
        state.PauseTiming();
        auto* win = new frmImpDB2();
        win->show();
        QApplication::setActiveWindow(win);
        QApplication::processEvents();
        ImportUser user(data.file);
        state.ResumeTiming();
        win->TabStrip1->setCurrentIndex(1);  // 步驟一
        win->Command4->click();
        win->TabStrip1->setCurrentIndex(2);  // 步驟二
        QApplication::processEvents();
        win->Command1->click();
        QApplication::processEvents();
        QApplication::setActiveWindow(win);  // a click on a column's box brings the window back from the progress window
        for (int k = 0; k < data.textColumns && k < int(win->Text2.size()); ++k) {
            win->Text2[size_t(k)]->setFocus(Qt::MouseFocusReason);  // the chooser laid over the box takes the focus
            win->Combo1->setCurrentIndex(win->Combo1->findText(data.captions[k]));
        }
        win->cmdImport->click();
        QApplication::processEvents();
        state.PauseTiming();
        require(win->Text2.size() == size_t(data.textColumns), QStringLiteral("the preview shows %1 columns").arg(win->Text2.size()));
        for (int k = 0; k < data.textColumns; ++k)
            require(win->Text2[size_t(k)]->text() == data.captions[k],
                    QStringLiteral("column %1 feeds '%2', not '%3'").arg(k + 1).arg(win->Text2[size_t(k)]->text(), data.captions[k]));
        require(user.messages == QStringList{done}, QStringLiteral("the window said: ") + user.messages.join(QStringLiteral(" / ")));
        require(win->Pages->currentIndex() == 3 && win->DataGrid2->model() && win->DataGrid2->model()->rowCount() == before + kImportLines,
                QStringLiteral("the table after the run is not shown with every row"));
        delete win;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        require(countOf(path) == before + kImportLines, QStringLiteral("%1 customers after the import, not %2").arg(countOf(path)).arg(before + kImportLines));
        removeImported(path, serial);
        state.ResumeTiming();
    }
    useFile(w->path);
    state.SetItemsProcessed(state.iterations() * kImportLines);
}

// The same file read and split, the same rows, codes included (numbered on from the greatest
// code), inserted with one prepared statement in one transaction.
void Import_raw(benchmark::State& state, bool full)
{
    ImportData& data = importData();
    const QString path = importPath(full);
    const qint64 serial = greatestRowid(path), before = countOf(path);
    sqlite3* raw = full ? w->raw : openRaw(path);
    QStringList names, marks;
    for (const QString& c : data.columns) {
        names << QStringLiteral("\"%1\"").arg(c);
        marks << QStringLiteral("?");
    }
    const QByteArray sql = QStringLiteral("INSERT INTO RV12 (%1) VALUES (%2)").arg(names.join(','), marks.join(',')).toUtf8();
    for (auto _ : state) {
        QFile in(data.file);
        require(in.open(QIODevice::ReadOnly), QStringLiteral("reading the import file"));
        const QByteArray bytes = in.readAll();
        sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
        bool ok = true;
        long lines = 0;
        {
            Stmt last(raw, "SELECT RV120 FROM RV12 WHERE RV120 IS NOT NULL ORDER BY Length(LTrim(RV120, '0')) DESC, "
                           "LTrim(RV120, '0') COLLATE NOCASE DESC, RV120 DESC, rowid LIMIT 1");
            QString code = last.step() ? QString::fromUtf8(last.col(0)) : QString();
            Stmt ins(raw, sql.constData());
            for (const QByteArray& line : bytes.split('\n')) {
                const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
                if (text.isEmpty())
                    continue;
                const QList<QByteArray> values = text.split(',');
                int k = 1;
                for (const QByteArray& v : values)
                    sqlite3_bind_text(ins, k++, v.constData(), int(v.size()), SQLITE_STATIC);
                code = NextCustomerCode(code);
                const QByteArray c = code.toUtf8();
                sqlite3_bind_text(ins, k, c.constData(), int(c.size()), SQLITE_STATIC);
                ok = values.size() == data.textColumns && sqlite3_step(ins) == SQLITE_DONE && ok;
                ins.reset();
                ++lines;
            }
        }
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
        state.PauseTiming();
        require(ok && lines == kImportLines, QStringLiteral("an insert failed: ") + QString::fromUtf8(sqlite3_errmsg(raw)));
        require(rawNumber(raw, "SELECT count(*) FROM RV12") == before + kImportLines, QStringLiteral("customers counted after the import"));
        Stmt del(raw, "DELETE FROM RV12 WHERE rowid > ?");
        del.integer(1, serial);
        sqlite3_step(del);
        state.ResumeTiming();
    }
    if (!full)
        sqlite3_close_v2(raw);
    state.SetItemsProcessed(state.iterations() * kImportLines);
}

// ---- a save that changes one contact of 20,000 -------------------------------------------------------------

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
    {
        Stmt ins(raw, "INSERT INTO RV12A (RV12A0, RV12A1, 稱謂, RV12A2, RV12A3, RV12A4, RV12A5, RV12A6, 備註) "
                      "VALUES (?, ?, '先生', '經理', '123', 'skype', '0912-345678', 'a@b.tw', '備註')");
        for (int i = kContactsPerCustomer; i < kManyContacts; ++i) {
            sqlite3_bind_text(ins, 1, kManyCode, -1, SQLITE_STATIC);
            ins.text(2, QStringLiteral("聯絡人%1").arg(i).toUtf8());
            sqlite3_step(ins);
            ins.reset();
        }
    }
    sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
}

void removeManyContacts()
{
    sqlite3_exec(w->raw, "DELETE FROM RV12A WHERE RV12A0 = '000777' AND (RV12A1 LIKE '聯絡人%' OR RV12A1 LIKE '改名%')", nullptr, nullptr, nullptr);
}

// The contact names stored for the customer with 20,000 contacts that begin with the text.
qint64 storedContacts(const QString& name)
{
    Stmt s(w->raw, "SELECT count(*) FROM RV12A WHERE RV12A0 = '000777' AND RV12A1 = ?");
    s.text(1, name.toUtf8());
    return s.step() ? s.num(0) : -1;
}

// The window on the customer with 20,000 contacts, 修改, one contact's name changed, then 存檔
// (timed): the one row written, the window back to browsing on the customer.
void SaveOneContact_ours(benchmark::State& state)
{
    world(kBase);
    CustomFrom* f = customerWindow();
    addManyContacts();
    Answers answers;
    f->List.ShowRow(QStringLiteral("RV120"), QString::fromLatin1(kManyCode));
    f->List.Rs.Resync();  // the values just given
    f->DataGrid1_RowColChange();
    require(f->Grids->ManRowCount() >= kManyContacts, QStringLiteral("the grid shows %1 contacts").arg(f->Grids->ManRowCount()));
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        press(f, 2);
        DetailGrid* grid = f->Grids->Man();
        grid->Place(kManyContacts / 2, 1);
        const QString name = QStringLiteral("改名%1").arg(++n);
        grid->Editor()->setText(name);
        grid->EditorChange();
        state.ResumeTiming();
        press(f, 5);
        state.PauseTiming();
        require(f->EditMode.isEmpty(), QStringLiteral("the save did not end"));
        require(storedContacts(name) == 1, QStringLiteral("the changed contact is not stored"));
        state.ResumeTiming();
    }
    removeManyContacts();
}

// One contact row and the customer row updated by their keys in one transaction.
void SaveOneContact_raw(benchmark::State& state)
{
    world(kBase);
    addManyContacts();
    sqlite3* raw = w->raw;
    const qint64 serial = rawNumber(raw, "SELECT 序號 FROM RV12A WHERE RV12A0 = '000777' ORDER BY 序號 LIMIT 1 OFFSET 10000");
    Stmt contact(raw, "UPDATE RV12A SET RV12A1 = ?, 稱謂 = '先生', RV12A2 = '經理', RV12A3 = '123', RV12A4 = 'skype', "
                      "RV12A5 = '0912-345678', RV12A6 = 'a@b.tw', 備註 = '備註', RV12A0 = '000777' WHERE 序號 = ?");
    Stmt customer(raw, "UPDATE RV12 SET 修改者 = '', 修改日期 = 20261211 WHERE RV120 = '000777'");
    int n = 0;
    for (auto _ : state) {
        const QString name = QStringLiteral("改名%1").arg(++n);
        sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
        contact.text(1, name.toUtf8());
        contact.integer(2, serial);
        sqlite3_step(contact);
        const int changed = sqlite3_changes(raw);
        contact.reset();
        sqlite3_step(customer);
        customer.reset();
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
        state.PauseTiming();
        require(changed == 1 && storedContacts(name) == 1, QStringLiteral("the changed contact is not stored"));
        state.ResumeTiming();
    }
    removeManyContacts();
}

// ---- the pickers --------------------------------------------------------------------------------------

void closeLabelWindow()
{
    if (CustomLabelPrtFrm1* l = CustomLabelPrtFrm1::Global()) {
        delete l;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
}

// ">" clicked in the customer label window on its 自訂 page, every customer a candidate and both
// lists shown: the candidate moves across and the window is repainted.
void LabelMove_ours(benchmark::State& state, int n)
{
    world(n);
    closeCustomerWindow();
    closeLabelWindow();
    mainWindow()->ShowCustomLabel();
    QApplication::processEvents();
    CustomLabelPrtFrm1* l = CustomLabelPrtFrm1::Global();
    require(l != nullptr, QStringLiteral("the label window did not open"));
    l->TabStrip1->setCurrentIndex(1);
    l->TabStrip1_Click();
    QListWidget* all = l->picker->lstAll;
    QListWidget* chosen = l->picker->lstSelected;
    QApplication::processEvents();
    require(all->count() == n && all->isVisible() && chosen->isVisible(), QStringLiteral("the label window offers %1 customers").arg(all->count()));
    int k = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int row = (k++ * 97) % all->count();
        all->setCurrentRow(row);
        const QString text = all->item(row)->text();
        QApplication::processEvents();
        state.ResumeTiming();
        l->picker->cmdRightOne->click();
        QApplication::processEvents();
        state.PauseTiming();
        require(all->count() == n - k && chosen->count() == k && chosen->item(k - 1)->text() == text,
                QStringLiteral("after %1 moves %2 candidates and %3 picked").arg(k).arg(all->count()).arg(chosen->count()));
        state.ResumeTiming();
    }
    closeLabelWindow();
}

// The batch-mail window lists one candidate per contact; the file has two per customer.  For a run
// with as many candidates as customers, every customer's second contact is set aside in the raw
// connection's own temporary table and put back, row ids included, after it.
void setSecondContactsAside()
{
    require(sqlite3_exec(w->raw, "DROP TABLE IF EXISTS temp.aside; "
                                 "CREATE TEMP TABLE aside AS SELECT rowid AS aside_rowid, * FROM RV12A WHERE rowid % 2 = 0; "
                                 "DELETE FROM RV12A WHERE rowid % 2 = 0",
                         nullptr, nullptr, nullptr) == SQLITE_OK,
            QStringLiteral("setting contacts aside: ") + QString::fromUtf8(sqlite3_errmsg(w->raw)));
}

void putSecondContactsBack()
{
    const QByteArray sql = "INSERT INTO RV12A (rowid, "
                           + [] {
                                 Stmt names(w->raw, "SELECT group_concat('\"' || name || '\"', ',') FROM pragma_table_info('RV12A')");
                                 return names.step() ? names.col(0) : QByteArray();
                             }()
                           + ") SELECT * FROM temp.aside; DROP TABLE temp.aside";
    require(sqlite3_exec(w->raw, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK,
            QStringLiteral("putting contacts back: ") + QString::fromUtf8(sqlite3_errmsg(w->raw)));
    require(rawNumber(w->raw, "SELECT count(*) FROM RV12A") == qint64(w->customers) * kContactsPerCustomer,
            QStringLiteral("contacts counted after putting them back"));
}

// ">" clicked in the batch-mail window, as many candidates as customers, both lists shown: the
// candidate moves across and the window is repainted.
void BatchMailMove_ours(benchmark::State& state, int n)
{
    world(n);
    closeCustomerWindow();
    closeLabelWindow();
    setSecondContactsAside();
    mainWindow()->ShowCustomerEmail();
    QApplication::processEvents();
    frm客戶批次發信1* m = frm客戶批次發信1::Global();
    require(m != nullptr, QStringLiteral("the batch-mail window did not open"));
    QAbstractItemView* all = m->DataGrid1[0];
    QAbstractItemView* chosen = m->DataGrid1[1];
    auto* model = static_cast<dbmodel::RecordsetModel*>(all->model());
    QApplication::processEvents();
    require(all->model()->rowCount() == n && all->isVisible() && chosen->isVisible(),
            QStringLiteral("the batch-mail window offers %1 candidates").arg(all->model()->rowCount()));
    auto cell = [](QAbstractItemView* v, int row) {
        return v->model()->index(row, 0).data().toString() + QChar('|') + v->model()->index(row, 1).data().toString();
    };
    int k = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int row = (k++ * 97) % all->model()->rowCount();
        model->moveTo(row);
        const QString text = cell(all, row);
        QApplication::processEvents();
        state.ResumeTiming();
        m->cmdRightOne->click();
        QApplication::processEvents();
        state.PauseTiming();
        require(all->model()->rowCount() == n - k && chosen->model()->rowCount() == k && cell(chosen, k - 1) == text,
                QStringLiteral("after %1 moves %2 candidates and %3 recipients").arg(k).arg(all->model()->rowCount()).arg(chosen->model()->rowCount()));
        state.ResumeTiming();
    }
    delete m;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    putSecondContactsBack();
}

// In an add, a click on the salesperson box: its list of salespeople over it.
void SalesClick_ours(benchmark::State& state)
{
    world(kBase);
    CustomFrom* f = customerWindow();
    Answers answers;
    press(f, 1);
    require(QString(f->EditMode) == QStringLiteral("addnew"), QStringLiteral("新增 did not start an add"));
    for (auto _ : state) {
        state.PauseTiming();
        f->Box(3)->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        state.ResumeTiming();
        f->Box(10)->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        state.PauseTiming();
        require(f->DataCombo1[1]->isVisible() && f->DataCombo1[1]->count() == kSalespeople,
                QStringLiteral("the salesperson list shows %1 names").arg(f->DataCombo1[1]->count()));
        state.ResumeTiming();
    }
    f->Command2[6]->setFocus(Qt::MouseFocusReason);
    press(f, 6);
    require(f->EditMode.isEmpty(), QStringLiteral("放棄 did not end the add"));
}

// The salesperson list read.
void SalesClick_raw(benchmark::State& state)
{
    world(kBase);
    Stmt sales(w->raw, kSalesSql);
    for (auto _ : state) {
        QStringList names;
        while (sales.step())
            names << QString::fromUtf8(sales.col(0));
        sales.reset();
        require(names.size() == kSalespeople, QStringLiteral("%1 salespeople").arg(names.size()));
    }
}

// ---- the bulk registered-mail list of 1,000 customers picked among 100,000 ----------------------------

// The picked short names: every 100th of the label window's list, as the window offers them.
QStringList gPicked;

CustomLabelPrtFrm1* labelWindowWithPicks()
{
    world(kBase);
    closeCustomerWindow();
    if (CustomLabelPrtFrm1* l = CustomLabelPrtFrm1::Global(); l && l->picker->lstSelected->count() == kPicks)
        return l;
    closeLabelWindow();
    mainWindow()->ShowCustomLabel();
    QApplication::processEvents();
    CustomLabelPrtFrm1* l = CustomLabelPrtFrm1::Global();
    require(l != nullptr, QStringLiteral("the label window did not open"));
    l->TabStrip1->setCurrentIndex(1);  // 自訂
    l->TabStrip1_Click();
    QAbstractItemView* all = l->picker->lstAll;
    require(all->model()->rowCount() == kBase, QStringLiteral("the label window offers %1 customers").arg(all->model()->rowCount()));
    for (int i = 0; i < kPicks; ++i) {  // not timed
        // Row i * 99 is the original row i * 100: the i rows before it have moved across.
        all->setCurrentIndex(all->model()->index(i * 99, 0));
        l->picker->cmdRightOne_Click();
    }
    QApplication::processEvents();
    gPicked = l->picker->Selected();
    require(gPicked.size() == kPicks, QStringLiteral("%1 customers picked").arg(gPicked.size()));
    l->bulkMail->Text3[2]->setText(QStringLiteral("1"));  // the first registered number
    return l;
}

// The full name stored for the first picked customer.
QString firstPickedFullName()
{
    Stmt s(w->raw, "SELECT 客戶全銜 FROM RV12 WHERE RV121 = ? ORDER BY rowid LIMIT 1");
    s.text(1, vb::Trim(gPicked.value(0)).toUtf8());
    return s.step() ? QString::fromUtf8(s.col(0)) : QString();
}

// 大宗掛號單 clicked: the list of the picked customers built and shown.
void BulkMail_ours(benchmark::State& state)
{
    static double firstSeconds = 0;  // the first repetition's list
    if (firstSeconds > 10) {
        state.SkipWithError("the first repetition's list took over 10 s: it stands alone");
        return;
    }
    CustomLabelPrtFrm1* l = labelWindowWithPicks();
    Answers answers;
    QElapsedTimer t;
    t.start();
    const QString first = firstPickedFullName();
    for (auto _ : state) {
        l->Command1[3]->click();
        QApplication::processEvents();
        state.PauseTiming();
        db::Recordset sheet = l->bulkMail->sheet();
        require(sheet.IsOpen() && sheet.RecordCount() == kPicks, QStringLiteral("the list holds %1 rows").arg(sheet.IsOpen() ? sheet.RecordCount() : -1));
        sheet.MoveFirst();
        require(sheet.value(QStringLiteral("姓名")).toString() == first,
                QStringLiteral("the first row names '%1', not '%2'").arg(sheet.value(QStringLiteral("姓名")).toString(), first));
        if (report::Report* r = l->bulkMail->report(); r && r->window())
            r->window()->close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    if (firstSeconds == 0)
        firstSeconds = double(t.elapsed()) / 1000;
}

// The picked customers read in one statement (by the short name's index when there is one, else
// in one pass over the table), the first row of each name kept, the list's rows made in pick order.
void BulkMail_raw(benchmark::State& state)
{
    labelWindowWithPicks();
    const QString first = firstPickedFullName();
    QStringList trimmed;
    for (const QString& p : gPicked)
        trimmed << vb::Trim(p);
    const QByteArray names = (QStringLiteral("[\"") + trimmed.join(QStringLiteral("\",\"")) + QStringLiteral("\"]")).toUtf8();
    for (auto _ : state) {
        Stmt s(w->raw, "SELECT rowid, RV121, 客戶全銜, RV128 FROM RV12 WHERE RV121 IN (SELECT value FROM json_each(?))");
        s.text(1, names);
        std::map<QString, std::pair<qint64, std::pair<QString, QString>>> found;
        while (s.step()) {
            const QString name = QString::fromUtf8(s.col(1));
            auto it = found.find(name);
            if (it == found.end() || s.num(0) < it->second.first)
                found[name] = {s.num(0), {QString::fromUtf8(s.col(2)), QString::fromUtf8(s.col(3))}};
        }
        std::vector<QVariantList> rows;
        rows.reserve(size_t(kPicks));
        int k = 0;
        for (const QString& name : trimmed) {
            const auto it = found.find(name);
            if (it != found.end())
                rows.push_back({++k, QString::number(k), it->second.second.first, it->second.second.second});
        }
        require(rows.size() == size_t(kPicks), QStringLiteral("%1 rows").arg(rows.size()));
        require(rows.front()[2].toString() == first, QStringLiteral("the first row's name"));
    }
}

// ---- the personal-contact window on 100,000 contacts ---------------------------------------------------

void ContactOpen_ours(benchmark::State& state)
{
    world(kBase);
    mainWindow();
    const long categories = rawNumber(w->raw, "SELECT count(DISTINCT 類別) FROM RV18A WHERE 類別 <> ''");
    for (auto _ : state) {
        mainWindow()->ShowOtherFrm();
        QApplication::processEvents();
        state.PauseTiming();
        OtherFrm* f = OtherFrm::Global();
        require(f && f->ListRs().IsOpen() && f->ListRs().RecordCount() == kPersonal,
                QStringLiteral("the list holds %1 contacts").arg(f && f->ListRs().IsOpen() ? f->ListRs().RecordCount() : -1));
        require(f->Combo2->count() >= categories, QStringLiteral("the category list holds %1 entries, not %2").arg(f->Combo2->count()).arg(categories));
        delete f;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// What the window shows, read the best way: the count, the categories down their index, the
// first rows in name order.
void ContactOpen_raw(benchmark::State& state)
{
    world(kBase);
    const long categories = rawNumber(w->raw, "SELECT count(DISTINCT 類別) FROM RV18A WHERE 類別 <> ''");
    for (auto _ : state) {
        const qint64 count = rawNumber(w->raw, "SELECT count(*) FROM RV18A");
        QStringList texts;
        {
            Stmt distinct(w->raw, "SELECT DISTINCT 類別 FROM RV18A ORDER BY 類別");
            while (distinct.step())
                if (sqlite3_column_bytes(distinct, 0) > 0)
                    texts << QString::fromUtf8(distinct.col(0));
        }
        Stmt first(w->raw, "SELECT * FROM RV18A ORDER BY RV18A2 LIMIT ?");
        first.integer(1, w->shownRows);
        size_t bytes = 0;
        while (first.step())
            bytes += readRow(first);
        benchmark::DoNotOptimize(bytes);
        require(count == kPersonal && texts.size() == categories, QStringLiteral("contacts or categories counted"));
    }
}

// ---- start-up of the real program, a process of its own ---------------------------------------------------

struct StartFigures {
    std::vector<double> wall, cpu, megabytes;
};
std::map<std::string, StartFigures> gStarts;

// The program (built with the probe that notes when its main window is shown and idle) started on
// a copy of the folder; the figures are those the probe prints when the main window is idle.
void Startup(benchmark::State& state, bool full)
{
    QString source;
    if (full) {
        world(kBase);
        source = w->path;
    } else {
        source = importData().emptyFolder + QStringLiteral("/Tessarine.mdb");
    }
    const QString folder = dataFolder() + (full ? QStringLiteral("/start-full") : QStringLiteral("/start-empty"));
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    require(QFile::copy(source, folder + QStringLiteral("/Tessarine.mdb")), QStringLiteral("copying the database"));
    // Reminded of new versions today, as a user who uses the program daily has been.
    WriteSetting(settings::CheckVerDate, QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")), settings::kMain, 0, folder);
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/bench_startup");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TESSARINE_HOME"), folder);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    StartFigures& figures = gStarts[gRunning];
    for (auto _ : state) {
        QProcess p;
        p.setProcessEnvironment(env);
        QElapsedTimer t;
        t.start();
        p.start(program, {});
        QByteArray out;
        while (!out.contains('\n') && p.waitForReadyRead(120000))
            out += p.readAllStandardOutput();
        const double wall = double(t.nsecsElapsed()) / 1e9;
        p.waitForFinished(60000);
        out += p.readAllStandardOutput();
        const QStringList words = QString::fromUtf8(out).trimmed().split(QChar(' '), Qt::SkipEmptyParts);
        require(words.value(0) == QStringLiteral("idle") && words.size() >= 5,
                QStringLiteral("the program said '%1' (errors: %2)").arg(QString::fromUtf8(out), QString::fromUtf8(p.readAllStandardError())));
        require(QFileInfo(words.value(4)) == QFileInfo(folder + QStringLiteral("/Tessarine.mdb")),
                QStringLiteral("the program opened %1").arg(words.value(4)));
        require(words.value(3).toLong() == (full ? kBase : 0), QStringLiteral("the program counted %1 customers").arg(words.value(3)));
        figures.wall.push_back(wall);
        figures.megabytes.push_back(words.value(1).toDouble() / 1048576.0);
        figures.cpu.push_back(words.value(2).toDouble());
        state.SetIterationTime(wall);
    }
}

// ---- the report ----------------------------------------------------------------------------------------

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

std::string sized(const char* work, int n, const char* side) { return std::string(work) + "/" + std::to_string(n) + "/" + side; }

// The growth of a figure over the three sizes: the exponent k of n^k between each pair of sizes.
QString growth(double a, double b, double c)
{
    if (a <= 0 || b <= 0 || c <= 0)
        return QStringLiteral("(not all sizes run)");
    const double k1 = std::log10(b / a), k2 = std::log10(c / b);
    const double worst = std::max(k1, k2);
    QString verdict;
    if (c <= 2.0 * a && worst <= 0.2)
        verdict = QStringLiteral("flat");
    else if (worst <= 1.15)
        verdict = QStringLiteral("n log n");
    else
        verdict = QStringLiteral("worse than n log n");
    return QStringLiteral("%1 (n^%2, n^%3)").arg(verdict).arg(k1, 0, 'f', 2).arg(k2, 0, 'f', 2);
}

void registerAll()
{
    using benchmark::kMillisecond;
    auto reg = [](const std::string& name, auto fn, int iterations, benchmark::TimeUnit unit) {
        auto* b = benchmark::RegisterBenchmark(name.c_str(), [name, fn](benchmark::State& s) {
            gRunning = name;
            fn(s);
        });
        b->Repetitions(kRepetitions)->Unit(unit);
        if (iterations > 0)
            b->Iterations(iterations);
        return b;
    };
    const std::string base = std::to_string(kBase);
    auto pairOf = [&](const char* work, auto ours, auto raw, int iterations, benchmark::TimeUnit unit) {
        reg(std::string(work) + "/" + base + "/ours", ours, iterations, unit);
        reg(std::string(work) + "/" + base + "/raw", raw, iterations, unit);
    };
    auto scaled = [&](int n) {
        const bool large = n >= 1000000;
        auto both = [&](const char* work, auto ours, auto raw, int iterations) {
            reg(sized(work, n, "ours"), [n, ours](benchmark::State& s) { ours(s, n); }, iterations, kMillisecond);
            reg(sized(work, n, "raw"), [n, raw](benchmark::State& s) { raw(s, n); }, iterations, kMillisecond);
        };
        both("WindowOpen", WindowOpen_ours, WindowOpen_raw, large ? 1 : 2);
        both("Add", Add_ours, Add_raw, 4);
        for (const auto& [work, at] : {std::pair{"MoveTop", Place::Top}, std::pair{"MoveMiddle", Place::Middle}, std::pair{"MoveEnd", Place::End}})
            both(work, [at](benchmark::State& s, int m) { Move_ours(s, m, at); }, [at](benchmark::State& s, int m) { Move_raw(s, m, at); }, kMoves);
        both("Cancel", Cancel_ours, Cancel_raw, 4);
        both("Delete", Delete_ours, Delete_raw, 4);
        both("Find", Find_ours, Find_raw, 2);
        if (!large) {
            reg(sized("LabelMove", n, "ours"), [n](benchmark::State& s) { LabelMove_ours(s, n); }, 10, kMillisecond);
            reg(sized("BatchMailMove", n, "ours"), [n](benchmark::State& s) { BatchMailMove_ours(s, n); }, 10, kMillisecond);
        }
    };
    // The 100,000 world first (the main table and its column of the scale table), then the others.
    pairOf("ListOpen", ListOpen_ours, ListOpen_raw, 0, kMillisecond);
    pairOf("ListReadAll", ListReadAll_ours, ListReadAll_raw, 0, kMillisecond);
    pairOf("Update", Update_ours, Update_raw, 0, benchmark::kMicrosecond);
    pairOf("Requery", Requery_ours, Requery_raw, 0, kMillisecond);
    scaled(kBase);
    pairOf("SalesClick", SalesClick_ours, SalesClick_raw, 10, kMillisecond);
    pairOf("SaveOneContact", SaveOneContact_ours, SaveOneContact_raw, 2, kMillisecond);
    pairOf("BulkMail", BulkMail_ours, BulkMail_raw, 1, kMillisecond);
    pairOf("ContactOpen", ContactOpen_ours, ContactOpen_raw, 1, kMillisecond);
    reg("ImportEmpty/" + base + "/ours", [](benchmark::State& s) { Import_ours(s, false); }, 1, kMillisecond);
    reg("ImportEmpty/" + base + "/raw", [](benchmark::State& s) { Import_raw(s, false); }, 1, kMillisecond);
    reg("ImportFull/" + base + "/ours", [](benchmark::State& s) { Import_ours(s, true); }, 1, kMillisecond);
    reg("ImportFull/" + base + "/raw", [](benchmark::State& s) { Import_raw(s, true); }, 1, kMillisecond);
    reg("Startup/" + base + "/ours", [](benchmark::State& s) { Startup(s, true); }, 1, kMillisecond)->UseManualTime();
    reg("Startup/" + base + "/raw", [](benchmark::State& s) { Startup(s, false); }, 1, kMillisecond)->UseManualTime();
    for (int n : kSizes)
        if (n != kBase)
            scaled(n);
}

void printTables(const MedianReporter& rep)
{
    const std::string base = std::to_string(kBase);
    // Processor time is the figure that holds on a shared machine; wall time follows for reference.
    auto pair = [&](const char* what, const std::string& work, double scale, const char* unit, const char* goal) {
        const std::string ours = work + "/" + base + "/ours", raw = work + "/" + base + "/raw";
        const double a = rep.median(ours), b = rep.median(raw), aw = rep.median(ours, false), bw = rep.median(raw, false);
        if (a <= 0 || b <= 0)
            return;
        std::printf("| %s | %.3f %s | %.3f %s | %.2fx | %.3f / %.3f %s | %s |\n", what, a * scale, unit, b * scale, unit, a / b,
                    aw * scale, bw * scale, unit, goal);
    };
    auto rate = [&](const char* what, const std::string& work, const char* goal) {
        const std::string ours = work + "/" + base + "/ours", raw = work + "/" + base + "/raw";
        const double a = rep.median(ours), b = rep.median(raw), aw = rep.median(ours, false), bw = rep.median(raw, false);
        if (a <= 0 || b <= 0)
            return;
        std::printf("| %s | %.0f lines/s | %.0f lines/s | %.2fx | %.0f / %.0f lines/s | %s |\n", what, kImportLines / a,
                    kImportLines / b, a / b, kImportLines / aw, kImportLines / bw, goal);
    };
    std::printf("\n100,000 customers (every column filled), 200,000 contacts, 200,000 deliveries, 100,000 members, "
                "100,000 personal contacts, 10,000 vendors, 5,000 employees; median of %d repetitions\n\n",
                kRepetitions);
    std::printf("| work | ours (processor) | raw (processor) | ratio | wall: ours / raw | goal |\n|---|---|---|---|---|---|\n");
    pair("open the customer list (order keys; rows on demand)", "ListOpen", 1e3, "ms", "<= 1.5x");
    pair("open the customer list and read every row", "ListReadAll", 1e3, "ms", "<= 1.5x");
    pair("update one field", "Update", 1e6, "us", "<= 2x");
    pair("requery the list", "Requery", 1e3, "ms", "<= 1.5x");
    rate("import a file of 100,000 lines through the window, into an empty table", "ImportEmpty", ">= 25,000 lines/s, <= 3x");
    rate("import a file of 100,000 lines through the window, into 100,000 customers", "ImportFull", ">= 25,000 lines/s, <= 3x");
    pair("open the customer window (count, categories, rows shown, last customer)", "WindowOpen", 1e3, "ms", "<= 2x raw");
    pair("add a customer (新增, typing, Tab, salesperson, 存檔)", "Add", 1e3, "ms", "<= 50 ms");
    pair("of which: a click on the salesperson box (1,500 names)", "SalesClick", 1e3, "ms", "<= 3 ms");
    pair("move one row by key, top of the list (with the repaint)", "MoveTop", 1e3, "ms", "<= 3 ms");
    pair("move one row by key, middle of the list", "MoveMiddle", 1e3, "ms", "<= 3 ms");
    pair("move one row by key, end of the list", "MoveEnd", 1e3, "ms", "<= 3 ms");
    pair("cancel a change (修改, a letter typed, 放棄)", "Cancel", 1e3, "ms", "<= 15 ms");
    pair("delete a customer with its contacts and deliveries (刪除)", "Delete", 1e3, "ms", "<= 15 ms");
    pair("find: a short name of 8 characters typed letter by letter (quick find, all 8)", "Find", 1e3, "ms", "< 20 ms a letter");
    pair("save one changed contact of 20,000", "SaveOneContact", 1e3, "ms", "<= 50 ms");
    pair("bulk registered-mail list, 1,000 picks among 100,000", "BulkMail", 1e3, "ms", "<= 1 s");
    pair("open the personal-contact window, 100,000 contacts", "ContactOpen", 1e3, "ms", "<= 200 ms");
    {
        const double small = rep.median(sized("LabelMove", 10000, "ours")), big = rep.median(sized("LabelMove", kBase, "ours"));
        if (small > 0 && big > 0)
            std::printf("\n| one \">\" in the label window, candidates shown | 10,000 candidates | 100,000 candidates | growth | goal |\n"
                        "|---|---|---|---|---|\n| processor time | %.3f ms | %.3f ms | n^%.2f | <= 20 ms, flat in candidates |\n",
                        small * 1e3, big * 1e3, std::log10(big / small));
    }

    {
        const double small = rep.median(sized("BatchMailMove", 10000, "ours")), big = rep.median(sized("BatchMailMove", kBase, "ours"));
        if (small > 0 && big > 0)
            std::printf("\n| one \">\" in the batch-mail window, candidates shown | 10,000 candidates | 100,000 candidates | growth | goal |\n"
                        "|---|---|---|---|---|\n| processor time | %.3f ms | %.3f ms | n^%.2f | <= 20 ms, flat in candidates |\n",
                        small * 1e3, big * 1e3, std::log10(big / small));
    }

    const auto full = gStarts.find("Startup/" + base + "/ours"), empty = gStarts.find("Startup/" + base + "/raw");
    if (full != gStarts.end() && empty != gStarts.end()) {
        std::printf("\n| start-up of the program (process start to idle main window) | 100,000 customers | empty database | ratio | goal |\n"
                    "|---|---|---|---|---|\n");
        auto row = [](const char* what, double a, double b, const char* unit, const char* goal) {
            std::printf("| %s | %.3f %s | %.3f %s | %.2fx | %s |\n", what, a, unit, b, unit, a / b, goal);
        };
        row("processor time", medianOf(full->second.cpu), medianOf(empty->second.cpu), "s", "<= 1.5x");
        row("wall time", medianOf(full->second.wall), medianOf(empty->second.wall), "s", "<= 1.5x");
        row("resident memory when idle", medianOf(full->second.megabytes), medianOf(empty->second.megabytes), "MB", "<= 1.2x");
    }

    std::printf("\nThe customer window's actions by the size of the table (processor time, median; raw after the slash)\n\n"
                "| work | 10,000 | 100,000 | 1,000,000 | growth (10k to 100k, 100k to 1M) | goal at 1M |\n|---|---|---|---|---|---|\n");
    auto scaleRow = [&](const char* what, const char* work, const char* goal) {
        double ours[3] = {}, raw[3] = {};
        QStringList cells;
        for (int i = 0; i < 3; ++i) {
            ours[i] = rep.median(sized(work, kSizes[size_t(i)], "ours"));
            raw[i] = rep.median(sized(work, kSizes[size_t(i)], "raw"));
            cells << (ours[i] > 0 ? QStringLiteral("%1 / %2 ms").arg(ours[i] * 1e3, 0, 'f', 2).arg(raw[i] * 1e3, 0, 'f', 2) : QStringLiteral("-"));
        }
        if (ours[0] <= 0 && ours[1] <= 0 && ours[2] <= 0)
            return;
        std::printf("| %s | %s | %s |\n", what, qPrintable(cells.join(QStringLiteral(" | "))),
                    qPrintable(growth(ours[0], ours[1], ours[2]) + QStringLiteral(" | ") + QString::fromUtf8(goal)));
    };
    scaleRow("open the customer window", "WindowOpen", "<= 2x raw");
    scaleRow("add a customer", "Add", "<= 50 ms, flat");
    scaleRow("move one row by key, top", "MoveTop", "<= 3 ms, flat");
    scaleRow("move one row by key, middle", "MoveMiddle", "<= 3 ms, flat");
    scaleRow("move one row by key, end", "MoveEnd", "<= 3 ms, flat");
    scaleRow("cancel a change", "Cancel", "<= 15 ms, flat");
    scaleRow("delete a customer", "Delete", "<= 15 ms, flat");
    scaleRow("find a short name typed letter by letter", "Find", "flat");
}

// The machine's load average, as /proc/loadavg gives it.
QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("(unknown)");
    return QString::fromLatin1(f.readAll()).section(QLatin1Char(' '), 0, 2);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    registerAll();
    MedianReporter reporter;
    const QString loadBefore = loadAverage();
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRun ended %s; machine load (1, 5, 15 min) at the start %s, at the end %s\n",
                qPrintable(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"))), qPrintable(loadBefore),
                qPrintable(loadAverage()));
    printTables(reporter);
    if (gList.IsOpen())
        gList.Close();
    leaveWorld();
    for (const char* folder : {"/run-empty", "/start-full", "/start-empty"})
        QDir(dataFolder() + QString::fromUtf8(folder)).removeRecursively();
    return 0;
}
