// SPDX-License-Identifier: MIT
#include "picker/capture/x11/x11windows.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <utility>
#include <vector>

#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>

#include "picker/capture/x11/x11property.h"
#include "picker/capture/x11/x11wait.h"

namespace x11 {

WindowTree::WindowTree(Display *display, Window own)
    : m_display(display), m_root(DefaultRootWindow(display)),
      m_netActiveWindow(XInternAtom(display, "_NET_ACTIVE_WINDOW", False)),
      m_wmState(XInternAtom(display, "WM_STATE", False))
{
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XResQueryExtension(display, &event, &error) || !XResQueryVersion(display, &major, &minor))
        return;
    int clientCount = 0;
    XResClient *clients = nullptr;
    if (XResQueryClients(display, &clientCount, &clients) != 0 && clientCount > 0)
        m_resourceMask = clients[0].resource_mask;
    XFree(clients);
    // A server on another machine, or in another process namespace, names other processes.
    m_processIds = (major > 1 || (major == 1 && minor >= 2)) &&
                   processOf(own) == static_cast<long>(::getpid());
}

Window WindowTree::activeWindow() const
{
    return X11Property(m_display, m_root, m_netActiveWindow, 1, XA_WINDOW).first(XA_WINDOW);
}

Window WindowTree::focused() const
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    return focus;
}

Window WindowTree::focusedForeign(const std::function<bool(WindowId)> &isOwn) const
{
    ErrorTrap trap(m_display);
    const Window focus = focused();
    if (focus == PointerRoot) {
        Window rootReturn = 0;
        Window child = 0;
        int rootX = 0;
        int rootY = 0;
        int x = 0;
        int y = 0;
        unsigned int mask = 0;
        if (XQueryPointer(m_display, m_root, &rootReturn, &child, &rootX, &rootY, &x, &y, &mask) &&
            child != 0 && !isOwn(child))
            return child;
    } else if (focus != None && focus != m_root) {
        const Window top = topLevelOf(focus);
        if (top != 0 && !isOwn(top) && !trap.failed())
            return focus;
    }
    return 0;
}

Window WindowTree::windowAt(int x, int y) const
{
    ErrorTrap trap(m_display);
    Window child = 0;
    int childX = 0;
    int childY = 0;
    if (!XTranslateCoordinates(m_display, m_root, m_root, x, y, &childX, &childY, &child) ||
        child == 0)
        return 0;
    const Window client = clientBelow(child);
    return trap.failed() ? 0 : client;
}

Window WindowTree::parentOf(Window window) const
{
    X11Tree tree(m_display, window);
    return tree.read() ? tree.parent() : 0;
}

bool WindowTree::hasProperty(Window window, Atom property) const
{
    return X11Property(m_display, window, property).exists();
}

Window WindowTree::topLevelOf(Window window) const
{
    for (int depth = 0; window != 0 && depth < 64; ++depth) {
        const Window parent = parentOf(window);
        if (parent == m_root)
            return window;
        window = parent;
    }
    return 0;
}

bool WindowTree::isInside(Window window, Window ancestor) const
{
    for (int depth = 0; window != 0 && depth < 64; ++depth) {
        if (window == ancestor)
            return true;
        if (window == m_root)
            return false;
        window = parentOf(window);
    }
    return false;
}

Window WindowTree::clientBelow(Window frame) const
{
    std::vector<Window> level{frame};
    for (int depth = 0; depth < 4 && !level.empty(); ++depth) {
        std::vector<Window> next;
        for (const Window window : level) {
            if (hasProperty(window, m_wmState))
                return window;
            const X11Tree tree(m_display, window);
            next.insert(next.end(), tree.children().begin(), tree.children().end());
        }
        next.resize(std::min<std::size_t>(next.size(), 256));
        level = std::move(next);
    }
    return frame;
}

Window WindowTree::classBearer(Window window) const
{
    for (Window w = window; w != 0 && w != m_root;) {
        if (hasProperty(w, XA_WM_CLASS))
            return w;
        const Window parent = parentOf(w);
        if (parent == m_root) {
            const Window client = clientBelow(w);
            return client != w && hasProperty(client, XA_WM_CLASS) ? client : 0;
        }
        w = parent;
    }
    return 0;
}

XID WindowTree::clientOf(Window window) const
{
    if (m_resourceMask == 0 || window == None || window == PointerRoot || window == m_root)
        return 0;
    return window & ~m_resourceMask;
}

long WindowTree::processOf(Window window) const
{
    if (window == None || window == PointerRoot || window == m_root)
        return 0;
    XResClientIdSpec query{window, XRES_CLIENT_ID_PID_MASK};
    long count = 0;
    XResClientIdValue *values = nullptr;
    long pid = 0;
    if (XResQueryClientIds(m_display, 1, &query, &count, &values) == Success) {
        for (long i = 0; i < count; ++i) {
            // Each answer names what it was asked, its length and its value.
            const auto &[asked, length, value] = values[i];
            if (asked.mask == XRES_CLIENT_ID_PID_MASK)
                pid = std::max<long>(XResGetClientPid(&values[i]), 0);
        }
    }
    XResClientIdsDestroy(count, values);
    return pid;
}

CaptureBackend::WindowClass WindowTree::readClass(Window window) const
{
    CaptureBackend::WindowClass result;
    ErrorTrap trap(m_display);
    const Window bearer = classBearer(window);
    if (bearer == 0)
        return result;
    XClassHint hint{};
    if (XGetClassHint(m_display, bearer, &hint) != 0) {
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

void WindowTree::learn(Window window)
{
    m_known.window = 0;
    const CaptureBackend::WindowClass found = readClass(window);
    long pid = 0;
    if (m_processIds) {
        ErrorTrap trap(m_display);
        pid = processOf(window);
        if (trap.seen())
            pid = 0;
    }
    // A window that is gone, or going, tells nothing: nothing is kept for its id.
    const bool told = pid != 0 || !found.instance.empty() || !found.className.empty();
    m_known = {told ? window : 0, found, pid};
}

const WindowTree::KnownWindow &WindowTree::known(Window window)
{
    // A window keeps its class and its program; but once its program has ended, its id can
    // name another program's window.
    const long pid = m_known.process;
    const bool ended = pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM;
    if (window != m_known.window || ended)
        learn(window);
    return m_known;
}

} // namespace x11
