// SPDX-License-Identifier: MIT
#include "picker/capture/wayland/waylandselections.h"

#include <array>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include "picker/capture/wayland/waylandclient.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace wayland {

namespace {

// The plain text types, the most exact first: GTK and Qt offer the first, XWayland's bridge and
// older programs the X11 names.
constexpr std::array<std::string_view, 5> TextTypes = {"text/plain;charset=utf-8", "UTF8_STRING",
                                                       "text/plain", "TEXT", "STRING"};

// How long an owner may take to hand over its text. An owner that hangs must not freeze the
// picker; a large selection in a heavy program takes a few hundred milliseconds.
constexpr int TransferWait = 2000;

void handleOfferType(void *data, zwlr_data_control_offer_v1 *offer, const char *mimeType)
{
    static_cast<Selections *>(data)->offeredType(offer, mimeType);
}

const zwlr_data_control_offer_v1_listener OfferListener = {handleOfferType};

void handleDataOffer(void *data, zwlr_data_control_device_v1 *, zwlr_data_control_offer_v1 *offer)
{
    auto *selections = static_cast<Selections *>(data);
    zwlr_data_control_offer_v1_add_listener(offer, &OfferListener, selections);
    selections->offered(offer);
}

void handleSelection(void *data, zwlr_data_control_device_v1 *, zwlr_data_control_offer_v1 *offer)
{
    static_cast<Selections *>(data)->clipboardOffer(offer);
}

void handleFinished(void *data, zwlr_data_control_device_v1 *)
{
    static_cast<Selections *>(data)->finished();
}

void handlePrimary(void *data, zwlr_data_control_device_v1 *, zwlr_data_control_offer_v1 *offer)
{
    static_cast<Selections *>(data)->primaryOffer(offer);
}

const zwlr_data_control_device_v1_listener DeviceListener = {handleDataOffer, handleSelection,
                                                             handleFinished, handlePrimary};

} // namespace

Selections::Selections(Client &client) : m_client(client)
{
    m_device = zwlr_data_control_manager_v1_get_data_device(client.dataControl(), client.seat());
    zwlr_data_control_device_v1_add_listener(m_device, &DeviceListener, this);
    // The first clipboard and selection come at once.
    m_client.roundtrip();
}

Selections::~Selections()
{
    for (const auto &[offer, types] : m_offers)
        zwlr_data_control_offer_v1_destroy(offer);
    if (m_device != nullptr)
        zwlr_data_control_device_v1_destroy(m_device);
}

void Selections::offered(zwlr_data_control_offer_v1 *offer)
{
    m_offers[offer];
}

void Selections::offeredType(zwlr_data_control_offer_v1 *offer, const char *mimeType)
{
    m_offers[offer].emplace_back(mimeType);
}

void Selections::clipboardOffer(zwlr_data_control_offer_v1 *offer)
{
    zwlr_data_control_offer_v1 *old = std::exchange(m_clipboard, offer);
    if (old != m_primary)
        release(old);
    if (m_changed)
        m_changed();
}

void Selections::primaryOffer(zwlr_data_control_offer_v1 *offer)
{
    zwlr_data_control_offer_v1 *old = std::exchange(m_primary, offer);
    if (old != m_clipboard)
        release(old);
    ++m_primarySerial;
}

void Selections::finished()
{
    // The seat has gone: nothing can be read any more.
    release(std::exchange(m_clipboard, nullptr));
    release(std::exchange(m_primary, nullptr));
    zwlr_data_control_device_v1_destroy(std::exchange(m_device, nullptr));
}

void Selections::release(zwlr_data_control_offer_v1 *offer)
{
    if (offer == nullptr)
        return;
    m_offers.erase(offer);
    zwlr_data_control_offer_v1_destroy(offer);
}

CaptureBackend::ClipboardRead Selections::readClipboardText(std::string &text, std::size_t limit)
{
    m_client.dispatchPending();
    return read(m_clipboard, text, limit);
}

CaptureBackend::ClipboardRead Selections::readSelectionText(std::string &text, std::size_t limit)
{
    m_client.dispatchPending();
    return read(m_primary, text, limit);
}

void Selections::emptyClipboard()
{
    if (m_device == nullptr)
        return;
    zwlr_data_control_device_v1_set_selection(m_device, nullptr);
    // The empty clipboard's own notice is handled here, before any copy can come.
    m_client.roundtrip();
}

bool Selections::waitForCopy(std::chrono::milliseconds wait)
{
    return m_client.dispatchUntil([this] { return m_clipboard != nullptr; }, wait);
}

CaptureBackend::ClipboardRead Selections::read(zwlr_data_control_offer_v1 *offer, std::string &text,
                                               std::size_t limit)
{
    using Read = CaptureBackend::ClipboardRead;
    text.clear();
    if (offer == nullptr)
        return Read::NoOwner;
    const std::vector<std::string> &types = m_offers[offer];
    const char *type = nullptr;
    for (const std::string_view wanted : TextTypes) {
        for (const std::string &offeredType : types) {
            if (type == nullptr && offeredType == wanted)
                type = offeredType.c_str();
        }
    }
    if (type == nullptr)
        return Read::NoText;
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return Read::NoText;
    zwlr_data_control_offer_v1_receive(offer, type, pipe[1]);
    ::close(pipe[1]);
    wl_display_flush(m_client.display());
    char buffer[4096];
    bool complete = false;
    while (text.size() < limit) {
        pollfd poller{pipe[0], POLLIN, 0};
        if (::poll(&poller, 1, TransferWait) != 1)
            break;
        const ssize_t got = ::read(pipe[0], buffer, sizeof buffer);
        if (got <= 0) {
            complete = got == 0;
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipe[0]);
    if (text.size() > limit)
        text.resize(limit);
    else if (!complete && text.size() < limit && text.empty())
        return Read::NoText;
    // The text ends at its first NUL, as on X11.
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return Read::Text;
}

} // namespace wayland
