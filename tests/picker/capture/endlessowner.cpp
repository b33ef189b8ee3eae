// Owns the CLIPBOARD selection and answers every request for text in pieces without ever sending
// the last one, like a program caught in a loop. Prints "ready" once it owns the clipboard.
#include <cstdio>
#include <string>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

int main()
{
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 1;
    // A requestor that gives up destroys its window: writing to it must not end this program.
    XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
    const Window owner =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    const Atom incr = XInternAtom(display, "INCR", False);
    const Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
    XSetSelectionOwner(display, clipboard, owner, CurrentTime);
    if (XGetSelectionOwner(display, clipboard) != owner)
        return 1;
    std::puts("ready");
    std::fflush(stdout);

    const std::string piece(4096, 'x');
    Window requestor = 0;
    Atom property = None;
    Atom type = None;
    for (;;) {
        XEvent event{};
        XNextEvent(display, &event);
        if (event.type == SelectionRequest) {
            const XSelectionRequestEvent &request = event.xselectionrequest;
            XEvent answer{};
            answer.xselection.type = SelectionNotify;
            answer.xselection.requestor = request.requestor;
            answer.xselection.selection = request.selection;
            answer.xselection.target = request.target;
            answer.xselection.time = request.time;
            answer.xselection.property = None;
            if (request.target == utf8String || request.target == XA_STRING) {
                requestor = request.requestor;
                property = request.property;
                type = request.target;
                XSelectInput(display, requestor, PropertyChangeMask);
                const long size = 1 << 20;
                XChangeProperty(display, requestor, property, incr, 32, PropModeReplace,
                                reinterpret_cast<const unsigned char *>(&size), 1);
                answer.xselection.property = property;
            }
            XSendEvent(display, request.requestor, False, 0, &answer);
            XFlush(display);
        } else if (event.type == PropertyNotify && event.xproperty.window == requestor &&
                   event.xproperty.atom == property && event.xproperty.state == PropertyDelete) {
            XChangeProperty(display, requestor, property, type, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(piece.data()),
                            static_cast<int>(piece.size()));
            XFlush(display);
        }
    }
}
