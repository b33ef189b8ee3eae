// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "picker/capture/capturebackend.h"

// The capture backend on X11: Xlib on a connection of its own, keys through XTest. It composes the
// window tree (x11windows), the selections (x11selection) and the focus handoff (x11focus). This
// header stays free of Xlib so that it can be included next to Qt.
class X11CaptureBackend : public CaptureBackend
{
public:
    using OwnWindowTest = std::function<bool(WindowId)>;

    // Opens the display (nullptr: $DISPLAY). Returns nullptr when there is no display or no
    // XTest. `isOwn` tells whether a top-level window is one of the calling program's.
    // `flushToolkit` is called by giveFocus to make the toolkit's pending requests (its own
    // activation of our window after the click) reach the server before the backend's.
    static std::unique_ptr<X11CaptureBackend> open(const char *displayName, OwnWindowTest isOwn,
                                                   std::function<void()> flushToolkit);

    // Hands over to the toolkit's tests once the toolkit runs: a backend opened before the
    // application existed was given ones that know no window of ours.
    virtual void joinToolkit(OwnWindowTest isOwn, std::function<void()> flushToolkit) = 0;

    bool available() const override { return true; }
    // The root window, whose property changes the application already receives.
    virtual WindowId rootWindow() const = 0;
    // The major opcode of the X Input extension, through which Qt receives pointer buttons; -1
    // when the server has none.
    virtual int inputExtensionOpcode() const = 0;
    // Called on every property change on the root window (the atom that changed, and the
    // server's time of the change): follows _NET_ACTIVE_WINDOW and the coming and going of a
    // window manager.
    virtual void rootPropertyChanged(std::uint32_t atom, unsigned long time) = 0;
    // Called when the user presses a button in one of our windows, before the toolkit reacts:
    // without a window manager this is the last moment at which the focus is still elsewhere.
    virtual void pointerPressed() = 0;

    // Keeps `companion` (what feeds the backend the toolkit's events) as long as the backend.
    void attach(std::shared_ptr<void> companion) { m_companion = std::move(companion); }

private:
    std::shared_ptr<void> m_companion;
};
