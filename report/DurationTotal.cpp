// The total of a changing set of overtime texts.
#include "report/DurationTotal.h"

#include "report/Duration.h"

#include <cstdlib>

void CDurationTotal::Add(const std::string& strOvertime)
{
    const int64_t nMinutes = ParseDuration(strOvertime);
    m_nSum += nMinutes;
    m_nMagnitudes += std::llabs(nMinutes);
}

void CDurationTotal::Remove(const std::string& strOvertime)
{
    const int64_t nMinutes = ParseDuration(strOvertime);
    m_nSum -= nMinutes;
    m_nMagnitudes -= std::llabs(nMinutes);
}

void CDurationTotal::Clear()
{
    m_nSum = 0;
    m_nMagnitudes = 0;
}

bool CDurationTotal::IsExact() const
{
    return m_nMagnitudes <= INT32_MAX;
}

int32_t CDurationTotal::Total() const
{
    return static_cast<int32_t>(m_nSum);
}
