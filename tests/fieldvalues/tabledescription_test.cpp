// SPDX-License-Identifier: MIT
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <tuple>

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fieldvalues/fieldtypes.h"
#include "fieldvalues/tabledescription.h"
#include "fieldvalues/text.h"
#include "tests/support/testfiles.h"

namespace {

const char BadData[] = "Bad data in \"Data Table Description\" file.";

FieldRow sampleRow(int i)
{
    std::string n = std::to_string(i);
    return FieldRow{"column_" + n,
                    "T" + n,
                    i % 3 == 0 ? "" : "default " + n,
                    "VARCHAR(50)",
                    std::to_string(10 + i),
                    i % 2 ? "No" : "Yes",
                    std::to_string(12)};
}

std::vector<FieldRow> sampleRows(int count)
{
    std::vector<FieldRow> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back(sampleRow(i));
    return rows;
}

TEST(TableDescriptionFile, WritesTheOneFieldExampleByteForByte)
{
    TemporaryFolder folder;
    std::string path = folder.file("example.dtd");
    Message failure;
    ASSERT_TRUE(saveTableDescription(path, "0123456789", "T",
                                     {{"ID", "ID", "", "COUNTER", "4", "Yes", "4"}}, &failure))
        << failure.text;
    std::string expected =
        DtdBytes().header(1, "0123456789", "T").field("ID", "ID", "", "COUNTER", 4, 1, 4).bytes();
    EXPECT_EQ(expected.size(), 66u);
    EXPECT_EQ(readBytes(path), expected);
    EXPECT_EQ(readBytes(path).substr(0, 4), "fDU3");
}

TEST(TableDescriptionFile, ReadsBackWhatWasWritten)
{
    TemporaryFolder folder;
    for (int count : {1, 7, 30}) {
        std::string path = folder.file("fields" + std::to_string(count) + ".dtd");
        std::vector<FieldRow> rows = sampleRows(count);
        rows[0].required = "Unknown"; // anything but "No" is required
        ASSERT_TRUE(saveTableDescription(path, "ODBC;DSN=sample;UID=me", "Orders", rows));

        TableDescription description;
        ASSERT_EQ(loadTableDescription(path, description), count);
        EXPECT_EQ(description.connectString, "DSN=sample;UID=me");
        EXPECT_EQ(description.tableName, "Orders");
        for (int i = 0; i < count; ++i) {
            const FieldDescription &field = description.fields[static_cast<std::size_t>(i)];
            FieldRow expected = rows[static_cast<std::size_t>(i)];
            if (i == 0)
                expected.required = "Yes";
            EXPECT_EQ(toFieldRow(field).name, expected.name);
            EXPECT_EQ(field.title, expected.title);
            EXPECT_EQ(field.defaultValue, expected.defaultValue);
            EXPECT_EQ(field.typeName, expected.typeName);
            EXPECT_EQ(std::to_string(field.length), expected.length);
            EXPECT_EQ(field.required, expected.required == "No" ? 0 : 1);
            EXPECT_EQ(field.sqlType, 12);
        }
    }
}

struct ReaderCase
{
    const char *name;
    std::string bytes;
    int expected;        // fields read
    std::string message; // "%s" stands for the path
};

class ReaderCases : public testing::TestWithParam<ReaderCase>
{};

TEST_P(ReaderCases, ReportsEachFailureInItsOwnWords)
{
    const ReaderCase &c = GetParam();
    TemporaryFolder folder;
    std::string path = folder.file("case.dtd");
    writeBytes(path, c.bytes);
    TableDescription description;
    Message failure;
    EXPECT_EQ(loadTableDescription(path, description, &failure), c.expected);
    std::string message = c.message;
    if (std::size_t at = message.find("%s"); at != std::string::npos)
        message.replace(at, 2, path);
    EXPECT_EQ(failure.text, message);
    if (!message.empty()) {
        EXPECT_EQ(failure.caption, "Quillon");
        EXPECT_EQ(failure.icon, MessageIcon::Stop);
        EXPECT_EQ(failure.buttons, MessageButtons::Ok);
    }
}

std::string thirtyOneFields()
{
    DtdBytes bytes;
    bytes.header(31);
    for (int i = 0; i < 31; ++i)
        bytes.field("f" + std::to_string(i), "F", "", "INT", 4, 0, 4);
    return bytes.bytes();
}

const DtdBytes oneField = DtdBytes().header(1).field("ID", "ID", "", "INT", 4, 1, 4);

INSTANTIATE_TEST_SUITE_P(
    TableDescriptionFile, ReaderCases,
    testing::Values(
        ReaderCase{"sound", oneField.bytes(), 1, ""},
        ReaderCase{"bytes_after_the_last_field_are_ignored", oneField.bytes() + "trailing", 1, ""},
        ReaderCase{"thirty_one_fields_give_thirty", thirtyOneFields(), 30, ""},
        ReaderCase{"bad_magic", DtdBytes().integer(0x33554467).bytes(), 0, "File %s is not valid."},
        ReaderCase{"empty_file", "", 0, "File %s is not valid."},
        ReaderCase{"zero_fields", DtdBytes().header(0).field("A", "A", "", "", 1, 0, 1).bytes(), 0,
                   "Bad field number in file %s."},
        ReaderCase{"negative_fields", DtdBytes().header(-1).bytes(), 0,
                   "Bad field number in file %s."},
        ReaderCase{"connect_string_of_9", DtdBytes().header(1, "DSN=abcde").bytes(), 0, BadData},
        ReaderCase{"connect_string_of_10",
                   DtdBytes().header(1, "DSN=abcdef").field("A", "A", "", "", 1, 0, 1).bytes(), 1,
                   ""},
        ReaderCase{"connect_string_of_1025", DtdBytes().header(1, std::string(1025, 'x')).bytes(),
                   0, BadData},
        ReaderCase{"empty_table_name", DtdBytes().header(1, "DSN=sample", "").bytes(), 0, BadData},
        ReaderCase{"table_name_of_257",
                   DtdBytes().header(1, "DSN=sample", std::string(257, 't')).bytes(), 0, BadData},
        ReaderCase{"empty_name", DtdBytes().header(1).field("", "A", "", "", 1, 0, 1).bytes(), 0,
                   BadData},
        ReaderCase{"title_of_8",
                   DtdBytes().header(1).field("A", "12345678", "", "", 1, 0, 1).bytes(), 1, ""},
        ReaderCase{"title_of_9",
                   DtdBytes().header(1).field("A", "123456789", "", "", 1, 0, 1).bytes(), 0,
                   BadData},
        ReaderCase{"empty_title", DtdBytes().header(1).field("A", "", "", "", 1, 0, 1).bytes(), 0,
                   BadData},
        ReaderCase{"default_of_257",
                   DtdBytes().header(1).field("A", "A", std::string(257, 'd'), "", 1, 0, 1).bytes(),
                   0, BadData},
        ReaderCase{"type_name_of_65",
                   DtdBytes().header(1).field("A", "A", "", std::string(65, 'n'), 1, 0, 1).bytes(),
                   0, BadData},
        ReaderCase{"length_of_0", DtdBytes().header(1).field("A", "A", "", "", 0, 0, 1).bytes(), 0,
                   BadData},
        ReaderCase{"unknown_sql_type_and_odd_required_are_not_checked",
                   DtdBytes().header(1).field("A", "A", "", "", 1, 77, 13).bytes(), 1, ""},
        ReaderCase{"ends_after_the_magic", oneField.bytes().substr(0, 4), 0, BadData},
        ReaderCase{"ends_inside_the_field_count", oneField.bytes().substr(0, 6), 0, BadData},
        ReaderCase{"ends_inside_a_text", oneField.bytes().substr(0, 30), 0, BadData},
        ReaderCase{"ends_before_the_last_integer",
                   oneField.bytes().substr(0, oneField.bytes().size() - 2), 0, BadData},
        ReaderCase{"declares_two_fields_holds_one",
                   DtdBytes().header(2).field("A", "A", "", "", 1, 0, 1).bytes(), 0, BadData}),
    [](const testing::TestParamInfo<ReaderCase> &param) { return std::string(param.param.name); });

TEST(TableDescriptionFile, MissingFileAndEmptyPath)
{
    TableDescription description;
    Message failure;
    EXPECT_EQ(loadTableDescription("/nonexistent/x.dtd", description, &failure), 0);
    EXPECT_EQ(failure.text, "Open file /nonexistent/x.dtd failed");
    EXPECT_EQ(failure.caption, "Quillon");

    TemporaryFolder folder;
    EXPECT_EQ(loadTableDescription(folder.file(""), description, &failure), 0);
    EXPECT_EQ(failure.text, "Open file " + folder.file("") + " failed");

    Message none;
    EXPECT_EQ(loadTableDescription("", description, &none), 0);
    EXPECT_EQ(none, Message{});
}

TEST(TableDescriptionFile, FailedReadKeepsThePreviousDescription)
{
    TemporaryFolder folder;
    std::string good = folder.file("good.dtd");
    std::string bad = folder.file("bad.dtd");
    ASSERT_TRUE(saveTableDescription(good, "DSN=sample", "Orders", sampleRows(3)));
    writeBytes(
        bad, DtdBytes().header(2, "DSN=other__", "Other").field("X", "X", "", "", 1, 0, 1).bytes());
    TableDescription description;
    ASSERT_EQ(loadTableDescription(good, description), 3);
    description.fieldCount = 3;
    EXPECT_EQ(loadTableDescription(bad, description), 0);
    EXPECT_EQ(description.tableName, "Orders");
    EXPECT_EQ(description.connectString, "DSN=sample");
    EXPECT_EQ(description.fields[0].name, "column_0");
    EXPECT_EQ(description.fieldCount, 3);
}

struct RefusalCase
{
    const char *name;
    std::string connect;
    std::string table;
    std::vector<FieldRow> rows;
    std::string problem;
};

class WriterRefusals : public testing::TestWithParam<RefusalCase>
{};

TEST_P(WriterRefusals, RefusesWhatTheReaderWouldRejectAndKeepsTheOldFile)
{
    const RefusalCase &c = GetParam();
    TemporaryFolder folder;
    std::string path = folder.file("kept.dtd");
    writeBytes(path, "previous content");
    Message failure;
    EXPECT_FALSE(saveTableDescription(path, c.connect, c.table, c.rows, &failure));
    EXPECT_EQ(failure.text, "The description cannot be saved.\n" + c.problem);
    EXPECT_EQ(failure.caption, "Error");
    EXPECT_EQ(readBytes(path), "previous content");
}

std::string repeated(const std::string &piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

std::vector<FieldRow> rowsWith(void (*change)(FieldRow &))
{
    std::vector<FieldRow> rows = sampleRows(2);
    change(rows[1]);
    return rows;
}

INSTANTIATE_TEST_SUITE_P(
    TableDescriptionFile, WriterRefusals,
    testing::Values(
        RefusalCase{"short_connect_string_once_prefix_dropped", "ODBC;DSN=abcde", "T",
                    sampleRows(1), "The connection string must have 10 to 1024 characters."},
        RefusalCase{"no_fields", "DSN=sample", "T", {}, "A description must have 1 to 30 fields."},
        RefusalCase{"thirty_one_fields", "DSN=sample", "T", sampleRows(31),
                    "A description must have 1 to 30 fields."},
        RefusalCase{"empty_table", "DSN=sample", "", sampleRows(1),
                    "The table name must have 1 to 256 characters."},
        RefusalCase{"long_title", "DSN=sample", "T",
                    rowsWith([](FieldRow &r) { r.title = "123456789"; }),
                    "Field 2 (column_1): the title must have 1 to 8 characters."},
        RefusalCase{"long_default", "DSN=sample", "T",
                    rowsWith([](FieldRow &r) { r.defaultValue.assign(257, 'x'); }),
                    "Field 2 (column_1): the default value must have 0 to 256 characters."},
        RefusalCase{"long_type_name", "DSN=sample", "T",
                    rowsWith([](FieldRow &r) { r.typeName.assign(65, 'x'); }),
                    "Field 2 (column_1): the type name must have 0 to 64 characters."},
        RefusalCase{"empty_name", "DSN=sample", "T", rowsWith([](FieldRow &r) { r.name.clear(); }),
                    "Field 2: the name must have 1 to 256 characters."},
        // The name shown is cut before a character that would straddle 64 bytes.
        RefusalCase{"long_name_of_two_byte_characters", "DSN=sample", "T",
                    rowsWith([](FieldRow &r) { r.name = "a" + repeated("\xc3\xa9", 150); }),
                    "Field 2 (a" + repeated("\xc3\xa9", 31) +
                        "): the name must have 1 to 256 characters."},
        RefusalCase{"zero_length", "DSN=sample", "T", rowsWith([](FieldRow &r) { r.length = "0"; }),
                    "Field 2 (column_1): the length must be at least 1."}),
    [](const testing::TestParamInfo<RefusalCase> &param) { return std::string(param.param.name); });

TEST(TableDescriptionFile, UnopenableTargetIsReportedWithTheWizardsWords)
{
    Message failure;
    EXPECT_FALSE(
        saveTableDescription("/nonexistent/dir/x.dtd", "DSN=sample", "T", sampleRows(1), &failure));
    EXPECT_EQ(failure.text,
              "Open file: /nonexistent/dir/x.dtd failed.\nNo such file or directory.");
    EXPECT_EQ(failure.caption, "Error");
    EXPECT_EQ(failure.icon, MessageIcon::Information);
}

// Saving through a symbolic link writes the file it names and keeps the link.
TEST(TableDescriptionFile, SaveThroughASymbolicLinkKeepsTheLink)
{
    TemporaryFolder folder;
    std::string target = folder.file("real.dtd");
    std::string link = folder.file("link.dtd");
    writeBytes(target, "previous content");
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(saveTableDescription(link, "DSN=sample", "Orders", sampleRows(2)));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    TableDescription description;
    EXPECT_EQ(loadTableDescription(target, description), 2);
    EXPECT_EQ(description.tableName, "Orders");
}

// Runs `save` as a user who is not root, since root may write anywhere: as root in a child
// process as the user "nobody", who then owns `owned` (when given).
bool savedAsAnOrdinaryUser(const std::function<bool()> &save, const std::string &owned = {})
{
    if (geteuid() != 0)
        return save();
    if (!owned.empty() && chown(owned.c_str(), 65534, 65534) != 0)
        return false;
    pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        bool ok = setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0 && save();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

mode_t modeOf(const std::string &path)
{
    struct stat entry
    {};
    stat(path.c_str(), &entry);
    return entry.st_mode & 07777;
}

// A new file gets the mode that the umask leaves; a replaced file keeps its own.
TEST(TableDescriptionFile, SavedFileModes)
{
    TemporaryFolder folder;
    std::string created = folder.file("new.dtd");
    std::string replaced = folder.file("old.dtd");
    writeBytes(replaced, "previous content");
    ASSERT_EQ(chmod(replaced.c_str(), 0604), 0);
    mode_t previous = umask(027);
    bool saved = saveTableDescription(created, "DSN=sample", "T", sampleRows(1)) &&
                 saveTableDescription(replaced, "DSN=sample", "T", sampleRows(1));
    umask(previous);
    ASSERT_TRUE(saved);
    EXPECT_EQ(modeOf(created), 0640u);
    EXPECT_EQ(modeOf(replaced), 0604u);
    EXPECT_EQ(readBytes(replaced), readBytes(created));
}

// A pipe (or a device) is written to, not replaced by a file; a folder cannot be opened.
TEST(TableDescriptionFile, SaveWritesIntoAPipeAndRefusesAFolder)
{
    TemporaryFolder folder;
    std::string pipe = folder.file("pipe.dtd");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::vector<FieldRow> rows = {{"ID", "ID", "", "COUNTER", "4", "Yes", "4"}};
    EXPECT_TRUE(saveTableDescription(pipe, "0123456789", "T", rows));
    char bytes[256];
    ssize_t n = read(reader, bytes, sizeof bytes);
    close(reader);
    EXPECT_EQ(
        std::string(bytes, static_cast<std::size_t>(std::max<ssize_t>(n, 0))),
        DtdBytes().header(1, "0123456789", "T").field("ID", "ID", "", "COUNTER", 4, 1, 4).bytes());
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));

    std::string sub = folder.file("folder.dtd");
    std::filesystem::create_directory(sub);
    Message failure;
    EXPECT_FALSE(saveTableDescription(sub, "0123456789", "T", rows, &failure));
    EXPECT_EQ(failure, (Message{"Open file: " + sub + " failed.\nIs a directory.", "Error",
                                MessageIcon::Information, MessageButtons::Ok}));
    EXPECT_TRUE(std::filesystem::is_directory(sub));
    int files = 0;
    for ([[maybe_unused]] const auto &entry :
         std::filesystem::directory_iterator(std::filesystem::path(sub).parent_path()))
        ++files;
    EXPECT_EQ(files, 2); // the pipe and the folder, no temporary file
}

// A file that its user may not write to is kept, and the save fails as opening it would.
TEST(TableDescriptionFile, FileThatMayNotBeWrittenIsKept)
{
    TemporaryFolder folder;
    std::string path = folder.file("readonly.dtd");
    writeBytes(path, "previous content");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    // A folder that anybody may write to: only the file's own mode protects it.
    ASSERT_EQ(chmod(std::filesystem::path(path).parent_path().c_str(), 0777), 0);
    EXPECT_TRUE(savedAsAnOrdinaryUser([&] {
        Message failure;
        return !saveTableDescription(path, "DSN=sample", "T", sampleRows(1), &failure) &&
               failure == Message{"Open file: " + path + " failed.\nPermission denied.", "Error",
                                  MessageIcon::Information, MessageButtons::Ok};
    }));
    EXPECT_EQ(readBytes(path), "previous content");
}

// A file that its user may write, in a folder that they may not (a shared folder), is written
// in place: with its own mode, or made the owner's alone for a password.
TEST(TableDescriptionFile, WritableFileInAFolderThatMayNotBeWrittenIsSavedInPlace)
{
    for (const auto &[access, before, after] : {std::tuple{SaveAccess::AsUsual, 0640u, 0640u},
                                                std::tuple{SaveAccess::OwnerOnly, 0664u, 0600u}}) {
        TemporaryFolder folder;
        std::string path = folder.file("shared.dtd");
        writeBytes(path, "a previous content longer than the new one, which must not show through");
        ASSERT_EQ(chmod(path.c_str(), before), 0);
        const std::string parent = std::filesystem::path(path).parent_path();
        ASSERT_EQ(chmod(parent.c_str(), 0555), 0);
        const bool saved = savedAsAnOrdinaryUser(
            [&] {
                return saveTableDescription(path, "DSN=sample", "T", sampleRows(1), nullptr,
                                            access);
            },
            path);
        chmod(parent.c_str(), 0755);
        EXPECT_TRUE(saved);
        TableDescription description;
        EXPECT_EQ(loadTableDescription(path, description), 1);
        EXPECT_EQ(modeOf(path), after);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(parent),
                                std::filesystem::directory_iterator()),
                  1);
    }
}

// A write that fails half-way (here: the file size limit, as a full disk would) is reported and
// leaves the existing file as it was, with no temporary file behind.
TEST(TableDescriptionFile, WriteErrorIsReportedAndTheOldFileSurvives)
{
    TemporaryFolder folder;
    std::string path = folder.file("kept.dtd");
    writeBytes(path, "previous content");

    std::vector<FieldRow> rows = sampleRows(30);
    for (FieldRow &row : rows)
        row.defaultValue.assign(200, 'v');

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 1000;
    void (*previousHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Message failure;
    bool saved_ok = saveTableDescription(path, "DSN=sample", "T", rows, &failure);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(failure.text, "Could not write file " + path + ":\nFile too large.");
    EXPECT_EQ(failure.caption, "Error");
    EXPECT_EQ(readBytes(path), "previous content");
    int files = 0;
    for ([[maybe_unused]] const auto &entry :
         std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(TableDescriptionFile, ReadNumberReadsAsTheWizardsListDoes)
{
    EXPECT_EQ(readNumber("  42abc"), 42);
    EXPECT_EQ(readNumber("-7"), -7);
    EXPECT_EQ(readNumber("+7"), 7);
    EXPECT_EQ(readNumber("abc"), 0);
    EXPECT_EQ(readNumber(""), 0);
    EXPECT_EQ(readNumber("4294967297"), 1); // wraps modulo 2^32
    EXPECT_EQ(readNumber("2147483648"), -2147483647 - 1);
}

TEST(TableDescriptionFile, ValueWidthsAreSetForLoadedFields)
{
    TableDescription description;
    description.fieldCount = 2;
    description.fields[0].sqlType = 12;
    description.fields[0].length = 40000;
    description.fields[1].sqlType = 10;
    description.fields[1].length = 6;
    setValueWidths(description);
    EXPECT_EQ(description.fields[0].valueWidth, 32000);
    EXPECT_EQ(description.fields[1].valueWidth, 8);
}

} // namespace
