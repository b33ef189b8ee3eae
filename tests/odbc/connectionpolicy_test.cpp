// SPDX-License-Identifier: MIT
// The check of what a connection string may make the programs do: first against a configuration
// given here, then against unixODBC itself with the tests' own odbcinst.ini, where libraries that
// leave a mark when they load show what the driver manager really loads.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "odbc/connectionpolicy.h"
#include "odbc/connectionstring.h"
#include "tests/support/testfiles.h"

namespace {

namespace fs = std::filesystem;

const std::string SqliteLibrary = "/usr/lib/odbc/libsqlite3odbc.so";

OdbcConfiguration givenConfiguration()
{
    static const std::map<std::string, std::string> files{
        {"/dsn/good.dsn", "DRIVER=SQLite3;Database=/data/a.db;UID=other;"},
        {"/dsn/evil.dsn", "DRIVER=/tmp/x.so;Database=/data/a.db;"},
        {"/dsn/hidden.dsn", "Database=/data/a.db;DRIVER=/tmp/x.so;"},
        {"/dsn/savefile.dsn", "DRIVER=SQLite3;SAVEFILE=/tmp/saved;"},
        {"/dsn/environment.dsn", "DRIVER=SQLite3;DMEnvAttr=SQL_ATTR_UNIXODBC_ENVATTR={A=1};"},
        {"/dsn/empty.dsn", ""},
        // Written anew into the string handed on, the open brace ends before "}".
        {"/dsn/braced.dsn", "DRIVER=SQLite3;c={a}}b;LoadExt="},
    };
    OdbcConfiguration configuration;
    configuration.drivers = {
        {"SQLite3", {SqliteLibrary}},
        {"PostgreSQL Unicode", {"/usr/lib/odbc/psqlodbcw.so"}},
        {"Wide", {"/usr/lib/odbc/wide64.so", "/usr/lib/odbc/wide.so"}},
    };
    configuration.readFileDataSource = [](const std::string &path) -> std::optional<std::string> {
        auto file = files.find(path);
        if (file == files.end())
            return std::nullopt;
        return file->second;
    };
    return configuration;
}

TEST(ConnectionPolicy, RefusesWhatWouldLoadALibraryOrWriteAFile)
{
    struct
    {
        std::string_view text;
        std::string_view refusedKey; // empty: allowed
    } cases[] = {
        {"DSN=Shop", ""},
        {"DSN=Shop;UID=clerk;PWD={a;b}", ""},
        {"DRIVER={SQLite3};Database=/data/a.db", ""},
        {"driver=sqlite3;Database=/data/a.db", ""}, // names without regard to case
        {"DRIVER=PostgreSQL Unicode;Servername=db;pqopt={application_name=picker}", ""},
        {"DRIVER=/usr/lib/odbc/libsqlite3odbc.so;Database=/data/a.db", ""},
        {"DRIVER=/usr/lib/odbc/wide.so", ""}, // Driver as well as Driver64
        {"DSN=Shop;Description=old savefiles", ""},
        {"FOO;DRIVER=/tmp/x.so", ""}, // the key is "FOO;DRIVER", which nothing loads
        {"", ""},
        {"DRIVER=/tmp/x.so", "DRIVER"},
        {"DRIVER={/tmp/x.so}", "DRIVER"},
        {"dRiVeR=/tmp/x.so", "DRIVER"},
        {"DRIVER=SQLite3;Database=/data/a.db;DRIVER=/tmp/x.so", "DRIVER"},
        {"DRIVER=/tmp/x.so;DRIVER=SQLite3", "DRIVER"}, // every DRIVER counts
        {"DSN=Shop;DRIVER=/tmp/x.so", "DRIVER"},
        {"DRIVER=/USR/LIB/ODBC/LIBSQLITE3ODBC.SO", "DRIVER"}, // a path is taken exactly
        {"DRIVER= SQLite3", "DRIVER"},
        {"DRIVER=", "DRIVER"},
        {"DRIVER=SQLite3;SAVEFILE=/tmp/saved", "SAVEFILE"},
        {"DSN=Shop;savefile=/tmp/saved", "SAVEFILE"},
        {"DSN=Shop;PWD={x;SaveFile = /tmp/saved}", "SAVEFILE"}, // where a driver might read it
        {"DSN=Shop;DMEnvAttr=SQL_ATTR_UNIXODBC_ENVATTR={LD_PRELOAD=/tmp/x.so}", "DMEnvAttr"},
        {"DSN=Shop;DMConnAttr=SQL_ATTR_TRACE=SQL_OPT_TRACE_ON", "DMConnAttr"},
        {"DSN=Shop;DMStmtAttr=SQL_ATTR_QUERY_TIMEOUT=1", "DMStmtAttr"},
        {"DRIVER=SQLite3;Database=/data/a.db;LoadExt=/tmp/x.so", "LoadExt"},
        {"DRIVER=SQLite3;Database=/data/a.db;TraceFile=/home/u/.profile", "TraceFile"},
        // Empty, as drivers complete a connection string, they set nothing.
        {"DSN=Shop;Database=/data/a.db;LoadExt=;TraceFile=", ""},
        {"DSN=Shop;LoadExt=;LoadExt=/tmp/x.so", "LoadExt"},
        {"DSN=Shop;LoadExt= /tmp/x.so", "LoadExt"},
        {"DSN=Shop;TraceFile= ;", "TraceFile"},
        {"DSN=Shop;LoadExt={}", "LoadExt"},
        {"DSN=Shop;SAVEFILE=", "SAVEFILE"}, // the driver manager's keys, even empty
        {"DSN=Shop;DMEnvAttr=;", "DMEnvAttr"},
        {"DRIVER=PostgreSQL Unicode;Logdir=/home/u", "Logdir"},
        {"DRIVER=PostgreSQL Unicode;pqopt={sslmode=require sslkey=/tmp/x.so:key}", "sslkey"},
        // Several servers, and the one that takes writes: nothing is loaded.
        {"DRIVER=PostgreSQL Unicode;Database=shop;pqopt={host=h1,h2 port=5432,5433 "
         "target_session_attrs=read-write}",
         ""},
        {"DSN=Shop;Servername=h1,h2;Port=5432,5433;pqopt={target_session_attrs=read-write}", ""},
        {"DSN=Shop;pqopt={host=h1,h2 target_session_attrs=read-write sslkey=/tmp/x.so:key}",
         "sslkey"},
        {"DSN=Maria;PLUGIN_DIR=/tmp/plugins", "PLUGIN_DIR"},
        {"FILEDSN=/dsn/good.dsn", ""},
        {"FILEDSN=/dsn/missing.dsn", ""},
        {"FILEDSN=/dsn/empty.dsn", ""},
        {"DSN=Shop;FILEDSN=/dsn/evil.dsn", ""}, // the driver manager takes the DSN
        {"FILEDSN=/dsn/evil.dsn", "FILEDSN"},
        {"filedsn={/dsn/hidden.dsn}", "FILEDSN"},
        {"FILEDSN=/dsn/evil.dsn;DRIVER=SQLite3", "FILEDSN"},
        {"FILEDSN=/dsn/savefile.dsn", "FILEDSN"},
        {"FILEDSN=/dsn/environment.dsn", "FILEDSN"},
        {"FILEDSN=/dsn/braced.dsn", "FILEDSN"},
        {"FILEDSN=/dsn/good.dsn;c={a}}b;LoadExt=", "FILEDSN"},
    };
    const OdbcConfiguration configuration = givenConfiguration();
    for (const auto &c : cases) {
        const ConnectionCheck check = checkConnectString(c.text, configuration);
        EXPECT_EQ(check.allowed, c.refusedKey.empty()) << c.text;
        EXPECT_EQ(check.key, c.refusedKey) << c.text;
        if (!check.allowed) {
            EXPECT_NE(check.reason.find(c.refusedKey), std::string::npos) << check.reason;
            EXPECT_EQ(check.connectString, "") << c.text;
        }
    }
}

TEST(ConnectionPolicy, SaysWhichKeyWasRefusedAndWhy)
{
    const OdbcConfiguration configuration = givenConfiguration();

    EXPECT_EQ(checkConnectString("DRIVER={/tmp/x.so};Database=a", configuration).reason,
              "Not connected: DRIVER \"/tmp/x.so\" in the connection string is neither an ODBC "
              "driver installed on this computer nor the library of one.\n\n"
              "Only the drivers of your own ODBC configuration are loaded, so that a connection "
              "string from someone else cannot run a library of its choosing. Name an installed "
              "driver, or a data source of your configuration with DSN=.");
    EXPECT_EQ(checkConnectString("DSN=Shop;SAVEFILE=/tmp/saved", configuration).reason,
              "Not connected: the connection string has SAVEFILE, which asks the driver manager "
              "to write the connection into a file.\n\n"
              "A connection string from someone else must not make this program load libraries "
              "or write files. Settings like this belong in a data source of your own ODBC "
              "configuration, named with DSN=.");
    EXPECT_EQ(checkConnectString("FILEDSN=/dsn/evil.dsn", configuration).reason,
              "Not connected: DRIVER \"/tmp/x.so\" in the file data source \"/dsn/evil.dsn\" "
              "that FILEDSN names is neither an ODBC driver installed on this computer nor the "
              "library of one.\n\n"
              "Only the drivers of your own ODBC configuration are loaded, so that a connection "
              "string from someone else cannot run a library of its choosing. Name an installed "
              "driver, or a data source of your configuration with DSN=.");
    EXPECT_EQ(checkConnectString("FILEDSN=/dsn/environment.dsn", configuration).reason,
              "Not connected: the file data source \"/dsn/environment.dsn\" that FILEDSN names "
              "has DMEnvAttr, which sets attributes and environment variables of the ODBC driver "
              "manager.\n\n"
              "A connection string from someone else must not make this program load libraries "
              "or write files. Settings like this belong in a data source of your own ODBC "
              "configuration, named with DSN=.");
}

TEST(ConnectionPolicy, AnAllowedStringGoesOnAsWrittenAndAFileDataSourceJoinedToIt)
{
    const OdbcConfiguration configuration = givenConfiguration();
    using namespace std::string_view_literals;
    struct
    {
        std::string_view text;
        std::string_view handedOn;
    } cases[] = {
        {"DSN=Shop;UID=clerk;PWD={a;b}", "DSN=Shop;UID=clerk;PWD={a;b}"},
        {"DSN=Shop\0;DRIVER=/tmp/x.so"sv, "DSN=Shop"}, // the driver manager stops at a NUL too
        // The string's own attributes first, then the file's that the string lacks.
        {"FILEDSN=/dsn/good.dsn;UID=me", "UID=me;DRIVER=SQLite3;Database=/data/a.db"},
        {"FILEDSN=/dsn/missing.dsn;UID=me", "UID=me"},
        {"PWD={a;b};FILEDSN=/dsn/good.dsn",
         "PWD={a;b};DRIVER=SQLite3;Database=/data/a.db;UID=other"},
    };
    for (const auto &c : cases) {
        const ConnectionCheck check = checkConnectString(c.text, configuration);
        ASSERT_TRUE(check.allowed) << c.text;
        EXPECT_EQ(check.connectString, c.handedOn) << c.text;
    }

    const ConnectionCheck file = checkFileDataSource("/dsn/good.dsn", configuration);
    ASSERT_TRUE(file.allowed);
    EXPECT_EQ(file.connectString, "DRIVER=SQLite3;Database=/data/a.db;UID=other");
    EXPECT_EQ(checkFileDataSource("/dsn/evil.dsn", configuration).key, "FILEDSN");
}

// Against the driver manager itself, with the tests' odbcinst.ini.

TEST(ConnectionPolicy, TheSystemConfigurationIsTheDriverManagersOwn)
{
    const OdbcConfiguration configuration = systemOdbcConfiguration();
    std::map<std::string, std::vector<std::string>> drivers;
    for (const InstalledDriver &driver : configuration.drivers)
        drivers[driver.name] = driver.libraries;

    EXPECT_EQ(drivers["SQLite3"], std::vector<std::string>{QUILLON_SQLITE_ODBC_DRIVER});
    EXPECT_EQ(drivers["PostgreSQL ANSI"], std::vector<std::string>{QUILLON_PSQL_ODBC_DRIVER});
    EXPECT_EQ(drivers["PostgreSQL Unicode"],
              std::vector<std::string>{QUILLON_PSQL_UNICODE_ODBC_DRIVER});
    EXPECT_EQ(drivers.count("QuillonScripted"), 1u);
    EXPECT_EQ(drivers.count("ODBC"), 0u);

    TemporaryFolder folder;
    writeBytes(folder.path() / "shop.dsn", "[ODBC]\nDRIVER = SQLite3\nDatabase=/data/a.db\n"
                                           "PWD={a;b}\n\n[Other]\nDRIVER=/tmp/x.so\n");
    EXPECT_EQ(configuration.readFileDataSource((folder.path() / "shop.dsn").string()),
              "DRIVER=SQLite3;Database=/data/a.db;PWD={a;b};");
    // As the driver manager reads it, the extension may be left out.
    EXPECT_EQ(configuration.readFileDataSource((folder.path() / "shop").string()),
              "DRIVER=SQLite3;Database=/data/a.db;PWD={a;b};");
}

// The markers that appeared in `folder`, as a string of their names ("", "a", "b", "ab").
std::string markers(const fs::path &folder)
{
    std::string names;
    for (const char *name : {"a", "b"}) {
        if (fs::exists(folder / name))
            names += name;
    }
    return names;
}

std::string quoted(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs the probe, which hands `text` to SQLDriverConnect, and returns the markers it left.
std::string markersLoadedByTheDriverManager(const std::string &text, const fs::path &folder)
{
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string command = "QUILLON_MARKER_DIR=" + quoted(folder.string()) +
                                " ASAN_OPTIONS=detect_leaks=0 " + quoted(QUILLON_CONNECT_PROBE) +
                                " " + quoted(text) + " >/dev/null";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    return markers(folder);
}

TEST(ConnectionPolicy, TheDriverManagerLoadsTheDriverThatTheCheckReads)
{
    TemporaryFolder folder;
    const std::string a = QUILLON_MARKER_A;
    const std::string b = QUILLON_MARKER_B;
    // A path with a brace in it, to show how "}}" is read.
    const fs::path braced = folder.path() / "marker}a.so";
    fs::create_symlink(a, braced);
    struct
    {
        std::string text;
        std::string loaded;
    } cases[] = {
        {"DRIVER=" + a, "a"},
        {"DRIVER={" + a + "}", "a"},
        {"driver=" + a, "a"},
        {" ;DRIVER=" + a, "a"},
        {"DRIVER={" + (folder.path() / "marker}}a.so").string() + "}", "a"},
        {"DRIVER=" + a + ";Database=x;DRIVER=" + b, "b"},
        {"DRIVER={" + a + "}x;DRIVER=" + b, "a"},
        {"DRIVER={" + a + "}DRIVER=" + b, "b"},
        {"DRIVER=" + a + ";DSN=NoSuchQuillonSource", "a"},
        {"DSN=NoSuchQuillonSource;DRIVER=" + a, ""},
        {"FOO;DRIVER=" + a, ""},
        {"X={y;DRIVER=" + a + "}", ""},
        {"DRIVER =" + a, ""},
    };
    const OdbcConfiguration configuration = systemOdbcConfiguration();
    for (const auto &c : cases) {
        const std::vector<ConnectPair> used = driverManagerAttributes(parseConnectString(c.text));
        const std::string *driver = findConnectValue(used, "DRIVER");
        const std::string read = driver == nullptr                            ? ""
                                 : *driver == a || *driver == braced.string() ? "a"
                                 : *driver == b                               ? "b"
                                                                              : "?";

        EXPECT_EQ(markersLoadedByTheDriverManager(c.text, folder.path() / "markers"), c.loaded)
            << c.text;
        EXPECT_EQ(read, c.loaded) << c.text;
        // Whatever the driver manager would load is refused; a DRIVER that it would drop may
        // be refused too.
        if (!c.loaded.empty()) {
            EXPECT_FALSE(checkConnectString(c.text, configuration).allowed) << c.text;
        }
    }
}

TEST(ConnectionPolicy, TheDriverManagerTakesTheDriverOfAFileDataSourceAndWritesASaveFile)
{
    TemporaryFolder folder;
    const fs::path dsn = folder.path() / "marker.dsn";
    writeBytes(dsn, std::string("[ODBC]\nDRIVER=") + QUILLON_MARKER_A + "\n");
    const std::string fileDataSource = "FILEDSN=" + dsn.string();
    const std::string saveFile =
        "DRIVER=SQLite3;Database=" + (folder.path() / "db.sqlite").string() +
        ";SAVEFILE=" + (folder.path() / "saved").string();

    EXPECT_EQ(markersLoadedByTheDriverManager(fileDataSource, folder.path() / "markers"), "a");
    markersLoadedByTheDriverManager(saveFile, folder.path() / "markers");
    EXPECT_TRUE(fs::exists(folder.path() / "saved.dsn"));

    EXPECT_EQ(checkConnectString(fileDataSource).key, "FILEDSN");
    EXPECT_EQ(checkConnectString(saveFile).key, "SAVEFILE");
}

} // namespace
