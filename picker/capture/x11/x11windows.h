// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include <X11/Xlib.h>

#include "picker/capture/capturebackend.h"

namespace x11 {

// Queries of the window tree on our connection: parents, the application's window below a window
// manager's frame, the active and the focused window, and what tells a terminal (WM_CLASS and the
// process that created a window). Plain Xlib.
class WindowTree
{
public:
    // `own` is a window of ours: the server's process ids are ours when it names our process.
    WindowTree(Display *display, Window own);

    Window root() const { return m_root; }
    Atom activeWindowAtom() const { return m_netActiveWindow; }
    // _NET_ACTIVE_WINDOW of the root window; 0 when unset.
    Window activeWindow() const;
    // The window that holds the input focus; None or PointerRoot when none does.
    Window focused() const;
    // Without a window manager: the window that holds the focus, or the top-level under the
    // pointer when the focus follows it; 0 when that is none, gone or `isOwn`.
    Window focusedForeign(const std::function<bool(WindowId)> &isOwn) const;
    // The application's window at a point of the screen; 0 when there is none.
    Window windowAt(int x, int y) const;
    // The child of the root window that contains `window` (the window itself for a top-level
    // without a window manager, the manager's frame otherwise); 0 when it is gone.
    Window topLevelOf(Window window) const;
    bool isInside(Window window, Window ancestor) const;
    // The client that created `window`, as the base of its resource ids; 0 when not known. A
    // resource id carries its client in the bits the client does not choose, so no request is
    // needed.
    XID clientOf(Window window) const;

    // What tells a terminal, read when a window became active.
    struct KnownWindow
    {
        Window window = 0;
        CaptureBackend::WindowClass windowClass;
        long process = 0;
    };
    // Reads what tells a terminal of `window`, to be known until the next window.
    void learn(Window window);
    // What tells a terminal of `window`, read first unless it is known.
    const KnownWindow &known(Window window);

private:
    Window parentOf(Window window) const;
    bool hasProperty(Window window, Atom property) const;
    // The application's own top-level below a frame: the first window, breadth first, that
    // carries WM_STATE. Without a window manager there is none and the frame is the window.
    Window clientBelow(Window frame) const;
    // The first window from `window` up to the root that carries WM_CLASS, or below a window
    // manager's frame the application's own window; 0 when there is none.
    Window classBearer(Window window) const;
    CaptureBackend::WindowClass readClass(Window window) const;
    // The process id of the client that created `window`; 0 when the server does not tell.
    long processOf(Window window) const;

    Display *m_display;
    Window m_root;
    Atom m_netActiveWindow;
    Atom m_wmState;
    // The bits of a resource id that a client chooses; the others name the client, the same
    // way for every client of the server. 0 when the server does not tell.
    XID m_resourceMask = 0;
    // The server tells a window's process id (X Resource extension 1.2), and its process ids
    // are ours.
    bool m_processIds = false;
    KnownWindow m_known;
};

} // namespace x11
