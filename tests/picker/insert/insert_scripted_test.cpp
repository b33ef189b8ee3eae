// SPDX-License-Identifier: MIT
// Inserts through the scripted driver of the tests, for answers that no real driver gives on
// demand: information from SQLExecute, long diagnostic records, a failing commit, a connection
// that goes away. The driver logs every call with what it received.

#include <gtest/gtest.h>

#include "picker/insert/insert.h"
#include "tests/support/databases.h"

namespace {

class ScriptedInsert : public testing::Test
{
protected:
    // Writes the script and connects.
    void connect(const std::string &script)
    {
        writeBytes(m_script, script);
        ASSERT_TRUE(m_odbc.connectDataSource(connectString()));
    }

    std::string connectString() const { return scriptedConnectString(m_script, m_log); }

    // The calls of the log without the options that the connection sets ("set ..." lines).
    std::vector<std::string> calls() const
    {
        std::vector<std::string> lines = readLines(m_log);
        std::erase_if(lines, [](const std::string &line) { return line.starts_with("set "); });
        return lines;
    }

    // The calls without the "connect" lines' connection strings.
    std::vector<std::string> log() const
    {
        std::vector<std::string> lines = calls();
        for (std::string &line : lines) {
            if (line.starts_with("connect "))
                line = "connect";
        }
        return lines;
    }

    InsertOutcome insert(const std::vector<std::string> &values)
    {
        return m_odbc.insertRow("T", std::span(m_fields).first(values.size()), values);
    }

    TemporaryFolder m_folder;
    std::filesystem::path m_script = m_folder.path() / "script";
    std::filesystem::path m_log = m_folder.path() / "log";
    RecordingSink m_sink;
    OdbcConnection m_odbc{m_sink};
    std::vector<FieldDescription> m_fields{field("A", SQL_VARCHAR, 50), field("B", SQL_VARCHAR, 50),
                                           field("C", SQL_VARCHAR, 50)};
};

const Message infoBox(const std::string &text)
{
    return {text, "SQL_SUCCESS_WITH_INFO results", MessageIcon::Information, MessageButtons::Ok};
}

const Message errorBox(const std::string &text, bool continued = false)
{
    return {text, continued ? "SQL_ERROR results continued" : "SQL_ERROR results",
            MessageIcon::Exclamation, MessageButtons::Ok};
}

TEST_F(ScriptedInsert, TheConnectionStringReachesTheDriverWithoutAnOdbcPrefix)
{
    writeBytes(m_script, "");
    ASSERT_TRUE(m_odbc.connectDataSource("ODBC;" + connectString()));
    m_odbc.disconnectDataSource();
    ASSERT_TRUE(m_odbc.connectDataSource(connectString()));
    m_odbc.disconnectDataSource();

    const std::vector<std::string> expected{"connect " + connectString(), "disconnect",
                                            "connect " + connectString(), "disconnect"};
    EXPECT_EQ(calls(), expected);
}

TEST_F(ScriptedInsert, ParametersFollowTheMarkersWithSizesAndStructures)
{
    connect("");
    std::vector<FieldDescription> fields{field("Name", SQL_VARCHAR, 50),
                                         field("Skipped", SQL_VARCHAR, 50),
                                         field("Amount", SQL_NUMERIC, 10),
                                         field("Day", SQL_DATE, 10),
                                         field("At", SQL_TIME, 8),
                                         field("Stamp", SQL_TIMESTAMP, 16),
                                         field("Short", SQL_CHAR, 3),
                                         field("Count", SQL_INTEGER, 4),
                                         field("Midnight", SQL_TIMESTAMP, 16),
                                         field("Empty", SQL_VARCHAR, 50)};
    const std::vector<std::string> values{
        "Smith", "",           "1234.5", "12/31/1999", "23:59:59", "12/31/1999 23:59:59", "abcdef",
        "-42",   "02/29/2000", ""};

    ASSERT_EQ(m_odbc.insertRow("T", fields, values), InsertOutcome::Stored);

    // An ODBC 3 driver receives the ODBC 3 codes of the date and time types (91, 92, 93).
    const std::vector<std::string> expected{
        "connect",
        R"(prepare INSERT INTO "T" ("Name", "Amount", "Day", "At", "Stamp", "Short", "Count", "Midnight") VALUES (?,?,?,?,?,?,?,?))",
        "bind 1 1 12 5 0",
        "bind 2 1 2 6 0",
        "bind 3 91 91 0 0",
        "bind 4 92 92 0 0",
        "bind 5 93 93 0 0",
        "bind 6 1 1 3 0",
        "bind 7 1 4 3 0",
        "bind 8 93 93 0 0",
        "execute 1=Smith 2=1234.5 3=1999-12-31 4=23:59:59 5=1999-12-31 23:59:59.0 6=abcdef 7=-42 "
        "8=2000-02-29 00:00:00.0",
        "commit"};
    EXPECT_EQ(log(), expected);
    EXPECT_TRUE(m_sink.shown.empty());
}

// The wide character types are character data with their own codes; sizes count bytes, up to
// the field's value width.
TEST_F(ScriptedInsert, WideCharacterValuesAreBoundAsCharacterData)
{
    connect("");
    std::vector<FieldDescription> fields{field("c", SQL_WCHAR, 4), field("v", SQL_WVARCHAR, 200),
                                         field("t", SQL_WLONGVARCHAR, 262140)};
    const std::vector<std::string> values{"\xe2\x82\xac",
                                          "Gr\xc3\xbc\xc3\x9f"
                                          "e",
                                          std::string(40000, 'x')};

    ASSERT_EQ(m_odbc.insertRow("T", fields, values), InsertOutcome::Stored);

    const std::vector<std::string> calls = log();
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls[1], R"(prepare INSERT INTO "T" ("c", "v", "t") VALUES (?,?,?))");
    EXPECT_EQ(calls[2], "bind 1 1 -8 3 0");
    EXPECT_EQ(calls[3], "bind 2 1 -9 7 0");
    EXPECT_EQ(calls[4], "bind 3 1 -10 32000 0");
    EXPECT_TRUE(calls[5].starts_with("execute 1=\xe2\x82\xac 2=Gr\xc3\xbc\xc3\x9f"
                                     "e 3=xxx"));
    EXPECT_EQ(calls[6], "commit");
}

TEST_F(ScriptedInsert, InformationFromExecuteIsShownAndTheRowCountsAsStored)
{
    connect("execute info\n"
            "record 01000 0 [Scripted] NOTICE: row checked by a trigger\n");

    EXPECT_EQ(insert({"a"}), InsertOutcome::Stored);
    EXPECT_EQ(insert({"b"}), InsertOutcome::Stored);

    const std::vector<Message> expected{infoBox(
        "SQL Error State:01000, Native Error Code: 0, ODBC Error: [Scripted] NOTICE: row checked "
        "by a trigger")};
    EXPECT_EQ(m_sink.shown, expected);
    const std::vector<std::string> calls{
        "connect",         R"(prepare INSERT INTO "T" ("A") VALUES (?))",
        "bind 1 1 12 1 0", "execute 1=a",
        "commit",          "bind 1 1 12 1 0",
        "execute 1=b",     "commit"};
    EXPECT_EQ(log(), calls);
}

TEST_F(ScriptedInsert, OnADriverThatAlwaysCommitsAFailingCommitIsShownAndTheRowCountsAsStored)
{
    writeBytes(m_script, "commit error\n"
                         "record 25000 17 [Scripted] commit refused\n");
    ASSERT_TRUE(m_odbc.connectDataSource(connectString() + ";AUTOCOMMIT=ALWAYS"));

    EXPECT_EQ(insert({"a"}), InsertOutcome::Stored);

    const std::vector<Message> expected{
        errorBox("SQL Error State:25000, Native Error Code: 11, ODBC Error: [Scripted] commit "
                 "refused")};
    EXPECT_EQ(m_sink.shown, expected);
    EXPECT_FALSE(m_odbc.reconnectPending());
}

TEST_F(ScriptedInsert, AFailingCommitLosesTheRowAndRollsBack)
{
    connect("commit error\n"
            "record 25000 17 [Scripted] commit refused\n");

    EXPECT_EQ(insert({"a"}), InsertOutcome::Failed);
    EXPECT_EQ(insert({"b"}), InsertOutcome::Stored);

    const std::vector<Message> expected{
        errorBox("SQL Error State:25000, Native Error Code: 11, ODBC Error: [Scripted] commit "
                 "refused")};
    EXPECT_EQ(m_sink.shown, expected);
    const std::vector<std::string> calls{
        "connect",         R"(prepare INSERT INTO "T" ("A") VALUES (?))",
        "bind 1 1 12 1 0", "execute 1=a",
        "commit",          "rollback",
        "bind 1 1 12 1 0", "execute 1=b",
        "commit"};
    EXPECT_EQ(log(), calls);
}

TEST_F(ScriptedInsert, ThreeRecordsOf150CharactersFillTwoBoxes)
{
    // Each record formats to 150 characters: 57 of frame and 93 of message.
    const std::string text93 = "[Scripted] " + std::string(82, 'm');
    connect("execute error\n"
            "record 44000 7 " +
            text93 +
            "\n"
            "record 40001 7 " +
            text93 +
            "\n"
            "record 22001 7 " +
            text93 + "\n");

    EXPECT_EQ(insert({"a"}), InsertOutcome::Failed);

    const std::string frame = ", Native Error Code: 7, ODBC Error: ";
    const std::string first = "SQL Error State:44000" + frame + text93;
    const std::string second = "SQL Error State:40001" + frame + text93;
    const std::string third = "SQL Error State:22001" + frame + text93;
    ASSERT_EQ(first.size(), 150u);
    const std::vector<Message> expected{errorBox(first + "\n" + second), errorBox(third, true)};
    EXPECT_EQ(m_sink.shown, expected);
    const std::vector<std::string> calls = log();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "execute 1=a");
    EXPECT_EQ(calls.back(), "rollback");
}

// A message box runs the event loop, where the row being picked may change.
class RowChangingSink : public RecordingSink
{
public:
    explicit RowChangingSink(std::vector<std::string> &row) : m_row(row) {}
    MessageAnswer show(const Message &message) override
    {
        for (std::string &value : m_row)
            value = std::string(100, 'x');
        return RecordingSink::show(message);
    }

private:
    std::vector<std::string> &m_row;
};

TEST_F(ScriptedInsert, InformationFromPreparingAndBindingIsShownAfterTheRowExecuted)
{
    writeBytes(m_script, "prepare info\n"
                         "record 01S02 0 [Scripted] option value changed\n"
                         "bind info\n"
                         "record 01004 0 [Scripted] data truncated\n");
    std::vector<std::string> row{"a", "b"};
    RowChangingSink sink(row);
    OdbcConnection odbc(sink);
    ASSERT_TRUE(odbc.connectDataSource(connectString()));

    EXPECT_EQ(odbc.insertRow("T", std::span(m_fields).first(2), row), InsertOutcome::Stored);

    // One box for each call, as the call answered.
    const std::vector<Message> expected{
        infoBox("SQL Error State:01S02, Native Error Code: 0, ODBC Error: [Scripted] option value "
                "changed"),
        infoBox(
            "SQL Error State:01004, Native Error Code: 0, ODBC Error: [Scripted] data truncated")};
    EXPECT_EQ(sink.shown, expected);
    const std::vector<std::string> calls{
        "connect",         R"(prepare INSERT INTO "T" ("A", "B") VALUES (?,?))",
        "bind 1 1 12 1 0", "bind 2 1 12 1 0",
        "execute 1=a 2=b", "commit"};
    EXPECT_EQ(log(), calls);
}

TEST_F(ScriptedInsert, TheStatementStaysPreparedWhileTheSameColumnsGetValues)
{
    connect("execute error\n"
            "record 23000 0 [Scripted] duplicate\n"
            "execute success\n"
            "execute success\n"
            "execute error\n"
            "record 23000 0 [Scripted] duplicate\n");

    EXPECT_EQ(insert({"a", "", "c"}), InsertOutcome::Failed);
    EXPECT_EQ(insert({"a", "", "c"}), InsertOutcome::Stored);
    EXPECT_EQ(insert({"aa", "", "cc"}), InsertOutcome::Stored);
    EXPECT_EQ(insert({"a", "b"}), InsertOutcome::Failed);
    EXPECT_EQ(insert({"a", "b"}), InsertOutcome::Stored);
    EXPECT_EQ(insert({"x", "y"}), InsertOutcome::Stored);
    EXPECT_EQ(insert({"z"}), InsertOutcome::Stored);
    EXPECT_EQ(m_odbc.insertRow("U", m_fields, std::vector<std::string>{"u"}),
              InsertOutcome::Stored);

    const std::string ac = R"(prepare INSERT INTO "T" ("A", "C") VALUES (?,?))";
    const std::string ab = R"(prepare INSERT INTO "T" ("A", "B") VALUES (?,?))";
    const std::vector<std::string> expected{
        "connect", ac, "bind 1 1 12 1 0", "bind 2 1 12 1 0", "execute 1=a 2=c", "rollback",
        // After a failure the statement is prepared afresh.
        ac, "bind 1 1 12 1 0", "bind 2 1 12 1 0", "execute 1=a 2=c", "commit", "bind 1 1 12 2 0",
        "bind 2 1 12 2 0", "execute 1=aa 2=cc", "commit", ab, "bind 1 1 12 1 0", "bind 2 1 12 1 0",
        "execute 1=a 2=b", "rollback", ab, "bind 1 1 12 1 0", "bind 2 1 12 1 0", "execute 1=a 2=b",
        "commit", "bind 1 1 12 1 0", "bind 2 1 12 1 0", "execute 1=x 2=y", "commit",
        // A statement with fewer markers keeps none of the earlier parameters.
        R"(prepare INSERT INTO "T" ("A") VALUES (?))", "bind 1 1 12 1 0", "execute 1=z", "commit",
        // Another table, the same columns.
        R"(prepare INSERT INTO "U" ("A") VALUES (?))", "bind 1 1 12 1 0", "execute 1=u", "commit"};
    EXPECT_EQ(log(), expected);
}

// A row whose statement finds the connection gone was not committed: it is sent once more, on a
// new connection (a restarted server, a standby promoted in the primary's place), and only once.
TEST_F(ScriptedInsert, ARowThatMeetsALostConnectionIsSentOnceMoreOnANewOne)
{
    connect("execute error\n"
            "record 08S01 0 [Scripted] server closed the connection\n"
            "---\n"
            "execute success\n"
            "execute error\n"
            "record 57P01 0 [Scripted] terminating connection due to administrator command\n"
            "---\n"
            "connect error\n"
            "record 08001 0 [Scripted] server still down\n"
            "---\n");

    EXPECT_EQ(insert({"a"}), InsertOutcome::Stored);
    EXPECT_EQ(insert({"b"}), InsertOutcome::Failed);
    EXPECT_TRUE(m_odbc.reconnectPending());
    EXPECT_EQ(insert({"c"}), InsertOutcome::Stored);
    EXPECT_FALSE(m_odbc.reconnectPending());

    EXPECT_EQ(m_sink.shown, std::vector<Message>{errorBox("SQL Error State:08001, Native Error "
                                                          "Code: 0, ODBC Error: [Scripted] server "
                                                          "still down")});
    const std::string prepare = R"(prepare INSERT INTO "T" ("A") VALUES (?))";
    const std::vector<std::string> calls{
        "connect",         prepare,           "bind 1 1 12 1 0", "execute 1=a", "disconnect",
        "connect",         prepare,           "bind 1 1 12 1 0", "execute 1=a", "commit",
        "bind 1 1 12 1 0", "execute 1=b",     "disconnect",      "connect",     "connect",
        prepare,           "bind 1 1 12 1 0", "execute 1=c",     "commit"};
    EXPECT_EQ(log(), calls);
}

// A commit whose answer never came may have been made: the row is neither stored nor failed, it
// is in doubt, said so, and never sent again by itself.
TEST_F(ScriptedInsert, ALostConnectionAtCommitLeavesTheRowInDoubt)
{
    connect("commit error\n"
            "record 08S01 0 [Scripted] gone\n"
            "---\n");

    EXPECT_EQ(insert({"a"}), InsertOutcome::InDoubt);
    EXPECT_TRUE(m_odbc.reconnectPending());
    EXPECT_EQ(insert({"b"}), InsertOutcome::Stored);

    const std::string prepare = R"(prepare INSERT INTO "T" ("A") VALUES (?))";
    const std::vector<std::string> calls{
        "connect", prepare, "bind 1 1 12 1 0", "execute 1=a", "commit", "disconnect",
        "connect", prepare, "bind 1 1 12 1 0", "execute 1=b", "commit"};
    EXPECT_EQ(log(), calls);
    EXPECT_EQ(
        m_sink.shown,
        (std::vector<Message>{
            Message{"The connection was lost while the row was being stored. It may have "
                    "been stored: check before entering it again.",
                    "Quillon: Warning", MessageIcon::Exclamation, MessageButtons::Ok},
            errorBox("SQL Error State:08S01, Native Error Code: 0, ODBC Error: [Scripted] gone")}));
}

TEST_F(ScriptedInsert, TheConnectionHasTimeoutsAndCommitsOnlyWhatTheInsertCommits)
{
    connect("");
    EXPECT_EQ(insert({"a"}), InsertOutcome::Stored);

    const std::vector<std::string> expected{"connect " + connectString(),
                                            "set login timeout 15",
                                            "set autocommit off",
                                            "set query timeout 30",
                                            R"(prepare INSERT INTO "T" ("A") VALUES (?))",
                                            "bind 1 1 12 1 0",
                                            "execute 1=a",
                                            "commit"};
    EXPECT_EQ(readLines(m_log), expected);
}

// The identifier quote that the driver gives, doubled inside names; a blank gives the names as
// they stand, no answer the double quote.
TEST_F(ScriptedInsert, NamesAreQuotedAsTheDriverSays)
{
    const struct
    {
        const char *option;
        const char *quote;
        const char *statement;
    } cases[] = {
        {"", "\"", R"(prepare INSERT INTO "a""b`c" ("x y", "q""", "b`") VALUES (?,?,?))"},
        {";QUOTE=`", "`", "prepare INSERT INTO `a\"b``c` (`x y`, `q\"`, `b```) VALUES (?,?,?)"},
        {";QUOTE=none", "\"",
         R"(prepare INSERT INTO "a""b`c" ("x y", "q""", "b`") VALUES (?,?,?))"},
        {";QUOTE=blank", "", "prepare INSERT INTO a\"b`c (x y, q\", b`) VALUES (?,?,?)"},
        {";QUOTE=[]", "[]",
         "prepare INSERT INTO []a\"b`c[] ([]x y[], []q\"[], []b`[]) VALUES (?,?,?)"},
    };
    std::vector<FieldDescription> fields{
        field("x y", SQL_VARCHAR, 50), field("q\"", SQL_VARCHAR, 50), field("b`", SQL_VARCHAR, 50)};
    writeBytes(m_script, "");
    for (const auto &c : cases) {
        std::filesystem::remove(m_log);
        ASSERT_TRUE(m_odbc.connectDataSource(connectString() + c.option)) << c.option;
        EXPECT_EQ(m_odbc.identifierQuote(), c.quote) << c.option;
        EXPECT_EQ(m_odbc.insertRow("a\"b`c", fields, std::vector<std::string>{"1", "2", "3"}),
                  InsertOutcome::Stored);
        EXPECT_EQ(log().at(1), c.statement) << c.option;
        m_odbc.disconnectDataSource();
    }
    EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(ScriptedInsert, WhereTransactionsTakePreparedStatementsAwayEachRowPreparesAgain)
{
    writeBytes(m_script, "execute error\n"
                         "record 23000 0 [Scripted] duplicate\n");
    ASSERT_TRUE(m_odbc.connectDataSource(connectString() + ";CURSORS=DELETE"));

    EXPECT_EQ(insert({"a"}), InsertOutcome::Failed);
    EXPECT_EQ(insert({"b"}), InsertOutcome::Stored);
    EXPECT_EQ(insert({"c"}), InsertOutcome::Stored);

    const std::string prepare = R"(prepare INSERT INTO "T" ("A") VALUES (?))";
    const std::vector<std::string> calls{"connect",  prepare, "bind 1 1 12 1 0", "execute 1=a",
                                         "rollback", prepare, "bind 1 1 12 1 0", "execute 1=b",
                                         "commit",   prepare, "bind 1 1 12 1 0", "execute 1=c",
                                         "commit"};
    EXPECT_EQ(log(), calls);
    EXPECT_EQ(m_sink.shown.size(), 1u);
}

TEST_F(ScriptedInsert, WithoutAConnectionAnInsertConnectsFirst)
{
    writeBytes(m_script, "connect error\n"
                         "record 08001 0 [Scripted] refused\n"
                         "---\n");
    EXPECT_FALSE(m_odbc.connectDataSource(connectString()));
    EXPECT_FALSE(m_odbc.connected());

    EXPECT_EQ(insert({"a"}), InsertOutcome::Stored);

    EXPECT_EQ(m_sink.shown,
              (std::vector<Message>{errorBox(
                  "SQL Error State:08001, Native Error Code: 0, ODBC Error: [Scripted] refused")}));
    EXPECT_EQ(log().back(), "commit");
}

} // namespace
