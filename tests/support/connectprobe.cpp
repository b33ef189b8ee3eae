// SPDX-License-Identifier: MIT
// Hands its argument to the driver manager's SQLDriverConnect without prompting, with no check
// of ours, and prints the return code and diagnostics: what unixODBC itself does with a string.
#include <cstdio>
#include <cstring>

#include <sql.h>
#include <sqlext.h>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: quillon_connect_probe CONNECTION-STRING\n", stderr);
        return 2;
    }
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    SQLAllocEnv(&environment);
    SQLAllocConnect(environment, &connection);
    SQLCHAR completed[2048] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN code =
        SQLDriverConnect(connection, nullptr, reinterpret_cast<SQLCHAR *>(argv[1]), SQL_NTS,
                         completed, sizeof completed, &length, SQL_DRIVER_NOPROMPT);
    std::printf("%d\n", static_cast<int>(code));
    SQLCHAR state[6] = {};
    SQLCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT messageLength = 0;
    while (SQL_SUCCEEDED(SQLError(environment, connection, SQL_NULL_HSTMT, state, &native, message,
                                  sizeof message, &messageLength)))
        std::printf("%s %s\n", reinterpret_cast<char *>(state), reinterpret_cast<char *>(message));
    if (SQL_SUCCEEDED(code))
        SQLDisconnect(connection);
    SQLFreeConnect(connection);
    SQLFreeEnv(environment);
    return 0;
}
