// SPDX-License-Identifier: MIT
#include "wizard/session.h"

#include <optional>

#include "fieldvalues/usertext.h"
#include "odbc/connectionstring.h"

namespace {

// The value of `key` where it stands as a whole key: at the start of the string or after a
// ";". No value when the key does not occur so.
std::optional<std::string_view> keyValue(std::string_view connectString, std::string_view key)
{
    std::size_t start = 0;
    while (start <= connectString.size()) {
        std::size_t end = connectString.find(';', start);
        if (end == std::string_view::npos)
            end = connectString.size();
        const std::string_view pair = connectString.substr(start, end - start);
        if (pair.size() > key.size() && pair.starts_with(key) && pair[key.size()] == '=')
            return pair.substr(key.size() + 1);
        start = end + 1;
    }
    return std::nullopt;
}

} // namespace

bool namesMachineDataSource(std::string_view connectString)
{
    const std::string_view attributes = withoutOdbcPrefix(connectString);
    if (keyValue(attributes, "FILEDSN").has_value())
        return false;
    const std::optional<std::string_view> name = keyValue(attributes, "DSN");
    return name.has_value() && !name->empty();
}

bool carriesPassword(std::string_view connectString)
{
    for (const ConnectPair &pair : parseConnectString(withoutOdbcPrefix(connectString))) {
        // Blanks around a key are the driver's to read past, and some drivers do.
        std::string_view key = pair.key;
        while (!key.empty() && (key.front() == ' ' || key.front() == '\t'))
            key.remove_prefix(1);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t'))
            key.remove_suffix(1);
        // Drivers complete a string with an empty "PWD=" where no password was given.
        if ((sameConnectKey(key, "PWD") || sameConnectKey(key, "Password")) && !pair.value.empty())
            return true;
    }
    return false;
}

std::string dataSourceDescription(std::string_view connectString)
{
    return fillIn(userText("Session", "Data Source Name:  %1\nData Base:  %2\nData Base Type:  "
                                      "%3\nDescription:  %4"),
                  {connectValue(connectString, "DSN="), connectValue(connectString, "DBQ="),
                   connectValue(connectString, "FIL="),
                   connectValue(connectString, "Description=")});
}

Message fileDataSourceMessage()
{
    return Message{userText("Session", "You may have used \"File Data Source\" tab.\nPlease use "
                                       "\"Machine Data Source\" tab to specify your Data Source "
                                       "Name."),
                   userText("Session", "Inform"), MessageIcon::None, MessageButtons::Ok};
}

bool DataSourceSession::specifyDataSource(DataSourceChooser &chooser)
{
    closeCatalogs();
    if (!chooser.choose(m_database)) {
        m_database.close();
        return false;
    }
    try {
        if (!openTableCatalog())
            return false;
    } catch (...) {
        // A connection whose catalogue could not be read is of no use to the next page.
        closeCatalogs();
        throw;
    }
    m_connectString = m_database.connectString();
    return true;
}

std::string DataSourceSession::describeDataSource(MessageSink &sink)
{
    if (!m_database.isOpen())
        return std::string(NoDataSourceSelectedText);
    const std::string connect = m_database.connectString();
    if (!namesMachineDataSource(connect)) {
        sink.show(fileDataSourceMessage());
        closeCatalogs();
        return std::string(NoDataSourceSelectedText);
    }
    return dataSourceDescription(connect);
}

bool DataSourceSession::openTableCatalog()
{
    m_tables = std::make_unique<TableCatalog>(m_database);
    if (m_tables->open())
        return true;
    m_tables.reset();
    m_database.close();
    return false;
}

bool DataSourceSession::openColumnCatalog(const TableCatalogRow &table)
{
    m_table = table;
    m_tableReference = table.name;
    m_columns.reset();
    m_columns = std::make_unique<ColumnCatalog>(m_database);
    try {
        if (!m_columns->open(table))
            return false;
        m_tableReference = ::tableReference(m_database, table);
        return true;
    } catch (...) {
        m_columns.reset();
        throw;
    }
}

void DataSourceSession::closeCatalogs()
{
    m_tables.reset();
    m_columns.reset();
    m_database.close();
}
