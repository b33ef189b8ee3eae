#pragma once

#include <string>
#include <string_view>

// Connection strings as the programs store and hand them on.

// The prefix that some tools put before a connection string. Description files store the string
// without it, and the driver manager is given the string without it.
inline constexpr std::string_view OdbcPrefix = "ODBC;";

inline bool HasOdbcPrefix(std::string_view connectString)
{
    return connectString.starts_with(OdbcPrefix);
}

// The string without one leading "ODBC;" (case-sensitive).
inline std::string_view WithoutOdbcPrefix(std::string_view connectString)
{
    return HasOdbcPrefix(connectString) ? connectString.substr(OdbcPrefix.size()) : connectString;
}

// The value that follows the first occurrence of `key` (for example "DSN=", case-sensitive,
// anywhere in the string) up to the next ";" or the end; empty when the key does not occur.
// Nothing is trimmed or unquoted.
std::string ConnectValue(std::string_view connectString, std::string_view key);
