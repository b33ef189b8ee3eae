// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The picker's keys that work in every application: a pick into fields 1 to 9 from the window
// that has the focus, a pick into the next empty field, "Enter", and filling the row from copied
// cells. Plain C++: the X11 side turns a combination into a key grab.

// A combination of modifiers and one key, as the user writes it: "Ctrl+Alt+1".
struct KeyCombination
{
    enum Modifier : unsigned
    {
        Shift = 1,
        Ctrl = 2,
        Alt = 4,
        Super = 8,
    };
    unsigned modifiers = 0;
    // The key's X keysym name: "1", "space", "Return", "v", "F5".
    std::string key;

    bool operator==(const KeyCombination &) const = default;
};

// Reads "Ctrl+Alt+1": modifiers (Ctrl or Control, Alt, Shift, Super, Meta or Win; in any case
// and order) and one key, joined by "+" with blanks allowed around each part. A letter stands
// for its key whatever its case; Space, Return (or Enter), Tab, Escape (Esc), F1 to F24 and the
// other names X gives keys are read without regard to case. Nothing when the text is not such a
// combination, or has no modifier besides Shift: a plain key cannot be taken from every
// application.
std::optional<KeyCombination> parseKeyCombination(std::string_view text);

// The combination as the picker writes it in menus and messages: "Ctrl+Alt+1",
// "Ctrl+Alt+Space", "Ctrl+Alt+V".
std::string keyCombinationText(const KeyCombination &keys);

// The picker's shortcuts, in the order of `ShortcutKeyNames`.
enum class ShortcutAction
{
    Pick1,
    Pick2,
    Pick3,
    Pick4,
    Pick5,
    Pick6,
    Pick7,
    Pick8,
    Pick9,
    PickNext,
    Enter,
    FillRow,
};
inline constexpr std::size_t ShortcutCount = 12;

// The keys of the settings file that hold each shortcut: "shortcut.pick1" … "shortcut.pick9",
// "shortcut.next", "shortcut.enter", "shortcut.fillrow".
extern const std::array<const char *, ShortcutCount> ShortcutKeyNames;

// Each action's combination; none where it is switched off.
struct ShortcutSet
{
    std::array<std::optional<KeyCombination>, ShortcutCount> keys;
    // Settings whose value is not a combination, as "shortcut.pick1=Ctrl+Blah": those actions
    // have no keys.
    std::vector<std::string> unreadable;

    const std::optional<KeyCombination> &operator[](ShortcutAction action) const
    {
        return keys[static_cast<std::size_t>(action)];
    }
};

// The shortcuts when the settings name none: Ctrl+Alt+1 … Ctrl+Alt+9, Ctrl+Alt+Space,
// Ctrl+Alt+Return and Ctrl+Alt+V.
ShortcutSet defaultShortcuts();

// A shortcut's setting as read from the file: nothing when the key is missing (the default
// stays), an empty text to switch it off, or a combination.
void applyShortcutSetting(ShortcutSet &set, std::size_t index, std::string_view value);

// The combinations that another program holds, said in few words for the status line:
// "Ctrl+Alt+1 to 9, Space, Return, V": each run of combinations with the same modifiers names
// them once, and a run of consecutive digits becomes "1 to 9".
std::string describeKeyCombinations(const std::vector<KeyCombination> &keys);

// What the status window says when other programs hold some of the picker's keys, and its
// caption.
std::string keysHeldElsewhereText(const std::vector<KeyCombination> &keys);
extern const char *const KeysHeldElsewhereCaption;
