// The loader's round-trip check, shared by the fuzzer and the unit test that replays its corpus.
#pragma once

#include <string>
#include <vector>

#include "storage/EntryFormat.h"
#include "storage/EntryParser.h"
#include "storage/TextEncoding.h"

// Empty when the bytes pass: every loaded text is valid UTF-8 without a line end or trailing white
// space, every description is non-empty, and saving the rows and loading them again gives the
// same rows (a CR inside a text written as a space) and then the same bytes.
inline std::string CheckEntryRoundTrip(const std::string& strFileBytes)
{
    const std::vector<EntryRow> loaded = ParseEntryTable(strFileBytes);
    std::vector<EntryRow> expected = loaded;
    for (EntryRow& row : expected)
    {
        if (row.strDescription.empty())
            return "an entry with an empty description was loaded";
        for (std::string* pText : {&row.strDescription, &row.strDate, &row.strOvertime})
        {
            if (!IsValidUtf8(*pText))
                return "a loaded text is not valid UTF-8";
            if (pText->find('\n') != std::string::npos || pText->find('\x1a') != std::string::npos)
                return "a loaded text holds an LF or a Ctrl-Z";
            if (!pText->empty() && std::string(" \t\n\v\f\r").find(pText->back()) != std::string::npos)
                return "a loaded text ends in white space";
            for (char& c : *pText)
                if (c == '\r')
                    c = ' ';
        }
    }
    const std::string strSaved = FormatEntryTable(loaded);
    const std::vector<EntryRow> reloaded = ParseEntryTable(strSaved);
    if (reloaded != expected)
        return "saving and loading again changed the rows";
    if (FormatEntryTable(reloaded) != strSaved)
        return "saving the reloaded rows gave other bytes";
    return std::string();
}
