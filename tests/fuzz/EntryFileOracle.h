// The data file's oracle on the real path, shared by the fuzzer and the unit test that replays its
// corpus: the bytes as a data file in a folder of their own, loaded through CEntryFile (and so
// through CTextFile's read buffer), saved unchanged, saved with a change, loaded again.
#pragma once

#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "storage/EntryFile.h"
#include "storage/EntryFormat.h"
#include "storage/EntryParser.h"
#include "storage/TextEncoding.h"

namespace entry_oracle
{
inline std::vector<std::string> Names(const std::string& strFolder)
{
    std::vector<std::string> names;
    if (DIR* pDir = opendir(strFolder.c_str()))
    {
        while (dirent* pEntry = readdir(pDir))
        {
            const std::string strName = pEntry->d_name;
            if (strName != "." && strName != "..")
                names.push_back(strName);
        }
        closedir(pDir);
    }
    return names;
}

inline std::string Bytes(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The format's reading rules applied to the whole file at once, written apart from the streaming
// parser: what every record that the format can read loads as, oldest first. bMustBeLossy tells
// whether the file holds something that its save cannot write again as it stands.
inline std::vector<EntryRow> ReadWhole(const std::string& strFileBytes, bool& bMustBeLossy)
{
    bMustBeLossy = false;
    std::string strBytes = strFileBytes;
    if (strBytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        strBytes.erase(0, 3);
    const size_t nCtrlZ = strBytes.find('\x1a');
    if (nCtrlZ != std::string::npos)
    {
        for (size_t i = nCtrlZ; i < strBytes.size(); ++i)
            if (!IsBlank(strBytes[i]) && strBytes[i] != '\x1a')
                bMustBeLossy = true;
        strBytes.resize(nCtrlZ);
    }
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < strBytes.size(); ++i)
    {
        if (strBytes[i] == '\r' && i + 1 < strBytes.size() && strBytes[i + 1] == '\n')
            continue;
        if (strBytes[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += strBytes[i];
    }
    std::vector<EntryRow> rows;
    EntryRow record;
    for (std::string strLine : lines)
    {
        while (!strLine.empty() && IsBlank(strLine.back()))
            strLine.pop_back();
        if (strLine.empty() || strLine == ENTRY_HEADER_LINE)
            continue;
        if (strLine.find('\r') != std::string::npos)
            bMustBeLossy = true;  // a lone CR is written back as a space
        const size_t nEquals = strLine.find('=');
        const std::string strKey = strLine.substr(0, nEquals);
        const std::string strRaw = nEquals == std::string::npos ? std::string() : strLine.substr(nEquals + 1);
        const std::string strValue = ToUtf8(strRaw);
        if (strValue != strRaw)
            bMustBeLossy = true;  // re-decoded
        if (strKey == ENTRY_KEY_DESCRIPTION)
        {
            if (!record.strDescription.empty())
                rows.push_back(record);
            record.strDescription = strValue;
            if (strValue.empty())
                bMustBeLossy = true;  // a record that is not loaded
        }
        else if (strKey == ENTRY_KEY_OVERTIME)
            record.strOvertime = strValue;
        else if (strKey == ENTRY_KEY_DATE)
            record.strDate = strValue;
        else
            bMustBeLossy = true;  // no line of a record
    }
    if (!record.strDescription.empty())
        rows.push_back(record);
    return rows;
}

inline std::vector<std::string> SavedLines(const std::string& strSaved)
{
    std::vector<std::string> lines;
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = strSaved.find("\r\n", nStart)) != std::string::npos; nStart = nEnd + 2)
        lines.push_back(strSaved.substr(nStart, nEnd - nStart));
    return lines;
}
}  // namespace entry_oracle

// The file bytes placed after a filler record, so that the read buffer's 64 KiB boundary falls
// nShift bytes into them (a CR LF or a Ctrl-Z split over two blocks, a line across them).
inline std::string PastTheReadBuffer(const std::string& strBytes, unsigned nShift)
{
    const size_t nFiller = 64 * 1024 - nShift % 256;
    return "DESCRIPTION=" + std::string(nFiller - 14, 'f') + "\r\n" + strBytes;
}

// Empty when the bytes pass: the load through the file gives every record the format can read;
// it is reported lossy whenever something cannot be written back, and a lossless file's every line
// is in its save; a save without changes touches nothing; the first save with a change keeps the
// former bytes as the kept copy exactly when the load was lossy, and as the backup; the saved
// file loads again as the table that was saved. strFolder is a folder of its own; it is emptied.
inline std::string CheckEntryFilePath(const std::string& strFileBytes, const std::string& strFolder)
{
    using namespace entry_oracle;
    for (const std::string& strName : Names(strFolder))
        unlink((strFolder + "/" + strName).c_str());
    const std::string strPath = strFolder + "/kvl.dat";
    {
        std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
        out << strFileBytes;
        if (!out.good())
            return "the input could not be written";
    }
    bool bMustBeLossy = false;
    std::vector<EntryRow> expected = ReadWhole(strFileBytes, bMustBeLossy);

    std::vector<EntryRow> table;  // oldest first while loading
    std::string strProblem;
    {
        CEntryFile file(strPath);
        if (!file.Load([&table](EntryRow&& row) { table.push_back(std::move(row)); }))
            return "the file could not be loaded";
        if (table != expected)
            return "the load through the file differs from reading the whole text";
        const bool bLossy = file.HasUnreadContent();
        if (bMustBeLossy && !bLossy)
            return "a loss was not noticed";
        std::vector<EntryRow> top(table.rbegin(), table.rend());
        auto rowAt = [&top](size_t i) -> const EntryRow& { return top[i]; };
        const std::string strSaved = FormatEntryText(top.size(), rowAt);
        if (!bLossy)
        {
            const std::vector<std::string> savedLines = SavedLines(strSaved);
            std::string strText = strFileBytes;
            if (strText.compare(0, 3, "\xEF\xBB\xBF") == 0)
                strText.erase(0, 3);
            strText = strText.substr(0, strText.find('\x1a'));
            size_t nStart = 0;
            while (nStart <= strText.size())
            {
                size_t nEnd = strText.find('\n', nStart);
                if (nEnd == std::string::npos)
                    nEnd = strText.size();
                std::string strLine = strText.substr(nStart, nEnd - nStart);
                nStart = nEnd + 1;
                while (!strLine.empty() && IsBlank(strLine.back()))
                    strLine.pop_back();
                if (strLine.empty() || strLine == ENTRY_HEADER_LINE)
                    continue;
                if (strLine.find('=') == std::string::npos)
                    strLine += '=';
                bool bFound = false;
                for (const std::string& strSavedLine : savedLines)
                    bFound = bFound || strSavedLine == strLine;
                if (!bFound)
                    return "a line of a file called lossless is not in its save";
            }
        }

        if (!file.Save(top.size(), rowAt) || Bytes(strPath) != strFileBytes || Names(strFolder).size() != 1)
            return "a save without changes touched the folder";
        top.insert(top.begin(), EntryRow{"added", "2026-12-11", "1:00"});
        if (!file.Save(top.size(), rowAt))
            return "the save with a change failed";
        if (Bytes(strPath) != FormatEntryText(top.size(), rowAt))
            return "the saved file does not hold the table";
        if (!strFileBytes.empty() && Bytes(strPath + ".bak") != strFileBytes)
            return "the backup does not hold the former file";
        const CEntryFile::SSaveNotes notes = file.TakeSaveNotes();
        if (bLossy != !notes.strKeptCopy.empty() || Names(strFolder).size() != (strFileBytes.empty() ? 1u : 2u) + bLossy)
            return "a kept copy is missing or was made without a loss";
        if (bLossy && Bytes(notes.strKeptCopy) != strFileBytes)
            return "the kept copy does not hold the former file";
        expected = ParseEntryTable(FormatEntryText(top.size(), rowAt));
        std::reverse(expected.begin(), expected.end());
    }
    CEntryFile again(strPath);
    table.clear();
    again.Load([&table](EntryRow&& row) { table.push_back(std::move(row)); });
    if (table != expected || again.HasUnreadContent())
        return "the saved file did not load again as the table";
    return std::string();
}
