// The entry table: the ordered rows shown by the main window's list, index 0 the newest entry.
#pragma once

#include "entries/ColumnWidths.h"
#include "entries/EntryRow.h"

#include <deque>
#include <memory>
#include <string>
#include <unordered_set>

class CEntryListCtrl;

// The rows live here and the list control shows them (a virtual list), so inserting at the top and
// sizing the columns cost the same for ten rows as for a hundred thousand.
class CEntryTable
{
public:
    enum { COLUMN_COUNT = 3 };

    CEntryTable();
    ~CEntryTable();

    void Attach(CEntryListCtrl* pList);
    bool IsAttached() const { return m_pList != nullptr; }
    CEntryListCtrl* GetListCtrl() const { return m_pList; }

    void SetUpColumns();
    void InsertTopRow(const std::string& strDescription);
    void SetCellText(int nRow, int nColumn, const std::string& strText);
    // An index that names no cell reads as an empty text.
    const std::string& GetCellText(int nRow, int nColumn) const;
    void DeleteRow(int nRow);
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    // Whether the index names a row: the selection mark is passed on unchecked and may be -1.
    bool HasRow(int nRow) const { return nRow >= 0 && nRow < GetRowCount(); }
    int GetMarkedRow() const;
    void AutosizeColumns();
    void SuspendRedraw();
    void ResumeRedraw();

    // Whole rows, for the data file and the report.
    const EntryRow& GetRow(int nRow) const { return *m_rows[static_cast<size_t>(nRow)]; }
    void InsertTopRow(EntryRow row);
    // Puts a row back at its own place, as undoing a delete does; the mark stays on its entry.
    void InsertRow(int nRow, EntryRow row);
    // Whether a row holds exactly these three texts.
    bool ContainsRow(const EntryRow& row) const;

private:
    static std::string& Cell(EntryRow& row, int nColumn);
    static const std::string& Cell(const EntryRow& row, int nColumn);
    void AddRow(const EntryRow& row);
    void RemoveRow(const EntryRow& row);
    void RemoveRowHash(const EntryRow& row);
    static size_t HashRow(const EntryRow& row);
    int MeasureCell(const std::string& strText) const;

    CEntryListCtrl* m_pList = nullptr;
    // Rows are held by pointer, so a deletion in the middle moves pointers, not texts.
    std::deque<std::unique_ptr<EntryRow>> m_rows;
    std::unique_ptr<CColumnWidths> m_widths[COLUMN_COUNT];
    // Hashes of the rows, so the duplicate test of Add need not visit every row.
    std::unordered_multiset<size_t> m_rowHashes;
};
