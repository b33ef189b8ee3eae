#include "picker/capture/x11/x11capture.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <poll.h>
#include <unistd.h>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>

#include "picker/capture/x11/x11property.h"

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
    // Whether a request failed, when every request made got a reply: no wait.
    bool seen() const { return g_errorSeen; }

private:
    Display *m_display;
    XErrorHandler m_previous;
};

Window ToWindow(WindowId id)
{
    return static_cast<Window>(id);
}

using Clock = std::chrono::steady_clock;

// Takes the first queued or arriving event that `wanted` accepts and leaves the others queued;
// false at the deadline.
template <typename Wanted>
bool WaitForEvent(Display *display, Clock::time_point deadline, XEvent &event, Wanted wanted)
{
    auto check = [](Display *, XEvent *e, XPointer arg) -> Bool {
        return (*reinterpret_cast<Wanted *>(arg))(*e) ? True : False;
    };
    for (;;) {
        if (XCheckIfEvent(display, &event, check, reinterpret_cast<XPointer>(&wanted)))
            return true;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left.count()) + 1);
    }
}

// Drops the queued events of every window but `keep`.
void DropEvents(Display *display, Window keep)
{
    XEvent event{};
    auto other = [keep](const XEvent &e) {
        return e.xany.window != keep;
    };
    while (WaitForEvent(display, Clock::now(), event, other)) {
    }
}

// Drops the queued events of `window`.
void DropEventsOf(Display *display, Window window)
{
    XEvent event{};
    auto of = [window](const XEvent &e) {
        return e.xany.window == window;
    };
    while (WaitForEvent(display, Clock::now(), event, of)) {
    }
}

// Appends bytes up to the first NUL and up to `limit` in all, as UTF-8 (Latin-1 converted).
// Returns false once a NUL has ended the text.
bool AppendText(std::string &text, std::span<const unsigned char> bytes, bool latin1,
                std::size_t limit)
{
    for (const unsigned char c : bytes) {
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

// A window of ours that the owner of a selection writes its answer to. After an owner has not
// answered in time a new one takes its place, so that a late answer cannot pass for the next
// request's.
struct Receiver
{
    Display *display = nullptr;
    Window window = 0;
    // The property that answers go to; with more than one, each request takes the next, so that
    // an answer still on its way to an earlier one cannot mix with this one's.
    std::vector<Atom> properties;
    std::size_t turn = 0;
    Atom property = 0;

    void renew()
    {
        if (window != 0)
            XDestroyWindow(display, window);
        XSetWindowAttributes attributes{};
        attributes.event_mask = PropertyChangeMask; // for texts sent in pieces
        window = XCreateWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, 0, InputOnly,
                               CopyFromParent, CWEventMask, &attributes);
    }

    // Asks the owner of `selection` for it as `target`, without waiting.
    void ask(Atom selection, Atom target)
    {
        turn = (turn + 1) % properties.size();
        property = properties[turn];
        XDeleteProperty(display, window, property);
        XConvertSelection(display, selection, target, property, window, CurrentTime);
    }

    enum class Answer
    {
        Text,    // `text` holds what arrived
        Refused, // not in the form asked for
        Other,   // an answer in another form than asked for
        Missing, // no answer, or a broken one
    };

    // Takes the answer to ask(..., target): sent whole, or in pieces, each within `wait`. With
    // `finish`, pieces past `limit` are taken and dropped so that the owner finishes, but an owner
    // that goes on sending for longer than a few seconds is left there with what has arrived, so
    // that nobody waits on it for ever; without, the rest is left unread once `limit` is passed.
    Answer receive(Atom target, Atom incr, std::string &text, std::size_t limit,
                   Clock::duration wait, bool finish)
    {
        text.clear();
        XEvent event{};
        Clock::time_point deadline = Clock::now() + wait;
        // Changes of the property before the answer (the owner writes it, then answers) are not
        // the pieces that follow.
        do {
            if (!WaitForEvent(display, deadline, event, [this](const XEvent &e) {
                    return e.xany.window == window &&
                           ((e.type == SelectionNotify && (e.xselection.property == property ||
                                                           e.xselection.property == None)) ||
                            (e.type == PropertyNotify && e.xproperty.atom == property));
                })) {
                renew();
                return Answer::Missing;
            }
        } while (event.type != SelectionNotify);
        if (event.xselection.property == None)
            return Answer::Refused;

        const bool latin1 = target == XA_STRING;
        const long units = static_cast<long>(limit / 4 + 1);
        X11Property answer(display, window, property, units, AnyPropertyType, true);
        if (!answer.read())
            return Answer::Missing;
        if (answer.type() != incr) {
            if (answer.type() != target || answer.format() != 8 || answer.data() == nullptr)
                return Answer::Other;
            AppendText(text, answer.bytes(), latin1, limit);
            return Answer::Text;
        }
        // Deleting the property asks for the next piece; an empty piece ends the text.
        const Clock::time_point end = Clock::now() + std::chrono::seconds(5);
        bool open = true;
        for (;;) {
            if (!finish && text.size() >= limit)
                return Answer::Text;
            deadline = std::min(Clock::now() + wait, end);
            if (deadline <= Clock::now() ||
                !WaitForEvent(display, deadline, event, [this](const XEvent &e) {
                    return e.type == PropertyNotify && e.xproperty.window == window &&
                           e.xproperty.atom == property && e.xproperty.state == PropertyNewValue;
                })) {
                renew();
                return text.empty() ? Answer::Missing : Answer::Text;
            }
            X11Property piece(display, window, property, 0x1000000, AnyPropertyType, true);
            if (!piece.read())
                return Answer::Missing;
            if (piece.count() == 0)
                return Answer::Text;
            if (open)
                open = AppendText(text, piece.bytes(), latin1, limit);
        }
    }

    // Whether the answer to the last ask() has arrived; it stays queued.
    bool answered() const
    {
        auto check = [](Display *, XEvent *e, XPointer arg) -> Bool {
            const auto *self = reinterpret_cast<const Receiver *>(arg);
            return e->xany.window == self->window && e->type == SelectionNotify &&
                           (e->xselection.property == self->property ||
                            e->xselection.property == None)
                       ? True
                       : False;
        };
        XEvent event{};
        if (!XCheckIfEvent(display, &event, check,
                           reinterpret_cast<XPointer>(const_cast<Receiver *>(this))))
            return false;
        XPutBackEvent(display, &event);
        return true;
    }

    // Takes the answer to ask(..., TIMESTAMP): the server time at which the owner took the
    // selection. False when the owner refuses or does not answer within `wait`.
    bool receiveTime(Time &time, Clock::duration wait)
    {
        XEvent event{};
        if (!WaitForEvent(display, Clock::now() + wait, event, [this](const XEvent &e) {
                return e.xany.window == window && e.type == SelectionNotify &&
                       (e.xselection.property == property || e.xselection.property == None);
            })) {
            renew();
            return false;
        }
        if (event.xselection.property == None)
            return false;
        const X11Property answer(display, window, property, 1, AnyPropertyType, true);
        if (!answer.read() || answer.format() != 32 || answer.count() < 1 ||
            answer.data() == nullptr)
            return false;
        time = static_cast<Time>(*reinterpret_cast<const unsigned long *>(answer.data()));
        return true;
    }
};

} // namespace

struct X11CaptureBackend::Connection
{
    Display *display = nullptr;
    Window root = 0;
    Atom netActiveWindow = 0;
    Atom netSupported = 0;
    bool windowManager = false;
    // The window manager answers _NET_REQUEST_FRAME_EXTENTS: asked after another request, its
    // answer tells that the other has been handled.
    bool frameExtentsAnswered = false;
    Atom netRequestFrameExtents = 0;
    Atom netFrameExtents = 0;
    // A window of ours, never shown: server times are read from changes of its property
    // QUILLON_STAMP, and the window manager writes its frame extents to it.
    Window stamp = 0;
    Atom stampProperty = 0;
    Atom wmState = 0;
    int inputOpcode = -1;
    // XFixes tells of new clipboard owners; heard from the copy keys until the copy has come.
    bool fixes = false;
    int fixesEvent = 0;
    bool hearingCopy = false;
    // The clipboard's new owner as XFixes told it, until its text is read.
    Window heardOwner = 0;
    Atom clipboard = 0;
    Atom utf8String = 0;
    Atom incr = 0;
    Receiver current; // receives the clipboard's text
    Receiver stamps;  // receives the time at which the selection's owner took it
    Atom timestamp = 0;
    Receiver before; // receives the text the clipboard held before it was emptied
    // The text the clipboard held when it was last emptied: asked for, then known or not.
    enum class Before
    {
        Unknown,
        Asked,
        Known,
    };
    Before beforeState = Before::Unknown;
    std::string beforeText;
    // The most of it that the caller takes, once it has said (0 before).
    std::size_t beforeLimit = 0;
    // The clipboard has been emptied since the last copy keys; the first server time read after
    // the emptying (CurrentTime while none has been).
    bool emptied = false;
    Time emptiedBy = CurrentTime;
    // The latest server time that the wait for the focus has seen in an event.
    Time latestSeen = CurrentTime;
    // The focus asked for and not yet awaited: the window, whether the window manager answers,
    // whether the focus is there already (no window manager), the time of the request.
    struct FocusRequest
    {
        Window window = 0;
        bool answers = false;
        bool done = false;
        Time time = CurrentTime;
    };
    FocusRequest focus;
    Window askedWindow = 0; // the window last sent the copy keys
    Window focusTarget = 0; // the window that giveFocus was last asked to focus
    Window textOwner = 0;   // the owner of the clipboard text last read
    // The selection last read: its owner and the time at which the owner took it (0: not told).
    Window selectionOwner = 0;
    Time selectionTime = 0;
    // The bits of a resource id that a client chooses; the others name the client, the same
    // way for every client of the server. 0 when the server does not tell.
    XID resourceMask = 0;
    // The server tells a window's process id (X Resource extension 1.2), and its process ids
    // are ours: it names our own process by our own id.
    bool processIds = false;
    KeyCode control = 0;
    // The keys that modify (Shift, Alt, Super …), Ctrl and the locks left out: any of them held
    // while the copy keys go out would make them another combination.
    std::vector<KeyCode> otherModifiers;
    KeyCode controlRight = 0;
    KeyCode letterC = 0;

    ~Connection()
    {
        if (display != nullptr)
            XCloseDisplay(display);
    }

    // The client that created `window`, as the base of its resource ids; 0 when not known. A
    // resource id carries its client in the bits the client does not choose, so no request is
    // needed.
    XID clientOf(Window window) const
    {
        if (resourceMask == 0 || window == None || window == PointerRoot || window == root)
            return 0;
        return window & ~resourceMask;
    }

    // The process id of the client that created `window`; 0 when the server does not tell.
    long processOf(Window window) const
    {
        if (window == None || window == PointerRoot || window == root)
            return 0;
        XResClientIdSpec query{window, XRES_CLIENT_ID_PID_MASK};
        long count = 0;
        XResClientIdValue *values = nullptr;
        long pid = 0;
        if (XResQueryClientIds(display, 1, &query, &count, &values) == Success) {
            for (long i = 0; i < count; ++i) {
                if (values[i].spec.mask == XRES_CLIENT_ID_PID_MASK)
                    pid = std::max<long>(XResGetClientPid(&values[i]), 0);
            }
        }
        XResClientIdsDestroy(count, values);
        return pid;
    }

    // A window manager announces itself with _NET_SUPPORTED on the root window, listing what it
    // supports.
    void readWindowManager()
    {
        X11Property supported(display, root, netSupported, 4096, XA_ATOM);
        windowManager = supported.exists();
        frameExtentsAnswered = false;
        if (!windowManager || supported.format() != 32 || supported.data() == nullptr)
            return;
        const auto *atoms = reinterpret_cast<const unsigned long *>(supported.data());
        frameExtentsAnswered = std::find(atoms, atoms + supported.count(),
                                         netRequestFrameExtents) != atoms + supported.count();
    }

    // The server's time now, read from the change of a property: what the window manager
    // compares with the times of other requests. CurrentTime when the server does not answer.
    Time serverTime()
    {
        askTime();
        return takeTime();
    }
    // serverTime() in two halves, so that other work can be done while the answer travels.
    void askTime()
    {
        XChangeProperty(display, stamp, stampProperty, XA_INTEGER, 32, PropModeReplace, nullptr, 0);
        XFlush(display);
    }
    Time takeTime()
    {
        XEvent event{};
        if (!WaitForEvent(display, Clock::now() + std::chrono::milliseconds(500), event,
                          [this](const XEvent &e) {
                              return e.type == PropertyNotify && e.xproperty.window == stamp &&
                                     e.xproperty.atom == stampProperty;
                          }))
            return CurrentTime;
        if (emptied && emptiedBy == CurrentTime)
            emptiedBy = event.xproperty.time;
        return event.xproperty.time;
    }

    // Sends the window manager a request about `window`, as a pager or a task bar does.
    void askWindowManager(Window window, Atom type, long first, long second)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = type;
        event.xclient.format = 32;
        event.xclient.data.l[0] = first;
        event.xclient.data.l[1] = second;
        XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    }

    // The first window from `window` up to the root that carries WM_CLASS, or below a window
    // manager's frame the application's own window; 0 when there is none.
    Window classBearer(Window window) const
    {
        for (Window w = window; w != 0 && w != root;) {
            if (hasProperty(w, XA_WM_CLASS))
                return w;
            const Window parent = parentOf(w);
            if (parent == root) {
                const Window client = clientBelow(w);
                return client != w && hasProperty(client, XA_WM_CLASS) ? client : 0;
            }
            w = parent;
        }
        return 0;
    }

    // _NET_ACTIVE_WINDOW of the root window; 0 when unset.
    Window activeWindow() const
    {
        return X11Property(display, root, netActiveWindow, 1, XA_WINDOW).first(XA_WINDOW);
    }

    bool hasProperty(Window window, Atom property) const
    {
        return X11Property(display, window, property).exists();
    }

    Window parentOf(Window window) const
    {
        X11Tree tree(display, window);
        return tree.read() ? tree.parent() : 0;
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
                X11Tree tree(display, level[i]);
                for (Window child : tree.children()) {
                    if (nextCount == 256)
                        break;
                    next[nextCount++] = child;
                }
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
    x->netRequestFrameExtents = XInternAtom(x->display, "_NET_REQUEST_FRAME_EXTENTS", False);
    x->netFrameExtents = XInternAtom(x->display, "_NET_FRAME_EXTENTS", False);
    x->stampProperty = XInternAtom(x->display, "QUILLON_STAMP", False);
    x->wmState = XInternAtom(x->display, "WM_STATE", False);
    x->clipboard = XInternAtom(x->display, "CLIPBOARD", False);
    x->utf8String = XInternAtom(x->display, "UTF8_STRING", False);
    x->incr = XInternAtom(x->display, "INCR", False);
    x->current.display = x->display;
    x->current.properties = {XInternAtom(x->display, "QUILLON_CAPTURE", False)};
    x->current.renew();
    x->before.display = x->display;
    for (const char *name : {"QUILLON_BEFORE_0", "QUILLON_BEFORE_1", "QUILLON_BEFORE_2"})
        x->before.properties.push_back(XInternAtom(x->display, name, False));
    x->before.renew();
    x->stamps.display = x->display;
    x->stamps.properties = {XInternAtom(x->display, "QUILLON_SELECTION_TIME", False)};
    x->stamps.renew();
    x->timestamp = XInternAtom(x->display, "TIMESTAMP", False);
    int resEvent = 0;
    int resError = 0;
    int resMajor = 0;
    int resMinor = 0;
    const bool resources = XResQueryExtension(x->display, &resEvent, &resError) &&
                           XResQueryVersion(x->display, &resMajor, &resMinor);
    if (resources) {
        int clientCount = 0;
        XResClient *clients = nullptr;
        if (XResQueryClients(x->display, &clientCount, &clients) != 0 && clientCount > 0)
            x->resourceMask = clients[0].resource_mask;
        XFree(clients);
    }
    int fixesError = 0;
    x->fixes = XFixesQueryExtension(x->display, &x->fixesEvent, &fixesError) != 0;
    x->control = XKeysymToKeycode(x->display, XK_Control_L);
    x->letterC = XKeysymToKeycode(x->display, XK_c);
    x->controlRight = XKeysymToKeycode(x->display, XK_Control_R);
    if (XModifierKeymap *map = XGetModifierMapping(x->display)) {
        for (int i = 0; i < 8 * map->max_keypermod; ++i) {
            const KeyCode code = map->modifiermap[i];
            const KeySym keysym = code != 0 ? XkbKeycodeToKeysym(x->display, code, 0, 0) : 0;
            if (code != 0 && i / map->max_keypermod != ControlMapIndex && keysym != XK_Caps_Lock &&
                keysym != XK_Shift_Lock && keysym != XK_Num_Lock && keysym != XK_Scroll_Lock &&
                std::find(x->otherModifiers.begin(), x->otherModifiers.end(), code) ==
                    x->otherModifiers.end())
                x->otherModifiers.push_back(code);
        }
        XFreeModifiermap(map);
    }
    if (x->control == 0 || x->letterC == 0)
        return nullptr;
    {
        XSetWindowAttributes attributes{};
        attributes.event_mask = PropertyChangeMask;
        x->stamp = XCreateWindow(x->display, x->root, -10, -10, 1, 1, 0, 0, InputOnly,
                                 CopyFromParent, CWEventMask, &attributes);
    }
    // A server on another machine, or in another process namespace, names other processes.
    x->processIds = resources && (resMajor > 1 || (resMajor == 1 && resMinor >= 2)) &&
                    x->processOf(x->stamp) == static_cast<long>(::getpid());
    x->readWindowManager();
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
        m_x->readWindowManager();
}

void X11CaptureBackend::activeWindowChanged()
{
    // The window manager passes through 0 between two windows, and our own windows are never a
    // target: both leave the last foreign window in place.
    Window active = m_x->activeWindow();
    if (active == 0 || m_isOwn(active))
        return;
    m_lastForeign = active;
    // The window the user works in is the next pick's likely target: what tells a terminal is
    // read now rather than after the click. It is read at every activation, as a new window
    // can have the id of one that has gone.
    learnWindow(active);
}

void X11CaptureBackend::learnWindow(WindowId window)
{
    m_known.window = 0;
    const WindowClass found = readWindowClass(window);
    const long pid = readWindowProcess(window);
    // A window that is gone, or going, tells nothing: nothing is kept for its id.
    const bool told = pid != 0 || !found.instance.empty() || !found.className.empty();
    m_known = {told ? window : 0, found, pid};
}

const X11CaptureBackend::KnownWindow &X11CaptureBackend::knownWindow(WindowId window)
{
    // A window keeps its class and its program; but once its program has ended, its id can
    // name another program's window.
    const long pid = m_known.process;
    const bool ended = pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM;
    if (window != m_known.window || ended)
        learnWindow(window);
    return m_known;
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
    return requestFocus(id) && awaitFocus();
}

bool X11CaptureBackend::requestFocus(WindowId id)
{
    Window target = ToWindow(id);
    m_x->focus = {};
    if (target == 0)
        return false;
    Display *display = m_x->display;
    // A target closed meanwhile makes the requests below fail, which ends the wait at once.
    ErrorTrap trap(display);

    m_x->askedWindow = 0;
    m_x->focusTarget = target;

    if (!hasWindowManager()) {
        // Requests on one connection are handled in order, so keys sent after this arrive at the
        // new focus without waiting.
        XSetInputFocus(display, target, RevertToParent, CurrentTime);
        if (trap.failed())
            return false;
        m_x->askedWindow = target;
        m_x->focus = {target, true, true, CurrentTime};
        return true;
    }

    // The click on the picker has made the window manager activate the picker, and it may not
    // have handled that yet: the target may still look active and focused, only to lose the
    // focus to the picker a moment later. So the wait for the focus ends only on the state that
    // our own request produced, never on one that held before it.
    //
    // A change of the active window, and the focus arriving in the target, wake the wait. The
    // root window is heard only until the wait ends; the few focus changes of earlier targets
    // are dropped with the rest of the queue.
    DropEvents(display, m_x->before.window);
    XSelectInput(display, m_x->root, PropertyChangeMask);
    XSelectInput(display, target, FocusChangeMask);

    // The request carries the server's time, so the window manager's focus change is newer than
    // the one it made for the click; a late focus request of the picker's loses against it. The
    // toolkit's own requests are flushed while the time is on its way.
    m_x->askTime();
    if (m_flushToolkit)
        m_flushToolkit();
    const Time requested = m_x->takeTime();
    m_x->latestSeen = CurrentTime;
    // The time's answer has come after any error of the requests above.
    if (trap.seen()) {
        XSelectInput(display, m_x->root, NoEventMask);
        return false;
    }
    XDeleteProperty(display, m_x->stamp, m_x->netFrameExtents);
    // source 2: a pager, which the window manager always obeys
    m_x->askWindowManager(target, m_x->netActiveWindow, 2, static_cast<long>(requested));
    // The window manager handles requests in the order they come: once it has answered this
    // one, it has handled ours and everything before it.
    const bool answers = m_x->frameExtentsAnswered;
    if (answers)
        m_x->askWindowManager(m_x->stamp, m_x->netRequestFrameExtents, 0, 0);
    XFlush(display);
    m_x->focus = {target, answers, false, requested};
    return true;
}

bool X11CaptureBackend::awaitFocus()
{
    const Connection::FocusRequest asked = std::exchange(m_x->focus, {});
    const Window target = asked.window;
    if (target == 0)
        return false;
    if (asked.done)
        return true;
    Display *display = m_x->display;
    ErrorTrap trap(display);
    struct StopListening
    {
        Display *display;
        Window root;
        ~StopListening() { XSelectInput(display, root, NoEventMask); }
    } stopListening{display, m_x->root};
    const bool answers = asked.answers;
    const Time requested = asked.time;

    // Keys sent before the focus has arrived go astray: check at every change of the active
    // window or of the target's focus, and every 2 ms at the latest, until our request has been
    // handled and the server has moved the input focus into the target. A window manager that
    // answers has handled our request, and everything before it, when it answers; it announces
    // the target as active a little later, which the keys need not wait for. From one that does
    // not answer, the active window changing to the target since the request tells instead.
    auto isNewer = [requested](Time time) {
        return requested == CurrentTime ||
               static_cast<std::int32_t>(static_cast<std::uint32_t>(time - requested)) >= 0;
    };
    bool handled = false;
    const auto deadline = std::chrono::steady_clock::now() + m_timeout;
    for (;;) {
        XEvent event{};
        while (WaitForEvent(display, Clock::now(), event, [this](const XEvent &e) {
            return e.xany.window != m_x->before.window;
        })) {
            if (event.type != PropertyNotify)
                continue;
            m_x->latestSeen = event.xproperty.time;
            if (event.xproperty.window == m_x->stamp &&
                event.xproperty.atom == m_x->stampProperty && m_x->emptied &&
                m_x->emptiedBy == CurrentTime)
                m_x->emptiedBy = event.xproperty.time; // the emptying's own time
            else if (event.xproperty.window == m_x->stamp &&
                     event.xproperty.atom == m_x->netFrameExtents &&
                     event.xproperty.state == PropertyNewValue)
                handled = true;
            else if (!answers && event.xproperty.window == m_x->root &&
                     event.xproperty.atom == m_x->netActiveWindow && isNewer(event.xproperty.time))
                handled = true;
        }
        // The answer about the clipboard before the emptying is taken while there is time.
        if (m_x->beforeState == Connection::Before::Asked && m_x->beforeLimit != 0 &&
            m_x->before.answered())
            receiveTextBefore(m_x->beforeLimit);
        if (handled && (answers || m_x->activeWindow() == target)) {
            Window focus = 0;
            int revert = 0;
            XGetInputFocus(display, &focus, &revert);
            if (focus != None && focus != PointerRoot && m_x->isInside(focus, target) &&
                !g_errorSeen) {
                m_x->askedWindow = focus;
                return true;
            }
        }
        if (g_errorSeen)
            return false;
        if (std::chrono::steady_clock::now() >= deadline) {
            // A window manager that lists frame extents but does not answer for our window:
            // from now on the changes of the active window tell.
            if (answers && !handled)
                m_x->frameExtentsAnswered = false;
            return false;
        }
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, 2);
    }
}

bool X11CaptureBackend::sendCopyKeys()
{
    Display *display = m_x->display;
    if (std::exchange(m_x->emptied, false)) {
        // The copy is stamped with the time of the keys, and a clipboard manager may fill the
        // emptied clipboard again stamped with the time of the emptying; within the same
        // millisecond the manager's claim would win over the copy if it came later. So the keys
        // go out once the server's clock has moved past the emptying.
        const Time emptying = m_x->emptiedBy != CurrentTime ? m_x->emptiedBy : m_x->serverTime();
        m_x->emptiedBy = CurrentTime;
        // The wait for the focus has usually seen a later time already.
        const Time seen = std::exchange(m_x->latestSeen, CurrentTime);
        const bool past =
            seen != CurrentTime && emptying != CurrentTime &&
            static_cast<std::int32_t>(static_cast<std::uint32_t>(seen - emptying)) > 0;
        const auto deadline = Clock::now() + std::chrono::milliseconds(50);
        while (!past && m_x->serverTime() == emptying && Clock::now() < deadline) {
        }
    }
    // Asked before the keys, so that the copy they bring is heard.
    if (m_x->fixes && !m_x->hearingCopy) {
        XFixesSelectSelectionInput(display, m_x->stamp, m_x->clipboard,
                                   XFixesSetSelectionOwnerNotifyMask);
        m_x->hearingCopy = true;
    }
    // The user may still hold the keys that asked for the pick (Ctrl+Alt+1): the application
    // must see Ctrl+C alone. Held modifiers are let go for the copy and pressed again after it,
    // and a Ctrl that is held already is neither pressed nor let go.
    char keymap[32] = {};
    XQueryKeymap(display, keymap);
    auto down = [&keymap](KeyCode code) {
        return code != 0 && (keymap[code / 8] & (1 << (code % 8))) != 0;
    };
    const bool controlHeld = down(m_x->control) || down(m_x->controlRight);
    for (const KeyCode code : m_x->otherModifiers) {
        if (down(code))
            XTestFakeKeyEvent(display, code, False, CurrentTime);
    }
    if (!controlHeld)
        XTestFakeKeyEvent(display, m_x->control, True, CurrentTime);
    XTestFakeKeyEvent(display, m_x->letterC, True, CurrentTime);
    XTestFakeKeyEvent(display, m_x->letterC, False, CurrentTime);
    if (!controlHeld)
        XTestFakeKeyEvent(display, m_x->control, False, CurrentTime);
    for (const KeyCode code : m_x->otherModifiers) {
        if (down(code))
            XTestFakeKeyEvent(display, code, True, CurrentTime);
    }
    XFlush(display);
    return true;
}

bool X11CaptureBackend::keepFocus(WindowId id)
{
    const Window target = ToWindow(id);
    m_x->focus = {};
    m_x->askedWindow = 0;
    m_x->focusTarget = target;
    if (target == 0)
        return false;
    ErrorTrap trap(m_x->display);
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_x->display, &focus, &revert);
    if (focus == None || focus == PointerRoot || !m_x->isInside(focus, target) || trap.seen())
        return false;
    m_x->askedWindow = focus;
    return true;
}

bool X11CaptureBackend::waitForCopy(std::chrono::milliseconds wait)
{
    if (!m_x->hearingCopy)
        return false;
    Display *display = m_x->display;
    XEvent event{};
    const int notify = m_x->fixesEvent + XFixesSelectionNotify;
    const bool arrived =
        WaitForEvent(display, Clock::now() + wait, event, [this, notify](const XEvent &e) {
            if (e.type != notify)
                return false;
            const auto &owner = reinterpret_cast<const XFixesSelectionNotifyEvent &>(e);
            return owner.window == m_x->stamp && owner.owner != None;
        });
    m_x->heardOwner =
        arrived ? reinterpret_cast<const XFixesSelectionNotifyEvent &>(event).owner : 0;
    XFixesSelectSelectionInput(display, m_x->stamp, m_x->clipboard, 0);
    XFlush(display);
    m_x->hearingCopy = false;
    return arrived;
}

bool X11CaptureBackend::emptyClipboard()
{
    // The text the clipboard holds now is asked for first, so that its owner answers before it
    // learns that it has lost the clipboard; the answer is taken only if it is needed. Both
    // requests go out with the focus request and the keys that follow, in this order. Only stale
    // answers are dropped: a focus request may be on its way.
    DropEventsOf(m_x->display, m_x->before.window);
    m_x->before.ask(m_x->clipboard, m_x->utf8String);
    m_x->beforeState = Connection::Before::Asked;
    XSetSelectionOwner(m_x->display, m_x->clipboard, None, CurrentTime);
    m_x->emptied = true;
    m_x->emptiedBy = CurrentTime;
    m_x->heardOwner = 0; // an owner heard before is none now
    // The server's time just after the emptying, heard by whoever waits next.
    m_x->askTime();
    return true;
}

void X11CaptureBackend::receiveTextBefore(std::size_t limit)
{
    // Its owner answered at the emptying; one that sends it in pieces waits for us to take them,
    // and some programs do nothing else meanwhile (Tk). So the answer is taken at the first look
    // at the clipboard after the emptying, whether it is needed or not, or earlier while the
    // focus is awaited.
    m_x->beforeLimit = limit;
    if (m_x->beforeState != Connection::Before::Asked)
        return;
    const bool known =
        m_x->before.receive(m_x->utf8String, m_x->incr, m_x->beforeText, limit,
                            std::chrono::milliseconds(250), false) == Receiver::Answer::Text;
    m_x->beforeState = known ? Connection::Before::Known : Connection::Before::Unknown;
}

bool X11CaptureBackend::textBeforeEmptying(std::string &text, std::size_t limit)
{
    receiveTextBefore(limit);
    if (m_x->beforeState != Connection::Before::Known)
        return false;
    text.assign(m_x->beforeText, 0, std::min(limit, m_x->beforeText.size()));
    return true;
}

bool X11CaptureBackend::ownerIsBystander()
{
    // A copy is made by the program that was sent the keys, or by hand in the one the user works
    // in; a clipboard manager or a tool in the background owns the clipboard from a client of
    // its own.
    // The program sent the keys is asked first: it is the usual owner, and asking costs nothing.
    const XID owner = m_x->clientOf(m_x->textOwner);
    if (owner == 0 || m_x->clientOf(m_x->askedWindow) == owner)
        return false;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_x->display, &focus, &revert);
    return m_x->clientOf(focus) != owner && m_x->clientOf(m_x->activeWindow()) != owner;
}

long X11CaptureBackend::windowProcess(WindowId id)
{
    return id != 0 ? knownWindow(id).process : 0;
}

long X11CaptureBackend::readWindowProcess(WindowId id)
{
    if (!m_x->processIds)
        return 0;
    ErrorTrap trap(m_x->display);
    const long pid = m_x->processOf(ToWindow(id));
    return trap.seen() ? 0 : pid;
}

CaptureBackend::WindowClass X11CaptureBackend::windowClass(WindowId id)
{
    return id != 0 ? knownWindow(id).windowClass : WindowClass{};
}

CaptureBackend::WindowClass X11CaptureBackend::readWindowClass(WindowId id)
{
    WindowClass result;
    ErrorTrap trap(m_x->display);
    const Window bearer = m_x->classBearer(ToWindow(id));
    if (bearer == 0)
        return result;
    XClassHint hint{};
    if (XGetClassHint(m_x->display, bearer, &hint) != 0) {
        result.instance = hint.res_name != nullptr ? hint.res_name : "";
        result.className = hint.res_class != nullptr ? hint.res_class : "";
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    // Every request above got a reply, so any error has arrived.
    if (trap.seen())
        return {};
    return result;
}

CaptureBackend::ClipboardRead X11CaptureBackend::readClipboardText(std::string &text,
                                                                   std::size_t limit)
{
    receiveTextBefore(limit);
    DropEvents(m_x->display, 0);
    // An owner just heard of need not be asked for.
    m_x->textOwner = std::exchange(m_x->heardOwner, 0);
    return readText(m_x->clipboard, text, limit, m_x->textOwner);
}

CaptureBackend::ClipboardRead X11CaptureBackend::readSelectionText(std::string &text,
                                                                   std::size_t limit)
{
    // An answer about the clipboard still on its way is kept for whoever waits for it.
    DropEvents(m_x->display, m_x->before.window);
    // The time at which the owner took the selection is asked for together with the text, and
    // arrives before it.
    m_x->stamps.ask(XA_PRIMARY, m_x->timestamp);
    m_x->selectionTime = 0;
    m_x->selectionOwner = 0;
    const ClipboardRead read = readText(XA_PRIMARY, text, limit, m_x->selectionOwner);
    if (read == ClipboardRead::NoOwner)
        m_x->selectionOwner = 0;
    else if (read != ClipboardRead::NoText)
        m_x->stamps.receiveTime(m_x->selectionTime, std::chrono::milliseconds(250));
    return read;
}

CaptureBackend::SelectionStamp X11CaptureBackend::selectionStamp()
{
    return {m_x->selectionOwner, m_x->selectionTime};
}

bool X11CaptureBackend::selectionFromTarget()
{
    const XID owner = m_x->clientOf(m_x->selectionOwner);
    return owner != 0 && owner == m_x->clientOf(m_x->focusTarget);
}

CaptureBackend::ClipboardRead X11CaptureBackend::readText(unsigned long selection,
                                                          std::string &text, std::size_t limit,
                                                          unsigned long &owner)
{
    Display *display = m_x->display;
    // UTF-8 first; Latin-1 from owners that offer nothing else. `owner` is asked for unless it is
    // known already.
    bool first = true;
    for (Atom target : {m_x->utf8String, static_cast<Atom>(XA_STRING)}) {
        m_x->current.ask(selection, target);
        if (first && owner == 0) {
            // Asked right behind the request, so that both travel together.
            owner = XGetSelectionOwner(display, selection);
            if (owner == None) {
                text.clear();
                return ClipboardRead::NoOwner;
            }
        }
        first = false;
        XFlush(display);
        switch (
            m_x->current.receive(target, m_x->incr, text, limit, std::chrono::seconds(2), true)) {
        case Receiver::Answer::Text:
            return ClipboardRead::Text;
        case Receiver::Answer::Refused:
            continue;
        case Receiver::Answer::Other:
            // Some owners send whatever they hold: the toolkit looks at the forms on offer and
            // decides.
            return ClipboardRead::Unsupported;
        case Receiver::Answer::Missing:
            // An owner that does not answer ends the request like one without text.
            return ClipboardRead::NoText;
        }
    }
    return ClipboardRead::NoText;
}
