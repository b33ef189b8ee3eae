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

bool IsDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool SameDate(const DateParts &a, const DateParts &b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

bool SameTime(const TimeParts &a, const TimeParts &b)
{
    return a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

void CheckDates(std::string_view text)
{
    if (text.empty() || !CheckDateText(text))
        return;
    // The date that the check accepted is the date that goes to the database.
    const DateParts date = ParseDateText(text);
    Require(SameDate(date, {NumberAt(text, 6, 4), NumberAt(text, 0, 2), NumberAt(text, 3, 2)}),
            "an accepted date reads as the month, day and year that were checked");
    Require(IsCalendarDate(date.year, date.month, date.day, LargestYear),
            "an accepted date is a day of the calendar");
    char normal[32];
    std::snprintf(normal, sizeof normal, "%02d/%02d/%04d", date.month, date.day, date.year);
    Require(CheckDateText(normal) && SameDate(ParseDateText(normal), date),
            "the normal form of an accepted date is accepted as the same date");
    Require(CheckDateText(text, date.year) && !CheckDateText(text, date.year - 1),
            "the largest year bounds the accepted years");
}

void CheckTimes(std::string_view text)
{
    if (text.empty() || !CheckTimeText(text))
        return;
    const TimeParts time = ParseTimeText(text);
    Require(SameTime(time, {NumberAt(text, 0, 2), NumberAt(text, 3, 2), NumberAt(text, 6, 2)}),
            "an accepted time reads as the hours, minutes and seconds that were checked");
    Require(time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59 &&
                time.second >= 0 && time.second <= 59,
            "an accepted time is a time of day");
}

void CheckWrittenDates(std::string_view text)
{
    std::string out = "untouched";
    if (!ConvertWrittenDate(text, out)) {
        Require(out == "untouched", "a text that does not convert leaves the output alone");
        return;
    }
    Require((out.size() == 10 || out.size() == 19) && out[2] == '/' && out[5] == '/' &&
                IsDigits(std::string_view(out).substr(0, 2)) &&
                IsDigits(std::string_view(out).substr(3, 2)) &&
                IsDigits(std::string_view(out).substr(6, 4)),
            "a converted date has the layout MM/DD/YYYY, with a time or without");
    const int month = NumberAt(out, 0, 2);
    const int day = NumberAt(out, 3, 2);
    const int year = NumberAt(out, 6, 4);
    Require(month >= 1 && month <= 12, "a converted date names a month");
    Require(CheckDateText(out) == IsCalendarDate(year, month, day, LargestYear),
            "the check accepts a converted date exactly when it is a day of the calendar");
    if (CheckDateText(out))
        Require(SameDate(ParseDateText(out), {year, month, day}),
                "a converted date reads as the day, month and year it was converted to");
    if (out.size() == 19)
        Require(out[10] == ' ' && CheckTimeText(std::string_view(out).substr(11)),
                "the time of a converted date is a valid time after one blank");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    // Reading never fails, whatever the text.
    ParseDateText(text);
    ParseTimeText(text);
    ParseTimestampText(text);
    CheckDates(text);
    CheckTimes(text);
    CheckWrittenDates(text);
    return 0;
}
