// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// A message for the user: what the operation that met a failure wants shown. The libraries
// never show anything themselves; they hand a Message to their caller or to a MessageSink.

enum class MessageIcon
{
    None,
    Information,
    Exclamation,
    Question,
    Stop,
};

enum class MessageButtons
{
    Ok,
    YesNo,
};

enum class MessageAnswer
{
    Ok,
    Yes,
    No,
};

struct Message
{
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;

    bool operator==(const Message &) const = default;
};

// The one way out for message boxes: the programs show a QMessageBox, the command-line tool
// prints, tests record and answer from a script.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual MessageAnswer show(const Message &message) = 0;
};
