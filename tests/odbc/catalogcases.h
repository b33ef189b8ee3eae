// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "odbc/database.h"

// The catalogue cases that every engine answers alike. Each engine's test program instantiates
// them with its own way to make a database.
struct CatalogEngine
{
    std::string name;
    // A new database with nothing in it, named after `label`; gives its connect string.
    std::function<std::string(const std::string &label)> newDatabase;
    // The engine's quote for names in statements.
    char quote = '"';
    // A table of the engine's own, which a list of tables leaves out.
    std::string systemTable;
    // DATA_TYPE of a VARCHAR(50) column: wide characters for some drivers.
    int varcharType = 12;
    // Makes the next catalogue call on the open connection of the database `label` fail; what
    // it returns keeps the failure going while it lives.
    std::function<std::shared_ptr<void>(const std::string &label)> breakConnection;
    // A part of the driver's message for that failure.
    std::string brokenText;
    // Whether SQLTables reports that failure: SQLite's driver answers it with no rows.
    bool tablesReportFailure = true;
};

inline void PrintTo(const CatalogEngine &engine, std::ostream *out)
{
    *out << engine.name;
}

class CatalogOnEngine : public ::testing::TestWithParam<CatalogEngine>
{
protected:
    // A new database named after the test, connected through the wizard's connection; the
    // statements are run on a session of their own first.
    void connect(const std::vector<std::string> &statements);
    std::string quoted(const std::string &name) const;
    std::string label() const;

    std::string m_connectString;
    OdbcDatabase m_database;
};

// The names of the instantiated cases: the engine's name.
std::string engineName(const ::testing::TestParamInfo<CatalogEngine> &info);
