// Plain path steps over POSIX calls.
#include "storage/FilePath.h"

#include <unistd.h>

std::string DirectoryOf(const std::string& strPath)
{
    const size_t nSlash = strPath.rfind('/');
    if (nSlash == std::string::npos)
        return ".";
    if (nSlash == 0)
        return "/";
    return strPath.substr(0, nSlash);
}

std::string BaseNameOf(const std::string& strPath)
{
    const size_t nSlash = strPath.rfind('/');
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

bool ReadLink(const std::string& strPath, std::string& strTarget)
{
    std::string strBuffer(256, '\0');
    for (;;)
    {
        ssize_t nLength = readlink(strPath.c_str(), &strBuffer[0], strBuffer.size());
        if (nLength < 0)
            return false;
        if (static_cast<size_t>(nLength) < strBuffer.size())
        {
            strBuffer.resize(static_cast<size_t>(nLength));
            strTarget = strBuffer;
            return true;
        }
        strBuffer.resize(strBuffer.size() * 2);
    }
}
