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
