// SPDX-License-Identifier: MIT
// The real quillon program on a real headless sway (wlroots), over a SQLite data source: the
// picker runs under XWayland, the applications are Wayland-native. Commands from a second
// invocation pick from the window that has the focus (a GTK entry, a terminal), and from the one
// before the picker when the picker has it, as after a click on the palette; "Enter" stores the
// row. Run through tests/support/with-sway.

#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include <unistd.h>

#include "fieldvalues/tabledescription.h"
#include "picker/capture/wayland/swayipc.h"
#include "tests/support/databases.h"
#include "tests/support/pickerprocess.h"
#include "tests/support/testfiles.h"

namespace {

// The window whose title is exactly `title`, once sway shows it.
std::optional<sway::Window> waitForWindow(const QString &title)
{
    std::optional<sway::Window> found;
    (void)QTest::qWaitFor(
        [&] {
            for (const sway::Window &window : sway::windows(sway::Connection().tree())) {
                if (window.title == title.toStdString())
                    found = window;
            }
            return found.has_value();
        },
        15000);
    return found;
}

std::int64_t focusedWindow()
{
    const std::optional<sway::Window> focused = sway::focusedWindow(sway::Connection().tree());
    return focused ? focused->id : 0;
}

bool focus(std::int64_t window)
{
    return sway::Connection().run("[con_id=" + std::to_string(window) + "] focus") &&
           QTest::qWaitFor([&] { return focusedWindow() == window; }, 5000);
}

// Keys typed through wtype, a virtual keyboard of its own: wtype's own arguments.
bool typeKeys(const QStringList &arguments)
{
    QProcess wtype;
    wtype.start(QStringLiteral("wtype"), arguments);
    return wtype.waitForFinished(5000) && wtype.exitCode() == 0;
}

// What is selected now (the primary selection), as wl-paste reads it.
QString selection()
{
    QProcess paste;
    paste.start(QStringLiteral("wl-paste"),
                {QStringLiteral("--primary"), QStringLiteral("--no-newline")});
    paste.waitForFinished(5000);
    return QString::fromUtf8(paste.readAllStandardOutput());
}

// A Wayland-native application holding `text`: a started program and its window.
class WaylandApplication
{
public:
    WaylandApplication(const QString &program, const QStringList &arguments, const QString &title)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("wayland"));
        m_process.setProcessEnvironment(environment);
        m_process.start(program, arguments);
        if (const std::optional<sway::Window> window = waitForWindow(title))
            m_window = window->id;
    }
    ~WaylandApplication()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    WaylandApplication(const WaylandApplication &) = delete;
    WaylandApplication &operator=(const WaylandApplication &) = delete;

    std::int64_t window() const { return m_window; }

private:
    QProcess m_process;
    std::int64_t m_window = 0;
};

struct CommandRun
{
    int exitCode = -1;
    std::string error;
};

CommandRun runCommand(const QStringList &arguments)
{
    QProcess command;
    command.start(QStringLiteral(QUILLON_PROGRAM), arguments);
    if (!command.waitForFinished(20000) || command.exitStatus() != QProcess::NormalExit)
        return {};
    return {command.exitCode(), command.readAllStandardError().toStdString()};
}

class PickerOnSway : public PickerProcessTest
{
protected:
    PickerOnSway() : PickerProcessTest("people.dtd") {}

    // The picker on the fixture's table; its palette's window.
    std::int64_t startPicker()
    {
        startPickerProcess({QString::fromStdString(m_path)});
        const std::optional<sway::Window> window = waitForWindow(QStringLiteral("Quillon"));
        return window ? window->id : 0;
    }
};

// A user on sway selects a name in a GTK entry and picks it with the desktop's key for
// `quillon --pick 1`; then clicks into the picker's palette, which takes the focus as sway gives
// it, and picks the town from the entry before it; `quillon --enter` stores the row.
TEST_F(PickerOnSway, AGtkSelectionReachesARowByCommands)
{
    WaylandApplication name(QStringLiteral("zenity"),
                            {QStringLiteral("--entry"), QStringLiteral("--title=entry name"),
                             QStringLiteral("--entry-text=Grace Hopper")},
                            QStringLiteral("entry name"));
    ASSERT_NE(name.window(), 0);
    const std::int64_t picker = startPicker();
    ASSERT_NE(picker, 0);
    ASSERT_TRUE(focus(name.window()));
    ASSERT_TRUE(typeKeys({QStringLiteral("-M"), QStringLiteral("ctrl"), QStringLiteral("a"),
                          QStringLiteral("-m"), QStringLiteral("ctrl")}));

    CommandRun run = runCommand({QStringLiteral("--pick"), QStringLiteral("1")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.error, "");
    QTest::qWait(500);
    EXPECT_EQ(focusedWindow(), name.window());

    WaylandApplication town(QStringLiteral("zenity"),
                            {QStringLiteral("--entry"), QStringLiteral("--title=entry town"),
                             QStringLiteral("--entry-text=Arlington")},
                            QStringLiteral("entry town"));
    ASSERT_NE(town.window(), 0);
    ASSERT_TRUE(focus(town.window()));
    ASSERT_TRUE(typeKeys({QStringLiteral("-M"), QStringLiteral("ctrl"), QStringLiteral("a"),
                          QStringLiteral("-m"), QStringLiteral("ctrl")}));
    ASSERT_TRUE(focus(picker));
    run = runCommand({QStringLiteral("--pick"), QStringLiteral("2")});
    EXPECT_EQ(run.exitCode, 0);
    QTest::qWait(500);
    // The entry the user worked in has the keyboard back, as after a click.
    EXPECT_EQ(focusedWindow(), town.window());

    run = runCommand({QStringLiteral("--enter")});
    EXPECT_EQ(run.exitCode, 0);
    const Rows rows = waitForRows(1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Grace Hopper");
    EXPECT_EQ(rows[0][1], "Arlington");
}

// A terminal is never sent Ctrl+C: a pick from it takes what is selected there, and the job
// that runs in it goes on.
TEST_F(PickerOnSway, ATerminalsJobSurvivesACommandPick)
{
    const QString duration = QString::number(100000 + ::getpid());
    WaylandApplication terminal(
        QStringLiteral("foot"),
        {QStringLiteral("--title=terminal"), QStringLiteral("sh"), QStringLiteral("-c"),
         QStringLiteral("echo 'Katherine Johnson'; sleep %1").arg(duration)},
        QStringLiteral("terminal"));
    ASSERT_NE(terminal.window(), 0);
    auto sleeper = [&] {
        QProcess pgrep;
        pgrep.start(QStringLiteral("pgrep"),
                    {QStringLiteral("-fx"), QStringLiteral("sleep ") + duration});
        pgrep.waitForFinished(5000);
        return pgrep.readAllStandardOutput().trimmed().toLongLong();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return sleeper() != 0; }, 5000));
    const long long job = sleeper();
    ASSERT_NE(startPicker(), 0);
    ASSERT_TRUE(focus(terminal.window()));

    // foot selects by keys in its search mode: the match stays selected when the search ends.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            (void)typeKeys({QStringLiteral("-M"), QStringLiteral("ctrl"), QStringLiteral("-M"),
                            QStringLiteral("shift"), QStringLiteral("r"), QStringLiteral("-m"),
                            QStringLiteral("shift"), QStringLiteral("-m"), QStringLiteral("ctrl")});
            QTest::qWait(200);
            (void)typeKeys({QStringLiteral("Katherine Johnson")});
            (void)typeKeys({QStringLiteral("-k"), QStringLiteral("Return")});
            return QTest::qWaitFor(
                [] { return selection() == QStringLiteral("Katherine Johnson"); }, 1000);
        },
        10000));

    EXPECT_EQ(runCommand({QStringLiteral("--pick"), QStringLiteral("1")}).exitCode, 0);
    QTest::qWait(500);
    EXPECT_EQ(runCommand({QStringLiteral("--enter")}).exitCode, 0);
    const Rows rows = waitForRows(1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Katherine Johnson");
    EXPECT_EQ(sleeper(), job) << "the terminal's job was interrupted";
    EXPECT_EQ(focusedWindow(), terminal.window());
}

} // namespace

int main(int argc, char **argv)
{
    return runPickerProcessTests(argc, argv);
}
