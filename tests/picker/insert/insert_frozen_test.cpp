// SPDX-License-Identifier: MIT
// A MariaDB server that stops answering (its process stopped with SIGSTOP): connecting and
// inserting end within their timeouts with the driver's own message, and a row whose insert timed
// out is not stored when the server goes on, so that inserting it again stores it once. These
// tests wait for the real timeouts and stop the fixture's server: they run alone.

#include <signal.h>

#include <chrono>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "odbc/handles.h"
#include "picker/insert/insert.h"
#include "tests/support/databases.h"

namespace {

using Clock = std::chrono::steady_clock;

// Stops the server's process until the end of the scope, waiting until it is stopped.
class FrozenServer
{
public:
    explicit FrozenServer(int pid) : m_pid(pid)
    {
        kill(m_pid, SIGSTOP);
        for (int i = 0; i < 500 && !stopped(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~FrozenServer() { wake(); }
    FrozenServer(const FrozenServer &) = delete;
    FrozenServer &operator=(const FrozenServer &) = delete;

    void wake()
    {
        if (m_pid != 0)
            kill(m_pid, SIGCONT);
        m_pid = 0;
    }

    bool stopped() const
    {
        std::ifstream in("/proc/" + std::to_string(m_pid) + "/stat");
        std::string line;
        std::getline(in, line);
        const std::size_t end = line.rfind(')');
        return end != std::string::npos && end + 2 < line.size() && line[end + 2] == 'T';
    }

private:
    int m_pid;
};

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The prefix of the driver's messages: its version (SQL_DRIVER_VER "03.01.0015" is "3.1.15").
std::string driverPrefix(const std::string &connectString)
{
    OdbcEnvironment environment;
    OdbcConnectionHandle connection;
    environment.allocate();
    connection.allocate(environment.get());
    connection.connect(connectString);
    char version[32] = {};
    SQLSMALLINT length = 0;
    SQLGetInfo(connection.get(), SQL_DRIVER_VER, version, sizeof version, &length);
    int major = 0;
    int minor = 0;
    int patch = 0;
    std::sscanf(version, "%d.%d.%d", &major, &minor, &patch);
    return "[ma-" + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(patch) + "]";
}

class FrozenMariaDb : public testing::Test
{
protected:
    void SetUp() override
    {
        m_connectString = mariaDbConnectString();
        m_pid = mariaDbServerPid();
        ASSERT_FALSE(m_connectString.empty()) << "the MariaDB fixture is not running";
        ASSERT_NE(m_pid, 0);
        m_session = std::make_unique<DatabaseSession>(m_connectString);
    }

    std::string m_connectString;
    int m_pid = 0;
    std::unique_ptr<DatabaseSession> m_session;
    RecordingSink m_sink;
    OdbcConnection m_odbc{m_sink};
};

TEST_F(FrozenMariaDb, ConnectingEndsWithinTheLoginTimeout)
{
    const std::string prefix = driverPrefix(m_connectString);
    Clock::time_point start;
    {
        FrozenServer frozen(m_pid);
        ASSERT_TRUE(frozen.stopped());
        start = Clock::now();
        EXPECT_FALSE(m_odbc.connectDataSource(m_connectString));
    }
    const double seconds = secondsSince(start);
    EXPECT_GE(seconds, LoginTimeoutSeconds - 1);
    EXPECT_LT(seconds, LoginTimeoutSeconds + 10);

    const std::vector<Message> expected{
        {"SQL Error State:08S01, Native Error Code: 7DD, ODBC Error: " + prefix +
             "Lost connection to server at 'handshake: reading initial communication packet', "
             "system error: 110",
         "SQL_ERROR results", MessageIcon::Exclamation, MessageButtons::Ok}};
    EXPECT_EQ(m_sink.shown, expected);
    // The server answers again, and so does the next connect.
    EXPECT_TRUE(m_odbc.connectDataSource(m_connectString));
}

TEST_F(FrozenMariaDb, AnInsertEndsWithinTheQueryTimeoutAndIsNotStoredWhenTheServerGoesOn)
{
    m_session->execute("DROP TABLE IF EXISTS frozen");
    // Each row notes the connection that stored it.
    m_session->execute("CREATE TABLE frozen (id INT AUTO_INCREMENT PRIMARY KEY, name "
                       "VARCHAR(20), connection BIGINT DEFAULT (CONNECTION_ID()))");
    const std::string prefix = driverPrefix(m_connectString);
    const std::string server = m_session->scalar("SELECT VERSION()");
    std::vector<FieldDescription> fields{field("name", SQL_WVARCHAR, 80)};
    ASSERT_TRUE(m_odbc.connectDataSource(m_connectString));
    ASSERT_EQ(m_odbc.insertRow("frozen", fields, std::vector<std::string>{"before"}),
              InsertOutcome::Stored);
    const std::string connection = m_session->scalar("SELECT connection FROM frozen");

    Clock::time_point start;
    {
        FrozenServer frozen(m_pid);
        ASSERT_TRUE(frozen.stopped());
        start = Clock::now();
        EXPECT_EQ(m_odbc.insertRow("frozen", fields, std::vector<std::string>{"frozen"}),
                  InsertOutcome::Failed);
    }
    const double seconds = secondsSince(start);
    EXPECT_GE(seconds, QueryTimeoutSeconds - 1);
    EXPECT_LT(seconds, QueryTimeoutSeconds + 10);
    const std::vector<Message> expected{
        {"SQL Error State:08S01, Native Error Code: 7DD, ODBC Error: " + prefix + "[" + server +
             "]Lost connection to server during query",
         "SQL_ERROR results", MessageIcon::Exclamation, MessageButtons::Ok}};
    EXPECT_EQ(m_sink.shown, expected);
    EXPECT_TRUE(m_odbc.reconnectPending());

    // The awakened server reads the insert that waited for it, and the connection that sent it
    // has gone: once the server has let that connection go, the row is not there.
    const std::string gone =
        "SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID = " + connection;
    for (int i = 0; i < 100 && m_session->scalar(gone) != "0"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(m_session->scalar(gone), "0");
    EXPECT_EQ(m_session->query("SELECT name FROM frozen ORDER BY id"), (Rows{{"before"}}));

    // The row stayed with the user, who inserts it again: it is stored once.
    EXPECT_EQ(m_odbc.insertRow("frozen", fields, std::vector<std::string>{"frozen"}),
              InsertOutcome::Stored);
    EXPECT_EQ(m_session->query("SELECT name FROM frozen ORDER BY id"),
              (Rows{{"before"}, {"frozen"}}));
    m_session->execute("DROP TABLE frozen");
}

} // namespace
