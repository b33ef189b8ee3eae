// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "fieldvalues/datetime.h"
#include "fieldvalues/row.h"

namespace {

TableDescription threeFields(bool secondRequired)
{
    TableDescription description;
    description.fieldCount = 3;
    description.fields[0] = {"A", "A", "", "INTEGER", 4, 0, 4};
    description.fields[1] = {"B", "B", "", "VARCHAR", 5, secondRequired ? 1 : 0, 12};
    description.fields[2] = {"C", "C", "", "DATE", 6, 0, 9};
    setValueWidths(description);
    return description;
}

TEST(Row, CheckRowWalksFieldsInOrder)
{
    struct
    {
        const char *name;
        bool secondRequired;
        std::vector<std::string> values;
        int field;
        bool missing;
        std::string error;
        std::vector<std::string> after;
    } cases[] = {
        {"only_second_valid", false, {"", "abc", ""}, -1, false, "", {"", "abc", ""}},
        {"required_empty_before_invalid",
         true,
         {"", "", "99/99/9999"},
         1,
         true,
         "",
         {"", "", "99/99/9999"}},
        {"invalid_before_required",
         true,
         {"x", "", ""},
         0,
         false,
         "(No more than 10 digits)",
         {"x", "", ""}},
        {"rewrites_normal_forms",
         false,
         {"1,234", "", "Dec 6, 1999"},
         -1,
         false,
         "",
         {"1234", "", "12/06/1999"}},
        {"too_long_text",
         false,
         {"1", "abcdef", ""},
         1,
         false,
         "(No more than 5 characters)",
         {"1", "abcdef", ""}},
    };
    for (auto &c : cases) {
        TableDescription description = threeFields(c.secondRequired);
        RowProblem problem = checkRow(description, c.values);
        EXPECT_EQ(problem.field, c.field) << c.name;
        EXPECT_EQ(problem.missing, c.missing) << c.name;
        EXPECT_EQ(problem.error, c.error) << c.name;
        EXPECT_EQ(c.values, c.after) << c.name;
    }
}

// A required amount picked as ",,," is emptied by the check, which accepts the empty text for
// numerics; the row must not go in without it.
TEST(Row, ValueEmptiedByTheCheckStillCountsAsMissing)
{
    TableDescription description = threeFields(false);
    description.fields[0].required = 1;
    description.fields[0].sqlType = 2;
    description.fields[0].length = 12;
    std::vector<std::string> values = {",,,", "", ""};
    RowProblem problem = checkRow(description, values);
    EXPECT_EQ(problem.field, 0);
    EXPECT_TRUE(problem.missing);
}

std::tm noon()
{
    std::tm t{};
    t.tm_year = 99;
    t.tm_mon = 11;
    t.tm_mday = 31;
    t.tm_hour = 12;
    return t;
}

TEST(Row, StartRowTakesDefaultsAndTheCurrentDate)
{
    setLocalClock(noon);
    TableDescription description = threeFields(false);
    description.fields[0].defaultValue = "42";
    description.fields[1].defaultValue = "toolongdefault";
    description.fields[2].defaultValue = "Actual Date/Time";
    std::vector<std::string> values = {"old", "old", "old"};
    startRow(description, values);
    EXPECT_EQ(values, (std::vector<std::string>{"42", "toolo", "12/31/1999"}));
    description.fields[0].defaultValue.clear();
    startRow(description, values);
    EXPECT_EQ(values[0], "");
    setLocalClock(nullptr);
}

} // namespace
