// UTF-8 checking, and Windows-1252 decoding for texts written on another system.
#pragma once

#include <string>

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no cut-off sequence.
bool IsValidUtf8(const std::string& strBytes);
// Every byte as Windows-1252; the five bytes it leaves undefined become U+0081, U+008D, U+008F,
// U+0090 and U+009D.
std::string Cp1252ToUtf8(const std::string& strBytes);
// Valid UTF-8 as it stands, anything else read as Windows-1252.
std::string ToUtf8(std::string strBytes);
