// Replacing a file so that a failure or a crash leaves either the former or the new content, whole.
#pragma once

#include <string>
#include <sys/types.h>

// The file a replacement would write: a symbolic link is followed to its final target.
struct ReplaceTarget
{
    std::string strPath;  // the final target, through any links
    bool bExists = false;
    mode_t nMode = 0;     // permission bits of an existing target
    uid_t nOwner = 0;
    gid_t nGroup = 0;
};

// False when the file may not be replaced: an existing target that is not a regular file, one whose
// mode has no write bit at all (also for root), a dangling or looping link.
bool ResolveReplaceTarget(const std::string& strName, ReplaceTarget& target);

// Writes the bytes to a new file beside the target, syncs and closes it, checking each step, and
// renames it over the target; then syncs the folder. An existing target keeps its permission bits
// (and, where allowed, its owner); a new one gets 0666 less the umask. With pLike the file takes
// that file's bits and owner instead. A link stays a link. On any failure the target is untouched,
// no temporary file remains, and the result is false.
bool ReplaceFileContents(const std::string& strName, const std::string& strBytes,
                         const ReplaceTarget* pLike = nullptr);

enum class EReadResult { Read, Missing, Failed };
// The file's bytes as they stand on disk.
EReadResult ReadFileBytes(const std::string& strName, std::string& strBytes);
