// SPDX-License-Identifier: MIT
#include "picker/capture/wayland/waylandkeys.h"

#include <chrono>
#include <cstring>
#include <memory>

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "picker/capture/wayland/waylandclient.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"

namespace wayland {

namespace {

struct ContextFree
{
    void operator()(xkb_context *context) const { xkb_context_unref(context); }
};
struct KeymapFree
{
    void operator()(xkb_keymap *keymap) const { xkb_keymap_unref(keymap); }
};
struct StringFree
{
    void operator()(char *text) const { std::free(text); }
};

// Key codes go to the compositor as evdev codes; xkb numbers them 8 higher.
constexpr std::uint32_t Pressed = WL_KEYBOARD_KEY_STATE_PRESSED;
constexpr std::uint32_t Released = WL_KEYBOARD_KEY_STATE_RELEASED;

std::uint32_t now()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

CopyKeys::CopyKeys(Client &client) : m_client(client)
{
    if (client.keyboards() == nullptr)
        return;
    // A keymap of the default layout: Ctrl and C are the same keys in every layout's evdev
    // codes, and the focused program reads the letter from this keymap, not the user's.
    const std::unique_ptr<xkb_context, ContextFree> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (context == nullptr)
        return;
    const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
    const std::unique_ptr<xkb_keymap, KeymapFree> keymap(
        xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (keymap == nullptr)
        return;
    const std::unique_ptr<char, StringFree> text(
        xkb_keymap_get_as_string(keymap.get(), XKB_KEYMAP_FORMAT_TEXT_V1));
    const xkb_mod_index_t control = xkb_keymap_mod_get_index(keymap.get(), XKB_MOD_NAME_CTRL);
    if (text == nullptr || control == XKB_MOD_INVALID)
        return;
    m_controlMask = 1u << control;
    const std::size_t size = std::strlen(text.get()) + 1;
    const int fd = ::memfd_create("quillon-keymap", MFD_CLOEXEC);
    if (fd < 0)
        return;
    const bool written = ::write(fd, text.get(), size) == static_cast<ssize_t>(size) &&
                         ::lseek(fd, 0, SEEK_SET) == 0;
    if (written) {
        m_keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(client.keyboards(),
                                                                             client.seat());
        zwp_virtual_keyboard_v1_keymap(m_keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                       static_cast<std::uint32_t>(size));
    }
    ::close(fd);
    if (m_keyboard != nullptr && !m_client.roundtrip()) {
        zwp_virtual_keyboard_v1_destroy(m_keyboard);
        m_keyboard = nullptr;
    }
}

CopyKeys::~CopyKeys()
{
    if (m_keyboard != nullptr)
        zwp_virtual_keyboard_v1_destroy(m_keyboard);
}

bool CopyKeys::send()
{
    if (m_keyboard == nullptr)
        return false;
    zwp_virtual_keyboard_v1_key(m_keyboard, now(), KEY_LEFTCTRL, Pressed);
    zwp_virtual_keyboard_v1_modifiers(m_keyboard, m_controlMask, 0, 0, 0);
    zwp_virtual_keyboard_v1_key(m_keyboard, now(), KEY_C, Pressed);
    zwp_virtual_keyboard_v1_key(m_keyboard, now(), KEY_C, Released);
    zwp_virtual_keyboard_v1_key(m_keyboard, now(), KEY_LEFTCTRL, Released);
    zwp_virtual_keyboard_v1_modifiers(m_keyboard, 0, 0, 0, 0);
    return m_client.roundtrip();
}

} // namespace wayland
