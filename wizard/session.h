// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "fieldvalues/message.h"
#include "odbc/catalog.h"
#include "odbc/database.h"

// What the wizard's pages share and hand on from one to the next: the connection to the chosen
// data source, its connect string, the table catalogue, the chosen table and its column
// catalogue. No window: the pages ask the user through a chooser and a message sink.

// The data source page's description before anything was specified, and after a choice that
// left no data source connected.
inline constexpr std::string_view NoDataSourceSpecifiedText = "No Data Source Specified";
inline constexpr std::string_view NoDataSourceSelectedText = "[No Data Source Selected]";

// Asks the user for a data source and connects to it.
class DataSourceChooser
{
public:
    virtual ~DataSourceChooser() = default;
    // Connects `database` to the data source that the user chooses. False when the user
    // cancelled, with `database` closed; a failure to connect is raised as OdbcError.
    virtual bool choose(OdbcDatabase &database) = 0;
};

// Whether a connect string names a machine data source: a "DSN" key with a value, and no
// "FILEDSN" key. The driver manager and some drivers put an empty "DSN=" or the file's
// "FILEDSN=" into the string that they complete for a file data source.
bool namesMachineDataSource(std::string_view connectString);

// Whether a connect string carries a password: a "PWD" or "Password" key, in any case, with a
// value.
bool carriesPassword(std::string_view connectString);

// The four lines that describe the data source of a connect string.
std::string dataSourceDescription(std::string_view connectString);

// Shown when a file data source was chosen, which a description cannot keep.
Message fileDataSourceMessage();

class DataSourceSession
{
public:
    DataSourceSession() = default;
    ~DataSourceSession() { closeCatalogs(); }
    DataSourceSession(const DataSourceSession &) = delete;
    DataSourceSession &operator=(const DataSourceSession &) = delete;

    // Closes what was open, lets the user choose and connect a data source and opens its table
    // catalogue. True when a data source is connected and its catalogue is open; then the
    // connect string is the connection's. False when the user cancelled or the catalogue could
    // not be opened, with the connection closed and the connect string as it was. A failure of
    // the driver is raised after the connection was closed.
    bool specifyDataSource(DataSourceChooser &chooser);
    // The text for the data source page. A file data source is refused with a message and its
    // connection is closed.
    std::string describeDataSource(MessageSink &sink);
    // Opens the table catalogue of the connection; when it cannot be had, the connection is
    // closed and the result is false.
    bool openTableCatalog();
    // Makes `table` (a row of the table catalogue) the chosen table and opens its column
    // catalogue, replacing the previous one; then works out how the description names the table.
    // The result is the catalogue's open. When the driver raises an error, no column catalogue is
    // left.
    bool openColumnCatalog(const TableCatalogRow &table);
    bool openColumnCatalog(const std::string &tableName)
    {
        return openColumnCatalog(TableCatalogRow{{}, {}, tableName, {}, {}});
    }
    // Closes and drops both catalogues, then closes the connection.
    void closeCatalogs();

    OdbcDatabase &database() { return m_database; }
    bool isConnected() const { return m_database.isOpen(); }
    // The connect string of the data source last specified with success; empty at first.
    const std::string &connectString() const { return m_connectString; }
    // The table that the table page's Next accepted last; empty at first.
    const TableCatalogRow &table() const { return m_table; }
    const std::string &tableName() const { return m_table.name; }
    // How the description names that table: its name, or its owner and name quoted where the
    // name alone would reach another table or none.
    const std::string &tableReference() const { return m_tableReference; }
    // The catalogues; null while there is none.
    TableCatalog *tables() const { return m_tables.get(); }
    ColumnCatalog *columns() const { return m_columns.get(); }

private:
    OdbcDatabase m_database;
    std::string m_connectString;
    std::unique_ptr<TableCatalog> m_tables;
    TableCatalogRow m_table;
    std::string m_tableReference;
    std::unique_ptr<ColumnCatalog> m_columns;
};
