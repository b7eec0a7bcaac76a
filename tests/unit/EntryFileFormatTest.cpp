// The entry data file's writer: the exact bytes, and texts that would break the file's lines.
#include <gtest/gtest.h>

#include "StorageEntryRowPrint.h"

#include "storage/EntryFormat.h"
#include "storage/EntryParser.h"

namespace
{
const std::vector<EntryRow> WORKED_TABLE = {
    {"Server move", "2005-03-02", "2:00"},
    {"Backup", "2005-03-01", "1:30"},
};
const std::string WORKED_BYTES =
    "CREATOR=KVL 1.0\r\n"
    "DESCRIPTION=Backup\r\n"
    "OT=1:30\r\n"
    "DATE=2005-03-01\r\n"
    "\r\n"
    "DESCRIPTION=Server move\r\n"
    "OT=2:00\r\n"
    "DATE=2005-03-02\r\n";
}  // namespace

TEST(EntryFileFormat, WorkedExampleByteForByte)
{
    const std::string strBytes = FormatEntryTable(WORKED_TABLE);
    EXPECT_EQ(strBytes.size(), 116u);
    EXPECT_EQ(strBytes, WORKED_BYTES);
    EXPECT_EQ(ParseEntryTable(strBytes), WORKED_TABLE);
}

TEST(EntryFileFormat, HeaderOnlyWithRowsAndNoSeparatorAfterTheLast)
{
    EXPECT_EQ(FormatEntryTable({}), "");
    EXPECT_EQ(FormatEntryTable({{"Backup", "2005-03-01", "1:30"}}),
              "CREATOR=KVL 1.0\r\nDESCRIPTION=Backup\r\nOT=1:30\r\nDATE=2005-03-01\r\n");
}

// A CR, LF or Ctrl-Z inside a text is written as a space: an LF would let a description inject an
// entry, a Ctrl-Z would end the file and drop every newer entry. The rows around it survive.
TEST(EntryFileFormat, LineBreakingBytesInTextsBecomeSpaces)
{
    const std::vector<EntryRow> table = {
        {"newest", "d3", "3:00"},
        {"a\nDESCRIPTION=x", "d\x1a" "2", "1\r\n2"},
        {"oldest", "d1", "1:00"},
    };
    const std::vector<EntryRow> expected = {
        {"newest", "d3", "3:00"},
        {"a DESCRIPTION=x", "d 2", "1  2"},
        {"oldest", "d1", "1:00"},
    };
    const std::string strBytes = FormatEntryTable(table);
    EXPECT_EQ(strBytes.find('\x1a'), std::string::npos);
    EXPECT_EQ(ParseEntryTable(strBytes), expected);
}
