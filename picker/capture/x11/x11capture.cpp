// SPDX-License-Identifier: MIT
#include "picker/capture/x11/x11capture.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "picker/capture/x11/x11focus.h"
#include "picker/capture/x11/x11selection.h"
#include "picker/capture/x11/x11wait.h"
#include "picker/capture/x11/x11windows.h"

namespace {

struct CloseDisplay
{
    void operator()(Display *display) const { XCloseDisplay(display); }
};

class X11Backend final : public X11CaptureBackend
{
public:
    X11Backend(Display *display, int inputOpcode, bool underWayland, OwnWindowTest isOwn,
               std::function<void()> flushToolkit)
        : m_display(display), m_stamp(x11::createListener(display)), m_windows(display, m_stamp),
          m_selections(display, m_stamp), m_focus(display, m_windows, m_stamp),
          m_inputOpcode(inputOpcode), m_underWayland(underWayland), m_isOwn(std::move(isOwn)),
          m_flushToolkit(std::move(flushToolkit))
    {
        activeWindowChanged(CurrentTime);
    }

    bool hasCopyKeys() const { return m_focus.hasCopyKeys(); }

    void joinToolkit(OwnWindowTest isOwn, std::function<void()> flushToolkit) override
    {
        m_isOwn = std::move(isOwn);
        m_flushToolkit = std::move(flushToolkit);
    }

    WindowId rootWindow() const override { return m_windows.root(); }
    int inputExtensionOpcode() const override { return m_inputOpcode; }
    void rootPropertyChanged(std::uint32_t atom, unsigned long time) override
    {
        if (atom == m_windows.activeWindowAtom())
            activeWindowChanged(time);
        else
            m_focus.rootPropertyChanged(atom);
    }
    void pointerPressed() override
    {
        if (!m_focus.hasWindowManager())
            activeBeforeUs();
    }

    WindowId activeBeforeUs() override
    {
        // With a window manager the changes of the active window are followed as they come.
        // Without one the focus is wherever the last XSetInputFocus put it, or follows the
        // pointer.
        if (!m_focus.hasWindowManager()) {
            if (const Window focused = m_windows.focusedForeign(m_isOwn))
                m_lastForeign = focused;
        } else if (m_underWayland && m_noneActive) {
            // A Wayland-native window may have the focus now: no X window is known to be the
            // one the user works in, even during what may turn out a passage between two.
            return 0;
        }
        return m_lastForeign;
    }
    bool knowsNoneBefore() override
    {
        // The window manager names every X window that takes the focus: under XWayland a 0
        // from activeBeforeUs() is a Wayland-native window, or none at all.
        return m_underWayland && m_focus.hasWindowManager();
    }
    WindowId windowAt(int x, int y) override
    {
        // Under XWayland the X server does not know the Wayland-native windows, which may cover
        // the point: the X window it names there may be hidden from the user.
        return m_underWayland ? 0 : m_windows.windowAt(x, y);
    }
    WindowClass windowClass(WindowId window) override
    {
        return window != 0 ? m_windows.known(window).windowClass : WindowClass{};
    }
    long windowProcess(WindowId window) override
    {
        return window != 0 ? m_windows.known(window).process : 0;
    }

    bool giveFocus(WindowId window) override { return requestFocus(window) && awaitFocus(); }
    bool requestFocus(WindowId window) override
    {
        return m_focus.requestFocus(window, m_selections.beforeWindow(), m_flushToolkit);
    }
    bool awaitFocus() override
    {
        // The answer about the clipboard before the emptying is taken while there is time.
        return m_focus.awaitFocus(s_activationTimeout, m_selections.beforeWindow(),
                                  [this] { m_selections.takeTextBeforeIfAnswered(); });
    }
    bool keepFocus(WindowId window) override { return m_focus.keepFocus(window); }
    bool sendCopyKeys() override
    {
        m_focus.passClipboardEmptying();
        // Asked before the keys, so that the copy they bring is heard.
        m_selections.hearCopy();
        m_focus.sendCopyKeys();
        return true;
    }

    ClipboardRead readSelectionText(std::string &text, std::size_t limit) override
    {
        return m_selections.readSelectionText(text, limit);
    }
    SelectionStamp selectionStamp() override
    {
        return {m_selections.selectionOwner(), m_selections.selectionTime()};
    }
    bool selectionFromTarget() override
    {
        const XID owner = m_windows.clientOf(m_selections.selectionOwner());
        return owner != 0 && owner == m_windows.clientOf(m_focus.focusTarget());
    }
    bool emptyClipboard() override
    {
        m_selections.emptyClipboard();
        m_focus.clipboardEmptied();
        return true;
    }
    bool waitForCopy(std::chrono::milliseconds wait) override
    {
        return m_selections.waitForCopy(wait);
    }
    ClipboardRead readClipboardText(std::string &text, std::size_t limit) override
    {
        return m_selections.readClipboardText(text, limit);
    }
    bool textBeforeEmptying(std::string &text, std::size_t limit) override
    {
        return m_selections.textBeforeEmptying(text, limit);
    }
    bool ownerIsBystander() override
    {
        // A copy is made by the program that was sent the keys, or by hand in the one the user
        // works in; a clipboard manager or a tool in the background owns the clipboard from a
        // client of its own. The program sent the keys is asked first: it is the usual owner,
        // and asking costs nothing.
        const XID owner = m_windows.clientOf(m_selections.textOwner());
        if (owner == 0 || m_windows.clientOf(m_focus.askedWindow()) == owner)
            return false;
        return m_windows.clientOf(m_windows.focused()) != owner &&
               m_windows.clientOf(m_windows.activeWindow()) != owner;
    }

private:
    void activeWindowChanged(Time time)
    {
        // The window manager passes through 0 between two windows, and our own windows are never
        // a target: both leave the last foreign window in place.
        const Window active = m_windows.activeWindow();
        // Under XWayland the compositor sets no X window active while a Wayland-native window
        // has the focus (mutter 43: 0 from the moment such a window takes the focus until an X
        // window does). Clicked from there, the palette would find the last X window the user
        // left, and copy a stale value from it: a 0 that stood longer than a passage between
        // two windows forgets it.
        if (m_underWayland && m_noneActive && active != 0 && noneStood(time))
            m_lastForeign = 0;
        if (active == 0) {
            if (!std::exchange(m_noneActive, true))
                m_noneSince = time;
            return;
        }
        m_noneActive = false;
        if (m_isOwn(active))
            return;
        m_lastForeign = active;
        // The window the user works in is the next pick's likely target: what tells a terminal
        // is read now rather than after the click. It is read at every activation, as a new
        // window can have the id of one that has gone.
        m_windows.learn(active);
    }
    // Whether the 0 that the change at `time` ends was more than a passage. A time not known
    // (the 0 was there when the backend started) counts as standing.
    bool noneStood(Time time) const
    {
        if (time == CurrentTime || m_noneSince == CurrentTime)
            return true;
        // Server times are milliseconds in 32 bits, and wrap.
        const auto stood = static_cast<std::uint32_t>(time - m_noneSince);
        return stood >= s_passage.count();
    }

    std::unique_ptr<Display, CloseDisplay> m_display;
    // A window of ours, never shown: server times are read from changes of its property, the
    // window manager writes its frame extents to it, and the clipboard's new owners are heard
    // through it.
    Window m_stamp;
    x11::WindowTree m_windows;
    x11::Selections m_selections;
    x11::FocusHandoff m_focus;
    int m_inputOpcode;
    // The X server is XWayland: the Wayland-native windows beside ours are not X windows.
    bool m_underWayland;
    // No window is active (_NET_ACTIVE_WINDOW is 0), since the server's time m_noneSince.
    bool m_noneActive = false;
    Time m_noneSince = CurrentTime;
    OwnWindowTest m_isOwn;
    std::function<void()> m_flushToolkit;
    WindowId m_lastForeign = 0;
    // How long giveFocus waits for a window manager to hand over the focus.
    static constexpr std::chrono::milliseconds s_activationTimeout{500};
    // The longest 0 that counts as a passage between two windows: a window manager sets the next
    // one in the same turn, within a millisecond or two; a user who turns to another window and
    // then clicks the palette takes far longer.
    static constexpr std::chrono::milliseconds s_passage{50};
};

} // namespace

std::unique_ptr<X11CaptureBackend> X11CaptureBackend::open(const char *displayName,
                                                           OwnWindowTest isOwn,
                                                           std::function<void()> flushToolkit)
{
    std::unique_ptr<Display, CloseDisplay> display(XOpenDisplay(displayName));
    if (display == nullptr)
        return nullptr;
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display.get(), &eventBase, &errorBase, &major, &minor))
        return nullptr;
    int inputOpcode = -1;
    if (!XQueryExtension(display.get(), "XInputExtension", &inputOpcode, &eventBase, &errorBase))
        inputOpcode = -1;
    // XWayland announces itself through an extension since version 23.1; an older one (Debian 12
    // has 22.1) is told by the Wayland session it runs in.
    int opcode = 0;
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    const bool underWayland =
        (wayland != nullptr && *wayland != '\0') ||
        XQueryExtension(display.get(), "XWAYLAND", &opcode, &eventBase, &errorBase);
    auto backend = std::make_unique<X11Backend>(display.release(), inputOpcode, underWayland,
                                                std::move(isOwn), std::move(flushToolkit));
    if (!backend->hasCopyKeys())
        return nullptr;
    return backend;
}
