// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "odbc/handles.h"

// The wizard's connection to one data source, on an ODBC 2 environment of its own. It is open
// from a successful open() until close(); its failures are raised as OdbcError.
class OdbcDatabase
{
public:
    OdbcDatabase() = default;
    OdbcDatabase(const OdbcDatabase &) = delete;
    OdbcDatabase &operator=(const OdbcDatabase &) = delete;

    // The environment, allocated on first use; raises OdbcError when the driver manager cannot
    // give one.
    SQLHENV environment();

    // Closes any previous connection, then connects without prompting, with the login timeout
    // of every connection (LoginTimeoutSeconds).
    // On success the connection's connect string is "ODBC;" followed by the string that the
    // driver completed. On failure the connection stays closed and OdbcError is raised.
    void open(const std::string &connectString);
    // Disconnects and frees the connection; nothing happens when it is closed.
    void close();

    bool isOpen() const { return m_connection.connected(); }
    // "ODBC;" and the completed string of the open connection; empty while closed.
    const std::string &connectString() const { return m_connectString; }
    SQLHDBC connection() const { return m_connection.get(); }

private:
    OdbcEnvironment m_environment;
    OdbcConnectionHandle m_connection;
    std::string m_connectString;
};
