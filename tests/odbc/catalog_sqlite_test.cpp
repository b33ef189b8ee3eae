// SPDX-License-Identifier: MIT
// The catalogue cases on SQLite, each in a database file of its own.
#include <fstream>

#include "tests/odbc/catalogcases.h"
#include "tests/support/databases.h"

namespace {

TemporaryFolder &Folder()
{
    static TemporaryFolder folder;
    return folder;
}

std::string NewSqliteDatabase(const std::string &label)
{
    return SqliteConnectString(Folder().file(label + ".sqlite"));
}

// The database file is overwritten under the open connection: its next read finds no database.
std::shared_ptr<void> SpoilDatabase(const std::string &label)
{
    std::fstream file(Folder().file(label + ".sqlite"),
                      std::ios::in | std::ios::out | std::ios::binary);
    file.write(std::string(4096, 'x').data(), 4096);
    return nullptr;
}

INSTANTIATE_TEST_SUITE_P(Sqlite, CatalogOnEngine,
                         ::testing::Values(CatalogEngine{"SQLite", NewSqliteDatabase, '"',
                                                         "sqlite_master", 12, SpoilDatabase,
                                                         "file is not a database", false}),
                         EngineName);

} // namespace
