// Local calendar days through the C library's time zone rules.
#include "entries/LocalDate.h"

#include <cstdio>
#include <ctime>

namespace
{
std::tm LocalTime(TimeSeconds nTime)
{
    const std::time_t t = static_cast<std::time_t>(nTime);
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

TimeSeconds MakeLocal(int nYear, int nMonth, int nDay, int nHour)
{
    std::tm local{};
    local.tm_year = nYear - 1900;
    local.tm_mon = nMonth - 1;
    local.tm_mday = nDay;
    local.tm_hour = nHour;
    local.tm_isdst = -1;  // let the zone's rules decide
    return static_cast<TimeSeconds>(std::mktime(&local));
}

bool IsDay(TimeSeconds nTime, int nYear, int nMonth, int nDay)
{
    const std::tm local = LocalTime(nTime);
    return local.tm_year == nYear - 1900 && local.tm_mon == nMonth - 1 && local.tm_mday == nDay;
}
}  // namespace

TimeSeconds LocalDayStart(int nYear, int nMonth, int nDay)
{
    const TimeSeconds nMidnight = MakeLocal(nYear, nMonth, nDay, 0);
    if (IsDay(nMidnight, nYear, nMonth, nDay))
        return nMidnight;
    return MakeLocal(nYear, nMonth, nDay, 12);
}

std::string FormatLocalDay(TimeSeconds nTime)
{
    const std::tm local = LocalTime(nTime);
    char szDay[32];
    std::snprintf(szDay, sizeof szDay, "%d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return szDay;
}
