// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "picker/capture/capturebackend.h"

struct zwlr_data_control_device_v1;
struct zwlr_data_control_offer_v1;

namespace wayland {

class Client;

// The clipboard and the primary selection of the seat, through data-control: read, emptied and
// followed without the keyboard focus, which the core protocol's data device would need.
class Selections
{
public:
    explicit Selections(Client &client);
    ~Selections();
    Selections(const Selections &) = delete;
    Selections &operator=(const Selections &) = delete;

    // Called on every new clipboard (not the primary selection), from inside the dispatch.
    void setClipboardChanged(std::function<void()> changed) { m_changed = std::move(changed); }

    CaptureBackend::ClipboardRead readClipboardText(std::string &text, std::size_t limit);
    CaptureBackend::ClipboardRead readSelectionText(std::string &text, std::size_t limit);
    // Counts the primary selections seen: a selection made anew comes as a new offer, even on
    // the same text.
    std::uint64_t selectionSerial() const { return m_primarySerial; }

    // Empties the clipboard and returns once the compositor has done it.
    void emptyClipboard();
    // Whether the clipboard has an owner, after waiting at most `wait` for one.
    bool waitForCopy(std::chrono::milliseconds wait);

    // The data-control device's callbacks.
    void offered(zwlr_data_control_offer_v1 *offer);
    void offeredType(zwlr_data_control_offer_v1 *offer, const char *mimeType);
    void clipboardOffer(zwlr_data_control_offer_v1 *offer);
    void primaryOffer(zwlr_data_control_offer_v1 *offer);
    void finished();

private:
    CaptureBackend::ClipboardRead read(zwlr_data_control_offer_v1 *offer, std::string &text,
                                       std::size_t limit);
    // Drops an offer that is no longer the clipboard's or the selection's.
    void release(zwlr_data_control_offer_v1 *offer);

    Client &m_client;
    zwlr_data_control_device_v1 *m_device = nullptr;
    // The offers announced and their types; each becomes the clipboard or the selection.
    std::map<zwlr_data_control_offer_v1 *, std::vector<std::string>> m_offers;
    zwlr_data_control_offer_v1 *m_clipboard = nullptr;
    zwlr_data_control_offer_v1 *m_primary = nullptr;
    std::uint64_t m_primarySerial = 0;
    std::function<void()> m_changed;
};

} // namespace wayland
