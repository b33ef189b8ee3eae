// SPDX-License-Identifier: MIT
// Takes the README's pictures of the wizard: the data source page with a data source specified,
// the table page with a table chosen and the field page with fields selected and titled, on a
// sample SQLite database named in driver manager files of its own, each picture with the
// window's frame.
//
//   ormund-screenshots DATASOURCE.png TABLES.png FIELDS.png
//
// Needs an X server with a window manager (wizard/demo/screenshots starts one).

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include "desktop/messagebox.h"
#include "odbc/database.h"
#include "wizard/datasourcepage.h"
#include "wizard/descriptionwizard.h"
#include "wizard/fieldeditdialog.h"
#include "wizard/fieldpage.h"
#include "wizard/tablelistmodel.h"
#include "wizard/tablepage.h"

namespace {

// Connects to the sample data source, as a user would have chosen it in the dialog.
class SampleChooser : public DataSourceChooser
{
public:
    bool choose(OdbcDatabase &database) override
    {
        database.open("DSN=Shop");
        return true;
    }
};

void wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget &window, const QString &path)
{
    wait(400);
    const QRect frame = window.frameGeometry();
    QScreen *screen = window.screen();
    QPixmap picture = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    if (picture.isNull())
        picture = window.grab();
    return picture.save(path);
}

bool run(const QString &dataSourcePicture, const QString &tablesPicture,
         const QString &fieldsPicture)
{
    QTemporaryDir folder;
    const std::string database = QDir(folder.path()).filePath("shop.sqlite").toStdString();
    const std::string user = QDir(folder.path()).filePath("odbc.ini").toStdString();
    std::ofstream(user) << "[Shop]\nDriver = SQLite3\nDescription = Our shop\nDatabase = "
                        << database << "\n";
    setenv("ODBCINI", user.c_str(), 1);
    {
        OdbcDatabase setup;
        setup.open("DRIVER=SQLite3;Database=" + database);
        OdbcStatement statement;
        statement.allocate(setup.connection());
        for (const char *sql : {"CREATE TABLE customers (id INTEGER, name VARCHAR(50))",
                                "CREATE TABLE orders (id INTEGER NOT NULL, customer INTEGER NOT "
                                "NULL, day DATE, amount DECIMAL(10,2), note VARCHAR(200))",
                                "CREATE TABLE products (id INTEGER, name VARCHAR(50))",
                                "CREATE TABLE stock (product INTEGER, count INTEGER)",
                                "CREATE VIEW order_days AS SELECT day FROM orders"}) {
            std::string text = sql;
            SQLExecDirect(statement.get(), asSqlText(text), SQL_NTS);
        }
    }

    QtMessageSink sink;
    SampleChooser chooser;
    DescriptionWizard wizard(sink, &chooser);
    sink.setOwner(&wizard);
    wizard.move(40, 40);
    wizard.show();
    wizard.dataSourcePage()->specifyButton()->click();
    if (!wizard.session().isConnected() || !save(wizard, dataSourcePicture))
        return false;
    wizard.button(QWizard::NextButton)->click();
    QTreeView *list = wizard.tablePage()->tableList();
    if (wizard.tablePage()->tableModel()->rowCount() < 2)
        return false;
    list->selectionModel()->select(wizard.tablePage()->tableModel()->index(1, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list->setFocus();
    if (!save(wizard, tablesPicture))
        return false;

    // The orders' fields: all but the note, the day filled with the time of the insert.
    wizard.button(QWizard::NextButton)->click();
    FieldPage *fields = wizard.fieldPage();
    fields->selectAllFields();
    QTreeWidget *selected = fields->selectedList();
    if (selected->topLevelItemCount() != 5)
        return false;
    selected->topLevelItem(4)->setSelected(true);
    fields->unselectFields();
    selected->topLevelItem(1)->setText(FieldPage::SelectedTitle, QStringLiteral("Client"));
    selected->topLevelItem(2)->setText(FieldPage::SelectedDefault,
                                       QString::fromUtf8(FieldEditDialog::ActualDateTime));
    selected->setCurrentItem(selected->topLevelItem(2));
    selected->setFocus();
    // Wide enough for the selected list's titles and defaults.
    wizard.resize(720, wizard.height());
    return save(wizard, fieldsPicture);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: ormund-screenshots DATASOURCE.png TABLES.png FIELDS.png\n");
        return 2;
    }
    if (!run(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
             QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "ormund-screenshots: the pictures could not be taken\n");
        return 1;
    }
    return 0;
}
