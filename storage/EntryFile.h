// CEntryFile: loads the entry table from the data file and saves it back, safely, with one backup,
// merging what another writer put into the file meanwhile.
#pragma once

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>

#include "entries/EntryRow.h"
#include "storage/EntryMerge.h"
#include "storage/SafeFile.h"

// What a successful save did beyond writing the table it was given.
struct EntrySaveReport
{
    // The file had changed since this object last read or wrote it: merge.rows was saved instead.
    bool bMerged = false;
    EntryMergeResult merge;
    // The file was written over in place, not replaced atomically.
    bool bWroteInPlace = false;
};

class CEntryFile
{
public:
    explicit CEntryFile(std::string strFileName = "kvl.dat");

    // Reads the data file; calls onRow for each entry in file order (oldest first; the caller puts
    // each at the top of its table). A missing file is created empty. Returns false when the file
    // could not be opened (the caller stays silent).
    bool Load(const std::function<void(EntryRow&&)>& onRow);

    // Writes nRows rows, rowAt(0) being the table's top row (newest), replacing the file safely.
    // Before the first replacement in this object's life a non-empty former file is kept as
    // "<name>.bak". If the file changed since this object last read or wrote it, the table is merged
    // with it (the table as read or written then being the common base) and the merge is saved and
    // told in *pReport. Returns false on any failure; the file is then byte for byte as it was
    // (unless it could only be written in place).
    bool Save(size_t nRows, const std::function<const EntryRow&(size_t)>& rowAt,
              EntrySaveReport* pReport = nullptr);

    std::string GetBackupName() const { return m_strFileName + ".bak"; }

private:
    enum class EDiskState { AsKnown, Changed, Gone, Unreadable };

    bool KeepBackup();
    // Whether the file still holds m_strDiskBytes; when it does not, strNow gets what it holds.
    EDiskState LookAtDisk(std::string& strNow);
    void RememberDisk(std::string strBytes, const FileStamp& stamp, const timespec& takenAt);

    std::string m_strFileName;
    bool m_bReplacedOnce = false;  // the backup is only taken before the first replacement
    // The exact bytes the file held when this object last read or wrote it, and its stamp then.
    bool m_bKnowsDisk = false;
    std::string m_strDiskBytes;
    FileStamp m_diskStamp;
    timespec m_stampTakenAt = {0, 0};
};
