// The entry table's list control on the desktop's own list widget.
#include "entries/EntryListCtrl.h"

#include "entries/EntryTable.h"
#include "entries/ListText.h"

#include <wx/intl.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <algorithm>

wxDEFINE_EVENT(vtEVT_LIST_CLICK, wxCommandEvent);
wxDEFINE_EVENT(vtEVT_LIST_MARK, wxCommandEvent);

wxIMPLEMENT_DYNAMIC_CLASS(CEntryListCtrl, wxDataViewCtrl);

wxBEGIN_EVENT_TABLE(CEntryListCtrl, wxDataViewCtrl)
    EVT_DATAVIEW_SELECTION_CHANGED(wxID_ANY, CEntryListCtrl::OnSelectionChanged)
    EVT_SET_FOCUS(CEntryListCtrl::OnSetFocus)
    EVT_KILL_FOCUS(CEntryListCtrl::OnKillFocus)
    EVT_KEY_DOWN(CEntryListCtrl::OnKeyDown)
    EVT_LEFT_DOWN(CEntryListCtrl::OnMouseDown)
    EVT_RIGHT_DOWN(CEntryListCtrl::OnMouseDown)
    EVT_LEFT_UP(CEntryListCtrl::OnMouseUp)
wxEND_EVENT_TABLE()

namespace
{
// Room around a text inside its cell, as the tree view draws it (the renderer's padding and the
// column's spacing).
const int kCellMargin = 12;
// A title needs a little more, for the header button's own padding and frame.
const int kTitleMargin = 24;
// The sunken frame's line on each side.
const int kFrameWidth = 1;
// Any width: the table sizes the columns as soon as they exist.
const int kInitialWidth = 80;
}  // namespace

// The widget asks for the rows it shows, one cell at a time; nothing is copied ahead.
class CEntryListCtrl::CModel : public wxDataViewVirtualListModel
{
public:
    explicit CModel(const CEntryTable* pTable)
        : wxDataViewVirtualListModel(pTable ? static_cast<unsigned>(pTable->GetRowCount()) : 0),
          m_pTable(pTable)
    {
    }

    void SetTable(const CEntryTable* pTable) { m_pTable = pTable; }
    unsigned GetTableRows() const { return m_pTable ? static_cast<unsigned>(m_pTable->GetRowCount()) : 0; }

    unsigned GetColumnCount() const override { return CEntryTable::COLUMN_COUNT; }
    wxString GetColumnType(unsigned) const override { return "string"; }

    void GetValueByRow(wxVariant& value, unsigned nRow, unsigned nColumn) const override
    {
        if (!m_pTable)
        {
            value = wxString();
            return;
        }
        const std::string& strText = m_pTable->GetCellText(static_cast<int>(nRow), static_cast<int>(nColumn));
        value = wxString::FromUTF8(IsListTextWhole(strText) ? strText : ListText(strText));
    }

    bool SetValueByRow(const wxVariant&, unsigned, unsigned) override { return false; }

private:
    const CEntryTable* m_pTable;
};

CEntryListCtrl::~CEntryListCtrl()
{
    if (m_pModel)
        m_pModel->SetTable(nullptr);
}

void CEntryListCtrl::SetTable(const CEntryTable* pTable)
{
    if (m_pModel)
    {
        m_pModel->SetTable(pTable);
        RowsReset();
        return;
    }
    m_pModel = new CModel(pTable);
    AssociateModel(m_pModel);
    m_pModel->DecRef();  // the control holds the model now
}

void CEntryListCtrl::CreateColumns(const char* const* ppszTitles, int nColumns)
{
    for (int nColumn = 0; nColumn < nColumns; ++nColumn)
    {
        // A width given up front makes the column a fixed one.
        wxDataViewColumn* pColumn =
            AppendTextColumn(wxGetTranslation(wxString::FromUTF8(ppszTitles[nColumn])), static_cast<unsigned>(nColumn),
                             wxDATAVIEW_CELL_INERT, kInitialWidth, wxALIGN_LEFT,
                             wxDATAVIEW_COL_RESIZABLE);
        pColumn->GetRenderer()->EnableEllipsize(wxELLIPSIZE_END);
    }
}

void CEntryListCtrl::MoveSelectionMark(long nRow)
{
    m_nMark = nRow;
    ShowMark();
}

// The highlight is the widget's selection, shown only while the list has the focus; the mark is ours
// and stays when the focus goes.
void CEntryListCtrl::ShowMark()
{
    if (!m_pModel)
        return;
    ++m_nChanging;
    const unsigned nRows = m_pModel->GetCount();
    // Moving the widget's cursor selects the row, and a row that has the cursor when the focus comes
    // is not selected again: the cursor is put first, the highlight after.
    if (m_nMark >= 0 && static_cast<unsigned long>(m_nMark) < nRows)
    {
        const wxDataViewItem item = m_pModel->GetItem(static_cast<unsigned>(m_nMark));
        if (GetCurrentItem() != item)
            SetCurrentItem(item);
        UnselectAll();
        if (m_bFocused)
            Select(item);
    }
    else
    {
        UnselectAll();
    }
    --m_nChanging;
}

void CEntryListCtrl::RowsReset()
{
    if (!m_pModel)
        return;
    ++m_nChanging;
    m_pModel->Reset(m_pModel->GetTableRows());
    --m_nChanging;
    ShowMark();
}

void CEntryListCtrl::ResumeRows()
{
    if (!m_bRowsStale)
        return;
    m_bRowsStale = false;
    RowsReset();
}

void CEntryListCtrl::RowInserted(int nRow, bool bDeferred)
{
    // The mark follows its entry.
    if (m_nMark >= nRow)
        ++m_nMark;
    if (!m_pModel || bDeferred || m_bRowsStale)
    {
        m_bRowsStale = true;
        return;
    }
    ++m_nChanging;
    m_pModel->RowInserted(static_cast<unsigned>(nRow));
    --m_nChanging;
    ShowMark();
}

void CEntryListCtrl::RowDeleted(int nRow, bool bDeferred)
{
    // A deleted entry leaves no mark on its neighbour, so a second Delete cannot take it unseen.
    if (m_nMark == nRow)
        m_nMark = -1;
    else if (m_nMark > nRow)
        --m_nMark;
    if (!m_pModel || bDeferred || m_bRowsStale)
    {
        m_bRowsStale = true;
        return;
    }
    ++m_nChanging;
    m_pModel->RowDeleted(static_cast<unsigned>(nRow));
    --m_nChanging;
    ShowMark();
}

void CEntryListCtrl::RowChanged(int nRow, bool bDeferred)
{
    if (!m_pModel || bDeferred || m_bRowsStale)
    {
        m_bRowsStale = true;
        return;
    }
    m_pModel->RowChanged(static_cast<unsigned>(nRow));
}

int CEntryListCtrl::GetColumnWidth(int nColumn) const
{
    const wxDataViewColumn* pColumn = GetColumn(static_cast<unsigned>(nColumn));
    return pColumn ? pColumn->GetWidth() : 0;
}

void CEntryListCtrl::SetColumnWidth(int nColumn, int nWidth)
{
    wxDataViewColumn* pColumn = GetColumn(static_cast<unsigned>(nColumn));
    if (!pColumn)
        return;
    if (m_widthsSet.size() <= static_cast<size_t>(nColumn))
        m_widthsSet.resize(static_cast<size_t>(nColumn) + 1, -1);
    // Each new width makes the widget lay out its columns again: only changes are passed on.
    if (m_widthsSet[static_cast<size_t>(nColumn)] == nWidth)
        return;
    m_widthsSet[static_cast<size_t>(nColumn)] = nWidth;
    pColumn->SetWidth(nWidth);
}

int CEntryListCtrl::GetTitleWidth(int nColumn) const
{
    const wxDataViewColumn* pColumn = GetColumn(static_cast<unsigned>(nColumn));
    return pColumn ? GetTextExtent(pColumn->GetTitle()).GetWidth() + kTitleMargin : 0;
}

int CEntryListCtrl::GetCellMargin() const
{
    return kCellMargin;
}

int CEntryListCtrl::GetRowsWidth() const
{
    // Inside the sunken frame.
    return GetClientSize().GetWidth() - 2 * kFrameWidth;
}

void CEntryListCtrl::ShowRow(int nRow)
{
    if (m_pModel && nRow >= 0 && static_cast<unsigned>(nRow) < m_pModel->GetCount())
        EnsureVisible(m_pModel->GetItem(static_cast<unsigned>(nRow)));
}

wxRect CEntryListCtrl::GetRowScreenRect(int nRow) const
{
    if (!m_pModel || nRow < 0 || static_cast<unsigned>(nRow) >= m_pModel->GetCount())
        return wxRect();
    wxRect rect = GetItemRect(m_pModel->GetItem(static_cast<unsigned>(nRow)));
    if (rect.IsEmpty())
        return rect;
    rect.SetPosition(ClientToScreen(rect.GetPosition()));
    return rect;
}

bool CEntryListCtrl::IsHighlighted(int nRow) const
{
    if (!m_pModel || nRow < 0 || static_cast<unsigned>(nRow) >= m_pModel->GetCount())
        return false;
    return IsSelected(m_pModel->GetItem(static_cast<unsigned>(nRow)));
}

void CEntryListCtrl::OnSelectionChanged(wxDataViewEvent& event)
{
    event.Skip();
    if (m_nChanging > 0)
        return;
    if (!m_bUserInput && (!m_bFocused || m_bFocusArriving))
    {
        // The widget selects its cursor row when the focus comes; that is no choice of the user's,
        // and the form must not follow it.
        ShowMark();
        return;
    }
    TakeMarkFromSelection();
}

void CEntryListCtrl::TakeMarkFromSelection()
{
    if (!m_pModel)
        return;
    const wxDataViewItem item = GetSelection();
    if (!item.IsOk())
        return;  // a row deselected by the user keeps the mark
    const long nRow = static_cast<long>(m_pModel->GetRow(item));
    if (nRow == m_nMark)
        return;
    m_nMark = nRow;
    wxCommandEvent mark(vtEVT_LIST_MARK, GetId());
    mark.SetEventObject(this);
    mark.SetInt(static_cast<int>(nRow));
    ProcessWindowEvent(mark);
}

void CEntryListCtrl::OnSetFocus(wxFocusEvent& event)
{
    event.Skip();
    // Runs before the widget puts its cursor on a row for the focus, so it finds ours.
    m_bFocused = true;
    m_bFocusArriving = true;
    CallAfter([this] { m_bFocusArriving = false; });
    ShowMark();
}

void CEntryListCtrl::OnKillFocus(wxFocusEvent& event)
{
    event.Skip();
    m_bFocused = false;
    ++m_nChanging;
    UnselectAll();
    --m_nChanging;
}

void CEntryListCtrl::OnKeyDown(wxKeyEvent& event)
{
    // The tree view would take Enter for itself; in a dialog it is the default button's command.
    const int nKey = event.GetKeyCode();
    NoteUserInput();
    if ((nKey == WXK_RETURN || nKey == WXK_NUMPAD_ENTER) && !event.HasAnyModifiers())
    {
        auto* pTop = wxDynamicCast(wxGetTopLevelParent(this), wxTopLevelWindow);
        wxWindow* pDefault = pTop ? pTop->GetDefaultItem() : nullptr;
        if (pDefault && pDefault->IsEnabled())
        {
            wxCommandEvent click(wxEVT_BUTTON, pDefault->GetId());
            click.SetEventObject(pDefault);
            pDefault->ProcessWindowEvent(click);
            return;
        }
    }
    event.Skip();
}

void CEntryListCtrl::NoteUserInput()
{
    // The widget handles the key or button after this returns; its selection moves until then are
    // the user's.
    m_bUserInput = true;
    CallAfter([this] { m_bUserInput = false; });
}

void CEntryListCtrl::OnMouseDown(wxMouseEvent& event)
{
    event.Skip();
    NoteUserInput();
}

void CEntryListCtrl::OnMouseUp(wxMouseEvent& event)
{
    event.Skip();
    const wxPoint pointer = wxGetMousePosition();
    // The widget moves its selection while it handles the button; the click is reported after it.
    CallAfter([this, pointer] {
        // A row that holds the widget's cursor but no highlight is not selected again by a click on
        // it; the row under the pointer is what the user chose.
        const int nRow = RowAtScreenPoint(pointer);
        if (nRow >= 0 && !IsHighlighted(nRow))
        {
            ++m_nChanging;
            UnselectAll();
            Select(m_pModel->GetItem(static_cast<unsigned>(nRow)));
            --m_nChanging;
        }
        TakeMarkFromSelection();
        wxCommandEvent click(vtEVT_LIST_CLICK, GetId());
        click.SetEventObject(this);
        ProcessWindowEvent(click);
    });
}

int CEntryListCtrl::RowAtScreenPoint(const wxPoint& point) const
{
    if (!m_pModel || m_pModel->GetCount() == 0)
        return -1;
    const wxDataViewItem top = GetTopItem();
    const int nTop = top.IsOk() ? static_cast<int>(m_pModel->GetRow(top)) : 0;
    const int nEnd = std::min(static_cast<int>(m_pModel->GetCount()), nTop + std::max(GetCountPerPage(), 0) + 2);
    for (int nRow = nTop; nRow < nEnd; ++nRow)
        if (GetRowScreenRect(nRow).Contains(point))
            return nRow;
    return -1;
}
