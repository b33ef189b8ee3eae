// SPDX-License-Identifier: MIT
// Where the value editor opens beside a field button, as plain arithmetic on screen rectangles.
#include <gtest/gtest.h>

#include "picker/dialogs/editorplacement.h"

namespace {

struct PlacementCase
{
    const char *name;
    QRect desktop;
    QRect window;
    QPoint clientTopLeft;
    QRect button;
    QSize editor;
    QPoint expected;
};

void PrintTo(const PlacementCase &c, std::ostream *out)
{
    *out << c.name;
}

// The case's name as a test name.
std::string caseName(const ::testing::TestParamInfo<PlacementCase> &param)
{
    std::string name = param.param.name;
    for (char &ch : name)
        if (ch == ' ')
            ch = '_';
    return name;
}

const QRect Desktop(0, 0, 1280, 1024);
const QSize Editor(450, 90);

// Buttons in a row, 64 pixels apart, under a caption along the window's top.
class RowPlacement : public ::testing::TestWithParam<PlacementCase>
{};

TEST_P(RowPlacement, CentresAcrossTheButtonInsideTheDesktop)
{
    const PlacementCase &c = GetParam();
    EditorPlacement placement{c.desktop, c.window, c.clientTopLeft, c.button, c.editor, 1};
    EXPECT_EQ(valueEditorPosition(placement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    EditorPlacement, RowPlacement,
    ::testing::Values(
        // 470 - (450 - 62) / 2 = 276; the top of the client area.
        PlacementCase{"middle", Desktop, QRect(400, 50, 420, 60), QPoint(404, 70),
                      QRect(470, 72, 62, 22), Editor, QPoint(276, 70)},
        // 1200 - 194 = 1006 would end at 1456: pushed left to end at the desktop's edge.
        PlacementCase{"near the right edge", Desktop, QRect(1000, 50, 270, 60), QPoint(1004, 70),
                      QRect(1200, 72, 62, 22), Editor, QPoint(830, 70)},
        // Exactly fitting at the right edge stays where it is: 1024 - 194 = 830.
        PlacementCase{"touching the right edge", Desktop, QRect(900, 50, 370, 60), QPoint(904, 70),
                      QRect(1024, 72, 62, 22), Editor, QPoint(830, 70)},
        PlacementCase{"near the left edge", Desktop, QRect(0, 50, 420, 60), QPoint(4, 70),
                      QRect(20, 72, 62, 22), Editor, QPoint(0, 70)},
        // A second screen right of the first: its own left edge holds.
        PlacementCase{"second screen", QRect(1280, 0, 1920, 1080), QRect(1282, 40, 420, 60),
                      QPoint(1286, 60), QRect(1300, 62, 62, 22), Editor, QPoint(1280, 60)},
        // Wider than the desktop: the right edge wins.
        PlacementCase{"wider than the desktop", QRect(0, 0, 400, 300), QRect(0, 0, 300, 60),
                      QPoint(4, 20), QRect(200, 22, 62, 22), Editor, QPoint(-50, 20)},
        // An editor narrower than the button: (41 - 62) / 2 is -10, truncated toward zero.
        PlacementCase{"narrower than the button", Desktop, QRect(400, 50, 420, 60), QPoint(404, 70),
                      QRect(500, 72, 62, 22), QSize(41, 90), QPoint(510, 70)}),
    caseName);

// Buttons in a column, 24 pixels apart, right of a caption along the window's left side.
class ColumnPlacement : public ::testing::TestWithParam<PlacementCase>
{};

TEST_P(ColumnPlacement, CentresAlongTheButtonBesideTheWindow)
{
    const PlacementCase &c = GetParam();
    EditorPlacement placement{c.desktop, c.window, c.clientTopLeft, c.button, c.editor, 0};
    EXPECT_EQ(valueEditorPosition(placement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    EditorPlacement, ColumnPlacement,
    ::testing::Values(
        // 160 - (90 - 22) / 2 = 126; 1280 - 190 >= 450 - 64: right, over the window's right 64.
        PlacementCase{"room on the right", Desktop, QRect(100, 100, 90, 300), QPoint(118, 104),
                      QRect(120, 160, 64, 22), Editor, QPoint(126, 126)},
        // 1280 - 894 is exactly 386: still to the right, ending at the desktop's edge.
        PlacementCase{"just enough room on the right", Desktop, QRect(804, 100, 90, 300),
                      QPoint(822, 104), QRect(824, 160, 64, 22), Editor, QPoint(830, 126)},
        // 1280 - 895 is 385: to the left, over the window's left 64 pixels: 805 + 64 - 450.
        PlacementCase{"too little room on the right", Desktop, QRect(805, 100, 90, 300),
                      QPoint(823, 104), QRect(825, 160, 64, 22), Editor, QPoint(419, 126)},
        PlacementCase{"near the top", Desktop, QRect(100, 0, 90, 300), QPoint(118, 4),
                      QRect(120, 10, 64, 22), Editor, QPoint(126, 0)},
        PlacementCase{"at the top exactly", Desktop, QRect(100, 0, 90, 300), QPoint(118, 4),
                      QRect(120, 34, 64, 22), Editor, QPoint(126, 0)},
        // 1000 - 34 = 966 would reach below 1024: raised to end at the bottom edge.
        PlacementCase{"near the bottom", Desktop, QRect(100, 700, 90, 320), QPoint(118, 704),
                      QRect(120, 1000, 64, 22), Editor, QPoint(126, 934)},
        // Taller than the desktop: the bottom edge wins.
        PlacementCase{"taller than the desktop", QRect(0, 0, 1280, 60), QRect(100, 0, 90, 60),
                      QPoint(118, 4), QRect(120, 10, 64, 22), Editor, QPoint(126, -30)},
        // A desktop that does not start at the origin.
        PlacementCase{"work area below a panel", QRect(0, 32, 1280, 992), QRect(100, 32, 90, 300),
                      QPoint(118, 36), QRect(120, 40, 64, 22), Editor, QPoint(126, 32)}),
    caseName);

} // namespace
