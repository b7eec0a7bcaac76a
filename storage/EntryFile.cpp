// CEntryFile over CTextFile (loading) and the safe replacement (saving).
#include "storage/EntryFile.h"

#include <utility>

#include "storage/EntryFormat.h"
#include "storage/EntryParser.h"
#include "storage/SafeFile.h"
#include "storage/TextFile.h"

CEntryFile::CEntryFile(std::string strFileName) : m_strFileName(std::move(strFileName))
{
}

bool CEntryFile::Load(const std::function<void(EntryRow&&)>& onRow)
{
    CTextFile file;
    if (!file.OpenForReading(m_strFileName))
        return false;
    CEntryParser parser(onRow);
    char c;
    while (file.ReadChar(c))
        parser.PutChar(c);
    file.Close();
    parser.Finish();
    return true;
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

bool CEntryFile::Save(size_t nRows, const std::function<const EntryRow&(size_t)>& rowAt)
{
    const std::string strText = FormatEntryText(nRows, rowAt);
    if (!m_bReplacedOnce && !KeepBackup())
        return false;
    if (!ReplaceFileContents(m_strFileName, strText))
        return false;
    m_bReplacedOnce = true;
    return true;
}
