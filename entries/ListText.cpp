// How a cell's text is shown in the list.
#include "entries/ListText.h"

namespace
{
const char kEllipsis[] = "\xe2\x80\xa6";  // U+2026

// The byte offset after which the list shortens the text, or npos when it shows it whole.
size_t CutOffset(const std::string& strText)
{
    if (strText.size() <= kListTextLimit)
        return std::string::npos;  // fewer bytes than the limit: fewer code points too
    size_t nCodePoints = 0;
    for (size_t i = 0; i < strText.size(); ++i)
    {
        const bool bStartsCodePoint = (static_cast<unsigned char>(strText[i]) & 0xC0) != 0x80;
        if (bStartsCodePoint && nCodePoints++ == kListTextLimit)
            return i;
    }
    return std::string::npos;
}
}  // namespace

bool IsListTextWhole(const std::string& strText)
{
    return CutOffset(strText) == std::string::npos;
}

std::string ListText(const std::string& strText)
{
    const size_t nCut = CutOffset(strText);
    if (nCut == std::string::npos)
        return strText;
    return strText.substr(0, nCut) + kEllipsis;
}
