// UTF-8 validation and the Windows-1252 table.
#include "storage/TextEncoding.h"

#include <cstdint>

namespace
{
// Windows-1252 0x80..0x9F; the rest of the upper half equals Latin-1.
const uint16_t CP1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& strOut, uint32_t nCode)
{
    if (nCode < 0x80)
        strOut += static_cast<char>(nCode);
    else if (nCode < 0x800)
    {
        strOut += static_cast<char>(0xC0 | (nCode >> 6));
        strOut += static_cast<char>(0x80 | (nCode & 0x3F));
    }
    else
    {
        strOut += static_cast<char>(0xE0 | (nCode >> 12));
        strOut += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (nCode & 0x3F));
    }
}

void AppendCp1252(std::string& strOut, unsigned char c)
{
    if (c < 0x80)
        strOut += static_cast<char>(c);
    else if (c < 0xA0)
        AppendUtf8(strOut, CP1252_HIGH[c - 0x80]);
    else
        AppendUtf8(strOut, c);
}
}  // namespace

size_t Utf8SequenceLength(const std::string& strBytes, size_t nPos)
{
    const size_t nSize = strBytes.size();
    const unsigned char c = static_cast<unsigned char>(strBytes[nPos]);
    if (c < 0x80)
        return 1;
    size_t nLength;
    unsigned char nLow = 0x80, nHigh = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF)
        nLength = 2;
    else if (c >= 0xE0 && c <= 0xEF)
    {
        nLength = 3;
        if (c == 0xE0)
            nLow = 0xA0;  // overlong
        else if (c == 0xED)
            nHigh = 0x9F;  // surrogates
    }
    else if (c >= 0xF0 && c <= 0xF4)
    {
        nLength = 4;
        if (c == 0xF0)
            nLow = 0x90;  // overlong
        else if (c == 0xF4)
            nHigh = 0x8F;  // above U+10FFFF
    }
    else
        return 0;
    if (nSize - nPos < nLength)
        return 0;
    const unsigned char c1 = static_cast<unsigned char>(strBytes[nPos + 1]);
    if (c1 < nLow || c1 > nHigh)
        return 0;
    for (size_t k = 2; k < nLength; ++k)
    {
        const unsigned char ck = static_cast<unsigned char>(strBytes[nPos + k]);
        if (ck < 0x80 || ck > 0xBF)
            return 0;
    }
    return nLength;
}

bool IsValidUtf8(const std::string& strBytes)
{
    for (size_t i = 0; i < strBytes.size();)
    {
        const size_t nLength = Utf8SequenceLength(strBytes, i);
        if (nLength == 0)
            return false;
        i += nLength;
    }
    return true;
}

std::string ToUtf8(std::string strBytes)
{
    if (IsValidUtf8(strBytes))
        return strBytes;
    // Only the bytes that begin no valid sequence are Windows-1252: a text typed in UTF-8 with one
    // byte from elsewhere keeps every character that was typed in UTF-8.
    std::string strOut;
    strOut.reserve(strBytes.size() * 2);
    for (size_t i = 0; i < strBytes.size();)
    {
        const size_t nLength = Utf8SequenceLength(strBytes, i);
        if (nLength > 0)
        {
            strOut.append(strBytes, i, nLength);
            i += nLength;
        }
        else
            AppendCp1252(strOut, static_cast<unsigned char>(strBytes[i++]));
    }
    return strOut;
}
