// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a connection string may make the programs do. A Table Description file comes from
// anyone, and its connection string goes to the driver manager, which loads whatever library
// DRIVER= names, writes a file DSN wherever SAVEFILE= says and takes the attributes of a file
// DSN that FILEDSN= names; the drivers have keys of their own that load libraries or write
// files. Every connection made from a stored or typed connection string is checked here first.

// An ODBC driver of the driver manager's configuration: its name, as SQLDrivers lists it, and
// the libraries its entry names (Driver64 and Driver).
struct InstalledDriver
{
    std::string name;
    std::vector<std::string> libraries;
};

// What the check needs to know of the ODBC configuration.
struct OdbcConfiguration
{
    std::vector<InstalledDriver> drivers;
    // The [ODBC] section of a file data source as the driver manager reads it ("key=value;"
    // for each entry), or nothing when the file cannot be read.
    std::function<std::optional<std::string>(const std::string &path)> readFileDataSource;
};

// The driver manager's own configuration: SQLDrivers, the drivers' entries of odbcinst.ini and
// SQLReadFileDSN.
OdbcConfiguration systemOdbcConfiguration();

struct ConnectionCheck
{
    bool allowed = false;
    // When refused: the key that was refused, and why, in words for the user.
    std::string key;
    std::string reason;
    // When allowed: the string to hand to SQLDriverConnect. It is the checked string itself,
    // except that a file DSN is read here, once, and its attributes are joined to the string as
    // the driver manager would join them, so that the file cannot change after it was checked.
    std::string connectString;
};

// Checks a connection string as it goes to SQLDriverConnect (without any "ODBC;" prefix). It
// is refused when
// - a DRIVER is neither the name of an installed driver (without regard to case, as the driver
//   manager looks it up) nor exactly the library of one;
// - it has SAVEFILE, or a key that makes the driver manager or a driver load libraries or
//   write files where the string says (DMEnvAttr, DMConnAttr, DMStmtAttr, LoadExt, TraceFile,
//   Logdir, sslkey, PLUGIN_DIR), wherever a driver's own reading of the string could find it
//   (a driver's key with an empty value, as drivers complete a string, sets nothing);
// - the file DSN that FILEDSN names has any of these itself.
// DSN= is fine: the user's own configuration says which library a data source loads.
ConnectionCheck checkConnectString(std::string_view connectString,
                                   const OdbcConfiguration &configuration);
ConnectionCheck checkConnectString(std::string_view connectString);

// Checks the file data source at `path` as FILEDSN= would name it; when allowed, the connection
// string holds the file's attributes.
ConnectionCheck checkFileDataSource(const std::string &path,
                                    const OdbcConfiguration &configuration);
ConnectionCheck checkFileDataSource(const std::string &path);
