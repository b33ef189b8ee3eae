// SPDX-License-Identifier: MIT
// Picking text from real applications on a real X server. Each test runs alone on its own
// server (tests/support/with-x), with or without the openbox window manager.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <unistd.h>

#include "fieldvalues/fieldtypes.h"
#include "kolvane/kolvane.h"
#include "picker/capture/capture.h"
#include "picker/capture/pseudoterminal.h"
#include "picker/capture/statuswindow.h"
#include "picker/capture/terminals.h"
#include "picker/toolbarbuttons.h"
#include "tests/support/desktopuser.h"
#include "tests/support/recordingsink.h"
#include "tests/support/x11input.h"

namespace {

constexpr int Name = 0;
constexpr int Notes = 1;

// Another program of the test's, reporting on its standard output a line at a time.
class Program
{
public:
    ~Program() { stop(); }

    bool start(const QString &program, const QStringList &arguments,
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.setProcessEnvironment(environment);
        m_process.start(program, arguments);
        return m_process.waitForStarted(5000);
    }

    // The next line that starts with `prefix`, skipping others.
    std::optional<QByteArray> readLineStartingWith(const char *prefix, int timeoutMs = 10000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            while (m_process.canReadLine()) {
                QByteArray line = m_process.readLine();
                if (line.startsWith(prefix))
                    return line;
            }
            m_process.waitForReadyRead(100);
        }
        return std::nullopt;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(5000);
    }

protected:
    QProcess m_process;
};

// Another application, started with a selected text; it tells its window id when it is shown
// and answers every command line with "done".
class Target : public Program
{
public:
    bool startTk(const QString &text, int x = 400, int y = 300)
    {
        return startApplication(QStringLiteral("wish"), {QStringLiteral(TK_TARGET_SCRIPT), text,
                                                         QString::number(x), QString::number(y)});
    }
    // GTK: zenity's entry dialog, whose text is selected when it opens. It answers no commands.
    bool startGtk(const QString &text)
    {
        if (!start(QStringLiteral("zenity"),
                   {QStringLiteral("--entry"), QStringLiteral("--title=gtk target"),
                    QStringLiteral("--text=Text"), QStringLiteral("--entry-text=") + text}))
            return false;
        QProcess search;
        search.start(QStringLiteral("xdotool"),
                     {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--name"),
                      QStringLiteral("^gtk target$")});
        if (!search.waitForFinished(10000))
            return false;
        m_window = search.readAllStandardOutput().split('\n').value(0).trimmed().toULongLong();
        return m_window != 0;
    }

    bool startQt(const QString &text, int x = 400, int y = 300)
    {
        return startApplication(QStringLiteral(QT_TARGET_PROGRAM),
                                {text, QString::number(x), QString::number(y)});
    }

    // The tests' own window whose Ctrl+C copies nothing; "select TEXT" selects anew. With a
    // `sleeper` it runs a sleep on a pseudo-terminal of its own, which Ctrl+C interrupts; with
    // `copyAfterMs` its Ctrl+C copies after that many milliseconds.
    bool startSelectionHolder(long long *sleeper = nullptr, int copyAfterMs = -1)
    {
        QStringList arguments;
        if (copyAfterMs >= 0)
            arguments = {QStringLiteral("--copy-after"), QString::number(copyAfterMs)};
        if (sleeper != nullptr) {
            arguments = {QStringLiteral("--pty"), QString::number(100000 + ::getpid())};
            if (!start(QStringLiteral(SELECTION_HOLDER_PROGRAM), arguments))
                return false;
            const std::optional<QByteArray> child = readLineStartingWith("child ");
            *sleeper = child ? child->mid(6).trimmed().toLongLong() : 0;
            return *sleeper != 0 && waitForWindow();
        }
        return start(QStringLiteral(SELECTION_HOLDER_PROGRAM), arguments) && waitForWindow();
    }

    bool command(const QString &line)
    {
        m_process.write((line + QLatin1Char('\n')).toUtf8());
        return readLineStartingWith("done").has_value();
    }

    WindowId window() const { return m_window; }

private:
    bool startApplication(const QString &program, const QStringList &arguments)
    {
        return start(program, arguments) && waitForWindow();
    }

    bool waitForWindow()
    {
        std::optional<QByteArray> ready = readLineStartingWith("ready ");
        if (!ready)
            return false;
        const WindowId own = std::strtoull(ready->mid(6).trimmed().constData(), nullptr, 0);
        return QTest::qWaitFor(
            [&] {
                m_window = x11input::clientWindowOf(own);
                return m_window != 0;
            },
            5000);
    }

    WindowId m_window = 0;
};

// Geany, a GTK editor on Scintilla, in a new instance of its own showing one file; a triple
// click in its editor selects a line. It answers no commands.
class Geany : public Program
{
public:
    // Opens `file` with the settings in `config` (a folder) and waits for the window; with
    // `terminal` its terminal panel is there as well.
    bool open(const QString &file, const QString &config, bool terminal = false)
    {
        QStringList arguments = {
            QStringLiteral("--config=") + config, QStringLiteral("--new-instance"),
            QStringLiteral("--no-ctags"),         QStringLiteral("--no-plugins"),
            QStringLiteral("--no-session"),       file};
        if (!terminal)
            arguments << QStringLiteral("--no-msgwin") << QStringLiteral("--no-terminal");
        if (!start(QStringLiteral("geany"), arguments))
            return false;
        const qint64 pid = m_process.processId();
        return QTest::qWaitFor(
            [&] {
                m_window = x11input::windowOfProcess(pid);
                return m_window != 0;
            },
            10000);
    }

    // Selects a line of the editor with a triple click in the middle of the window, and waits
    // until the editor holds the selection.
    bool selectLine()
    {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        if (!x11input::windowRect(m_window, x, y, width, height))
            return false;
        // The editor may still be loading the file: click again until the selection is there.
        for (int attempt = 0; attempt < 10; ++attempt) {
            x11input::clickAt(x + width / 2, y + height / 2, 3);
            if (QTest::qWaitFor([] { return x11input::selectionOwner("PRIMARY") != 0; }, 500))
                return true;
        }
        return false;
    }

    WindowId window() const { return m_window; }
    qint64 processId() const { return m_process.processId(); }

    // The settings of a plain editor: no side bar, no session, nothing asked at the end; with
    // `terminal` its terminal panel (a VTE terminal running a shell) is shown below the editor.
    static bool writeSettings(const QString &config, bool terminal = false)
    {
        QFile file(QDir(config).filePath(QStringLiteral("geany.conf")));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write("[geany]\nsidebar_visible=false\npref_main_load_session=false\n"
                   "pref_main_confirm_exit=false\npref_main_save_winpos=false\n"
                   "beep_on_errors=false\n");
        file.write(terminal ? "msgwindow_visible=true\n[VTE]\nload_vte=true\n"
                            : "msgwindow_visible=false\n[VTE]\nload_vte=false\n");
        return true;
    }

private:
    WindowId m_window = 0;
};

// A terminal emulator started on a shell command; its window found by the process id.
class Terminal : public Program
{
public:
    bool startProgram(const QString &program, const QStringList &arguments)
    {
        if (!start(program, arguments))
            return false;
        const qint64 pid = m_process.processId();
        return QTest::qWaitFor(
            [&] {
                m_window = x11input::windowOfProcess(pid);
                return m_window != 0;
            },
            10000);
    }

    // xterm with a shell that prints `line` and then runs `sleep` in the foreground, as a
    // user's job; `sleeper` is the sleep's process id.
    bool startXterm(const QString &line, long long &sleeper)
    {
        // A duration of its own tells this sleep from others on the machine.
        const QString duration = QString::number(100000 + ::getpid());
        if (!startProgram(QStringLiteral("xterm"),
                          {QStringLiteral("-geometry"), QStringLiteral("60x6+400+300"),
                           QStringLiteral("-e"), QStringLiteral("sh"), QStringLiteral("-c"),
                           QStringLiteral("echo '%1'; sleep %2; echo over").arg(line, duration)}))
            return false;
        return QTest::qWaitFor(
            [&] {
                return (sleeper = desktopuser::processWithArgument(QStringLiteral("sleep"),
                                                                   duration)) != 0;
            },
            10000);
    }

    // Selects the first line of the terminal with a triple click, until the selection holds
    // `expected` (the terminal may not have shown the line yet).
    bool selectFirstLine(const QString &expected)
    {
        return desktopuser::selectTopLine(
            m_window, [&] { return selectedText().trimmed() == expected.trimmed(); });
    }

    // What is selected, read by xclip as any program would.
    static QString selectedText()
    {
        QProcess xclip;
        xclip.start(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                              QStringLiteral("primary")});
        if (!xclip.waitForFinished(5000))
            return {};
        return QString::fromUtf8(xclip.readAllStandardOutput());
    }

    WindowId window() const { return m_window; }

    // Whether the process runs still (is there, and not a zombie).
    static bool isRunning(long long pid)
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray fields = stat.readAll();
        const qsizetype end = fields.lastIndexOf(')');
        return end > 0 && fields.size() > end + 2 && fields[end + 2] != 'Z';
    }

private:
    WindowId m_window = 0;
};

// Puts text or a picture on the clipboard the way a user's copy in another program does.
void copyByHand(const QByteArray &data, const char *type = "UTF8_STRING")
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                          QStringLiteral("-t"), QString::fromLatin1(type)});
    ASSERT_TRUE(xclip.waitForStarted(5000));
    xclip.write(data);
    xclip.closeWriteChannel();
    ASSERT_TRUE(xclip.waitForFinished(5000));
}

// Selects text in a program of its own, as a user's selection in another program does.
void selectElsewhere(const QByteArray &text)
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("primary")});
    ASSERT_TRUE(xclip.waitForStarted(5000));
    xclip.write(text);
    xclip.closeWriteChannel();
    ASSERT_TRUE(xclip.waitForFinished(5000));
    ASSERT_TRUE(QTest::qWaitFor([] { return x11input::selectionOwner("PRIMARY") != 0; }, 5000));
}

// The status window's line and caption after a pick of `title`'s field.
::testing::AssertionResult statusSays(const StatusWindow &status, const char *text,
                                      const char *title)
{
    if (!QTest::qWaitFor([&] { return status.text() == QString::fromUtf8(text); }, 5000))
        return ::testing::AssertionFailure()
               << "the status line says \"" << status.text().toStdString() << '"';
    const QString caption = QStringLiteral("quillon   - text you are picking up to \"%1\"")
                                .arg(QString::fromUtf8(title));
    if (status.windowTitle() != caption)
        return ::testing::AssertionFailure()
               << "the caption is \"" << status.windowTitle().toStdString() << '"';
    return ::testing::AssertionSuccess();
}

class CaptureE2E : public ::testing::Test
{
protected:
    CaptureE2E()
        : m_backend(createCaptureBackend()), m_controller(*m_backend, m_messages),
          m_status(&m_window)
    {
        m_description.connectString = "DSN=none";
        m_description.tableName = "people";
        m_description.fieldCount = 3;
        setField(0, "Name", 12, 40);
        setField(1, "Notes", -1, 65536);
        setField(2, "Code", 12, 5);
        setValueWidths(m_description);

        // The picker's window with its toolbar: one button per field, a separator, "Enter".
        m_window.setWindowTitle(QStringLiteral("Quillon"));
        m_window.setWindowFlag(Qt::WindowStaysOnTopHint);
        std::vector<ButtonRecord> records = tableButtons(m_description);
        m_toolbar =
            createToolbar(&m_window, TBS_VISIBLE, ToolbarControlId, ToolbarImageCount, nullptr,
                          ToolbarBitmap, records.data(), static_cast<int>(records.size()), 0);
        QObject::connect(m_toolbar, &KolvaneToolbar::commandActivated,
                         [this](int command, Gesture gesture) {
                             m_controller.showPickedText(" ", -1);
                             const int field = fieldOfCommand(command, m_description.fieldCount);
                             if (gesture == Gesture::Pick && field >= 0)
                                 m_controller.pickField(field);
                         });
        m_window.resize(80, 24 * m_description.fieldCount + 60);
        m_toolbar->fitToParent();
        m_window.move(5, 5);
        m_window.show();

        m_controller.setPickerWindow(&m_window);
        m_controller.setStatusWindow(&m_status);
        m_controller.setFillStateSink([this](int field, bool filled) {
            m_fills.emplace_back(field, filled ? 1 : 0);
            m_toolbar->setFillState(FirstFieldCommand + field, fieldFillState(filled));
        });
        m_controller.setBeepHook([this] { ++m_beeps; });
        EXPECT_TRUE(m_controller.tableLoaded(m_description));
        m_controller.resetRow();
        m_fills.clear();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    void setField(int index, const char *title, int sqlType, int length)
    {
        FieldDescription &field = m_description.fields[static_cast<std::size_t>(index)];
        field.name = title;
        field.title = title;
        field.sqlType = sqlType;
        field.length = length;
    }

    // The user brings the window to the front, and the window manager makes it the active one.
    bool waitUntilActive(WindowId window)
    {
        // A request made before the window manager has taken the window on is lost: repeat it.
        for (int attempt = 0; attempt < 25; ++attempt) {
            x11input::activateWindow(window);
            if (QTest::qWaitFor([&] { return m_backend->activeBeforeUs() == window; }, 200))
                return true;
        }
        return false;
    }

    // The user makes the window the one to work in: the window manager activates it, and
    // without one the focus goes there directly.
    bool bringToFront(WindowId window)
    {
        if (x11input::hasWindowManager())
            return waitUntilActive(window);
        return x11input::focusWindow(window);
    }

    void clickField(int field)
    {
        QWidget *button = m_toolbar->buttonWidget(field);
        ASSERT_NE(button, nullptr);
        const QPoint centre = button->mapToGlobal(button->rect().center());
        ASSERT_TRUE(x11input::clickAt(centre.x(), centre.y()));
    }

    // Clicks the field's button and waits for the value to arrive.
    bool pick(int field)
    {
        const int before = m_picked;
        clickField(field);
        return QTest::qWaitFor([&] { return m_picked > before; }, 5000);
    }

    // Clicks the field's button; the field then holds `expected`.
    ::testing::AssertionResult picks(int field, const std::string &expected)
    {
        if (!pick(field))
            return ::testing::AssertionFailure() << "no value arrived in field " << field;
        if (value(field) != expected)
            return ::testing::AssertionFailure() << "field " << field << " holds \"" << value(field)
                                                 << "\", not \"" << expected << '"';
        return ::testing::AssertionSuccess();
    }

    // A target that has started, made the window the user works in.
    bool inFront(bool started, const Target &target)
    {
        return started && bringToFront(target.window());
    }

    // Clicks the field's button and waits until the field waits for the clipboard.
    void request(int field)
    {
        clickField(field);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return m_controller.row().pendingField == field; }, 5000));
    }

    // After a request that ended without a copy of the user's, a copy by hand arrives as usual.
    void pickingGoesOn()
    {
        const int before = m_picked;
        request(Name);
        copyByHand("after");
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_picked == before + 1; }, 5000));
        EXPECT_EQ(value(Name), "after");
    }

    // With a clipboard manager running that holds "stale text" and puts it back whenever the
    // clipboard is emptied: its refills are never taken for the copy, which still arrives.
    void pickPastRefills()
    {
        // A manager that looks at the clipboard now and then has to see the text first.
        bool refilled = false;
        for (int attempt = 0; attempt < 5 && !refilled; ++attempt) {
            copyByHand("stale text");
            QTest::qWait(700);
            x11input::emptyClipboard();
            refilled = QTest::qWaitFor([] { return x11input::clipboardOwner() != 0; }, 1500);
        }
        ASSERT_TRUE(refilled) << "the manager does not refill";

        Target target;
        ASSERT_TRUE(inFront(target.startTk(QStringLiteral("first")), target));
        for (const char *text : {"first", "second", "third", "fourth"}) {
            ASSERT_TRUE(target.command(QStringLiteral("set %1").arg(QLatin1String(text))));
            ASSERT_TRUE(picks(Name, text));
        }

        // Nothing selected: the target copies nothing, and the refill leaves the field waiting.
        ASSERT_TRUE(target.command(QStringLiteral("unselect")));
        const int picked = m_picked;
        request(Name);
        ASSERT_TRUE(QTest::qWaitFor([] { return x11input::clipboardOwner() != 0; }, 3000))
            << "the manager does not refill";
        QTest::qWait(300);
        EXPECT_EQ(m_controller.row().pendingField, Name);
        EXPECT_EQ(value(Name), "fourth");
        EXPECT_EQ(m_picked, picked);
        // A new text by hand, from whatever program, is the copy.
        copyByHand("by hand");
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_picked == picked + 1; }, 5000));
        EXPECT_EQ(value(Name), "by hand");
        EXPECT_EQ(m_beeps, 4);
    }

    std::string value(int field) const
    {
        return m_controller.row().value[static_cast<std::size_t>(field)];
    }
    std::string previousValue(int field) const
    {
        return m_controller.row().previousValue[static_cast<std::size_t>(field)];
    }
    int hasValue(int field) const
    {
        return m_controller.row().hasValue[static_cast<std::size_t>(field)];
    }

    void SetUp() override
    {
        QObject::connect(&m_controller, &CaptureController::valuePicked, [this] { ++m_picked; });
    }

    TableDescription m_description;
    RecordingSink m_messages;
    std::unique_ptr<CaptureBackend> m_backend;
    CaptureController m_controller;
    QWidget m_window;
    StatusWindow m_status;
    KolvaneToolbar *m_toolbar = nullptr;
    std::vector<std::pair<int, int>> m_fills;
    int m_beeps = 0;
    int m_picked = 0;
};

TEST_F(CaptureE2E, QtApplicationTextArrivesInTheClickedField)
{
    ASSERT_TRUE(m_backend->available());
    Target target;
    ASSERT_TRUE(inFront(target.startQt(QStringLiteral("  Grace \t Hopper \n")), target));

    ASSERT_TRUE(picks(Name, "Grace Hopper"));
    EXPECT_EQ(hasValue(Name), 1);
    EXPECT_EQ(m_controller.row().captureTarget, target.window());
    EXPECT_EQ(m_controller.row().pendingField, -1);
    EXPECT_EQ(m_controller.row().unsaved, 1);
    EXPECT_EQ(m_fills, (std::vector<std::pair<int, int>>{{0, 1}}));
    EXPECT_EQ(m_toolbar->record(Name).valueState, TBFILL_FILLED);
    EXPECT_EQ(m_toolbar->record(Notes).valueState, TBFILL_EMPTY);
    EXPECT_EQ(m_status.text(), QStringLiteral("Grace Hopper"));
    EXPECT_EQ(m_status.windowTitle(),
              QStringLiteral("quillon   - text you are picking up to \"Name\""));

    // A long-text field keeps the line breaks.
    ASSERT_TRUE(target.command(QStringLiteral("set line one \\n line two")));
    ASSERT_TRUE(picks(Notes, "line one \n line two"));
    ASSERT_TRUE(picks(Name, "line one line two"));
    EXPECT_EQ(previousValue(Name), "Grace Hopper");
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(CaptureE2E, GtkApplicationTextArrivesAndArrivesAgain)
{
    Target target;
    ASSERT_TRUE(target.startGtk(QStringLiteral("Gtk selected text")));
    ASSERT_TRUE(waitUntilActive(target.window()));

    ASSERT_TRUE(picks(Name, "Gtk selected text"));
    EXPECT_EQ(m_controller.row().captureTarget, target.window());
    // GTK owns the clipboard now; emptied first, it announces the same copy again.
    ASSERT_TRUE(picks(Name, "Gtk selected text"));
    EXPECT_EQ(previousValue(Name), "Gtk selected text");
    EXPECT_EQ(m_beeps, 1);
}

TEST_F(CaptureE2E, TkApplicationTextIsCleanedAndCutToTheFieldWidth)
{
    Target target;
    ASSERT_TRUE(inFront(target.startTk(QStringLiteral("  Ada \t  Lovelace  ")), target));
    ASSERT_TRUE(picks(Name, "Ada Lovelace"));
    EXPECT_EQ(m_controller.row().captureTarget, target.window());

    ASSERT_TRUE(target.command(QStringLiteral("set ABCDEFGHIJ")));
    ASSERT_TRUE(picks(2, "ABCDE"));
    // The status line shows the text as picked, not the cut value.
    EXPECT_EQ(m_status.text(), QStringLiteral("ABCDEFGHIJ"));
    EXPECT_EQ(m_fills, (std::vector<std::pair<int, int>>{{0, 1}, {2, 1}}));
    EXPECT_EQ(m_beeps, 0);
}

TEST_F(CaptureE2E, SameFieldPickedTwiceReplacesAndKeepsThePreviousValue)
{
    Target target;
    ASSERT_TRUE(inFront(target.startTk(QStringLiteral("first")), target));

    ASSERT_TRUE(picks(Name, "first"));
    // Tk still owns the clipboard here; it announces the second copy only because the picker
    // empties the clipboard before asking.
    ASSERT_TRUE(target.command(QStringLiteral("set second")));
    ASSERT_TRUE(picks(Name, "second"));
    EXPECT_EQ(previousValue(Name), "first");
    EXPECT_EQ(m_beeps, 1);
    EXPECT_EQ(m_fills, (std::vector<std::pair<int, int>>{{0, 1}}));

    // And a third time, with the same text again.
    ASSERT_TRUE(picks(Name, "second"));
    EXPECT_EQ(previousValue(Name), "second");
    EXPECT_EQ(m_beeps, 2);
}

TEST_F(CaptureE2E, TargetClosedBeforeTheClickFailsQuietly)
{
    Target target;
    ASSERT_TRUE(inFront(target.startTk(QStringLiteral("gone")), target));
    const WindowId closed = target.window();
    target.stop();

    request(Name);
    EXPECT_EQ(m_controller.row().captureTarget, closed);
    EXPECT_EQ(hasValue(Name), 0);
    EXPECT_TRUE(m_messages.shown.empty());

    // The field still waits: a copy made by hand fills it.
    copyByHand("by hand");
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_picked == 1; }, 5000));
    EXPECT_EQ(value(Name), "by hand");
}

TEST_F(CaptureE2E, CopyInsideThePickerFillsTheWaitingField)
{
    // No application window anywhere: the click only makes the field wait. The user copies the
    // status window's line.
    auto *line = m_status.findChild<QLineEdit *>(QStringLiteral("statusText"));
    ASSERT_NE(line, nullptr);
    request(Name);
    m_controller.showPickedText("copied inside the picker", -1);
    line->selectAll();
    line->copy();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_picked == 1; }, 5000));
    EXPECT_EQ(value(Name), "copied inside the picker");

    // The next click empties our own clipboard, which is never taken; the copy after it is.
    request(Notes);
    QTest::qWait(300);
    EXPECT_EQ(m_controller.row().pendingField, Notes);
    m_controller.showPickedText("and again", -1);
    line->selectAll();
    line->copy();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_picked == 2; }, 5000));
    EXPECT_EQ(value(Notes), "and again");
    EXPECT_EQ(value(Name), "copied inside the picker");
}

TEST_F(CaptureE2E, ClipboardManagerThatRefillsIsNotTakenForTheCopy)
{
    Program manager;
    ASSERT_TRUE(manager.start(QStringLiteral(REFILLING_MANAGER_PROGRAM), {}));
    ASSERT_TRUE(manager.readLineStartingWith("ready"));
    pickPastRefills();
}

// Without a window manager the keys follow the emptying at once, and the refill comes after
// them.
TEST_F(CaptureE2E, ClipboardManagerThatRefillsAfterTheKeysIsNotTakenForTheCopy)
{
    Program manager;
    ASSERT_TRUE(manager.start(QStringLiteral(REFILLING_MANAGER_PROGRAM),
                              {QStringLiteral("--stamp"), QStringLiteral("emptying")}));
    ASSERT_TRUE(manager.readLineStartingWith("ready"));
    pickPastRefills();
}

// Parcellite, told to restore an emptied clipboard, does so half a second later at the most,
// stamped with the time it gets there.
TEST_F(CaptureE2E, ParcelliteRefillIsNotTakenForTheCopy)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral(".config/parcellite")));
    QFile settings(home.filePath(QStringLiteral(".config/parcellite/parcelliterc")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[rc]\nuse_copy=true\nuse_primary=false\nrestore_empty=true\n"
                   "save_history=false\n");
    settings.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    Program manager;
    ASSERT_TRUE(manager.start(QStringLiteral("parcellite"), {QStringLiteral("-n")}, environment));
    pickPastRefills();
}

TEST_F(CaptureE2E, PictureOnTheClipboardEndsTheRequestSilently)
{
    Target target;
    ASSERT_TRUE(inFront(target.startTk(QStringLiteral("kept")), target));
    ASSERT_TRUE(pick(Name));
    ASSERT_EQ(value(Name), "kept");
    // The copy is taken before Qt has heard of it; Qt stamps its own copy with the time of the
    // last event it has seen, which has to be later than the target's copy.
    QTest::qWait(200);

    // The user copied something inside the picker, so the picker owns the clipboard when the
    // click empties it. The target has nothing to copy now, so the request waits.
    QGuiApplication::clipboard()->setText(QStringLiteral("copied inside the picker"));
    ASSERT_TRUE(QGuiApplication::clipboard()->ownsClipboard());
    // Our own text is read in the process; asked for over X11, the picker would have to answer
    // itself while it waits.
    ASSERT_TRUE(m_controller.takeClipboardText(Notes));
    EXPECT_EQ(value(Notes), "copied inside the picker");
    ASSERT_TRUE(target.command(QStringLiteral("unselect")));
    request(Name);
    QTest::qWait(200);
    ASSERT_EQ(m_controller.row().pendingField, Name);

    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(picture.save(&buffer, "PNG"));
    }
    copyByHand(png, "image/png");
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_controller.row().pendingField == -1; }, 5000));
    EXPECT_EQ(value(Name), "kept");
    EXPECT_EQ(m_beeps, 0);
    EXPECT_TRUE(m_messages.shown.empty());

    // One click takes one clipboard change: later text goes nowhere.
    copyByHand("late");
    QTest::qWait(300);
    EXPECT_EQ(value(Name), "kept");
    EXPECT_EQ(m_picked, 1);
}

// Owners of the clipboard that never answer, or never finish: the request ends with what has
// arrived, and picking goes on.
TEST_F(CaptureE2E, ClipboardOwnerThatNeverAnswersEndsTheRequest)
{
    // No application window anywhere: the click only makes the field wait.
    request(Name);
    ASSERT_TRUE(x11input::ownClipboardWithoutAnswering());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_controller.row().pendingField == -1; }, 10000));
    EXPECT_EQ(hasValue(Name), 0);
    EXPECT_EQ(m_picked, 0);
    EXPECT_TRUE(m_messages.shown.empty());

    pickingGoesOn();
}

TEST_F(CaptureE2E, ClipboardOwnerThatNeverFinishesEndsTheRequestWithWhatArrived)
{
    request(Notes);
    Program owner;
    ASSERT_TRUE(owner.start(QStringLiteral(ENDLESS_OWNER_PROGRAM), {}));
    ASSERT_TRUE(owner.readLineStartingWith("ready"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_picked == 1; }, 15000));
    EXPECT_EQ(value(Notes), std::string(32000, 'x'));
    EXPECT_TRUE(m_messages.shown.empty());
    owner.stop();

    pickingGoesOn();
}

TEST_F(CaptureE2E, WithoutWindowManagerTheFocusedWindowIsTheTarget)
{
    Target target;
    ASSERT_TRUE(target.startTk(QStringLiteral("no manager"), 700, 60));
    ASSERT_TRUE(x11input::focusWindow(target.window()));

    ASSERT_TRUE(picks(Name, "no manager"));

    ASSERT_TRUE(target.command(QStringLiteral("set again")));
    ASSERT_TRUE(picks(Name, "again"));
    EXPECT_EQ(previousValue(Name), "no manager");
}

TEST_F(CaptureE2E, WithoutFocusHistoryTheWindowAtTheScreenCentreIsTheTarget)
{
    // The default screen is 1280 x 1024; the target covers its centre.
    Target target;
    ASSERT_TRUE(target.startQt(QStringLiteral("in the middle"), 440, 450));
    // The keyboard follows the pointer, and the pointer will be on the picker.
    ASSERT_TRUE(x11input::focusWindow(1));
    ASSERT_TRUE(picks(Name, "in the middle"));
    EXPECT_EQ(m_controller.row().captureTarget, target.window());
}

TEST_F(CaptureE2E, LongSelectionIsCutTo32000Bytes)
{
    // Tk hands over anything above a few thousand bytes in pieces.
    QString text;
    for (int i = 0; i < 6000; ++i) // 36000 bytes
        text += QStringLiteral("word%1 ").arg(i % 10);
    Target target;
    ASSERT_TRUE(target.startTk(QStringLiteral("short")));
    ASSERT_TRUE(target.command(QStringLiteral("set ") + text));
    ASSERT_TRUE(waitUntilActive(target.window()));

    ASSERT_TRUE(pick(Notes));
    const std::string expected = text.toStdString().substr(0, 32000);
    EXPECT_EQ(value(Notes).size(), 32000u);
    EXPECT_EQ(value(Notes), expected);

    ASSERT_TRUE(target.command(QStringLiteral("set ") + text.left(6000)));
    ASSERT_TRUE(picks(Name, text.left(40).toStdString()));
}

TEST_F(CaptureE2E, WindowAtAPointIsTheApplicationWindowInsideItsFrame)
{
    Target target;
    ASSERT_TRUE(inFront(target.startQt(QStringLiteral("framed"), 440, 450), target));
    // The window manager's frame is what lies directly on the root window.
    EXPECT_EQ(m_backend->windowAt(640, 512), target.window());
    EXPECT_EQ(m_backend->windowAt(1275, 1020), 0u);
}

// Ctrl+C in a terminal interrupts its job: a pick from a terminal takes what is selected there
// and sends nothing, so the job runs on.
TEST_F(CaptureE2E, TerminalSelectionIsPickedAndItsJobRunsOn)
{
    copyByHand("on the clipboard");
    Terminal xterm;
    long long sleeper = 0;
    const QString line = QStringLiteral("  picked from   a terminal ");
    ASSERT_TRUE(xterm.startXterm(line, sleeper));
    ASSERT_TRUE(xterm.selectFirstLine(line));
    ASSERT_TRUE(waitUntilActive(xterm.window()));

    const ::testing::AssertionResult picked = picks(Name, "picked from a terminal");
    // Keys would have had time to arrive by now.
    QTest::qWait(300);
    EXPECT_TRUE(Terminal::isRunning(sleeper)) << "the terminal's job was interrupted";
    ASSERT_TRUE(picked);
    EXPECT_EQ(m_controller.row().captureTarget, xterm.window());
    EXPECT_EQ(m_controller.row().pendingField, -1);
    EXPECT_EQ(m_controller.row().unsaved, 1);
    EXPECT_EQ(m_fills, (std::vector<std::pair<int, int>>{{0, 1}}));
    EXPECT_EQ(m_toolbar->record(Name).valueState, TBFILL_FILLED);
    EXPECT_EQ(m_status.text(), QStringLiteral("picked from a terminal"));
    // A second pick from the same selection takes nothing: an earlier pick took it.
    ASSERT_TRUE(waitUntilActive(xterm.window()));
    clickField(Name);
    EXPECT_TRUE(statusSays(
        m_status, "Nothing new is selected: select by dragging, double click or Shift+arrows.",
        "Name"));
    EXPECT_EQ(m_beeps, 0);
    // The same line selected anew is a new selection: it replaces the value and beeps.
    ASSERT_TRUE(xterm.selectFirstLine(line));
    ASSERT_TRUE(waitUntilActive(xterm.window()));
    ASSERT_TRUE(picks(Name, "picked from a terminal"));
    EXPECT_EQ(m_beeps, 1);
    QTest::qWait(300);
    EXPECT_TRUE(Terminal::isRunning(sleeper));
    // The clipboard was never emptied.
    EXPECT_NE(x11input::clipboardOwner(), 0u);

    // With nothing selected the pick ends at once and says so.
    ASSERT_TRUE(x11input::emptySelection("PRIMARY"));
    ASSERT_TRUE(waitUntilActive(xterm.window()));
    clickField(Notes);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return m_status.text() == QString::fromUtf8(NothingSelectedText); }, 5000));
    EXPECT_EQ(m_controller.row().pendingField, -1);
    EXPECT_EQ(hasValue(Notes), 0);
    QTest::qWait(300);
    EXPECT_TRUE(Terminal::isRunning(sleeper));
    EXPECT_TRUE(m_messages.shown.empty());
}

// Every terminal installed for the tests is known by its real window class, and an editor is
// not taken for one.
TEST_F(CaptureE2E, InstalledTerminalsAreKnownByTheirWindowClass)
{
    const struct
    {
        const char *program;
        QStringList arguments;
        bool terminal;
    } programs[] = {
        {"xterm", {}, true},
        {"uxterm", {}, true},
        {"urxvt", {}, true},
        {"stterm", {}, true},
        {"lxterminal", {QStringLiteral("--no-remote")}, true},
        // without its terminal panel, which holds a pseudo-terminal
        {"geany",
         {QStringLiteral("--new-instance"), QStringLiteral("--no-session"),
          QStringLiteral("--no-terminal")},
         false},
    };
    int checked = 0;
    for (const auto &p : programs) {
        const QString program = QString::fromLatin1(p.program);
        if (QStandardPaths::findExecutable(program).isEmpty()) {
            std::printf("not installed: %s\n", p.program);
            continue;
        }
        Terminal window;
        ASSERT_TRUE(window.startProgram(program, p.arguments)) << p.program;
        std::string instance;
        std::string className;
        ASSERT_TRUE(x11input::windowClass(window.window(), instance, className)) << p.program;
        std::printf("%s: WM_CLASS \"%s\", \"%s\"\n", p.program, instance.c_str(),
                    className.c_str());
        EXPECT_EQ(isTerminalWindowClass(instance, className), p.terminal) << p.program;
        EXPECT_EQ(m_controller.isTerminal(window.window()), p.terminal) << p.program;
        ++checked;
    }
    // xterm and the editor at least.
    EXPECT_GE(checked, 2);
}

// A program that runs another on a pseudo-terminal is a terminal whatever its class: a pick
// takes its selection and sends no keys, so the program on the terminal runs on.
TEST_F(CaptureE2E, ProgramHoldingAPseudoTerminalIsSentNoKeys)
{
    copyByHand("on the clipboard");
    ASSERT_TRUE(QTest::qWaitFor([] { return x11input::clipboardOwner() != 0; }, 5000));
    const WindowId clipboardOwner = x11input::clipboardOwner();
    Target holder;
    long long sleeper = 0;
    ASSERT_TRUE(holder.startSelectionHolder(&sleeper));
    std::string instance;
    std::string className;
    ASSERT_TRUE(x11input::windowClass(holder.window(), instance, className));
    EXPECT_FALSE(isTerminalWindowClass(instance, className)) << className;
    ASSERT_TRUE(holder.command(QStringLiteral("select   held on a pty ")));
    ASSERT_TRUE(waitUntilActive(holder.window()));

    const ::testing::AssertionResult picked = picks(Name, "held on a pty");
    // Keys would have had time to arrive by now.
    QTest::qWait(300);
    EXPECT_TRUE(Terminal::isRunning(sleeper))
        << "the program on the pseudo-terminal was interrupted";
    ASSERT_TRUE(picked);
    EXPECT_EQ(m_controller.row().captureTarget, holder.window());
    EXPECT_EQ(m_status.text(), QStringLiteral("held on a pty"));
    EXPECT_EQ(x11input::clipboardOwner(), clipboardOwner);
    EXPECT_TRUE(m_messages.shown.empty());
}

// Geany with its terminal panel holds a pseudo-terminal, so it counts as a terminal: a pick from
// its editor reads the selection instead of sending Ctrl+C, and brings the selected line.
TEST_F(CaptureE2E, GeanyWithATerminalPanelStillDeliversTheEditorsSelection)
{
    copyByHand("on the clipboard");
    ASSERT_TRUE(QTest::qWaitFor([] { return x11input::clipboardOwner() != 0; }, 5000));
    const WindowId clipboardOwner = x11input::clipboardOwner();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(Geany::writeSettings(folder.path(), true));
    const QString file = folder.filePath(QStringLiteral("notes.txt"));
    {
        QFile lines(file);
        ASSERT_TRUE(lines.open(QIODevice::WriteOnly));
        for (int line = 0; line < 60; ++line)
            lines.write("selected beside a terminal\n");
    }
    Geany geany;
    ASSERT_TRUE(geany.open(file, folder.path(), true));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return holdsPseudoTerminalMaster(geany.processId()); }, 10000))
        << "geany's terminal panel has not started";
    EXPECT_TRUE(m_controller.isTerminal(geany.window()));
    ASSERT_TRUE(geany.selectLine());
    ASSERT_TRUE(waitUntilActive(geany.window()));
    ASSERT_TRUE(picks(Name, "selected beside a terminal")) << m_status.text().toStdString();
    // No copy was asked for: the clipboard is as it was.
    EXPECT_EQ(x11input::clipboardOwner(), clipboardOwner);
    EXPECT_TRUE(m_messages.shown.empty());
}

// A clipboard manager that refills the emptied clipboard with a text from an earlier session
// gets there before a slow program's copy; the copy is still the value.
TEST_F(CaptureE2E, ClipboardManagerRefillOfANeverHeldTextLosesToTheCopy)
{
    Program manager;
    ASSERT_TRUE(
        manager.start(QStringLiteral(REFILLING_MANAGER_PROGRAM),
                      {QStringLiteral("--refill"), QStringLiteral("from an earlier session")}));
    ASSERT_TRUE(manager.readLineStartingWith("ready"));
    copyByHand("copied before");
    Target holder;
    ASSERT_TRUE(holder.startSelectionHolder(nullptr, 100));
    ASSERT_TRUE(bringToFront(holder.window()));
    for (const char *text : {"first", "second"}) {
        ASSERT_TRUE(holder.command(QStringLiteral("select %1").arg(QLatin1String(text))));
        ASSERT_TRUE(picks(Name, text));
        EXPECT_TRUE(manager.readLineStartingWith("refilled", 1000)) << "the manager did not refill";
        ASSERT_TRUE(bringToFront(holder.window()));
    }
    EXPECT_EQ(m_beeps, 1);
    EXPECT_TRUE(m_messages.shown.empty());
}

// In the selection mode a pick never takes the very selection that an earlier pick took: the
// field stays empty and the status window says how to select. The same text selected anew is
// taken.
TEST_F(CaptureE2E, SelectionModeNeverTakesTheSameSelectionTwice)
{
    m_controller.setCaptureMode(CaptureMode::Selection);
    QSignalSpy nothing(&m_controller, &CaptureController::nothingToPick);
    Target holder;
    ASSERT_TRUE(holder.startSelectionHolder());
    ASSERT_TRUE(holder.command(QStringLiteral("select Ada Lovelace")));
    ASSERT_TRUE(picks(Name, "Ada Lovelace"));

    clickField(Notes);
    EXPECT_TRUE(statusSays(
        m_status, "Nothing new is selected: select by dragging, double click or Shift+arrows.",
        "Notes"));
    EXPECT_EQ(hasValue(Notes), 0);
    EXPECT_EQ(m_controller.row().pendingField, -1);
    EXPECT_EQ(nothing.count(), 1);

    ASSERT_TRUE(holder.command(QStringLiteral("select Ada Lovelace")));
    ASSERT_TRUE(picks(Notes, "Ada Lovelace"));
    EXPECT_EQ(m_picked, 2);
    EXPECT_TRUE(m_messages.shown.empty());
}

// A program whose Ctrl+C copies nothing, while what the user selected in it is on the
// selection: the selection is taken, once, and the status line says where the text came from.
// Otherwise the status window says that the field waits for a copy by hand.
TEST_F(CaptureE2E, CopyThatCopiesNothingTakesTheTargetsSelectionOrSaysSo)
{
    QSignalSpy nothing(&m_controller, &CaptureController::nothingToPick);
    Target holder;
    ASSERT_TRUE(inFront(holder.startSelectionHolder(), holder));
    ASSERT_TRUE(holder.command(QStringLiteral("select  only on the selection ")));
    ASSERT_TRUE(picks(Name, "only on the selection"));
    EXPECT_TRUE(statusSays(
        m_status, "From the selection (nothing was copied): only on the selection", "Name"));

    // That selection has been taken: the field waits for a copy by hand and says so.
    const char *const waiting =
        "Nothing was copied: until another click, the next text you copy goes here.";
    ASSERT_TRUE(bringToFront(holder.window()));
    clickField(Notes);
    EXPECT_TRUE(statusSays(m_status, waiting, "Notes"));
    EXPECT_EQ(m_controller.row().pendingField, Notes);
    EXPECT_EQ(nothing.count(), 1);
    copyByHand("copied by hand");
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_picked == 2; }, 5000));
    EXPECT_EQ(value(Notes), "copied by hand");

    // A selection made in another program is not what the target was asked to copy.
    selectElsewhere("selected elsewhere");
    ASSERT_TRUE(bringToFront(holder.window()));
    clickField(2);
    EXPECT_TRUE(statusSays(m_status, waiting, "Code"));
    EXPECT_EQ(hasValue(2), 0);
    EXPECT_EQ(nothing.count(), 2);
    EXPECT_TRUE(m_messages.shown.empty());
}

// In the selection mode every pick reads what is selected at once: a GTK editor is sent no keys
// and the clipboard stays as it was.
TEST_F(CaptureE2E, SelectionModePicksFromAGtkEditorWithoutKeys)
{
    m_controller.setCaptureMode(CaptureMode::Selection);
    copyByHand("on the clipboard");
    // xclip's child takes the clipboard a moment after its parent has ended.
    ASSERT_TRUE(QTest::qWaitFor([] { return x11input::clipboardOwner() != 0; }, 5000));
    const WindowId clipboardOwner = x11input::clipboardOwner();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(Geany::writeSettings(folder.path()));
    const QString file = folder.filePath(QStringLiteral("notes.txt"));
    {
        QFile lines(file);
        ASSERT_TRUE(lines.open(QIODevice::WriteOnly));
        for (int line = 0; line < 60; ++line)
            lines.write("selected in an editor\n");
    }
    Geany geany;
    ASSERT_TRUE(geany.open(file, folder.path()));
    ASSERT_TRUE(geany.selectLine());
    ASSERT_TRUE(picks(Name, "selected in an editor"));
    EXPECT_EQ(m_controller.row().pendingField, -1);
    EXPECT_EQ(m_status.text(), QStringLiteral("selected in an editor"));
    EXPECT_EQ(x11input::clipboardOwner(), clipboardOwner);

    // Nothing selected: the pick ends at once, the field keeps its value, and later copies go
    // nowhere.
    ASSERT_TRUE(x11input::emptySelection("PRIMARY"));
    clickField(Name);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return m_status.text() == QString::fromUtf8(NothingSelectedText); }, 5000));
    EXPECT_EQ(m_status.windowTitle(),
              QStringLiteral("quillon   - text you are picking up to \"Name\""));
    EXPECT_EQ(m_controller.row().pendingField, -1);
    copyByHand("copied later");
    QTest::qWait(300);
    EXPECT_EQ(value(Name), "selected in an editor");
    EXPECT_EQ(m_picked, 1);
    EXPECT_TRUE(m_messages.shown.empty());
}

// A new editor window, a line selected in it at once, and the field's button clicked right
// after: the window manager is still busy with the new window and with the picker's own
// activation when the picker asks it for the editor. The keys must wait for the focus that the
// picker asked for, every time. QUILLON_SOAK_PICKS sets how many picks (30 by default).
TEST_F(CaptureE2E, GeanyPicksRightAfterANewWindowNeverMisfire)
{
    const int count = qEnvironmentVariableIsSet("QUILLON_SOAK_PICKS")
                          ? qEnvironmentVariableIntValue("QUILLON_SOAK_PICKS")
                          : 30;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(Geany::writeSettings(folder.path()));
    std::vector<int> failed;
    for (int i = 0; i < count; ++i) {
        const std::string text = "picked line " + std::to_string(i);
        const QString file = folder.filePath(QStringLiteral("pick%1.txt").arg(i));
        {
            QFile lines(file);
            ASSERT_TRUE(lines.open(QIODevice::WriteOnly));
            for (int line = 0; line < 60; ++line)
                lines.write((text + "\n").c_str());
        }
        ASSERT_TRUE(x11input::emptySelection("PRIMARY"));
        Geany geany;
        ASSERT_TRUE(geany.open(file, folder.path())) << "pick " << i;
        ASSERT_TRUE(geany.selectLine()) << "pick " << i;
        if (!picks(Name, text)) {
            failed.push_back(i);
            // A request left waiting ends with the next click.
        }
    }
    std::printf("picks from geany: %d of %d arrived\n", count - static_cast<int>(failed.size()),
                count);
    EXPECT_TRUE(failed.empty()) << failed.size() << " picks failed, the first being pick "
                                << (failed.empty() ? -1 : failed.front());
    EXPECT_TRUE(m_messages.shown.empty());
}

} // namespace
