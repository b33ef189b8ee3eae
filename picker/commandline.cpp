// SPDX-License-Identifier: MIT
#include "picker/commandline.h"

#include <cstdio>

namespace {

CommandLine error(const char *format, const std::string &word)
{
    char text[128];
    std::snprintf(text, sizeof text, format, word.c_str());
    CommandLine line;
    line.error = text;
    return line;
}

// 1 to 30 written plainly, else 0.
int fieldNumber(const std::string &text)
{
    if (text.empty() || text.size() > 2 || text[0] == '0')
        return 0;
    int number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return 0;
        number = number * 10 + (c - '0');
    }
    return number <= MaxCommandField ? number : 0;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string> &arguments)
{
    CommandLine line;
    const std::string first = arguments.empty() ? std::string() : arguments[0];
    if (first == "--pick") {
        if (arguments.size() != 2)
            return error(PickUsageText, first);
        if (arguments[1] == "next") {
            line.command = PickerCommand{PickerCommand::Kind::PickNext, 0};
            return line;
        }
        const int field = fieldNumber(arguments[1]);
        if (field == 0)
            return error(PickUsageText, first);
        line.command = PickerCommand{PickerCommand::Kind::Pick, field};
        return line;
    }
    if (first == "--enter" || first == "--fill-row") {
        if (arguments.size() != 1)
            return error(NothingAfterCommandText, first);
        line.command = PickerCommand{
            first == "--enter" ? PickerCommand::Kind::Enter : PickerCommand::Kind::FillRow, 0};
        return line;
    }
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0)
            line.path += ' ';
        line.path += arguments[i];
    }
    return line;
}
