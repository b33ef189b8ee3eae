#pragma once

#include <functional>
#include <string>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "tests/support/databases.h"

// Runs `action` on the modal window that the next event loop shows, as a user would act on it.
inline void OnNextModal(const std::function<void(QWidget *)> &action)
{
    QTimer::singleShot(0, [action] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        action(modal);
    });
}

// A SQLite database file with tables made by the statements.
inline std::string SqliteDatabase(const TemporaryFolder &folder, const std::string &name,
                                  const std::vector<std::string> &statements)
{
    const std::string path = folder.file(name);
    DatabaseSession session(SqliteConnectString(path));
    for (const std::string &statement : statements)
        session.execute(statement);
    return path;
}
