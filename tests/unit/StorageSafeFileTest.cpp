// Safe replacement under failure: each system call failing in turn, short writes, a full disk,
// and a process killed part-way.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>

#include "StorageTestDir.h"
#include "storage/EntryFile.h"
#include "storage/EntryFormat.h"
#include "storage/FileOps.h"
#include "storage/SafeFile.h"

namespace
{
const std::string OLD_BYTES = "CREATOR=KVL 1.0\r\nDESCRIPTION=old\r\nOT=1:00\r\nDATE=2001-01-01\r\n";
const std::string OLDER_BACKUP = "older backup";

enum EOp { OP_OPEN, OP_WRITE, OP_FSYNC, OP_CLOSE, OP_RENAME, OP_COUNT };
const char* const OP_NAMES[OP_COUNT] = {"open", "write", "fsync", "close", "rename"};

// The seam's state lives in globals: the seam holds plain function pointers.
struct SInjector
{
    int nCalls[OP_COUNT] = {};
    EOp eFailOp = OP_COUNT;
    int nFailAt = 0;  // fail the call with this number (from 1) of eFailOp
    bool bFailed = false;
    bool bKill = false;       // SIGKILL instead of failing
    bool bKillAfter = false;  // ... once the call has done its work
};
SInjector g_injector;

bool Strikes(EOp eOp)
{
    if (++g_injector.nCalls[eOp] != g_injector.nFailAt || eOp != g_injector.eFailOp)
        return false;
    g_injector.bFailed = true;
    if (g_injector.bKill && !g_injector.bKillAfter)
        raise(SIGKILL);
    return true;
}

void KillAfterIfAsked()
{
    if (g_injector.bKill)
        raise(SIGKILL);
}

int InjectOpen(const char* pszPath, int nFlags, mode_t nMode)
{
    if (Strikes(OP_OPEN))
    {
        errno = ENOSPC;
        return -1;
    }
    return SystemFileOps().pfnOpen(pszPath, nFlags, nMode);
}

ssize_t InjectWrite(int nFd, const void* pData, size_t nSize)
{
    if (Strikes(OP_WRITE))
    {
        // Half the text reaches the disk, then the disk is full.
        SystemFileOps().pfnWrite(nFd, pData, nSize / 2);
        KillAfterIfAsked();
        errno = ENOSPC;
        return -1;
    }
    return SystemFileOps().pfnWrite(nFd, pData, nSize);
}

int InjectFsync(int nFd)
{
    if (Strikes(OP_FSYNC))
    {
        errno = EIO;
        return -1;
    }
    return SystemFileOps().pfnFsync(nFd);
}

// A failing close still releases the descriptor, as on Linux.
int InjectClose(int nFd)
{
    const bool bStrike = Strikes(OP_CLOSE);
    const int nResult = SystemFileOps().pfnClose(nFd);
    if (bStrike)
    {
        errno = EIO;
        return -1;
    }
    return nResult;
}

int InjectRename(const char* pszFrom, const char* pszTo)
{
    if (Strikes(OP_RENAME))
    {
        if (g_injector.bKill)
        {
            SystemFileOps().pfnRename(pszFrom, pszTo);
            KillAfterIfAsked();
        }
        errno = EXDEV;
        return -1;
    }
    return SystemFileOps().pfnRename(pszFrom, pszTo);
}

void InstallInjector(EOp eOp, int nAt, bool bKill = false, bool bKillAfter = false)
{
    g_injector = SInjector();
    g_injector.eFailOp = eOp;
    g_injector.nFailAt = nAt;
    g_injector.bKill = bKill;
    g_injector.bKillAfter = bKillAfter;
    CurrentFileOps() = {InjectOpen, InjectWrite, InjectFsync, InjectClose, InjectRename};
}

std::vector<EntryRow> BigTable(int nRows)
{
    std::vector<EntryRow> table;
    for (int i = 0; i < nRows; ++i)
        table.push_back({"entry number " + std::to_string(i), "2024-02-03", "1:45"});
    return table;
}

bool SaveTable(CEntryFile& file, const std::vector<EntryRow>& table)
{
    return file.Save(table.size(), [&table](size_t i) -> const EntryRow& { return table[i]; });
}

class StorageSafeFileTest : public CStorageDirTest
{
protected:
    void PrepareFormerFiles()
    {
        WriteBytes("kvl.dat", OLD_BYTES);
        WriteBytes("kvl.dat.bak", OLDER_BACKUP);
    }
};
}  // namespace

// Every open, write, fsync, close and rename of a save (the backup's and the file's own) fails in
// turn. A failing call of the file's own makes the save report it with kvl.dat as it was; one of the
// backup's lets the save go on and tells of the missing backup. No temporary file is left.
TEST_F(StorageSafeFileTest, EachFailingCallLeavesTheFormerFile)
{
    const std::vector<EntryRow> table = BigTable(50);
    PrepareFormerFiles();
    InstallInjector(OP_COUNT, 0);
    {
        CEntryFile file;
        ASSERT_TRUE(SaveTable(file, table));
    }
    const SInjector counted = g_injector;
    ASSERT_EQ(counted.nCalls[OP_RENAME], 2);  // the backup, then the file itself

    for (int nOp = 0; nOp < OP_COUNT; ++nOp)
    {
        for (int nAt = 1; nAt <= counted.nCalls[nOp]; ++nAt)
        {
            SCOPED_TRACE(std::string(OP_NAMES[nOp]) + " #" + std::to_string(nAt));
            CurrentFileOps() = SystemFileOps();
            PrepareFormerFiles();
            InstallInjector(static_cast<EOp>(nOp), nAt);
            CEntryFile file;
            // The backup is written first: the first call of each kind is the backup's.
            const bool bBackupCall = nAt == 1;
            EXPECT_EQ(SaveTable(file, table), bBackupCall);
            EXPECT_TRUE(g_injector.bFailed);
            EXPECT_EQ(ReadBytes("kvl.dat"), bBackupCall ? FormatEntryTable(table) : OLD_BYTES);
            EXPECT_EQ(ReadBytes("kvl.dat.bak"), bBackupCall ? OLDER_BACKUP : OLD_BYTES);
            EXPECT_EQ(file.TakeSaveNotes().strBackupNotKept, bBackupCall ? "kvl.dat.bak" : "");
            EXPECT_EQ(ListDir(), (std::vector<std::string>{"kvl.dat", "kvl.dat.bak"}));
            if (bBackupCall)
                continue;

            // The same object tries again once the fault is gone, backup included.
            CurrentFileOps() = SystemFileOps();
            EXPECT_TRUE(SaveTable(file, table));
            EXPECT_EQ(ReadBytes("kvl.dat"), FormatEntryTable(table));
            EXPECT_EQ(ReadBytes("kvl.dat.bak"), OLD_BYTES);
        }
    }
}

// Writes that deliver a few bytes at a time or get interrupted still give the whole text; a write
// that makes no progress is a failure, not an endless loop.
TEST_F(StorageSafeFileTest, ShortAndInterruptedWrites)
{
    CurrentFileOps().pfnWrite = [](int nFd, const void* pData, size_t nSize) -> ssize_t {
        static int s_nCall = 0;
        if (++s_nCall % 3 == 0)
        {
            errno = EINTR;
            return -1;
        }
        return SystemFileOps().pfnWrite(nFd, pData, nSize < 7 ? nSize : 7);
    };
    const std::string strText = FormatEntryTable(BigTable(20));
    ASSERT_TRUE(ReplaceFileContents("kvl.dat", strText));
    EXPECT_EQ(ReadBytes("kvl.dat"), strText);

    CurrentFileOps().pfnWrite = [](int, const void*, size_t) -> ssize_t { return 0; };
    EXPECT_FALSE(ReplaceFileContents("kvl.dat", "other"));
    EXPECT_EQ(ReadBytes("kvl.dat"), strText);
    EXPECT_EQ(ListDir(), std::vector<std::string>{"kvl.dat"});
}

// A real full disk: the file-size limit makes write() fail part-way through the text.
TEST_F(StorageSafeFileTest, FullDiskLeavesTheFormerFile)
{
    PrepareFormerFiles();
    const int nResult = RunInChild([] {
        LimitFileSize(4096);
        CEntryFile file;
        return SaveTable(file, BigTable(1000)) ? 1 : 0;
    });
    EXPECT_EQ(nResult, 0);
    EXPECT_EQ(ReadBytes("kvl.dat"), OLD_BYTES);
    EXPECT_EQ(ReadBytes("kvl.dat.bak"), OLD_BYTES);  // small enough to fit under the limit
    EXPECT_EQ(ListDir(), (std::vector<std::string>{"kvl.dat", "kvl.dat.bak"}));
}

// A process killed anywhere in a save leaves kvl.dat whole: the old text until the rename, the new
// one after it.
TEST_F(StorageSafeFileTest, KilledSaveLeavesOldOrNewWhole)
{
    struct SKillCase
    {
        const char* pszName;
        EOp eOp;
        bool bKillAfter;
        bool bNewExpected;
    };
    const std::vector<SKillCase> cases = {
        {"half written", OP_WRITE, true, false},
        {"before fsync", OP_FSYNC, false, false},
        {"before close", OP_CLOSE, false, false},
        {"before rename", OP_RENAME, false, false},
        {"after rename", OP_RENAME, true, true},
    };
    const std::string strNew = FormatEntryTable(BigTable(5000));
    for (const SKillCase& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        WriteBytes("kvl.dat", OLD_BYTES);
        ASSERT_EQ(chmod("kvl.dat", 0640), 0);
        const int nResult = RunInChild([&] {
            InstallInjector(c.eOp, 1, true, c.bKillAfter);
            ReplaceFileContents("kvl.dat", strNew);
            return 0;
        });
        EXPECT_EQ(nResult, 128 + SIGKILL);
        EXPECT_EQ(ReadBytes("kvl.dat"), c.bNewExpected ? strNew : OLD_BYTES);
        EXPECT_EQ(ModeOf("kvl.dat"), 0640u);
    }
}
