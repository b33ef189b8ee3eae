// SPDX-License-Identifier: MIT
#include "odbc/diagnostics.h"

#include <cinttypes>
#include <cstdio>

#include "fieldvalues/usertext.h"

std::string formatDiagnosticRecord(const SqlDiagnosticRecord &record)
{
    char native[16];
    std::snprintf(native, sizeof native, "%" PRIX32,
                  static_cast<std::uint32_t>(record.nativeError));
    return fillIn(
        userText("Diagnostics", "SQL Error State:%1, Native Error Code: %2, ODBC Error: %3"),
        {record.state, native, record.message});
}

bool isConnectionFailure(const std::vector<SqlDiagnosticRecord> &records)
{
    for (const SqlDiagnosticRecord &record : records) {
        if (record.state.starts_with("08"))
            return true;
    }
    return false;
}
