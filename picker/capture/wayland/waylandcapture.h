// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "picker/capture/capturebackend.h"

// The capture backend in a Wayland session, whatever the picker itself runs on (XWayland or
// Wayland): the clipboard and the selection through data-control on a connection of its own,
// Ctrl+C through a virtual keyboard, and the windows through sway's IPC. Without sway's IPC
// (KWin, mutter) no window can be named or focused: a pick then sends no keys, and the field
// waits for a copy by hand, while the selection mode works as anywhere.
//
// Returns nullptr where the session has no compositor that offers data-control.
std::unique_ptr<CaptureBackend> createWaylandCaptureSession();
