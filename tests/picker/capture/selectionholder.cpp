// SPDX-License-Identifier: MIT
// A plain X window whose Ctrl+C copies nothing: what is selected in it is only on the selection
// (PRIMARY), as in a document viewer whose "Select text" never reaches the clipboard. Its class
// ("selection-holder", "SelectionHolder") names no terminal.
//
// With "--pty SECONDS" it is a terminal of its own making: it runs `sleep SECONDS` on a
// pseudo-terminal and hands a Ctrl+C typed into its window to it, as a terminal emulator does,
// which interrupts the sleep. It prints "child PID" for the sleep. With "--copy-after MS" its
// Ctrl+C does copy, slowly: the selected text reaches the clipboard MS milliseconds later, as
// from a large program busy with a large selection.
//
// Commands on standard input, one a line, each answered with "done":
//   select TEXT   selects TEXT anew: takes the selection with the server's time now
// Prints "ready WINDOW" once its window is shown.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "tests/picker/capture/clipboardprogram.h"

namespace {

// Starts `sleep seconds` as the foreground job of a new pseudo-terminal; the master's descriptor,
// or -1.
int startOnPseudoTerminal(const char *seconds, pid_t &child)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return -1;
    const char *slaveName = ptsname(master);
    if (slaveName == nullptr)
        return -1;
    const std::string slave = slaveName;
    child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        // A new session whose controlling terminal is the slave: its process group is the
        // terminal's foreground job, the one an interrupt reaches.
        setsid();
        const int fd = open(slave.c_str(), O_RDWR);
        if (fd < 0)
            _exit(1);
        dup2(fd, 0);
        dup2(fd, 1);
        dup2(fd, 2);
        close(master);
        execlp("sleep", "sleep", seconds, static_cast<char *>(nullptr));
        _exit(1);
    }
    return master;
}

} // namespace

int main(int argc, char **argv)
{
    int master = -1;
    pid_t child = 0;
    std::optional<std::chrono::milliseconds> copyAfter;
    if (argc == 3 && std::string(argv[1]) == "--pty") {
        master = startOnPseudoTerminal(argv[2], child);
        if (master < 0)
            return 1;
    } else if (argc == 3 && std::string(argv[1]) == "--copy-after") {
        copyAfter = std::chrono::milliseconds(std::atoi(argv[2]));
    }
    using Clock = std::chrono::steady_clock;
    std::optional<Clock::time_point> copyAt;

    ClipboardProgram x;
    if (!x.open())
        return 1;
    Display *display = x.display;
    const Window root = DefaultRootWindow(display);
    const Window window = XCreateSimpleWindow(display, root, 400, 300, 320, 120, 0, 0, 0xffffff);
    XStoreName(display, window, "selection holder");
    XClassHint hint{};
    hint.res_name = const_cast<char *>("selection-holder");
    hint.res_class = const_cast<char *>("SelectionHolder");
    XSetClassHint(display, window, &hint);
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(display, window, &hints);
    const long pid = getpid();
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char *>(&pid), 1);
    XSelectInput(display, window, KeyPressMask | PropertyChangeMask | StructureNotifyMask);
    XMapWindow(display, window);
    const Atom targets = XInternAtom(display, "TARGETS", False);
    const Atom timestamp = XInternAtom(display, "TIMESTAMP", False);
    const Atom stampProperty = XInternAtom(display, "SELECTION_HOLDER_TIME", False);
    XSync(display, False);

    if (child != 0)
        std::printf("child %ld\n", static_cast<long>(child));
    std::printf("ready %lu\n", window);
    std::fflush(stdout);

    std::string text;
    Time owned = CurrentTime;
    std::string input;
    bool selecting = false; // a "select" waits for the server's time
    std::string pending;
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event{};
            XNextEvent(display, &event);
            if (event.type == KeyPress) {
                const KeySym key = XLookupKeysym(&event.xkey, 0);
                if ((event.xkey.state & ControlMask) != 0 && key == XK_c && master >= 0) {
                    const char interrupt = 0x03;
                    (void)write(master, &interrupt, 1);
                } else if ((event.xkey.state & ControlMask) != 0 && key == XK_c && copyAfter) {
                    copyAt = Clock::now() + *copyAfter;
                }
            } else if (event.type == PropertyNotify && event.xproperty.atom == stampProperty &&
                       selecting) {
                selecting = false;
                text = pending;
                owned = event.xproperty.time;
                XSetSelectionOwner(display, XA_PRIMARY, window, owned);
                XFlush(display);
                std::puts("done");
                std::fflush(stdout);
            } else if (event.type == SelectionRequest) {
                const XSelectionRequestEvent &request = event.xselectionrequest;
                if (request.selection != XA_PRIMARY && request.selection != x.clipboard) {
                    x.answer(request, None);
                } else if (request.target == x.utf8String || request.target == XA_STRING) {
                    XChangeProperty(display, request.requestor, request.property, request.target, 8,
                                    PropModeReplace,
                                    reinterpret_cast<const unsigned char *>(text.data()),
                                    static_cast<int>(text.size()));
                    x.answer(request, request.property);
                } else if (request.target == timestamp && request.selection == XA_PRIMARY) {
                    const long time = static_cast<long>(owned);
                    XChangeProperty(display, request.requestor, request.property, XA_INTEGER, 32,
                                    PropModeReplace, reinterpret_cast<const unsigned char *>(&time),
                                    1);
                    x.answer(request, request.property);
                } else if (request.target == targets) {
                    const Atom offered[] = {targets, timestamp, x.utf8String, XA_STRING};
                    XChangeProperty(display, request.requestor, request.property, XA_ATOM, 32,
                                    PropModeReplace,
                                    reinterpret_cast<const unsigned char *>(offered), 4);
                    x.answer(request, request.property);
                } else {
                    x.answer(request, None);
                }
            }
        }
        if (copyAt && Clock::now() >= *copyAt) {
            copyAt.reset();
            XSetSelectionOwner(display, x.clipboard, window, CurrentTime);
            XFlush(display);
        }
        int timeout = -1;
        if (copyAt)
            timeout = static_cast<int>(
                std::chrono::ceil<std::chrono::milliseconds>(*copyAt - Clock::now()).count());
        pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {0, POLLIN, 0}};
        poll(fds, 2, std::max(timeout, copyAt ? 0 : -1));
        if ((fds[1].revents & (POLLIN | POLLHUP)) != 0) {
            char buffer[4096];
            const ssize_t count = read(0, buffer, sizeof buffer);
            if (count <= 0)
                return 0;
            input.append(buffer, static_cast<std::size_t>(count));
            for (std::size_t end; (end = input.find('\n')) != std::string::npos;) {
                const std::string line = input.substr(0, end);
                input.erase(0, end + 1);
                if (line.rfind("select ", 0) == 0) {
                    // The time of a change of our own property is the server's time now.
                    pending = line.substr(7);
                    selecting = true;
                    XChangeProperty(display, window, stampProperty, XA_INTEGER, 32, PropModeReplace,
                                    nullptr, 0);
                    XFlush(display);
                } else {
                    std::puts("done");
                    std::fflush(stdout);
                }
            }
        }
    }
}
