// A replacement step over a text in pieces.
#include "report/PlaceholderStream.h"

#include <algorithm>

CPlaceholderStream::CPlaceholderStream(std::string strPlaceholder, std::string strValue, Sink next)
    : m_strPlaceholder(std::move(strPlaceholder)), m_strValue(std::move(strValue)), m_next(std::move(next))
{
}

void CPlaceholderStream::Write(std::string_view strText)
{
    if (m_strPlaceholder.empty())
    {
        m_next(strText);
        return;
    }
    m_strPending.append(strText);
    const std::string_view pending(m_strPending);
    size_t nPos = 0;
    for (size_t nHit = pending.find(m_strPlaceholder); nHit != std::string_view::npos;
         nHit = pending.find(m_strPlaceholder, nPos))
    {
        m_next(pending.substr(nPos, nHit - nPos));
        m_next(m_strValue);
        nPos = nHit + m_strPlaceholder.size();
    }
    // The last few characters may begin an occurrence that the next piece completes.
    const size_t nKeep = std::min(m_strPlaceholder.size() - 1, pending.size() - nPos);
    const size_t nEnd = pending.size() - nKeep;
    if (nEnd > nPos)
        m_next(pending.substr(nPos, nEnd - nPos));
    m_strPending.erase(0, nEnd);
}

void CPlaceholderStream::Finish()
{
    if (!m_strPending.empty())
        m_next(m_strPending);
    m_strPending.clear();
}
