// The main window's steps for the data file: load when it opens, save when it is destroyed, and write
// the table at once after every change.
#include "app/MainDialog.h"

#include "app/Toolkit.h"
#include "entries/EntryListCtrl.h"

#include <wx/intl.h>
#include <wx/string.h>

#include <cstdio>

namespace
{
const char kSaveFailedText[] = wxTRANSLATE("Save to File");
const char kSaveFailedCaption[] = wxTRANSLATE("Error Writing File");

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

// What came in from the file and what went out there, in one message.
std::string MergeMessageText(size_t nCameIn, size_t nWentOut)
{
    wxString strText = _("kvl.dat was changed by another program while this window was open. "
                         "Its changes and yours are both kept, and the list shows the result.");
    if (nCameIn > 0)
        strText += "\n\n" + wxString::Format(wxPLURAL("%zu entry came in from the file.",
                                                      "%zu entries came in from the file.", nCameIn),
                                             nCameIn);
    if (nWentOut > 0)
        strText += (nCameIn > 0 ? "\n" : "\n\n") +
                   wxString::Format(wxPLURAL("%zu entry was deleted there and is gone from the list.",
                                             "%zu entries were deleted there and are gone from the list.",
                                             nWentOut),
                                    nWentOut);
    return strText.utf8_string();
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
        SaveTable(true);
}

void CMainDialog::SaveTable(bool bTellChanges)
{
    const CEntryTable& table = m_listEntries;
    EntrySaveReport report;
    const bool bSaved = m_entryFile.Save(static_cast<size_t>(table.GetRowCount()),
                                         [&table](size_t i) -> const EntryRow& {
                                             return table.GetRow(static_cast<int>(i));
                                         },
                                         &report);
    // On the way out after a signal these notes go to standard error: nobody is there to answer.
    TellSaveNotes(this, m_entryFile, m_entryFile.TakeSaveNotes());
    m_bLastSaveFailed = !bSaved;
    if (!bSaved)
    {
        // On the way out after a signal nobody is there to answer a message box.
        if (m_bEndingOnSignal)
            std::fprintf(stderr, "%s: %s\n", CToolkit::GetAppTitle().c_str(),
                         _("the entries could not be saved to kvl.dat; it is as the last save left it").utf8_string().c_str());
        else
            CToolkit::MainMessageBox(this, wxGetTranslation(kSaveFailedText).utf8_string(),
                                     wxGetTranslation(kSaveFailedCaption).utf8_string());
        return;
    }
    // The table always takes the merge, or the next save would write over it again.
    const EntryMergeResult& merge = report.merge;
    const bool bTableChanged = report.bMerged && (!merge.cameIn.empty() || !merge.wentOut.empty());
    if (bTableChanged)
        ShowMergedTable(merge);
    if (!bTellChanges)
        return;
    if (bTableChanged)
        CToolkit::MainMessageBox(this, MergeMessageText(merge.cameIn.size(), merge.wentOut.size()),
                                 _("Entries Merged").utf8_string());
    if (report.bWroteInPlace && !m_bToldInPlace)
    {
        m_bToldInPlace = true;
        CToolkit::MainMessageBox(
            this,
            _("kvl.dat was saved, but written over in place: its folder takes no new file, or the "
              "file belongs to another user. A crash or power cut during such a save can damage the "
              "file. Saves stay this way as long as that is so.")
                .utf8_string(),
            _("Data File Not Replaced Safely").utf8_string());
    }
}

void CMainDialog::ShowMergedTable(const EntryMergeResult& merge)
{
    const int nMarked = m_listEntries.GetMarkedRow();
    const long nNewMark =
        nMarked >= 0 && static_cast<size_t>(nMarked) < merge.oursToMerged.size() ? merge.oursToMerged[nMarked] : -1;
    m_listEntries.SuspendRedraw();
    while (m_listEntries.GetRowCount() > 0)
        m_listEntries.DeleteRow(m_listEntries.GetRowCount() - 1);
    for (auto it = merge.rows.rbegin(); it != merge.rows.rend(); ++it)
        m_listEntries.InsertTopRow(*it);
    if (CEntryListCtrl* pList = m_listEntries.GetListCtrl())
        pList->MoveSelectionMark(nNewMark);
    m_listEntries.AutosizeColumns();
    m_listEntries.ResumeRedraw();
    RefreshRowCount();
    // The history's places are those of the table before the merge: it cannot be applied to this one.
    m_undoHistory.Clear();
    RefreshUndoItems();
}
