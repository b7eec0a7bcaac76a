// Tests of the conversions between overtime texts and minutes.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "report/Duration.h"

namespace
{

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(ParseDuration, Cases)
{
    struct Case
    {
        std::string strText;
        int32_t nExpected;
    };
    const std::vector<Case> cases = {
        {"1:30", 90}, {"0:15", 15}, {"12:00", 720},
        // no colon: all hours
        {"2", 120}, {"15", 900},
        {":45", 45}, {"", 0}, {"abc", 0}, {":", 0}, {"-", 0},
        // minutes are not limited to 59
        {"1:75", 135}, {"1:5", 65}, {"1:05", 65},
        // a sign belongs to its part
        {"-1:30", -30}, {"1:-30", 30}, {"+1:+30", 90}, {"-1:-30", -90},
        {" 1: 30", 90}, {"\t\r\v\f2", 120},
        // each part ends at its first non-digit; later colons are ordinary bytes
        {"1.5", 60}, {"1:30:15", 90}, {"1:30 h", 90}, {"1 30", 60},
        // "=" is dropped only after the colon
        {"1:=30", 90}, {"=1:30", 30}, {"1:3=0", 90},
        // LF is removed first, so it joins digits
        {"1\n2:00", 720}, {"1:3\n0", 90},
        // beyond the 32-bit range everything saturates
        {"35791394:07", kMax}, {"35791394:08", kMax}, {"-35791394:-08", kMin},
        {"-35791394:-09", kMin}, {"0:2147483647", kMax}, {"0:2147483648", kMax},
        {"0:-2147483648", kMin}, {"0:-2147483649", kMin},
        {"99999999999999999999999", kMax}, {"-99999999999999999999999", kMin},
        // each part saturates alone; the sum is exact, then clamped once
        {"35791394:99999999999", kMax},
        {"-35791394:99999999999", 7}, {"-99999999999:99999999999", kMin},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("text '" + c.strText + "'");
        EXPECT_EQ(ParseDuration(c.strText), c.nExpected);
    }
}

TEST(FormatDuration, Cases)
{
    struct Case
    {
        int32_t nMinutes;
        std::string strExpected;
    };
    const std::vector<Case> cases = {
        {90, "1:30"},     {60, "1:00"},  {15, "0:15"},   {0, "0:00"},
        {705, "11:45"},   {720, "12:00"}, {65, "1:05"},  {1, "0:01"},
        {6000, "100:00"}, {-90, "-1:30"}, {-5, "-0:05"}, {-60, "-1:00"},
        {kMax, "35791394:07"}, {kMin, "-35791394:08"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.nMinutes);
        EXPECT_EQ(FormatDuration(c.nMinutes), c.strExpected);
    }
}

// With the minutes always in two digits, every total of zero or more reads back as itself.
TEST(FormatDuration, ParsesBackForNonNegativeTotals)
{
    std::vector<int32_t> totals = {kMax, kMax - 1, kMax - 59, 1000000007};
    for (int32_t n = 0; n <= 1500; ++n)
        totals.push_back(n);
    for (int32_t nTotal : totals)
    {
        SCOPED_TRACE(nTotal);
        EXPECT_EQ(ParseDuration(FormatDuration(nTotal)), nTotal);
    }
}

TEST(AddMinutes, Saturates)
{
    struct Case
    {
        int32_t nLeft;
        int32_t nRight;
        int32_t nExpected;
    };
    const std::vector<Case> cases = {
        {90, 45, 135}, {90, -120, -30},  {kMax, 1, kMax},   {kMax, kMax, kMax},
        {kMin, -1, kMin}, {kMin, kMin, kMin}, {kMax, kMin, -1}, {kMax - 1, 1, kMax},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.nLeft) + " + " + std::to_string(c.nRight));
        EXPECT_EQ(AddMinutes(c.nLeft, c.nRight), c.nExpected);
    }
}

TEST(IsPlainDuration, Cases)
{
    struct Case
    {
        std::string strText;
        bool bPlain;
    };
    const std::vector<Case> cases = {
        // the drop-down's own texts and what is typed in their place
        {"0:15", true}, {"12:00", true}, {"1:30", true}, {"1", true}, {"15", true}, {":45", true},
        {"1:5", true}, {"1:75", true}, {"007:05", true},
        // white space around the parts; one sign at the start
        {" 1: 30", true}, {"1 :30 ", true}, {"\t2\t", true}, {"+1:30", true}, {"-2", true}, {"-1:00", true},
        {"+:30", true}, {" -0:00", true},
        // a minus reaches only the hours, so a text with minutes would count as something else
        {"-1:30", false}, {"-:30", false}, {"- 1", false},
        // not of the forms, though ParseDuration reads something out of them
        {"", false}, {" ", false}, {":", false}, {"1:", false}, {"-", false}, {"+-1", false},
        {"1.5", false}, {"1,5", false}, {"2h 30m", false}, {"1:30 h", false}, {"abc", false},
        {"1 30", false}, {"1:30:15", false}, {"1:-30", false}, {"1:+30", false}, {"1:=30", false},
        {"=1:30", false}, {"1\n2:00", false}, {"1:3\n0", false}, {"\xef\xbc\x91:00", false},
        // beyond the 32-bit range the count saturates
        {"35791394:07", true}, {"35791394:08", false}, {"99999999999", false},
        {"-35791394:00", true}, {"-35791395", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("\"" + c.strText + "\"");
        EXPECT_EQ(IsPlainDuration(c.strText), c.bPlain);
    }
}

} // namespace
