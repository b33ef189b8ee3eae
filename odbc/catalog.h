// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "odbc/database.h"

// Snapshots of the driver's catalogue: the rows of one SQLTables or SQLColumns call, read whole
// when the catalogue is opened and kept, so that a list can be filled from the first row as
// often as it needs. Only rows of the connection's own database are kept (and rows that name no
// database), though some drivers give those of every database on the server. Texts are read as the
// driver gives them, up to 1,024 bytes (cut at a character boundary); a NULL text reads as empty, a
// NULL number as no value.

// One row of SQLTables, in the order of its ODBC 2 result columns.
struct TableCatalogRow
{
    std::string qualifier; // TABLE_QUALIFIER
    std::string owner;     // TABLE_OWNER
    std::string name;      // TABLE_NAME
    std::string type;      // TABLE_TYPE
    std::string remarks;   // REMARKS

    bool operator==(const TableCatalogRow &) const = default;
};

// One row of SQLColumns: its first twelve result columns, the ODBC 2 ones.
struct ColumnCatalogRow
{
    std::string qualifier; // TABLE_QUALIFIER
    std::string owner;     // TABLE_OWNER
    std::string table;     // TABLE_NAME
    std::string name;      // COLUMN_NAME
    std::optional<std::int32_t> dataType;
    std::string typeName;
    std::optional<std::int32_t> precision;
    std::optional<std::int32_t> length;
    std::optional<std::int32_t> scale;
    std::optional<std::int32_t> radix;
    std::optional<std::int32_t> nullable;
    std::string remarks;

    bool operator==(const ColumnCatalogRow &) const = default;
};

// The tables of a data source.
class TableCatalog
{
public:
    // The table types asked for: tables alone, no views, system tables, aliases or synonyms.
    static constexpr const char *TablesOnly = "'TABLE'";

    explicit TableCatalog(OdbcDatabase &database) : m_database(database) {}

    // Reads the tables of every qualifier and owner whose type is in `tableTypes`. False when
    // the driver does not offer SQLTables or gives no statement; any other failure of the driver
    // raises OdbcError and leaves the catalogue closed.
    bool open(const std::string &tableTypes = TablesOnly);
    void close();
    bool isOpen() const { return m_open; }
    const std::vector<TableCatalogRow> &rows() const { return *m_rows; }
    // The same rows, for a list that shows them for as long as it needs, even after the
    // catalogue has gone.
    std::shared_ptr<const std::vector<TableCatalogRow>> sharedRows() const { return m_rows; }

private:
    OdbcDatabase &m_database;
    bool m_open = false;
    std::shared_ptr<const std::vector<TableCatalogRow>> m_rows =
        std::make_shared<const std::vector<TableCatalogRow>>();
};

// The columns of one table.
class ColumnCatalog
{
public:
    explicit ColumnCatalog(OdbcDatabase &database) : m_database(database) {}

    // Reads the columns of the table that a row of the table catalogue names: its name in its
    // owner, or in any owner when the row names none. The names are handed to the driver as they
    // are, not escaped, and the rows of other tables and owners that they match as patterns are
    // left out. False when the driver does not offer SQLColumns or gives no statement; any other
    // failure raises OdbcError and leaves the catalogue closed.
    bool open(const TableCatalogRow &table);
    // The same for a table known by its name alone.
    bool open(const std::string &tableName)
    {
        return open(TableCatalogRow{{}, {}, tableName, {}, {}});
    }
    void close();
    bool isOpen() const { return m_open; }
    const std::vector<ColumnCatalogRow> &rows() const { return m_rows; }

private:
    OdbcDatabase &m_database;
    bool m_open = false;
    std::vector<ColumnCatalogRow> m_rows;
};

// How a description names the table of a row of the table catalogue, so that the picker's
// statements reach that very table: its name alone where the name alone reaches it (the row
// names no owner, or no other owner holds anything of that name and the name alone is found on
// this connection); otherwise its owner and name, quoted and joined ("archive"."items"). A
// driver without quoted names gets the name alone.
std::string tableReference(OdbcDatabase &database, const TableCatalogRow &table);
