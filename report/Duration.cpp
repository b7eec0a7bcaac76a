// Conversions between an overtime text and a signed number of minutes.
#include "report/Duration.h"

#include <limits>

namespace
{

constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax = std::numeric_limits<int32_t>::max();

int32_t Clamp(int64_t nValue)
{
    return static_cast<int32_t>(nValue < kMin ? kMin : (nValue > kMax ? kMax : nValue));
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Leading white space, one optional sign, then digits up to the first non-digit. The magnitude
// stops growing once it is past the 32-bit range, so a long digit run cannot overflow.
int32_t ParseNumber(const std::string& strText)
{
    size_t i = 0;
    while (i < strText.size() && IsSpace(strText[i]))
        ++i;
    bool bNegative = false;
    if (i < strText.size() && (strText[i] == '+' || strText[i] == '-'))
        bNegative = strText[i++] == '-';
    int64_t nMagnitude = 0;
    for (; i < strText.size() && strText[i] >= '0' && strText[i] <= '9'; ++i)
    {
        if (nMagnitude <= kMax)
            nMagnitude = nMagnitude * 10 + (strText[i] - '0');
    }
    return Clamp(bNegative ? -nMagnitude : nMagnitude);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A digit run at i, read on to its end; its value stops growing far beyond any count that fits.
bool ReadDigits(const std::string& strText, size_t& i, int64_t& nValue)
{
    const size_t nStart = i;
    nValue = 0;
    for (; i < strText.size() && IsDigit(strText[i]); ++i)
    {
        if (nValue <= kMax)
            nValue = nValue * 10 + (strText[i] - '0');
    }
    return i > nStart;
}

void SkipSpace(const std::string& strText, size_t& i)
{
    while (i < strText.size() && IsSpace(strText[i]))
        ++i;
}

} // namespace

bool IsPlainDuration(const std::string& strText)
{
    size_t i = 0;
    SkipSpace(strText, i);
    bool bNegative = false;
    if (i < strText.size() && (strText[i] == '+' || strText[i] == '-'))
        bNegative = strText[i++] == '-';
    int64_t nHours = 0;
    const bool bHours = ReadDigits(strText, i, nHours);
    SkipSpace(strText, i);
    int64_t nMinutes = 0;
    if (i < strText.size() && strText[i] == ':')
    {
        ++i;
        SkipSpace(strText, i);
        if (!ReadDigits(strText, i, nMinutes))
            return false;
        SkipSpace(strText, i);
    }
    else if (!bHours)
    {
        return false;
    }
    if (i != strText.size())
        return false;
    const int64_t nSaid = (nHours * 60 + nMinutes) * (bNegative ? -1 : 1);
    return nSaid == ParseDuration(strText);
}

int32_t ParseDuration(const std::string& strText)
{
    std::string strHours;
    std::string strMinutes;
    bool bInMinutes = false;
    for (char c : strText)
    {
        if (c == '\n')
            continue;
        if (!bInMinutes)
        {
            if (c == ':')
                bInMinutes = true;
            else
                strHours += c;
        }
        else if (c != '=')
        {
            strMinutes += c;
        }
    }
    return Clamp(static_cast<int64_t>(ParseNumber(strHours)) * 60 + ParseNumber(strMinutes));
}

std::string FormatDuration(int32_t nMinutes)
{
    // Work on the magnitude in 64 bits: the magnitude of INT32_MIN does not fit in 32.
    const int64_t nMagnitude = nMinutes < 0 ? -static_cast<int64_t>(nMinutes) : nMinutes;
    const int64_t nRest = nMagnitude % 60;
    std::string strText = nMinutes < 0 ? "-" : "";
    strText += std::to_string(nMagnitude / 60);
    strText += ':';
    strText += static_cast<char>('0' + nRest / 10);
    strText += static_cast<char>('0' + nRest % 10);
    return strText;
}

int32_t AddMinutes(int32_t nLeft, int32_t nRight)
{
    return Clamp(static_cast<int64_t>(nLeft) + nRight);
}
