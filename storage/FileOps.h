// The system calls a safe file replacement makes, behind pointers that tests swap to make one fail.
#pragma once

#include <sys/types.h>

struct FileOps
{
    int (*pfnOpen)(const char* pszPath, int nFlags, mode_t nMode);
    ssize_t (*pfnWrite)(int nFd, const void* pData, size_t nSize);
    int (*pfnFsync)(int nFd);
    int (*pfnClose)(int nFd);
    int (*pfnRename)(const char* pszFrom, const char* pszTo);
};

// The calls in use; the real ones unless a test has put others in.
FileOps& CurrentFileOps();
// The real system calls.
const FileOps& SystemFileOps();
