// SPDX-License-Identifier: MIT
#include "odbc/datasources.h"

#include <odbcinst.h>
#include <sqlext.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "odbc/handles.h"

namespace fs = std::filesystem;

namespace {

// Data source names and driver names are at most this long (SQL_MAX_DSN_LENGTH is 32, but the
// driver manager keeps longer ones).
constexpr SQLSMALLINT NameSize = 256;
constexpr int SettingSize = 1024;

std::string textOf(const SQLCHAR *buffer, std::size_t size)
{
    const char *text = reinterpret_cast<const char *>(buffer);
    return std::string(text, strnlen(text, size));
}

// Looks settings up in one of the two odbc.ini files, and afterwards lets the driver manager
// look in both again, as it does by default.
class ConfigModeScope
{
public:
    explicit ConfigModeScope(DataSourceScope scope)
    {
        SQLSetConfigMode(scope == DataSourceScope::User ? ODBC_USER_DSN : ODBC_SYSTEM_DSN);
    }
    ~ConfigModeScope() { SQLSetConfigMode(ODBC_BOTH_DSN); }
    ConfigModeScope(const ConfigModeScope &) = delete;
    ConfigModeScope &operator=(const ConfigModeScope &) = delete;
};

} // namespace

std::vector<MachineDataSource> listMachineDataSources(SQLHENV environment)
{
    std::vector<MachineDataSource> sources;
    const struct
    {
        SQLUSMALLINT first;
        DataSourceScope scope;
    } passes[] = {{SQL_FETCH_FIRST_USER, DataSourceScope::User},
                  {SQL_FETCH_FIRST_SYSTEM, DataSourceScope::System}};
    for (const auto &pass : passes) {
        SQLUSMALLINT direction = pass.first;
        for (;;) {
            SQLCHAR name[NameSize] = {};
            SQLCHAR driver[NameSize] = {};
            SQLSMALLINT nameLength = 0;
            SQLSMALLINT driverLength = 0;
            const SQLRETURN code = SQLDataSources(environment, direction, name, NameSize - 1,
                                                  &nameLength, driver, NameSize - 1, &driverLength);
            if (!succeeded(code))
                break;
            MachineDataSource source{
                textOf(name, NameSize - 1), pass.scope, textOf(driver, NameSize - 1), {}};
            source.description = machineDataSourceSetting(source, "Description");
            sources.push_back(std::move(source));
            direction = SQL_FETCH_NEXT;
        }
    }
    return sources;
}

std::string machineDataSourceSetting(const MachineDataSource &source, const std::string &key)
{
    const ConfigModeScope scope(source.scope);
    char value[SettingSize] = {};
    SQLGetPrivateProfileString(source.name.c_str(), key.c_str(), "", value, SettingSize,
                               "ODBC.INI");
    return std::string(value, strnlen(value, SettingSize - 1));
}

std::string fileDataSourceSetting(const fs::path &file, const std::string &key)
{
    char value[SettingSize] = {};
    WORD length = 0;
    if (!SQLReadFileDSN(file.c_str(), "ODBC", key.c_str(), value, SettingSize, &length))
        return {};
    return std::string(value, strnlen(value, SettingSize - 1));
}

fs::path fileDataSourceFolder()
{
    char value[SettingSize] = {};
    SQLGetPrivateProfileString("ODBC", "FileDSNPath", "", value, SettingSize, "ODBCINST.INI");
    const std::string configured(value, strnlen(value, SettingSize - 1));
    if (!configured.empty())
        return configured;
    const char *systemFolder = std::getenv("ODBCSYSINI");
    return fs::path(systemFolder != nullptr && *systemFolder != '\0' ? systemFolder : "/etc") /
           "ODBCDataSources";
}

std::vector<fs::path> listFileDataSources(const fs::path &folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".dsn" && it->is_regular_file(error))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}
