#include "insert.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "datetime.h"

static_assert(sizeof(DATE_STRUCT) <= sizeof(FieldDescription::bindBuffer));
static_assert(sizeof(TIME_STRUCT) <= sizeof(FieldDescription::bindBuffer));
static_assert(sizeof(TIMESTAMP_STRUCT) <= sizeof(FieldDescription::bindBuffer));

namespace {

constexpr const char *OdbcPrefix = "ODBC;";
// A driver that never runs out of records must not keep us reading them forever.
constexpr int MaxDiagnosticRecords = 100;

bool Succeeded(SQLRETURN code)
{
    return code == SQL_SUCCESS || code == SQL_SUCCESS_WITH_INFO;
}

SQLCHAR *AsSqlText(const std::string &text)
{
    // ODBC takes input texts through non-const pointers and never writes to them.
    return reinterpret_cast<SQLCHAR *>(const_cast<char *>(text.c_str()));
}

// Copies a parsed structure into the field's bind buffer, where it stays until the statement
// has executed.
template <typename Structure>
SQLPOINTER StoreInBindBuffer(FieldDescription &field, const Structure &value)
{
    std::memcpy(field.bindBuffer, &value, sizeof value);
    return field.bindBuffer;
}

void ShowDiagnostics(MessageSink &sink, SQLRETURN code,
                     const std::vector<SqlDiagnosticRecord> &records)
{
    for (const Message &box : SplitDiagnostics(code, records))
        sink.show(box);
}

} // namespace

std::string FormatDiagnosticRecord(const SqlDiagnosticRecord &record)
{
    char native[16];
    std::snprintf(native, sizeof native, "%" PRIX32,
                  static_cast<std::uint32_t>(record.nativeError));
    return "SQL Error State:" + record.state + ", Native Error Code: " + native +
           ", ODBC Error: " + record.message;
}

std::vector<Message> SplitDiagnostics(SQLRETURN code,
                                      const std::vector<SqlDiagnosticRecord> &records)
{
    const bool information = code == SQL_SUCCESS_WITH_INFO;
    const MessageIcon icon = information ? MessageIcon::Information : MessageIcon::Exclamation;
    const std::string first = information ? "SQL_SUCCESS_WITH_INFO results" : "SQL_ERROR results";
    const std::string later = first + " continued";

    std::vector<Message> boxes;
    std::string text;
    auto close = [&]() {
        boxes.push_back(Message{text, boxes.empty() ? first : later, icon, MessageButtons::Ok});
    };
    for (const SqlDiagnosticRecord &record : records) {
        const std::string line = FormatDiagnosticRecord(record);
        if (!text.empty() && text.size() + 1 + line.size() >= DiagnosticsBoxLimit) {
            close();
            text = line;
            continue;
        }
        if (!text.empty())
            text += '\n';
        text += line;
    }
    close();
    return boxes;
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

std::vector<SqlDiagnosticRecord> ReportSqlDiagnostics(MessageSink &sink, SQLRETURN code,
                                                      SQLHENV environment, SQLHDBC connection,
                                                      SQLHSTMT statement)
{
    std::vector<SqlDiagnosticRecord> records =
        CollectDiagnostics(environment, connection, statement);
    ShowDiagnostics(sink, code, records);
    if (statement != SQL_NULL_HSTMT)
        SQLFreeStmt(statement, SQL_CLOSE);
    return records;
}

bool IsConnectionFailure(const std::vector<SqlDiagnosticRecord> &records)
{
    for (const SqlDiagnosticRecord &record : records) {
        if (record.state.starts_with("08"))
            return true;
    }
    return false;
}

int LastFieldWithValue(std::span<const std::string> values)
{
    for (std::size_t i = values.size(); i > 1; --i) {
        if (!values[i - 1].empty())
            return static_cast<int>(i - 1);
    }
    return 0;
}

std::string QuoteIdentifier(const std::string &name)
{
    std::string quoted;
    quoted.reserve(name.size() + 2);
    quoted += '"';
    for (char c : name) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string BuildInsertStatement(const std::string &tableName,
                                 std::span<const FieldDescription> fields,
                                 std::span<const std::string> values)
{
    const std::size_t count = std::min(fields.size(), values.size());
    const std::size_t last = static_cast<std::size_t>(LastFieldWithValue(values.first(count)));
    std::string names;
    std::string markers;
    for (std::size_t i = 0; i < last; ++i) {
        if (values[i].empty())
            continue;
        names += QuoteIdentifier(fields[i].name);
        names += ", ";
        markers += "?,";
    }
    const std::string lastName = last < fields.size() ? fields[last].name : std::string();
    return "INSERT INTO " + QuoteIdentifier(tableName) + " (" + names + QuoteIdentifier(lastName) +
           ") VALUES (" + markers + "?)";
}

int OdbcConnection::ConnectDataSource(const std::string &connectString)
{
    DisconnectDataSource();
    m_connectString = connectString;
    m_reconnect = false;

    SQLRETURN code = SQLAllocEnv(&m_environment);
    if (!Succeeded(code)) {
        report(code, false);
        return 1;
    }
    code = SQLAllocConnect(m_environment, &m_connection);
    if (!Succeeded(code)) {
        report(code, false);
        return 1;
    }
    std::string text = connectString;
    if (text.starts_with(OdbcPrefix))
        text.erase(0, std::strlen(OdbcPrefix));
    SQLCHAR completed[256] = {};
    SQLSMALLINT completedLength = 0;
    code = SQLDriverConnect(m_connection, nullptr, AsSqlText(text), SQL_NTS, completed,
                            sizeof completed - 1, &completedLength, SQL_DRIVER_NOPROMPT);
    if (!Succeeded(code)) {
        report(code, false);
        return 1;
    }
    SQLHSTMT statement = SQL_NULL_HSTMT;
    code = SQLAllocStmt(m_connection, &statement);
    if (!Succeeded(code)) {
        report(code, false);
        return 1;
    }
    m_statement = statement;
    return 0;
}

void OdbcConnection::DisconnectDataSource()
{
    if (m_environment == SQL_NULL_HENV)
        return;
    if (m_statement != SQL_NULL_HSTMT)
        SQLFreeStmt(m_statement, SQL_DROP);
    if (m_connection != SQL_NULL_HDBC) {
        SQLDisconnect(m_connection);
        SQLFreeConnect(m_connection);
    }
    SQLFreeEnv(m_environment);
    m_statement = SQL_NULL_HSTMT;
    m_connection = SQL_NULL_HDBC;
    m_environment = SQL_NULL_HENV;
    m_preparedText.clear();
    m_prepareCount = 0;
}

void OdbcConnection::report(SQLRETURN code, bool withStatement)
{
    const std::vector<SqlDiagnosticRecord> records = ReportSqlDiagnostics(
        m_sink, code, m_environment, m_connection, withStatement ? m_statement : SQL_NULL_HSTMT);
    if (IsConnectionFailure(records))
        m_reconnect = true;
}

bool OdbcConnection::commitsByItself() const
{
    // ODBC's default, also where the driver cannot tell.
    SQLUINTEGER mode = SQL_AUTOCOMMIT_ON;
    const SQLRETURN code = SQLGetConnectOption(m_connection, SQL_AUTOCOMMIT, &mode);
    return !SQL_SUCCEEDED(code) || mode != SQL_AUTOCOMMIT_OFF;
}

int OdbcConnection::failInsert(SQLRETURN code)
{
    report(code, true);
    m_preparedText.clear();
    if (m_statement != SQL_NULL_HSTMT)
        SQLFreeStmt(m_statement, SQL_RESET_PARAMS);
    return 1;
}

int OdbcConnection::InsertRow(const std::string &tableName, std::span<FieldDescription> fields,
                              std::span<const std::string> values)
{
    if (m_reconnect || !connected()) {
        if (ConnectDataSource(m_connectString) != 0)
            return 1;
    }

    const std::size_t count = std::min(fields.size(), values.size());
    m_statementText = BuildInsertStatement(tableName, fields.first(count), values.first(count));
    const int last = LastFieldWithValue(values.first(count));
    // The statement stays prepared, and its parameters bound, while the same columns receive
    // values: every insert binds all of its markers afresh before it executes, and a driver
    // that prepares on the server (psqlODBC) would prepare again after a reset. A row without
    // any value binds nothing, so its one marker must not keep the value of an earlier row.
    const bool bindsEveryMarker = count > 0 && !values[static_cast<std::size_t>(last)].empty();

    // Information from preparing and binding is shown once the statement has executed: a message
    // box runs the event loop, where the row's texts may change between reading and executing.
    std::vector<std::vector<SqlDiagnosticRecord>> information;
    auto noteInformation = [&]() {
        information.push_back(CollectDiagnostics(m_environment, m_connection, m_statement));
    };
    auto showInformation = [&]() {
        for (const std::vector<SqlDiagnosticRecord> &records : information)
            ShowDiagnostics(m_sink, SQL_SUCCESS_WITH_INFO, records);
    };

    if (m_statementText != m_preparedText || !bindsEveryMarker) {
        m_preparedText.clear();
        SQLFreeStmt(m_statement, SQL_RESET_PARAMS);
        const SQLRETURN code = SQLPrepare(m_statement, AsSqlText(m_statementText), SQL_NTS);
        if (code == SQL_SUCCESS_WITH_INFO)
            noteInformation();
        else if (code != SQL_SUCCESS)
            return failInsert(code);
        m_preparedText = m_statementText;
        ++m_prepareCount;
    }

    SQLUSMALLINT number = 1;
    for (int i = 0; i <= last && static_cast<std::size_t>(i) < count; ++i) {
        const std::string &value = values[static_cast<std::size_t>(i)];
        if (value.empty())
            continue;
        FieldDescription &field = fields[static_cast<std::size_t>(i)];
        SQLRETURN code = SQL_SUCCESS;
        switch (field.sqlType) {
        case SQL_DATE: {
            DATE_STRUCT date{};
            ParseDateText(value, date);
            code = SQLBindParameter(m_statement, number, SQL_PARAM_INPUT, SQL_C_DATE, SQL_DATE, 0,
                                    0, StoreInBindBuffer(field, date), 0, nullptr);
            break;
        }
        case SQL_TIME: {
            TIME_STRUCT time{};
            ParseTimeText(value, time);
            code = SQLBindParameter(m_statement, number, SQL_PARAM_INPUT, SQL_C_TIME, SQL_TIME, 0,
                                    0, StoreInBindBuffer(field, time), 0, nullptr);
            break;
        }
        case SQL_TIMESTAMP: {
            TIMESTAMP_STRUCT timestamp{};
            ParseTimestampText(value, timestamp);
            code = SQLBindParameter(m_statement, number, SQL_PARAM_INPUT, SQL_C_TIMESTAMP,
                                    SQL_TIMESTAMP, 0, 0, StoreInBindBuffer(field, timestamp), 0,
                                    nullptr);
            break;
        }
        default: {
            const SQLULEN size = std::min<SQLULEN>(
                value.size(), static_cast<SQLULEN>(std::max(field.valueWidth, 0)));
            code = SQLBindParameter(m_statement, number, SQL_PARAM_INPUT, SQL_C_CHAR,
                                    static_cast<SQLSMALLINT>(field.sqlType), size, 0,
                                    AsSqlText(value), 0, nullptr);
            break;
        }
        }
        if (code == SQL_SUCCESS_WITH_INFO) {
            noteInformation();
        } else if (code != SQL_SUCCESS) {
            showInformation();
            return failInsert(code);
        }
        ++number;
    }

    SQLRETURN code = SQLExecute(m_statement);
    showInformation();
    if (code == SQL_SUCCESS_WITH_INFO)
        report(code, true);
    else if (code != SQL_SUCCESS)
        return failInsert(code);

    // From here on the row is stored: the connection commits by itself, and what a commit
    // reports is shown without taking that back. Only a connection that a data source set up
    // without auto-commit loses the row with its commit; it is rolled back so that the next row
    // starts a transaction of its own.
    code = SQLTransact(m_environment, m_connection, SQL_COMMIT);
    if (code == SQL_SUCCESS)
        return 0;
    report(code, false);
    if (code == SQL_SUCCESS_WITH_INFO || commitsByItself())
        return 0;
    SQLTransact(m_environment, m_connection, SQL_ROLLBACK);
    return 1;
}

int OdbcConnection::InsertRow(TableDescription &description, std::span<const std::string> values)
{
    const std::size_t count = std::min(
        static_cast<std::size_t>(std::max(description.fieldCount, 0)), description.fields.size());
    return InsertRow(description.tableName, std::span(description.fields).first(count), values);
}

int InsertRowFromTexts(const TableDescription &description, std::span<const std::string> values,
                       MessageSink &sink)
{
    const std::size_t count =
        std::min(static_cast<std::size_t>(std::max(description.fieldCount, 0)),
                 std::min(description.fields.size(), values.size()));
    // The bind buffers of a copy: the caller's description stays untouched.
    std::vector<FieldDescription> fields(description.fields.begin(),
                                         description.fields.begin() +
                                             static_cast<std::ptrdiff_t>(count));
    OdbcConnection connection(sink);
    if (connection.ConnectDataSource(description.connectString) != 0)
        return 1;
    const int result = connection.InsertRow(description.tableName, fields, values.first(count));
    connection.DisconnectDataSource();
    return result;
}
