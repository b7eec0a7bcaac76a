// The widest text of a column, measured lazily against cheap upper bounds.
#include "entries/ColumnWidths.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace
{
// Decodes one UTF-8 sequence at i; a byte that starts no valid sequence gives U+FFFD.
unsigned NextCodePoint(const std::string& s, size_t& i)
{
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const size_t n = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 4;
    if (n == 0)
    {
        ++i;
        return c;
    }
    if (n == 4 || i + n >= s.size())
    {
        ++i;
        return 0xFFFD;
    }
    unsigned cp = c & (0x3F >> n);
    for (size_t k = 1; k <= n; ++k)
    {
        const unsigned char cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80)
        {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    i += n + 1;
    return cp;
}
}  // namespace

CColumnWidths::CColumnWidths(Measure measure, Enumerate enumerate)
    : m_measure(std::move(measure)), m_enumerate(std::move(enumerate))
{
    std::fill(std::begin(m_asciiWidths), std::end(m_asciiWidths), -1);
}

int CColumnWidths::MeasureText(const std::string& strText)
{
    if (strText.empty())
        return 0;
    // Dates and overtimes repeat across the log and their widths lie too close together for the
    // bounds to tell them apart: short texts are measured once each.
    const bool bShort = strText.size() <= kShortText;
    if (bShort)
    {
        const auto it = m_shortWidths.find(strText);
        if (it != m_shortWidths.end())
            return it->second;
    }
    ++m_nMeasureCount;
    const int nWidth = m_measure(strText);
    if (bShort)
    {
        if (m_shortWidths.size() >= kShortTextsKept)
            m_shortWidths.clear();
        m_shortWidths.emplace(strText, nWidth);
    }
    return nWidth;
}

int CColumnWidths::CharWidth(unsigned nCodePoint, const std::string& strText, size_t nStart, size_t nEnd)
{
    if (nCodePoint < 128)
    {
        int& nWidth = m_asciiWidths[nCodePoint];
        if (nWidth < 0)
            nWidth = MeasureText(strText.substr(nStart, nEnd - nStart));
        return nWidth;
    }
    auto it = m_charWidths.find(nCodePoint);
    if (it == m_charWidths.end())
        it = m_charWidths.emplace(nCodePoint, MeasureText(strText.substr(nStart, nEnd - nStart))).first;
    return it->second;
}

int CColumnWidths::Bound(const std::string& strText, int* pLowerBound)
{
    long nSum = 0;
    for (size_t i = 0; i < strText.size();)
    {
        const size_t nStart = i;
        const unsigned cp = NextCodePoint(strText, i);
        // Combining marks and complex scripts shape too differently from their parts: always measure.
        if (cp >= 0x300 || cp < 0x20)
        {
            if (pLowerBound)
                *pLowerBound = 0;
            return INT_MAX;
        }
        nSum += CharWidth(cp, strText, nStart, i);
    }
    if (pLowerBound)
    {
        const long nLower = nSum - nSum / 8 - 4;
        *pLowerBound = nLower < 0 ? 0 : nLower > INT_MAX ? INT_MAX : static_cast<int>(nLower);
    }
    const long nBound = nSum + nSum / 8 + 4;
    return nBound > INT_MAX ? INT_MAX : static_cast<int>(nBound);
}

void CColumnWidths::Consider(const std::string& strText)
{
    int nLower = 0;
    const int nBound = Bound(strText, &nLower);
    if (nLower >= m_nLimit)
    {
        ++m_nBeyondLimit;
        return;
    }
    // While a text reaches the limit the column is as wide as it gets: nothing else is measured, and
    // the texts are visited again once the last such text has gone.
    if (m_nBeyondLimit > 0)
    {
        m_bStale = true;
        return;
    }
    if (nBound < m_nWidest)
        return;
    const int nWidth = MeasureText(strText);
    if (nWidth > m_nWidest)
    {
        m_nWidest = nWidth;
        m_nAtWidest = 1;
    }
    else if (nWidth == m_nWidest)
        ++m_nAtWidest;
}

void CColumnWidths::Add(const std::string& strText)
{
    Consider(strText);
}

void CColumnWidths::Remove(const std::string& strText)
{
    // The same decisions as Consider made for this text: its bounds and the limit have not changed.
    int nLower = 0;
    const int nBound = Bound(strText, &nLower);
    if (nLower >= m_nLimit)
    {
        --m_nBeyondLimit;
        return;
    }
    // A text narrower than the widest cannot change it; its bound tells so without measuring.
    if (m_bStale || nBound < m_nWidest)
        return;
    if (MeasureText(strText) == m_nWidest && --m_nAtWidest <= 0)
        m_bStale = true;
}

void CColumnWidths::SetLimit(int nLimit)
{
    if (nLimit == m_nLimit)
        return;
    m_nLimit = nLimit;
    m_nBeyondLimit = 0;
    m_bStale = true;
    m_bCountStale = true;
}

int CColumnWidths::Widest()
{
    if (m_bCountStale || (m_bStale && m_nBeyondLimit == 0))
    {
        m_bStale = false;
        m_bCountStale = false;
        m_nWidest = 0;
        m_nAtWidest = 0;
        m_nBeyondLimit = 0;
        m_enumerate([this](const std::string& strText) { Consider(strText); });
    }
    return m_nBeyondLimit > 0 ? m_nLimit : m_nWidest;
}
