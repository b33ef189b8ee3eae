// SPDX-License-Identifier: MIT
// A replicated PostgreSQL (tests/support/pg-replicated: a primary and a synchronous standby,
// reached through one data source that lists both and asks for the one that accepts writes)
// whose primary goes away in the middle of the work: the wizard's description keeps working,
// the next row reaches the promoted standby, and across a failover no row reported stored is
// lost or doubled and no row is reported failed that was stored.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include <QProcess>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fieldvalues/tabledescription.h"
#include "odbc/connectionpolicy.h"
#include "odbc/connectionstring.h"
#include "picker/insert/insert.h"
#include "tests/support/databases.h"
#include "tests/support/odbcfiles.h"
#include "tests/support/recordingsink.h"
#include "tests/wizard/answeringchooser.h"
#include "tests/wizard/wizardtesting.h"

namespace {

using Clock = std::chrono::steady_clock;

// The cluster of one test, stopped with it.
class ReplicatedPostgres
{
public:
    ReplicatedPostgres()
    {
        m_started = run({QStringLiteral("start"), state(), QStringLiteral("--watch"),
                         QString::number(getpid())});
        if (!m_started)
            return;
        const std::string env = readBytes(m_state.file("env"));
        m_primaryPort = valueOf(env, "QUILLON_PRIMARY_PORT");
        m_standbyPort = valueOf(env, "QUILLON_STANDBY_PORT");
    }
    ~ReplicatedPostgres() { run({QStringLiteral("stop"), state()}); }

    bool started() const { return m_started; }
    std::string odbcIni() const { return readBytes(m_state.file("odbc.ini")); }
    // One server by its port, as a plain session reaches it.
    std::string serverConnectString(const std::string &port) const
    {
        return "DRIVER=PostgreSQL ANSI;Servername=127.0.0.1;Port=" + port +
               ";Database=quillon;Username=postgres";
    }
    const std::string &primaryPort() const { return m_primaryPort; }
    const std::string &standbyPort() const { return m_standbyPort; }

    bool stopPrimary(const char *mode)
    {
        return run({QStringLiteral("stop-primary"), state(), QString::fromLatin1(mode)});
    }
    bool promote() { return run({QStringLiteral("promote"), state()}); }

private:
    QString state() const { return QString::fromStdString(m_state.path().string()); }
    static bool run(const QStringList &arguments)
    {
        QProcess script;
        script.setProcessChannelMode(QProcess::ForwardedChannels);
        script.start(QStringLiteral(QUILLON_PG_REPLICATED), arguments);
        return script.waitForFinished(120000) && script.exitStatus() == QProcess::NormalExit &&
               script.exitCode() == 0;
    }
    static std::string valueOf(const std::string &env, const std::string &key)
    {
        const std::size_t at = env.find(key + "=");
        if (at == std::string::npos)
            return {};
        const std::size_t from = at + key.size() + 1;
        return env.substr(from, env.find('\n', from) - from);
    }

    TemporaryFolder m_state;
    bool m_started = false;
    std::string m_primaryPort;
    std::string m_standbyPort;
};

const char *const CreateEntries =
    "CREATE TABLE entries (writer INTEGER NOT NULL, seq INTEGER NOT NULL, note VARCHAR(40))";

class Failover : public ::testing::Test
{
protected:
    Failover() : m_files("", m_cluster.started() ? m_cluster.odbcIni() : std::string()) {}
    void SetUp() override
    {
        ASSERT_TRUE(m_cluster.started());
        DatabaseSession(m_cluster.serverConnectString(m_cluster.primaryPort()))
            .execute(CreateEntries);
    }
    // The rows as the promoted standby holds them: (writer, seq) and how often each is there.
    std::map<std::pair<int, int>, int> rowsOnTheNewPrimary()
    {
        std::map<std::pair<int, int>, int> rows;
        DatabaseSession session(m_cluster.serverConnectString(m_cluster.standbyPort()));
        for (const auto &row :
             session.query("SELECT writer, seq, count(*) FROM entries GROUP BY writer, seq"))
            rows[{std::stoi(row[0].value_or("")), std::stoi(row[1].value_or(""))}] =
                std::stoi(row[2].value_or(""));
        return rows;
    }

    ReplicatedPostgres m_cluster;
    PrivateOdbcFiles m_files;
};

// A description saved by the wizard through the data source that lists both servers: the picker
// accepts it, and after the primary has gone and the standby has taken its place the next
// "Enter" stores its row on the new primary by itself, as quillon-row does.
TEST_F(Failover, TheNextEnterAfterAFailoverReachesThePromotedStandby)
{
    TemporaryFolder folder;
    const std::string path = folder.file("entries.dtd");
    RecordingSink sink;
    AnsweringChooser chooser;
    chooser.answers = {"DSN=QuillonReplicated"};
    {
        DescriptionWizard wizard(sink, &chooser);
        ASSERT_TRUE(saveEveryField(wizard, sink, QStringLiteral("entries"), path));
    }
    TableDescription description;
    ASSERT_EQ(loadTableDescription(path, description), 3);
    description.fieldCount = 3;
    setValueWidths(description);
    const ConnectionCheck check = checkConnectString(withoutOdbcPrefix(description.connectString));
    EXPECT_TRUE(check.allowed) << check.reason;
    sink.shown.clear();
    OdbcConnection picker(sink);
    ASSERT_TRUE(picker.connectDataSource(description.connectString));
    EXPECT_EQ(picker.insertRow(description, std::vector<std::string>{"1", "1", "before"}),
              InsertOutcome::Stored);
    ASSERT_TRUE(m_cluster.stopPrimary("fast"));
    ASSERT_TRUE(m_cluster.promote());
    EXPECT_EQ(picker.insertRow(description, std::vector<std::string>{"1", "2", "after"}),
              InsertOutcome::Stored);
    EXPECT_EQ(sink.shown, std::vector<Message>{});
    runRowTool({QStringLiteral("insert"), QString::fromStdString(path), QStringLiteral("writer=2"),
                QStringLiteral("seq=1"), QStringLiteral("note=tool")});

    EXPECT_EQ(DatabaseSession(m_cluster.serverConnectString(m_cluster.standbyPort()))
                  .query("SELECT writer, seq, note FROM entries ORDER BY writer, seq"),
              (Rows{{"1", "1", "before"}, {"1", "2", "after"}, {"2", "1", "tool"}}));
}

// What one writer was told about each of its rows; written as bytes from the writer's process.
struct Outcome
{
    int seq;
    InsertOutcome result;
    Clock::time_point done;
};
static_assert(std::is_trivially_copyable_v<Outcome>);

// Writers put rows with distinct values into the table, each through a connection of its own as
// a picker holds it, while the primary is stopped as by a crash and the standby promoted.
// QUILLON_SOAK_SECONDS sets the length (60 s), QUILLON_SOAK_WRITERS the writers (20).
TEST_F(Failover, SoakNothingLostNothingDoubledNothingInDoubtUnsaid)
{
    const char *seconds = std::getenv("QUILLON_SOAK_SECONDS");
    const char *count = std::getenv("QUILLON_SOAK_WRITERS");
    const auto length = std::chrono::seconds(seconds != nullptr ? std::atoi(seconds) : 60);
    const int writers = count != nullptr ? std::atoi(count) : 20;
    std::vector<FieldDescription> fields{field("writer", 4, 4, 1), field("seq", 4, 4, 1),
                                         field("note", 12, 40)};

    // Each writer is a process of its own, as each user's picker is: psqlODBC's connect is not
    // safe from several threads of one process at once (it sets the process's locale).
    TemporaryFolder results;
    const Clock::time_point end = Clock::now() + length;
    std::vector<pid_t> children;
    for (int w = 0; w < writers; ++w) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::FILE *out = std::fopen(results.file(std::to_string(w)).c_str(), "wb");
            RecordingSink sink;
            OdbcConnection connection(sink);
            // A writer that cannot connect now connects at its first row.
            (void)connection.connectDataSource("DSN=QuillonReplicated");
            std::vector<FieldDescription> own = fields;
            for (int seq = 1; out != nullptr && Clock::now() < end; ++seq) {
                const std::vector<std::string> values{std::to_string(w), std::to_string(seq),
                                                      "soak"};
                const Outcome outcome{seq, connection.insertRow("entries", own, values),
                                      Clock::now()};
                std::fwrite(&outcome, sizeof outcome, 1, out);
                // While no server takes writes, a writer waits a little, as a user would.
                if (outcome.result != InsertOutcome::Stored)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            connection.disconnectDataSource();
            _exit(out != nullptr && std::fclose(out) == 0 ? 0 : 1);
        }
        children.push_back(child);
    }

    std::this_thread::sleep_for(length / 3);
    const Clock::time_point stopped = Clock::now();
    const bool stoppedPrimary = m_cluster.stopPrimary("immediate");
    // From here on, a row stored is stored on the new primary.
    const Clock::time_point down = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const bool promoted = m_cluster.promote();
    const Clock::time_point promotedAt = Clock::now();
    for (const pid_t child : children) {
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::vector<std::vector<Outcome>> outcomes(static_cast<std::size_t>(writers));
    for (int w = 0; w < writers; ++w) {
        std::FILE *in = std::fopen(results.file(std::to_string(w)).c_str(), "rb");
        ASSERT_NE(in, nullptr);
        for (Outcome outcome{}; std::fread(&outcome, sizeof outcome, 1, in) == 1;)
            outcomes[static_cast<std::size_t>(w)].push_back(outcome);
        std::fclose(in);
    }
    ASSERT_TRUE(stoppedPrimary);
    ASSERT_TRUE(promoted);

    const std::map<std::pair<int, int>, int> rows = rowsOnTheNewPrimary();
    int stored = 0, inDoubt = 0, inDoubtStored = 0, failed = 0;
    Clock::time_point firstAfterStop = Clock::time_point::max();
    std::map<std::pair<int, int>, InsertOutcome> reported;
    for (int w = 0; w < writers; ++w) {
        int doubts = 0;
        bool wentOn = false;
        for (const Outcome &outcome : outcomes[static_cast<std::size_t>(w)]) {
            const auto found = rows.find({w, outcome.seq});
            const int times = found == rows.end() ? 0 : found->second;
            reported[{w, outcome.seq}] = outcome.result;
            if (outcome.result == InsertOutcome::Stored) {
                ++stored;
                EXPECT_EQ(times, 1) << "writer " << w << ", row " << outcome.seq;
                if (outcome.done > down)
                    firstAfterStop = std::min(firstAfterStop, outcome.done);
                wentOn = wentOn || outcome.done > promotedAt;
            } else if (outcome.result == InsertOutcome::InDoubt) {
                ++inDoubt;
                ++doubts;
                inDoubtStored += times;
                EXPECT_LE(times, 1) << "writer " << w << ", row " << outcome.seq;
            } else {
                ++failed;
                EXPECT_EQ(times, 0)
                    << "writer " << w << ", row " << outcome.seq << " was reported failed";
            }
        }
        EXPECT_LE(doubts, 1) << "writer " << w;
        EXPECT_TRUE(wentOn) << "writer " << w << " stored nothing after the promotion";
    }
    for (const auto &[row, times] : rows)
        EXPECT_TRUE(reported.contains(row))
            << "writer " << row.first << ", row " << row.second << " was never sent";

    const double sinceStop = std::chrono::duration<double>(firstAfterStop - stopped).count();
    std::printf("soak: %d writers for %lld s: %d rows stored, %d in doubt (%d of them in the "
                "table), %d failed; first row on the new primary %.2f s after the primary "
                "stopped (promoted after %.2f s)\n",
                writers, static_cast<long long>(length.count()), stored, inDoubt, inDoubtStored,
                failed, sinceStop, std::chrono::duration<double>(promotedAt - stopped).count());
}

} // namespace
