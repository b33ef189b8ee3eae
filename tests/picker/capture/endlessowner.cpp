// SPDX-License-Identifier: MIT
// Owns the CLIPBOARD selection and answers every request for text in pieces without ever sending
// the last one, like a program caught in a loop. Prints "ready" once it owns the clipboard.
#include <cstdio>
#include <string>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "tests/picker/capture/clipboardprogram.h"

int main()
{
    ClipboardProgram x;
    if (!x.open())
        return 1;
    const Atom incr = XInternAtom(x.display, "INCR", False);
    XSetSelectionOwner(x.display, x.clipboard, x.own, CurrentTime);
    if (XGetSelectionOwner(x.display, x.clipboard) != x.own)
        return 1;
    std::puts("ready");
    std::fflush(stdout);

    const std::string piece(4096, 'x');
    Window requestor = 0;
    Atom property = None;
    Atom type = None;
    for (;;) {
        XEvent event{};
        XNextEvent(x.display, &event);
        if (event.type == SelectionRequest) {
            const XSelectionRequestEvent &request = event.xselectionrequest;
            if (request.target != x.utf8String && request.target != XA_STRING) {
                x.answer(request, None);
                continue;
            }
            requestor = request.requestor;
            property = request.property;
            type = request.target;
            XSelectInput(x.display, requestor, PropertyChangeMask);
            const long size = 1 << 20;
            XChangeProperty(x.display, requestor, property, incr, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(&size), 1);
            x.answer(request, property);
        } else if (event.type == PropertyNotify && event.xproperty.window == requestor &&
                   event.xproperty.atom == property && event.xproperty.state == PropertyDelete) {
            XChangeProperty(x.display, requestor, property, type, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(piece.data()),
                            static_cast<int>(piece.size()));
            XFlush(x.display);
        }
    }
}
