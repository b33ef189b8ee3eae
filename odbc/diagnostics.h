// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One diagnostic record of a driver, in the driver's own words.
struct SqlDiagnosticRecord
{
    std::string state;
    std::int32_t nativeError = 0;
    std::string message;

    bool operator==(const SqlDiagnosticRecord &) const = default;
};

// "SQL Error State:%s, Native Error Code: %lX, ODBC Error: %s"; the native error as a 32-bit
// number in upper-case hexadecimal.
std::string formatDiagnosticRecord(const SqlDiagnosticRecord &record);

// True when a record says that the connection is gone (SQLSTATE class 08).
bool isConnectionFailure(const std::vector<SqlDiagnosticRecord> &records);
