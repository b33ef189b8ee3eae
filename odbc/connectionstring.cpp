// SPDX-License-Identifier: MIT
#include "odbc/connectionstring.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <utility>

std::string connectValue(std::string_view connectString, std::string_view key)
{
    const std::size_t at = connectString.find(key);
    if (at == std::string_view::npos)
        return {};
    std::string_view rest = connectString.substr(at + key.size());
    return std::string(rest.substr(0, rest.find(';')));
}

namespace {

// MariaDB Connector/ODBC's keys for its client timeouts: connecting, reading, writing.
constexpr std::string_view MariaDbTimeoutKeys[] = {"CONN_TIMEOUT", "READ_TIMEOUT", "WRITE_TIMEOUT"};

bool isMariaDbConnector(std::string_view driverLibrary)
{
    const std::size_t slash = driverLibrary.find_last_of("/\\");
    const std::string_view file =
        slash == std::string_view::npos ? driverLibrary : driverLibrary.substr(slash + 1);
    return file.starts_with("libmaodbc") || file.starts_with("maodbc");
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A value that parseConnectString reads back unchanged without braces.
bool needsBraces(std::string_view value)
{
    return value.starts_with('{') || value.find(';') != std::string_view::npos;
}

} // namespace

bool sameConnectKey(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::optional<std::string> connectAttribute(std::string_view connectString, std::string_view key)
{
    const std::vector<ConnectPair> attributes = parseConnectString(connectString);
    if (const std::string *value = findConnectValue(attributes, key))
        return *value;
    return std::nullopt;
}

std::string driverTimeoutKeys(std::string_view connectString, std::string_view driverLibrary,
                              int loginSeconds, int querySeconds)
{
    if (!isMariaDbConnector(driverLibrary))
        return {};
    const int seconds[] = {loginSeconds, querySeconds, querySeconds};
    std::string added;
    for (std::size_t i = 0; i < std::size(MariaDbTimeoutKeys); ++i) {
        if (connectAttribute(connectString, MariaDbTimeoutKeys[i]))
            continue;
        if (!added.empty() || (!connectString.empty() && !connectString.ends_with(';')))
            added += ';';
        added += MariaDbTimeoutKeys[i];
        added += '=';
        added += std::to_string(seconds[i]);
    }
    return added;
}

std::vector<ConnectPair> parseConnectString(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::vector<ConnectPair> attributes;
    std::size_t at = 0;
    while (true) {
        while (at < text.size() && (isBlank(text[at]) || text[at] == ';'))
            ++at;
        const std::size_t equals = text.find('=', at);
        if (at >= text.size() || equals == std::string_view::npos)
            break;
        ConnectPair attribute;
        attribute.key = text.substr(at, equals - at);
        at = equals + 1;
        if (at < text.size() && text[at] == '{') {
            ++at;
            while (at < text.size()) {
                if (text[at] == '}') {
                    if (at + 1 < text.size() && text[at + 1] == '}') {
                        attribute.value += '}';
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                attribute.value += text[at++];
            }
        } else {
            const std::size_t end = std::min(text.find(';', at), text.size());
            attribute.value = text.substr(at, end - at);
            at = end;
        }
        attributes.push_back(std::move(attribute));
    }
    return attributes;
}

std::string writeConnectString(const std::vector<ConnectPair> &attributes)
{
    std::string text;
    for (const ConnectPair &attribute : attributes) {
        if (!text.empty())
            text += ';';
        text += attribute.key;
        text += '=';
        if (!needsBraces(attribute.value)) {
            text += attribute.value;
            continue;
        }
        text += '{';
        for (char c : attribute.value) {
            text += c;
            if (c == '}')
                text += '}';
        }
        text += '}';
    }
    return text;
}

std::vector<ConnectPair> driverManagerAttributes(const std::vector<ConnectPair> &attributes)
{
    std::vector<ConnectPair> kept;
    bool dataSource = false;
    bool driver = false;
    for (const ConnectPair &attribute : attributes) {
        if (sameConnectKey(attribute.key, "DSN")) {
            if (driver)
                continue;
            dataSource = true;
        } else if (sameConnectKey(attribute.key, "DRIVER") ||
                   sameConnectKey(attribute.key, "FILEDSN")) {
            if (dataSource)
                continue;
            driver = true;
        }
        auto same = std::find_if(kept.begin(), kept.end(), [&](const ConnectPair &k) {
            return sameConnectKey(k.key, attribute.key);
        });
        if (same != kept.end())
            same->value = attribute.value;
        else
            kept.push_back(attribute);
    }
    return kept;
}

const std::string *findConnectValue(const std::vector<ConnectPair> &attributes,
                                    std::string_view key)
{
    for (const ConnectPair &attribute : attributes) {
        if (sameConnectKey(attribute.key, key))
            return &attribute.value;
    }
    return nullptr;
}

std::string connectPairText(std::string_view key, std::string_view value)
{
    return writeConnectString({ConnectPair{std::string(key), std::string(value)}});
}
