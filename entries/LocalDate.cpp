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

// A run of one to nMaxDigits digits from nPos on, or -1.
int ReadNumber(const std::string& strText, size_t& nPos, size_t nMinDigits, size_t nMaxDigits)
{
    const size_t nStart = nPos;
    int nValue = 0;
    while (nPos < strText.size() && nPos - nStart < nMaxDigits && strText[nPos] >= '0' && strText[nPos] <= '9')
        nValue = nValue * 10 + (strText[nPos++] - '0');
    return nPos - nStart >= nMinDigits ? nValue : -1;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
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

std::optional<CalendarDay> ParseLocalDay(const std::string& strText)
{
    size_t nPos = 0;
    while (nPos < strText.size() && IsBlank(strText[nPos]))
        ++nPos;
    const int nYear = ReadNumber(strText, nPos, 4, 4);
    if (nYear < 0 || nPos >= strText.size() || strText[nPos++] != '-')
        return std::nullopt;
    const int nMonth = ReadNumber(strText, nPos, 1, 2);
    if (nMonth < 0 || nPos >= strText.size() || strText[nPos++] != '-')
        return std::nullopt;
    const int nDay = ReadNumber(strText, nPos, 1, 2);
    while (nPos < strText.size() && IsBlank(strText[nPos]))
        ++nPos;
    if (nDay < 0 || nPos != strText.size() || nMonth < 1 || nMonth > 12 || nDay < 1)
        return std::nullopt;
    static const int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bLeap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
    const int nMonthLength = kDaysInMonth[nMonth - 1] + (nMonth == 2 && bLeap ? 1 : 0);
    if (nDay > nMonthLength)
        return std::nullopt;
    return CalendarDay{nYear, nMonth, nDay};
}
