// SPDX-License-Identifier: MIT
#include "fieldvalues/datetime.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "fieldvalues/fieldtypes.h"
#include "fieldvalues/text.h"

namespace {

LocalClock g_clock = nullptr;

std::tm systemLocalTime()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// Reads the characters [from, from + count) of `text` as a number.
int readPart(std::string_view text, std::size_t from, std::size_t count)
{
    std::string part(text.substr(from, count));
    return readNumber(part.c_str());
}

// Whether the characters [from, from + count) of `text` are a number and nothing else: blanks,
// an optional sign and at least one digit. Anything more would be dropped when the value is read
// for the database, which would then store another date or time than the one checked.
bool isWholeNumber(std::string_view text, std::size_t from, std::size_t count)
{
    std::string_view part = text.substr(from, count);
    std::size_t at = part.find_first_not_of(' ');
    if (at != std::string_view::npos && (part[at] == '+' || part[at] == '-'))
        ++at;
    if (at >= part.size())
        return false;
    for (; at < part.size(); ++at)
        if (part[at] < '0' || part[at] > '9')
            return false;
    return true;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A time in the strict sense: exactly "hh:mm:ss" with digits and valid ranges.
bool isStrictTime(std::string_view token)
{
    if (token.size() != 8 || token[2] != ':' || token[5] != ':')
        return false;
    for (std::size_t i : {0, 1, 3, 4, 6, 7}) {
        if (!isDigit(token[i]))
            return false;
    }
    return readPart(token, 0, 2) <= 23 && readPart(token, 3, 2) <= 59 &&
           readPart(token, 6, 2) <= 59;
}

constexpr std::array<const char *, 12> MonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int monthOfToken(std::string_view token)
{
    if (token.size() < 3)
        return 0;
    for (std::size_t m = 0; m < MonthNames.size(); ++m) {
        bool same = true;
        for (std::size_t i = 0; i < 3; ++i) {
            if (std::tolower(static_cast<unsigned char>(token[i])) !=
                std::tolower(static_cast<unsigned char>(MonthNames[m][i])))
                same = false;
        }
        if (same)
            return static_cast<int>(m) + 1;
    }
    return 0;
}

// Reads two characters as a number of 16 bits without sign, at most `limit`.
int limitedPart(std::string_view text, std::size_t from, int limit)
{
    const int value = static_cast<std::uint16_t>(readPart(text, from, 2));
    return value > limit ? limit : value;
}

// Reads "hh:mm:ss" at `from` when it has ':' at its index 2 and 5; else leaves 00:00:00.
TimeParts parseTimeAt(std::string_view text, std::size_t from)
{
    if (text.size() < from + 8 || text[from + 2] != ':' || text[from + 5] != ':')
        return {};
    return TimeParts{limitedPart(text, from, 23), limitedPart(text, from + 3, 59),
                     limitedPart(text, from + 6, 59)};
}

bool hasDateShape(std::string_view text)
{
    return text.size() >= 10 && text[2] == '/' && text[5] == '/';
}

} // namespace

bool checkDateText(std::string_view text, int largestYear)
{
    if (text.empty())
        return true;
    if (text.size() < 10 || text[2] != '/' || text[5] != '/')
        return false;
    if (!isWholeNumber(text, 0, 2) || !isWholeNumber(text, 3, 2) || !isWholeNumber(text, 6, 4))
        return false;
    // Split the first ten characters at runs of slashes.
    std::string_view head = text.substr(0, 10);
    std::vector<int> parts;
    std::size_t pos = 0;
    while (pos < head.size() && parts.size() < 3) {
        while (pos < head.size() && head[pos] == '/')
            ++pos;
        if (pos >= head.size())
            break;
        std::size_t end = head.find('/', pos);
        if (end == std::string_view::npos)
            end = head.size();
        parts.push_back(readPart(head, pos, end - pos));
        pos = end;
    }
    if (parts.size() < 3)
        return false;
    int month = parts[0];
    int day = parts[1];
    int year = parts[2];
    if (month < 1 || month > 12 || day < 1 || day > 31 || year < 1000 || year > largestYear)
        return false;
    if (day == 31 && (month == 2 || month == 4 || month == 6 || month == 9 || month == 11))
        return false;
    if (month == 2 && day >= 30)
        return false;
    if (month == 2 && day == 29 && !isLeapYear(year))
        return false;
    return true;
}

bool checkTimeText(std::string_view text)
{
    if (text.empty())
        return true;
    if (text.size() < 8 || text[2] != ':' || text[5] != ':')
        return false;
    if (!isWholeNumber(text, 0, 2) || !isWholeNumber(text, 3, 2) || !isWholeNumber(text, 6, 2))
        return false;
    int hours = readPart(text, 0, 2);
    int minutes = readPart(text, 3, 2);
    int seconds = readPart(text, 6, 2);
    return hours >= 0 && hours <= 23 && minutes >= 0 && minutes <= 59 && seconds >= 0 &&
           seconds <= 59;
}

bool convertWrittenDate(std::string_view text, std::string &out)
{
    constexpr std::string_view delimiters = " /,\t\r\n";
    std::vector<std::string> tokens;
    std::size_t pos = 0;
    while (tokens.size() < 10) {
        pos = text.find_first_not_of(delimiters, pos);
        if (pos == std::string_view::npos)
            break;
        std::size_t end = text.find_first_of(delimiters, pos);
        if (end == std::string_view::npos)
            end = text.size();
        tokens.emplace_back(text.substr(pos, std::min<std::size_t>(end - pos, 19)));
        pos = end;
    }
    if (tokens.size() < 3)
        return false;

    std::size_t monthIndex = tokens.size();
    int month = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        month = monthOfToken(tokens[i]);
        if (month != 0) {
            monthIndex = i;
            break;
        }
    }
    if (month == 0 || monthIndex + 1 >= tokens.size())
        return false;

    int day = 0;
    std::size_t lastOfDayAndMonth = monthIndex;
    int before = monthIndex > 0 ? readNumber(tokens[monthIndex - 1].c_str()) : 0;
    if (monthIndex > 0 && before >= 1 && before <= 31) {
        day = before;
    } else if (monthIndex + 2 < tokens.size()) {
        int after = readNumber(tokens[monthIndex + 1].c_str());
        if (after < 1 || after > 31)
            return false;
        day = after;
        lastOfDayAndMonth = monthIndex + 1;
    }

    std::size_t yearIndex = lastOfDayAndMonth + 1;
    if (yearIndex >= tokens.size())
        return false;
    std::string year = tokens[yearIndex];
    if (year.size() != 4 && year.size() != 2)
        return false;
    for (char c : year) {
        if (!isDigit(c))
            return false;
    }
    if (year.size() == 2) {
        // Two-digit years pivot as POSIX %y does: 00..68 are 20xx, 69..99 are 19xx.
        year.insert(0, readNumber(year.c_str()) <= 68 ? "20" : "19");
    }

    char buffer[64];
    if (yearIndex + 1 < tokens.size() && isStrictTime(tokens[yearIndex + 1])) {
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%s %s", month, day, year.c_str(),
                      tokens[yearIndex + 1].c_str());
    } else {
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%s", month, day, year.c_str());
    }
    out = buffer;
    return true;
}

void setLocalClock(LocalClock clock)
{
    g_clock = clock;
}

std::string currentDateTimeText(DateTimeLayout layout)
{
    std::tm now = g_clock ? g_clock() : systemLocalTime();
    int year = now.tm_year < 70 ? 2000 + now.tm_year : 1900 + now.tm_year;
    int month = now.tm_mon + 1;
    char buffer[64];
    switch (layout) {
    case DateTimeLayout::Date:
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", month, now.tm_mday, year);
        break;
    case DateTimeLayout::Time:
        std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", now.tm_hour, now.tm_min, now.tm_sec);
        break;
    case DateTimeLayout::Timestamp:
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d-%02d:%02d:%02d", month, now.tm_mday,
                      year, now.tm_hour, now.tm_min, now.tm_sec);
        break;
    }
    return buffer;
}

std::string initialFieldValue(std::string_view defaultValue, int width, int sqlType)
{
    std::string value(defaultValue);
    // A date or time that the user typed as the default is that date; any other default of such
    // a field ("Actual Date/Time", and whatever older files hold) means the moment of the row.
    std::string error;
    std::string checked = value;
    const bool fixed = checkFieldValue(checked, sqlType, 0, error, CheckMode::Wizard);
    switch (classOfSqlType(sqlType)) {
    case FieldClass::Date:
        value = fixed ? checked : currentDateTimeText(DateTimeLayout::Date);
        break;
    case FieldClass::Time:
        value = fixed ? checked : currentDateTimeText(DateTimeLayout::Time);
        break;
    case FieldClass::Timestamp:
        value = fixed ? checked : currentDateTimeText(DateTimeLayout::Timestamp);
        break;
    default:
        break;
    }
    cutToWidth(value, width < 0 ? 0 : static_cast<std::size_t>(width));
    return value;
}

DateParts parseDateText(std::string_view text)
{
    if (!hasDateShape(text))
        return DateParts{1975, 1, 1};
    return DateParts{readPart(text, 6, 4), readPart(text, 0, 2), readPart(text, 3, 2)};
}

TimeParts parseTimeText(std::string_view text)
{
    return parseTimeAt(text, 0);
}

TimestampParts parseTimestampText(std::string_view text)
{
    TimestampParts timestamp{parseDateText(text), {}};
    // The time is read where the check of a timestamp found it: right after the date in a text
    // of 18 characters, after one more character in a longer one, whatever that character is (a
    // digit there must not move the time, or "12/31/1199923:19:59" would be stored at midnight).
    if (hasDateShape(text) && text.size() >= 18)
        timestamp.time = parseTimeAt(text, text.size() >= 19 ? 11 : 10);
    return timestamp;
}
