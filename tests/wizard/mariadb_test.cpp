// SPDX-License-Identifier: MIT
// The wizard against the tests' MariaDB server (fixture "MariaDB"): a password that the server
// refuses and one that holds ";" and "}", and a table page that lists the tables of its own
// database only, not those of the server's other databases.
#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include "fieldvalues/tabledescription.h"
#include "odbc/connectionpolicy.h"
#include "odbc/error.h"
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

// A database of the test's own with two tables, a user of its own with a password, and the
// data source "Shop" for them.
class OnMariaDb : public ::testing::Test
{
protected:
    static constexpr const char *Password = "right;pass}";

    OnMariaDb()
        : m_name(name()), m_user("u" + m_name.substr(0, 30)),
          m_files("", "[Shop]\nDriver = MariaDB\nServer = 127.0.0.1\nPort = " + mariaDbPort() +
                          "\nDatabase = " + m_name + "\nUser = " + m_user + "\n")
    {
        DatabaseSession admin(mariaDbConnectString());
        admin.execute("DROP DATABASE IF EXISTS " + m_name);
        admin.execute("CREATE DATABASE " + m_name);
        admin.execute("CREATE TABLE " + m_name + ".orders (id INTEGER, note VARCHAR(50))");
        admin.execute("CREATE TABLE " + m_name + ".`stock items` (id INTEGER)");
        admin.execute("CREATE OR REPLACE USER '" + m_user + "'@'127.0.0.1' IDENTIFIED BY '" +
                      Password + "'");
        // Every database of the server is open to the user.
        admin.execute("GRANT ALL ON *.* TO '" + m_user + "'@'127.0.0.1'");
    }

    static std::string name()
    {
        std::string name = "w";
        for (char c : std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()))
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return name.substr(0, 48);
    }

    std::string m_name;
    std::string m_user;
    PrivateOdbcFiles m_files;
    RecordingSink m_sink;
};

TEST_F(OnMariaDb, AWrongPasswordShowsTheServersWordsAndTheRightOneConnects)
{
    // What the driver says to this password, asked without the dialog.
    std::string refusal;
    try {
        OdbcDatabase direct;
        direct.open("DSN=Shop;PWD=wrong");
    } catch (const OdbcError &error) {
        refusal = error.what();
    }
    ASSERT_NE(refusal.find("Access denied for user '" + m_user + "'"), std::string::npos)
        << refusal;

    OdbcDatabase database;
    DataSourceDialog dialog(database, m_sink);
    dialog.show();
    EXPECT_TRUE(dialog.loginBox()->isEnabled());
    EXPECT_EQ(dialog.userNameEdit()->text().toStdString(), m_user);
    EXPECT_EQ(dialog.passwordEdit()->text(), "");
    dialog.passwordEdit()->setText("wrong");
    dialog.buttons()->button(QDialogButtonBox::Ok)->click();
    const Message refused{refusal, "Ormund", MessageIcon::Stop, MessageButtons::Ok};
    EXPECT_EQ(m_sink.shown, std::vector<Message>{refused});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(database.isOpen());

    dialog.passwordEdit()->setText(Password);
    dialog.buttons()->button(QDialogButtonBox::Ok)->click();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_TRUE(database.isOpen());
    EXPECT_TRUE(database.connectString().starts_with("ODBC;DSN=Shop;")) << database.connectString();
}

TEST_F(OnMariaDb, TheTablePageListsTheTablesOfItsOwnDatabase)
{
    AnsweringChooser chooser;
    chooser.answers = {std::string("DSN=Shop;PWD={right;pass}}}")};
    DescriptionWizard wizard(m_sink, &chooser);
    wizard.show();
    wizard.dataSourcePage()->specifyButton()->click();
    wizard.button(QWizard::NextButton)->click();
    ASSERT_EQ(wizard.currentId(), DescriptionWizard::TablePageId);
    EXPECT_TRUE(m_sink.shown.empty());
    const TableListModel *model = wizard.tablePage()->tableModel();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->tableAt(0), (TableCatalogRow{m_name, "", "orders", "TABLE", ""}));
    EXPECT_EQ(model->tableAt(1), (TableCatalogRow{m_name, "", "stock items", "TABLE", ""}));

    wizard.tablePage()->tableList()->selectionModel()->select(
        model->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    wizard.button(QWizard::NextButton)->click();
    ASSERT_EQ(wizard.currentId(), DescriptionWizard::FieldPageId);
    ASSERT_NE(wizard.session().columns(), nullptr);
    ASSERT_EQ(wizard.session().columns()->rows().size(), 1u);
    EXPECT_EQ(wizard.session().columns()->rows()[0].table, "stock items");
}

TEST_F(OnMariaDb, TheSavedDescriptionReadsBackAsListedAndTakesARow)
{
    DatabaseSession(mariaDbConnectString())
        .execute("CREATE TABLE " + m_name +
                 ".people (id INTEGER NOT NULL, name VARCHAR(20), amount DECIMAL(10,2), born "
                 "DATE, member BOOLEAN, note TEXT, `odd name` CHAR(5), photo BLOB)");
    TemporaryFolder folder;
    const std::string path = folder.file("people.dtd");
    AnsweringChooser chooser;
    chooser.answers = {std::string("DSN=Shop;PWD={right;pass}}}")};
    DescriptionWizard wizard(m_sink, &chooser);
    ASSERT_TRUE(saveEveryField(wizard, m_sink, QStringLiteral("people"), path));
    ASSERT_EQ(m_sink.shown.size(), 2u); // the binary photo, then the question

    // Every field but the photo, with the driver's wide character types.
    const std::string expected = expectedDescription(wizard);
    EXPECT_EQ(describe(path), expected);
    EXPECT_NE(expected.find("\nname\tname\t\tVARCHAR\t80\t0\t-9\n"), std::string::npos) << expected;
    EXPECT_TRUE(checkConnectString(expected.substr(0, expected.find('\n'))).allowed);

    runRowTool({QStringLiteral("insert"), QString::fromStdString(path), QStringLiteral("id=7"),
                QStringLiteral("name=Ada"), QStringLiteral("amount=12.50"),
                QStringLiteral("born=12/10/1815"), QStringLiteral("member=1"),
                QStringLiteral("note=line one"), QStringLiteral("#7=abc")});
    EXPECT_EQ(DatabaseSession(mariaDbConnectString())
                  .query("SELECT id, name, amount, born, member, note, `odd name` FROM " + m_name +
                         ".people"),
              (Rows{{"7", "Ada", "12.50", "1815-12-10", "1", "line one", "abc"}}));
}

// Through a data source in Latin-1, a column's name comes as Latin-1 bytes: it is saved as it
// came, and the row reaches that column.
TEST_F(OnMariaDb, NamesInTheConnectionsOwnEncodingAreSavedAsTheDriverGivesThem)
{
    DatabaseSession(mariaDbConnectString())
        .execute("CREATE TABLE " + m_name +
                 ".t (id INTEGER, `caf\xc3\xa9` VARCHAR(10)) CHARACTER SET latin1");
    PrivateOdbcFiles files(
        "", "[Latin]\nDriver = MariaDB\nServer = 127.0.0.1\nPort = " + mariaDbPort() +
                "\nDatabase = " + m_name + "\nUser = " + m_user + "\nCHARSET = latin1\n");
    saveAndFillTheLatin1Table(m_sink, "DSN=Latin;PWD={right;pass}}}");
    EXPECT_EQ(DatabaseSession(mariaDbConnectString())
                  .query("SELECT id, `caf\xc3\xa9` FROM " + m_name + ".t"),
              (Rows{{"1", "abc"}}));
}

} // namespace
