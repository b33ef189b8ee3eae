// SPDX-License-Identifier: MIT
#include "picker/capture/capturebackend.h"

#include <QGuiApplication>
#include <QString>
#include <QWindow>

#include "picker/capture/wayland/waylandcapture.h"
#include "picker/capture/x11/x11session.h"

bool isOwnWindow(WindowId window)
{
    const QWindowList windows = QGuiApplication::allWindows();
    for (const QWindow *own : windows) {
        if (own->handle() != nullptr && static_cast<WindowId>(own->winId()) == window)
            return true;
    }
    return false;
}

std::unique_ptr<CaptureBackend> createCaptureBackend()
{
    const QByteArray choice = qgetenv("QUILLON_CAPTURE");
    const bool wantWayland =
        choice.isEmpty() ? qEnvironmentVariableIsSet("WAYLAND_DISPLAY") : choice == "wayland";
    if (wantWayland) {
        if (std::unique_ptr<CaptureBackend> wayland = createWaylandCaptureSession())
            return wayland;
    }
    const bool wantX11 = choice.isEmpty() ? QGuiApplication::platformName() == QLatin1String("xcb")
                                          : choice == "x11";
    if (wantX11) {
        if (std::unique_ptr<CaptureBackend> x11 = createX11CaptureSession())
            return x11;
    }
    return std::make_unique<NullCaptureBackend>();
}

void prepareCaptureBackend()
{
    // The same choice as createCaptureBackend()'s, told from the environment alone: the picker's
    // main sets QT_QPA_PLATFORM to xcb wherever there is an X display.
    const QByteArray choice = qgetenv("QUILLON_CAPTURE");
    const bool x11 = choice.isEmpty() ? !qEnvironmentVariableIsSet("WAYLAND_DISPLAY") &&
                                            qgetenv("QT_QPA_PLATFORM") == "xcb"
                                      : choice == "x11";
    if (x11)
        startX11CaptureSession();
}
