// SPDX-License-Identifier: MIT
#pragma once

#include <X11/Xlib.h>

// What the tests' own clipboard programs share: a connection of their own with one window, and
// the answer to a request for the clipboard.
struct ClipboardProgram
{
    Display *display = nullptr;
    Window own = 0;
    Atom clipboard = 0;
    Atom utf8String = 0;

    // Opens the display; false when there is none. A requestor that has gone away, or one that
    // gives up and destroys its window, must not end the program: errors are ignored.
    bool open()
    {
        display = XOpenDisplay(nullptr);
        if (display == nullptr)
            return false;
        XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
        own = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
        clipboard = XInternAtom(display, "CLIPBOARD", False);
        utf8String = XInternAtom(display, "UTF8_STRING", False);
        return true;
    }

    // Tells the requestor that the answer to `request` is in `property`, or with None that the
    // request is refused.
    void answer(const XSelectionRequestEvent &request, Atom property) const
    {
        XEvent answer{};
        answer.xselection.type = SelectionNotify;
        answer.xselection.requestor = request.requestor;
        answer.xselection.selection = request.selection;
        answer.xselection.target = request.target;
        answer.xselection.time = request.time;
        answer.xselection.property = property;
        XSendEvent(display, request.requestor, False, 0, &answer);
        XFlush(display);
    }
};
