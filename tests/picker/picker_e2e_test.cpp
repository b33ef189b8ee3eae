// SPDX-License-Identifier: MIT
// The real quillon program on a real X server with a window manager, over a SQLite data source:
// a user picks values from a GTK application, enters the row, types on in the application and
// closes the picker; the status window beside the picker; the two ways it ends at once; and
// working from the keyboard, with the focus where the user works: picks, "Enter", a copied row
// of cells, a terminal, and keys that another picker holds; and commands from a second
// invocation over the session bus.

#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include <unistd.h>

#include "picker/settings.h"
#include "tests/support/databases.h"
#include "tests/support/desktopuser.h"
#include "tests/support/pickerprocess.h"
#include "tests/support/x11input.h"

namespace {

using namespace desktopuser;

void pressKey(const char *key)
{
    xdotool({QStringLiteral("key"), QString::fromLatin1(key)});
}

// The window with the frame that the window manager puts around it (_NET_FRAME_EXTENTS: left,
// right, top, bottom).
QRect frameOf(std::uint64_t window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window),
                                          QStringLiteral("_NET_FRAME_EXTENTS")});
    xprop.waitForFinished(5000);
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput());
    const QStringList extents = line.section(QLatin1Char('='), 1).split(QLatin1Char(','));
    const QRect client = geometry(window);
    if (extents.size() != 4)
        return client;
    return client.adjusted(-extents[0].trimmed().toInt(), -extents[2].trimmed().toInt(),
                           extents[1].trimmed().toInt(), extents[3].trimmed().toInt());
}

std::string describe(const QRect &rect)
{
    return QStringLiteral("%1x%2+%3+%4")
        .arg(rect.width())
        .arg(rect.height())
        .arg(rect.x())
        .arg(rect.y())
        .toStdString();
}

// The application window that holds the keyboard focus.
std::uint64_t focusedApplication()
{
    return x11input::clientWindowOf(x11input::focusedWindow());
}

// Keys typed as a user types them: the modifiers, then the key, then all let go.
void typeKeys(std::initializer_list<const char *> keysyms)
{
    ASSERT_TRUE(x11input::pressKeys(keysyms));
    // The picker handles the keys and the copy they bring before the next ones.
    QTest::qWait(500);
}

// Geany, a GTK editor, showing one file in a new instance of its own with plain settings.
class Geany
{
public:
    explicit Geany(const std::filesystem::path &folder, const std::string &text)
    {
        const QString config = QString::fromStdString((folder / "geany").string());
        QDir().mkpath(config);
        QFile settings(config + QStringLiteral("/geany.conf"));
        if (settings.open(QIODevice::WriteOnly))
            settings.write(
                "[geany]\nsidebar_visible=false\npref_main_load_session=false\n"
                "pref_main_confirm_exit=false\npref_main_save_winpos=false\n"
                "beep_on_errors=false\nmsgwindow_visible=false\n[VTE]\nload_vte=false\n");
        settings.close();
        const std::filesystem::path file = folder / "cells.txt";
        writeBytes(file, text);
        m_process.start(QStringLiteral("geany"),
                        {QStringLiteral("--config=") + config, QStringLiteral("--new-instance"),
                         QStringLiteral("--no-ctags"), QStringLiteral("--no-plugins"),
                         QStringLiteral("--no-session"), QStringLiteral("--no-msgwin"),
                         QStringLiteral("--no-terminal"), QString::fromStdString(file.string())});
        const qint64 pid = m_process.processId();
        (void)QTest::qWaitFor([&] { return (m_window = x11input::windowOfProcess(pid)) != 0; },
                              15000);
    }
    ~Geany()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    Geany(const Geany &) = delete;
    Geany &operator=(const Geany &) = delete;

    std::uint64_t window() const { return m_window; }

    // Selects the whole file, as a user does with Ctrl+A, once the editor has loaded it.
    bool selectAll() const
    {
        x11input::activateWindow(m_window);
        if (!QTest::qWaitFor([&] { return focusedApplication() == m_window; }, 5000))
            return false;
        for (int attempt = 0; attempt < 20; ++attempt) {
            pressKey("ctrl+a");
            if (QTest::qWaitFor([] { return x11input::selectionOwner("PRIMARY") != 0; }, 500))
                return true;
        }
        return false;
    }

private:
    QProcess m_process;
    std::uint64_t m_window = 0;
};

// xterm running a shell that prints a line and then a `sleep` in the foreground, as a user's job.
class Xterm
{
public:
    explicit Xterm(const QString &line) : m_duration(QString::number(100000 + ::getpid()))
    {
        m_process.start(QStringLiteral("xterm"),
                        {QStringLiteral("-geometry"), QStringLiteral("60x6+400+300"),
                         QStringLiteral("-e"), QStringLiteral("sh"), QStringLiteral("-c"),
                         QStringLiteral("echo '%1'; sleep %2").arg(line, m_duration)});
        const qint64 pid = m_process.processId();
        (void)QTest::qWaitFor(
            [&] { return (m_window = x11input::windowOfProcess(pid)) != 0 && sleeper() != 0; },
            15000);
    }
    ~Xterm()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    Xterm(const Xterm &) = delete;
    Xterm &operator=(const Xterm &) = delete;

    std::uint64_t window() const { return m_window; }

    // The shell's `sleep`; 0 once it has ended (or been interrupted).
    long long sleeper() const
    {
        return desktopuser::processWithArgument(QStringLiteral("sleep"), m_duration);
    }

    // Selects the first line with a triple click, which also makes the terminal active.
    bool selectFirstLine() const { return desktopuser::selectTopLine(m_window); }

private:
    QString m_duration;
    QProcess m_process;
    std::uint64_t m_window = 0;
};

class PickerE2E : public PickerProcessTest
{
protected:
    // A path with a blank, handed over as two arguments.
    PickerE2E() : PickerProcessTest("My People.dtd") {}

    void startPicker(const QStringList &arguments)
    {
        startPickerProcess(arguments);
        ASSERT_TRUE(m_picker.waitForStarted(5000));
    }

    // The picker started on the fixture's table, its window shown.
    std::uint64_t startPickerOnPeople()
    {
        startPicker({QString::fromStdString(m_path)});
        const std::uint64_t picker = waitForWindow(QStringLiteral("Quillon"));
        QTest::qWait(500);
        return picker;
    }

    bool waitForEnd()
    {
        return m_picker.waitForFinished(20000) && m_picker.exitStatus() == QProcess::NormalExit &&
               m_picker.exitCode() == 0;
    }

    std::string settings() { return readBytes(m_folder.path() / "config" / "quillon.ini"); }
};

TEST_F(PickerE2E, PickTwoValuesFromAGtkApplicationEnterTheRowAndClose)
{
    GtkEntry name(QStringLiteral("Ada Lovelace"));
    GtkEntry town(QStringLiteral("London"));
    ASSERT_NE(name.window(), 0u);
    ASSERT_NE(town.window(), 0u);

    const QString path = QString::fromStdString(m_path);
    startPicker({path.section(QLatin1Char(' '), 0, 0), path.section(QLatin1Char(' '), 1)});
    const std::uint64_t picker = waitForWindow(QStringLiteral("Quillon"));
    ASSERT_NE(picker, 0u);
    QTest::qWait(300);
    const QRect frame = geometry(picker);
    ASSERT_EQ(frame.topLeft(), QPoint(5, 5));

    // The user selects a text in one application and clicks the field's button, then the next.
    // (Opening the second entry took the selection from the first: it is selected again.)
    auto pick = [&frame](const GtkEntry &entry, int field) {
        entry.selectAll();
        const QPoint button = pickerFieldButton(frame, field);
        EXPECT_TRUE(x11input::clickAt(button.x(), button.y()));
        QTest::qWait(500);
    };
    pick(name, 0);
    pick(town, 1);

    const QPoint enter = pickerEnterButton(frame, 2);
    ASSERT_TRUE(x11input::clickAt(enter.x(), enter.y()));
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedApplication() == town.window(); }, 5000));
    pressKey("Return");
    EXPECT_TRUE(waitUntilGone(QStringLiteral("entry London")));

    // Closed through the window manager: nothing is unsaved, so nothing is asked.
    ASSERT_TRUE(x11input::closeWindow(picker));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(settings(),
              "[Settings]\ninuse=0\norientation=0\ndatatablefile=" + m_path + "\ncapture=copy\n");
}

// The status window comes up for a pick that finds nothing selected, and stays beside the
// picker, wherever the picker goes.
TEST_F(PickerE2E, TheStatusWindowStaysBesideThePicker)
{
    std::filesystem::create_directories(m_folder.path() / "config");
    writeBytes(m_folder.path() / "config" / "quillon.ini", "[Settings]\ncapture=selection\n");
    ASSERT_TRUE(x11input::emptySelection("PRIMARY"));
    startPicker({QString::fromStdString(m_path)});
    const std::uint64_t picker = waitForWindow(QStringLiteral("Quillon"));
    ASSERT_NE(picker, 0u);
    QTest::qWait(300);

    const QPoint name = pickerFieldButton(geometry(picker), 0);
    ASSERT_TRUE(x11input::clickAt(name.x(), name.y()));
    const std::uint64_t status =
        waitForWindow(QStringLiteral("quillon   - text you are picking up to \"Name\""));
    ASSERT_NE(status, 0u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frameOf(status).intersects(frameOf(picker)); }, 5000))
        << describe(frameOf(status)) << " over " << describe(frameOf(picker));

    // Moved to the screen's lower right corner, where nothing fits below or to the right.
    const QStringList size =
        xdotool({QStringLiteral("getdisplaygeometry")}).split(QLatin1Char(' '));
    ASSERT_EQ(size.size(), 2);
    const QRect screen(0, 0, size[0].toInt(), size[1].toInt());
    const QRect before = frameOf(picker);
    const QPoint corner = screen.bottomRight() - QPoint(before.width(), before.height());
    xdotool({QStringLiteral("windowmove"), QString::number(picker), QString::number(corner.x()),
             QString::number(corner.y())});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return frameOf(picker).topLeft() != before.topLeft(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frameOf(status).intersects(frameOf(picker)); }, 5000))
        << describe(frameOf(status)) << " over " << describe(frameOf(picker));
    EXPECT_TRUE(screen.contains(frameOf(status))) << describe(frameOf(status));
}

TEST_F(PickerE2E, FirstStartWithoutAFileAsksAndCancelEnds)
{
    startPicker({});
    ASSERT_NE(waitForWindow(QStringLiteral("Quillon")), 0u);
    QTest::qWait(300);
    pressKey("Escape");
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(settings(), "[Settings]\ninuse=0\n");
}

TEST_F(PickerE2E, ADataSourceThatCannotBeConnectedEndsThePickerAfterTheDriversMessage)
{
    const std::string path = m_folder.file("nowhere.dtd");
    ASSERT_TRUE(saveTableDescription(path, "DSN=NoSuchDataSource", "People",
                                     {{"Name", "Name", "", "VARCHAR", "40", "Yes", "12"}}));
    startPicker({QString::fromStdString(path)});
    ASSERT_NE(waitForWindow(QStringLiteral("SQL_ERROR results")), 0u);
    QTest::qWait(300);
    pressKey("Return");
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(settings(), "[Settings]\ninuse=0\n");
}

// Picks from the keyboard: Ctrl+Alt+1 while the editor keeps the focus, Ctrl+Alt+Return stores
// the row, and Ctrl+Alt+Space walks the empty fields; a second pick with Ctrl and Alt still held
// makes the editor copy all the same, and leaves no key held once the user lets go. Caps Lock
// and Num Lock change nothing.
TEST_F(PickerE2E, KeysPickAndEnterWhileTheEditorKeepsTheFocus)
{
    GtkEntry town(QStringLiteral("London"));
    GtkEntry name(QStringLiteral("Ada Lovelace"));
    ASSERT_NE(startPickerOnPeople(), 0u);

    name.selectAll();
    typeKeys({"Control_L", "Alt_L", "1"});
    EXPECT_EQ(focusedApplication(), name.window());
    typeKeys({"Control_L", "Alt_L", "Return"});
    Rows rows = waitForRows(1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Ada Lovelace");
    EXPECT_EQ(rows[0][1], std::nullopt);
    EXPECT_EQ(focusedApplication(), name.window());

    // The next empty field each time: Name, then Town; with Caps Lock on, and then Num Lock.
    ASSERT_TRUE(x11input::pressKeys({"Caps_Lock"}));
    typeKeys({"Control_L", "Alt_L", "space"});
    ASSERT_TRUE(x11input::pressKeys({"Caps_Lock"}));
    ASSERT_TRUE(x11input::pressKeys({"Num_Lock"}));
    town.selectAll();
    // Ctrl and Alt held for longer than the picker waits for them.
    ASSERT_TRUE(x11input::pressKeys({"Control_L", "Alt_L"}, false));
    ASSERT_TRUE(x11input::pressKeys({"space"}));
    QTest::qWait(800);
    EXPECT_EQ(focusedApplication(), town.window());
    ASSERT_TRUE(x11input::pressKeys({"Return"}));
    ASSERT_TRUE(x11input::releaseKeys({"Alt_L", "Control_L"}));
    rows = waitForRows(2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][0], "Ada Lovelace");
    EXPECT_EQ(rows[1][1], "London");
    EXPECT_EQ(focusedApplication(), town.window());
    ASSERT_TRUE(x11input::pressKeys({"Num_Lock"}));
    EXPECT_TRUE(QTest::qWaitFor([] { return !x11input::anyKeyDown(); }, 2000))
        << "a key stays held";
}

// A copied row of two cells fills two fields; so does a copy with a heading line, whose cells go
// to the fields they name. Nothing is stored before "Enter".
TEST_F(PickerE2E, ACopiedRowOfCellsFillsTheFields)
{
    GtkEntry cells(QStringLiteral("Grace Hopper\tArlington"));
    ASSERT_NE(startPickerOnPeople(), 0u);
    cells.selectAll();
    typeKeys({"Control_L", "Alt_L", "v"});
    EXPECT_EQ(focusedApplication(), cells.window());
    EXPECT_TRUE(DatabaseSession(m_database).query("SELECT Name FROM People").empty());
    typeKeys({"Control_L", "Alt_L", "Return"});
    Rows rows = waitForRows(1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Grace Hopper");
    EXPECT_EQ(rows[0][1], "Arlington");

    Geany editor(m_folder.path(), "town\tID\tNAME\nWilmslow\t7\tAlan Turing\n");
    ASSERT_NE(editor.window(), 0u);
    ASSERT_TRUE(editor.selectAll());
    typeKeys({"Control_L", "Alt_L", "v"});
    typeKeys({"Control_L", "Alt_L", "Return"});
    rows = waitForRows(2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][0], "Alan Turing");
    EXPECT_EQ(rows[1][1], "Wilmslow");
    EXPECT_EQ(focusedApplication(), editor.window());
}

// A terminal is never sent Ctrl+C: a pick from the keys takes what is selected there, and the
// job that runs in it goes on.
TEST_F(PickerE2E, ATerminalsJobSurvivesAKeyboardPick)
{
    Xterm terminal(QStringLiteral("Katherine Johnson"));
    ASSERT_NE(terminal.window(), 0u);
    const long long sleeper = terminal.sleeper();
    ASSERT_NE(sleeper, 0);
    ASSERT_NE(startPickerOnPeople(), 0u);
    ASSERT_TRUE(terminal.selectFirstLine());
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedApplication() == terminal.window(); }, 5000));

    typeKeys({"Control_L", "Alt_L", "1"});
    typeKeys({"Control_L", "Alt_L", "Return"});
    const Rows rows = waitForRows(1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Katherine Johnson");
    EXPECT_EQ(terminal.sleeper(), sleeper) << "the terminal's job was interrupted";
    EXPECT_EQ(focusedApplication(), terminal.window());

    // With nothing selected the status window comes up and says so; the keyboard stays.
    ASSERT_TRUE(x11input::emptySelection("PRIMARY"));
    typeKeys({"Control_L", "Alt_L", "1"});
    EXPECT_NE(waitForWindow(QStringLiteral("quillon   - text you are picking up to \"Name\"")), 0u);
    EXPECT_EQ(focusedApplication(), terminal.window());
    EXPECT_EQ(terminal.sleeper(), sleeper);
}

// Two pickers side by side: the first one started holds the keys, the second says so in its
// status window, and the keys go on working for the first.
TEST_F(PickerE2E, ASecondPickerSaysThatTheFirstHoldsTheKeys)
{
    GtkEntry name(QStringLiteral("Mary Somerville"));
    const std::uint64_t first = startPickerOnPeople();
    ASSERT_NE(first, 0u);

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString((m_folder.path() / "config").string()));
    second.setProcessEnvironment(environment);
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    second.start(QStringLiteral(QUILLON_PROGRAM), {QString::fromStdString(m_path)});
    ASSERT_TRUE(second.waitForStarted(5000));
    EXPECT_NE(waitForWindow(QStringLiteral("quillon   - keys held by another program")), 0u);

    name.selectAll();
    typeKeys({"Control_L", "Alt_L", "1"});
    typeKeys({"Control_L", "Alt_L", "Return"});
    const Rows rows = waitForRows(1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Mary Somerville");
    second.kill();
    second.waitForFinished(5000);
}

// What a second invocation of quillon with a command printed and returned.
struct CommandRun
{
    int exitCode = -1;
    std::string error;
};

CommandRun runCommand(const QStringList &arguments, const QString &busAddress)
{
    QProcess command;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    command.setProcessEnvironment(environment);
    command.start(QStringLiteral(QUILLON_PROGRAM), arguments);
    if (!command.waitForFinished(20000) || command.exitStatus() != QProcess::NormalExit)
        return {};
    return {command.exitCode(), command.readAllStandardError().toStdString()};
}

// Commands from a second invocation, as the desktop's own shortcuts send them: a pick from the
// entry that has the focus, which keeps it, and "Enter". Without a picker, or without a bus, the
// command says so and fails.
TEST_F(PickerE2E, CommandsFromASecondInvocationPickAndEnter)
{
    const QString bus = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    ASSERT_FALSE(bus.isEmpty()) << "run under dbus-run-session";
    CommandRun run = runCommand({QStringLiteral("--enter")}, bus);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.error, "quillon: no picker is running to take the command\n");
    run = runCommand({QStringLiteral("--enter")}, QStringLiteral("unix:path=/nonexistent/bus"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.error, "quillon: there is no D-Bus session bus to reach the picker through\n");

    GtkEntry name(QStringLiteral("Emmy Noether"));
    ASSERT_NE(startPickerOnPeople(), 0u);
    name.selectAll();
    run = runCommand({QStringLiteral("--pick"), QStringLiteral("1")}, bus);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.error, "");
    // The picker copies after the call has been answered.
    QTest::qWait(500);
    EXPECT_EQ(focusedApplication(), name.window());
    run = runCommand({QStringLiteral("--enter")}, bus);
    EXPECT_EQ(run.exitCode, 0);
    const Rows rows = waitForRows(1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Emmy Noether");
    EXPECT_EQ(rows[0][1], std::nullopt);
    EXPECT_EQ(focusedApplication(), name.window());
}

// Two pickers side by side: the second waits for the name, and takes the commands over when the
// first one ends.
TEST_F(PickerE2E, TheNextPickerTakesTheCommandsWhenTheFirstEnds)
{
    const QString bus = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    ASSERT_FALSE(bus.isEmpty()) << "run under dbus-run-session";
    GtkEntry name(QStringLiteral("Lise Meitner"));
    ASSERT_NE(startPickerOnPeople(), 0u);
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString((m_folder.path() / "config").string()));
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(QUILLON_PROGRAM), {QString::fromStdString(m_path)});
    ASSERT_TRUE(second.waitForStarted(5000));
    EXPECT_NE(waitForWindow(QStringLiteral("quillon   - keys held by another program")), 0u);
    m_picker.kill();
    m_picker.waitForFinished(5000);

    name.selectAll();
    EXPECT_EQ(runCommand({QStringLiteral("--pick"), QStringLiteral("1")}, bus).exitCode, 0);
    QTest::qWait(500);
    EXPECT_EQ(runCommand({QStringLiteral("--enter")}, bus).exitCode, 0);
    const Rows rows = waitForRows(1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Lise Meitner");
    second.kill();
    second.waitForFinished(5000);
}

} // namespace

int main(int argc, char **argv)
{
    return runPickerProcessTests(argc, argv);
}
