// SPDX-License-Identifier: MIT
#include "odbc/database.h"

#include "fieldvalues/usertext.h"
#include "odbc/connectionstring.h"
#include "odbc/error.h"

SQLHENV OdbcDatabase::environment()
{
    if (m_environment.get() == SQL_NULL_HENV && !succeeded(m_environment.allocate())) {
        m_environment.reset();
        throw OdbcError(
            userText("Database", "The ODBC driver manager could not set up an environment."));
    }
    return m_environment.get();
}

void OdbcDatabase::open(const std::string &connectString)
{
    close();
    const SQLHENV environmentHandle = environment();
    if (!succeeded(m_connection.allocate(environmentHandle))) {
        std::vector<SqlDiagnosticRecord> records =
            collectDiagnostics(environmentHandle, SQL_NULL_HDBC, SQL_NULL_HSTMT);
        m_connection.reset();
        throw OdbcError(std::move(records));
    }
    std::string completed;
    if (!succeeded(m_connection.connect(connectString, &completed))) {
        std::vector<SqlDiagnosticRecord> records =
            collectDiagnostics(environmentHandle, m_connection.get(), SQL_NULL_HSTMT);
        m_connection.reset();
        throw OdbcError(std::move(records));
    }
    m_connectString = std::string(OdbcPrefix) + completed;
}

void OdbcDatabase::close()
{
    m_connection.reset();
    m_connectString.clear();
}
