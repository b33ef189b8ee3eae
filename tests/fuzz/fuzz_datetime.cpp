// SPDX-License-Identifier: MIT
// Feeds arbitrary text to the date and time rules: the checks, the conversion of a written date
// and the reading of a value for the database. What a check accepts must read as the date or
// time that it checked, and a written date must convert into a text that the check judges as
// the calendar does.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "fieldvalues/datetime.h"
#include "tests/fuzz/fuzzcheck.h"

namespace {

bool isDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool sameDate(const DateParts &a, const DateParts &b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

bool sameTime(const TimeParts &a, const TimeParts &b)
{
    return a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

void checkDates(std::string_view text)
{
    if (text.empty() || !checkDateText(text))
        return;
    // The date that the check accepted is the date that goes to the database.
    const DateParts date = parseDateText(text);
    require(sameDate(date, {numberAt(text, 6, 4), numberAt(text, 0, 2), numberAt(text, 3, 2)}),
            "an accepted date reads as the month, day and year that were checked");
    require(isCalendarDate(date.year, date.month, date.day, LargestYear),
            "an accepted date is a day of the calendar");
    char normal[32];
    std::snprintf(normal, sizeof normal, "%02d/%02d/%04d", date.month, date.day, date.year);
    require(checkDateText(normal) && sameDate(parseDateText(normal), date),
            "the normal form of an accepted date is accepted as the same date");
    require(checkDateText(text, date.year) && !checkDateText(text, date.year - 1),
            "the largest year bounds the accepted years");
}

void checkTimes(std::string_view text)
{
    if (text.empty() || !checkTimeText(text))
        return;
    const TimeParts time = parseTimeText(text);
    require(sameTime(time, {numberAt(text, 0, 2), numberAt(text, 3, 2), numberAt(text, 6, 2)}),
            "an accepted time reads as the hours, minutes and seconds that were checked");
    require(time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59 &&
                time.second >= 0 && time.second <= 59,
            "an accepted time is a time of day");
}

void checkWrittenDates(std::string_view text)
{
    std::string out = "untouched";
    if (!convertWrittenDate(text, out)) {
        require(out == "untouched", "a text that does not convert leaves the output alone");
        return;
    }
    require((out.size() == 10 || out.size() == 19) && out[2] == '/' && out[5] == '/' &&
                isDigits(std::string_view(out).substr(0, 2)) &&
                isDigits(std::string_view(out).substr(3, 2)) &&
                isDigits(std::string_view(out).substr(6, 4)),
            "a converted date has the layout MM/DD/YYYY, with a time or without");
    const int month = numberAt(out, 0, 2);
    const int day = numberAt(out, 3, 2);
    const int year = numberAt(out, 6, 4);
    require(month >= 1 && month <= 12, "a converted date names a month");
    require(checkDateText(out) == isCalendarDate(year, month, day, LargestYear),
            "the check accepts a converted date exactly when it is a day of the calendar");
    if (checkDateText(out))
        require(sameDate(parseDateText(out), {year, month, day}),
                "a converted date reads as the day, month and year it was converted to");
    if (out.size() == 19)
        require(out[10] == ' ' && checkTimeText(std::string_view(out).substr(11)),
                "the time of a converted date is a valid time after one blank");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    // Reading never fails, whatever the text.
    parseDateText(text);
    parseTimeText(text);
    parseTimestampText(text);
    checkDates(text);
    checkTimes(text);
    checkWrittenDates(text);
    return 0;
}
