// SPDX-License-Identifier: MIT
#include "picker/capture/wayland/swayipc.h"

#include <cstring>

#include <QJsonArray>
#include <QJsonDocument>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace sway {

namespace {

// The message types of the i3 protocol that are used here.
constexpr std::uint32_t RunCommand = 0;
constexpr std::uint32_t GetTree = 4;
constexpr char Magic[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr std::size_t HeaderSize = sizeof Magic + 8;
// Sway answers at once; a compositor that hangs must not freeze the picker.
constexpr int AnswerWait = 1000;

QJsonArray children(const QJsonObject &node)
{
    QJsonArray all = node.value(QLatin1String("nodes")).toArray();
    for (const QJsonValue &floating : node.value(QLatin1String("floating_nodes")).toArray())
        all.append(floating);
    return all;
}

// A view is a container that shows a surface: it has a pid, or an app id or X11 class.
bool isView(const QJsonObject &node)
{
    const QString type = node.value(QLatin1String("type")).toString();
    return (type == QLatin1String("con") || type == QLatin1String("floating_con")) &&
           children(node).isEmpty() &&
           (node.contains(QLatin1String("pid")) || node.contains(QLatin1String("app_id")));
}

Window toWindow(const QJsonObject &node)
{
    Window window;
    window.id = node.value(QLatin1String("id")).toInteger();
    window.pid = static_cast<long>(node.value(QLatin1String("pid")).toInteger());
    window.appId = node.value(QLatin1String("app_id")).toString().toStdString();
    const QJsonObject x11 = node.value(QLatin1String("window_properties")).toObject();
    window.instance = x11.value(QLatin1String("instance")).toString().toStdString();
    window.className = x11.value(QLatin1String("class")).toString().toStdString();
    window.title = node.value(QLatin1String("name")).toString().toStdString();
    return window;
}

// The scratchpad holds hidden windows: never a target.
bool isScratchpad(const QJsonObject &node)
{
    return node.value(QLatin1String("name")).toString() == QLatin1String("__i3_scratch") ||
           node.value(QLatin1String("name")).toString() == QLatin1String("__i3");
}

template <typename Test> std::optional<Window> find(const QJsonObject &node, const Test &test)
{
    if (isView(node) && test(node))
        return toWindow(node);
    for (const QJsonValue &child : children(node)) {
        if (std::optional<Window> found = find(child.toObject(), test))
            return found;
    }
    return std::nullopt;
}

std::optional<Window> lastFocused(const QJsonObject &node, long ownPid)
{
    if (isScratchpad(node))
        return std::nullopt;
    if (isView(node)) {
        const Window window = toWindow(node);
        if (window.pid != ownPid)
            return window;
        return std::nullopt;
    }
    const QJsonArray nodes = children(node);
    // Children in the order they last had the focus; the others after them.
    for (const QJsonValue &id : node.value(QLatin1String("focus")).toArray()) {
        for (const QJsonValue &child : nodes) {
            const QJsonObject object = child.toObject();
            if (object.value(QLatin1String("id")).toInteger() != id.toInteger())
                continue;
            if (std::optional<Window> found = lastFocused(object, ownPid))
                return found;
        }
    }
    return std::nullopt;
}

bool contains(const QJsonObject &node, int x, int y)
{
    const QJsonObject rect = node.value(QLatin1String("rect")).toObject();
    const int left = rect.value(QLatin1String("x")).toInt();
    const int top = rect.value(QLatin1String("y")).toInt();
    return x >= left && y >= top && x < left + rect.value(QLatin1String("width")).toInt() &&
           y < top + rect.value(QLatin1String("height")).toInt();
}

std::optional<Window> shownAt(const QJsonObject &node, int x, int y, long ownPid)
{
    if (isScratchpad(node) || !node.value(QLatin1String("visible")).toBool(true))
        return std::nullopt;
    if (isView(node)) {
        const Window window = toWindow(node);
        if (window.pid != ownPid && contains(node, x, y))
            return window;
        return std::nullopt;
    }
    // Floating windows lie above the tiled ones, the last one on top.
    const QJsonArray floating = node.value(QLatin1String("floating_nodes")).toArray();
    for (auto child = floating.end(); child != floating.begin();) {
        --child;
        if (std::optional<Window> found = shownAt((*child).toObject(), x, y, ownPid))
            return found;
    }
    for (const QJsonValue &child : node.value(QLatin1String("nodes")).toArray()) {
        if (std::optional<Window> found = shownAt(child.toObject(), x, y, ownPid))
            return found;
    }
    return std::nullopt;
}

bool waitReadable(int socket)
{
    pollfd poller{socket, POLLIN, 0};
    return ::poll(&poller, 1, AnswerWait) == 1;
}

} // namespace

std::optional<Window> focusedWindow(const QJsonObject &tree)
{
    return find(tree, [](const QJsonObject &node) {
        return node.value(QLatin1String("focused")).toBool();
    });
}

std::optional<Window> lastFocusedForeign(const QJsonObject &tree, long ownPid)
{
    return lastFocused(tree, ownPid);
}

std::vector<Window> windows(const QJsonObject &tree)
{
    std::vector<Window> all;
    (void)find(tree, [&all](const QJsonObject &node) {
        all.push_back(toWindow(node));
        return false;
    });
    return all;
}

std::optional<Window> windowById(const QJsonObject &tree, std::int64_t id)
{
    return find(tree, [id](const QJsonObject &node) {
        return node.value(QLatin1String("id")).toInteger() == id;
    });
}

std::optional<Window> windowAt(const QJsonObject &tree, int x, int y, long ownPid)
{
    return shownAt(tree, x, y, ownPid);
}

Connection::Connection(const std::string &socketPath)
{
    std::string path = socketPath;
    if (path.empty()) {
        const char *variable = std::getenv("SWAYSOCK");
        if (variable == nullptr)
            return;
        path = variable;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    m_socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_socket >= 0 &&
        ::connect(m_socket, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        ::close(m_socket);
        m_socket = -1;
    }
}

Connection::~Connection()
{
    if (m_socket >= 0)
        ::close(m_socket);
}

QJsonObject Connection::tree()
{
    const std::optional<QByteArray> answer = ask(GetTree, {});
    return answer ? QJsonDocument::fromJson(*answer).object() : QJsonObject{};
}

bool Connection::run(const std::string &command)
{
    const std::optional<QByteArray> answer = ask(RunCommand, QByteArray::fromStdString(command));
    if (!answer)
        return false;
    const QJsonArray results = QJsonDocument::fromJson(*answer).array();
    if (results.isEmpty())
        return false;
    for (const QJsonValue &result : results) {
        if (!result.toObject().value(QLatin1String("success")).toBool())
            return false;
    }
    return true;
}

std::optional<QByteArray> Connection::ask(std::uint32_t type, const QByteArray &payload)
{
    if (m_socket < 0)
        return std::nullopt;
    QByteArray message(Magic, sizeof Magic);
    const auto length = static_cast<std::uint32_t>(payload.size());
    // The lengths and types go in the machine's own byte order.
    message.append(reinterpret_cast<const char *>(&length), sizeof length);
    message.append(reinterpret_cast<const char *>(&type), sizeof type);
    message.append(payload);
    if (::send(m_socket, message.constData(), static_cast<std::size_t>(message.size()),
               MSG_NOSIGNAL) != message.size())
        return std::nullopt;
    auto receive = [this](char *into, std::size_t size) {
        std::size_t done = 0;
        while (done < size) {
            if (!waitReadable(m_socket))
                return false;
            const ssize_t got = ::recv(m_socket, into + done, size - done, 0);
            if (got <= 0)
                return false;
            done += static_cast<std::size_t>(got);
        }
        return true;
    };
    char header[HeaderSize];
    if (!receive(header, sizeof header) || std::memcmp(header, Magic, sizeof Magic) != 0)
        return std::nullopt;
    std::uint32_t answerLength = 0;
    std::memcpy(&answerLength, header + sizeof Magic, sizeof answerLength);
    QByteArray answer(static_cast<qsizetype>(answerLength), Qt::Uninitialized);
    if (!receive(answer.data(), answerLength))
        return std::nullopt;
    return answer;
}

} // namespace sway
