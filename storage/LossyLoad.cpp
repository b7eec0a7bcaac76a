// The line-by-line comparison of a data file with the save of the table it loaded as.
#include "storage/LossyLoad.h"

#include <string_view>

#include "storage/EntryFormat.h"

namespace
{
const char CTRL_Z = 26;

bool IsLineEndBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

// The text that holds the lines: an end-of-file Ctrl-Z (with only white space after it) ends it.
std::string_view TextOf(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    const size_t nCtrlZ = bytes.find(CTRL_Z);
    if (nCtrlZ != std::string_view::npos &&
        bytes.find_first_not_of(" \t\n\v\f\r\x1a", nCtrlZ) == std::string_view::npos)
        bytes = bytes.substr(0, nCtrlZ);
    return bytes;
}

// Walks the lines that count, one at a time.
class CLineWalker
{
public:
    explicit CLineWalker(std::string_view text) : m_text(TextOf(text)) {}

    bool Next(std::string_view& line)
    {
        while (m_nPos < m_text.size())
        {
            size_t nEnd = m_text.find('\n', m_nPos);
            if (nEnd == std::string_view::npos)
                nEnd = m_text.size();
            line = m_text.substr(m_nPos, nEnd - m_nPos);
            m_nPos = nEnd + 1;
            while (!line.empty() && IsLineEndBlank(line.back()))
                line.remove_suffix(1);
            if (!line.empty() && line != ENTRY_HEADER_LINE)
                return true;
        }
        return false;
    }

private:
    std::string_view m_text;
    size_t m_nPos = 0;
};

bool SameLine(std::string_view fileLine, std::string_view savedLine)
{
    if (fileLine == savedLine)
        return true;
    // A key alone loads as that key with an empty value, which the save writes as "KEY=".
    return fileLine.find('=') == std::string_view::npos && savedLine.size() == fileLine.size() + 1 &&
           savedLine.back() == '=' && savedLine.substr(0, fileLine.size()) == fileLine;
}
}  // namespace

bool IsLossyLoad(const std::string& strFileBytes, const std::string& strSavedBytes)
{
    if (strFileBytes == strSavedBytes)
        return false;
    CLineWalker file(strFileBytes);
    CLineWalker saved(strSavedBytes);
    std::string_view fileLine;
    std::string_view savedLine;
    // Matching each file line to the earliest saved line that fits leaves the most saved lines for
    // the lines after it, so a greedy walk finds an order-keeping match whenever one exists.
    while (file.Next(fileLine))
    {
        do
        {
            if (!saved.Next(savedLine))
                return true;
        } while (!SameLine(fileLine, savedLine));
    }
    return false;
}
