// SPDX-License-Identifier: MIT
// The picker's table without a window: opening it from its file, the questions when the file
// cannot be read, the way back to the previous table, and a row stored through it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picker/pickertable.h"
#include "tests/picker/scriptedquestions.h"
#include "tests/support/databases.h"
#include "tests/support/recordingsink.h"

namespace {

using Choice = PickerTable::NoDescriptionChoice;
using Outcome = PickerTable::OpenOutcome;

class PickerTableTest : public testing::Test
{
protected:
    PickerTableTest()
        : m_database(sqliteConnectString(m_folder.path() / "shop.sqlite")),
          m_towns(m_folder.file("towns.dtd")), m_bad(m_folder.file("bad.dtd"))
    {
        DatabaseSession(m_database)
            .execute("CREATE TABLE Towns (Town VARCHAR(20), Zip VARCHAR(5))");
        EXPECT_TRUE(saveTableDescription(m_towns, m_database, "Towns",
                                         {{"Town", "Town", "", "VARCHAR", "20", "No", "12"},
                                          {"Zip", "Zip", "", "VARCHAR", "5", "No", "12"}}));
        writeBytes(m_bad, "not a description");
    }

    PickerTable::Hooks hooks()
    {
        return {[this] { return m_questions.askNoDescription(); },
                [this](std::string &path) { return m_questions.choose(path); },
                [this](const TableDescription &description) {
                    m_calls.push_back("loadRow " + std::to_string(description.fieldCount));
                    return m_rowFits;
                },
                [this] {
                    m_calls.push_back("closeRow");
                }};
    }

    TemporaryFolder m_folder;
    RecordingSink m_messages;
    std::string m_database;
    std::string m_towns;
    std::string m_bad;
    std::vector<std::string> m_calls;
    ScriptedQuestions m_questions{m_calls};
    bool m_rowFits = true;
};

TEST_F(PickerTableTest, OpensItsFileConnectsAndStoresARow)
{
    PickerTable table(m_messages, hooks());
    table.setPath(m_towns);
    ASSERT_EQ(table.open(), Outcome::Opened);
    EXPECT_EQ(table.description().fieldCount, 2);
    EXPECT_EQ(table.description().tableName, "Towns");
    EXPECT_EQ(m_calls, (std::vector<std::string>{"loadRow 2"}));

    const std::vector<std::string> values = {"Paris", "75001"};
    EXPECT_TRUE(table.insertRow(values));
    EXPECT_EQ(DatabaseSession(m_database).query("SELECT * FROM Towns"), (Rows{{"Paris", "75001"}}));
    EXPECT_TRUE(m_messages.shown.empty());
    table.close();
    EXPECT_EQ(m_calls.back(), "closeRow");
}

TEST_F(PickerTableTest, AnUnreadableFileAsksUntilAnotherIsChosenOrTheUserStops)
{
    PickerTable table(m_messages, hooks());
    table.setPath(m_bad);
    m_questions.chosen = {m_bad, m_towns};
    m_questions.noDescription = {Choice::LoadExisting, Choice::LoadExisting};
    EXPECT_EQ(table.open(), Outcome::Opened);
    EXPECT_EQ(m_calls, (std::vector<std::string>{"askNoDescription", "choose", "askNoDescription",
                                                 "choose", "loadRow 2"}));
    ASSERT_EQ(m_messages.shown.size(), 2u);
    EXPECT_EQ(m_messages.shown[0].text, "File " + m_bad + " is not valid.");
    EXPECT_EQ(table.path(), m_towns);

    m_calls.clear();
    table.setPath(m_bad);
    m_questions.noDescription = {Choice::CreateNew};
    EXPECT_EQ(table.open(), Outcome::CreateNew);
    m_questions.noDescription = {Choice::GaveUp};
    EXPECT_EQ(table.open(), Outcome::GaveUp);
    m_questions.noDescription = {Choice::LoadExisting};
    EXPECT_EQ(table.open(), Outcome::GaveUp) << "the Open dialog cancelled";
    EXPECT_EQ(m_calls, (std::vector<std::string>{"askNoDescription", "askNoDescription",
                                                 "askNoDescription", "choose"}));
}

TEST_F(PickerTableTest, ATableThatCannotBeOpenedFallsBackToThePreviousOne)
{
    const std::string nowhere = m_folder.file("nowhere.dtd");
    ASSERT_TRUE(saveTableDescription(nowhere, "DSN=NoSuchDataSource", "T",
                                     {{"A", "A", "", "VARCHAR", "5", "No", "12"}}));
    PickerTable table(m_messages, hooks());
    table.setPath(m_towns);
    ASSERT_EQ(table.open(), Outcome::Opened);
    m_calls.clear();

    EXPECT_EQ(table.openAnother(nowhere), Outcome::Opened);
    EXPECT_EQ(m_calls, (std::vector<std::string>{"closeRow", "loadRow 2"}));
    EXPECT_EQ(table.path(), m_towns);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].caption, "SQL_ERROR results");
}

TEST_F(PickerTableTest, NoRoomForTheRowGivesUpAndSaysSo)
{
    PickerTable table(m_messages, hooks());
    table.setPath(m_towns);
    m_rowFits = false;
    EXPECT_EQ(table.open(), Outcome::GaveUp);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0], (Message{"Out of memory !", "Quillon: Inform", MessageIcon::Stop,
                                            MessageButtons::Ok}));
}

} // namespace
