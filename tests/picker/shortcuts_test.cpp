// SPDX-License-Identifier: MIT
// The picker's keys for every application as the settings file writes them: read, written back
// for menus and messages, and said in few words when another program holds them.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "picker/shortcuts.h"

namespace {

constexpr unsigned Ctrl = KeyCombination::Ctrl;
constexpr unsigned Alt = KeyCombination::Alt;
constexpr unsigned Shift = KeyCombination::Shift;
constexpr unsigned Super = KeyCombination::Super;

struct ParseCase
{
    const char *written;
    std::optional<KeyCombination> read;
    const char *shown; // when read
};

class ParseKeys : public testing::TestWithParam<ParseCase>
{};

TEST_P(ParseKeys, ReadsAndShowsTheCombination)
{
    const ParseCase &c = GetParam();
    const std::optional<KeyCombination> read = parseKeyCombination(c.written);
    ASSERT_EQ(read, c.read);
    if (read) {
        EXPECT_EQ(keyCombinationText(*read), c.shown);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ParseKeys,
    testing::Values(
        ParseCase{"Ctrl+Alt+1", KeyCombination{Ctrl | Alt, "1"}, "Ctrl+Alt+1"},
        ParseCase{" alt + control + 9 ", KeyCombination{Ctrl | Alt, "9"}, "Ctrl+Alt+9"},
        ParseCase{"Ctrl+Alt+Space", KeyCombination{Ctrl | Alt, "space"}, "Ctrl+Alt+Space"},
        ParseCase{"CTRL+ALT+SPACE", KeyCombination{Ctrl | Alt, "space"}, "Ctrl+Alt+Space"},
        ParseCase{"Ctrl+Alt+Enter", KeyCombination{Ctrl | Alt, "Return"}, "Ctrl+Alt+Return"},
        ParseCase{"ctrl+alt+return", KeyCombination{Ctrl | Alt, "Return"}, "Ctrl+Alt+Return"},
        ParseCase{"Ctrl+Alt+V", KeyCombination{Ctrl | Alt, "v"}, "Ctrl+Alt+V"},
        ParseCase{"Ctrl+Alt+v", KeyCombination{Ctrl | Alt, "v"}, "Ctrl+Alt+V"},
        ParseCase{"Super+Shift+F12", KeyCombination{Shift | Super, "F12"}, "Shift+Super+F12"},
        ParseCase{"Win+PageDown", KeyCombination{Super, "Next"}, "Super+PageDown"},
        ParseCase{"Meta+,", KeyCombination{Super, "comma"}, "Super+,"},
        ParseCase{"Ctrl+Esc", KeyCombination{Ctrl, "Escape"}, "Ctrl+Escape"},
        // Not combinations the picker can take from every application.
        ParseCase{"1", std::nullopt, ""}, ParseCase{"Shift+1", std::nullopt, ""},
        ParseCase{"Ctrl+Alt+", std::nullopt, ""}, ParseCase{"Ctrl+Alt++", std::nullopt, ""},
        ParseCase{"Ctrl+Ctrl+1", std::nullopt, ""}, ParseCase{"Ctrl+Blah", std::nullopt, ""},
        ParseCase{"Hyper+1", std::nullopt, ""}, ParseCase{"Ctrl+F0", std::nullopt, ""},
        ParseCase{"Ctrl+F25", std::nullopt, ""}, ParseCase{"Ctrl+Alt+12", std::nullopt, ""},
        ParseCase{"Ctrl+Alt+é", std::nullopt, ""}, ParseCase{"", std::nullopt, ""}));

TEST(Shortcuts, DefaultsAreCtrlAltWithDigitsSpaceReturnAndV)
{
    const ShortcutSet set = defaultShortcuts();
    std::vector<std::string> shown;
    for (const std::optional<KeyCombination> &keys : set.keys)
        shown.push_back(keys ? keyCombinationText(*keys) : "");
    EXPECT_EQ(shown, (std::vector<std::string>{"Ctrl+Alt+1", "Ctrl+Alt+2", "Ctrl+Alt+3",
                                               "Ctrl+Alt+4", "Ctrl+Alt+5", "Ctrl+Alt+6",
                                               "Ctrl+Alt+7", "Ctrl+Alt+8", "Ctrl+Alt+9",
                                               "Ctrl+Alt+Space", "Ctrl+Alt+Return", "Ctrl+Alt+V"}));
    EXPECT_TRUE(set.unreadable.empty());
}

TEST(Shortcuts, ASettingChangesSwitchesOffOrIsReportedUnreadable)
{
    ShortcutSet set = defaultShortcuts();
    applyShortcutSetting(set, 0, "Super+1");
    applyShortcutSetting(set, 10, "  ");
    applyShortcutSetting(set, 11, "Ctrl+Blah");
    EXPECT_EQ(set[ShortcutAction::Pick1], (KeyCombination{Super, "1"}));
    EXPECT_FALSE(set[ShortcutAction::Enter]);
    EXPECT_FALSE(set[ShortcutAction::FillRow]);
    EXPECT_EQ(set.unreadable, std::vector<std::string>{"shortcut.fillrow=Ctrl+Blah"});
    EXPECT_EQ(set[ShortcutAction::PickNext], (KeyCombination{Ctrl | Alt, "space"}));
}

struct DescribeCase
{
    std::vector<KeyCombination> keys;
    const char *text;
};

class DescribeKeys : public testing::TestWithParam<DescribeCase>
{};

TEST_P(DescribeKeys, SaysTheKeysInFewWords)
{
    EXPECT_EQ(describeKeyCombinations(GetParam().keys), GetParam().text);
}

std::vector<KeyCombination> allDefaults()
{
    std::vector<KeyCombination> keys;
    for (const std::optional<KeyCombination> &k : defaultShortcuts().keys)
        keys.push_back(*k);
    return keys;
}

INSTANTIATE_TEST_SUITE_P(
    HeldElsewhere, DescribeKeys,
    testing::Values(
        DescribeCase{allDefaults(), "Ctrl+Alt+1 to 9, Space, Return, V"},
        DescribeCase{{{Ctrl | Alt, "1"}}, "Ctrl+Alt+1"},
        DescribeCase{{{Ctrl | Alt, "1"}, {Ctrl | Alt, "2"}}, "Ctrl+Alt+1, 2"},
        DescribeCase{{{Ctrl | Alt, "1"}, {Ctrl | Alt, "3"}, {Ctrl | Alt, "4"}, {Ctrl | Alt, "5"}},
                     "Ctrl+Alt+1, 3 to 5"},
        DescribeCase{{{Ctrl | Alt, "1"}, {Super, "2"}, {Super, "3"}, {Ctrl | Alt, "v"}},
                     "Ctrl+Alt+1, Super+2, 3, Ctrl+Alt+V"},
        DescribeCase{{}, ""}));

TEST(Shortcuts, TheStatusWindowNamesTheKeysAnotherProgramHolds)
{
    EXPECT_EQ(keysHeldElsewhereText(allDefaults()),
              "Another program holds Ctrl+Alt+1 to 9, Space, Return, V: these keys do nothing "
              "here.");
    EXPECT_STREQ(KeysHeldElsewhereCaption, "quillon   - keys held by another program");
}

} // namespace
