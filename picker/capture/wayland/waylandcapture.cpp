// SPDX-License-Identifier: MIT
#include "picker/capture/wayland/waylandcapture.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>

#include <unistd.h>

#include "picker/capture/wayland/swayipc.h"
#include "picker/capture/wayland/waylandclient.h"
#include "picker/capture/wayland/waylandkeys.h"
#include "picker/capture/wayland/waylandselections.h"

namespace {

class WaylandCaptureBackend final : public CaptureBackend
{
public:
    explicit WaylandCaptureBackend(std::unique_ptr<wayland::Client> client)
        : m_client(std::move(client)), m_selections(*m_client), m_keys(*m_client),
          m_events(m_client->fd(), QSocketNotifier::Read)
    {
        // The compositor's events come whenever they come, also while the picker only waits:
        // a new clipboard is the awaited copy even when nobody asked the compositor.
        QObject::connect(&m_events, &QSocketNotifier::activated, &m_events,
                         [this] { m_client->dispatchPending(); });
        m_selections.setClipboardChanged([this] { clipboardChanged(); });
    }

    bool available() const override { return true; }

    WindowId activeBeforeUs() override
    {
        const std::optional<sway::Window> window =
            sway::lastFocusedForeign(m_sway.tree(), static_cast<long>(::getpid()));
        return window ? remember(*window) : 0;
    }
    WindowId windowAt(int x, int y) override
    {
        const std::optional<sway::Window> window =
            sway::windowAt(m_sway.tree(), x, y, static_cast<long>(::getpid()));
        return window ? remember(*window) : 0;
    }

    bool giveFocus(WindowId window) override
    {
        if (window == 0 || !m_keys.available() || !known(window))
            return false;
        // Sway moves the focus before it answers: the keys that follow go to the window.
        return m_sway.run("[con_id=" + std::to_string(window) + "] focus");
    }
    bool keepFocus(WindowId window) override
    {
        const std::optional<sway::Window> focused = sway::focusedWindow(m_sway.tree());
        return m_keys.available() && focused && static_cast<WindowId>(focused->id) == window;
    }
    bool sendCopyKeys() override { return m_keys.send(); }

    WindowClass windowClass(WindowId window) override
    {
        const sway::Window *found = lookUp(window);
        if (found == nullptr)
            return {};
        // A Wayland-native window names its program by its app id alone.
        if (!found->appId.empty())
            return {found->appId, found->appId};
        return {found->instance, found->className};
    }
    long windowProcess(WindowId window) override
    {
        const sway::Window *found = lookUp(window);
        return found != nullptr ? found->pid : 0;
    }

    ClipboardRead readSelectionText(std::string &text, std::size_t limit) override
    {
        return m_selections.readSelectionText(text, limit);
    }
    SelectionStamp selectionStamp() override
    {
        // Data-control does not name the selection's owner: every new selection counts as made
        // somewhere, and only its count tells new from old.
        return {1, static_cast<unsigned long>(m_selections.selectionSerial())};
    }
    bool emptyClipboard() override
    {
        m_selections.emptyClipboard();
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
    void onClipboardChange(std::function<void()> notice) override { m_notice = std::move(notice); }

private:
    WindowId remember(const sway::Window &window)
    {
        m_window = window;
        return static_cast<WindowId>(window.id);
    }
    // The window as sway describes it now: ids of closed windows are not used again.
    const sway::Window *lookUp(WindowId window)
    {
        if (window == 0)
            return nullptr;
        if (static_cast<WindowId>(m_window.id) != window) {
            const std::optional<sway::Window> found =
                sway::windowById(m_sway.tree(), static_cast<std::int64_t>(window));
            if (!found)
                return nullptr;
            m_window = *found;
        }
        return &m_window;
    }
    bool known(WindowId window)
    {
        return sway::windowById(m_sway.tree(), static_cast<std::int64_t>(window)).has_value();
    }
    void clipboardChanged()
    {
        // Heard inside a wait of the picker's own: the notice goes round the event loop, so
        // that the controller never hears it in the middle of its own call.
        if (!m_notice)
            return;
        QMetaObject::invokeMethod(
            &m_events,
            [this] {
                if (m_notice)
                    m_notice();
            },
            Qt::QueuedConnection);
    }

    std::unique_ptr<wayland::Client> m_client;
    wayland::Selections m_selections;
    wayland::CopyKeys m_keys;
    QSocketNotifier m_events;
    sway::Connection m_sway;
    sway::Window m_window;
    std::function<void()> m_notice;
};

} // namespace

std::unique_ptr<CaptureBackend> createWaylandCaptureSession()
{
    std::unique_ptr<wayland::Client> client = wayland::Client::connect();
    if (client == nullptr)
        return nullptr;
    return std::make_unique<WaylandCaptureBackend>(std::move(client));
}
