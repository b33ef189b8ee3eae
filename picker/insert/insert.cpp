// SPDX-License-Identifier: MIT
#include "picker/insert/insert.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <type_traits>

#include "fieldvalues/datetime.h"
#include "fieldvalues/sqltypes.h"
#include "fieldvalues/usertext.h"
#include "odbc/connectionpolicy.h"
#include "odbc/connectionstring.h"
#include "odbc/handles.h"

// The header names these types without the ODBC headers.
static_assert(std::is_same_v<SQLRETURN, short> && std::is_same_v<SQLUSMALLINT, unsigned short>);
static_assert(sizeof(DATE_STRUCT) <= sizeof(FieldDescription::bindBuffer));
static_assert(sizeof(TIME_STRUCT) <= sizeof(FieldDescription::bindBuffer));
static_assert(sizeof(TIMESTAMP_STRUCT) <= sizeof(FieldDescription::bindBuffer));
static_assert(SqlType::Date == SQL_DATE && SqlType::Time == SQL_TIME &&
              SqlType::Timestamp == SQL_TIMESTAMP && SqlType::LongVarChar == SQL_LONGVARCHAR &&
              SqlType::Char == SQL_CHAR && SqlType::VarChar == SQL_VARCHAR &&
              SqlType::Numeric == SQL_NUMERIC && SqlType::Decimal == SQL_DECIMAL &&
              SqlType::Integer == SQL_INTEGER && SqlType::SmallInt == SQL_SMALLINT &&
              SqlType::Float == SQL_FLOAT && SqlType::Real == SQL_REAL &&
              SqlType::Double == SQL_DOUBLE && SqlType::BigInt == SQL_BIGINT &&
              SqlType::TinyInt == SQL_TINYINT && SqlType::Bit == SQL_BIT &&
              SqlType::WChar == SQL_WCHAR && SqlType::WVarChar == SQL_WVARCHAR &&
              SqlType::WLongVarChar == SQL_WLONGVARCHAR);

struct OdbcConnection::Handles
{
    OdbcEnvironment environment;
    OdbcConnectionHandle connection;
    OdbcStatement statement;
};

namespace {

DiagnosticsKind kindOf(SQLRETURN code)
{
    return code == SQL_SUCCESS_WITH_INFO ? DiagnosticsKind::Information : DiagnosticsKind::Error;
}

// Copies a parsed structure into the field's bind buffer, where it stays until the statement
// has executed.
template <typename Structure>
SQLPOINTER storeInBindBuffer(FieldDescription &field, const Structure &value)
{
    std::memcpy(field.bindBuffer, &value, sizeof value);
    return field.bindBuffer;
}

DATE_STRUCT toDateStruct(const DateParts &date)
{
    return DATE_STRUCT{static_cast<SQLSMALLINT>(date.year), static_cast<SQLUSMALLINT>(date.month),
                       static_cast<SQLUSMALLINT>(date.day)};
}

TIME_STRUCT toTimeStruct(const TimeParts &time)
{
    return TIME_STRUCT{static_cast<SQLUSMALLINT>(time.hour), static_cast<SQLUSMALLINT>(time.minute),
                       static_cast<SQLUSMALLINT>(time.second)};
}

TIMESTAMP_STRUCT toTimestampStruct(const TimestampParts &timestamp)
{
    const DATE_STRUCT date = toDateStruct(timestamp.date);
    const TIME_STRUCT time = toTimeStruct(timestamp.time);
    return TIMESTAMP_STRUCT{date.year,   date.month,  date.day, time.hour,
                            time.minute, time.second, 0};
}

// Whether a commit or a rollback (`behavior`) leaves prepared statements prepared; a driver that
// cannot tell is taken to keep them, as every driver at hand does.
bool keepsPreparedStatements(SQLHDBC connection, SQLUSMALLINT behavior)
{
    SQLUSMALLINT answer = SQL_CB_PRESERVE;
    const SQLRETURN code = SQLGetInfo(connection, behavior, &answer, sizeof answer, nullptr);
    return !succeeded(code) || answer != SQL_CB_DELETE;
}

void showDiagnostics(MessageSink &sink, DiagnosticsKind kind,
                     const std::vector<SqlDiagnosticRecord> &records)
{
    for (const Message &box : splitDiagnostics(kind, records))
        sink.show(box);
}

// How soon a lost connection must be found for the row to be sent once more.
constexpr auto RetryWithin = std::chrono::seconds(5);

Message inDoubtMessage()
{
    return Message{userText("Insert", RowInDoubtText), userText("Insert", "Quillon: Warning"),
                   MessageIcon::Exclamation, MessageButtons::Ok};
}

} // namespace

const char *const RowInDoubtText =
    USER_TEXT("Insert", "The connection was lost while the row was being stored. It may have "
                        "been stored: check before entering it again.");

bool connectionGone(const std::vector<SqlDiagnosticRecord> &records)
{
    return isConnectionFailure(records) ||
           std::any_of(records.begin(), records.end(), [](const SqlDiagnosticRecord &record) {
               return record.state == "57P01" || record.state == "57P02" || record.state == "57P03";
           });
}

bool commitOutcomeUnknown(const std::vector<SqlDiagnosticRecord> &records)
{
    return connectionGone(records) ||
           std::any_of(records.begin(), records.end(), [](const SqlDiagnosticRecord &record) {
               return record.state == "40003" || record.state == "HYT00" || record.state == "HYT01";
           });
}

std::vector<Message> splitDiagnostics(DiagnosticsKind kind,
                                      const std::vector<SqlDiagnosticRecord> &records)
{
    const bool information = kind == DiagnosticsKind::Information;
    const MessageIcon icon = information ? MessageIcon::Information : MessageIcon::Exclamation;
    const std::string first = information ? userText("Insert", "SQL_SUCCESS_WITH_INFO results")
                                          : userText("Insert", "SQL_ERROR results");
    const std::string later = fillIn(userText("Insert", "%1 continued"), {first});

    std::vector<Message> boxes;
    std::string text;
    auto close = [&]() {
        boxes.push_back(Message{text, boxes.empty() ? first : later, icon, MessageButtons::Ok});
    };
    for (const SqlDiagnosticRecord &record : records) {
        const std::string line = formatDiagnosticRecord(record);
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

int lastFieldWithValue(std::span<const std::string> values)
{
    for (std::size_t i = values.size(); i > 1; --i) {
        if (!values[i - 1].empty())
            return static_cast<int>(i - 1);
    }
    return 0;
}

std::string buildInsertStatement(const std::string &tableName,
                                 std::span<const FieldDescription> fields,
                                 std::span<const std::string> values, std::string_view quote)
{
    const std::size_t count = std::min(fields.size(), values.size());
    const std::size_t last = static_cast<std::size_t>(lastFieldWithValue(values.first(count)));
    std::string names;
    std::string markers;
    for (std::size_t i = 0; i < last; ++i) {
        if (values[i].empty())
            continue;
        names += quoteIdentifier(fields[i].name, quote);
        names += ", ";
        markers += "?,";
    }
    const std::string lastName = last < fields.size() ? fields[last].name : std::string();
    return "INSERT INTO " + tableInStatement(tableName, quote) + " (" + names +
           quoteIdentifier(lastName, quote) + ") VALUES (" + markers + "?)";
}

OdbcConnection::OdbcConnection(MessageSink &sink)
    : m_sink(sink), m_handles(std::make_unique<Handles>())
{}

OdbcConnection::~OdbcConnection()
{
    disconnectDataSource();
}

bool OdbcConnection::connected() const
{
    return m_handles->statement.get() != SQL_NULL_HSTMT;
}

bool OdbcConnection::connectDataSource(const std::string &connectString)
{
    return finishConnection(attemptConnection(connectString));
}

OdbcConnection::ConnectAttempt OdbcConnection::attemptConnection(const std::string &connectString)
{
    disconnectDataSource();
    m_connectString = connectString;
    m_reconnect = false;

    // The string comes from a description file, which may come from anyone: what it would make
    // the driver manager or a driver load or write is refused before either sees it.
    const ConnectionCheck check = checkConnectString(withoutOdbcPrefix(connectString));
    if (!check.allowed)
        return {true, check.reason, SQL_ERROR};

    SQLRETURN code = m_handles->environment.allocate();
    if (succeeded(code))
        code = m_handles->connection.allocate(m_handles->environment.get());
    if (succeeded(code))
        code = m_handles->connection.connect(check.connectString);
    if (succeeded(code)) {
        const SQLHDBC connection = m_handles->connection.get();
        m_quote = ::identifierQuote(connection);
        m_transactionsKeepStatements =
            keepsPreparedStatements(connection, SQL_CURSOR_COMMIT_BEHAVIOR) &&
            keepsPreparedStatements(connection, SQL_CURSOR_ROLLBACK_BEHAVIOR);
        // Neither option is required: a driver that cannot leave auto-commit goes on committing
        // by itself (commitsByItself() asks it), and one without a query timeout waits as long
        // as its server takes.
        SQLSetConnectOption(connection, SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_OFF);
        code = m_handles->statement.allocate(connection);
    }
    if (succeeded(code)) {
        SQLSetStmtOption(m_handles->statement.get(), SQL_QUERY_TIMEOUT,
                         static_cast<SQLULEN>(QueryTimeoutSeconds));
    }
    return {false, {}, code};
}

bool OdbcConnection::finishConnection(const ConnectAttempt &attempt)
{
    if (attempt.refused) {
        m_sink.show(Message{attempt.reason, userText("Insert", "Quillon: Warning"),
                            MessageIcon::Exclamation, MessageButtons::Ok});
        return false;
    }
    if (!succeeded(attempt.code)) {
        report(kindOf(attempt.code), false);
        return false;
    }
    return true;
}

void OdbcConnection::disconnectDataSource()
{
    m_handles->statement.reset();
    m_handles->connection.reset();
    m_handles->environment.reset();
    m_preparedText.clear();
    m_prepareCount = 0;
    m_quote = "\"";
    m_transactionsKeepStatements = true;
}

void OdbcConnection::report(DiagnosticsKind kind, bool withStatement)
{
    const SQLHSTMT statement = withStatement ? m_handles->statement.get() : SQL_NULL_HSTMT;
    const std::vector<SqlDiagnosticRecord> records =
        collectDiagnostics(m_handles->environment.get(), m_handles->connection.get(), statement);
    showDiagnostics(m_sink, kind, records);
    if (statement != SQL_NULL_HSTMT)
        SQLFreeStmt(statement, SQL_CLOSE);
    if (connectionGone(records))
        m_reconnect = true;
}

bool OdbcConnection::commitsByItself() const
{
    // ODBC's default, also where the driver cannot tell.
    SQLUINTEGER mode = SQL_AUTOCOMMIT_ON;
    const SQLRETURN code = SQLGetConnectOption(m_handles->connection.get(), SQL_AUTOCOMMIT, &mode);
    return !SQL_SUCCEEDED(code) || mode != SQL_AUTOCOMMIT_OFF;
}

short OdbcConnection::endTransaction(unsigned short completion)
{
    // Where the driver's transactions take prepared statements away, the next row prepares its
    // statement again.
    if (!m_transactionsKeepStatements)
        m_preparedText.clear();
    return SQLTransact(m_handles->environment.get(), m_handles->connection.get(), completion);
}

void OdbcConnection::rollBack()
{
    if (connected() && !m_reconnect && !commitsByItself())
        endTransaction(SQL_ROLLBACK);
}

std::optional<InsertOutcome> OdbcConnection::failInsert(bool executed, bool mayRetry)
{
    const std::vector<SqlDiagnosticRecord> records = collectDiagnostics(
        m_handles->environment.get(), m_handles->connection.get(), m_handles->statement.get());
    const bool lost = connectionGone(records);
    m_preparedText.clear();
    if (lost)
        m_reconnect = true;
    // Nothing of the row was committed on the connection that went away: it had not been sent, or
    // it waits for a commit of ours.
    const bool committing = executed && commitsByItself();
    if (lost && mayRetry && !committing)
        return std::nullopt;
    // A statement that commits itself may have done so before the connection went.
    if (lost && committing)
        m_sink.show(inDoubtMessage());
    showDiagnostics(m_sink, DiagnosticsKind::Error, records);
    if (connected()) {
        SQLFreeStmt(m_handles->statement.get(), SQL_CLOSE);
        SQLFreeStmt(m_handles->statement.get(), SQL_RESET_PARAMS);
    }
    if (lost && committing)
        return InsertOutcome::InDoubt;
    // A server that refused the statement may have ended the transaction as well (PostgreSQL
    // accepts nothing more in it); the next row starts a transaction of its own.
    rollBack();
    return InsertOutcome::Failed;
}

InsertOutcome OdbcConnection::insertRow(const std::string &tableName,
                                        std::span<FieldDescription> fields,
                                        std::span<const std::string> values)
{
    if (const std::optional<InsertOutcome> outcome = insertOnce(tableName, fields, values, true))
        return *outcome;
    return insertOnce(tableName, fields, values, false).value_or(InsertOutcome::Failed);
}

std::optional<InsertOutcome> OdbcConnection::insertOnce(const std::string &tableName,
                                                        std::span<FieldDescription> fields,
                                                        std::span<const std::string> values,
                                                        bool mayRetry)
{
    if (m_reconnect || !connected()) {
        if (!connectDataSource(m_connectString))
            return InsertOutcome::Failed;
    }
    // A connection that the server closed (a restart, a failover) is found gone at once; one
    // that went silent is found gone only when a timeout ends the wait (MariaDB's driver says
    // "Lost connection" then too). Only the first is tried again: after a timeout the user has
    // waited long enough, and a frozen server would keep them waiting as long again.
    const auto started = std::chrono::steady_clock::now();
    auto retryAllowed = [&] {
        return mayRetry && std::chrono::steady_clock::now() - started < RetryWithin;
    };
    const SQLHENV environment = m_handles->environment.get();
    const SQLHDBC connection = m_handles->connection.get();
    const SQLHSTMT statement = m_handles->statement.get();

    const std::size_t count = std::min(fields.size(), values.size());
    m_statementText =
        buildInsertStatement(tableName, fields.first(count), values.first(count), m_quote);
    const int last = lastFieldWithValue(values.first(count));
    // The statement stays prepared, and its parameters bound, while the same columns receive
    // values: every insert binds all of its markers afresh before it executes, and a driver
    // that prepares on the server (psqlODBC) would prepare again after a reset. A row without
    // any value binds nothing, so its one marker must not keep the value of an earlier row.
    const bool bindsEveryMarker = count > 0 && !values[static_cast<std::size_t>(last)].empty();

    // Information from preparing and binding is shown once the statement has executed: a message
    // box runs the event loop, where the row's texts may change between reading and executing.
    std::vector<std::vector<SqlDiagnosticRecord>> information;
    auto noteInformation = [&]() {
        information.push_back(collectDiagnostics(environment, connection, statement));
    };
    auto showInformation = [&]() {
        for (const std::vector<SqlDiagnosticRecord> &records : information)
            showDiagnostics(m_sink, DiagnosticsKind::Information, records);
    };

    if (m_statementText != m_preparedText || !bindsEveryMarker) {
        m_preparedText.clear();
        SQLFreeStmt(statement, SQL_RESET_PARAMS);
        const SQLRETURN code = SQLPrepare(statement, asSqlText(m_statementText), SQL_NTS);
        if (code == SQL_SUCCESS_WITH_INFO)
            noteInformation();
        else if (code != SQL_SUCCESS)
            return failInsert(false, retryAllowed());
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
            const DATE_STRUCT date = toDateStruct(parseDateText(value));
            code = SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_DATE, SQL_DATE, 0, 0,
                                    storeInBindBuffer(field, date), 0, nullptr);
            break;
        }
        case SQL_TIME: {
            const TIME_STRUCT time = toTimeStruct(parseTimeText(value));
            code = SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_TIME, SQL_TIME, 0, 0,
                                    storeInBindBuffer(field, time), 0, nullptr);
            break;
        }
        case SQL_TIMESTAMP: {
            const TIMESTAMP_STRUCT timestamp = toTimestampStruct(parseTimestampText(value));
            code =
                SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_TIMESTAMP, SQL_TIMESTAMP,
                                 0, 0, storeInBindBuffer(field, timestamp), 0, nullptr);
            break;
        }
        default: {
            const SQLULEN size = std::min<SQLULEN>(
                value.size(), static_cast<SQLULEN>(std::max(field.valueWidth, 0)));
            code = SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_CHAR,
                                    static_cast<SQLSMALLINT>(field.sqlType), size, 0,
                                    asSqlText(value), 0, nullptr);
            break;
        }
        }
        if (code == SQL_SUCCESS_WITH_INFO) {
            noteInformation();
        } else if (code != SQL_SUCCESS) {
            showInformation();
            return failInsert(false, retryAllowed());
        }
        ++number;
    }

    SQLRETURN code = SQLExecute(statement);
    if (code != SQL_SUCCESS && code != SQL_SUCCESS_WITH_INFO) {
        const std::optional<InsertOutcome> outcome = failInsert(true, retryAllowed());
        if (outcome)
            showInformation();
        return outcome;
    }
    showInformation();
    if (code == SQL_SUCCESS_WITH_INFO)
        report(DiagnosticsKind::Information, true);

    // The commit stores the row. On a connection that commits by itself the row is already
    // stored, and what the commit reports is shown without taking that back. Otherwise a failing
    // commit loses the row; it is rolled back so that the next row starts a transaction of its
    // own.
    code = endTransaction(SQL_COMMIT);
    if (code == SQL_SUCCESS)
        return InsertOutcome::Stored;
    const std::vector<SqlDiagnosticRecord> records =
        collectDiagnostics(environment, connection, SQL_NULL_HSTMT);
    // Whether a commit whose answer never came was made is for the user to find out: the row
    // must not count as failed, to be entered again, nor as stored.
    if (code != SQL_SUCCESS_WITH_INFO && !commitsByItself() && commitOutcomeUnknown(records)) {
        m_reconnect = true;
        m_sink.show(inDoubtMessage());
        showDiagnostics(m_sink, DiagnosticsKind::Error, records);
        return InsertOutcome::InDoubt;
    }
    showDiagnostics(m_sink, kindOf(code), records);
    if (connectionGone(records))
        m_reconnect = true;
    if (code == SQL_SUCCESS_WITH_INFO || commitsByItself())
        return InsertOutcome::Stored;
    rollBack();
    return InsertOutcome::Failed;
}

InsertOutcome OdbcConnection::insertRow(TableDescription &description,
                                        std::span<const std::string> values)
{
    const std::size_t count = std::min(
        static_cast<std::size_t>(std::max(description.fieldCount, 0)), description.fields.size());
    return insertRow(description.tableName, std::span(description.fields).first(count), values);
}

InsertOutcome insertRowFromTexts(const TableDescription &description,
                                 std::span<const std::string> values, MessageSink &sink)
{
    const std::size_t count =
        std::min(static_cast<std::size_t>(std::max(description.fieldCount, 0)),
                 std::min(description.fields.size(), values.size()));
    // The bind buffers of a copy: the caller's description stays untouched.
    std::vector<FieldDescription> fields(description.fields.begin(),
                                         description.fields.begin() +
                                             static_cast<std::ptrdiff_t>(count));
    OdbcConnection connection(sink);
    if (!connection.connectDataSource(description.connectString))
        return InsertOutcome::Failed;
    const InsertOutcome outcome =
        connection.insertRow(description.tableName, fields, values.first(count));
    connection.disconnectDataSource();
    return outcome;
}
