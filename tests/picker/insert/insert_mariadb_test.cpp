// Rows inserted through MariaDB Connector/ODBC into the tests' own MariaDB server (fixture
// "MariaDB"), with descriptions made from the driver's own catalogue, in the server's default SQL
// mode (names quoted with the backtick) and in ANSI_QUOTES mode (the driver then gives the double
// quote); read back through a separate connection.

#include <gtest/gtest.h>

#include "fieldvalues/fieldtypes.h"
#include "odbc/handles.h"
#include "picker/insert/insert.h"
#include "tests/support/databases.h"

namespace {

// A name in backticks, as the tests' own statements write it in either mode.
std::string Ticked(const std::string &name)
{
    std::string quoted = "`";
    for (char c : name) {
        if (c == '`')
            quoted += '`';
        quoted += c;
    }
    return quoted + "`";
}

struct SqlMode
{
    const char *name;
    // What the connection string adds for the mode, as a user's data source would.
    const char *option;
    const char *quote;
};

void PrintTo(const SqlMode &mode, std::ostream *out)
{
    *out << mode.name;
}

class MariaDbInsert : public testing::TestWithParam<SqlMode>
{
protected:
    void SetUp() override
    {
        const std::string base = MariaDbConnectString();
        ASSERT_FALSE(base.empty()) << "the MariaDB fixture is not running";
        m_connectString = base + GetParam().option;
        m_session = std::make_unique<DatabaseSession>(base);
        // Each test has a table of its own (names hold 64 characters), with a blank and the quote
        // characters of both modes in its name.
        const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = test->name();
        m_table =
            "t`q\" " + name.substr(0, std::min<std::size_t>(name.find('/'), 30)) + GetParam().name;
        m_session->execute("DROP TABLE IF EXISTS " + Ticked(m_table));
    }

    void TearDown() override
    {
        if (m_session)
            m_session->execute("DROP TABLE IF EXISTS " + Ticked(m_table));
    }

    std::string readBack(const CatalogCase &c, int id)
    {
        std::string expression = c.readBack;
        expression.replace(expression.find('%'), 1, Ticked(c.column));
        return m_session->scalar("SELECT " + expression + " FROM " + Ticked(m_table) +
                                 " WHERE id = " + std::to_string(id));
    }

    std::string m_connectString;
    std::unique_ptr<DatabaseSession> m_session;
    std::string m_table;
    RecordingSink m_sink;
    OdbcConnection m_odbc{m_sink};
};

const std::vector<CatalogCase> &Cases()
{
    static const std::vector<CatalogCase> cases{
        {"b", "BIT(1)", SQL_BIT, "1", "1", "%+0"},
        {"ti", "TINYINT", SQL_TINYINT, "-128", "-128"},
        {"si", "SMALLINT", SQL_SMALLINT, "-32768", "-32768"},
        {"i", "INT", SQL_INTEGER, "2147483647", "2147483647"},
        {"bi", "BIGINT", SQL_BIGINT, "-9223372036854775808", "-9223372036854775808"},
        // Every character column is wide, its LENGTH in bytes of utf8mb4: CHAR(1) takes a
        // three-byte character.
        {"c1", "CHAR(1)", SQL_WCHAR, "\xe2\x82\xac", "\xe2\x82\xac"},
        {"c", "CHAR(10)", SQL_WCHAR, "ab", "ab"},
        {"vc", "VARCHAR(50)", SQL_WVARCHAR,
         "Gr\xc3\xbc\xc3\x9f"
         "e, \xe2\x82\xac",
         "Gr\xc3\xbc\xc3\x9f"
         "e, \xe2\x82\xac"},
        {"t", "TEXT", SQL_WLONGVARCHAR, "line one\nline two 'q' \\ \"x\" `y` \xc3\xbc",
         "line one\nline two 'q' \\ \"x\" `y` \xc3\xbc"},
        {"lat", "VARCHAR(20) CHARACTER SET latin1", SQL_WVARCHAR, "caf\xc3\xa9", "caf\xc3\xa9"},
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
    };
    return cases;
}

TEST_P(MariaDbInsert, EveryFieldClassFromTheCatalogueIsStoredAsItsValueReads)
{
    std::string columns;
    for (const CatalogCase &c : Cases())
        columns += ", " + Ticked(c.column) + " " + c.declaredType;
    m_session->execute("CREATE TABLE " + Ticked(m_table) + " (id INT AUTO_INCREMENT PRIMARY KEY" +
                       columns + ")");
    std::vector<FieldDescription> fields =
        FieldsFromCatalog(ReadCatalog(m_connectString, m_table), Cases());
    ASSERT_EQ(fields.size(), Cases().size());

    // The values as the picker leaves them after its checks.
    std::vector<std::string> values;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::string value = Cases()[i].value;
        std::string error;
        EXPECT_TRUE(CheckFieldValue(value, fields[i].sqlType, fields[i].length, error))
            << Cases()[i].column << ": " << error;
        values.push_back(value);
    }

    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);
    EXPECT_EQ(m_odbc.identifierQuote(), GetParam().quote);
    ASSERT_EQ(m_odbc.InsertRow(m_table, fields, values), 0) << m_odbc.statementText();
    // The same columns again, through the statement that stays prepared.
    std::vector<std::string> second = values;
    second[7] = "Jones-Smithers";
    second[14] = "01/02/2003";
    ASSERT_EQ(m_odbc.InsertRow(m_table, fields, second), 0);

    EXPECT_TRUE(m_sink.shown.empty());
    EXPECT_EQ(m_odbc.prepareCount(), 1);
    for (const CatalogCase &c : Cases())
        EXPECT_EQ(readBack(c, 1), c.stored) << c.column << " " << c.declaredType;
    EXPECT_EQ(readBack(Cases()[7], 2), "Jones-Smithers");
    EXPECT_EQ(readBack(Cases()[14], 2), "2003-01-02");
}

TEST_P(MariaDbInsert, ARefusedRowIsTakenBackAndTheNextOneIsStored)
{
    m_session->execute("CREATE TABLE " + Ticked(m_table) +
                       " (id INT PRIMARY KEY, name VARCHAR(5) NOT NULL)");
    std::vector<FieldDescription> fields{Field("id", SQL_INTEGER, 4, 1),
                                         Field("name", SQL_WVARCHAR, 20)};
    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);

    ASSERT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"1", "first"}), 0);
    EXPECT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"1", "again"}), 1);
    // Five characters of utf8mb4 fit, six do not, whatever their bytes.
    EXPECT_EQ(
        m_odbc.InsertRow(m_table, fields,
                         std::vector<std::string>{"2", "\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc"}),
        0);
    EXPECT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"3", "sixsix"}), 1);
    EXPECT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"4", "four"}), 0);

    ASSERT_EQ(m_sink.shown.size(), 2u);
    EXPECT_EQ(m_sink.shown[0].caption, "SQL_ERROR results");
    EXPECT_TRUE(m_sink.shown[0].text.starts_with("SQL Error State:23000, Native Error Code: 426"))
        << m_sink.shown[0].text;
    EXPECT_TRUE(m_sink.shown[0].text.ends_with("Duplicate entry '1' for key 'PRIMARY'"))
        << m_sink.shown[0].text;
    EXPECT_TRUE(m_sink.shown[1].text.starts_with("SQL Error State:22001, Native Error Code: 57E"))
        << m_sink.shown[1].text;
    EXPECT_EQ(
        m_session->query("SELECT id, name FROM " + Ticked(m_table) + " ORDER BY id"),
        (Rows{{"1", "first"}, {"2", "\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc"}, {"4", "four"}}));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, MariaDbInsert,
    testing::Values(SqlMode{"Default", "", "`"},
                    SqlMode{"AnsiQuotes",
                            ";INITSTMT=SET SESSION sql_mode=CONCAT(@@sql_mode, ',ANSI_QUOTES')",
                            "\""}),
    [](const testing::TestParamInfo<SqlMode> &mode) { return std::string(mode.param.name); });

// The driver's completed connection string is the one given: the timeout keys that connecting
// adds for this driver stay out of it (the wizard stores it in the description).
TEST(MariaDbConnection, TheCompletedStringLeavesOutTheAddedTimeouts)
{
    const std::string connectString = MariaDbConnectString();
    ASSERT_FALSE(connectString.empty()) << "the MariaDB fixture is not running";
    OdbcEnvironment environment;
    OdbcConnectionHandle connection;
    ASSERT_TRUE(Succeeded(environment.allocate()));
    ASSERT_TRUE(Succeeded(connection.allocate(environment.get())));
    std::string completed;
    ASSERT_TRUE(Succeeded(connection.connect(connectString, &completed)));
    EXPECT_EQ(completed, connectString);

    OdbcConnectionHandle ownTimeouts;
    ASSERT_TRUE(Succeeded(ownTimeouts.allocate(environment.get())));
    ASSERT_TRUE(Succeeded(ownTimeouts.connect(connectString + ";READ_TIMEOUT=5", &completed)));
    EXPECT_EQ(completed, connectString + ";READ_TIMEOUT=5");
}

} // namespace
