// Text helpers of the report: placeholder replacement and HTML escaping.
#include "report/ReportText.h"

std::string ReplacePlaceholder(std::string_view strText, std::string_view strPlaceholder,
                               std::string_view strValue)
{
    std::string strResult;
    ReplacePlaceholderInto(strResult, strText, strPlaceholder, strValue);
    return strResult;
}

void ReplacePlaceholderInto(std::string& strResult, std::string_view strText,
                            std::string_view strPlaceholder, std::string_view strValue)
{
    strResult.clear();
    if (strPlaceholder.empty())
    {
        strResult.append(strText);
        return;
    }
    strResult.reserve(strText.size());
    size_t nPos = 0;
    for (size_t nHit = strText.find(strPlaceholder); nHit != std::string_view::npos;
         nHit = strText.find(strPlaceholder, nPos))
    {
        strResult.append(strText.substr(nPos, nHit - nPos));
        strResult.append(strValue);
        nPos = nHit + strPlaceholder.size();
    }
    strResult.append(strText.substr(nPos));
}

std::string EscapeHtml(std::string_view strText)
{
    std::string strResult;
    EscapeHtmlInto(strResult, strText);
    return strResult;
}

void EscapeHtmlInto(std::string& strResult, std::string_view strText)
{
    strResult.clear();
    if (strText.find_first_of("&<>\"'") == std::string_view::npos)
    {
        strResult.append(strText);
        return;
    }
    for (char c : strText)
    {
        switch (c)
        {
        case '&': strResult += "&amp;"; break;
        case '<': strResult += "&lt;"; break;
        case '>': strResult += "&gt;"; break;
        case '"': strResult += "&quot;"; break;
        case '\'': strResult += "&#39;"; break;
        default: strResult += c; break;
        }
    }
}
