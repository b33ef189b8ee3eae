// SPDX-License-Identifier: MIT
#include "odbc/error.h"

#include <algorithm>

#include "fieldvalues/usertext.h"
#include "odbc/handles.h"

namespace {

constexpr const char *NoReasonText =
    USER_TEXT("OdbcError", "The ODBC driver reported a failure without giving a reason.");

std::string withoutTrailingBreaks(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

} // namespace

OdbcError::OdbcError(std::vector<SqlDiagnosticRecord> records)
    : std::runtime_error(diagnosticText(records)), m_records(std::move(records))
{}

OdbcError::OdbcError(const std::string &text) : std::runtime_error(text) {}

std::string diagnosticText(const std::vector<SqlDiagnosticRecord> &records)
{
    std::vector<std::string> lines;
    for (const SqlDiagnosticRecord &record : records) {
        std::string line = withoutTrailingBreaks(record.message);
        if (!line.empty() && std::find(lines.begin(), lines.end(), line) == lines.end())
            lines.push_back(std::move(line));
    }
    if (lines.empty())
        return userText("OdbcError", NoReasonText);
    std::string text = lines.front();
    for (std::size_t i = 1; i < lines.size(); ++i)
        text += '\n' + lines[i];
    return text;
}

void raiseOdbcError(SQLHENV environment, SQLHDBC connection, SQLHSTMT statement)
{
    throw OdbcError(collectDiagnostics(environment, connection, statement));
}
