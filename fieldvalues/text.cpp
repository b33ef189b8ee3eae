// SPDX-License-Identifier: MIT
#include "fieldvalues/text.h"

std::int32_t readNumber(const char *text)
{
    while (*text == ' ')
        ++text;
    bool negative = false;
    if (*text == '-' || *text == '+') {
        negative = *text == '-';
        ++text;
    }
    std::uint32_t number = 0;
    while (*text >= '0' && *text <= '9') {
        number = number * 10u + static_cast<std::uint32_t>(*text - '0');
        ++text;
    }
    if (negative)
        number = 0u - number;
    return static_cast<std::int32_t>(number);
}

std::size_t utf8PrefixLength(std::string_view text, std::size_t width)
{
    if (text.size() <= width)
        return text.size();
    auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    auto isContinuation = [&](std::size_t i) {
        return (byte(i) & 0xC0) == 0x80;
    };
    // A character is at most four bytes: its lead byte lies at most three continuation bytes
    // (10xxxxxx) before the cut. Bytes that are not UTF-8 are cut where the width says.
    std::size_t lead = width;
    while (lead > 0 && width - lead < 3 && isContinuation(lead))
        --lead;
    if (lead == width || byte(lead) < 0xC0)
        return width;
    std::size_t length = byte(lead) >= 0xF0 ? 4 : byte(lead) >= 0xE0 ? 3 : 2;
    return lead + length > width ? lead : width;
}

void cutToWidth(std::string &text, std::size_t width)
{
    text.resize(utf8PrefixLength(text, width));
}
