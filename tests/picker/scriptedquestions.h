// SPDX-License-Identifier: MIT
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "picker/pickertable.h"

// The questions about a Table Description file, answered from a script; each one asked is
// recorded in `calls`.
class ScriptedQuestions
{
public:
    explicit ScriptedQuestions(std::vector<std::string> &calls) : m_calls(calls) {}

    // The Open dialog: the next path of `chosen`, Cancel when none is left.
    bool choose(std::string &path)
    {
        m_calls.push_back("choose");
        if (chosen.empty())
            return false;
        path = chosen.front();
        chosen.pop_front();
        return true;
    }

    // The question without a description: the next answer of `noDescription`, giving up when none
    // is left.
    PickerTable::NoDescriptionChoice askNoDescription()
    {
        m_calls.push_back("askNoDescription");
        if (noDescription.empty())
            return PickerTable::NoDescriptionChoice::GaveUp;
        const PickerTable::NoDescriptionChoice choice = noDescription.front();
        noDescription.pop_front();
        return choice;
    }

    std::deque<std::string> chosen;
    std::deque<PickerTable::NoDescriptionChoice> noDescription;

private:
    std::vector<std::string> &m_calls;
};
