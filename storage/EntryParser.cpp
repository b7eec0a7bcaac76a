// Reader of the entry data file's lines.
#include "storage/EntryParser.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "storage/EntryFormat.h"
#include "storage/TextEncoding.h"
#include "storage/TextFile.h"

namespace
{
const char UTF8_BOM[] = "\xEF\xBB\xBF";

// Only ASCII white space: no byte of a UTF-8 sequence falls in this range, so a byte-wise scan
// from the end never cuts a character.
bool IsTrailingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
}  // namespace

CEntryParser::CEntryParser(std::function<void(EntryRow&&)> onRow) : m_onRow(std::move(onRow))
{
}

void CEntryParser::EmitRecord()
{
    if (!m_record.strDescription.empty())
        m_onRow(EntryRow(m_record));
}

void CEntryParser::ProcessLine()
{
    // Editors on other systems may begin a UTF-8 file with a byte-order mark; it is no part of a key.
    if (m_bFirstLine)
    {
        m_bFirstLine = false;
        if (m_strLine.compare(0, 3, UTF8_BOM) == 0)
            m_strLine.erase(0, 3);
    }
    size_t nLength = m_strLine.size();
    while (nLength > 0 && IsTrailingSpace(m_strLine[nLength - 1]))
        --nLength;
    m_strLine.resize(nLength);

    // The value is everything after the first "=", further ones included; no "=" means no value.
    const size_t nEquals = m_strLine.find('=');
    const size_t nKeyLength = nEquals == std::string::npos ? m_strLine.size() : nEquals;
    auto keyIs = [&](const char* pszKey) {
        return nKeyLength == std::strlen(pszKey) && m_strLine.compare(0, nKeyLength, pszKey) == 0;
    };
    auto value = [&]() {
        return nEquals == std::string::npos ? std::string() : ToUtf8(m_strLine.substr(nEquals + 1));
    };

    if (keyIs(ENTRY_KEY_DESCRIPTION))
    {
        EmitRecord();
        m_record.strDescription = value();
    }
    else if (keyIs(ENTRY_KEY_OVERTIME))
        m_record.strOvertime = value();
    else if (keyIs(ENTRY_KEY_DATE))
        m_record.strDate = value();
    m_strLine.clear();
}

void CEntryParser::Finish()
{
    if (!m_strLine.empty())
        ProcessLine();
    EmitRecord();
    m_record = EntryRow();
}

void ParseEntryText(const std::string& strText, const std::function<void(EntryRow&&)>& onRow)
{
    CEntryParser parser(onRow);
    for (char c : strText)
        parser.PutChar(c);
    parser.Finish();
}

std::vector<EntryRow> ParseEntryTable(const std::string& strFileBytes)
{
    std::vector<EntryRow> table;
    ParseEntryText(DecodeTextBytes(strFileBytes), [&table](EntryRow&& row) { table.push_back(std::move(row)); });
    std::reverse(table.begin(), table.end());
    return table;
}
