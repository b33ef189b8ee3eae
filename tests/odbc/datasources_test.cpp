// SPDX-License-Identifier: MIT
// The data sources that the driver manager knows, from a test's own odbc.ini files.
#include <gtest/gtest.h>

#include "odbc/connectionstring.h"
#include "odbc/database.h"
#include "odbc/datasources.h"
#include "tests/support/databases.h"
#include "tests/support/odbcfiles.h"

namespace {

TEST(DataSources, UserSourcesComeBeforeSystemSourcesWithTheirDriversAndDescriptions)
{
    const PrivateOdbcFiles files("[Warehouse]\nDriver = SQLite3\nDescription = Stock and "
                                 "shelves\nDatabase = /tmp/w.db\n\n[Accounts]\nDriver = "
                                 "PostgreSQL ANSI\nServername = 127.0.0.1\n",
                                 "[Shop]\nDriver = SQLite3\nDatabase = /tmp/s.db\n");
    OdbcDatabase database;
    EXPECT_EQ(listMachineDataSources(database.environment()),
              (std::vector<MachineDataSource>{
                  {"Shop", DataSourceScope::User, "SQLite3", ""},
                  {"Warehouse", DataSourceScope::System, "SQLite3", "Stock and shelves"},
                  {"Accounts", DataSourceScope::System, "PostgreSQL ANSI", ""},
              }));
}

TEST(DataSources, NoneAtAll)
{
    const PrivateOdbcFiles files("", "");
    OdbcDatabase database;
    EXPECT_TRUE(listMachineDataSources(database.environment()).empty());
}

TEST(DataSources, ASettingIsReadFromTheFileOfItsScopeWhateverTheCaseOfItsKey)
{
    // The same name in both files: each scope reads its own.
    const PrivateOdbcFiles files("[Same]\nDriver = SQLite3\nDatabase = /system.db\n",
                                 "[Same]\nDriver = SQLite3\nDatabase = /user.db\n");
    EXPECT_EQ(machineDataSourceSetting({"Same", DataSourceScope::User, "SQLite3", ""}, "database"),
              "/user.db");
    EXPECT_EQ(
        machineDataSourceSetting({"Same", DataSourceScope::System, "SQLite3", ""}, "DATABASE"),
        "/system.db");
    EXPECT_EQ(machineDataSourceSetting({"Same", DataSourceScope::User, "SQLite3", ""}, "UID"), "");
}

TEST(DataSources, LoginSettingsOfMachineAndFileDataSources)
{
    const PrivateOdbcFiles files(
        "[Server]\nDriver = PostgreSQL ANSI\nServername = db.example\nUsername = clerk\n"
        "Password = secret\n\n[Embedded]\nDriver = SQLite3\nDatabase = /tmp/e.db\n",
        "[PortOnly]\nDriver = MariaDB\nPORT = 3306\n");
    const auto machine = [](const char *name, DataSourceScope scope) {
        const MachineDataSource source{name, scope, "", ""};
        return readLoginSettings(
            [&source](const std::string &key) { return machineDataSourceSetting(source, key); });
    };
    const LoginSettings server = machine("Server", DataSourceScope::System);
    EXPECT_EQ(server.userName, "clerk");
    EXPECT_EQ(server.password, "secret");
    EXPECT_TRUE(server.needsLogin);
    const LoginSettings embedded = machine("Embedded", DataSourceScope::System);
    EXPECT_EQ(embedded.userName, "");
    EXPECT_FALSE(embedded.needsLogin);
    EXPECT_TRUE(machine("PortOnly", DataSourceScope::User).needsLogin);

    writeBytes(files.file("remote.dsn"), "[ODBC]\nDRIVER=MariaDB\nSERVER=h\nUID=u\nPWD=p\n");
    writeBytes(files.file("local.dsn"), "[ODBC]\nDRIVER=SQLite3\nDatabase=/tmp/l.db\n");
    const auto file = [&files](const char *name) {
        const std::filesystem::path path = files.file(name);
        return readLoginSettings(
            [&path](const std::string &key) { return fileDataSourceSetting(path, key); });
    };
    const LoginSettings remote = file("remote.dsn");
    EXPECT_EQ(remote.userName, "u");
    EXPECT_EQ(remote.password, "p");
    EXPECT_TRUE(remote.needsLogin);
    EXPECT_FALSE(file("local.dsn").needsLogin);
    EXPECT_FALSE(file("missing.dsn").needsLogin);
}

TEST(DataSources, FileDataSourcesAreTheDsnFilesOfTheirFolder)
{
    TemporaryFolder folder;
    for (const char *name : {"b.dsn", "a.dsn", "notes.txt", "c.DSN"})
        writeBytes(folder.path() / name, "[ODBC]\n");
    std::filesystem::create_directory(folder.path() / "folder.dsn");
    EXPECT_EQ(
        listFileDataSources(folder.path()),
        (std::vector<std::filesystem::path>{folder.path() / "a.dsn", folder.path() / "b.dsn"}));
    EXPECT_TRUE(listFileDataSources(folder.path() / "missing").empty());

    const PrivateOdbcFiles files("", "");
    EXPECT_EQ(fileDataSourceFolder(), files.folder() / "ODBCDataSources");
}

TEST(DataSources, AValueWithBlanksAndBracesReachesTheDriverWhole)
{
    // SQLite names its database file after the value: the file's name shows what arrived.
    TemporaryFolder folder;
    const std::string path = folder.file("blank and} brace{.sqlite");
    OdbcDatabase database;
    database.open("DRIVER=SQLite3;" + connectPairText("Database", path));
    EXPECT_TRUE(std::filesystem::exists(path));
}

} // namespace
