// The form's commands: Add, Delete, Update, Clear and a click in the list.
#include "app/MainDialog.h"

#include "app/Toolkit.h"

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

void CMainDialog::OnAdd(wxCommandEvent&)
{
    PullFields();
    if (IsBlank(m_strDescription))
    {
        CToolkit::MainMessageBox(this, _("Name Blank.\r\nNo entry added.").utf8_string(), _("Error").utf8_string());
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
        WriteTableNow();
    }
    PushFields();
}

void CMainDialog::OnDelete(wxCommandEvent&)
{
    PullFields();
    const int nRow = m_listEntries.GetMarkedRow();
    const bool bDeleted = m_listEntries.HasRow(nRow);
    m_listEntries.DeleteRow(nRow);
    m_listEntries.AutosizeColumns();
    RefreshRowCount();
    if (bDeleted)
        WriteTableNow();
    PushFields();
}

void CMainDialog::OnUpdate(wxCommandEvent&)
{
    PullFields();
    if (!IsBlank(m_strDescription))
    {
        const int nRow = m_listEntries.GetMarkedRow();
        m_listEntries.SetCellText(nRow, 0, m_strDescription);
        m_listEntries.SetCellText(nRow, 1, m_strDate);
        m_listEntries.SetCellText(nRow, 2, m_strOvertime);
        if (m_listEntries.HasRow(nRow))
            WriteTableNow();
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
