// SPDX-License-Identifier: MIT
#include "picker/capture/pseudoterminal.h"

#include <string>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The master side is opened through the multiplexer, either the classic device or the one inside
// a devpts mount of its own (containers).
bool isMultiplexer(std::string_view target)
{
    return target == "/dev/ptmx" || target == "/dev/pts/ptmx";
}

struct DirectoryCloser
{
    DIR *directory;
    ~DirectoryCloser()
    {
        if (directory != nullptr)
            closedir(directory);
    }
};

} // namespace

bool holdsPseudoTerminalMaster(long pid)
{
    if (pid <= 0)
        return false;
    const std::string folder = "/proc/" + std::to_string(pid) + "/fd";
    const DirectoryCloser fds{opendir(folder.c_str())};
    if (fds.directory == nullptr)
        return false;
    const int folderFd = dirfd(fds.directory);
    char target[64];
    while (const dirent *entry = readdir(fds.directory)) {
        if (entry->d_name[0] == '.')
            continue;
        const ssize_t length = readlinkat(folderFd, entry->d_name, target, sizeof target);
        if (length > 0 && static_cast<std::size_t>(length) < sizeof target &&
            isMultiplexer(std::string_view(target, static_cast<std::size_t>(length))))
            return true;
    }
    return false;
}
