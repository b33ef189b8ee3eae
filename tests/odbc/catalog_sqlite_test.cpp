// SPDX-License-Identifier: MIT
// The catalogue cases on SQLite, each in a database file of its own.
#include <fstream>

#include "tests/odbc/catalogcases.h"
#include "tests/support/databases.h"

namespace {

TemporaryFolder &folder()
{
    static TemporaryFolder folder;
    return folder;
}

std::string newSqliteDatabase(const std::string &label)
{
    return sqliteConnectString(folder().file(label + ".sqlite"));
}

// The database file is overwritten under the open connection: its next read finds no database.
std::shared_ptr<void> spoilDatabase(const std::string &label)
{
    std::fstream file(folder().file(label + ".sqlite"),
                      std::ios::in | std::ios::out | std::ios::binary);
    file.write(std::string(4096, 'x').data(), 4096);
    return nullptr;
}

INSTANTIATE_TEST_SUITE_P(Sqlite, CatalogOnEngine,
                         ::testing::Values(CatalogEngine{"SQLite", newSqliteDatabase, '"',
                                                         "sqlite_master", 12, spoilDatabase,
                                                         "file is not a database", false}),
                         engineName);

} // namespace
