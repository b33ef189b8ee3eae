// SPDX-License-Identifier: MIT
// The baseline of the start-up benchmark: a bare Qt Widgets program that connects to a data
// source and shows one window, as little as a program can do to show the same thing.
//
//   startup_bare CONNECTION-STRING

#include <QApplication>
#include <QWidget>

#include <sql.h>
#include <sqlext.h>

#include <string>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    std::string connect = argv[1];
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    SQLAllocEnv(&environment);
    SQLAllocConnect(environment, &connection);
    SQLCHAR completed[1024];
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLDriverConnect(connection, nullptr,
                                        reinterpret_cast<SQLCHAR *>(connect.data()), SQL_NTS,
                                        completed, sizeof completed, &length, SQL_DRIVER_NOPROMPT)))
        return 1;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(82, 163);
    window.show();
    const int result = QApplication::exec();
    SQLDisconnect(connection);
    SQLFreeConnect(connection);
    SQLFreeEnv(environment);
    return result;
}
