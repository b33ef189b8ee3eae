// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/testfiles.h"

// Driver manager files of a test's own: the drivers of the tests' odbcinst.ini, the system data
// sources in odbc.ini beside it (ODBCSYSINI) and the user data sources in a file of their own
// (ODBCINI). The driver manager reads the user file's name afresh on every look-up, but the
// system folder's only on the process's first use of ODBC: make the files before anything else
// in the process speaks ODBC. The previous settings come back when the object goes.
class PrivateOdbcFiles
{
public:
    PrivateOdbcFiles(const std::string &systemSources, const std::string &userSources)
        : m_oldSystem(get("ODBCSYSINI")), m_oldUser(get("ODBCINI"))
    {
        const std::filesystem::path drivers =
            std::filesystem::path(m_oldSystem.value_or("/etc")) / "odbcinst.ini";
        writeBytes(m_folder.path() / "odbcinst.ini", readBytes(drivers));
        writeBytes(m_folder.path() / "odbc.ini", systemSources);
        writeBytes(m_folder.path() / "user.ini", userSources);
        setenv("ODBCSYSINI", m_folder.path().c_str(), 1);
        setenv("ODBCINI", (m_folder.path() / "user.ini").c_str(), 1);
    }
    ~PrivateOdbcFiles()
    {
        restore("ODBCSYSINI", m_oldSystem);
        restore("ODBCINI", m_oldUser);
    }
    PrivateOdbcFiles(const PrivateOdbcFiles &) = delete;
    PrivateOdbcFiles &operator=(const PrivateOdbcFiles &) = delete;

    const std::filesystem::path &folder() const { return m_folder.path(); }
    std::string file(const std::string &name) const { return m_folder.file(name); }

private:
    static std::optional<std::string> get(const char *name)
    {
        const char *value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    static void restore(const char *name, const std::optional<std::string> &value)
    {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }

    std::optional<std::string> m_oldSystem;
    std::optional<std::string> m_oldUser;
    TemporaryFolder m_folder;
};
