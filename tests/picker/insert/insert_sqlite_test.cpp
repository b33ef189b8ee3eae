// Rows inserted through the SQLite ODBC driver into a database file in a temporary folder, and
// read back through a separate connection.

#include <gtest/gtest.h>

#include "fieldvalues/fieldtypes.h"
#include "picker/insert/insert.h"
#include "tests/support/databases.h"

namespace {

class SqliteInsert : public testing::Test
{
protected:
    void SetUp() override
    {
        m_connectString = SqliteConnectString(m_folder.path() / "test.sqlite");
        m_session = std::make_unique<DatabaseSession>(m_connectString);
    }

    TemporaryFolder m_folder;
    std::string m_connectString;
    std::unique_ptr<DatabaseSession> m_session;
    RecordingSink m_sink;
    OdbcConnection m_odbc{m_sink};
};

const std::vector<FieldClassCase> &ClassCases()
{
    static const std::vector<FieldClassCase> cases{
        {"b", "BIT", SQL_BIT, 1, "1", "1"},
        {"ti", "TINYINT", SQL_TINYINT, 1, "255", "255"},
        {"si", "SMALLINT", SQL_SMALLINT, 2, "65535", "65535"},
        {"i", "INTEGER", SQL_INTEGER, 4, "-2147483648", "-2147483648"},
        {"bi", "BIGINT", SQL_BIGINT, 8, "2147483647", "2147483647"},
        {"c", "CHAR(10)", SQL_CHAR, 10, "ab", "ab"},
        {"vc", "VARCHAR(50)", SQL_VARCHAR, 50, "Smith", "Smith"},
        {"t", "TEXT", SQL_LONGVARCHAR, 65536,
         "Gr\xc3\xbc\xc3\x9f"
         "e \xe2\x82\xac 'quoted'",
         "Gr\xc3\xbc\xc3\x9f"
         "e \xe2\x82\xac 'quoted'"},
        {"n", "NUMERIC(10,2)", SQL_NUMERIC, 10, "1234.5", "1234.5"},
        {"d", "DECIMAL(10,2)", SQL_DECIMAL, 10, "-0.25", "-0.25"},
        {"f", "FLOAT", SQL_FLOAT, 8, "3.141592", "3.141592"},
        {"r", "REAL", SQL_REAL, 4, "12.5", "12.5"},
        {"dbl", "DOUBLE", SQL_DOUBLE, 8, "5.", "5.0"},
        {"dt", "DATE", SQL_DATE, 10, "12/31/1999", "1999-12-31"},
        {"tm", "TIME", SQL_TIME, 8, "23:59:59", "23:59:59"},
        {"ts", "TIMESTAMP", SQL_TIMESTAMP, 16, "12/31/1999 23:59:59", "1999-12-31 23:59:59.000"},
        {"ts2", "TIMESTAMP", SQL_TIMESTAMP, 16, "02/29/2000", "2000-02-29 00:00:00.000"},
    };
    return cases;
}

TEST_F(SqliteInsert, EveryFieldClassIsStoredAsItsValueReads)
{
    FieldClassRow row = RowOfEveryCase(ClassCases());
    m_session->execute("CREATE TABLE \"Every\" (" + row.columns + ")");
    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);

    ASSERT_EQ(m_odbc.InsertRow("Every", row.fields, row.values), 0);

    EXPECT_TRUE(m_sink.shown.empty());
    for (const FieldClassCase &c : ClassCases()) {
        EXPECT_EQ(
            m_session->scalar(std::string("SELECT CAST(") + c.column + " AS TEXT) FROM \"Every\""),
            c.stored)
            << c.declaredType;
    }
}

// The description as the wizard makes it from the SQLite driver's catalogue: it reports NUMERIC as
// DOUBLE, DECIMAL and CHAR as VARCHAR, and every whole number's LENGTH as its display size.
TEST_F(SqliteInsert, EveryFieldClassFromTheCatalogueIsStoredAsItsValueReads)
{
    const std::string text = "line one\nline two 'q' \\ \"x\" `y` \xc3\xbc";
    const std::vector<CatalogCase> cases{
        {"b", "BIT", SQL_BIT, "1", "1", "CAST(% AS TEXT)"},
        {"ti", "TINYINT", SQL_TINYINT, "255", "255", "CAST(% AS TEXT)"},
        {"si", "SMALLINT", SQL_SMALLINT, "-32768", "-32768", "CAST(% AS TEXT)"},
        {"i", "INTEGER", SQL_INTEGER, "-2147483648", "-2147483648", "CAST(% AS TEXT)"},
        {"bi", "BIGINT", SQL_BIGINT, "9223372036854775807", "9223372036854775807",
         "CAST(% AS TEXT)"},
        {"c", "CHAR(10)", SQL_VARCHAR, "ab", "ab", "CAST(% AS TEXT)"},
        {"vc", "VARCHAR(50)", SQL_VARCHAR,
         "Gr\xc3\xbc\xc3\x9f"
         "e, \xe2\x82\xac",
         "Gr\xc3\xbc\xc3\x9f"
         "e, \xe2\x82\xac",
         "CAST(% AS TEXT)"},
        {"t", "TEXT", SQL_LONGVARCHAR, text, text, "CAST(% AS TEXT)"},
        {"n", "NUMERIC(10,2)", SQL_DOUBLE, "1234.5", "1234.5", "CAST(% AS TEXT)"},
        {"d", "DECIMAL(10,2)", SQL_VARCHAR, "-0.25", "-0.25", "CAST(% AS TEXT)"},
        {"r", "REAL", SQL_DOUBLE, "12.5", "12.5", "CAST(% AS TEXT)"},
        {"dbl", "DOUBLE", SQL_DOUBLE, "5.", "5.0", "CAST(% AS TEXT)"},
        {"dt", "DATE", SQL_DATE, "12/31/1999", "1999-12-31", "CAST(% AS TEXT)"},
        {"tm", "TIME", SQL_TIME, "23:59:59", "23:59:59", "CAST(% AS TEXT)"},
        {"ts", "TIMESTAMP", SQL_TIMESTAMP, "12/31/1999 23:59:59", "1999-12-31 23:59:59.000",
         "CAST(% AS TEXT)"},
        {"first name", "VARCHAR(20)", SQL_VARCHAR, "blank", "blank", "CAST(% AS TEXT)"},
        {"dq\"col", "VARCHAR(20)", SQL_VARCHAR, "dq", "dq", "CAST(% AS TEXT)"},
        {"back`tick", "INTEGER", SQL_INTEGER, "7", "7", "CAST(% AS TEXT)"},
    };
    auto quoted = [](const std::string &name) {
        std::string result = "\"";
        for (char c : name)
            result += c == '"' ? std::string("\"\"") : std::string(1, c);
        return result + "\"";
    };
    const std::string table = "t\"q` x";
    std::string columns;
    for (const CatalogCase &c : cases)
        columns +=
            std::string(columns.empty() ? "" : ", ") + quoted(c.column) + " " + c.declaredType;
    m_session->execute("CREATE TABLE " + quoted(table) + " (" + columns + ")");
    std::vector<FieldDescription> fields =
        FieldsFromCatalog(ReadCatalog(m_connectString, table), cases);
    ASSERT_EQ(fields.size(), cases.size());
    std::vector<std::string> values;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::string value = cases[i].value;
        std::string error;
        EXPECT_TRUE(CheckFieldValue(value, fields[i].sqlType, fields[i].length, error))
            << cases[i].column << ": " << error;
        values.push_back(value);
    }

    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);
    EXPECT_EQ(m_odbc.identifierQuote(), "\"");
    ASSERT_EQ(m_odbc.InsertRow(table, fields, values), 0);

    EXPECT_TRUE(m_sink.shown.empty());
    for (const CatalogCase &c : cases) {
        std::string expression = c.readBack;
        expression.replace(expression.find('%'), 1, quoted(c.column));
        EXPECT_EQ(m_session->scalar("SELECT " + expression + " FROM " + quoted(table)), c.stored)
            << c.column << " " << c.declaredType;
    }
}

TEST_F(SqliteInsert, EmptyValuesAreLeftOutAndTheOthersGoToTheirColumns)
{
    m_session->execute("CREATE TABLE T (A TEXT, B TEXT DEFAULT 'b', C TEXT, D TEXT DEFAULT 'd')");
    TableDescription description;
    description.tableName = "T";
    description.fieldCount = 4;
    description.fields[0] = Field("A", SQL_VARCHAR, 50);
    description.fields[1] = Field("B", SQL_VARCHAR, 50);
    description.fields[2] = Field("C", SQL_VARCHAR, 50);
    description.fields[3] = Field("D", SQL_VARCHAR, 50);
    // Entries after fieldCount are not fields.
    description.fields[4] = Field("Ignored", SQL_VARCHAR, 50);
    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);

    ASSERT_EQ(m_odbc.InsertRow(description, std::vector<std::string>{"a", "", "c", ""}), 0);
    ASSERT_EQ(m_odbc.InsertRow(description, std::vector<std::string>{"", "x", "", ""}), 0);
    ASSERT_EQ(m_odbc.InsertRow(description, std::vector<std::string>{"", "", "", "y", "z"}), 0);

    const Rows expected{{"a", "b", "c", "d"},
                        {std::nullopt, "x", std::nullopt, "d"},
                        {std::nullopt, "b", std::nullopt, "y"}};
    EXPECT_EQ(m_session->query("SELECT A, B, C, D FROM T ORDER BY rowid"), expected);
    EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(SqliteInsert, QuotedNamesReachTheirColumnsAndCannotExtendTheStatement)
{
    m_session->execute(R"(CREATE TABLE "my ""quoted"" table" ("a""b" TEXT, "c d" TEXT))");
    m_session->execute(R"(CREATE TABLE "victim" (x TEXT))");
    m_session->execute(R"(INSERT INTO "victim" VALUES ('still here'))");
    std::vector<FieldDescription> fields{Field(R"(a"b)", SQL_VARCHAR, 50),
                                         Field("c d", SQL_VARCHAR, 50)};
    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);

    ASSERT_EQ(m_odbc.InsertRow(R"(my "quoted" table)", fields, std::vector<std::string>{"1", "2"}),
              0);
    std::vector<FieldDescription> hostile{
        Field(R"(a"b" ) VALUES ('1','2'); DROP TABLE "victim"; --)", SQL_VARCHAR, 50)};
    EXPECT_EQ(m_odbc.InsertRow(R"(my "quoted" table)", hostile, std::vector<std::string>{"3"}), 1);

    EXPECT_EQ(m_session->query(R"(SELECT "a""b", "c d" FROM "my ""quoted"" table")"),
              (Rows{{"1", "2"}}));
    EXPECT_EQ(m_session->scalar("SELECT x FROM victim"), "still here");
    ASSERT_EQ(m_sink.shown.size(), 1u);
    EXPECT_EQ(m_sink.shown[0].caption, "SQL_ERROR results");
}

TEST_F(SqliteInsert, TheLongestStatementInsertsIntoThirtyColumnsOf256Characters)
{
    const std::string table = std::string(255, '"') + "T";
    std::vector<FieldDescription> fields;
    std::vector<std::string> values;
    std::string create = "CREATE TABLE " + QuoteIdentifier(table) + " (";
    for (int i = 0; i < MaxFields; ++i) {
        const std::string name = std::string(253, '"') + "c" + static_cast<char>('A' + i % 26) +
                                 static_cast<char>('0' + i / 26);
        ASSERT_EQ(name.size(), 256u);
        create += (i > 0 ? ", " : "") + QuoteIdentifier(name) + " TEXT";
        fields.push_back(Field(name, SQL_VARCHAR, 50));
        values.push_back("v" + std::to_string(i));
    }
    m_session->execute(create + ")");
    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);

    ASSERT_EQ(m_odbc.InsertRow(table, fields, values), 0);

    const Rows rows = m_session->query("SELECT * FROM " + QuoteIdentifier(table));
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].size(), static_cast<std::size_t>(MaxFields));
    for (std::size_t i = 0; i < rows[0].size(); ++i)
        EXPECT_EQ(rows[0][i], values[i]);
}

TEST_F(SqliteInsert, AConnectionStringWithOrWithoutOdbcPrefixConnects)
{
    m_session->execute("CREATE TABLE P (A TEXT)");
    std::vector<FieldDescription> fields{Field("A", SQL_VARCHAR, 50)};

    for (const std::string prefix : {"", "ODBC;"}) {
        ASSERT_EQ(m_odbc.ConnectDataSource(prefix + m_connectString), 0) << prefix;
        ASSERT_EQ(m_odbc.InsertRow("P", fields, std::vector<std::string>{"after '" + prefix + "'"}),
                  0);
        m_odbc.DisconnectDataSource();
    }

    EXPECT_EQ(m_session->query("SELECT A FROM P ORDER BY rowid"),
              (Rows{{"after ''"}, {"after 'ODBC;'"}}));
    EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(SqliteInsert, AnUnknownDataSourceIsReportedInTheDriverManagersWords)
{
    EXPECT_EQ(m_odbc.ConnectDataSource("DSN=NoSuchQuillonSource"), 1);

    const std::vector<Message> expected{
        {"SQL Error State:IM002, Native Error Code: 0, ODBC Error: [unixODBC][Driver "
         "Manager]Data source name not found and no default driver specified",
         "SQL_ERROR results", MessageIcon::Exclamation, MessageButtons::Ok}};
    EXPECT_EQ(m_sink.shown, expected);
    EXPECT_FALSE(m_odbc.connected());
    m_odbc.DisconnectDataSource();
    m_odbc.DisconnectDataSource();
}

TEST_F(SqliteInsert, ADuplicateKeyAndANullInARequiredColumnAreRefused)
{
    m_session->execute("CREATE TABLE K (id INTEGER PRIMARY KEY, name TEXT NOT NULL)");
    std::vector<FieldDescription> fields{Field("id", SQL_INTEGER, 4, 1),
                                         Field("name", SQL_VARCHAR, 50)};
    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);
    ASSERT_EQ(m_odbc.InsertRow("K", fields, std::vector<std::string>{"1", "first"}), 0);

    EXPECT_EQ(m_odbc.InsertRow("K", fields, std::vector<std::string>{"1", "again"}), 1);
    EXPECT_EQ(m_odbc.InsertRow("K", fields, std::vector<std::string>{"2", ""}), 1);
    // The statement handle survives failures.
    EXPECT_EQ(m_odbc.InsertRow("K", fields, std::vector<std::string>{"3", "third"}), 0);

    const std::vector<Message> expected{
        {"SQL Error State:S1000, Native Error Code: 13, ODBC Error: [SQLite]UNIQUE constraint "
         "failed: K.id (19)",
         "SQL_ERROR results", MessageIcon::Exclamation, MessageButtons::Ok},
        {"SQL Error State:S1000, Native Error Code: 13, ODBC Error: [SQLite]NOT NULL constraint "
         "failed: K.name (19)",
         "SQL_ERROR results", MessageIcon::Exclamation, MessageButtons::Ok}};
    EXPECT_EQ(m_sink.shown, expected);
    EXPECT_EQ(m_session->query("SELECT id, name FROM K ORDER BY id"),
              (Rows{{"1", "first"}, {"3", "third"}}));
}

TEST_F(SqliteInsert, ARowWithEveryValueEmptyIsRefusedByTheDriver)
{
    m_session->execute("CREATE TABLE E (A TEXT, B TEXT)");
    std::vector<FieldDescription> fields{Field("A", SQL_VARCHAR, 50), Field("B", SQL_VARCHAR, 50)};
    ASSERT_EQ(m_odbc.ConnectDataSource(m_connectString), 0);

    EXPECT_EQ(m_odbc.InsertRow("E", fields, std::vector<std::string>{"", ""}), 1);
    EXPECT_EQ(m_odbc.statementText(), R"(INSERT INTO "E" ("A") VALUES (?))");
    // The same statement text right after a row with a value in A: the marker of that row must
    // not be executed again.
    ASSERT_EQ(m_odbc.InsertRow("E", fields, std::vector<std::string>{"only once", ""}), 0);
    EXPECT_EQ(m_odbc.InsertRow("E", fields, std::vector<std::string>{"", ""}), 1);

    const Message refused{"SQL Error State:S1000, Native Error Code: FFFFFFFF, ODBC "
                          "Error: [SQLite]unbound parameters in query",
                          "SQL_ERROR results", MessageIcon::Exclamation, MessageButtons::Ok};
    EXPECT_EQ(m_sink.shown, (std::vector<Message>{refused, refused}));
    EXPECT_EQ(m_session->query("SELECT A, B FROM E"), (Rows{{"only once", std::nullopt}}));
}

} // namespace
