// SPDX-License-Identifier: MIT
#include "odbc/diagnostics.h"

#include <cinttypes>
#include <cstdio>

std::string formatDiagnosticRecord(const SqlDiagnosticRecord &record)
{
    char native[16];
    std::snprintf(native, sizeof native, "%" PRIX32,
                  static_cast<std::uint32_t>(record.nativeError));
    return "SQL Error State:" + record.state + ", Native Error Code: " + native +
           ", ODBC Error: " + record.message;
}

bool isConnectionFailure(const std::vector<SqlDiagnosticRecord> &records)
{
    for (const SqlDiagnosticRecord &record : records) {
        if (record.state.starts_with("08"))
            return true;
    }
    return false;
}
