// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "picker/capture/capturebackend.h"

// The X11 capture backend wired into the running Qt application: it learns the window ids of
// our own windows from Qt and follows _NET_ACTIVE_WINDOW through the events Qt receives.
// Returns nullptr when the display cannot be opened for capture.
std::unique_ptr<CaptureBackend> createX11CaptureSession();
