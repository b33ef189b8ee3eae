// SPDX-License-Identifier: MIT
#include "picker/capture/x11/x11focus.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "picker/capture/x11/x11property.h"
#include "picker/capture/x11/x11wait.h"
#include "picker/capture/x11/x11windows.h"

namespace x11 {

namespace {

// How far server time `later` is past `earlier`, across the wrap of the 32-bit clock.
std::int32_t timePast(Time later, Time earlier)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(later - earlier));
}

} // namespace

bool focusInsideAfter(const XFocusChangeEvent &change, bool before)
{
    if (change.detail == NotifyPointer || change.detail == NotifyPointerRoot ||
        change.detail == NotifyDetailNone)
        return before;
    if (change.type == FocusIn)
        return change.mode == NotifyNormal || change.mode == NotifyUngrab;
    // Moving down to a window inside leaves the focus inside.
    return change.detail == NotifyInferior && change.mode == NotifyNormal ? before : false;
}

FocusHandoff::FocusHandoff(Display *display, const WindowTree &windows, Window stamp)
    : m_display(display), m_windows(windows), m_stamp(stamp),
      m_stampProperty(XInternAtom(display, "QUILLON_STAMP", False)),
      m_netActiveWindow(windows.activeWindowAtom()),
      m_netSupported(XInternAtom(display, "_NET_SUPPORTED", False)),
      m_netRequestFrameExtents(XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False)),
      m_netFrameExtents(XInternAtom(display, "_NET_FRAME_EXTENTS", False)),
      m_control(XKeysymToKeycode(display, XK_Control_L)),
      m_controlRight(XKeysymToKeycode(display, XK_Control_R)),
      m_letterC(XKeysymToKeycode(display, XK_c))
{
    if (XModifierKeymap *map = XGetModifierMapping(display)) {
        for (int i = 0; i < 8 * map->max_keypermod; ++i) {
            const KeyCode code = map->modifiermap[i];
            const KeySym keysym = code != 0 ? XkbKeycodeToKeysym(display, code, 0, 0) : 0;
            if (code != 0 && i / map->max_keypermod != ControlMapIndex && keysym != XK_Caps_Lock &&
                keysym != XK_Shift_Lock && keysym != XK_Num_Lock && keysym != XK_Scroll_Lock &&
                std::find(m_otherModifiers.begin(), m_otherModifiers.end(), code) ==
                    m_otherModifiers.end())
                m_otherModifiers.push_back(code);
        }
        XFreeModifiermap(map);
    }
    readWindowManager();
}

void FocusHandoff::rootPropertyChanged(Atom atom)
{
    if (atom == m_netSupported)
        readWindowManager();
}

void FocusHandoff::readWindowManager()
{
    X11Property supported(m_display, m_windows.root(), m_netSupported, 4096, XA_ATOM);
    m_windowManager = supported.exists();
    m_frameExtentsAnswered = false;
    if (!m_windowManager || supported.format() != 32 || supported.data() == nullptr)
        return;
    const auto *atoms = reinterpret_cast<const unsigned long *>(supported.data());
    m_frameExtentsAnswered = std::find(atoms, atoms + supported.count(),
                                       m_netRequestFrameExtents) != atoms + supported.count();
}

Time FocusHandoff::serverTime()
{
    askTime();
    return takeTime();
}

void FocusHandoff::askTime()
{
    XChangeProperty(m_display, m_stamp, m_stampProperty, XA_INTEGER, 32, PropModeReplace, nullptr,
                    0);
    XFlush(m_display);
}

Time FocusHandoff::takeTime()
{
    XEvent event{};
    if (!waitForEvent(m_display, Clock::now() + std::chrono::milliseconds(500), event,
                      [this](const XEvent &e) {
                          return e.type == PropertyNotify && e.xproperty.window == m_stamp &&
                                 e.xproperty.atom == m_stampProperty;
                      }))
        return CurrentTime;
    if (m_emptied && m_emptiedBy == CurrentTime)
        m_emptiedBy = event.xproperty.time;
    return event.xproperty.time;
}

void FocusHandoff::askWindowManager(Window window, Atom type, long first, long second)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = first;
    event.xclient.data.l[1] = second;
    XSendEvent(m_display, m_windows.root(), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

bool FocusHandoff::takeFocusIn(Window target, const ErrorTrap &trap)
{
    const Window focus = m_windows.focused();
    if (focus == None || focus == PointerRoot || !m_windows.isInside(focus, target) || trap.seen())
        return false;
    m_askedWindow = focus;
    return true;
}

bool FocusHandoff::requestFocus(Window target, Window spare,
                                const std::function<void()> &flushToolkit)
{
    m_request = {};
    m_heldKeysRead = false;
    if (target == 0)
        return false;
    Display *display = m_display;
    const Window root = m_windows.root();
    // A target closed meanwhile makes the requests below fail, which ends the wait at once.
    ErrorTrap trap(display);

    m_askedWindow = 0;
    m_focusTarget = target;

    if (!m_windowManager) {
        // Requests on one connection are handled in order, so keys sent after this arrive at the
        // new focus without waiting.
        XSetInputFocus(display, target, RevertToParent, CurrentTime);
        if (trap.failed())
            return false;
        m_askedWindow = target;
        m_request = {target, true, true, CurrentTime};
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
    dropEventsBut(display, spare);
    XSelectInput(display, root, PropertyChangeMask);
    XSelectInput(display, target, FocusChangeMask);

    // The request carries the server's time, so the window manager's focus change is newer than
    // the one it made for the click; a late focus request of the picker's loses against it. The
    // toolkit's own requests are flushed while the time is on its way.
    askTime();
    if (flushToolkit)
        flushToolkit();
    const Time requested = takeTime();
    m_latestSeen = CurrentTime;
    // The time's answer has come after any error of the requests above.
    if (trap.seen()) {
        XSelectInput(display, root, NoEventMask);
        return false;
    }
    XDeleteProperty(display, m_stamp, m_netFrameExtents);
    // Source 2: a pager, which the window manager always obeys.
    askWindowManager(target, m_netActiveWindow, 2, static_cast<long>(requested));
    // The window manager handles requests in the order they come: once it has answered this
    // one, it has handled ours and everything before it.
    const bool answers = m_frameExtentsAnswered;
    if (answers)
        askWindowManager(m_stamp, m_netRequestFrameExtents, 0, 0);
    XFlush(display);
    m_request = {target, answers, false, requested};
    return true;
}

bool FocusHandoff::awaitFocus(std::chrono::milliseconds timeout, Window spare,
                              const std::function<void()> &meanwhile)
{
    const Request asked = std::exchange(m_request, {});
    const Window target = asked.window;
    if (target == 0)
        return false;
    if (asked.done)
        return true;
    Display *display = m_display;
    const Window root = m_windows.root();
    ErrorTrap trap(display);
    struct StopListening
    {
        Display *display;
        Window root;
        ~StopListening() { XSelectInput(display, root, NoEventMask); }
    } stopListening{display, root};
    const bool answers = asked.answers;
    const Time requested = asked.time;

    // Keys sent before the focus has arrived go astray: check at every change of the active
    // window or of the target's focus, and every 2 ms at the latest, until the server has moved
    // the input focus into the target. The focus arriving in the target since our request tells
    // it: the window manager has handled the click on the picker before our request, and the
    // picker's own late focus request is older than ours. A round trip after that arrival
    // settles that no later event has taken the focus away again; the keys that are held are
    // read with it. Where the focus was in the target all along, our request's having been
    // handled tells: a window manager that answers has handled it, and everything before it,
    // when it answers; it announces the target as active a little later, which the keys need
    // not wait for. From one that does not answer, the active window changing to the target
    // since the request tells instead.
    auto isNewer = [requested](Time time) {
        return requested == CurrentTime || timePast(time, requested) >= 0;
    };
    bool handled = false;
    bool focusedIn = false;
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        XEvent event{};
        while (waitForEvent(display, Clock::now(), event,
                            [spare](const XEvent &e) { return e.xany.window != spare; })) {
            if ((event.type == FocusIn || event.type == FocusOut) &&
                event.xfocus.window == target) {
                focusedIn = focusInsideAfter(event.xfocus, focusedIn);
                m_heldKeysRead = m_heldKeysRead && focusedIn;
                continue;
            }
            if (event.type != PropertyNotify)
                continue;
            const XPropertyEvent &change = event.xproperty;
            m_latestSeen = change.time;
            if (change.window == m_stamp && change.atom == m_stampProperty && m_emptied &&
                m_emptiedBy == CurrentTime)
                m_emptiedBy = change.time; // the emptying's own time
            else if (change.window == m_stamp && change.atom == m_netFrameExtents &&
                     change.state == PropertyNewValue)
                handled = true;
            else if (!answers && change.window == root && change.atom == m_netActiveWindow &&
                     isNewer(change.time))
                handled = true;
        }
        if (meanwhile)
            meanwhile();
        if (focusedIn && m_heldKeysRead) {
            m_askedWindow = target;
            return true;
        }
        if (focusedIn) {
            // Its answer comes after every event that the server sent before it.
            readHeldKeys();
            continue;
        }
        if (handled && (answers || m_windows.activeWindow() == target) && takeFocusIn(target, trap))
            return true;
        if (trap.seen())
            return false;
        if (Clock::now() >= deadline) {
            // A window manager that lists frame extents but does not answer for our window:
            // from now on the changes of the active window tell.
            if (answers && !handled)
                m_frameExtentsAnswered = false;
            return false;
        }
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, 2);
    }
}

bool FocusHandoff::keepFocus(Window target)
{
    m_request = {};
    m_heldKeysRead = false;
    m_askedWindow = 0;
    m_focusTarget = target;
    if (target == 0)
        return false;
    ErrorTrap trap(m_display);
    return takeFocusIn(target, trap);
}

void FocusHandoff::clipboardEmptied()
{
    m_emptied = true;
    m_emptiedBy = CurrentTime;
    // The server's time just after the emptying, heard by whoever waits next.
    askTime();
}

void FocusHandoff::passClipboardEmptying()
{
    if (!std::exchange(m_emptied, false))
        return;
    // The copy is stamped with the time of the keys, and a clipboard manager may fill the
    // emptied clipboard again stamped with the time of the emptying; within the same millisecond
    // the manager's claim would win over the copy if it came later. So the keys go out once the
    // server's clock has moved past the emptying.
    const Time emptying = m_emptiedBy != CurrentTime ? m_emptiedBy : serverTime();
    m_emptiedBy = CurrentTime;
    // The wait for the focus has usually seen a later time already.
    const Time seen = std::exchange(m_latestSeen, CurrentTime);
    const bool past =
        seen != CurrentTime && emptying != CurrentTime && timePast(seen, emptying) > 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(50);
    while (!past && serverTime() == emptying && Clock::now() < deadline) {
        // Held keys read before this wait may have changed meanwhile.
        m_heldKeysRead = false;
    }
}

void FocusHandoff::readHeldKeys()
{
    XQueryKeymap(m_display, m_heldKeys);
    m_heldKeysRead = true;
}

void FocusHandoff::sendCopyKeys()
{
    // The user may still hold the keys that asked for the pick (Ctrl+Alt+1): the application must
    // see Ctrl+C alone. Held modifiers are let go for the copy and pressed again after it, and a
    // Ctrl that is held already is neither pressed nor let go.
    if (!std::exchange(m_heldKeysRead, false))
        XQueryKeymap(m_display, m_heldKeys);
    auto down = [this](KeyCode code) {
        return code != 0 && (m_heldKeys[code / 8] & (1 << (code % 8))) != 0;
    };
    const bool controlHeld = down(m_control) || down(m_controlRight);
    auto press = [this](KeyCode code, bool pressed) {
        XTestFakeKeyEvent(m_display, code, pressed ? True : False, CurrentTime);
    };
    for (const KeyCode code : m_otherModifiers) {
        if (down(code))
            press(code, false);
    }
    if (!controlHeld)
        press(m_control, true);
    press(m_letterC, true);
    press(m_letterC, false);
    if (!controlHeld)
        press(m_control, false);
    for (const KeyCode code : m_otherModifiers) {
        if (down(code))
            press(code, true);
    }
    XFlush(m_display);
}

} // namespace x11
