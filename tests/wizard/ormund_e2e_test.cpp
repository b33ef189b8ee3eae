// ormund on a private X server, started as a user starts it, with a SQLite data source in the
// user's driver manager file: the data source is chosen in the wizard's dialog with the
// keyboard, and the table page lists the database's tables. Ctrl+C in the list hands them over
// through the clipboard; Escape ends the program.
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/support/databases.h"

namespace {

// Runs xdotool and gives its output.
QString XDoTool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    tool.waitForFinished(5000);
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

// The window whose title is exactly `title`, once it is shown; empty after five seconds.
QString WaitForWindow(const QString &title)
{
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        const QString found =
            XDoTool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--name"),
                     QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')})
                .section(QLatin1Char('\n'), 0, 0);
        if (!found.isEmpty())
            return found;
        QTest::qWait(50);
    }
    return {};
}

// True once no shown window has the title `title`; false after five seconds.
bool WaitUntilGone(const QString &title)
{
    return QTest::qWaitFor(
        [&title] {
            return XDoTool(
                       {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                        QStringLiteral("--name"),
                        QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')})
                .isEmpty();
        },
        5000);
}

// Types keys into the window, as a user would after clicking it.
void Keys(const QString &window, const QStringList &keys)
{
    XDoTool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
    for (const QString &key : keys)
        XDoTool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), key});
}

TEST(Ormund, ADataSourceChosenInTheDialogListsItsTables)
{
    TemporaryFolder folder;
    const std::string database = folder.file("shop.sqlite");
    {
        DatabaseSession session(SqliteConnectString(database));
        session.execute("CREATE TABLE customers (id INTEGER, name VARCHAR(50))");
        session.execute("CREATE TABLE \"order lines\" (id INTEGER)");
        session.execute("CREATE TABLE stock (product INTEGER)");
        session.execute("CREATE VIEW big_stock AS SELECT * FROM stock");
    }
    WriteBytes(folder.path() / "odbc.ini",
               "[Shop]\nDriver = SQLite3\nDescription = Our shop\nDatabase = " + database + "\n");

    QProcess ormund;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ODBCINI"),
                       QString::fromStdString((folder.path() / "odbc.ini").string()));
    ormund.setProcessEnvironment(environment);
    ormund.setProcessChannelMode(QProcess::ForwardedChannels);
    ormund.start(QStringLiteral(ORMUND_PROGRAM), {});
    ASSERT_TRUE(ormund.waitForStarted(5000));

    const QString wizard = WaitForWindow(QStringLiteral("ormund: Specify Data Source"));
    ASSERT_FALSE(wizard.isEmpty());
    // The keyboard starts at "Specify Data Source".
    Keys(wizard, {QStringLiteral("space")});
    const QString dialog = WaitForWindow(QStringLiteral("Select Data Source"));
    ASSERT_FALSE(dialog.isEmpty());
    // The only data source is chosen already; Return takes it.
    Keys(dialog, {QStringLiteral("Return")});
    ASSERT_TRUE(WaitUntilGone(QStringLiteral("Select Data Source")));

    Keys(wizard, {QStringLiteral("alt+n")});
    const QString tables =
        WaitForWindow(QStringLiteral("ormund: Select A Table To Be Filled Up With Quillon"));
    ASSERT_FALSE(tables.isEmpty());

    QApplication::clipboard()->clear();
    Keys(tables, {QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
    QString copied;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            copied = QApplication::clipboard()->text();
            return !copied.isEmpty();
        },
        5000));
    EXPECT_EQ(copied, "customers\tTABLE\t\t\t\norder lines\tTABLE\t\t\t\nstock\tTABLE\t\t\t\n");

    Keys(tables, {QStringLiteral("Escape")});
    ASSERT_TRUE(ormund.waitForFinished(5000));
    EXPECT_EQ(ormund.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ormund.exitCode(), 0);
}

} // namespace
