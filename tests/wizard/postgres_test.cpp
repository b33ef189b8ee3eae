// SPDX-License-Identifier: MIT
// The wizard against the tests' PostgreSQL server (fixture "Postgres"): a login that the server
// refuses, and the driver's errors where a page is being left, each shown in the driver's words
// with the page staying where it was.
#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include "fieldvalues/tabledescription.h"
#include "odbc/connectionpolicy.h"
#include "tests/support/odbcfiles.h"
#include "tests/support/recordingsink.h"
#include "tests/wizard/answeringchooser.h"
#include "tests/wizard/wizardtesting.h"
#include "wizard/datasourcedialog.h"
#include "wizard/datasourcepage.h"
#include "wizard/descriptionwizard.h"
#include "wizard/fieldpage.h"
#include "wizard/tablelistmodel.h"
#include "wizard/tablepage.h"

namespace {

const Message PleaseSpecify{"Please Specify a Data Source", "Inform", MessageIcon::Information,
                            MessageButtons::Ok};

// A database of the test's own, with one table, and the data source "Accounts" for it.
class OnPostgres : public ::testing::Test
{
protected:
    OnPostgres()
        : m_name(name()),
          m_files("", "[Accounts]\nDriver = PostgreSQL ANSI\nServername = 127.0.0.1\nPort = " +
                          postgresPort() + "\nDatabase = " + m_name + "\nUsername = postgres\n")
    {
        DatabaseSession admin(postgresConnectString());
        admin.execute("DROP DATABASE IF EXISTS " + m_name + " WITH (FORCE)");
        admin.execute("CREATE DATABASE " + m_name);
        DatabaseSession(connectString())
            .execute("CREATE TABLE ledger (id INTEGER, amount NUMERIC)");
    }

    static std::string name()
    {
        std::string name = "w";
        for (char c : std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()))
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return name.substr(0, 48);
    }
    std::string connectString() const
    {
        return "DRIVER=PostgreSQL ANSI;Servername=127.0.0.1;Port=" + postgresPort() +
               ";Database=" + m_name + ";Username=postgres";
    }
    // The server ends the wizard's connection.
    void endConnections() const
    {
        DatabaseSession(postgresConnectString())
            .execute("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
                     m_name + "'");
    }

    std::string m_name;
    PrivateOdbcFiles m_files;
    RecordingSink m_sink;
};

TEST_F(OnPostgres, ARefusedLoginShowsTheServersWordsAndTheDialogStaysForAnother)
{
    OdbcDatabase database;
    DataSourceDialog dialog(database, m_sink);
    dialog.show();
    EXPECT_TRUE(dialog.loginBox()->isEnabled());
    EXPECT_EQ(dialog.userNameEdit()->text(), "postgres");
    dialog.userNameEdit()->setText("nobody");
    dialog.buttons()->button(QDialogButtonBox::Ok)->click();
    const Message refused{"connection to server at \"127.0.0.1\", port " + postgresPort() +
                              " failed: FATAL:  role \"nobody\" does not exist",
                          "Ormund", MessageIcon::Stop, MessageButtons::Ok};
    EXPECT_EQ(m_sink.shown, std::vector<Message>{refused});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(database.isOpen());

    dialog.userNameEdit()->setText("postgres");
    dialog.buttons()->button(QDialogButtonBox::Ok)->click();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_TRUE(database.isOpen());
    EXPECT_TRUE(database.connectString().starts_with("ODBC;DSN=Accounts;"))
        << database.connectString();
}

TEST_F(OnPostgres, AnErrorWhileTheTablesAreReadLeavesNoConnectionAndNextRefused)
{
    AnsweringChooser chooser;
    DescriptionWizard wizard(m_sink, &chooser);
    wizard.show();
    chooser.answers = {"DSN=Accounts", "DSN=Accounts"};
    wizard.dataSourcePage()->specifyButton()->click();
    ASSERT_TRUE(wizard.session().isConnected());
    const std::string first = wizard.session().connectString();

    chooser.afterConnect = [this](OdbcDatabase &) {
        endConnections();
    };
    wizard.dataSourcePage()->specifyButton()->click();
    ASSERT_EQ(m_sink.shown.size(), 1u);
    EXPECT_EQ(m_sink.shown[0].caption, "Ormund");
    EXPECT_EQ(m_sink.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(m_sink.shown[0].text, "The connection has been lost");
    EXPECT_FALSE(wizard.session().isConnected());
    EXPECT_EQ(wizard.session().tables(), nullptr);
    EXPECT_EQ(wizard.session().connectString(), first);
    EXPECT_EQ(wizard.dataSourcePage()->descriptionLabel()->text(), "[No Data Source Selected]");

    wizard.button(QWizard::NextButton)->click();
    EXPECT_EQ(wizard.currentId(), DescriptionWizard::DataSourcePageId);
    EXPECT_EQ(m_sink.shown.back(), PleaseSpecify);
}

TEST_F(OnPostgres, AnErrorWhileTheColumnsAreReadKeepsTheTablePage)
{
    AnsweringChooser chooser;
    DescriptionWizard wizard(m_sink, &chooser);
    wizard.show();
    chooser.answers = {"DSN=Accounts"};
    wizard.dataSourcePage()->specifyButton()->click();
    wizard.button(QWizard::NextButton)->click();
    ASSERT_EQ(wizard.currentId(), DescriptionWizard::TablePageId);
    TableListModel *model = wizard.tablePage()->tableModel();
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->tableAt(0), (TableCatalogRow{m_name, "public", "ledger", "TABLE", ""}));
    wizard.tablePage()->tableList()->selectionModel()->select(
        model->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);

    endConnections();
    wizard.button(QWizard::NextButton)->click();
    EXPECT_EQ(wizard.currentId(), DescriptionWizard::TablePageId);
    ASSERT_EQ(m_sink.shown.size(), 1u);
    EXPECT_EQ(m_sink.shown[0].caption, "Ormund");
    EXPECT_EQ(m_sink.shown[0].icon, MessageIcon::Stop);
    // psqlODBC's words: "The connection is down" or "... has been lost", and the query that it
    // could not send.
    EXPECT_TRUE(m_sink.shown[0].text.starts_with("The connection ")) << m_sink.shown[0].text;
    // No column catalogue is left, so that the next Next tries again.
    EXPECT_EQ(wizard.session().columns(), nullptr);
}

TEST_F(OnPostgres, TheSavedDescriptionReadsBackAsListedAndTakesARow)
{
    DatabaseSession(connectString())
        .execute("CREATE TABLE people (id INTEGER NOT NULL, name VARCHAR(20), amount "
                 "NUMERIC(10,2), born DATE, member BOOLEAN, note TEXT, \"odd name\" CHAR(5), "
                 "photo BYTEA)");
    TemporaryFolder folder;
    const std::string path = folder.file("people.dtd");
    AnsweringChooser chooser;
    chooser.answers = {"DSN=Accounts"};
    DescriptionWizard wizard(m_sink, &chooser);
    ASSERT_TRUE(saveEveryField(wizard, m_sink, QStringLiteral("people"), path));
    ASSERT_EQ(m_sink.shown.size(), 2u); // the binary photo, then the question

    // Every field but the photo, with psqlODBC's own type names and lengths.
    const std::string expected = expectedDescription(wizard);
    EXPECT_EQ(describe(path), expected);
    // psqlODBC gives lengths in bytes (four to a character), a boolean as a string.
    EXPECT_TRUE(expected.ends_with("\npeople\n"
                                   "id\tid\t\tint4\t4\t1\t4\n"
                                   "name\tname\t\tvarchar\t80\t0\t12\n"
                                   "amount\tamount\t\tnumeric\t12\t0\t2\n"
                                   "born\tborn\t\tdate\t6\t0\t9\n"
                                   "member\tmember\t\tbool\t5\t0\t12\n"
                                   "note\tnote\t\ttext\t8190\t0\t-1\n"
                                   "odd name\todd nam\t\tbpchar\t20\t0\t1\n"))
        << expected;
    EXPECT_TRUE(checkConnectString(expected.substr(0, expected.find('\n'))).allowed);

    runRowTool({QStringLiteral("insert"), QString::fromStdString(path), QStringLiteral("id=7"),
                QStringLiteral("name=Ada"), QStringLiteral("amount=12.50"),
                QStringLiteral("born=12/10/1815"), QStringLiteral("member=true"),
                QStringLiteral("note=line one"), QStringLiteral("#7=abc")});
    EXPECT_EQ(DatabaseSession(connectString())
                  .query("SELECT id, name, amount, born, member, note, \"odd name\" FROM people"),
              (Rows{{"7", "Ada", "12.50", "1815-12-10", "1", "line one", "abc  "}}));
}

// With a table of one name in two schemas, the one chosen is the one listed, saved and filled,
// though the server's search path finds the other.
TEST_F(OnPostgres, TheChosenSchemasTableIsListedSavedAndFilled)
{
    DatabaseSession session(connectString());
    session.execute("CREATE SCHEMA archive");
    session.execute("CREATE TABLE items (id INTEGER, name VARCHAR(20) NOT NULL)");
    session.execute("CREATE TABLE archive.items (code INTEGER NOT NULL, label VARCHAR(20))");
    TemporaryFolder folder;
    const std::string path = folder.file("archive.dtd");
    AnsweringChooser chooser;
    chooser.answers = {"DSN=Accounts"};
    DescriptionWizard wizard(m_sink, &chooser);
    ASSERT_TRUE(
        saveEveryField(wizard, m_sink, QStringLiteral("items"), path, QStringLiteral("archive")));
    EXPECT_EQ(m_sink.shown.size(), 1u); // the question alone: no required field left over
    EXPECT_EQ(wizard.fieldPage()->headingLabel()->text(), "Fields In Table archive.items");

    const std::string described = describe(path);
    EXPECT_EQ(described, expectedDescription(wizard));
    EXPECT_NE(described.find("\n\"archive\".\"items\"\ncode\tcode\t"), std::string::npos)
        << described;
    runRowTool({QStringLiteral("insert"), QString::fromStdString(path), QStringLiteral("code=5"),
                QStringLiteral("label=Old")});
    EXPECT_EQ(session.query("SELECT code, label FROM archive.items"), (Rows{{"5", "Old"}}));
    EXPECT_EQ(session.query("SELECT count(*) FROM public.items"), (Rows{{"0"}}));
}

// A database in Latin-1, read through the ANSI driver in Latin-1: a column's name is saved as
// the driver's bytes, so that the row reaches that column.
TEST_F(OnPostgres, NamesInTheDatabasesOwnEncodingAreSavedAsTheDriverGivesThem)
{
    const std::string latin = m_name.substr(0, 40) + "_latin1";
    DatabaseSession admin(postgresConnectString());
    admin.execute("DROP DATABASE IF EXISTS " + latin + " WITH (FORCE)");
    admin.execute("CREATE DATABASE " + latin +
                  " ENCODING 'LATIN1' LC_COLLATE 'C' LC_CTYPE 'C' TEMPLATE template0");
    const std::string utf8 = "DRIVER=PostgreSQL ANSI;Servername=127.0.0.1;Port=" + postgresPort() +
                             ";Database=" + latin + ";Username=postgres";
    DatabaseSession(utf8).execute("CREATE TABLE t (id INTEGER, \"caf\xc3\xa9\" VARCHAR(10))");
    PrivateOdbcFiles files(
        "", "[Latin]\nDriver = PostgreSQL ANSI\nServername = 127.0.0.1\nPort = " + postgresPort() +
                "\nDatabase = " + latin +
                "\nUsername = postgres\nConnSettings = SET client_encoding TO "
                "'LATIN1'\n");
    saveAndFillTheLatin1Table(m_sink, "DSN=Latin");
    EXPECT_EQ(DatabaseSession(utf8).query("SELECT id, \"caf\xc3\xa9\" FROM t"),
              (Rows{{"1", "abc"}}));
}

} // namespace
