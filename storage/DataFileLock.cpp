// The data file's lock: a POSIX record lock (fcntl), which the system drops with the process and
// which network file systems carry between machines. The data file itself cannot hold it: every save
// replaces it by a rename, so each save would make a new file that nobody has locked.
#include "storage/DataFileLock.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/FilePath.h"

namespace
{
// The whole file, as a lock that conflicts with any other.
struct flock WholeFile(short nType)
{
    struct flock lock = {};
    lock.l_type = nType;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return lock;
}

std::string ExecutableOf(const std::string& strProcess)
{
    std::string strTarget;
    return ReadLink("/proc/" + strProcess + "/exe", strTarget) ? strTarget : std::string();
}

// Whether the process has this file open; false when its descriptors cannot be seen.
bool HasFileOpen(const std::string& strProcess, dev_t nDevice, ino_t nInode)
{
    const std::string strFolder = "/proc/" + strProcess + "/fd";
    DIR* pDir = opendir(strFolder.c_str());
    if (!pDir)
        return false;
    bool bFound = false;
    while (const dirent* pEntry = readdir(pDir))
    {
        struct stat st;
        if (pEntry->d_name[0] != '.' && stat((strFolder + "/" + pEntry->d_name).c_str(), &st) == 0 &&
            st.st_dev == nDevice && st.st_ino == nInode)
        {
            bFound = true;
            break;
        }
    }
    closedir(pDir);
    return bFound;
}
}  // namespace

std::string ResolveDataPath(const std::string& strName)
{
    std::string strPath = strName;
    for (int nHop = 0;; ++nHop)
    {
        struct stat st;
        if (lstat(strPath.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            break;
        std::string strLink;
        if (nHop >= MAX_LINK_HOPS || !ReadLink(strPath, strLink) || strLink.empty())
            return std::string();
        strPath = strLink[0] == '/' ? strLink : DirectoryOf(strPath) + "/" + strLink;
    }
    const std::string strBase = BaseNameOf(strPath);
    if (strBase.empty() || strBase == "." || strBase == "..")
        return std::string();
    char szFolder[PATH_MAX];
    if (!realpath(DirectoryOf(strPath).c_str(), szFolder))
        return std::string();
    const std::string strFolder = szFolder;
    return (strFolder == "/" ? "" : strFolder) + "/" + strBase;
}

std::string LockPathFor(const std::string& strDataPath)
{
    const std::string strFolder = DirectoryOf(strDataPath);
    return (strFolder == "/" ? "" : strFolder) + "/." + BaseNameOf(strDataPath) + ".lock";
}

bool IsLocalHolderOfThisProgram(const LockHolder& holder)
{
    if (holder.nPid <= 0 || holder.nPid == getpid())
        return false;
    const std::string strProcess = std::to_string(holder.nPid);
    const std::string strOwn = ExecutableOf("self");
    if (strOwn.empty() || ExecutableOf(strProcess) != strOwn)
        return false;
    return HasFileOpen(strProcess, holder.nDevice, holder.nInode);
}

CDataFileLock::~CDataFileLock()
{
    Release();
}

void CDataFileLock::Release()
{
    if (m_nFd < 0)
        return;
    close(m_nFd);  // the lock goes with it
    m_nFd = -1;
}

ELockResult CDataFileLock::Acquire(const std::string& strDataFile)
{
    Release();
    m_holder = LockHolder();
    m_strDataPath = ResolveDataPath(strDataFile);
    if (m_strDataPath.empty())
        return ELockResult::Unavailable;
    m_strLockPath = LockPathFor(m_strDataPath);

    // Never through a link: the lock file may lie in a shared folder, where a link could lead anywhere.
    const int nFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int nFd = open(m_strLockPath.c_str(), O_RDWR | O_CREAT | nFlags, 0666);
    const bool bWritable = nFd >= 0;
    // Someone else's lock file, or a read-only folder: it can still tell whether the log is open.
    if (!bWritable)
        nFd = open(m_strLockPath.c_str(), O_RDONLY | nFlags);
    if (nFd < 0)
        return ELockResult::Unavailable;
    struct stat st;
    if (fstat(nFd, &st) != 0 || !S_ISREG(st.st_mode))
    {
        close(nFd);
        return ELockResult::Unavailable;
    }
    fcntl(nFd, F_SETFL, fcntl(nFd, F_GETFL) & ~O_NONBLOCK);

    ELockResult eResult = ELockResult::HeldElsewhere;
    if (!bWritable)
    {
        eResult = TestHeld(nFd);
        if (eResult == ELockResult::Locked)
            eResult = ELockResult::Unavailable;  // free, but not for this user to take
        close(nFd);
        return eResult;
    }
    // A holder may end between the failed attempt and the question who holds it: then try again.
    for (int nTry = 0; nTry < 5; ++nTry)
    {
        struct flock lock = WholeFile(F_WRLCK);
        if (fcntl(nFd, F_SETLK, &lock) == 0)
        {
            m_nFd = nFd;
            return ELockResult::Locked;
        }
        if (errno == EINTR)
            continue;
        if (errno != EACCES && errno != EAGAIN)
        {
            eResult = ELockResult::Unavailable;  // no locks on this file system
            break;
        }
        eResult = TestHeld(nFd);
        if (eResult != ELockResult::Locked)
            break;
        eResult = ELockResult::HeldElsewhere;
    }
    close(nFd);
    return eResult;
}

// Locked here means: nobody holds it.
ELockResult CDataFileLock::TestHeld(int nFd)
{
    struct flock lock = WholeFile(F_WRLCK);
    if (fcntl(nFd, F_GETLK, &lock) != 0)
        return ELockResult::Unavailable;
    if (lock.l_type == F_UNLCK)
        return ELockResult::Locked;
    struct stat st;
    m_holder = LockHolder();
    if (fstat(nFd, &st) == 0)
    {
        m_holder.nDevice = st.st_dev;
        m_holder.nInode = st.st_ino;
    }
    m_holder.nPid = lock.l_pid > 0 ? lock.l_pid : 0;
    return ELockResult::HeldElsewhere;
}
