// One window per data file: a record lock on a small file beside the data file, which the system
// drops when the holding process ends, however it ends. The lock file stays empty and is never
// written: in a synchronised folder a file that changes would travel, and a sync tool that replaces
// it would leave the lock on a file that nobody opens any more.
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
    pid_t nPid = 0;      // the holding process as the system reports it; 0 when it cannot tell
    dev_t nDevice = 0;   // the lock file the question was asked about
    ino_t nInode = 0;
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

// True when the holder is another process of this same program on this machine that has the lock
// file open: only such a process may be sent a signal. (Over a network file system the number the
// system reports may belong to a process on another machine.)
bool IsLocalHolderOfThisProgram(const LockHolder& holder);
