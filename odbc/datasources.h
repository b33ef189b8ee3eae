// SPDX-License-Identifier: MIT
#pragma once

#include <sql.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The data sources that the driver manager knows: machine data sources (named in the user's and
// in the system's odbc.ini) and file data sources (.dsn files).

enum class DataSourceScope
{
    User,
    System,
};

struct MachineDataSource
{
    std::string name;
    DataSourceScope scope = DataSourceScope::User;
    // The name under which the driver is installed.
    std::string driver;
    // The data source's own "Description" setting; often empty.
    std::string description;

    bool operator==(const MachineDataSource &) const = default;
};

// The user data sources, then the system ones, each in the driver manager's order.
std::vector<MachineDataSource> listMachineDataSources(SQLHENV environment);

// A setting of a machine data source, looked up by key without regard to letter case; empty
// when the data source does not have it.
std::string machineDataSourceSetting(const MachineDataSource &source, const std::string &key);

// A setting of the [ODBC] section of a .dsn file; empty when the file or the key is missing.
std::string fileDataSourceSetting(const std::filesystem::path &file, const std::string &key);

// The folder where the driver manager keeps file data sources: the "FileDSNPath" of its driver
// file's [ODBC] section, else ODBCDataSources beside that file.
std::filesystem::path fileDataSourceFolder();

// The .dsn files of a folder, sorted by name.
std::vector<std::filesystem::path> listFileDataSources(const std::filesystem::path &folder);

// What a login needs: the user name and password that a data source's settings already give,
// and whether the data source reaches a server or names a user, where a login is usual.
struct LoginSettings
{
    std::string userName;
    std::string password;
    bool needsLogin = false;
};

// The keys that drivers use for the user name, the password and a server, in the order in which
// they are tried; the driver manager looks keys up without regard to letter case.
inline constexpr std::string_view UserNameKeys[] = {"UID", "Username", "User"};
inline constexpr std::string_view PasswordKeys[] = {"PWD", "Password"};
inline constexpr std::string_view ServerKeys[] = {"Server", "Servername", "Host", "Hostname",
                                                  "Port"};

// Reads the login settings through `lookup`, which gives the value of one key of a data source
// (empty when it has none).
template <class Lookup> LoginSettings readLoginSettings(Lookup lookup)
{
    const auto first = [&lookup](const auto &keys) {
        for (std::string_view key : keys) {
            std::string value = lookup(std::string(key));
            if (!value.empty())
                return value;
        }
        return std::string();
    };
    LoginSettings settings;
    settings.userName = first(UserNameKeys);
    settings.password = first(PasswordKeys);
    settings.needsLogin =
        !settings.userName.empty() || !settings.password.empty() || !first(ServerKeys).empty();
    return settings;
}
