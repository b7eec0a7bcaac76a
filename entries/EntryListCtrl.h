// The list control of the entry table: a virtual report list whose cells come from the table's rows.
#pragma once

#include <wx/listctrl.h>

class CEntryTable;

// A click anywhere in the list, after the list has moved its selection mark.
wxDECLARE_EVENT(vtEVT_LIST_CLICK, wxCommandEvent);

class CEntryListCtrl : public wxListCtrl
{
public:
    CEntryListCtrl() = default;

    void SetTable(const CEntryTable* pTable) { m_pTable = pTable; }

    // The row that the user last selected, -1 if none.
    long GetSelectionMark() const { return m_nMark; }
    // Moves the mark and the highlight with their entry when rows above it come or go.
    void MoveSelectionMark(long nRow);

    wxWindow* GetHeaderWindow() const;
    // The inner window that shows the rows (without the header).
    wxWindow* GetRowsWindow() const;
    // Starts reporting clicks in the rows' area as vtEVT_LIST_CLICK.
    void WatchClicks();

protected:
    wxString OnGetItemText(long nItem, long nColumn) const override;

private:
    void OnItemSelected(wxListEvent& event);
    void OnMouseUp(wxMouseEvent& event);

    const CEntryTable* m_pTable = nullptr;
    long m_nMark = -1;

    wxDECLARE_DYNAMIC_CLASS(CEntryListCtrl);
    wxDECLARE_EVENT_TABLE();
};
