// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// What a user does with mouse and keyboard, synthesized through XTest on a connection of its
// own, for tests and benchmarks that drive real applications.
namespace x11input {

// Moves the pointer to the screen point and clicks the left button there, `count` times in a
// row (3: a triple click).
bool clickAt(int x, int y, int count = 1);
// Presses the keys (X keysym names: "Control_L", "Alt_L", "1") one after another and, with
// `release`, lets them go in the reverse order, as a user types a combination.
bool pressKeys(std::initializer_list<const char *> keysyms, bool release = true);
// Lets the keys go, in the order given.
bool releaseKeys(std::initializer_list<const char *> keysyms);
// Whether the server sees any key held down.
bool anyKeyDown();
// Puts the keyboard focus into the window directly, as a session without a window manager
// would on a click.
bool focusWindow(std::uint64_t window);
// Asks the window manager to activate the window, as a task bar does.
bool activateWindow(std::uint64_t window);
// Asks the window manager to close the window, as its close button does.
bool closeWindow(std::uint64_t window);
// The window that holds the keyboard focus (1 for PointerRoot, 0 for none).
std::uint64_t focusedWindow();
// The application window that contains `window`: the one the window manager knows (it carries
// WM_STATE), or without a window manager the top-level window. 0 while a window manager has not
// yet taken the window on.
std::uint64_t clientWindowOf(std::uint64_t window);
// A window manager announces itself with _NET_SUPPORTED on the root window.
bool hasWindowManager();
// The first window of the process `pid` that the window manager lists (_NET_CLIENT_LIST, by
// _NET_WM_PID) and that is shown; 0 while there is none.
std::uint64_t windowOfProcess(long long pid);
// Where the window is on the screen and how large: false when it is gone.
bool windowRect(std::uint64_t window, int &x, int &y, int &width, int &height);
// The window's WM_CLASS: its instance name and its class name; false when it has none.
bool windowClass(std::uint64_t window, std::string &instance, std::string &className);
// The current owner of a selection ("CLIPBOARD", "PRIMARY"); 0 for none.
std::uint64_t selectionOwner(const char *selection);
// Empties a selection, as a program that clears it does.
bool emptySelection(const char *selection);
// The current owner of the CLIPBOARD selection; 0 for none.
std::uint64_t clipboardOwner();
// Empties the clipboard, as a program that clears it does.
bool emptyClipboard();
// Makes a window of this connection the owner of the CLIPBOARD selection; its requests are never
// answered, like those of a program that hangs.
bool ownClipboardWithoutAnswering();

} // namespace x11input
