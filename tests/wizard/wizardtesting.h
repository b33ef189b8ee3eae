// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include <QApplication>
#include <QItemSelectionModel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QWidget>

#include "fieldvalues/tabledescription.h"
#include "odbc/connectionstring.h"
#include "tests/support/databases.h"
#include "tests/support/recordingsink.h"
#include "tests/wizard/answeringchooser.h"
#include "wizard/datasourcepage.h"
#include "wizard/descriptionwizard.h"
#include "wizard/fieldpage.h"
#include "wizard/tablelistmodel.h"
#include "wizard/tablepage.h"

// Runs `action` on the modal window that the next event loop shows, as a user would act on it.
inline void onNextModal(const std::function<void(QWidget *)> &action)
{
    QTimer::singleShot(0, [action] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        action(modal);
    });
}

// A SQLite database file with tables made by the statements.
inline std::string sqliteDatabase(const TemporaryFolder &folder, const std::string &name,
                                  const std::vector<std::string> &statements)
{
    const std::string path = folder.file(name);
    DatabaseSession session(sqliteConnectString(path));
    for (const std::string &statement : statements)
        session.execute(statement);
    return path;
}

// Marks the table `table` in the table page's list, the one of `owner` where one is given.
inline void chooseTable(DescriptionWizard &wizard, const QString &table, const QString &owner = {})
{
    TablePage *tables = wizard.tablePage();
    for (int row = 0; row < tables->tableModel()->rowCount(); ++row) {
        if (tables->tableModel()->index(row, 0).data().toString() == table &&
            (owner.isEmpty() || tables->tableModel()->index(row, 3).data().toString() == owner))
            tables->tableList()->selectionModel()->select(tables->tableModel()->index(row, 0),
                                                          QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
    }
}

// From the first page to the fields of `table`, the data source chosen by the wizard's chooser.
inline void goToFields(DescriptionWizard &wizard, const QString &table, const QString &owner = {})
{
    wizard.dataSourcePage()->specifyButton()->click();
    wizard.next();
    chooseTable(wizard, table, owner);
    wizard.next();
}

// Through the pages to the fields of `table`, every field selected, Finish saving them to `path`
// and the question answered No. True when the wizard then closed.
inline bool saveEveryField(DescriptionWizard &wizard, RecordingSink &sink, const QString &table,
                           const std::string &path, const QString &owner = {})
{
    wizard.setSaveFileChooser([path](QWidget *, std::string &chosen) {
        chosen = path;
        return true;
    });
    wizard.show();
    goToFields(wizard, table, owner);
    if (wizard.currentId() != DescriptionWizard::FieldPageId)
        return false;
    wizard.fieldPage()->selectAllFields();
    sink.answers.push_back(MessageAnswer::No);
    wizard.button(QWizard::FinishButton)->click();
    return !wizard.isVisible();
}

#ifdef QUILLON_ROW_PROGRAM
// Runs quillon-row with the arguments and gives what it prints.
inline std::string runRowTool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(QUILLON_ROW_PROGRAM), arguments);
    EXPECT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    return tool.readAllStandardOutput().toStdString();
}

// Through the data source `dataSource`, whose driver gives names in Latin-1, saves every field of
// the table "t" (id, café) and inserts id 1 with "abc" for café: the name shows decoded and is
// saved as the driver's bytes.
inline void saveAndFillTheLatin1Table(RecordingSink &sink, const std::string &dataSource)
{
    TemporaryFolder folder;
    const std::string path = folder.file("latin.dtd");
    AnsweringChooser chooser;
    chooser.answers = {dataSource};
    DescriptionWizard wizard(sink, &chooser);
    ASSERT_TRUE(saveEveryField(wizard, sink, QStringLiteral("t"), path));
    EXPECT_EQ(wizard.fieldPage()->selectedList()->topLevelItem(1)->text(0),
              QString::fromUtf8("caf\xc3\xa9"));
    TableDescription description;
    ASSERT_EQ(loadTableDescription(path, description), 2);
    EXPECT_EQ(description.fields[1].name, "caf\xe9");
    runRowTool({QStringLiteral("insert"), QString::fromStdString(path), QStringLiteral("id=1"),
                QStringLiteral("#2=abc")});
}

// What quillon-row describe prints of a file.
inline std::string describe(const std::string &path)
{
    return runRowTool({QStringLiteral("describe"), QString::fromStdString(path)});
}
#endif

// What quillon-row describe prints of the description that the wizard saves from its field
// page: the connection string, the table and the selected list as it shows it.
inline std::string expectedDescription(DescriptionWizard &wizard)
{
    std::string expected = std::string(withoutOdbcPrefix(wizard.session().connectString())) + "\n" +
                           wizard.session().tableReference() + "\n";
    const QTreeWidget *selected = wizard.fieldPage()->selectedList();
    for (int row = 0; row < selected->topLevelItemCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < FieldPage::SelectedColumnCount; ++column)
            texts << selected->topLevelItem(row)->text(column);
        texts[FieldPage::SelectedRequired] = texts[FieldPage::SelectedRequired] == "No" ? "0" : "1";
        expected += texts.join(QLatin1Char('\t')).toStdString() + "\n";
    }
    return expected;
}
