// The real quillon program on a real X server with a window manager, over a SQLite data source:
// a user picks values from a GTK application, enters the row, types on in the application and
// closes the picker; the status window beside the picker; and the two ways it ends at once.

#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "picker/settings.h"
#include "tests/support/databases.h"
#include "tests/support/desktopuser.h"
#include "tests/support/x11input.h"

namespace {

using namespace desktopuser;

void PressKey(const char *key)
{
    Xdotool({QStringLiteral("key"), QString::fromLatin1(key)});
}

// The window with the frame that the window manager puts around it (_NET_FRAME_EXTENTS: left,
// right, top, bottom).
QRect FrameOf(std::uint64_t window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window),
                                          QStringLiteral("_NET_FRAME_EXTENTS")});
    xprop.waitForFinished(5000);
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput());
    const QStringList extents = line.section(QLatin1Char('='), 1).split(QLatin1Char(','));
    const QRect client = Geometry(window);
    if (extents.size() != 4)
        return client;
    return client.adjusted(-extents[0].trimmed().toInt(), -extents[2].trimmed().toInt(),
                           extents[1].trimmed().toInt(), extents[3].trimmed().toInt());
}

std::string Describe(const QRect &rect)
{
    return QStringLiteral("%1x%2+%3+%4")
        .arg(rect.width())
        .arg(rect.height())
        .arg(rect.x())
        .arg(rect.y())
        .toStdString();
}

// The application window that holds the keyboard focus.
std::uint64_t FocusedApplication()
{
    return x11input::ClientWindowOf(x11input::FocusedWindow());
}

class PickerE2E : public testing::Test
{
protected:
    PickerE2E()
    {
        m_database = SqliteConnectString(m_folder.path() / "people.sqlite");
        DatabaseSession(m_database)
            .execute("CREATE TABLE People (Name VARCHAR(40) NOT NULL, Town VARCHAR(40))");
        // A path with a blank, handed over as two arguments.
        m_path = m_folder.file("My People.dtd");
        EXPECT_TRUE(SaveTableDescription(m_path, m_database, "People",
                                         {{"Name", "Name", "", "VARCHAR", "40", "Yes", "12"},
                                          {"Town", "Town", "", "VARCHAR", "40", "No", "12"}}));
    }
    ~PickerE2E() override
    {
        if (m_picker.state() != QProcess::NotRunning) {
            m_picker.kill();
            m_picker.waitForFinished(5000);
        }
    }

    void startPicker(const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           QString::fromStdString((m_folder.path() / "config").string()));
        m_picker.setProcessEnvironment(environment);
        m_picker.setProcessChannelMode(QProcess::ForwardedChannels);
        m_picker.start(QStringLiteral(QUILLON_PROGRAM), arguments);
        ASSERT_TRUE(m_picker.waitForStarted(5000));
    }

    bool waitForEnd()
    {
        return m_picker.waitForFinished(20000) && m_picker.exitStatus() == QProcess::NormalExit &&
               m_picker.exitCode() == 0;
    }

    std::string settings() { return ReadBytes(m_folder.path() / "config" / "quillon.ini"); }

    TemporaryFolder m_folder;
    std::string m_database;
    std::string m_path;
    QProcess m_picker;
};

TEST_F(PickerE2E, PickTwoValuesFromAGtkApplicationEnterTheRowAndClose)
{
    GtkEntry name(QStringLiteral("Ada Lovelace"));
    GtkEntry town(QStringLiteral("London"));
    ASSERT_NE(name.window(), 0u);
    ASSERT_NE(town.window(), 0u);

    const QString path = QString::fromStdString(m_path);
    startPicker({path.section(QLatin1Char(' '), 0, 0), path.section(QLatin1Char(' '), 1)});
    const std::uint64_t picker = WaitForWindow(QStringLiteral("Quillon"));
    ASSERT_NE(picker, 0u);
    QTest::qWait(300);
    const QRect frame = Geometry(picker);
    ASSERT_EQ(frame.topLeft(), QPoint(5, 5));

    // The user selects a text in one application and clicks the field's button, then the next.
    // (Opening the second entry took the selection from the first: it is selected again.)
    auto pick = [&frame](const GtkEntry &entry, int field) {
        entry.selectAll();
        const QPoint button = PickerFieldButton(frame, field);
        EXPECT_TRUE(x11input::ClickAt(button.x(), button.y()));
        QTest::qWait(500);
    };
    pick(name, 0);
    pick(town, 1);

    const QPoint enter = PickerEnterButton(frame, 2);
    ASSERT_TRUE(x11input::ClickAt(enter.x(), enter.y()));
    Rows rows;
    (void)QTest::qWaitFor(
        [&] {
            rows = DatabaseSession(m_database).query("SELECT Name, Town FROM People");
            return !rows.empty();
        },
        10000);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Ada Lovelace");
    EXPECT_EQ(rows[0][1], "London");

    // The keyboard is the application's again: Return is its OK, and starts no pick.
    ASSERT_TRUE(QTest::qWaitFor([&] { return FocusedApplication() == town.window(); }, 5000));
    PressKey("Return");
    EXPECT_TRUE(WaitUntilGone(QStringLiteral("entry London")));

    // Closed through the window manager: nothing is unsaved, so nothing is asked.
    ASSERT_TRUE(x11input::CloseWindow(picker));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(settings(),
              "[Settings]\ninuse=0\norientation=0\ndatatablefile=" + m_path + "\ncapture=copy\n");
}

// The status window comes up for a pick that finds nothing selected, and stays beside the
// picker, wherever the picker goes.
TEST_F(PickerE2E, TheStatusWindowStaysBesideThePicker)
{
    std::filesystem::create_directories(m_folder.path() / "config");
    WriteBytes(m_folder.path() / "config" / "quillon.ini", "[Settings]\ncapture=selection\n");
    ASSERT_TRUE(x11input::EmptySelection("PRIMARY"));
    startPicker({QString::fromStdString(m_path)});
    const std::uint64_t picker = WaitForWindow(QStringLiteral("Quillon"));
    ASSERT_NE(picker, 0u);
    QTest::qWait(300);

    const QPoint name = PickerFieldButton(Geometry(picker), 0);
    ASSERT_TRUE(x11input::ClickAt(name.x(), name.y()));
    const std::uint64_t status =
        WaitForWindow(QStringLiteral("quillon   - text you are picking up to \"Name\""));
    ASSERT_NE(status, 0u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !FrameOf(status).intersects(FrameOf(picker)); }, 5000))
        << Describe(FrameOf(status)) << " over " << Describe(FrameOf(picker));

    // Moved to the screen's lower right corner, where nothing fits below or to the right.
    const QStringList size =
        Xdotool({QStringLiteral("getdisplaygeometry")}).split(QLatin1Char(' '));
    ASSERT_EQ(size.size(), 2);
    const QRect screen(0, 0, size[0].toInt(), size[1].toInt());
    const QRect before = FrameOf(picker);
    const QPoint corner = screen.bottomRight() - QPoint(before.width(), before.height());
    Xdotool({QStringLiteral("windowmove"), QString::number(picker), QString::number(corner.x()),
             QString::number(corner.y())});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return FrameOf(picker).topLeft() != before.topLeft(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !FrameOf(status).intersects(FrameOf(picker)); }, 5000))
        << Describe(FrameOf(status)) << " over " << Describe(FrameOf(picker));
    EXPECT_TRUE(screen.contains(FrameOf(status))) << Describe(FrameOf(status));
}

TEST_F(PickerE2E, FirstStartWithoutAFileAsksAndCancelEnds)
{
    startPicker({});
    ASSERT_NE(WaitForWindow(QStringLiteral("Quillon")), 0u);
    QTest::qWait(300);
    PressKey("Escape");
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(settings(), "[Settings]\ninuse=0\n");
}

TEST_F(PickerE2E, ADataSourceThatCannotBeConnectedEndsThePickerAfterTheDriversMessage)
{
    const std::string path = m_folder.file("nowhere.dtd");
    ASSERT_TRUE(SaveTableDescription(path, "DSN=NoSuchDataSource", "People",
                                     {{"Name", "Name", "", "VARCHAR", "40", "Yes", "12"}}));
    startPicker({QString::fromStdString(path)});
    ASSERT_NE(WaitForWindow(QStringLiteral("SQL_ERROR results")), 0u);
    QTest::qWait(300);
    PressKey("Return");
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(settings(), "[Settings]\ninuse=0\n");
}

} // namespace

int main(int argc, char **argv)
{
    // The data sources of the tests, for the picker and for reading its rows back.
    setenv("ODBCSYSINI", QUILLON_ODBC_INI_DIR, 1);
    setenv("LC_ALL", "C.UTF-8", 1);
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
