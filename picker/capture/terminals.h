// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string_view>

// Terminal emulators, told by their window class (WM_CLASS). In a terminal Ctrl+C is not
// "copy": it interrupts the program running there. Such windows are never sent the copy keys;
// a pick from one reads what is selected instead. Most terminals are also told by the
// pseudo-terminal their program holds (pseudoterminal.h); the table covers the windows where
// that cannot be seen (a program on another machine, or another user's).

// The class names (and instance names) of the terminal emulators that are known, in lower case.
std::span<const std::string_view> terminalWindowClasses();

// Whether a window with this WM_CLASS (instance name, class name) is a terminal emulator: either
// half names one, or both halves together do (GNUstep's "Terminal"). Case does not matter: programs
// spell their class in different ways ("URxvt", "urxvt").
bool isTerminalWindowClass(std::string_view instance, std::string_view className);
