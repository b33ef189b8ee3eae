// SPDX-License-Identifier: MIT
// Rows inserted through each driver into a table of the test's own, and read back through a
// separate connection. Each driver's tests instantiate these with its profile.

#include "tests/picker/insert/driverinsert.h"

#include <algorithm>

#include "fieldvalues/fieldtypes.h"

namespace {

// `pattern` with its "%" replaced by `text`.
std::string filled(std::string pattern, const std::string &text)
{
    return pattern.replace(pattern.find('%'), 1, text);
}

int wideTwin(int sqlType)
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

} // namespace

void DriverTable::SetUp()
{
    const std::string connectString = m_driver.connectString(m_folder.path());
    ASSERT_FALSE(connectString.empty()) << "the fixture's database server is not running";
    m_connectString = connectString + m_driver.option;
    m_session = std::make_unique<DatabaseSession>(connectString);
}

void DriverTable::TearDown()
{
    if (m_session && !m_table.empty() && !m_driver.dropTable.empty())
        m_session->execute(filled(m_driver.dropTable, quoted(m_table)));
}

std::string DriverTable::ownTable(const std::string &name)
{
    m_table = name;
    if (m_driver.dropTable.empty())
        return m_table;
    // Names hold 63 bytes on PostgreSQL and 64 characters on MariaDB.
    const std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
    m_table +=
        "_" + test.substr(0, std::min<std::size_t>(test.find('/'), 30)) + "_" + m_driver.name;
    m_session->execute(filled(m_driver.dropTable, quoted(m_table)));
    return m_table;
}

std::string DriverTable::quoted(const std::string &name) const
{
    std::string quoted(1, m_driver.quote);
    for (char c : name) {
        if (c == m_driver.quote)
            quoted += c;
        quoted += c;
    }
    return quoted + m_driver.quote;
}

std::string DriverTable::readBack(const std::string &expression, const std::string &column, int id)
{
    return m_session->scalar("SELECT " + filled(expression, quoted(column)) + " FROM " +
                             quoted(m_table) + " WHERE id = " + std::to_string(id));
}

void DriverTable::insertTwice(std::vector<FieldDescription> &fields,
                              const std::vector<std::string> &values)
{
    ASSERT_EQ(m_odbc.insertRow(m_table, fields, values), InsertOutcome::Stored)
        << m_odbc.statementText();
    std::vector<std::string> second = values;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == "vc")
            second[i] = "Jones-Smithers";
        else if (fields[i].name == "dt")
            second[i] = "01/02/2003";
    }
    ASSERT_EQ(m_odbc.insertRow(m_table, fields, second), InsertOutcome::Stored);

    EXPECT_TRUE(m_sink.shown.empty());
    EXPECT_EQ(m_odbc.prepareCount(), 1);
    EXPECT_EQ(readBack(m_driver.textCast, "vc", 2), "Jones-Smithers");
    EXPECT_EQ(readBack(m_driver.textCast, "dt", 2), "2003-01-02");
}

void DriverTable::insertAfterEachConnect(
    const std::vector<std::pair<std::string, std::string>> &connects)
{
    const std::string table = ownTable("P");
    m_session->execute("CREATE TABLE " + quoted(table) + " (" + m_driver.idColumn + ", a text)");
    std::vector<FieldDescription> fields{field("a", SQL_VARCHAR, 50)};

    Rows expected;
    for (const auto &[connectString, value] : connects) {
        ASSERT_TRUE(m_odbc.connectDataSource(connectString)) << connectString;
        ASSERT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{value}),
                  InsertOutcome::Stored);
        m_odbc.disconnectDataSource();
        expected.push_back({value});
    }

    EXPECT_EQ(m_session->query("SELECT a FROM " + quoted(table) + " ORDER BY id"), expected);
    EXPECT_TRUE(m_sink.shown.empty());
}

namespace {

TEST_P(DriverInsert, EveryFieldClassIsStoredAsItsValueReads)
{
    FieldClassRow row = rowOfEveryCase(m_driver.classCases);
    const std::string table = ownTable("Every");
    m_session->execute("CREATE TABLE " + quoted(table) + " (" + m_driver.idColumn + ", " +
                       row.columns + ")");
    ASSERT_TRUE(m_odbc.connectDataSource(m_connectString));

    insertTwice(row.fields, row.values);

    for (const FieldClassCase &c : m_driver.classCases)
        EXPECT_EQ(readBack(m_driver.textCast, c.column, 1), c.stored) << c.declaredType;
}

TEST_P(CatalogInsert, EveryFieldClassFromTheCatalogueIsStoredAsItsValueReads)
{
    const std::vector<CatalogCase> &cases = m_driver.catalogCases;
    // A blank and the quote characters of every driver in the table's name.
    const std::string table = ownTable("t\"q` x");
    std::string columns;
    for (const CatalogCase &c : cases)
        columns += ", " + quoted(c.column) + " " + c.declaredType;
    m_session->execute("CREATE TABLE " + quoted(table) + " (" + m_driver.idColumn + columns + ")");
    std::vector<FieldDescription> fields =
        fieldsFromCatalog(readCatalog(m_connectString, table), cases);
    ASSERT_EQ(fields.size(), cases.size());

    // The values as the picker leaves them after its checks.
    std::vector<std::string> values;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (m_driver.wideCodes)
            fields[i].sqlType = wideTwin(fields[i].sqlType);
        std::string value = cases[i].value;
        std::string error;
        EXPECT_TRUE(checkFieldValue(value, fields[i].sqlType, fields[i].length, error))
            << cases[i].column << ": " << error;
        values.push_back(value);
    }

    ASSERT_TRUE(m_odbc.connectDataSource(m_connectString));
    EXPECT_EQ(m_odbc.identifierQuote(), m_driver.identifierQuote);
    insertTwice(fields, values);

    // A case's own way of reading back, or else the driver's cast to text.
    for (const CatalogCase &c : cases) {
        const std::string &expression =
            c.readBack != CatalogCase{}.readBack ? c.readBack : m_driver.textCast;
        EXPECT_EQ(readBack(expression, c.column, 1), c.stored) << c.column << " " << c.declaredType;
    }
}

TEST_P(DriverInsert, EmptyValuesAreLeftOutAndTheOthersGoToTheirColumns)
{
    const FieldClassCase &other = m_driver.otherColumn;
    const std::string table = ownTable("T");
    m_session->execute("CREATE TABLE " + quoted(table) + " (" + m_driver.idColumn +
                       ", \"A\" text, \"B\" text DEFAULT 'b', \"C\" " + other.declaredType +
                       ", \"D\" text DEFAULT 'd')");
    TableDescription description;
    description.tableName = table;
    description.fieldCount = 4;
    description.fields[0] = field("A", SQL_VARCHAR, 50);
    description.fields[1] = field("B", SQL_VARCHAR, 50);
    description.fields[2] = field("C", other.sqlType, other.length);
    description.fields[3] = field("D", SQL_VARCHAR, 50);
    // Entries after fieldCount are not fields.
    description.fields[4] = field("Ignored", SQL_VARCHAR, 50);
    ASSERT_TRUE(m_odbc.connectDataSource(m_connectString));

    ASSERT_EQ(m_odbc.insertRow(description, std::vector<std::string>{"a", "", other.value, ""}),
              InsertOutcome::Stored);
    ASSERT_EQ(m_odbc.insertRow(description, std::vector<std::string>{"", "x", "", ""}),
              InsertOutcome::Stored);
    ASSERT_EQ(m_odbc.insertRow(description, std::vector<std::string>{"", "", "", "y", "z"}),
              InsertOutcome::Stored);

    const Rows expected{{"a", "b", other.stored, "d"},
                        {std::nullopt, "x", std::nullopt, "d"},
                        {std::nullopt, "b", std::nullopt, "y"}};
    EXPECT_EQ(m_session->query("SELECT \"A\", \"B\", \"C\", \"D\" FROM " + quoted(table) +
                               " ORDER BY id"),
              expected);
    EXPECT_TRUE(m_sink.shown.empty());
}

TEST_P(DriverInsert, AConnectionStringWithOrWithoutOdbcPrefixConnects)
{
    const std::string source = m_driver.dataSource.empty() ? m_connectString : m_driver.dataSource;
    insertAfterEachConnect({{source, "after ''"}, {"ODBC;" + source, "after 'ODBC;'"}});
}

TEST_P(DriverInsert, ADuplicateKeyAndANullInARequiredColumnAreRefused)
{
    const std::string table = ownTable("K");
    m_session->execute("CREATE TABLE " + quoted(table) +
                       " (id integer PRIMARY KEY, name text NOT NULL)");
    std::vector<FieldDescription> fields{field("id", SQL_INTEGER, 4, 1),
                                         field("name", SQL_VARCHAR, 50)};
    ASSERT_TRUE(m_odbc.connectDataSource(m_connectString));
    ASSERT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"1", "first"}),
              InsertOutcome::Stored);

    EXPECT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"1", "again"}),
              InsertOutcome::Failed);
    EXPECT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"2", ""}),
              InsertOutcome::Failed);
    // The statement handle survives failures.
    EXPECT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"3", "third"}),
              InsertOutcome::Stored);

    std::vector<Message> expected;
    for (const std::string &text : m_driver.keyAndNullRefused(table))
        expected.push_back(errorBox(text));
    EXPECT_EQ(m_sink.shown, expected);
    EXPECT_EQ(m_session->query("SELECT id, name FROM " + quoted(table) + " ORDER BY id"),
              (Rows{{"1", "first"}, {"3", "third"}}));
}

TEST_P(DriverInsert, ARowWithEveryValueEmptyIsRefusedByTheDriver)
{
    const std::string table = ownTable("E");
    m_session->execute("CREATE TABLE " + quoted(table) + " (\"A\" text, \"B\" text)");
    std::vector<FieldDescription> fields{field("A", SQL_VARCHAR, 50), field("B", SQL_VARCHAR, 50)};
    ASSERT_TRUE(m_odbc.connectDataSource(m_connectString));

    EXPECT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"", ""}),
              InsertOutcome::Failed);
    EXPECT_EQ(m_odbc.statementText(), "INSERT INTO " + quoted(table) + " (\"A\") VALUES (?)");
    // The same statement text right after a row with a value in A: the marker of that row must
    // not be executed again.
    ASSERT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"only once", ""}),
              InsertOutcome::Stored);
    EXPECT_EQ(m_odbc.insertRow(table, fields, std::vector<std::string>{"", ""}),
              InsertOutcome::Failed);

    const Message refused = errorBox(m_driver.emptyRowRefused);
    EXPECT_EQ(m_sink.shown, (std::vector<Message>{refused, refused}));
    EXPECT_EQ(m_session->query("SELECT \"A\", \"B\" FROM " + quoted(table)),
              (Rows{{"only once", std::nullopt}}));
}

} // namespace
