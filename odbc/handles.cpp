#include "odbc/handles.h"

#include <cstring>

namespace {

// A driver that never runs out of records must not keep us reading them forever.
constexpr int MaxDiagnosticRecords = 100;
// Room for the longest connection string that a description holds, and then some.
constexpr SQLSMALLINT CompletedStringSize = 2048;

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
    return SQLAllocConnect(environment, &m_handle);
}

SQLRETURN OdbcConnectionHandle::connect(const std::string &connectString, std::string *completed)
{
    SQLCHAR buffer[CompletedStringSize] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN code =
        SQLDriverConnect(m_handle, nullptr, AsSqlText(connectString), SQL_NTS, buffer,
                         CompletedStringSize - 1, &length, SQL_DRIVER_NOPROMPT);
    m_connected = Succeeded(code);
    if (m_connected && completed != nullptr) {
        const char *text = reinterpret_cast<const char *>(buffer);
        completed->assign(text, strnlen(text, CompletedStringSize - 1));
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

std::vector<SqlDiagnosticRecord> CollectDiagnostics(SQLHENV environment, SQLHDBC connection,
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
        if (!Succeeded(code))
            break;
        const char *stateText = reinterpret_cast<const char *>(state);
        const char *messageText = reinterpret_cast<const char *>(message);
        records.push_back(SqlDiagnosticRecord{
            std::string(stateText, strnlen(stateText, 5)), native,
            std::string(messageText, strnlen(messageText, sizeof message - 1))});
    }
    return records;
}
