// The real system calls behind FileOps.
#include "storage/FileOps.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{
int SystemOpen(const char* pszPath, int nFlags, mode_t nMode)
{
    return open(pszPath, nFlags, nMode);
}

const FileOps SYSTEM_FILE_OPS = {SystemOpen, write, fsync, close, rename};
FileOps g_currentFileOps = SYSTEM_FILE_OPS;
}  // namespace

FileOps& CurrentFileOps()
{
    return g_currentFileOps;
}

const FileOps& SystemFileOps()
{
    return SYSTEM_FILE_OPS;
}
