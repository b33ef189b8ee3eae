// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QJsonObject>

// Sway's own IPC (the i3 protocol over the Unix socket named in $SWAYSOCK): on sway it names the
// window that holds the focus, the process behind a window, and moves the focus, none of which a
// Wayland client can do through the core protocol.
namespace sway {

// A window (a "view" container) as sway's tree describes it.
struct Window
{
    std::int64_t id = 0;  // the container's id, stable while the window lives
    long pid = 0;         // the process that shows it, 0 when sway does not say
    std::string appId;    // Wayland-native windows: the xdg-shell app id
    std::string instance; // XWayland windows: WM_CLASS
    std::string className;
    std::string title;
};

// The window that holds the keyboard focus in the tree of a get_tree answer.
std::optional<Window> focusedWindow(const QJsonObject &tree);
// The window that had the focus last among those not shown by the process `ownPid`: the picker's
// own windows take the focus on a click, and the window the user worked in is the one before.
// Follows each container's focus order, which sway keeps most recent first.
std::optional<Window> lastFocusedForeign(const QJsonObject &tree, long ownPid);
// Every window in the tree, the hidden ones too.
std::vector<Window> windows(const QJsonObject &tree);
// The window with the container id `id`.
std::optional<Window> windowById(const QJsonObject &tree, std::int64_t id);
// The topmost shown window at a point of the layout, leaving out those of `ownPid`.
std::optional<Window> windowAt(const QJsonObject &tree, int x, int y, long ownPid);

// One connection to sway's socket.
class Connection
{
public:
    // Connects to `socketPath` ($SWAYSOCK when empty); check connected().
    explicit Connection(const std::string &socketPath = {});
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool connected() const { return m_socket >= 0; }
    // The layout tree; empty when sway does not answer.
    QJsonObject tree();
    // Runs a sway command ("[con_id=5] focus"); true when sway reports success.
    bool run(const std::string &command);

private:
    // Sends one message and returns the answer's payload; empty on failure.
    std::optional<QByteArray> ask(std::uint32_t type, const QByteArray &payload);

    int m_socket = -1;
};

} // namespace sway
