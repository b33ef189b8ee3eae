// SPDX-License-Identifier: MIT
// Diagnostic records as the programs show them, and the handles that collect them from a real
// driver.

#include <gtest/gtest.h>

#include "odbc/diagnostics.h"
#include "odbc/error.h"
#include "odbc/handles.h"
#include "tests/support/databases.h"

namespace {

TEST(FormatDiagnosticRecord, WritesStateNativeErrorInUpperCaseHexAndMessage)
{
    EXPECT_EQ(formatDiagnosticRecord({"23000", 2067, "UNIQUE constraint failed: T.A"}),
              "SQL Error State:23000, Native Error Code: 813, ODBC Error: UNIQUE constraint "
              "failed: T.A");
    EXPECT_EQ(formatDiagnosticRecord({"HY000", 0xABCDEF, "m"}),
              "SQL Error State:HY000, Native Error Code: ABCDEF, ODBC Error: m");
    EXPECT_EQ(formatDiagnosticRecord({"01000", -1, ""}),
              "SQL Error State:01000, Native Error Code: FFFFFFFF, ODBC Error: ");
}

TEST(IsConnectionFailure, LooksForClass08)
{
    EXPECT_TRUE(isConnectionFailure({{"HY000", 0, "a"}, {"08S01", 0, "b"}}));
    EXPECT_TRUE(isConnectionFailure({{"08003", 0, "a"}}));
    EXPECT_FALSE(isConnectionFailure({{"23505", 0, "a"}, {"01000", 0, "b"}}));
    EXPECT_FALSE(isConnectionFailure({}));
}

TEST(DiagnosticText, GivesEachMessageOnceALineWithoutTheDriversLineBreaks)
{
    EXPECT_EQ(diagnosticText({{"08S01", 0, "The connection is down\n"},
                              {"08S01", 0, "Failed to send 'select 1'\r\n"},
                              {"08S01", 0, "The connection is down"},
                              {"01000", 0, ""}}),
              "The connection is down\nFailed to send 'select 1'");
    EXPECT_EQ(diagnosticText({}), "The ODBC driver reported a failure without giving a reason.");
    EXPECT_EQ(diagnosticText({{"HY000", 0, "\n"}}),
              "The ODBC driver reported a failure without giving a reason.");
    const OdbcError error({{"42S02", 1, "no such table: t"}});
    EXPECT_STREQ(error.what(), "no such table: t");
    EXPECT_EQ(error.records().size(), 1u);
}

TEST(OdbcHandles, AFailedConnectionTellsWhyInTheDriversWords)
{
    OdbcEnvironment environment;
    OdbcConnectionHandle connection;
    ASSERT_TRUE(succeeded(environment.allocate()));
    ASSERT_TRUE(succeeded(connection.allocate(environment.get())));
    EXPECT_FALSE(succeeded(connection.connect("DSN=NoSuchSourceAnywhere")));
    EXPECT_FALSE(connection.connected());
    const std::vector<SqlDiagnosticRecord> records =
        collectDiagnostics(environment.get(), connection.get(), SQL_NULL_HSTMT);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.front().state, "IM002");
    EXPECT_NE(records.front().message.find("Data source name not found"), std::string::npos)
        << records.front().message;
}

TEST(OdbcHandles, AConnectionGivesItsCompletedStringAndStatementsOnIt)
{
    TemporaryFolder folder;
    const std::string connect = sqliteConnectString(folder.path() / "handles.sqlite");
    OdbcEnvironment environment;
    OdbcConnectionHandle connection;
    OdbcStatement statement;
    ASSERT_TRUE(succeeded(environment.allocate()));
    ASSERT_TRUE(succeeded(connection.allocate(environment.get())));
    std::string completed;
    ASSERT_TRUE(succeeded(connection.connect(connect, &completed)));
    EXPECT_TRUE(connection.connected());
    EXPECT_NE(completed.find("handles.sqlite"), std::string::npos) << completed;
    ASSERT_TRUE(succeeded(statement.allocate(connection.get())));
    EXPECT_TRUE(
        succeeded(SQLExecDirect(statement.get(), asSqlText("CREATE TABLE t (a TEXT)"), SQL_NTS)));
    // Freed in the order a caller must: statement, connection, environment.
    statement.reset();
    connection.reset();
    EXPECT_FALSE(connection.connected());
    environment.reset();
    EXPECT_TRUE(environment.get() == SQL_NULL_HENV);
}

} // namespace
