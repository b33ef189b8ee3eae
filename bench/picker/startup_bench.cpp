// SPDX-License-Identifier: MIT
// Start-up and idle cost of the picker, next to a bare Qt Widgets program that connects to the
// same SQLite data source and shows one window (startup_bare), in the same run:
// - start-up: from exec until the window manager lists the program's window (the picker shows
//   its window once its data source is connected), and the resident memory then;
// - idle: the CPU time the picker uses while it waits 10 seconds with nothing happening.
// Needs an X server with a window manager; without DISPLAY it starts itself under
// tests/support/with-x.
//
//   startup_bench [rounds]

// Before Xlib, whose macros (None) would clash with it.
#include "fieldvalues/tabledescription.h"
#include "tests/support/withx.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct Measure
{
    double seconds = 0;
    long residentKiB = 0;
    pid_t pid = 0;
};

// Whether the window manager lists a window of process `pid`.
bool listed(Display *display, pid_t pid)
{
    const Atom clientList = XInternAtom(display, "_NET_CLIENT_LIST", False);
    const Atom wmPid = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), clientList, 0, 1024, False,
                           XA_WINDOW, &type, &format, &count, &after, &data) != Success ||
        data == nullptr)
        return false;
    bool found = false;
    const Window *windows = reinterpret_cast<const Window *>(data);
    for (unsigned long i = 0; i < count && !found; ++i) {
        unsigned char *owner = nullptr;
        unsigned long ownerCount = 0;
        if (XGetWindowProperty(display, windows[i], wmPid, 0, 1, False, XA_CARDINAL, &type, &format,
                               &ownerCount, &after, &owner) == Success &&
            owner != nullptr) {
            found = ownerCount == 1 && static_cast<pid_t>(*reinterpret_cast<long *>(owner)) == pid;
            XFree(owner);
        }
    }
    XFree(data);
    return found;
}

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}

// User and system CPU time of a process, in seconds.
double cpuSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0;
    unsigned long long stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14)
            utime = std::stoull(field);
        if (i == 15) {
            stime = std::stoull(field);
            break;
        }
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

Measure launch(Display *display, const std::vector<std::string> &command)
{
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char *> arguments;
        for (const std::string &argument : command)
            arguments.push_back(const_cast<char *>(argument.c_str()));
        arguments.push_back(nullptr);
        execv(arguments[0], arguments.data());
        _exit(127);
    }
    Measure measure;
    measure.pid = pid;
    while (!listed(display, pid)) {
        if (Clock::now() - start > std::chrono::seconds(30) || waitpid(pid, nullptr, WNOHANG) != 0)
            return measure;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    measure.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    measure.residentKiB = residentKiB(pid);
    return measure;
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    runUnderXWhenHeadless(argc, argv, WITH_X);
    const int rounds = argc > 1 && argv[1][0] != '-' ? std::max(1, std::atoi(argv[1])) : 10;
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 1;
    // A window can go between reading the window manager's list and asking for its owner.
    XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });

    // A private configuration and data source: SQLite through the tests' driver file.
    const fs::path folder =
        fs::temp_directory_path() / ("quillon-startup-" + std::to_string(getpid()));
    fs::create_directories(folder / "config");
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    setenv("ODBCSYSINI", QUILLON_ODBC_INI_DIR, 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    const std::string connect = "DRIVER=SQLite3;Database=" + (folder / "bench.sqlite").string();
    const std::string description = (folder / "bench.dtd").string();
    std::vector<FieldRow> fields;
    for (int i = 0; i < 5; ++i)
        fields.push_back(FieldRow{"F" + std::to_string(i), "F" + std::to_string(i), "", "VARCHAR",
                                  "40", "No", "12"});
    if (!saveTableDescription(description, connect, "T", fields))
        return 1;

    std::vector<double> picker;
    std::vector<double> bare;
    std::vector<double> pickerMemory;
    std::vector<double> bareMemory;
    for (int round = 0; round < rounds; ++round) {
        Measure b = launch(display, {QUILLON_BARE_PROGRAM, connect});
        stop(b.pid);
        Measure p = launch(display, {QUILLON_PROGRAM, description});
        stop(p.pid);
        if (b.seconds <= 0 || p.seconds <= 0) {
            std::fprintf(stderr, "startup_bench: a program did not show its window\n");
            return 1;
        }
        bare.push_back(b.seconds);
        picker.push_back(p.seconds);
        bareMemory.push_back(static_cast<double>(b.residentKiB));
        pickerMemory.push_back(static_cast<double>(p.residentKiB));
    }
    std::printf("start-up: picker %.1f ms, bare %.1f ms, ratio %.2f (median of %d)\n",
                median(picker) * 1000, median(bare) * 1000, median(picker) / median(bare), rounds);
    std::printf("resident memory: picker %.0f KiB, bare %.0f KiB, ratio %.2f\n",
                median(pickerMemory), median(bareMemory),
                median(pickerMemory) / median(bareMemory));

    // Idle: a picker that waits 10 seconds with nothing happening.
    Measure idle = launch(display, {QUILLON_PROGRAM, description});
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const double before = cpuSeconds(idle.pid);
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const double used = cpuSeconds(idle.pid) - before;
    stop(idle.pid);
    std::printf("idle: %.0f ms of CPU in 10 s (clock tick %.0f ms)\n", used * 1000,
                1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK)));
    std::fflush(stdout);
    XCloseDisplay(display);
    fs::remove_all(folder);
    return 0;
}
