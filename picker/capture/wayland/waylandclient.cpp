// SPDX-License-Identifier: MIT
#include "picker/capture/wayland/waylandclient.h"

#include <algorithm>
#include <cstring>

#include <poll.h>
#include <wayland-client.h>

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace wayland {

namespace {

void handleGlobal(void *data, wl_registry *registry, uint32_t name, const char *interface,
                  uint32_t version)
{
    static_cast<Client *>(data)->global(registry, name, interface, version);
}

void handleGlobalRemove(void *, wl_registry *, uint32_t) {}

const wl_registry_listener RegistryListener = {handleGlobal, handleGlobalRemove};

} // namespace

std::unique_ptr<Client> Client::connect()
{
    std::unique_ptr<Client> client(new Client);
    client->m_display = wl_display_connect(nullptr);
    if (client->m_display == nullptr)
        return nullptr;
    client->m_registry = wl_display_get_registry(client->m_display);
    wl_registry_add_listener(client->m_registry, &RegistryListener, client.get());
    if (!client->roundtrip() || client->m_seat == nullptr || client->m_dataControl == nullptr)
        return nullptr;
    return client;
}

Client::~Client()
{
    if (m_keyboards != nullptr)
        zwp_virtual_keyboard_manager_v1_destroy(m_keyboards);
    if (m_dataControl != nullptr)
        zwlr_data_control_manager_v1_destroy(m_dataControl);
    if (m_seat != nullptr)
        wl_seat_destroy(m_seat);
    if (m_registry != nullptr)
        wl_registry_destroy(m_registry);
    if (m_display != nullptr)
        wl_display_disconnect(m_display);
}

void Client::global(wl_registry *registry, unsigned name, const char *interface, unsigned version)
{
    // Version 2 of data-control brings the primary selection, which the selection mode reads.
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && m_seat == nullptr) {
        m_seat = static_cast<wl_seat *>(
            wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 1u)));
    } else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0) {
        m_dataControl = static_cast<zwlr_data_control_manager_v1 *>(wl_registry_bind(
            registry, name, &zwlr_data_control_manager_v1_interface, std::min(version, 2u)));
    } else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        m_keyboards = static_cast<zwp_virtual_keyboard_manager_v1 *>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
    }
}

int Client::fd() const
{
    return wl_display_get_fd(m_display);
}

void Client::dispatchPending()
{
    dispatchUntil([] { return true; }, std::chrono::milliseconds(0));
}

bool Client::dispatchUntil(const std::function<bool()> &done, std::chrono::milliseconds wait)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + wait;
    for (;;) {
        // The events that wait in the queue first; then, if any, those still in the socket.
        while (wl_display_prepare_read(m_display) != 0) {
            if (wl_display_dispatch_pending(m_display) < 0)
                return done();
        }
        wl_display_flush(m_display);
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        pollfd poller{fd(), POLLIN, 0};
        if (::poll(&poller, 1, static_cast<int>(std::max<long long>(left, 0))) == 1) {
            if (wl_display_read_events(m_display) < 0)
                return done();
        } else {
            wl_display_cancel_read(m_display);
        }
        if (wl_display_dispatch_pending(m_display) < 0 || done() || Clock::now() >= end)
            return done();
    }
}

bool Client::roundtrip()
{
    return wl_display_roundtrip(m_display) >= 0;
}

} // namespace wayland
