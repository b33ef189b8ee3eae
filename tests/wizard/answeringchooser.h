// SPDX-License-Identifier: MIT
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "odbc/database.h"
#include "wizard/session.h"

// Chooses data sources as a user would in the data source dialog, from a list of answers: a
// connect string to connect with, or nothing for Cancel. Once the list has run out it cancels.
class AnsweringChooser : public DataSourceChooser
{
public:
    bool choose(OdbcDatabase &database) override
    {
        ++asked;
        if (answers.empty())
            return false;
        const std::optional<std::string> answer = answers.front();
        answers.pop_front();
        if (!answer)
            return false;
        database.open(*answer);
        if (afterConnect)
            afterConnect(database);
        return true;
    }

    std::deque<std::optional<std::string>> answers;
    // Runs after each connection, before the wizard reads the catalogue.
    std::function<void(OdbcDatabase &)> afterConnect;
    int asked = 0;
};
