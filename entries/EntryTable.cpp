// The entry table over its virtual list control.
#include "entries/EntryTable.h"

#include "entries/EntryListCtrl.h"

#include <algorithm>

namespace
{
struct ColumnSpec
{
    const char* pszTitle;
    wxListColumnFormat eAlign;
};

const ColumnSpec kColumns[CEntryTable::COLUMN_COUNT] = {
    {"Description", wxLIST_FORMAT_LEFT},
    {"Date", wxLIST_FORMAT_LEFT},
    {"Overtime", wxLIST_FORMAT_LEFT},
};

// Room around a text inside its cell, as the list draws it.
const int kCellMargin = 12;
// A title needs a little more, for the header's own padding.
const int kTitleMargin = 20;

const std::string kNoText;
}  // namespace

CEntryTable::CEntryTable()
{
    for (int nColumn = 0; nColumn < COLUMN_COUNT; ++nColumn)
        m_widths[nColumn] = std::make_unique<CColumnWidths>(
            [this](const std::string& strText) { return MeasureCell(strText); },
            [this, nColumn](const std::function<void(const std::string&)>& visit) {
                for (const auto& pRow : m_rows)
                    visit(Cell(*pRow, nColumn));
            });
}

CEntryTable::~CEntryTable()
{
    if (m_pList)
        m_pList->SetTable(nullptr);
}

void CEntryTable::Attach(CEntryListCtrl* pList)
{
    m_pList = pList;
    m_pList->SetTable(this);
    m_pList->SetItemCount(GetRowCount());
    m_pList->WatchClicks();
}

std::string& CEntryTable::Cell(EntryRow& row, int nColumn)
{
    return nColumn == 0 ? row.strDescription : nColumn == 1 ? row.strDate : row.strOvertime;
}

const std::string& CEntryTable::Cell(const EntryRow& row, int nColumn)
{
    return nColumn == 0 ? row.strDescription : nColumn == 1 ? row.strDate : row.strOvertime;
}

int CEntryTable::MeasureCell(const std::string& strText) const
{
    return m_pList ? m_pList->GetTextExtent(wxString::FromUTF8(strText)).GetWidth() : 0;
}

size_t CEntryTable::HashRow(const EntryRow& row)
{
    const std::hash<std::string> hash;
    size_t nHash = hash(row.strDescription);
    nHash = nHash * 31 + hash(row.strDate);
    return nHash * 31 + hash(row.strOvertime);
}

void CEntryTable::AddRow(const EntryRow& row)
{
    for (int nColumn = 0; nColumn < COLUMN_COUNT; ++nColumn)
        m_widths[nColumn]->Add(Cell(row, nColumn));
    m_rowHashes.insert(HashRow(row));
}

void CEntryTable::RemoveRow(const EntryRow& row)
{
    for (int nColumn = 0; nColumn < COLUMN_COUNT; ++nColumn)
        m_widths[nColumn]->Remove(Cell(row, nColumn));
    RemoveRowHash(row);
}

void CEntryTable::RemoveRowHash(const EntryRow& row)
{
    m_rowHashes.erase(m_rowHashes.find(HashRow(row)));
}

bool CEntryTable::ContainsRow(const EntryRow& row) const
{
    if (m_rowHashes.count(HashRow(row)) == 0)
        return false;
    for (const auto& pRow : m_rows)
        if (*pRow == row)
            return true;
    return false;
}

void CEntryTable::SetUpColumns()
{
    for (int nColumn = 0; nColumn < COLUMN_COUNT; ++nColumn)
        m_pList->InsertColumn(nColumn, kColumns[nColumn].pszTitle, kColumns[nColumn].eAlign);
    // A report list of this toolkit always selects whole rows: there is no other extended style to set.
    AutosizeColumns();
}

void CEntryTable::InsertTopRow(const std::string& strDescription)
{
    EntryRow row;
    row.strDescription = strDescription;
    InsertTopRow(std::move(row));
}

void CEntryTable::InsertTopRow(EntryRow row)
{
    AddRow(row);
    m_rows.push_front(std::make_unique<EntryRow>(std::move(row)));
    if (!m_pList)
        return;
    const long nMark = m_pList->GetSelectionMark();
    m_pList->SetItemCount(GetRowCount());
    if (nMark >= 0)
        m_pList->MoveSelectionMark(nMark + 1);
    m_pList->Refresh(false);
}

void CEntryTable::InsertRow(int nRow, EntryRow row)
{
    if (nRow < 0 || nRow > GetRowCount())
        return;
    AddRow(row);
    m_rows.insert(m_rows.begin() + nRow, std::make_unique<EntryRow>(std::move(row)));
    if (!m_pList)
        return;
    const long nMark = m_pList->GetSelectionMark();
    m_pList->SetItemCount(GetRowCount());
    if (nMark >= nRow)
        m_pList->MoveSelectionMark(nMark + 1);
    m_pList->Refresh(false);
}

void CEntryTable::SetCellText(int nRow, int nColumn, const std::string& strText)
{
    if (!HasRow(nRow) || nColumn < 0 || nColumn >= COLUMN_COUNT)
        return;
    EntryRow& row = *m_rows[static_cast<size_t>(nRow)];
    std::string& strCell = Cell(row, nColumn);
    RemoveRowHash(row);
    m_widths[nColumn]->Remove(strCell);
    strCell = strText;
    m_widths[nColumn]->Add(strCell);
    m_rowHashes.insert(HashRow(row));
    if (m_pList)
        m_pList->RefreshItem(nRow);
}

const std::string& CEntryTable::GetCellText(int nRow, int nColumn) const
{
    if (!HasRow(nRow) || nColumn < 0 || nColumn >= COLUMN_COUNT)
        return kNoText;
    return Cell(*m_rows[static_cast<size_t>(nRow)], nColumn);
}

void CEntryTable::DeleteRow(int nRow)
{
    if (!HasRow(nRow))
        return;
    RemoveRow(*m_rows[static_cast<size_t>(nRow)]);
    m_rows.erase(m_rows.begin() + nRow);
    if (!m_pList)
        return;
    const long nMark = m_pList->GetSelectionMark();
    m_pList->SetItemCount(GetRowCount());
    if (nMark == nRow)
        m_pList->MoveSelectionMark(-1);
    else if (nMark > nRow)
        m_pList->MoveSelectionMark(nMark - 1);
    m_pList->Refresh(false);
}

int CEntryTable::GetMarkedRow() const
{
    return m_pList ? static_cast<int>(m_pList->GetSelectionMark()) : -1;
}

void CEntryTable::AutosizeColumns()
{
    wxWindow* pHeader = m_pList ? m_pList->GetHeaderWindow() : nullptr;
    if (!pHeader)
        return;
    SuspendRedraw();
    const int nColumns = m_pList->GetColumnCount();
    int nUsed = 0;
    for (int nColumn = 0; nColumn < nColumns; ++nColumn)
    {
        const int nContent =
            nColumn < COLUMN_COUNT ? m_widths[nColumn]->Widest() + kCellMargin : kCellMargin;
        const int nTitle = nColumn < COLUMN_COUNT
                               ? pHeader->GetTextExtent(kColumns[nColumn].pszTitle).GetWidth() + kTitleMargin
                               : 0;
        int nWidth = std::max(nContent, nTitle);
        if (nColumn == nColumns - 1)
            nWidth = std::max(nWidth, m_pList->GetClientSize().GetWidth() - nUsed);
        if (m_pList->GetColumnWidth(nColumn) != nWidth)
            m_pList->SetColumnWidth(nColumn, nWidth);
        nUsed += nWidth;
    }
    ResumeRedraw();
}

void CEntryTable::SuspendRedraw()
{
    if (m_pList)
        m_pList->Freeze();
}

void CEntryTable::ResumeRedraw()
{
    if (!m_pList)
        return;
    m_pList->Thaw();
    m_pList->Refresh(true);
}
