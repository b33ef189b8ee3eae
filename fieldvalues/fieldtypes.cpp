// SPDX-License-Identifier: MIT
#include "fieldvalues/fieldtypes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "fieldvalues/datetime.h"
#include "fieldvalues/sqltypes.h"
#include "fieldvalues/text.h"
#include "fieldvalues/usertext.h"

namespace {

constexpr int BigintDigits = 19;

// Decimal digits of a whole number stored in `length` bytes.
int digitCount(int sqlType, int length)
{
    if (sqlType == SqlType::BigInt)
        return BigintDigits;
    std::int64_t l = std::max(length, 1);
    std::int64_t digits = l < 4 ? 2 * l + 1 : 2 * l + 2;
    return static_cast<int>(std::min<std::int64_t>(digits, std::numeric_limits<int>::max() / 2));
}

// Room for `digits` digits, a sign and thousands separators, so that a picked number is never
// cut into another valid number.
int groupedWidth(int digits, int cap)
{
    std::int64_t d = std::max(digits, 1);
    return static_cast<int>(std::min<std::int64_t>(d + (d - 1) / 3 + 1, cap));
}

// `text` with its %d replaced by the number. The text comes in the user's language, and a
// translation is no format string that printf may trust.
std::string formatted(std::string text, int number)
{
    if (const std::size_t at = text.find("%d"); at != std::string::npos)
        text.replace(at, 2, std::to_string(number));
    return text;
}

struct WholeRange
{
    std::int64_t min;
    std::int64_t max;
};

// Signed columns are the common kind, so negative values are accepted down to the signed
// minimum; the unsigned maximum is kept for unsigned columns.
WholeRange wholeRange(int sqlType)
{
    switch (sqlType) {
    case SqlType::TinyInt:
        return {-128, 255};
    case SqlType::SmallInt:
        return {-32768, 65535};
    case SqlType::Integer:
        return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    default:
        return {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()};
    }
}

// A whole number is accepted only in its canonical form: no leading zeros, no plus sign, no
// blanks, no "-0", nothing after the digits, and within the column's range.
bool isCanonicalWholeNumber(const std::string &value, int sqlType)
{
    std::int64_t number = 0;
    const char *first = value.data();
    const char *last = value.data() + value.size();
    std::from_chars_result result = std::from_chars(first, last, number);
    if (result.ec != std::errc() || result.ptr != last)
        return false;
    WholeRange range = wholeRange(sqlType);
    if (number < range.min || number > range.max)
        return false;
    char canonical[32];
    std::to_chars_result printed = std::to_chars(canonical, canonical + sizeof canonical, number);
    return std::string_view(canonical, static_cast<std::size_t>(printed.ptr - canonical)) == value;
}

// The value must be a leading part of the fixed-point rendering, with six decimals, of the
// number it reads as. Conversion is independent of the user's locale.
bool isFixedPointPrefix(const std::string &value)
{
    std::size_t start = value.find_first_not_of(" \t\n\v\f\r");
    double number = 0;
    if (start != std::string::npos) {
        const char *first = value.data() + start;
        const char *last = value.data() + value.size();
        if (std::from_chars(first, last, number).ec != std::errc())
            number = 0;
    }
    if (!std::isfinite(number))
        return false;
    char rendering[400];
    std::to_chars_result printed =
        std::to_chars(rendering, rendering + sizeof rendering, number, std::chars_format::fixed, 6);
    std::string_view text(rendering, static_cast<std::size_t>(printed.ptr - rendering));
    return value.size() <= text.size() && text.compare(0, value.size(), value) == 0;
}

// A date, with a written date converted first. Returns false when the date part is refused.
bool checkDatePart(std::string &value)
{
    if (checkDateText(value, LargestYear))
        return true;
    std::string converted;
    if (!convertWrittenDate(value, converted))
        return false;
    value = converted;
    return checkDateText(value, LargestYear);
}

bool checkTimestamp(std::string &value)
{
    if (!checkDatePart(value))
        return false;
    std::size_t n = value.size();
    if (n >= 19)
        return checkTimeText(std::string_view(value).substr(11));
    if (n == 18)
        return checkTimeText(std::string_view(value).substr(10));
    return true;
}

} // namespace

FieldClass classOfSqlType(int sqlType)
{
    switch (sqlType) {
    case SqlType::Bit:
        return FieldClass::Bit;
    case SqlType::TinyInt:
    case SqlType::SmallInt:
    case SqlType::Integer:
    case SqlType::BigInt:
        return FieldClass::WholeNumber;
    case SqlType::LongVarChar:
    case SqlType::Char:
    case SqlType::VarChar:
    case SqlType::WChar:
    case SqlType::WVarChar:
    case SqlType::WLongVarChar:
        return FieldClass::Character;
    case SqlType::Numeric:
    case SqlType::Decimal:
        return FieldClass::ExactNumeric;
    case SqlType::Float:
    case SqlType::Real:
    case SqlType::Double:
        return FieldClass::ApproximateNumeric;
    case SqlType::Date:
        return FieldClass::Date;
    case SqlType::Time:
        return FieldClass::Time;
    case SqlType::Timestamp:
        return FieldClass::Timestamp;
    default:
        return FieldClass::Unsupported;
    }
}

int valueWidth(int sqlType, int length, int cap)
{
    int clamped = std::max(length, 1);
    switch (classOfSqlType(sqlType)) {
    case FieldClass::Bit:
        return 1;
    case FieldClass::WholeNumber:
        return groupedWidth(digitCount(sqlType, length), cap);
    case FieldClass::ExactNumeric:
        return groupedWidth(clamped, cap);
    case FieldClass::Character:
        return std::min(clamped, cap);
    case FieldClass::ApproximateNumeric:
    case FieldClass::Date:
        return 24;
    case FieldClass::Time:
        return 8;
    case FieldClass::Timestamp:
        return 64;
    case FieldClass::Unsupported:
        break;
    }
    return 1;
}

std::string fieldHint(int sqlType, int length)
{
    switch (classOfSqlType(sqlType)) {
    case FieldClass::Bit:
        return userText("FieldTypes", "(0 or 1)");
    case FieldClass::WholeNumber:
        return formatted(userText("FieldTypes", "(No more than %d digits)"),
                         digitCount(sqlType, length));
    case FieldClass::Character:
        return length == 1
                   ? userText("FieldTypes", "(One character only)")
                   : formatted(userText("FieldTypes", "(No more than %d characters)"), length);
    case FieldClass::ExactNumeric:
        return formatted(userText("FieldTypes", "(No more than %d digits)"), length);
    case FieldClass::ApproximateNumeric:
        return userText("FieldTypes", "(Format 55555.55)");
    case FieldClass::Date:
        return userText("FieldTypes", "(Format: MM/DD/YYYY)");
    case FieldClass::Time:
        return userText("FieldTypes", "(Format: hh:mm:ss)");
    case FieldClass::Timestamp:
        return userText("FieldTypes", "(\"MM/DD/YYYY\" or \"MM/DD/YYYY-hh:mm:ss\")");
    case FieldClass::Unsupported:
        break;
    }
    return {};
}

void removeCommas(std::string &value)
{
    if (value.find(',') == std::string::npos)
        return;
    cutToWidth(value, 128);
    value.erase(std::remove(value.begin(), value.end(), ','), value.end());
}

bool checkFieldValue(std::string &value, int sqlType, int length, std::string &error,
                     CheckMode mode)
{
    error.clear();
    bool accepted = false;
    switch (classOfSqlType(sqlType)) {
    case FieldClass::Bit:
        accepted = value == "0" || value == "1";
        if (!accepted)
            error = userText("FieldTypes", "(Valid values: 0 or 1)");
        break;
    case FieldClass::WholeNumber:
        if (mode == CheckMode::Picker)
            removeCommas(value);
        accepted = isCanonicalWholeNumber(value, sqlType);
        if (!accepted)
            error = formatted(userText("FieldTypes", "(No more than %d digits)"),
                              digitCount(sqlType, length));
        break;
    case FieldClass::Character:
        accepted = value.size() <= static_cast<std::size_t>(std::max(length, 0));
        if (!accepted)
            error = formatted(userText("FieldTypes", "(No more than %d characters)"), length);
        break;
    case FieldClass::ExactNumeric:
    case FieldClass::ApproximateNumeric:
        if (mode == CheckMode::Picker)
            removeCommas(value);
        accepted = isFixedPointPrefix(value);
        if (!accepted)
            error = userText("FieldTypes", "(Format 55555.555555)");
        break;
    case FieldClass::Date:
        accepted = checkDatePart(value);
        if (!accepted)
            error = userText("FieldTypes", "Invalid format or value.\n(Format: MM/DD/YYYY)");
        break;
    case FieldClass::Time:
        accepted = checkTimeText(value);
        if (!accepted)
            error = userText("FieldTypes", "Invalid format or value.\n(Format: hh:mm:ss)");
        break;
    case FieldClass::Timestamp:
        accepted = checkTimestamp(value);
        if (!accepted)
            error = userText(
                "FieldTypes",
                "Invalid format or value.\n(Format: \"MM/DD/YYYY\" OR \"MM/DD/YYYY-hh:mm:ss\")");
        break;
    case FieldClass::Unsupported:
        error = userText("FieldTypes", "Unknown format.");
        break;
    }
    return accepted;
}
