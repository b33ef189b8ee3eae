// SPDX-License-Identifier: MIT
// The picker's connect path with connection strings from someone else's description: what
// would load a library or write a file is refused in the picker's message box before the driver
// manager sees it, and the strings that users write keep connecting.

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "picker/insert/insert.h"
#include "tests/support/databases.h"

namespace {

namespace fs = std::filesystem;

class ConnectCheck : public testing::Test
{
protected:
    void SetUp() override
    {
        // The marker library writes here when something loads it.
        setenv("QUILLON_MARKER_DIR", m_markers.path().c_str(), 1);
        m_database = m_folder.path() / "shop.sqlite";
        DatabaseSession(sqliteConnectString(m_database)).execute("CREATE TABLE P (A TEXT)");
    }
    void TearDown() override { unsetenv("QUILLON_MARKER_DIR"); }

    bool markerLoaded() const { return !fs::is_empty(m_markers.path()); }

    std::string fileDataSource(const std::string &name, const std::string &attributes)
    {
        const fs::path path = m_folder.path() / name;
        writeBytes(path, "[ODBC]\n" + attributes);
        return path.string();
    }

    Rows stored()
    {
        return DatabaseSession(sqliteConnectString(m_database)).query("SELECT A FROM P");
    }

    TemporaryFolder m_folder;
    TemporaryFolder m_markers;
    fs::path m_database;
    RecordingSink m_sink;
    OdbcConnection m_odbc{m_sink};
    std::vector<FieldDescription> m_fields{field("A", SQL_VARCHAR, 50)};
};

TEST_F(ConnectCheck, ALibraryOfTheDescriptionsOwnIsNeverLoaded)
{
    const std::string marker = QUILLON_MARKER_A;
    const std::string markerDsn = fileDataSource("marker.dsn", "DRIVER=" + marker + "\n");
    struct
    {
        std::string connectString;
        std::string key;
    } cases[] = {
        {"DRIVER=" + marker, "DRIVER"},
        {"DRIVER={" + marker + "};Database=" + m_database.string(), "DRIVER"},
        {"driver=" + marker, "DRIVER"},
        {"ODBC;Driver=" + marker, "DRIVER"},
        {"DRIVER={SQLite3};Database=" + m_database.string() + ";DRIVER=" + marker, "DRIVER"},
        {"FILEDSN=" + markerDsn, "FILEDSN"},
        {"DRIVER=SQLite3;Database=" + m_database.string() + ";LoadExt=" + marker, "LoadExt"},
    };
    for (const auto &c : cases) {
        m_sink.shown.clear();

        EXPECT_FALSE(m_odbc.connectDataSource(c.connectString)) << c.connectString;
        // The picker goes on as after a failed connection: the insert tries again, and is
        // refused again.
        EXPECT_EQ(m_odbc.insertRow("P", m_fields, std::vector<std::string>{"x"}),
                  InsertOutcome::Failed);

        ASSERT_EQ(m_sink.shown.size(), 2u) << c.connectString;
        EXPECT_EQ(m_sink.shown[0], m_sink.shown[1]);
        EXPECT_EQ(m_sink.shown[0].caption, "Quillon: Warning");
        EXPECT_EQ(m_sink.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_NE(m_sink.shown[0].text.find(c.key), std::string::npos) << m_sink.shown[0].text;
        EXPECT_FALSE(m_odbc.connected());
        EXPECT_FALSE(markerLoaded()) << c.connectString;
        m_odbc.disconnectDataSource();
    }
    EXPECT_EQ(stored(), Rows{});
}

TEST_F(ConnectCheck, TheRefusalIsShownInThePickersBox)
{
    EXPECT_FALSE(m_odbc.connectDataSource("DRIVER=/tmp/quillon/x.so;Database=a"));

    const std::vector<Message> expected{
        {"Not connected: DRIVER \"/tmp/quillon/x.so\" in the connection string is neither an "
         "ODBC driver installed on this computer nor the library of one.\n\n"
         "Only the drivers of your own ODBC configuration are loaded, so that a connection string "
         "from someone else cannot run a library of its choosing. Name an installed driver, or a "
         "data source of your configuration with DSN=.",
         "Quillon: Warning", MessageIcon::Exclamation, MessageButtons::Ok}};
    EXPECT_EQ(m_sink.shown, expected);
}

TEST_F(ConnectCheck, ASaveFileIsRefusedAndNoFileAppears)
{
    const fs::path saved = m_folder.path() / "saved";

    EXPECT_FALSE(m_odbc.connectDataSource("DRIVER={SQLite3};Database=" + m_database.string() +
                                          ";SAVEFILE=" + saved.string()));

    ASSERT_EQ(m_sink.shown.size(), 1u);
    EXPECT_NE(m_sink.shown[0].text.find("SAVEFILE"), std::string::npos);
    EXPECT_FALSE(fs::exists(saved));
    EXPECT_FALSE(fs::exists(saved.string() + ".dsn"));
}

TEST_F(ConnectCheck, InstalledDriversAndFileDataSourcesNamingThemConnect)
{
    const std::string database = m_database.string();
    const std::string shopDsn =
        fileDataSource("shop.dsn", "DRIVER=SQLite3\nDatabase=" + database + "\nTimeout=10000\n");
    const std::string strings[] = {
        "DRIVER={SQLite3};Database=" + database,
        "ODBC;DRIVER=SQLite3;Database=" + database,
        "driver=sqlite3;Database=" + database,
        std::string("DRIVER=") + QUILLON_SQLITE_ODBC_DRIVER + ";Database=" + database,
        "FILEDSN=" + shopDsn,
    };
    Rows expected;
    for (const std::string &connectString : strings) {
        ASSERT_TRUE(m_odbc.connectDataSource(connectString)) << connectString;
        ASSERT_EQ(m_odbc.insertRow("P", m_fields, std::vector<std::string>{connectString}),
                  InsertOutcome::Stored);
        m_odbc.disconnectDataSource();
        expected.push_back({connectString});
    }

    EXPECT_EQ(stored(), expected);
    EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(ConnectCheck, AFileDataSourceIsReadOnceWhenItIsChecked)
{
    const std::string database = m_database.string();
    const std::string path =
        fileDataSource("shop.dsn", "DRIVER=SQLite3\nDatabase=" + database + "\n");
    ASSERT_TRUE(m_odbc.connectDataSource("FILEDSN=" + path));

    // A file that changes after the check cannot change what is loaded: the driver manager never
    // reads it.
    fileDataSource("shop.dsn", std::string("DRIVER=") + QUILLON_MARKER_A + "\n");
    m_odbc.disconnectDataSource();
    EXPECT_FALSE(m_odbc.connectDataSource("FILEDSN=" + path));
    EXPECT_FALSE(markerLoaded());
}

} // namespace
