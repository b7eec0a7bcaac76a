// The run's history of table changes, for undo and redo: plain data, no window.
#pragma once

#include "entries/EntryRow.h"

#include <vector>

// The rows a step is applied to; the window hands its entry table in through this.
class CUndoRows
{
public:
    virtual ~CUndoRows() = default;
    virtual int Count() const = 0;
    virtual const EntryRow& Row(int nRow) const = 0;
    virtual void Insert(int nRow, const EntryRow& row) = 0;
    virtual void Erase(int nRow) = 0;
    virtual void Replace(int nRow, const EntryRow& row) = 0;
};

// One change of the table, with what it takes to do it again and to take it back.
struct UndoStep
{
    enum class EKind { Add, Delete, Update };

    EKind eKind = EKind::Add;
    int nRow = 0;       // Add: always 0, the top; Delete: where the row was; Update: the row changed
    EntryRow before;    // Delete, Update: the row as it was
    EntryRow after;     // Add, Update: the row as it became

    static UndoStep Add(const EntryRow& row) { return {EKind::Add, 0, {}, row}; }
    static UndoStep Delete(int nRow, const EntryRow& row) { return {EKind::Delete, nRow, row, {}}; }
    static UndoStep Update(int nRow, const EntryRow& oldRow, const EntryRow& newRow)
    {
        return {EKind::Update, nRow, oldRow, newRow};
    }
};

// Every step of the run is kept. Steps are taken back strictly in reverse order, so the rows always
// stand as the step left them; each step still checks that before it touches them, and a history
// that no longer matches the rows (changed behind its back) is dropped rather than applied.
class CUndoHistory
{
public:
    // A new change: it can be undone, and whatever had been undone can no longer be redone.
    void Record(const UndoStep& step);
    void Clear();

    bool CanUndo() const { return !m_done.empty(); }
    bool CanRedo() const { return !m_undone.empty(); }
    // The step the next undo or redo applies; only valid while CanUndo or CanRedo holds.
    const UndoStep& NextUndo() const { return m_done.back(); }
    const UndoStep& NextRedo() const { return m_undone.back(); }

    // Take back the last step, or make the last undone one again. False, with the rows untouched,
    // when there is none or the rows no longer match it (the history is then cleared).
    bool Undo(CUndoRows& rows);
    bool Redo(CUndoRows& rows);

private:
    std::vector<UndoStep> m_done;
    std::vector<UndoStep> m_undone;
};
