// The main window's steps for the data file: load when it opens, save when it is destroyed, and write
// the table at once after every change.
#include "app/MainDialog.h"

#include "app/Toolkit.h"

namespace
{
const char kSaveFailedText[] = "Save to File";
const char kSaveFailedCaption[] = "Error Writing File";
}  // namespace

void CMainDialog::LoadEntries()
{
    PullFields();
    // Loaded texts go into the table as read, not through the form, so the OT field's completion
    // cannot change a stored overtime. The columns are sized once, for all rows together.
    m_listEntries.SuspendRedraw();
    m_entryFile.Load([this](EntryRow&& row) { m_listEntries.InsertTopRow(std::move(row)); });
    m_listEntries.AutosizeColumns();
    m_listEntries.ResumeRedraw();
    RefreshRowCount();
    ClearFields();
    PushFields();
}

void CMainDialog::SaveEntries()
{
    // Whatever the form held is not saved.
    ClearFields();
    PullFields();
    SaveTable();
    ClearFields();
    PushFields();
}

void CMainDialog::WriteTableNow()
{
    if (m_bWriteEachChange)
        SaveTable();
}

void CMainDialog::SaveTable()
{
    const CEntryTable& table = m_listEntries;
    const bool bSaved = m_entryFile.Save(static_cast<size_t>(table.GetRowCount()),
                                         [&table](size_t i) -> const EntryRow& {
                                             return table.GetRow(static_cast<int>(i));
                                         });
    if (!bSaved)
        CToolkit::MainMessageBox(this, kSaveFailedText, kSaveFailedCaption);
}
