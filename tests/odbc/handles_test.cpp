// SPDX-License-Identifier: MIT
// The ODBC handles against the tests' private driver configuration: which driver library a
// connection string leads to, the login timeout, the identifier quote each driver gives.

#include <gtest/gtest.h>

#include "odbc/handles.h"
#include "tests/support/databases.h"

namespace {

std::string fileName(const std::string &path)
{
    return std::filesystem::path(path).filename().string();
}

TEST(OdbcHandles, AConnectionStringLeadsToItsDriversLibrary)
{
    OdbcEnvironment environment;
    ASSERT_TRUE(succeeded(environment.allocate()));
    const struct
    {
        const char *connect;
        const char *library;
    } cases[] = {
        {"DRIVER=MariaDB;Server=127.0.0.1;Port=1", "libmaodbc.so"},
        {"driver={mariadb};Server=127.0.0.1", "libmaodbc.so"},
        {"DRIVER={PostgreSQL Unicode};Servername=x", "psqlodbcw.so"},
        {"DRIVER=PostgreSQL ANSI", "psqlodbca.so"},
        {"Database=/tmp/x.db; Driver=SQLite3", "libsqlite3odbc.so"},
        // As the driver manager reads a string, a blank before "=" belongs to the key, and that
        // key is no DRIVER: it loads no driver for this string.
        {"Database=/tmp/x.db; Driver = SQLite3 ", ""},
        {"DRIVER=/opt/odbc/libmaodbc.so;Server=x", "libmaodbc.so"},
        // The keyword that comes first decides.
        {"DRIVER=SQLite3;DSN=NoSuchSource", "libsqlite3odbc.so"},
        {"DSN=NoSuchSource;DRIVER=SQLite3", ""},
        {"DRIVER=NoSuchDriver", ""},
        {"Server=127.0.0.1;Port=3306", ""},
        {"", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(fileName(driverLibraryOf(environment.get(), c.connect)), c.library) << c.connect;
    }
}

class ScriptedHandles : public testing::Test
{
protected:
    void SetUp() override
    {
        writeBytes(m_script, "");
        ASSERT_TRUE(succeeded(m_environment.allocate()));
        ASSERT_TRUE(succeeded(m_connection.allocate(m_environment.get())));
    }

    TemporaryFolder m_folder;
    std::filesystem::path m_script = m_folder.path() / "script";
    std::filesystem::path m_log = m_folder.path() / "log";
    OdbcEnvironment m_environment;
    OdbcConnectionHandle m_connection;
};

TEST_F(ScriptedHandles, ConnectingHasALoginTimeoutAndCompletesTheStringAsGiven)
{
    const std::string text = scriptedConnectString(m_script, m_log);
    std::string completed;
    ASSERT_TRUE(succeeded(m_connection.connect(text, &completed)));

    EXPECT_EQ(completed, text);
    EXPECT_EQ(readLines(m_log),
              (std::vector<std::string>{"connect " + text, "set login timeout 15"}));
}

TEST_F(ScriptedHandles, TheIdentifierQuoteIsTheDriversAnswer)
{
    const struct
    {
        const char *option;
        const char *quote;
    } cases[] = {
        {"", "\""},
        {";QUOTE=`", "`"},
        {";QUOTE=blank", ""},
        {";QUOTE=none", "\""},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(succeeded(m_connection.allocate(m_environment.get())));
        ASSERT_TRUE(
            succeeded(m_connection.connect(scriptedConnectString(m_script, m_log) + c.option)));
        EXPECT_EQ(identifierQuote(m_connection.get()), c.quote) << c.option;
    }
}

TEST(OdbcHandles, SqliteQuotesNamesWithTheDoubleQuote)
{
    TemporaryFolder folder;
    OdbcEnvironment environment;
    OdbcConnectionHandle connection;
    ASSERT_TRUE(succeeded(environment.allocate()));
    ASSERT_TRUE(succeeded(connection.allocate(environment.get())));
    ASSERT_TRUE(succeeded(connection.connect(sqliteConnectString(folder.path() / "q.sqlite"))));
    EXPECT_EQ(identifierQuote(connection.get()), "\"");
}

} // namespace
