// SPDX-License-Identifier: MIT
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

// Without an X display, runs this program again under tests/support/with-x (a private Xvfb
// with a window manager), so that programs that need one work headless. Returns only when
// there is a display; exits when with-x cannot be started.
inline void runUnderXWhenHeadless(int argc, char **argv, const char *withX)
{
    if (std::getenv("DISPLAY") != nullptr)
        return;
    std::vector<char *> arguments{const_cast<char *>(withX), argv[0]};
    for (int i = 1; i < argc; ++i)
        arguments.push_back(argv[i]);
    arguments.push_back(nullptr);
    execv(withX, arguments.data());
    std::perror(withX);
    std::exit(1);
}
