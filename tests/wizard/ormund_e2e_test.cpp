// SPDX-License-Identifier: MIT
// ormund on a private X server, started as a user starts it, with a SQLite data source in the
// user's driver manager file, driven with the keyboard: the data source chosen in the wizard's
// dialog and the database's tables listed; and the whole journey, from the data source through
// the fields and their titles and defaults to the saved description, the picker that Finish
// starts on it, a value picked from a GTK application and the row in the database.
#include <csignal>

#include <QApplication>
#include <QClipboard>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include "fieldvalues/tabledescription.h"
#include "tests/support/databases.h"
#include "tests/support/desktopuser.h"
#include "tests/support/x11input.h"

namespace {

using namespace desktopuser;

const QString WizardFirstPage = QStringLiteral("ormund: Specify Data Source");
const QString WizardTablePage =
    QStringLiteral("ormund: Select A Table To Be Filled Up With Quillon");
const QString WizardFieldPage =
    QStringLiteral("ormund: Select Fields From A Table To Be Filled Up With Quillon");

// A shop's database in a folder whose name has a blank, its data source "Shop" in the user's
// driver manager file, and ormund started in that folder with a settings folder of its own.
class OrmundE2E : public ::testing::Test
{
protected:
    OrmundE2E() : m_work(m_folder.path() / "My Shop")
    {
        std::filesystem::create_directories(m_work);
        m_database = sqliteConnectString(m_work / "shop.sqlite");
        DatabaseSession session(m_database);
        session.execute("CREATE TABLE customers (id INTEGER, name VARCHAR(50))");
        session.execute("CREATE TABLE \"order lines\" (id INTEGER)");
        session.execute("CREATE TABLE people (name VARCHAR(40) NOT NULL, town VARCHAR(40), "
                        "born DATE)");
        session.execute("CREATE VIEW big_people AS SELECT * FROM people");
        writeBytes(m_folder.path() / "odbc.ini",
                   "[Shop]\nDriver = SQLite3\nDescription = Our shop\nDatabase = " +
                       (m_work / "shop.sqlite").string() + "\n");
    }
    ~OrmundE2E() override
    {
        if (m_pickerProcess != 0)
            ::kill(static_cast<pid_t>(m_pickerProcess), SIGKILL);
        if (m_ormund.state() != QProcess::NotRunning) {
            m_ormund.kill();
            m_ormund.waitForFinished(5000);
        }
    }

    // The user's environment, with the test's data source and settings folder. `language` as
    // LANGUAGE, which the user sets to read the programs in another language.
    QProcessEnvironment userEnvironment(const QString &language = QStringLiteral("en")) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ODBCINI"),
                           QString::fromStdString((m_folder.path() / "odbc.ini").string()));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           QString::fromStdString((m_folder.path() / "config").string()));
        environment.insert(QStringLiteral("LANGUAGE"), language);
        return environment;
    }

    void startOrmund(const QString &language = QStringLiteral("en"))
    {
        m_ormund.setProcessEnvironment(userEnvironment(language));
        m_ormund.setWorkingDirectory(QString::fromStdString(m_work.string()));
        m_ormund.setProcessChannelMode(QProcess::ForwardedChannels);
        m_ormund.start(QStringLiteral(ORMUND_PROGRAM), {});
        ASSERT_TRUE(m_ormund.waitForStarted(5000));
    }

    // From the first page to the table page, with the only data source taken in the dialog.
    std::uint64_t chooseTheDataSource()
    {
        const std::uint64_t wizard = waitForWindow(WizardFirstPage);
        EXPECT_NE(wizard, 0u);
        // The keyboard starts at "Specify Data Source".
        keys(wizard, {QStringLiteral("space")});
        const std::uint64_t dialog = waitForWindow(QStringLiteral("Select Data Source"));
        EXPECT_NE(dialog, 0u);
        // The only data source is chosen already; Return takes it.
        keys(dialog, {QStringLiteral("Return")});
        EXPECT_TRUE(waitUntilGone(QStringLiteral("Select Data Source")));
        keys(wizard, {QStringLiteral("alt+n")});
        return waitForWindow(WizardTablePage);
    }

    // Through the table and field pages to the question after saving "people.dtd": the name as
    // "Who" and the town with the default "London"; the date of birth stays out.
    void describePeople()
    {
        startOrmund();
        const std::uint64_t tables = chooseTheDataSource();
        ASSERT_NE(tables, 0u);
        // Typing the first letter finds the table.
        keys(tables, {QStringLiteral("p"), QStringLiteral("alt+n")});
        const std::uint64_t fields = waitForWindow(WizardFieldPage);
        ASSERT_NE(fields, 0u);

        // Home and shift+Down mark the first two fields and Return selects them. Five
        // Tabs lead past the four buttons to the selected list, where Return edits the field
        // that has the keyboard.
        keys(fields,
             {QStringLiteral("Home"), QStringLiteral("shift+Down"), QStringLiteral("Return"),
              QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
              QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Return")});
        editField(QStringLiteral("Who"), {});
        keys(fields, {QStringLiteral("Down"), QStringLiteral("Return")});
        editField({}, QStringLiteral("London"));

        keys(fields, {QStringLiteral("alt+f")});
        const std::uint64_t save = waitForWindow(QStringLiteral("Save As"));
        ASSERT_NE(save, 0u);
        // The name is offered as "default.dtd", marked; typed over, it gets the extension.
        keys(save, {QStringLiteral("ctrl+a")});
        type(QStringLiteral("people"));
        keys(save, {QStringLiteral("Return")});
        m_question = waitForWindow(QStringLiteral("Ormund"));
        ASSERT_NE(m_question, 0u);
    }

    // In the field dialog: a new title and a default where given, then OK.
    void editField(const QString &title, const QString &defaultValue)
    {
        const std::uint64_t dialog =
            waitForWindow(QStringLiteral("Edit Field Title & Default Value"));
        ASSERT_NE(dialog, 0u);
        // The title has the keyboard, and Tab leads to the default.
        if (!title.isEmpty()) {
            keys(dialog, {QStringLiteral("ctrl+a")});
            type(title);
        }
        if (!defaultValue.isEmpty()) {
            keys(dialog, {QStringLiteral("Tab")});
            type(defaultValue);
        }
        keys(dialog, {QStringLiteral("Return")});
        ASSERT_TRUE(waitUntilGone(QStringLiteral("Edit Field Title & Default Value")));
    }

    bool ormundEnded()
    {
        return m_ormund.waitForFinished(10000) && m_ormund.exitStatus() == QProcess::NormalExit &&
               m_ormund.exitCode() == 0;
    }

    // The saved description's table and, per field, its name, title and default.
    std::vector<std::string> saved() const
    {
        TableDescription description;
        if (loadTableDescription((m_work / "people.dtd").string(), description) == 0)
            return {};
        std::vector<std::string> texts{description.tableName};
        for (const FieldDescription &field : description.fields)
            if (!field.name.empty())
                texts.push_back(field.name + "|" + field.title + "|" + field.defaultValue);
        return texts;
    }

    TemporaryFolder m_folder;
    std::filesystem::path m_work;
    std::string m_database;
    QProcess m_ormund;
    std::uint64_t m_question = 0;
    qint64 m_pickerProcess = 0;
};

TEST_F(OrmundE2E, ADataSourceChosenInTheDialogListsItsTables)
{
    startOrmund();
    const std::uint64_t tables = chooseTheDataSource();
    ASSERT_NE(tables, 0u);

    QApplication::clipboard()->clear();
    keys(tables, {QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
    QString copied;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            copied = QApplication::clipboard()->text();
            return !copied.isEmpty();
        },
        5000));
    EXPECT_EQ(copied, "customers\tTABLE\t\t\t\norder lines\tTABLE\t\t\t\npeople\tTABLE\t\t\t\n");

    keys(tables, {QStringLiteral("Escape")});
    EXPECT_TRUE(ormundEnded());
}

TEST_F(OrmundE2E, FromADataSourceToARowInTheDatabase)
{
    // The user's mail is open, with the name to key in.
    GtkEntry mail(QStringLiteral("Ada Lovelace"));
    ASSERT_NE(mail.window(), 0u);

    describePeople();
    keys(m_question, {QStringLiteral("alt+y")});
    EXPECT_TRUE(ormundEnded());
    EXPECT_EQ(saved(), (std::vector<std::string>{"people", "name|Who|", "town|town|London"}));

    // The picker opens on the saved file, its town filled with the default.
    const std::uint64_t picker = waitForWindow(QStringLiteral("Quillon"));
    ASSERT_NE(picker, 0u);
    m_pickerProcess = processOf(picker);
    QTest::qWait(300);
    const QRect frame = geometry(picker);
    mail.selectAll();
    const QPoint who = pickerFieldButton(frame, 0);
    ASSERT_TRUE(x11input::clickAt(who.x(), who.y()));
    QTest::qWait(500);
    const QPoint enter = pickerEnterButton(frame, 2);
    ASSERT_TRUE(x11input::clickAt(enter.x(), enter.y()));

    Rows rows;
    (void)QTest::qWaitFor(
        [&] {
            rows = DatabaseSession(m_database).query("SELECT name, town, born FROM people");
            return !rows.empty();
        },
        10000);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0],
              (std::vector<std::optional<std::string>>{"Ada Lovelace", "London", std::nullopt}));

    // Nothing is left unsaved: the picker closes without a question.
    ASSERT_TRUE(x11input::closeWindow(picker));
    EXPECT_TRUE(waitUntilGone(QStringLiteral("Quillon"), 10000));
    m_pickerProcess = 0;
}

TEST_F(OrmundE2E, AnsweringNoLeavesTheFileAndStartsNothing)
{
    describePeople();
    keys(m_question, {QStringLiteral("alt+n")});
    EXPECT_TRUE(ormundEnded());
    EXPECT_EQ(saved(), (std::vector<std::string>{"people", "name|Who|", "town|town|London"}));
    // A picker would have shown its window and claimed its settings by now.
    QTest::qWait(1500);
    EXPECT_EQ(
        xdotool({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("^Quillon$")}),
        QString());
    EXPECT_FALSE(std::filesystem::exists(m_folder.path() / "config" / "quillon.ini"));
}

// A German user: LANGUAGE=de, the locale's other settings as the machine has them. The wizard's
// pages and dialog, Qt's own buttons and the picker's message captions speak German.
TEST_F(OrmundE2E, WithLanguageGermanBothProgramsSpeakGerman)
{
    startOrmund(QStringLiteral("de"));
    const std::uint64_t wizard = waitForWindow(QStringLiteral("ormund: Datenquelle angeben"));
    ASSERT_NE(wizard, 0u);
    keys(wizard, {QStringLiteral("space")});
    const std::uint64_t dialog = waitForWindow(QStringLiteral("Datenquelle auswählen"));
    ASSERT_NE(dialog, 0u);
    keys(dialog, {QStringLiteral("Return")});
    EXPECT_TRUE(waitUntilGone(QStringLiteral("Datenquelle auswählen")));
    // Qt's own German names the Next button "&Weiter >".
    keys(wizard, {QStringLiteral("alt+w")});
    EXPECT_NE(waitForWindow(QStringLiteral("ormund: Tabelle wählen, die Quillon füllen soll")), 0u);
    keys(wizard, {QStringLiteral("Escape")});
    EXPECT_TRUE(ormundEnded());

    // The picker on a description whose data source is not there: the driver manager's words
    // under a German caption, and the picker ends once they are read.
    const std::string path = (m_work / "nowhere.dtd").string();
    ASSERT_TRUE(saveTableDescription(path, "DSN=NoSuchDataSource", "people",
                                     {{"name", "Name", "", "VARCHAR", "40", "Yes", "12"}}));
    QProcess picker;
    picker.setProcessEnvironment(userEnvironment(QStringLiteral("de")));
    picker.setProcessChannelMode(QProcess::ForwardedChannels);
    picker.start(QStringLiteral(QUILLON_PROGRAM), {QString::fromStdString(path)});
    ASSERT_TRUE(picker.waitForStarted(5000));
    const std::uint64_t message = waitForWindow(QStringLiteral("SQL_ERROR-Ergebnisse"));
    EXPECT_NE(message, 0u);
    if (message != 0)
        keys(message, {QStringLiteral("Return")});
    EXPECT_TRUE(picker.waitForFinished(20000));
}

} // namespace
