// SPDX-License-Identifier: MIT
// The field page, the field dialog and Finish offscreen: the rules that move fields between the
// two lists, the title and default of a field, and the description that Finish saves from a
// SQLite table, read back by quillon-row.
#include <algorithm>
#include <csignal>
#include <memory>
#include <optional>

#include <sys/resource.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "fieldvalues/fieldtypes.h"
#include "odbc/connectionpolicy.h"
#include "odbc/connectionstring.h"
#include "tests/support/odbcfiles.h"
#include "tests/support/recordingsink.h"
#include "tests/wizard/answeringchooser.h"
#include "tests/wizard/wizardtesting.h"
#include "wizard/datasourcepage.h"
#include "wizard/descriptionwizard.h"
#include "wizard/fieldeditdialog.h"
#include "wizard/fieldpage.h"
#include "wizard/tablelistmodel.h"
#include "wizard/tablepage.h"

namespace {

Message inform(const std::string &text)
{
    return Message{text, "Inform", MessageIcon::Information, MessageButtons::Ok};
}

const Message CounterMessage =
    inform("A Field of type \"COUNTER\" will be automatically filled up.");
const Message BinaryMessage =
    inform("Quillon cannot fill up a field of type binary.\nSkip this field.");
const Message LimitMessage = inform("You have selected 30 fields.\nNo more field can be added.");
const Message PleaseSelectFields = inform("Please select fields to be filled up");
const Message StartQuestion{
    "Database table information has been saved.\nDo you want to start Quillon now ?", "Ormund",
    MessageIcon::Question, MessageButtons::YesNo};

// A catalogue row as a driver gives it; nullopt stands for NULL.
ColumnCatalogRow column(const std::string &name, std::optional<std::int32_t> sqlType = 12,
                        const std::string &typeName = "VARCHAR",
                        std::optional<std::int32_t> length = 10,
                        std::optional<std::int32_t> nullable = 1)
{
    ColumnCatalogRow row;
    row.table = "items";
    row.name = name;
    row.dataType = sqlType;
    row.typeName = typeName;
    row.length = length;
    row.nullable = nullable;
    return row;
}

std::vector<ColumnCatalogRow> ordinaryColumns(int count)
{
    std::vector<ColumnCatalogRow> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back(column((i < 10 ? "f0" : "f") + std::to_string(i)));
    return rows;
}

QStringList column(const QTreeWidget *list, int column)
{
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        texts << list->topLevelItem(row)->text(column);
    return texts;
}

QStringList names(int from, int to)
{
    QStringList names;
    for (int i = from; i <= to; ++i)
        names << QString::asprintf("f%02d", i);
    return names;
}

class FieldRules : public ::testing::Test
{
protected:
    FieldRules() : m_wizard(m_sink, &m_chooser) {}

    FieldPage &page() { return *m_wizard.fieldPage(); }
    QTreeWidget *left() { return page().tableFieldsList(); }
    QTreeWidget *right() { return page().selectedList(); }
    void mark(QTreeWidget *list, int row) { list->topLevelItem(row)->setSelected(true); }
    bool selectAvailable()
    {
        EXPECT_EQ(page().selectButton()->isEnabled(), page().selectAllButton()->isEnabled());
        return page().selectButton()->isEnabled();
    }

    RecordingSink m_sink;
    AnsweringChooser m_chooser;
    DescriptionWizard m_wizard;
};

TEST_F(FieldRules, TheListsShowTheCatalogueOnceANameWhateverItsCase)
{
    const std::vector<ColumnCatalogRow> rows = {
        column("id", 4, "INTEGER", 10, 0),
        column("Name", 12, "VARCHAR", 20, 1),
        column("NAME", 12, "VARCHAR", 30, 0),
        column("odd", 4, "INTEGER", std::nullopt, 2),
        column("raw", std::nullopt, "BLOB", 0, std::nullopt),
    };
    page().fillLists(&rows);
    EXPECT_EQ(column(left(), 0), (QStringList{"id", "Name", "odd", "raw"}));
    EXPECT_EQ(column(left(), 1), (QStringList{"INTEGER", "VARCHAR", "INTEGER", "BLOB"}));
    EXPECT_EQ(column(left(), 2), (QStringList{"10", "20", "", "0"}));
    EXPECT_EQ(column(left(), 3), (QStringList{"Yes", "No", "Unknown", "Unknown"}));
    EXPECT_EQ(column(left(), 4), (QStringList{"4", "12", "4", ""}));
    const QStringList leftHeadings{"Field Name", "Type", "Length", "Required", "SQL Type"};
    const QStringList rightHeadings{"Field Name", "Title",    "Default Value", "Type",
                                    "Length",     "Required", "SQL Type"};
    const int leftWidths[] = {100, 100, 50, 80, 30};
    const int rightWidths[] = {100, 80, 100, 100, 50, 80, 30};
    // The header keeps a column at least as wide as its font needs: that minimum is the font's,
    // the rest is the list's.
    auto width = [](const QTreeWidget *list, int wanted) {
        return std::max(wanted, list->header()->minimumSectionSize());
    };
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(left()->headerItem()->text(column), leftHeadings[column]);
        EXPECT_EQ(left()->columnWidth(column), width(left(), leftWidths[column]));
    }
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(right()->headerItem()->text(column), rightHeadings[column]);
        EXPECT_EQ(right()->columnWidth(column), width(right(), rightWidths[column]));
    }
    EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(FieldRules, TheLimitOfThirtyTakesTheMarkedFieldsLowestInTheList)
{
    const std::vector<ColumnCatalogRow> rows = ordinaryColumns(33);
    page().fillLists(&rows);
    for (int row = 0; row < 28; ++row)
        mark(left(), row);
    page().selectButton()->click();
    EXPECT_EQ(column(right(), 0), names(1, 28));
    EXPECT_TRUE(selectAvailable());

    for (int row = 0; row < 5; ++row)
        mark(left(), row);
    page().selectButton()->click();
    EXPECT_EQ(column(right(), 0), names(1, 28) + names(32, 33));
    EXPECT_EQ(column(left(), 0), names(29, 31));
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(left()->topLevelItem(row)->isSelected());
    EXPECT_FALSE(selectAvailable());
    EXPECT_TRUE(m_sink.shown.empty());

    // A double click in the left list still asks.
    page().selectFields();
    EXPECT_EQ(m_sink.shown, std::vector<Message>{LimitMessage});
    EXPECT_EQ(right()->topLevelItemCount(), 30);
}

TEST_F(FieldRules, SelectAllTakesTheLastThirtyInTableOrder)
{
    const std::vector<ColumnCatalogRow> rows = ordinaryColumns(40);
    page().fillLists(&rows);
    page().selectAllButton()->click();
    EXPECT_EQ(column(right(), 0), names(11, 40));
    EXPECT_EQ(column(left(), 0), names(1, 10));
    EXPECT_FALSE(selectAvailable());

    // Every one goes back, to the end of the left list in the selected order.
    page().unselectAllButton()->click();
    EXPECT_EQ(column(left(), 0), names(1, 10) + names(11, 40));
    EXPECT_EQ(right()->topLevelItemCount(), 0);
    EXPECT_TRUE(selectAvailable());
}

TEST_F(FieldRules, FieldsThatCannotBeFilledStayWithAMessageEach)
{
    struct Case
    {
        ColumnCatalogRow column;
        std::optional<Message> refusal;
    } cases[] = {
        {column("auto", 4, "COUNTER", 10, 0), CounterMessage},
        {column("lower", 4, "counter", 10, 0), std::nullopt},
        {column("bin", -2, "BINARY", 16, 1), BinaryMessage},
        {column("varbin", -3, "VARBINARY", 16, 1), BinaryMessage},
        {column("longbin", -4, "LONGVARBINARY", 16, 1), BinaryMessage},
        {column("nolength", 12, "VARCHAR", std::nullopt, 1),
         inform("The driver gives no length for the field \"nolength\".\nQuillon needs a length "
                "of at least 1 to fill up a field.\nSkip this field.")},
        {column("zero", 12, "VARCHAR", 0, 1),
         inform("The field \"zero\" has a length of 0.\nQuillon needs a length of at least 1 to "
                "fill up a field.\nSkip this field.")},
        {column("negative", 12, "VARCHAR", -4, 1),
         inform("The field \"negative\" has a length of -4.\nQuillon needs a length of at least "
                "1 to fill up a field.\nSkip this field.")},
        {column("untyped", std::nullopt, "UNKNOWN", 10, 1),
         inform("The driver gives no SQL type for the field \"untyped\".\nQuillon needs the type "
                "to check the field's values.\nSkip this field.")},
        {column("one", 1, "CHAR", 1, 1), std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.column.name);
        m_sink.shown.clear();
        const std::vector<ColumnCatalogRow> rows = {c.column};
        page().fillLists(&rows);
        mark(left(), 0);
        page().selectButton()->click();
        if (c.refusal) {
            EXPECT_EQ(m_sink.shown, std::vector<Message>{*c.refusal});
            EXPECT_EQ(left()->topLevelItemCount(), 1);
            EXPECT_EQ(right()->topLevelItemCount(), 0);
        } else {
            EXPECT_TRUE(m_sink.shown.empty());
            EXPECT_EQ(column(right(), 0), QStringList{QString::fromStdString(c.column.name)});
        }
    }

    // ">>" says so once for each, from the end of the list, and moves the rest.
    const std::vector<ColumnCatalogRow> rows = {
        column("a"), column("bin", -2, "BINARY"),         column("auto", 4, "COUNTER"),
        column("b"), column("blob", -4, "LONGVARBINARY"), column("c")};
    m_sink.shown.clear();
    page().fillLists(&rows);
    page().selectAllButton()->click();
    EXPECT_EQ(m_sink.shown, (std::vector<Message>{BinaryMessage, CounterMessage, BinaryMessage}));
    EXPECT_EQ(column(right(), 0), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(column(left(), 0), (QStringList{"bin", "auto", "blob"}));
}

TEST_F(FieldRules, TitlesStartAsSevenCharactersAndGoWhenTheFieldGoesBack)
{
    const std::vector<ColumnCatalogRow> rows = {column("abcdefghij"), column("short"),
                                                column("third"), column("fourth")};
    page().fillLists(&rows);
    page().selectAllButton()->click();
    EXPECT_EQ(column(right(), 1), (QStringList{"abcdefg", "short", "third", "fourth"}));
    EXPECT_EQ(column(right(), 2), (QStringList{"", "", "", ""}));
    EXPECT_EQ(column(right(), 3), (QStringList{"VARCHAR", "VARCHAR", "VARCHAR", "VARCHAR"}));
    right()->topLevelItem(1)->setText(1, "S");
    right()->topLevelItem(1)->setText(2, "kept?");

    mark(right(), 3);
    mark(right(), 1);
    page().unselectButton()->click();
    EXPECT_EQ(column(left(), 0), (QStringList{"short", "fourth"}));
    EXPECT_EQ(column(right(), 0), (QStringList{"abcdefghij", "third"}));
    EXPECT_TRUE(selectAvailable());

    mark(left(), 0);
    page().selectButton()->click();
    EXPECT_EQ(column(right(), 1), (QStringList{"abcdefg", "third", "short"}));
    EXPECT_EQ(column(right(), 2), (QStringList{"", "", ""}));
}

TEST_F(FieldRules, FinishIsRefusedWhileARequiredFieldIsLeftOver)
{
    const Message binaryRequired = inform(
        "The field \"pic\" is required has type of \"binary\".\nQuillon can NOT work with this "
        "table\n\n[Solution]: Go to MS Access, change this field to another type\nor make it not "
        "required.");
    struct Case
    {
        ColumnCatalogRow leftOver;
        std::optional<Message> refusal;
    } cases[] = {
        {column("pic", -4, "LONGVARBINARY", 100, 0), binaryRequired},
        {column("pic", -4, "LONGVARBINARY", 100, 2), binaryRequired},
        {column("pic", -4, "LONGVARBINARY", 100, 1), std::nullopt},
        {column("auto", 4, "COUNTER", 10, 0), std::nullopt},
        {column("lower", 4, "counter", 10, 0),
         inform("The field \"lower\" is required.\nPlease select it.")},
        {column("odd", 12, "VARCHAR", 10, std::nullopt),
         inform("The field \"odd\" is required.\nPlease select it.")},
        {column("free", 12, "VARCHAR", 10, 1), std::nullopt},
        {column("sized", 12, "VARCHAR", 0, 0),
         inform("The field \"sized\" is required and has no length that Quillon can use.\n"
                "Quillon can NOT work with this table\n\n[Solution]: change this field to a "
                "type with a length\nor make it not required.")},
        {column("sized", 12, "VARCHAR", std::nullopt, 1), std::nullopt},
        {column("untyped", std::nullopt, "UNKNOWN", 10, 0),
         inform("The field \"untyped\" is required and has no SQL type that Quillon can use.\n"
                "Quillon can NOT work with this table\n\n[Solution]: give this field a type\nor "
                "make it not required.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.leftOver.name);
        m_sink.shown.clear();
        const std::vector<ColumnCatalogRow> rows = {column("chosen"), c.leftOver,
                                                    column("later", 4, "INTEGER", 10, 0)};
        page().fillLists(&rows);
        mark(left(), 0);
        page().selectButton()->click();
        EXPECT_TRUE(page().checkLeftOverFields());
        if (c.refusal)
            EXPECT_EQ(m_sink.shown, std::vector<Message>{*c.refusal});
        else
            EXPECT_EQ(m_sink.shown, std::vector<Message>{inform(
                                        "The field \"later\" is required.\nPlease select it.")});
    }

    // A required field that the list leaves out because its name differs from a listed one in
    // case alone is named; one that is not required is no obstacle.
    for (const std::optional<std::int32_t> nullable : {0, 1}) {
        m_sink.shown.clear();
        const std::vector<ColumnCatalogRow> rows = {column("Name"),
                                                    column("NAME", 12, "VARCHAR", 10, nullable)};
        page().fillLists(&rows);
        page().selectAllFields();
        EXPECT_EQ(page().checkLeftOverFields(), nullable == 0);
        if (nullable == 0)
            EXPECT_EQ(m_sink.shown,
                      std::vector<Message>{inform(
                          "The field \"NAME\" is required, and its name differs from the field "
                          "\"Name\" in case alone: Quillon lists only \"Name\".\nQuillon can NOT "
                          "work with this table\n\n[Solution]: rename one of the two fields\nor "
                          "make \"NAME\" not required.")});
        else
            EXPECT_TRUE(m_sink.shown.empty());
    }

    // An empty selection is said first, before any field left over.
    m_sink.shown.clear();
    page().unselectAllFields();
    EXPECT_FALSE(page().finishWizard());
    EXPECT_EQ(m_sink.shown, std::vector<Message>{PleaseSelectFields});
}

TEST_F(FieldRules, ADriverThatListsNoColumnsIsSaidSo)
{
    const std::vector<ColumnCatalogRow> rows = ordinaryColumns(3);
    page().fillLists(&rows);
    page().selectAllButton()->click();
    page().fillLists(nullptr);
    EXPECT_EQ(left()->topLevelItemCount(), 0);
    EXPECT_EQ(right()->topLevelItemCount(), 0);
    EXPECT_EQ(m_sink.shown,
              std::vector<Message>{inform("The driver of this data source does not list the fields "
                                          "of a table.\nNo field can be selected.")});
}

TEST(CarriesPassword, APasswordKeyWithAValueInAnyCase)
{
    struct Case
    {
        const char *connect;
        bool carries;
    } cases[] = {{"DSN=a;PWD=x", true},      {"ODBC;DSN=a;pwd=x", true},
                 {"DSN=a;Password=x", true}, {"DSN=a;PASSWORD={x;y}", true},
                 {"DSN=a; Pwd =x", true},    {"DSN=a;PWD=", false},
                 {"DSN=a;UID=PWD", false},   {"DSN=a;Database=pwd=x", false}};
    for (const Case &c : cases)
        EXPECT_EQ(carriesPassword(c.connect), c.carries) << c.connect;
}

// The dialog on one field of the selected list.
FieldRow field(const std::string &sqlType, const std::string &defaultValue = "",
               const std::string &required = "No")
{
    return FieldRow{"born", "born", defaultValue, "TYPE", "10", required, sqlType};
}

TEST(FieldEditDialog, TheTitleIsSevenCharactersAndNotEmpty)
{
    RecordingSink sink;
    FieldEditDialog dialog(field("4"), sink);
    EXPECT_EQ(dialog.windowTitle(), "Edit Field Title & Default Value");
    dialog.titleEdit()->clear();
    QTest::keyClicks(dialog.titleEdit(), "Birthday!");
    EXPECT_EQ(dialog.title(), "Birthda");
    // Seven bytes as the file keeps them: three of two bytes and one more of one.
    dialog.titleEdit()->clear();
    for (const QChar c : QString::fromUtf8("\u00e9\u00e9\u00e9\u00e9ab"))
        dialog.titleEdit()->insert(c);
    EXPECT_EQ(dialog.title(), "\u00e9\u00e9\u00e9a");
    // A default is kept to the 256 bytes of the file.
    dialog.defaultEdit()->insert(QString(255, QLatin1Char('x')));
    dialog.defaultEdit()->insert(QString::fromUtf8("\u00e9"));
    dialog.defaultEdit()->insert(QStringLiteral("y"));
    EXPECT_EQ(dialog.defaultValue(), std::string(255, 'x') + "y");
    dialog.defaultEdit()->clear();

    dialog.titleEdit()->clear();
    dialog.accept();
    EXPECT_EQ(sink.shown, (std::vector<Message>{{"Field Title cannot be empty.", "Error",
                                                 MessageIcon::None, MessageButtons::Ok}}));
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    QTest::keyClicks(dialog.titleEdit(), "   ");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.title(), "   ");
    EXPECT_EQ(sink.shown.size(), 1u);
}

TEST(FieldEditDialog, ADefaultIsCheckedButKeptAsTyped)
{
    struct Case
    {
        std::string sqlType;
        std::string typed;
    } cases[] = {{"4", "12x"}, {"9", "31/02/2024"}, {"4", "1,234"}, {"9", "12/25/2024"}, {"4", ""}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        RecordingSink sink;
        FieldEditDialog dialog(field(c.sqlType), sink);
        dialog.defaultEdit()->setText(QString::fromStdString(c.typed));
        std::string copy = c.typed;
        std::string error;
        const bool acceptable = c.typed.empty() || checkFieldValue(copy, std::stoi(c.sqlType), 10,
                                                                   error, CheckMode::Wizard);
        dialog.accept();
        if (acceptable) {
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_TRUE(sink.shown.empty());
            EXPECT_EQ(dialog.defaultValue(), c.typed);
        } else {
            EXPECT_NE(dialog.result(), QDialog::Accepted);
            ASSERT_FALSE(error.empty());
            EXPECT_EQ(sink.shown, (std::vector<Message>{{error, "Default Value Not Valid.",
                                                         MessageIcon::None, MessageButtons::Ok}}));
            EXPECT_EQ(dialog.defaultEdit()->text().toStdString(), c.typed);
        }
    }
}

TEST(FieldEditDialog, DatesAndTimestampsMayTakeTheActualTime)
{
    struct Case
    {
        std::string sqlType;
        bool offered;
    } cases[] = {{"9", true}, {"11", true}, {"10", false}, {"12", false}, {"4", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sqlType);
        RecordingSink sink;
        FieldEditDialog dialog(field(c.sqlType, "", "Unknown"), sink);
        EXPECT_EQ(dialog.actualDateTimeBox()->isHidden(), !c.offered);
        EXPECT_EQ(dialog.noteLabel()->text(),
                  "Note: This is a required field. Default value is recommended.");
        if (!c.offered)
            continue;
        dialog.actualDateTimeBox()->click();
        EXPECT_EQ(dialog.defaultEdit()->text(), "Actual Date/Time");
        EXPECT_FALSE(dialog.defaultEdit()->isEnabled());
        dialog.actualDateTimeBox()->click();
        EXPECT_EQ(dialog.defaultEdit()->text(), "");
        EXPECT_TRUE(dialog.defaultEdit()->isEnabled());
        dialog.actualDateTimeBox()->click();
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.defaultValue(), "Actual Date/Time");
        EXPECT_TRUE(sink.shown.empty());

        // Opened again on that default: ticked, the default field disabled.
        FieldEditDialog again(field(c.sqlType, "Actual Date/Time"), sink);
        EXPECT_TRUE(again.actualDateTimeBox()->isChecked());
        EXPECT_FALSE(again.defaultEdit()->isEnabled());
        EXPECT_EQ(again.noteLabel()->text(),
                  "Note: Default value is optional for this field. You may leave it blank");
    }
    RecordingSink sink;
    FieldEditDialog time(field("10", "Actual Date/Time"), sink);
    EXPECT_FALSE(time.actualDateTimeBox()->isChecked());
    EXPECT_TRUE(time.defaultEdit()->isEnabled());
    FieldEditDialog integer(FieldRow{"n", "n", "", "INTEGER", "10", "No", "4"}, sink);
    EXPECT_EQ(integer.typeLabel()->text().toStdString(), "INTEGER " + fieldHint(4, 10));
}

// Finish on a SQLite table chosen through the pages, saved through the Save dialog.
class Finish : public ::testing::Test
{
protected:
    Finish()
        : m_files("", "[Shop]\nDriver = SQLite3\nDatabase = " + m_folder.file("shop.sqlite") + "\n")
    {
        sqliteDatabase(m_folder, "shop.sqlite",
                       {"CREATE TABLE people (id INTEGER NOT NULL, name VARCHAR(20), born DATE, "
                        "photo BLOB)",
                        "CREATE TABLE other (code CHAR(4))"});
        m_wizard = std::make_unique<DescriptionWizard>(m_sink, &m_chooser);
        m_wizard->setPickerStarter([this](const std::string &path, LaunchFailure *) {
            m_started.push_back(path);
            return true;
        });
        m_wizard->show();
    }

    void toFields(const std::string &connect, const QString &table)
    {
        m_chooser.answers.push_back(connect);
        goToFields(*m_wizard, table);
        ASSERT_EQ(m_wizard->currentId(), DescriptionWizard::FieldPageId);
    }
    FieldPage &page() { return *m_wizard->fieldPage(); }

    // Presses Finish and answers the Save dialog with `name` in the folder (nothing: Cancel).
    void finish(const std::optional<QString> &name)
    {
        onNextModal([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->selectedFiles().value(0).section(QLatin1Char('/'), -1),
                      "default.dtd");
            if (!name) {
                dialog->reject();
                return;
            }
            dialog->selectFile(QString::fromStdString(m_folder.file(name->toStdString())));
            static_cast<QDialog *>(dialog)->accept();
        });
        m_wizard->button(QWizard::FinishButton)->click();
    }

    TemporaryFolder m_folder;
    PrivateOdbcFiles m_files;
    RecordingSink m_sink;
    AnsweringChooser m_chooser;
    std::unique_ptr<DescriptionWizard> m_wizard;
    std::vector<std::string> m_started;
};

TEST_F(Finish, TheSavedDescriptionHoldsTheListAsShownAndThePickerStartsOnIt)
{
    toFields("DSN=Shop", "people");
    EXPECT_EQ(page().headingLabel()->text(), "Fields In Table people");
    QTreeWidget *left = page().tableFieldsList();
    EXPECT_EQ(column(left, 0), (QStringList{"id", "name", "born", "photo"}));
    page().selectAllButton()->click();
    ASSERT_EQ(m_sink.shown, std::vector<Message>{BinaryMessage});
    m_sink.shown.clear();

    // The date field gets the actual time through the dialog, the name a title of its own.
    QTreeWidget *right = page().selectedList();
    const QStringList names = column(right, 0);
    ASSERT_EQ(names, (QStringList{"id", "name", "born"}));
    right->topLevelItem(2)->setSelected(true);
    onNextModal([](QWidget *modal) {
        auto *dialog = qobject_cast<FieldEditDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->actualDateTimeBox()->click();
        dialog->accept();
    });
    emit right->itemDoubleClicked(right->topLevelItem(2), 0);
    right->clearSelection();
    right->topLevelItem(1)->setSelected(true);
    onNextModal([](QWidget *modal) {
        auto *dialog = qobject_cast<FieldEditDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->titleEdit()->setText("Who");
        dialog->defaultEdit()->setText("nobody");
        dialog->accept();
    });
    emit right->itemDoubleClicked(right->topLevelItem(1), 0);
    EXPECT_EQ(column(right, 2), (QStringList{"", "nobody", "Actual Date/Time"}));

    // An existing file is replaced without a question; a name without extension gets ".dtd".
    writeBytes(m_folder.path() / "people.dtd", "old");
    finish(QStringLiteral("people"));
    EXPECT_FALSE(m_wizard->isVisible());
    EXPECT_EQ(m_wizard->result(), QDialog::Accepted);
    EXPECT_EQ(m_sink.shown, std::vector<Message>{StartQuestion});
    const std::string saved = m_folder.file("people.dtd");
    EXPECT_EQ(m_started, std::vector<std::string>{saved});

    const std::string expected = expectedDescription(*m_wizard);
    EXPECT_EQ(describe(saved), expected);
    EXPECT_TRUE(checkConnectString(expected.substr(0, expected.find('\n'))).allowed);
    EXPECT_NE(expected.find("born\tborn\tActual Date/Time\tDATE\t"), std::string::npos);
}

TEST_F(Finish, AnotherTableEmptiesBothListsTheSameTableKeepsThem)
{
    toFields("DSN=Shop", "people");
    page().selectAllButton()->click();
    page().selectedList()->topLevelItem(0)->setText(1, "kept");
    m_wizard->back();
    m_wizard->next();
    EXPECT_EQ(column(page().selectedList(), 1), (QStringList{"kept", "name", "born"}));

    m_wizard->back();
    chooseTable(*m_wizard, QStringLiteral("other"));
    ASSERT_EQ(m_wizard->tablePage()->selectedTable(), "other");
    m_wizard->next();
    EXPECT_EQ(page().headingLabel()->text(), "Fields In Table other");
    EXPECT_EQ(column(page().tableFieldsList(), 0), QStringList{"code"});
    EXPECT_EQ(page().selectedList()->topLevelItemCount(), 0);
    EXPECT_TRUE(page().selectButton()->isEnabled());
    EXPECT_TRUE(page().selectAllButton()->isEnabled());
}

TEST_F(Finish, CancelAndNoKeepWhatTheyShould)
{
    toFields("DSN=Shop", "other");
    page().selectAllButton()->click();
    finish(std::nullopt);
    EXPECT_TRUE(m_wizard->isVisible());
    EXPECT_TRUE(m_sink.shown.empty());

    // No: the file stays, nothing is started, the wizard closes.
    m_sink.answers.push_back(MessageAnswer::No);
    finish(QStringLiteral("other.dtd"));
    EXPECT_FALSE(m_wizard->isVisible());
    EXPECT_TRUE(m_started.empty());
    EXPECT_EQ(describe(m_folder.file("other.dtd")),
              std::string(withoutOdbcPrefix(m_wizard->session().connectString())) +
                  "\nother\ncode\tcode\t\tCHAR(4)\t4\t0\t12\n");
}

TEST_F(Finish, AFailedWriteKeepsTheOldFileAndTheWizard)
{
    toFields("DSN=Shop", "other");
    page().selectAllButton()->click();
    const std::string path = m_folder.file("other.dtd");
    writeBytes(path, "the old description");

    // A file size limit of a few bytes makes the write fail as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit tight = before;
    tight.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &tight);
    finish(QStringLiteral("other.dtd"));
    setrlimit(RLIMIT_FSIZE, &before);

    EXPECT_EQ(m_sink.shown,
              (std::vector<Message>{{"Could not write file " + path + ":\nFile too large.", "Error",
                                     MessageIcon::Stop, MessageButtons::Ok}}));
    EXPECT_EQ(readBytes(path), "the old description");
    EXPECT_TRUE(m_wizard->isVisible());
    EXPECT_EQ(m_wizard->currentId(), DescriptionWizard::FieldPageId);
    EXPECT_TRUE(m_started.empty());
}

TEST_F(Finish, APasswordInTheConnectStringKeepsTheFileToItsOwner)
{
    struct Case
    {
        std::string extra;
        mode_t mode;
    } cases[] = {{"", 0644},
                 {";PWD=secret", 0600},
                 {";pwd=secret", 0600},
                 {";Pwd={a;b}", 0600},
                 {";UID=me", 0644}};
    const mode_t umaskBefore = umask(022);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.extra);
        m_wizard = std::make_unique<DescriptionWizard>(m_sink, &m_chooser);
        m_wizard->show();
        toFields("DSN=Shop" + c.extra, "other");
        page().selectAllButton()->click();
        m_sink.answers.push_back(MessageAnswer::No);
        // A new file each time: a replaced file keeps its mode unless a password is in it.
        const std::string name = "mode" + std::to_string(&c - cases) + ".dtd";
        finish(QString::fromStdString(name));
        struct stat saved
        {};
        ASSERT_EQ(stat(m_folder.file(name).c_str(), &saved), 0);
        EXPECT_EQ(saved.st_mode & 0777, c.mode);
    }
    umask(umaskBefore);
}

TEST_F(Finish, APickerThatCannotStartIsSaidAndTheWizardCloses)
{
    // A picker that is not beside the wizard, as when it was not installed with it.
    m_wizard->setPickerStarter([](const std::string &path, LaunchFailure *failure) {
        return startSiblingProgram("no-such-picker", {path}, failure);
    });
    toFields("DSN=Shop", "other");
    page().selectAllButton()->click();
    finish(QStringLiteral("other.dtd"));
    ASSERT_EQ(m_sink.shown.size(), 2u);
    const Message &said = m_sink.shown[1];
    const std::string prefix =
        "Quillon cannot be started: " + siblingProgramPath("no-such-picker") + "\n";
    EXPECT_EQ(said.text.substr(0, prefix.size()), prefix);
    EXPECT_GT(said.text.size(), prefix.size());
    EXPECT_EQ(said.caption, "Ormund");
    EXPECT_EQ(said.icon, MessageIcon::Exclamation);
    EXPECT_FALSE(m_wizard->isVisible());
}

} // namespace
