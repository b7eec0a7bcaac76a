// CEntryFile over CTextFile (loading), the safe replacement (saving) and the merge.
#include "storage/EntryFile.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <utility>
#include <vector>

#include "storage/EntryFormat.h"
#include "storage/EntryParser.h"
#include "storage/LossyLoad.h"
#include "storage/SafeFile.h"
#include "storage/TextFile.h"

namespace
{
// File times come from a coarse clock and some file systems keep them to the second or two, so a
// write within that span of the stamp could leave it as it was: such a stamp proves nothing, and
// the bytes are compared instead.
const long long STAMP_SETTLE_NS = 2000000000LL;

timespec Now()
{
    timespec now = {0, 0};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

long long Nanoseconds(const timespec& time)
{
    return static_cast<long long>(time.tv_sec) * 1000000000LL + time.tv_nsec;
}

bool IsSettled(const FileStamp& stamp, const timespec& takenAt)
{
    const long long nLatest = std::max(Nanoseconds(stamp.ctime), Nanoseconds(stamp.mtime));
    return Nanoseconds(takenAt) - nLatest > STAMP_SETTLE_NS;
}
}  // namespace

CEntryFile::CEntryFile(std::string strFileName) : m_strFileName(std::move(strFileName))
{
}

bool CEntryFile::Load(const std::function<void(EntryRow&&)>& onRow)
{
    RemoveStaleTempFiles(m_strFileName);
    RemoveStaleTempFiles(GetBackupName());
    CTextFile file;
    if (!file.OpenForReading(m_strFileName))
    {
        m_bDiskKnown = false;
        m_bUnreadPending = true;
        return false;
    }
    // The exact bytes are kept, to see later whether someone else wrote the file meanwhile; the
    // stamp is taken before the read, so a write during the read shows as a later change.
    FileStamp stamp;
    const timespec takenAt = Now();
    if (StatFile(m_strFileName, stamp) != EReadResult::Read)
        stamp = FileStamp();
    std::string strDiskBytes;
    file.CopyBytesTo(&strDiskBytes);
    // The save of the rows as they arrive, oldest first, tells whether the load lost anything.
    std::string strTableBytes;
    strTableBytes.reserve(strDiskBytes.capacity());
    CEntryParser parser([&](EntryRow&& row) {
        AppendEntryRecord(strTableBytes, row);
        onRow(std::move(row));
    });
    char c;
    while (file.ReadChar(c))
        parser.PutChar(c);
    const bool bReadWhole = file.Close();
    parser.Finish();
    RememberDisk(std::move(strDiskBytes), stamp, takenAt);
    RememberLoadedTable(std::move(strTableBytes));
    if (!bReadWhole)
        m_bUnreadPending = true;
    return true;
}

void CEntryFile::RememberDisk(std::string strDiskBytes, const FileStamp& stamp, const timespec& takenAt)
{
    m_strDiskBytes = std::move(strDiskBytes);
    m_diskStamp = stamp;
    m_stampTakenAt = takenAt;
    m_strTableBytes.clear();
    m_bTableBytesDiffer = false;
    m_bUnreadPending = false;
    m_bDiskKnown = true;
}

CEntryFile::EDiskState CEntryFile::LookAtDisk(std::string& strNow)
{
    // A file gone or unreadable is told as such, whichever look finds it.
    auto failed = [](EReadResult eResult) {
        return eResult == EReadResult::Missing ? EDiskState::Gone : EDiskState::Unreadable;
    };
    FileStamp stamp;
    const EReadResult eStat = StatFile(m_strFileName, stamp);
    if (eStat != EReadResult::Read)
        return failed(eStat);
    if (stamp == m_diskStamp && IsSettled(m_diskStamp, m_stampTakenAt))
        return EDiskState::AsKnown;
    const timespec takenAt = Now();
    const EReadResult eRead = ReadFileBytes(m_strFileName, strNow, &stamp);
    if (eRead != EReadResult::Read)
        return failed(eRead);
    if (strNow != m_strDiskBytes)
        return EDiskState::Changed;
    m_diskStamp = stamp;
    m_stampTakenAt = takenAt;
    return EDiskState::AsKnown;
}

void CEntryFile::RememberLoadedTable(std::string strTableBytes)
{
    m_bUnreadPending = IsLossyLoad(m_strDiskBytes, strTableBytes);
    m_bTableBytesDiffer = strTableBytes != m_strDiskBytes;
    if (m_bTableBytesDiffer)
        m_strTableBytes = std::move(strTableBytes);
}

bool CEntryFile::IsUnchanged(const std::string& strText) const
{
    return m_bDiskKnown && strText == (m_bTableBytesDiffer ? m_strTableBytes : m_strDiskBytes);
}

std::string CEntryFile::GetUnreadCopyStem() const
{
    const std::time_t nNow = std::time(nullptr);
    std::tm local = {};
    char szStamp[32] = "";
    if (localtime_r(&nNow, &local))
        std::strftime(szStamp, sizeof szStamp, "%Y%m%d-%H%M%S", &local);
    return m_strFileName + ".unread-" + szStamp;
}

// The file as it stands, under a name nothing else uses, as private as the file itself. It is read
// again rather than taken from the load: whatever is on disk now is what the save would replace.
bool CEntryFile::KeepUnreadCopy()
{
    std::string strBytes;
    switch (ReadFileBytes(m_strFileName, strBytes))
    {
    case EReadResult::Missing:
        m_bUnreadPending = false;
        return true;
    case EReadResult::Failed:
        return false;
    case EReadResult::Read:
        break;
    }
    if (strBytes.empty())
    {
        m_bUnreadPending = false;
        return true;
    }
    ReplaceTarget target;
    if (!ResolveReplaceTarget(m_strFileName, target))
        return false;
    const std::string strStem = GetUnreadCopyStem();
    for (int nTry = 1; nTry <= 100; ++nTry)
    {
        const std::string strName = nTry == 1 ? strStem : strStem + "-" + std::to_string(nTry);
        if (WriteNewFile(strName, strBytes, &target))
        {
            m_notes.strKeptCopy = strName;
            m_bUnreadPending = false;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// The former file as it stands, so that the run before this one can still be recovered; the copy
// is no more open to others than the file it keeps. False only when a backup was due and failed.
bool CEntryFile::KeepBackup()
{
    ReplaceTarget target;
    // A data file that cannot be replaced fails the save itself; no backup is missing then.
    if (!ResolveReplaceTarget(m_strFileName, target) || !target.bExists)
        return true;
    std::string strFormer;
    switch (ReadFileBytes(target.strPath, strFormer))
    {
    case EReadResult::Missing:
        return true;
    case EReadResult::Failed:
        return false;
    case EReadResult::Read:
        break;
    }
    return strFormer.empty() || ReplaceFileContents(GetBackupName(), strFormer, &target);
}

bool CEntryFile::Save(size_t nRows, const std::function<const EntryRow&(size_t)>& rowAt,
                      EntrySaveReport* pReport)
{
    EntrySaveReport report;
    std::string strText;
    bool bAsKnown = false;
    if (m_bDiskKnown)
    {
        std::string strNow;
        switch (LookAtDisk(strNow))
        {
        case EDiskState::Unreadable:
            return false;  // what the file holds now is unknown, so it is not written over
        case EDiskState::Changed:
        {
            std::vector<EntryRow> ours;
            ours.reserve(nRows);
            for (size_t i = 0; i < nRows; ++i)
                ours.push_back(rowAt(i));
            std::vector<EntryRow> theirs = ParseEntryTable(strNow);
            // The file about to be replaced is the other writer's now; what it holds beyond its
            // entries is kept as a copy, as for a file loaded at the start.
            m_bUnreadPending = IsLossyLoad(strNow, FormatEntryTable(theirs));
            report.merge = MergeEntryTables(ParseEntryTable(m_strDiskBytes), ours, theirs);
            report.bMerged = true;
            strText = FormatEntryTable(report.merge.rows);
            break;
        }
        case EDiskState::AsKnown:
            bAsKnown = true;
            break;
        case EDiskState::Gone:  // removed, not emptied: nobody's entries to take over
            break;
        }
    }
    if (!report.bMerged)
    {
        strText = FormatEntryText(nRows, rowAt);
        if (bAsKnown && IsUnchanged(strText))
            return true;
    }
    // What the loader passed over exists only in the file; the file is kept before it is replaced.
    if (m_bUnreadPending && !KeepUnreadCopy())
        return false;
    // The backup protects the former file; it never stands in the way of saving the table.
    const bool bBackupKept = m_bReplacedOnce || KeepBackup();
    if (!ReplaceFileContents(m_strFileName, strText, nullptr, &report.bWroteInPlace))
        return false;
    m_bReplacedOnce = true;
    if (!bBackupKept && !m_bBackupNoted)
    {
        m_notes.strBackupNotKept = GetBackupName();
        m_bBackupNoted = true;
    }
    // A stamp that cannot be taken matches none, so the next save compares the bytes.
    FileStamp stamp;
    const timespec takenAt = Now();
    if (StatFile(m_strFileName, stamp) != EReadResult::Read)
        stamp = FileStamp();
    RememberDisk(std::move(strText), stamp, takenAt);
    if (pReport)
        *pReport = std::move(report);
    return true;
}

CEntryFile::SSaveNotes CEntryFile::TakeSaveNotes()
{
    return std::exchange(m_notes, SSaveNotes());
}
