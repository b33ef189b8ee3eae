// SPDX-License-Identifier: MIT
// A copied row of cells turned into a row's values: lines and cells as spreadsheets and web
// pages copy them, a heading line that names the fields, and what is left over.
#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fieldvalues/sqltypes.h"
#include "picker/rowcells.h"

namespace {

// Name (column person_name), Town, Notes (long text) and Code (three bytes wide).
TableDescription rowDescription()
{
    TableDescription description;
    description.connectString = "DSN=none";
    description.tableName = "People";
    const std::array<std::array<const char *, 2>, 4> fields = {
        {{"person_name", "Name"}, {"town", "Town"}, {"notes", "Notes"}, {"code", "Code"}}};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        description.fields[i].name = fields[i][0];
        description.fields[i].title = fields[i][1];
        description.fields[i].sqlType = SqlType::VarChar;
        description.fields[i].length = 40;
    }
    description.fields[2].sqlType = SqlType::LongVarChar;
    description.fields[3].length = 3;
    description.fieldCount = 4;
    setValueWidths(description);
    return description;
}

struct RowCase
{
    const char *name;
    std::string copied;
    // The four fields afterwards, each starting as "old"; "old" where the row kept it.
    std::array<std::string, 4> values;
    bool headed;
    int cellsLeftOver;
    int linesLeftOver;
    std::string status;
};

class CopiedRow : public testing::TestWithParam<RowCase>
{};

TEST_P(CopiedRow, FillsTheFieldsItNames)
{
    const RowCase &c = GetParam();
    const TableDescription description = rowDescription();
    PickedRow row;
    ASSERT_TRUE(row.allocate(description));
    for (int i = 0; i < 4; ++i) {
        row.storeValue(i, "old");
        row.hasValue[static_cast<std::size_t>(i)] = 1;
    }

    const RowCells cells = splitCopiedRow(c.copied, description);
    EXPECT_EQ(cells.headed, c.headed);
    EXPECT_EQ(cells.cellsLeftOver, c.cellsLeftOver);
    EXPECT_EQ(cells.linesLeftOver, c.linesLeftOver);
    const RowFillResult result = storeRowCells(cells, description, row);
    EXPECT_EQ(result.status, c.status);
    std::vector<int> filled;
    for (int i = 0; i < 4; ++i) {
        const std::size_t f = static_cast<std::size_t>(i);
        EXPECT_EQ(row.value[f], c.values[f]) << "field " << i;
        if (row.value[f] != "old") {
            filled.push_back(i);
            EXPECT_EQ(row.previousValue[f], "old") << "field " << i;
        }
    }
    EXPECT_EQ(result.fields, filled);
}

std::string caseName(const testing::TestParamInfo<RowCase> &info)
{
    return info.param.name;
}

const std::string Old = "old";

INSTANTIATE_TEST_SUITE_P(
    Cells, CopiedRow,
    testing::Values(
        RowCase{"OneLineFillsInButtonOrder",
                "Ada Lovelace\tLondon\n",
                {"Ada Lovelace", "London", Old, Old},
                false,
                0,
                0,
                "Ada Lovelace | London"},
        RowCase{"WithoutLineBreakAndWithCrLf",
                "Ada\tLondon\r\n",
                {"Ada", "London", Old, Old},
                false,
                0,
                0,
                "Ada | London"},
        RowCase{"CellsAreCleanedAsPickedTexts",
                "\"  Ada \n Lovelace \"\t London\tline 1\r\nx\tABCDEF",
                {"Ada Lovelace", "London", "line 1", Old},
                false,
                0,
                1,
                "1 more line not used: Ada Lovelace | London | line 1"},
        RowCase{"ACutValueAndALongTextKeepingItsLineBreaks",
                "Ada\tLondon\t\"first\r\nsecond\"\tABCDEF",
                {"Ada", "London", "first\r\nsecond", "ABC"},
                false,
                0,
                0,
                "Ada | London | first\r\nsecond | ABCDEF"},
        RowCase{"ABlankCellKeepsItsFieldsValue",
                "\t  \tNote",
                {Old, Old, "Note", Old},
                false,
                0,
                0,
                "Note"},
        RowCase{"MoreCellsThanFields",
                "a\tb\tc\td\te\tf\t\t",
                {"a", "b", "c", "d"},
                false,
                2,
                0,
                "2 cells left over: a | b | c | d"},
        RowCase{"OneCellLeftOver",
                "a\tb\tc\td\te",
                {"a", "b", "c", "d"},
                false,
                1,
                0,
                "1 cell left over: a | b | c | d"},
        RowCase{"AHeadingLineNamesTheFieldsInAnyOrder",
                "TOWN\tname\nLondon\tAda\n",
                {"Ada", "London", Old, Old},
                true,
                0,
                0,
                "Ada | London"},
        RowCase{"HeadingsByColumnNameAndOthersLeftOut",
                "Id\tPerson_Name\t Code \nx7\tAda\tQ\n",
                {"Ada", Old, Old, "Q"},
                true,
                1,
                0,
                "1 cell left over: Ada | Q"},
        RowCase{"AFieldNamedTwiceTakesTheFirst",
                "Town\tTown\nLondon\tParis",
                {Old, "London", Old, Old},
                true,
                1,
                0,
                "1 cell left over: London"},
        RowCase{"MoreDataLinesThanOne",
                "Name\tTown\nAda\tLondon\n\nGrace\tArlington\nAlan\tWilmslow\n",
                {"Ada", "London", Old, Old},
                true,
                0,
                2,
                "2 more lines not used: Ada | London"},
        RowCase{"LeftOverCellsAndLines",
                "a\tb\tc\td\te\nf\n",
                {"a", "b", "c", "d"},
                false,
                1,
                1,
                "1 cell left over, 1 more line not used: a | b | c | d"},
        RowCase{"TwoLinesWithoutHeadingsUseTheFirst",
                "Ada\tLondon\nGrace\tArlington",
                {"Ada", "London", Old, Old},
                false,
                0,
                1,
                "1 more line not used: Ada | London"},
        RowCase{"QuotedCellWithATabAndAQuote",
                "\"say \"\"hi\"\"\tthere\"\tLondon",
                {"say \"hi\" there", "London", Old, Old},
                false,
                0,
                0,
                "say \"hi\" there | London"},
        RowCase{"AQuoteThatDoesNotCloseTheCellIsText",
                "\"Ada\" Lovelace\tLondon",
                {"\"Ada\" Lovelace", "London", Old, Old},
                false,
                0,
                0,
                "\"Ada\" Lovelace | London"},
        RowCase{"NothingButBlanks", " \t \r\n\n", {Old, Old, Old, Old}, false, 0, 0, NoCellsText},
        RowCase{"Empty", "", {Old, Old, Old, Old}, false, 0, 0, NoCellsText}),
    caseName);

} // namespace
