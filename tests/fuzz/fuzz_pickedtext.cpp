// SPDX-License-Identifier: MIT
// Feeds arbitrary clipboard text along the path of a picked value: cut to the most a capture
// looks at, cleaned, with or without kept line breaks, cut to a field's width, and shown in the
// status line. The first byte chooses whether line breaks are kept and the width; the rest is
// the text. Cleaning a cleaned text changes nothing, and no cut of well-formed UTF-8 splits a
// character or exceeds its width.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "fieldvalues/text.h"
#include "picker/capture/capturetext.h"
#include "tests/fuzz/fuzzcheck.h"

namespace {

constexpr std::array<std::size_t, 16> Widths{0,  1,  2,  3,  4,  5,   7,   8,
                                             10, 24, 50, 64, 74, 255, 256, 32000};

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A cut of `text` to `width` bytes: never longer, and for well-formed text the longest prefix
// that ends between two characters.
void checkCut(std::string_view text, std::size_t width, bool wellFormed)
{
    const std::size_t length = utf8PrefixLength(text, width);
    require(length <= width && length <= text.size(), "a cut never exceeds its width");
    if (text.size() <= width)
        require(length == text.size(), "a text that fits is not cut");
    if (!wellFormed)
        return;
    const std::string_view cut = text.substr(0, length);
    require(isValidUtf8(cut), "a cut of well-formed text ends between two characters");
    if (length < text.size())
        require(length + utf8CharacterLength(text, length) > width,
                "a cut of well-formed text keeps every character that fits");
}

void checkCleaning(const std::string &text, bool keepLineBreaks, bool wellFormed)
{
    std::string cleaned = text;
    normalizePickedText(cleaned, keepLineBreaks);
    require(cleaned.size() <= text.size(), "cleaning never makes a text longer");
    if (wellFormed)
        require(isValidUtf8(cleaned), "cleaning keeps well-formed text well-formed");
    if (!cleaned.empty())
        require(!isWhiteSpace(cleaned.front()) && !isWhiteSpace(cleaned.back()),
                "a cleaned text has no white space at either end");
    const std::string_view separators = keepLineBreaks ? "\t" : "\t\r\n";
    require(cleaned.find_first_of(separators) == std::string::npos &&
                cleaned.find("  ") == std::string::npos,
            "the words of a cleaned text are joined by single spaces");

    std::string again = cleaned;
    normalizePickedText(again, keepLineBreaks);
    require(again == cleaned, "cleaning a cleaned text changes nothing");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const bool keepLineBreaks = (data[0] & 1) != 0;
    const std::size_t width = Widths[(data[0] >> 1) % Widths.size()];
    std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);
    const bool wellFormed = isValidUtf8(text);

    // As a capture takes the clipboard's text.
    checkCut(text, MaxCaptureLength, wellFormed);
    text.resize(utf8PrefixLength(text, MaxCaptureLength));

    checkCleaning(text, keepLineBreaks, wellFormed);
    std::string cleaned = text;
    normalizePickedText(cleaned, keepLineBreaks);
    checkCut(cleaned, width, wellFormed);

    const std::string shown = statusLineText(cleaned);
    require(shown.size() <= StatusLineLength + 3, "the status line shows at most 74 bytes and ...");
    if (cleaned.size() <= StatusLineLength)
        require(shown == cleaned, "a short text is shown whole");
    if (wellFormed)
        require(isValidUtf8(shown), "the status line never splits a character");
    return 0;
}
