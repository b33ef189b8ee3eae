// Picking text from real applications on a real X server. Each test runs alone on its own
// server (tests/support/with-x), with or without the openbox window manager.
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
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
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "fieldvalues/fieldtypes.h"
#include "kolvane/kolvane.h"
#include "picker/capture/capture.h"
#include "picker/capture/statuswindow.h"
#include "picker/toolbarbuttons.h"
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

    bool command(const QString &line)
    {
        m_process.write((line + QLatin1Char('\n')).toUtf8());
        return readLineStartingWith("done").has_value();
    }

    WindowId window() const { return m_window; }

private:
    bool startApplication(const QString &program, const QStringList &arguments)
    {
        if (!start(program, arguments))
            return false;
        std::optional<QByteArray> ready = readLineStartingWith("ready ");
        if (!ready)
            return false;
        const WindowId own = std::strtoull(ready->mid(6).trimmed().constData(), nullptr, 0);
        return QTest::qWaitFor(
            [&] {
                m_window = x11input::ClientWindowOf(own);
                return m_window != 0;
            },
            5000);
    }

    WindowId m_window = 0;
};

// Puts text or a picture on the clipboard the way a user's copy in another program does.
void CopyByHand(const QByteArray &data, const char *type = "UTF8_STRING")
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                          QStringLiteral("-t"), QString::fromLatin1(type)});
    ASSERT_TRUE(xclip.waitForStarted(5000));
    xclip.write(data);
    xclip.closeWriteChannel();
    ASSERT_TRUE(xclip.waitForFinished(5000));
}

class CaptureE2E : public ::testing::Test
{
protected:
    CaptureE2E()
        : m_backend(CreateCaptureBackend()), m_controller(*m_backend, m_messages),
          m_status(&m_window)
    {
        m_description.connectString = "DSN=none";
        m_description.tableName = "people";
        m_description.fieldCount = 3;
        SetField(0, "Name", 12, 40);
        SetField(1, "Notes", -1, 65536);
        SetField(2, "Code", 12, 5);
        SetValueWidths(m_description);

        // The picker's window with its toolbar: one button per field, a separator, "Enter".
        m_window.setWindowTitle(QStringLiteral("Quillon"));
        m_window.setWindowFlag(Qt::WindowStaysOnTopHint);
        std::vector<ButtonRecord> records = TableButtons(m_description);
        m_toolbar =
            CreateToolbar(&m_window, TBS_VISIBLE, ToolbarControlId, ToolbarImageCount, nullptr,
                          ToolbarBitmap, records.data(), static_cast<int>(records.size()), 0);
        QObject::connect(m_toolbar, &KolvaneToolbar::commandActivated,
                         [this](int command, qintptr lParam) {
                             m_controller.ShowPickedText(" ", -1);
                             const int field = FieldOfCommand(command, m_description.fieldCount);
                             if (lParam == 0 && field >= 0)
                                 m_controller.PickField(field);
                         });
        m_window.resize(80, 24 * m_description.fieldCount + 60);
        SendToolbarMessage(m_toolbar, WM_SIZE, 0, 0);
        m_window.move(5, 5);
        m_window.show();

        m_controller.setPickerWindow(&m_window);
        m_controller.setStatusWindow(&m_status);
        m_controller.setFillStateSink([this](int field, bool filled) {
            m_fills.emplace_back(field, filled ? 1 : 0);
            SendToolbarMessage(m_toolbar, TBM_SETFILLSTATE,
                               static_cast<quintptr>(FirstFieldCommand + field),
                               FieldFillState(filled));
        });
        m_controller.setBeepHook([this] { ++m_beeps; });
        EXPECT_TRUE(m_controller.TableLoaded(m_description));
        m_controller.ResetRow();
        m_fills.clear();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    void SetField(int index, const char *title, int sqlType, int length)
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
            x11input::ActivateWindow(window);
            if (QTest::qWaitFor([&] { return m_backend->activeBeforeUs() == window; }, 200))
                return true;
        }
        return false;
    }

    // The user makes the window the one to work in: the window manager activates it, and
    // without one the focus goes there directly.
    bool bringToFront(WindowId window)
    {
        if (x11input::HasWindowManager())
            return waitUntilActive(window);
        return x11input::FocusWindow(window);
    }

    void clickField(int field)
    {
        QWidget *button = m_toolbar->buttonWidget(field);
        ASSERT_NE(button, nullptr);
        const QPoint centre = button->mapToGlobal(button->rect().center());
        ASSERT_TRUE(x11input::ClickAt(centre.x(), centre.y()));
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
        CopyByHand("after");
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
            CopyByHand("stale text");
            QTest::qWait(700);
            x11input::EmptyClipboard();
            refilled = QTest::qWaitFor([] { return x11input::ClipboardOwner() != 0; }, 1500);
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
        ASSERT_TRUE(QTest::qWaitFor([] { return x11input::ClipboardOwner() != 0; }, 3000))
            << "the manager does not refill";
        QTest::qWait(300);
        EXPECT_EQ(m_controller.row().pendingField, Name);
        EXPECT_EQ(value(Name), "fourth");
        EXPECT_EQ(m_picked, picked);
        // A new text by hand, from whatever program, is the copy.
        CopyByHand("by hand");
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
    CopyByHand("by hand");
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
    m_controller.ShowPickedText("copied inside the picker", -1);
    line->selectAll();
    line->copy();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_picked == 1; }, 5000));
    EXPECT_EQ(value(Name), "copied inside the picker");

    // The next click empties our own clipboard, which is never taken; the copy after it is.
    request(Notes);
    QTest::qWait(300);
    EXPECT_EQ(m_controller.row().pendingField, Notes);
    m_controller.ShowPickedText("and again", -1);
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

    // The user copied something inside the picker, so the picker owns the clipboard when the
    // click empties it. The target has nothing to copy now, so the request waits.
    QGuiApplication::clipboard()->setText(QStringLiteral("copied inside the picker"));
    ASSERT_TRUE(QGuiApplication::clipboard()->ownsClipboard());
    // Our own text is read in the process; asked for over X11, the picker would have to answer
    // itself while it waits.
    ASSERT_TRUE(m_controller.TakeClipboardText(Notes));
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
    CopyByHand(png, "image/png");
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_controller.row().pendingField == -1; }, 5000));
    EXPECT_EQ(value(Name), "kept");
    EXPECT_EQ(m_beeps, 0);
    EXPECT_TRUE(m_messages.shown.empty());

    // One click takes one clipboard change: later text goes nowhere.
    CopyByHand("late");
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
    ASSERT_TRUE(x11input::OwnClipboardWithoutAnswering());
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
    ASSERT_TRUE(x11input::FocusWindow(target.window()));

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
    ASSERT_TRUE(x11input::FocusWindow(1));
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

} // namespace
