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
    ++m_nMeasureCount;
    return m_measure(strText);
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

int CColumnWidths::Bound(const std::string& strText)
{
    long nSum = 0;
    for (size_t i = 0; i < strText.size();)
    {
        const size_t nStart = i;
        const unsigned cp = NextCodePoint(strText, i);
        // Combining marks and complex scripts shape too differently from their parts: always measure.
        if (cp >= 0x300 || cp < 0x20)
            return INT_MAX;
        nSum += CharWidth(cp, strText, nStart, i);
    }
    const long nBound = nSum + nSum / 8 + 4;
    return nBound > INT_MAX ? INT_MAX : static_cast<int>(nBound);
}

void CColumnWidths::Consider(const std::string& strText)
{
    if (Bound(strText) < m_nWidest)
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
    if (!m_bStale)
        Consider(strText);
}

void CColumnWidths::Remove(const std::string& strText)
{
    // A text narrower than the widest cannot change it; its bound tells so without measuring.
    if (m_bStale || Bound(strText) < m_nWidest)
        return;
    if (MeasureText(strText) == m_nWidest && --m_nAtWidest <= 0)
        m_bStale = true;
}

int CColumnWidths::Widest()
{
    if (m_bStale)
    {
        m_bStale = false;
        m_nWidest = 0;
        m_nAtWidest = 0;
        m_enumerate([this](const std::string& strText) { Consider(strText); });
    }
    return m_nWidest;
}
