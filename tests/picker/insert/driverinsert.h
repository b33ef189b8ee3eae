// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "picker/insert/insert.h"
#include "tests/support/databases.h"

// What the insert tests that run on several drivers need to know of one driver: where it
// connects, how the tests' own statements make, name and read a table on it, and the texts that
// it answers with.
struct InsertDriver
{
    // The driver or its variant in the tests' names; it also ends the names of tables on a server.
    const char *name;
    // The tests' own connection string, made in a folder of the test's own; empty when the
    // fixture's server is not running.
    std::function<std::string(const std::filesystem::path &folder)> connectString{};
    // What the picker's connection string adds to it, as a user's data source would.
    std::string option{};
    // The quote that the picker's connection reports for names.
    std::string identifierQuote = "\"";
    // The quote of the tests' own statements.
    char quote = '"';
    // How a table is dropped, "%" for its quoted name; empty where each test has a database of
    // its own and a table keeps the name that the test gives it.
    std::string dropTable{};
    // A column that numbers the rows from 1.
    std::string idColumn{};
    // How a column is read back as text, "%" for its quoted name.
    std::string textCast{};
    // Whether the catalogue's character types go into the description as their wide twins, as a
    // program that reads the catalogue through the Unicode calls stores them.
    bool wideCodes = false;
    std::vector<FieldClassCase> classCases{};
    std::vector<CatalogCase> catalogCases{};
    // Column C among the text columns A, B and D of the test of empty values.
    FieldClassCase otherColumn{};
    // The data source as a user names it; empty for the tests' own connection string.
    std::string dataSource{};
    // The texts that refuse a duplicate key and then a null in a required column of `table`.
    std::function<std::vector<std::string>(const std::string &table)> keyAndNullRefused{};
    // The text that refuses a row with every value empty.
    std::string emptyRowRefused{};
};

// What the catalogue cases of every driver insert: letters beyond ASCII, and lines with the
// quotes of every driver and a backslash.
inline const std::string Greeting = "Gr\xc3\xbc\xc3\x9f"
                                    "e, \xe2\x82\xac";
inline const std::string Lines = "line one\nline two 'q' \\ \"x\" `y` \xc3\xbc";

// A failure as the picker shows it, in `text`.
inline Message errorBox(const std::string &text)
{
    return Message{text, "SQL_ERROR results", MessageIcon::Exclamation, MessageButtons::Ok};
}

inline void PrintTo(const InsertDriver &driver, std::ostream *out)
{
    *out << driver.name;
}

// The name of an instantiation's test: the driver's.
inline std::string driverName(const testing::TestParamInfo<InsertDriver> &info)
{
    return info.param.name;
}

// A connection of the picker to one driver, a separate session of the test's own to set up tables
// and read rows back, and the messages shown.
class DriverTable : public testing::Test
{
protected:
    explicit DriverTable(const InsertDriver &driver) : m_driver(driver) {}

    void SetUp() override;
    void TearDown() override;

    // A table of the test's own: on a server, which tests share while they run side by side, the
    // name takes the test's and the driver's too. Drops what an earlier run left.
    std::string ownTable(const std::string &name);
    std::string quoted(const std::string &name) const;
    // `expression` ("%" for the column) of the row `id` of the test's table.
    std::string readBack(const std::string &expression, const std::string &column, int id);
    // Inserts `values` into the test's table and then the same row with "vc" and "dt" changed,
    // through the statement that stays prepared; checks what the second row reads back.
    void insertTwice(std::vector<FieldDescription> &fields, const std::vector<std::string> &values);
    // Connects with each string in turn and inserts its value into a table of the test's own;
    // every value must be stored, in order, with nothing shown.
    void insertAfterEachConnect(const std::vector<std::pair<std::string, std::string>> &connects);

    const InsertDriver &m_driver;
    TemporaryFolder m_folder;
    std::string m_connectString;
    std::unique_ptr<DatabaseSession> m_session;
    std::string m_table;
    RecordingSink m_sink;
    OdbcConnection m_odbc{m_sink};
};

class DriverInsert : public DriverTable, public testing::WithParamInterface<InsertDriver>
{
protected:
    DriverInsert() : DriverTable(GetParam()) {}
};

// The description made from the driver's catalogue, on every driver and variant.
class CatalogInsert : public DriverInsert
{};
