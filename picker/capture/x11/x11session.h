// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "picker/capture/capturebackend.h"

// The X11 capture backend wired into the running Qt application: it learns the window ids of
// our own windows from Qt and follows _NET_ACTIVE_WINDOW through the events Qt receives.
// Returns nullptr when the display cannot be opened for capture.
std::unique_ptr<CaptureBackend> createX11CaptureSession();

// Opens the backend's display connection on a thread of its own, beside the toolkit's start-up,
// for the next createX11CaptureSession() to take. Call it first thing in main, before anything
// else speaks to X: it makes Xlib safe for threads, which must come before any other Xlib call.
void startX11CaptureSession();
