#include "x11capture.h"

#include <thread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

// Errors on our own connection (a window closed while we look at it) must not end the
// process, which is what Xlib's default handler does. Calls that can meet a vanished window run
// under a trap that swallows and records the error.
bool g_errorSeen = false;

int RecordError(Display *, XErrorEvent *)
{
    g_errorSeen = true;
    return 0;
}

class ErrorTrap
{
public:
    explicit ErrorTrap(Display *display) : m_display(display)
    {
        g_errorSeen = false;
        m_previous = XSetErrorHandler(RecordError);
    }
    ~ErrorTrap()
    {
        XSync(m_display, False);
        XSetErrorHandler(m_previous);
    }
    ErrorTrap(const ErrorTrap &) = delete;
    ErrorTrap &operator=(const ErrorTrap &) = delete;

    // Waits for the server to answer everything sent so far and tells whether any of it failed.
    bool failed()
    {
        XSync(m_display, False);
        return g_errorSeen;
    }

private:
    Display *m_display;
    XErrorHandler m_previous;
};

Window ToWindow(WindowId id)
{
    return static_cast<Window>(id);
}

} // namespace

struct X11CaptureBackend::Connection
{
    Display *display = nullptr;
    Window root = 0;
    Atom netActiveWindow = 0;
    Atom netSupported = 0;
    Atom wmState = 0;
    int inputOpcode = -1;
    KeyCode control = 0;
    KeyCode letterC = 0;

    ~Connection()
    {
        if (display != nullptr)
            XCloseDisplay(display);
    }

    // _NET_ACTIVE_WINDOW of the root window; 0 when unset.
    Window activeWindow() const
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        Window active = 0;
        if (XGetWindowProperty(display, root, netActiveWindow, 0, 1, False, XA_WINDOW, &type,
                               &format, &count, &after, &data) == Success &&
            data != nullptr) {
            if (type == XA_WINDOW && format == 32 && count == 1)
                active = static_cast<Window>(*reinterpret_cast<unsigned long *>(data));
        }
        if (data != nullptr)
            XFree(data);
        return active;
    }

    bool hasProperty(Window window, Atom property) const
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        int status = XGetWindowProperty(display, window, property, 0, 0, False, AnyPropertyType,
                                        &type, &format, &count, &after, &data);
        if (data != nullptr)
            XFree(data);
        return status == Success && type != None;
    }

    Window parentOf(Window window) const
    {
        Window rootReturn = 0;
        Window parent = 0;
        Window *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, window, &rootReturn, &parent, &children, &count) == 0)
            return 0;
        if (children != nullptr)
            XFree(children);
        return parent;
    }

    // The child of the root window that contains `window` (the window itself for a top-level
    // without a window manager, the manager's frame otherwise); 0 when it is gone.
    Window topLevelOf(Window window) const
    {
        for (int depth = 0; window != 0 && depth < 64; ++depth) {
            Window parent = parentOf(window);
            if (parent == root)
                return window;
            window = parent;
        }
        return 0;
    }

    bool isInside(Window window, Window ancestor) const
    {
        for (int depth = 0; window != 0 && depth < 64; ++depth) {
            if (window == ancestor)
                return true;
            if (window == root)
                return false;
            window = parentOf(window);
        }
        return false;
    }

    // The application's own top-level below a frame: the first window, breadth first, that
    // carries WM_STATE. Without a window manager there is none and the frame is the window.
    Window clientBelow(Window frame) const
    {
        Window level[256];
        Window next[256];
        int levelCount = 1;
        level[0] = frame;
        for (int depth = 0; depth < 4 && levelCount > 0; ++depth) {
            int nextCount = 0;
            for (int i = 0; i < levelCount; ++i) {
                if (hasProperty(level[i], wmState))
                    return level[i];
                Window rootReturn = 0;
                Window parent = 0;
                Window *children = nullptr;
                unsigned int count = 0;
                if (XQueryTree(display, level[i], &rootReturn, &parent, &children, &count) == 0)
                    continue;
                for (unsigned int c = 0; c < count && nextCount < 256; ++c)
                    next[nextCount++] = children[c];
                if (children != nullptr)
                    XFree(children);
            }
            for (int i = 0; i < nextCount; ++i)
                level[i] = next[i];
            levelCount = nextCount;
        }
        return frame;
    }
};

std::unique_ptr<X11CaptureBackend> X11CaptureBackend::Open(const char *displayName,
                                                           OwnWindowTest isOwn)
{
    auto x = std::make_unique<Connection>();
    x->display = XOpenDisplay(displayName);
    if (x->display == nullptr)
        return nullptr;
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(x->display, &eventBase, &errorBase, &major, &minor))
        return nullptr;
    x->root = DefaultRootWindow(x->display);
    int inputEvent = 0;
    int inputError = 0;
    if (!XQueryExtension(x->display, "XInputExtension", &x->inputOpcode, &inputEvent, &inputError))
        x->inputOpcode = -1;
    x->netActiveWindow = XInternAtom(x->display, "_NET_ACTIVE_WINDOW", False);
    x->netSupported = XInternAtom(x->display, "_NET_SUPPORTED", False);
    x->wmState = XInternAtom(x->display, "WM_STATE", False);
    x->control = XKeysymToKeycode(x->display, XK_Control_L);
    x->letterC = XKeysymToKeycode(x->display, XK_c);
    if (x->control == 0 || x->letterC == 0)
        return nullptr;
    std::unique_ptr<X11CaptureBackend> backend(
        new X11CaptureBackend(std::move(x), std::move(isOwn)));
    backend->activeWindowChanged();
    return backend;
}

X11CaptureBackend::X11CaptureBackend(std::unique_ptr<Connection> connection, OwnWindowTest isOwn)
    : m_x(std::move(connection)), m_isOwn(std::move(isOwn))
{}

X11CaptureBackend::~X11CaptureBackend() = default;

WindowId X11CaptureBackend::rootWindow() const
{
    return m_x->root;
}

std::uint32_t X11CaptureBackend::activeWindowAtom() const
{
    return static_cast<std::uint32_t>(m_x->netActiveWindow);
}

int X11CaptureBackend::inputExtensionOpcode() const
{
    return m_x->inputOpcode;
}

bool X11CaptureBackend::hasWindowManager()
{
    return m_x->hasProperty(m_x->root, m_x->netSupported);
}

void X11CaptureBackend::activeWindowChanged()
{
    // The window manager passes through 0 between two windows, and our own windows are never a
    // target: both leave the last foreign window in place.
    Window active = m_x->activeWindow();
    if (active != 0 && !m_isOwn(active))
        m_lastForeign = active;
}

void X11CaptureBackend::pointerPressed()
{
    if (!hasWindowManager())
        activeBeforeUs();
}

WindowId X11CaptureBackend::activeBeforeUs()
{
    if (hasWindowManager()) {
        activeWindowChanged();
        return m_lastForeign;
    }
    // Without a window manager the focus is wherever the last XSetInputFocus put it, or follows
    // the pointer (PointerRoot).
    ErrorTrap trap(m_x->display);
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_x->display, &focus, &revert);
    if (focus == PointerRoot) {
        Window rootReturn = 0;
        Window child = 0;
        int rootX = 0;
        int rootY = 0;
        int x = 0;
        int y = 0;
        unsigned int mask = 0;
        if (XQueryPointer(m_x->display, m_x->root, &rootReturn, &child, &rootX, &rootY, &x, &y,
                          &mask) &&
            child != 0 && !m_isOwn(child))
            m_lastForeign = child;
    } else if (focus != None && focus != m_x->root) {
        Window top = m_x->topLevelOf(focus);
        if (top != 0 && !m_isOwn(top) && !trap.failed())
            m_lastForeign = focus;
    }
    return m_lastForeign;
}

WindowId X11CaptureBackend::windowAt(int x, int y)
{
    ErrorTrap trap(m_x->display);
    Window child = 0;
    int childX = 0;
    int childY = 0;
    if (!XTranslateCoordinates(m_x->display, m_x->root, m_x->root, x, y, &childX, &childY,
                               &child) ||
        child == 0)
        return 0;
    Window client = m_x->clientBelow(child);
    if (trap.failed())
        return 0;
    return client;
}

bool X11CaptureBackend::giveFocus(WindowId id)
{
    Window target = ToWindow(id);
    if (target == 0)
        return false;
    ErrorTrap trap(m_x->display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(m_x->display, target, &attributes) || trap.failed())
        return false;

    if (!hasWindowManager()) {
        // Requests on one connection are handled in order, so keys sent after this arrive at the
        // new focus without waiting.
        XSetInputFocus(m_x->display, target, RevertToParent, CurrentTime);
        return !trap.failed();
    }

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = m_x->netActiveWindow;
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // source: a pager, which the window manager always obeys
    event.xclient.data.l[1] = CurrentTime;
    event.xclient.data.l[2] = 0;
    XSendEvent(m_x->display, m_x->root, False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    XFlush(m_x->display);

    // Keys sent before the focus has arrived go astray: wait until the window manager reports
    // the target active and the server has moved the input focus into it.
    const auto deadline = std::chrono::steady_clock::now() + m_timeout;
    for (;;) {
        if (m_x->activeWindow() == target) {
            Window focus = 0;
            int revert = 0;
            XGetInputFocus(m_x->display, &focus, &revert);
            if (focus != None && focus != PointerRoot && m_x->isInside(focus, target))
                return !trap.failed();
        }
        if (trap.failed())
            return false;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool X11CaptureBackend::sendCopyKeys()
{
    Display *display = m_x->display;
    XTestFakeKeyEvent(display, m_x->control, True, CurrentTime);
    XTestFakeKeyEvent(display, m_x->letterC, True, CurrentTime);
    XTestFakeKeyEvent(display, m_x->letterC, False, CurrentTime);
    XTestFakeKeyEvent(display, m_x->control, False, CurrentTime);
    XFlush(display);
    return true;
}
