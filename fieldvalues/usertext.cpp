// SPDX-License-Identifier: MIT
#include "fieldvalues/usertext.h"

#include <atomic>

namespace {

std::atomic<TextTranslator> Translator{nullptr};

} // namespace

void setTextTranslator(TextTranslator translator)
{
    Translator.store(translator);
}

std::string userText(const char *context, const char *text)
{
    const TextTranslator translator = Translator.load();
    return translator != nullptr ? translator(context, text) : std::string(text);
}

std::string fillIn(std::string_view text, std::initializer_list<std::string_view> arguments)
{
    std::string filled;
    filled.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const std::size_t index =
            text[at] == '%' && at + 1 < text.size() ? std::size_t(text[at + 1] - '1') : 9;
        if (index < arguments.size()) {
            filled.append(arguments.begin()[index]);
            ++at;
        } else {
            filled += text[at];
        }
    }
    return filled;
}
