// SPDX-License-Identifier: MIT
// The catalogue cases on the tests' MariaDB server (fixture "MariaDB"), each case in a database
// of its own; the server's own databases (mysql, performance_schema, sys) are others.
#include "tests/odbc/catalogcases.h"
#include "tests/support/databases.h"

namespace {

std::string newDatabase(const std::string &label)
{
    DatabaseSession admin(mariaDbConnectString());
    admin.execute("DROP DATABASE IF EXISTS " + label);
    admin.execute("CREATE DATABASE " + label + " CHARACTER SET utf8mb4");
    return "DRIVER=MariaDB;Server=127.0.0.1;Port=" + mariaDbPort() + ";Database=" + label +
           ";User=quillon";
}

// The server ends every other connection to the test's database.
std::shared_ptr<void> endConnections(const std::string &label)
{
    DatabaseSession admin(mariaDbConnectString());
    for (const auto &row :
         admin.query("SELECT id FROM information_schema.processlist WHERE db = '" + label +
                     "' AND id <> CONNECTION_ID()"))
        admin.execute("KILL " + row[0].value_or("0"));
    return nullptr;
}

INSTANTIATE_TEST_SUITE_P(MariaDb, CatalogOnEngine,
                         ::testing::Values(CatalogEngine{"MariaDB", newDatabase, '`', "db", -9,
                                                         endConnections,
                                                         "Lost connection to server"}),
                         engineName);

} // namespace
