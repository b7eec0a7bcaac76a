// Safe replacement over POSIX calls: temporary file, fsync, close, rename, folder fsync; the write in
// place where that cannot be done.
#include "storage/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/FileOps.h"
#include "storage/FilePath.h"

namespace
{
bool WriteAll(int nFd, const char* pData, size_t nLeft)
{
    while (nLeft > 0)
    {
        ssize_t nWritten = CurrentFileOps().pfnWrite(nFd, pData, nLeft);
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten <= 0)
            return false;  // 0 would loop forever: treat it as a full disk
        pData += nWritten;
        nLeft -= static_cast<size_t>(nWritten);
    }
    return true;
}

bool WriteAll(int nFd, const std::string& strBytes)
{
    return WriteAll(nFd, strBytes.data(), strBytes.size());
}

// Best effort: some file systems cannot sync a folder, and the rename has already happened.
void SyncDirectory(const std::string& strDirectory)
{
    int nFd = open(strDirectory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nFd < 0)
        return;
    fsync(nFd);
    close(nFd);
}

// Where the text grows, the part beyond the old end goes first: if the disk is full, that fails and
// is cut off again before any byte of the old text has changed. The rest then overwrites blocks the
// file already has, and the file is cut to the new length last.
bool WriteInPlace(const ReplaceTarget& target, const std::string& strBytes, const ReplaceTarget* pLike)
{
    const int nFd = CurrentFileOps().pfnOpen(target.strPath.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0);
    if (nFd < 0)
        return false;
    struct stat st;
    bool bOk = fstat(nFd, &st) == 0 && S_ISREG(st.st_mode);
    // A copy must not land in a file more open to others than the one it keeps.
    if (bOk && pLike && (st.st_mode & 0777) != pLike->nMode)
        bOk = fchmod(nFd, pLike->nMode) == 0;
    const size_t nOldSize = bOk ? static_cast<size_t>(st.st_size) : 0;
    const size_t nNewSize = strBytes.size();
    if (bOk && nNewSize > nOldSize)
    {
        bOk = lseek(nFd, static_cast<off_t>(nOldSize), SEEK_SET) >= 0 &&
              WriteAll(nFd, strBytes.data() + nOldSize, nNewSize - nOldSize);
        if (!bOk && ftruncate(nFd, static_cast<off_t>(nOldSize)) != 0)
        {
            // the old text is still whole; only its tail may carry the start of the new one
        }
    }
    bOk = bOk && lseek(nFd, 0, SEEK_SET) == 0 && WriteAll(nFd, strBytes.data(), std::min(nOldSize, nNewSize)) &&
          ftruncate(nFd, static_cast<off_t>(nNewSize)) == 0 && CurrentFileOps().pfnFsync(nFd) == 0;
    if (CurrentFileOps().pfnClose(nFd) != 0)
        bOk = false;
    return bOk;
}

int CreateTempFile(const std::string& strTargetPath, mode_t nMode, std::string& strTempPath)
{
    static unsigned s_nCounter = 0;
    const std::string strStem = DirectoryOf(strTargetPath) + "/." + BaseNameOf(strTargetPath) + ".";
    for (int nTry = 0; nTry < 100; ++nTry)
    {
        strTempPath = strStem + std::to_string(getpid()) + "-" + std::to_string(s_nCounter++) + ".tmp";
        int nFd = CurrentFileOps().pfnOpen(strTempPath.c_str(),
                                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, nMode);
        if (nFd >= 0 || errno != EEXIST)
            return nFd;
    }
    return -1;
}

// A new file takes the bits and owner of the file it stands for (0666 less the umask without one).
bool ApplyAttributes(int nFd, const ReplaceTarget* pAttributes)
{
    if (!pAttributes)
        return true;
    // Owner first: changing it may clear mode bits. Only root may hand a file to another user,
    // so a failure there is no reason to refuse the save.
    if ((pAttributes->nOwner != geteuid() || pAttributes->nGroup != getegid()) &&
        fchown(nFd, pAttributes->nOwner, pAttributes->nGroup) != 0)
    {
        // kept with our own ownership
    }
    return fchmod(nFd, pAttributes->nMode) == 0;
}

// Our temporary files are ".<name>.<pid>-<n>.tmp", also for names that begin with this one
// (".kvl.dat.bak.<pid>-<n>.tmp"); the pid is returned, 0 for any other name.
long TempFileOwner(const std::string& strEntry, const std::string& strBaseName)
{
    const std::string strPrefix = "." + strBaseName;
    const std::string strSuffix = ".tmp";
    if (strEntry.size() <= strPrefix.size() + strSuffix.size() || strEntry.compare(0, strPrefix.size(), strPrefix) != 0 ||
        strEntry.compare(strEntry.size() - strSuffix.size(), strSuffix.size(), strSuffix) != 0)
        return 0;
    const std::string strStem = strEntry.substr(0, strEntry.size() - strSuffix.size());
    const size_t nDot = strStem.rfind('.');
    if (nDot < strPrefix.size() || (nDot > strPrefix.size() && strStem[strPrefix.size()] != '.'))
        return 0;
    const std::string strId = strStem.substr(nDot + 1);
    const size_t nDash = strId.find('-');
    auto allDigits = [](const std::string& str) {
        return !str.empty() && str.size() < 10 && str.find_first_not_of("0123456789") == std::string::npos;
    };
    if (nDash == std::string::npos || !allDigits(strId.substr(0, nDash)) || !allDigits(strId.substr(nDash + 1)))
        return 0;
    return std::strtol(strId.c_str(), nullptr, 10);
}

void RemoveStaleTempFilesBeside(const std::string& strPath)
{
    const std::string strDirectory = DirectoryOf(strPath);
    const std::string strBaseName = BaseNameOf(strPath);
    DIR* pDir = opendir(strDirectory.c_str());
    if (!pDir)
        return;
    while (dirent* pEntry = readdir(pDir))
    {
        const long nPid = TempFileOwner(pEntry->d_name, strBaseName);
        // Only a process that no longer exists has given up its file; EPERM means another user's.
        if (nPid <= 0 || nPid == getpid() || kill(static_cast<pid_t>(nPid), 0) == 0 || errno != ESRCH)
            continue;
        struct stat st;
        if (fstatat(dirfd(pDir), pEntry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            unlinkat(dirfd(pDir), pEntry->d_name, 0);
    }
    closedir(pDir);
}
}  // namespace

bool ResolveReplaceTarget(const std::string& strName, ReplaceTarget& target)
{
    target = ReplaceTarget();
    std::string strPath = strName;
    for (int nHop = 0;; ++nHop)
    {
        struct stat st;
        if (lstat(strPath.c_str(), &st) != 0)
        {
            // A missing plain name is a new file; a link that points nowhere is refused, so that
            // nothing is ever created in a place the link was meant for but no longer reaches.
            if (errno != ENOENT || nHop > 0)
                return false;
            target.strPath = strPath;
            return true;
        }
        if (S_ISLNK(st.st_mode))
        {
            std::string strLink;
            if (nHop >= MAX_LINK_HOPS || !ReadLink(strPath, strLink) || strLink.empty())
                return false;
            strPath = strLink[0] == '/' ? strLink : DirectoryOf(strPath) + "/" + strLink;
            continue;
        }
        // The mode bits count for root too; for everyone else what the system lets this user do,
        // so a file that belongs to another user is not taken over by a replacement.
        if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 ||
            faccessat(AT_FDCWD, strPath.c_str(), W_OK, AT_EACCESS) != 0)
            return false;
        target.strPath = strPath;
        target.bExists = true;
        target.nMode = st.st_mode & 0777;
        target.nOwner = st.st_uid;
        target.nGroup = st.st_gid;
        return true;
    }
}

bool ReplaceFileContents(const std::string& strName, const std::string& strBytes, const ReplaceTarget* pLike,
                         bool* pbInPlace)
{
    if (pbInPlace)
        *pbInPlace = false;
    ReplaceTarget target;
    if (!ResolveReplaceTarget(strName, target))
        return false;
    const ReplaceTarget* pAttributes = pLike ? pLike : target.bExists ? &target : nullptr;
    auto writeInPlace = [&] {
        const bool bWritten = WriteInPlace(target, strBytes, pLike);
        if (pbInPlace)
            *pbInPlace = bWritten;
        return bWritten;
    };

    std::string strTempPath;
    const int nFd = CreateTempFile(target.strPath, pAttributes ? 0600 : 0666, strTempPath);
    if (nFd < 0)
    {
        // A folder this user may not add to; the file itself was found writable above.
        if (target.bExists && (errno == EACCES || errno == EPERM))
            return writeInPlace();
        return false;
    }
    bool bOk = true;
    if (pAttributes)
    {
        // Owner first: changing it may clear mode bits. Only root may hand a file to another user;
        // the file itself keeps its owner by being written in place, a copy stays ours.
        if ((pAttributes->nOwner != geteuid() || pAttributes->nGroup != getegid()) &&
            fchown(nFd, pAttributes->nOwner, pAttributes->nGroup) != 0 && !pLike)
        {
            CurrentFileOps().pfnClose(nFd);
            unlink(strTempPath.c_str());
            return writeInPlace();
        }
        bOk = fchmod(nFd, pAttributes->nMode) == 0;
    }
    bOk = bOk && WriteAll(nFd, strBytes) && CurrentFileOps().pfnFsync(nFd) == 0;
    // The descriptor is gone after close() whatever it returns, so it is closed exactly once.
    if (CurrentFileOps().pfnClose(nFd) != 0)
        bOk = false;
    if (bOk && CurrentFileOps().pfnRename(strTempPath.c_str(), target.strPath.c_str()) != 0)
        bOk = false;
    if (!bOk)
    {
        unlink(strTempPath.c_str());
        return false;
    }
    SyncDirectory(DirectoryOf(target.strPath));
    return true;
}

bool FileStamp::operator==(const FileStamp& other) const
{
    return nDevice == other.nDevice && nInode == other.nInode && nSize == other.nSize &&
           mtime.tv_sec == other.mtime.tv_sec && mtime.tv_nsec == other.mtime.tv_nsec &&
           ctime.tv_sec == other.ctime.tv_sec && ctime.tv_nsec == other.ctime.tv_nsec;
}

namespace
{
FileStamp StampOf(const struct stat& st)
{
    FileStamp stamp;
    stamp.nDevice = st.st_dev;
    stamp.nInode = st.st_ino;
    stamp.nSize = st.st_size;
    stamp.mtime = st.st_mtim;
    stamp.ctime = st.st_ctim;
    return stamp;
}
}  // namespace

EReadResult StatFile(const std::string& strName, FileStamp& stamp)
{
    struct stat st;
    if (stat(strName.c_str(), &st) != 0)
        return errno == ENOENT ? EReadResult::Missing : EReadResult::Failed;
    stamp = StampOf(st);
    return EReadResult::Read;
}

EReadResult ReadFileBytes(const std::string& strName, std::string& strBytes, FileStamp* pStamp)
{
    strBytes.clear();
    int nFd = open(strName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (nFd < 0)
        return errno == ENOENT ? EReadResult::Missing : EReadResult::Failed;
    struct stat st;
    if (fstat(nFd, &st) != 0 || !S_ISREG(st.st_mode))
    {
        close(nFd);
        return EReadResult::Failed;
    }
    if (pStamp)
        *pStamp = StampOf(st);
    strBytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[64 * 1024];
    for (;;)
    {
        ssize_t nRead = read(nFd, buffer, sizeof buffer);
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead < 0)
        {
            close(nFd);
            return EReadResult::Failed;
        }
        if (nRead == 0)
            break;
        strBytes.append(buffer, static_cast<size_t>(nRead));
    }
    close(nFd);
    return EReadResult::Read;
}

bool WriteNewFile(const std::string& strName, const std::string& strBytes, const ReplaceTarget* pLike)
{
    // O_EXCL and O_NOFOLLOW: an existing name, a link included, is never written through.
    const int nFd = CurrentFileOps().pfnOpen(strName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                             pLike ? 0600 : 0666);
    if (nFd < 0)
        return false;
    bool bOk = ApplyAttributes(nFd, pLike) && WriteAll(nFd, strBytes) && CurrentFileOps().pfnFsync(nFd) == 0;
    if (CurrentFileOps().pfnClose(nFd) != 0)
        bOk = false;
    if (!bOk)
    {
        unlink(strName.c_str());
        errno = EIO;
        return false;
    }
    SyncDirectory(DirectoryOf(strName));
    return true;
}

void RemoveStaleTempFiles(const std::string& strName)
{
    RemoveStaleTempFilesBeside(strName);
    // A link's target is replaced in its own folder, so its temporary files are there.
    char szTarget[PATH_MAX];
    char szFolder[PATH_MAX];
    if (realpath(strName.c_str(), szTarget) && realpath(DirectoryOf(strName).c_str(), szFolder) &&
        std::string(szTarget) != std::string(szFolder) + "/" + BaseNameOf(strName))
        RemoveStaleTempFilesBeside(szTarget);
}

CFileReplacement::~CFileReplacement()
{
    Abandon();
}

int CFileReplacement::Begin(const std::string& strName)
{
    Abandon();
    if (!ResolveReplaceTarget(strName, m_target))
        return -1;
    const ReplaceTarget* pAttributes = m_target.bExists ? &m_target : nullptr;
    m_nFd = CreateTempFile(m_target.strPath, pAttributes ? 0600 : 0666, m_strTempPath);
    if (m_nFd >= 0 && !ApplyAttributes(m_nFd, pAttributes))
        Abandon();
    return m_nFd;
}

bool CFileReplacement::Commit()
{
    if (m_nFd < 0)
        return false;
    bool bOk = CurrentFileOps().pfnFsync(m_nFd) == 0;
    // Closed exactly once, whatever close() returns.
    if (CurrentFileOps().pfnClose(m_nFd) != 0)
        bOk = false;
    m_nFd = -1;
    if (bOk && CurrentFileOps().pfnRename(m_strTempPath.c_str(), m_target.strPath.c_str()) != 0)
        bOk = false;
    if (!bOk)
    {
        unlink(m_strTempPath.c_str());
        m_strTempPath.clear();
        return false;
    }
    m_strTempPath.clear();
    SyncDirectory(DirectoryOf(m_target.strPath));
    return true;
}

void CFileReplacement::Abandon()
{
    if (m_nFd >= 0)
    {
        CurrentFileOps().pfnClose(m_nFd);
        m_nFd = -1;
    }
    if (!m_strTempPath.empty())
    {
        unlink(m_strTempPath.c_str());
        m_strTempPath.clear();
    }
}
