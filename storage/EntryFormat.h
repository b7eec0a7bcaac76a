// The entry data file's text: its keys and the writer that turns the table into file bytes.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "entries/EntryRow.h"

extern const char* const ENTRY_HEADER_LINE;  // "CREATOR=KVL 1.0"
extern const char* const ENTRY_KEY_DESCRIPTION;
extern const char* const ENTRY_KEY_OVERTIME;
extern const char* const ENTRY_KEY_DATE;

// The exact file bytes (CR LF line ends) for a table of nRows rows, rowAt(0) being the top row.
// Records run oldest first, the header only when there are rows, no empty line after the last
// record. A CR, LF or Ctrl-Z inside a text is written as a space: it would split the record or
// end the file on the next load.
std::string FormatEntryText(size_t nRows, const std::function<const EntryRow&(size_t)>& rowAt);
// Appends one record to the bytes of the records before it (oldest first): the header line before
// the first, an empty line before every other.
void AppendEntryRecord(std::string& strOut, const EntryRow& row);
// The same for a table held in a vector, table[0] being the top row.
std::string FormatEntryTable(const std::vector<EntryRow>& table);
