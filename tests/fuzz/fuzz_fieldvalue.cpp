// SPDX-License-Identifier: MIT
// Feeds arbitrary values to CheckFieldValue for every field class, a spread of lengths and both
// check modes. The first three bytes choose the SQL type, the length and the mode; the rest is
// the value. What the check accepts and rewrites into its normal form must be accepted again,
// unchanged, and must still fit the field; a date, time or timestamp must read, for the
// database, as what was checked.
#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "fieldvalues/datetime.h"
#include "fieldvalues/fieldtypes.h"
#include "fieldvalues/sqltypes.h"
#include "tests/fuzz/fuzzcheck.h"

namespace {

// Every code the field classes know, the wide character codes, and some they do not know.
constexpr std::array<int, 25> SqlTypes{-7, -6, 5,  4,  -5, -1,  1, 12, 2,  3,  6,  7, 8,
                                       9,  10, 11, -8, -9, -10, 0, 91, 92, 93, -2, -4};
constexpr std::array<int, 24> Lengths{-1, 0,   1,   2,   3,    4,     5,     8,
                                      10, 15,  16,  19,  20,   26,    38,    50,
                                      64, 200, 255, 256, 8190, 32000, 65536, INT_MAX};

bool isCalendarDate(const DateParts &date)
{
    return ::isCalendarDate(date.year, date.month, date.day, LargestYear);
}

bool isTimeOfDay(const TimeParts &time)
{
    return time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59 &&
           time.second >= 0 && time.second <= 59;
}

// The time that the check of a timestamp looked at: after the date and one character, or right
// after the date in a text of 18 characters; none in a shorter text.
TimeParts checkedTimeOfTimestamp(std::string_view value)
{
    if (value.size() < 18)
        return {};
    const std::size_t from = value.size() >= 19 ? 11 : 10;
    return TimeParts{numberAt(value, from, 2), numberAt(value, from + 3, 2),
                     numberAt(value, from + 6, 2)};
}

void checkAcceptedValue(const std::string &value, int sqlType, int length)
{
    std::string error;
    for (CheckMode mode : {CheckMode::Picker, CheckMode::Wizard}) {
        std::string again = value;
        require(checkFieldValue(again, sqlType, length, error, mode) && error.empty(),
                "the normal form of an accepted value is accepted again, in both modes");
        require(again == value, "the normal form of an accepted value stays as it is");
    }
    if (value.empty())
        return;
    switch (classOfSqlType(sqlType)) {
    case FieldClass::Bit:
        require(value == "0" || value == "1", "a bit is 0 or 1");
        break;
    case FieldClass::Character:
        require(value.size() <= static_cast<std::size_t>(length),
                "a character value holds no more bytes than the column");
        break;
    case FieldClass::Date:
        require(isCalendarDate(parseDateText(value)), "an accepted date is a day of the calendar");
        break;
    case FieldClass::Time:
        require(isTimeOfDay(parseTimeText(value)), "an accepted time is a time of day");
        break;
    case FieldClass::Timestamp: {
        const TimestampParts timestamp = parseTimestampText(value);
        require(isCalendarDate(timestamp.date), "an accepted timestamp is a day of the calendar");
        const TimeParts checked = checkedTimeOfTimestamp(value);
        require(timestamp.time.hour == checked.hour && timestamp.time.minute == checked.minute &&
                    timestamp.time.second == checked.second,
                "an accepted timestamp reads as the time that was checked");
        break;
    }
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    const int sqlType = SqlTypes[data[0] % SqlTypes.size()];
    const int length = Lengths[data[1] % Lengths.size()];
    const CheckMode mode = data[2] % 2 == 0 ? CheckMode::Picker : CheckMode::Wizard;
    const std::string original(reinterpret_cast<const char *>(data) + 3, size - 3);

    std::string value = original;
    std::string error = "stale";
    const bool accepted = checkFieldValue(value, sqlType, length, error, mode);
    require(accepted == error.empty(), "a refusal says why, an acceptance says nothing");
    if (classOfSqlType(sqlType) == FieldClass::Unsupported)
        require(!accepted && error == "Unknown format.", "an unknown type accepts nothing");
    if (!accepted)
        return 0;
    const std::size_t width = static_cast<std::size_t>(valueWidth(sqlType, length));
    if (original.size() <= width)
        require(value.size() <= width, "the normal form of a value that fits the field fits it");
    checkAcceptedValue(value, sqlType, length);
    return 0;
}
