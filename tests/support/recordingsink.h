// SPDX-License-Identifier: MIT
#pragma once

#include <deque>
#include <ostream>
#include <vector>

#include "fieldvalues/message.h"

// A message sink that records every message and answers from a script: the next scripted
// answer, or Ok (Yes for a question) when the script has run out.
class RecordingSink : public MessageSink
{
public:
    MessageAnswer show(const Message &message) override
    {
        shown.push_back(message);
        if (!answers.empty()) {
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }

    std::vector<Message> shown;
    std::deque<MessageAnswer> answers;
};

// Shows a message in test failures as its caption, icon and text.
inline void PrintTo(const Message &message, std::ostream *out)
{
    *out << "{caption \"" << message.caption << "\", icon " << static_cast<int>(message.icon)
         << ", buttons " << static_cast<int>(message.buttons) << ", text \"" << message.text
         << "\"}";
}
