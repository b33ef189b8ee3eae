// SPDX-License-Identifier: MIT
// The command line: an exact leading command word is a command for the running picker, and
// everything else is a path joined by blanks, as it always was.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picker/commandline.h"

namespace {

using Kind = PickerCommand::Kind;

struct Case
{
    std::vector<std::string> arguments;
    std::optional<PickerCommand> command;
    std::string path;
    std::string error;
};

const std::string PickUsage = "quillon: --pick takes a field number from 1 to 30, or next\n";

TEST(CommandLine, CommandsPathsAndMistakes)
{
    const std::vector<Case> cases = {
        {{}, std::nullopt, "", ""},
        {{"My", "Table.dtd"}, std::nullopt, "My Table.dtd", ""},
        {{"/tmp/people.dtd"}, std::nullopt, "/tmp/people.dtd", ""},
        {{"--pick", "1"}, PickerCommand{Kind::Pick, 1}, "", ""},
        {{"--pick", "30"}, PickerCommand{Kind::Pick, 30}, "", ""},
        {{"--pick", "next"}, PickerCommand{Kind::PickNext, 0}, "", ""},
        {{"--enter"}, PickerCommand{Kind::Enter, 0}, "", ""},
        {{"--fill-row"}, PickerCommand{Kind::FillRow, 0}, "", ""},
        {{"--pick"}, std::nullopt, "", PickUsage},
        {{"--pick", "0"}, std::nullopt, "", PickUsage},
        {{"--pick", "31"}, std::nullopt, "", PickUsage},
        {{"--pick", "01"}, std::nullopt, "", PickUsage},
        {{"--pick", "-1"}, std::nullopt, "", PickUsage},
        {{"--pick", "Next"}, std::nullopt, "", PickUsage},
        {{"--pick", "1", "2"}, std::nullopt, "", PickUsage},
        {{"--enter", "now"}, std::nullopt, "", "quillon: nothing may follow --enter\n"},
        {{"--fill-row", "x"}, std::nullopt, "", "quillon: nothing may follow --fill-row\n"},
        // Only the exact word at the start is a command: these are paths.
        {{"--enter.dtd"}, std::nullopt, "--enter.dtd", ""},
        {{"--Enter"}, std::nullopt, "--Enter", ""},
        {{"My", "--enter"}, std::nullopt, "My --enter", ""},
        {{"--pick 1"}, std::nullopt, "--pick 1", ""},
    };
    for (const Case &c : cases) {
        std::string joined;
        for (const std::string &argument : c.arguments)
            joined += "[" + argument + "]";
        SCOPED_TRACE(joined);
        const CommandLine line = parseCommandLine(c.arguments);
        EXPECT_EQ(line.command, c.command);
        EXPECT_EQ(line.path, c.path);
        EXPECT_EQ(line.error, c.error);
    }
}

} // namespace
