// SPDX-License-Identifier: MIT
// The text rules of picking and the row being picked: plain C++, no windows.
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fieldvalues/fieldtypes.h"
#include "picker/capture/capturetext.h"
#include "picker/capture/pickedrow.h"
#include "picker/capture/pseudoterminal.h"
#include "picker/capture/terminals.h"

namespace {

struct NormalizeCase
{
    const char *name;
    std::string input;
    bool keepLineBreaks;
    std::string expected;
};

class NormalizePickedTextTest : public ::testing::TestWithParam<NormalizeCase>
{};

TEST_P(NormalizePickedTextTest, CleansInPlace)
{
    std::string text = GetParam().input;
    normalizePickedText(text, GetParam().keepLineBreaks);
    EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizePickedTextTest,
    ::testing::Values(
        NormalizeCase{"Empty", "", false, ""}, NormalizeCase{"OnlyBlanks", " \t \r\n ", false, ""},
        NormalizeCase{"OnlyBlanksLongText", " \t \r\n ", true, ""},
        NormalizeCase{"TabsAndBlanksBetweenAndAround", "  Ada \t  Lovelace  ", false,
                      "Ada Lovelace"},
        NormalizeCase{"TwoLinesJoinedForText", " first line\r\nsecond line \r\n", false,
                      "first line second line"},
        NormalizeCase{"TwoLinesKeptForLongText", "first line\r\nsecond line", true,
                      "first line\r\nsecond line"},
        NormalizeCase{"LongTextLosesTheFinalLineBreak", "line one\r\nline two\r\n", true,
                      "line one\r\nline two"},
        NormalizeCase{"LongTextBlanksAroundLineBreakBecomeOne", "a  \r\n  b", true, "a \r\n b"},
        NormalizeCase{"LeadingLineBreaksGoForLongText", "\r\n\r\n  text", true, "text"},
        NormalizeCase{"VerticalTabAndFormFeedStayInside", "a\vb\fc d", false, "a\vb\fc d"},
        NormalizeCase{"VerticalTabAlonePassesAsAWord", "a \v b", false, "a \v b"},
        NormalizeCase{"TrailingVerticalTabsRemoved", "abc\v\v", false, "abc"},
        NormalizeCase{"LeadingFormFeedSkipped", "\f\vword", false, "word"},
        NormalizeCase{"SingleWord", "word", false, "word"},
        // White space that ends the last word goes too, whether or not a joining space followed
        // it, so that a cleaned text is clean.
        NormalizeCase{"LeadingFormFeedAndTheFinalVerticalTabGo", "\fword\v", false, "word"},
        NormalizeCase{"LeadingBlankAndTheFinalLineBreakOfLongTextGo", " line\r\n", true, "line"},
        NormalizeCase{"LastWordEndingInVerticalTabBeforeABlank", "a \v", false, "a"},
        NormalizeCase{"FourByteCharacterThenLineBreak", "\xF0\x9F\x98\x80 smile\r\n", true,
                      "\xF0\x9F\x98\x80 smile"},
        NormalizeCase{"MultiByteWords", " Zoë \t Ångström ", false, "Zoë Ångström"}),
    [](const ::testing::TestParamInfo<NormalizeCase> &param) { return param.param.name; });

TEST(NormalizePickedText, CleaningACleanedTextChangesNothing)
{
    const std::string texts[] = {
        "line one\r\nline two\r\n", " line\r\n",   "\fword\v", "a \v", "abc\v\v",
        "  Ada \t  Lovelace  ",     "a  \r\n  b\r"};
    for (const std::string &text : texts) {
        for (bool keepLineBreaks : {false, true}) {
            std::string once = text;
            normalizePickedText(once, keepLineBreaks);
            std::string twice = once;
            normalizePickedText(twice, keepLineBreaks);
            EXPECT_EQ(twice, once) << text << " " << keepLineBreaks;
        }
    }
}

TEST(NormalizePickedText, WholeCaptureOfBlanksAndWords)
{
    std::string text;
    for (int i = 0; i < 4000; ++i)
        text += "word\t \r\n";
    normalizePickedText(text, false);
    ASSERT_EQ(text.size(), 4000u * 5 - 1);
    EXPECT_EQ(text.substr(0, 10), "word word ");
    EXPECT_EQ(text.back(), 'd');
}

TEST(StatusLineText, ShowsUpTo74BytesWhole)
{
    const std::string text74(74, 'x');
    EXPECT_EQ(statusLineText(text74), text74);
    const std::string text75(75, 'y');
    EXPECT_EQ(statusLineText(text75), std::string(74, 'y') + "...");
    EXPECT_EQ(statusLineText(text75).size(), 77u);
    EXPECT_EQ(statusLineText(" "), " ");
}

TEST(StatusLineText, NeverSplitsACharacter)
{
    // 73 ASCII bytes, then a two-byte character across the 74th byte.
    const std::string text = std::string(73, 'a') + "é" + "tail";
    EXPECT_EQ(statusLineText(text), std::string(73, 'a') + "...");
}

TEST(StatusCaption, WithoutAndWithAField)
{
    EXPECT_EQ(statusCaption(nullptr), "quillon   - text you are picking up");
    const std::string title = "Surname";
    EXPECT_EQ(statusCaption(&title), "quillon   - text you are picking up to \"Surname\"");
}

TableDescription threeFields()
{
    TableDescription description;
    description.connectString = "DSN=none";
    description.tableName = "t";
    description.fieldCount = 3;
    const struct
    {
        const char *title;
        int sqlType;
        int length;
        const char *defaultValue;
    } fields[] = {{"Name", 12, 8, ""}, {"Notes", -1, 65536, ""}, {"Town", 1, 6, "Paris"}};
    for (std::size_t i = 0; i < 3; ++i) {
        FieldDescription &field = description.fields[i];
        field.name = field.title = fields[i].title;
        field.sqlType = fields[i].sqlType;
        field.length = fields[i].length;
        field.defaultValue = fields[i].defaultValue;
    }
    setValueWidths(description);
    return description;
}

TEST(PickedRow, StoresCutToWidthAndKeepsThePreviousValue)
{
    const TableDescription description = threeFields();
    PickedRow row;
    ASSERT_TRUE(row.allocate(description));
    ASSERT_EQ(row.fieldCount, 3);
    EXPECT_EQ(row.valueWidth[0], 8);
    EXPECT_EQ(row.valueWidth[1], 32000);

    const char *buffer = row.value[0].data();
    row.storeValue(0, "Lovelace, Ada");
    EXPECT_EQ(row.value[0], "Lovelace");
    EXPECT_EQ(row.previousValue[0], "");
    row.hasValue[0] = 1;
    row.storeValue(0, "Zoë Brontë"); // the ë at bytes 3..4 fits, the one at 9..10 does not
    EXPECT_EQ(row.value[0], "Zoë Bro");
    EXPECT_EQ(row.previousValue[0], "Lovelace");
    // The value's room was made when the table was loaded: storing never moves it.
    EXPECT_EQ(row.value[0].data(), buffer);

    row.storeValue(1, std::string(40000, 'n'));
    EXPECT_EQ(row.value[1].size(), 32000u);
    row.storeValue(3, "no such field");
    row.storeValue(-1, "no such field");
}

TEST(PickedRow, ResetStartsFromTheDefaults)
{
    const TableDescription description = threeFields();
    PickedRow row;
    ASSERT_TRUE(row.allocate(description));
    row.hasValue[0] = 1;
    row.value[0] = "old";
    row.previousValue[0] = "older";
    row.unsaved = 1;
    row.pendingField = 1;
    row.captureTarget = 42;

    row.reset(description);
    EXPECT_EQ(row.value[0], "");
    EXPECT_EQ(row.hasValue[0], 0);
    EXPECT_EQ(row.previousValue[0], "");
    EXPECT_EQ(row.value[2], "Paris");
    EXPECT_EQ(row.hasValue[2], 1);
    EXPECT_EQ(row.unsaved, 0);
    EXPECT_TRUE(row.anyFieldHasValue());
    // Neither the waiting field nor the target belongs to the row's values.
    EXPECT_EQ(row.pendingField, 1);
    EXPECT_EQ(row.captureTarget, 42u);
}

TEST(PickedRow, LoadingATableEndsAWaitingRequest)
{
    const TableDescription description = threeFields();
    PickedRow row;
    ASSERT_TRUE(row.allocate(description));
    row.pendingField = 2;
    TableDescription smaller = description;
    smaller.fieldCount = 1;
    ASSERT_TRUE(row.allocate(smaller));
    EXPECT_EQ(row.fieldCount, 1);
    EXPECT_EQ(row.pendingField, -1);
    EXPECT_FALSE(row.anyFieldHasValue());
    row.release();
    EXPECT_EQ(row.fieldCount, 0);
    EXPECT_FALSE(row.anyFieldHasValue());
}

struct WindowClassCase
{
    const char *instance;
    const char *className;
    bool terminal;
};

TEST(TerminalWindowClass, TellsTerminalsFromOtherPrograms)
{
    const WindowClassCase cases[] = {
        {"xterm", "XTerm", true},
        {"xterm", "UXTerm", true},
        {"mywork", "XTerm", true}, // xterm -name mywork
        {"urxvt", "URxvt", true},
        {"gnome-terminal-server", "Gnome-terminal", true},
        {"konsole", "konsole", true},
        {"xfce4-terminal", "Xfce4-terminal", true},
        {"Alacritty", "Alacritty", true},
        {"st-256color", "st-256color", true},
        {"org.wezfurlong.wezterm", "org.wezfurlong.wezterm", true},
        {"xgterm", "XGterm", true},
        {"pangoterm", "Pangoterm", true},
        {"terminus", "Terminus", true},
        {"Terminal", "GNUstep", true},
        {"lomiri-terminal-app", "terminal.ubports", true},
        // GNUstep's other programs, and other programs' windows named "Terminal"
        {"TextEdit", "GNUstep", false},
        {"Terminal", "Terminal", false},
        {"terminal", "Notes", false},
        {"geany", "Geany", false},
        {"mousepad", "Mousepad", false},
        {"Navigator", "firefox-esr", false},
        {"libreoffice", "libreoffice-calc", false},
        {"terminal-notes", "Terminal-notes", false},
        {"", "", false},
    };
    for (const WindowClassCase &c : cases)
        EXPECT_EQ(isTerminalWindowClass(c.instance, c.className), c.terminal)
            << c.instance << " / " << c.className;
}

TEST(TerminalWindowClass, TableHoldsLowerCaseNamesOnce)
{
    std::set<std::string_view> seen;
    for (const std::string_view name : terminalWindowClasses()) {
        EXPECT_FALSE(name.empty());
        EXPECT_TRUE(seen.insert(name).second) << name;
        for (const char c : name)
            EXPECT_FALSE(c >= 'A' && c <= 'Z') << name;
    }
    EXPECT_GE(seen.size(), 16u);
}

// The process that drives a pseudo-terminal holds its master, and that is seen from /proc.
TEST(PseudoTerminal, HolderIsToldByItsOpenMaster)
{
    const long self = ::getpid();
    EXPECT_FALSE(holdsPseudoTerminalMaster(self));
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    EXPECT_TRUE(holdsPseudoTerminalMaster(self));
    ::close(master);
    EXPECT_FALSE(holdsPseudoTerminalMaster(self));

    // A process that is gone, and no process at all.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    EXPECT_FALSE(holdsPseudoTerminalMaster(child));
    EXPECT_FALSE(holdsPseudoTerminalMaster(0));
    EXPECT_FALSE(holdsPseudoTerminalMaster(-1));
}

} // namespace
