// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

// An X11 window id, or the equivalent on another system; 0 means no window.
using WindowId = std::uint64_t;

// What the picker needs from the windowing system to make another application copy its
// selection: the window the user worked in before the picker, the window at a point, moving the
// keyboard focus there and typing Ctrl+C into it.
class CaptureBackend
{
public:
    virtual ~CaptureBackend() = default;

    // False when this session cannot reach other applications' windows at all (Wayland-native
    // sessions, the offscreen platform). The other calls then do nothing.
    virtual bool available() const = 0;

    // The last window of another application that was active before one of ours; 0 if none is
    // known.
    virtual WindowId activeBeforeUs() = 0;
    // Whether a 0 from activeBeforeUs() means that the window the user worked in last is one that
    // this backend cannot reach (a Wayland-native window, from XWayland), rather than that none
    // is known.
    virtual bool knowsNoneBefore() { return false; }

    // The top-level window of an application at a screen point; 0 if there is none.
    virtual WindowId windowAt(int x, int y) = 0;

    // Moves the keyboard focus into the window and returns once it is there. False, and nothing
    // else, when the window is gone or does not take the focus in time.
    virtual bool giveFocus(WindowId window) = 0;
    // giveFocus() in two halves, so that other work can be done while the focus moves:
    // requestFocus() asks for it without waiting (false when the window is gone), awaitFocus()
    // waits until the focus asked for last is there.
    virtual bool requestFocus(WindowId window)
    {
        m_focusAsked = window;
        return true;
    }
    virtual bool awaitFocus() { return giveFocus(std::exchange(m_focusAsked, 0)); }
    // The window holds the keyboard focus already (a key combination asked for the pick there):
    // the keys that follow go to it, as after giveFocus(), without moving anything. False when
    // the focus is elsewhere.
    virtual bool keepFocus(WindowId window)
    {
        (void)window;
        return false;
    }

    // Types Ctrl+C into whatever holds the keyboard focus. Modifiers that the user still holds
    // (Alt of Ctrl+Alt+1) are let go for the copy and pressed again after it.
    virtual bool sendCopyKeys() = 0;

    // The window's class (WM_CLASS), from the window itself or from the application window
    // that holds it; both empty when it has none or is gone.
    struct WindowClass
    {
        std::string instance;
        std::string className;
    };
    virtual WindowClass windowClass(WindowId window)
    {
        (void)window;
        return {};
    }

    // The process id of the program that created the window, as the display server tells it; 0
    // when it cannot be told (a program on another machine, a server that does not say, a
    // server that sees other process ids than ours).
    virtual long windowProcess(WindowId window)
    {
        (void)window;
        return 0;
    }

    // Direct access to the clipboard, quicker than the toolkit's. A backend without it leaves
    // both to the toolkit: emptyClipboard returns false and readClipboardText Unsupported.
    enum class ClipboardRead
    {
        Text,        // `text` holds the plain text, up to its first NUL
        NoText,      // the clipboard holds something else (a picture), or its owner did not answer
        NoOwner,     // the clipboard is empty
        Unsupported, // ask the toolkit
    };
    // Reads the plain text of the selection, what the user selected last in any window (X11's
    // PRIMARY), at most `limit` bytes of it; the same answers as readClipboardText.
    virtual ClipboardRead readSelectionText(std::string &text, std::size_t limit)
    {
        (void)text;
        (void)limit;
        return ClipboardRead::Unsupported;
    }
    // Which selection readSelectionText() read last: the window that owned it and the server time
    // at which it took the selection. A selection made anew has a new time, even on the same
    // text in the same window. `time` is 0 when the owner does not tell.
    struct SelectionStamp
    {
        WindowId owner = 0;
        unsigned long time = 0;
        bool operator==(const SelectionStamp &) const = default;
    };
    virtual SelectionStamp selectionStamp() { return {}; }
    // Whether the selection that readSelectionText() read last is held by the program that
    // giveFocus() was last asked to focus: made there, not in another window. False when that
    // cannot be told.
    virtual bool selectionFromTarget() { return false; }
    // Empties the clipboard before the keys that follow, without waiting. The text it held is
    // fetched on the side, for textBeforeEmptying().
    virtual bool emptyClipboard() { return false; }
    // Waits, at most `wait`, for the clipboard to get an owner after the copy keys; true when it
    // has one, whose text can be read at once. False at once when this cannot be heard here
    // (the toolkit's notice comes all the same).
    virtual bool waitForCopy(std::chrono::milliseconds wait)
    {
        (void)wait;
        return false;
    }
    // Reads the clipboard's plain text, at most `limit` bytes of it.
    virtual ClipboardRead readClipboardText(std::string &text, std::size_t limit)
    {
        (void)text;
        (void)limit;
        return ClipboardRead::Unsupported;
    }

    // What tells a clipboard manager's refill from a copy. A manager that puts its last text
    // back as soon as the clipboard has been emptied does so from a program of its own, and with
    // the text that was there before; a copy comes from the program that was sent the keys, or
    // is made by hand where the user works, or holds a text of its own.
    //
    // The plain text, at most `limit` bytes, that the clipboard held when emptyClipboard() last
    // emptied it; false when it is not known (it held no text, its owner did not answer). Asked
    // at most once for each emptying.
    virtual bool textBeforeEmptying(std::string &text, std::size_t limit)
    {
        (void)text;
        (void)limit;
        return false;
    }
    // Whether the text that readClipboardText() read last came from a bystander: neither from the
    // program that was last sent the copy keys nor from the one that holds the focus now. False
    // when that cannot be told.
    virtual bool ownerIsBystander() { return false; }

    // `notice` is called, from the event loop, whenever the clipboard gets a new content, for a
    // backend that hears it where the toolkit does not: on Wayland a client without the focus
    // hears nothing of the clipboard. An empty function stops the calls.
    virtual void onClipboardChange(std::function<void()> notice) { (void)notice; }

private:
    WindowId m_focusAsked = 0;
};

// The backend that cannot reach other applications.
class NullCaptureBackend final : public CaptureBackend
{
public:
    bool available() const override { return false; }
    WindowId activeBeforeUs() override { return 0; }
    WindowId windowAt(int, int) override { return 0; }
    bool giveFocus(WindowId) override { return false; }
    bool sendCopyKeys() override { return false; }
};

// Whether `window` is one of this program's own top-level windows. Asked afresh every time: Qt
// re-creates a window's X window when its flags change (always on top), so a remembered id goes
// stale. Needs a QGuiApplication.
bool isOwnWindow(WindowId window);

// Chooses the backend for this session: QUILLON_CAPTURE=null, =x11 or =wayland decides;
// otherwise the Wayland backend where WAYLAND_DISPLAY names a compositor that offers data-control
// (the picker may run on XWayland there: X11 reaches no Wayland-native window), the X11 backend
// on the xcb platform, and the null backend everywhere else. Needs a QGuiApplication.
std::unique_ptr<CaptureBackend> createCaptureBackend();
// Starts what createCaptureBackend() will need on a thread of its own, where the choice can be
// told before the toolkit runs: the X11 backend's connection opens beside the toolkit's
// start-up. Call it first thing in main, before the QApplication.
void prepareCaptureBackend();
