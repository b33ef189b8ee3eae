// SPDX-License-Identifier: MIT
#pragma once

// How a click on a field's button gets the text.
enum class CaptureMode
{
    // The window the user worked in is given the focus and sent Ctrl+C; its copy arrives on the
    // clipboard. Terminals are the exception: for them the selection is read.
    Copy,
    // What is selected (X11's PRIMARY selection) is read at once, from whatever window: no focus
    // change, no keys.
    Selection,
};
