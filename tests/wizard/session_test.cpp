// SPDX-License-Identifier: MIT
// The data source that the wizard's pages share: how a connect string is described, and what
// specifying a data source leaves behind when it is cancelled or the driver has no catalogue.
#include <gtest/gtest.h>

#include "tests/support/databases.h"
#include "tests/wizard/answeringchooser.h"
#include "wizard/session.h"

namespace {

TEST(DataSourceDescription, ShowsFourLinesWithTheValuesOfTheirKeys)
{
    struct
    {
        const char *connect;
        const char *text;
    } cases[] = {
        {"ODBC;DSN=Sales;DBQ=C:\\DATA\\SALES.MDB;DriverId=25;FIL=MS Access;",
         "Data Source Name:  Sales\nData Base:  C:\\DATA\\SALES.MDB\nData Base Type:  MS "
         "Access\nDescription:  "},
        // Missing keys give empty values after the two blanks.
        {"ODBC;DSN=Shop",
         "Data Source Name:  Shop\nData Base:  \nData Base Type:  \nDescription:  "},
        // The last key runs to the end of the string.
        {"ODBC;DSN=Shop;Description=Our shop",
         "Data Source Name:  Shop\nData Base:  \nData Base Type:  \nDescription:  Our shop"},
    };
    for (const auto &c : cases) {
        EXPECT_TRUE(namesMachineDataSource(c.connect)) << c.connect;
        EXPECT_EQ(dataSourceDescription(c.connect), c.text) << c.connect;
    }
}

TEST(DataSourceDescription, AFileDataSourceNamesNoMachineDataSource)
{
    const char *fileSources[] = {
        "ODBC;DRIVER=SQLite3;Database=/data/shop.db",
        // What the driver manager completes for a .dsn file with SQLite's and psqlODBC's drivers.
        "ODBC;FILEDSN=/home/me/shop.dsn;DSN=;Database=/data/shop.db;StepAPI=",
        "ODBC;FILEDSN=/home/me/shop.dsn;DRIVER=PostgreSQL ANSI;DATABASE=shop",
        "ODBC;DSN=",
        "ODBC;dsn=Shop",
        "ODBC;MYDSN=Shop",
        "",
    };
    for (const char *connect : fileSources)
        EXPECT_FALSE(namesMachineDataSource(connect)) << connect;
    EXPECT_TRUE(namesMachineDataSource("DSN=Shop;Database=/data/shop.db"));
    EXPECT_TRUE(namesMachineDataSource("ODBC;DRIVER=x;DSN=Shop"));
}

class Session : public ::testing::Test
{
protected:
    std::string sqlite(const std::string &name)
    {
        const std::string connect = sqliteConnectString(m_folder.path() / name);
        DatabaseSession(connect).execute("CREATE TABLE IF NOT EXISTS items (id INTEGER)");
        return connect;
    }

    TemporaryFolder m_folder;
    AnsweringChooser m_chooser;
    RecordingSink m_sink;
    DataSourceSession m_session;
};

TEST_F(Session, AtFirstNothingIsSelected)
{
    EXPECT_EQ(m_session.describeDataSource(m_sink), "[No Data Source Selected]");
    EXPECT_TRUE(m_sink.shown.empty());
    EXPECT_EQ(m_session.connectString(), "");
}

TEST_F(Session, ASpecifiedDataSourceIsConnectedWithItsTablesAndItsCompletedString)
{
    m_chooser.answers = {sqlite("a.sqlite")};
    ASSERT_TRUE(m_session.specifyDataSource(m_chooser));
    EXPECT_TRUE(m_session.isConnected());
    ASSERT_NE(m_session.tables(), nullptr);
    ASSERT_EQ(m_session.tables()->rows().size(), 1u);
    EXPECT_EQ(m_session.tables()->rows()[0].name, "items");
    // The driver's completed string, after "ODBC;".
    EXPECT_TRUE(m_session.connectString().starts_with("ODBC;DSN=;Database="))
        << m_session.connectString();
    EXPECT_EQ(m_session.connectString(), m_session.database().connectString());
}

TEST_F(Session, CancellingClosesWhatWasOpenAndKeepsTheConnectString)
{
    m_chooser.answers = {sqlite("a.sqlite"), std::nullopt};
    ASSERT_TRUE(m_session.specifyDataSource(m_chooser));
    const std::string first = m_session.connectString();
    ASSERT_TRUE(m_session.openColumnCatalog("items"));

    EXPECT_FALSE(m_session.specifyDataSource(m_chooser));
    EXPECT_FALSE(m_session.isConnected());
    EXPECT_EQ(m_session.tables(), nullptr);
    EXPECT_EQ(m_session.columns(), nullptr);
    EXPECT_EQ(m_session.connectString(), first);
    EXPECT_EQ(m_session.describeDataSource(m_sink), "[No Data Source Selected]");
}

TEST_F(Session, AFileDataSourceIsRefusedWithAMessageAndItsConnectionClosed)
{
    // A DSN-less string, as a .dsn file gives, completed by SQLite's driver with an empty DSN.
    m_chooser.answers = {sqlite("a.sqlite")};
    ASSERT_TRUE(m_session.specifyDataSource(m_chooser));
    EXPECT_EQ(m_session.describeDataSource(m_sink), "[No Data Source Selected]");
    ASSERT_EQ(m_sink.shown.size(), 1u);
    EXPECT_EQ(m_sink.shown[0],
              (Message{"You may have used \"File Data Source\" tab.\nPlease use \"Machine Data "
                       "Source\" tab to specify your Data Source Name.",
                       "Inform", MessageIcon::None, MessageButtons::Ok}));
    EXPECT_FALSE(m_session.isConnected());
    EXPECT_EQ(m_session.tables(), nullptr);
}

TEST_F(Session, ADriverWithoutATableCatalogueLeavesNoConnection)
{
    // The scripted driver, told to offer no SQLTables; its script lets it connect.
    writeBytes(m_folder.path() / "script", "");
    m_chooser.answers = {sqlite("a.sqlite"), scriptedConnectString(m_folder.path() / "script",
                                                                   m_folder.path() / "log") +
                                                 ";CATALOGUE=NONE"};
    ASSERT_TRUE(m_session.specifyDataSource(m_chooser));
    const std::string first = m_session.connectString();
    EXPECT_FALSE(m_session.specifyDataSource(m_chooser));
    EXPECT_FALSE(m_session.isConnected());
    EXPECT_EQ(m_session.tables(), nullptr);
    EXPECT_EQ(m_session.connectString(), first);
    const std::vector<std::string> log = readLines(m_folder.path() / "log");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "disconnect");
}

TEST_F(Session, AColumnCatalogueReplacesThePreviousOne)
{
    m_chooser.answers = {sqlite("a.sqlite")};
    ASSERT_TRUE(m_session.specifyDataSource(m_chooser));
    ASSERT_TRUE(m_session.openColumnCatalog("items"));
    const ColumnCatalog *first = m_session.columns();
    ASSERT_EQ(first->rows().size(), 1u);
    EXPECT_EQ(first->rows()[0].name, "id");
    ASSERT_TRUE(m_session.openColumnCatalog("missing"));
    EXPECT_TRUE(m_session.columns()->rows().empty());
}

} // namespace
