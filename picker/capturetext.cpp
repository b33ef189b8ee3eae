#include "capturetext.h"

#include "fieldtypes.h"

namespace {

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsSeparator(char c, bool keepLineBreaks)
{
    return c == ' ' || c == '\t' || (!keepLineBreaks && (c == '\n' || c == '\r'));
}

// The work buffer of the cleaning, allocated once with room for a whole capture.
std::string &WorkBuffer()
{
    static std::string work = [] {
        std::string buffer;
        buffer.reserve(MaxCaptureLength + 1);
        return buffer;
    }();
    return work;
}

} // namespace

void NormalizePickedText(std::string &text, bool keepLineBreaks)
{
    if (text.empty())
        return;
    const std::size_t length = text.size();

    std::size_t start = 0;
    while (start < length && IsWhiteSpace(text[start]))
        ++start;
    std::string &work = WorkBuffer();
    work.assign(text, start);

    text.clear();
    std::size_t i = 0;
    const std::size_t end = work.size();
    while (i < end) {
        while (i < end && IsSeparator(work[i], keepLineBreaks))
            ++i;
        if (i == end)
            break;
        std::size_t wordEnd = i;
        while (wordEnd < end && !IsSeparator(work[wordEnd], keepLineBreaks))
            ++wordEnd;
        text.append(work, i, wordEnd - i);
        if (text.size() < length)
            text.push_back(' ');
        i = wordEnd;
    }
    if (!text.empty() && IsWhiteSpace(text.back()))
        text.pop_back();
}

std::string StatusLineText(std::string_view text)
{
    if (text.size() <= StatusLineLength)
        return std::string(text);
    std::string shown(text.substr(0, Utf8PrefixLength(text, StatusLineLength)));
    shown += "...";
    return shown;
}

std::string StatusCaption(const std::string *title)
{
    std::string caption = "quillon   - text you are picking up";
    if (title != nullptr) {
        caption += " to \"";
        caption += *title;
        caption += '"';
    }
    return caption;
}

std::vector<std::string> DialogFilters(std::string_view pairs)
{
    std::vector<std::string> filters;
    if (pairs.empty())
        return filters;
    const char separator = pairs.back();
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (pairs[i] == separator) {
            parts.push_back(pairs.substr(start, i - start));
            start = i + 1;
        }
    }
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string name(parts[i]);
        std::string pattern(parts[i + 1]);
        std::string suffix = "(" + pattern + ")";
        if (name.size() < suffix.size() ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            name += " " + suffix;
        filters.push_back(std::move(name));
    }
    return filters;
}
