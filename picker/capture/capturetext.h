// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// The most clipboard text that a capture looks at, in bytes.
inline constexpr std::size_t MaxCaptureLength = 32000;
// The most of a picked text that the status line shows before "...".
inline constexpr std::size_t StatusLineLength = 74;

// Cleans picked text in place: leading and trailing white space goes and the words are joined
// by single spaces. Line feeds and carriage returns separate words unless `keepLineBreaks`
// (long-text fields), in which case they stay inside the words they touch. Vertical tab and form
// feed never separate words. Cleaning a cleaned text changes nothing.
void normalizePickedText(std::string &text, bool keepLineBreaks);

// The status line's text for a picked text: whole up to 74 bytes, otherwise the first 74
// (never splitting a character) followed by "...".
std::string statusLineText(std::string_view text);

// The status window's caption: naming the field's title, or none when `title` is null.
std::string statusCaption(const std::string *title);
