// SPDX-License-Identifier: MIT
#include "picker/capture/x11/x11shortcuts.h"

#include <algorithm>
#include <thread>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "picker/capture/x11/x11wait.h"

namespace {

bool isLockKeysym(KeySym keysym)
{
    return keysym == XK_Caps_Lock || keysym == XK_Shift_Lock || keysym == XK_Num_Lock ||
           keysym == XK_Scroll_Lock;
}

} // namespace

struct X11Shortcuts::Connection
{
    Display *display = nullptr;
    Window root = 0;
    // The modifier masks of this keyboard's Alt, Super and Num Lock.
    unsigned alt = Mod1Mask;
    unsigned super = Mod4Mask;
    unsigned numLock = Mod2Mask;
    // The keys that modify (Ctrl, Alt, Shift, Super …), the locks left out.
    std::vector<KeyCode> modifierKeys;

    struct Grab
    {
        int id;
        KeyCode key;
        unsigned modifiers;
    };
    std::vector<Grab> grabs;
    KeyCode lastKey = 0;
    // The last combination's key, until it has been seen up.
    KeyCode heldKey = 0;

    bool isDown(KeyCode code) const
    {
        char keys[32] = {};
        XQueryKeymap(display, keys);
        return (keys[code / 8] & (1 << (code % 8))) != 0;
    }

    ~Connection()
    {
        if (display != nullptr)
            XCloseDisplay(display);
    }

    void readModifierMap()
    {
        XModifierKeymap *map = XGetModifierMapping(display);
        if (map == nullptr)
            return;
        bool altFound = false;
        bool superFound = false;
        bool numLockFound = false;
        for (int modifier = 0; modifier < 8; ++modifier) {
            for (int k = 0; k < map->max_keypermod; ++k) {
                const KeyCode code = map->modifiermap[modifier * map->max_keypermod + k];
                if (code == 0)
                    continue;
                const KeySym keysym = XkbKeycodeToKeysym(display, code, 0, 0);
                const unsigned mask = 1u << modifier;
                if (!isLockKeysym(keysym))
                    modifierKeys.push_back(code);
                if (modifier < 3)
                    continue; // Shift, Lock and Control are what they are
                if ((keysym == XK_Alt_L || keysym == XK_Alt_R || keysym == XK_Meta_L) &&
                    !altFound) {
                    alt = mask;
                    altFound = true;
                } else if ((keysym == XK_Super_L || keysym == XK_Super_R) && !superFound) {
                    super = mask;
                    superFound = true;
                } else if (keysym == XK_Num_Lock && !numLockFound) {
                    numLock = mask;
                    numLockFound = true;
                }
            }
        }
        XFreeModifiermap(map);
    }

    unsigned maskOf(unsigned modifiers) const
    {
        unsigned mask = 0;
        if ((modifiers & KeyCombination::Shift) != 0)
            mask |= ShiftMask;
        if ((modifiers & KeyCombination::Ctrl) != 0)
            mask |= ControlMask;
        if ((modifiers & KeyCombination::Alt) != 0)
            mask |= alt;
        if ((modifiers & KeyCombination::Super) != 0)
            mask |= super;
        return mask;
    }

    // The states of the locks that must not change what a combination does.
    std::vector<unsigned> lockStates() const
    {
        return {0u, static_cast<unsigned>(LockMask), numLock,
                static_cast<unsigned>(LockMask) | numLock};
    }
};

std::unique_ptr<X11Shortcuts> X11Shortcuts::open(const char *displayName)
{
    auto x = std::make_unique<Connection>();
    x->display = XOpenDisplay(displayName);
    if (x->display == nullptr)
        return nullptr;
    x->root = DefaultRootWindow(x->display);
    x->readModifierMap();
    return std::unique_ptr<X11Shortcuts>(new X11Shortcuts(std::move(x)));
}

X11Shortcuts::X11Shortcuts(std::unique_ptr<Connection> connection) : m_x(std::move(connection)) {}

X11Shortcuts::~X11Shortcuts()
{
    ungrabAll();
}

bool X11Shortcuts::grab(int id, const KeyCombination &keys)
{
    Display *display = m_x->display;
    const KeySym keysym = XStringToKeysym(keys.key.c_str());
    const KeyCode key = keysym != NoSymbol ? XKeysymToKeycode(display, keysym) : 0;
    if (key == 0)
        return false;
    const unsigned modifiers = m_x->maskOf(keys.modifiers);
    // Xlib reports a refused grab (BadAccess: another client holds it) through the error handler.
    x11::ErrorTrap trap(display, true);
    for (const unsigned locks : m_x->lockStates())
        XGrabKey(display, key, modifiers | locks, m_x->root, False, GrabModeAsync, GrabModeAsync);
    if (trap.failed()) {
        // Whatever part of it was had goes back: the keys belong to the program that holds them.
        for (const unsigned locks : m_x->lockStates())
            XUngrabKey(display, key, modifiers | locks, m_x->root);
        return false;
    }
    m_x->grabs.push_back({id, key, modifiers});
    return true;
}

void X11Shortcuts::ungrabAll()
{
    Display *display = m_x->display;
    x11::ErrorTrap trap(display, true);
    for (const Connection::Grab &grab : m_x->grabs) {
        for (const unsigned locks : m_x->lockStates())
            XUngrabKey(display, grab.key, grab.modifiers | locks, m_x->root);
    }
    m_x->grabs.clear();
}

int X11Shortcuts::connectionNumber() const
{
    return ConnectionNumber(m_x->display);
}

void X11Shortcuts::dispatch(const std::function<void(int id)> &pressed)
{
    Display *display = m_x->display;
    const unsigned relevant = ShiftMask | ControlMask | m_x->alt | m_x->super;
    while (XPending(display) > 0) {
        XEvent event{};
        XNextEvent(display, &event);
        if (event.type != KeyPress)
            continue;
        // The grab holds the whole keyboard until the key goes up; given back at once, the keys
        // that the pick sends reach the focused window.
        XUngrabKeyboard(display, event.xkey.time);
        XFlush(display);
        const auto found =
            std::find_if(m_x->grabs.begin(), m_x->grabs.end(), [&](const Connection::Grab &grab) {
                return grab.key == event.xkey.keycode &&
                       grab.modifiers == (event.xkey.state & relevant);
            });
        if (found == m_x->grabs.end() || found->key == m_x->heldKey)
            continue;
        m_x->lastKey = found->key;
        m_x->heldKey = found->key;
        pressed(found->id);
    }
}

bool X11Shortcuts::waitForRelease(std::chrono::milliseconds limit)
{
    Display *display = m_x->display;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        char keys[32] = {};
        XQueryKeymap(display, keys);
        auto down = [&keys](KeyCode code) {
            return (keys[code / 8] & (1 << (code % 8))) != 0;
        };
        // The key up, the next press of it is a press of its own, whatever the modifiers do.
        if (m_x->heldKey != 0 && !down(m_x->heldKey))
            m_x->heldKey = 0;
        const bool held = (m_x->lastKey != 0 && down(m_x->lastKey)) ||
                          std::any_of(m_x->modifierKeys.begin(), m_x->modifierKeys.end(), down);
        if (!held)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool X11Shortcuts::awaitingRelease() const
{
    return m_x->heldKey != 0;
}

void X11Shortcuts::keyReleased()
{
    if (m_x->heldKey != 0 && !m_x->isDown(m_x->heldKey))
        m_x->heldKey = 0;
}
