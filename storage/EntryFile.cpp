// CEntryFile over CTextFile (loading), the safe replacement (saving) and the merge.
#include "storage/EntryFile.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "storage/EntryFormat.h"
#include "storage/EntryParser.h"
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
    CTextFile file;
    if (!file.OpenForReading(m_strFileName))
        return false;
    // The exact bytes are kept, to see later whether someone else wrote the file meanwhile.
    std::string strBytes;
    FileStamp stamp;
    const timespec takenAt = Now();
    if (ReadFileBytes(m_strFileName, strBytes, &stamp) == EReadResult::Read)
    {
        file.Close();
        ParseEntryText(DecodeTextBytes(strBytes), onRow);
        RememberDisk(std::move(strBytes), stamp, takenAt);
        return true;
    }
    CEntryParser parser(onRow);
    char c;
    while (file.ReadChar(c))
        parser.PutChar(c);
    file.Close();
    parser.Finish();
    return true;
}

void CEntryFile::RememberDisk(std::string strBytes, const FileStamp& stamp, const timespec& takenAt)
{
    m_bKnowsDisk = true;
    m_strDiskBytes = std::move(strBytes);
    m_diskStamp = stamp;
    m_stampTakenAt = takenAt;
}

CEntryFile::EDiskState CEntryFile::LookAtDisk(std::string& strNow)
{
    FileStamp stamp;
    switch (StatFile(m_strFileName, stamp))
    {
    case EReadResult::Missing:
        return EDiskState::Gone;
    case EReadResult::Failed:
        return EDiskState::Unreadable;
    case EReadResult::Read:
        break;
    }
    if (stamp == m_diskStamp && IsSettled(m_diskStamp, m_stampTakenAt))
        return EDiskState::AsKnown;
    const timespec takenAt = Now();
    switch (ReadFileBytes(m_strFileName, strNow, &stamp))
    {
    case EReadResult::Missing:
        return EDiskState::Gone;
    case EReadResult::Failed:
        return EDiskState::Unreadable;
    case EReadResult::Read:
        break;
    }
    if (strNow != m_strDiskBytes)
        return EDiskState::Changed;
    m_diskStamp = stamp;
    m_stampTakenAt = takenAt;
    return EDiskState::AsKnown;
}

// The former file as it stands, so that what the loader passed over can still be recovered; the
// copy is no more open to others than the file it keeps.
bool CEntryFile::KeepBackup()
{
    ReplaceTarget target;
    if (!ResolveReplaceTarget(m_strFileName, target))
        return false;
    if (!target.bExists)
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
    if (m_bKnowsDisk)
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
            report.merge = MergeEntryTables(ParseEntryTable(m_strDiskBytes), ours, ParseEntryTable(strNow));
            report.bMerged = true;
            strText = FormatEntryTable(report.merge.rows);
            break;
        }
        case EDiskState::Gone:  // removed, not emptied: nobody's entries to take over
        case EDiskState::AsKnown:
            break;
        }
    }
    if (!report.bMerged)
        strText = FormatEntryText(nRows, rowAt);
    if (!m_bReplacedOnce && !KeepBackup())
        return false;
    if (!ReplaceFileContents(m_strFileName, strText, nullptr, &report.bWroteInPlace))
        return false;
    m_bReplacedOnce = true;
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
