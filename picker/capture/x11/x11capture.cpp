// SPDX-License-Identifier: MIT
#include "picker/capture/x11/x11capture.h"

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
    X11Backend(Display *display, int inputOpcode, OwnWindowTest isOwn,
               std::function<void()> flushToolkit)
        : m_display(display), m_stamp(x11::createListener(display)), m_windows(display, m_stamp),
          m_selections(display, m_stamp), m_focus(display, m_windows, m_stamp),
          m_inputOpcode(inputOpcode), m_isOwn(std::move(isOwn)),
          m_flushToolkit(std::move(flushToolkit))
    {
        activeWindowChanged();
    }

    bool hasCopyKeys() const { return m_focus.hasCopyKeys(); }

    void joinToolkit(OwnWindowTest isOwn, std::function<void()> flushToolkit) override
    {
        m_isOwn = std::move(isOwn);
        m_flushToolkit = std::move(flushToolkit);
    }

    WindowId rootWindow() const override { return m_windows.root(); }
    int inputExtensionOpcode() const override { return m_inputOpcode; }
    void rootPropertyChanged(std::uint32_t atom) override
    {
        if (atom == m_windows.activeWindowAtom())
            activeWindowChanged();
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
        }
        return m_lastForeign;
    }
    WindowId windowAt(int x, int y) override { return m_windows.windowAt(x, y); }
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
    void activeWindowChanged()
    {
        // The window manager passes through 0 between two windows, and our own windows are never
        // a target: both leave the last foreign window in place.
        const Window active = m_windows.activeWindow();
        if (active == 0 || m_isOwn(active))
            return;
        m_lastForeign = active;
        // The window the user works in is the next pick's likely target: what tells a terminal
        // is read now rather than after the click. It is read at every activation, as a new
        // window can have the id of one that has gone.
        m_windows.learn(active);
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
    OwnWindowTest m_isOwn;
    std::function<void()> m_flushToolkit;
    WindowId m_lastForeign = 0;
    // How long giveFocus waits for a window manager to hand over the focus.
    static constexpr std::chrono::milliseconds s_activationTimeout{500};
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
    auto backend = std::make_unique<X11Backend>(display.release(), inputOpcode, std::move(isOwn),
                                                std::move(flushToolkit));
    if (!backend->hasCopyKeys())
        return nullptr;
    return backend;
}
