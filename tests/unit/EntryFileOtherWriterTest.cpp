// CEntryFile when another process writes the data file while this one has it open: every save looks
// first and merges what it finds instead of writing over it.
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <thread>

#include "StorageTestDir.h"
#include "storage/EntryFile.h"
#include "storage/EntryFormat.h"
#include "storage/EntryParser.h"

namespace
{
using Table = std::vector<EntryRow>;

const EntryRow ROW_A = {"Backup", "2005-03-01", "1:30"};
const EntryRow ROW_B = {"Server move", "2005-03-02", "2:00"};
const EntryRow ROW_HERE = {"Added here", "2005-03-04", "0:45"};
const EntryRow ROW_THERE = {"Added there", "2005-03-03", "1:00"};

bool SaveTable(CEntryFile& file, const Table& table, EntrySaveReport* pReport = nullptr)
{
    return file.Save(table.size(), [&table](size_t i) -> const EntryRow& { return table[i]; }, pReport);
}

Table LoadTable(CEntryFile& file)
{
    Table table;
    file.Load([&table](EntryRow&& row) { table.insert(table.begin(), std::move(row)); });
    return table;
}

// The other writers, each a process of its own.
enum class EWriter { Rename, InPlace, InPlaceKeepingTimes };

class EntryFileOtherWriterTest : public CStorageDirTest
{
protected:
    static void WriteAsOtherProcess(EWriter eWriter, const std::string& strBytes);
};

void EntryFileOtherWriterTest::WriteAsOtherProcess(EWriter eWriter, const std::string& strBytes)
{
    const int nResult = RunInChild([&] {
        if (eWriter == EWriter::Rename)
        {
            const int nFd = open("kvl.dat.other", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const bool bOk = nFd >= 0 && write(nFd, strBytes.data(), strBytes.size()) == ssize_t(strBytes.size());
            return bOk && close(nFd) == 0 && rename("kvl.dat.other", "kvl.dat") == 0 ? 0 : 1;
        }
        // An editor or a sync tool that writes into the same file, perhaps setting its times back.
        struct stat before;
        if (stat("kvl.dat", &before) != 0)
            return 1;
        const int nFd = open("kvl.dat", O_WRONLY | O_TRUNC);
        const bool bOk = nFd >= 0 && write(nFd, strBytes.data(), strBytes.size()) == ssize_t(strBytes.size());
        if (eWriter == EWriter::InPlaceKeepingTimes)
        {
            const timespec times[2] = {before.st_atim, before.st_mtim};
            if (futimens(nFd, times) != 0)
                return 1;
        }
        return bOk && close(nFd) == 0 ? 0 : 1;
    });
    ASSERT_EQ(nResult, 0);
}
}  // namespace

// Whichever way the other writer wrote, and however soon after this object's own read or write:
// the next save keeps both sides' entries, and a save after that merges nothing again.
TEST_F(EntryFileOtherWriterTest, ChangesOfAnotherProcessAreMerged)
{
    const std::vector<std::pair<const char*, EWriter>> writers = {
        {"replaced by rename", EWriter::Rename},
        {"rewritten in place", EWriter::InPlace},
        {"rewritten in place, times set back", EWriter::InPlaceKeepingTimes},
    };
    for (const auto& writer : writers)
    {
        SCOPED_TRACE(writer.first);
        WriteBytes("kvl.dat", FormatEntryTable({ROW_B, ROW_A}));
        CEntryFile file;
        Table table = LoadTable(file);
        ASSERT_EQ(table, (Table{ROW_B, ROW_A}));

        // There: one entry added, one deleted; the text keeps its length, so only the stamp's
        // times or its inode can tell.
        EntryRow rowSameSize = ROW_B;
        rowSameSize.strDescription = "Server mov2";
        WriteAsOtherProcess(writer.second, FormatEntryTable({rowSameSize, ROW_A}));
        // Here: an Add.
        table.insert(table.begin(), ROW_HERE);
        EntrySaveReport report;
        ASSERT_TRUE(SaveTable(file, table, &report));
        EXPECT_TRUE(report.bMerged);
        // What came in goes below its nearest neighbour there, here at the very top.
        EXPECT_EQ(report.merge.rows, (Table{rowSameSize, ROW_HERE, ROW_A}));
        EXPECT_EQ(report.merge.cameIn, Table{rowSameSize});
        EXPECT_EQ(report.merge.wentOut, Table{ROW_B});
        EXPECT_EQ(ReadBytes("kvl.dat"), FormatEntryTable(report.merge.rows));
        table = report.merge.rows;

        // Another change there, then a Delete here.
        WriteAsOtherProcess(writer.second, FormatEntryTable({ROW_THERE, ROW_HERE, rowSameSize, ROW_A}));
        table.erase(table.begin() + 2);
        ASSERT_TRUE(SaveTable(file, table, &report));
        EXPECT_TRUE(report.bMerged);
        EXPECT_EQ(report.merge.rows, (Table{ROW_THERE, rowSameSize, ROW_HERE}));  // the order here stays
        table = report.merge.rows;

        // Nothing changed there since: saved as given.
        table.erase(table.begin());
        ASSERT_TRUE(SaveTable(file, table, &report));
        EXPECT_FALSE(report.bMerged);
        EXPECT_EQ(ReadBytes("kvl.dat"), FormatEntryTable(table));
        ASSERT_EQ(unlink("kvl.dat.bak"), 0);
    }
}

// A file that has not been touched for a while is trusted by its stamp alone; a later write in
// place that keeps the size and sets the times back still shows in the change time.
TEST_F(EntryFileOtherWriterTest, SettledFileWrittenInPlaceIsSeen)
{
    WriteBytes("kvl.dat", FormatEntryTable({ROW_A}));
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    CEntryFile file;
    Table table = LoadTable(file);
    EntryRow rowSameSize = ROW_A;
    rowSameSize.strDate = "2005-03-09";
    WriteAsOtherProcess(EWriter::InPlaceKeepingTimes, FormatEntryTable({rowSameSize}));
    table.insert(table.begin(), ROW_HERE);
    EntrySaveReport report;
    ASSERT_TRUE(SaveTable(file, table, &report));
    EXPECT_TRUE(report.bMerged);
    EXPECT_EQ(ReadBytes("kvl.dat"), FormatEntryTable({rowSameSize, ROW_HERE}));
}

// A file the other side emptied had its entries deleted there; a file that is gone was removed, not
// edited, so this side's table is written as it is. One that can no longer be read is not written
// over at all.
TEST_F(EntryFileOtherWriterTest, EmptiedRemovedAndUnreadableFiles)
{
    WriteBytes("kvl.dat", FormatEntryTable({ROW_B, ROW_A}));
    {
        CEntryFile file;
        Table table = LoadTable(file);
        WriteAsOtherProcess(EWriter::InPlace, "");
        table.insert(table.begin(), ROW_HERE);
        EntrySaveReport report;
        ASSERT_TRUE(SaveTable(file, table, &report));
        EXPECT_EQ(ReadBytes("kvl.dat"), FormatEntryTable({ROW_HERE}));
        EXPECT_EQ(report.merge.wentOut, (Table{ROW_B, ROW_A}));

        ASSERT_EQ(unlink("kvl.dat"), 0);
        ASSERT_TRUE(SaveTable(file, {ROW_THERE, ROW_HERE}, &report));
        EXPECT_FALSE(report.bMerged);
        EXPECT_EQ(ReadBytes("kvl.dat"), FormatEntryTable({ROW_THERE, ROW_HERE}));

        ASSERT_EQ(unlink("kvl.dat"), 0);
        ASSERT_EQ(mkdir("kvl.dat", 0755), 0);
        EXPECT_FALSE(SaveTable(file, {ROW_HERE}, &report));
        EXPECT_EQ(ReadBytes("kvl.dat"), "(no regular file)");
    }
}

// The common base is the file as this object last wrote it, so what it wrote itself never comes
// back as the other side's: a saved text the loader reads differently (an "=" dropped, trailing
// blanks cut) is not doubled by a merge.
TEST_F(EntryFileOtherWriterTest, OwnTextsReadBackDifferentlyAreNotDoubled)
{
    CEntryFile file;
    LoadTable(file);
    const Table table = {{"a=b", "2005-03-01 ", "1:30"}, ROW_A};
    ASSERT_TRUE(SaveTable(file, table));
    WriteAsOtherProcess(EWriter::Rename, ReadBytes("kvl.dat") + "\r\nDESCRIPTION=" + ROW_THERE.strDescription +
                                             "\r\nOT=" + ROW_THERE.strOvertime + "\r\nDATE=" + ROW_THERE.strDate +
                                             "\r\n");
    EntrySaveReport report;
    ASSERT_TRUE(SaveTable(file, table, &report));
    EXPECT_EQ(report.merge.rows, (Table{ROW_THERE, table[0], ROW_A}));
}
