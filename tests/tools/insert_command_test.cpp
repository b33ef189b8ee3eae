// SPDX-License-Identifier: MIT
// quillon-row insert: the row of "check" stored through ODBC, diagnostics on stderr as caption
// and text, exit 0 when the row was stored and 1 when not. SQLite on a file in a temporary
// folder and the tests' PostgreSQL server (fixture "Postgres").

#include <sys/wait.h>

#include <cstdio>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/support/databases.h"
#include "tools/rowtool.h"

namespace {

struct ToolRun
{
    int status;
    std::string out;
    std::string err;
};

ToolRun runTool(const std::vector<std::string> &args)
{
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    const int status = runRowTool(args, in, out, err);
    return ToolRun{status, out.str(), err.str()};
}

const std::vector<FieldRow> PeopleFields{
    {"Name", "Name", "", "VARCHAR(50)", "50", "Yes", "12"},
    {"Born", "Born", "", "DATE", "10", "No", "9"},
    {"Id", "Id", "", "INTEGER", "4", "Yes", "4"},
};

class InsertCommand : public testing::Test
{
protected:
    // A description of the table People over `connectString`.
    std::string describe(const std::string &connectString)
    {
        const std::string path = (m_folder.path() / "people.dtd").string();
        EXPECT_TRUE(saveTableDescription(path, connectString, "People", PeopleFields));
        return path;
    }

    TemporaryFolder m_folder;
};

TEST_F(InsertCommand, StoresTheCheckedRowInSqlite)
{
    const std::string database = sqliteConnectString(m_folder.path() / "people.sqlite");
    DatabaseSession session(database);
    session.execute("CREATE TABLE People (Name VARCHAR(50) NOT NULL, Born DATE, Id INTEGER "
                    "PRIMARY KEY)");
    const std::string dtd = describe(database);

    const ToolRun stored = runTool({"insert", dtd, "Name=Smith", "Born=Dec 31, 1999", "Id=1,001"});
    const ToolRun refused = runTool({"insert", dtd, "Name=Jones", "Born=13/01/1999", "Id=2"});
    const ToolRun duplicate = runTool({"insert", dtd, "Name=Jones", "Id=1001"});
    const ToolRun missing = runTool({"insert", dtd, "Born=01/02/2003"});

    EXPECT_EQ(stored.status, 0);
    EXPECT_EQ(stored.err, "");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "Born: Invalid format or value.\n(Format: MM/DD/YYYY)\n");
    EXPECT_EQ(duplicate.status, 1);
    EXPECT_EQ(duplicate.err, "SQL_ERROR results\n"
                             "SQL Error State:S1000, Native Error Code: 13, ODBC Error: "
                             "[SQLite]UNIQUE constraint failed: People.Id (19)\n");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Name: a value is required\n");
    EXPECT_EQ(session.query("SELECT Name, Born, Id FROM People"),
              (Rows{{"Smith", "1999-12-31", "1001"}}));
}

TEST_F(InsertCommand, ReportsAnUnknownDataSource)
{
    const ToolRun r =
        runTool({"insert", describe("DSN=NoSuchQuillonSource"), "Name=Smith", "Id=1"});

    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "SQL_ERROR results\n"
                     "SQL Error State:IM002, Native Error Code: 0, ODBC Error: [unixODBC][Driver "
                     "Manager]Data source name not found and no default driver specified\n");
}

TEST_F(InsertCommand, StoresTheRowInPostgresAndShowsANotice)
{
    const std::string database = postgresConnectString();
    ASSERT_FALSE(database.empty()) << "the PostgreSQL fixture is not running";
    DatabaseSession session(database);
    session.execute("DROP TABLE IF EXISTS \"People\" CASCADE");
    session.execute("CREATE TABLE \"People\" (\"Name\" varchar(50) NOT NULL, \"Born\" date, "
                    "\"Id\" integer PRIMARY KEY)");
    session.execute("CREATE OR REPLACE FUNCTION people_note() RETURNS trigger LANGUAGE plpgsql "
                    "AS $$ BEGIN RAISE NOTICE 'welcome %', NEW.\"Name\"; RETURN NEW; END $$");
    session.execute("CREATE TRIGGER note BEFORE INSERT ON \"People\" FOR EACH ROW EXECUTE "
                    "FUNCTION people_note()");

    const ToolRun r =
        runTool({"insert", describe("ODBC;DSN=QuillonPostgres"), "Name=Sm\xc3\xaft\"h", "Id=7"});

    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "SQL_SUCCESS_WITH_INFO results\n"
                     "SQL Error State:00000, Native Error Code: FFFFFFFF, ODBC Error: NOTICE: "
                     "welcome Sm\xc3\xaft\"h\n");
    EXPECT_EQ(session.query("SELECT \"Name\", \"Born\", \"Id\" FROM \"People\""),
              (Rows{{"Sm\xc3\xaft\"h", std::nullopt, "7"}}));
}

TEST_F(InsertCommand, TheProgramExitsWithTheInsertsResult)
{
    const std::string database = sqliteConnectString(m_folder.path() / "people.sqlite");
    DatabaseSession session(database);
    session.execute("CREATE TABLE People (Name VARCHAR(50) NOT NULL, Born DATE, Id INTEGER "
                    "PRIMARY KEY)");
    const std::string dtd = describe(database);
    const std::string command = std::string("'") + QUILLON_ROW_PROGRAM + "' insert '" + dtd +
                                "' Name=Smith Id=5 2>'" + (m_folder.path() / "err").string() + "'";

    const int first = std::system(command.c_str());
    const int second = std::system(command.c_str());

    ASSERT_TRUE(WIFEXITED(first) && WIFEXITED(second));
    EXPECT_EQ(WEXITSTATUS(first), 0);
    EXPECT_EQ(WEXITSTATUS(second), 1);
    EXPECT_EQ(readBytes(m_folder.path() / "err"),
              "SQL_ERROR results\n"
              "SQL Error State:S1000, Native Error Code: 13, ODBC Error: [SQLite]UNIQUE "
              "constraint failed: People.Id (19)\n");
    EXPECT_EQ(session.scalar("SELECT COUNT(*) FROM People"), "1");
}

// A row whose commit never got its answer may be stored: the tool says so and exits 3, so that
// a script does not enter it again blindly.
TEST_F(InsertCommand, ARowInDoubtHasAStatusOfItsOwn)
{
    const std::filesystem::path script = m_folder.path() / "script";
    writeBytes(script, "commit error\nrecord 08S01 0 [Scripted] gone\n");
    const std::string dtd = describe(scriptedConnectString(script, m_folder.path() / "log"));

    const ToolRun run = runTool({"insert", dtd, "Name=Smith", "Id=5"});

    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err,
              "Quillon: Warning\n"
              "The connection was lost while the row was being stored. It may have been "
              "stored: check before entering it again.\n"
              "SQL_ERROR results\n"
              "SQL Error State:08S01, Native Error Code: 0, ODBC Error: [Scripted] gone\n");
}

TEST_F(InsertCommand, TheProgramRefusesADescriptionThatNamesALibraryOfItsOwn)
{
    const TemporaryFolder markers;
    const std::string dtd = describe(std::string("DRIVER=") + QUILLON_MARKER_A + ";");
    const std::string command = "QUILLON_MARKER_DIR='" + markers.path().string() + "' '" +
                                QUILLON_ROW_PROGRAM + "' insert '" + dtd + "' Name=Smith Id=5 2>'" +
                                (m_folder.path() / "err").string() + "'";

    const int status = std::system(command.c_str());

    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(readBytes(m_folder.path() / "err"),
              std::string("Quillon: Warning\n"
                          "Not connected: DRIVER \"") +
                  QUILLON_MARKER_A +
                  "\" in the connection string is neither an ODBC driver installed on this "
                  "computer nor the library of one.\n\n"
                  "Only the drivers of your own ODBC configuration are loaded, so that a "
                  "connection string from someone else cannot run a library of its choosing. "
                  "Name an installed driver, or a data source of your configuration with DSN=.\n");
    EXPECT_TRUE(std::filesystem::is_empty(markers.path()));
}

} // namespace
