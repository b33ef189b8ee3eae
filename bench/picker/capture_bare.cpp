// SPDX-License-Identifier: MIT
#include "bench/picker/capture_bare.h"

#include <chrono>
#include <thread>

#include <poll.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>

struct BareCapture::Impl
{
    Display *display = nullptr;
    Window root = 0;
    Window requestor = 0;
    Window button = 0;
    int buttonX = 0;
    int buttonY = 0;
    Atom clipboard = 0;
    Atom utf8 = 0;
    Atom property = 0;
    Atom netActive = 0;
    int fixesEvent = 0;

    Window activeWindow() const
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        Window active = 0;
        if (XGetWindowProperty(display, root, netActive, 0, 1, False, XA_WINDOW, &type, &format,
                               &count, &after, &data) == Success &&
            data != nullptr && count == 1)
            active = static_cast<Window>(*reinterpret_cast<unsigned long *>(data));
        if (data != nullptr)
            XFree(data);
        return active;
    }

    bool focusInside(Window target) const
    {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        while (focus != 0 && focus != PointerRoot && focus != root) {
            if (focus == target)
                return true;
            Window rootReturn = 0;
            Window parent = 0;
            Window *children = nullptr;
            unsigned int count = 0;
            if (!XQueryTree(display, focus, &rootReturn, &parent, &children, &count))
                return false;
            if (children != nullptr)
                XFree(children);
            focus = parent;
        }
        return false;
    }

    void requestActive(Window window) const
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = netActive;
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2;
        XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XFlush(display);
    }

    // Waits for the next event of the given type; false after two seconds.
    bool waitFor(int type, XEvent &event) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        for (;;) {
            while (XPending(display) > 0) {
                XNextEvent(display, &event);
                if (event.type == type)
                    return true;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            pollfd connection{ConnectionNumber(display), POLLIN, 0};
            poll(&connection, 1, static_cast<int>(left.count()) + 1);
        }
    }
};

BareCapture::BareCapture() : m_impl(new Impl), m_display(nullptr)
{
    Impl &x = *m_impl;
    x.display = XOpenDisplay(nullptr);
    if (x.display == nullptr)
        return;
    int errorBase = 0;
    if (!XFixesQueryExtension(x.display, &x.fixesEvent, &errorBase))
        return;
    x.root = DefaultRootWindow(x.display);
    x.requestor = XCreateSimpleWindow(x.display, x.root, 0, 0, 1, 1, 0, 0, 0);
    x.clipboard = XInternAtom(x.display, "CLIPBOARD", False);
    x.utf8 = XInternAtom(x.display, "UTF8_STRING", False);
    x.property = XInternAtom(x.display, "BARE_CAPTURE", False);
    x.netActive = XInternAtom(x.display, "_NET_ACTIVE_WINDOW", False);
    XFixesSelectSelectionInput(x.display, x.requestor, x.clipboard,
                               XFixesSetSelectionOwnerNotifyMask);

    x.button = XCreateSimpleWindow(x.display, x.root, 5, 400, 120, 40, 1, 0, 0xffffff);
    XStoreName(x.display, x.button, "bare button");
    XSelectInput(x.display, x.button, ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
    XMapRaised(x.display, x.button);
    XEvent event;
    if (!x.waitFor(MapNotify, event))
        return;
    // Where the window manager put it.
    Window child = 0;
    XTranslateCoordinates(x.display, x.button, x.root, 60, 20, &x.buttonX, &x.buttonY, &child);
    XSync(x.display, False);
    m_display = x.display;
}

BareCapture::~BareCapture()
{
    if (m_impl->display != nullptr)
        XCloseDisplay(m_impl->display);
    delete m_impl;
}

bool BareCapture::activate(std::uint64_t window)
{
    Impl &x = *m_impl;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
        x.requestActive(static_cast<Window>(window));
        for (int i = 0; i < 50; ++i) {
            if (x.activeWindow() == window && x.focusInside(static_cast<Window>(window)))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return false;
}

std::string BareCapture::clickAndCopyFrom(std::uint64_t id)
{
    Impl &x = *m_impl;
    const Window target = static_cast<Window>(id);
    // Drop what is queued from earlier rounds.
    XSync(x.display, True);

    XTestFakeMotionEvent(x.display, -1, x.buttonX, x.buttonY, CurrentTime);
    XTestFakeButtonEvent(x.display, 1, True, CurrentTime);
    XTestFakeButtonEvent(x.display, 1, False, CurrentTime);
    XFlush(x.display);
    XEvent event;
    if (!x.waitFor(ButtonRelease, event))
        return {};

    XSetSelectionOwner(x.display, x.clipboard, None, CurrentTime);
    x.requestActive(target);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (!(x.activeWindow() == target && x.focusInside(target))) {
        if (std::chrono::steady_clock::now() >= deadline)
            return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const KeyCode control = XKeysymToKeycode(x.display, XK_Control_L);
    const KeyCode letterC = XKeysymToKeycode(x.display, XK_c);
    XTestFakeKeyEvent(x.display, control, True, CurrentTime);
    XTestFakeKeyEvent(x.display, letterC, True, CurrentTime);
    XTestFakeKeyEvent(x.display, letterC, False, CurrentTime);
    XTestFakeKeyEvent(x.display, control, False, CurrentTime);
    XFlush(x.display);

    // The owner change of our own emptying comes first; wait for a real owner.
    for (;;) {
        if (!x.waitFor(x.fixesEvent + XFixesSelectionNotify, event))
            return {};
        const auto &notify = reinterpret_cast<const XFixesSelectionNotifyEvent &>(event);
        if (notify.owner != None)
            break;
    }
    XConvertSelection(x.display, x.clipboard, x.utf8, x.property, x.requestor, CurrentTime);
    XFlush(x.display);
    if (!x.waitFor(SelectionNotify, event) || event.xselection.property == None)
        return {};
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    std::string text;
    if (XGetWindowProperty(x.display, x.requestor, x.property, 0, 32000 / 4 + 1, True,
                           AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
        data != nullptr)
        text.assign(reinterpret_cast<const char *>(data), count);
    if (data != nullptr)
        XFree(data);
    return text;
}
