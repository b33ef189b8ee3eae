// SPDX-License-Identifier: MIT
#include <iostream>
#include <string>
#include <vector>

#include "tools/rowtool.h"

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return runRowTool(args, std::cin, std::cout, std::cerr);
}
