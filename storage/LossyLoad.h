// Whether loading a data file passed over or changed anything that its next save would not write.
#pragma once

#include <string>

// strFileBytes: the file as it was read; strSavedBytes: what saving the table it loaded as writes.
// Both are reduced to their lines the same way: a UTF-8 byte-order mark at the start is skipped, a
// Ctrl-Z followed by nothing but white space ends the text, CR LF counts as LF, blanks at a line's
// end, empty lines and the header line are dropped. The load lost nothing when every such line of
// the file is found, in order, among the lines of the save; a key line without "=" matches that key
// with "=". The save may have more lines (a header, carried-over OT and DATE lines). Anything else
// is a loss: text after a Ctrl-Z, lone CRs, other keys or lines, a dropped record, a re-decoded text.
bool IsLossyLoad(const std::string& strFileBytes, const std::string& strSavedBytes);
