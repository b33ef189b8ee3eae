// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Text rules that every part of the system shares.

// Reads a number as every text in the system is read: leading blanks skipped, one optional sign,
// decimal digits up to the first other character, 32-bit arithmetic that wraps, no digits 0.
std::int32_t readNumber(const char *text);

// The number of leading bytes of `text` that fit in `width` bytes without splitting a UTF-8
// sequence.
std::size_t utf8PrefixLength(std::string_view text, std::size_t width);

// Cuts `text` to at most `width` bytes at a character boundary.
void cutToWidth(std::string &text, std::size_t width);
