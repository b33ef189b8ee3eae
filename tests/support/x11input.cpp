#include "tests/support/x11input.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "picker/capture/x11/x11property.h"

namespace x11input {
namespace {

Display *Connection()
{
    static Display *display = XOpenDisplay(nullptr);
    return display;
}

} // namespace

bool ClickAt(int x, int y)
{
    Display *display = Connection();
    if (display == nullptr)
        return false;
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
    return true;
}

bool FocusWindow(std::uint64_t window)
{
    Display *display = Connection();
    if (display == nullptr)
        return false;
    XSetInputFocus(display, static_cast<Window>(window), RevertToParent, CurrentTime);
    XSync(display, False);
    return true;
}

namespace {

// A request to the window manager about `window`, as a task bar sends it.
bool SendToWindowManager(std::uint64_t window, const char *messageType, long first)
{
    Display *display = Connection();
    if (display == nullptr)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(window);
    event.xclient.message_type = XInternAtom(display, messageType, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = first;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
    return true;
}

} // namespace

bool ActivateWindow(std::uint64_t window)
{
    return SendToWindowManager(window, "_NET_ACTIVE_WINDOW", 2);
}

bool CloseWindow(std::uint64_t window)
{
    return SendToWindowManager(window, "_NET_CLOSE_WINDOW", 0);
}

std::uint64_t FocusedWindow()
{
    Display *display = Connection();
    if (display == nullptr)
        return 0;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
}

std::uint64_t ClientWindowOf(std::uint64_t id)
{
    Display *display = Connection();
    if (display == nullptr)
        return 0;
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    Window window = static_cast<Window>(id);
    Window topLevel = 0;
    while (window != 0) {
        if (X11Property(display, window, wmState).exists())
            return window;
        X11Tree tree(display, window);
        if (!tree.read())
            return 0;
        if (tree.parent() == tree.root())
            topLevel = window;
        window = tree.parent() == tree.root() ? 0 : tree.parent();
    }
    return HasWindowManager() ? 0 : topLevel;
}

bool HasWindowManager()
{
    Display *display = Connection();
    if (display == nullptr)
        return false;
    return X11Property(display, DefaultRootWindow(display),
                       XInternAtom(display, "_NET_SUPPORTED", False))
        .exists();
}

std::uint64_t ClipboardOwner()
{
    Display *display = Connection();
    if (display == nullptr)
        return 0;
    return XGetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False));
}

bool EmptyClipboard()
{
    Display *display = Connection();
    if (display == nullptr)
        return false;
    XSetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False), None, CurrentTime);
    XSync(display, False);
    return true;
}

bool OwnClipboardWithoutAnswering()
{
    Display *display = Connection();
    if (display == nullptr)
        return false;
    // This connection's events are never read, so a request for the clipboard stays unanswered.
    const Window owner =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    XSetSelectionOwner(display, clipboard, owner, CurrentTime);
    const bool owned = XGetSelectionOwner(display, clipboard) == owner;
    XSync(display, False);
    return owned;
}

} // namespace x11input
