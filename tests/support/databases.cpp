// SPDX-License-Identifier: MIT
#include "tests/support/databases.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "fieldvalues/fieldtypes.h"

namespace fs = std::filesystem;

FieldDescription field(const std::string &name, int sqlType, int length, int required)
{
    FieldDescription field;
    field.name = name;
    field.title = name.substr(0, 7);
    field.length = length;
    field.required = required;
    field.sqlType = sqlType;
    field.valueWidth = valueWidth(sqlType, length);
    return field;
}

std::string sqliteConnectString(const fs::path &database)
{
    return "DRIVER=SQLite3;Database=" + database.string() + ";Timeout=10000";
}

namespace {

// The first line of a file that a fixture wrote into its state folder; empty when there is none.
std::string stateLine(const char *variable, const char *file)
{
    const char *state = std::getenv(variable);
    if (state == nullptr || !fs::exists(fs::path(state) / file))
        return {};
    std::string line = readBytes(fs::path(state) / file);
    line = line.substr(0, line.find_first_of("\r\n"));
    return line;
}

} // namespace

std::string postgresPort()
{
    return stateLine("QUILLON_PG_STATE_DIR", "port");
}

std::string postgresConnectString(const std::string &driver)
{
    const std::string port = postgresPort();
    if (port.empty())
        return {};
    return "DRIVER=" + driver + ";Servername=127.0.0.1;Port=" + port +
           ";Database=quillon;Username=postgres";
}

std::string mariaDbPort()
{
    return stateLine("QUILLON_MARIADB_STATE_DIR", "port");
}

std::string mariaDbConnectString()
{
    const std::string port = mariaDbPort();
    if (port.empty())
        return {};
    return "DRIVER=MariaDB;Server=127.0.0.1;Port=" + port + ";Database=quillon;User=quillon";
}

int mariaDbServerPid()
{
    const std::string pid = stateLine("QUILLON_MARIADB_STATE_DIR", "pid");
    return pid.empty() ? 0 : std::stoi(pid);
}

std::string scriptedConnectString(const fs::path &script, const fs::path &log)
{
    return "DRIVER=QuillonScripted;SCRIPT=" + script.string() + ";LOG=" + log.string();
}

int unusedPort()
{
    const int socketHandle = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t size = sizeof address;
    if (bind(socketHandle, reinterpret_cast<sockaddr *>(&address), size) != 0 ||
        getsockname(socketHandle, reinterpret_cast<sockaddr *>(&address), &size) != 0) {
        close(socketHandle);
        throw std::runtime_error("no free port");
    }
    close(socketHandle);
    return ntohs(address.sin_port);
}

FieldClassRow rowOfEveryCase(const std::vector<FieldClassCase> &cases)
{
    FieldClassRow row;
    for (const FieldClassCase &c : cases) {
        row.columns +=
            std::string(row.fields.empty() ? "" : ", ") + c.column + " " + c.declaredType;
        row.fields.push_back(field(c.column, c.sqlType, c.length));
        row.values.push_back(c.value);
    }
    return row;
}

std::vector<CatalogColumn> readCatalog(const std::string &connectString, const std::string &table)
{
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    SQLHSTMT statement = SQL_NULL_HSTMT;
    SQLAllocEnv(&environment);
    SQLAllocConnect(environment, &connection);
    std::string text = connectString;
    std::vector<CatalogColumn> columns;
    if (SQL_SUCCEEDED(SQLDriverConnect(connection, nullptr,
                                       reinterpret_cast<SQLCHAR *>(text.data()), SQL_NTS, nullptr,
                                       0, nullptr, SQL_DRIVER_NOPROMPT))) {
        SQLAllocStmt(connection, &statement);
        std::string name = table;
        if (SQL_SUCCEEDED(SQLColumns(statement, nullptr, 0, nullptr, 0,
                                     reinterpret_cast<SQLCHAR *>(name.data()), SQL_NTS, nullptr,
                                     0))) {
            while (SQL_SUCCEEDED(SQLFetch(statement))) {
                SQLCHAR column[256] = {};
                SQLCHAR typeName[256] = {};
                SQLSMALLINT dataType = 0;
                SQLINTEGER length = 0;
                SQLLEN indicator = 0;
                SQLGetData(statement, 4, SQL_C_CHAR, column, sizeof column, &indicator);
                SQLGetData(statement, 5, SQL_C_SSHORT, &dataType, 0, &indicator);
                SQLGetData(statement, 6, SQL_C_CHAR, typeName, sizeof typeName, &indicator);
                SQLGetData(statement, 8, SQL_C_SLONG, &length, 0, &indicator);
                columns.push_back(CatalogColumn{reinterpret_cast<const char *>(column), dataType,
                                                reinterpret_cast<const char *>(typeName),
                                                static_cast<int>(length)});
            }
        }
        SQLFreeStmt(statement, SQL_DROP);
        SQLDisconnect(connection);
    }
    SQLFreeConnect(connection);
    SQLFreeEnv(environment);
    return columns;
}

std::vector<FieldDescription> fieldsFromCatalog(const std::vector<CatalogColumn> &catalog,
                                                const std::vector<CatalogCase> &cases)
{
    std::vector<FieldDescription> fields;
    for (const CatalogCase &c : cases) {
        const auto column =
            std::find_if(catalog.begin(), catalog.end(), [&](const CatalogColumn &candidate) {
                return candidate.name == c.column;
            });
        if (column == catalog.end()) {
            ADD_FAILURE() << "the catalogue has no column " << c.column;
            continue;
        }
        EXPECT_EQ(column->dataType, c.reportedType)
            << c.column << " " << c.declaredType << " (" << column->typeName << ")";
        fields.push_back(field(column->name, column->dataType, column->length));
    }
    return fields;
}

std::vector<std::string> readLines(const fs::path &path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

DatabaseSession::DatabaseSession(const std::string &connectString)
{
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_environment);
    SQLSetEnvAttr(m_environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                  0);
    SQLAllocHandle(SQL_HANDLE_DBC, m_environment, &m_connection);
    std::string text = connectString;
    const SQLRETURN code =
        SQLDriverConnect(m_connection, nullptr, reinterpret_cast<SQLCHAR *>(text.data()), SQL_NTS,
                         nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(code)) {
        const std::string why = diagnostics(SQL_HANDLE_DBC, m_connection);
        SQLFreeHandle(SQL_HANDLE_DBC, m_connection);
        SQLFreeHandle(SQL_HANDLE_ENV, m_environment);
        throw std::runtime_error("connect failed: " + why);
    }
}

DatabaseSession::~DatabaseSession()
{
    SQLDisconnect(m_connection);
    SQLFreeHandle(SQL_HANDLE_DBC, m_connection);
    SQLFreeHandle(SQL_HANDLE_ENV, m_environment);
}

std::string DatabaseSession::diagnostics(SQLSMALLINT type, SQLHANDLE handle) const
{
    std::string text;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLCHAR message[1024] = {};
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(
                SQLGetDiagRec(type, handle, i, state, &native, message, sizeof message, &length)))
            break;
        text += std::string(reinterpret_cast<char *>(state)) + " " +
                reinterpret_cast<char *>(message) + "\n";
    }
    return text;
}

void DatabaseSession::execute(const std::string &sql)
{
    query(sql);
}

Rows DatabaseSession::query(const std::string &sql)
{
    SQLHSTMT statement = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, m_connection, &statement);
    std::string text = sql;
    SQLRETURN code = SQLExecDirect(statement, reinterpret_cast<SQLCHAR *>(text.data()), SQL_NTS);
    if (!SQL_SUCCEEDED(code) && code != SQL_NO_DATA) {
        const std::string why = diagnostics(SQL_HANDLE_STMT, statement);
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        throw std::runtime_error(sql + ": " + why);
    }
    Rows rows;
    SQLSMALLINT columns = 0;
    SQLNumResultCols(statement, &columns);
    while (columns > 0 && SQL_SUCCEEDED(SQLFetch(statement))) {
        std::vector<std::optional<std::string>> row;
        for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(columns); ++c) {
            std::string value;
            bool isNull = false;
            for (;;) {
                char buffer[4096];
                SQLLEN length = 0;
                code = SQLGetData(statement, c, SQL_C_CHAR, buffer, sizeof buffer, &length);
                if (code == SQL_NO_DATA || !SQL_SUCCEEDED(code))
                    break;
                if (length == SQL_NULL_DATA) {
                    isNull = true;
                    break;
                }
                const std::size_t got =
                    length == SQL_NO_TOTAL || length >= static_cast<SQLLEN>(sizeof buffer)
                        ? sizeof buffer - 1
                        : static_cast<std::size_t>(length);
                value.append(buffer, got);
                if (code == SQL_SUCCESS)
                    break;
            }
            row.push_back(isNull ? std::nullopt : std::optional<std::string>(value));
        }
        rows.push_back(std::move(row));
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    return rows;
}

std::string DatabaseSession::scalar(const std::string &sql)
{
    const Rows rows = query(sql);
    if (rows.empty() || rows[0].empty() || !rows[0][0])
        return {};
    return *rows[0][0];
}
