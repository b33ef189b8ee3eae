// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <ostream>

#include "picker/frame/miniframegeometry.h"

void PrintTo(const FrameRect &r, std::ostream *os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

void PrintTo(const GlyphMeasure &m, std::ostream *os)
{
    *os << "cx " << m.cx << ", n " << m.n;
}

void PrintTo(const GlyphRow &r, std::ostream *os)
{
    *os << "row " << r.y << " [" << r.left << ", " << r.right << ")";
}

namespace {

constexpr std::uint32_t Vertical = PickerWindowStyle | IBS_VERTCAPTION;
constexpr std::uint32_t Horizontal = PickerWindowStyle | IBS_HORZCAPTION;

struct HitCase
{
    int x;
    int y;
    int hit;
};

// The picker's window with three fields at (100, 100), caption thickness 12 (the start-up size),
// in each orientation (column layout 88 by 139, row layout 299 by 47), every figure worked out
// by hand from the frame's rules.
struct WorkedExample
{
    const char *name;
    std::uint32_t style;
    FrameRect window;
    FrameRect caption;
    FrameRect sysMenu;
    FrameRect minButton;
    FrameRect client;
    FrameRect separator; // window coordinates
    FrameRect textArea;
    FrameRect textFill;
    FrameRect buttonSeparator;
    FrameRect face;
    FrameRect light[2];
    FrameRect dark[2];
    FrameRect unshrunkGlyphReleased;
    FrameRect glyphReleased;
    FrameRect glyphPressed;
    GlyphMeasure measure; // of the released glyph box
    GlyphRow barReleased[2];
    GlyphRow barPressed[2];
    HitCase hits[5];
    FrameSize minimumTracking;
};

const WorkedExample Examples[] = {
    {
        "Vertical",
        Vertical,
        {100, 100, 188, 239},
        {104, 104, 116, 235},
        {104, 104, 115, 115},
        {104, 224, 116, 235},
        {116, 104, 184, 235},
        {15, 4, 16, 135},                        // column 15, rows 4 to 134
        {4, 16, 16, 123},                        // T
        {4, 16, 15, 123},                        // columns 4 to 14, rows 16 to 122
        {4, 123, 16, 124},                       // row 123, columns 4 to 15
        {4, 124, 15, 135},                       // B
        {{4, 124, 5, 135}, {4, 124, 15, 125}},   // column 4, row 124
        {{14, 124, 15, 135}, {4, 134, 15, 135}}, // column 14, row 134
        {5, 125, 14, 134},
        {6, 126, 13, 133},
        {7, 127, 14, 134},
        {9, 2},
        {{131, 6, 12}, {132, 6, 12}}, // rows 131 and 132, columns 6 to 11
        {{132, 7, 13}, {133, 7, 13}}, // rows 132 and 133, columns 7 to 12
        {{110, 110, HTSYSMENU},
         {110, 230, HTMINBUTTON},
         {110, 150, HTCAPTION},
         {115, 110, HTCAPTION},
         {150, 150, HTCLIENT}},
        {19, 59},
    },
    {
        "Horizontal",
        Horizontal,
        {100, 100, 399, 147},
        {104, 104, 395, 116},
        {104, 104, 115, 115},
        {384, 104, 395, 116},
        {104, 116, 395, 143},
        {4, 15, 295, 16},                        // row 15, columns 4 to 294
        {16, 4, 283, 16},                        // T
        {16, 4, 283, 15},                        // columns 16 to 282, rows 4 to 14
        {283, 4, 284, 16},                       // column 283, rows 4 to 15
        {284, 4, 295, 15},                       // B
        {{284, 4, 285, 15}, {284, 4, 295, 5}},   // column 284, row 4
        {{294, 4, 295, 15}, {284, 14, 295, 15}}, // column 294, row 14
        {285, 5, 294, 14},
        {286, 6, 293, 13},
        {287, 7, 294, 14},
        {289, 2},
        {{11, 286, 292}, {12, 286, 292}},
        {{12, 287, 293}, {13, 287, 293}},
        {{110, 110, HTSYSMENU},
         {390, 110, HTMINBUTTON},
         {200, 110, HTCAPTION},
         {110, 115, HTCAPTION},
         {200, 130, HTCLIENT}},
        {57, 19},
    },
};

class WorkedExampleTest : public ::testing::TestWithParam<WorkedExample>
{};

TEST_P(WorkedExampleTest, CaptionAndItsParts)
{
    const WorkedExample &e = GetParam();
    constexpr int s = 12;
    EXPECT_EQ(captionRect(e.window, e.style, s), e.caption);
    EXPECT_EQ(sysMenuRect(e.window, e.style, s), e.sysMenu);
    EXPECT_EQ(minButtonRect(e.window, e.style, s), e.minButton);
    EXPECT_TRUE(maxButtonRect(e.window, e.style, s).isEmpty());
    EXPECT_EQ(clientRect(e.window, e.style, s), e.client);
    EXPECT_EQ(separatorLine(e.window, e.style, s), e.separator);
    EXPECT_EQ(textAreaRect(e.window, e.style, s), e.textArea);
    EXPECT_EQ(textAreaFill(e.window, e.style, s), e.textFill);
    EXPECT_EQ(captionFontHeight(s), 10);
}

TEST_P(WorkedExampleTest, MinimizeButtonReleasedAndPressed)
{
    const WorkedExample &e = GetParam();
    constexpr int s = 12;
    FrameRect button = minButtonRect(e.window, e.style, s).translated(-100, -100);
    CaptionKind kind = captionKindOf(e.style);

    ButtonFace released = captionButtonFace(button, kind, s, false);
    EXPECT_EQ(released.separator, e.buttonSeparator);
    EXPECT_EQ(released.face, e.face);
    EXPECT_EQ(released.upperLeft[0], e.light[0]);
    EXPECT_EQ(released.upperLeft[1], e.light[1]);
    ASSERT_EQ(released.lowerRight.size(), 2u);
    EXPECT_EQ(released.lowerRight[0], e.dark[0]);
    EXPECT_EQ(released.lowerRight[1], e.dark[1]);
    EXPECT_EQ(released.unshrunkGlyphBox, e.unshrunkGlyphReleased);
    EXPECT_EQ(released.glyphBox, e.glyphReleased);
    EXPECT_EQ(measureGlyph(released.glyphBox), e.measure);
    std::vector<GlyphRow> bar = minimizeGlyph(released.glyphBox);
    ASSERT_EQ(bar.size(), 2u);
    EXPECT_EQ(bar[0], e.barReleased[0]);
    EXPECT_EQ(bar[1], e.barReleased[1]);

    ButtonFace pressed = captionButtonFace(button, kind, s, true);
    EXPECT_EQ(pressed.face, e.face);
    EXPECT_EQ(pressed.glyphBox, e.glyphPressed);
    bar = minimizeGlyph(pressed.glyphBox);
    ASSERT_EQ(bar.size(), 2u);
    EXPECT_EQ(bar[0], e.barPressed[0]);
    EXPECT_EQ(bar[1], e.barPressed[1]);
}

TEST_P(WorkedExampleTest, HitTestsAndMinimumTrackingSize)
{
    const WorkedExample &e = GetParam();
    for (const HitCase &h : e.hits)
        EXPECT_EQ(frameHitTest(e.window, e.style, 12, h.x, h.y), h.hit)
            << "at (" << h.x << ", " << h.y << ")";
    EXPECT_EQ(minimumTrackingSize(e.window, e.style, 12), e.minimumTracking);
}

INSTANTIATE_TEST_SUITE_P(MiniFrameGeometry, WorkedExampleTest, ::testing::ValuesIn(Examples),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(MiniFrameGeometry, FrameInsetFollowsTheStrongestFrameStyle)
{
    struct Case
    {
        std::uint32_t style;
        FrameSize inset;
    };
    const Case cases[] = {
        {WS_THICKFRAME, {4, 4}},  {WS_THICKFRAME | IBS_MODALFRAME | WS_BORDER, {4, 4}},
        {IBS_MODALFRAME, {4, 4}}, {IBS_MODALFRAME | WS_BORDER, {4, 4}},
        {WS_BORDER, {1, 1}},      {0, {0, 0}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(frameInset(c.style), c.inset) << std::hex << c.style;
        EXPECT_EQ(frameInset(c.style | IBS_VERTCAPTION), c.inset) << std::hex << c.style;
    }
}

TEST(MiniFrameGeometry, CaptionBitsAndDialogFrame)
{
    EXPECT_EQ(captionKindOf(IBS_VERTCAPTION), CaptionKind::Vertical);
    EXPECT_EQ(captionKindOf(IBS_HORZCAPTION), CaptionKind::Horizontal);
    EXPECT_EQ(captionKindOf(IBS_VERTCAPTION | IBS_HORZCAPTION), CaptionKind::Vertical);
    EXPECT_EQ(captionKindOf(PickerWindowStyle), CaptionKind::None);
    EXPECT_EQ(PickerWindowStyle, 0x808E0000u);

    EXPECT_EQ(normalizeFrameStyle(WS_DLGFRAME | IBS_HORZCAPTION), IBS_HORZCAPTION);
    EXPECT_EQ(normalizeFrameStyle(WS_DLGFRAME | IBS_VERTCAPTION), IBS_VERTCAPTION);
    EXPECT_EQ(normalizeFrameStyle(WS_DLGFRAME | WS_BORDER), WS_DLGFRAME | WS_BORDER);
}

TEST(MiniFrameGeometry, PlainWindowHasNoCaption)
{
    FrameRect window{0, 0, 100, 80};
    std::uint32_t style = PickerWindowStyle;
    EXPECT_TRUE(captionRect(window, style, 12).isEmpty());
    EXPECT_TRUE(sysMenuRect(window, style, 12).isEmpty());
    EXPECT_TRUE(minButtonRect(window, style, 12).isEmpty());
    EXPECT_TRUE(textAreaRect(window, style, 12).isEmpty());
    EXPECT_TRUE(separatorLine(window, style, 12).isEmpty());
    EXPECT_EQ(clientRect(window, style, 12), (FrameRect{4, 4, 96, 76}));
    EXPECT_EQ(frameHitTest(window, style, 12, 6, 6), HTCLIENT);
    EXPECT_EQ(minimumTrackingSize(window, style, 12), (FrameSize{0, 0}));
}

TEST(MiniFrameGeometry, ElementsOnlyWhereTheStyleAsksForThem)
{
    FrameRect window{0, 0, 100, 200};
    std::uint32_t bare = IBS_VERTCAPTION | WS_THICKFRAME;
    EXPECT_TRUE(sysMenuRect(window, bare, 12).isEmpty());
    EXPECT_TRUE(minButtonRect(window, bare, 12).isEmpty());
    // Without boxes the text area is the whole caption.
    EXPECT_EQ(textAreaRect(window, bare, 12), (FrameRect{4, 4, 16, 196}));
    // Without a sizing frame there is no minimum tracking size.
    EXPECT_EQ(minimumTrackingSize(window, IBS_VERTCAPTION | WS_BORDER | WS_SYSMENU, 12),
              (FrameSize{0, 0}));
}

TEST(MiniFrameGeometry, MaximizeBoxTakesTheEndAndPushesMinimizeBack)
{
    FrameRect window{0, 0, 200, 60};
    std::uint32_t style = Horizontal | WS_MAXIMIZEBOX;
    // Caption (4, 4, 196, 16).
    EXPECT_EQ(maxButtonRect(window, style, 12), (FrameRect{185, 4, 196, 16}));
    EXPECT_EQ(minButtonRect(window, style, 12), (FrameRect{173, 4, 184, 16}));
    EXPECT_EQ(textAreaRect(window, style, 12), (FrameRect{16, 4, 172, 16}));
    EXPECT_EQ(frameHitTest(window, style, 12, 190, 10), HTMAXBUTTON);
    EXPECT_EQ(frameHitTest(window, style, 12, 175, 10), HTMINBUTTON);
    EXPECT_EQ(frameHitTest(window, style, 12, 184, 10), HTCAPTION); // the line between them

    std::uint32_t vertical = Vertical | WS_MAXIMIZEBOX;
    FrameRect tall{0, 0, 60, 200};
    EXPECT_EQ(maxButtonRect(tall, vertical, 12), (FrameRect{4, 185, 16, 196}));
    EXPECT_EQ(minButtonRect(tall, vertical, 12), (FrameRect{4, 173, 16, 184}));
}

// A caption too short for its parts: the box is tested first, and the minimize button, or else the
// maximize button, wins where it overlaps the box.
TEST(MiniFrameGeometry, ButtonsWinWhereTheyOverlapTheBox)
{
    // Horizontal caption without a sizing frame: (1, 1, 15, 13), box (1, 1, 12, 12).
    FrameRect window{0, 0, 16, 40};
    struct Case
    {
        std::uint32_t buttons;
        HitCase hits[5];
    };
    const Case cases[] = {
        // Minimize button (4, 1, 15, 13).
        {WS_MINIMIZEBOX,
         {{3, 5, HTSYSMENU},
          {4, 5, HTMINBUTTON},
          {11, 11, HTMINBUTTON},
          {14, 5, HTMINBUTTON},
          {2, 12, HTCAPTION}}},
        // Maximize button (4, 1, 15, 13), minimize button (-8, 1, 3, 13).
        {WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
         {{2, 5, HTMINBUTTON},
          {3, 5, HTSYSMENU},
          {4, 5, HTMAXBUTTON},
          {11, 11, HTMAXBUTTON},
          {1, 12, HTMINBUTTON}}},
    };
    for (const Case &c : cases) {
        std::uint32_t style = IBS_HORZCAPTION | WS_BORDER | WS_SYSMENU | c.buttons;
        for (const HitCase &h : c.hits)
            EXPECT_EQ(frameHitTest(window, style, 12, h.x, h.y), h.hit)
                << std::hex << c.buttons << std::dec << " at (" << h.x << ", " << h.y << ")";
    }
}

TEST(MiniFrameGeometry, SizingFrameEdgesAndCorners)
{
    FrameRect window{0, 0, 88, 139};
    const HitCase cases[] = {
        {0, 60, HTLEFT},          {87, 60, HTRIGHT},        {44, 0, HTTOP},
        {44, 138, HTBOTTOM},      {0, 0, HTTOPLEFT},        {87, 0, HTTOPRIGHT},
        {0, 138, HTBOTTOMLEFT},   {87, 138, HTBOTTOMRIGHT}, {17, 2, HTTOPLEFT},
        {18, 2, HTTOP},           {2, 17, HTTOPLEFT},       {2, 18, HTLEFT},
        {85, 125, HTBOTTOMRIGHT}, {88, 60, HTNOWHERE},      {-1, 60, HTNOWHERE},
    };
    for (const HitCase &h : cases)
        EXPECT_EQ(frameHitTest(window, Vertical, 12, h.x, h.y), h.hit)
            << "at (" << h.x << ", " << h.y << ")";
    // A thin border is no sizing frame.
    std::uint32_t thin = IBS_VERTCAPTION | WS_BORDER | WS_SYSMENU;
    EXPECT_EQ(frameHitTest(window, thin, 12, 0, 60), HTBORDER);
    EXPECT_EQ(frameHitTest(window, thin, 12, 1, 60), HTCAPTION);
    // Maximized, the edges do not size.
    EXPECT_EQ(frameHitTest(window, Vertical, 12, 0, 60, {false, true}), HTBORDER);
}

TEST(MiniFrameGeometry, MinimumTrackingSizeForAnyThickness)
{
    for (int s = 5; s <= 30; ++s) {
        FrameRect window{0, 0, 300, 300};
        EXPECT_EQ(minimumTrackingSize(window, Vertical, s), (FrameSize{s + 7, 5 * s - 1}))
            << "s = " << s;
        EXPECT_EQ(minimumTrackingSize(window, Horizontal, s), (FrameSize{5 * s - 3, s + 7}))
            << "s = " << s;
    }
}

TEST(MiniFrameGeometry, ButtonEdgesAndGlyphInsetGrowWithTheCaption)
{
    struct Case
    {
        int s;
        std::size_t lowerRightStrips;
        FrameRect glyphReleased;
        FrameRect glyphPressed;
    };
    // A vertical caption's button at the window's origin: B = (0, 0, s - 1, s).
    const Case cases[] = {
        // d = 1; released (1, 1, 17, 18) is 16 wide: t = -7, shrunk by 4.
        {19, 2, {5, 5, 13, 14}, {6, 6, 14, 15}},
        // d = 2 from 20 on, edges still single: released (1, 1, 17, 18), shrunk by 4.
        {20, 2, {5, 5, 13, 14}, {8, 8, 15, 16}},
        // Edges doubled above 20: released (1, 1, 18, 19) is 17 wide: t = -8, shrunk by 5.
        {21, 4, {6, 6, 13, 14}, {8, 8, 16, 17}},
        // Released (1, 1, 6, 7) is 5 wide: t = 4, no shrink.
        {8, 2, {1, 1, 6, 7}, {2, 2, 7, 8}},
    };
    for (const Case &c : cases) {
        FrameRect button{0, 0, c.s, c.s};
        ButtonFace released = captionButtonFace(button, CaptionKind::Vertical, c.s, false);
        EXPECT_EQ(released.lowerRight.size(), c.lowerRightStrips) << "s = " << c.s;
        EXPECT_EQ(released.glyphBox, c.glyphReleased) << "s = " << c.s;
        ButtonFace pressed = captionButtonFace(button, CaptionKind::Vertical, c.s, true);
        EXPECT_EQ(pressed.glyphBox, c.glyphPressed) << "s = " << c.s;
    }
    ButtonFace thick = captionButtonFace({0, 0, 25, 25}, CaptionKind::Vertical, 25, false);
    // B = (0, 0, 24, 25): columns 22..23 from row 1, rows 23..24 from column 1.
    EXPECT_EQ(thick.lowerRight[2], (FrameRect{22, 1, 24, 25}));
    EXPECT_EQ(thick.lowerRight[3], (FrameRect{1, 23, 24, 25}));
}

TEST(MiniFrameGeometry, MaximizeAndRestoreGlyphs)
{
    FrameRect g{10, 20, 19, 29}; // 9 by 9: cx 14, n 3
    std::vector<GlyphRow> up = maximizeGlyph(g);
    // top = 20 + (8 >> 2) = 22; rows 23..25 widening from column 13.
    std::vector<GlyphRow> expectedUp{{23, 13, 14}, {24, 12, 15}, {25, 11, 16}};
    EXPECT_EQ(up, expectedUp);

    std::vector<GlyphRow> restore = restoreGlyph(g);
    // top2 = 20 + (8 >> 3) - 2 = 19: up rows 20..22, one empty row, down rows 24..26.
    std::vector<GlyphRow> expectedRestore{{20, 13, 14}, {21, 12, 15}, {22, 11, 16},
                                          {24, 11, 16}, {25, 12, 15}, {26, 13, 14}};
    EXPECT_EQ(restore, expectedRestore);

    FrameRect tiny{0, 0, 3, 3}; // n = 0: no triangles
    EXPECT_TRUE(maximizeGlyph(tiny).empty());
    EXPECT_TRUE(restoreGlyph(tiny).empty());
}

TEST(MiniFrameGeometry, TitlePlacement)
{
    FrameRect vertical{4, 16, 16, 123}; // the column window's text area: 12 wide, 107 high
    // A title 40 long and 12 across: x = 4 + 0 - 1, y = 123 - 33.
    EXPECT_EQ(placeTitle(vertical, CaptionKind::Vertical, 40, 12).x, 3);
    EXPECT_EQ(placeTitle(vertical, CaptionKind::Vertical, 40, 12).y, 90);
    // Longer than the text area: starts at its bottom, the rest is clipped.
    EXPECT_EQ(placeTitle(vertical, CaptionKind::Vertical, 150, 12).y, 123);
    EXPECT_FALSE(placeTitle(vertical, CaptionKind::Vertical, 40, 12, false).draw);

    FrameRect horizontal{16, 4, 283, 16};
    TitlePlacement at = placeTitle(horizontal, CaptionKind::Horizontal, 40, 9);
    EXPECT_EQ(at.x, 20);
    EXPECT_EQ(at.y, 4 + 1 - 1);
    EXPECT_TRUE(placeTitle(horizontal, CaptionKind::Horizontal, 40, 9, false).draw);
}

TEST(MiniFrameGeometry, WindowMenuItemStates)
{
    struct Case
    {
        std::uint32_t style;
        FrameState state;
        MenuItemStates items;
    };
    const Case cases[] = {
        // The picker's window: Move, Size and Minimize; Maximize and Restore greyed.
        {Vertical, {}, {true, true, true, false, false}},
        {Vertical, {false, true}, {false, false, true, false, true}},
        {Vertical, {true, false}, {false, false, true, true, false}},
        {Vertical | WS_MAXIMIZEBOX, {}, {true, true, true, true, false}},
        {IBS_VERTCAPTION | WS_SYSMENU, {}, {false, false, false, false, false}},
        {IBS_VERTCAPTION | WS_DLGFRAME, {}, {true, false, false, false, false}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(sysMenuItemStates(c.style, c.state), c.items) << std::hex << c.style;
}

TEST(MiniFrameGeometry, WindowMenuOpensFromTheCaptionsInnerEdge)
{
    FrameRect vertical{100, 100, 188, 239};
    EXPECT_EQ(sysMenuOrigin(vertical, Vertical, 12), (FramePoint{115, 104}));
    FrameRect horizontal{100, 100, 399, 147};
    EXPECT_EQ(sysMenuOrigin(horizontal, Horizontal, 12), (FramePoint{104, 115}));
}

TEST(MiniFrameGeometry, SwappingTheCaptionBitsMovesTheClientArea)
{
    FrameRect window{0, 0, 88, 139};
    std::uint32_t swapped = (Vertical & ~IBS_VERTCAPTION) | IBS_HORZCAPTION;
    EXPECT_EQ(clientRect(window, Vertical, 12), (FrameRect{16, 4, 84, 135}));
    EXPECT_EQ(clientRect(window, swapped, 12), (FrameRect{4, 16, 84, 135}));
}

} // namespace
