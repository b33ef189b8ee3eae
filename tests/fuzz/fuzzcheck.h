// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

// What the fuzz targets share: a property that must hold for every input, the test for
// well-formed UTF-8, and the calendar and number reading written out on their own, to judge the
// system's answers by.

// Stops the run when `holds` is false, naming the property, so that libFuzzer keeps the input.
inline void require(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "property does not hold: %s\n", property);
        std::abort();
    }
}

// The length of the UTF-8 character that starts at `at`, or 0 when none starts there: no
// overlong forms, no surrogates, nothing above U+10FFFF.
inline std::size_t utf8CharacterLength(std::string_view text, std::size_t at)
{
    auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    };
    auto continuation = [&](std::size_t i) {
        return (byte(i) & 0xC0u) == 0x80u;
    };
    const unsigned lead = byte(at);
    if (at >= text.size())
        return 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return continuation(at + 1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned second = byte(at + 1);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F))
            return 0;
        return continuation(at + 1) && continuation(at + 2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned second = byte(at + 1);
        if ((lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
            return 0;
        return continuation(at + 1) && continuation(at + 2) && continuation(at + 3) ? 4 : 0;
    }
    return 0;
}

inline bool isValidUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = utf8CharacterLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

inline bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// A day of the calendar between the years 1000 and `largestYear`.
inline bool isCalendarDate(int year, int month, int day, int largestYear)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1000 || year > largestYear || month < 1 || month > 12 || day < 1)
        return false;
    return day <= days[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

// A number as texts are read: blanks, one sign, digits up to the first other character.
inline int numberAt(std::string_view text, std::size_t from, std::size_t count)
{
    std::string_view part = text.substr(from, count);
    std::size_t at = 0;
    while (at < part.size() && part[at] == ' ')
        ++at;
    bool negative = false;
    if (at < part.size() && (part[at] == '+' || part[at] == '-'))
        negative = part[at++] == '-';
    int number = 0;
    for (; at < part.size() && part[at] >= '0' && part[at] <= '9'; ++at)
        number = number * 10 + (part[at] - '0');
    return negative ? -number : number;
}
