// SPDX-License-Identifier: MIT
#include "picker/pickertexts.h"

#include <algorithm>

#include "fieldvalues/usertext.h"
#include "picker/settings.h"

namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isPasswordKey(std::string_view key)
{
    while (!key.empty() && key.front() == ' ')
        key.remove_prefix(1);
    while (!key.empty() && key.back() == ' ')
        key.remove_suffix(1);
    std::string lowered(key);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), lowerAscii);
    return lowered == "pwd" || lowered == "password";
}

// The end of the value that starts at `from`: a value in braces runs to its closing brace ("}}"
// stands for one brace inside it), any other to the next ";".
std::size_t findValueEnd(std::string_view text, std::size_t from)
{
    std::size_t at = from;
    while (at < text.size() && text[at] == ' ')
        ++at;
    if (at < text.size() && text[at] == '{') {
        for (++at; at < text.size(); ++at) {
            if (text[at] != '}')
                continue;
            if (at + 1 < text.size() && text[at + 1] == '}') {
                ++at;
                continue;
            }
            return text.find(';', at);
        }
        return std::string_view::npos;
    }
    return text.find(';', from);
}

} // namespace

const char *const EveryFieldFilledText =
    USER_TEXT("PickerTexts", "Every field holds a value: Enter stores the row.");
const char *const NoSuchFieldText = USER_TEXT("PickerTexts", "The table has no field %1.");
const char *const UnreadableShortcutsText = USER_TEXT("PickerTexts", "Not a key combination: ");
const char *const UnreadableShortcutsCaption =
    USER_TEXT("PickerTexts", "quillon   - keys in the settings file");

std::string maskPasswords(std::string_view connectString)
{
    std::string masked;
    std::size_t at = 0;
    while (at <= connectString.size()) {
        const std::size_t equals = connectString.find('=', at);
        const std::size_t semicolon = connectString.find(';', at);
        if (equals == std::string_view::npos || equals > semicolon) {
            const std::size_t end =
                semicolon == std::string_view::npos ? connectString.size() : semicolon + 1;
            masked.append(connectString.substr(at, end - at));
            at = end;
            if (semicolon == std::string_view::npos)
                break;
            continue;
        }
        const std::size_t valueEnd = findValueEnd(connectString, equals + 1);
        const std::size_t end =
            valueEnd == std::string_view::npos ? connectString.size() : valueEnd;
        masked.append(connectString.substr(at, equals + 1 - at));
        if (isPasswordKey(connectString.substr(at, equals - at)))
            masked.append(end - equals - 1, '*');
        else
            masked.append(connectString.substr(equals + 1, end - equals - 1));
        if (valueEnd == std::string_view::npos)
            break;
        masked += ';';
        at = end + 1;
    }
    return masked;
}

Message tableInformationMessage(const TableDescription &description)
{
    std::string text = maskPasswords(description.connectString);
    std::replace(text.begin(), text.end(), ';', '\n');
    text += "\n" + fillIn(userText("PickerTexts", "Table Name:  %1"), {description.tableName});
    return Message{text, userText("PickerTexts", "Quillon: Database Table Information"),
                   MessageIcon::None, MessageButtons::Ok};
}

Message unsavedQuestion(bool exiting)
{
    return Message{
        exiting ? userText("PickerTexts",
                           "Unsaved Text Data will be lost.\nAre you sure you want to exit ?")
                : userText("PickerTexts", "Unsaved Text Data will be lost.\nContinue ?"),
        userText("PickerTexts", "Quillon: Warning"), MessageIcon::Question, MessageButtons::YesNo};
}

Message pathTooLongMessage(std::string_view path)
{
    return Message{
        fillIn(userText("PickerTexts", "The path of the Table Description file is longer "
                                       "than %1 characters, which Quillon cannot keep:\n%2"),
               {std::to_string(MaxDescriptionPathLength), path}),
        "Quillon", MessageIcon::Stop, MessageButtons::Ok};
}

Message launchFailedMessage(const LaunchFailure &failure)
{
    return Message{
        fillIn(userText("PickerTexts", "Cannot start %1\n%2"), {failure.path, failure.reason}),
        userText("PickerTexts", "Quillon: Inform"), MessageIcon::Stop, MessageButtons::Ok};
}

Message outOfMemoryMessage()
{
    return Message{userText("PickerTexts", "Out of memory !"),
                   userText("PickerTexts", "Quillon: Inform"), MessageIcon::Stop,
                   MessageButtons::Ok};
}
