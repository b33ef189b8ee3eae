// SPDX-License-Identifier: MIT
#include "odbc/handles.h"

#include <algorithm>
#include <cstring>

#include "odbc/connectionstring.h"

namespace {

// A driver that never runs out of records must not keep us reading them forever.
constexpr int MaxDiagnosticRecords = 100;
// Room for the longest connection string that a description holds, and then some.
constexpr SQLSMALLINT CompletedStringSize = 2048;
// Room for a driver's or data source's name and for a driver's attributes.
constexpr SQLSMALLINT NameSize = 512;
constexpr SQLSMALLINT AttributesSize = 4096;

std::string textOf(const SQLCHAR *buffer, std::size_t capacity)
{
    const char *text = reinterpret_cast<const char *>(buffer);
    return std::string(text, strnlen(text, capacity));
}

// A driver named by a path is its own library; a name is looked up among the installed drivers,
// whose attributes ("Driver=...", each ended by a null character) name the library.
std::string libraryOfDriver(SQLHENV environment, const std::string &driver)
{
    if (driver.find('/') != std::string::npos)
        return driver;
    SQLCHAR name[NameSize];
    SQLCHAR attributes[AttributesSize];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT attributesLength = 0;
    for (SQLUSMALLINT direction = SQL_FETCH_FIRST;
         succeeded(SQLDrivers(environment, direction, name, NameSize, &nameLength, attributes,
                              AttributesSize, &attributesLength));
         direction = SQL_FETCH_NEXT) {
        if (!sameConnectKey(textOf(name, NameSize), driver))
            continue;
        const std::size_t size = std::min<std::size_t>(
            static_cast<std::size_t>(std::max<SQLSMALLINT>(attributesLength, 0)),
            AttributesSize - 1);
        const std::string_view all(reinterpret_cast<const char *>(attributes), size);
        for (std::size_t start = 0; start < all.size();) {
            std::size_t end = all.find('\0', start);
            if (end == std::string_view::npos)
                end = all.size();
            if (std::optional<std::string> value =
                    connectAttribute(all.substr(start, end - start), "Driver"))
                return *value;
            start = end + 1;
        }
        return {};
    }
    return {};
}

std::string driverOfDataSource(SQLHENV environment, const std::string &dataSource)
{
    SQLCHAR name[NameSize];
    SQLCHAR driver[NameSize];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT driverLength = 0;
    for (SQLUSMALLINT direction = SQL_FETCH_FIRST; succeeded(SQLDataSources(
             environment, direction, name, NameSize, &nameLength, driver, NameSize, &driverLength));
         direction = SQL_FETCH_NEXT) {
        if (sameConnectKey(textOf(name, NameSize), dataSource))
            return textOf(driver, NameSize);
    }
    return {};
}

} // namespace

SQLRETURN OdbcEnvironment::allocate()
{
    reset();
    return SQLAllocEnv(&m_handle);
}

void OdbcEnvironment::reset()
{
    if (m_handle != SQL_NULL_HENV)
        SQLFreeEnv(m_handle);
    m_handle = SQL_NULL_HENV;
}

SQLRETURN OdbcConnectionHandle::allocate(SQLHENV environment)
{
    reset();
    m_environment = environment;
    return SQLAllocConnect(environment, &m_handle);
}

SQLRETURN OdbcConnectionHandle::connect(const std::string &connectString, std::string *completed)
{
    // A driver without a login timeout connects as it did before.
    SQLSetConnectOption(m_handle, SQL_LOGIN_TIMEOUT, static_cast<SQLULEN>(LoginTimeoutSeconds));
    const std::string added =
        driverTimeoutKeys(connectString, driverLibraryOf(m_environment, connectString),
                          LoginTimeoutSeconds, QueryTimeoutSeconds);
    const std::string text = connectString + added;

    SQLCHAR buffer[CompletedStringSize] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN code = SQLDriverConnect(m_handle, nullptr, asSqlText(text), SQL_NTS, buffer,
                                            CompletedStringSize - 1, &length, SQL_DRIVER_NOPROMPT);
    m_connected = succeeded(code);
    if (m_connected && completed != nullptr) {
        *completed = textOf(buffer, CompletedStringSize - 1);
        if (!added.empty() && completed->ends_with(added))
            completed->resize(completed->size() - added.size());
    }
    return code;
}

void OdbcConnectionHandle::reset()
{
    if (m_handle != SQL_NULL_HDBC) {
        if (m_connected)
            SQLDisconnect(m_handle);
        SQLFreeConnect(m_handle);
    }
    m_handle = SQL_NULL_HDBC;
    m_connected = false;
}

SQLRETURN OdbcStatement::allocate(SQLHDBC connection)
{
    reset();
    return SQLAllocStmt(connection, &m_handle);
}

void OdbcStatement::reset()
{
    if (m_handle != SQL_NULL_HSTMT)
        SQLFreeStmt(m_handle, SQL_DROP);
    m_handle = SQL_NULL_HSTMT;
}

std::string driverLibraryOf(SQLHENV environment, std::string_view connectString)
{
    // The keyword that comes first decides, as it does for the driver manager.
    for (const ConnectPair &pair : parseConnectString(connectString)) {
        if (sameConnectKey(pair.key, "DRIVER"))
            return libraryOfDriver(environment, pair.value);
        if (sameConnectKey(pair.key, "DSN")) {
            const std::string driver =
                pair.value.empty() ? std::string() : driverOfDataSource(environment, pair.value);
            return driver.empty() ? std::string() : libraryOfDriver(environment, driver);
        }
    }
    return {};
}

std::string identifierQuote(SQLHDBC connection)
{
    SQLCHAR answer[16] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN code =
        SQLGetInfo(connection, SQL_IDENTIFIER_QUOTE_CHAR, answer, sizeof answer - 1, &length);
    const std::string quote = textOf(answer, sizeof answer - 1);
    if (!succeeded(code) || quote.empty())
        return "\"";
    if (quote.find_first_not_of(' ') == std::string::npos)
        return {};
    return quote;
}

std::vector<SqlDiagnosticRecord> collectDiagnostics(SQLHENV environment, SQLHDBC connection,
                                                    SQLHSTMT statement)
{
    std::vector<SqlDiagnosticRecord> records;
    for (int i = 0; i < MaxDiagnosticRecords; ++i) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
        SQLSMALLINT length = 0;
        const SQLRETURN code = SQLError(environment, connection, statement, state, &native, message,
                                        SQL_MAX_MESSAGE_LENGTH - 1, &length);
        if (!succeeded(code))
            break;
        const char *stateText = reinterpret_cast<const char *>(state);
        const char *messageText = reinterpret_cast<const char *>(message);
        records.push_back(SqlDiagnosticRecord{
            std::string(stateText, strnlen(stateText, 5)), native,
            std::string(messageText, strnlen(messageText, sizeof message - 1))});
    }
    return records;
}
