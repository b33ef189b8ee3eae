// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

struct zwp_virtual_keyboard_v1;

namespace wayland {

class Client;

// A virtual keyboard of the seat (zwp_virtual_keyboard_v1): Ctrl+C typed into whatever window
// holds the keyboard focus, as the user would type it.
class CopyKeys
{
public:
    explicit CopyKeys(Client &client);
    ~CopyKeys();
    CopyKeys(const CopyKeys &) = delete;
    CopyKeys &operator=(const CopyKeys &) = delete;

    // False where the compositor offers no virtual keyboard, or the keymap could not be made.
    bool available() const { return m_keyboard != nullptr; }
    // Presses and lets go Ctrl+C; returns once the compositor has them.
    bool send();

private:
    Client &m_client;
    zwp_virtual_keyboard_v1 *m_keyboard = nullptr;
    std::uint32_t m_controlMask = 0;
};

} // namespace wayland
