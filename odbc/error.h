// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include <sql.h>

#include "odbc/diagnostics.h"

// A failure of the driver or of the driver manager, raised by the wizard's database layer with
// the driver's own words. The windows catch it where a user's action began and show its text.
class OdbcError : public std::runtime_error
{
public:
    explicit OdbcError(std::vector<SqlDiagnosticRecord> records);
    // A failure that no diagnostic record describes.
    explicit OdbcError(const std::string &text);

    const std::vector<SqlDiagnosticRecord> &records() const { return m_records; }

private:
    std::vector<SqlDiagnosticRecord> m_records;
};

// The messages of the records, one a line, each once and without the line breaks that drivers
// put at their ends. Without any message, a line that says that the driver gave no reason.
std::string diagnosticText(const std::vector<SqlDiagnosticRecord> &records);

// Raises the records pending on the most specific of the handles.
[[noreturn]] void raiseOdbcError(SQLHENV environment, SQLHDBC connection, SQLHSTMT statement);
