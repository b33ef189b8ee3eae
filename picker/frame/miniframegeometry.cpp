// SPDX-License-Identifier: MIT
#include "picker/frame/miniframegeometry.h"

#include <algorithm>

namespace {

FrameRect shrunk(const FrameRect &r, int dx, int dy)
{
    return {r.left + dx, r.top + dy, r.right - dx, r.bottom - dy};
}

int widthOrZero(const FrameRect &r)
{
    return r.isEmpty() ? 0 : r.width();
}

// Upward triangle of n rows, row k at top + 1 + k covering columns cx - 1 - k .. cx - 1 + k.
void addUpwardTriangle(std::vector<GlyphRow> &rows, int top, int cx, int n)
{
    for (int k = 0; k < n; ++k)
        rows.push_back({top + 1 + k, cx - 1 - k, cx + k});
}

} // namespace

CaptionKind captionKindOf(std::uint32_t style)
{
    if (style & IBS_VERTCAPTION)
        return CaptionKind::Vertical;
    if (style & IBS_HORZCAPTION)
        return CaptionKind::Horizontal;
    return CaptionKind::None;
}

std::uint32_t normalizeFrameStyle(std::uint32_t style)
{
    if (captionKindOf(style) != CaptionKind::None)
        style &= ~WS_DLGFRAME;
    return style;
}

FrameSize frameInset(std::uint32_t style)
{
    if (style & WS_THICKFRAME)
        return {SM_CXFRAME, SM_CYFRAME};
    if (style & IBS_MODALFRAME)
        return {SM_CXDLGFRAME + SM_CXBORDER, SM_CYDLGFRAME + SM_CYBORDER};
    if (style & WS_BORDER)
        return {SM_CXBORDER, SM_CYBORDER};
    return {0, 0};
}

FrameRect captionRect(const FrameRect &window, std::uint32_t style, int s)
{
    CaptionKind kind = captionKindOf(style);
    if (kind == CaptionKind::None)
        return {};
    FrameSize inset = frameInset(style);
    FrameRect c = shrunk(window, inset.width, inset.height);
    if (kind == CaptionKind::Vertical)
        c.right = c.left + s;
    else
        c.bottom = c.top + s;
    return c;
}

FrameRect sysMenuRect(const FrameRect &window, std::uint32_t style, int s)
{
    if (!(style & WS_SYSMENU) || captionKindOf(style) == CaptionKind::None)
        return {};
    FrameRect c = captionRect(window, style, s);
    return {c.left, c.top, c.left + s - 1, c.top + s - 1};
}

FrameRect captionButtonRect(const FrameRect &caption, CaptionKind kind, int n, int s)
{
    int shift = (n - 1) * s;
    if (kind == CaptionKind::Vertical)
        return {caption.left, caption.bottom - shift - s + 1, caption.right,
                caption.bottom - shift};
    if (kind == CaptionKind::Horizontal)
        return {caption.right - shift - s + 1, caption.top, caption.right - shift, caption.bottom};
    return {};
}

FrameRect minButtonRect(const FrameRect &window, std::uint32_t style, int s)
{
    CaptionKind kind = captionKindOf(style);
    if (kind == CaptionKind::None || !(style & WS_MINIMIZEBOX))
        return {};
    int n = (style & WS_MAXIMIZEBOX) ? 2 : 1;
    return captionButtonRect(captionRect(window, style, s), kind, n, s);
}

FrameRect maxButtonRect(const FrameRect &window, std::uint32_t style, int s)
{
    CaptionKind kind = captionKindOf(style);
    if (kind == CaptionKind::None || !(style & WS_MAXIMIZEBOX))
        return {};
    return captionButtonRect(captionRect(window, style, s), kind, 1, s);
}

FrameRect clientRect(const FrameRect &window, std::uint32_t style, int s)
{
    FrameSize inset = frameInset(style);
    FrameRect client = shrunk(window, inset.width, inset.height);
    switch (captionKindOf(style)) {
    case CaptionKind::Vertical:
        client.left += s;
        break;
    case CaptionKind::Horizontal:
        client.top += s;
        break;
    case CaptionKind::None:
        break;
    }
    return client;
}

FrameRect textAreaRect(const FrameRect &window, std::uint32_t style, int s)
{
    CaptionKind kind = captionKindOf(style);
    if (kind == CaptionKind::None)
        return {};
    FrameRect t = captionRect(window, style, s).translated(-window.left, -window.top);
    int start = (style & WS_SYSMENU) ? s : 0;
    int end = ((style & WS_MINIMIZEBOX) ? s : 0) + ((style & WS_MAXIMIZEBOX) ? s : 0);
    if (kind == CaptionKind::Vertical) {
        t.top += start;
        t.bottom -= end;
    } else {
        t.left += start;
        t.right -= end;
    }
    return t;
}

FrameRect separatorLine(const FrameRect &window, std::uint32_t style, int s)
{
    CaptionKind kind = captionKindOf(style);
    FrameRect c = captionRect(window, style, s).translated(-window.left, -window.top);
    if (kind == CaptionKind::Vertical)
        return {c.right - 1, c.top, c.right, c.bottom};
    if (kind == CaptionKind::Horizontal)
        return {c.left, c.bottom - 1, c.right, c.bottom};
    return {};
}

FrameRect textAreaFill(const FrameRect &window, std::uint32_t style, int s)
{
    FrameRect t = textAreaRect(window, style, s);
    switch (captionKindOf(style)) {
    case CaptionKind::Vertical:
        t.right -= 1;
        break;
    case CaptionKind::Horizontal:
        t.bottom -= 1;
        break;
    case CaptionKind::None:
        break;
    }
    return t;
}

ButtonFace captionButtonFace(const FrameRect &button, CaptionKind kind, int s, bool pressed)
{
    ButtonFace f;
    FrameRect b = button;
    if (kind == CaptionKind::Vertical) {
        f.separator = {b.left, b.top - 1, b.right, b.top};
        b.right -= 1;
    } else {
        f.separator = {b.left - 1, b.top, b.left, b.bottom};
        b.bottom -= 1;
    }
    f.face = b;
    f.upperLeft[0] = {b.left, b.top, b.left + 1, b.bottom};
    f.upperLeft[1] = {b.left, b.top, b.right, b.top + 1};
    f.lowerRight.push_back({b.right - 1, b.top, b.right, b.bottom});
    f.lowerRight.push_back({b.left, b.bottom - 1, b.right, b.bottom});
    if (s > 20) {
        f.lowerRight.push_back({b.right - 2, b.top + 1, b.right, b.bottom});
        f.lowerRight.push_back({b.left + 1, b.bottom - 2, b.right, b.bottom});
    }

    int d = s < 20 ? 1 : 2;
    FrameRect g = pressed ? FrameRect{b.left + 2 * d, b.top + 2 * d, b.right, b.bottom}
                          : FrameRect{b.left + 1, b.top + 1, b.right - d, b.bottom - d};
    f.unshrunkGlyphBox = g;
    int t = SM_CYCAPTION / 2 - g.width();
    if (t < 1) {
        int grow = t / 2 - 1; // negative: shrinks on all four sides
        g = {g.left - grow, g.top - grow, g.right + grow, g.bottom + grow};
    }
    f.glyphBox = g;
    return f;
}

GlyphMeasure measureGlyph(const FrameRect &g)
{
    return {g.left + (g.width() >> 1), (g.height() >> 1) - 1};
}

std::vector<GlyphRow> minimizeGlyph(const FrameRect &g)
{
    auto [cx, n] = measureGlyph(g);
    int left = cx - n - 1;
    int right = left + 2 * n + 2;
    if (right <= left)
        return {};
    return {{g.bottom - 2, left, right}, {g.bottom - 1, left, right}};
}

std::vector<GlyphRow> maximizeGlyph(const FrameRect &g)
{
    std::vector<GlyphRow> rows;
    auto [cx, n] = measureGlyph(g);
    addUpwardTriangle(rows, g.top + ((g.height() - 1) >> 2), cx, n);
    return rows;
}

std::vector<GlyphRow> restoreGlyph(const FrameRect &g)
{
    std::vector<GlyphRow> rows;
    auto [cx, n] = measureGlyph(g);
    int top2 = g.top + ((g.height() - 1) >> 3) - 2;
    addUpwardTriangle(rows, top2, cx, n);
    for (int j = 0; j < n; ++j)
        rows.push_back({top2 + n + 2 + j, cx - n + j, cx + n - j - 1});
    return rows;
}

int frameHitTest(const FrameRect &window, std::uint32_t style, int s, int x, int y,
                 FrameState state)
{
    if (!window.contains(x, y))
        return HTNOWHERE;

    FrameSize inset = frameInset(style);
    FrameRect inner = shrunk(window, inset.width, inset.height);
    if (!inner.contains(x, y)) {
        if (!(style & WS_THICKFRAME) || state.maximized)
            return HTBORDER;
        bool left = x < window.left + SM_CXSIZE;
        bool right = x >= window.right - SM_CXSIZE;
        bool top = y < window.top + SM_CXSIZE;
        bool bottom = y >= window.bottom - SM_CXSIZE;
        if (y < inner.top)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (y >= inner.bottom)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (x < inner.left)
            return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
        return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
    }

    if (state.minimized || captionKindOf(style) == CaptionKind::None)
        return HTCLIENT;
    if (clientRect(window, style, s).contains(x, y))
        return HTCLIENT;
    if (!captionRect(window, style, s).contains(x, y))
        return HTNOWHERE;
    // Where a small caption lets the box and the buttons overlap, a button wins over the box,
    // and the minimize button over the maximize button.
    int hit = HTCAPTION;
    if (sysMenuRect(window, style, s).contains(x, y))
        hit = HTSYSMENU;
    if (minButtonRect(window, style, s).contains(x, y))
        hit = HTMINBUTTON;
    else if (maxButtonRect(window, style, s).contains(x, y))
        hit = HTMAXBUTTON;
    return hit;
}

FrameSize minimumTrackingSize(const FrameRect &window, std::uint32_t style, int s)
{
    CaptionKind kind = captionKindOf(style);
    if (kind == CaptionKind::None || !(style & WS_THICKFRAME))
        return {};
    int length = widthOrZero(sysMenuRect(window, style, s)) +
                 2 * widthOrZero(minButtonRect(window, style, s)) + 2 * s;
    if (kind == CaptionKind::Vertical)
        return {s + 2 * SM_CXFRAME - 1, length};
    return {length, s + 2 * SM_CYFRAME - 1};
}

TitlePlacement placeTitle(const FrameRect &t, CaptionKind kind, int w, int h, bool fontTurns)
{
    if (kind == CaptionKind::Vertical) {
        if (!fontTurns)
            return {0, 0, false};
        int y = std::min(t.bottom - (t.height() - w) / 2, t.bottom);
        return {t.left + (t.width() - h) / 2 - 1, y, true};
    }
    if (kind == CaptionKind::Horizontal)
        return {t.left + 4, t.top + (t.height() - h) / 2 - 1, true};
    return {0, 0, false};
}

MenuItemStates sysMenuItemStates(std::uint32_t style, FrameState state)
{
    MenuItemStates m;
    m.move = !state.maximized && !state.minimized && (style & (WS_BORDER | WS_DLGFRAME));
    m.size = (style & WS_THICKFRAME) && !state.minimized && !state.maximized;
    m.minimize = (style & WS_MINIMIZEBOX) != 0;
    m.maximize = (style & WS_MAXIMIZEBOX) || state.minimized;
    m.restore = state.maximized;
    return m;
}

FramePoint sysMenuOrigin(const FrameRect &window, std::uint32_t style, int s)
{
    FrameRect client = clientRect(window, style, s);
    if (captionKindOf(style) == CaptionKind::Vertical)
        return {client.left - 1, client.top};
    return {client.left, client.top - 1};
}
