// SPDX-License-Identifier: MIT
#pragma once

// What the end-to-end tests of the picker program share, on any desktop: a SQLite table of
// people described for the picker in a folder of the test's own, the picker started on it as a
// user starts it, and the rows it stored. The test's build names the program (QUILLON_PROGRAM)
// and the tests' data sources (QUILLON_ODBC_INI_DIR).

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fieldvalues/tabledescription.h"
#include "tests/support/databases.h"
#include "tests/support/testfiles.h"

class PickerProcessTest : public testing::Test
{
protected:
    // The description is `descriptionName` in the test's folder; the table has the fields Name
    // and, with `town`, Town.
    explicit PickerProcessTest(const std::string &descriptionName, bool town = true) : m_town(town)
    {
        m_database = sqliteConnectString(m_folder.path() / "people.sqlite");
        DatabaseSession(m_database)
            .execute(town ? "CREATE TABLE People (Name VARCHAR(40) NOT NULL, Town VARCHAR(40))"
                          : "CREATE TABLE People (Name VARCHAR(40) NOT NULL)");
        m_path = m_folder.file(descriptionName);
        std::vector<FieldRow> fields{{"Name", "Name", "", "VARCHAR", "40", "Yes", "12"}};
        if (town)
            fields.push_back({"Town", "Town", "", "VARCHAR", "40", "No", "12"});
        EXPECT_TRUE(saveTableDescription(m_path, m_database, "People", fields));
    }
    ~PickerProcessTest() override
    {
        if (m_picker.state() != QProcess::NotRunning) {
            m_picker.kill();
            m_picker.waitForFinished(5000);
        }
    }

    // Starts the picker with its settings in the test's folder.
    void startPickerProcess(const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           QString::fromStdString((m_folder.path() / "config").string()));
        m_picker.setProcessEnvironment(environment);
        m_picker.setProcessChannelMode(QProcess::ForwardedChannels);
        m_picker.start(QStringLiteral(QUILLON_PROGRAM), arguments);
    }

    // The rows stored so far, once there are `count`.
    Rows waitForRows(std::size_t count)
    {
        Rows rows;
        (void)QTest::qWaitFor(
            [&] {
                rows = DatabaseSession(m_database)
                           .query(m_town ? "SELECT Name, Town FROM People"
                                         : "SELECT Name FROM People");
                return rows.size() >= count;
            },
            10000);
        return rows;
    }

    TemporaryFolder m_folder;
    std::string m_database;
    std::string m_path;
    QProcess m_picker;

private:
    bool m_town;
};

// The tests' main: the tests' data sources for the picker and for reading its rows back, and
// the picker in English whatever the machine's language, as the tests compare its texts.
inline int runPickerProcessTests(int argc, char **argv)
{
    setenv("ODBCSYSINI", QUILLON_ODBC_INI_DIR, 1);
    setenv("LC_ALL", "C.UTF-8", 1);
    setenv("LANGUAGE", "en", 1);
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
