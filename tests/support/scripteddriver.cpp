// SPDX-License-Identifier: MIT
// A small ODBC 3 driver whose answers come from a script, for what no real driver does on
// demand: SQL_SUCCESS_WITH_INFO from SQLExecute, several long diagnostic records, a failing
// commit, a connection that goes away, a catalogue call that is still executing.
//
// Connection string: DRIVER=...;SCRIPT=path;LOG=path, and AUTOCOMMIT=OFF for a connection that
// does not commit by itself, AUTOCOMMIT=ALWAYS for one that refuses to stop committing by itself;
// QUOTE=` (or any text) for the identifier quote that SQLGetInfo gives (the double quote without
// it), QUOTE=blank for a blank, QUOTE=none for no answer; CURSORS=DELETE for a driver whose commit
// and rollback take prepared statements away; CATALOGUE=NONE for a driver that offers neither
// SQLTables nor SQLColumns. The script has one directive a line:
//
//   connect|prepare|bind|execute|commit|tables|columns|fetch  success|info|error|still
//   record STATE NATIVE TEXT...       (a diagnostic record of the directive above)
//   row TEXT|TEXT|...                 (a result row of the tables or columns directive above;
//                                      a field "(null)" is NULL)
//   ---                               (what follows is for the next connection)
//
// Each call of a kind takes the next directive of that kind; without one it succeeds. The n-th
// connection made with a log follows the n-th section of the script (counted from the log). The log
// gets one line per call: "connect TEXT", "prepare TEXT", "bind N CTYPE SQLTYPE SIZE DIGITS",
// "execute" followed by " N=VALUE" for every bound parameter as it reads at that moment,
// "commit", "rollback", "disconnect", "tables TYPES", "columns TABLE"; and for the options that the
// driver takes, "set login timeout N" (right after the connect line), "set autocommit on|off", "set
// query timeout N".

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Record
{
    std::string state;
    SQLINTEGER native = 0;
    std::string text;
};

using ResultRow = std::vector<std::optional<std::string>>;

struct Outcome
{
    SQLRETURN code = SQL_SUCCESS;
    std::vector<Record> records;
    std::vector<ResultRow> rows;
};

struct Diagnostics
{
    std::vector<Record> records;
};

struct Environment : Diagnostics
{};

struct Parameter
{
    SQLSMALLINT cType = 0;
    SQLSMALLINT sqlType = 0;
    SQLULEN size = 0;
    SQLSMALLINT digits = 0;
    SQLPOINTER value = nullptr;
    SQLLEN *length = nullptr;
};

struct Connection : Diagnostics
{
    bool connected = false;
    bool autoCommit = true;
    bool alwaysAutoCommit = false;
    bool deletesStatements = false;
    // Whether SQLGetFunctions offers SQLTables and SQLColumns.
    bool catalogue = true;
    // What SQLGetInfo answers for the identifier quote; nothing for no answer.
    std::optional<std::string> quote = "\"";
    // Set before connecting, when there is no log yet.
    std::optional<SQLULEN> loginTimeout;
    std::string logPath;
    std::map<std::string, std::deque<Outcome>> script;

    void log(const std::string &line) const
    {
        if (logPath.empty())
            return;
        std::ofstream out(logPath, std::ios::app);
        out << line << '\n';
    }

    Outcome next(const std::string &call)
    {
        std::deque<Outcome> &queue = script[call];
        if (queue.empty())
            return Outcome{};
        Outcome outcome = queue.front();
        queue.pop_front();
        return outcome;
    }
};

struct BoundColumn
{
    SQLSMALLINT cType = 0;
    SQLPOINTER value = nullptr;
    SQLLEN capacity = 0;
    SQLLEN *indicator = nullptr;
};

struct Statement : Diagnostics
{
    Connection *connection = nullptr;
    bool prepared = false;
    std::map<SQLUSMALLINT, Parameter> parameters;
    std::map<SQLUSMALLINT, BoundColumn> columns;
    std::vector<ResultRow> rows;
    std::size_t nextRow = 0;
};

SQLRETURN apply(Diagnostics &target, const Outcome &outcome)
{
    target.records = outcome.records;
    return outcome.code;
}

std::string attribute(const std::string &connectString, const std::string &key)
{
    std::size_t start = 0;
    while (start < connectString.size()) {
        std::size_t end = connectString.find(';', start);
        if (end == std::string::npos)
            end = connectString.size();
        std::string pair = connectString.substr(start, end - start);
        std::size_t equals = pair.find('=');
        if (equals != std::string::npos) {
            std::string name = pair.substr(0, equals);
            bool same = name.size() == key.size();
            for (std::size_t i = 0; same && i < name.size(); ++i)
                same = std::toupper(static_cast<unsigned char>(name[i])) == key[i];
            if (same)
                return pair.substr(equals + 1);
        }
        start = end + 1;
    }
    return {};
}

// How many connections were made before, as the log tells.
int earlierConnections(const std::string &logPath)
{
    std::ifstream in(logPath);
    std::string line;
    int count = 0;
    while (std::getline(in, line)) {
        if (line.starts_with("connect "))
            ++count;
    }
    return count;
}

bool readScript(const std::string &path, int section,
                std::map<std::string, std::deque<Outcome>> &script)
{
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    std::deque<Outcome> *last = nullptr;
    int current = 0;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first[0] == '#')
            continue;
        if (first == "---") {
            ++current;
            continue;
        }
        if (current != section)
            continue;
        if (first == "row") {
            std::string rest;
            std::getline(words >> std::ws, rest);
            ResultRow row;
            std::size_t start = 0;
            for (;;) {
                const std::size_t bar = rest.find('|', start);
                const std::string field = rest.substr(start, bar - start);
                row.push_back(field == "(null)" ? std::nullopt : std::optional<std::string>(field));
                if (bar == std::string::npos)
                    break;
                start = bar + 1;
            }
            if (last != nullptr && !last->empty())
                last->back().rows.push_back(row);
            continue;
        }
        if (first == "record") {
            Record record;
            words >> record.state >> record.native;
            std::getline(words >> std::ws, record.text);
            if (last != nullptr && !last->empty())
                last->back().records.push_back(record);
            continue;
        }
        std::string result;
        words >> result;
        Outcome outcome;
        outcome.code = result == "info"    ? SQL_SUCCESS_WITH_INFO
                       : result == "error" ? SQL_ERROR
                       : result == "still" ? SQL_STILL_EXECUTING
                                           : SQL_SUCCESS;
        last = &script[first];
        last->push_back(outcome);
    }
    return true;
}

std::string textOf(SQLCHAR *text, SQLINTEGER length)
{
    if (text == nullptr)
        return {};
    if (length == SQL_NTS)
        return reinterpret_cast<const char *>(text);
    return std::string(reinterpret_cast<const char *>(text), static_cast<std::size_t>(length));
}

std::string parameterValue(const Parameter &parameter)
{
    char buffer[64];
    switch (parameter.cType) {
    case SQL_C_CHAR: {
        const char *text = static_cast<const char *>(parameter.value);
        if (parameter.length != nullptr && *parameter.length >= 0)
            return std::string(text, static_cast<std::size_t>(*parameter.length));
        return text;
    }
    case SQL_C_TYPE_DATE:
    case SQL_C_DATE: {
        const auto *date = static_cast<const DATE_STRUCT *>(parameter.value);
        std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", date->year, date->month, date->day);
        return buffer;
    }
    case SQL_C_TYPE_TIME:
    case SQL_C_TIME: {
        const auto *time = static_cast<const TIME_STRUCT *>(parameter.value);
        std::snprintf(buffer, sizeof buffer, "%02u:%02u:%02u", time->hour, time->minute,
                      time->second);
        return buffer;
    }
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP: {
        const auto *stamp = static_cast<const TIMESTAMP_STRUCT *>(parameter.value);
        std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02u:%02u:%02u.%u", stamp->year,
                      stamp->month, stamp->day, stamp->hour, stamp->minute, stamp->second,
                      stamp->fraction);
        return buffer;
    }
    default:
        return "?";
    }
}

void copyText(const std::string &text, SQLCHAR *out, SQLSMALLINT capacity, SQLSMALLINT *length)
{
    if (length != nullptr)
        *length = static_cast<SQLSMALLINT>(text.size());
    if (out != nullptr && capacity > 0) {
        std::size_t n = std::min(text.size(), static_cast<std::size_t>(capacity - 1));
        std::memcpy(out, text.data(), n);
        out[n] = '\0';
    }
}

// A catalogue call: its result rows once it has succeeded.
SQLRETURN catalogue(Statement &statement, const std::string &call)
{
    const Outcome outcome = statement.connection->next(call);
    if (outcome.code == SQL_SUCCESS || outcome.code == SQL_SUCCESS_WITH_INFO) {
        statement.rows = outcome.rows;
        statement.nextRow = 0;
    }
    return apply(statement, outcome);
}

void deliver(const BoundColumn &column, const std::optional<std::string> &field)
{
    if (!field) {
        if (column.indicator != nullptr)
            *column.indicator = SQL_NULL_DATA;
        return;
    }
    if (column.cType == SQL_C_SLONG || column.cType == SQL_C_LONG) {
        *static_cast<SQLINTEGER *>(column.value) = std::stoi(*field);
        if (column.indicator != nullptr)
            *column.indicator = sizeof(SQLINTEGER);
        return;
    }
    char *text = static_cast<char *>(column.value);
    const std::size_t n =
        std::min(field->size(), static_cast<std::size_t>(std::max<SQLLEN>(column.capacity - 1, 0)));
    std::memcpy(text, field->data(), n);
    text[n] = '\0';
    if (column.indicator != nullptr)
        *column.indicator = static_cast<SQLLEN>(field->size());
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE *output)
{
    switch (type) {
    case SQL_HANDLE_ENV:
        *output = new Environment;
        return SQL_SUCCESS;
    case SQL_HANDLE_DBC:
        *output = new Connection;
        return SQL_SUCCESS;
    case SQL_HANDLE_STMT: {
        auto *statement = new Statement;
        statement->connection = static_cast<Connection *>(input);
        *output = statement;
        return SQL_SUCCESS;
    }
    default:
        return SQL_ERROR;
    }
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle)
{
    switch (type) {
    case SQL_HANDLE_ENV:
        delete static_cast<Environment *>(handle);
        return SQL_SUCCESS;
    case SQL_HANDLE_DBC:
        delete static_cast<Connection *>(handle);
        return SQL_SUCCESS;
    case SQL_HANDLE_STMT:
        delete static_cast<Statement *>(handle);
        return SQL_SUCCESS;
    default:
        return SQL_ERROR;
    }
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER)
{
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                    SQLINTEGER)
{
    auto *connection = static_cast<Connection *>(handle);
    const auto number = reinterpret_cast<SQLULEN>(value);
    if (attribute == SQL_ATTR_LOGIN_TIMEOUT) {
        connection->loginTimeout = number;
    } else if (attribute == SQL_ATTR_AUTOCOMMIT) {
        connection->log(number == SQL_AUTOCOMMIT_OFF ? "set autocommit off" : "set autocommit on");
        if (number == SQL_AUTOCOMMIT_OFF && connection->alwaysAutoCommit) {
            connection->records = {Record{"HYC00", 0, "[Scripted] transactions not supported"}};
            return SQL_ERROR;
        }
        connection->autoCommit = number != SQL_AUTOCOMMIT_OFF;
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value,
                                 SQLINTEGER)
{
    auto *statement = static_cast<Statement *>(handle);
    if (attribute == SQL_ATTR_QUERY_TIMEOUT)
        statement->connection->log("set query timeout " +
                                   std::to_string(reinterpret_cast<SQLULEN>(value)));
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                    SQLINTEGER, SQLINTEGER *length)
{
    auto *connection = static_cast<Connection *>(handle);
    if (attribute != SQL_ATTR_AUTOCOMMIT || value == nullptr) {
        connection->records = {Record{"HYC00", 0, "[Scripted] attribute not supported"}};
        return SQL_ERROR;
    }
    *static_cast<SQLUINTEGER *>(value) =
        connection->autoCommit ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    if (length != nullptr)
        *length = sizeof(SQLUINTEGER);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetInfo(SQLHDBC handle, SQLUSMALLINT type, SQLPOINTER value,
                             SQLSMALLINT capacity, SQLSMALLINT *length)
{
    if (type == SQL_DRIVER_ODBC_VER) {
        copyText("03.00", static_cast<SQLCHAR *>(value), capacity, length);
        return SQL_SUCCESS;
    }
    if (type == SQL_CURSOR_COMMIT_BEHAVIOR || type == SQL_CURSOR_ROLLBACK_BEHAVIOR) {
        // Prepared statements outlive a transaction, as with every driver at hand; CURSORS=DELETE
        // for a driver whose transactions take them away.
        auto *connection = static_cast<Connection *>(handle);
        *static_cast<SQLUSMALLINT *>(value) =
            connection->deletesStatements ? SQL_CB_DELETE : SQL_CB_PRESERVE;
        if (length != nullptr)
            *length = sizeof(SQLUSMALLINT);
        return SQL_SUCCESS;
    }
    if (type == SQL_IDENTIFIER_QUOTE_CHAR) {
        auto *connection = static_cast<Connection *>(handle);
        if (!connection->quote) {
            connection->records = {Record{"HY096", 0, "[Scripted] information type not known"}};
            return SQL_ERROR;
        }
        copyText(*connection->quote, static_cast<SQLCHAR *>(value), capacity, length);
        return SQL_SUCCESS;
    }
    if (value != nullptr && capacity >= static_cast<SQLSMALLINT>(sizeof(SQLUINTEGER)))
        std::memset(value, 0, sizeof(SQLUINTEGER));
    if (length != nullptr)
        *length = sizeof(SQLUINTEGER);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND, SQLCHAR *in, SQLSMALLINT inLength,
                                   SQLCHAR *out, SQLSMALLINT outCapacity, SQLSMALLINT *outLength,
                                   SQLUSMALLINT)
{
    auto *connection = static_cast<Connection *>(handle);
    const std::string text = textOf(in, inLength);
    connection->logPath = attribute(text, "LOG");
    const int section = earlierConnections(connection->logPath);
    connection->log("connect " + text);
    if (connection->loginTimeout)
        connection->log("set login timeout " + std::to_string(*connection->loginTimeout));
    const std::string autoCommit = attribute(text, "AUTOCOMMIT");
    connection->autoCommit = autoCommit != "OFF";
    connection->alwaysAutoCommit = autoCommit == "ALWAYS";
    connection->deletesStatements = attribute(text, "CURSORS") == "DELETE";
    connection->catalogue = attribute(text, "CATALOGUE") != "NONE";
    const std::string quote = attribute(text, "QUOTE");
    if (quote == "none")
        connection->quote.reset();
    else if (quote == "blank")
        connection->quote = " ";
    else if (!quote.empty())
        connection->quote = quote;
    const std::string scriptPath = attribute(text, "SCRIPT");
    if (!readScript(scriptPath, section, connection->script)) {
        connection->records = {
            Record{"08001", 1, "[Scripted] cannot read the script " + scriptPath}};
        return SQL_ERROR;
    }
    const SQLRETURN code = apply(*connection, connection->next("connect"));
    if (code == SQL_SUCCESS || code == SQL_SUCCESS_WITH_INFO) {
        connection->connected = true;
        copyText(text, out, outCapacity, outLength);
    }
    return code;
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle)
{
    auto *connection = static_cast<Connection *>(handle);
    connection->log("disconnect");
    connection->connected = false;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR *text, SQLINTEGER length)
{
    auto *statement = static_cast<Statement *>(handle);
    statement->connection->log("prepare " + textOf(text, length));
    const SQLRETURN code = apply(*statement, statement->connection->next("prepare"));
    statement->prepared = code == SQL_SUCCESS || code == SQL_SUCCESS_WITH_INFO;
    return code;
}

SQLRETURN SQL_API SQLBindParameter(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT,
                                   SQLSMALLINT cType, SQLSMALLINT sqlType, SQLULEN size,
                                   SQLSMALLINT digits, SQLPOINTER value, SQLLEN, SQLLEN *length)
{
    auto *statement = static_cast<Statement *>(handle);
    statement->connection->log("bind " + std::to_string(number) + " " + std::to_string(cType) +
                               " " + std::to_string(sqlType) + " " + std::to_string(size) + " " +
                               std::to_string(digits));
    statement->parameters[number] = Parameter{cType, sqlType, size, digits, value, length};
    return apply(*statement, statement->connection->next("bind"));
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT handle)
{
    auto *statement = static_cast<Statement *>(handle);
    std::string line = "execute";
    for (const auto &[number, parameter] : statement->parameters)
        line += " " + std::to_string(number) + "=" + parameterValue(parameter);
    statement->connection->log(line);
    if (!statement->prepared) {
        statement->records = {Record{"HY010", 0, "[Scripted] nothing prepared"}};
        return SQL_ERROR;
    }
    return apply(*statement, statement->connection->next("execute"));
}

SQLRETURN SQL_API SQLGetFunctions(SQLHDBC handle, SQLUSMALLINT function, SQLUSMALLINT *supported)
{
    const auto *connection = static_cast<Connection *>(handle);
    const auto offered = [connection](SQLUSMALLINT id) -> SQLUSMALLINT {
        return (id == SQL_API_SQLTABLES || id == SQL_API_SQLCOLUMNS) && !connection->catalogue
                   ? SQL_FALSE
                   : SQL_TRUE;
    };
    if (function == SQL_API_ODBC3_ALL_FUNCTIONS) {
        for (SQLUSMALLINT i = 0; i < SQL_API_ODBC3_ALL_FUNCTIONS_SIZE; ++i)
            supported[i] = 0xFFFF;
        for (int id : {SQL_API_SQLTABLES, SQL_API_SQLCOLUMNS}) {
            if (!offered(static_cast<SQLUSMALLINT>(id)))
                supported[id >> 4] =
                    static_cast<SQLUSMALLINT>(supported[id >> 4] & ~(1u << (id & 0xF)));
        }
    } else if (function == SQL_API_ALL_FUNCTIONS) {
        for (SQLUSMALLINT i = 0; i < 100; ++i)
            supported[i] = offered(i);
    } else {
        *supported = offered(function);
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLTables(SQLHSTMT handle, SQLCHAR *, SQLSMALLINT, SQLCHAR *, SQLSMALLINT,
                            SQLCHAR *, SQLSMALLINT, SQLCHAR *types, SQLSMALLINT typesLength)
{
    auto *statement = static_cast<Statement *>(handle);
    statement->connection->log("tables " + textOf(types, typesLength));
    return catalogue(*statement, "tables");
}

SQLRETURN SQL_API SQLColumns(SQLHSTMT handle, SQLCHAR *, SQLSMALLINT, SQLCHAR *, SQLSMALLINT,
                             SQLCHAR *table, SQLSMALLINT tableLength, SQLCHAR *, SQLSMALLINT)
{
    auto *statement = static_cast<Statement *>(handle);
    statement->connection->log("columns " + textOf(table, tableLength));
    return catalogue(*statement, "columns");
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT *count)
{
    const auto *statement = static_cast<Statement *>(handle);
    *count = static_cast<SQLSMALLINT>(statement->rows.empty() ? 0 : statement->rows[0].size());
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLBindCol(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT cType,
                             SQLPOINTER value, SQLLEN capacity, SQLLEN *indicator)
{
    auto *statement = static_cast<Statement *>(handle);
    statement->columns[number] = BoundColumn{cType, value, capacity, indicator};
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT handle)
{
    auto *statement = static_cast<Statement *>(handle);
    const Outcome outcome = statement->connection->next("fetch");
    if (outcome.code != SQL_SUCCESS && outcome.code != SQL_SUCCESS_WITH_INFO)
        return apply(*statement, outcome);
    if (statement->nextRow >= statement->rows.size())
        return SQL_NO_DATA;
    const ResultRow &row = statement->rows[statement->nextRow++];
    for (const auto &[number, column] : statement->columns) {
        if (number >= 1 && number <= row.size())
            deliver(column, row[number - 1]);
    }
    return apply(*statement, outcome);
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT completion)
{
    if (type != SQL_HANDLE_DBC)
        return SQL_SUCCESS;
    auto *connection = static_cast<Connection *>(handle);
    if (completion == SQL_ROLLBACK) {
        connection->log("rollback");
        return SQL_SUCCESS;
    }
    connection->log("commit");
    return apply(*connection, connection->next("commit"));
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option)
{
    auto *statement = static_cast<Statement *>(handle);
    if (option == SQL_DROP) {
        delete statement;
        return SQL_SUCCESS;
    }
    if (option == SQL_RESET_PARAMS)
        statement->parameters.clear();
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number,
                                SQLCHAR *state, SQLINTEGER *native, SQLCHAR *text,
                                SQLSMALLINT capacity, SQLSMALLINT *length)
{
    Diagnostics *diagnostics = nullptr;
    switch (type) {
    case SQL_HANDLE_ENV:
        diagnostics = static_cast<Environment *>(handle);
        break;
    case SQL_HANDLE_DBC:
        diagnostics = static_cast<Connection *>(handle);
        break;
    case SQL_HANDLE_STMT:
        diagnostics = static_cast<Statement *>(handle);
        break;
    default:
        return SQL_ERROR;
    }
    if (number < 1 || static_cast<std::size_t>(number) > diagnostics->records.size())
        return SQL_NO_DATA;
    const Record &record = diagnostics->records[static_cast<std::size_t>(number - 1)];
    if (state != nullptr)
        copyText(record.state, state, 6, nullptr);
    if (native != nullptr)
        *native = record.native;
    copyText(record.text, text, capacity, length);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number,
                                  SQLSMALLINT field, SQLPOINTER value, SQLSMALLINT, SQLSMALLINT *)
{
    if (number == 0 && field == SQL_DIAG_NUMBER && value != nullptr) {
        Diagnostics *diagnostics =
            type == SQL_HANDLE_ENV ? static_cast<Diagnostics *>(static_cast<Environment *>(handle))
            : type == SQL_HANDLE_DBC ? static_cast<Diagnostics *>(static_cast<Connection *>(handle))
                                     : static_cast<Diagnostics *>(static_cast<Statement *>(handle));
        *static_cast<SQLINTEGER *>(value) = static_cast<SQLINTEGER>(diagnostics->records.size());
        return SQL_SUCCESS;
    }
    return SQL_NO_DATA;
}

} // extern "C"
