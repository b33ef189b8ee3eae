// SPDX-License-Identifier: MIT
// The wizard's pages offscreen, on SQLite data sources named in private driver manager files:
// what each page shows, when the table list is filled again, which table is chosen and what
// Next says when it cannot go on.
#include <memory>

#include <QAbstractButton>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include "odbc/database.h"
#include "tests/support/layoutcheck.h"
#include "tests/support/odbcfiles.h"
#include "tests/support/recordingsink.h"
#include "tests/wizard/answeringchooser.h"
#include "tests/wizard/wizardtesting.h"
#include "wizard/aboutbox.h"
#include "wizard/datasourcedialog.h"
#include "wizard/datasourcepage.h"
#include "wizard/descriptionwizard.h"
#include "wizard/fieldeditdialog.h"
#include "wizard/fieldpage.h"
#include "wizard/tablelistmodel.h"
#include "wizard/tablepage.h"

namespace {

const Message PleaseSpecify{"Please Specify a Data Source", "Inform", MessageIcon::Information,
                            MessageButtons::Ok};
const Message PleaseSelect{"Please select a table.", "Inform", MessageIcon::Information,
                           MessageButtons::Ok};

class Pages : public ::testing::Test
{
protected:
    Pages()
        : m_files("",
                  "[Shop]\nDriver = SQLite3\nDatabase = " + m_folder.file("shop.sqlite") +
                      "\n\n[Depot]\nDriver = SQLite3\nDatabase = " + m_folder.file("depot.sqlite") +
                      "\n\n[Empty]\nDriver = SQLite3\nDatabase = " + m_folder.file("empty.sqlite") +
                      "\n")
    {
        sqliteDatabase(m_folder, "shop.sqlite",
                       {"CREATE TABLE customers (id INTEGER, name TEXT)",
                        "CREATE TABLE orders (id INTEGER, customer INTEGER)",
                        "CREATE TABLE products (id INTEGER, price NUMERIC)",
                        "CREATE TABLE stock (product INTEGER, count INTEGER)"});
        sqliteDatabase(m_folder, "depot.sqlite",
                       {"CREATE TABLE pallets (id INTEGER)", "CREATE TABLE shelves (id INTEGER)"});
        sqliteDatabase(m_folder, "empty.sqlite", {});
        m_wizard = std::make_unique<DescriptionWizard>(m_sink, &m_chooser);
        m_wizard->show();
    }

    void specify(const std::optional<std::string> &answer)
    {
        m_chooser.answers.push_back(answer);
        m_wizard->dataSourcePage()->specifyButton()->click();
    }
    // Presses Next; true when the wizard went on to another page.
    bool next()
    {
        const int before = m_wizard->currentId();
        m_wizard->button(QWizard::NextButton)->click();
        return m_wizard->currentId() != before;
    }
    void back() { m_wizard->button(QWizard::BackButton)->click(); }

    QString description() const { return m_wizard->dataSourcePage()->descriptionLabel()->text(); }
    QTreeView *list() const { return m_wizard->tablePage()->tableList(); }
    TableListModel *model() const { return m_wizard->tablePage()->tableModel(); }
    QString chosen() const { return m_wizard->tablePage()->selectedTableLabel()->text(); }
    QStringList column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < model()->rowCount(); ++row)
            texts << model()->index(row, column).data().toString();
        return texts;
    }
    QStringList names() const { return column(0); }
    QStringList headings() const
    {
        QStringList headings;
        for (int section = 0; section < model()->columnCount(); ++section)
            headings << model()->headerData(section, Qt::Horizontal).toString();
        return headings;
    }
    // Adds a row to the selection, as a Ctrl+click does.
    void select(int row)
    {
        list()->selectionModel()->select(model()->index(row, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    bool isSelected(int row) const { return list()->selectionModel()->isRowSelected(row); }

    TemporaryFolder m_folder;
    PrivateOdbcFiles m_files;
    RecordingSink m_sink;
    AnsweringChooser m_chooser;
    std::unique_ptr<DescriptionWizard> m_wizard;
};

TEST_F(Pages, TheFirstPageHasNothingSpecifiedAndNextIsRefused)
{
    EXPECT_EQ(m_wizard->windowTitle(), "ormund: Specify Data Source");
    EXPECT_EQ(description(), "No Data Source Specified");
    EXPECT_FALSE(m_wizard->button(QWizard::BackButton)->isEnabled());
    EXPECT_FALSE(m_wizard->button(QWizard::FinishButton)->isVisible());
    EXPECT_EQ(m_wizard->wizardStyle(), QWizard::ClassicStyle);
    EXPECT_FALSE(next());
    EXPECT_EQ(m_sink.shown, std::vector<Message>{PleaseSpecify});

    // Cancelling the data source dialog selects nothing.
    specify(std::nullopt);
    EXPECT_EQ(description(), "[No Data Source Selected]");
    EXPECT_FALSE(next());
    EXPECT_EQ(m_sink.shown, (std::vector<Message>{PleaseSpecify, PleaseSpecify}));
    EXPECT_EQ(m_chooser.asked, 1);
}

TEST_F(Pages, ADataSourceIsDescribedAndItsTablesListedInFiveColumns)
{
    specify("DSN=Shop");
    EXPECT_EQ(description(),
              "Data Source Name:  Shop\nData Base:  \nData Base Type:  \nDescription:  ");
    ASSERT_TRUE(next());
    EXPECT_EQ(m_wizard->windowTitle(), "ormund: Select A Table To Be Filled Up With Quillon");
    EXPECT_TRUE(m_wizard->button(QWizard::BackButton)->isEnabled());
    EXPECT_EQ(m_wizard->tablePage()->headingLabel()->text(), "Shop [Tables]");
    EXPECT_EQ(headings(), (QStringList{"Table Name", "Type", "Qualifier", "Owner", "Remarks"}));
    for (int column = 0; column < 5; ++column)
        EXPECT_EQ(list()->columnWidth(column), 100);
    EXPECT_EQ(names(), (QStringList{"customers", "orders", "products", "stock"}));
    EXPECT_EQ(column(1), (QStringList{"TABLE", "TABLE", "TABLE", "TABLE"}));
    EXPECT_EQ(chosen(), "");

    EXPECT_FALSE(next());
    EXPECT_EQ(m_sink.shown, std::vector<Message>{PleaseSelect});
}

TEST_F(Pages, TheTopmostOfSeveralSelectedRowsIsChosenAndStaysWhenTheSelectionGoes)
{
    specify("DSN=Shop");
    ASSERT_TRUE(next());
    select(3);
    EXPECT_EQ(chosen(), "stock");
    select(1);
    EXPECT_EQ(chosen(), "orders");
    select(2);
    EXPECT_EQ(chosen(), "orders");
    list()->selectionModel()->clearSelection();
    EXPECT_EQ(chosen(), "orders");

    ASSERT_TRUE(next());
    EXPECT_EQ(m_wizard->windowTitle(),
              "ormund: Select Fields From A Table To Be Filled Up With Quillon");
    EXPECT_EQ(m_wizard->session().tableName(), "orders");
    ASSERT_NE(m_wizard->session().columns(), nullptr);
    ASSERT_EQ(m_wizard->session().columns()->rows().size(), 2u);
    EXPECT_EQ(m_wizard->session().columns()->rows()[1].name, "customer");
    EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(Pages, TheSameDataSourceKeepsTheListAndTheChoiceAnotherOneRefillsIt)
{
    specify("DSN=Shop");
    ASSERT_TRUE(next());
    select(2);
    ASSERT_TRUE(next());
    const ColumnCatalog *firstColumns = m_wizard->session().columns();
    ASSERT_NE(firstColumns, nullptr);

    // Back to the first page: the same data source again.
    back();
    back();
    specify("DSN=Shop");
    EXPECT_EQ(m_wizard->session().columns(), nullptr);
    ASSERT_TRUE(next());
    EXPECT_EQ(names(), (QStringList{"customers", "orders", "products", "stock"}));
    EXPECT_TRUE(isSelected(2));
    EXPECT_EQ(chosen(), "products");
    // The old column catalogue went with the old connection; Next opens a new one.
    ASSERT_TRUE(next());
    ASSERT_NE(m_wizard->session().columns(), nullptr);
    EXPECT_EQ(m_wizard->session().columns()->rows()[1].name, "price");

    // Another data source: new heading, new rows, no choice, still five columns.
    back();
    back();
    specify("DSN=Depot");
    ASSERT_TRUE(next());
    EXPECT_EQ(m_wizard->tablePage()->headingLabel()->text(), "Depot [Tables]");
    EXPECT_EQ(names(), (QStringList{"pallets", "shelves"}));
    EXPECT_EQ(chosen(), "");
    EXPECT_EQ(model()->columnCount(), 5);
    EXPECT_EQ(headings(), (QStringList{"Table Name", "Type", "Qualifier", "Owner", "Remarks"}));
    EXPECT_FALSE(next());
    EXPECT_EQ(m_sink.shown, std::vector<Message>{PleaseSelect});
    // The table of the last Next stays until Next accepts another.
    EXPECT_EQ(m_wizard->session().tableName(), "products");
}

TEST_F(Pages, ATableNamedLikeTheLastOneInAnotherCaseIsAnotherTable)
{
    DatabaseSession(sqliteConnectString(m_folder.file("shop.sqlite")))
        .execute("CREATE TABLE \"Stock \" (id INTEGER)");
    specify("DSN=Shop");
    ASSERT_TRUE(next());
    const int stock = static_cast<int>(names().indexOf("stock"));
    const int other = static_cast<int>(names().indexOf("Stock "));
    ASSERT_GE(other, 0);
    select(stock);
    ASSERT_TRUE(next());
    EXPECT_EQ(m_wizard->session().columns()->rows()[0].name, "product");
    back();
    list()->selectionModel()->clearSelection();
    select(other);
    ASSERT_TRUE(next());
    EXPECT_EQ(m_wizard->session().tableName(), "Stock ");
    ASSERT_EQ(m_wizard->session().columns()->rows().size(), 1u);
    EXPECT_EQ(m_wizard->session().columns()->rows()[0].name, "id");
}

TEST_F(Pages, AnEmptyDataSourceGivesAnEmptyListWithItsHeadings)
{
    specify("DSN=Empty");
    ASSERT_TRUE(next());
    EXPECT_EQ(model()->rowCount(), 0);
    EXPECT_EQ(headings(), (QStringList{"Table Name", "Type", "Qualifier", "Owner", "Remarks"}));
    EXPECT_FALSE(next());
    EXPECT_EQ(m_sink.shown, std::vector<Message>{PleaseSelect});
}

TEST_F(Pages, CancelClosesTheWizardAtOnce)
{
    specify("DSN=Shop");
    ASSERT_TRUE(next());
    m_wizard->button(QWizard::CancelButton)->click();
    EXPECT_FALSE(m_wizard->isVisible());
    EXPECT_EQ(m_wizard->result(), QDialog::Rejected);
    EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(Pages, AboutShowsTheProgramAndItsVersion)
{
    QString title;
    QString product;
    onNextModal([&](QWidget *modal) {
        title = modal->windowTitle();
        if (auto *label = modal->findChild<QLabel *>("productName"))
            product = label->text();
        qobject_cast<QDialog *>(modal)->accept();
    });
    m_wizard->findChild<QAbstractButton *>("about")->click();
    EXPECT_EQ(title, "About Ormund");
    EXPECT_EQ(product, "Ormund Version 1.01");
}

// --- Layouts --------------------------------------------------------------------------------

class PageLayouts : public Pages, public ::testing::WithParamInterface<const char *>
{};

// The pages and the dialogs: the wizard grows to what its texts need.
TEST_P(PageLayouts, LeaveEveryTextWholeAndNothingOverlapping)
{
    const layoutcheck::Condition condition(GetParam(), QStringLiteral("ormund"));
    m_wizard = std::make_unique<DescriptionWizard>(m_sink, &m_chooser);
    m_wizard->show();
    layoutcheck::expectLaidOut(*m_wizard->dataSourcePage());
    specify("DSN=Shop");
    ASSERT_TRUE(next());
    layoutcheck::expectLaidOut(*m_wizard->tablePage());
    select(0);
    ASSERT_TRUE(next());
    layoutcheck::expectLaidOut(*m_wizard->fieldPage());
    OdbcDatabase database;
    DataSourceDialog sources(database, m_sink);
    sources.show();
    layoutcheck::expectLaidOut(sources);
    FieldEditDialog edit(FieldRow{"born", "born", "", "DATE", "10", "No", "9"}, m_sink);
    edit.show();
    layoutcheck::expectLaidOut(edit);
    if (condition.german()) {
        EXPECT_EQ(edit.findChild<QLabel *>("fieldType")->text().toStdString(),
                  "DATE (Format: MM/TT/JJJJ)");
        EXPECT_EQ(m_wizard->windowTitle().toStdString(),
                  "ormund: Felder der Tabelle wählen, die Quillon füllen soll");
        EXPECT_EQ(m_wizard->button(QWizard::BackButton)->text().toStdString(), "< &Zurück");
    }
    m_wizard.reset();
}

INSTANTIATE_TEST_SUITE_P(Wizard, PageLayouts, layoutcheck::conditions(),
                         layoutcheck::conditionName);

} // namespace
