// SPDX-License-Identifier: MIT
// What no real driver does on demand, through the scripted driver: catalogue calls that are
// still executing when they return, several diagnostic records from a fetch, NULL numbers.
#include <gtest/gtest.h>

#include "odbc/catalog.h"
#include "odbc/error.h"
#include "tests/support/databases.h"

namespace {

class ScriptedCatalog : public ::testing::Test
{
protected:
    void connect(const std::string &script)
    {
        writeBytes(m_folder.path() / "script", script);
        m_database.open(scriptedConnectString(m_folder.path() / "script", log()));
    }
    std::filesystem::path log() const { return m_folder.path() / "log"; }
    int calls(const std::string &line) const
    {
        int count = 0;
        for (const std::string &logged : readLines(log()))
            count += logged == line ? 1 : 0;
        return count;
    }

    TemporaryFolder m_folder;
    OdbcDatabase m_database;
};

TEST_F(ScriptedCatalog, ACallThatIsStillExecutingIsMadeAgainUntilItAnswers)
{
    connect("tables still\n"
            "tables still\n"
            "tables success\n"
            "row (null)|(null)|orders|TABLE|(null)\n"
            "row (null)|(null)|stock|TABLE|What we have\n");
    TableCatalog tables(m_database);
    ASSERT_TRUE(tables.open());
    EXPECT_EQ(calls("tables 'TABLE'"), 3);
    EXPECT_EQ(tables.rows(),
              (std::vector<TableCatalogRow>{{"", "", "orders", "TABLE", ""},
                                            {"", "", "stock", "TABLE", "What we have"}}));
}

TEST_F(ScriptedCatalog, ColumnsWithNullNumbersHaveNoValue)
{
    connect("columns still\n"
            "columns success\n"
            "row (null)|(null)|stock|count|4|INTEGER|10|4|0|10|0|(null)\n"
            "row (null)|(null)|stock|note|(null)|TEXT|(null)|(null)|(null)|(null)|2|Free text\n");
    ColumnCatalog columns(m_database);
    ASSERT_TRUE(columns.open("stock"));
    EXPECT_EQ(calls("columns stock"), 2);
    ASSERT_EQ(columns.rows().size(), 2u);
    EXPECT_EQ(columns.rows()[0],
              (ColumnCatalogRow{"", "", "stock", "count", 4, "INTEGER", 10, 4, 0, 10, 0, ""}));
    EXPECT_EQ(columns.rows()[1],
              (ColumnCatalogRow{"", "", "stock", "note", std::nullopt, "TEXT", std::nullopt,
                                std::nullopt, std::nullopt, std::nullopt, 2, "Free text"}));
}

TEST_F(ScriptedCatalog, AFailingFetchRaisesEveryRecordOfTheDriver)
{
    connect("tables success\n"
            "row (null)|(null)|orders|TABLE|(null)\n"
            "row (null)|(null)|stock|TABLE|(null)\n"
            "fetch success\n"
            "fetch error\n"
            "record HY000 7 [Scripted] the server went away while reading\n"
            "record 01000 8 [Scripted] the rest of the rows are lost\n");
    TableCatalog tables(m_database);
    try {
        tables.open();
        FAIL() << "the catalogue opened";
    } catch (const OdbcError &error) {
        EXPECT_STREQ(error.what(), "[Scripted] the server went away while reading\n"
                                   "[Scripted] the rest of the rows are lost");
    }
    EXPECT_FALSE(tables.isOpen());
    EXPECT_TRUE(tables.rows().empty());
}

TEST_F(ScriptedCatalog, AFailingCallRaisesTheDriversWords)
{
    connect("columns error\n"
            "record 42S02 1 [Scripted] no such table\n");
    ColumnCatalog columns(m_database);
    EXPECT_THROW(
        {
            try {
                columns.open("missing");
            } catch (const OdbcError &error) {
                EXPECT_STREQ(error.what(), "[Scripted] no such table");
                throw;
            }
        },
        OdbcError);
}

} // namespace
