// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include <X11/Xlib.h>

namespace x11 {

class ErrorTrap;
class WindowTree;

// Whether the keyboard focus is inside a window after a focus event on it (FocusIn or FocusOut),
// given whether it was before. Keys go to the focus only while no grab holds the keyboard; a
// focus that follows the pointer (PointerRoot) is not one that the window has been given.
bool focusInsideAfter(const XFocusChangeEvent &change, bool before);

// The focus handed to another application's window, through the window manager when there is
// one, awaited until that window holds the input focus; then the copy keys typed with XTest.
// Server times are read from changes of a property of `stamp`, a window of ours that is never
// shown. Plain Xlib.
class FocusHandoff
{
public:
    FocusHandoff(Display *display, const WindowTree &windows, Window stamp);

    // The keyboard has the keys of Ctrl+C.
    bool hasCopyKeys() const { return m_control != 0 && m_letterC != 0; }
    bool hasWindowManager() const { return m_windowManager; }
    // Called on every property change on the root window: a window manager announces itself
    // with _NET_SUPPORTED, listing what it supports.
    void rootPropertyChanged(Atom atom);

    // The backend's calls of the same names. `spare` is a window whose events are left queued;
    // `flushToolkit` makes the toolkit's pending requests reach the server before ours;
    // `meanwhile` is called at every look while the focus is awaited.
    bool requestFocus(Window target, Window spare, const std::function<void()> &flushToolkit);
    bool awaitFocus(std::chrono::milliseconds timeout, Window spare,
                    const std::function<void()> &meanwhile);
    bool keepFocus(Window target);
    void sendCopyKeys();
    // The clipboard is being emptied: the copy keys that follow wait, with passClipboardEmptying(),
    // until the server's clock has moved past the emptying.
    void clipboardEmptied();
    void passClipboardEmptying();

    // The window last sent the copy keys, and the one that requestFocus was last asked to focus.
    Window askedWindow() const { return m_askedWindow; }
    Window focusTarget() const { return m_focusTarget; }

private:
    void readWindowManager();
    // Sends the window manager a request about `window`, as a pager or a task bar does.
    void askWindowManager(Window window, Atom type, long first, long second);
    // Whether the focus is in `target` (and no request under `trap` failed): the keys that follow
    // go to the window that holds it.
    bool takeFocusIn(Window target, const ErrorTrap &trap);
    // Reads which keys are held now, for the copy keys that follow.
    void readHeldKeys();
    // The server's time now, read from the change of a property: what the window manager
    // compares with the times of other requests. CurrentTime when the server does not answer.
    Time serverTime();
    // serverTime() in two halves, so that other work can be done while the answer travels.
    void askTime();
    Time takeTime();

    Display *m_display;
    const WindowTree &m_windows;
    Window m_stamp;
    Atom m_stampProperty;
    Atom m_netActiveWindow;
    Atom m_netSupported;
    Atom m_netRequestFrameExtents;
    Atom m_netFrameExtents;
    bool m_windowManager = false;
    // The window manager answers _NET_REQUEST_FRAME_EXTENTS: asked after another request, its
    // answer tells that the other has been handled.
    bool m_frameExtentsAnswered = false;
    // The focus asked for and not yet awaited: the window, whether the window manager answers,
    // whether the focus is there already (no window manager), the time of the request.
    struct Request
    {
        Window window = 0;
        bool answers = false;
        bool done = false;
        Time time = CurrentTime;
    };
    Request m_request;
    Window m_askedWindow = 0;
    Window m_focusTarget = 0;
    // The clipboard has been emptied since the last copy keys; the first server time read after
    // the emptying (CurrentTime while none has been).
    bool m_emptied = false;
    Time m_emptiedBy = CurrentTime;
    // The latest server time that the wait for the focus has seen in an event.
    Time m_latestSeen = CurrentTime;
    // The keys held, as XQueryKeymap tells them; m_heldKeysRead while read for the copy keys
    // that come next.
    char m_heldKeys[32] = {};
    bool m_heldKeysRead = false;
    KeyCode m_control = 0;
    KeyCode m_controlRight = 0;
    KeyCode m_letterC = 0;
    // The keys that modify (Shift, Alt, Super …), Ctrl and the locks left out: any of them held
    // while the copy keys go out would make them another combination.
    std::vector<KeyCode> m_otherModifiers;
};

} // namespace x11
