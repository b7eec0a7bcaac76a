// The data file's lock between real processes: a forked child holds it, the test asks for it.
#include "storage/DataFileLock.h"

#include "tests/TestFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <grp.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
const uid_t kNobody = 65534;
const int kChildCannotEnter = 20;

bool Exists(const std::string& strPath)
{
    struct stat st;
    return lstat(strPath.c_str(), &st) == 0;
}

std::string ReadAll(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A process that takes the lock in a folder and keeps it until told to end, or killed.
class CHolder
{
public:
    ~CHolder() { End(); }

    ELockResult Start(const std::string& strFolder, const std::string& strName = "kvl.dat")
    {
        int nReady[2], nRelease[2];
        if (pipe(nReady) != 0 || pipe(nRelease) != 0)
            return ELockResult::Unavailable;
        m_nPid = fork();
        if (m_nPid == 0)
        {
            close(nReady[0]);
            close(nRelease[1]);
            CDataFileLock lock;
            char cResult = 'U';
            if (chdir(strFolder.c_str()) == 0)
                cResult = static_cast<char>('0' + static_cast<int>(lock.Acquire(strName)));
            [[maybe_unused]] ssize_t n = write(nReady[1], &cResult, 1);
            char c;
            n = read(nRelease[0], &c, 1);  // returns when the test closes its end
            _exit(0);
        }
        close(nReady[1]);
        close(nRelease[0]);
        m_nRelease = nRelease[1];
        char cResult = 'U';
        if (read(nReady[0], &cResult, 1) != 1)
            cResult = 'U';
        close(nReady[0]);
        return cResult == 'U' ? ELockResult::Unavailable
                              : static_cast<ELockResult>(cResult - '0');
    }

    void End()
    {
        if (m_nPid <= 0)
            return;
        close(m_nRelease);
        waitpid(m_nPid, nullptr, 0);
        m_nPid = -1;
    }

    void Kill()
    {
        kill(m_nPid, SIGKILL);
        int nStatus = 0;
        waitpid(m_nPid, &nStatus, 0);
        EXPECT_TRUE(WIFSIGNALED(nStatus));
        close(m_nRelease);
        m_nPid = -1;
    }

    pid_t GetPid() const { return m_nPid; }

private:
    pid_t m_nPid = -1;
    int m_nRelease = -1;
};

// Asks for the lock in a child that runs as an ordinary user: the exit status is the result.
int AcquireAsNobody(const std::string& strFolder)
{
    const pid_t nPid = fork();
    if (nPid == 0)
    {
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0 ||
            chdir(strFolder.c_str()) != 0)
            _exit(kChildCannotEnter);
        CDataFileLock lock;
        _exit(static_cast<int>(lock.Acquire("kvl.dat")));
    }
    int nStatus = 0;
    waitpid(nPid, &nStatus, 0);
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

class DataFileLockTest : public testing::Test
{
protected:
    void SetUp() override { m_folder.Enter("vantrell-lock"); }
    void TearDown() override { m_folder.Leave(); }

    std::string Path(const std::string& strName) const { return m_folder.GetPath() + "/" + strName; }

    CTestFolder m_folder;
};
}  // namespace

TEST_F(DataFileLockTest, ASecondStartFindsTheHolderAndTouchesNoDataFile)
{
    CHolder holder;
    ASSERT_EQ(holder.Start(m_folder.GetPath()), ELockResult::Locked);

    CDataFileLock lock;
    ASSERT_EQ(lock.Acquire("kvl.dat"), ELockResult::HeldElsewhere);
    EXPECT_EQ(lock.GetDataPath(), Path("kvl.dat"));
    EXPECT_EQ(lock.GetLockPath(), Path(".kvl.dat.lock"));
    EXPECT_EQ(lock.GetHolder().nPid, holder.GetPid());
    EXPECT_TRUE(IsLocalHolderOfThisProgram(lock.GetHolder()));
    EXPECT_FALSE(Exists("kvl.dat"));

    holder.End();
    EXPECT_EQ(lock.Acquire("kvl.dat"), ELockResult::Locked);
    EXPECT_FALSE(Exists("kvl.dat"));
    // The lock file stays behind, as empty as it was made: a synchronised folder sees no change.
    lock.Release();
    EXPECT_TRUE(Exists(".kvl.dat.lock"));
    EXPECT_EQ(ReadAll(".kvl.dat.lock"), "");
}

TEST_F(DataFileLockTest, AKilledHolderLeavesNoLock)
{
    CHolder holder;
    ASSERT_EQ(holder.Start(m_folder.GetPath()), ELockResult::Locked);
    holder.Kill();
    CDataFileLock lock;
    EXPECT_EQ(lock.Acquire("kvl.dat"), ELockResult::Locked);
}

// However the second start reaches the data file, it finds the same lock.
TEST_F(DataFileLockTest, EveryWayToTheSameFileFindsTheSameLock)
{
    ASSERT_EQ(mkdir("log", 0755), 0);
    ASSERT_EQ(mkdir("other", 0755), 0);
    ASSERT_EQ(mkdir("elsewhere", 0755), 0);
    std::ofstream(Path("log/kvl.dat")) << "CREATOR=KVL 1.0\r\n";
    ASSERT_EQ(symlink("log", "folder-link"), 0);
    ASSERT_EQ(symlink("../log/kvl.dat", "other/kvl.dat"), 0);
    ASSERT_EQ(symlink("../other/kvl.dat", "elsewhere/kvl.dat"), 0);     // a chain of links
    ASSERT_EQ(symlink(Path("folder-link").c_str(), "elsewhere/abs"), 0);  // an absolute link to a link

    struct Case
    {
        const char* pszHolderFolder;
        const char* pszFolder;
        const char* pszName;
    };
    const Case cases[] = {
        {"log", "folder-link", "kvl.dat"},
        {"folder-link", "log", "kvl.dat"},
        {"log", "other", "kvl.dat"},
        {"other", "elsewhere", "kvl.dat"},
        {"log", "elsewhere", "abs/kvl.dat"},
        {"log", ".", "folder-link/../log/kvl.dat"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.pszHolderFolder) + " and " + c.pszFolder + "/" + c.pszName);
        CHolder holder;
        ASSERT_EQ(holder.Start(Path(c.pszHolderFolder)), ELockResult::Locked);
        ASSERT_EQ(chdir(Path(c.pszFolder).c_str()), 0);
        CDataFileLock lock;
        EXPECT_EQ(lock.Acquire(c.pszName), ELockResult::HeldElsewhere);
        EXPECT_EQ(lock.GetDataPath(), Path("log/kvl.dat"));
        EXPECT_EQ(lock.GetHolder().nPid, holder.GetPid());
        ASSERT_EQ(chdir(m_folder.GetPath().c_str()), 0);
    }
    EXPECT_TRUE(Exists("log/.kvl.dat.lock"));
    EXPECT_FALSE(Exists("other/.kvl.dat.lock"));
    EXPECT_FALSE(Exists("elsewhere/.kvl.dat.lock"));
}

TEST_F(DataFileLockTest, ALinkThatPointsNowhereIsLockedWhereItPoints)
{
    ASSERT_EQ(mkdir("log", 0755), 0);
    ASSERT_EQ(symlink("log/kvl.dat", "kvl.dat"), 0);
    EXPECT_EQ(ResolveDataPath("kvl.dat"), Path("log/kvl.dat"));
    ASSERT_EQ(symlink("loop", "loop"), 0);
    EXPECT_EQ(ResolveDataPath("loop"), "");
    EXPECT_EQ(ResolveDataPath("missing/kvl.dat"), "");
    CDataFileLock lock;
    EXPECT_EQ(lock.Acquire("loop"), ELockResult::Unavailable);
}

// The lock file is truncated and written: one that is a link is never followed.
TEST_F(DataFileLockTest, ALockFileThatIsALinkIsNotFollowed)
{
    std::ofstream("victim") << "keep me";
    ASSERT_EQ(symlink("victim", ".kvl.dat.lock"), 0);
    CDataFileLock lock;
    EXPECT_EQ(lock.Acquire("kvl.dat"), ELockResult::Unavailable);
    EXPECT_EQ(ReadAll("victim"), "keep me");
}

TEST_F(DataFileLockTest, OnlyThisProgramsHolderOnThisMachineMayBeSignalled)
{
    CHolder holder;
    ASSERT_EQ(holder.Start(m_folder.GetPath()), ELockResult::Locked);
    CDataFileLock lock;
    ASSERT_EQ(lock.Acquire("kvl.dat"), ELockResult::HeldElsewhere);
    const LockHolder real = lock.GetHolder();
    ASSERT_TRUE(IsLocalHolderOfThisProgram(real));

    // Processes that a number from another machine could name by chance.
    CHolder sameProgramOtherFolder;
    ASSERT_EQ(mkdir("elsewhere", 0755), 0);
    ASSERT_EQ(sameProgramOtherFolder.Start(Path("elsewhere")), ELockResult::Locked);
    const pid_t nOtherProgram = fork();
    if (nOtherProgram == 0)
    {
        execlp("sleep", "sleep", "5", static_cast<char*>(nullptr));
        _exit(127);
    }
    usleep(100 * 1000);

    struct Case
    {
        const char* pszWhat;
        LockHolder holder;
    };
    const Case cases[] = {
        {"this program, without the lock file open", {sameProgramOtherFolder.GetPid(), real.nDevice, real.nInode}},
        {"another program", {nOtherProgram, real.nDevice, real.nInode}},
        {"this process", {getpid(), real.nDevice, real.nInode}},
        {"the system names none", {0, real.nDevice, real.nInode}},
        {"another file", {real.nPid, real.nDevice, real.nInode + 1}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszWhat);
        EXPECT_FALSE(IsLocalHolderOfThisProgram(c.holder));
    }
    kill(nOtherProgram, SIGKILL);
    waitpid(nOtherProgram, nullptr, 0);
}

// A user who may not write in the folder still gets the log, without a lock; one who may not
// write the lock file still learns that the log is open.
TEST_F(DataFileLockTest, AnOrdinaryUserWithoutWriteAccess)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    ASSERT_EQ(chmod(m_folder.GetPath().c_str(), 0555), 0);
    const int nResult = AcquireAsNobody(m_folder.GetPath());
    if (nResult == kChildCannotEnter)
        GTEST_SKIP() << "the test folder is out of an ordinary user's reach";
    EXPECT_EQ(nResult, static_cast<int>(ELockResult::Unavailable));
    EXPECT_FALSE(Exists(".kvl.dat.lock"));
    EXPECT_FALSE(Exists("kvl.dat"));

    ASSERT_EQ(chmod(m_folder.GetPath().c_str(), 0755), 0);
    {
        CHolder holder;  // root's lock file, 0644 under the usual umask
        ASSERT_EQ(holder.Start(m_folder.GetPath()), ELockResult::Locked);
        ASSERT_EQ(chmod(".kvl.dat.lock", 0644), 0);
        EXPECT_EQ(AcquireAsNobody(m_folder.GetPath()), static_cast<int>(ELockResult::HeldElsewhere));
    }
    EXPECT_EQ(AcquireAsNobody(m_folder.GetPath()), static_cast<int>(ELockResult::Unavailable));
}
