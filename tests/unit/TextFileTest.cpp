// CTextFile: the byte rules in both directions, opening rules, buffering and write failures.
#include <gtest/gtest.h>

#include <random>

#include "StorageTestDir.h"
#include "storage/TextFile.h"
#include "storage/TextFileIo.h"

namespace
{
struct SByteCase
{
    const char* pszName;
    std::string strDisk;
    std::string strText;
};

std::string HighBytesAndNul()
{
    std::string str(1, '\0');
    for (int c = 128; c < 256; ++c)
        str += static_cast<char>(c);
    return str + std::string(1, '\0');
}

class TextFileTest : public CStorageDirTest
{
};
}  // namespace

TEST_F(TextFileTest, ReadsDiskBytesAsText)
{
    const std::vector<SByteCase> cases = {
        {"CR LF is one LF", "A\r\nB", "A\nB"},
        {"LF alone stays", "A\nB\n", "A\nB\n"},
        {"lone CR stays", "A\rB", "A\rB"},
        {"CR as last byte", "A\r", "A\r"},
        {"CR CR LF", "\r\r\n", "\r\n"},
        {"Ctrl-Z ends the text", "AB\x1a" "CD", "AB"},
        {"Ctrl-Z first", "\x1a" "AB", ""},
        {"CR before Ctrl-Z", "A\r\x1a\n", "A\r"},
        {"blanks are delivered", "  x\t", "  x\t"},
        {"empty file", "", ""},
        {"bytes 128..255 and NUL", HighBytesAndNul(), HighBytesAndNul()},
    };
    for (const SByteCase& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        WriteBytes("t.txt", c.strDisk);
        std::string strText;
        ASSERT_TRUE(ReadTextFile("t.txt", strText));
        EXPECT_EQ(strText, c.strText);
        EXPECT_EQ(DecodeTextBytes(c.strDisk), c.strText);
    }
}

TEST_F(TextFileTest, WritesTextAsDiskBytes)
{
    const std::vector<SByteCase> cases = {
        {"LF becomes CR LF", "A\r\nB", "A\nB"},
        {"CR LF becomes CR CR LF", "\r\r\n", "\r\n"},
        {"CR and Ctrl-Z unchanged", "\r\x1a", "\r\x1a"},
        {"nothing written", "", ""},
        {"bytes 128..255 and NUL", HighBytesAndNul(), HighBytesAndNul()},
    };
    for (const SByteCase& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        WriteBytes("t.txt", "former content");
        ASSERT_TRUE(WriteTextFile("t.txt", c.strText));
        EXPECT_EQ(ReadBytes("t.txt"), c.strDisk);
    }
}

TEST_F(TextFileTest, EndOfTextIsFinal)
{
    WriteBytes("t.txt", "A\x1a" "B");
    CTextFile file;
    ASSERT_TRUE(file.OpenForReading("t.txt"));
    char c = 0;
    EXPECT_TRUE(file.ReadChar(c));
    EXPECT_EQ(c, 'A');
    EXPECT_FALSE(file.ReadChar(c));
    EXPECT_FALSE(file.ReadChar(c));
    EXPECT_TRUE(file.Close());
}

// Large files cross the buffer many times: a CR LF split over two blocks, random bytes, and
// written LFs that each need two buffer bytes.
TEST_F(TextFileTest, BufferBoundariesChangeNothing)
{
    std::string strSplit(64 * 1024 - 1, 'x');
    strSplit += "\r\nend\r";
    std::string strText;
    WriteBytes("split.txt", strSplit);
    ASSERT_TRUE(ReadTextFile("split.txt", strText));
    EXPECT_EQ(strText, std::string(64 * 1024 - 1, 'x') + "\nend\r");

    std::mt19937 random(7);
    const char alphabet[] = {'\r', '\n', 'a', '\0', '\xff', '\r'};
    std::string strRandom;
    for (int i = 0; i < 300000; ++i)
        strRandom += alphabet[random() % sizeof alphabet];
    WriteBytes("random.txt", strRandom);
    ASSERT_TRUE(ReadTextFile("random.txt", strText));
    EXPECT_EQ(strText, DecodeTextBytes(strRandom));

    const std::string strLines(200000, '\n');
    ASSERT_TRUE(WriteTextFile("lines.txt", strLines));
    std::string strExpected;
    for (size_t i = 0; i < strLines.size(); ++i)
        strExpected += "\r\n";
    EXPECT_EQ(ReadBytes("lines.txt"), strExpected);
}

TEST_F(TextFileTest, MissingFileIsCreatedEmptyOnRead)
{
    CTextFile file;
    ASSERT_TRUE(file.OpenForReading("new.txt"));
    char c;
    EXPECT_FALSE(file.ReadChar(c));
    EXPECT_TRUE(file.Close());
    struct stat st;
    ASSERT_EQ(stat("new.txt", &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_size, 0);
    const mode_t nMask = umask(0);
    umask(nMask);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~nMask);
}

TEST_F(TextFileTest, OpenForWritingEmptiesTheFile)
{
    WriteBytes("t.txt", "old");
    CTextFile file;
    ASSERT_TRUE(file.OpenForWriting("t.txt"));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(ReadBytes("t.txt"), "");
}

// Checked by mode bits, so root is refused as well.
TEST_F(TextFileTest, ReadOnlyFileIsNotWritten)
{
    WriteBytes("ro.txt", "keep\r\n");
    ASSERT_EQ(chmod("ro.txt", 0444), 0);
    CTextFile file;
    EXPECT_FALSE(file.OpenForWriting("ro.txt"));
    EXPECT_FALSE(WriteTextFile("ro.txt", "new"));
    EXPECT_EQ(ReadBytes("ro.txt"), "keep\r\n");
    std::string strText;
    EXPECT_TRUE(ReadTextFile("ro.txt", strText));
    EXPECT_EQ(strText, "keep\n");
}

TEST_F(TextFileTest, NonRegularNamesAreRefused)
{
    ASSERT_EQ(mkdir("dir", 0755), 0);
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    ASSERT_EQ(symlink("nowhere/x.txt", "dangling"), 0);
    ASSERT_EQ(symlink("gone.txt", "dangling2"), 0);
    for (const char* pszName : {"dir", "fifo", "dangling", "dangling2"})
    {
        SCOPED_TRACE(pszName);
        CTextFile file;
        EXPECT_FALSE(file.OpenForReading(pszName));
        EXPECT_FALSE(file.OpenForWriting(pszName));
    }
    // Nothing was created through the links.
    EXPECT_EQ(ListDir(), (std::vector<std::string>{"dangling", "dangling2", "dir", "fifo"}));
}

TEST_F(TextFileTest, LinkToFileIsReadAndWrittenThrough)
{
    WriteBytes("real.txt", "A\r\n");
    ASSERT_EQ(symlink("real.txt", "link.txt"), 0);
    std::string strText;
    ASSERT_TRUE(ReadTextFile("link.txt", strText));
    EXPECT_EQ(strText, "A\n");
    ASSERT_TRUE(WriteTextFile("link.txt", "B\n"));
    EXPECT_EQ(ReadBytes("real.txt"), "B\r\n");
}

// A full disk: the write fails, and Close says so instead of reporting the text as written.
TEST_F(TextFileTest, FailedWriteIsReportedByClose)
{
    const int nResult = RunInChild([] {
        LimitFileSize(1000);
        const bool bWritten = WriteTextFile("big.txt", std::string(200000, 'x'));
        std::string strText;
        const bool bRead = ReadTextFile("big.txt", strText);
        return !bWritten && bRead && strText.size() <= 1000 ? 0 : 1;
    });
    EXPECT_EQ(nResult, 0);
}
