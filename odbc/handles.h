// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <sql.h>
#include <sqlext.h>

#include "odbc/diagnostics.h"

// The ODBC 2 handles that both programs work with, each freed by its owner's destructor. The
// environment is allocated with SQLAllocEnv, so every driver reports dates, times and
// timestamps as 9, 10 and 11.

// Seconds that connecting may take before the driver gives up, and that one statement may wait
// for the server.
inline constexpr int LoginTimeoutSeconds = 15;
inline constexpr int QueryTimeoutSeconds = 30;

inline bool succeeded(SQLRETURN code)
{
    return code == SQL_SUCCESS || code == SQL_SUCCESS_WITH_INFO;
}

// ODBC takes input texts through non-const pointers and never writes to them.
inline SQLCHAR *asSqlText(const std::string &text)
{
    return reinterpret_cast<SQLCHAR *>(const_cast<char *>(text.c_str()));
}

class OdbcEnvironment
{
public:
    OdbcEnvironment() = default;
    ~OdbcEnvironment() { reset(); }
    OdbcEnvironment(const OdbcEnvironment &) = delete;
    OdbcEnvironment &operator=(const OdbcEnvironment &) = delete;

    SQLRETURN allocate();
    void reset();
    SQLHENV get() const { return m_handle; }

private:
    SQLHENV m_handle = SQL_NULL_HENV;
};

class OdbcConnectionHandle
{
public:
    OdbcConnectionHandle() = default;
    ~OdbcConnectionHandle() { reset(); }
    OdbcConnectionHandle(const OdbcConnectionHandle &) = delete;
    OdbcConnectionHandle &operator=(const OdbcConnectionHandle &) = delete;

    SQLRETURN allocate(SQLHENV environment);
    // SQLDriverConnect without prompting, with a login timeout of LoginTimeoutSeconds. A driver
    // that takes its timeouts from the connection string only (MariaDB Connector/ODBC) is given
    // them there, for connecting and for every later wait for the server (QueryTimeoutSeconds).
    // `completed`, when given, receives the driver's completed connection string, without the keys
    // that were added.
    SQLRETURN connect(const std::string &connectString, std::string *completed = nullptr);
    // Disconnects when connected and frees the handle.
    void reset();
    SQLHDBC get() const { return m_handle; }
    bool connected() const { return m_connected; }

private:
    SQLHENV m_environment = SQL_NULL_HENV;
    SQLHDBC m_handle = SQL_NULL_HDBC;
    bool m_connected = false;
};

class OdbcStatement
{
public:
    OdbcStatement() = default;
    ~OdbcStatement() { reset(); }
    OdbcStatement(const OdbcStatement &) = delete;
    OdbcStatement &operator=(const OdbcStatement &) = delete;

    SQLRETURN allocate(SQLHDBC connection);
    void reset();
    SQLHSTMT get() const { return m_handle; }

private:
    SQLHSTMT m_handle = SQL_NULL_HSTMT;
};

// The file name or path of the driver library that a connection string names with DRIVER= or
// DSN= (whichever comes first), as the driver manager's configuration gives it; empty when it
// cannot tell.
std::string driverLibraryOf(SQLHENV environment, std::string_view connectString);

// The quote that encloses table and column names on the connection, from
// SQLGetInfo(SQL_IDENTIFIER_QUOTE_CHAR): the driver's answer; empty when the driver answers a
// blank (it supports no quoted names); the double quote when it gives no answer.
std::string identifierQuote(SQLHDBC connection);

// Reads every pending record with SQLError; any handle may be null, and the most specific one
// that is set answers.
std::vector<SqlDiagnosticRecord> collectDiagnostics(SQLHENV environment, SQLHDBC connection,
                                                    SQLHSTMT statement);
