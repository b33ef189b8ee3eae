// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "picker/shortcuts.h"

// Key combinations that work in every application, grabbed on the X11 root window on a
// connection of their own. A grabbed combination reaches us and not the focused window, and the
// focus stays where it is. This header stays free of Xlib so that it can be included next to Qt.
class X11Shortcuts
{
public:
    // Opens the display (nullptr: $DISPLAY); nullptr when there is none.
    static std::unique_ptr<X11Shortcuts> open(const char *displayName);
    ~X11Shortcuts();
    X11Shortcuts(const X11Shortcuts &) = delete;
    X11Shortcuts &operator=(const X11Shortcuts &) = delete;

    // Grabs the combination in every state of Num Lock and Caps Lock, for `id`. False when
    // another program holds it in any of those states (nothing of it is then kept), or when the
    // keyboard has no such key.
    bool grab(int id, const KeyCombination &keys);
    // Gives up every grab.
    void ungrabAll();

    // The connection's file descriptor, readable when events arrive.
    int connectionNumber() const;
    // Handles the events that have arrived: `pressed` is called with the id of each grabbed
    // combination pressed, once the keyboard is the focused window's again.
    void dispatch(const std::function<void(int id)> &pressed);

    // Waits until the user has let go of every modifier (Ctrl, Alt, Shift, Super; not the locks)
    // and of the last combination's key, polling every 2 ms; false when some are still held after
    // `limit`. The application sent the copy keys then sees Ctrl+C, not Ctrl+Alt+C.
    bool waitForRelease(std::chrono::milliseconds limit);

    // A key held down repeats: its repeats are not new presses. Until the last combination's key
    // has been seen up, presses of it are passed over; keyReleased() looks, and is to be asked
    // every few milliseconds while awaitingRelease().
    bool awaitingRelease() const;
    void keyReleased();

private:
    struct Connection;
    explicit X11Shortcuts(std::unique_ptr<Connection> connection);

    std::unique_ptr<Connection> m_x;
};
