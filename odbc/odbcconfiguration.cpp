// SPDX-License-Identifier: MIT
// The ODBC configuration as the driver manager itself reads it, and the check of connection
// strings against it.
#include <cstring>
#include <vector>

#include <odbcinst.h>

#include "odbc/connectionpolicy.h"
#include "odbc/handles.h"

namespace {

// As large as the driver manager's own buffers for names, library paths and file DSNs.
constexpr int NameSize = 1024;
constexpr WORD FileDataSourceSize = 16 * 1024;

std::string driverEntry(const std::string &driver, const char *entry)
{
    std::vector<char> value(NameSize, '\0');
    SQLGetPrivateProfileString(driver.c_str(), entry, "", value.data(), NameSize, "ODBCINST.INI");
    return std::string(value.data(), strnlen(value.data(), NameSize));
}

std::vector<InstalledDriver> installedDrivers()
{
    std::vector<InstalledDriver> drivers;
    OdbcEnvironment environment;
    if (!succeeded(environment.allocate()))
        return drivers;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (true) {
        SQLCHAR name[NameSize] = {};
        SQLCHAR attributes[NameSize] = {};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT attributesLength = 0;
        const SQLRETURN code = SQLDrivers(environment.get(), direction, name, NameSize, &nameLength,
                                          attributes, NameSize, &attributesLength);
        if (!succeeded(code))
            break;
        direction = SQL_FETCH_NEXT;
        const char *text = reinterpret_cast<const char *>(name);
        InstalledDriver driver{std::string(text, strnlen(text, NameSize)), {}};
        // The driver manager loads Driver64 where it is set, else Driver.
        for (const char *entry : {"Driver64", "Driver"}) {
            std::string library = driverEntry(driver.name, entry);
            if (!library.empty())
                driver.libraries.push_back(std::move(library));
        }
        drivers.push_back(std::move(driver));
    }
    return drivers;
}

std::optional<std::string> readFileDataSource(const std::string &path)
{
    std::vector<char> text(FileDataSourceSize, '\0');
    WORD length = 0;
    if (!SQLReadFileDSN(path.c_str(), "ODBC", nullptr, text.data(), FileDataSourceSize, &length))
        return std::nullopt;
    return std::string(text.data(), strnlen(text.data(), FileDataSourceSize));
}

} // namespace

OdbcConfiguration systemOdbcConfiguration()
{
    return OdbcConfiguration{installedDrivers(), readFileDataSource};
}

ConnectionCheck checkConnectString(std::string_view connectString)
{
    return checkConnectString(connectString, systemOdbcConfiguration());
}

ConnectionCheck checkFileDataSource(const std::string &path)
{
    return checkFileDataSource(path, systemOdbcConfiguration());
}
