// Conversions between a point in time and the local calendar day, in the system's time zone.
#pragma once

#include <cstdint>
#include <string>

// Seconds since 1 January 1970 00:00:00 UTC; 64 bits, so days after 19 January 2038 work too.
using TimeSeconds = std::int64_t;

// The first instant of the local day, or, where that day's midnight does not exist (a daylight-saving
// change at midnight), an instant of the same day, so the day always converts back to itself.
TimeSeconds LocalDayStart(int nYear, int nMonth, int nDay);

// The local day of an instant as year-month-day, month and day in two digits: "2026-03-01".
std::string FormatLocalDay(TimeSeconds nTime);
