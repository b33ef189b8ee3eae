#include "odbc/connectionstring.h"

#include <cctype>
#include <iterator>
#include <utility>

std::string ConnectValue(std::string_view connectString, std::string_view key)
{
    const std::size_t at = connectString.find(key);
    if (at == std::string_view::npos)
        return {};
    std::string_view rest = connectString.substr(at + key.size());
    return std::string(rest.substr(0, rest.find(';')));
}

namespace {

constexpr std::string_view Blanks = " \t";

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(Blanks);
    return text.substr(first, last - first + 1);
}

// The end of the pair that starts at `start`: the next ";" outside braces, or the end.
std::size_t PairEnd(std::string_view text, std::size_t start)
{
    bool braced = false;
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] == '{')
            braced = true;
        else if (text[i] == '}')
            braced = false;
        else if (text[i] == ';' && !braced)
            return i;
    }
    return text.size();
}

// MariaDB Connector/ODBC's keys for its client timeouts: connecting, reading, writing.
constexpr std::string_view MariaDbTimeoutKeys[] = {"CONN_TIMEOUT", "READ_TIMEOUT", "WRITE_TIMEOUT"};

bool IsMariaDbConnector(std::string_view driverLibrary)
{
    const std::size_t slash = driverLibrary.find_last_of("/\\");
    const std::string_view file =
        slash == std::string_view::npos ? driverLibrary : driverLibrary.substr(slash + 1);
    return file.starts_with("libmaodbc") || file.starts_with("maodbc");
}

} // namespace

bool SameConnectKey(std::string_view a, std::string_view b)
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

std::vector<ConnectPair> ConnectPairs(std::string_view connectString)
{
    std::vector<ConnectPair> pairs;
    std::size_t start = 0;
    while (start < connectString.size()) {
        const std::size_t end = PairEnd(connectString, start);
        const std::string_view pair = connectString.substr(start, end - start);
        const std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos) {
            std::string_view value = Trimmed(pair.substr(equals + 1));
            if (value.size() >= 2 && value.front() == '{' && value.back() == '}')
                value = value.substr(1, value.size() - 2);
            pairs.push_back(
                ConnectPair{std::string(Trimmed(pair.substr(0, equals))), std::string(value)});
        }
        start = end + 1;
    }
    return pairs;
}

std::optional<std::string> ConnectAttribute(std::string_view connectString, std::string_view key)
{
    for (ConnectPair &pair : ConnectPairs(connectString)) {
        if (SameConnectKey(pair.key, key))
            return std::move(pair.value);
    }
    return std::nullopt;
}

std::string DriverTimeoutKeys(std::string_view connectString, std::string_view driverLibrary,
                              int loginSeconds, int querySeconds)
{
    if (!IsMariaDbConnector(driverLibrary))
        return {};
    const int seconds[] = {loginSeconds, querySeconds, querySeconds};
    std::string added;
    for (std::size_t i = 0; i < std::size(MariaDbTimeoutKeys); ++i) {
        if (ConnectAttribute(connectString, MariaDbTimeoutKeys[i]))
            continue;
        if (!added.empty() || (!connectString.empty() && !connectString.ends_with(';')))
            added += ';';
        added += MariaDbTimeoutKeys[i];
        added += '=';
        added += std::to_string(seconds[i]);
    }
    return added;
}

std::string ConnectPairText(std::string_view key, std::string_view value)
{
    std::string attribute(key);
    attribute += '=';
    if (value.find(';') == std::string_view::npos && !value.starts_with('{'))
        return attribute.append(value);
    attribute += '{';
    for (char c : value) {
        attribute += c;
        if (c == '}')
            attribute += '}';
    }
    return attribute += '}';
}
