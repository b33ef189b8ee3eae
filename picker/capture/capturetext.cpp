// SPDX-License-Identifier: MIT
#include "picker/capture/capturetext.h"

#include "fieldvalues/text.h"
#include "fieldvalues/usertext.h"

namespace {

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isSeparator(char c, bool keepLineBreaks)
{
    return c == ' ' || c == '\t' || (!keepLineBreaks && (c == '\n' || c == '\r'));
}

// The work buffer of the cleaning, allocated once with room for a whole capture.
std::string &workBuffer()
{
    static std::string work = [] {
        std::string buffer;
        buffer.reserve(MaxCaptureLength + 1);
        return buffer;
    }();
    return work;
}

} // namespace

void normalizePickedText(std::string &text, bool keepLineBreaks)
{
    if (text.empty())
        return;
    const std::size_t length = text.size();

    std::size_t start = 0;
    while (start < length && isWhiteSpace(text[start]))
        ++start;
    std::string &work = workBuffer();
    work.assign(text, start);

    text.clear();
    std::size_t i = 0;
    const std::size_t end = work.size();
    while (i < end) {
        while (i < end && isSeparator(work[i], keepLineBreaks))
            ++i;
        if (i == end)
            break;
        std::size_t wordEnd = i;
        while (wordEnd < end && !isSeparator(work[wordEnd], keepLineBreaks))
            ++wordEnd;
        text.append(work, i, wordEnd - i);
        if (text.size() < length)
            text.push_back(' ');
        i = wordEnd;
    }
    // Every trailing white-space character goes, not only one: a word may end with a line
    // break of long text, a vertical tab or a form feed, and a text that kept one would change
    // again when it is cleaned again (as the value editor cleans what it shows).
    while (!text.empty() && isWhiteSpace(text.back()))
        text.pop_back();
}

std::string statusLineText(std::string_view text)
{
    if (text.size() <= StatusLineLength)
        return std::string(text);
    std::string shown(text.substr(0, utf8PrefixLength(text, StatusLineLength)));
    shown += "...";
    return shown;
}

std::string statusCaption(const std::string *title)
{
    if (title == nullptr)
        return userText("CaptureText", "quillon   - text you are picking up");
    return fillIn(userText("CaptureText", "quillon   - text you are picking up to \"%1\""),
                  {*title});
}
