// The entry table's list control.
#include "entries/EntryListCtrl.h"

#include "entries/EntryTable.h"

wxDEFINE_EVENT(vtEVT_LIST_CLICK, wxCommandEvent);

wxIMPLEMENT_DYNAMIC_CLASS(CEntryListCtrl, wxListCtrl);

wxBEGIN_EVENT_TABLE(CEntryListCtrl, wxListCtrl)
    EVT_LIST_ITEM_SELECTED(wxID_ANY, CEntryListCtrl::OnItemSelected)
wxEND_EVENT_TABLE()

wxString CEntryListCtrl::OnGetItemText(long nItem, long nColumn) const
{
    if (!m_pTable)
        return wxString();
    return wxString::FromUTF8(m_pTable->GetCellText(static_cast<int>(nItem), static_cast<int>(nColumn)));
}

void CEntryListCtrl::MoveSelectionMark(long nRow)
{
    // The highlight is kept by index, so it is still where the old mark was.
    const long nCount = GetItemCount();
    const long nFlags = wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED;
    if (m_nMark >= 0 && m_nMark < nCount && m_nMark != nRow)
        SetItemState(m_nMark, 0, nFlags);
    m_nMark = nRow;
    if (nRow >= 0 && nRow < nCount)
        SetItemState(nRow, nFlags, nFlags);
}

// The generic list's inner windows are of types it keeps to itself; they are found by address.
wxWindow* CEntryListCtrl::GetHeaderWindow() const
{
    for (wxWindow* pChild : GetChildren())
        if (m_headerWin && static_cast<void*>(pChild) == static_cast<void*>(m_headerWin))
            return pChild;
    return nullptr;
}

wxWindow* CEntryListCtrl::GetRowsWindow() const
{
    for (wxWindow* pChild : GetChildren())
        if (static_cast<void*>(pChild) == static_cast<void*>(m_mainWin))
            return pChild;
    return const_cast<CEntryListCtrl*>(this);
}

void CEntryListCtrl::WatchClicks()
{
    // Mouse events stay with the inner window that receives them, so the click is caught there.
    GetRowsWindow()->Bind(wxEVT_LEFT_UP, &CEntryListCtrl::OnMouseUp, this);
}

void CEntryListCtrl::OnItemSelected(wxListEvent& event)
{
    m_nMark = event.GetIndex();
    event.Skip();
}

void CEntryListCtrl::OnMouseUp(wxMouseEvent& event)
{
    event.Skip();
    wxCommandEvent click(vtEVT_LIST_CLICK, GetId());
    click.SetEventObject(this);
    ProcessWindowEvent(click);
}
