// SPDX-License-Identifier: MIT
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
        EXPECT_EQ(withoutOdbcPrefix(c.text), c.without) << c.text;
        EXPECT_EQ(hasOdbcPrefix(c.text), c.text != c.without) << c.text;
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
        EXPECT_EQ(connectValue(c.connect, c.key), c.value) << c.connect << " " << c.key;
}

TEST(ConnectionString, AnAttributeIsTheFirstPairWithItsKeyInAnyCase)
{
    const std::string text = "Driver={MariaDB};Port=3306;PORT=3307;Read_Timeout=5";
    EXPECT_EQ(connectAttribute(text, "DRIVER"), "MariaDB");
    EXPECT_EQ(connectAttribute(text, "port"), "3306");
    EXPECT_EQ(connectAttribute(text, "READ_TIMEOUT"), "5");
    EXPECT_EQ(connectAttribute(text, "DSN"), std::nullopt);
    EXPECT_EQ(connectAttribute(text, "Driver={MariaDB}"), std::nullopt);
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
        EXPECT_EQ(driverTimeoutKeys(c.connect, c.library, 15, 30), c.added)
            << c.connect << " with " << c.library;
    }
}

using Attributes = std::vector<ConnectPair>;

TEST(ConnectionString, IsReadAsTheDriverManagerReadsIt)
{
    using namespace std::string_view_literals;
    struct
    {
        std::string_view text;
        Attributes attributes;
    } cases[] = {
        {"DSN=Shop;UID=clerk", {{"DSN", "Shop"}, {"UID", "clerk"}}},
        {"DSN=Shop;", {{"DSN", "Shop"}}},
        {" ;\t;DSN=Shop", {{"DSN", "Shop"}}},     // blanks and ';' before a key are skipped
        {"DSN= spaced ;", {{"DSN", " spaced "}}}, // a value stands as written
        {"DRIVER ={a}", {{"DRIVER ", "a"}}},      // and so does a key
        {"DRIVER={SQLite3};Database=x", {{"DRIVER", "SQLite3"}, {"Database", "x"}}},
        {"PWD={a;b=c}", {{"PWD", "a;b=c"}}},
        {"PWD={a}}b}}}", {{"PWD", "a}b}"}}}, // "}}" stands for one '}'
        {"PWD={open", {{"PWD", "open"}}},    // a brace left open runs to the end
        {"PWD={}", {{"PWD", ""}}},
        {"PWD=", {{"PWD", ""}}},
        {"PWD=a{b}", {{"PWD", "a{b}"}}}, // braces only count at the start of a value
        // What follows a closing brace belongs to the next key, ';' and all.
        {"X={a}b;DRIVER=c", {{"X", "a"}, {"b;DRIVER", "c"}}},
        {"X={a}DRIVER=c", {{"X", "a"}, {"DRIVER", "c"}}},
        // A key runs to the next '=', across ';'.
        {"FOO;DRIVER=x", {{"FOO;DRIVER", "x"}}},
        {"=x;DSN=y", {{"", "x"}, {"DSN", "y"}}},
        {"DSN=a;trailing", {{"DSN", "a"}}}, // text without '=' ends the string
        {"DSN=a=b", {{"DSN", "a=b"}}},
        {"DSN=a\0;DRIVER=b"sv, {{"DSN", "a"}}}, // a NUL ends it too
        {"", {}},
        {";", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseConnectString(c.text), c.attributes) << c.text;
}

TEST(ConnectionString, WrittenAttributesReadBackTheSame)
{
    const Attributes cases[] = {
        {{"DSN", "Shop"}, {"UID", "clerk"}},
        {{"PWD", "a;b"}, {"X", "{starts with a brace"}, {"Y", "ends with }"}, {"Z", "}}"}},
        {{"FOO;DRIVER", "x"}, {"", ""}, {"K ", " v "}},
        {{"Database", "/data/a{b}.db"}, {"Empty", ""}},
    };
    for (const Attributes &attributes : cases) {
        const std::string text = writeConnectString(attributes);
        EXPECT_EQ(parseConnectString(text), attributes) << text;
    }
    EXPECT_EQ(writeConnectString({{"DSN", "Shop"}, {"PWD", "a;}b"}}), "DSN=Shop;PWD={a;}}b}");
}

TEST(ConnectionString, TheDriverManagerTakesTheFirstOfDsnAndDriverAndTheLastValueOfAKey)
{
    struct
    {
        std::string_view text;
        Attributes used;
    } cases[] = {
        {"DRIVER=a;Database=x;driver=b", {{"DRIVER", "b"}, {"Database", "x"}}},
        {"DSN=s;DRIVER=a", {{"DSN", "s"}}},
        {"DRIVER=a;DSN=s", {{"DRIVER", "a"}}},
        {"FILEDSN=f;DSN=s;DRIVER=a", {{"FILEDSN", "f"}, {"DRIVER", "a"}}},
        {"dsn=s;FILEDSN=f;DSN=t", {{"dsn", "t"}}},
        {"UID=a;uid=b;Uid=c", {{"UID", "c"}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(driverManagerAttributes(parseConnectString(c.text)), c.used) << c.text;
}

TEST(ConnectionString, KeysAreFoundWithoutRegardToCase)
{
    const Attributes attributes{{"Driver", "a"}, {"DRIVER", "b"}};
    ASSERT_NE(findConnectValue(attributes, "driver"), nullptr);
    EXPECT_EQ(*findConnectValue(attributes, "driver"), "a");
    EXPECT_EQ(findConnectValue(attributes, "DSN"), nullptr);
    EXPECT_TRUE(sameConnectKey("SaveFile", "SAVEFILE"));
    EXPECT_FALSE(sameConnectKey("SAVEFILE ", "SAVEFILE"));
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
        EXPECT_EQ(connectPairText("DSN", c.value), c.attribute) << c.value;
}

} // namespace
