// CEntryFile: loads the entry table from the data file and saves it back safely: only when the
// table changed, merging what another writer put into the file meanwhile, with one backup per run,
// and never over content the loader passed over without a copy of the file kept first.
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
    // each at the top of its table). A missing file is created empty. Temporary files that killed
    // saves left are removed first. Returns false when the file could not be opened (the caller
    // stays silent; a later save then refuses to replace a file that exists but could not be read).
    bool Load(const std::function<void(EntryRow&&)>& onRow);

    // Writes nRows rows, rowAt(0) being the table's top row (newest), replacing the file safely,
    // unless they give the bytes that the file held when this object last read or wrote it: then
    // nothing is touched. If the file changed since then, the table is merged with it (the table as
    // read or written then being the common base) and the merge is saved and told in *pReport.
    // Before the first replacement of a file whose load passed over content, the file is kept as
    // it was under a new name of its own (TakeSaveNotes). Before the first replacement in this
    // object's life a non-empty former file is kept as "<name>.bak"; when that cannot be written
    // the save goes on. Returns false on any other failure; the file is then byte for byte as it was
    // (unless it could only be written in place).
    bool Save(size_t nRows, const std::function<const EntryRow&(size_t)>& rowAt,
              EntrySaveReport* pReport = nullptr);

    // What saves have to tell the user, each only once: the name of the copy kept of a file that
    // did not load whole, and the name of the backup that could not be written (once per object).
    struct SSaveNotes
    {
        std::string strKeptCopy;
        std::string strBackupNotKept;
    };
    SSaveNotes TakeSaveNotes();

    const std::string& GetFileName() const { return m_strFileName; }
    std::string GetBackupName() const { return m_strFileName + ".bak"; }
    // "<name>.unread-YYYYMMDD-HHMMSS", local time; a suffix "-2", "-3" ... when the name is taken.
    std::string GetUnreadCopyStem() const;
    // The last load passed over content and no copy of the file has been kept yet.
    bool HasUnreadContent() const { return m_bUnreadPending; }

private:
    enum class EDiskState { AsKnown, Changed, Gone, Unreadable };

    // The file's bytes and stamp as just read or written; what the loader passed over is not known.
    void RememberDisk(std::string strDiskBytes, const FileStamp& stamp, const timespec& takenAt);
    // What saving the table just loaded gives, to tell a lossy load and an unchanged table.
    void RememberLoadedTable(std::string strTableBytes);
    bool IsUnchanged(const std::string& strText) const;
    bool KeepUnreadCopy();
    bool KeepBackup();
    // Whether the file still holds m_strDiskBytes; when it does not, strNow gets what it holds.
    EDiskState LookAtDisk(std::string& strNow);

    std::string m_strFileName;
    std::string m_strDiskBytes;   // the exact bytes of the data file when last read or written
    FileStamp m_diskStamp;        // and its stamp then
    timespec m_stampTakenAt = {0, 0};
    std::string m_strTableBytes;  // the save of the table read then, kept only when it differs
    bool m_bTableBytesDiffer = false;
    bool m_bDiskKnown = false;      // a load or save has succeeded
    bool m_bUnreadPending = false;  // the file holds what the table does not, and no copy is kept
    bool m_bReplacedOnce = false;   // the backup is only taken before the first replacement
    bool m_bBackupNoted = false;
    SSaveNotes m_notes;
};
