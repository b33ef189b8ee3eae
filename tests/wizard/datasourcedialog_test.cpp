// SPDX-License-Identifier: MIT
// The data source dialog offscreen, on the data sources of private driver manager files: what
// it lists, what OK and Cancel leave behind, the login and a failing connect in the driver's
// words, and a file data source through the whole first page.
#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "odbc/database.h"
#include "tests/support/odbcfiles.h"
#include "tests/support/recordingsink.h"
#include "tests/wizard/wizardtesting.h"
#include "wizard/datasourcedialog.h"
#include "wizard/datasourcepage.h"
#include "wizard/descriptionwizard.h"
#include "wizard/session.h"

namespace {

QStringList row(const QTreeWidgetItem *item)
{
    QStringList cells;
    for (int column = 0; column < item->columnCount(); ++column)
        cells << item->text(column);
    return cells;
}

QPushButton *okButton(const DataSourceDialog &dialog)
{
    return dialog.buttons()->button(QDialogButtonBox::Ok);
}

class Dialog : public ::testing::Test
{
protected:
    // A SQLite database with one table, made after the driver manager files.
    std::string database(const std::string &name)
    {
        return sqliteDatabase(m_folder, name, {"CREATE TABLE IF NOT EXISTS t (id INTEGER)"});
    }

    TemporaryFolder m_folder;
    RecordingSink m_sink;
    OdbcDatabase m_database;
};

TEST_F(Dialog, ListsTheUserAndTheSystemDataSourcesWithDriverAndDescription)
{
    const PrivateOdbcFiles files(
        "[Warehouse]\nDriver = SQLite3\nDescription = Stock and shelves\n"
        "Database = " +
            m_folder.file("w.sqlite") + "\n",
        "[Shop]\nDriver = SQLite3\nDatabase = " + m_folder.file("s.sqlite") + "\n");
    database("w.sqlite");
    database("s.sqlite");
    DataSourceDialog dialog(m_database, m_sink);
    EXPECT_EQ(dialog.windowTitle(), "Select Data Source");
    EXPECT_EQ(dialog.tabs()->tabText(0), "Machine Data Source");
    EXPECT_EQ(dialog.tabs()->tabText(1), "File Data Source");
    QTreeWidget *list = dialog.machineList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(row(list->topLevelItem(0)), (QStringList{"Shop", "User", "SQLite3", ""}));
    EXPECT_EQ(row(list->topLevelItem(1)),
              (QStringList{"Warehouse", "System", "SQLite3", "Stock and shelves"}));
    // The first one is chosen; an embedded database needs no login.
    EXPECT_TRUE(list->topLevelItem(0)->isSelected());
    EXPECT_TRUE(okButton(dialog)->isEnabled());
    EXPECT_FALSE(dialog.loginBox()->isEnabled());

    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_EQ(dialog.chosenConnectString(), "DSN=Warehouse");
    okButton(dialog)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(m_database.isOpen());
    EXPECT_TRUE(m_database.connectString().starts_with("ODBC;DSN=Warehouse;"))
        << m_database.connectString();
    EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(Dialog, WithoutDataSourcesItSaysHowToAddOne)
{
    const PrivateOdbcFiles files("", "");
    DataSourceDialog dialog(m_database, m_sink);
    EXPECT_EQ(dialog.machineList()->topLevelItemCount(), 0);
    EXPECT_EQ(dialog.noMachineSourceLabel()->text(), NoMachineDataSourceText);
    EXPECT_EQ(qobject_cast<QStackedWidget *>(dialog.noMachineSourceLabel()->parentWidget())
                  ->currentWidget(),
              dialog.noMachineSourceLabel());
    EXPECT_FALSE(okButton(dialog)->isEnabled());
}

TEST_F(Dialog, ALoginIsTakenFromTheDataSourceAndCanBeChanged)
{
    const PrivateOdbcFiles files("[Accounts]\nDriver = PostgreSQL ANSI\nServername = 127.0.0.1\n"
                                 "Username = clerk\nPassword = secret\n",
                                 "");
    DataSourceDialog dialog(m_database, m_sink);
    EXPECT_TRUE(dialog.loginBox()->isEnabled());
    EXPECT_EQ(dialog.userNameEdit()->text(), "clerk");
    EXPECT_EQ(dialog.passwordEdit()->text(), "secret");
    EXPECT_EQ(dialog.passwordEdit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.chosenConnectString(), "DSN=Accounts;UID=clerk;PWD=secret");
    dialog.userNameEdit()->setText("boss");
    dialog.passwordEdit()->setText("a;b}");
    EXPECT_EQ(dialog.chosenConnectString(), "DSN=Accounts;UID=boss;PWD={a;b}}}");
    dialog.passwordEdit()->clear();
    EXPECT_EQ(dialog.chosenConnectString(), "DSN=Accounts;UID=boss");
}

TEST_F(Dialog, AFailedConnectShowsTheDriversWordsAndTheDialogStays)
{
    const PrivateOdbcFiles files(
        "", "[Gone]\nDriver = SQLite3\nNoCreat = 1\nDatabase = " + m_folder.file("gone.sqlite") +
                "\n[Here]\nDriver = SQLite3\nDatabase = " + m_folder.file("here.sqlite") + "\n");
    database("here.sqlite");
    DataSourceDialog dialog(m_database, m_sink);
    dialog.show();
    okButton(dialog)->click();
    const Message failed{"[SQLite]connect failed", "Ormund", MessageIcon::Stop, MessageButtons::Ok};
    EXPECT_EQ(m_sink.shown, std::vector<Message>{failed});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(m_database.isOpen());

    dialog.machineList()->setCurrentItem(dialog.machineList()->topLevelItem(1));
    okButton(dialog)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(m_database.isOpen());
}

TEST_F(Dialog, CancelConnectsNothing)
{
    const PrivateOdbcFiles files(
        "", "[Shop]\nDriver = SQLite3\nDatabase = " + m_folder.file("s.sqlite") + "\n");
    database("s.sqlite");
    DialogDataSourceChooser chooser(nullptr, m_sink);
    onNextModal([](QWidget *modal) {
        auto *dialog = qobject_cast<DataSourceDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->buttons()->button(QDialogButtonBox::Cancel)->click();
    });
    EXPECT_FALSE(chooser.choose(m_database));
    EXPECT_FALSE(m_database.isOpen());
    EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(Dialog, AFileDataSourceConnectsButThePageRefusesIt)
{
    const PrivateOdbcFiles files(
        "", "[Shop]\nDriver = SQLite3\nDatabase = " + m_folder.file("s.sqlite") + "\n");
    database("s.sqlite");
    const std::filesystem::path folder = files.folder() / "ODBCDataSources";
    std::filesystem::create_directory(folder);
    writeBytes(folder / "shop.dsn",
               "[ODBC]\nDRIVER=SQLite3\nDatabase=" + database("s.sqlite") + "\n");

    DescriptionWizard wizard(m_sink);
    wizard.show();
    onNextModal([&folder](QWidget *modal) {
        auto *dialog = qobject_cast<DataSourceDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->tabs()->setCurrentIndex(DataSourceDialog::FileTab);
        ASSERT_EQ(dialog->fileList()->count(), 1);
        EXPECT_EQ(dialog->fileList()->item(0)->text(), "shop.dsn");
        dialog->fileList()->setCurrentRow(0);
        EXPECT_EQ(dialog->fileNameEdit()->text().toStdString(), (folder / "shop.dsn").string());
        EXPECT_EQ(dialog->chosenConnectString(), "FILEDSN=" + (folder / "shop.dsn").string());
        dialog->buttons()->button(QDialogButtonBox::Ok)->click();
    });
    wizard.dataSourcePage()->specifyButton()->click();
    const Message refused{"You may have used \"File Data Source\" tab.\nPlease use \"Machine Data "
                          "Source\" tab to specify your Data Source Name.",
                          "Inform", MessageIcon::None, MessageButtons::Ok};
    EXPECT_EQ(m_sink.shown, std::vector<Message>{refused});
    EXPECT_EQ(wizard.dataSourcePage()->descriptionLabel()->text(), "[No Data Source Selected]");
    EXPECT_FALSE(wizard.session().isConnected());
}

TEST_F(Dialog, AFileDataSourceThatNamesALibraryIsRefusedAndNothingLoads)
{
    const PrivateOdbcFiles files("", "");
    const std::filesystem::path folder = files.folder() / "ODBCDataSources";
    std::filesystem::create_directory(folder);
    writeBytes(folder / "evil.dsn", "[ODBC]\nDRIVER=" QUILLON_MARKER_A "\n");
    TemporaryFolder markers;
    setenv("QUILLON_MARKER_DIR", markers.path().c_str(), 1);

    DescriptionWizard wizard(m_sink);
    wizard.show();
    onNextModal([&folder](QWidget *modal) {
        auto *dialog = qobject_cast<DataSourceDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->tabs()->setCurrentIndex(DataSourceDialog::FileTab);
        dialog->fileNameEdit()->setText(QString::fromStdString((folder / "evil.dsn").string()));
        dialog->buttons()->button(QDialogButtonBox::Ok)->click();
        // Refused: the dialog stays open until the user gives up.
        dialog->reject();
    });
    wizard.dataSourcePage()->specifyButton()->click();
    unsetenv("QUILLON_MARKER_DIR");
    ASSERT_FALSE(m_sink.shown.empty());
    EXPECT_EQ(m_sink.shown[0].caption, "Ormund");
    EXPECT_EQ(m_sink.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_NE(m_sink.shown[0].text.find("DRIVER"), std::string::npos) << m_sink.shown[0].text;
    EXPECT_TRUE(std::filesystem::is_empty(markers.path()));
    EXPECT_FALSE(wizard.session().isConnected());
}

} // namespace
