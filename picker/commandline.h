// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

// A command for the picker that runs, sent by a second invocation (`quillon --pick 1`), so that
// the desktop's own custom shortcuts can drive the picker.
struct PickerCommand
{
    enum class Kind
    {
        Pick,
        PickNext,
        Enter,
        FillRow,
    };
    Kind kind = Kind::Pick;
    // For Pick: the field, counted from 1 as on the toolbar.
    int field = 0;

    bool operator==(const PickerCommand &) const = default;
};

// The highest field number a command names: a table has at most 30 fields.
inline constexpr int MaxCommandField = 30;

// What the command line asks for: a command, the path of a Table Description file (possibly
// empty), or nothing but an error to print.
struct CommandLine
{
    std::optional<PickerCommand> command;
    std::string path;
    // Non-empty for a command line that starts with a command word and is not a command.
    std::string error;
};

// The arguments after the program's name. Only an exact leading `--pick`, `--enter` or
// `--fill-row` is a command; anything else is a path whose pieces are joined by single blanks,
// as they were before there were commands (`quillon My Table.dtd`).
CommandLine parseCommandLine(const std::vector<std::string> &arguments);

inline constexpr const char *PickUsageText =
    "quillon: --pick takes a field number from 1 to 30, or next\n";
// %s: the command word.
inline constexpr const char *NothingAfterCommandText = "quillon: nothing may follow %s\n";
