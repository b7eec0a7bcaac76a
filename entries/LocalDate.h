// Conversions between a point in time and the local calendar day, in the system's time zone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Seconds since 1 January 1970 00:00:00 UTC; 64 bits, so days after 19 January 2038 work too.
using TimeSeconds = std::int64_t;

// The first instant of the local day, or, where that day's midnight does not exist (a daylight-saving
// change at midnight), an instant of the same day, so the day always converts back to itself.
TimeSeconds LocalDayStart(int nYear, int nMonth, int nDay);

// The local day of an instant as year-month-day, month and day in two digits: "2026-03-01".
std::string FormatLocalDay(TimeSeconds nTime);

struct CalendarDay
{
    int nYear;
    int nMonth;  // 1 to 12
    int nDay;    // 1 to 31
};

// A day written as FormatLocalDay writes it, "2026-03-01" (a four-digit year, month and day in one or
// two digits, white space around allowed); nothing for any other text or a day the calendar lacks.
std::optional<CalendarDay> ParseLocalDay(const std::string& strText);
