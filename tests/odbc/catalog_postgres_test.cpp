// SPDX-License-Identifier: MIT
// The catalogue cases on the tests' PostgreSQL server (fixture "Postgres"), through the ANSI
// and the Unicode driver of psqlODBC, each case in a database of its own.
#include "tests/odbc/catalogcases.h"
#include "tests/support/databases.h"

namespace {

std::string adminConnectString()
{
    return postgresConnectString();
}

std::string newDatabase(const std::string &driver, const std::string &label)
{
    const std::string name = label + "_" + (driver == "PostgreSQL ANSI" ? "a" : "w");
    DatabaseSession admin(adminConnectString());
    admin.execute("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    admin.execute("CREATE DATABASE " + name + " ENCODING 'UTF8' TEMPLATE template0");
    return "DRIVER=" + driver + ";Servername=127.0.0.1;Port=" + postgresPort() +
           ";Database=" + name + ";Username=postgres";
}

// The server ends every other connection to the test's database.
std::shared_ptr<void> endConnections(const std::string &driver, const std::string &label)
{
    const std::string name = label + "_" + (driver == "PostgreSQL ANSI" ? "a" : "w");
    DatabaseSession admin(adminConnectString());
    admin.execute("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
                  name + "'");
    return nullptr;
}

CatalogEngine engine(const std::string &name, const std::string &driver, int varcharType)
{
    return CatalogEngine{
        name, [driver](const std::string &label) { return newDatabase(driver, label); }, '"',
        "pg_class", varcharType,
        [driver](const std::string &label) { return endConnections(driver, label); },
        // "The connection has been lost", "The connection is down", as psqlODBC notices it.
        "connection"};
}

INSTANTIATE_TEST_SUITE_P(Postgres, CatalogOnEngine,
                         ::testing::Values(engine("PostgresAnsi", "PostgreSQL ANSI", 12),
                                           engine("PostgresUnicode", "PostgreSQL Unicode", 12)),
                         engineName);

} // namespace
