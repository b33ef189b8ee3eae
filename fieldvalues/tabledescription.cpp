// SPDX-License-Identifier: MIT
#include "fieldvalues/tabledescription.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fieldvalues/fieldtypes.h"
#include "fieldvalues/text.h"
#include "fieldvalues/usertext.h"
#include "odbc/connectionstring.h"

namespace {

const char BadDataText[] =
    USER_TEXT("TableDescription", "Bad data in \"Data Table Description\" file.");
const char ReaderCaption[] = "Quillon";

Message readerMessage(std::string text)
{
    return Message{std::move(text), ReaderCaption, MessageIcon::Stop, MessageButtons::Ok};
}

void report(Message *failure, Message message)
{
    if (failure)
        *failure = std::move(message);
}

struct FileCloser
{
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Reads little-endian 32-bit integers and length-prefixed texts. A short read counts as bad
// data: the file ended before the content it declares.
class Reader
{
public:
    explicit Reader(std::FILE *file) : m_file(file) {}

    bool readInt(std::int32_t &value)
    {
        unsigned char bytes[4];
        if (std::fread(bytes, 1, 4, m_file) != 4)
            return false;
        std::uint32_t u = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                          (static_cast<std::uint32_t>(bytes[3]) << 24);
        value = static_cast<std::int32_t>(u);
        return true;
    }

    bool readText(std::string &text, std::int32_t minLength, std::int32_t maxLength)
    {
        std::int32_t length = 0;
        if (!readInt(length) || length < minLength || length > maxLength)
            return false;
        text.assign(static_cast<std::size_t>(length), '\0');
        return length == 0 ||
               std::fread(text.data(), 1, text.size(), m_file) == static_cast<std::size_t>(length);
    }

private:
    std::FILE *m_file;
};

// `text`, in the user's language, with the path for its %s.
std::string withPath(std::string text, const std::string &path)
{
    if (const std::size_t at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, path);
    return text;
}

void appendInt(std::string &out, std::int32_t value)
{
    auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((u >> shift) & 0xFF));
}

void appendText(std::string &out, const std::string &text)
{
    appendInt(out, static_cast<std::int32_t>(text.size()));
    out += text;
}

// Describes the first item of the list that the reader would refuse, or returns empty.
std::string firstItemOutOfRange(const std::string &connectString, const std::string &tableName,
                                const std::vector<FieldRow> &rows)
{
    auto outside = [](const std::string &text, int min, int max) {
        return text.size() < static_cast<std::size_t>(min) ||
               text.size() > static_cast<std::size_t>(max);
    };
    auto range = [](const std::string &what, int min, int max) {
        return fillIn(userText("TableDescription", "%1 must have %2 to %3 characters."),
                      {what, std::to_string(min), std::to_string(max)});
    };
    if (rows.empty() || rows.size() > static_cast<std::size_t>(MaxFields))
        return userText("TableDescription", "A description must have 1 to 30 fields.");
    if (outside(connectString, MinConnectStringLength, MaxConnectStringLength))
        return range(userText("TableDescription", "The connection string"), MinConnectStringLength,
                     MaxConnectStringLength);
    if (outside(tableName, 1, MaxTableNameLength))
        return range(userText("TableDescription", "The table name"), 1, MaxTableNameLength);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FieldRow &row = rows[i];
        std::string field = std::to_string(i + 1);
        if (!row.name.empty())
            field += " (" + row.name.substr(0, utf8PrefixLength(row.name, 64)) + ")";
        field = fillIn(userText("TableDescription", "Field %1"), {field});
        if (outside(row.name, 1, MaxFieldNameLength))
            return range(fillIn(userText("TableDescription", "%1: the name"), {field}), 1,
                         MaxFieldNameLength);
        if (outside(row.title, 1, MaxTitleLength))
            return range(fillIn(userText("TableDescription", "%1: the title"), {field}), 1,
                         MaxTitleLength);
        if (outside(row.defaultValue, 0, MaxDefaultValueLength))
            return range(fillIn(userText("TableDescription", "%1: the default value"), {field}), 0,
                         MaxDefaultValueLength);
        if (outside(row.typeName, 0, MaxTypeNameLength))
            return range(fillIn(userText("TableDescription", "%1: the type name"), {field}), 0,
                         MaxTypeNameLength);
        if (readNumber(row.length.c_str()) < 1)
            return fillIn(userText("TableDescription", "%1: the length must be at least 1."),
                          {field});
    }
    return {};
}

std::string encode(const std::string &connectString, const std::string &tableName,
                   const std::vector<FieldRow> &rows)
{
    std::string out;
    appendInt(out, static_cast<std::int32_t>(TableDescriptionMagic));
    appendInt(out, static_cast<std::int32_t>(rows.size()));
    appendText(out, connectString);
    appendText(out, tableName);
    for (const FieldRow &row : rows) {
        appendText(out, row.name);
        appendText(out, row.title);
        appendText(out, row.defaultValue);
        appendText(out, row.typeName);
        appendInt(out, readNumber(row.length.c_str()));
        appendInt(out, row.required == "No" ? 0 : 1);
        appendInt(out, readNumber(row.sqlType.c_str()));
    }
    return out;
}

Message writeFailure(const std::string &path, int error)
{
    return Message{fillIn(userText("TableDescription", "Could not write file %1:\n%2."),
                          {path, std::strerror(error)}),
                   userText("TableDescription", "Error"), MessageIcon::Stop, MessageButtons::Ok};
}

// The wizard's words for a file that cannot be opened, and the system's reason on a line of its
// own.
Message openFailure(const std::string &path, int error)
{
    return Message{fillIn(userText("TableDescription", "Open file: %1 failed.\n%2."),
                          {path, std::strerror(error)}),
                   userText("TableDescription", "Error"), MessageIcon::Information,
                   MessageButtons::Ok};
}

// The file that a save through `path` replaces: the target of a symbolic link, so that the link
// stays and the file it names gets the new content.
std::string replacedFile(const std::string &path)
{
    struct stat entry
    {};
    if (lstat(path.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode))
        return path;
    std::unique_ptr<char, decltype(&std::free)> target(realpath(path.c_str(), nullptr), &std::free);
    return target ? std::string(target.get()) : path;
}

// Writes all of `bytes` to `fd`. Returns 0 or the error number of the failed write.
int writeAll(int fd, const std::string &bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        written += static_cast<std::size_t>(n);
    }
    return 0;
}

bool isRegularFile(int fd)
{
    struct stat opened
    {};
    return fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode);
}

// Writes `bytes` into what `path` names as it is: a device or a pipe, or a file that cannot be
// replaced.
bool writeInPlace(const std::string &path, const std::string &shownPath, const std::string &bytes,
                  SaveAccess saveAccess, Message *failure)
{
    int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        report(failure, openFailure(shownPath, errno));
        return false;
    }
    // A password must not be written into a file that others may read: the file is made the
    // owner's alone before it is emptied, and left as it was when that is not allowed.
    const bool regular = isRegularFile(fd);
    if (regular && saveAccess == SaveAccess::OwnerOnly && fchmod(fd, S_IRUSR | S_IWUSR) != 0) {
        const int error = errno;
        close(fd);
        report(failure, openFailure(shownPath, error));
        return false;
    }
    int error = regular && ftruncate(fd, 0) != 0 ? errno : 0;
    if (error == 0)
        error = writeAll(fd, bytes);
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        report(failure, writeFailure(shownPath, error));
        return false;
    }
    return true;
}

// Creates a new file beside `path` and returns its descriptor (or -1) and its name in
// `temporary`. Creating it with open applies the umask as for any new file; reading the umask
// instead would change it for every thread of the process for a moment.
int createBeside(const std::string &path, std::string &temporary)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + "." + std::to_string(getpid()) + "-" + std::to_string(counter++);
        int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Writes `bytes` to a temporary file beside the file that `shownPath` names, then renames it
// over that file, so that a failed save never destroys what was there. A file that may not be
// written to stays as it is, as it would with writing in place. Something other than a file (a
// device, a pipe) is written to in place: it holds nothing to keep, and must not be replaced.
// Messages name `shownPath`.
bool writeReplacing(const std::string &shownPath, const std::string &bytes, SaveAccess saveAccess,
                    Message *failure)
{
    std::string path = replacedFile(shownPath);
    struct stat existing
    {};
    bool exists = stat(path.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        return writeInPlace(path, shownPath, bytes, saveAccess, failure);
    if (exists && access(path.c_str(), W_OK) != 0) {
        report(failure, openFailure(shownPath, errno));
        return false;
    }
    std::string temporary;
    int fd = createBeside(path, temporary);
    if (fd < 0) {
        // A folder that its user may not write to (one set up for several people) can still hold
        // a file that they may write: with no room for a new file beside it, that file is
        // written in place, keeping its mode.
        if (exists && (errno == EACCES || errno == EPERM))
            return writeInPlace(path, shownPath, bytes, saveAccess, failure);
        report(failure, openFailure(shownPath, errno));
        return false;
    }
    if (saveAccess == SaveAccess::OwnerOnly)
        fchmod(fd, S_IRUSR | S_IWUSR);
    else if (exists)
        fchmod(fd, existing.st_mode & 07777);

    int error = writeAll(fd, bytes);
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        report(failure, writeFailure(shownPath, error));
        return false;
    }
    return true;
}

} // namespace

int loadTableDescription(const std::string &path, TableDescription &description, Message *failure)
{
    if (path.empty())
        return 0;
    File file(std::fopen(path.c_str(), "rb"));
    // A folder opens for reading here but is no file to read.
    struct stat opened
    {};
    if (file && (fstat(fileno(file.get()), &opened) != 0 || S_ISDIR(opened.st_mode)))
        file.reset();
    if (!file) {
        report(failure,
               readerMessage(withPath(userText("TableDescription", "Open file %s failed"), path)));
        return 0;
    }
    Reader reader(file.get());

    std::int32_t magic = 0;
    if (!reader.readInt(magic) || static_cast<std::uint32_t>(magic) != TableDescriptionMagic) {
        report(failure, readerMessage(
                            withPath(userText("TableDescription", "File %s is not valid."), path)));
        return 0;
    }
    std::int32_t count = 0;
    if (!reader.readInt(count)) {
        report(failure, readerMessage(userText("TableDescription", BadDataText)));
        return 0;
    }
    if (count < 1) {
        report(failure, readerMessage(withPath(
                            userText("TableDescription", "Bad field number in file %s."), path)));
        return 0;
    }

    TableDescription scratch;
    bool sound =
        reader.readText(scratch.connectString, MinConnectStringLength, MaxConnectStringLength) &&
        reader.readText(scratch.tableName, 1, MaxTableNameLength);
    int fields = count < MaxFields ? count : MaxFields;
    for (int i = 0; sound && i < fields; ++i) {
        FieldDescription &field = scratch.fields[static_cast<std::size_t>(i)];
        sound = reader.readText(field.name, 1, MaxFieldNameLength) &&
                reader.readText(field.title, 1, MaxTitleLength) &&
                reader.readText(field.defaultValue, 0, MaxDefaultValueLength) &&
                reader.readText(field.typeName, 0, MaxTypeNameLength) &&
                reader.readInt(field.length) && field.length >= 1 &&
                reader.readInt(field.required) && reader.readInt(field.sqlType);
    }
    if (!sound) {
        report(failure, readerMessage(userText("TableDescription", BadDataText)));
        return 0;
    }
    scratch.fieldCount = fields;
    description = std::move(scratch);
    return fields;
}

bool saveTableDescription(const std::string &path, const std::string &connectString,
                          const std::string &tableName, const std::vector<FieldRow> &rows,
                          Message *failure, SaveAccess access)
{
    std::string connect(withoutOdbcPrefix(connectString));
    std::string problem = firstItemOutOfRange(connect, tableName, rows);
    if (!problem.empty()) {
        report(failure,
               Message{fillIn(userText("TableDescription", "The description cannot be saved.\n%1"),
                              {problem}),
                       userText("TableDescription", "Error"), MessageIcon::Stop,
                       MessageButtons::Ok});
        return false;
    }
    return writeReplacing(path, encode(connect, tableName, rows), access, failure);
}

void setValueWidths(TableDescription &description)
{
    for (int i = 0; i < description.fieldCount; ++i) {
        FieldDescription &field = description.fields[static_cast<std::size_t>(i)];
        field.valueWidth = valueWidth(field.sqlType, field.length, ValueWidthCap);
    }
}

FieldRow toFieldRow(const FieldDescription &field)
{
    return FieldRow{field.name,
                    field.title,
                    field.defaultValue,
                    field.typeName,
                    std::to_string(field.length),
                    field.required ? "Yes" : "No",
                    std::to_string(field.sqlType)};
}
