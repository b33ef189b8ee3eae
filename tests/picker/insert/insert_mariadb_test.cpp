// SPDX-License-Identifier: MIT
// Rows inserted through MariaDB Connector/ODBC into the tests' own MariaDB server (fixture
// "MariaDB"), with descriptions made from the driver's own catalogue, in the server's default SQL
// mode (names quoted with the backtick) and in ANSI_QUOTES mode (the driver then gives the double
// quote); read back through a separate connection.

#include <gtest/gtest.h>

#include "odbc/handles.h"
#include "tests/picker/insert/driverinsert.h"

namespace {

// The driver in one SQL mode: `option` is what the connection string adds for the mode, as a
// user's data source would. The tests' own statements quote names with the backtick in either
// mode.
InsertDriver mariaDb(const char *name, const char *option, const char *identifierQuote)
{
    return InsertDriver{
        .name = name,
        .connectString = [](const std::filesystem::path &) { return mariaDbConnectString(); },
        .option = option,
        .identifierQuote = identifierQuote,
        .quote = '`',
        .dropTable = "DROP TABLE IF EXISTS %",
        .idColumn = "id INT AUTO_INCREMENT PRIMARY KEY",
        .textCast = "CAST(% AS CHAR)",
        .catalogCases =
            {
                {"b", "BIT(1)", SQL_BIT, "1", "1", "%+0"},
                {"ti", "TINYINT", SQL_TINYINT, "-128", "-128"},
                {"si", "SMALLINT", SQL_SMALLINT, "-32768", "-32768"},
                {"i", "INT", SQL_INTEGER, "2147483647", "2147483647"},
                {"bi", "BIGINT", SQL_BIGINT, "-9223372036854775808", "-9223372036854775808"},
                // Every character column is wide, its LENGTH in bytes of utf8mb4: CHAR(1) takes a
                // three-byte character.
                {"c1", "CHAR(1)", SQL_WCHAR, "\xe2\x82\xac", "\xe2\x82\xac"},
                {"c", "CHAR(10)", SQL_WCHAR, "ab", "ab"},
                {"vc", "VARCHAR(50)", SQL_WVARCHAR, Greeting, Greeting},
                {"t", "TEXT", SQL_WLONGVARCHAR, Lines, Lines},
                {"lat", "VARCHAR(20) CHARACTER SET latin1", SQL_WVARCHAR, "caf\xc3\xa9",
                 "caf\xc3\xa9"},
                {"n", "NUMERIC(10,2)", SQL_DECIMAL, "1234.5", "1234.50"},
                {"d", "DECIMAL(10,2)", SQL_DECIMAL, "-0.25", "-0.25"},
                {"f", "FLOAT", SQL_REAL, "12.5", "12.5"},
                {"dbl", "DOUBLE", SQL_DOUBLE, "3.141592", "3.141592"},
                {"dt", "DATE", SQL_DATE, "12/31/1999", "1999-12-31"},
                {"tm", "TIME", SQL_TIME, "23:59:59", "23:59:59"},
                {"dtm", "DATETIME", SQL_TIMESTAMP, "12/31/1999 23:59:59", "1999-12-31 23:59:59"},
                {"ts", "TIMESTAMP NULL", SQL_TIMESTAMP, "02/29/2000", "2000-02-29 00:00:00"},
                // Names with a blank and with either mode's quote character.
                {"first name", "VARCHAR(20)", SQL_WVARCHAR, "blank", "blank"},
                {"back`tick", "INT", SQL_INTEGER, "7", "7"},
                {"dq\"col", "VARCHAR(20)", SQL_WVARCHAR, "dq", "dq"},
            },
    };
}

const std::vector<InsertDriver> &modes()
{
    static const std::vector<InsertDriver> modes{
        mariaDb("Default", "", "`"),
        mariaDb("AnsiQuotes", ";INITSTMT=SET SESSION sql_mode=CONCAT(@@sql_mode, ',ANSI_QUOTES')",
                "\""),
    };
    return modes;
}

INSTANTIATE_TEST_SUITE_P(MariaDb, CatalogInsert, testing::ValuesIn(modes()), driverName);
// MariaDB runs the catalogue case and its own below, not the other shared inserts.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DriverInsert);

class MariaDbInsert : public DriverInsert
{};

TEST_P(MariaDbInsert, ARefusedRowIsTakenBackAndTheNextOneIsStored)
{
    const std::string table = ownTable("t");
    m_session->execute("CREATE TABLE " + quoted(table) +
                       " (id INT PRIMARY KEY, name VARCHAR(5) NOT NULL)");
    std::vector<FieldDescription> fields{field("id", SQL_INTEGER, 4, 1),
                                         field("name", SQL_WVARCHAR, 20)};
    ASSERT_TRUE(m_odbc.connectDataSource(m_connectString));

    ASSERT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"1", "first"}),
              InsertOutcome::Stored);
    EXPECT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"1", "again"}),
              InsertOutcome::Failed);
    // Five characters of utf8mb4 fit, six do not, whatever their bytes.
    EXPECT_EQ(
        m_odbc.insertRow(table, fields,
                         std::vector<std::string>{"2", "\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc"}),
        InsertOutcome::Stored);
    EXPECT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"3", "sixsix"}),
              InsertOutcome::Failed);
    EXPECT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"4", "four"}),
              InsertOutcome::Stored);

    ASSERT_EQ(m_sink.shown.size(), 2u);
    EXPECT_EQ(m_sink.shown[0].caption, "SQL_ERROR results");
    EXPECT_TRUE(m_sink.shown[0].text.starts_with("SQL Error State:23000, Native Error Code: 426"))
        << m_sink.shown[0].text;
    EXPECT_TRUE(m_sink.shown[0].text.ends_with("Duplicate entry '1' for key 'PRIMARY'"))
        << m_sink.shown[0].text;
    EXPECT_TRUE(m_sink.shown[1].text.starts_with("SQL Error State:22001, Native Error Code: 57E"))
        << m_sink.shown[1].text;
    EXPECT_EQ(
        m_session->query("SELECT id, name FROM " + quoted(table) + " ORDER BY id"),
        (Rows{{"1", "first"}, {"2", "\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc"}, {"4", "four"}}));
}

INSTANTIATE_TEST_SUITE_P(Modes, MariaDbInsert, testing::ValuesIn(modes()), driverName);

// The driver's completed connection string is the one given: the timeout keys that connecting
// adds for this driver stay out of it (the wizard stores it in the description).
TEST(MariaDbConnection, TheCompletedStringLeavesOutTheAddedTimeouts)
{
    const std::string connectString = mariaDbConnectString();
    ASSERT_FALSE(connectString.empty()) << "the MariaDB fixture is not running";
    OdbcEnvironment environment;
    OdbcConnectionHandle connection;
    ASSERT_TRUE(succeeded(environment.allocate()));
    ASSERT_TRUE(succeeded(connection.allocate(environment.get())));
    std::string completed;
    ASSERT_TRUE(succeeded(connection.connect(connectString, &completed)));
    EXPECT_EQ(completed, connectString);

    OdbcConnectionHandle ownTimeouts;
    ASSERT_TRUE(succeeded(ownTimeouts.allocate(environment.get())));
    ASSERT_TRUE(succeeded(ownTimeouts.connect(connectString + ";READ_TIMEOUT=5", &completed)));
    EXPECT_EQ(completed, connectString + ";READ_TIMEOUT=5");
}

} // namespace
