// Text helpers of the report: placeholder replacement and HTML escaping.
#include "report/ReportText.h"

std::string ReplacePlaceholder(std::string_view strText, std::string_view strPlaceholder,
                               std::string_view strValue)
{
    if (strPlaceholder.empty())
        return std::string(strText);

    std::string strResult;
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
    return strResult;
}

std::string EscapeHtml(std::string_view strText)
{
    std::string strResult;
    strResult.reserve(strText.size());
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
    return strResult;
}
