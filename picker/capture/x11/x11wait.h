// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

#include <poll.h>

#include <X11/Xlib.h>

// What our Xlib connections need: a trap for the errors of requests about windows that may vanish
// or keys that another program holds, and waits that end on the server's events. Plain Xlib.
namespace x11 {

// Errors on our own connection (a window closed while we look at it) must not end the process,
// which is what Xlib's default handler does. Calls that can meet a vanished window run under a
// trap that swallows and records the error. Requests that get a reply report their errors before
// they return; for the others failed() waits for the server. A settled trap takes exactly the
// errors of the requests made while it lives: it waits for the server as it begins and ends.
class ErrorTrap
{
public:
    explicit ErrorTrap(Display *display, bool settled = false)
        : m_display(display), m_settled(settled)
    {
        if (m_settled)
            XSync(m_display, False);
        s_seen = false;
        m_previous = XSetErrorHandler([](Display *, XErrorEvent *) -> int {
            s_seen = true;
            return 0;
        });
    }
    ~ErrorTrap()
    {
        if (m_settled)
            XSync(m_display, False);
        XSetErrorHandler(m_previous);
    }
    ErrorTrap(const ErrorTrap &) = delete;
    ErrorTrap &operator=(const ErrorTrap &) = delete;

    // Waits for the server to answer everything sent so far and tells whether any of it failed.
    bool failed()
    {
        XSync(m_display, False);
        return s_seen;
    }
    // Whether a request failed, when every request made got a reply: no wait.
    bool seen() const { return s_seen; }

private:
    static inline bool s_seen = false;
    Display *m_display;
    bool m_settled;
    XErrorHandler m_previous;
};

using Clock = std::chrono::steady_clock;

// Takes the first queued or arriving event that `wanted` accepts and leaves the others queued;
// false at the deadline.
template <typename Wanted>
bool waitForEvent(Display *display, Clock::time_point deadline, XEvent &event, Wanted wanted)
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

// Drops the queued events that `wanted` accepts.
template <typename Wanted> void dropEvents(Display *display, Wanted wanted)
{
    XEvent event{};
    while (waitForEvent(display, Clock::now(), event, wanted)) {
    }
}

// Drops the queued events of every window but `keep`.
inline void dropEventsBut(Display *display, Window keep)
{
    dropEvents(display, [keep](const XEvent &e) { return e.xany.window != keep; });
}

// A window of ours, never shown, whose property changes are heard.
inline Window createListener(Display *display)
{
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    return XCreateWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, 0, InputOnly,
                         CopyFromParent, CWEventMask, &attributes);
}

} // namespace x11
