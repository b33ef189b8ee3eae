// SPDX-License-Identifier: MIT
// Rows inserted through psqlODBC into the tests' own PostgreSQL server (fixture "Postgres"), and
// read back through a separate connection.

#include <gtest/gtest.h>

#include "odbc/handles.h"
#include "tests/picker/insert/driverinsert.h"

namespace {

// psqlODBC through one of its drivers. With wide codes the description holds the character codes
// that a program reading the catalogue through the drivers' Unicode calls stores (psqlODBC's
// Unicode driver reports -8, -9 and -10 there, 1, 12 and -1 to the ANSI calls the wizard makes).
InsertDriver postgres(const char *name, const char *odbcDriver, bool wideCodes)
{
    return InsertDriver{
        .name = name,
        .connectString =
            [odbcDriver](const std::filesystem::path &) {
                return postgresConnectString(odbcDriver);
            },
        .dropTable = "DROP TABLE IF EXISTS % CASCADE",
        .idColumn = "id serial",
        .textCast = "CAST(% AS text)",
        .wideCodes = wideCodes,
        .classCases =
            {
                {"b", "boolean", SQL_BIT, 1, "1", "true"},
                {"ti", "smallint", SQL_TINYINT, 1, "255", "255"},
                {"si", "smallint", SQL_SMALLINT, 2, "32767", "32767"},
                {"i", "integer", SQL_INTEGER, 4, "-2147483648", "-2147483648"},
                {"bi", "bigint", SQL_BIGINT, 8, "2147483647", "2147483647"},
                {"c", "char(10)", SQL_CHAR, 40, "ab", "ab"},
                {"vc", "varchar(50)", SQL_VARCHAR, 200, "Smith", "Smith"},
                {"t", "text", SQL_LONGVARCHAR, 8190,
                 "Gr\xc3\xbc\xc3\x9f"
                 "e \xe2\x82\xac 'quoted' \\ \"x\"",
                 "Gr\xc3\xbc\xc3\x9f"
                 "e \xe2\x82\xac 'quoted' \\ \"x\""},
                {"n", "numeric(10,2)", SQL_NUMERIC, 10, "1234.5", "1234.50"},
                {"d", "decimal(10,2)", SQL_DECIMAL, 10, "-0.25", "-0.25"},
                {"f", "double precision", SQL_FLOAT, 8, "3.141592", "3.141592"},
                {"r", "real", SQL_REAL, 4, "12.5", "12.5"},
                {"dbl", "double precision", SQL_DOUBLE, 8, "5.", "5"},
                {"dt", "date", SQL_DATE, 10, "12/31/1999", "1999-12-31"},
                {"tm", "time", SQL_TIME, 8, "23:59:59", "23:59:59"},
                {"ts", "timestamp", SQL_TIMESTAMP, 26, "12/31/1999 23:59:59",
                 "1999-12-31 23:59:59"},
                {"ts2", "timestamp", SQL_TIMESTAMP, 26, "02/29/2000", "2000-02-29 00:00:00"},
            },
        .catalogCases =
            {
                // psqlODBC reports a boolean as a character column (BoolsAsChar).
                {"b", "boolean", SQL_VARCHAR, "1", "true"},
                {"si", "smallint", SQL_SMALLINT, "-32768", "-32768"},
                {"i", "integer", SQL_INTEGER, "2147483647", "2147483647"},
                {"bi", "bigint", SQL_BIGINT, "9223372036854775807", "9223372036854775807"},
                // Lengths in bytes of UTF-8: char(1) takes a three-byte character.
                {"c1", "char(1)", SQL_CHAR, "\xe2\x82\xac", "\xe2\x82\xac"},
                {"vc", "varchar(50)", SQL_VARCHAR, Greeting, Greeting},
                {"t", "text", SQL_LONGVARCHAR, Lines, Lines},
                {"n", "numeric(10,2)", SQL_NUMERIC, "1234.5", "1234.50"},
                {"r", "real", SQL_REAL, "12.5", "12.5"},
                {"dbl", "double precision", SQL_FLOAT, "3.141592", "3.141592"},
                {"dt", "date", SQL_DATE, "12/31/1999", "1999-12-31"},
                {"tm", "time", SQL_TIME, "23:59:59", "23:59:59"},
                {"ts", "timestamp", SQL_TIMESTAMP, "12/31/1999 23:59:59", "1999-12-31 23:59:59"},
                {"first name", "varchar(20)", SQL_VARCHAR, "blank", "blank"},
                {"dq\"col", "varchar(20)", SQL_VARCHAR, "dq", "dq"},
                {"back`tick", "integer", SQL_INTEGER, "7", "7"},
            },
        .otherColumn = {"C", "integer", SQL_INTEGER, 4, "3", "3"},
        .dataSource = "DSN=QuillonPostgres",
        .keyAndNullRefused =
            [](const std::string &table) {
                return std::vector<std::string>{
                    "SQL Error State:23505, Native Error Code: 1, ODBC Error: ERROR: duplicate key "
                    "value violates unique constraint \"" +
                        table +
                        "_pkey\"\n"
                        "DETAIL: Key (id)=(1) already exists.;\n"
                        "Error while executing the query",
                    "SQL Error State:23502, Native Error Code: 1, ODBC Error: ERROR: null value in "
                    "column \"name\" of relation \"" +
                        table +
                        "\" violates not-null constraint\n"
                        "DETAIL: Failing row contains (2, null).;\n"
                        "Error while executing the query"};
            },
        .emptyRowRefused = "SQL Error State:07002, Native Error Code: 20, ODBC "
                           "Error: Parameters exist but IPD isn't set. Please call "
                           "SQLDescribeParam()",
    };
}

const InsertDriver &postgresAnsi()
{
    static const InsertDriver driver = postgres("Ansi", "PostgreSQL ANSI", false);
    return driver;
}

INSTANTIATE_TEST_SUITE_P(Postgres, DriverInsert, testing::Values(postgresAnsi()), driverName);
INSTANTIATE_TEST_SUITE_P(Postgres, CatalogInsert,
                         testing::Values(postgresAnsi(),
                                         postgres("Unicode", "PostgreSQL Unicode", false),
                                         postgres("UnicodeWideCodes", "PostgreSQL Unicode", true),
                                         postgres("AnsiWideCodes", "PostgreSQL ANSI", true)),
                         driverName);

class PostgresInsert : public DriverTable
{
protected:
    PostgresInsert() : DriverTable(postgresAnsi()) {}
};

TEST_F(PostgresInsert, EitherInstalledPostgresDriverConnectsByName)
{
    insertAfterEachConnect({{postgresConnectString("PostgreSQL Unicode"), "PostgreSQL Unicode"},
                            {postgresConnectString("{PostgreSQL ANSI}"), "{PostgreSQL ANSI}"}});
}

TEST_F(PostgresInsert, ARefusedConnectionIsReportedInTheDriversWords)
{
    const std::string port = std::to_string(unusedPort());

    EXPECT_FALSE(m_odbc.connectDataSource("DRIVER=PostgreSQL ANSI;Servername=127.0.0.1;Port=" +
                                          port + ";Database=quillon;Username=postgres"));

    const std::vector<Message> expected{errorBox(
        "SQL Error State:08001, Native Error Code: 65, ODBC Error: connection to server at "
        "\"127.0.0.1\", port " +
        port +
        " failed: Connection refused\n"
        "\tIs the server running on that host and accepting TCP/IP connections?\n")};
    EXPECT_EQ(m_sink.shown, expected);
    EXPECT_FALSE(m_odbc.connected());
}

TEST_F(PostgresInsert, ANoticeFromATriggerIsShownAndTheRowIsStoredOnce)
{
    const std::string table = ownTable("t");
    m_session->execute("CREATE TABLE " + quoted(table) + " (id serial, name text)");
    m_session->execute("CREATE OR REPLACE FUNCTION " + quoted(table + "_note") +
                       "() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE NOTICE "
                       "'checked %', NEW.name; RETURN NEW; END $$");
    m_session->execute("CREATE TRIGGER note BEFORE INSERT ON " + quoted(table) +
                       " FOR EACH ROW EXECUTE FUNCTION " + quoted(table + "_note") + "()");
    std::vector<FieldDescription> fields{field("name", SQL_VARCHAR, 50)};
    ASSERT_TRUE(m_odbc.connectDataSource(m_connectString));

    EXPECT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"Smith"}),
              InsertOutcome::Stored);
    // The statement that stays prepared after the information.
    EXPECT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"Jones"}),
              InsertOutcome::Stored);

    auto notice = [](const std::string &name) {
        return Message{"SQL Error State:00000, Native Error Code: FFFFFFFF, ODBC Error: NOTICE: "
                       "checked " +
                           name,
                       "SQL_SUCCESS_WITH_INFO results", MessageIcon::Information,
                       MessageButtons::Ok};
    };
    EXPECT_EQ(m_sink.shown, (std::vector<Message>{notice("Smith"), notice("Jones")}));
    EXPECT_EQ(m_session->query("SELECT id, name FROM " + quoted(table) + " ORDER BY id"),
              (Rows{{"1", "Smith"}, {"2", "Jones"}}));
}

// A row that meets a connection the server has dropped was not committed: it goes once more on a
// new connection, without a word, and the connection after it is the new one.
TEST_F(PostgresInsert, ARowThatMeetsADroppedConnectionIsStoredOnANewOne)
{
    const std::string table = ownTable("t");
    m_session->execute("CREATE TABLE " + quoted(table) + " (id serial, a text)");
    std::vector<FieldDescription> fields{field("a", SQL_VARCHAR, 50)};
    ASSERT_TRUE(
        m_odbc.connectDataSource(m_connectString + ";pqopt={application_name=" + table + "}"));
    ASSERT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"before"}),
              InsertOutcome::Stored);

    // Waits until the server process has gone, so that the next insert meets a closed
    // connection rather than racing its end.
    m_session->execute("SELECT pg_terminate_backend(pid, 10000) FROM pg_stat_activity WHERE "
                       "application_name = '" +
                       table + "'");
    EXPECT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"again"}),
              InsertOutcome::Stored);
    EXPECT_FALSE(m_odbc.reconnectPending());
    EXPECT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"after"}),
              InsertOutcome::Stored);

    EXPECT_EQ(m_sink.shown, std::vector<Message>{});
    EXPECT_EQ(m_session->query("SELECT a FROM " + quoted(table) + " ORDER BY id"),
              (Rows{{"before"}, {"again"}, {"after"}}));
}

TEST(PostgresDataSource, ADataSourceNameLeadsToItsDriversLibrary)
{
    ASSERT_FALSE(postgresPort().empty()) << "the PostgreSQL fixture is not running";
    OdbcEnvironment environment;
    ASSERT_TRUE(succeeded(environment.allocate()));
    EXPECT_TRUE(
        driverLibraryOf(environment.get(), "DSN=QuillonPostgres").ends_with("/psqlodbca.so"));
    EXPECT_TRUE(driverLibraryOf(environment.get(), " dsn=quillonpostgres;Port=1")
                    .ends_with("/psqlodbca.so"));
    // As the driver manager reads a string, "dsn " (a blank before "=") is another key than DSN,
    // and " quillonpostgres " another name than the data source's.
    EXPECT_EQ(driverLibraryOf(environment.get(), "dsn = quillonpostgres ;Port=1"), "");
    EXPECT_EQ(driverLibraryOf(environment.get(), "DSN=NoSuchSource"), "");
}

} // namespace
