// The real quillon program on a real X server with a window manager, over a SQLite data source:
// a user picks values from a GTK application, enters the row and closes the picker; and the two
// ways it ends at once.

#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
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

    // Closed through the window manager: nothing is unsaved, so nothing is asked.
    ASSERT_TRUE(x11input::CloseWindow(picker));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(settings(),
              "[Settings]\ninuse=0\norientation=0\ndatatablefile=" + m_path + "\ncapture=copy\n");
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
