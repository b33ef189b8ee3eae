// SPDX-License-Identifier: MIT
#include "odbc/catalog.h"

#include <sqlext.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "odbc/error.h"
#include "odbc/handles.h"
#include "odbc/identifiers.h"

namespace {

// Room for a text of 255 characters of up to four bytes each, and then some.
constexpr SQLLEN TextSize = 1024;

struct TextColumn
{
    char buffer[TextSize + 1] = {};
    SQLLEN indicator = SQL_NULL_DATA;
};

struct NumberColumn
{
    SQLINTEGER value = 0;
    SQLLEN indicator = SQL_NULL_DATA;
};

// A driver cuts a long text at its buffer's size, perhaps inside a character: the last
// character goes when its bytes did not all arrive.
std::size_t withoutBrokenLastCharacter(std::string_view text)
{
    std::size_t lead = text.size();
    while (lead > 0 && text.size() - lead < 4 &&
           (static_cast<unsigned char>(text[lead - 1]) & 0xC0) == 0x80)
        --lead;
    if (lead == 0)
        return text.size();
    const auto byte = static_cast<unsigned char>(text[lead - 1]);
    if (byte < 0xC0)
        return text.size();
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
    return lead - 1 + length > text.size() ? lead - 1 : text.size();
}

std::string read(const TextColumn &column)
{
    if (column.indicator == SQL_NULL_DATA)
        return {};
    std::string_view text(column.buffer, strnlen(column.buffer, TextSize));
    if (column.indicator == SQL_NO_TOTAL || column.indicator > TextSize)
        text = text.substr(0, withoutBrokenLastCharacter(text));
    return std::string(text);
}

std::optional<std::int32_t> read(const NumberColumn &column)
{
    if (column.indicator == SQL_NULL_DATA)
        return std::nullopt;
    return static_cast<std::int32_t>(column.value);
}

// A catalogue call on a statement of its own: asks the driver first whether it offers the
// function, repeats the call while the driver is still executing it, binds the columns and
// fetches every row. False when the function or a statement is not to be had; a failure of the
// call or of a fetch is raised.
class CatalogStatement
{
public:
    explicit CatalogStatement(OdbcDatabase &database) : m_database(database) {}

    bool prepare(SQLUSMALLINT function)
    {
        SQLUSMALLINT offered = SQL_FALSE;
        if (!succeeded(SQLGetFunctions(m_database.connection(), function, &offered)) ||
            offered == SQL_FALSE)
            return false;
        return succeeded(m_statement.allocate(m_database.connection()));
    }

    template <class Call> void execute(Call call)
    {
        SQLRETURN code = SQL_STILL_EXECUTING;
        while (code == SQL_STILL_EXECUTING)
            code = call(m_statement.get());
        check(code);
    }

    void bind(SQLUSMALLINT number, TextColumn &column)
    {
        check(SQLBindCol(m_statement.get(), number, SQL_C_CHAR, column.buffer, TextSize + 1,
                         &column.indicator));
    }

    void bind(SQLUSMALLINT number, NumberColumn &column)
    {
        check(SQLBindCol(m_statement.get(), number, SQL_C_SLONG, &column.value, sizeof column.value,
                         &column.indicator));
    }

    // Fetches the next row into the bound columns; false at the end.
    bool fetch()
    {
        SQLRETURN code = SQL_STILL_EXECUTING;
        while (code == SQL_STILL_EXECUTING)
            code = SQLFetch(m_statement.get());
        if (code == SQL_NO_DATA_FOUND)
            return false;
        check(code);
        return true;
    }

private:
    void check(SQLRETURN code)
    {
        if (!succeeded(code))
            raiseOdbcError(m_database.environment(), m_database.connection(), m_statement.get());
    }

    OdbcDatabase &m_database;
    OdbcStatement m_statement;
};

SQLCHAR *optionalText(const std::string *text)
{
    return text == nullptr ? nullptr : asSqlText(*text);
}

// The qualifier (the database) that the connection works in; empty when the driver names none,
// as drivers of a single database do.
std::string currentQualifier(SQLHDBC connection)
{
    SQLCHAR name[SQL_MAX_OPTION_STRING_LENGTH + 1] = {};
    if (!succeeded(SQLGetConnectOption(connection, SQL_CURRENT_QUALIFIER, name)))
        return {};
    const char *text = reinterpret_cast<const char *>(name);
    return std::string(text, strnlen(text, SQL_MAX_OPTION_STRING_LENGTH));
}

// Asked for no qualifier, some drivers (MariaDB's) give the rows of every database on the
// server, its own system databases among them. Only the rows of the connection's own database
// are kept, and those that name no database.
template <class Row> void keepOwnDatabase(std::vector<Row> &rows, const std::string &current)
{
    if (current.empty())
        return;
    std::erase_if(rows, [&current](const Row &row) {
        return !row.qualifier.empty() && row.qualifier != current;
    });
}

} // namespace

bool TableCatalog::open(const std::string &tableTypes)
{
    close();
    CatalogStatement statement(m_database);
    if (!statement.prepare(SQL_API_SQLTABLES))
        return false;
    statement.execute([&tableTypes](SQLHSTMT handle) {
        return SQLTables(handle, nullptr, SQL_NTS, nullptr, SQL_NTS, nullptr, SQL_NTS,
                         optionalText(&tableTypes), SQL_NTS);
    });
    TextColumn columns[5];
    for (SQLUSMALLINT i = 0; i < 5; ++i)
        statement.bind(static_cast<SQLUSMALLINT>(i + 1), columns[i]);
    std::vector<TableCatalogRow> rows;
    while (statement.fetch()) {
        rows.push_back(TableCatalogRow{read(columns[0]), read(columns[1]), read(columns[2]),
                                       read(columns[3]), read(columns[4])});
    }
    keepOwnDatabase(rows, currentQualifier(m_database.connection()));
    m_rows = std::make_shared<const std::vector<TableCatalogRow>>(std::move(rows));
    m_open = true;
    return true;
}

void TableCatalog::close()
{
    m_open = false;
    m_rows = std::make_shared<const std::vector<TableCatalogRow>>();
}

bool ColumnCatalog::open(const TableCatalogRow &table)
{
    close();
    CatalogStatement statement(m_database);
    if (!statement.prepare(SQL_API_SQLCOLUMNS))
        return false;
    const std::string &tableName = table.name;
    const std::string *chosenOwner = table.owner.empty() ? nullptr : &table.owner;
    statement.execute([&tableName, chosenOwner](SQLHSTMT handle) {
        return SQLColumns(handle, nullptr, SQL_NTS, optionalText(chosenOwner), SQL_NTS,
                          optionalText(&tableName), SQL_NTS, nullptr, SQL_NTS);
    });
    TextColumn qualifier, owner, tableColumn, name, typeName, remarks;
    NumberColumn dataType, precision, length, scale, radix, nullable;
    statement.bind(1, qualifier);
    statement.bind(2, owner);
    statement.bind(3, tableColumn);
    statement.bind(4, name);
    statement.bind(5, dataType);
    statement.bind(6, typeName);
    statement.bind(7, precision);
    statement.bind(8, length);
    statement.bind(9, scale);
    statement.bind(10, radix);
    statement.bind(11, nullable);
    statement.bind(12, remarks);
    std::vector<ColumnCatalogRow> rows;
    while (statement.fetch()) {
        rows.push_back(ColumnCatalogRow{read(qualifier), read(owner), read(tableColumn), read(name),
                                        read(dataType), read(typeName), read(precision),
                                        read(length), read(scale), read(radix), read(nullable),
                                        read(remarks)});
    }
    // The names are search patterns to the driver: "a_b" also matches "axb". When the driver
    // gives rows of the table of exactly this name (and owner), only those are kept.
    const auto otherTable = [&tableName, chosenOwner](const ColumnCatalogRow &row) {
        return row.table != tableName || (chosenOwner != nullptr && row.owner != *chosenOwner);
    };
    if (!std::all_of(rows.begin(), rows.end(), otherTable))
        std::erase_if(rows, otherTable);
    keepOwnDatabase(rows, currentQualifier(m_database.connection()));
    m_rows = std::move(rows);
    m_open = true;
    return true;
}

void ColumnCatalog::close()
{
    m_open = false;
    m_rows.clear();
}

namespace {

// The owners of anything (a table, a view, a synonym) of exactly this name in the connection's
// own database.
std::vector<std::string> ownersOfName(OdbcDatabase &database, const std::string &name)
{
    CatalogStatement statement(database);
    if (!statement.prepare(SQL_API_SQLTABLES))
        return {};
    statement.execute([&name](SQLHSTMT handle) {
        return SQLTables(handle, nullptr, SQL_NTS, nullptr, SQL_NTS, optionalText(&name), SQL_NTS,
                         nullptr, SQL_NTS);
    });
    TextColumn columns[3];
    for (SQLUSMALLINT i = 0; i < 3; ++i)
        statement.bind(static_cast<SQLUSMALLINT>(i + 1), columns[i]);
    std::vector<TableCatalogRow> rows;
    while (statement.fetch())
        rows.push_back(
            TableCatalogRow{read(columns[0]), read(columns[1]), read(columns[2]), {}, {}});
    keepOwnDatabase(rows, currentQualifier(database.connection()));
    std::vector<std::string> owners;
    for (const TableCatalogRow &row : rows) {
        if (row.name == name && std::find(owners.begin(), owners.end(), row.owner) == owners.end())
            owners.push_back(row.owner);
    }
    return owners;
}

// Whether a statement that names the table by its name alone finds a table on this connection.
bool foundByNameAlone(OdbcDatabase &database, const std::string &name, const std::string &quote)
{
    OdbcStatement statement;
    if (!succeeded(statement.allocate(database.connection())))
        return false;
    std::string probe = "SELECT * FROM " + quoteIdentifier(name, quote) + " WHERE 1=0";
    return succeeded(SQLExecDirect(statement.get(), asSqlText(probe), SQL_NTS));
}

} // namespace

std::string tableReference(OdbcDatabase &database, const TableCatalogRow &table)
{
    if (table.owner.empty())
        return table.name;
    const std::string quote = identifierQuote(database.connection());
    if (quote.empty())
        return table.name;
    const std::vector<std::string> owners = ownersOfName(database, table.name);
    const bool alone = owners.size() == 1 && owners.front() == table.owner;
    if (alone && foundByNameAlone(database, table.name, quote))
        return table.name;
    return qualifiedTableName(table.owner, table.name, quote);
}
