#pragma once

#include <string>
#include <vector>

#include <sql.h>
#include <sqlext.h>

#include "odbc/diagnostics.h"

// The ODBC 2 handles that both programs work with, each freed by its owner's destructor. The
// environment is allocated with SQLAllocEnv, so every driver reports dates, times and
// timestamps as 9, 10 and 11.

inline bool Succeeded(SQLRETURN code)
{
    return code == SQL_SUCCESS || code == SQL_SUCCESS_WITH_INFO;
}

// ODBC takes input texts through non-const pointers and never writes to them.
inline SQLCHAR *AsSqlText(const std::string &text)
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
    // SQLDriverConnect without prompting; `completed`, when given, receives the driver's
    // completed connection string.
    SQLRETURN connect(const std::string &connectString, std::string *completed = nullptr);
    // Disconnects when connected and frees the handle.
    void reset();
    SQLHDBC get() const { return m_handle; }
    bool connected() const { return m_connected; }

private:
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

// Reads every pending record with SQLError; any handle may be null, and the most specific one
// that is set answers.
std::vector<SqlDiagnosticRecord> CollectDiagnostics(SQLHENV environment, SQLHDBC connection,
                                                    SQLHSTMT statement);
