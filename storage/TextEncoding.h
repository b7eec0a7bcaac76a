// UTF-8 checking, and Windows-1252 decoding for texts written on another system.
#pragma once

#include <cstddef>
#include <string>

// The length of the valid UTF-8 sequence that begins at nPos (1 for ASCII), 0 when none does.
size_t Utf8SequenceLength(const std::string& strBytes, size_t nPos);
// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no cut-off sequence.
bool IsValidUtf8(const std::string& strBytes);
// Valid UTF-8 sequences as they stand, every other byte read as Windows-1252 (the five bytes it
// leaves undefined become U+0081, U+008D, U+008F, U+0090 and U+009D).
std::string ToUtf8(std::string strBytes);
