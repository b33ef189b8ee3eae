// The demo of the frame and its toolbar on a real X server with a window manager: its window as
// the server shows it, in both orientations. Run under tests/support/with-x.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);
const QColor Grey(192, 192, 192);
const QColor Shadow(128, 128, 128);
const QColor Navy(0, 0, 128);
const QColor Filled(170, 222, 160);

struct Point
{
    int x;
    int y;
    QColor colour;
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
         {0, 0, Black, "outer frame line"},
         {15, 4, Black, "caption separator, top"},
         {15, 134, Black, "caption separator, bottom"},
         {6, 131, Black, "minimize bar, first pixel"},
         {11, 132, Black, "minimize bar, last pixel"},
         {12, 131, Grey, "minimize button face"},
         {21, 10, Filled, "field 1 holds a value"},
         {21, 34, Grey, "field 2 without a value"},
         {21, 58, Filled, "field 3 holds a value"},
         {30, 81, Shadow, "separator line"},
         {30, 82, White, "separator highlight"},
         {30, 88, Navy, "Enter, first look"},
     }},
    {"Row",
     1,
     {299, 47},
     {
         {0, 0, Black, "outer frame line"},
         {4, 15, Black, "caption separator, start"},
         {294, 15, Black, "caption separator, end"},
         {286, 11, Black, "minimize bar, first pixel"},
         {291, 12, Black, "minimize bar, last pixel"},
         {292, 11, Grey, "minimize button face"},
         {9, 21, Filled, "field 1 holds a value"},
         {73, 21, Grey, "field 2 without a value"},
         {137, 21, Filled, "field 3 holds a value"},
         {201, 25, Shadow, "separator line"},
         {202, 25, White, "separator highlight"},
         {212, 20, Navy, "Enter, first look"},
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
        EXPECT_EQ(image.pixelColor(p.x, p.y).name().toStdString(), p.colour.name().toStdString())
            << p.what << " at (" << p.x << ", " << p.y << ")";

    // The caption is painted in the active or the inactive colour all along its text area.
    QColor caption = layout.orientation == 0 ? image.pixelColor(5, 17) : image.pixelColor(17, 5);
    EXPECT_TRUE(caption == Navy || caption == Shadow) << caption.name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(MiniFrame, DemoScreenshot, ::testing::ValuesIn(Layouts),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
