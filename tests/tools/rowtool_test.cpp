// SPDX-License-Identifier: MIT
#include <cstdlib>
#include <sstream>

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "fieldvalues/tabledescription.h"
#include "tests/support/testfiles.h"
#include "tools/rowtool.h"

namespace {

struct ToolRun
{
    int status;
    std::string out;
    std::string err;
};

ToolRun run(const std::vector<std::string> &args, const std::string &input = "")
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    int status = runRowTool(args, in, out, err);
    return ToolRun{status, out.str(), err.str()};
}

class RowTool : public testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_folder.file("orders.dtd");
        ASSERT_TRUE(saveTableDescription(
            m_path, "DSN=shop;UID=clerk", "Orders",
            {
                {"id", "Id", "", "INTEGER", "4", "Yes", "4"},
                {"customer", "Customer", "Walk-in", "VARCHAR(20)", "20", "Yes", "12"},
                {"note", "Note", "tab\there\\back\nline", "TEXT", "65536", "No", "-1"},
                {"placed", "Placed", "", "DATE", "6", "No", "9"},
                {"amount", "Amount", "", "NUMERIC", "12", "No", "2"},
            }));
    }

    TemporaryFolder m_folder;
    std::string m_path;
};

TEST_F(RowTool, DescribePrintsEscapedColumns)
{
    ToolRun r = run({"describe", m_path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "DSN=shop;UID=clerk\n"
                     "Orders\n"
                     "id\tId\t\tINTEGER\t4\t1\t4\n"
                     "customer\tCustomer\tWalk-in\tVARCHAR(20)\t20\t1\t12\n"
                     "note\tNote\ttab\\there\\\\back\\nline\tTEXT\t65536\t0\t-1\n"
                     "placed\tPlaced\t\tDATE\t6\t0\t9\n"
                     "amount\tAmount\t\tNUMERIC\t12\t0\t2\n");
}

TEST_F(RowTool, DescribeThenCreateGivesBackTheFileByteForByte)
{
    const std::string files[] = {
        readBytes(m_path),
        // A connection string that itself starts with "ODBC;" keeps it.
        DtdBytes().header(1, "ODBC;DSN=shop").field("id", "Id", "", "INT", 4, 1, 4).bytes(),
        // Texts with tabs, line breaks, backslashes and a NUL byte; the longest texts; numbers
        // that no check looks at.
        DtdBytes()
            .header(2, "DSN=shop;PWD=\t\\", "Line\nbreak\r\n")
            .field("a\rb", "\\", "\\x", "", 1, 0, -5)
            .field(std::string("n\0ul", 4), "T", std::string(256, 'd'), std::string(64, 't'),
                   2147483647, 1, 13)
            .bytes(),
    };
    for (std::size_t i = 0; i < std::size(files); ++i) {
        std::string original = m_folder.file("original" + std::to_string(i) + ".dtd");
        std::string copy = m_folder.file("copy" + std::to_string(i) + ".dtd");
        writeBytes(original, files[i]);
        ToolRun described = run({"describe", original});
        ASSERT_EQ(described.status, 0) << described.err;
        ToolRun created = run({"create", copy}, described.out);
        EXPECT_EQ(created.status, 0) << created.err;
        EXPECT_EQ(readBytes(copy), files[i]) << i;
    }
}

// The required column may be written as describe prints it or as the wizard's list shows it.
TEST_F(RowTool, CreateReadsTheRequiredColumnInEitherForm)
{
    std::string path = m_folder.file("required.dtd");
    ToolRun created = run({"create", path}, "DSN=shop;UID=clerk\nOrders\n"
                                            "a\tA\t\tINT\t4\tYes\t4\n"
                                            "b\tB\t\tINT\t4\tNo\t4\n"
                                            "c\tC\t\tINT\t4\t1\t4\n"
                                            "d\tD\t\tINT\t4\t0\t4\n"
                                            "e\tE\t\tINT\t4\tUnknown\t4\n");
    ASSERT_EQ(created.status, 0) << created.err;
    TableDescription description;
    ASSERT_EQ(loadTableDescription(path, description), 5);
    const int expected[] = {1, 0, 1, 0, 1};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(description.fields[static_cast<std::size_t>(i)].required, expected[i]) << i;
}

TEST_F(RowTool, FailuresAndUsage)
{
    std::string junk = m_folder.file("junk.dtd");
    writeBytes(junk, "not a description");
    struct
    {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string err;
    } cases[] = {
        {{"describe", junk}, "", 1, "File " + junk + " is not valid.\n"},
        {{"describe", m_folder.file("none.dtd")},
         "",
         1,
         "Open file " + m_folder.file("none.dtd") + " failed\n"},
        {{"describe"},
         "",
         2,
         "quillon-row: describe takes one file\nTry 'quillon-row --help' for more "
         "information.\n"},
        {{"frobnicate"},
         "",
         2,
         "quillon-row: unknown command 'frobnicate'\nTry 'quillon-row --help' for more "
         "information.\n"},
        {{"create", m_folder.file("new.dtd")},
         "DSN=shop;UID=clerk\nOrders\nid\tId\n",
         1,
         "quillon-row: line 3: expected 7 tab-separated columns (name, title, default, type "
         "name, length, required, SQL type)\n"},
        {{"create", m_folder.file("new.dtd")},
         "DSN=shop\nOrders\nid\tId\t\tINT\t4\t1\t4\n",
         1,
         "The description cannot be saved.\nThe connection string must have 10 to 1024 "
         "characters.\n"},
        {{"create", m_folder.file("new.dtd")},
         "DSN=shop;UID=1\nOrd\\qers\n",
         1,
         "quillon-row: line 2: bad escape sequence\n"},
        {{"check", m_path, "Nobody=1"},
         "",
         2,
         "quillon-row: no field 'Nobody' in the description\nTry 'quillon-row --help' for "
         "more information.\n"},
        {{"check", m_path, "Id"},
         "",
         2,
         "quillon-row: expected FIELD=VALUE, got 'Id'\nTry 'quillon-row --help' for more "
         "information.\n"},
        {{"check", m_path, "#6=1"},
         "",
         2,
         "quillon-row: no field '#6' in the description\nTry 'quillon-row --help' for more "
         "information.\n"},
        {{"describe", ""},
         "",
         2,
         "quillon-row: describe takes one file\nTry 'quillon-row --help' for more "
         "information.\n"},
        {{"create", ""},
         "DSN=shop;UID=clerk\nOrders\nid\tId\t\tINT\t4\t1\t4\n",
         2,
         "quillon-row: create takes one file\nTry 'quillon-row --help' for more "
         "information.\n"},
        {{"check", "", "Id=1"},
         "",
         2,
         "quillon-row: check needs a file\nTry 'quillon-row --help' for more information.\n"},
        // 2^32 + 1 is no field, not the first one.
        {{"check", m_path, "#4294967297=1"},
         "",
         2,
         "quillon-row: no field '#4294967297' in the description\nTry 'quillon-row --help' for "
         "more information.\n"},
    };
    for (const auto &c : cases) {
        ToolRun r = run(c.args, c.input);
        EXPECT_EQ(r.status, c.status) << c.args[0];
        EXPECT_EQ(r.err, c.err) << c.args[0];
    }
    EXPECT_EQ(readBytes(m_folder.file("new.dtd")), "");
}

TEST_F(RowTool, CheckWalksTheRowAsEnterDoes)
{
    struct
    {
        std::vector<std::string> assignments;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        // Defaults fill the row; the required Id is missing.
        {{}, 1, "", "Id: a value is required\n"},
        {{"Id=007"}, 1, "", "Id: (No more than 10 digits)\n"},
        {{"Id=1,234", "Placed=Dec 6, 1999", "Amount=1,234.50"},
         0,
         "Id=1234\nCustomer=Walk-in\nNote=tab\\there\\\\back\\nline\nPlaced=12/06/1999\n"
         "Amount=1234.50\n",
         ""},
        // By name, by position, and a value cut to the field's width like picked text.
        {{"id=5", "#2=" + std::string(25, 'x'), "note="},
         0,
         "Id=5\nCustomer=" + std::string(20, 'x') + "\n",
         "quillon-row: the value for Customer was cut to 20 bytes\n"},
        {{"Id=5", "Customer="}, 1, "", "Customer: a value is required\n"},
        {{"Id=5", "Placed=02/30/2000"},
         1,
         "",
         "Placed: Invalid format or value.\n(Format: MM/DD/YYYY)\n"},
    };
    for (const auto &c : cases) {
        std::vector<std::string> args = {"check", m_path};
        args.insert(args.end(), c.assignments.begin(), c.assignments.end());
        ToolRun r = run(args);
        EXPECT_EQ(r.status, c.status) << testing::PrintToString(c.assignments);
        EXPECT_EQ(r.out, c.out) << testing::PrintToString(c.assignments);
        EXPECT_EQ(r.err, c.err) << testing::PrintToString(c.assignments);
    }
}

TEST_F(RowTool, ARowWithoutAnyValueIsNoRow)
{
    std::string optional = m_folder.file("optional.dtd");
    ASSERT_TRUE(saveTableDescription(optional, "DSN=shop;UID=clerk", "Notes",
                                     {{"note", "Note", "", "TEXT", "65536", "No", "-1"},
                                      {"code", "Code", "", "NUMERIC", "12", "No", "2"}}));
    // Nothing is required, so every field may be empty, but not all of them at once; a value
    // that the check empties counts as none. Nothing is inserted, so nothing connects.
    for (const std::vector<std::string> &args : {std::vector<std::string>{"check", optional},
                                                 {"check", optional, "Note="},
                                                 {"insert", optional, "Code=,,,"}}) {
        ToolRun r = run(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
        EXPECT_EQ(r.err, "quillon-row: the row holds no value\n") << args[0];
    }
    EXPECT_EQ(run({"check", optional, "Code=12"}).status, 0);
}

// Output that cannot be written, as to a full disk, fails the command.
TEST_F(RowTool, OutputThatCannotBeWrittenIsAFailure)
{
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"describe", m_path}, {"check", m_path, "Id=5"}, {"--help"}}) {
        std::istringstream in;
        std::ostream full(nullptr); // every write fails
        std::ostringstream err;
        EXPECT_EQ(runRowTool(args, in, full, err), 1) << args[0];
        EXPECT_EQ(err.str(), "quillon-row: could not write the output\n") << args[0];
    }
}

// The program itself, through a shell: a pipe from describe into create, exit codes, and
// standard output on a full device.
TEST_F(RowTool, ProgramExitCodesAndPipedRoundTrip)
{
    auto shell = [](const std::string &command) {
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    const std::string tool = std::string("'") + QUILLON_ROW + "'";
    const std::string copy = m_folder.file("piped.dtd");
    EXPECT_EQ(shell(tool + " describe '" + m_path + "' | " + tool + " create '" + copy + "'"), 0);
    EXPECT_EQ(readBytes(copy), readBytes(m_path));
    EXPECT_EQ(shell(tool + " check '" + m_path + "' Id=5 >/dev/null"), 0);
    EXPECT_EQ(shell(tool + " check '" + m_path + "' Id=x >/dev/null 2>&1"), 1);
    EXPECT_EQ(shell(tool + " check '" + m_path + "' Nobody=1 2>/dev/null"), 2);
    EXPECT_EQ(shell(tool + " describe '" + m_path + "' >/dev/full 2>/dev/null"), 1);
}

TEST(RowToolEscapes, RoundTripAndRefuseBadSequences)
{
    const std::string texts[] = {"", "plain", "a\tb", "x\\ny", "\r\n", "\\\\"};
    for (const std::string &text : texts) {
        std::string back;
        ASSERT_TRUE(unescapeColumn(escapeColumn(text), back));
        EXPECT_EQ(back, text);
        EXPECT_EQ(escapeColumn(text).find('\t'), std::string::npos);
        EXPECT_EQ(escapeColumn(text).find('\n'), std::string::npos);
    }
    std::string out;
    EXPECT_FALSE(unescapeColumn("trailing\\", out));
    EXPECT_FALSE(unescapeColumn("\\x", out));
}

TEST(RowToolHelp, PrintsUsage)
{
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"--help"}, {"describe", "--help"}, {"check", "-h", "Id=1"}}) {
        ToolRun r = run(args);
        EXPECT_EQ(r.status, 0) << args[0];
        EXPECT_EQ(r.err, "") << args[0];
        EXPECT_EQ(r.out.rfind("Usage: quillon-row COMMAND FILE.dtd [ARGUMENTS]\n", 0), 0u)
            << args[0];
    }
    EXPECT_EQ(run({}).status, 2);
}

} // namespace
