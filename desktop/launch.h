// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Starting the other program and opening the help page, both found from our own executable.

// Why a program or a page could not be started.
struct LaunchFailure
{
    std::string path;
    std::string reason;
};

// The file name of the help page that both programs open.
inline constexpr std::string_view HelpPageName = "helpframe.htm";

// The help page: beside the executable (the build tree), else in the installed share folder
// (../share/quillon beside bin/). The path beside the executable when neither exists.
std::string helpPagePath();

// Opens the help page in the desktop's program for web pages, at `anchor` when it is not empty.
bool showHelpPage(std::string_view anchor, LaunchFailure *failure = nullptr);

// The path of `program` beside our own executable.
std::string siblingProgramPath(std::string_view program);

// Starts `program` from beside our own executable, detached, with `arguments` each handed on
// whole. Needs a QCoreApplication.
bool startSiblingProgram(std::string_view program, const std::vector<std::string> &arguments,
                         LaunchFailure *failure = nullptr);
