// The real quillon program on a real X server with a window manager, over a SQLite data source:
// a user picks values from a GTK application, enters the row and closes the picker; and the two
// ways it ends at once.

#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "picker/frame/miniframegeometry.h"
#include "picker/settings.h"
#include "tests/support/databases.h"
#include "tests/support/x11input.h"

namespace {

// Runs xdotool and returns its first line of output.
QString Xdotool(const QStringList &arguments, int timeout = 10000)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(timeout))
        tool.kill();
    return QString::fromUtf8(tool.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0);
}

// The first window whose name is exactly `name`, waiting for it; 0 when none appears.
std::uint64_t WaitForWindow(const QString &name)
{
    std::uint64_t window = 0;
    (void)QTest::qWaitFor(
        [&] {
            window = Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                              QStringLiteral("--name"), QLatin1Char('^') + name + QLatin1Char('$')})
                         .toULongLong();
            return window != 0;
        },
        15000);
    return window;
}

QRect Geometry(std::uint64_t window)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"),
                                           QStringLiteral("--shell"), QString::number(window)});
    tool.waitForFinished(5000);
    QRect rect;
    for (const QByteArray &line : tool.readAllStandardOutput().split('\n')) {
        const QByteArray value = line.mid(line.indexOf('=') + 1);
        if (line.startsWith("X="))
            rect.moveLeft(value.toInt());
        else if (line.startsWith("Y="))
            rect.moveTop(value.toInt());
        else if (line.startsWith("WIDTH="))
            rect.setWidth(value.toInt());
        else if (line.startsWith("HEIGHT="))
            rect.setHeight(value.toInt());
    }
    return rect;
}

void PressKey(const char *key)
{
    Xdotool({QStringLiteral("key"), QString::fromLatin1(key)});
}

// A GTK application whose entry holds a selected text: zenity's entry dialog.
class GtkEntry
{
public:
    explicit GtkEntry(const QString &text)
    {
        m_title = QStringLiteral("entry ") + text;
        m_process.start(QStringLiteral("zenity"),
                        {QStringLiteral("--entry"), QStringLiteral("--title=") + m_title,
                         QStringLiteral("--text=Text"), QStringLiteral("--entry-text=") + text});
        m_window = WaitForWindow(m_title);
    }
    ~GtkEntry()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    std::uint64_t window() const { return m_window; }

private:
    QProcess m_process;
    QString m_title;
    std::uint64_t m_window = 0;
};

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

// The middle of field button `field` of a picker window in a column at `window`.
QPoint FieldButton(const QRect &window, int field)
{
    const int s = DefaultCaptionThickness + 2;
    const FrameRect client = ClientRect(FrameRect{0, 0, window.width(), window.height()},
                                        PickerWindowStyle | IBS_VERTCAPTION, s);
    return {window.x() + client.left + (client.right - client.left) / 2,
            window.y() + client.top + 2 + 24 * field + 11};
}

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
        x11input::ActivateWindow(entry.window());
        QTest::qWait(300);
        PressKey("ctrl+a");
        const QPoint button = FieldButton(frame, field);
        EXPECT_TRUE(x11input::ClickAt(button.x(), button.y()));
        QTest::qWait(500);
    };
    pick(name, 0);
    pick(town, 1);

    // "Enter" lies below the separator.
    const QPoint enter = FieldButton(frame, 2) + QPoint(0, 8);
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

    // Closed through the window manager: nothing is unsaved, so nothing is asked.
    ASSERT_TRUE(x11input::CloseWindow(picker));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(settings(), "[Settings]\ninuse=0\norientation=0\ndatatablefile=" + m_path +
                              "\ncapture=copy\n");
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
