// SPDX-License-Identifier: MIT
// The wizard's lists against bare catalogue loops on the same connection in the same run: the
// table page's list filled from a PostgreSQL database of 5,000 tables against SQLTables and
// SQLFetch (what isql's "help" does), and the field page's lists filled from a table of 1,600
// columns (PostgreSQL's most) against SQLColumns and SQLFetch. The wizard's side is the whole
// fill: the catalogue opened and read, the list's rows replaced and the page laid out and
// painted (offscreen). A throw-away PostgreSQL server is started with the tests' cluster script;
// rounds alternate the sides, and the summary gives the medians and their ratios.

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <QApplication>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <sql.h>
#include <sqlext.h>

#include "odbc/catalog.h"
#include "odbc/handles.h"
#include "tests/support/recordingsink.h"
#include "wizard/datasourcepage.h"
#include "wizard/descriptionwizard.h"
#include "wizard/fieldpage.h"
#include "wizard/tablelistmodel.h"
#include "wizard/tablepage.h"

namespace fs = std::filesystem;

namespace {

constexpr int TableCount = 5000;
constexpr int ColumnCount = 1600;
constexpr const char *WideTable = "wide";
constexpr int Rounds = 15;

class Connect : public DataSourceChooser
{
public:
    explicit Connect(std::string connectString) : m_connectString(std::move(connectString)) {}
    bool choose(OdbcDatabase &database) override
    {
        database.open(m_connectString);
        return true;
    }

private:
    std::string m_connectString;
};

DescriptionWizard *wizard = nullptr;

// SQLTables for tables, the five columns bound, every row fetched.
void bmBareLoop(benchmark::State &state)
{
    const SQLHDBC connection = wizard->session().database().connection();
    std::size_t rows = 0;
    for (auto _ : state) {
        SQLHSTMT statement = SQL_NULL_HSTMT;
        SQLAllocStmt(connection, &statement);
        std::string types = "'TABLE'";
        SQLTables(statement, nullptr, SQL_NTS, nullptr, SQL_NTS, nullptr, SQL_NTS, asSqlText(types),
                  SQL_NTS);
        char columns[5][1025];
        SQLLEN indicators[5];
        for (SQLUSMALLINT i = 0; i < 5; ++i)
            SQLBindCol(statement, static_cast<SQLUSMALLINT>(i + 1), SQL_C_CHAR, columns[i],
                       sizeof columns[i], &indicators[i]);
        rows = 0;
        while (SQL_SUCCEEDED(SQLFetch(statement)))
            ++rows;
        SQLFreeStmt(statement, SQL_DROP);
    }
    state.counters["tables"] = static_cast<double>(rows);
}

// The table catalogue opened anew and the page's list filled from it.
void bmTableList(benchmark::State &state)
{
    TablePage *page = wizard->tablePage();
    for (auto _ : state) {
        if (!wizard->session().openTableCatalog()) {
            state.SkipWithError("the table catalogue did not open");
            return;
        }
        page->fillList(wizard->session().tables()->sharedRows());
        QApplication::processEvents();
    }
    state.counters["tables"] = page->tableModel()->rowCount();
}

// The table catalogue alone, to tell the driver's part of the fill from the list's.
void bmCatalogOnly(benchmark::State &state)
{
    for (auto _ : state) {
        if (!wizard->session().openTableCatalog()) {
            state.SkipWithError("the table catalogue did not open");
            return;
        }
    }
    state.counters["tables"] = static_cast<double>(wizard->session().tables()->rows().size());
}

// The list's own part: the rows of the open catalogue put into the list, which is laid out and
// painted.
void bmFillOnly(benchmark::State &state)
{
    TablePage *page = wizard->tablePage();
    const auto rows = wizard->session().tables()->sharedRows();
    for (auto _ : state) {
        page->fillList(rows);
        QApplication::processEvents();
    }
    state.counters["tables"] = page->tableModel()->rowCount();
}

// SQLColumns for the wide table, its twelve columns bound as the column catalogue binds them,
// every row fetched.
void bmBareColumns(benchmark::State &state)
{
    const SQLHDBC connection = wizard->session().database().connection();
    std::size_t rows = 0;
    for (auto _ : state) {
        SQLHSTMT statement = SQL_NULL_HSTMT;
        SQLAllocStmt(connection, &statement);
        std::string table = WideTable;
        SQLColumns(statement, nullptr, SQL_NTS, nullptr, SQL_NTS, asSqlText(table), SQL_NTS,
                   nullptr, SQL_NTS);
        char texts[6][1025];
        SQLINTEGER numbers[6];
        SQLLEN indicators[12];
        const SQLUSMALLINT textColumns[] = {1, 2, 3, 4, 6, 12};
        const SQLUSMALLINT numberColumns[] = {5, 7, 8, 9, 10, 11};
        for (int i = 0; i < 6; ++i) {
            SQLBindCol(statement, textColumns[i], SQL_C_CHAR, texts[i], sizeof texts[i],
                       &indicators[i]);
            SQLBindCol(statement, numberColumns[i], SQL_C_SLONG, &numbers[i], sizeof numbers[i],
                       &indicators[6 + i]);
        }
        rows = 0;
        while (SQL_SUCCEEDED(SQLFetch(statement)))
            ++rows;
        SQLFreeStmt(statement, SQL_DROP);
    }
    state.counters["columns"] = static_cast<double>(rows);
}

// The column catalogue opened anew and the field page's lists filled from it.
void bmFieldList(benchmark::State &state)
{
    FieldPage *page = wizard->fieldPage();
    for (auto _ : state) {
        if (!wizard->session().openColumnCatalog(WideTable)) {
            state.SkipWithError("the column catalogue did not open");
            return;
        }
        page->fillLists(&wizard->session().columns()->rows());
        QApplication::processEvents();
    }
    state.counters["columns"] = page->tableFieldsList()->topLevelItemCount();
}

class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (!run.error_occurred && run.iterations > 0)
                times[run.run_name.function_name].push_back(run.real_accumulated_time /
                                                            static_cast<double>(run.iterations));
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, std::vector<double>> times;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string readFirstLine(const fs::path &path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

struct Side
{
    const char *name;
    void (*function)(benchmark::State &);
};

// Runs the sides in rounds whose order alternates, so that a slow spell of the server or the
// machine does not fall on one of them only.
void runRounds(const std::vector<Side> &sides, SummaryReporter &reporter)
{
    for (int round = 0; round < Rounds; ++round) {
        for (std::size_t turn = 0; turn < sides.size(); ++turn) {
            const Side &side = sides[round % 2 == 0 ? turn : sides.size() - 1 - turn];
            benchmark::RegisterBenchmark(side.name, side.function)
                ->MinTime(0.5)
                ->UseRealTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::ClearRegisteredBenchmarks();
}

// The median of the rounds' ratios of one side to another: each round's sides ran one after
// the other, so their ratio is the fairest figure. Zero when a side did not run every round.
double medianRatio(SummaryReporter &reporter, const std::string &side, const std::string &base)
{
    const std::vector<double> &sides = reporter.times[side];
    const std::vector<double> &bases = reporter.times[base];
    if (sides.size() != bases.size())
        return 0;
    std::vector<double> ratios;
    for (std::size_t i = 0; i < bases.size(); ++i)
        ratios.push_back(sides[i] / bases[i]);
    return median(ratios);
}

bool execute(const std::string &connectString, const std::string &sql)
{
    OdbcDatabase database;
    database.open(connectString);
    OdbcStatement statement;
    statement.allocate(database.connection());
    std::string text = sql;
    return SQL_SUCCEEDED(SQLExecDirect(statement.get(), asSqlText(text), SQL_NTS));
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // The driver manager reads its driver list from a private folder, set before its first use.
    char pattern[] = "/tmp/quillon-tablelist-bench.XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path folder = pattern;
    std::ofstream(folder / "odbcinst.ini")
        << "[PostgreSQL ANSI]\nDriver = " QUILLON_PSQL_ODBC_DRIVER "\n";
    std::ofstream(folder / "odbc.ini");
    setenv("ODBCSYSINI", folder.c_str(), 1);
    setenv("ODBCINI", (folder / "odbc.ini").c_str(), 1);

    const fs::path state = folder / "postgres";
    const std::string script = QUILLON_PG_CLUSTER_SCRIPT;
    const std::string start = "PG_BIN='" QUILLON_PG_BIN "' '" + script + "' start '" +
                              state.string() + "' --watch " + std::to_string(getpid()) + " >'" +
                              (folder / "pg-cluster.log").string() + "' 2>&1";
    int status = 1;
    if (std::system(start.c_str()) != 0) {
        std::printf("skipped: the throw-away PostgreSQL server did not start:\n%s\n",
                    readFirstLine(folder / "pg-cluster.log").c_str());
    } else {
        // The wizard takes machine data sources only.
        std::ofstream(folder / "odbc.ini")
            << "[Bench]\nDriver = PostgreSQL ANSI\nServername = 127.0.0.1\nPort = "
            << readFirstLine(state / "port") << "\nDatabase = quillon\nUsername = postgres\n";
        const std::string connectString = "DSN=Bench";
        std::printf("Creating %d tables...\n", TableCount);
        std::fflush(stdout);
        std::string columns = "c1 integer";
        for (int i = 2; i <= ColumnCount; ++i)
            columns += ", c" + std::to_string(i) + " integer";
        if (!execute(connectString, "DO $$ BEGIN FOR i IN 1.." + std::to_string(TableCount) +
                                        " LOOP EXECUTE format('CREATE TABLE t%s (id integer, "
                                        "name varchar(50))', i); END LOOP; END $$") ||
            !execute(connectString,
                     "CREATE TABLE " + std::string(WideTable) + " (" + columns + ")")) {
            std::printf("the tables could not be made\n");
        } else {
            RecordingSink sink;
            Connect chooser(connectString);
            DescriptionWizard shown(sink, &chooser);
            wizard = &shown;
            shown.show();
            shown.dataSourcePage()->specifyButton()->click();
            shown.button(QWizard::NextButton)->click();
            QApplication::processEvents();
            if (!sink.shown.empty() || shown.currentId() != DescriptionWizard::TablePageId) {
                std::printf("the table page was not reached: %s\n",
                            sink.shown.empty() ? "" : sink.shown.front().text.c_str());
                return 1;
            }
            SummaryReporter tables;
            runRounds({{"BareLoop", bmBareLoop},
                       {"CatalogOnly", bmCatalogOnly},
                       {"TableList", bmTableList},
                       {"FillOnly", bmFillOnly}},
                      tables);

            // On to the field page of the wide table.
            TableListModel *model = shown.tablePage()->tableModel();
            for (int row = 0; row < model->rowCount(); ++row) {
                if (model->index(row, 0).data().toString() == QLatin1String(WideTable))
                    shown.tablePage()->tableList()->selectionModel()->select(
                        model->index(row, 0),
                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            }
            shown.button(QWizard::NextButton)->click();
            QApplication::processEvents();
            if (shown.currentId() != DescriptionWizard::FieldPageId) {
                std::printf("the field page was not reached\n");
                return 1;
            }
            SummaryReporter fields;
            runRounds({{"BareColumns", bmBareColumns}, {"FieldList", bmFieldList}}, fields);
            benchmark::Shutdown();

            std::printf("\n%d tables, medians over %d rounds: bare SQLTables+SQLFetch %.1f ms, "
                        "table catalogue %.1f ms, table list filled %.1f ms (of which the list "
                        "alone %.2f ms); medians of the rounds' ratios: table catalogue %.2f, "
                        "table list filled %.2f (goal at most 1.50)\n",
                        TableCount + 1, Rounds, median(tables.times["BareLoop"]) * 1000,
                        median(tables.times["CatalogOnly"]) * 1000,
                        median(tables.times["TableList"]) * 1000,
                        median(tables.times["FillOnly"]) * 1000,
                        medianRatio(tables, "CatalogOnly", "BareLoop"),
                        medianRatio(tables, "TableList", "BareLoop"));
            std::printf("%d columns, medians over %d rounds: bare SQLColumns+SQLFetch %.1f ms, "
                        "field lists filled %.1f ms; median of the rounds' ratios %.2f\n",
                        ColumnCount, Rounds, median(fields.times["BareColumns"]) * 1000,
                        median(fields.times["FieldList"]) * 1000,
                        medianRatio(fields, "FieldList", "BareColumns"));
            status = 0;
            wizard = nullptr;
            shown.session().closeCatalogs();
        }
        std::system(("'" + script + "' stop '" + state.string() + "' >/dev/null").c_str());
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return status;
}
