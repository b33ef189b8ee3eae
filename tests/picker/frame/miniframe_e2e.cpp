// SPDX-License-Identifier: MIT
// The demo of the frame and its toolbar on a real X server: its window as the server shows it in
// both orientations, and what the mouse and the keyboard do to it. The pointer is moved by
// xdotool; the demo reports what happened on its standard output (--trace). Run each case under
// tests/support/with-x.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <ostream>

#include "kolvane/classicpalette.h"

void PrintTo(const QPoint &p, std::ostream *os)
{
    *os << "(" << p.x() << ", " << p.y() << ")";
}

void PrintTo(const QSize &size, std::ostream *os)
{
    *os << size.width() << " by " << size.height();
}

namespace {

using namespace ClassicPalette;
constexpr std::uint32_t Filled = 0xFFAADEA0; // the toolbar's look of a field that holds a value

struct Point
{
    int x;
    int y;
    std::uint32_t colour;
    const char *what;
};

struct Layout
{
    const char *name;
    int orientation;
    QSize size;
    std::vector<Point> points;
};

const Layout Layouts[] = {
    {"Column",
     0,
     {88, 139},
     {
         {0, 0, WindowFrame, "outer frame line"},
         {15, 4, WindowFrame, "caption separator, top"},
         {15, 134, WindowFrame, "caption separator, bottom"},
         {6, 131, WindowFrame, "minimize bar, first pixel"},
         {11, 132, WindowFrame, "minimize bar, last pixel"},
         {12, 131, ButtonFace, "minimize button face"},
         {21, 10, Filled, "field 1 holds a value"},
         {21, 34, ButtonFace, "field 2 without a value"},
         {21, 58, Filled, "field 3 holds a value"},
         {30, 81, ButtonShadow, "separator line"},
         {30, 82, ButtonHighlight, "separator highlight"},
         {30, 88, ActiveCaption, "Enter, first look"},
     }},
    {"Row",
     1,
     {299, 47},
     {
         {0, 0, WindowFrame, "outer frame line"},
         {4, 15, WindowFrame, "caption separator, start"},
         {294, 15, WindowFrame, "caption separator, end"},
         {286, 11, WindowFrame, "minimize bar, first pixel"},
         {291, 12, WindowFrame, "minimize bar, last pixel"},
         {292, 11, ButtonFace, "minimize button face"},
         {9, 21, Filled, "field 1 holds a value"},
         {73, 21, ButtonFace, "field 2 without a value"},
         {137, 21, Filled, "field 3 holds a value"},
         {201, 25, ButtonShadow, "separator line"},
         {202, 25, ButtonHighlight, "separator highlight"},
         {212, 20, ActiveCaption, "Enter, first look"},
     }},
};

class DemoScreenshot : public ::testing::TestWithParam<Layout>
{};

TEST_P(DemoScreenshot, ShowsCaptionFieldsSeparatorAndEnter)
{
    const Layout &layout = GetParam();
    QString file =
        QDir(QStringLiteral(SCREENSHOT_DIR))
            .filePath(
                QStringLiteral("quillon-%1.png").arg(QString::fromLatin1(layout.name).toLower()));
    QFile::remove(file);
    QProcess demo;
    demo.setProcessChannelMode(QProcess::ForwardedChannels);
    demo.start(QStringLiteral(DEMO_PROGRAM),
               {QStringLiteral("--orientation"), QString::number(layout.orientation),
                QStringLiteral("--screenshot"), file});
    ASSERT_TRUE(demo.waitForFinished(30000));
    ASSERT_EQ(demo.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(demo.exitCode(), 0);

    QImage image(file);
    ASSERT_FALSE(image.isNull()) << file.toStdString();
    ASSERT_EQ(image.size(), layout.size);
    for (const Point &p : layout.points)
        EXPECT_EQ(image.pixelColor(p.x, p.y).name().toStdString(),
                  QColor::fromRgb(p.colour).name().toStdString())
            << p.what << " at (" << p.x << ", " << p.y << ")";

    // The caption is painted in the active or the inactive colour all along its text area.
    QColor caption = layout.orientation == 0 ? image.pixelColor(5, 17) : image.pixelColor(17, 5);
    EXPECT_TRUE(caption == QColor::fromRgb(ActiveCaption) ||
                caption == QColor::fromRgb(InactiveCaption))
        << caption.name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(MiniFrame, DemoScreenshot, ::testing::ValuesIn(Layouts),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

QStringList operator+(const char *command, const QStringList &point)
{
    return QStringList{QString::fromLatin1(command)} + point;
}

// The demo in a column at (5, 5), 88 by 139, reporting what happens to it.
class Demo : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_demo.start(QStringLiteral(DEMO_PROGRAM), {QStringLiteral("--trace")});
        ASSERT_TRUE(m_demo.waitForStarted());
        ASSERT_EQ(next("shown"), "shown 5 5 88 139");
        // Active: mapped, and managed by the window manager if there is one.
        ASSERT_EQ(next("active"), "active");
    }

    void TearDown() override
    {
        if (m_demo.state() != QProcess::NotRunning) {
            m_demo.terminate();
            m_demo.waitForFinished(5000);
        }
    }

    // The next reported line that starts with `prefix`, skipping others; empty after the
    // timeout.
    std::string next(const std::string &prefix, int timeoutMs = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            while (m_demo.canReadLine()) {
                std::string line = m_demo.readLine().trimmed().toStdString();
                m_seen.push_back(line);
                if (line.rfind(prefix, 0) == 0)
                    return line;
            }
            m_demo.waitForReadyRead(100);
        }
        return {};
    }

    // Lines about the window menu and closing reported since the last call. Reports of the
    // window manager's doings (placing, activating) may come at any time and are left out.
    std::vector<std::string> seen()
    {
        while (m_demo.canReadLine())
            m_seen.push_back(m_demo.readLine().trimmed().toStdString());
        std::vector<std::string> seen;
        for (const std::string &line : m_seen)
            if (line.rfind("menu", 0) == 0 || line == "closed")
                seen.push_back(line);
        m_seen.clear();
        return seen;
    }

    // Where the server has the demo's window now; an invalid rectangle when it is not found.
    static QRect windowGeometry()
    {
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"),
                      {QStringLiteral("search"), QStringLiteral("--name"),
                       QStringLiteral("^Quillon$"), QStringLiteral("getwindowgeometry")});
        xdotool.waitForFinished(5000);
        QString output = QString::fromLocal8Bit(xdotool.readAllStandardOutput());
        static const QRegularExpression Geometry(
            QStringLiteral("Position: (-?\\d+),(-?\\d+).*Geometry: (\\d+)x(\\d+)"),
            QRegularExpression::DotMatchesEverythingOption);
        QRegularExpressionMatch match = Geometry.match(output);
        if (!match.hasMatch())
            return {};
        return {match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
                match.captured(4).toInt()};
    }

    // With the button held, moves the pointer on from `from` a pixel at a time until the window
    // changes. The program hands the drag to the window manager only once it has handled the
    // press, from wherever the pointer is by then, and motion before that is lost.
    static bool startDrag(QPoint from)
    {
        QRect before = windowGeometry();
        for (int step = 1; step <= 50; ++step) {
            xdotool("mousemove" + point(from + QPoint(step, step)) + QStringList{"sleep", "0.1"});
            if (windowGeometry() != before)
                return true;
        }
        return false;
    }

    // Moves the pointer, button held, to `at` and returns where the window settles: changed,
    // and the same when read again. One step gives one motion to follow, so the first change
    // seen is the whole of it, however slowly the window manager gets to it.
    static QRect moveAndSettle(QPoint at)
    {
        QRect before = windowGeometry();
        xdotool("mousemove" + point(at));
        QRect last;
        for (int attempt = 0; attempt < 100; ++attempt) {
            QThread::msleep(100);
            QRect now = windowGeometry();
            if (now.isValid() && now != before && now == last)
                return now;
            last = now;
        }
        return {};
    }

    // With the button held on the caption: the window follows the pointer's two steps of
    // (100, 100) and keeps its size. `settled` is where it ends.
    static void dragFromTheCaption(QRect &settled)
    {
        ASSERT_TRUE(startDrag({15, 70})) << "the window does not follow the pointer";
        QRect first = moveAndSettle({115, 150});
        settled = moveAndSettle({215, 250});
        ASSERT_TRUE(first.isValid() && settled.isValid()) << "the window does not settle";
        xdotool({"mouseup", "1"});
        EXPECT_EQ(settled.topLeft() - first.topLeft(), QPoint(100, 100));
        EXPECT_EQ(settled.size(), QSize(88, 139));
    }

    static QStringList point(QPoint p) { return {QString::number(p.x()), QString::number(p.y())}; }

    static void xdotool(const QStringList &arguments)
    {
        EXPECT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0)
            << arguments.join(QLatin1Char(' ')).toStdString();
    }

    // Screen points: the window-menu box, the caption, the minimize button, field 1, the
    // lower right corner.
    const QStringList box{QStringLiteral("12"), QStringLiteral("12")};
    const QStringList caption{QStringLiteral("15"), QStringLiteral("70")};
    const QStringList minButton{QStringLiteral("14"), QStringLiteral("134")};
    const QStringList field{QStringLiteral("50"), QStringLiteral("20")};
    const QStringList corner{QStringLiteral("92"), QStringLiteral("143")};

    QProcess m_demo;
    std::vector<std::string> m_seen;
};

// The window follows the pointer while the button is held, and the program learns where it
// went. Where the drag starts from depends on how soon the program handles the press, so the
// window's steps are compared with the pointer's.
TEST_F(Demo, CaptionDragMovesTheWindow)
{
    xdotool("mousemove" + caption + QStringList{"mousedown", "1"});
    QRect second;
    ASSERT_NO_FATAL_FAILURE(dragFromTheCaption(second));
    std::string expected = "moved " + std::to_string(second.x()) + " " + std::to_string(second.y());
    std::string moved;
    do
        moved = next("moved");
    while (!moved.empty() && moved != expected);
    EXPECT_EQ(moved, expected);
}

TEST_F(Demo, CornerDragSizesTheWindow)
{
    xdotool("mousemove" + corner + QStringList{"mousedown", "1"});
    ASSERT_TRUE(startDrag({92, 143})) << "the window does not follow the pointer";
    QRect first = moveAndSettle({112, 163});
    QRect second = moveAndSettle({132, 173});
    ASSERT_TRUE(first.isValid() && second.isValid()) << "the window does not settle";
    xdotool({"mouseup", "1"});
    EXPECT_EQ(second.topLeft(), QPoint(5, 5));
    EXPECT_EQ(second.size() - first.size(), QSize(20, 10));
    std::string expected =
        "resized " + std::to_string(second.width()) + " " + std::to_string(second.height());
    std::string resized;
    do
        resized = next("resized");
    while (!resized.empty() && resized != expected);
    EXPECT_EQ(resized, expected);
}

TEST_F(Demo, BoxOpensTheMenuAndASecondClickOnlyClosesIt)
{
    seen();
    xdotool("mousemove" + box + QStringList{"click", "1"});
    ASSERT_EQ(next("menu"), "menu shown");
    xdotool({"sleep", "0.6", "click", "1"});
    ASSERT_EQ(next("menu"), "menu hidden");
    // The next click on the box opens it again, and that is the only thing that happened.
    xdotool({"sleep", "0.6", "click", "1"});
    ASSERT_EQ(next("menu"), "menu shown");
    std::vector<std::string> expected{"menu shown", "menu hidden", "menu shown"};
    EXPECT_EQ(seen(), expected);
    xdotool({"key", "Escape"});
    EXPECT_EQ(next("menu"), "menu hidden");
}

// The press that closes the window menu reaches the window: on the caption it moves it.
TEST_F(Demo, PressOnTheCaptionThatClosesTheMenuMovesTheWindow)
{
    xdotool("mousemove" + box + QStringList{"click", "1"});
    ASSERT_EQ(next("menu"), "menu shown");
    xdotool("mousemove" + caption + QStringList{"sleep", "0.3", "mousedown", "1"});
    ASSERT_EQ(next("menu"), "menu hidden");
    QRect second;
    ASSERT_NO_FATAL_FAILURE(dragFromTheCaption(second));
}

TEST_F(Demo, DoubleClickOnTheBoxCloses)
{
    xdotool("mousemove" + box + QStringList{"click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_EQ(next("closed"), "closed");
    EXPECT_TRUE(m_demo.waitForFinished(5000));
}

TEST_F(Demo, MinimizeButtonCancelledBySlidingOff)
{
    xdotool("mousemove" + minButton +
            QStringList{"mousedown", "1", "sleep", "0.2", "mousemove", "14", "80", "sleep", "0.2",
                        "mouseup", "1"});
    // Still there: a click on a field button arrives.
    xdotool("mousemove" + field + QStringList{"click", "1"});
    ASSERT_EQ(next("command"), "command 401 0");
    xdotool("mousemove" + minButton + QStringList{"click", "1"});
    EXPECT_EQ(next("minimized"), "minimized");
}

TEST_F(Demo, FieldButtonClickAndRightClick)
{
    xdotool("mousemove" + field + QStringList{"click", "1", "sleep", "0.2", "click", "3"});
    EXPECT_EQ(next("command"), "command 401 0");
    EXPECT_EQ(next("command"), "command 401 1");
}

// Window managers may keep Alt+Space for their own menu (openbox does): run without one.
TEST_F(Demo, AltSpaceOpensTheFramesMenu)
{
    xdotool("mousemove" + field + QStringList{"click", "1"});
    ASSERT_EQ(next("command"), "command 401 0");
    xdotool({"key", "alt+space"});
    EXPECT_EQ(next("menu"), "menu shown");
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
