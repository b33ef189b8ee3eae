// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Connection strings as the programs store and hand them on, and as unixODBC's driver manager
// reads them.

// The prefix that some tools put before a connection string. Description files store the string
// without it, and the driver manager is given the string without it.
inline constexpr std::string_view OdbcPrefix = "ODBC;";

inline bool hasOdbcPrefix(std::string_view connectString)
{
    return connectString.starts_with(OdbcPrefix);
}

// The string without one leading "ODBC;" (case-sensitive).
inline std::string_view withoutOdbcPrefix(std::string_view connectString)
{
    return hasOdbcPrefix(connectString) ? connectString.substr(OdbcPrefix.size()) : connectString;
}

// The value that follows the first occurrence of `key` (for example "DSN=", case-sensitive,
// anywhere in the string) up to the next ";" or the end; empty when the key does not occur.
// Nothing is trimmed or unquoted.
std::string connectValue(std::string_view connectString, std::string_view key);

// One KEY=VALUE pair of a connection string.
struct ConnectPair
{
    std::string key;
    std::string value;

    bool operator==(const ConnectPair &) const = default;
};

// Whether two keys are the same: keys ignore case.
bool sameConnectKey(std::string_view a, std::string_view b);

// The value of the first pair with the key `key`; nothing when no pair has it.
std::optional<std::string> connectAttribute(std::string_view connectString, std::string_view key);

// What `connectString` needs at its end so that the driver in `driverLibrary` (the file name or
// path of its shared library, empty when unknown) ends a connect after `loginSeconds` and any
// later wait for the server after `querySeconds`: for MariaDB Connector/ODBC, which takes no
// notice of SQL_LOGIN_TIMEOUT and SQL_QUERY_TIMEOUT (a connection to a server that has stopped
// answering would wait for ever), its own keys CONN_TIMEOUT, READ_TIMEOUT and WRITE_TIMEOUT, each
// one that the string does not already give; for every other driver nothing.
std::string driverTimeoutKeys(std::string_view connectString, std::string_view driverLibrary,
                              int loginSeconds, int querySeconds);

// The attributes of a connection string in the order written, repeated keys included, read as
// unixODBC's driver manager reads them:
// - the string ends at its first NUL byte (it is handed over as a C string);
// - white space and ';' before a key are skipped; the key is the text up to the next '=' as it
//   stands, blanks and ';' included; text without a further '=' ends the string;
// - a value that starts with '{' runs to the next '}' that is not doubled ("}}" stands for one
//   '}') or to the end; what follows that '}' belongs to the next key;
// - any other value runs to the next ';' or to the end, as it stands.
std::vector<ConnectPair> parseConnectString(std::string_view text);

// A connection string that parseConnectString reads as `attributes` (keys and values as it gives
// them): values in braces where they need them, pairs separated by ';'.
std::string writeConnectString(const std::vector<ConnectPair> &attributes);

// The attributes that the driver manager acts on: DSN on one side and DRIVER or FILEDSN on the
// other exclude each other, the first of them written wins and the others are dropped; each key
// then appears once, where it was first written, with the value written last.
std::vector<ConnectPair> driverManagerAttributes(const std::vector<ConnectPair> &attributes);

// The value of the first attribute whose key is `key` (without regard to case), or null.
const std::string *findConnectValue(const std::vector<ConnectPair> &attributes,
                                    std::string_view key);
// "key=value" for a connection string. A value that holds ";" or starts with "{" is put in
// braces with each "}" doubled, so that the driver reads it whole; any other value stays as it
// is, since not every driver takes braces off (SQLite's driver never does, psqlODBC not for
// every key).
std::string connectPairText(std::string_view key, std::string_view value);
