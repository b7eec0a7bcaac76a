// Finding and copying the shipped report templates.
#include "report/ShippedTemplates.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::string Parent(const std::string& strPath)
{
    const size_t nSlash = strPath.find_last_of('/');
    if (nSlash == std::string::npos)
        return ".";
    return nSlash == 0 ? "/" : strPath.substr(0, nSlash);
}

std::string RealPath(const std::string& strPath)
{
    char szReal[PATH_MAX];
    return realpath(strPath.c_str(), szReal) ? std::string(szReal) : std::string();
}

bool IsRegularFile(const std::string& strPath)
{
    struct stat st;
    return stat(strPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsInside(const std::string& strPath, const std::string& strFolder)
{
    return !strFolder.empty() && strPath.size() > strFolder.size() &&
           strPath.compare(0, strFolder.size(), strFolder) == 0 && strPath[strFolder.size()] == '/';
}

bool WriteAll(int nFd, const char* pData, size_t nSize)
{
    while (nSize > 0)
    {
        const ssize_t nWritten = write(nFd, pData, nSize);
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten <= 0)
            return false;
        pData += nWritten;
        nSize -= static_cast<size_t>(nWritten);
    }
    return true;
}
}  // namespace

std::string FindShippedTemplate(const ShippedTemplatePlaces& places, const std::string& strName)
{
    const std::string strProgram = RealPath(places.strExecutable);
    if (strProgram.empty())
        return {};
    const std::string strPrefix = Parent(Parent(Parent(strProgram)));
    const std::string strInstalled = strPrefix + "/share/vantrell/templates/" + strName;
    if (IsRegularFile(strInstalled))
        return strInstalled;
    if (IsInside(strProgram, RealPath(places.strBuildDir)))
    {
        const std::string strSource = places.strSourceDir + "/" + strName;
        if (IsRegularFile(strSource))
            return strSource;
    }
    return {};
}

bool IsMissingFile(const std::string& strName)
{
    struct stat st;
    return lstat(strName.c_str(), &st) != 0 && errno == ENOENT;
}

bool CopyToNewFile(const std::string& strSource, const std::string& strName)
{
    const int nIn = open(strSource.c_str(), O_RDONLY | O_CLOEXEC);
    if (nIn < 0)
        return false;
    struct stat st;
    if (fstat(nIn, &st) != 0 || !S_ISREG(st.st_mode))
    {
        close(nIn);
        return false;
    }
    // O_EXCL: never through a dangling link, never over a file someone made just now.
    const int nOut = open(strName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (nOut < 0)
    {
        close(nIn);
        return false;
    }
    bool bCopied = true;
    char buffer[16 * 1024];
    for (;;)
    {
        const ssize_t nRead = read(nIn, buffer, sizeof buffer);
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead <= 0)
        {
            bCopied = nRead == 0;
            break;
        }
        if (!WriteAll(nOut, buffer, static_cast<size_t>(nRead)))
        {
            bCopied = false;
            break;
        }
    }
    close(nIn);
    if (close(nOut) != 0)
        bCopied = false;
    // A half copy would pass for the user's own template: it goes, and the caller falls back.
    if (!bCopied)
        unlink(strName.c_str());
    return bCopied;
}

std::string CurrentFolder()
{
    char szCwd[PATH_MAX];
    return getcwd(szCwd, sizeof szCwd) ? std::string(szCwd) : std::string(".");
}
