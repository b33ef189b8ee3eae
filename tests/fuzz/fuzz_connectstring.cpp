// SPDX-License-Identifier: MIT
// Feeds arbitrary connection strings, and file data sources, to the reading of connection
// strings and to their check. The input up to its first NUL is the string; what follows is the
// [ODBC] section of any file data source that it names. A string read and written back reads
// the same; a string that the check lets through makes the driver manager load nothing but an
// installed driver and read no file data source of its own.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "odbc/connectionpolicy.h"
#include "odbc/connectionstring.h"
#include "tests/fuzz/fuzzcheck.h"

namespace {

const OdbcConfiguration &configurationIn(const std::string &file)
{
    static std::string fileText;
    static const OdbcConfiguration configuration{
        {{"SQLite3", {"/usr/lib/odbc/libsqlite3odbc.so"}},
         {"PostgreSQL Unicode", {"/usr/lib/odbc/psqlodbcw.so"}},
         {"Wide", {"/usr/lib/odbc/wide64.so", "/usr/lib/odbc/wide.so"}}},
        [](const std::string &path) -> std::optional<std::string> {
            if (path.starts_with("missing"))
                return std::nullopt;
            return fileText;
        }};
    fileText = file;
    return configuration;
}

bool isInstalled(const std::string &driver, const OdbcConfiguration &configuration)
{
    for (const InstalledDriver &installed : configuration.drivers) {
        if (sameConnectKey(installed.name, driver))
            return true;
        for (const std::string &library : installed.libraries) {
            if (library == driver)
                return true;
        }
    }
    return false;
}

void checkReading(std::string_view text)
{
    const std::vector<ConnectPair> attributes = parseConnectString(text);
    const std::string written = writeConnectString(attributes);
    require(parseConnectString(written) == attributes,
            "a string read and written back reads as the same keys and values");
    require(writeConnectString(parseConnectString(written)) == written,
            "a written string is written the same again");

    const std::vector<ConnectPair> used = driverManagerAttributes(attributes);
    for (std::size_t i = 0; i < used.size(); ++i) {
        for (std::size_t j = i + 1; j < used.size(); ++j)
            require(!sameConnectKey(used[i].key, used[j].key),
                    "the driver manager keeps each key once");
    }
    require(findConnectValue(used, "DSN") == nullptr ||
                (findConnectValue(used, "DRIVER") == nullptr &&
                 findConnectValue(used, "FILEDSN") == nullptr),
            "the driver manager takes a DSN or a driver, never both");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string_view text = input.substr(0, nul);
    const std::string file(nul == std::string_view::npos ? std::string_view()
                                                         : input.substr(nul + 1));

    checkReading(text);
    checkReading(file);
    require(parseConnectString(input) == parseConnectString(text), "a NUL ends the string");

    const OdbcConfiguration &configuration = configurationIn(file);
    const ConnectionCheck check = checkConnectString(input, configuration);
    if (!check.allowed) {
        require(!check.key.empty() && check.reason.find(check.key) != std::string::npos &&
                    check.connectString.empty(),
                "a refusal names the key it refused and hands nothing on");
        return 0;
    }
    const std::vector<ConnectPair> handedOn = parseConnectString(check.connectString);
    for (const ConnectPair &attribute : handedOn) {
        if (sameConnectKey(attribute.key, "DRIVER"))
            require(isInstalled(attribute.value, configuration),
                    "a string let through names only installed drivers");
        for (std::string_view key : {"SAVEFILE", "DMEnvAttr", "DMConnAttr", "DMStmtAttr"})
            require(!sameConnectKey(attribute.key, key),
                    "a string let through has no key of the driver manager's files or attributes");
    }
    require(findConnectValue(driverManagerAttributes(handedOn), "FILEDSN") == nullptr,
            "a string let through makes the driver manager read no file data source");
    const ConnectionCheck again = checkConnectString(check.connectString, configuration);
    require(again.allowed && again.connectString == check.connectString,
            "a string let through is let through again as it is");
    return 0;
}
