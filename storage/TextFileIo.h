// Whole-text reading and writing through CTextFile, for callers that need no per-character loop.
#pragma once

#include <string>

// The file's whole text as CTextFile delivers it. False only when the open failed (text empty).
bool ReadTextFile(const std::string& strName, std::string& strText);
// Replaces the file's content with the text (LF becomes CR LF). False when the open, a write or
// the close failed.
bool WriteTextFile(const std::string& strName, const std::string& strText);
