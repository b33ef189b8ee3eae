// SPDX-License-Identifier: MIT
// A shared library that leaves a mark when it is loaded: its constructor creates the file
// named QUILLON_MARKER_NAME in the folder $QUILLON_MARKER_DIR, or in QUILLON_MARKER_FALLBACK_DIR
// when the variable is not set, so that a load is never missed. It is no ODBC driver: a driver
// manager that loads it fails afterwards, but its constructor has run by then.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

__attribute__((constructor)) void leaveMark()
{
    const char *folder = std::getenv("QUILLON_MARKER_DIR");
    const std::string path = std::string(folder != nullptr ? folder : QUILLON_MARKER_FALLBACK_DIR) +
                             "/" + QUILLON_MARKER_NAME;
    if (std::FILE *file = std::fopen(path.c_str(), "w")) {
        std::fputs("loaded\n", file);
        std::fclose(file);
    }
}

} // namespace
