// The main window's steps for the data file: load when it opens, save when it is destroyed, and write
// the table at once after every change.
#include "app/MainDialog.h"

#include "app/Toolkit.h"

#include <wx/intl.h>

#include <cstdio>

namespace
{
const char kSaveFailedText[] = "Save to File";
const char kSaveFailedCaption[] = "Error Writing File";

// What a save had to do besides writing the table, told once each.
void TellSaveNotes(CMainDialog* pDialog, const CEntryFile& file, const CEntryFile::SSaveNotes& notes)
{
    if (!notes.strKeptCopy.empty())
    {
        const wxString strText = wxString::Format(
            _("Some of the text in \"%s\" could not be read as entries. The file as it was has been kept as \"%s\"."),
            wxString::FromUTF8(file.GetFileName()), wxString::FromUTF8(notes.strKeptCopy));
        CToolkit::MainMessageBox(pDialog, strText.utf8_string(), _("Data File Kept").utf8_string());
    }
    if (!notes.strBackupNotKept.empty())
    {
        const wxString strText =
            wxString::Format(_("No backup could be kept as \"%s\". The entries were saved without one."),
                             wxString::FromUTF8(notes.strBackupNotKept));
        CToolkit::MainMessageBox(pDialog, strText.utf8_string(), _("No Backup").utf8_string());
    }
}
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
    // On the way out after a signal these notes go to standard error: nobody is there to answer.
    TellSaveNotes(this, m_entryFile, m_entryFile.TakeSaveNotes());
    m_bLastSaveFailed = !bSaved;
    if (bSaved)
        return;
    // On the way out after a signal nobody is there to answer a message box.
    if (m_bEndingOnSignal)
        std::fprintf(stderr, "%s: %s\n", CToolkit::GetAppTitle().c_str(),
                     _("the entries could not be saved to kvl.dat; it is as the last save left it").utf8_string().c_str());
    else
        CToolkit::MainMessageBox(this, kSaveFailedText, kSaveFailedCaption);
}
