#include "picker/capture/x11/x11session.h"

#include <cstdlib>

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include "picker/capture/x11/x11capture.h"

namespace {

class X11CaptureSession final : public CaptureBackend, public QAbstractNativeEventFilter
{
public:
    explicit X11CaptureSession(std::unique_ptr<X11CaptureBackend> backend)
        : m_backend(std::move(backend)), m_root(static_cast<xcb_window_t>(m_backend->rootWindow())),
          m_inputOpcode(m_backend->inputExtensionOpcode())
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
        // The click that asks for the pick has made Qt ask the window manager to activate our
        // window. That request must reach the server before the backend's own, so that the
        // window manager handles it first and the backend's wait covers it.
        m_backend->setToolkitFlush([] {
            if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
                xcb_connection_t *connection = x11->connection();
                std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection),
                                                    nullptr));
            }
        });
    }
    ~X11CaptureSession() override
    {
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    X11CaptureSession(const X11CaptureSession &) = delete;
    X11CaptureSession &operator=(const X11CaptureSession &) = delete;

    bool available() const override { return true; }
    WindowId activeBeforeUs() override { return m_backend->activeBeforeUs(); }
    WindowId windowAt(int x, int y) override { return m_backend->windowAt(x, y); }
    bool giveFocus(WindowId window) override { return m_backend->giveFocus(window); }
    bool requestFocus(WindowId window) override { return m_backend->requestFocus(window); }
    bool awaitFocus() override { return m_backend->awaitFocus(); }
    bool keepFocus(WindowId window) override { return m_backend->keepFocus(window); }
    bool sendCopyKeys() override { return m_backend->sendCopyKeys(); }
    WindowClass windowClass(WindowId window) override { return m_backend->windowClass(window); }
    long windowProcess(WindowId window) override { return m_backend->windowProcess(window); }
    ClipboardRead readSelectionText(std::string &text, std::size_t limit) override
    {
        return m_backend->readSelectionText(text, limit);
    }
    SelectionStamp selectionStamp() override { return m_backend->selectionStamp(); }
    bool selectionFromTarget() override { return m_backend->selectionFromTarget(); }
    bool emptyClipboard() override { return m_backend->emptyClipboard(); }
    bool waitForCopy(std::chrono::milliseconds wait) override
    {
        return m_backend->waitForCopy(wait);
    }
    ClipboardRead readClipboardText(std::string &text, std::size_t limit) override
    {
        return m_backend->readClipboardText(text, limit);
    }
    bool textBeforeEmptying(std::string &text, std::size_t limit) override
    {
        return m_backend->textBeforeEmptying(text, limit);
    }
    bool ownerIsBystander() override { return m_backend->ownerIsBystander(); }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        switch (event->response_type & 0x7f) {
        case XCB_PROPERTY_NOTIFY: {
            const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            if (notify->window == m_root)
                m_backend->rootPropertyChanged(notify->atom);
            break;
        }
        case XCB_BUTTON_PRESS:
            m_backend->pointerPressed();
            break;
        case XCB_GE_GENERIC: {
            // Qt takes the pointer through the X Input extension (XI_ButtonPress is 4).
            const auto *generic = reinterpret_cast<const xcb_ge_generic_event_t *>(event);
            if (generic->extension == m_inputOpcode && generic->event_type == 4)
                m_backend->pointerPressed();
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    std::unique_ptr<X11CaptureBackend> m_backend;
    xcb_window_t m_root;
    int m_inputOpcode;
};

} // namespace

std::unique_ptr<CaptureBackend> CreateX11CaptureSession()
{
    std::unique_ptr<X11CaptureBackend> backend = X11CaptureBackend::Open(nullptr, IsOwnWindow);
    if (backend == nullptr)
        return nullptr;
    return std::make_unique<X11CaptureSession>(std::move(backend));
}
