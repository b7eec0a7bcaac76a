// The entry data file's reader: lines of KEY=value in, entries out.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "entries/EntryRow.h"

// Takes the text one character at a time, as CTextFile delivers it (LF line ends), and hands each
// entry to onRow in file order (oldest first). Holds one line and one record at a time. A UTF-8
// byte-order mark at the start of the text is skipped.
class CEntryParser
{
public:
    explicit CEntryParser(std::function<void(EntryRow&&)> onRow);

    void PutChar(char c)
    {
        if (c == '\n')
            ProcessLine();
        else
            m_strLine += c;
    }
    // The end of the text: a last line without a line end counts, then the last record.
    void Finish();

private:
    void ProcessLine();
    void EmitRecord();

    std::function<void(EntryRow&&)> m_onRow;
    std::string m_strLine;
    EntryRow m_record;  // OT and DATE carry over into the next record unless it has its own
    bool m_bFirstLine = true;
};

// Parses a whole text (LF line ends, as CTextFile delivers it).
void ParseEntryText(const std::string& strText, const std::function<void(EntryRow&&)>& onRow);
// Parses file bytes into the table they load as: element 0 is the top row, the newest entry.
std::vector<EntryRow> ParseEntryTable(const std::string& strFileBytes);
