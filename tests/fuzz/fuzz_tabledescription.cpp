// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the Table Description reader through an in-memory file, and checks
// that whatever it accepts respects the limits and survives a write and a second read.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

#include "fieldvalues/fieldtypes.h"
#include "fieldvalues/tabledescription.h"

namespace {

int memoryFile()
{
    static int fd = memfd_create("dtd", 0);
    return fd;
}

std::string pathOf(int fd)
{
    return "/proc/self/fd/" + std::to_string(fd);
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    int fd = memoryFile();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return 0;

    TableDescription description;
    Message failure;
    int count = loadTableDescription(pathOf(fd), description, &failure);
    if (count == 0) {
        require(!failure.text.empty());
        return 0;
    }
    require(count >= 1 && count <= MaxFields);
    require(description.connectString.size() >= MinConnectStringLength &&
            description.connectString.size() <= MaxConnectStringLength);
    description.fieldCount = count;
    setValueWidths(description);

    std::vector<FieldRow> rows;
    for (int i = 0; i < count; ++i) {
        const FieldDescription &field = description.fields[static_cast<std::size_t>(i)];
        require(field.title.size() >= 1 && field.title.size() <= MaxTitleLength);
        require(field.length >= 1);
        require(field.valueWidth >= 1 && field.valueWidth <= ValueWidthCap);
        FieldRow row = toFieldRow(field);
        rows.push_back(row);

        std::string value = field.defaultValue;
        std::string error;
        checkFieldValue(value, field.sqlType, field.length, error);
    }

    // Whatever was read can be written and read back the same, unless the connection string
    // itself starts with the "ODBC;" prefix that the writer drops.
    if (description.connectString.rfind("ODBC;", 0) == 0)
        return 0;
    char scratch[] = "/tmp/fuzz-dtd-XXXXXX";
    int out = mkstemp(scratch);
    if (out < 0)
        return 0;
    close(out);
    require(saveTableDescription(scratch, description.connectString, description.tableName, rows));
    TableDescription again;
    require(loadTableDescription(scratch, again) == count);
    require(again.tableName == description.tableName);
    for (int i = 0; i < count; ++i) {
        const FieldDescription &a = description.fields[static_cast<std::size_t>(i)];
        const FieldDescription &b = again.fields[static_cast<std::size_t>(i)];
        require(a.name == b.name && a.title == b.title && a.defaultValue == b.defaultValue &&
                a.typeName == b.typeName && a.length == b.length && a.sqlType == b.sqlType &&
                (a.required != 0) == (b.required != 0));
    }
    unlink(scratch);
    return 0;
}
