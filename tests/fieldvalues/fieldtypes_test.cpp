// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "fieldvalues/fieldtypes.h"
#include "fieldvalues/sqltypes.h"
#include "fieldvalues/text.h"

namespace {

// SQL type codes, as the catalogue reports them.
enum : int
{
    Bit = -7,
    TinyInt = -6,
    BigInt = -5,
    LongVarChar = -1,
    Char = 1,
    Numeric = 2,
    Decimal = 3,
    Integer = 4,
    SmallInt = 5,
    Float = 6,
    Real = 7,
    Double = 8,
    Date = 9,
    Time = 10,
    Timestamp = 11,
    VarChar = 12,
    WChar = -8,
    WVarChar = -9,
    WLongVarChar = -10,
};

struct CheckCase
{
    const char *value;
    int sqlType;
    int length;
    bool accepted;
    const char *normal; // the value after the check; nullptr: unchanged
    const char *error;  // the error text on refusal
    CheckMode mode = CheckMode::Picker;
};

const char WholeError4[] = "(No more than 10 digits)";
const char FormatError[] = "(Format 55555.555555)";
const char DateError[] = "Invalid format or value.\n(Format: MM/DD/YYYY)";
const char TimeError[] = "Invalid format or value.\n(Format: hh:mm:ss)";
const char StampError[] =
    "Invalid format or value.\n(Format: \"MM/DD/YYYY\" OR \"MM/DD/YYYY-hh:mm:ss\")";

const CheckCase checkCases[] = {
    // Bit: exactly one character, 0 or 1.
    {"0", Bit, 1, true, nullptr, ""},
    {"1", Bit, 1, true, nullptr, ""},
    {"", Bit, 1, false, nullptr, "(Valid values: 0 or 1)"},
    {"00", Bit, 1, false, nullptr, "(Valid values: 0 or 1)"},
    {"2", Bit, 1, false, nullptr, "(Valid values: 0 or 1)"},
    {"true", Bit, 1, false, nullptr, "(Valid values: 0 or 1)"},
    // Whole numbers: canonical form within the column's range; negative values for every size.
    {"0", TinyInt, 1, true, nullptr, ""},
    {"255", TinyInt, 1, true, nullptr, ""},
    {"-1", TinyInt, 1, true, nullptr, ""},
    {"-128", TinyInt, 1, true, nullptr, ""},
    {"-129", TinyInt, 1, false, nullptr, "(No more than 3 digits)"},
    {"256", TinyInt, 1, false, nullptr, "(No more than 3 digits)"},
    {"00", TinyInt, 1, false, nullptr, "(No more than 3 digits)"},
    {" 5", TinyInt, 1, false, nullptr, "(No more than 3 digits)"},
    {"65535", SmallInt, 2, true, nullptr, ""},
    {"32768", SmallInt, 2, true, nullptr, ""},
    {"-1", SmallInt, 2, true, nullptr, ""},
    {"-32768", SmallInt, 2, true, nullptr, ""},
    {"-32769", SmallInt, 2, false, nullptr, "(No more than 5 digits)"},
    {"65536", SmallInt, 2, false, nullptr, "(No more than 5 digits)"},
    {"-2147483648", Integer, 4, true, nullptr, ""},
    {"2147483647", Integer, 4, true, nullptr, ""},
    {"2147483648", Integer, 4, false, nullptr, WholeError4},
    {"007", Integer, 4, false, nullptr, WholeError4},
    {"+1", Integer, 4, false, nullptr, WholeError4},
    {"-0", Integer, 4, false, nullptr, WholeError4},
    {"12a", Integer, 4, false, nullptr, WholeError4},
    {"", Integer, 4, false, nullptr, WholeError4},
    {"1,234", Integer, 4, true, "1234", ""},
    {",,,", Integer, 4, false, "", WholeError4},
    {"1,000", Integer, 4, false, nullptr, WholeError4, CheckMode::Wizard},
    {"-2147483648", BigInt, 8, true, nullptr, ""},
    {"2147483648", BigInt, 8, true, nullptr, ""},
    {"9223372036854775807", BigInt, 8, true, nullptr, ""},
    {"-9223372036854775808", BigInt, 8, true, nullptr, ""},
    {"9223372036854775808", BigInt, 8, false, nullptr, "(No more than 19 digits)"},
    {"-9,223,372,036,854,775,808", BigInt, 8, true, "-9223372036854775808", ""},
    // Character: at most `length` bytes.
    {"a", Char, 1, true, nullptr, ""},
    {"ab", Char, 1, false, nullptr, "(No more than 1 characters)"},
    {"", VarChar, 50, true, nullptr, ""},
    {"12,345", VarChar, 50, true, nullptr, ""},
    {"line\r\nbreak", LongVarChar, 11, true, nullptr, ""},
    {"\xc3\xa9t\xc3\xa9", VarChar, 4, false, nullptr, "(No more than 4 characters)"},
    // Numerics: a leading part of the six-decimal rendering.
    {"3.141592", Double, 8, true, nullptr, ""},
    {"3.1415926", Double, 8, false, nullptr, FormatError},
    {"5.", Double, 8, true, nullptr, ""},
    {".5", Double, 8, false, nullptr, FormatError},
    {"", Double, 8, true, nullptr, ""},
    {"12", Numeric, 10, true, nullptr, ""},
    {"12.500000", Decimal, 10, true, nullptr, ""},
    {"-0.25", Float, 8, true, nullptr, ""},
    {"+1", Real, 4, false, nullptr, FormatError},
    {"1e3", Real, 4, false, nullptr, FormatError},
    {"inf", Double, 8, false, nullptr, FormatError},
    {"nan", Numeric, 10, false, nullptr, FormatError},
    {"9007199254740993", Double, 8, false, nullptr, FormatError},
    {"1,234,567.50", Numeric, 12, true, "1234567.50", ""},
    {"1,234.5", Numeric, 12, false, nullptr, FormatError, CheckMode::Wizard},
    // Dates: MM/DD/YYYY, written dates converted.
    {"12/31/1999", Date, 6, true, nullptr, ""},
    {"Dec 31, 1999", Date, 6, true, "12/31/1999", ""},
    {"Dec 6, 26", Date, 6, true, "12/06/2026", ""},
    {"x Dec 1999", Date, 6, false, "12/00/1999", DateError},
    {"31-Dec-1999", Date, 6, false, nullptr, DateError},
    {"", Date, 6, true, nullptr, ""},
    // Times.
    {"23:59:59", Time, 6, true, nullptr, ""},
    {"24:00:00", Time, 6, false, nullptr, TimeError},
    {"10:20:30 pm", Time, 6, true, nullptr, ""},
    // Timestamps: a date, optionally followed by a time after one character or none.
    {"12/31/1999", Timestamp, 16, true, nullptr, ""},
    {"12/31/1999-23:59:59", Timestamp, 16, true, nullptr, ""},
    {"12/31/1999 23:59:59", Timestamp, 16, true, nullptr, ""},
    {"12/31/199923:59:59", Timestamp, 16, true, nullptr, ""},
    {"12/31/1999 23:5", Timestamp, 16, true, nullptr, ""},
    {"12/31/1999-24:00:00", Timestamp, 16, false, nullptr, StampError},
    {"Dec 31, 1999 23:59:59", Timestamp, 16, true, "12/31/1999 23:59:59", ""},
    {"13/31/1999", Timestamp, 16, false, nullptr, StampError},
    // Unsupported codes.
    {"x", 13, 1, false, nullptr, "Unknown format."},
    {"", -11, 1, false, nullptr, "Unknown format."},
    {"00", -2, 1, false, nullptr, "Unknown format."},
    {"1", 0, 1, false, nullptr, "Unknown format."},
};

void PrintTo(const CheckCase &c, std::ostream *os)
{
    *os << "\"" << c.value << "\" as type " << c.sqlType << " length " << c.length;
}

class CheckFieldValueCases : public testing::TestWithParam<CheckCase>
{};

TEST_P(CheckFieldValueCases, AcceptsRefusesAndRewrites)
{
    const CheckCase &c = GetParam();
    std::string value = c.value;
    std::string error = "stale";
    EXPECT_EQ(checkFieldValue(value, c.sqlType, c.length, error, c.mode), c.accepted);
    EXPECT_EQ(value, c.normal ? c.normal : c.value);
    EXPECT_EQ(error, c.error);
}

INSTANTIATE_TEST_SUITE_P(FieldTypes, CheckFieldValueCases, testing::ValuesIn(checkCases));

struct WidthCase
{
    int sqlType;
    int length;
    int width;
    const char *hint;
};

const WidthCase widthCases[] = {
    {Bit, 1, 1, "(0 or 1)"},
    // Whole numbers leave room for a sign and thousands separators.
    {TinyInt, 1, 4, "(No more than 3 digits)"},
    {SmallInt, 2, 7, "(No more than 5 digits)"},
    {Integer, 4, 14, "(No more than 10 digits)"},
    {BigInt, 8, 26, "(No more than 19 digits)"},
    {BigInt, 19, 26, "(No more than 19 digits)"},
    {Char, 1, 1, "(One character only)"},
    {VarChar, 50, 50, "(No more than 50 characters)"},
    {VarChar, 40000, 32000, "(No more than 40000 characters)"},
    {LongVarChar, 65536, 32000, "(No more than 65536 characters)"},
    {Numeric, 12, 16, "(No more than 12 digits)"},
    {Decimal, 40000, 32000, "(No more than 40000 digits)"},
    {Float, 8, 24, "(Format 55555.55)"},
    {Real, 4, 24, "(Format 55555.55)"},
    {Double, 8, 24, "(Format 55555.55)"},
    {Date, 6, 24, "(Format: MM/DD/YYYY)"},
    {Time, 6, 8, "(Format: hh:mm:ss)"},
    {Timestamp, 16, 64, "(\"MM/DD/YYYY\" or \"MM/DD/YYYY-hh:mm:ss\")"},
    {-2, 10, 1, ""},
    {-4, 10, 1, ""},
    {13, 10, 1, ""},
    {-11, 16, 1, ""},
};

void PrintTo(const WidthCase &c, std::ostream *os)
{
    *os << "type " << c.sqlType << " length " << c.length;
}

class WidthAndHintCases : public testing::TestWithParam<WidthCase>
{};

TEST_P(WidthAndHintCases, FollowTheType)
{
    const WidthCase &c = GetParam();
    EXPECT_EQ(valueWidth(c.sqlType, c.length, ValueWidthCap), c.width);
    EXPECT_EQ(fieldHint(c.sqlType, c.length), c.hint);
}

INSTANTIATE_TEST_SUITE_P(FieldTypes, WidthAndHintCases, testing::ValuesIn(widthCases));

// The widest value of each whole-number type, and a number with as many digits as an exact
// numeric column's length, fits its value width with commas and sign: a picked number cut to the
// width would become another valid number.
TEST(FieldTypes, WidestGroupedNumbersFitTheirWidth)
{
    struct
    {
        int sqlType;
        int length;
        const char *widest;
    } cases[] = {{TinyInt, 1, "-128"},
                 {SmallInt, 2, "-32,768"},
                 {Integer, 4, "-2,147,483,648"},
                 {BigInt, 8, "-9,223,372,036,854,775,808"},
                 {Numeric, 12, "-123,456,789,012"},
                 {Decimal, 4, "-1,234"}};
    for (const auto &c : cases) {
        std::string value = c.widest;
        EXPECT_LE(value.size(), static_cast<std::size_t>(valueWidth(c.sqlType, c.length)))
            << c.widest;
        std::string error;
        EXPECT_TRUE(checkFieldValue(value, c.sqlType, c.length, error)) << c.widest;
    }
}

// The wide character types of drivers that report every character column as Unicode are
// character types: each behaves as its twin among CHAR, VARCHAR and LONGVARCHAR for every length
// and value, lengths counted in bytes.
TEST(FieldTypes, WideCharacterTypesBehaveAsTheirTwins)
{
    const struct
    {
        int wide;
        int twin;
    } pairs[] = {{WChar, Char}, {WVarChar, VarChar}, {WLongVarChar, LongVarChar}};
    const int lengths[] = {0, 1, 4, 50, 200, 262140};
    const char *values[] = {
        "",       "a",           "ab",        "\xe2\x82\xac", "\xe2\x82\xac\xe2\x82\xac",
        "12,345", "line\nbreak", "12/31/1999"};
    for (const auto &pair : pairs) {
        EXPECT_EQ(classOfSqlType(pair.wide), FieldClass::Character) << pair.wide;
        EXPECT_EQ(SqlType::keepsLineBreaks(pair.wide), SqlType::keepsLineBreaks(pair.twin))
            << pair.wide;
        for (int length : lengths) {
            EXPECT_EQ(valueWidth(pair.wide, length), valueWidth(pair.twin, length))
                << pair.wide << " length " << length;
            EXPECT_EQ(fieldHint(pair.wide, length), fieldHint(pair.twin, length))
                << pair.wide << " length " << length;
            for (const char *value : values) {
                std::string wideValue = value;
                std::string twinValue = value;
                std::string wideError = "stale";
                std::string twinError;
                EXPECT_EQ(checkFieldValue(wideValue, pair.wide, length, wideError),
                          checkFieldValue(twinValue, pair.twin, length, twinError))
                    << pair.wide << " length " << length << " value " << value;
                EXPECT_EQ(wideValue, twinValue);
                EXPECT_EQ(wideError, twinError);
            }
        }
    }
}

// What MariaDB reports for CHAR(1), VARCHAR(50) and TEXT: the byte lengths of utf8mb4.
TEST(FieldTypes, WideColumnsAsMariaDbReportsThem)
{
    EXPECT_EQ(valueWidth(WChar, 4), 4);
    EXPECT_EQ(fieldHint(WChar, 4), "(No more than 4 characters)");
    EXPECT_EQ(valueWidth(WVarChar, 200), 200);
    EXPECT_EQ(valueWidth(WLongVarChar, 262140), ValueWidthCap);
    EXPECT_EQ(fieldHint(WLongVarChar, 262140), "(No more than 262140 characters)");

    std::string euro = "\xe2\x82\xac";
    std::string error;
    EXPECT_TRUE(checkFieldValue(euro, WChar, 4, error));
    std::string twoEuros = euro + euro;
    EXPECT_FALSE(checkFieldValue(twoEuros, WChar, 4, error));
    EXPECT_EQ(error, "(No more than 4 characters)");
    std::string grouped = "1,234";
    EXPECT_TRUE(checkFieldValue(grouped, WVarChar, 200, error));
    EXPECT_EQ(grouped, "1,234");
}

TEST(FieldTypes, OnlyLongTextKeepsLineBreaks)
{
    for (int type : std::initializer_list<int>{LongVarChar, WLongVarChar})
        EXPECT_TRUE(SqlType::keepsLineBreaks(type)) << type;
    for (int type : std::initializer_list<int>{Char, VarChar, WChar, WVarChar, Integer, Date,
                                               Timestamp, -4, 0})
        EXPECT_FALSE(SqlType::keepsLineBreaks(type)) << type;
}

TEST(FieldTypes, RemoveCommas)
{
    std::string plain = "1234";
    removeCommas(plain);
    EXPECT_EQ(plain, "1234");
    std::string grouped = "1,234,567.50";
    removeCommas(grouped);
    EXPECT_EQ(grouped, "1234567.50");
    std::string longText = std::string(200, '1') + ",";
    removeCommas(longText);
    EXPECT_EQ(longText, std::string(128, '1'));
    // The cut to 128 bytes falls before a character that straddles it.
    std::string straddling = std::string(127, '1') + "\xc3\xa9,";
    removeCommas(straddling);
    EXPECT_EQ(straddling, std::string(127, '1'));
}

TEST(FieldTypes, CutsNeverSplitACharacter)
{
    // "aé€😀": 1, 2, 3 and 4 bytes.
    const std::string text = "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80";
    const std::size_t expected[] = {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10, 10};
    for (std::size_t width = 0; width < std::size(expected); ++width) {
        EXPECT_EQ(utf8PrefixLength(text, width), expected[width]) << "width " << width;
        std::string cut = text;
        cutToWidth(cut, width);
        EXPECT_EQ(cut, text.substr(0, expected[width]));
    }
    // Bytes that are not UTF-8 (here Latin-1 symbols that look like continuation bytes) are cut
    // at the width, not dropped back to the last character that looks like a lead byte.
    const std::string latin1 = "a" + std::string(10, '\xb0');
    EXPECT_EQ(utf8PrefixLength(latin1, 6), 6u);
    EXPECT_EQ(utf8PrefixLength("\xc3" + latin1, 1), 1u);
}

} // namespace
