// Rows inserted through psqlODBC into the tests' own PostgreSQL server (fixture "Postgres"), and
// read back through a separate connection.

#include <gtest/gtest.h>

#include "fieldvalues/fieldtypes.h"
#include "odbc/handles.h"
#include "picker/insert/insert.h"
#include "tests/support/databases.h"

namespace {

class PostgresInsert : public testing::Test
{
protected:
    void SetUp() override
    {
        m_connectString = PostgresConnectString();
        ASSERT_FALSE(m_connectString.empty()) << "the PostgreSQL fixture is not running";
        m_session = std::make_unique<DatabaseSession>(m_connectString);
        // Each test has tables of its own, so that tests can run side by side.
        const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
        m_table = std::string("t_") + test->name();
        m_session->execute("DROP TABLE IF EXISTS \"" + m_table + "\" CASCADE");
    }

    std::string m_connectString;
    std::unique_ptr<DatabaseSession> m_session;
    std::string m_table;
    RecordingSink m_sink;
    OdbcConnection m_odbc{m_sink};
};

const std::vector<FieldClassCase> &ClassCases()
{
    static const std::vector<FieldClassCase> cases{
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
        {"ts", "timestamp", SQL_TIMESTAMP, 26, "12/31/1999 23:59:59", "1999-12-31 23:59:59"},
        {"ts2", "timestamp", SQL_TIMESTAMP, 26, "02/29/2000", "2000-02-29 00:00:00"},
    };
    return cases;
}

TEST_F(PostgresInsert, EveryFieldClassIsStoredAsItsValueReads)
{
    FieldClassRow row = RowOfEveryCase(ClassCases());
    m_session->execute("CREATE TABLE \"" + m_table + "\" (id serial, " + row.columns + ")");
    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);

    ASSERT_EQ(m_odbc.InsertRow(m_table, row.fields, row.values), 0);
    // The same columns again, through the statement that stays prepared.
    std::vector<std::string> second = row.values;
    second[6] = "Jones-Smithers";
    second[13] = "01/02/2003";
    ASSERT_EQ(m_odbc.InsertRow(m_table, row.fields, second), 0);

    EXPECT_TRUE(m_sink.shown.empty());
    for (const FieldClassCase &c : ClassCases()) {
        EXPECT_EQ(m_session->scalar(std::string("SELECT CAST(") + c.column + " AS text) FROM \"" +
                                    m_table + "\" WHERE id = 1"),
                  c.stored)
            << c.declaredType;
    }
    EXPECT_EQ(m_session->query("SELECT vc, CAST(dt AS text) FROM \"" + m_table + "\" WHERE id = 2"),
              (Rows{{"Jones-Smithers", "2003-01-02"}}));
}

TEST_F(PostgresInsert, EmptyValuesAreLeftOutAndTheOthersGoToTheirColumns)
{
    m_session->execute("CREATE TABLE \"" + m_table +
                       "\" (id serial, \"A\" text, \"B\" text DEFAULT 'b', \"C\" integer, "
                       "\"D\" text DEFAULT 'd')");
    std::vector<FieldDescription> fields{Field("A", SQL_VARCHAR, 50), Field("B", SQL_VARCHAR, 50),
                                         Field("C", SQL_INTEGER, 4), Field("D", SQL_VARCHAR, 50)};
    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);

    ASSERT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"a", "", "3", ""}), 0);
    ASSERT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"", "x", "", ""}), 0);
    ASSERT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"", "", "", "y"}), 0);

    const Rows expected{{"a", "b", "3", "d"},
                        {std::nullopt, "x", std::nullopt, "d"},
                        {std::nullopt, "b", std::nullopt, "y"}};
    EXPECT_EQ(
        m_session->query("SELECT \"A\", \"B\", \"C\", \"D\" FROM \"" + m_table + "\" ORDER BY id"),
        expected);
}

TEST_F(PostgresInsert, ADataSourceNameWithOrWithoutOdbcPrefixConnects)
{
    m_session->execute("CREATE TABLE \"" + m_table + "\" (id serial, a text)");
    std::vector<FieldDescription> fields{Field("a", SQL_VARCHAR, 50)};

    for (const std::string prefix : {"", "ODBC;"}) {
        ASSERT_EQ(m_odbc.ConnectDataSource(prefix + "DSN=QuillonPostgres"), 0) << prefix;
        ASSERT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{prefix + "dsn"}), 0);
        m_odbc.DisconnectDataSource();
    }

    EXPECT_EQ(m_session->query("SELECT a FROM \"" + m_table + "\" ORDER BY id"),
              (Rows{{"dsn"}, {"ODBC;dsn"}}));
    EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(PostgresInsert, EitherInstalledPostgresDriverConnectsByName)
{
    m_session->execute("CREATE TABLE \"" + m_table + "\" (id serial, a text)");
    std::vector<FieldDescription> fields{Field("a", SQL_VARCHAR, 50)};

    for (const std::string driver : {"PostgreSQL Unicode", "{PostgreSQL ANSI}"}) {
        ASSERT_EQ(m_odbc.ConnectDataSource("DRIVER=" + driver + ";Servername=127.0.0.1;Port=" +
                                           PostgresPort() + ";Database=quillon;Username=postgres"),
                  0)
            << driver;
        ASSERT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{driver}), 0);
        m_odbc.DisconnectDataSource();
    }

    EXPECT_EQ(m_session->query("SELECT a FROM \"" + m_table + "\" ORDER BY id"),
              (Rows{{"PostgreSQL Unicode"}, {"{PostgreSQL ANSI}"}}));
    EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(PostgresInsert, ARefusedConnectionIsReportedInTheDriversWords)
{
    const std::string port = std::to_string(UnusedPort());

    EXPECT_EQ(m_odbc.ConnectDataSource("DRIVER=PostgreSQL ANSI;Servername=127.0.0.1;Port=" + port +
                                       ";Database=quillon;Username=postgres"),
              1);

    const std::vector<Message> expected{
        {"SQL Error State:08001, Native Error Code: 65, ODBC Error: connection to server at "
         "\"127.0.0.1\", port " +
             port +
             " failed: Connection refused\n"
             "\tIs the server running on that host and accepting TCP/IP connections?\n",
         "SQL_ERROR results", MessageIcon::Exclamation, MessageButtons::Ok}};
    EXPECT_EQ(m_sink.shown, expected);
    EXPECT_FALSE(m_odbc.connected());
}

TEST_F(PostgresInsert, ADuplicateKeyAndANullInARequiredColumnAreRefused)
{
    m_session->execute("CREATE TABLE \"" + m_table +
                       "\" (id integer PRIMARY KEY, name text NOT NULL)");
    std::vector<FieldDescription> fields{Field("id", SQL_INTEGER, 4, 1),
                                         Field("name", SQL_VARCHAR, 50)};
    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);
    ASSERT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"1", "first"}), 0);

    EXPECT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"1", "again"}), 1);
    EXPECT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"2", ""}), 1);
    EXPECT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"3", "third"}), 0);

    const std::vector<Message> expected{
        {"SQL Error State:23505, Native Error Code: 1, ODBC Error: ERROR: duplicate key value "
         "violates unique constraint \"" +
             m_table +
             "_pkey\"\n"
             "DETAIL: Key (id)=(1) already exists.;\n"
             "Error while executing the query",
         "SQL_ERROR results", MessageIcon::Exclamation, MessageButtons::Ok},
        {"SQL Error State:23502, Native Error Code: 1, ODBC Error: ERROR: null value in column "
         "\"name\" of relation \"" +
             m_table +
             "\" violates not-null constraint\n"
             "DETAIL: Failing row contains (2, null).;\n"
             "Error while executing the query",
         "SQL_ERROR results", MessageIcon::Exclamation, MessageButtons::Ok}};
    EXPECT_EQ(m_sink.shown, expected);
    EXPECT_EQ(m_session->query("SELECT id, name FROM \"" + m_table + "\" ORDER BY id"),
              (Rows{{"1", "first"}, {"3", "third"}}));
}

TEST_F(PostgresInsert, ANoticeFromATriggerIsShownAndTheRowIsStoredOnce)
{
    m_session->execute("CREATE TABLE \"" + m_table + "\" (id serial, name text)");
    m_session->execute("CREATE OR REPLACE FUNCTION \"" + m_table +
                       "_note\"() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE NOTICE "
                       "'checked %', NEW.name; RETURN NEW; END $$");
    m_session->execute("CREATE TRIGGER note BEFORE INSERT ON \"" + m_table +
                       "\" FOR EACH ROW EXECUTE FUNCTION \"" + m_table + "_note\"()");
    std::vector<FieldDescription> fields{Field("name", SQL_VARCHAR, 50)};
    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);

    EXPECT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"Smith"}), 0);
    // The statement that stays prepared after the information.
    EXPECT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"Jones"}), 0);

    auto notice = [](const std::string &name) {
        return Message{"SQL Error State:00000, Native Error Code: FFFFFFFF, ODBC Error: NOTICE: "
                       "checked " +
                           name,
                       "SQL_SUCCESS_WITH_INFO results", MessageIcon::Information,
                       MessageButtons::Ok};
    };
    EXPECT_EQ(m_sink.shown, (std::vector<Message>{notice("Smith"), notice("Jones")}));
    EXPECT_EQ(m_session->query("SELECT id, name FROM \"" + m_table + "\" ORDER BY id"),
              (Rows{{"1", "Smith"}, {"2", "Jones"}}));
}

TEST_F(PostgresInsert, ARowWithEveryValueEmptyIsRefusedByTheDriver)
{
    m_session->execute("CREATE TABLE \"" + m_table + "\" (a text, b text)");
    std::vector<FieldDescription> fields{Field("a", SQL_VARCHAR, 50), Field("b", SQL_VARCHAR, 50)};
    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);

    EXPECT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"", ""}), 1);
    // The same statement text right after a row with a value in a.
    ASSERT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"only once", ""}), 0);
    EXPECT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"", ""}), 1);

    const Message refused{"SQL Error State:07002, Native Error Code: 20, ODBC "
                          "Error: Parameters exist but IPD isn't set. Please call "
                          "SQLDescribeParam()",
                          "SQL_ERROR results", MessageIcon::Exclamation, MessageButtons::Ok};
    EXPECT_EQ(m_sink.shown, (std::vector<Message>{refused, refused}));
    EXPECT_EQ(m_session->query("SELECT a, b FROM \"" + m_table + "\""),
              (Rows{{"only once", std::nullopt}}));
}

TEST_F(PostgresInsert, AfterTheServerDroppedTheConnectionTheNextInsertReconnects)
{
    m_session->execute("CREATE TABLE \"" + m_table + "\" (id serial, a text)");
    std::vector<FieldDescription> fields{Field("a", SQL_VARCHAR, 50)};
    ASSERT_EQ(
        m_odbc.ConnectDataSource(m_connectString + ";pqopt={application_name=" + m_table + "}"), 0);
    ASSERT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"before"}), 0);

    // Waits until the server process has gone, so that the next insert meets a closed
    // connection rather than racing its end.
    m_session->execute("SELECT pg_terminate_backend(pid, 10000) FROM pg_stat_activity WHERE "
                       "application_name = '" +
                       m_table + "'");
    EXPECT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"lost"}), 1);
    EXPECT_TRUE(m_odbc.reconnectPending());
    EXPECT_EQ(m_odbc.InsertRow(m_table, fields, std::vector<std::string>{"after"}), 0);

    ASSERT_FALSE(m_sink.shown.empty());
    EXPECT_EQ(m_sink.shown[0].caption, "SQL_ERROR results");
    EXPECT_EQ(m_session->query("SELECT a FROM \"" + m_table + "\" ORDER BY id"),
              (Rows{{"before"}, {"after"}}));
}

// A name in double quotes, as the tests' own statements write it.
std::string Quoted(const std::string &name)
{
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// One of psqlODBC's drivers, and whether the description holds the wide character codes that a
// program reading the catalogue through the drivers' Unicode calls stores (psqlODBC's Unicode
// driver reports -8, -9 and -10 there, 1, 12 and -1 to the ANSI calls the wizard makes).
struct PostgresDriver
{
    const char *name;
    const char *driver;
    bool wideCodes;
};

void PrintTo(const PostgresDriver &driver, std::ostream *out)
{
    *out << driver.name;
}

int WideTwin(int sqlType)
{
    switch (sqlType) {
    case SQL_CHAR:
        return SQL_WCHAR;
    case SQL_VARCHAR:
        return SQL_WVARCHAR;
    case SQL_LONGVARCHAR:
        return SQL_WLONGVARCHAR;
    default:
        return sqlType;
    }
}

class PostgresCatalogInsert : public testing::TestWithParam<PostgresDriver>
{
protected:
    void SetUp() override
    {
        m_connectString = PostgresConnectString(GetParam().driver);
        ASSERT_FALSE(m_connectString.empty()) << "the PostgreSQL fixture is not running";
        m_session = std::make_unique<DatabaseSession>(m_connectString);
        const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        m_table =
            "t\"q` " + name.substr(0, std::min<std::size_t>(name.find('/'), 30)) + GetParam().name;
        m_session->execute("DROP TABLE IF EXISTS " + Quoted(m_table));
    }

    void TearDown() override
    {
        if (m_session)
            m_session->execute("DROP TABLE IF EXISTS " + Quoted(m_table));
    }

    std::string m_connectString;
    std::unique_ptr<DatabaseSession> m_session;
    std::string m_table;
    RecordingSink m_sink;
    OdbcConnection m_odbc{m_sink};
};

const std::vector<CatalogCase> &CatalogCases()
{
    const std::string text = "line one\nline two 'q' \\ \"x\" `y` \xc3\xbc";
    static const std::vector<CatalogCase> cases{
        // psqlODBC reports a boolean as a character column (BoolsAsChar).
        {"b", "boolean", SQL_VARCHAR, "1", "true", "CAST(% AS text)"},
        {"si", "smallint", SQL_SMALLINT, "-32768", "-32768", "CAST(% AS text)"},
        {"i", "integer", SQL_INTEGER, "2147483647", "2147483647", "CAST(% AS text)"},
        {"bi", "bigint", SQL_BIGINT, "9223372036854775807", "9223372036854775807",
         "CAST(% AS text)"},
        // Lengths in bytes of UTF-8: char(1) takes a three-byte character.
        {"c1", "char(1)", SQL_CHAR, "\xe2\x82\xac", "\xe2\x82\xac", "CAST(% AS text)"},
        {"vc", "varchar(50)", SQL_VARCHAR,
         "Gr\xc3\xbc\xc3\x9f"
         "e, \xe2\x82\xac",
         "Gr\xc3\xbc\xc3\x9f"
         "e, \xe2\x82\xac",
         "CAST(% AS text)"},
        {"t", "text", SQL_LONGVARCHAR, text, text, "CAST(% AS text)"},
        {"n", "numeric(10,2)", SQL_NUMERIC, "1234.5", "1234.50", "CAST(% AS text)"},
        {"r", "real", SQL_REAL, "12.5", "12.5", "CAST(% AS text)"},
        {"dbl", "double precision", SQL_FLOAT, "3.141592", "3.141592", "CAST(% AS text)"},
        {"dt", "date", SQL_DATE, "12/31/1999", "1999-12-31", "CAST(% AS text)"},
        {"tm", "time", SQL_TIME, "23:59:59", "23:59:59", "CAST(% AS text)"},
        {"ts", "timestamp", SQL_TIMESTAMP, "12/31/1999 23:59:59", "1999-12-31 23:59:59",
         "CAST(% AS text)"},
        {"first name", "varchar(20)", SQL_VARCHAR, "blank", "blank", "CAST(% AS text)"},
        {"dq\"col", "varchar(20)", SQL_VARCHAR, "dq", "dq", "CAST(% AS text)"},
        {"back`tick", "integer", SQL_INTEGER, "7", "7", "CAST(% AS text)"},
    };
    return cases;
}

TEST_P(PostgresCatalogInsert, EveryFieldClassFromTheCatalogueIsStoredAsItsValueReads)
{
    std::string columns;
    for (const CatalogCase &c : CatalogCases())
        columns += ", " + Quoted(c.column) + " " + c.declaredType;
    m_session->execute("CREATE TABLE " + Quoted(m_table) + " (id serial" + columns + ")");
    std::vector<FieldDescription> fields =
        FieldsFromCatalog(ReadCatalog(m_connectString, m_table), CatalogCases());
    ASSERT_EQ(fields.size(), CatalogCases().size());
    std::vector<std::string> values;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (GetParam().wideCodes)
            fields[i].sqlType = WideTwin(fields[i].sqlType);
        std::string value = CatalogCases()[i].value;
        std::string error;
        EXPECT_TRUE(CheckFieldValue(value, fields[i].sqlType, fields[i].length, error))
            << CatalogCases()[i].column << ": " << error;
        values.push_back(value);
    }

    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);
    EXPECT_EQ(m_odbc.identifierQuote(), "\"");
    ASSERT_EQ(m_odbc.InsertRow(m_table, fields, values), 0) << m_odbc.statementText();

    EXPECT_TRUE(m_sink.shown.empty());
    for (const CatalogCase &c : CatalogCases()) {
        std::string expression = c.readBack;
        expression.replace(expression.find('%'), 1, Quoted(c.column));
        EXPECT_EQ(m_session->scalar("SELECT " + expression + " FROM " + Quoted(m_table)), c.stored)
            << c.column << " " << c.declaredType;
    }
}

INSTANTIATE_TEST_SUITE_P(Drivers, PostgresCatalogInsert,
                         testing::Values(PostgresDriver{"Ansi", "PostgreSQL ANSI", false},
                                         PostgresDriver{"Unicode", "PostgreSQL Unicode", false},
                                         PostgresDriver{"UnicodeWideCodes", "PostgreSQL Unicode",
                                                        true},
                                         PostgresDriver{"AnsiWideCodes", "PostgreSQL ANSI", true}),
                         [](const testing::TestParamInfo<PostgresDriver> &driver) {
                             return std::string(driver.param.name);
                         });

TEST(PostgresDataSource, ADataSourceNameLeadsToItsDriversLibrary)
{
    ASSERT_FALSE(PostgresPort().empty()) << "the PostgreSQL fixture is not running";
    OdbcEnvironment environment;
    ASSERT_TRUE(Succeeded(environment.allocate()));
    EXPECT_TRUE(
        DriverLibraryOf(environment.get(), "DSN=QuillonPostgres").ends_with("/psqlodbca.so"));
    EXPECT_TRUE(DriverLibraryOf(environment.get(), " dsn=quillonpostgres;Port=1")
                    .ends_with("/psqlodbca.so"));
    // As the driver manager reads a string, "dsn " (a blank before "=") is another key than DSN,
    // and " quillonpostgres " another name than the data source's.
    EXPECT_EQ(DriverLibraryOf(environment.get(), "dsn = quillonpostgres ;Port=1"), "");
    EXPECT_EQ(DriverLibraryOf(environment.get(), "DSN=NoSuchSource"), "");
}

} // namespace
