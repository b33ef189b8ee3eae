#pragma once

#include <span>
#include <string_view>

// Terminal emulators, told by their window class (WM_CLASS). In a terminal Ctrl+C is not
// "copy": it interrupts the program running there. Such windows are never sent the copy keys;
// a pick from one reads what is selected instead.

// The class names (and instance names) of the terminal emulators that are known, in lower case.
std::span<const std::string_view> TerminalWindowClasses();

// Whether a window with this WM_CLASS (instance name, class name) is a terminal emulator. Case
// does not matter: programs spell their class in different ways ("URxvt", "urxvt").
bool IsTerminalWindowClass(std::string_view instance, std::string_view className);
