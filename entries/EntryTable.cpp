// The entry table over its list control.
#include "entries/EntryTable.h"

#include "entries/EntryListCtrl.h"
#include "entries/ListText.h"
#include "report/Duration.h"

#include <wx/intl.h>

#include <algorithm>

namespace
{
const char* const kColumnTitles[CEntryTable::COLUMN_COUNT] = {wxTRANSLATE("Description"), wxTRANSLATE("Date"),
                                                                wxTRANSLATE("Overtime")};

const std::string kNoText;

// The column widths follow what the list shows, so a very long text is measured shortened.
template <class Apply>
void ForListText(const std::string& strText, Apply apply)
{
    if (IsListTextWhole(strText))
        apply(strText);
    else
        apply(ListText(strText));
}
}  // namespace

CEntryTable::CEntryTable()
{
    for (int nColumn = 0; nColumn < COLUMN_COUNT; ++nColumn)
        m_widths[nColumn] = std::make_unique<CColumnWidths>(
            [this](const std::string& strText) { return MeasureCell(strText); },
            [this, nColumn](const std::function<void(const std::string&)>& visit) {
                for (const auto& pRow : m_rows)
                    ForListText(Cell(*pRow, nColumn), visit);
            });
}

CEntryTable::~CEntryTable()
{
    if (!m_pList)
        return;
    m_pList->Unbind(wxEVT_SIZE, &CEntryTable::OnListSize, this);
    m_pList->SetTable(nullptr);
}

void CEntryTable::Attach(CEntryListCtrl* pList)
{
    m_pList = pList;
    m_pList->SetTable(this);
    // The Description column's cap and the last column's reach depend on the list's width.
    m_pList->Bind(wxEVT_SIZE, &CEntryTable::OnListSize, this);
}

void CEntryTable::OnListSize(wxSizeEvent& event)
{
    event.Skip();
    AutosizeColumns();
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
        ForListText(Cell(row, nColumn), [&](const std::string& strShown) { m_widths[nColumn]->Add(strShown); });
    m_rowHashes.insert(HashRow(row));
    m_total.Add(row.strOvertime);
}

void CEntryTable::RemoveRow(const EntryRow& row)
{
    for (int nColumn = 0; nColumn < COLUMN_COUNT; ++nColumn)
        ForListText(Cell(row, nColumn), [&](const std::string& strShown) { m_widths[nColumn]->Remove(strShown); });
    RemoveRowHash(row);
    m_total.Remove(row.strOvertime);
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

int32_t CEntryTable::GetTotalMinutes() const
{
    if (m_total.IsExact())
        return m_total.Total();
    // Only with totals near the 32-bit limit does the order of the saturating sum matter.
    int32_t nTotal = 0;
    for (const auto& pRow : m_rows)
        nTotal = AddMinutes(nTotal, ParseDuration(pRow->strOvertime));
    return nTotal;
}

void CEntryTable::Changed()
{
    if (m_nSuspended > 0)
    {
        m_bChangedWhileSuspended = true;
        return;
    }
    if (m_onChange)
        m_onChange();
}

void CEntryTable::SetUpColumns()
{
    // A row of the native list is always selected whole: there is no other extended style to set.
    m_pList->CreateColumns(kColumnTitles, COLUMN_COUNT);
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
    InsertRow(0, std::move(row));
}

void CEntryTable::InsertRow(int nRow, EntryRow row)
{
    nRow = std::clamp(nRow, 0, GetRowCount());
    AddRow(row);
    auto pRow = std::make_unique<EntryRow>(std::move(row));
    if (nRow == 0)
        m_rows.push_front(std::move(pRow));
    else
        m_rows.insert(m_rows.begin() + nRow, std::move(pRow));
    if (m_pList)
        m_pList->RowInserted(nRow, m_nSuspended > 0);
    Changed();
}

void CEntryTable::SetCellText(int nRow, int nColumn, const std::string& strText)
{
    if (!HasRow(nRow) || nColumn < 0 || nColumn >= COLUMN_COUNT)
        return;
    EntryRow& row = *m_rows[static_cast<size_t>(nRow)];
    std::string& strCell = Cell(row, nColumn);
    RemoveRowHash(row);
    ForListText(strCell, [&](const std::string& strShown) { m_widths[nColumn]->Remove(strShown); });
    if (nColumn == 2)
        m_total.Remove(strCell);
    strCell = strText;
    ForListText(strCell, [&](const std::string& strShown) { m_widths[nColumn]->Add(strShown); });
    if (nColumn == 2)
        m_total.Add(strCell);
    m_rowHashes.insert(HashRow(row));
    if (m_pList)
        m_pList->RowChanged(nRow, m_nSuspended > 0);
    Changed();
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
    if (m_pList)
        m_pList->RowDeleted(nRow, m_nSuspended > 0);
    Changed();
}

int CEntryTable::GetMarkedRow() const
{
    return m_pList ? static_cast<int>(m_pList->GetSelectionMark()) : -1;
}

void CEntryTable::AutosizeColumns()
{
    if (!m_pList || m_pList->GetColumnCount() == 0)
        return;
    SuspendRedraw();
    int nWidths[COLUMN_COUNT];
    const int nMargin = m_pList->GetCellMargin();
    for (int nColumn = 1; nColumn < COLUMN_COUNT; ++nColumn)
        nWidths[nColumn] = std::max(m_widths[nColumn]->Widest() + nMargin, m_pList->GetTitleWidth(nColumn));
    // Description gives way first, so Date and Overtime stay in view; the form shows the whole text.
    // No description wider than that room is ever measured exactly.
    const int nRoom = m_pList->GetRowsWidth() - nWidths[1] - nWidths[2];
    m_widths[0]->SetLimit(std::max(nRoom - nMargin, 0));
    nWidths[0] = std::max(m_pList->GetTitleWidth(0), std::min(m_widths[0]->Widest() + nMargin, nRoom));
    // The widget stretches the last column to the list's right edge.
    for (int nColumn = 0; nColumn < COLUMN_COUNT; ++nColumn)
        m_pList->SetColumnWidth(nColumn, nWidths[nColumn]);
    ResumeRedraw();
}

void CEntryTable::SuspendRedraw()
{
    if (!m_pList)
        return;
    if (m_nSuspended++ == 0)
        m_pList->Freeze();
}

void CEntryTable::ResumeRedraw()
{
    if (!m_pList || m_nSuspended == 0)
        return;
    if (--m_nSuspended > 0)
        return;
    m_pList->ResumeRows();
    m_pList->Thaw();
    m_pList->Refresh(true);
    if (m_bChangedWhileSuspended)
    {
        m_bChangedWhileSuspended = false;
        Changed();
    }
}
