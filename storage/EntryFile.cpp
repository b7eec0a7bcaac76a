// CEntryFile over CTextFile (loading) and the safe replacement (saving).
#include "storage/EntryFile.h"

#include <cerrno>
#include <ctime>
#include <utility>

#include "storage/EntryFormat.h"
#include "storage/EntryParser.h"
#include "storage/LossyLoad.h"
#include "storage/SafeFile.h"
#include "storage/TextFile.h"

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
    RememberDisk(std::move(strDiskBytes), std::move(strTableBytes));
    if (!bReadWhole)
        m_bUnreadPending = true;
    return true;
}

void CEntryFile::RememberDisk(std::string strDiskBytes, std::string strTableBytes)
{
    const bool bLossy = IsLossyLoad(strDiskBytes, strTableBytes);
    const bool bDiffer = strTableBytes != strDiskBytes;
    RememberDisk(std::move(strDiskBytes));
    m_bUnreadPending = bLossy;
    m_bTableBytesDiffer = bDiffer;
    if (bDiffer)
        m_strTableBytes = std::move(strTableBytes);
}

void CEntryFile::RememberDisk(std::string strDiskBytes)
{
    m_strDiskBytes = std::move(strDiskBytes);
    m_strTableBytes.clear();
    m_bTableBytesDiffer = false;
    m_bUnreadPending = false;
    m_bDiskKnown = true;
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

bool CEntryFile::Save(size_t nRows, const std::function<const EntryRow&(size_t)>& rowAt)
{
    std::string strText = FormatEntryText(nRows, rowAt);
    if (IsUnchanged(strText))
        return true;
    // What the loader passed over exists only in the file; the file is kept before it is replaced.
    if (m_bUnreadPending && !KeepUnreadCopy())
        return false;
    // The backup protects the former file; it never stands in the way of saving the table.
    const bool bBackupKept = m_bReplacedOnce || KeepBackup();
    if (!ReplaceFileContents(m_strFileName, strText))
        return false;
    m_bReplacedOnce = true;
    if (!bBackupKept && !m_bBackupNoted)
    {
        m_notes.strBackupNotKept = GetBackupName();
        m_bBackupNoted = true;
    }
    RememberDisk(std::move(strText));
    return true;
}

CEntryFile::SSaveNotes CEntryFile::TakeSaveNotes()
{
    return std::exchange(m_notes, SSaveNotes());
}
