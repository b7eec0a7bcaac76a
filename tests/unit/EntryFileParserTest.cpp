// The entry data file's reader: a table of file contents against the table they load as.
#include <gtest/gtest.h>

#include "StorageEntryRowPrint.h"

#include "storage/EntryParser.h"

namespace
{
struct SLoadCase
{
    const char* pszName;
    std::string strFile;
    std::vector<EntryRow> table;  // top row (newest) first
};

const std::string WORKED =
    "CREATOR=KVL 1.0\r\nDESCRIPTION=Backup\r\nOT=1:30\r\nDATE=2005-03-01\r\n\r\n"
    "DESCRIPTION=Server move\r\nOT=2:00\r\nDATE=2005-03-02\r\n";
const std::vector<EntryRow> WORKED_TABLE = {{"Server move", "2005-03-02", "2:00"}, {"Backup", "2005-03-01", "1:30"}};

std::string Replace(std::string str, const std::string& strFrom, const std::string& strTo)
{
    for (size_t n = str.find(strFrom); n != std::string::npos; n = str.find(strFrom, n + strTo.size()))
        str.replace(n, strFrom.size(), strTo);
    return str;
}
}  // namespace

TEST(EntryFileParser, LoadsFileContents)
{
    const std::vector<SLoadCase> cases = {
        {"empty file", "", {}},
        {"header only", "CREATOR=KVL 1.0\r\n", {}},
        {"worked example", WORKED, WORKED_TABLE},
        {"no header", Replace(WORKED, "CREATOR=KVL 1.0\r\n", ""), WORKED_TABLE},
        {"other header value", Replace(WORKED, "KVL 1.0", "XYZ 9"), WORKED_TABLE},
        {"LF line ends", Replace(WORKED, "\r\n", "\n"), WORKED_TABLE},
        {"missing OT and DATE carried from the record before",
         "DESCRIPTION=a\r\nOT=1:00\r\nDATE=d1\r\nDESCRIPTION=b\r\nDATE=d2\r\nDESCRIPTION=c\r\nOT=3:00\r\n",
         {{"c", "d2", "3:00"}, {"b", "d2", "1:00"}, {"a", "d1", "1:00"}}},
        {"missing in the first record stays empty", "DESCRIPTION=a\r\n", {{"a", "", ""}}},
        {"OT and DATE before DESCRIPTION belong to the record before",
         "OT=0:30\r\nDESCRIPTION=a\r\nDATE=d1\r\nOT=2:00\r\nDATE=d2\r\nDESCRIPTION=b\r\n",
         {{"b", "d2", "2:00"}, {"a", "d2", "2:00"}}},
        {"a key twice: the later counts; DESCRIPTION twice ends the record",
         "DESCRIPTION=a\r\nOT=1:00\r\nOT=2:00\r\nDESCRIPTION=b\r\nDESCRIPTION=c\r\nDATE=d\r\n",
         {{"c", "d", "2:00"}, {"b", "", "2:00"}, {"a", "", "2:00"}}},
        {"empty description is not loaded, its texts carry into the next record only where it lacks them",
         "DESCRIPTION=a\r\nOT=1:00\r\nDATE=d1\r\n\r\nDESCRIPTION=\r\nOT=2:00\r\nDATE=d2\r\n\r\n"
         "DESCRIPTION=c\r\nDATE=d3\r\n",
         {{"c", "d3", "2:00"}, {"a", "d1", "1:00"}}},
        {"small letters and blanks around the key are other keys",
         "DESCRIPTION=a\r\ndescription=x\r\n OT=9\r\nOT =9\r\nDate=9\r\nOT=1:00\r\n",
         {{"a", "", "1:00"}}},
        {"other keys and lines without = are ignored",
         "DESCRIPTION=a\r\nNOTE=x\r\njunk\r\n=\r\nDATE=d\r\n", {{"a", "d", ""}}},
        {"leading blanks stay, trailing white space goes",
         "DESCRIPTION= a\r\nOT=1:00 \t\v\f\r\r\nDESCRIPTION=b  \r\n",
         {{"b", "", "1:00"}, {" a", "", "1:00"}}},
        {"a lone CR inside a value stays", "DESCRIPTION=a\rb\r\n", {{"a\rb", "", ""}}},
        {"NUL and other control bytes stay", std::string("DESCRIPTION=a\0\x01" "b\r\n", 18),
         {{std::string("a\0\x01" "b", 4), "", ""}}},
        {"Ctrl-Z ends the text; an entry read before it is still loaded",
         "DESCRIPTION=a\r\nOT=1:00\r\n\x1a" "DATE=d\r\nDESCRIPTION=b\r\n", {{"a", "", "1:00"}}},

        // "=" is kept: a value is everything after the first "=".
        {"= inside a value", "DESCRIPTION=a=b=c\r\nOT==1\r\nDATE=x=\r\n", {{"a=b=c", "x=", "=1"}}},
        // A loaded text is taken as it stands; no completion from the OT drop-down.
        {"OT texts are not completed", "DESCRIPTION=a\r\nOT=0\r\n\r\nDESCRIPTION=b\r\nOT=1:1\r\n",
         {{"b", "", "1:1"}, {"a", "", "0"}}},
        // The last line counts without a line end, also the text before a Ctrl-Z on its line.
        {"last line without line end", Replace(WORKED, "2005-03-02\r\n", "2005-03-02"), WORKED_TABLE},
        {"only entry, date line without line end", "DESCRIPTION=a\r\nDATE=d", {{"a", "d", ""}}},
        {"text before a Ctrl-Z on its line", "DESCRIPTION=a\r\nDATE=d\x1a" "junk\r\n", {{"a", "d", ""}}},
        {"description before a Ctrl-Z", "DESCRIPTION=a\r\nDESCRIPTION=b\x1a", {{"b", "", ""}, {"a", "", ""}}},

        // A UTF-8 byte-order mark at the start is skipped; anywhere else it is text.
        {"byte-order mark before the header", "\xEF\xBB\xBF" + WORKED, WORKED_TABLE},
        {"byte-order mark without the header", "\xEF\xBB\xBF" + Replace(WORKED, "CREATOR=KVL 1.0\r\n", ""), WORKED_TABLE},
        {"byte-order mark on a later line", "DESCRIPTION=a\r\n\xEF\xBB\xBF" "DESCRIPTION=b\r\n", {{"a", "", ""}}},
        {"half a byte-order mark", "\xEF\xBB" "DESCRIPTION=a\r\n", {}},
    };
    for (const SLoadCase& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(ParseEntryTable(c.strFile), c.table);
    }
}

// Bytes that begin no valid UTF-8 sequence are read as Windows-1252, one by one; valid UTF-8
// passes, also beside them, and one bad value leaves its neighbours alone.
TEST(EntryFileParser, TextsFromAnotherCodePage)
{
    const std::vector<SLoadCase> cases = {
        {"Windows-1252 umlaut", "DESCRIPTION=\xDC" "berstunden\r\nOT=1:00\r\nDATE=d\r\n",
         {{"\xC3\x9C" "berstunden", "d", "1:00"}}},
        {"UTF-8 passes unchanged", "DESCRIPTION=\xC3\x9C" "ber \xE2\x82\xAC \xF0\x9F\x98\x80\r\n",
         {{"\xC3\x9C" "ber \xE2\x82\xAC \xF0\x9F\x98\x80", "", ""}}},
        {"mixed value: only the bytes that are no UTF-8 are Windows-1252", "DESCRIPTION=\xC3\x9C\xFC\r\n",
         {{"\xC3\x9C\xC3\xBC", "", ""}}},
        {"caf\xC3\xA9 beside one Windows-1252 byte", "DESCRIPTION=caf\xC3\xA9 \xE9t\xE9 \xF0\x9F\x98\x80\x80\r\n",
         {{"caf\xC3\xA9 \xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80\xE2\x82\xAC", "", ""}}},
        {"a cut-off sequence before a valid one", "DESCRIPTION=\xE2\x82\xC3\xA4\r\n",
         {{"\xC3\xA2\xE2\x80\x9A\xC3\xA4", "", ""}}},
        {"Euro sign and the undefined bytes", "DESCRIPTION=\x80\x81\x8D\x8F\x90\x9D\x9F\r\n",
         {{"\xE2\x82\xAC\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\xC5\xB8", "", ""}}},
        {"cut-off, overlong and surrogate sequences",
         "DESCRIPTION=\xC3\r\nOT=\xC0\xAF\r\nDATE=\xED\xA0\x80\r\n",
         {{"\xC3\x83", "\xC3\xAD\xC2\xA0\xE2\x82\xAC", "\xC3\x80\xC2\xAF"}}},
        {"a bad value leaves the rest of the record and the next record alone",
         "DESCRIPTION=ok\r\nOT=\xFF\r\nDATE=2005\r\n\r\nDESCRIPTION=\xC3\xA4\r\n",
         {{"\xC3\xA4", "2005", "\xC3\xBF"}, {"ok", "2005", "\xC3\xBF"}}},
    };
    for (const SLoadCase& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(ParseEntryTable(c.strFile), c.table);
    }
}
