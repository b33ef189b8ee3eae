// SPDX-License-Identifier: MIT
#include "odbc/connectionpolicy.h"

#include <algorithm>
#include <array>

#include "fieldvalues/usertext.h"
#include "odbc/connectionstring.h"

namespace {

// Keys that make the driver manager or a driver load libraries, or write files, where the
// string says; each with what it does, in the user's words. The drivers write their own keys
// empty into the connection strings that they complete ("LoadExt=;"), and those strings are
// saved in descriptions: empty, a driver's key sets nothing. The driver manager's keys are
// refused even empty (an empty SAVEFILE still names a file).
struct RefusedSetting
{
    std::string_view key;
    const char *effect;
    bool refusedEmpty;
};

constexpr std::array<RefusedSetting, 9> RefusedSettings{{
    {"SAVEFILE",
     USER_TEXT("ConnectionPolicy", "asks the driver manager to write the connection into a file"),
     true},
    {"DMEnvAttr",
     USER_TEXT("ConnectionPolicy",
               "sets attributes and environment variables of the ODBC driver manager"),
     true},
    {"DMConnAttr",
     USER_TEXT("ConnectionPolicy", "sets connection attributes of the ODBC driver manager"), true},
    {"DMStmtAttr",
     USER_TEXT("ConnectionPolicy", "sets statement attributes of the ODBC driver manager"), true},
    {"LoadExt", USER_TEXT("ConnectionPolicy", "makes the SQLite driver load libraries"), false},
    {"TraceFile", USER_TEXT("ConnectionPolicy", "makes the SQLite driver write into a file"),
     false},
    {"Logdir",
     USER_TEXT("ConnectionPolicy", "makes the PostgreSQL driver write its logs into a folder"),
     false},
    {"sslkey",
     USER_TEXT("ConnectionPolicy",
               "can make the PostgreSQL client library load a library (an OpenSSL engine)"),
     false},
    {"PLUGIN_DIR",
     USER_TEXT("ConnectionPolicy", "makes the MariaDB driver load plug-in libraries from a folder"),
     false},
}};

constexpr const char *SettingsAdvice = USER_TEXT(
    "ConnectionPolicy",
    "A connection string from someone else must not make this program load libraries or write "
    "files. Settings like this belong in a data source of your own ODBC configuration, named "
    "with DSN=.");

constexpr const char *DriverAdvice = USER_TEXT(
    "ConnectionPolicy",
    "Only the drivers of your own ODBC configuration are loaded, so that a connection string "
    "from someone else cannot run a library of its choosing. Name an installed driver, or a data "
    "source of your configuration with DSN=.");

bool isKeyCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Whether the setting stands at `at` in `text` as a key that some reading of the string could
// take: not inside a longer word, followed by blanks at most and '=', and with a value after it
// unless it is refused empty. Every driver reads the string its own way (some know no braces,
// some take the first of a repeated key), so a key is looked for wherever it could stand,
// inside values too. An empty value ('=' followed by ';' or the end) is empty in every reading.
bool settingStandsAt(std::string_view text, std::size_t at, const RefusedSetting &setting)
{
    const std::string_view key = setting.key;
    if (at > 0 && isKeyCharacter(text[at - 1]))
        return false;
    if (text.size() - at < key.size() || !sameConnectKey(text.substr(at, key.size()), key))
        return false;
    std::size_t after = at + key.size();
    while (after < text.size() && (text[after] == ' ' || text[after] == '\t'))
        ++after;
    if (after >= text.size() || text[after] != '=')
        return false;
    ++after;
    const bool empty = after >= text.size() || text[after] == ';' || text[after] == '\0';
    return setting.refusedEmpty || !empty;
}

// The refused setting that `text` mentions first, or null.
const RefusedSetting *firstRefusedSetting(std::string_view text)
{
    for (std::size_t at = 0; at < text.size(); ++at) {
        for (const RefusedSetting &setting : RefusedSettings) {
            if (settingStandsAt(text, at, setting))
                return &setting;
        }
    }
    return nullptr;
}

bool isInstalledDriver(const std::string &value, const OdbcConfiguration &configuration)
{
    return std::any_of(configuration.drivers.begin(), configuration.drivers.end(),
                       [&](const InstalledDriver &driver) {
                           return sameConnectKey(driver.name, value) ||
                                  std::find(driver.libraries.begin(), driver.libraries.end(),
                                            value) != driver.libraries.end();
                       });
}

ConnectionCheck refusal(std::string_view key, std::string reason)
{
    ConnectionCheck check;
    check.key = key;
    check.reason = std::move(reason);
    return check;
}

// Where a refused key was found, in the words of the refusal.
struct Source
{
    std::string subject;  // "the connection string" or "the file data source "…" that …"
    std::string refusing; // the key that the refusal names
};

// Checks the text of a connection string or of a file data source's attributes.
std::optional<ConnectionCheck> checkAttributes(std::string_view text,
                                               const std::vector<ConnectPair> &attributes,
                                               const OdbcConfiguration &configuration,
                                               const Source &source)
{
    // Of a repeated DRIVER the driver manager takes the last, but every one is checked.
    for (const ConnectPair &attribute : attributes) {
        if (!sameConnectKey(attribute.key, "DRIVER") ||
            isInstalledDriver(attribute.value, configuration))
            continue;
        return refusal(
            source.refusing.empty() ? "DRIVER" : source.refusing,
            fillIn(userText("ConnectionPolicy",
                            "Not connected: DRIVER \"%1\" in %2 is neither an ODBC "
                            "driver installed on this computer nor the library of "
                            "one.\n\n%3"),
                   {attribute.value, source.subject, userText("ConnectionPolicy", DriverAdvice)}));
    }
    if (const RefusedSetting *setting = firstRefusedSetting(text)) {
        return refusal(
            source.refusing.empty() ? setting->key : source.refusing,
            fillIn(userText("ConnectionPolicy", "Not connected: %1 has %2, which "
                                                "%3.\n\n%4"),
                   {source.subject, setting->key, userText("ConnectionPolicy", setting->effect),
                    userText("ConnectionPolicy", SettingsAdvice)}));
    }
    return std::nullopt;
}

} // namespace

ConnectionCheck checkConnectString(std::string_view connectString,
                                   const OdbcConfiguration &configuration)
{
    const std::vector<ConnectPair> written = parseConnectString(connectString);
    if (std::optional<ConnectionCheck> refusal =
            checkAttributes(connectString, written, configuration,
                            {userText("ConnectionPolicy", "the connection string"), ""}))
        return *refusal;

    ConnectionCheck check;
    check.allowed = true;
    const std::vector<ConnectPair> used = driverManagerAttributes(written);
    const std::string *fileDataSource = findConnectValue(used, "FILEDSN");
    if (fileDataSource == nullptr) {
        check.connectString = connectString.substr(0, connectString.find('\0'));
        return check;
    }

    // The driver manager takes the file's attributes that the string does not have, and
    // hands the driver the string without FILEDSN.
    std::vector<ConnectPair> joined;
    for (const ConnectPair &attribute : used) {
        if (!sameConnectKey(attribute.key, "FILEDSN"))
            joined.push_back(attribute);
    }
    const std::optional<std::string> file = configuration.readFileDataSource
                                                ? configuration.readFileDataSource(*fileDataSource)
                                                : std::nullopt;
    if (file && !file->empty()) {
        const std::vector<ConnectPair> fileAttributes = parseConnectString(*file);
        const Source source{
            fillIn(userText("ConnectionPolicy", "the file data source \"%1\" that FILEDSN names"),
                   {*fileDataSource}),
            "FILEDSN"};
        if (std::optional<ConnectionCheck> refusal =
                checkAttributes(*file, fileAttributes, configuration, source))
            return *refusal;
        for (const ConnectPair &attribute : driverManagerAttributes(fileAttributes)) {
            if (findConnectValue(used, attribute.key) == nullptr)
                joined.push_back(attribute);
        }
    }
    // Written anew, a value may end where the raw text went on ("c={a}}b;LoadExt=" becomes
    // "c={a}}b;LoadExt=}"): the string handed on is checked as it is handed on.
    check.connectString = writeConnectString(joined);
    if (std::optional<ConnectionCheck> refusal = checkAttributes(
            check.connectString, joined, configuration,
            {fillIn(userText("ConnectionPolicy", "the connection string joined with the file data "
                                                 "source \"%1\" that FILEDSN names"),
                    {*fileDataSource}),
             "FILEDSN"}))
        return *refusal;
    return check;
}

ConnectionCheck checkFileDataSource(const std::string &path, const OdbcConfiguration &configuration)
{
    return checkConnectString(writeConnectString({{"FILEDSN", path}}), configuration);
}
