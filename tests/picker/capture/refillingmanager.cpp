// SPDX-License-Identifier: MIT
// A clipboard manager that refills an emptied clipboard, as KDE's "prevent empty clipboard" and
// others do: it learns every text copied to the clipboard and, the moment the clipboard has been
// emptied, takes it back with the last one. It stamps its ownership with the time it gets there,
// so that it looks as new as any copy; with "--stamp emptying" with the time of the emptying, as
// managers built on a toolkit do. With "--refill TEXT" it learns nothing and always puts back
// TEXT, a text the clipboard never held (a history kept from an earlier session). Prints "ready"
// once it listens, "holding TEXT" whenever it has learned a text and "refilled" whenever it has
// put one back.
//
// A refill stamped later than the keys that ask for a copy wins over the copy itself when the
// server sees it first: the copy, stamped with the time of the keys, is then too old to take the
// clipboard. Where the keys follow the emptying at once (no window manager to wait for) only a
// refill stamped with the time of the emptying leaves the copy a chance.
#include <cstdio>
#include <string>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include "picker/capture/x11/x11property.h"
#include "tests/picker/capture/clipboardprogram.h"

int main(int argc, char **argv)
{
    const bool stampEmptying =
        argc == 3 && std::string(argv[1]) == "--stamp" && std::string(argv[2]) == "emptying";
    const bool fixed = argc == 3 && std::string(argv[1]) == "--refill";
    ClipboardProgram x;
    if (!x.open())
        return 1;
    const Atom targets = XInternAtom(x.display, "TARGETS", False);
    const Atom learned = XInternAtom(x.display, "REFILLING_MANAGER", False);
    int fixesEvent = 0;
    int fixesError = 0;
    if (!XFixesQueryExtension(x.display, &fixesEvent, &fixesError))
        return 1;
    XFixesSelectSelectionInput(x.display, x.own, x.clipboard, XFixesSetSelectionOwnerNotifyMask);
    std::puts("ready");
    std::fflush(stdout);

    std::string text = fixed ? argv[2] : "";
    for (;;) {
        XEvent event{};
        XNextEvent(x.display, &event);
        if (event.type == fixesEvent + XFixesSelectionNotify) {
            const auto &notify = reinterpret_cast<const XFixesSelectionNotifyEvent &>(event);
            if (notify.owner == None && !text.empty()) {
                XSetSelectionOwner(x.display, x.clipboard, x.own,
                                   stampEmptying ? notify.timestamp : CurrentTime);
                XFlush(x.display);
                std::puts("refilled");
                std::fflush(stdout);
            } else if (notify.owner != None && notify.owner != x.own && !fixed) {
                XConvertSelection(x.display, x.clipboard, x.utf8String, learned, x.own,
                                  CurrentTime);
            }
        } else if (event.type == SelectionNotify && event.xselection.property == learned) {
            X11Property answer(x.display, x.own, learned, 1 << 16, x.utf8String, true);
            if (answer.format() == 8 && answer.count() > 0) {
                text.assign(reinterpret_cast<const char *>(answer.data()), answer.count());
                std::printf("holding %s\n", text.c_str());
                std::fflush(stdout);
            }
        } else if (event.type == SelectionRequest) {
            const XSelectionRequestEvent &request = event.xselectionrequest;
            if (request.target == x.utf8String || request.target == XA_STRING) {
                XChangeProperty(x.display, request.requestor, request.property, request.target, 8,
                                PropModeReplace,
                                reinterpret_cast<const unsigned char *>(text.data()),
                                static_cast<int>(text.size()));
                x.answer(request, request.property);
            } else if (request.target == targets) {
                const Atom offered[] = {targets, x.utf8String, XA_STRING};
                XChangeProperty(x.display, request.requestor, request.property, XA_ATOM, 32,
                                PropModeReplace, reinterpret_cast<const unsigned char *>(offered),
                                3);
                x.answer(request, request.property);
            } else {
                x.answer(request, None);
            }
        }
    }
}
