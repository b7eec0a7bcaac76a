// Writer of the entry data file's text.
#include "storage/EntryFormat.h"

const char* const ENTRY_HEADER_LINE = "CREATOR=KVL 1.0";
const char* const ENTRY_KEY_DESCRIPTION = "DESCRIPTION";
const char* const ENTRY_KEY_OVERTIME = "OT";
const char* const ENTRY_KEY_DATE = "DATE";

namespace
{
void AppendLine(std::string& strOut, const char* pszKey, const std::string& strValue)
{
    strOut += pszKey;
    strOut += '=';
    // Appended whole, then mended in place: a text may be many megabytes long.
    const size_t nStart = strOut.size();
    strOut += strValue;
    for (size_t i = nStart; i < strOut.size(); ++i)
    {
        char& c = strOut[i];
        if (c == '\r' || c == '\n' || c == 26)
            c = ' ';
    }
    strOut += "\r\n";
}
}  // namespace

std::string FormatEntryText(size_t nRows, const std::function<const EntryRow&(size_t)>& rowAt)
{
    std::string strOut;
    if (nRows == 0)
        return strOut;
    // Sized once up front: a large table is then copied into place exactly once.
    size_t nSize = 0;
    for (size_t i = 0; i < nRows; ++i)
    {
        const EntryRow& row = rowAt(i);
        nSize += row.strDescription.size() + row.strOvertime.size() + row.strDate.size() + 32;
    }
    strOut.reserve(nSize + 32);
    for (size_t i = nRows; i-- > 0;)
        AppendEntryRecord(strOut, rowAt(i));
    return strOut;
}

void AppendEntryRecord(std::string& strOut, const EntryRow& row)
{
    if (strOut.empty())
    {
        strOut += ENTRY_HEADER_LINE;
        strOut += "\r\n";
    }
    else
        strOut += "\r\n";
    AppendLine(strOut, ENTRY_KEY_DESCRIPTION, row.strDescription);
    AppendLine(strOut, ENTRY_KEY_OVERTIME, row.strOvertime);
    AppendLine(strOut, ENTRY_KEY_DATE, row.strDate);
}

std::string FormatEntryTable(const std::vector<EntryRow>& table)
{
    return FormatEntryText(table.size(), [&table](size_t i) -> const EntryRow& { return table[i]; });
}
