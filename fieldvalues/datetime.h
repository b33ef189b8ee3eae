// SPDX-License-Identifier: MIT
#pragma once

#include <ctime>
#include <string>
#include <string_view>

// Dates travel as "MM/DD/YYYY", times as "hh:mm:ss", timestamps as "MM/DD/YYYY-hh:mm:ss".

enum class DateTimeLayout
{
    Date,
    Time,
    Timestamp,
};

inline constexpr int LargestYear = 9999;

bool checkDateText(std::string_view text, int largestYear = LargestYear);
bool checkTimeText(std::string_view text);

// Turns a date written with a month name ("Dec 6, 1999", "6 December 99 10:20:30") into
// "MM/DD/YYYY" (with " hh:mm:ss" when a strict time follows the year). Returns false and leaves
// `out` alone when the text does not read as such a date.
bool convertWrittenDate(std::string_view text, std::string &out);

// The current local date, time or timestamp in the layouts above.
std::string currentDateTimeText(DateTimeLayout layout);

// The clock behind currentDateTimeText: returns the current local calendar time. Tests replace
// it; nullptr restores the system clock.
using LocalClock = std::tm (*)();
void setLocalClock(LocalClock clock);

// A field's value at the start of a row: the default cut to `width` bytes. For date, time and
// timestamp fields a default that passes the field's check is that date or time (in its checked
// form); any other default there stands for the current date or time.
std::string initialFieldValue(std::string_view defaultValue, int width, int sqlType);

// The parts of a checked date, time or timestamp text, as the row insert binds them. A text
// without the date's shape reads as 01/01/1975, one without the time's as 00:00:00.
struct DateParts
{
    int year = 0;
    int month = 0;
    int day = 0;
};

struct TimeParts
{
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct TimestampParts
{
    DateParts date;
    TimeParts time;
};

DateParts parseDateText(std::string_view text);
TimeParts parseTimeText(std::string_view text);
TimestampParts parseTimestampText(std::string_view text);
