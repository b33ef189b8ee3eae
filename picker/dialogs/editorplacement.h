// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the value editor opens: beside the button of the field it edits. All rectangles are in
// global (screen) coordinates; a rectangle's right and bottom edges are x() + width() and
// y() + height().
struct EditorPlacement
{
    QRect desktop;        // the desktop's work area
    QRect window;         // the picker's main window, frame included
    QPoint clientTopLeft; // the top left of the main window's client area
    QRect button;         // the button of the edited field
    QSize editor;         // the editor's size, frame included
    int orientation = 0;  // 1: field buttons in a row, 0: in a column
};

// How far the editor reaches over the main window when it opens beside a column of buttons.
inline constexpr int EditorOverlap = 64;

// The editor's top left.
//
// Buttons in a row: centred across the field's button, kept inside the desktop's left and right
// edges (the right edge wins), at the top of the main window's client area.
//
// Buttons in a column: centred along the field's button, kept inside the desktop's top and
// bottom edges (the bottom edge wins); to the right of the main window, overlapping its right 64
// pixels, when the desktop has room for the rest of the editor there, otherwise to its left,
// overlapping its left 64 pixels.
QPoint valueEditorPosition(const EditorPlacement &placement);
