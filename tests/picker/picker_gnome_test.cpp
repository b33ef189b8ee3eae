// SPDX-License-Identifier: MIT
// The real quillon program on a real headless mutter (GNOME's compositor), over a SQLite data
// source: the picker runs its X11 backend under XWayland, beside an XWayland application and a
// Wayland-native one. Run through tests/support/with-mutter.

#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "fieldvalues/tabledescription.h"
#include "tests/support/databases.h"
#include "tests/support/pickerprocess.h"
#include "tests/support/testfiles.h"
#include "tests/support/x11input.h"

namespace {

QString output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// _NET_ACTIVE_WINDOW as mutter sets it; 0 while a Wayland-native window has the focus.
std::uint64_t activeWindow()
{
    const QRegularExpressionMatch id =
        QRegularExpression(QStringLiteral("# (0x[0-9a-f]+)"))
            .match(output(QStringLiteral("xprop"),
                          {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")}));
    return id.hasMatch() ? id.captured(1).toULongLong(nullptr, 16) : ~std::uint64_t{0};
}

// A GTK entry holding `text`, on XWayland or Wayland-native.
class Entry
{
public:
    Entry(const QString &backend, const QString &text)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("GDK_BACKEND"), backend);
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral("zenity"),
                        {QStringLiteral("--entry"), QStringLiteral("--title=") + backend,
                         QStringLiteral("--entry-text=") + text});
    }
    ~Entry()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    Entry(const Entry &) = delete;
    Entry &operator=(const Entry &) = delete;

    // Its X window, once mutter shows it; 0 for a Wayland-native one.
    std::uint64_t window()
    {
        std::uint64_t found = 0;
        (void)QTest::qWaitFor(
            [&] { return (found = x11input::windowOfProcess(m_process.processId())) != 0; }, 15000);
        return found;
    }

private:
    QProcess m_process;
};

int runCommand(const QStringList &arguments)
{
    QProcess command;
    command.start(QStringLiteral(QUILLON_PROGRAM), arguments);
    if (!command.waitForFinished(20000) || command.exitStatus() != QProcess::NormalExit)
        return -1;
    return command.exitCode();
}

class PickerOnGnome : public PickerProcessTest
{
protected:
    PickerOnGnome() : PickerProcessTest("people.dtd", false) {}

    // The picker on the fixture's table; its palette's window.
    std::uint64_t startPicker()
    {
        startPickerProcess({QString::fromStdString(m_path)});
        std::uint64_t window = 0;
        (void)QTest::qWaitFor(
            [&] { return (window = x11input::windowOfProcess(m_picker.processId())) != 0; }, 15000);
        return window;
    }
};

// A user on GNOME selects a name in an XWayland application, then turns to a Wayland-native one,
// which mutter tells X clients as no active window, and clicks the palette's field there. The
// XWayland application is not where the user works: it gets neither the focus nor the copy keys.
// The field waits, the status window says to copy by hand, and the copy made by hand is taken.
TEST_F(PickerOnGnome, AWaylandWindowBeforeThePaletteIsNotTakenForTheX11WindowBeforeIt)
{
    const std::uint64_t picker = startPicker();
    ASSERT_NE(picker, 0u);
    // Mutter gives a new window the focus only where no window kept above the others may cover
    // it: the palette goes to the lower right corner, away from where new windows start.
    (void)output(QStringLiteral("xdotool"), {QStringLiteral("windowmove"), QString::number(picker),
                                             QStringLiteral("1000"), QStringLiteral("800")});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            int x = -1, y = -1, width = 0, height = 0;
            return x11input::windowRect(picker, x, y, width, height) && x >= 1000 && y >= 800;
        },
        5000));
    Entry left(QStringLiteral("x11"), QStringLiteral("Ada Lovelace"));
    const std::uint64_t x11Entry = left.window();
    ASSERT_NE(x11Entry, 0u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return activeWindow() == x11Entry; }, 5000));
    // The entry selects its text as it takes the focus.
    ASSERT_TRUE(QTest::qWaitFor(
        [] {
            return output(QStringLiteral("xclip"),
                          {QStringLiteral("-o"), QStringLiteral("-selection"),
                           QStringLiteral("primary")}) == QStringLiteral("Ada Lovelace");
        },
        5000));

    Entry worked(QStringLiteral("wayland"), QStringLiteral("Grace Hopper"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return activeWindow() == 0; }, 15000));
    // The user moves to the palette; mutter activates it on the click.
    QTest::qWait(300);
    ASSERT_TRUE(x11input::activateWindow(picker));
    ASSERT_TRUE(QTest::qWaitFor([&] { return activeWindow() == picker; }, 5000));
    ASSERT_EQ(runCommand({QStringLiteral("--pick"), QStringLiteral("1")}), 0);

    const QString status = QStringLiteral("^quillon   - text you are picking up to \"Name\"$");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !output(QStringLiteral("xdotool"),
                           {QStringLiteral("search"), QStringLiteral("--name"), status})
                        .isEmpty();
        },
        10000))
        << "the status window did not come up";
    EXPECT_EQ(activeWindow(), picker);
    EXPECT_NE(x11input::clientWindowOf(x11input::selectionOwner("CLIPBOARD")), x11Entry);

    // The copy by hand.
    QProcess copy;
    copy.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                         QStringLiteral("-quiet")});
    copy.write("Grace Hopper");
    copy.closeWriteChannel();
    // "Enter" stores nothing while the field still waits.
    Rows rows;
    (void)QTest::qWaitFor(
        [&] {
            EXPECT_EQ(runCommand({QStringLiteral("--enter")}), 0);
            rows = DatabaseSession(m_database).query("SELECT Name FROM People");
            return !rows.empty();
        },
        10000);
    copy.kill();
    copy.waitForFinished(5000);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Grace Hopper");
}

} // namespace

int main(int argc, char **argv)
{
    return runPickerProcessTests(argc, argv);
}
