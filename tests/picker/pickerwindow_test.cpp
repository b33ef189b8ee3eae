// SPDX-License-Identifier: MIT
// The picker's main window on the offscreen platform, over a SQLite table: the window menu, the
// commands and what they do to the row, the toolbar, the messages and the database.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "desktop/translations.h"
#include "fieldvalues/tabledescription.h"
#include "picker/capture/capture.h"
#include "picker/capture/capturebackend.h"
#include "picker/capture/statuswindow.h"
#include "picker/keyboardshortcuts.h"
#include "picker/pickertexts.h"
#include "picker/pickerwindow.h"
#include "picker/toolbarbuttons.h"
#include "tests/picker/scriptedquestions.h"
#include "tests/support/databases.h"
#include "tests/support/recordingsink.h"

namespace {

using Choice = PickerServices::NoDescriptionChoice;

// Reaches no other application, like the null backend, unless told that the selection can be
// read; then it holds `selection` (no text when empty).
class SelectionBackend final : public CaptureBackend
{
public:
    bool available() const override { return reachable; }
    WindowId activeBeforeUs() override { return 0; }
    WindowId windowAt(int, int) override { return 0; }
    bool giveFocus(WindowId) override { return false; }
    bool sendCopyKeys() override { return false; }
    ClipboardRead readSelectionText(std::string &text, std::size_t) override
    {
        text = selection;
        return selection.empty() ? ClipboardRead::NoOwner : ClipboardRead::Text;
    }

    bool reachable = false;
    std::string selection;
};

class PickerWindowTest : public testing::Test
{
protected:
    PickerWindowTest() : m_settings((m_folder.path() / "quillon.ini").string())
    {
        m_database = sqliteConnectString(m_folder.path() / "shop.sqlite");
        DatabaseSession session(m_database);
        session.execute("CREATE TABLE People (Name VARCHAR(20) NOT NULL, Born DATE, "
                        "Age INTEGER, Town VARCHAR(20))");
        session.execute("CREATE TABLE Towns (Town VARCHAR(20), Zip VARCHAR(5))");
        m_people = m_folder.file("people.dtd");
        EXPECT_TRUE(saveTableDescription(m_people, m_database, "People",
                                         {{"Name", "Name", "", "VARCHAR", "20", "Yes", "12"},
                                          {"Born", "Born", "", "DATE", "10", "No", "9"},
                                          {"Age", "Age", "", "INTEGER", "4", "No", "4"},
                                          {"Town", "Town", "Paris", "VARCHAR", "20", "No", "12"}}));
        m_towns = m_folder.file("towns.dtd");
        EXPECT_TRUE(saveTableDescription(m_towns, m_database, "Towns",
                                         {{"Town", "Town", "", "VARCHAR", "20", "No", "12"},
                                          {"Zip", "Zip", "", "VARCHAR", "5", "No", "12"}}));
    }

    PickerServices services()
    {
        PickerServices s;
        s.chooseDescriptionFile = [this](QWidget *, std::string &path) {
            return m_questions.choose(path);
        };
        s.askNoDescription = [this](QWidget *) {
            return m_questions.askNoDescription();
        };
        s.startWizard = [this](LaunchFailure *failure) {
            m_calls.push_back("wizard");
            *failure = LaunchFailure{"/opt/quillon/bin/ormund", "No such file or directory."};
            return m_wizardStarts;
        };
        s.showHelp = [this](LaunchFailure *) {
            m_calls.push_back("help");
            return true;
        };
        s.editField = [this](QWidget *, int field) {
            m_calls.push_back("edit " + std::to_string(field));
        };
        s.viewPickedData = [this](QWidget *) {
            m_calls.push_back("view");
            return m_viewHandsOver;
        };
        s.showAbout = [this](QWidget *) {
            m_calls.push_back("about");
        };
        return s;
    }

    // A picker started on `commandLine`; null when it ended at once.
    std::unique_ptr<PickerWindow> start(const std::string &commandLine)
    {
        auto window = std::make_unique<PickerWindow>(m_messages, m_backend, m_settings, services());
        // As users see it: the status window and the keys come once the window is drawn.
        QSignalSpy started(window.get(), &PickerWindow::started);
        if (!window->start(commandLine))
            return nullptr;
        EXPECT_TRUE(started.wait(5000));
        return window;
    }

    static void pick(PickerWindow &window, int field, const std::string &value)
    {
        PickedRow &row = window.capture().row();
        row.value[static_cast<std::size_t>(field)] = value;
        row.hasValue[static_cast<std::size_t>(field)] = 1;
        row.unsaved = 1;
    }

    static std::int32_t fill(const PickerWindow &window, int position)
    {
        return window.toolbar()->record(position).valueState;
    }

    // The toolbar's buttons as "command label".
    static std::vector<std::string> buttons(const PickerWindow &window)
    {
        std::vector<std::string> shown;
        for (int i = 0; i < window.toolbar()->buttonCount(); ++i) {
            const ButtonRecord record = window.toolbar()->record(i);
            shown.push_back(std::to_string(record.command) + " " + record.label);
        }
        return shown;
    }

    Rows people() { return DatabaseSession(m_database).query("SELECT * FROM People"); }

    std::string iniText() { return readBytes(m_folder.path() / "quillon.ini"); }

    TemporaryFolder m_folder;
    PickerSettings m_settings;
    RecordingSink m_messages;
    SelectionBackend m_backend;
    std::string m_database;
    std::string m_people;
    std::string m_towns;
    std::vector<std::string> m_calls;
    ScriptedQuestions m_questions{m_calls};
    bool m_wizardStarts = true;
    int m_viewHandsOver = -1;
};

TEST_F(PickerWindowTest, WindowMenuReadsInOrderWithItsCheckMarks)
{
    std::unique_ptr<PickerWindow> window = start(m_people);
    ASSERT_TRUE(window);
    QStringList items;
    for (QAction *action : window->windowMenu()->actions()) {
        QString text = action->isSeparator() ? QStringLiteral("-") : action->text();
        if (action->isChecked())
            text += QStringLiteral(" [x]");
        items << text;
    }
    EXPECT_EQ(items, (QStringList{"&Restore", "&Move", "Mi&nimize", "Change Orientation",
                                  "Always On &Top [x]", "Show what you are picking up", "-",
                                  "&Fill Row From Copied Cells", "Start &Over", "-",
                                  "&Database Table Information", "&Load New Database Table", "-",
                                  "Vie&w Current Data", "-", "&Help\tF1", "&About", "-",
                                  "&Close\tAlt+F4"}));
}

TEST_F(PickerWindowTest, StartsOnTheCommandLineWithDefaultsAndSizedForItsFields)
{
    std::unique_ptr<PickerWindow> window = start(m_people);
    ASSERT_TRUE(window);
    EXPECT_TRUE(m_messages.shown.empty());
    EXPECT_EQ(window->toolbar()->buttonCount(), 6);
    EXPECT_EQ(window->capture().row().value[3], "Paris");
    EXPECT_EQ(fill(*window, 3), TBFILL_FILLED);
    EXPECT_EQ(fill(*window, 0), TBFILL_EMPTY);
    EXPECT_EQ(fill(*window, 5), TBFILL_ENTER);
    EXPECT_FALSE(window->capture().rowIsUnsaved());
    const int caption = ibGetCaptionSize(window.get());
    EXPECT_EQ(caption, DefaultCaptionThickness + 1 + 2);
    EXPECT_EQ(window->size(), QSize(7 + caption + 68, 7 + 24 * 4 + 60));
    EXPECT_TRUE(window->isAlwaysOnTop());
    // The mark follows once the window is up.
    EXPECT_TRUE(QTest::qWaitFor([this] { return iniText().find("inuse=1") != std::string::npos; }));

    // Change Orientation twice gives the column back.
    window->command(ChangeOrientationCommand);
    EXPECT_EQ(window->size(), QSize(7 + 64 * 4 + 100, 7 + caption + 27));
    EXPECT_EQ(window->toolbar()->orientation(), Orientation::Row);
    window->command(ChangeOrientationCommand);
    EXPECT_EQ(window->orientation(), Orientation::Column);
    EXPECT_EQ(window->size(), QSize(7 + caption + 68, 7 + 24 * 4 + 60));
}

TEST_F(PickerWindowTest, EnterChecksTheRowThenInsertsAndFlipsItsLook)
{
    std::unique_ptr<PickerWindow> window = start(m_people);
    ASSERT_TRUE(window);

    // A required field empty: the editor opens on it, even with a later field invalid too.
    pick(*window, 2, "many");
    window->command(EnterCommand);
    QTest::qWait(1);
    EXPECT_EQ(m_calls, (std::vector<std::string>{"edit 0"}));
    // The first invalid field, once the required one is filled.
    pick(*window, 0, "Ada");
    window->command(EnterCommand);
    QTest::qWait(1);
    EXPECT_EQ(m_calls.back(), "edit 2");
    EXPECT_TRUE(people().empty());

    pick(*window, 2, "1,200");
    pick(*window, 1, "Dec 10, 1815");
    window->command(EnterCommand);
    EXPECT_EQ(fill(*window, 5), TBFILL_ENTER2);
    EXPECT_FALSE(window->capture().rowIsUnsaved());
    EXPECT_EQ(window->capture().row().value[0], "");
    EXPECT_EQ(window->capture().row().value[3], "Paris");
    EXPECT_EQ(fill(*window, 0), TBFILL_EMPTY);

    pick(*window, 0, "Grace");
    window->command(EnterCommand);
    EXPECT_EQ(fill(*window, 5), TBFILL_ENTER);
    const Rows rows = people();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], "Ada");
    EXPECT_EQ(rows[0][1], "1815-12-10");
    EXPECT_EQ(rows[0][2], "1200");
    EXPECT_EQ(rows[0][3], "Paris");
    EXPECT_EQ(rows[1][0], "Grace");
    EXPECT_TRUE(m_messages.shown.empty());

    // A row that the database refuses stays, and so does the look.
    pick(*window, 0, std::string(20, 'x'));
    DatabaseSession(m_database).execute("DROP TABLE People");
    window->command(EnterCommand);
    EXPECT_FALSE(m_messages.shown.empty());
    EXPECT_EQ(window->capture().row().value[0], std::string(20, 'x'));
    EXPECT_EQ(fill(*window, 5), TBFILL_ENTER);
}

TEST_F(PickerWindowTest, StartOverAndClosingAskOnlyForUnsavedValues)
{
    std::unique_ptr<PickerWindow> window = start(m_people);
    ASSERT_TRUE(window);
    window->command(StartOverCommand);
    EXPECT_TRUE(m_messages.shown.empty());

    pick(*window, 0, "Ada");
    m_messages.answers = {MessageAnswer::No};
    window->command(StartOverCommand);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0], unsavedQuestion(false));
    EXPECT_EQ(m_messages.shown[0].text, "Unsaved Text Data will be lost.\nContinue ?");
    EXPECT_EQ(m_messages.shown[0].caption, "Quillon: Warning");
    EXPECT_EQ(window->capture().row().value[0], "Ada");

    m_messages.answers = {MessageAnswer::No};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(m_messages.shown.back().text,
              "Unsaved Text Data will be lost.\nAre you sure you want to exit ?");
    EXPECT_NE(iniText().find("inuse=1"), std::string::npos);

    window->command(ChangeOrientationCommand);
    m_messages.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(iniText(),
              "[Settings]\ninuse=0\norientation=1\ndatatablefile=" + m_people + "\ncapture=copy\n");
}

TEST_F(PickerWindowTest, NothingSelectedBringsUpTheStatusWindowThatSaysSo)
{
    writeBytes(m_folder.path() / "quillon.ini", "[Settings]\ncapture=selection\n");
    m_backend.reachable = true;
    std::unique_ptr<PickerWindow> window = start(m_people);
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(window->statusShown());

    window->command(FirstFieldCommand);
    EXPECT_TRUE(window->statusShown());
    EXPECT_TRUE(window->statusWindow()->isVisible());
    EXPECT_TRUE(window->menuAction(ShowPickingCommand)->isChecked());
    EXPECT_EQ(window->statusWindow()->text(), QString::fromUtf8(NothingSelectedText));
    EXPECT_EQ(window->statusWindow()->windowTitle(),
              QStringLiteral("quillon   - text you are picking up to \"Name\""));
    EXPECT_EQ(fill(*window, 0), TBFILL_EMPTY);
    EXPECT_EQ(window->capture().row().pendingField, -1);
    // Beside the picker, not over its buttons, and it follows the picker.
    EXPECT_FALSE(window->statusWindow()->frameGeometry().intersects(window->frameGeometry()));
    window->move(window->statusWindow()->pos());
    EXPECT_FALSE(window->statusWindow()->frameGeometry().intersects(window->frameGeometry()));

    // Selected text goes in at once, and the window stays as the user leaves it.
    m_backend.selection = "Grace Hopper";
    window->command(FirstFieldCommand);
    EXPECT_EQ(window->capture().row().value[0], "Grace Hopper");
    EXPECT_EQ(fill(*window, 0), TBFILL_FILLED);
    EXPECT_EQ(window->statusWindow()->text(), QStringLiteral("Grace Hopper"));
    EXPECT_TRUE(m_messages.shown.empty());
    m_messages.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(window->close());
}

TEST_F(PickerWindowTest, CaptureModeComesFromTheSettingsAndGoesBackAtClose)
{
    writeBytes(m_folder.path() / "quillon.ini",
               "[Settings]\norientation=1\ncapture=selection\ncolour=blue\n");
    std::unique_ptr<PickerWindow> window = start(m_people);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->capture().captureMode(), CaptureMode::Selection);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(iniText(), "[Settings]\norientation=1\ncapture=selection\ncolour=blue\ninuse=0\n"
                         "datatablefile=" +
                             m_people + "\n");
    window.reset();

    // Without the key the picker copies, and says so in the file at close.
    writeBytes(m_folder.path() / "quillon.ini", "[Settings]\n");
    window = start(m_people);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->capture().captureMode(), CaptureMode::Copy);
    EXPECT_TRUE(window->close());
    EXPECT_NE(iniText().find("\ncapture=copy\n"), std::string::npos);
}

TEST_F(PickerWindowTest, RightClickOnAFieldButtonOpensItsEditor)
{
    std::unique_ptr<PickerWindow> window = start(m_people);
    ASSERT_TRUE(window);
    window->command(FirstFieldCommand + 1, Gesture::Edit);
    EXPECT_EQ(m_calls, (std::vector<std::string>{"edit 1"}));
}

TEST_F(PickerWindowTest, ViewAndEnterSecondGestureAskForAValue)
{
    std::unique_ptr<PickerWindow> window = start(m_towns);
    ASSERT_TRUE(window);
    window->command(ViewCurrentDataCommand);
    window->command(EnterCommand, Gesture::Edit);
    EXPECT_TRUE(m_calls.empty());
    pick(*window, 1, "75001");
    m_viewHandsOver = 1;
    window->command(ViewCurrentDataCommand);
    QTest::qWait(1);
    EXPECT_EQ(m_calls, (std::vector<std::string>{"view", "edit 1"}));
}

TEST_F(PickerWindowTest, TableInformationShowsOneKeyALineWithThePasswordHidden)
{
    TableDescription description;
    description.connectString = "DSN=a;UID=b;";
    description.tableName = "T";
    EXPECT_EQ(tableInformationMessage(description),
              (Message{"DSN=a\nUID=b\n\nTable Name:  T", "Quillon: Database Table Information",
                       MessageIcon::None, MessageButtons::Ok}));
    struct
    {
        const char *connect;
        const char *masked;
    } cases[] = {
        {"DSN=a;PWD=secret;", "DSN=a;PWD=******;"},
        {"DSN=a;Password=secret", "DSN=a;Password=******"},
        {"dsn=a; pwd = s3;UID=u", "dsn=a; pwd =***;UID=u"},
        {"DSN=a;PASSWORD={se;c}}r}", "DSN=a;PASSWORD=*********"},
        {"DSN=a;PWDX=shown;NOPWD=shown", "DSN=a;PWDX=shown;NOPWD=shown"},
        {"DRIVER={x;y};PWD=;", "DRIVER={x;y};PWD=;"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(maskPasswords(c.connect), c.masked) << c.connect;

    std::unique_ptr<PickerWindow> window = start(m_people);
    ASSERT_TRUE(window);
    window->command(TableInformationCommand);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text,
              "DRIVER=SQLite3\nDatabase=" + (m_folder.path() / "shop.sqlite").string() +
                  "\nTimeout=10000\nTable Name:  People");
}

TEST_F(PickerWindowTest, LoadNewTableReplacesTheButtonsOrFallsBackToTheOldTable)
{
    std::unique_ptr<PickerWindow> window = start(m_people);
    ASSERT_TRUE(window);
    pick(*window, 0, "Ada");

    // Unsaved values: No keeps everything.
    m_messages.answers = {MessageAnswer::No};
    window->command(LoadNewTableCommand);
    EXPECT_TRUE(m_calls.empty());

    // A file that is not a description: the reader's message, the question without a description,
    // given up, and the old table is opened again with its buttons.
    const std::string bad = m_folder.file("bad.dtd");
    writeBytes(bad, "not a description");
    m_questions.chosen = {bad};
    m_messages.answers = {MessageAnswer::Yes};
    window->command(LoadNewTableCommand);
    EXPECT_EQ(m_calls, (std::vector<std::string>{"choose", "askNoDescription"}));
    ASSERT_EQ(m_messages.shown.size(), 3u);
    EXPECT_EQ(m_messages.shown[2].text, "File " + bad + " is not valid.");
    EXPECT_EQ(window->descriptionPath(), m_people);
    EXPECT_EQ(window->toolbar()->buttonCount(), 6);
    EXPECT_EQ(window->capture().row().value[0], "");
    EXPECT_EQ(window->capture().row().value[3], "Paris");

    // Another table: two buttons, the window sized for them.
    m_calls.clear();
    m_questions.chosen = {m_towns};
    window->command(LoadNewTableCommand);
    EXPECT_EQ(window->toolbar()->buttonCount(), 4);
    EXPECT_EQ(window->toolbar()->record(0).label, std::string("Town"));
    EXPECT_EQ(window->toolbar()->record(3).command, EnterCommand);
    EXPECT_EQ(window->height(), 7 + 24 * 2 + 60);
    EXPECT_EQ(window->descriptionPath(), m_towns);

    // Create New One from the question without a description: the wizard starts and the picker
    // closes, keeping the path that failed.
    m_questions.chosen = {bad};
    m_questions.noDescription = {Choice::CreateNew};
    m_wizardStarts = false;
    window->command(LoadNewTableCommand);
    ASSERT_EQ(m_messages.shown.back(),
              (Message{"Cannot start /opt/quillon/bin/ormund\nNo such file or directory.",
                       "Quillon: Inform", MessageIcon::Stop, MessageButtons::Ok}));
    QTest::qWait(1);
    EXPECT_NE(iniText().find("datatablefile=" + bad), std::string::npos);
    EXPECT_NE(iniText().find("inuse=0"), std::string::npos);
}

// The new file's data source cannot be opened, and the picker's own file has gone meanwhile:
// the table chosen in the dialog that follows is the one whose buttons show, and a further Load
// New replaces exactly those.
TEST_F(PickerWindowTest, LoadNewTableShowsTheButtonsOfWhicheverTableEndsUpOpen)
{
    const std::string nowhere = m_folder.file("nowhere.dtd");
    ASSERT_TRUE(saveTableDescription(nowhere, "DSN=NoSuchDataSource", "T",
                                     {{"A", "A", "", "VARCHAR", "5", "No", "12"}}));
    const std::vector<std::string> people = {"401 Name", "402 Born", "403 Age", "404 Town"};
    const std::vector<std::string> towns = {"401 Town", "402 Zip"};
    const std::vector<std::string> last = {"502 ", "501 Enter"};
    auto withLast = [&last](std::vector<std::string> fields) {
        fields.insert(fields.end(), last.begin(), last.end());
        return fields;
    };
    const struct
    {
        const char *name;
        std::string first;
        std::string third;
        std::vector<std::string> thirdButtons;
        std::string further;
        std::vector<std::string> furtherButtons;
    } legs[] = {
        {"fewer fields after", m_people, m_towns, towns, m_people, people},
        {"more fields after", m_towns, m_people, people, m_towns, towns},
    };
    for (const auto &leg : legs) {
        SCOPED_TRACE(leg.name);
        const std::string old = m_folder.file("old.dtd");
        std::filesystem::copy_file(leg.first, old,
                                   std::filesystem::copy_options::overwrite_existing);
        std::unique_ptr<PickerWindow> window = start(old);
        ASSERT_TRUE(window);
        std::filesystem::remove(old);

        m_calls.clear();
        m_questions.chosen = {nowhere, leg.third};
        m_questions.noDescription = {Choice::LoadExisting};
        window->command(LoadNewTableCommand);
        EXPECT_EQ(m_calls, (std::vector<std::string>{"choose", "askNoDescription", "choose"}));
        EXPECT_EQ(window->descriptionPath(), leg.third);
        EXPECT_EQ(buttons(*window), withLast(leg.thirdButtons));
        EXPECT_EQ(window->height(), 7 + 24 * std::ssize(leg.thirdButtons) + 60);

        m_questions.chosen = {leg.further};
        window->command(LoadNewTableCommand);
        EXPECT_EQ(buttons(*window), withLast(leg.furtherButtons));
        EXPECT_EQ(window->height(), 7 + 24 * std::ssize(leg.furtherButtons) + 60);
        EXPECT_TRUE(window->close());
    }
}

TEST_F(PickerWindowTest, EndsAtOnceWithoutADescriptionOrAConnection)
{
    // First start: no settings file, no command line, straight to the question without a
    // description, no reader message before it; Cancel leaves the section free.
    EXPECT_FALSE(start(""));
    EXPECT_EQ(m_calls, (std::vector<std::string>{"askNoDescription"}));
    EXPECT_TRUE(m_messages.shown.empty());
    EXPECT_EQ(iniText(), "[Settings]\ninuse=0\n");

    // Load Existing One, then a cancelled Open dialog.
    m_calls.clear();
    m_questions.noDescription = {Choice::LoadExisting};
    EXPECT_FALSE(start("\"" + m_people + "\""));
    EXPECT_EQ(m_calls, (std::vector<std::string>{"askNoDescription", "choose"}));
    EXPECT_EQ(m_messages.shown.at(0).text, "Open file \"" + m_people + "\" failed");

    // A path longer than 255 characters is refused whole, never cut.
    m_messages.shown.clear();
    const std::string longPath = m_folder.path().string() + "/" + std::string(260, 'p') + ".dtd";
    EXPECT_FALSE(start(longPath));
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0], pathTooLongMessage(longPath));
    EXPECT_NE(m_messages.shown[0].text.find(longPath), std::string::npos);

    // A data source that cannot be connected: the driver's message, then the end.
    m_messages.shown.clear();
    const std::string nowhere = m_folder.file("nowhere.dtd");
    ASSERT_TRUE(saveTableDescription(nowhere, "DSN=NoSuchDataSource", "T",
                                     {{"A", "A", "", "VARCHAR", "5", "No", "12"}}));
    EXPECT_FALSE(start(nowhere));
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].caption, "SQL_ERROR results");
    EXPECT_NE(m_messages.shown[0].text.find("IM002"), std::string::npos);
    EXPECT_EQ(iniText(), "[Settings]\ninuse=0\n");
}

TEST_F(PickerWindowTest, ADescriptionNamingALibraryOfItsOwnIsRefusedAndLoadsNothing)
{
    const TemporaryFolder markers;
    setenv("QUILLON_MARKER_DIR", markers.path().c_str(), 1);
    const std::string foreign = m_folder.file("foreign.dtd");
    ASSERT_TRUE(saveTableDescription(foreign, std::string("Driver={") + QUILLON_MARKER_A + "}", "T",
                                     {{"A", "A", "", "VARCHAR", "5", "No", "12"}}));

    EXPECT_FALSE(start(foreign));

    unsetenv("QUILLON_MARKER_DIR");
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].caption, "Quillon: Warning");
    EXPECT_EQ(m_messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(m_messages.shown[0].text.rfind(
                  std::string("Not connected: DRIVER \"") + QUILLON_MARKER_A + "\"", 0),
              0u);
    EXPECT_TRUE(std::filesystem::is_empty(markers.path()));
}

// The refusal, put together from its parts, reads as one German sentence.
TEST_F(PickerWindowTest, InGermanARefusedDescriptionSaysWhyInGerman)
{
    const Translations german(QStringLiteral("quillon"), QLocale(QLocale::German));
    const std::string foreign = m_folder.file("foreign.dtd");
    ASSERT_TRUE(saveTableDescription(foreign, "DSN=NoSuchSource;LoadExt=/tmp/evil.so", "T",
                                     {{"A", "A", "", "VARCHAR", "5", "No", "12"}}));

    EXPECT_FALSE(start(foreign));

    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].caption, "Quillon: Warnung");
    EXPECT_EQ(m_messages.shown[0].text,
              "Nicht verbunden: die Verbindungszeichenfolge enthält LoadExt; diese Einstellung "
              "lässt den SQLite-Treiber Bibliotheken laden.\n\nEine Verbindungszeichenfolge von "
              "jemand anderem darf dieses Programm keine Bibliotheken laden oder Dateien "
              "schreiben lassen. Solche Einstellungen gehören in eine Datenquelle Ihrer eigenen "
              "ODBC-Konfiguration, die Sie mit DSN= nennen.");
}

TEST(StatusWindowPlace, BesideThePickerOnTheFirstSideWithRoom)
{
    const QRect workArea(0, 0, 1000, 800);
    const QSize frame(500, 60);
    const struct
    {
        const char *name;
        QRect picker;
        QPoint at;
    } cases[] = {
        {"below", QRect(5, 5, 80, 160), QPoint(5, 165)},
        {"right, no room below", QRect(5, 700, 80, 100), QPoint(85, 700)},
        {"above, kept in the work area", QRect(600, 760, 400, 40), QPoint(500, 700)},
        {"left, no room elsewhere", QRect(900, 0, 100, 800), QPoint(400, 0)},
    };
    for (const auto &c : cases) {
        const QPoint at = statusWindowPlace(frame, c.picker, workArea);
        EXPECT_EQ(at, c.at) << c.name;
        EXPECT_FALSE(QRect(at, frame).intersects(c.picker)) << c.name;
        EXPECT_TRUE(workArea.contains(QRect(at, frame))) << c.name;
    }
    // No side has room: the one with the most, inside the work area.
    EXPECT_EQ(statusWindowPlace(frame, QRect(0, 0, 1000, 770), workArea), QPoint(0, 740));
}

TEST_F(PickerWindowTest, HelpThatCannotBeShownIsReported)
{
    std::unique_ptr<PickerWindow> window = start(m_people);
    ASSERT_TRUE(window);
    window->command(HelpCommand);
    window->command(AboutCommand);
    EXPECT_EQ(m_calls, (std::vector<std::string>{"help", "about"}));
    EXPECT_TRUE(m_messages.shown.empty());

    window->command(ShowPickingCommand);
    EXPECT_TRUE(window->statusShown());
    EXPECT_TRUE(window->menuAction(ShowPickingCommand)->isChecked());
    window->command(AlwaysOnTopCommand);
    EXPECT_FALSE(window->isAlwaysOnTop());
    EXPECT_FALSE(window->menuAction(AlwaysOnTopCommand)->isChecked());
    window->command(ChangeOrientationCommand);
    EXPECT_FALSE(window->isAlwaysOnTop());
}

// Where no other application can be reached, a copy by hand fills the row all the same: the
// cells under headings that name fields go there, and nothing is stored until "Enter".
TEST_F(PickerWindowTest, FillRowFromCopiedCellsTakesACopyByHandAndStoresAtEnter)
{
    std::unique_ptr<PickerWindow> window = start(m_people);
    ASSERT_TRUE(window);
    window->command(FillRowCommand);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, CaptureUnavailableText);

    QGuiApplication::clipboard()->setText(
        QStringLiteral("Town\tname\tZip\r\nLyon\t Ada \t75\r\nNice\tGrace\t06\r\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->capture().rowIsUnsaved(); }, 2000));
    const PickedRow &row = window->capture().row();
    EXPECT_EQ(row.value[0], "Ada");
    EXPECT_EQ(row.value[3], "Lyon");
    EXPECT_EQ(row.previousValue[3], "Paris");
    EXPECT_EQ(fill(*window, 0), TBFILL_FILLED);
    EXPECT_EQ(fill(*window, 1), TBFILL_EMPTY);
    EXPECT_EQ(row.pendingField, -1);
    EXPECT_EQ(window->statusWindow()->text(),
              QStringLiteral("1 cell left over, 1 more line not used: Ada | Lyon"));
    EXPECT_EQ(window->statusWindow()->windowTitle(),
              QStringLiteral("quillon   - text you are picking up"));
    EXPECT_TRUE(people().empty());

    window->command(EnterCommand);
    const Rows rows = people();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Ada");
    EXPECT_EQ(rows[0][3], "Lyon");
}

// The keys for every application, as they arrive: "Enter", the next empty field, and fields the
// table does not have. Offscreen nothing is grabbed, and nothing is said about it.
TEST_F(PickerWindowTest, ShortcutsEnterFindTheNextEmptyFieldAndSayWhatTheyCannotDo)
{
    std::unique_ptr<PickerWindow> window = start(m_people);
    ASSERT_TRUE(window);
    EXPECT_FALSE(window->shortcuts().active());
    EXPECT_FALSE(window->statusShown());

    window->shortcut(ShortcutAction::Pick5);
    EXPECT_EQ(window->statusWindow()->text(), QStringLiteral("The table has no field 5."));
    EXPECT_TRUE(window->statusShown());

    for (int field = 0; field < 3; ++field)
        pick(*window, field, field == 1 ? "Dec 10, 1815" : field == 2 ? "36" : "Ada");
    window->shortcut(ShortcutAction::PickNext);
    EXPECT_EQ(window->statusWindow()->text(), QString::fromLatin1(EveryFieldFilledText));
    EXPECT_TRUE(m_messages.shown.empty());

    window->shortcut(ShortcutAction::Enter);
    EXPECT_TRUE(m_calls.empty());
    const Rows rows = people();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Ada");
    EXPECT_EQ(rows[0][3], "Paris");
    EXPECT_TRUE(window->enterSecondLook());
    EXPECT_FALSE(window->capture().rowIsUnsaved());
    // A row with nothing in it is not entered, as the button does not.
    window->capture().row().hasValue.fill(0);
    window->shortcut(ShortcutAction::Enter);
    EXPECT_EQ(people().size(), 1u);
}

// A setting that names no key combination is said once, at start, in the status window; the
// picker goes on with the other keys.
TEST_F(PickerWindowTest, AShortcutSettingThatIsNoKeyCombinationIsSaidInTheStatusWindow)
{
    writeBytes(m_folder.path() / "quillon.ini",
               "[Settings]\nshortcut.fillrow=Ctrl+Blah\nshortcut.enter=Ctrl+Alt+Enter\n"
               "shortcut.next=F5\n");
    std::unique_ptr<PickerWindow> window = start(m_people);
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->statusShown());
    EXPECT_EQ(
        window->statusWindow()->text(),
        QStringLiteral("Not a key combination: shortcut.next=F5, shortcut.fillrow=Ctrl+Blah"));
    EXPECT_EQ(window->statusWindow()->windowTitle(),
              QStringLiteral("quillon   - keys in the settings file"));
    EXPECT_TRUE(m_messages.shown.empty());
}

} // namespace
