// SPDX-License-Identifier: MIT
#include "tests/support/x11input.h"

#include <iterator>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include "picker/capture/x11/x11property.h"

namespace x11input {
namespace {

// Windows of other programs come and go while the tests look at them: a request about one that
// has gone fails, and the caller sees the failure, instead of Xlib ending the process.
int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

Display *connection()
{
    static Display *display = [] {
        XSetErrorHandler(ignoreError);
        return XOpenDisplay(nullptr);
    }();
    return display;
}

} // namespace

bool clickAt(int x, int y, int count)
{
    Display *display = connection();
    if (display == nullptr)
        return false;
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    for (int i = 0; i < count; ++i) {
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
    }
    XFlush(display);
    return true;
}

namespace {

bool fakeKey(Display *display, const char *keysym, bool press)
{
    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(keysym));
    return code != 0 && XTestFakeKeyEvent(display, code, press ? True : False, CurrentTime) != 0;
}

} // namespace

bool pressKeys(std::initializer_list<const char *> keysyms, bool release)
{
    Display *display = connection();
    if (display == nullptr)
        return false;
    bool sent = true;
    for (const char *keysym : keysyms)
        sent = fakeKey(display, keysym, true) && sent;
    if (release) {
        for (auto it = std::rbegin(keysyms); it != std::rend(keysyms); ++it)
            sent = fakeKey(display, *it, false) && sent;
    }
    XSync(display, False);
    return sent;
}

bool releaseKeys(std::initializer_list<const char *> keysyms)
{
    Display *display = connection();
    if (display == nullptr)
        return false;
    bool sent = true;
    for (const char *keysym : keysyms)
        sent = fakeKey(display, keysym, false) && sent;
    XSync(display, False);
    return sent;
}

bool anyKeyDown()
{
    Display *display = connection();
    if (display == nullptr)
        return false;
    char keys[32] = {};
    XQueryKeymap(display, keys);
    for (const char byte : keys) {
        if (byte != 0)
            return true;
    }
    return false;
}

bool focusWindow(std::uint64_t window)
{
    Display *display = connection();
    if (display == nullptr)
        return false;
    XSetInputFocus(display, static_cast<Window>(window), RevertToParent, CurrentTime);
    XSync(display, False);
    return true;
}

namespace {

// A request to the window manager about `window`, as a task bar sends it.
bool sendToWindowManager(std::uint64_t window, const char *messageType, long first)
{
    Display *display = connection();
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

bool activateWindow(std::uint64_t window)
{
    return sendToWindowManager(window, "_NET_ACTIVE_WINDOW", 2);
}

bool closeWindow(std::uint64_t window)
{
    return sendToWindowManager(window, "_NET_CLOSE_WINDOW", 0);
}

std::uint64_t focusedWindow()
{
    Display *display = connection();
    if (display == nullptr)
        return 0;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
}

std::uint64_t clientWindowOf(std::uint64_t id)
{
    Display *display = connection();
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
    return hasWindowManager() ? 0 : topLevel;
}

bool hasWindowManager()
{
    Display *display = connection();
    if (display == nullptr)
        return false;
    return X11Property(display, DefaultRootWindow(display),
                       XInternAtom(display, "_NET_SUPPORTED", False))
        .exists();
}

std::uint64_t windowOfProcess(long long pid)
{
    Display *display = connection();
    if (display == nullptr)
        return 0;
    XSync(display, False);
    const X11Property clients(display, DefaultRootWindow(display),
                              XInternAtom(display, "_NET_CLIENT_LIST", False), 4096, XA_WINDOW);
    if (clients.format() != 32 || clients.data() == nullptr)
        return 0;
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    const auto *windows = reinterpret_cast<const unsigned long *>(clients.data());
    for (unsigned long i = 0; i < clients.count(); ++i) {
        const Window window = windows[i];
        if (static_cast<long long>(
                X11Property(display, window, pidAtom, 1, XA_CARDINAL).first(XA_CARDINAL)) != pid)
            continue;
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, window, &attributes) != 0 &&
            attributes.map_state == IsViewable)
            return window;
    }
    return 0;
}

bool windowRect(std::uint64_t window, int &x, int &y, int &width, int &height)
{
    Display *display = connection();
    if (display == nullptr)
        return false;
    XWindowAttributes attributes{};
    Window child = 0;
    if (XGetWindowAttributes(display, static_cast<Window>(window), &attributes) == 0 ||
        !XTranslateCoordinates(display, static_cast<Window>(window), DefaultRootWindow(display), 0,
                               0, &x, &y, &child))
        return false;
    width = attributes.width;
    height = attributes.height;
    return true;
}

bool windowClass(std::uint64_t window, std::string &instance, std::string &className)
{
    Display *display = connection();
    if (display == nullptr)
        return false;
    XClassHint hint{};
    if (XGetClassHint(display, static_cast<Window>(window), &hint) == 0)
        return false;
    instance = hint.res_name != nullptr ? hint.res_name : "";
    className = hint.res_class != nullptr ? hint.res_class : "";
    XFree(hint.res_name);
    XFree(hint.res_class);
    return true;
}

std::uint64_t selectionOwner(const char *selection)
{
    Display *display = connection();
    if (display == nullptr)
        return 0;
    return XGetSelectionOwner(display, XInternAtom(display, selection, False));
}

bool emptySelection(const char *selection)
{
    Display *display = connection();
    if (display == nullptr)
        return false;
    XSetSelectionOwner(display, XInternAtom(display, selection, False), None, CurrentTime);
    XSync(display, False);
    return true;
}

std::uint64_t clipboardOwner()
{
    return selectionOwner("CLIPBOARD");
}

bool emptyClipboard()
{
    return emptySelection("CLIPBOARD");
}

bool ownClipboardWithoutAnswering()
{
    Display *display = connection();
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
