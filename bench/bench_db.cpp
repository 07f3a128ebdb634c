// The customer table at 100,000 rows: the data layer against the same work done with raw
// sqlite3 calls in the same run.  Prints each pair's ratio and the recordset's memory.
#include "platform/db/Db.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <map>
#include <random>
#include <sqlite3.h>

namespace {

constexpr int kRows = 100000;
const char* kOpenSql = "Select RV12.* From RV12 Order by RV121";

struct World {
    QTemporaryDir dir;
    QString path;
    db::Connection conn;
    db::Recordset rs;
    sqlite3* raw = nullptr;
    QString findCode;
    size_t textBytes = 0;
    size_t recordsetBytes = 0;
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

void build()
{
    w->path = w->dir.filePath("Tessarine.mdb");
    QStringList cols = {"RV120 Text(14)", "RV121 Text(10)", "RV122 Text(50)", "RV123 Text(30)", "RV124 Text(30)",
                        "RV125 Text(10)", "RV126 Text(20)", "RV127 Text(10)", "RV128 Text(50)", "RV129 Text(50)",
                        "RV1210 Text(10)", "RV1211 Text(10)", "RV1212 Text(10)", "RV1213 Memo", "RV1214 Text(3)",
                        "RV1217 Text(50)", "發票狀況 Integer", "發票對象 Text(10)", "建檔日期 Text(10)", "類別 Text(20)",
                        "級別 Text(20)", "付款條件方式 Text(20)", "付款條件日 Integer", "帳戶別 Text(20)",
                        "客戶全銜 text(50)", "建檔者 text(10)", "建檔日 long", "修改者 text(10)", "修改日期 long",
                        "總序 Long Identity"};
    db::Connection::CreateDatabase(w->path, "CREATE TABLE RV12 (" + cols.join(", ") + ");"
                                            "CREATE UNIQUE INDEX RV12IDX ON RV12 (RV120);");
    sqlite3_open_v2(w->path.toUtf8().constData(), &w->raw, SQLITE_OPEN_READWRITE, nullptr);
    const QString han = QString::fromUtf8("台北市中正區忠孝東路信義大安松山內湖南港士林北投萬華文山新竹桃園台中高雄"
                                          "股份有限公司企業社工業商行貿易電子科技實業國際建設開發王李陳林黃張吳劉蔡楊");
    const QString latin = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const QString digits = "0123456789";
    std::mt19937 rng(42);
    sqlite3_exec(w->raw, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(w->raw,
                       "INSERT INTO RV12 VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,NULL)", -1,
                       &ins, nullptr);
    for (int r = 1; r <= kRows; ++r) {
        const QString v[29] = {
            QString::number(r).rightJustified(6, '0'), pick(rng, han, 2, 4), pick(rng, han, 6, 16),
            "02-" + pick(rng, digits, 8, 8), "02-" + pick(rng, digits, 8, 8), pick(rng, digits, 3, 5),
            pick(rng, han, 2, 3), pick(rng, digits, 8, 8), pick(rng, han, 10, 22), pick(rng, han, 10, 22),
            pick(rng, han, 2, 3), "09" + pick(rng, digits, 8, 8), pick(rng, latin, 3, 8),
            pick(rng, han, 0, 40), pick(rng, latin, 1, 3), pick(rng, latin, 6, 12) + "@example.com.tw",
            QString::number(r % 3), pick(rng, han, 2, 4), "2026/12/09", pick(rng, han, 2, 2), pick(rng, latin, 1, 1),
            pick(rng, han, 2, 4), QString::number(r % 31), pick(rng, han, 2, 4), pick(rng, han, 6, 16),
            pick(rng, latin, 3, 6), "20261209", pick(rng, latin, 3, 6), "20261209"};
        for (int c = 0; c < 29; ++c) {
            const QByteArray b = v[c].toUtf8();
            if (c == 16 || c == 22 || c == 26 || c == 28)
                sqlite3_bind_int64(ins, c + 1, v[c].toLongLong());
            else
                sqlite3_bind_text(ins, c + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        }
        sqlite3_step(ins);
        sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    sqlite3_exec(w->raw, "COMMIT", nullptr, nullptr, nullptr);
    w->conn.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + w->path);
}

// Steps through every cell of the statement as a caller of sqlite3 would; returns the bytes seen.
size_t rawScan(const char* sql)
{
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(w->raw, sql, -1, &s, nullptr);
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

size_t heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

void BM_Open_Layer(benchmark::State& state)
{
    for (auto _ : state) {
        db::Recordset rs;
        rs.Open(kOpenSql, w->conn, db::adOpenDynamic, db::adLockOptimistic);
        benchmark::DoNotOptimize(rs.RecordCount());
    }
}

void BM_Open_Raw(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(rawScan("SELECT RV12.* FROM RV12 ORDER BY RV121"));
}

void BM_Find_Layer(benchmark::State& state)
{
    const QString criteria = "RV120 like '" + w->findCode + "*'";
    for (auto _ : state) {
        w->rs.MoveFirst();
        w->rs.Find(criteria);
        benchmark::DoNotOptimize(w->rs.AbsolutePosition());
    }
}

void BM_Find_Raw(benchmark::State& state)
{
    const QByteArray pattern = (w->findCode + "%").toUtf8();
    for (auto _ : state) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(w->raw, "SELECT rowid FROM RV12 NOT INDEXED WHERE RV120 LIKE ?", -1, &s, nullptr);
        sqlite3_bind_text(s, 1, pattern.constData(), int(pattern.size()), SQLITE_STATIC);
        while (sqlite3_step(s) == SQLITE_ROW)
            benchmark::DoNotOptimize(sqlite3_column_int64(s, 0));
        sqlite3_finalize(s);
    }
}

void BM_Update_Layer(benchmark::State& state)
{
    w->conn.BeginTrans();
    w->rs.SetAbsolutePosition(kRows / 2);
    long i = 0;
    for (auto _ : state) {
        w->rs["RV1212"] = (++i & 1) ? QStringLiteral("odd") : QStringLiteral("even");
        w->rs.Update();
    }
    w->conn.CommitTrans();
}

void BM_Update_Raw(benchmark::State& state)
{
    sqlite3_exec(w->raw, "BEGIN", nullptr, nullptr, nullptr);
    long i = 0;
    for (auto _ : state) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(w->raw, "UPDATE RV12 SET RV1212 = ? WHERE rowid = ?", -1, &s, nullptr);
        sqlite3_bind_text(s, 1, (++i & 1) ? "odd" : "even", -1, SQLITE_STATIC);
        sqlite3_bind_int64(s, 2, kRows / 2);
        sqlite3_step(s);
        sqlite3_finalize(s);
    }
    sqlite3_exec(w->raw, "COMMIT", nullptr, nullptr, nullptr);
}

void BM_Requery_Layer(benchmark::State& state)
{
    for (auto _ : state) {
        w->rs.Requery();
        benchmark::DoNotOptimize(w->rs.RecordCount());
    }
}

void BM_Requery_Raw(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(rawScan("SELECT RV12.* FROM RV12 ORDER BY RV121"));
}

BENCHMARK(BM_Open_Layer)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open_Raw)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Find_Layer)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Find_Raw)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Update_Layer)->Repetitions(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Update_Raw)->Repetitions(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Requery_Layer)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Requery_Raw)->Repetitions(5)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's best processor time per iteration over its repetitions (the least
// disturbed by other work on the machine) for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (r.iterations <= 0 || r.run_type != Run::RT_Iteration)
                continue;
            const double t = r.cpu_accumulated_time / double(r.iterations);
            auto it = seconds.find(r.run_name.function_name);
            if (it == seconds.end() || t < it->second)
                seconds[r.run_name.function_name] = t;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    World world;
    w = &world;
    build();
    w->textBytes = rawScan("SELECT RV12.* FROM RV12");
    {
        // Memory of an opened recordset: heap in use with it open, less heap before.
        malloc_trim(0);
        const size_t before = heapInUse();
        w->rs.Open(kOpenSql, w->conn, db::adOpenDynamic, db::adLockOptimistic);
        w->recordsetBytes = heapInUse() - before;
    }
    w->rs.SetAbsolutePosition(kRows - 5);
    w->findCode = w->rs["RV120"].toString();

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    auto ratio = [&](const char* what, const char* layer, const char* raw, double goal) {
        const double a = reporter.seconds[layer], b = reporter.seconds[raw];
        if (a <= 0 || b <= 0)
            return;
        if (goal > 0)
            std::printf("%-28s %10.3f ms %10.3f ms   %6.2fx   (goal <= %.1fx)\n", what, a * 1e3, b * 1e3, a / b, goal);
        else
            std::printf("%-28s %10.3f ms %10.3f ms   %6.2fx\n", what, a * 1e3, b * 1e3, a / b);
    };
    std::printf("\nbest processor time per operation over 5 repetitions\n");
    std::printf("%-28s %13s %13s %8s\n", "work (100,000 rows)", "layer", "raw sqlite3", "ratio");
    ratio("open recordset", "BM_Open_Layer", "BM_Open_Raw", 1.5);
    ratio("find code prefix near end", "BM_Find_Layer", "BM_Find_Raw", 0);
    ratio("update one field", "BM_Update_Layer", "BM_Update_Raw", 2.0);
    ratio("requery", "BM_Requery_Layer", "BM_Requery_Raw", 1.5);
    std::printf("%-28s %10.1f MB  text %6.1f MB   %6.2fx   (goal <= 3.0x)\n", "recordset memory",
                double(w->recordsetBytes) / 1048576.0, double(w->textBytes) / 1048576.0,
                double(w->recordsetBytes) / double(w->textBytes));
    std::printf("find: %.3f ms absolute (goal < 20 ms)\n", reporter.seconds["BM_Find_Layer"] * 1e3);
    w->rs.Close();
    w->conn.Close();
    sqlite3_close_v2(w->raw);
    return 0;
}
