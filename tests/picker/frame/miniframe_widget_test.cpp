// SPDX-License-Identifier: MIT
#include <cstdlib>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "picker/frame/miniframe.h"

namespace {

constexpr std::uint32_t Vertical = PickerWindowStyle | IBS_VERTCAPTION;
constexpr std::uint32_t Horizontal = PickerWindowStyle | IBS_HORZCAPTION;

const FrameColours Colours;

// The picker's window of three fields at caption thickness 12, in window coordinates.
FramePicture framePicture(std::uint32_t style, const QString &title = {})
{
    FramePicture picture;
    bool vertical = captionKindOf(style) == CaptionKind::Vertical;
    picture.width = vertical ? 88 : 299;
    picture.height = vertical ? 139 : 47;
    picture.style = style;
    picture.s = 12;
    picture.title = title;
    return picture;
}

QImage paint(const FramePicture &picture)
{
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter painter(&image);
    paintMiniFrame(painter, picture);
    return image;
}

QIcon redIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor(255, 0, 0));
    return QIcon(pixmap);
}

// Every pixel of `r` has colour `c`; names the first that has not.
::testing::AssertionResult allPixels(const QImage &image, const FrameRect &r, const QColor &c,
                                     int tolerance = 0)
{
    auto near = [tolerance](const QColor &a, const QColor &b) {
        return std::abs(a.red() - b.red()) <= tolerance &&
               std::abs(a.green() - b.green()) <= tolerance &&
               std::abs(a.blue() - b.blue()) <= tolerance;
    };
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (!near(image.pixelColor(x, y), c))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                                     << image.pixelColor(x, y).name().toStdString()
                                                     << ", not " << c.name().toStdString();
    return ::testing::AssertionSuccess();
}

int countColour(const QImage &image, const FrameRect &r, const QColor &c)
{
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            count += image.pixelColor(x, y) == c ? 1 : 0;
    return count;
}

class CaptionPainting : public ::testing::TestWithParam<std::uint32_t>
{};

TEST_P(CaptionPainting, SeparatorLineAndTextAreaInActiveAndInactiveColours)
{
    FramePicture picture = framePicture(GetParam());
    FrameRect window{0, 0, picture.width, picture.height};
    for (bool active : {true, false}) {
        picture.active = active;
        QImage image = paint(picture);
        EXPECT_TRUE(
            allPixels(image, separatorLine(window, picture.style, 12), Colours.windowFrame));
        EXPECT_TRUE(allPixels(image, textAreaFill(window, picture.style, 12),
                              active ? Colours.activeCaption : Colours.inactiveCaption));
    }
}

TEST_P(CaptionPainting, MinimizeBarWhereTheGeometrySays)
{
    FramePicture picture = framePicture(GetParam());
    FrameRect window{0, 0, picture.width, picture.height};
    FrameRect button = minButtonRect(window, picture.style, 12);
    for (bool pressed : {false, true}) {
        picture.pressedButton = pressed ? HTMINBUTTON : HTNOWHERE;
        QImage image = paint(picture);
        ButtonFace face = captionButtonFace(button, captionKindOf(picture.style), 12, pressed);
        std::vector<GlyphRow> bar = minimizeGlyph(face.glyphBox);
        ASSERT_EQ(bar.size(), 2u);
        FrameRect barRect{bar[0].left, bar[0].y, bar[0].right, bar[1].y + 1};
        EXPECT_TRUE(allPixels(image, barRect, Colours.glyph)) << "pressed " << pressed;
        EXPECT_EQ(countColour(image, face.face, Colours.glyph), barRect.width() * 2)
            << "nothing else of the button is black";
        EXPECT_TRUE(allPixels(image, face.separator, Colours.windowFrame));
        const QColor &upperLeft = pressed ? Colours.buttonShadow : Colours.buttonHighlight;
        const QColor &lowerRight = pressed ? Colours.buttonHighlight : Colours.buttonShadow;
        EXPECT_TRUE(allPixels(
            image, {face.face.left, face.face.top, face.face.right - 1, face.face.top + 1},
            upperLeft));
        EXPECT_TRUE(allPixels(
            image, {face.face.right - 1, face.face.top + 1, face.face.right, face.face.bottom},
            lowerRight));
    }
}

TEST_P(CaptionPainting, TitleStaysInsideTheTextArea)
{
    FramePicture plain = framePicture(GetParam());
    FramePicture titled = framePicture(GetParam(), QStringLiteral("Quillon and a title far longer "
                                                                  "than any caption can hold"));
    QImage without = paint(plain);
    QImage with = paint(titled);
    FrameRect t = textAreaRect({0, 0, plain.width, plain.height}, plain.style, 12);
    int inside = 0;
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            if (with.pixelColor(x, y) == without.pixelColor(x, y))
                continue;
            ASSERT_TRUE(t.contains(x, y)) << "title drawn at (" << x << ", " << y << ")";
            ++inside;
        }
    }
    EXPECT_GT(inside, 20) << "the title shows";
}

INSTANTIATE_TEST_SUITE_P(MiniFrame, CaptionPainting, ::testing::Values(Vertical, Horizontal),
                         [](const auto &testInfo) {
                             return testInfo.param == Vertical ? "Vertical" : "Horizontal";
                         });

TEST(MiniFramePainting, WorkedExampleMinimizeBarPixels)
{
    FramePicture picture = framePicture(Vertical);
    QImage image = paint(picture);
    EXPECT_TRUE(allPixels(image, {6, 131, 12, 133}, Colours.glyph));
    EXPECT_TRUE(allPixels(image, {12, 131, 14, 133}, Colours.buttonFace));
    EXPECT_TRUE(allPixels(image, {4, 124, 5, 134}, Colours.buttonHighlight));
    EXPECT_TRUE(allPixels(image, {14, 125, 15, 135}, Colours.buttonShadow));
    picture.pressedButton = HTMINBUTTON;
    image = paint(picture);
    EXPECT_TRUE(allPixels(image, {7, 132, 13, 134}, Colours.glyph));
    EXPECT_TRUE(allPixels(image, {6, 131, 13, 132}, Colours.buttonFace));
}

TEST(MiniFramePainting, VerticalTitleRunsAlongTheCaption)
{
    // Small bold type, 10 pixels high in a caption 12 thick.
    EXPECT_EQ(captionFont(12).pixelSize(), 10);
    EXPECT_TRUE(captionFont(12).bold());
    QImage without = paint(framePicture(Vertical));
    QImage with = paint(framePicture(Vertical, QStringLiteral("Quillon")));
    QRect changed;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixelColor(x, y) != without.pixelColor(x, y))
                changed |= QRect(x, y, 1, 1);
    ASSERT_FALSE(changed.isEmpty());
    EXPECT_GT(changed.height(), 2 * changed.width());
    EXPECT_LE(changed.width(), 11);
}

TEST(MiniFramePainting, CaptionFontIsArialOrAFaceOfItsMeasure)
{
    const QFont font = captionFont(12);
    const QString family = QFontInfo(font).family();
    EXPECT_TRUE(family == QStringLiteral("Arial") || family == QStringLiteral("Liberation Sans"))
        << family.toStdString();
    EXPECT_TRUE(QFontInfo(font).bold());
    EXPECT_EQ(font.pixelSize(), 10);
    // At a thickness of 2 the height is 0: the toolkit's own size, not 1 pixel.
    const QFont atTwo = captionFont(2);
    EXPECT_EQ(atTwo.pixelSize(), -1);
    EXPECT_EQ(QFontInfo(atTwo).pixelSize(), QFontInfo(QFont()).pixelSize());
    EXPECT_EQ(captionFont(3).pixelSize(), 1);
}

// Letters that reach below the line keep off the caption's separator line, at the picker's
// thickness and at the two thicknesses where the buttons change.
class TitleAndSeparator : public ::testing::TestWithParam<std::tuple<std::uint32_t, int>>
{};

TEST_P(TitleAndSeparator, TitleKeepsOffTheSeparatorLine)
{
    const auto [style, s] = GetParam();
    FramePicture picture = framePicture(style, QStringLiteral("Quillon gjpqy_"));
    picture.s = s;
    picture.width = captionKindOf(style) == CaptionKind::Vertical ? 100 : 500;
    picture.height = captionKindOf(style) == CaptionKind::Vertical ? 500 : 100;
    const FrameRect window{0, 0, picture.width, picture.height};
    QImage with = paint(picture);
    // A letter would paint over the line; the faint edge that a scaled screen's glyph cache can
    // leave on it is no letter.
    EXPECT_TRUE(allPixels(with, separatorLine(window, style, s), Colours.windowFrame, 8));
    picture.title.clear();
    QImage without = paint(picture);
    EXPECT_GT(countColour(without, textAreaFill(window, style, s), Colours.activeCaption),
              countColour(with, textAreaFill(window, style, s), Colours.activeCaption) + 20)
        << "the title shows";
}

INSTANTIATE_TEST_SUITE_P(
    MiniFrame, TitleAndSeparator,
    ::testing::Combine(::testing::Values(Vertical, Horizontal), ::testing::Values(12, 20, 21)),
    [](const auto &testInfo) {
        return std::string(std::get<0>(testInfo.param) == Vertical ? "Vertical" : "Horizontal") +
               std::to_string(std::get<1>(testInfo.param));
    });

TEST(MiniFramePainting, IconOnlyWhenTheCaptionIsThickerThanFourPixels)
{
    // The icon is stretched to the box, also where the box is larger than the icon (16 by 16).
    for (int s : {3, 4, 5, 12, 24}) {
        FramePicture picture = framePicture(Vertical);
        picture.s = s;
        picture.icon = redIcon();
        QImage image = paint(picture);
        FrameRect box = sysMenuRect({0, 0, picture.width, picture.height}, Vertical, s);
        int red = countColour(image, box, QColor(255, 0, 0));
        if (s > 4)
            EXPECT_EQ(red, box.width() * box.height()) << "s = " << s;
        else
            EXPECT_EQ(red, 0) << "s = " << s;
    }
}

TEST(MiniFramePainting, OpenMenuInvertsTheBox)
{
    FramePicture picture = framePicture(Horizontal);
    picture.icon = redIcon();
    picture.sysMenuInverted = true;
    QImage image = paint(picture);
    EXPECT_TRUE(
        allPixels(image, sysMenuRect({0, 0, 299, 47}, Horizontal, 12), QColor(0, 255, 255)));
}

TEST(MiniFramePainting, DoubleLowerRightEdgesAboveTwentyPixels)
{
    for (int s : {20, 21, 24}) {
        FramePicture picture = framePicture(Vertical);
        picture.width = 200;
        picture.height = 300;
        picture.s = s;
        QImage image = paint(picture);
        FrameRect b = minButtonRect({0, 0, 200, 300}, Vertical, s);
        b.right -= 1; // the separator's column
        FrameRect secondColumn{b.right - 2, b.top + 1, b.right - 1, b.top + 4};
        FrameRect secondRow{b.left + 1, b.bottom - 2, b.left + 4, b.bottom - 1};
        const QColor &expected = s > 20 ? Colours.buttonShadow : Colours.buttonFace;
        EXPECT_TRUE(allPixels(image, secondColumn, expected)) << "s = " << s;
        EXPECT_TRUE(allPixels(image, secondRow, expected)) << "s = " << s;
    }
}

TEST(MiniFramePainting, RestoreGlyphWhileMaximized)
{
    FramePicture picture = framePicture(Horizontal | WS_MAXIMIZEBOX);
    FrameRect window{0, 0, picture.width, picture.height};
    FrameRect button = maxButtonRect(window, picture.style, 12);
    ButtonFace face = captionButtonFace(button, CaptionKind::Horizontal, 12, false);
    for (bool maximized : {false, true}) {
        picture.maximized = maximized;
        QImage image = paint(picture);
        std::vector<GlyphRow> glyph =
            maximized ? restoreGlyph(face.glyphBox) : maximizeGlyph(face.glyphBox);
        ASSERT_FALSE(glyph.empty());
        int pixels = 0;
        for (const GlyphRow &row : glyph) {
            EXPECT_TRUE(allPixels(image, {row.left, row.y, row.right, row.y + 1}, Colours.glyph));
            pixels += row.right - row.left;
        }
        EXPECT_EQ(countColour(image, face.face, Colours.glyph), pixels) << maximized;
    }
}

TEST(MiniFramePainting, PlainWindowHasNoCaption)
{
    FramePicture picture = framePicture(Vertical);
    picture.style = PickerWindowStyle;
    picture.title = QStringLiteral("Quillon");
    QImage image = paint(picture);
    EXPECT_TRUE(allPixels(image, {4, 4, 84, 135}, Colours.window));
}

// Sends a mouse event straight to the frame, with a time stamp.
void mouse(QWidget *widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
           ulong timestamp = 0)
{
    Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    if (type == QEvent::MouseMove)
        button = Qt::NoButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    event.setTimestamp(timestamp);
    QApplication::sendEvent(widget, &event);
}

class MiniFrameWidget : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = std::make_unique<MiniFrame>(Vertical);
        frame->setWindowTitle(QStringLiteral("Quillon"));
        ibSetCaptionSize(frame.get(), ibGetCaptionSize(frame.get()) + 2);
        frame->setGeometry(100, 100, 88, 139);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }

    void TearDown() override
    {
        frame->windowMenu()->hide();
        frame.reset();
    }

    std::unique_ptr<MiniFrame> frame;
    const QPoint box{8, 8};
    const QPoint minButton{10, 129};
    const QPoint caption{10, 60};
};

TEST_F(MiniFrameWidget, CaptionSizeCountsOneMoreThanTheThickness)
{
    MiniFrame fresh(Vertical);
    EXPECT_EQ(ibGetCaptionSize(&fresh), 11);
    EXPECT_EQ(ibSetCaptionSize(&fresh, 13), 1);
    EXPECT_EQ(fresh.captionThickness(), 12);
    EXPECT_EQ(ibGetCaptionSize(&fresh), 13);
    EXPECT_EQ(ibSetCaptionSize(&fresh, 0), 0);
    EXPECT_EQ(fresh.captionThickness(), 12);
    EXPECT_EQ(ibSetCaptionSize(&fresh, -5), 0);
    EXPECT_EQ(fresh.captionThickness(), 12);
}

TEST_F(MiniFrameWidget, ClientAreaAndMinimumSizeFollowTheCaption)
{
    EXPECT_EQ(frame->clientArea()->geometry(), QRect(16, 4, 68, 131));
    EXPECT_EQ(frame->minimumSize(), QSize(19, 59));
    frame->setStyleBits((Vertical & ~IBS_VERTCAPTION) | IBS_HORZCAPTION);
    EXPECT_EQ(frame->clientArea()->geometry(), QRect(4, 16, 80, 119));
    EXPECT_EQ(frame->minimumSize(), QSize(57, 19));
    frame->setStyleBits(PickerWindowStyle);
    EXPECT_EQ(frame->clientArea()->geometry(), QRect(4, 4, 80, 131));
    EXPECT_EQ(frame->minimumSize(), QSize(0, 0));
}

TEST_F(MiniFrameWidget, DialogFrameGoesWithACaption)
{
    MiniFrame withCaption(WS_DLGFRAME | WS_SYSMENU | IBS_HORZCAPTION);
    EXPECT_EQ(withCaption.styleBits(), WS_SYSMENU | IBS_HORZCAPTION);
    MiniFrame plain(WS_DLGFRAME | WS_SYSMENU);
    EXPECT_EQ(plain.styleBits(), WS_DLGFRAME | WS_SYSMENU);
}

TEST_F(MiniFrameWidget, SlidingOffTheMinimizeButtonCancels)
{
    mouse(frame.get(), QEvent::MouseButtonPress, minButton, Qt::LeftButton);
    EXPECT_EQ(frame->pressedButton(), HTMINBUTTON);
    mouse(frame.get(), QEvent::MouseMove, caption, Qt::LeftButton);
    EXPECT_EQ(frame->pressedButton(), HTNOWHERE);
    mouse(frame.get(), QEvent::MouseButtonRelease, caption, Qt::LeftButton);
    EXPECT_FALSE(frame->isMinimized());

    // Sliding back on before releasing minimizes.
    mouse(frame.get(), QEvent::MouseButtonPress, minButton, Qt::LeftButton);
    mouse(frame.get(), QEvent::MouseMove, caption, Qt::LeftButton);
    mouse(frame.get(), QEvent::MouseMove, minButton + QPoint(1, 1), Qt::LeftButton);
    EXPECT_EQ(frame->pressedButton(), HTMINBUTTON);
    mouse(frame.get(), QEvent::MouseButtonRelease, minButton + QPoint(1, 1), Qt::LeftButton);
    EXPECT_EQ(frame->pressedButton(), HTNOWHERE);
    EXPECT_TRUE(frame->isMinimized());
}

TEST_F(MiniFrameWidget, ReleaseUnseenByTheFrameEndsThePress)
{
    mouse(frame.get(), QEvent::MouseButtonPress, minButton, Qt::LeftButton);
    EXPECT_EQ(frame->pressedButton(), HTMINBUTTON);
    // The mouse comes back without the button held: the press ended elsewhere.
    mouse(frame.get(), QEvent::MouseMove, minButton + QPoint(1, 0), Qt::NoButton);
    EXPECT_EQ(frame->pressedButton(), HTNOWHERE);
    mouse(frame.get(), QEvent::MouseButtonRelease, minButton, Qt::LeftButton);
    EXPECT_FALSE(frame->isMinimized());
}

TEST_F(MiniFrameWidget, WindowMenuFromTheBoxWithItemsByState)
{
    mouse(frame.get(), QEvent::MouseButtonPress, box, Qt::LeftButton, 1000);
    QMenu *menu = frame->windowMenu();
    ASSERT_TRUE(menu->isVisible());
    EXPECT_TRUE(frame->isWindowMenuOpen());
    EXPECT_EQ(menu->pos(), frame->mapToGlobal(QPoint(15, 4)));
    EXPECT_TRUE(frame->menuAction(SC_MOVE)->isEnabled());
    EXPECT_TRUE(frame->menuAction(SC_SIZE)->isEnabled());
    EXPECT_TRUE(frame->menuAction(SC_MINIMIZE)->isEnabled());
    EXPECT_FALSE(frame->menuAction(SC_MAXIMIZE)->isEnabled());
    EXPECT_FALSE(frame->menuAction(SC_RESTORE)->isEnabled());
    EXPECT_TRUE(frame->menuAction(SC_CLOSE)->isEnabled());
    menu->hide();
    EXPECT_FALSE(frame->isWindowMenuOpen());
}

TEST_F(MiniFrameWidget, ClickOnTheBoxThatClosesTheMenuDoesNotReopenIt)
{
    QMenu *menu = frame->windowMenu();
    mouse(frame.get(), QEvent::MouseButtonPress, box, Qt::LeftButton, 1000);
    ASSERT_TRUE(menu->isVisible());
    menu->hide(); // the click outside the menu closes it, then reaches the box
    mouse(frame.get(), QEvent::MouseButtonPress, box, Qt::LeftButton, 5000);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_TRUE(frame->isVisible()) << "a slow second click is no double click";

    // Over the box again without moving away: the next click opens it.
    mouse(frame.get(), QEvent::MouseButtonPress, box, Qt::LeftButton, 9000);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();

    // Closed otherwise (Esc), the flag stays until the mouse is seen elsewhere; back on the box,
    // a click opens the menu.
    EXPECT_TRUE(frame->sysMenuFlag());
    mouse(frame.get(), QEvent::MouseMove, caption, Qt::NoButton);
    EXPECT_FALSE(frame->sysMenuFlag());
    mouse(frame.get(), QEvent::MouseMove, box, Qt::NoButton);
    mouse(frame.get(), QEvent::MouseButtonPress, box, Qt::LeftButton, 17000);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(frame->sysMenuFlag());

    // Entering the client area counts as being seen elsewhere too.
    menu->hide();
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(frame->clientArea(), &enter);
    EXPECT_FALSE(frame->sysMenuFlag());
}

TEST_F(MiniFrameWidget, DoubleClickOnTheBoxCloses)
{
    // The first click opens the menu; the second closes it and, coming quick, the window.
    mouse(frame.get(), QEvent::MouseButtonPress, box, Qt::LeftButton, 1000);
    frame->windowMenu()->hide();
    mouse(frame.get(), QEvent::MouseButtonPress, box, Qt::LeftButton,
          1000 + static_cast<ulong>(QApplication::doubleClickInterval()) / 2);
    EXPECT_FALSE(frame->isVisible());

    // A double click as such closes too.
    frame->show();
    mouse(frame.get(), QEvent::MouseButtonDblClick, box, Qt::LeftButton, 20000);
    EXPECT_FALSE(frame->isVisible());
}

// Where the open menu takes the press outside it (X11), the frame never sees that press: the
// menu's copy counts, by its own time stamp however late it is handled.
TEST_F(MiniFrameWidget, PressOnTheBoxTakenByTheOpenMenu)
{
    QMenu *menu = frame->windowMenu();
    const ulong interval = static_cast<ulong>(QApplication::doubleClickInterval());
    ulong now = 1000;
    // On some platforms the press is passed on to the frame afterwards: that copy is left alone.
    for (bool passedOn : {false, true}) {
        // The second press of a double click reaches the menu as a double click.
        auto pressOnBoxThroughMenu = [&](ulong timestamp, QEvent::Type type) {
            QPoint global = frame->mapToGlobal(box);
            mouse(menu, type, menu->mapFromGlobal(global), Qt::LeftButton, timestamp);
            if (passedOn)
                mouse(frame.get(), QEvent::MouseButtonPress, box, Qt::LeftButton, timestamp);
            QCoreApplication::processEvents();
        };
        frame->show();
        mouse(frame.get(), QEvent::MouseButtonPress, box, Qt::LeftButton, now += 10000);
        ASSERT_TRUE(menu->isVisible());
        pressOnBoxThroughMenu(now + interval + 1, QEvent::MouseButtonPress);
        EXPECT_FALSE(menu->isVisible()) << passedOn;
        EXPECT_FALSE(frame->sysMenuFlag()) << passedOn;
        EXPECT_TRUE(frame->isVisible()) << "a slow second press only closes the menu";

        mouse(frame.get(), QEvent::MouseButtonPress, box, Qt::LeftButton, now += 10000);
        ASSERT_TRUE(menu->isVisible()) << passedOn;
        pressOnBoxThroughMenu(now + interval, QEvent::MouseButtonDblClick);
        EXPECT_FALSE(frame->isVisible()) << "a quick second press is a double click";
    }
}

// A window that records the system commands it is given, carrying out all but the move.
class RecordingFrame : public MiniFrame
{
public:
    using MiniFrame::MiniFrame;
    std::vector<int> commands;

protected:
    void systemCommand(int command) override
    {
        commands.push_back(command);
        if (command != SC_MOVE)
            MiniFrame::systemCommand(command);
    }
};

// The press with which the user closes the window menu, which the open menu takes where the
// frame does not see it (X11), reaches the frame all the same once the menu has gone.
TEST_F(MiniFrameWidget, PressThatClosesTheMenuReachesTheFrame)
{
    RecordingFrame recording(Vertical);
    recording.setGeometry(100, 100, 88, 139);
    recording.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&recording));
    QMenu *menu = recording.windowMenu();
    auto pressThroughMenu = [&](QPoint at, ulong timestamp) {
        mouse(menu, QEvent::MouseButtonPress, menu->mapFromGlobal(recording.mapToGlobal(at)),
              Qt::LeftButton, timestamp);
        QCoreApplication::processEvents();
    };

    // On the caption: the menu closes and the press starts a move.
    mouse(&recording, QEvent::MouseButtonPress, box, Qt::LeftButton, 1000);
    ASSERT_TRUE(menu->isVisible());
    pressThroughMenu(caption, 5000);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(recording.commands, std::vector<int>{SC_MOVE});
    EXPECT_FALSE(recording.sysMenuFlag());

    // On the box of a menu opened by the keyboard (no flag): the menu opens again from the box.
    ASSERT_TRUE(recording.showWindowMenu());
    ASSERT_FALSE(recording.sysMenuFlag());
    pressThroughMenu(box, 9000);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(recording.sysMenuFlag());
    // And on the box again, with the flag: it only closes.
    pressThroughMenu(box, 13000);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(recording.sysMenuFlag());
    EXPECT_TRUE(recording.isVisible());

    // On the minimize button: the press is tracked as on a button.
    mouse(&recording, QEvent::MouseButtonPress, box, Qt::LeftButton, 17000);
    ASSERT_TRUE(menu->isVisible());
    pressThroughMenu(minButton, 21000);
    EXPECT_EQ(recording.pressedButton(), HTMINBUTTON);
    mouse(&recording, QEvent::MouseButtonRelease, minButton, Qt::LeftButton, 21100);
    EXPECT_EQ(recording.commands, (std::vector<int>{SC_MOVE, SC_MINIMIZE}));
}

// A window that refuses to close, as the picker's does when the user keeps unsaved values.
class RefusingFrame : public MiniFrame
{
public:
    using MiniFrame::MiniFrame;
    int closeRequests = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        ++closeRequests;
        event->ignore();
    }
};

TEST_F(MiniFrameWidget, DoubleClickOnTheBoxAsksToCloseOnce)
{
    RefusingFrame refusing(Vertical);
    refusing.setGeometry(100, 100, 88, 139);
    refusing.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&refusing));
    // The menu opened by the first press is gone (Esc) before the second press, which therefore
    // reaches the frame, followed by the double click itself.
    mouse(&refusing, QEvent::MouseButtonPress, box, Qt::LeftButton, 1000);
    refusing.windowMenu()->hide();
    mouse(&refusing, QEvent::MouseButtonPress, box, Qt::LeftButton, 1100);
    mouse(&refusing, QEvent::MouseButtonDblClick, box, Qt::LeftButton, 1100);
    QCoreApplication::processEvents();
    EXPECT_EQ(refusing.closeRequests, 1);
    EXPECT_TRUE(refusing.isVisible());

    // A double click on its own asks once as well.
    mouse(&refusing, QEvent::MouseButtonDblClick, box, Qt::LeftButton, 20000);
    EXPECT_EQ(refusing.closeRequests, 2);
}

TEST_F(MiniFrameWidget, DoubleClickOnTheCaptionDoesNotClose)
{
    mouse(frame.get(), QEvent::MouseButtonDblClick, caption, Qt::LeftButton, 1000);
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(MiniFrameWidget, AltSpaceOpensTheFramesMenu)
{
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(frame.get(), Qt::Key_Space, Qt::AltModifier);
    EXPECT_TRUE(frame->windowMenu()->isVisible());
    frame->windowMenu()->hide();

    frame->setStyleBits(PickerWindowStyle); // no caption: no menu of the frame's own
    QTest::keyClick(frame.get(), Qt::Key_Space, Qt::AltModifier);
    EXPECT_FALSE(frame->windowMenu()->isVisible());
}

TEST_F(MiniFrameWidget, ChosenItemsAreAnnouncedAndSystemCommandsCarriedOut)
{
    QSignalSpy chosen(frame.get(), &MiniFrame::menuCommand);
    QAction *own = frame->insertMenuCommand(3, 2018, QStringLiteral("Change Orientation"));
    own->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 2018);
    EXPECT_TRUE(frame->isVisible());

    frame->menuAction(SC_MINIMIZE)->trigger();
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen.at(1).at(0).toInt(), SC_MINIMIZE);
    EXPECT_FALSE(frame->isMinimized()) << "carried out once the menu has gone";
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->isMinimized());

    frame->menuAction(SC_CLOSE)->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(MiniFrameWidget, MenuCanBeEditedByPosition)
{
    // The picker's own edits of the standard menu.
    frame->removeMenuItemAt(8);
    frame->removeMenuItemAt(7);
    frame->insertMenuSeparator(6);
    frame->insertMenuCommand(6, 2014, QStringLiteral("&About"));
    frame->insertMenuCommand(6, 2015, QStringLiteral("&Help\tF1"));
    frame->insertMenuSeparator(6);
    frame->insertMenuCommand(6, 2019, QStringLiteral("Vie&w Current Data"));
    frame->insertMenuSeparator(6);
    frame->insertMenuCommand(6, 2008, QStringLiteral("&Load New Database Table"));
    frame->insertMenuCommand(6, 2020, QStringLiteral("&Database Table Information"));
    frame->insertMenuSeparator(6);
    frame->insertMenuCommand(6, 2010, QStringLiteral("Start &Over"));
    frame->removeMenuItemAt(4);
    frame->removeMenuItemAt(2);
    frame->insertMenuCommand(3, 2021, QStringLiteral("Show what you are picking up"));
    frame->insertMenuCommand(3, 2017, QStringLiteral("Always On &Top"));
    frame->insertMenuCommand(3, 2018, QStringLiteral("Change Orientation"));

    std::vector<int> ids;
    for (QAction *action : frame->windowMenu()->actions())
        ids.push_back(MiniFrame::menuCommandId(action));
    std::vector<int> expected{SC_RESTORE, SC_MOVE, SC_MINIMIZE, 2018, 2017, 2021,
                              -1,         2010,    -1,          2020, 2008, -1,
                              2019,       -1,      2015,        2014, -1,   SC_CLOSE};
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(frame->menuAction(SC_SIZE), nullptr);
}

TEST_F(MiniFrameWidget, AlwaysOnTopKeepsTheWindowShown)
{
    frame->setAlwaysOnTop(true);
    EXPECT_TRUE(frame->isAlwaysOnTop());
    EXPECT_TRUE(frame->isVisible());
    frame->setAlwaysOnTop(false);
    EXPECT_FALSE(frame->isAlwaysOnTop());
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(MiniFrameWidget, MaximizeButtonMaximizesAndRestores)
{
    MiniFrame sizable(Vertical | WS_MAXIMIZEBOX);
    sizable.setGeometry(100, 100, 88, 139);
    sizable.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sizable));
    auto clickMaxButton = [&sizable] {
        FrameRect r = maxButtonRect(sizable.windowFrameRect(), sizable.styleBits(),
                                    sizable.captionThickness());
        QPoint at(r.left + r.width() / 2, r.top + r.height() / 2);
        mouse(&sizable, QEvent::MouseButtonPress, at, Qt::LeftButton);
        EXPECT_EQ(sizable.pressedButton(), HTMAXBUTTON);
        mouse(&sizable, QEvent::MouseButtonRelease, at, Qt::LeftButton);
    };
    clickMaxButton();
    ASSERT_TRUE(QTest::qWaitFor([&sizable] { return sizable.width() > 88; }));
    EXPECT_TRUE(sizable.isMaximized());
    sizable.enableMenuItems();
    EXPECT_TRUE(sizable.menuAction(SC_RESTORE)->isEnabled());
    EXPECT_FALSE(sizable.menuAction(SC_MOVE)->isEnabled());
    clickMaxButton();
    EXPECT_FALSE(sizable.isMaximized());
}

} // namespace
