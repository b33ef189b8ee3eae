// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fieldvalues/message.h"

inline constexpr int MaxFields = 30;

// Limits of the texts of a Table Description file, in bytes.
inline constexpr int MinConnectStringLength = 10;
inline constexpr int MaxConnectStringLength = 1024;
inline constexpr int MaxTableNameLength = 256;
inline constexpr int MaxFieldNameLength = 256;
inline constexpr int MaxTitleLength = 8;
inline constexpr int MaxDefaultValueLength = 256;
inline constexpr int MaxTypeNameLength = 64;

inline constexpr std::uint32_t TableDescriptionMagic = 0x33554466; // "fDU3" on disk

struct FieldDescription
{
    std::string name;         // column name, 1..256 bytes
    std::string title;        // button label, 1..8 bytes
    std::string defaultValue; // 0..256 bytes; for date and time types any text means "now"
    std::string typeName;     // the data source's own type name, 0..64 bytes
    std::int32_t length = 0;  // the catalogue's LENGTH, at least 1
    std::int32_t required = 0;
    std::int32_t sqlType = 0;
    std::int32_t valueWidth = 0; // not in the file: valueWidth(sqlType, length, 32000)
    // Not in the file: the DATE_STRUCT, TIME_STRUCT or TIMESTAMP_STRUCT bound for this field.
    alignas(8) unsigned char bindBuffer[16] = {};
};

struct TableDescription
{
    std::string connectString; // without a leading "ODBC;"
    std::string tableName;
    std::int32_t fieldCount = 0; // 0: nothing loaded
    std::array<FieldDescription, MaxFields> fields;
};

// The seven column texts of one row of the wizard's selected-fields list, in file order.
struct FieldRow
{
    std::string name;
    std::string title;
    std::string defaultValue;
    std::string typeName;
    std::string length;   // decimal text
    std::string required; // "No" gives 0, anything else 1
    std::string sqlType;  // decimal text
};

// Reads the file at `path` into `description` and returns the number of fields read (1..30), or
// 0 on failure with the reader's message (caption "Quillon", stop icon) in `failure`. An empty
// path fails without a message. A failed read leaves `description` as it was. The caller stores
// the result as fieldCount and computes the value widths (setValueWidths).
int loadTableDescription(const std::string &path, TableDescription &description,
                         Message *failure = nullptr);

// Who may read a saved file: as the umask and the replaced file's mode allow, or its owner
// alone (for a connection string that carries a password).
enum class SaveAccess
{
    AsUsual,
    OwnerOnly,
};

// Writes a Table Description file from the wizard's list. Returns true on success; on failure
// the existing file at `path` is untouched and `failure` says why. Anything the reader would
// refuse is refused here, before a byte is written. With OwnerOnly the file gets mode 0600
// before its first byte is written, whatever the umask and the mode of the file it replaces.
bool saveTableDescription(const std::string &path, const std::string &connectString,
                          const std::string &tableName, const std::vector<FieldRow> &rows,
                          Message *failure = nullptr, SaveAccess access = SaveAccess::AsUsual);

// Sets every loaded field's valueWidth with valueWidth and the cap 32000.
void setValueWidths(TableDescription &description);

// The column texts of a loaded field, as the wizard's list would show them.
FieldRow toFieldRow(const FieldDescription &field);
