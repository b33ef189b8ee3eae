#include "picker/capture/x11/x11capture.h"

#include <algorithm>
#include <thread>

#include <poll.h>

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

// Requests that get a reply report their errors before they return; for the others failed()
// waits for the server.
class ErrorTrap
{
public:
    explicit ErrorTrap(Display *display) : m_display(display)
    {
        g_errorSeen = false;
        m_previous = XSetErrorHandler(RecordError);
    }
    ~ErrorTrap() { XSetErrorHandler(m_previous); }
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
    bool windowManager = false;
    Atom wmState = 0;
    int inputOpcode = -1;
    Window requestor = 0; // receives the clipboard's text
    Atom clipboard = 0;
    Atom utf8String = 0;
    Atom incr = 0;
    Atom transfer = 0;
    KeyCode control = 0;
    KeyCode letterC = 0;

    ~Connection()
    {
        if (display != nullptr)
            XCloseDisplay(display);
    }

    // The window that receives the clipboard's text. After an owner has not answered in time a
    // new one takes its place, so that a late answer cannot pass for the next request's.
    void renewRequestor()
    {
        if (requestor != 0)
            XDestroyWindow(display, requestor);
        XSetWindowAttributes attributes{};
        attributes.event_mask = PropertyChangeMask; // for texts sent in pieces
        requestor = XCreateWindow(display, root, -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent,
                                  CWEventMask, &attributes);
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
    x->clipboard = XInternAtom(x->display, "CLIPBOARD", False);
    x->utf8String = XInternAtom(x->display, "UTF8_STRING", False);
    x->incr = XInternAtom(x->display, "INCR", False);
    x->transfer = XInternAtom(x->display, "QUILLON_CAPTURE", False);
    x->renewRequestor();
    x->control = XKeysymToKeycode(x->display, XK_Control_L);
    x->letterC = XKeysymToKeycode(x->display, XK_c);
    if (x->control == 0 || x->letterC == 0)
        return nullptr;
    x->windowManager = x->hasProperty(x->root, x->netSupported);
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

int X11CaptureBackend::inputExtensionOpcode() const
{
    return m_x->inputOpcode;
}

bool X11CaptureBackend::hasWindowManager()
{
    return m_x->windowManager;
}

void X11CaptureBackend::rootPropertyChanged(std::uint32_t atom)
{
    if (atom == m_x->netActiveWindow)
        activeWindowChanged();
    else if (atom == m_x->netSupported)
        m_x->windowManager = m_x->hasProperty(m_x->root, m_x->netSupported);
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
    // With a window manager the changes of the active window are followed as they come.
    if (hasWindowManager())
        return m_lastForeign;
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
    Display *display = m_x->display;
    // A target closed meanwhile makes the requests below fail, which ends the wait at once.
    ErrorTrap trap(display);

    if (!hasWindowManager()) {
        // Requests on one connection are handled in order, so keys sent after this arrive at the
        // new focus without waiting.
        XSetInputFocus(display, target, RevertToParent, CurrentTime);
        return !trap.failed();
    }

    // A change of the active window, and the focus arriving in the target, wake the wait below.
    // The root window is heard only while waiting; the few focus changes of earlier targets are
    // dropped with the rest of the queue.
    XEvent event{};
    while (XPending(display) > 0)
        XNextEvent(display, &event);
    XSelectInput(display, m_x->root, PropertyChangeMask);
    XSelectInput(display, target, FocusChangeMask);
    struct StopListening
    {
        Display *display;
        Window root;
        ~StopListening() { XSelectInput(display, root, NoEventMask); }
    } stopListening{display, m_x->root};
    event = XEvent{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = m_x->netActiveWindow;
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // source: a pager, which the window manager always obeys
    event.xclient.data.l[1] = CurrentTime;
    event.xclient.data.l[2] = 0;
    XSendEvent(display, m_x->root, False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    XFlush(display);

    // Keys sent before the focus has arrived go astray: check every 2 ms at the latest, and at
    // every change of the active window or of the target's focus, until the window manager
    // reports the target active and the server has moved the input focus into it.
    const auto deadline = std::chrono::steady_clock::now() + m_timeout;
    for (;;) {
        while (XPending(display) > 0)
            XNextEvent(display, &event);
        if (m_x->activeWindow() == target) {
            Window focus = 0;
            int revert = 0;
            XGetInputFocus(display, &focus, &revert);
            if (focus != None && focus != PointerRoot && m_x->isInside(focus, target))
                return !g_errorSeen;
        }
        if (g_errorSeen || std::chrono::steady_clock::now() >= deadline)
            return false;
        if (XPending(display) == 0) {
            pollfd connection{ConnectionNumber(display), POLLIN, 0};
            poll(&connection, 1, 2);
        }
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

bool X11CaptureBackend::emptyClipboard()
{
    // Sent with the focus request and the keys that follow, in this order.
    XSetSelectionOwner(m_x->display, m_x->clipboard, None, CurrentTime);
    return true;
}

namespace {

using Clock = std::chrono::steady_clock;

// Waits for an event that `wanted` accepts, dropping the others; false at the deadline.
template <typename Wanted>
bool WaitForEvent(Display *display, Clock::time_point deadline, XEvent &event, Wanted wanted)
{
    for (;;) {
        while (XPending(display) > 0) {
            XNextEvent(display, &event);
            if (wanted(event))
                return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left.count()) + 1);
    }
}

// Appends bytes up to the first NUL and up to `limit` in all, as UTF-8 (Latin-1 converted).
// Returns false once a NUL has ended the text.
bool AppendText(std::string &text, const unsigned char *bytes, unsigned long count, bool latin1,
                std::size_t limit)
{
    for (unsigned long i = 0; i < count; ++i) {
        const unsigned char c = bytes[i];
        if (c == 0)
            return false;
        if (text.size() >= limit)
            continue;
        if (!latin1 || c < 0x80) {
            text.push_back(static_cast<char>(c));
        } else {
            text.push_back(static_cast<char>(0xC0 | (c >> 6)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return true;
}

} // namespace

CaptureBackend::ClipboardRead X11CaptureBackend::readClipboardText(std::string &text,
                                                                   std::size_t limit)
{
    Display *display = m_x->display;
    const Window requestor = m_x->requestor;
    const Atom property = m_x->transfer;
    text.clear();
    XEvent event{};
    while (XPending(display) > 0)
        XNextEvent(display, &event);

    // UTF-8 first; Latin-1 from owners that offer nothing else.
    bool first = true;
    for (Atom target : {m_x->utf8String, static_cast<Atom>(XA_STRING)}) {
        XDeleteProperty(display, requestor, property);
        XConvertSelection(display, m_x->clipboard, target, property, requestor, CurrentTime);
        if (first) {
            // Asked right behind the request, so that both travel together.
            first = false;
            if (XGetSelectionOwner(display, m_x->clipboard) == None)
                return ClipboardRead::NoOwner;
        }
        XFlush(display);
        // An owner that does not answer ends the request like one without text.
        auto deadline = Clock::now() + std::chrono::seconds(2);
        if (!WaitForEvent(display, deadline, event, [&](const XEvent &e) {
                return e.type == SelectionNotify && e.xselection.requestor == requestor;
            })) {
            m_x->renewRequestor();
            return ClipboardRead::NoText;
        }
        if (event.xselection.property == None)
            continue; // refused: not in this form

        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        const long units = static_cast<long>(limit / 4 + 1);
        if (XGetWindowProperty(display, requestor, property, 0, units, True, AnyPropertyType, &type,
                               &format, &count, &after, &data) != Success)
            return ClipboardRead::NoText;
        const bool latin1 = target == XA_STRING;
        if (type == m_x->incr) {
            // Sent in pieces: deleting the property asks for the next one, an empty piece ends
            // the text. Pieces past the limit are taken and dropped so that the owner finishes,
            // but an owner that goes on sending for longer than a few seconds is left there with
            // what has arrived, so that the picker never waits on it for ever.
            if (data != nullptr)
                XFree(data);
            const Clock::time_point end = Clock::now() + std::chrono::seconds(5);
            bool open = true;
            for (;;) {
                deadline = std::min(Clock::now() + std::chrono::seconds(2), end);
                if (deadline <= Clock::now() ||
                    !WaitForEvent(display, deadline, event, [&](const XEvent &e) {
                        return e.type == PropertyNotify && e.xproperty.window == requestor &&
                               e.xproperty.atom == property &&
                               e.xproperty.state == PropertyNewValue;
                    })) {
                    m_x->renewRequestor();
                    return text.empty() ? ClipboardRead::NoText : ClipboardRead::Text;
                }
                data = nullptr;
                if (XGetWindowProperty(display, requestor, property, 0, 0x1000000, True,
                                       AnyPropertyType, &type, &format, &count, &after,
                                       &data) != Success)
                    return ClipboardRead::NoText;
                if (data == nullptr || count == 0) {
                    if (data != nullptr)
                        XFree(data);
                    return ClipboardRead::Text;
                }
                if (open && format == 8)
                    open = AppendText(text, data, count, latin1, limit);
                XFree(data);
            }
        }
        if (type != target || format != 8 || data == nullptr) {
            // An answer in another form than asked for (some owners send whatever they hold):
            // the toolkit looks at the forms on offer and decides.
            if (data != nullptr)
                XFree(data);
            return ClipboardRead::Unsupported;
        }
        AppendText(text, data, count, latin1, limit);
        XFree(data);
        return ClipboardRead::Text;
    }
    return ClipboardRead::NoText;
}
