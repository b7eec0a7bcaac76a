// Replacing a file so that a failure or a crash leaves either the former or the new content, whole.
#pragma once

#include <ctime>
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
// mode has no write bit at all (also for root), one this user could not write in place, a dangling
// or looping link.
bool ResolveReplaceTarget(const std::string& strName, ReplaceTarget& target);

// Writes the bytes to a new file beside the target, syncs and closes it, checking each step, and
// renames it over the target; then syncs the folder. An existing target keeps its permission bits
// and its owner; a new one gets 0666 less the umask. With pLike the file takes that file's bits and,
// where allowed, its owner instead. A link stays a link. On any failure the target is untouched, no
// temporary file remains, and the result is false.
// An existing target whose folder takes no new file, or whose owner a new file could not be given,
// is written over in place instead (synced, each step checked) and *pbInPlace is set: the only way
// left, and not atomic. A failure there may leave the file part written.
bool ReplaceFileContents(const std::string& strName, const std::string& strBytes,
                         const ReplaceTarget* pLike = nullptr, bool* pbInPlace = nullptr);

// What stat tells of a file, enough to see that it was replaced or written since.
struct FileStamp
{
    dev_t nDevice = 0;
    ino_t nInode = 0;
    off_t nSize = 0;
    timespec mtime = {0, 0};
    timespec ctime = {0, 0};

    bool operator==(const FileStamp& other) const;
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

enum class EReadResult { Read, Missing, Failed };
// The file's bytes as they stand on disk; with pStamp also its stamp, taken before the read, so a
// write during the read shows as a later change.
EReadResult ReadFileBytes(const std::string& strName, std::string& strBytes, FileStamp* pStamp = nullptr);
// The stamp of the file a name reaches (through links).
EReadResult StatFile(const std::string& strName, FileStamp& stamp);

// Writes a new file of that name, never over an existing one (errno EEXIST then), with pLike's bits
// and owner if given; synced. On any failure no file of that name is left and the result is false.
bool WriteNewFile(const std::string& strName, const std::string& strBytes, const ReplaceTarget* pLike);

// Removes the temporary files that replacements of this name (and names that begin with it, as
// its backup's) left behind in a process that no longer exists, beside the name and beside a
// link's target. Only regular files with our name pattern are touched.
void RemoveStaleTempFiles(const std::string& strName);

// A replacement written in pieces: Begin creates the temporary file beside the target (the rules of
// ReplaceFileContents) and gives its descriptor, which the caller writes through CurrentFileOps();
// Commit syncs, closes and renames it over the target; Abandon, or destruction before Commit, closes
// and removes it. The target is untouched until the rename.
class CFileReplacement
{
public:
    CFileReplacement() = default;
    ~CFileReplacement();
    CFileReplacement(const CFileReplacement&) = delete;
    CFileReplacement& operator=(const CFileReplacement&) = delete;

    // -1 when the target may not be replaced or no temporary file can be created.
    int Begin(const std::string& strName);
    bool Commit();
    void Abandon();

private:
    ReplaceTarget m_target;
    std::string m_strTempPath;
    int m_nFd = -1;
};
