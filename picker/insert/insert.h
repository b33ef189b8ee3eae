// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fieldvalues/message.h"
#include "fieldvalues/tabledescription.h"
#include "odbc/diagnostics.h"
#include "odbc/identifiers.h"

// The picker's one ODBC connection and its row insert. Every ODBC failure is shown at once
// through the MessageSink, in the driver's own words; the operations return 0 on success and 1
// on failure.

// A box holds records while its text stays below this many bytes; the first record of a box is
// always taken whole.
inline constexpr std::size_t DiagnosticsBoxLimit = 390;

// What a call's diagnostics tell: information beside a success, or a failure.
enum class DiagnosticsKind
{
    Information,
    Error,
};

// Splits the records of a call into message boxes: records joined by line feeds while the text
// stays below DiagnosticsBoxLimit, a record never split. Information captions and icon for
// information, error captions and the exclamation icon otherwise. No records give one box with
// an empty text.
std::vector<Message> splitDiagnostics(DiagnosticsKind kind,
                                      const std::vector<SqlDiagnosticRecord> &records);

// The index of the last field with a value, counting down to field 1; 0 when there is none.
int lastFieldWithValue(std::span<const std::string> values);

// The INSERT for the non-empty values: names enclosed in the connection's identifier quote with
// every quote inside them doubled, one marker per non-empty value up to the last one; with no
// value at all the first field and one marker. `values` holds one text per field. A table that
// the description names already quoted and qualified is named as it is written.
std::string buildInsertStatement(const std::string &tableName,
                                 std::span<const FieldDescription> fields,
                                 std::span<const std::string> values,
                                 std::string_view quote = "\"");

// What an insert did with the row.
enum class InsertOutcome
{
    Stored,
    Failed,
    // The connection was lost while the commit was under way: the row may or may not be stored.
    InDoubt,
};

// Said when the commit's answer never came.
extern const char *const RowInDoubtText;

// Whether these records say that the connection went away: class 08, or the server shutting
// down or crashing under it (57P01, 57P02, 57P03).
bool connectionGone(const std::vector<SqlDiagnosticRecord> &records);

// Whether the outcome of a commit that failed with these records cannot be known: the
// connection went away, the driver says so (40003), or the commit timed out.
bool commitOutcomeUnknown(const std::vector<SqlDiagnosticRecord> &records);

class OdbcConnection
{
public:
    explicit OdbcConnection(MessageSink &sink);
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection &) = delete;
    OdbcConnection &operator=(const OdbcConnection &) = delete;

    // Connects without prompting, within the login timeout. A leading "ODBC;" is skipped. A string
    // that checkConnectString refuses is shown as a warning, with the key refused and why, and
    // nothing is allocated or loaded. The connection commits only what insertRow commits, so that
    // a row whose insert failed (a timeout among them) is never stored behind the user's back when
    // a stalled server goes on; a driver that cannot leave auto-commit keeps it. Each statement may
    // wait QueryTimeoutSeconds for the server. Handles allocated before a failure stay allocated
    // until disconnectDataSource.
    // True when connected; otherwise the reason has been shown.
    [[nodiscard]] bool connectDataSource(const std::string &connectString);

    // connectDataSource() in two halves, so that other work can go on while the driver connects:
    // the first shows nothing and may run on another thread; the second, on the message sink's
    // thread, shows what went wrong and tells whether the connection stands.
    struct ConnectAttempt
    {
        bool refused = false; // checkConnectString refused the string, for `reason`
        std::string reason;
        short code = 0; // what the driver manager answered
    };
    ConnectAttempt attemptConnection(const std::string &connectString);
    [[nodiscard]] bool finishConnection(const ConnectAttempt &attempt);

    // Frees everything; safe when nothing is allocated.
    void disconnectDataSource();

    // Inserts one row of `values` (one text per field, empty means "no value") into
    // `tableName`. The values of date, time and timestamp fields go through the fields'
    // bindBuffer; every other value, wide character types included, is character data. Returns
    // InsertOutcome::Stored when the row was stored, InsertOutcome::Failed when it was not: a
    // failed step (a timeout among them) is shown and rolled back; a failing commit loses the row,
    // which is rolled back, except on a connection that commits by itself, where SQLExecute stored
    // the row and what the commit reports is shown without taking that back.
    // InsertOutcome::InDoubt, after RowInDoubtText and the driver's words, when the connection went
    // away while the row was being committed. Without a usable connection (a failed connect, or
    // SQLSTATE class 08 from an earlier call) it first connects again with the last connection
    // string. A row whose statement finds the connection gone, within a few seconds and before
    // anything was committed, is sent once more on a new connection (a server restarted, a
    // standby promoted in the primary's place); a row is never sent again once its commit may
    // have been made, nor after a timeout. The statement stays
    // prepared while the same columns receive values. No message box is shown between reading the
    // values and executing them: information from preparing and binding waits until then.
    [[nodiscard]] InsertOutcome insertRow(const std::string &tableName,
                                          std::span<FieldDescription> fields,
                                          std::span<const std::string> values);

    // The same for the loaded fields of a description.
    [[nodiscard]] InsertOutcome insertRow(TableDescription &description,
                                          std::span<const std::string> values);

    bool connected() const;
    bool reconnectPending() const { return m_reconnect; }
    // The statement text of the last insert.
    const std::string &statementText() const { return m_statementText; }
    // How many times a statement was prepared since connecting.
    int prepareCount() const { return m_prepareCount; }
    // The quote that encloses names in the statement, as the driver gave it when connecting.
    const std::string &identifierQuote() const { return m_quote; }

private:
    struct Handles;

    // Shows the diagnostics of a failed or informative call and notes a lost connection.
    void report(DiagnosticsKind kind, bool withStatement);
    // report() for a failed step of an insert: the statement is prepared afresh next time.
    // `executed` when the statement had been sent. Gives nothing, without a word, for a lost
    // connection that `mayRetry` allows to send the row again.
    std::optional<InsertOutcome> failInsert(bool executed, bool mayRetry);
    std::optional<InsertOutcome> insertOnce(const std::string &tableName,
                                            std::span<FieldDescription> fields,
                                            std::span<const std::string> values, bool mayRetry);
    // Whether the connection commits every statement by itself (ODBC's default).
    bool commitsByItself() const;
    // Takes back what a failed insert left of its transaction, unless the connection is lost.
    void rollBack();
    // SQLTransact with SQL_COMMIT or SQL_ROLLBACK; returns its SQLRETURN.
    short endTransaction(unsigned short completion);

    MessageSink &m_sink;
    std::unique_ptr<Handles> m_handles;
    std::string m_connectString;
    std::string m_statementText;
    // The text that is prepared on m_statement, empty when nothing is.
    std::string m_preparedText;
    std::string m_quote = "\"";
    bool m_transactionsKeepStatements = true;
    bool m_reconnect = false;
    int m_prepareCount = 0;
};

// Connects to the description's data source without prompting, inserts one row and
// disconnects. `values` must already have passed checkRow. Returns insertRow's outcome, or
// InsertOutcome::Failed when no connection could be made.
[[nodiscard]] InsertOutcome insertRowFromTexts(const TableDescription &description,
                                               std::span<const std::string> values,
                                               MessageSink &sink);
