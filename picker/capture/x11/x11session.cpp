// SPDX-License-Identifier: MIT
#include "picker/capture/x11/x11session.h"

#include <cstdlib>
#include <future>

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include "picker/capture/x11/x11capture.h"

namespace {

// Feeds the backend what Qt receives: the property changes on the root window and the presses of
// a pointer button in our windows.
class X11EventFeed final : public QAbstractNativeEventFilter
{
public:
    explicit X11EventFeed(X11CaptureBackend &backend)
        : m_backend(backend), m_root(static_cast<xcb_window_t>(backend.rootWindow())),
          m_inputOpcode(backend.inputExtensionOpcode())
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~X11EventFeed() override
    {
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    X11EventFeed(const X11EventFeed &) = delete;
    X11EventFeed &operator=(const X11EventFeed &) = delete;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        switch (event->response_type & 0x7f) {
        case XCB_PROPERTY_NOTIFY: {
            const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            if (notify->window == m_root)
                m_backend.rootPropertyChanged(notify->atom, notify->time);
            break;
        }
        case XCB_BUTTON_PRESS:
            m_backend.pointerPressed();
            break;
        case XCB_GE_GENERIC: {
            // Qt takes the pointer through the X Input extension (XI_ButtonPress is 4).
            const auto *generic = reinterpret_cast<const xcb_ge_generic_event_t *>(event);
            if (generic->extension == m_inputOpcode && generic->event_type == 4)
                m_backend.pointerPressed();
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    X11CaptureBackend &m_backend;
    xcb_window_t m_root;
    int m_inputOpcode;
};

// The connection that startX11CaptureSession() is opening.
std::future<std::unique_ptr<X11CaptureBackend>> &earlySession()
{
    static std::future<std::unique_ptr<X11CaptureBackend>> session;
    return session;
}

} // namespace

void startX11CaptureSession()
{
    // Opening costs the connection's setup, the extensions' queries and the keyboard map, a few
    // milliseconds that would otherwise delay the window. Qt calls XInitThreads too, later.
    XInitThreads();
    // No window of ours exists before the toolkit runs, and nothing is flushed before a pick.
    earlySession() = std::async(std::launch::async, [] {
        return X11CaptureBackend::open(
            nullptr, [](WindowId) { return false; }, [] {});
    });
}

std::unique_ptr<CaptureBackend> createX11CaptureSession()
{
    // The click that asks for the pick has made Qt ask the window manager to activate our window.
    // That request must reach the server before the backend's own, so that the window manager
    // handles it first and the backend's wait covers it.
    auto flushToolkit = [] {
        if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            xcb_connection_t *connection = x11->connection();
            std::free(
                xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        }
    };
    std::unique_ptr<X11CaptureBackend> backend =
        earlySession().valid() ? earlySession().get()
                               : X11CaptureBackend::open(nullptr, isOwnWindow, flushToolkit);
    if (backend != nullptr) {
        backend->joinToolkit(isOwnWindow, flushToolkit);
        backend->attach(std::make_shared<X11EventFeed>(*backend));
    }
    return backend;
}
