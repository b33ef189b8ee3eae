// SPDX-License-Identifier: MIT
#include "picker/settings.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fieldvalues/text.h"

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowered(a[i]) != lowered(b[i]))
            return false;
    }
    return true;
}

enum class LineKind
{
    Other, // blank, comment or a line without '='
    Section,
    Key,
};

struct IniLine
{
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::string_view value;
};

IniLine parseLine(std::string_view line)
{
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() == ';')
        return {};
    if (text.front() == '[') {
        const std::size_t end = text.find(']');
        const std::size_t length = end == std::string_view::npos ? end : end - 1;
        return {LineKind::Section, trimmed(text.substr(1, length)), {}};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0)
        return {};
    return {LineKind::Key, trimmed(text.substr(0, equals)), trimmed(text.substr(equals + 1))};
}

bool readFile(const std::string &path, std::string &text)
{
    text.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            ::close(fd);
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(fd);
    return true;
}

// The settings file as lines, so that a write changes the lines it concerns and no other.
class IniText
{
public:
    // A missing file reads as empty; false when the file exists but cannot be read.
    bool load(const std::string &path)
    {
        std::string text;
        if (!readFile(path, text))
            return false;
        m_byteOrderMark = text.starts_with(ByteOrderMark);
        if (m_byteOrderMark)
            text.erase(0, ByteOrderMark.size());
        m_lines.clear();
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            m_lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        m_carriageReturn = !m_lines.empty() && m_lines.front().ends_with('\r');
        return true;
    }

    std::string text() const
    {
        std::string text(m_byteOrderMark ? ByteOrderMark : std::string_view());
        for (const std::string &line : m_lines)
            text.append(line).push_back('\n');
        return text;
    }

    std::optional<std::string_view> value(std::string_view section, std::string_view key) const
    {
        const Place place = find(section, key);
        if (!place.keyLine)
            return std::nullopt;
        return parseLine(m_lines[*place.keyLine]).value;
    }

    std::uint32_t number(std::string_view section, std::string_view key,
                         std::uint32_t fallback) const
    {
        const std::optional<std::string_view> text = value(section, key);
        return text && !text->empty()
                   ? static_cast<std::uint32_t>(readNumber(std::string(*text).c_str()))
                   : fallback;
    }

    // Replaces the key's line, keeping the key's spelling, or adds the key at the end of its
    // section, or adds the section at the end of the file.
    bool setValue(std::string_view section, std::string_view key, std::string_view value)
    {
        // A line break would end the line early and leave the rest as a line of its own.
        if (value.find_first_of("\r\n") != std::string_view::npos)
            return false;
        const Place place = find(section, key);
        if (place.keyLine) {
            std::string &line = m_lines[*place.keyLine];
            const bool carriageReturn = line.ends_with('\r');
            std::string replacement(parseLine(line).name);
            replacement.append("=").append(value);
            if (carriageReturn)
                replacement.push_back('\r');
            line = std::move(replacement);
        } else if (place.sectionEnd) {
            const auto at = m_lines.begin() + static_cast<std::ptrdiff_t>(*place.sectionEnd + 1);
            m_lines.insert(at, lineOf(std::string(key).append("=").append(value)));
        } else {
            if (!m_lines.empty() && !trimmed(m_lines.back()).empty())
                m_lines.push_back(lineOf({}));
            m_lines.push_back(lineOf(std::string("[").append(section).append("]")));
            m_lines.push_back(lineOf(std::string(key).append("=").append(value)));
        }
        return true;
    }

private:
    struct Place
    {
        std::optional<std::size_t> keyLine;
        // The last line of the section's first occurrence that is neither blank nor a comment.
        std::optional<std::size_t> sectionEnd;
    };

    Place find(std::string_view section, std::string_view key) const
    {
        Place place;
        bool inSection = false;
        bool inFirstSection = false;
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            const IniLine line = parseLine(m_lines[i]);
            if (line.kind == LineKind::Section) {
                inSection = equalsIgnoringCase(line.name, section);
                inFirstSection = inSection && !place.sectionEnd;
                if (inFirstSection)
                    place.sectionEnd = i;
                continue;
            }
            if (!inSection)
                continue;
            if (line.kind == LineKind::Key && equalsIgnoringCase(line.name, key)) {
                place.keyLine = i;
                return place;
            }
            const std::string_view text = trimmed(m_lines[i]);
            if (inFirstSection && !text.empty() && text.front() != ';')
                place.sectionEnd = i;
        }
        return place;
    }

    std::string lineOf(std::string text) const
    {
        if (m_carriageReturn)
            text.push_back('\r');
        return text;
    }

    std::vector<std::string> m_lines;
    bool m_byteOrderMark = false;
    bool m_carriageReturn = false;
};

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates the folder and its missing parents. Failures show when the files are opened.
void makeFolders(const std::string &folder)
{
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        ::mkdir(folder.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos)
            break;
    }
}

bool writeAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t count = ::write(fd, text.data(), text.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        text.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

// Writes a file beside the old one and renames it over it, so that a crash or a full disk
// leaves either the old file or the new one, never a part of it.
bool saveAtomically(const std::string &path, const std::string &text)
{
    // A settings file that is a link into a folder of kept dotfiles stays a link.
    std::string target = path;
    struct stat info = {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char *resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool saved = writeAll(fd, text);
    if (saved && ::stat(target.c_str(), &info) == 0)
        ::fchmod(fd, info.st_mode & 07777);
    saved = saved && ::fsync(fd) == 0;
    saved = ::close(fd) == 0 && saved;
    saved = saved && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!saved) {
        ::unlink(temporary.c_str());
        return false;
    }
    const int folder = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

// Serialises the read-then-write of the settings file between pickers. Where no lock can be had
// (a file system without locks) the work goes on without it.
class FileLock
{
public:
    explicit FileLock(const std::string &path)
        : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~FileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

private:
    int m_fd;
};

enum class OwnerLock
{
    Taken,       // nobody owned the section; now we do
    HeldByOther, // a running picker owns it
    Unavailable, // the lock file cannot be opened or locked
};

// The owner holds the lock for its whole run and the system drops it when the process ends, in
// whatever way it ends. The descriptor is not handed on to programs the picker starts.
OwnerLock takeOwnerLock(const std::string &path, int &fd)
{
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return OwnerLock::Unavailable;
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0)
        return OwnerLock::Taken;
    const int error = errno;
    ::close(fd);
    fd = -1;
    return error == EWOULDBLOCK ? OwnerLock::HeldByOther : OwnerLock::Unavailable;
}

std::string homeFolder()
{
    const char *home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return home;
    const passwd *entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

// The values of "capture".
constexpr std::string_view CopyModeName = "copy";
constexpr std::string_view SelectionModeName = "selection";

} // namespace

bool descriptionPathFits(std::string_view path)
{
    return path.size() <= MaxDescriptionPathLength;
}

std::string PickerSettings::configPath()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    const std::string folder =
        config != nullptr && config[0] == '/' ? std::string(config) : homeFolder() + "/.config";
    return folder + "/quillon.ini";
}

PickerSettings::PickerSettings(std::string path) : m_path(std::move(path)) {}

PickerSettings::~PickerSettings()
{
    if (m_ownerLock >= 0)
        ::close(m_ownerLock);
}

bool PickerSettings::claim(InUseMark mark)
{
    makeFolders(folderOf(m_path));
    const FileLock lock(m_path + ".lock");
    IniText ini;
    const bool loaded = ini.load(m_path);

    // A section is free when no running picker holds its owner lock, whatever its "inuse" says:
    // a mark left by a picker that crashed or was killed does not keep the section. Only where
    // no owner lock can be kept does the mark alone decide.
    std::string section;
    int ownerLock = -1;
    for (int number = 0; section.empty(); ++number) {
        std::string name = number == 0 ? "Settings" : "Settings" + std::to_string(number);
        const OwnerLock owner = takeOwnerLock(m_path + "." + name + ".lock", ownerLock);
        if (owner == OwnerLock::Taken ||
            (owner == OwnerLock::Unavailable && ini.number(name, "inuse", 0) == 0))
            section = std::move(name);
    }
    if (m_ownerLock >= 0)
        ::close(m_ownerLock);
    m_ownerLock = ownerLock;
    m_section = std::move(section);
    m_owning = true;

    m_orientation = ini.number(m_section, "orientation", 0);
    m_dataTableFile = std::string(ini.value(m_section, "datatablefile").value_or(""));
    m_captureMode =
        equalsIgnoringCase(ini.value(m_section, "capture").value_or(""), SelectionModeName)
            ? CaptureMode::Selection
            : CaptureMode::Copy;
    m_shortcuts = defaultShortcuts();
    for (std::size_t i = 0; i < ShortcutCount; ++i) {
        if (const std::optional<std::string_view> value = ini.value(m_section, ShortcutKeyNames[i]))
            applyShortcutSetting(m_shortcuts, i, *value);
    }
    // A file that exists but cannot be read is left as it is rather than overwritten.
    if (!loaded)
        return false;
    // Writing the file safely waits for the disk, which the picker's window need not wait for.
    m_markPending = mark == InUseMark::Later && m_ownerLock >= 0;
    if (m_markPending)
        return true;
    ini.setValue(m_section, "inuse", "1");
    return saveAtomically(m_path, ini.text());
}

bool PickerSettings::markInUse()
{
    if (!std::exchange(m_markPending, false) || !m_owning)
        return true;
    return write({{"inuse", "1"}});
}

bool PickerSettings::release(unsigned orientation, std::string_view dataTableFile,
                             CaptureMode captureMode)
{
    const std::string orientationText = std::to_string(orientation);
    return writeAndGiveUp(
        {{"inuse", "0"},
         {"orientation", orientationText},
         {"datatablefile", dataTableFile},
         {"capture", captureMode == CaptureMode::Selection ? SelectionModeName : CopyModeName}});
}

bool PickerSettings::releaseInUseOnly()
{
    return writeAndGiveUp({{"inuse", "0"}});
}

bool PickerSettings::writeAndGiveUp(std::initializer_list<Entry> entries)
{
    if (!m_owning)
        return false;
    const bool written = write(entries);
    if (m_ownerLock >= 0)
        ::close(m_ownerLock);
    m_ownerLock = -1;
    m_owning = false;
    m_markPending = false;
    return written;
}

bool PickerSettings::write(std::initializer_list<Entry> entries)
{
    const FileLock lock(m_path + ".lock");
    IniText ini;
    bool written = ini.load(m_path);
    if (written) {
        for (const Entry &entry : entries)
            written = ini.setValue(m_section, entry.key, entry.value) && written;
        written = saveAtomically(m_path, ini.text()) && written;
    }
    return written;
}
