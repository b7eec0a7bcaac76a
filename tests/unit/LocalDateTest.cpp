// Local days under time zones whose daylight saving changes at midnight.
#include "entries/LocalDate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace
{
class LocalDateTest : public testing::Test
{
protected:
    void TearDown() override
    {
        unsetenv("TZ");
        tzset();
    }
};
}  // namespace

TEST_F(LocalDateTest, EveryDayConvertsBackToItself)
{
    // Sao Paulo (until 2019) and Havana begin daylight saving at midnight: that midnight never happens.
    for (const char* pszZone : {"America/Sao_Paulo", "America/Havana", "Europe/Berlin", "Pacific/Apia", "UTC"})
    {
        setenv("TZ", pszZone, 1);
        tzset();
        for (int nYear : {1970, 1999, 2018, 2037, 2038, 2040, 2100})
            for (int nMonth = 1; nMonth <= 12; ++nMonth)
                for (int nDay = 1; nDay <= 28; ++nDay)
                {
                    char szWanted[16];
                    std::snprintf(szWanted, sizeof szWanted, "%d-%02d-%02d", nYear, nMonth, nDay);
                    ASSERT_EQ(FormatLocalDay(LocalDayStart(nYear, nMonth, nDay)), szWanted) << pszZone;
                }
    }
}

TEST_F(LocalDateTest, DaysAfter2038AreNotWrapped)
{
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(LocalDayStart(2040, 2, 29), 2214086400LL);
    EXPECT_EQ(FormatLocalDay(2214086400LL + 86399), "2040-02-29");
}

TEST(ParseLocalDayTest, ReadsTheDaysTheCalendarWritesAndNothingElse)
{
    const struct
    {
        const char* pszText;
        bool bDay;
        int nYear, nMonth, nDay;
    } cases[] = {
        {"2026-03-01", true, 2026, 3, 1},
        {"1970-01-01", true, 1970, 1, 1},
        {"2040-02-29", true, 2040, 2, 29},
        {"2000-02-29", true, 2000, 2, 29},
        {"2026-3-1", true, 2026, 3, 1},
        {"  2026-12-31\t", true, 2026, 12, 31},
        {"1900-02-29", false, 0, 0, 0},
        {"2026-02-29", false, 0, 0, 0},
        {"2026-04-31", false, 0, 0, 0},
        {"2026-13-01", false, 0, 0, 0},
        {"2026-00-10", false, 0, 0, 0},
        {"2026-01-00", false, 0, 0, 0},
        {"2026-01-001", false, 0, 0, 0},
        {"26-01-01", false, 0, 0, 0},
        {"20260-01-01", false, 0, 0, 0},
        {"2026/01/01", false, 0, 0, 0},
        {"2026-01-01x", false, 0, 0, 0},
        {"-2026-01-01", false, 0, 0, 0},
        {"yesterday", false, 0, 0, 0},
        {"", false, 0, 0, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszText);
        const std::optional<CalendarDay> day = ParseLocalDay(c.pszText);
        ASSERT_EQ(day.has_value(), c.bDay);
        if (!day)
            continue;
        EXPECT_EQ(day->nYear, c.nYear);
        EXPECT_EQ(day->nMonth, c.nMonth);
        EXPECT_EQ(day->nDay, c.nDay);
    }
}

TEST_F(LocalDateTest, AParsedDayFormatsBackToTheSameText)
{
    setenv("TZ", "America/Sao_Paulo", 1);
    tzset();
    for (const char* pszDay : {"2018-11-04", "2026-03-01", "2038-01-20", "1999-12-31"})
    {
        const std::optional<CalendarDay> day = ParseLocalDay(pszDay);
        ASSERT_TRUE(day) << pszDay;
        EXPECT_EQ(FormatLocalDay(LocalDayStart(day->nYear, day->nMonth, day->nDay)), pszDay);
    }
}
