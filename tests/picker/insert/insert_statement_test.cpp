// SPDX-License-Identifier: MIT
// The INSERT statement and the splitting of diagnostic records into message boxes, without a
// database.

#include <gtest/gtest.h>

#include "picker/insert/insert.h"
#include "tests/support/databases.h"

namespace {

std::vector<FieldDescription> fields(const std::vector<std::string> &names)
{
    std::vector<FieldDescription> fields;
    for (const std::string &name : names)
        fields.push_back(field(name, SQL_VARCHAR, 50));
    return fields;
}

struct StatementCase
{
    const char *what;
    std::string table;
    std::vector<std::string> names;
    std::vector<std::string> values;
    std::string statement;
};

void PrintTo(const StatementCase &c, std::ostream *out)
{
    *out << c.what;
}

class BuildInsertStatementTest : public testing::TestWithParam<StatementCase>
{};

TEST_P(BuildInsertStatementTest, NamesTheNonEmptyValuesInFieldOrder)
{
    const StatementCase &c = GetParam();
    EXPECT_EQ(buildInsertStatement(c.table, fields(c.names), c.values), c.statement) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildInsertStatementTest,
    testing::Values(
        StatementCase{"B and D empty",
                      "T",
                      {"A", "B", "C", "D"},
                      {"1", "", "3", ""},
                      R"(INSERT INTO "T" ("A", "C") VALUES (?,?))"},
        StatementCase{"every value",
                      "T",
                      {"A", "B", "C"},
                      {"1", "2", "3"},
                      R"(INSERT INTO "T" ("A", "B", "C") VALUES (?,?,?))"},
        StatementCase{"only the last",
                      "T",
                      {"A", "B", "C"},
                      {"", "", "3"},
                      R"(INSERT INTO "T" ("C") VALUES (?))"},
        StatementCase{"only the first",
                      "T",
                      {"A", "B", "C"},
                      {"1", "", ""},
                      R"(INSERT INTO "T" ("A") VALUES (?))"},
        StatementCase{"every value empty names the first field",
                      "T",
                      {"A", "B"},
                      {"", ""},
                      R"(INSERT INTO "T" ("A") VALUES (?))"},
        StatementCase{"one field",
                      "People",
                      {"Name"},
                      {"Smith"},
                      R"(INSERT INTO "People" ("Name") VALUES (?))"},
        StatementCase{"blanks and case kept",
                      "My Table",
                      {"First Name", "lastName"},
                      {"a", "b"},
                      R"(INSERT INTO "My Table" ("First Name", "lastName") VALUES (?,?))"},
        StatementCase{"quotes doubled",
                      R"(a"b)",
                      {R"(c"d)", R"(")"},
                      {"1", "2"},
                      R"(INSERT INTO "a""b" ("c""d", """") VALUES (?,?))"},
        StatementCase{"a name cannot extend the statement",
                      "T",
                      {R"(A") VALUES (1); DROP TABLE "T"; --)"},
                      {"x"},
                      R"(INSERT INTO "T" ("A"") VALUES (1); DROP TABLE ""T""; --") VALUES (?))"}));

// Reads the quoted identifiers of a statement back, undoing the doubling.
std::vector<std::string> quotedNames(const std::string &statement, char quote = '"')
{
    std::vector<std::string> names;
    std::size_t i = 0;
    while ((i = statement.find(quote, i)) != std::string::npos) {
        std::string name;
        for (++i; i < statement.size(); ++i) {
            if (statement[i] == quote) {
                if (i + 1 < statement.size() && statement[i + 1] == quote) {
                    name += quote;
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            name += statement[i];
        }
        names.push_back(name);
    }
    return names;
}

TEST(BuildInsertStatement, HoldsThirtyNamesOf256QuotesAndATableNameOf256Quotes)
{
    const std::string table(256, '"');
    std::vector<std::string> names;
    for (int i = 0; i < MaxFields; ++i)
        names.push_back(std::string(255, '"') + static_cast<char>('A' + i % 26));
    const std::vector<std::string> values(MaxFields, "v");

    const std::string statement = buildInsertStatement(table, fields(names), values);

    std::vector<std::string> expected{table};
    expected.insert(expected.end(), names.begin(), names.end());
    EXPECT_EQ(quotedNames(statement), expected);
    // 12 + 514 + 2 + 30 * 513 + 29 * 2 + 10 + 30 * 2
    EXPECT_EQ(statement.size(), 16046u);
    EXPECT_TRUE(statement.ends_with(
        ") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
}

TEST(BuildInsertStatement, NamesTakeTheDriversQuote)
{
    const std::vector<std::string> names{"First Name", "a`b", "c\"d", "e;f"};
    const std::vector<std::string> values{"1", "2", "3", "4"};

    EXPECT_EQ(buildInsertStatement("My `Table`", fields(names), values, "`"),
              "INSERT INTO `My ``Table``` (`First Name`, `a``b`, `c\"d`, `e;f`) VALUES (?,?,?,?)");
    // A driver without quoted names gets them as they stand.
    EXPECT_EQ(buildInsertStatement("T", fields({"A", "B"}), std::vector<std::string>{"1", "2"}, ""),
              "INSERT INTO T (A, B) VALUES (?,?)");
    // The double quote by default.
    EXPECT_EQ(buildInsertStatement("T", fields({"A"}), std::vector<std::string>{"1"}),
              buildInsertStatement("T", fields({"A"}), std::vector<std::string>{"1"}, "\""));

    // Whatever a name holds, it reads back whole from between its quotes.
    for (const char quote : {'"', '`'}) {
        const std::string table = std::string("t") + quote + quote + "x";
        const std::string statement =
            buildInsertStatement(table, fields(names), values, std::string(1, quote));
        std::vector<std::string> expected{table};
        expected.insert(expected.end(), names.begin(), names.end());
        EXPECT_EQ(quotedNames(statement, quote), expected) << statement;
    }
}

TEST(QuoteIdentifier, DoublesTheQuoteInsideTheName)
{
    const struct
    {
        const char *name;
        const char *quote;
        const char *quoted;
    } cases[] = {
        {"plain", "\"", "\"plain\""},
        {"a\"b", "\"", "\"a\"\"b\""},
        {"a`b", "\"", "\"a`b\""},
        {"a`b", "`", "`a``b`"},
        {"``", "`", "``````"},
        {"a\"b", "`", "`a\"b`"},
        {"", "`", "``"},
        {"a b", "", "a b"},
        {"x]]y", "]]", "]]x]]]]y]]"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(quoteIdentifier(c.name, c.quote), c.quoted) << c.name << " in " << c.quote;
}

// A table that the description names quoted and qualified is named as written; any other text,
// even one that starts with the quote, is one quoted name as before.
TEST(TableInStatement, AQualifiedReferenceAsWrittenAnyOtherTextQuotedWhole)
{
    const struct
    {
        const char *table;
        const char *quote;
        const char *named;
    } cases[] = {
        {"\"archive\".\"items\"", "\"", "\"archive\".\"items\""},
        {"`shop`.`order``s`", "`", "`shop`.`order``s`"},
        {"\"a\".\"b\".\"c\"", "\"", "\"a\".\"b\".\"c\""},
        {"\"a\"\"\".\"b\"", "\"", "\"a\"\"\".\"b\""},
        {"\"items\"", "\"", "\"\"\"items\"\"\""},
        {"archive.items", "\"", "\"archive.items\""},
        {"\"a\".\"b\"; DROP TABLE t", "\"", "\"\"\"a\"\".\"\"b\"\"; DROP TABLE t\""},
        {"\"a\".\"b", "\"", "\"\"\"a\"\".\"\"b\""},
        {"\"a\".\"\"", "\"", "\"\"\"a\"\".\"\"\"\"\""},
        {"\"a\".\"b\"", "`", "`\"a\".\"b\"`"},
        {"\"a\".\"b\"", "", "\"a\".\"b\""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(tableInStatement(c.table, c.quote), c.named) << c.table << " in " << c.quote;
}

std::string recordOfLength(std::size_t length, const char *state = "42000")
{
    SqlDiagnosticRecord record{state, 1, ""};
    const std::size_t frame = formatDiagnosticRecord(record).size();
    record.message = std::string(length - frame, 'x');
    return record.message;
}

SqlDiagnosticRecord record(std::size_t length, const char *state = "42000")
{
    return SqlDiagnosticRecord{state, 1, recordOfLength(length, state)};
}

TEST(SplitDiagnostics, ThreeRecordsOf150GiveTwoBoxes)
{
    const std::vector<SqlDiagnosticRecord> records{record(150), record(150), record(150)};
    const std::string first = formatDiagnosticRecord(records[0]);
    ASSERT_EQ(first.size(), 150u);

    const std::vector<Message> boxes = splitDiagnostics(DiagnosticsKind::Error, records);

    const std::vector<Message> expected{
        {first + "\n" + first, "SQL_ERROR results", MessageIcon::Exclamation, MessageButtons::Ok},
        {first, "SQL_ERROR results continued", MessageIcon::Exclamation, MessageButtons::Ok}};
    EXPECT_EQ(boxes, expected);
}

TEST(SplitDiagnostics, InformationHasItsOwnCaptionsAndIcon)
{
    const std::vector<Message> boxes =
        splitDiagnostics(DiagnosticsKind::Information, {record(200), record(200), record(200)});
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].caption, "SQL_SUCCESS_WITH_INFO results");
    EXPECT_EQ(boxes[1].caption, "SQL_SUCCESS_WITH_INFO results continued");
    EXPECT_EQ(boxes[2].caption, "SQL_SUCCESS_WITH_INFO results continued");
    for (const Message &box : boxes) {
        EXPECT_EQ(box.icon, MessageIcon::Information);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
    }
}

struct SplitCase
{
    const char *what;
    std::vector<std::size_t> lengths;
    std::vector<std::size_t> recordsPerBox;
};

void PrintTo(const SplitCase &c, std::ostream *out)
{
    *out << c.what;
}

class SplitDiagnosticsTest : public testing::TestWithParam<SplitCase>
{};

TEST_P(SplitDiagnosticsTest, KeepsBoxesBelow390AndRecordsWhole)
{
    const SplitCase &c = GetParam();
    std::vector<SqlDiagnosticRecord> records;
    for (std::size_t length : c.lengths)
        records.push_back(record(length));

    const std::vector<Message> boxes = splitDiagnostics(DiagnosticsKind::Error, records);

    ASSERT_EQ(boxes.size(), c.recordsPerBox.size()) << c.what;
    std::size_t next = 0;
    for (std::size_t b = 0; b < boxes.size(); ++b) {
        std::string expected;
        for (std::size_t r = 0; r < c.recordsPerBox[b]; ++r, ++next)
            expected += (r > 0 ? "\n" : "") + formatDiagnosticRecord(records[next]);
        EXPECT_EQ(boxes[b].text, expected) << c.what << ", box " << b;
        EXPECT_EQ(boxes[b].caption, b == 0 ? "SQL_ERROR results" : "SQL_ERROR results continued");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitDiagnosticsTest,
    testing::Values(SplitCase{"two records making 389", {194, 194}, {2}},
                    SplitCase{"two records making 390", {194, 195}, {1, 1}},
                    SplitCase{"a first record above the limit is whole", {500, 100}, {1, 1}},
                    SplitCase{
                        "a long record after a short one starts a box", {100, 450, 100}, {1, 1, 1}},
                    SplitCase{"many short records", {100, 100, 100, 100, 100, 100, 100}, {3, 3, 1}},
                    SplitCase{"one record", {60}, {1}}));

TEST(SplitDiagnostics, NoRecordsShowOneEmptyBox)
{
    const std::vector<Message> expected{
        {"", "SQL_ERROR results", MessageIcon::Exclamation, MessageButtons::Ok}};
    EXPECT_EQ(splitDiagnostics(DiagnosticsKind::Error, {}), expected);
}

} // namespace
