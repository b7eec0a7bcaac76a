// One window per data file: a record lock on a small file beside the data file, which the system
// drops when the holding process ends, however it ends.
#pragma once

#include <string>
#include <sys/types.h>

enum class ELockResult
{
    Locked,         // this process holds the lock until the object is destroyed
    HeldElsewhere,  // another process holds it, on this machine or on another one
    Unavailable     // no lock can be taken here (a read-only folder, a file system without locks)
};

// Who holds the lock, as far as this machine can tell.
struct LockHolder
{
    std::string strHost;   // the holder's host name, as it wrote it; empty when unknown
    pid_t nPid = 0;        // the holder's process number, as it wrote it; 0 when unknown
    pid_t nLockPid = 0;    // the holding process as the system reports it; 0 when it cannot tell
};

// A process holds a record lock once, whatever number of descriptors it opens: two objects in one
// process do not exclude each other, and the program keeps one.
class CDataFileLock
{
public:
    CDataFileLock() = default;
    ~CDataFileLock();
    CDataFileLock(const CDataFileLock&) = delete;
    CDataFileLock& operator=(const CDataFileLock&) = delete;

    // Locks the data file, reached by this name through any symbolic links. Neither creates nor
    // touches the data file itself; the lock file beside it is created when missing.
    ELockResult Acquire(const std::string& strDataFile);
    // Drops the lock. The lock file stays: removing it would race with a start that just opened it.
    void Release();

    // The data file after every link is followed, and the lock file beside it.
    const std::string& GetDataPath() const { return m_strDataPath; }
    const std::string& GetLockPath() const { return m_strLockPath; }
    // Filled when Acquire found the lock held elsewhere.
    const LockHolder& GetHolder() const { return m_holder; }

private:
    ELockResult TestHeld(int nFd);

    int m_nFd = -1;
    std::string m_strDataPath;
    std::string m_strLockPath;
    LockHolder m_holder;
};

// The absolute path that a name reaches: links followed (also a dangling last one), the folder
// resolved; empty when it cannot be resolved (a link loop, a folder that is gone).
std::string ResolveDataPath(const std::string& strName);

// The lock file that belongs to a resolved data file path: a hidden file beside it.
std::string LockPathFor(const std::string& strDataPath);

// This machine's name, as the holder writes it into the lock file.
std::string LocalHostName();

// True when the holder is a process of this same program on this machine that the system itself
// reports as the holder: only such a process may be sent a signal.
bool IsLocalHolderOfThisProgram(const LockHolder& holder);
