// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <sql.h>
#include <sqlext.h>

#include "fieldvalues/tabledescription.h"
#include "tests/support/recordingsink.h"
#include "tests/support/testfiles.h"

// What the database tests share: connection strings for the tests' data sources and a plain
// ODBC session to set up tables and read rows back.

// A field as a description file would give it, with its value width set.
FieldDescription field(const std::string &name, int sqlType, int length, int required = 0);

std::string sqliteConnectString(const std::filesystem::path &database);
// The tests' PostgreSQL server, started by the fixture "Postgres", through psqlODBC's ANSI driver
// or another registered one ("PostgreSQL Unicode"); empty when it is not running.
std::string postgresConnectString(const std::string &driver = "PostgreSQL ANSI");
std::string postgresPort();
// The tests' MariaDB server, started by the fixture "MariaDB"; empty when it is not running.
std::string mariaDbConnectString();
std::string mariaDbPort();
// The process id of the MariaDB server, 0 when it is not running.
int mariaDbServerPid();
std::string scriptedConnectString(const std::filesystem::path &script,
                                  const std::filesystem::path &log);

// A port on 127.0.0.1 where nothing listens.
int unusedPort();

// A column of one field class: how the table declares it, the field that describes it, the value
// inserted and the text that CAST(column AS TEXT) reads back.
struct FieldClassCase
{
    const char *column;
    const char *declaredType;
    int sqlType;
    int length;
    const char *value;
    const char *stored;
};

// One row with a value in every case's column: the column definitions for CREATE TABLE, the
// fields and the values.
struct FieldClassRow
{
    std::string columns;
    std::vector<FieldDescription> fields;
    std::vector<std::string> values;
};
FieldClassRow rowOfEveryCase(const std::vector<FieldClassCase> &cases);

// A column as SQLColumns reports it in an ODBC 2 environment, the way the wizard reads the
// catalogue into a description: DATA_TYPE, TYPE_NAME and LENGTH.
struct CatalogColumn
{
    std::string name;
    int dataType = 0;
    std::string typeName;
    int length = 0;
};
std::vector<CatalogColumn> readCatalog(const std::string &connectString, const std::string &table);

// A column of one field class on a driver: how the table declares it, the DATA_TYPE that the
// driver's catalogue reports for it, the value inserted, and the text that `readBack` (with "%"
// for the quoted column name) reads back.
struct CatalogCase
{
    std::string column;
    std::string declaredType;
    int reportedType;
    std::string value;
    std::string stored;
    std::string readBack = "CAST(% AS CHAR)";
};

// The fields of the cases' columns, in the cases' order, as a description made from the driver's
// catalogue holds them (type and length as reported, the value width from them). Fails the test
// when a column is missing or reported with another type than the case says.
std::vector<FieldDescription> fieldsFromCatalog(const std::vector<CatalogColumn> &catalog,
                                                const std::vector<CatalogCase> &cases);

std::vector<std::string> readLines(const std::filesystem::path &path);

using Rows = std::vector<std::vector<std::optional<std::string>>>;

// A separate ODBC 3 connection for setting up and inspecting the database; throws on failure.
class DatabaseSession
{
public:
    explicit DatabaseSession(const std::string &connectString);
    ~DatabaseSession();
    DatabaseSession(const DatabaseSession &) = delete;
    DatabaseSession &operator=(const DatabaseSession &) = delete;

    void execute(const std::string &sql);
    Rows query(const std::string &sql);
    std::string scalar(const std::string &sql);

private:
    std::string diagnostics(SQLSMALLINT type, SQLHANDLE handle) const;

    SQLHENV m_environment = SQL_NULL_HENV;
    SQLHDBC m_connection = SQL_NULL_HDBC;
};
