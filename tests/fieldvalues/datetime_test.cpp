// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "fieldvalues/datetime.h"
#include "fieldvalues/fieldtypes.h"

namespace {

TEST(DateTime, CheckDateText)
{
    struct
    {
        const char *text;
        bool valid;
    } cases[] = {
        {"", true},
        {"02/29/2000", true},
        {"02/29/1996", true},
        {"02/29/1900", false},
        {"02/29/1999", false},
        {"02/30/2000", false},
        {"04/31/1999", false},
        {"13/01/1999", false},
        {"12/31/0999", false},
        {"2/28/1999", false},
        {"12-31-1999", false},
        {"12/31/19999", true},
        {"00/10/1999", false},
        {"12/00/1999", false},
        {"12/31/1999", true},
        {"01/01/1000", true},
        {"12/31/9999", true},
        // Each of month, day and year is a number and nothing else, so that the date stored is
        // the date checked.
        {"12//1/1999", false},
        {"1a/2b/1999", false},
        {"12/3x/1999", false},
        {"12/31/199x", false},
        {" 1/ 2/1999", true},
        {"12/31/1999 and more", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(checkDateText(c.text, LargestYear), c.valid) << c.text;
    EXPECT_FALSE(checkDateText("12/31/2000", 1999));
}

TEST(DateTime, CheckTimeText)
{
    struct
    {
        const char *text;
        bool valid;
    } cases[] = {
        {"", true},
        {"00:00:00", true},
        {"23:59:59", true},
        {"24:00:00", false},
        {"12:60:00", false},
        {"12:00:60", false},
        {"1:02:03", false},
        {"10:20:30 pm", true},
        {"10-20-30", false},
        {"-1:00:00", false},
        // Hours, minutes and seconds are numbers and nothing else.
        {"ab:cd:ef", false},
        {"1a:00:00", false},
        {"10:2x:00", false},
        {"10:20:3 ", false},
        {" 1:02:03", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(checkTimeText(c.text), c.valid) << c.text;
}

TEST(DateTime, ConvertWrittenDate)
{
    struct
    {
        const char *text;
        const char *converted; // nullptr: not converted
    } cases[] = {
        {"Dec 6, 1999", "12/06/1999"},
        {"6 December 1999", "12/06/1999"},
        {"Monday, December 06, 99", "12/06/1999"},
        {"Dec 6, 99", "12/06/1999"},
        {"Dec 6, 68", "12/06/2068"},
        {"Dec 6, 69", "12/06/1969"},
        {"6 Dec 00", "12/06/2000"},
        {"Dec 6, 26", "12/06/2026"},
        {"DECEMBER 6 1999", "12/06/1999"},
        {"6 decimal 1999", "12/06/1999"},
        {"Dec 1999", nullptr},
        {"31-Dec-1999", nullptr},
        {"x Dec 1999", "12/00/1999"},
        {"6 Dec 1999 10:20:30", "12/06/1999 10:20:30"},
        {"6 Dec 1999 10:20", "12/06/1999"},
        {"6 Dec 1999 25:00:00", "12/06/1999"},
        {"Dec 40 1999", nullptr},
        {"6 Dec 199", nullptr},
        {"6 Dec 19x9", nullptr},
        {"1999 6 Dec", nullptr},
        {"", nullptr},
    };
    for (const auto &c : cases) {
        std::string out = "untouched";
        EXPECT_EQ(convertWrittenDate(c.text, out), c.converted != nullptr) << c.text;
        EXPECT_EQ(out, c.converted ? c.converted : "untouched") << c.text;
    }
}

std::tm fixedTime()
{
    std::tm t{};
    t.tm_year = 126; // 2026
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    return t;
}

std::tm earlyCenturyTime()
{
    std::tm t = fixedTime();
    t.tm_year = 5; // read as 2005
    return t;
}

class DateTimeWithClock : public testing::Test
{
protected:
    void SetUp() override { setLocalClock(fixedTime); }
    void TearDown() override { setLocalClock(nullptr); }
};

TEST_F(DateTimeWithClock, CurrentDateTimeText)
{
    EXPECT_EQ(currentDateTimeText(DateTimeLayout::Date), "12/07/2026");
    EXPECT_EQ(currentDateTimeText(DateTimeLayout::Time), "09:05:03");
    EXPECT_EQ(currentDateTimeText(DateTimeLayout::Timestamp), "12/07/2026-09:05:03");
    setLocalClock(earlyCenturyTime);
    EXPECT_EQ(currentDateTimeText(DateTimeLayout::Date), "12/07/2005");
}

TEST_F(DateTimeWithClock, InitialFieldValue)
{
    // A date or time typed as the default is kept; anything else there means now.
    EXPECT_EQ(initialFieldValue("01/01/1999", 24, 9), "01/01/1999");
    EXPECT_EQ(initialFieldValue("23:59:58", 8, 10), "23:59:58");
    EXPECT_EQ(initialFieldValue("02/29/2000-07:30:00", 64, 11), "02/29/2000-07:30:00");
    EXPECT_EQ(initialFieldValue("02/29/2000", 64, 11), "02/29/2000");
    EXPECT_EQ(initialFieldValue("Actual Date/Time", 24, 9), "12/07/2026");
    EXPECT_EQ(initialFieldValue("Actual Date/Time", 8, 10), "09:05:03");
    EXPECT_EQ(initialFieldValue("Actual Date/Time", 64, 11), "12/07/2026-09:05:03");
    EXPECT_EQ(initialFieldValue("02/30/2000", 24, 9), "12/07/2026");
    EXPECT_EQ(initialFieldValue("x", 64, 11), "12/07/2026-09:05:03");
    EXPECT_EQ(initialFieldValue("Smith", 50, 12), "Smith");
    EXPECT_EQ(initialFieldValue("Smithson", 5, 12), "Smith");
    EXPECT_EQ(initialFieldValue("\xc3\xa9\xc3\xa9", 3, 12), "\xc3\xa9");
}

TEST(DateTime, SystemClockGivesWellFormedTexts)
{
    setLocalClock(nullptr);
    EXPECT_TRUE(checkDateText(currentDateTimeText(DateTimeLayout::Date)));
    EXPECT_TRUE(checkTimeText(currentDateTimeText(DateTimeLayout::Time)));
    std::string stamp = currentDateTimeText(DateTimeLayout::Timestamp);
    std::string error;
    EXPECT_TRUE(checkFieldValue(stamp, 11, 16, error)) << stamp;
}

TEST(DateTime, ParseDateText)
{
    struct
    {
        const char *text;
        int year, month, day;
    } cases[] = {{"12/31/1999", 1999, 12, 31},
                 {"02/29/2000 anything", 2000, 2, 29},
                 {"2/28/1999", 1975, 1, 1},
                 {"", 1975, 1, 1}};
    for (const auto &c : cases) {
        const DateParts d = parseDateText(c.text);
        EXPECT_EQ(d.year, c.year) << c.text;
        EXPECT_EQ(d.month, c.month) << c.text;
        EXPECT_EQ(d.day, c.day) << c.text;
    }
}

TEST(DateTime, ParseTimeText)
{
    struct
    {
        const char *text;
        int hour, minute, second;
    } cases[] = {{"23:59:59", 23, 59, 59},
                 {"99:99:99", 23, 59, 59},
                 {"10:20:30 pm", 10, 20, 30},
                 {"1:02:03", 0, 0, 0},
                 {"", 0, 0, 0}};
    for (const auto &c : cases) {
        const TimeParts t = parseTimeText(c.text);
        EXPECT_EQ(t.hour, c.hour) << c.text;
        EXPECT_EQ(t.minute, c.minute) << c.text;
        EXPECT_EQ(t.second, c.second) << c.text;
    }
}

TEST(DateTime, AnAcceptedTimestampIsReadWithTheTimeThatWasChecked)
{
    std::string value = "12/31/1199923:19:59";
    std::string error;
    ASSERT_TRUE(checkFieldValue(value, 11, 16, error));

    const TimestampParts t = parseTimestampText(value);
    EXPECT_EQ(t.date.year, 1199);
    EXPECT_EQ(t.time.hour, 23);
    EXPECT_EQ(t.time.minute, 19);
    EXPECT_EQ(t.time.second, 59);
}

TEST(DateTime, ParseTimestampText)
{
    struct
    {
        const char *text;
        int year, month, day, hour, minute, second;
    } cases[] = {
        {"12/31/1999 23:59:59", 1999, 12, 31, 23, 59, 59},
        {"12/31/1999-23:59:59", 1999, 12, 31, 23, 59, 59},
        {"12/31/199923:59:59", 1999, 12, 31, 23, 59, 59},
        // Any one character between the date and the time, a digit too, as the check takes it.
        {"12/31/1199923:19:59", 1199, 12, 31, 23, 19, 59},
        {"12/31/1999", 1999, 12, 31, 0, 0, 0},
        {"12/31/1999 23:5", 1999, 12, 31, 0, 0, 0},
        {"12/31/1999 23.59.59", 1999, 12, 31, 0, 0, 0},
        {"nonsense", 1975, 1, 1, 0, 0, 0},
    };
    for (const auto &c : cases) {
        const TimestampParts t = parseTimestampText(c.text);
        EXPECT_EQ(t.date.year, c.year) << c.text;
        EXPECT_EQ(t.date.month, c.month) << c.text;
        EXPECT_EQ(t.date.day, c.day) << c.text;
        EXPECT_EQ(t.time.hour, c.hour) << c.text;
        EXPECT_EQ(t.time.minute, c.minute) << c.text;
        EXPECT_EQ(t.time.second, c.second) << c.text;
    }
}

} // namespace
