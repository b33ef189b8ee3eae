// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

// The bare capture sequence written directly against Xlib, the yardstick of the picker's own
// path: a plain X window stands for the field button; after the click on it the sequence
// empties the clipboard, activates the target through the window manager, waits until it holds
// the focus, types Ctrl+C, waits for the new clipboard owner and reads its text.
class BareCapture
{
public:
    BareCapture();
    ~BareCapture();
    BareCapture(const BareCapture &) = delete;
    BareCapture &operator=(const BareCapture &) = delete;

    bool ready() const { return m_display != nullptr; }
    // Activates the window and waits until it is active; false after two seconds.
    bool activate(std::uint64_t window);
    // Clicks the button window, then runs the sequence against `target`; the text, empty on
    // failure.
    std::string clickAndCopyFrom(std::uint64_t target);

private:
    struct Impl;
    Impl *m_impl;
    void *m_display;
};
