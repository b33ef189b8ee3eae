// SPDX-License-Identifier: MIT
#include "picker/shortcuts.h"

#include <cstddef>

#include "fieldvalues/usertext.h"

namespace {

char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char raised(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowered(a[i]) != lowered(b[i]))
            return false;
    }
    return true;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

struct NamedKey
{
    const char *written; // as the user may write it
    const char *keysym;  // as X names it
    const char *shown;   // as the picker writes it
};

// Keys with names. The first entry for a keysym is how it is shown.
constexpr NamedKey NamedKeys[] = {
    {"Space", "space", "Space"},
    {"Return", "Return", "Return"},
    {"Enter", "Return", "Return"},
    {"Tab", "Tab", "Tab"},
    {"Escape", "Escape", "Escape"},
    {"Esc", "Escape", "Escape"},
    {"BackSpace", "BackSpace", "BackSpace"},
    {"Insert", "Insert", "Insert"},
    {"Ins", "Insert", "Insert"},
    {"Delete", "Delete", "Delete"},
    {"Del", "Delete", "Delete"},
    {"Home", "Home", "Home"},
    {"End", "End", "End"},
    {"PageUp", "Prior", "PageUp"},
    {"Prior", "Prior", "PageUp"},
    {"PageDown", "Next", "PageDown"},
    {"Next", "Next", "PageDown"},
    {"Up", "Up", "Up"},
    {"Down", "Down", "Down"},
    {"Left", "Left", "Left"},
    {"Right", "Right", "Right"},
};

// Printable characters other than letters and digits, by their X names.
struct Punctuation
{
    char character;
    const char *keysym;
};
constexpr Punctuation PunctuationKeys[] = {
    {',', "comma"},       {'.', "period"},      {'/', "slash"},        {';', "semicolon"},
    {'\'', "apostrophe"}, {'[', "bracketleft"}, {']', "bracketright"}, {'-', "minus"},
    {'=', "equal"},       {'`', "grave"},       {'\\', "backslash"},
};

// The keysym name of a key as written; empty when it is not one that the picker knows.
std::string keysymOf(std::string_view written)
{
    if (written.size() == 1) {
        const char c = written.front();
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return std::string(1, lowered(c));
        for (const Punctuation &p : PunctuationKeys) {
            if (p.character == c)
                return p.keysym;
        }
        return {};
    }
    for (const NamedKey &named : NamedKeys) {
        if (equalsIgnoringCase(written, named.written))
            return named.keysym;
    }
    if (written.size() >= 2 && lowered(written.front()) == 'f') {
        int number = 0;
        for (const char c : written.substr(1)) {
            if (c < '0' || c > '9')
                return {};
            number = number * 10 + (c - '0');
        }
        if (written[1] != '0' && number >= 1 && number <= 24)
            return "F" + std::to_string(number);
    }
    return {};
}

std::string shownKey(const std::string &keysym)
{
    if (keysym.size() == 1)
        return std::string(1, raised(keysym.front()));
    for (const Punctuation &p : PunctuationKeys) {
        if (keysym == p.keysym)
            return std::string(1, p.character);
    }
    for (const NamedKey &named : NamedKeys) {
        if (keysym == named.keysym)
            return named.shown;
    }
    return keysym;
}

struct ModifierName
{
    const char *written;
    unsigned modifier;
};
constexpr ModifierName ModifierNames[] = {
    {"Ctrl", KeyCombination::Ctrl},   {"Control", KeyCombination::Ctrl},
    {"Alt", KeyCombination::Alt},     {"Shift", KeyCombination::Shift},
    {"Super", KeyCombination::Super}, {"Meta", KeyCombination::Super},
    {"Win", KeyCombination::Super},
};

// The modifiers in the order the picker writes them.
constexpr ModifierName ShownModifiers[] = {
    {"Ctrl", KeyCombination::Ctrl},
    {"Alt", KeyCombination::Alt},
    {"Shift", KeyCombination::Shift},
    {"Super", KeyCombination::Super},
};

std::string modifiersText(unsigned modifiers)
{
    std::string text;
    for (const ModifierName &shown : ShownModifiers) {
        if ((modifiers & shown.modifier) != 0)
            text.append(shown.written).push_back('+');
    }
    return text;
}

bool isDigitKey(const KeyCombination &keys)
{
    return keys.key.size() == 1 && keys.key.front() >= '0' && keys.key.front() <= '9';
}

} // namespace

const std::array<const char *, ShortcutCount> ShortcutKeyNames = {
    "shortcut.pick1", "shortcut.pick2", "shortcut.pick3", "shortcut.pick4",
    "shortcut.pick5", "shortcut.pick6", "shortcut.pick7", "shortcut.pick8",
    "shortcut.pick9", "shortcut.next",  "shortcut.enter", "shortcut.fillrow",
};

const char *const KeysHeldElsewhereCaption =
    USER_TEXT("PickerTexts", "quillon   - keys held by another program");

std::optional<KeyCombination> parseKeyCombination(std::string_view text)
{
    KeyCombination keys;
    text = trimmed(text);
    // The key comes last; "+" before it separates the parts, so "Ctrl+Alt++" is not read.
    for (;;) {
        const std::size_t plus = text.find('+');
        const std::string_view part = trimmed(text.substr(0, plus));
        if (plus == std::string_view::npos) {
            keys.key = keysymOf(part);
            break;
        }
        unsigned modifier = 0;
        for (const ModifierName &name : ModifierNames) {
            if (equalsIgnoringCase(part, name.written))
                modifier = name.modifier;
        }
        if (modifier == 0 || (keys.modifiers & modifier) != 0)
            return std::nullopt;
        keys.modifiers |= modifier;
        text.remove_prefix(plus + 1);
    }
    if (keys.key.empty() || (keys.modifiers & ~static_cast<unsigned>(KeyCombination::Shift)) == 0)
        return std::nullopt;
    return keys;
}

std::string keyCombinationText(const KeyCombination &keys)
{
    return modifiersText(keys.modifiers) + shownKey(keys.key);
}

ShortcutSet defaultShortcuts()
{
    ShortcutSet set;
    const unsigned ctrlAlt = KeyCombination::Ctrl | KeyCombination::Alt;
    for (std::size_t i = 0; i < 9; ++i)
        set.keys[i] = KeyCombination{ctrlAlt, std::to_string(i + 1)};
    set.keys[static_cast<std::size_t>(ShortcutAction::PickNext)] = KeyCombination{ctrlAlt, "space"};
    set.keys[static_cast<std::size_t>(ShortcutAction::Enter)] = KeyCombination{ctrlAlt, "Return"};
    set.keys[static_cast<std::size_t>(ShortcutAction::FillRow)] = KeyCombination{ctrlAlt, "v"};
    return set;
}

void applyShortcutSetting(ShortcutSet &set, std::size_t index, std::string_view value)
{
    if (index >= ShortcutCount)
        return;
    value = trimmed(value);
    if (value.empty()) {
        set.keys[index].reset();
        return;
    }
    set.keys[index] = parseKeyCombination(value);
    if (!set.keys[index])
        set.unreadable.push_back(std::string(ShortcutKeyNames[index]) + "=" + std::string(value));
}

std::string describeKeyCombinations(const std::vector<KeyCombination> &keys)
{
    std::string text;
    for (std::size_t i = 0; i < keys.size();) {
        if (!text.empty())
            text += ", ";
        const bool sameModifiers = i > 0 && keys[i - 1].modifiers == keys[i].modifiers;
        text += sameModifiers ? shownKey(keys[i].key) : keyCombinationText(keys[i]);
        // A run of consecutive digits: its first and its last.
        std::size_t last = i;
        while (last + 1 < keys.size() && isDigitKey(keys[last]) && isDigitKey(keys[last + 1]) &&
               keys[last + 1].modifiers == keys[i].modifiers &&
               keys[last + 1].key.front() == keys[last].key.front() + 1)
            ++last;
        if (last >= i + 2) {
            text = fillIn(userText("PickerTexts", "%1 to %2"), {text, keys[last].key});
            i = last + 1;
        } else {
            ++i;
        }
    }
    return text;
}

std::string keysHeldElsewhereText(const std::vector<KeyCombination> &keys)
{
    return fillIn(userText("PickerTexts", "Another program holds %1: these keys do nothing here."),
                  {describeKeyCombinations(keys)});
}
