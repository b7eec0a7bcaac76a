// The form's commands: Add, Delete, Update, Clear and a click in the list.
#include "app/MainDialog.h"

#include "app/Toolkit.h"
#include "report/Duration.h"

#include <wx/combobox.h>
#include <wx/intl.h>
#include <wx/textctrl.h>

namespace
{
// A description of white space alone counts as empty: the data file could not keep it.
bool IsBlank(const std::string& strText)
{
    return strText.find_first_not_of(" \t\n\v\f\r") == std::string::npos;
}
}  // namespace

void CMainDialog::ClearFields()
{
    PullFields();
    m_strOvertime.clear();
    m_strDescription.clear();
    m_strDate.clear();
    PushFields();
}

void CMainDialog::RowToFields(int nRow)
{
    PullFields();
    m_strDescription = m_listEntries.GetCellText(nRow, 0);
    m_strDate = m_listEntries.GetCellText(nRow, 1);
    m_strOvertime = m_listEntries.GetCellText(nRow, 2);
    PushFields();
    m_formEntered = GetFormTexts();
}

EntryRow CMainDialog::GetFormTexts() const
{
    return {m_pDescription->GetValue().utf8_string(), m_pDate->GetValue().utf8_string(),
            m_pOvertime->GetValue().utf8_string()};
}

void CMainDialog::InsertFieldsAsTopRow()
{
    PullFields();
    RefreshRowCount();
    if (m_strDescription.empty())
        return;
    m_listEntries.InsertTopRow(m_strDescription);
    m_listEntries.SetCellText(0, 1, m_strDate);
    m_listEntries.SetCellText(0, 2, m_strOvertime);
    PushFields();
    m_listEntries.AutosizeColumns();
    RefreshRowCount();
}

bool CMainDialog::FindDuplicate()
{
    PullFields();
    RefreshRowCount();
    // Only a row equal in all three texts is a duplicate: the same work on another day is not.
    return m_listEntries.ContainsRow(EntryRow{m_strDescription, m_strDate, m_strOvertime});
}

bool CMainDialog::ConfirmOvertime(bool bUpdate)
{
    // An empty overtime is common and counts as 0:00, as it says.
    if (IsBlank(m_strOvertime) || IsPlainDuration(m_strOvertime))
        return true;
    const wxString text = bUpdate ? _("The overtime \"%s\" is not in hours and minutes (such as 1:30) "
                                      "and will count as %s.\r\nDo you want to update the entry anyway?")
                                  : _("The overtime \"%s\" is not in hours and minutes (such as 1:30) "
                                      "and will count as %s.\r\nDo you want to add it anyway?");
    const std::string strCount = FormatDuration(ParseDuration(m_strOvertime));
    return CToolkit::AppMessageBox(wxString::Format(text, wxString::FromUTF8(m_strOvertime),
                                                    wxString::FromUTF8(strCount))
                                       .utf8_string(),
                                   EMessageButtons::YesNo) == EMessageAnswer::Yes;
}

bool CMainDialog::AddFormEntry()
{
    PullFields();
    bool bAdded = false;
    if (IsBlank(m_strDescription))
    {
        CToolkit::MainMessageBox(this, _("Name Blank.\r\nNo entry added.").utf8_string(), _("Error").utf8_string());
    }
    else if (!ConfirmOvertime(false))
    {
        // The form stays exactly as typed, without the OT field's completion, to be corrected.
        return false;
    }
    else if (!FindDuplicate() ||
             CToolkit::AppMessageBox(_("This entry is already in the list.\r\n"
                                       "Do you really want to add this item?").utf8_string(),
                                     EMessageButtons::YesNo) == EMessageAnswer::Yes)
    {
        m_listEntries.InsertTopRow(m_strDescription);
        m_listEntries.SetCellText(0, 1, m_strDate);
        m_listEntries.SetCellText(0, 2, m_strOvertime);
        m_listEntries.AutosizeColumns();
        RefreshRowCount();
        m_undoHistory.Record(UndoStep::Add(m_listEntries.GetRow(0)));
        RefreshUndoItems();
        WriteTableNow();
        bAdded = true;
    }
    PushFields();
    if (bAdded)
        m_formEntered = GetFormTexts();
    return bAdded;
}

void CMainDialog::OnAdd(wxCommandEvent&)
{
    AddFormEntry();
}

bool CMainDialog::ConfirmClose()
{
    const EntryRow form = GetFormTexts();
    if (IsBlank(form.strDescription) || form == m_formEntered)
        return true;
    const wxString text = wxString::Format(_("The entry \"%s\" in the form is not in the list.\r\n"
                                             "Do you want to add it before closing?"),
                                           wxString::FromUTF8(form.strDescription));
    switch (CToolkit::AppMessageBox(text.utf8_string(), EMessageButtons::YesNoCancel))
    {
    case EMessageAnswer::Yes:
        // Through Add's own checks; when Add refuses, the window stays open.
        return AddFormEntry();
    case EMessageAnswer::No:
        return true;
    default:
        return false;
    }
}

void CMainDialog::OnDelete(wxCommandEvent&)
{
    PullFields();
    const int nRow = m_listEntries.GetMarkedRow();
    const bool bDeleted = m_listEntries.HasRow(nRow);
    if (bDeleted)
        m_undoHistory.Record(UndoStep::Delete(nRow, m_listEntries.GetRow(nRow)));
    m_listEntries.DeleteRow(nRow);
    m_listEntries.AutosizeColumns();
    RefreshRowCount();
    if (bDeleted)
    {
        RefreshUndoItems();
        WriteTableNow();
    }
    PushFields();
}

void CMainDialog::OnUpdate(wxCommandEvent&)
{
    PullFields();
    if (!IsBlank(m_strDescription))
    {
        const int nRow = m_listEntries.GetMarkedRow();
        // The question only where a row would change; No leaves the form exactly as typed.
        if (m_listEntries.HasRow(nRow) && !ConfirmOvertime(true))
            return;
        const EntryRow oldRow = m_listEntries.HasRow(nRow) ? m_listEntries.GetRow(nRow) : EntryRow{};
        m_listEntries.SetCellText(nRow, 0, m_strDescription);
        m_listEntries.SetCellText(nRow, 1, m_strDate);
        m_listEntries.SetCellText(nRow, 2, m_strOvertime);
        if (m_listEntries.HasRow(nRow))
        {
            // An update that changes nothing leaves nothing to undo.
            if (m_listEntries.GetRow(nRow) != oldRow)
            {
                m_undoHistory.Record(UndoStep::Update(nRow, oldRow, m_listEntries.GetRow(nRow)));
                RefreshUndoItems();
            }
            WriteTableNow();
        }
    }
    m_listEntries.AutosizeColumns();
    ClearFields();
    PushFields();
}

void CMainDialog::OnClear(wxCommandEvent&)
{
    ClearFields();
}

void CMainDialog::OnClickList(wxCommandEvent&)
{
    // With no row marked there is nothing to load, and the form stays as it is.
    const int nRow = m_listEntries.GetMarkedRow();
    if (m_listEntries.HasRow(nRow))
        RowToFields(nRow);
}

void CMainDialog::OnMarkList(wxCommandEvent&)
{
    // The form follows the mark, so Update and Delete act on the row that the form shows.
    const int nRow = m_listEntries.GetMarkedRow();
    if (m_listEntries.HasRow(nRow))
        RowToFields(nRow);
}
