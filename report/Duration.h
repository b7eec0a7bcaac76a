// Conversions between an overtime text such as "1:30" and a signed number of minutes.
#pragma once

#include <cstdint>
#include <string>

// Hours before the first colon, minutes after it; any text is accepted and a text without digits
// is worth 0. Values beyond the 32-bit range saturate at INT32_MIN / INT32_MAX.
int32_t ParseDuration(const std::string& strText);

// Whether the text is hours, hours:minutes or :minutes in decimal digits, with white space allowed
// before and after each part and one sign at the start, and counts as what it says. ParseDuration
// gives a sign to the hours alone and saturates, so "-1:30" (worth -0:30) and a number past the
// 32-bit range are not plain, while "-2" and "-1:00" are. The empty text is not either.
bool IsPlainDuration(const std::string& strText);

// "h:mm" with the minutes always in two digits ("1:05"); a negative total gets a leading minus
// ("-1:30" for -90).
std::string FormatDuration(int32_t nMinutes);

// Adds two minute counts, saturating instead of overflowing; the report's running sum uses it.
int32_t AddMinutes(int32_t nLeft, int32_t nRight);
