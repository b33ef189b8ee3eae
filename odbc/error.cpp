#include "odbc/error.h"

#include "odbc/handles.h"

namespace {

constexpr const char *NoReasonText = "The ODBC driver reported a failure without giving a reason.";

std::string WithoutTrailingBreaks(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

} // namespace

OdbcError::OdbcError(std::vector<SqlDiagnosticRecord> records)
    : std::runtime_error(DiagnosticText(records)), m_records(std::move(records))
{}

OdbcError::OdbcError(const std::string &text) : std::runtime_error(text) {}

std::string DiagnosticText(const std::vector<SqlDiagnosticRecord> &records)
{
    std::string text;
    for (const SqlDiagnosticRecord &record : records) {
        const std::string line = WithoutTrailingBreaks(record.message);
        if (line.empty())
            continue;
        if (!text.empty())
            text += '\n';
        text += line;
    }
    return text.empty() ? std::string(NoReasonText) : text;
}

void RaiseOdbcError(SQLHENV environment, SQLHDBC connection, SQLHSTMT statement)
{
    throw OdbcError(CollectDiagnostics(environment, connection, statement));
}
