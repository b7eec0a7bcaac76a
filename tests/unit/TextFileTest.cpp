// CTextFile: the byte rules in both directions, opening rules, buffering, write failures and the
// replacing mode.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <random>

#include "StorageTestDir.h"
#include "storage/FileOps.h"
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

// The copy holds every byte of the file, also those after a Ctrl-Z and past the read buffer.
TEST_F(TextFileTest, CopyOfTheBytesReachesTheFilesEnd)
{
    const std::string strBytes = std::string(100000, 'a') + "\r\n\x1a" + std::string(70000, 'b') + "\r";
    WriteBytes("t.txt", strBytes);
    CTextFile file;
    ASSERT_TRUE(file.OpenForReading("t.txt"));
    std::string strCopy;
    file.CopyBytesTo(&strCopy);
    std::string strText;
    char c;
    while (file.ReadChar(c))
        strText += c;
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(strText, std::string(100000, 'a') + "\n");
    EXPECT_EQ(strCopy, strBytes);
}

// Replacing: the former file stays as it was until Close puts the new one in its place, with the
// former file's permission bits.
TEST_F(TextFileTest, ReplacementAppearsWholeAtClose)
{
    WriteBytes("report.htm", "former report");
    ASSERT_EQ(chmod("report.htm", 0640), 0);
    CTextFile file;
    ASSERT_TRUE(file.OpenForReplacing("report.htm"));
    for (char c : std::string(200000, 'x') + "\nend")
        file.WriteChar(c);
    EXPECT_EQ(ReadBytes("report.htm"), "former report");
    EXPECT_EQ(ListDir().size(), 2u);  // the file and its temporary file
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(ReadBytes("report.htm"), std::string(200000, 'x') + "\r\nend");
    EXPECT_EQ(ModeOf("report.htm"), 0640u);
    EXPECT_EQ(ListDir(), std::vector<std::string>{"report.htm"});

    // A new file, and a link that stays a link.
    ASSERT_TRUE(WriteTextFile("real.htm", ""));
    ASSERT_EQ(symlink("real.htm", "link.htm"), 0);
    for (const char* pszName : {"new.htm", "link.htm"})
    {
        SCOPED_TRACE(pszName);
        ASSERT_TRUE(file.OpenForReplacing(pszName));
        file.WriteChar('y');
        EXPECT_TRUE(file.Close());
        EXPECT_EQ(ReadBytes(pszName), "y");
    }
    struct stat st;
    ASSERT_EQ(lstat("link.htm", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

// A full disk or any failing call: Close says so, the former file is whole and no part is left.
TEST_F(TextFileTest, FailedReplacementLeavesTheFormerFile)
{
    const struct
    {
        const char* pszFault;
        FileOps ops;
    } faults[] = {
        {"open", {[](const char*, int, mode_t) { errno = ENOSPC; return -1; }, SystemFileOps().pfnWrite,
                  SystemFileOps().pfnFsync, SystemFileOps().pfnClose, SystemFileOps().pfnRename}},
        {"write", {SystemFileOps().pfnOpen, [](int, const void*, size_t) -> ssize_t { errno = ENOSPC; return -1; },
                   SystemFileOps().pfnFsync, SystemFileOps().pfnClose, SystemFileOps().pfnRename}},
        {"fsync", {SystemFileOps().pfnOpen, SystemFileOps().pfnWrite, [](int) { errno = EIO; return -1; },
                   SystemFileOps().pfnClose, SystemFileOps().pfnRename}},
        {"close", {SystemFileOps().pfnOpen, SystemFileOps().pfnWrite, SystemFileOps().pfnFsync,
                   [](int nFd) { ::close(nFd); errno = EIO; return -1; }, SystemFileOps().pfnRename}},
        {"rename", {SystemFileOps().pfnOpen, SystemFileOps().pfnWrite, SystemFileOps().pfnFsync,
                    SystemFileOps().pfnClose, [](const char*, const char*) { errno = EXDEV; return -1; }}},
    };
    WriteBytes("report.htm", "former report");
    for (const auto& fault : faults)
    {
        SCOPED_TRACE(fault.pszFault);
        CurrentFileOps() = fault.ops;
        CTextFile file;
        if (file.OpenForReplacing("report.htm"))
        {
            for (char c : std::string(100000, 'x'))
                file.WriteChar(c);
            EXPECT_FALSE(file.Close());
        }
        CurrentFileOps() = SystemFileOps();
        EXPECT_EQ(ReadBytes("report.htm"), "former report");
        EXPECT_EQ(ListDir(), std::vector<std::string>{"report.htm"});
    }

    const int nResult = RunInChild([] {
        LimitFileSize(4096);
        CTextFile file;
        if (!file.OpenForReplacing("report.htm"))
            return 2;
        for (char c : std::string(200000, 'x'))
            file.WriteChar(c);
        return file.Close() ? 3 : 0;
    });
    EXPECT_EQ(nResult, 0);
    EXPECT_EQ(ReadBytes("report.htm"), "former report");
    EXPECT_EQ(ListDir(), std::vector<std::string>{"report.htm"});

    // Refused where a safe replacement is: a folder, a file with no write bit.
    ASSERT_EQ(mkdir("folder.htm", 0755), 0);
    ASSERT_EQ(chmod("report.htm", 0444), 0);
    CTextFile file;
    EXPECT_FALSE(file.OpenForReplacing("folder.htm"));
    EXPECT_FALSE(file.OpenForReplacing("report.htm"));
    EXPECT_EQ(ReadBytes("report.htm"), "former report");
}

// A replacement killed part-way left its temporary file; the next one of that name removes it.
TEST_F(TextFileTest, ReplacementRemovesWhatAKilledOneLeft)
{
    WriteBytes("report.htm", "former report");
    const int nResult = RunInChild([] {
        CTextFile file;
        if (!file.OpenForReplacing("report.htm"))
            return 2;
        for (char c : std::string(100000, 'x'))
            file.WriteChar(c);
        raise(SIGKILL);
        return 3;
    });
    EXPECT_EQ(nResult, 128 + SIGKILL);
    EXPECT_EQ(ReadBytes("report.htm"), "former report");
    EXPECT_EQ(ListDir().size(), 2u);
    ASSERT_TRUE(WriteTextFile("other.htm", "x"));
    CTextFile file;
    ASSERT_TRUE(file.OpenForReplacing("report.htm"));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(ListDir(), (std::vector<std::string>{"other.htm", "report.htm"}));
}
