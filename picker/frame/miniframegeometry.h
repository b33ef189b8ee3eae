// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

// The geometry of the mini frame: a window that draws its own narrow caption down its left edge
// or along its top edge. Everything here is plain arithmetic on rectangles, without windows, so
// that the frame widget, its painting and the tests share one source of truth.
//
// Rectangles are (left, top, right, bottom) with right and bottom exclusive. "Screen" rectangles
// are given in whatever coordinates the window rectangle is given in; "window" rectangles are
// relative to the window's top left corner.

// System metrics, in pixels, of the desktop the frame was designed for.
inline constexpr int SM_CYCAPTION = 19;
inline constexpr int SM_CXFRAME = 4;
inline constexpr int SM_CYFRAME = 4;
inline constexpr int SM_CXBORDER = 1;
inline constexpr int SM_CYBORDER = 1;
inline constexpr int SM_CXDLGFRAME = 3;
inline constexpr int SM_CYDLGFRAME = 3;
inline constexpr int SM_CXSIZE = 18; // length of a corner of a sizing frame along each edge

// Window style bits.
inline constexpr std::uint32_t WS_POPUP = 0x80000000u;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000u;
inline constexpr std::uint32_t WS_BORDER = 0x00800000u;
inline constexpr std::uint32_t WS_DLGFRAME = 0x00400000u;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000u;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000u;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000u;
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000u;
// Bits of the frame's own: where the caption runs, and a dialog frame without a thick frame.
inline constexpr std::uint32_t IBS_VERTCAPTION = 0x8000u;
inline constexpr std::uint32_t IBS_HORZCAPTION = 0x4000u;
inline constexpr std::uint32_t IBS_MODALFRAME = 0x0080u;

// The picker's main window: popup with border, window menu, sizing frame and minimize button.
inline constexpr std::uint32_t PickerWindowStyle =
    WS_POPUP | WS_BORDER | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;

// Hit-test codes.
inline constexpr int HTNOWHERE = 0;
inline constexpr int HTCLIENT = 1;
inline constexpr int HTCAPTION = 2;
inline constexpr int HTSYSMENU = 3;
inline constexpr int HTMINBUTTON = 8;
inline constexpr int HTMAXBUTTON = 9;
inline constexpr int HTLEFT = 10;
inline constexpr int HTRIGHT = 11;
inline constexpr int HTTOP = 12;
inline constexpr int HTTOPLEFT = 13;
inline constexpr int HTTOPRIGHT = 14;
inline constexpr int HTBOTTOM = 15;
inline constexpr int HTBOTTOMLEFT = 16;
inline constexpr int HTBOTTOMRIGHT = 17;
inline constexpr int HTBORDER = 18;

// System commands of the window menu.
inline constexpr int SC_SIZE = 0xF000;
inline constexpr int SC_MOVE = 0xF010;
inline constexpr int SC_MINIMIZE = 0xF020;
inline constexpr int SC_MAXIMIZE = 0xF030;
inline constexpr int SC_CLOSE = 0xF060;
inline constexpr int SC_RESTORE = 0xF120;

struct FrameRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    FrameRect translated(int dx, int dy) const
    {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    bool operator==(const FrameRect &) const = default;
};

struct FrameSize
{
    int width = 0;
    int height = 0;
    bool operator==(const FrameSize &) const = default;
};

enum class CaptionKind
{
    None,       // a plain window
    Vertical,   // down the left edge, title turned to read upward
    Horizontal, // along the top edge
};

// IBS_VERTCAPTION wins when both bits are set.
CaptionKind captionKindOf(std::uint32_t style);

// A caption bit removes WS_DLGFRAME, so that nothing else draws a caption.
std::uint32_t normalizeFrameStyle(std::uint32_t style);

// Frame inset on each side: the sizing frame, else a dialog frame plus border, else a border.
FrameSize frameInset(std::uint32_t style);

// The caption thickness a new frame starts with.
inline constexpr int DefaultCaptionThickness = SM_CYCAPTION / 2 + 1;

// The caption C, the window rectangle inset by the frame and cut to thickness s. Empty without a
// caption bit.
FrameRect captionRect(const FrameRect &window, std::uint32_t style, int s);
// The system-menu box at the caption's start (with WS_SYSMENU), else empty.
FrameRect sysMenuRect(const FrameRect &window, std::uint32_t style, int s);
// Button n counted from the caption's end (n = 1 is the last one).
FrameRect captionButtonRect(const FrameRect &caption, CaptionKind kind, int n, int s);
FrameRect minButtonRect(const FrameRect &window, std::uint32_t style, int s);
FrameRect maxButtonRect(const FrameRect &window, std::uint32_t style, int s);
// The client area: inside the frame, and past the caption unless minimized.
FrameRect clientRect(const FrameRect &window, std::uint32_t style, int s);

// Window-coordinate pieces of the caption (empty without a caption bit).
FrameRect textAreaRect(const FrameRect &window, std::uint32_t style, int s);
// The one-pixel separator along the caption's inner edge, its whole length.
FrameRect separatorLine(const FrameRect &window, std::uint32_t style, int s);
// What the caption fill covers of the text area: the text area without the separator line.
FrameRect textAreaFill(const FrameRect &window, std::uint32_t style, int s);

// A caption button drawn in a window's coordinates.
struct ButtonFace
{
    FrameRect separator;    // one-pixel line between the button and what lies before it
    FrameRect face;         // B, filled with the face colour
    FrameRect upperLeft[2]; // column B.left and row B.top
    // Column B.right - 1 and row B.bottom - 1, then with s > 20 the thickening strips.
    std::vector<FrameRect> lowerRight;
    FrameRect unshrunkGlyphBox; // G before the shrink
    FrameRect glyphBox;         // G after the shrink
};

// `button` is the button's rectangle in window coordinates.
ButtonFace captionButtonFace(const FrameRect &button, CaptionKind kind, int s, bool pressed);

// One row of a glyph: pixels x in [left, right) on row y.
struct GlyphRow
{
    int y = 0;
    int left = 0;
    int right = 0;
    bool operator==(const GlyphRow &) const = default;
};

// A glyph's centre column and its size in rows, from its box.
struct GlyphMeasure
{
    int cx = 0;
    int n = 0;
    bool operator==(const GlyphMeasure &) const = default;
};
GlyphMeasure measureGlyph(const FrameRect &glyphBox);

std::vector<GlyphRow> minimizeGlyph(const FrameRect &glyphBox);
std::vector<GlyphRow> maximizeGlyph(const FrameRect &glyphBox);
std::vector<GlyphRow> restoreGlyph(const FrameRect &glyphBox);

// The window's state as far as the frame cares.
struct FrameState
{
    bool minimized = false;
    bool maximized = false;
};

// The hit code of a point (same coordinates as `window`): sizing edges and corners with a thick
// frame, HTBORDER on a thin one, then the caption's parts, HTCLIENT, or HTNOWHERE.
int frameHitTest(const FrameRect &window, std::uint32_t style, int s, int x, int y,
                 FrameState state = {});

// The smallest size the user can give the window: only with a caption bit and a sizing frame,
// otherwise {0, 0}.
FrameSize minimumTrackingSize(const FrameRect &window, std::uint32_t style, int s);

// Character height of the caption's title font in pixels; 0 asks for the toolkit's own size, and
// a negative value for a character cell of that many pixels.
inline int captionFontHeight(int s)
{
    return s - 2;
}

// Where the title goes in the text area T (window coordinates), for a title of extent w along the
// text and h across it. Horizontal: top left of the text. Vertical: the point at the text's
// start, the text running upward from it with its top facing left. `draw` is false when a
// vertical title cannot be drawn because the font cannot be turned.
struct TitlePlacement
{
    int x = 0;
    int y = 0;
    bool draw = true;
};
TitlePlacement placeTitle(const FrameRect &textArea, CaptionKind kind, int w, int h,
                          bool fontTurns = true);

// The icon of the system-menu box is drawn only when the caption is thick enough.
inline bool sysMenuShowsIcon(int s)
{
    return s > 4;
}

// Which window-menu items are enabled in a given state.
struct MenuItemStates
{
    bool move = false;
    bool size = false;
    bool minimize = false;
    bool maximize = false;
    bool restore = false;
    bool operator==(const MenuItemStates &) const = default;
};
MenuItemStates sysMenuItemStates(std::uint32_t style, FrameState state);

// Top left corner of the window menu, opening from the caption's inner edge at its start.
struct FramePoint
{
    int x = 0;
    int y = 0;
    bool operator==(const FramePoint &) const = default;
};
FramePoint sysMenuOrigin(const FrameRect &window, std::uint32_t style, int s);

// ibGetCaptionSize reports one more than the thickness; ibSetCaptionSize takes the same count.
inline int captionSizeFromThickness(int s)
{
    return s + 1;
}
