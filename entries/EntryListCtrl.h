// The list control of the entry table: the desktop's own list widget (GTK's tree view) over a virtual
// model whose rows are the table's rows, so a screen reader reads every row and cell.
#pragma once

#include <wx/dataview.h>

#include <vector>

class CEntryTable;

// A click anywhere in the list's rows, after the list has moved its selection mark.
wxDECLARE_EVENT(vtEVT_LIST_CLICK, wxCommandEvent);
// The user moved the selection mark to a row, by mouse or keyboard; the event's int is the row.
wxDECLARE_EVENT(vtEVT_LIST_MARK, wxCommandEvent);

class CEntryListCtrl : public wxDataViewCtrl
{
public:
    CEntryListCtrl() = default;
    ~CEntryListCtrl() override;

    // Shows the table's rows; the columns are made once, all of a fixed width, so the widget never
    // measures rows itself (GTK's fixed-height mode: the cost of a row does not depend on the log).
    void SetTable(const CEntryTable* pTable);
    void CreateColumns(const char* const* ppszTitles, int nColumns);

    // The row that the user last selected, -1 if none.
    long GetSelectionMark() const { return m_nMark; }
    // Moves the mark (and the highlight, while the list has the focus) without telling anyone.
    void MoveSelectionMark(long nRow);
    // Scrolls the row into sight.
    void ShowRow(int nRow);

    // What the table tells the list after it changed. A deferred change only moves the mark; the
    // widget learns of all of them at once in ResumeRows, as a new row count.
    void RowsReset();
    void RowInserted(int nRow, bool bDeferred = false);
    void RowDeleted(int nRow, bool bDeferred = false);
    void RowChanged(int nRow, bool bDeferred = false);
    void ResumeRows();

    int GetColumnWidth(int nColumn) const;
    void SetColumnWidth(int nColumn, int nWidth);
    // The width a column needs to show its title whole.
    int GetTitleWidth(int nColumn) const;
    // The room around a text inside its cell.
    int GetCellMargin() const;
    // The width that the columns share.
    int GetRowsWidth() const;

    // Where a row is on the screen, empty when it is scrolled out of sight: for real-input tests.
    wxRect GetRowScreenRect(int nRow) const;
    bool IsHighlighted(int nRow) const;

private:
    class CModel;

    void OnSelectionChanged(wxDataViewEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnMouseDown(wxMouseEvent& event);
    void OnMouseUp(wxMouseEvent& event);
    void NoteUserInput();
    int RowAtScreenPoint(const wxPoint& point) const;
    void ShowMark();
    // Takes the widget's selection as the user's new mark, and says so.
    void TakeMarkFromSelection();

    CModel* m_pModel = nullptr;
    long m_nMark = -1;
    // While the table's change is passed on, the widget's own selection moves are not the user's.
    int m_nChanging = 0;
    bool m_bFocused = false;
    bool m_bFocusArriving = false;
    bool m_bUserInput = false;
    bool m_bRowsStale = false;
    std::vector<int> m_widthsSet;

    wxDECLARE_DYNAMIC_CLASS(CEntryListCtrl);
    wxDECLARE_EVENT_TABLE();
};
