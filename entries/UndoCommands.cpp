// Undo and redo on the main window: the history's steps applied to the entry table.
#include "app/MainDialog.h"

#include "entries/EntryListCtrl.h"
#include "res/Resource.h"

#include <wx/intl.h>
#include <wx/menu.h>

namespace
{
// The entry table as the history sees it. The mark stays on its entry where the entry stays; a row
// rewritten under the mark loses it, so Update and Delete never act on a row other than the form's.
class CTableRows : public CUndoRows
{
public:
    explicit CTableRows(CEntryTable& table) : m_table(table) {}

    int Count() const override { return m_table.GetRowCount(); }
    const EntryRow& Row(int nRow) const override { return m_table.GetRow(nRow); }
    void Insert(int nRow, const EntryRow& row) override
    {
        m_table.InsertRow(nRow, row);
        m_nTouched = nRow;
    }
    void Erase(int nRow) override
    {
        m_table.DeleteRow(nRow);
        m_nTouched = nRow < Count() ? nRow : Count() - 1;
    }
    void Replace(int nRow, const EntryRow& row) override
    {
        if (m_table.GetMarkedRow() == nRow)
            m_table.GetListCtrl()->MoveSelectionMark(-1);
        for (int nColumn = 0; nColumn < CEntryTable::COLUMN_COUNT; ++nColumn)
        {
            const std::string& strText =
                nColumn == 0 ? row.strDescription : nColumn == 1 ? row.strDate : row.strOvertime;
            m_table.SetCellText(nRow, nColumn, strText);
        }
        m_nTouched = nRow;
    }

    // The row the step changed, or where a removed one stood; -1 when the table is empty.
    int GetTouchedRow() const { return m_nTouched; }

private:
    CEntryTable& m_table;
    int m_nTouched = -1;
};

wxString UndoLabel(const CUndoHistory& history)
{
    if (!history.CanUndo())
        return _("&Undo");
    switch (history.NextUndo().eKind)
    {
    case UndoStep::EKind::Add:
        return _("&Undo Add");
    case UndoStep::EKind::Delete:
        return _("&Undo Delete");
    case UndoStep::EKind::Update:
        return _("&Undo Update");
    }
    return _("&Undo");
}

wxString RedoLabel(const CUndoHistory& history)
{
    if (!history.CanRedo())
        return _("&Redo");
    switch (history.NextRedo().eKind)
    {
    case UndoStep::EKind::Add:
        return _("&Redo Add");
    case UndoStep::EKind::Delete:
        return _("&Redo Delete");
    case UndoStep::EKind::Update:
        return _("&Redo Update");
    }
    return _("&Redo");
}
}  // namespace

void CMainDialog::UndoLastChange()
{
    ApplyHistoryStep(false);
}

void CMainDialog::RedoLastChange()
{
    ApplyHistoryStep(true);
}

void CMainDialog::ApplyHistoryStep(bool bRedo)
{
    PullFields();
    CTableRows rows(m_listEntries);
    const bool bApplied = bRedo ? m_undoHistory.Redo(rows) : m_undoHistory.Undo(rows);
    if (bApplied)
    {
        m_listEntries.AutosizeColumns();
        RefreshRowCount();
        if (m_listEntries.HasRow(rows.GetTouchedRow()))
            m_listEntries.GetListCtrl()->ShowRow(rows.GetTouchedRow());
        WriteTableNow();
    }
    RefreshUndoItems();
    PushFields();
}

void CMainDialog::RefreshUndoItems()
{
    wxMenu* pMenu = m_pSystemMenu.get();
    if (!pMenu)
        return;
    pMenu->SetLabel(IDM_UNDO, UndoLabel(m_undoHistory));
    pMenu->Enable(IDM_UNDO, m_undoHistory.CanUndo());
    pMenu->SetLabel(IDM_REDO, RedoLabel(m_undoHistory));
    pMenu->Enable(IDM_REDO, m_undoHistory.CanRedo());
}

void CMainDialog::OnUndoItem(wxCommandEvent&)
{
    UndoLastChange();
}

void CMainDialog::OnRedoItem(wxCommandEvent&)
{
    RedoLastChange();
}
