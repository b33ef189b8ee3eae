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

TEST(ConnectionString, PairsInTheirOrderWithBracedValuesWhole)
{
    const std::vector<ConnectPair> expected{{"DRIVER", "MariaDB ODBC 3.1 Driver"},
                                            {"Server", "127.0.0.1"},
                                            {"PWD", "a;b=c"},
                                            {"Option", ""},
                                            {"dsn", "x y"}};
    EXPECT_EQ(ConnectPairs("DRIVER={MariaDB ODBC 3.1 Driver};Server=127.0.0.1; PWD = {a;b=c} ;"
                           "noise;;Option=;dsn=x y"),
              expected);
    EXPECT_TRUE(ConnectPairs("").empty());
    EXPECT_TRUE(ConnectPairs(";;").empty());
}

TEST(ConnectionString, AnAttributeIsTheFirstPairWithItsKeyInAnyCase)
{
    const std::string text = "Driver={MariaDB};Port=3306;PORT=3307;Read_Timeout=5";
    EXPECT_EQ(ConnectAttribute(text, "DRIVER"), "MariaDB");
    EXPECT_EQ(ConnectAttribute(text, "port"), "3306");
    EXPECT_EQ(ConnectAttribute(text, "READ_TIMEOUT"), "5");
    EXPECT_EQ(ConnectAttribute(text, "DSN"), std::nullopt);
    EXPECT_EQ(ConnectAttribute(text, "Driver={MariaDB}"), std::nullopt);
}

// MariaDB Connector/ODBC takes its timeouts from its own keys only; every other driver is left
// as it is, whatever its keys would mean to it.
TEST(ConnectionString, OnlyTheMariaDbConnectorGetsItsTimeoutKeys)
{
    const struct
    {
        std::string_view connect;
        std::string_view library;
        std::string_view added;
    } cases[] = {
        {"DSN=Shop", "/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so",
         ";CONN_TIMEOUT=15;READ_TIMEOUT=30;WRITE_TIMEOUT=30"},
        {"DSN=Shop;", "libmaodbc.so", "CONN_TIMEOUT=15;READ_TIMEOUT=30;WRITE_TIMEOUT=30"},
        {"", "libmaodbc.so", "CONN_TIMEOUT=15;READ_TIMEOUT=30;WRITE_TIMEOUT=30"},
        {"DRIVER=MariaDB;read_timeout=5", "C:\\odbc\\maodbc.dll",
         ";CONN_TIMEOUT=15;WRITE_TIMEOUT=30"},
        {"DSN=a;CONN_TIMEOUT=1;READ_TIMEOUT=2;WRITE_TIMEOUT=3", "libmaodbc.so", ""},
        {"DSN=Shop", "/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so", ""},
        {"DSN=Shop", "libsqlite3odbc.so", ""},
        {"DSN=Shop", "libmyodbc8w.so", ""},
        {"DSN=Shop", "/opt/libmaodbc/libother.so", ""},
        {"DSN=Shop", "", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(DriverTimeoutKeys(c.connect, c.library, 15, 30), c.added)
            << c.connect << " with " << c.library;
    }
}

TEST(ConnectionString, APairsTextBracesValuesThatADriverWouldCut)
{
    struct
    {
        std::string_view value;
        std::string_view attribute;
    } cases[] = {
        {"Shop", "DSN=Shop"}, {"", "DSN="},          {"with blank", "DSN=with blank"},
        {"a;b", "DSN={a;b}"}, {"{x}", "DSN={{x}}}"}, {"a;}b", "DSN={a;}}b}"},
        {"a}b", "DSN=a}b"},   {"a{b", "DSN=a{b"},    {" lead", "DSN= lead"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ConnectPairText("DSN", c.value), c.attribute) << c.value;
}

} // namespace
