#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "picker/capture/capturebackend.h"

// The capture backend on X11: Xlib on a connection of its own, keys through XTest. This header
// stays free of Xlib so that it can be included next to Qt.
class X11CaptureBackend final : public CaptureBackend
{
public:
    using OwnWindowTest = std::function<bool(WindowId)>;

    // Opens the display (nullptr: $DISPLAY). Returns nullptr when there is no display or no
    // XTest. `isOwn` tells whether a top-level window is one of the calling program's.
    static std::unique_ptr<X11CaptureBackend> Open(const char *displayName, OwnWindowTest isOwn);
    ~X11CaptureBackend() override;

    bool available() const override { return true; }
    WindowId activeBeforeUs() override;
    WindowId windowAt(int x, int y) override;
    bool giveFocus(WindowId window) override;
    bool requestFocus(WindowId window) override;
    bool awaitFocus() override;
    bool keepFocus(WindowId window) override;
    bool sendCopyKeys() override;
    WindowClass windowClass(WindowId window) override;
    long windowProcess(WindowId window) override;
    ClipboardRead readSelectionText(std::string &text, std::size_t limit) override;
    SelectionStamp selectionStamp() override;
    bool selectionFromTarget() override;
    bool emptyClipboard() override;
    bool waitForCopy(std::chrono::milliseconds wait) override;
    ClipboardRead readClipboardText(std::string &text, std::size_t limit) override;
    bool textBeforeEmptying(std::string &text, std::size_t limit) override;
    bool ownerIsBystander() override;

    // The root window, whose property changes the application already receives.
    WindowId rootWindow() const;
    // The major opcode of the X Input extension, through which Qt receives pointer buttons; -1
    // when the server has none.
    int inputExtensionOpcode() const;
    // Called on every property change on the root window (the atom that changed): follows
    // _NET_ACTIVE_WINDOW and the coming and going of a window manager.
    void rootPropertyChanged(std::uint32_t atom);
    // Reads _NET_ACTIVE_WINDOW and remembers it unless it is 0 or one of ours.
    void activeWindowChanged();
    // Called when the user presses a button in one of our windows, before the toolkit reacts:
    // without a window manager this is the last moment at which the focus is still elsewhere.
    void pointerPressed();

    // A window manager announces itself with _NET_SUPPORTED on the root window.
    bool hasWindowManager();

    // Called by giveFocus to make the toolkit's pending requests (its own activation of our
    // window after the click) reach the server before the backend's.
    void setToolkitFlush(std::function<void()> flush) { m_flushToolkit = std::move(flush); }

    // How long giveFocus waits for a window manager to hand over the focus.
    void setActivationTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

private:
    struct Connection;
    X11CaptureBackend(std::unique_ptr<Connection> connection, OwnWindowTest isOwn);
    // Takes the answer to the question that emptyClipboard() asked the clipboard's owner.
    void receiveTextBefore(std::size_t limit);
    WindowClass readWindowClass(WindowId window);
    long readWindowProcess(WindowId window);
    // Reads the plain text of a selection (an atom) and tells who owned it (a window).
    ClipboardRead readText(unsigned long selection, std::string &text, std::size_t limit,
                           unsigned long &owner);

    std::unique_ptr<Connection> m_x;
    OwnWindowTest m_isOwn;
    std::function<void()> m_flushToolkit;
    WindowId m_lastForeign = 0;
    // What tells a terminal, read when the window became active.
    struct KnownWindow
    {
        WindowId window = 0;
        WindowClass windowClass;
        long process = 0;
    };
    KnownWindow m_known;
    // Reads what tells a terminal of `window` into m_known.
    void learnWindow(WindowId window);
    // m_known for `window`, read first unless it is known.
    const KnownWindow &knownWindow(WindowId window);
    std::chrono::milliseconds m_timeout{500};
};
