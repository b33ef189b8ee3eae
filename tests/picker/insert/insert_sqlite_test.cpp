// SPDX-License-Identifier: MIT
// Rows inserted through the SQLite ODBC driver into a database file in a temporary folder, and
// read back through a separate connection.

#include <gtest/gtest.h>

#include "tests/picker/insert/driverinsert.h"

namespace {

const InsertDriver &sqlite()
{
    static const InsertDriver driver{
        .name = "SQLite3",
        .connectString =
            [](const std::filesystem::path &folder) {
                return sqliteConnectString(folder / "test.sqlite");
            },
        .idColumn = "id INTEGER PRIMARY KEY",
        .textCast = "CAST(% AS TEXT)",
        .classCases =
            {
                {"b", "BIT", SQL_BIT, 1, "1", "1"},
                {"ti", "TINYINT", SQL_TINYINT, 1, "255", "255"},
                {"si", "SMALLINT", SQL_SMALLINT, 2, "65535", "65535"},
                {"i", "INTEGER", SQL_INTEGER, 4, "-2147483648", "-2147483648"},
                {"bi", "BIGINT", SQL_BIGINT, 8, "2147483647", "2147483647"},
                {"c", "CHAR(10)", SQL_CHAR, 10, "ab", "ab"},
                {"vc", "VARCHAR(50)", SQL_VARCHAR, 50, "Smith", "Smith"},
                {"t", "TEXT", SQL_LONGVARCHAR, 65536,
                 "Gr\xc3\xbc\xc3\x9f"
                 "e \xe2\x82\xac 'quoted'",
                 "Gr\xc3\xbc\xc3\x9f"
                 "e \xe2\x82\xac 'quoted'"},
                {"n", "NUMERIC(10,2)", SQL_NUMERIC, 10, "1234.5", "1234.5"},
                {"d", "DECIMAL(10,2)", SQL_DECIMAL, 10, "-0.25", "-0.25"},
                {"f", "FLOAT", SQL_FLOAT, 8, "3.141592", "3.141592"},
                {"r", "REAL", SQL_REAL, 4, "12.5", "12.5"},
                {"dbl", "DOUBLE", SQL_DOUBLE, 8, "5.", "5.0"},
                {"dt", "DATE", SQL_DATE, 10, "12/31/1999", "1999-12-31"},
                {"tm", "TIME", SQL_TIME, 8, "23:59:59", "23:59:59"},
                {"ts", "TIMESTAMP", SQL_TIMESTAMP, 16, "12/31/1999 23:59:59",
                 "1999-12-31 23:59:59.000"},
                {"ts2", "TIMESTAMP", SQL_TIMESTAMP, 16, "02/29/2000", "2000-02-29 00:00:00.000"},
            },
        // The description as the wizard makes it from the SQLite driver's catalogue: it reports
        // NUMERIC as DOUBLE, DECIMAL and CHAR as VARCHAR, and every whole number's LENGTH as its
        // display size.
        .catalogCases =
            {
                {"b", "BIT", SQL_BIT, "1", "1"},
                {"ti", "TINYINT", SQL_TINYINT, "255", "255"},
                {"si", "SMALLINT", SQL_SMALLINT, "-32768", "-32768"},
                {"i", "INTEGER", SQL_INTEGER, "-2147483648", "-2147483648"},
                {"bi", "BIGINT", SQL_BIGINT, "9223372036854775807", "9223372036854775807"},
                {"c", "CHAR(10)", SQL_VARCHAR, "ab", "ab"},
                {"vc", "VARCHAR(50)", SQL_VARCHAR, Greeting, Greeting},
                {"t", "TEXT", SQL_LONGVARCHAR, Lines, Lines},
                {"n", "NUMERIC(10,2)", SQL_DOUBLE, "1234.5", "1234.5"},
                {"d", "DECIMAL(10,2)", SQL_VARCHAR, "-0.25", "-0.25"},
                {"r", "REAL", SQL_DOUBLE, "12.5", "12.5"},
                {"dbl", "DOUBLE", SQL_DOUBLE, "5.", "5.0"},
                {"dt", "DATE", SQL_DATE, "12/31/1999", "1999-12-31"},
                {"tm", "TIME", SQL_TIME, "23:59:59", "23:59:59"},
                {"ts", "TIMESTAMP", SQL_TIMESTAMP, "12/31/1999 23:59:59",
                 "1999-12-31 23:59:59.000"},
                {"first name", "VARCHAR(20)", SQL_VARCHAR, "blank", "blank"},
                {"dq\"col", "VARCHAR(20)", SQL_VARCHAR, "dq", "dq"},
                {"back`tick", "INTEGER", SQL_INTEGER, "7", "7"},
            },
        .otherColumn = {"C", "TEXT", SQL_VARCHAR, 50, "c", "c"},
        .keyAndNullRefused =
            [](const std::string &) {
                return std::vector<std::string>{
                    "SQL Error State:S1000, Native Error Code: 13, ODBC Error: [SQLite]UNIQUE "
                    "constraint failed: K.id (19)",
                    "SQL Error State:S1000, Native Error Code: 13, ODBC Error: [SQLite]NOT NULL "
                    "constraint failed: K.name (19)"};
            },
        .emptyRowRefused = "SQL Error State:S1000, Native Error Code: FFFFFFFF, ODBC "
                           "Error: [SQLite]unbound parameters in query",
    };
    return driver;
}

INSTANTIATE_TEST_SUITE_P(Sqlite, DriverInsert, testing::Values(sqlite()), driverName);
INSTANTIATE_TEST_SUITE_P(Sqlite, CatalogInsert, testing::Values(sqlite()), driverName);

class SqliteInsert : public DriverTable
{
protected:
    SqliteInsert() : DriverTable(sqlite()) {}
};

TEST_F(SqliteInsert, QuotedNamesReachTheirColumnsAndCannotExtendTheStatement)
{
    m_session->execute(R"(CREATE TABLE "my ""quoted"" table" ("a""b" TEXT, "c d" TEXT))");
    m_session->execute(R"(CREATE TABLE "victim" (x TEXT))");
    m_session->execute(R"(INSERT INTO "victim" VALUES ('still here'))");
    std::vector<FieldDescription> fields{field(R"(a"b)", SQL_VARCHAR, 50),
                                         field("c d", SQL_VARCHAR, 50)};
    ASSERT_TRUE(m_odbc.connectDataSource(m_connectString));

    ASSERT_EQ(m_odbc.insertRow(R"(my "quoted" table)", fields, std::vector<std::string>{"1", "2"}),
              InsertOutcome::Stored);
    std::vector<FieldDescription> hostile{
        field(R"(a"b" ) VALUES ('1','2'); DROP TABLE "victim"; --)", SQL_VARCHAR, 50)};
    EXPECT_EQ(m_odbc.insertRow(R"(my "quoted" table)", hostile, std::vector<std::string>{"3"}),
              InsertOutcome::Failed);

    EXPECT_EQ(m_session->query(R"(SELECT "a""b", "c d" FROM "my ""quoted"" table")"),
              (Rows{{"1", "2"}}));
    EXPECT_EQ(m_session->scalar("SELECT x FROM victim"), "still here");
    ASSERT_EQ(m_sink.shown.size(), 1u);
    EXPECT_EQ(m_sink.shown[0].caption, "SQL_ERROR results");
}

TEST_F(SqliteInsert, TheLongestStatementInsertsIntoThirtyColumnsOf256Characters)
{
    const std::string table = std::string(255, '"') + "T";
    std::vector<FieldDescription> fields;
    std::vector<std::string> values;
    std::string create = "CREATE TABLE " + quoteIdentifier(table) + " (";
    for (int i = 0; i < MaxFields; ++i) {
        const std::string name = std::string(253, '"') + "c" + static_cast<char>('A' + i % 26) +
                                 static_cast<char>('0' + i / 26);
        ASSERT_EQ(name.size(), 256u);
        create += (i > 0 ? ", " : "") + quoteIdentifier(name) + " TEXT";
        fields.push_back(field(name, SQL_VARCHAR, 50));
        values.push_back("v" + std::to_string(i));
    }
    m_session->execute(create + ")");
    ASSERT_TRUE(m_odbc.connectDataSource(m_connectString));

    ASSERT_EQ(m_odbc.insertRow(table, fields, values), InsertOutcome::Stored);

    const Rows rows = m_session->query("SELECT * FROM " + quoteIdentifier(table));
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].size(), static_cast<std::size_t>(MaxFields));
    for (std::size_t i = 0; i < rows[0].size(); ++i)
        EXPECT_EQ(rows[0][i], values[i]);
}

TEST_F(SqliteInsert, AnUnknownDataSourceIsReportedInTheDriverManagersWords)
{
    EXPECT_FALSE(m_odbc.connectDataSource("DSN=NoSuchQuillonSource"));

    const std::vector<Message> expected{
        errorBox("SQL Error State:IM002, Native Error Code: 0, ODBC Error: [unixODBC][Driver "
                 "Manager]Data source name not found and no default driver specified")};
    EXPECT_EQ(m_sink.shown, expected);
    EXPECT_FALSE(m_odbc.connected());
    m_odbc.disconnectDataSource();
    m_odbc.disconnectDataSource();
}

} // namespace
