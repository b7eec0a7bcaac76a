// The widest text of a column, measured lazily against cheap upper bounds.
#include "entries/ColumnWidths.h"

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

CColumnWidths::CColumnWidths(Measure measure) : m_measure(std::move(measure)) {}

int CColumnWidths::MeasureText(const std::string& strText)
{
    ++m_nMeasureCount;
    return m_measure(strText);
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
        auto it = m_charWidths.find(cp);
        if (it == m_charWidths.end())
            it = m_charWidths.emplace(cp, MeasureText(strText.substr(nStart, i - nStart))).first;
        nSum += it->second;
    }
    const long nBound = nSum + nSum / 8 + 4;
    return nBound > INT_MAX ? INT_MAX : static_cast<int>(nBound);
}

void CColumnWidths::Add(const std::string& strText)
{
    auto it = m_texts.find(strText);
    if (it == m_texts.end())
    {
        it = m_texts.emplace(strText, Text()).first;
        it->second.itPending = m_pending.emplace(Bound(strText), &it->first);
    }
    Text& text = it->second;
    ++text.nCount;
    if (text.nWidth >= 0)
        ++m_measured[text.nWidth];
}

void CColumnWidths::Remove(const std::string& strText)
{
    auto it = m_texts.find(strText);
    if (it == m_texts.end())
        return;
    Text& text = it->second;
    if (text.nWidth >= 0)
    {
        auto itWidth = m_measured.find(text.nWidth);
        if (--itWidth->second == 0)
            m_measured.erase(itWidth);
    }
    if (--text.nCount > 0)
        return;
    if (text.nWidth < 0)
        m_pending.erase(text.itPending);
    m_texts.erase(it);
}

int CColumnWidths::Widest()
{
    while (!m_pending.empty())
    {
        const auto itTop = std::prev(m_pending.end());
        const int nWidest = m_measured.empty() ? -1 : m_measured.rbegin()->first;
        if (itTop->first <= nWidest)
            break;
        Text& text = m_texts.find(*itTop->second)->second;
        text.nWidth = MeasureText(*itTop->second);
        m_measured[text.nWidth] += text.nCount;
        m_pending.erase(itTop);
    }
    return m_measured.empty() ? 0 : m_measured.rbegin()->first;
}
