// SPDX-License-Identifier: MIT
#include "picker/capture/terminals.h"

#include <algorithm>

namespace {

// Either half of WM_CLASS, compared without case. Instance names can be changed by the user
// (xterm -name), so both halves are looked at.
constexpr std::string_view Terminals[] = {
    // X11's own and the rxvt family
    "xterm",
    "uxterm",
    "koi8rxterm",
    "lxterm",
    "rxvt",
    "urxvt",
    "urxvt-unicode",
    "rxvt-unicode",
    "mrxvt",
    "aterm",
    "eterm",
    "wterm",
    "kterm",
    "mlterm",
    "pterm",
    // suckless st, under its own name and under the names of its terminfo entries
    "st",
    "st-256color",
    "stterm",
    "stterm-256color",
    // GNOME, KDE, Xfce, MATE, LXDE, LXQt, Deepin, elementary
    "gnome-terminal",
    "gnome-terminal-server",
    "kgx",
    "org.gnome.console",
    "org.gnome.ptyxis",
    "ptyxis",
    "konsole",
    "yakuake",
    "xfce4-terminal",
    "mate-terminal",
    "lxterminal",
    "qterminal",
    "deepin-terminal",
    "io.elementary.terminal",
    // on VTE and other toolkits
    "tilix",
    "terminator",
    "guake",
    "tilda",
    "sakura",
    "roxterm",
    "terminology",
    "termit",
    "lilyterm",
    "cool-retro-term",
    "xiterm",
    "zutty",
    "contour",
    "blackbox",
    "com.raggesilver.blackbox",
    // GPU terminals
    "alacritty",
    "kitty",
    "wezterm",
    "org.wezfurlong.wezterm",
    "foot",
    "footclient",
    "ghostty",
    "com.mitchellh.ghostty",
    // and others
    "xgterm",
    "pangoterm",
    "terminus",
    "lomiri-terminal-app",
    "terminal.ubports",
};

// Terminals whose names alone are too common to tell: only the two halves together do. GNUstep
// names every application's class "GNUstep", and "Terminal" is a word many programs use.
struct ClassPair
{
    std::string_view instance;
    std::string_view className;
};
constexpr ClassPair TerminalPairs[] = {
    {"terminal", "gnustep"},
};

bool equalsLowered(std::string_view text, std::string_view lower)
{
    return std::ranges::equal(text, lower, [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

bool isTerminalName(std::string_view name)
{
    return !name.empty() && std::ranges::any_of(Terminals, [name](std::string_view terminal) {
        return equalsLowered(name, terminal);
    });
}

} // namespace

std::span<const std::string_view> terminalWindowClasses()
{
    return Terminals;
}

bool isTerminalWindowClass(std::string_view instance, std::string_view className)
{
    return isTerminalName(className) || isTerminalName(instance) ||
           std::ranges::any_of(TerminalPairs, [&](const ClassPair &pair) {
               return equalsLowered(instance, pair.instance) &&
                      equalsLowered(className, pair.className);
           });
}
