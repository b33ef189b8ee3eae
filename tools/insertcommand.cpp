#include "rowtool.h"

#include <iostream>

int RunInsert(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    (void)args;
    (void)out;
    err << "quillon-row: insert is not available in this build\n";
    return 1;
}
