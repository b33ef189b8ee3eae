// SPDX-License-Identifier: MIT
// Rows per second of insertRow against a baseline loop in the same run that prepares its INSERT
// once, binds once and executes with a commit per row, through the same driver: SQLite on a
// file in a temporary folder, and PostgreSQL and MariaDB on throw-away servers that this program
// starts with the tests' scripts (each skipped with a note when it cannot). Both loops insert the
// same rows into tables of the same shape; at the end a summary gives both rates and their ratio
// for each database.

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <sql.h>
#include <sqlext.h>

#include "fieldvalues/datetime.h"
#include "fieldvalues/fieldtypes.h"
#include "odbc/handles.h"
#include "picker/insert/insert.h"

namespace fs = std::filesystem;

namespace {

constexpr int RowCount = 64;
constexpr int Rounds = 20;

struct Backend
{
    std::string name;
    std::string connectString;
    // The identifier quote of the baseline's statement, the driver's own.
    std::string quote = "\"";
};

class CountingSink : public MessageSink
{
public:
    MessageAnswer show(const Message &message) override
    {
        last = message;
        ++count;
        return MessageAnswer::Ok;
    }
    int count = 0;
    Message last;
};

// The rows both loops insert: a name, an amount, a day and a count.
std::vector<std::vector<std::string>> benchRows()
{
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < RowCount; ++i) {
        char day[16];
        std::snprintf(day, sizeof day, "%02d/%02d/%04d", i % 12 + 1, i % 28 + 1, 1990 + i);
        rows.push_back({"Customer " + std::to_string(i * 7919 % 1000), std::to_string(i) + ".25",
                        day, std::to_string(i * 31)});
    }
    return rows;
}

std::vector<FieldDescription> benchFields()
{
    const struct
    {
        const char *name;
        int sqlType;
        int length;
    } columns[] = {{"name", SQL_VARCHAR, 50},
                   {"amount", SQL_NUMERIC, 12},
                   {"day", SQL_DATE, 10},
                   {"count", SQL_INTEGER, 4}};
    std::vector<FieldDescription> fields;
    for (const auto &column : columns) {
        FieldDescription field;
        field.name = column.name;
        field.title = column.name;
        field.sqlType = column.sqlType;
        field.length = column.length;
        field.valueWidth = valueWidth(column.sqlType, column.length);
        fields.push_back(field);
    }
    return fields;
}

bool execute(const std::string &connectString, const std::string &sql, std::string &why)
{
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    SQLHSTMT statement = SQL_NULL_HSTMT;
    SQLAllocEnv(&environment);
    SQLAllocConnect(environment, &connection);
    std::string text = connectString;
    SQLRETURN code = SQLDriverConnect(connection, nullptr, reinterpret_cast<SQLCHAR *>(text.data()),
                                      SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (SQL_SUCCEEDED(code)) {
        SQLAllocStmt(connection, &statement);
        std::string command = sql;
        code = SQLExecDirect(statement, reinterpret_cast<SQLCHAR *>(command.data()), SQL_NTS);
    }
    if (!SQL_SUCCEEDED(code)) {
        for (const SqlDiagnosticRecord &record :
             collectDiagnostics(environment, connection, statement))
            why += formatDiagnosticRecord(record) + "\n";
    }
    if (statement != SQL_NULL_HSTMT)
        SQLFreeStmt(statement, SQL_DROP);
    SQLDisconnect(connection);
    SQLFreeConnect(connection);
    SQLFreeEnv(environment);
    return SQL_SUCCEEDED(code);
}

bool createTable(const Backend &backend, const std::string &table, benchmark::State &state)
{
    std::string why;
    execute(backend.connectString, "DROP TABLE IF EXISTS " + table, why);
    why.clear();
    if (!execute(backend.connectString,
                 "CREATE TABLE " + table +
                     " (name VARCHAR(50), amount NUMERIC(12,2), day DATE, count INTEGER)",
                 why)) {
        state.SkipWithError(("cannot create the table: " + why).c_str());
        return false;
    }
    return true;
}

void bmBaseline(benchmark::State &state, const Backend &backend)
{
    const std::string table = "bench_baseline";
    if (!createTable(backend, table, state))
        return;
    const std::vector<std::vector<std::string>> rows = benchRows();

    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    SQLHSTMT statement = SQL_NULL_HSTMT;
    SQLAllocEnv(&environment);
    SQLAllocConnect(environment, &connection);
    std::string text = backend.connectString;
    SQLDriverConnect(connection, nullptr, reinterpret_cast<SQLCHAR *>(text.data()), SQL_NTS,
                     nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    SQLAllocStmt(connection, &statement);
    const std::string &q = backend.quote;
    std::string sql = "INSERT INTO " + q + table + q + " (" + q + "name" + q + ", " + q + "amount" +
                      q + ", " + q + "day" + q + ", " + q + "count" + q + ") VALUES (?,?,?,?)";
    SQLPrepare(statement, reinterpret_cast<SQLCHAR *>(sql.data()), SQL_NTS);

    char name[51] = {};
    char amount[25] = {};
    DATE_STRUCT day{};
    char count[11] = {};
    SQLBindParameter(statement, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 50, 0, name, 0,
                     nullptr);
    SQLBindParameter(statement, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_NUMERIC, 12, 0, amount, 0,
                     nullptr);
    SQLBindParameter(statement, 3, SQL_PARAM_INPUT, SQL_C_DATE, SQL_DATE, 0, 0, &day, 0, nullptr);
    SQLBindParameter(statement, 4, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_INTEGER, 10, 0, count, 0,
                     nullptr);

    std::size_t next = 0;
    for (auto _ : state) {
        const std::vector<std::string> &row = rows[next++ % rows.size()];
        std::snprintf(name, sizeof name, "%s", row[0].c_str());
        std::snprintf(amount, sizeof amount, "%s", row[1].c_str());
        const DateParts parts = parseDateText(row[2]);
        day = DATE_STRUCT{static_cast<SQLSMALLINT>(parts.year),
                          static_cast<SQLUSMALLINT>(parts.month),
                          static_cast<SQLUSMALLINT>(parts.day)};
        std::snprintf(count, sizeof count, "%s", row[3].c_str());
        if (!SQL_SUCCEEDED(SQLExecute(statement)) ||
            !SQL_SUCCEEDED(SQLTransact(environment, connection, SQL_COMMIT))) {
            state.SkipWithError("the baseline insert failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());

    SQLFreeStmt(statement, SQL_DROP);
    SQLDisconnect(connection);
    SQLFreeConnect(connection);
    SQLFreeEnv(environment);
}

void bmInsertRow(benchmark::State &state, const Backend &backend)
{
    const std::string table = "bench_insertrow";
    if (!createTable(backend, table, state))
        return;
    const std::vector<std::vector<std::string>> rows = benchRows();
    std::vector<FieldDescription> fields = benchFields();

    CountingSink sink;
    OdbcConnection odbc(sink);
    if (!odbc.connectDataSource(backend.connectString)) {
        state.SkipWithError(("cannot connect: " + sink.last.text).c_str());
        return;
    }
    std::size_t next = 0;
    for (auto _ : state) {
        if (odbc.insertRow(table, fields, rows[next++ % rows.size()]) != InsertOutcome::Stored ||
            sink.count != 0) {
            state.SkipWithError(("insertRow failed: " + sink.last.text).c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["prepares"] = odbc.prepareCount();
}

// Keeps each benchmark's rate for the summary.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            auto found = run.counters.find("items_per_second");
            if (found != run.counters.end())
                rates[run.run_name.function_name].push_back(found->second.value);
            Total &total = totals[run.run_name.function_name];
            total.rows += static_cast<double>(run.iterations);
            total.seconds += run.real_accumulated_time;
        }
    }
    // Registered name: the rate of every round, in the order of the rounds.
    std::map<std::string, std::vector<double>> rates;
    // Registered name: the rows and seconds of all rounds together.
    struct Total
    {
        double rows = 0;
        double seconds = 0;
        double rate() const { return seconds > 0 ? rows / seconds : 0; }
    };
    std::map<std::string, Total> totals;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A throw-away server started with one of the tests' scripts ("start|stop STATE_DIR"), stopped
// when the benchmark ends.
struct Server
{
    fs::path state;
    std::string script;
    bool running = false;

    bool start(const std::string &environment, const fs::path &log)
    {
        const std::string command = environment + " '" + script + "' start '" + state.string() +
                                    "' --watch " + std::to_string(getpid()) + " >'" + log.string() +
                                    "' 2>&1";
        running = std::system(command.c_str()) == 0;
        return running;
    }

    void stop()
    {
        if (running)
            std::system(("'" + script + "' stop '" + state.string() + "' >/dev/null").c_str());
        running = false;
    }

    ~Server() { stop(); }
};

std::string readFirstLine(const fs::path &path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);

    // The driver manager reads its driver list from a private folder, set before its first use.
    char pattern[] = "/tmp/quillon-insert-bench.XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path folder = pattern;
    {
        std::ofstream drivers(folder / "odbcinst.ini");
        drivers << "[SQLite3]\nDriver = " QUILLON_SQLITE_ODBC_DRIVER "\n\n"
                << "[PostgreSQL ANSI]\nDriver = " QUILLON_PSQL_ODBC_DRIVER "\n\n"
                << "[MariaDB]\nDriver = " QUILLON_MARIADB_ODBC_DRIVER "\n";
        std::ofstream sources(folder / "odbc.ini");
    }
    setenv("ODBCSYSINI", folder.c_str(), 1);
    setenv("ODBCINI", (folder / "odbc.ini").c_str(), 1);

    std::vector<Backend> backends{
        {"SQLite", "DRIVER=SQLite3;Database=" + (folder / "bench.sqlite").string()}};

    Server cluster{folder / "postgres", QUILLON_PG_CLUSTER_SCRIPT};
    if (cluster.start("PG_BIN='" QUILLON_PG_BIN "'", folder / "pg-cluster.log")) {
        backends.push_back({"PostgreSQL", "DRIVER=PostgreSQL ANSI;Servername=127.0.0.1;Port=" +
                                              readFirstLine(cluster.state / "port") +
                                              ";Database=quillon;Username=postgres"});
    } else {
        std::printf("PostgreSQL: skipped, the throw-away server did not start:\n%s\n",
                    readFirstLine(folder / "pg-cluster.log").c_str());
    }
    Server mariadb{folder / "mariadb", QUILLON_MARIADB_SERVER_SCRIPT};
    if (mariadb.start("MARIADB_BIN='" QUILLON_MARIADB_BIN "'", folder / "mariadb-server.log")) {
        backends.push_back(
            {"MariaDB",
             "DRIVER=MariaDB;Server=127.0.0.1;Port=" + readFirstLine(mariadb.state / "port") +
                 ";Database=quillon;User=quillon",
             "`"});
    } else {
        std::printf("MariaDB: skipped, the throw-away server did not start:\n%s\n",
                    readFirstLine(folder / "mariadb-server.log").c_str());
    }

    // Rounds alternate the two loops, and which of them goes first, so that a slow spell of the
    // disk, the server or the machine does not fall on one of them only; the summary takes
    // medians over the rounds.
    for (const Backend &backend : backends) {
        for (int round = 0; round < Rounds; ++round) {
            const bool baselineFirst = round % 2 == 0;
            for (int turn = 0; turn < 2; ++turn) {
                const bool baseline = (turn == 0) == baselineFirst;
                benchmark::RegisterBenchmark(
                    ((baseline ? "Baseline/" : "InsertRow/") + backend.name).c_str(),
                    baseline ? bmBaseline : bmInsertRow, backend)
                    ->MinTime(0.5)
                    ->UseRealTime()
                    ->Unit(benchmark::kMicrosecond);
            }
        }
    }

    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nRows per second over %d rounds, each running the baseline and InsertRow on the "
                "same driver:\n",
                Rounds);
    for (const Backend &backend : backends) {
        const std::vector<double> &baselines = reporter.rates["Baseline/" + backend.name];
        const std::vector<double> &insertRows = reporter.rates["InsertRow/" + backend.name];
        if (baselines.empty() || baselines.size() != insertRows.size()) {
            std::printf("  %-10s  not measured\n", backend.name.c_str());
            continue;
        }
        std::vector<double> ratios;
        for (std::size_t i = 0; i < baselines.size(); ++i)
            ratios.push_back(insertRows[i] / baselines[i]);
        const double insertRow = reporter.totals["InsertRow/" + backend.name].rate();
        const double baseline = reporter.totals["Baseline/" + backend.name].rate();
        std::printf("  %-10s  all rounds: InsertRow %6.0f, baseline %6.0f, ratio %.2f;  medians: "
                    "InsertRow %6.0f, baseline %6.0f, ratio %.2f\n",
                    backend.name.c_str(), insertRow, baseline, insertRow / baseline,
                    median(insertRows), median(baselines), median(ratios));
    }

    std::error_code ignored;
    cluster.stop();
    mariadb.stop();
    fs::remove_all(folder, ignored);
    return 0;
}
