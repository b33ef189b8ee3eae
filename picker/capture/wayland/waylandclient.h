// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <memory>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_data_control_manager_v1;
struct zwp_virtual_keyboard_manager_v1;

namespace wayland {

// A connection of the picker's own to the Wayland compositor, beside the toolkit's: the
// data-control and virtual keyboard globals are bound here, where the toolkit never looks.
class Client
{
public:
    // Connects to $WAYLAND_DISPLAY and binds the first seat, data-control and the virtual
    // keyboard manager. nullptr without a compositor, a seat or data-control: without reading
    // the clipboard unfocused there is nothing to capture with.
    static std::unique_ptr<Client> connect();
    ~Client();
    Client(const Client &) = delete;
    Client &operator=(const Client &) = delete;

    wl_display *display() const { return m_display; }
    wl_seat *seat() const { return m_seat; }
    zwlr_data_control_manager_v1 *dataControl() const { return m_dataControl; }
    // nullptr where the compositor offers no virtual keyboard (KWin, mutter).
    zwp_virtual_keyboard_manager_v1 *keyboards() const { return m_keyboards; }
    // The connection's socket, for the toolkit's event loop.
    int fd() const;

    // Sends what is queued and handles the events that have come, without waiting.
    void dispatchPending();
    // Handles events until `done` holds or `wait` has passed; returns done().
    bool dispatchUntil(const std::function<bool()> &done, std::chrono::milliseconds wait);
    // Sends what is queued and waits until the compositor has handled it and sent its events.
    bool roundtrip();

    // The registry's callbacks.
    void global(wl_registry *registry, unsigned name, const char *interface, unsigned version);

private:
    Client() = default;

    wl_display *m_display = nullptr;
    wl_registry *m_registry = nullptr;
    wl_seat *m_seat = nullptr;
    zwlr_data_control_manager_v1 *m_dataControl = nullptr;
    zwp_virtual_keyboard_manager_v1 *m_keyboards = nullptr;
};

} // namespace wayland
