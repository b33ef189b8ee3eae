#include <gtest/gtest.h>

#include "odbc/connectionstring.h"

namespace {

TEST(ConnectionString, OneLeadingOdbcPrefixGoes)
{
    struct
    {
        std::string_view text;
        std::string_view without;
    } cases[] = {
        {"ODBC;DSN=a", "DSN=a"},
        {"ODBC;ODBC;DSN=a", "ODBC;DSN=a"},
        {"odbc;DSN=a", "odbc;DSN=a"}, // the prefix is case-sensitive
        {"DSN=a;ODBC;", "DSN=a;ODBC;"},
        {"ODBC;", ""},
        {"", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(WithoutOdbcPrefix(c.text), c.without) << c.text;
        EXPECT_EQ(HasOdbcPrefix(c.text), c.text != c.without) << c.text;
    }
}

TEST(ConnectionString, ConnectValueIsTheTextAfterTheFirstKeyUpToTheNextSemicolon)
{
    const std::string example =
        "ODBC;DSN=Shop;DBQ=/data/shop.db;FIL=SQLite;Description=Our shop;UID=clerk";
    struct
    {
        std::string_view connect;
        std::string_view key;
        std::string_view value;
    } cases[] = {
        {example, "DSN=", "Shop"},
        {example, "DBQ=", "/data/shop.db"},
        {example, "FIL=", "SQLite"},
        {example, "Description=", "Our shop"},
        {example, "UID=", "clerk"},                 // the last key, without ";"
        {example, "PWD=", ""},                      // missing
        {example, "dsn=", ""},                      // case-sensitive
        {"FILEDSN=/x.dsn;DSN=y", "DSN=", "/x.dsn"}, // anywhere, even inside another key
        {"DSN= spaced ;", "DSN=", " spaced "},      // nothing trimmed
        {"DSN={a;b}", "DSN=", "{a"},                // nothing unquoted
        {"DSN=", "DSN=", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ConnectValue(c.connect, c.key), c.value) << c.connect << " " << c.key;
}

} // namespace
