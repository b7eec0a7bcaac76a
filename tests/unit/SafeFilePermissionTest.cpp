// Who may save what: the replacement follows what the user running the tool may do, checked as an
// ordinary user (root passes every permission check), and the write in place that is left where no
// new file can be made.
#include <gtest/gtest.h>

#include <cerrno>
#include <grp.h>
#include <pwd.h>

#include "StorageTestDir.h"
#include "storage/EntryFile.h"
#include "storage/EntryFormat.h"
#include "storage/FileOps.h"
#include "storage/SafeFile.h"

namespace
{
const std::string OLD_BYTES = "CREATOR=KVL 1.0\r\nDESCRIPTION=old\r\nOT=1:00\r\nDATE=2001-01-01\r\n";
const std::string NEW_BYTES = "CREATOR=KVL 1.0\r\nDESCRIPTION=new entry\r\nOT=2:00\r\nDATE=2002-02-02\r\n";

// What a replacement did, as the child's exit code tells it.
enum EOutcome { REFUSED = 0, REPLACED = 1, IN_PLACE = 2 };
const char* const OUTCOME_NAMES[] = {"refused", "replaced", "in place"};

struct FileInfo
{
    bool bExists = false;
    uid_t nOwner = 0;
    mode_t nMode = 0;
    ino_t nInode = 0;
};

FileInfo InfoOf(const std::string& strName)
{
    FileInfo info;
    struct stat st;
    if (lstat(strName.c_str(), &st) == 0)
        info = {true, st.st_uid, st.st_mode & 07777, st.st_ino};
    return info;
}

class SafeFilePermissionTest : public CStorageDirTest
{
protected:
    void SetUp() override
    {
        CStorageDirTest::SetUp();
        const passwd* pUser = getpwnam("nobody");
        ASSERT_NE(pUser, nullptr);
        m_nUser = pUser->pw_uid;
        m_nGroup = pUser->pw_gid;
        // The plain user must reach the test folder.
        ASSERT_EQ(chmod(m_strDir.c_str(), 0755), 0);
    }

    // Runs fn as the plain user, in the folder named, and gives its exit code.
    template <typename F> int RunAsUser(const std::string& strFolder, F fn)
    {
        const uid_t nUser = m_nUser;
        const gid_t nGroup = m_nGroup;
        return RunInChild([&] {
            if (setgroups(0, nullptr) != 0 || setresgid(nGroup, nGroup, nGroup) != 0 ||
                setresuid(nUser, nUser, nUser) != 0 || geteuid() != nUser)
                return 100;
            if (chdir(strFolder.c_str()) != 0)
                return 101;
            return fn();
        });
    }

    uid_t m_nUser = 0;
    gid_t m_nGroup = 0;
};
}  // namespace

// Folder and file belong to the plain user or to root, with the modes given; the plain user saves.
TEST_F(SafeFilePermissionTest, ReplacementFollowsWhatTheUserMayDo)
{
    struct SCase
    {
        const char* pszName;
        bool bUserFolder;
        bool bFileExists;
        bool bUserFile;
        mode_t nFileMode;
        EOutcome eExpected;
    };
    const std::vector<SCase> cases = {
        {"own file in own folder", true, true, true, 0644, REPLACED},
        {"new file in own folder", true, false, true, 0, REPLACED},
        {"own read-only file", true, true, true, 0444, REFUSED},
        {"root's 0644 file in own folder", true, true, false, 0644, REFUSED},
        {"root's 0666 file in own folder", true, true, false, 0666, IN_PLACE},
        {"own file in root's folder", false, true, true, 0640, IN_PLACE},
        {"root's 0666 file in root's folder", false, true, false, 0666, IN_PLACE},
        {"root's 0644 file in root's folder", false, true, false, 0644, REFUSED},
        {"new file in root's folder", false, false, true, 0, REFUSED},
    };
    for (size_t n = 0; n < cases.size(); ++n)
    {
        const SCase& c = cases[n];
        SCOPED_TRACE(c.pszName);
        const std::string strFolder = m_strDir + "/case" + std::to_string(n);
        ASSERT_EQ(mkdir(strFolder.c_str(), 0755), 0);
        const std::string strFile = strFolder + "/kvl.dat";
        if (c.bFileExists)
        {
            WriteBytes(strFile, OLD_BYTES);
            ASSERT_EQ(chmod(strFile.c_str(), c.nFileMode), 0);
            if (c.bUserFile)
            {
                ASSERT_EQ(chown(strFile.c_str(), m_nUser, m_nGroup), 0);
            }
        }
        if (c.bUserFolder)
        {
            ASSERT_EQ(chown(strFolder.c_str(), m_nUser, m_nGroup), 0);
        }
        const FileInfo before = InfoOf(strFile);

        const int nResult = RunAsUser(strFolder, [] {
            bool bInPlace = false;
            if (!ReplaceFileContents("kvl.dat", NEW_BYTES, nullptr, &bInPlace))
                return static_cast<int>(REFUSED);
            return static_cast<int>(bInPlace ? IN_PLACE : REPLACED);
        });
        ASSERT_LT(nResult, 3) << "child failed: " << nResult;
        EXPECT_STREQ(OUTCOME_NAMES[nResult], OUTCOME_NAMES[c.eExpected]);

        const FileInfo after = InfoOf(strFile);
        EXPECT_EQ(ListDir(strFolder), c.bFileExists || nResult != REFUSED ? std::vector<std::string>{"kvl.dat"}
                                                                          : std::vector<std::string>{});
        if (nResult == REFUSED)
        {
            EXPECT_EQ(ReadBytes(strFile), c.bFileExists ? OLD_BYTES : "(no regular file)");
            continue;
        }
        EXPECT_EQ(ReadBytes(strFile), NEW_BYTES);
        if (!c.bFileExists)
            continue;
        // An existing file keeps its owner and mode; in place it also stays the same file.
        EXPECT_EQ(after.nOwner, before.nOwner);
        EXPECT_EQ(after.nMode, before.nMode);
        EXPECT_EQ(after.nInode == before.nInode, nResult == IN_PLACE);
    }
}

// Root still refuses a file without a write bit, and hands a replaced file back to its owner.
TEST_F(SafeFilePermissionTest, RootKeepsOwnerAndModeBits)
{
    ASSERT_EQ(geteuid(), 0u) << "this case needs root";
    WriteBytes("kvl.dat", OLD_BYTES);
    ASSERT_EQ(chmod("kvl.dat", 0444), 0);
    EXPECT_FALSE(ReplaceFileContents("kvl.dat", NEW_BYTES));
    EXPECT_EQ(ReadBytes("kvl.dat"), OLD_BYTES);

    ASSERT_EQ(chmod("kvl.dat", 0600), 0);
    ASSERT_EQ(chown("kvl.dat", m_nUser, m_nGroup), 0);
    bool bInPlace = true;
    ASSERT_TRUE(ReplaceFileContents("kvl.dat", NEW_BYTES, nullptr, &bInPlace));
    EXPECT_FALSE(bInPlace);
    EXPECT_EQ(InfoOf("kvl.dat").nOwner, m_nUser);
    EXPECT_EQ(InfoOf("kvl.dat").nMode, 0600u);
}

// A whole save as the plain user in a folder that takes no new file: the data file and its backup
// are written in place, and the save says so.
TEST_F(SafeFilePermissionTest, EntryFileSavedInPlaceSaysSo)
{
    WriteBytes("kvl.dat", OLD_BYTES);
    WriteBytes("kvl.dat.bak", "older backup");
    for (const char* pszName : {"kvl.dat", "kvl.dat.bak"})
    {
        ASSERT_EQ(chown(pszName, m_nUser, m_nGroup), 0);
        ASSERT_EQ(chmod(pszName, 0600), 0);
    }
    const int nResult = RunAsUser(m_strDir, [] {
        CEntryFile file;
        file.Load([](EntryRow&&) {});
        const std::vector<EntryRow> table = {{"new entry", "2002-02-02", "2:00"}};
        EntrySaveReport report;
        if (!file.Save(table.size(), [&table](size_t i) -> const EntryRow& { return table[i]; }, &report))
            return 1;
        return report.bWroteInPlace ? 0 : 2;
    });
    EXPECT_EQ(nResult, 0);
    EXPECT_EQ(ReadBytes("kvl.dat"), NEW_BYTES);
    EXPECT_EQ(ReadBytes("kvl.dat.bak"), OLD_BYTES);
    EXPECT_EQ(ListDir(), (std::vector<std::string>{"kvl.dat", "kvl.dat.bak"}));
}

// In place, each failing call is reported; a disk that fills up while the text grows leaves the old
// text whole, since the growth is written before any old byte is touched.
TEST_F(SafeFilePermissionTest, InPlaceFailuresAreReported)
{
    const std::string strGrown = NEW_BYTES + std::string(20000, 'x');
    WriteBytes("kvl.dat", OLD_BYTES);
    ASSERT_EQ(chown("kvl.dat", m_nUser, m_nGroup), 0);
    ASSERT_EQ(chown(m_strDir.c_str(), 0, 0), 0);
    const int nResult = RunAsUser(m_strDir, [&] {
        LimitFileSize(4096);
        bool bInPlace = true;
        return ReplaceFileContents("kvl.dat", strGrown, nullptr, &bInPlace) || bInPlace ? 1 : 0;
    });
    EXPECT_EQ(nResult, 0);
    EXPECT_EQ(ReadBytes("kvl.dat"), OLD_BYTES);

    struct SFault
    {
        const char* pszName;
        void (*pfnInstall)();
    };
    const std::vector<SFault> faults = {
        {"open", [] { CurrentFileOps().pfnOpen = [](const char*, int, mode_t) { errno = EACCES; return -1; }; }},
        {"write", [] { CurrentFileOps().pfnWrite = [](int, const void*, size_t) -> ssize_t { errno = EIO; return -1; }; }},
        {"fsync", [] { CurrentFileOps().pfnFsync = [](int) { errno = EIO; return -1; }; }},
        {"close", [] { CurrentFileOps().pfnClose = [](int nFd) { close(nFd); errno = EIO; return -1; }; }},
    };
    for (const SFault& fault : faults)
    {
        SCOPED_TRACE(fault.pszName);
        WriteBytes("kvl.dat", OLD_BYTES);
        const int nFaulty = RunAsUser(m_strDir, [&] {
            fault.pfnInstall();
            bool bInPlace = true;
            return ReplaceFileContents("kvl.dat", NEW_BYTES, nullptr, &bInPlace) || bInPlace ? 1 : 0;
        });
        EXPECT_EQ(nFaulty, 0);
        EXPECT_EQ(ListDir(), std::vector<std::string>{"kvl.dat"});
    }
}
