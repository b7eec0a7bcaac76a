// Undo and redo of the table's changes.
#include "entries/UndoHistory.h"

namespace
{
bool HoldsAt(const CUndoRows& rows, int nRow, const EntryRow& row)
{
    return nRow >= 0 && nRow < rows.Count() && rows.Row(nRow) == row;
}

// Takes a step back on rows that stand as the step left them.
bool TakeBack(const UndoStep& step, CUndoRows& rows)
{
    switch (step.eKind)
    {
    case UndoStep::EKind::Add:
        if (!HoldsAt(rows, step.nRow, step.after))
            return false;
        rows.Erase(step.nRow);
        return true;
    case UndoStep::EKind::Delete:
        if (step.nRow < 0 || step.nRow > rows.Count())
            return false;
        rows.Insert(step.nRow, step.before);
        return true;
    case UndoStep::EKind::Update:
        if (!HoldsAt(rows, step.nRow, step.after))
            return false;
        rows.Replace(step.nRow, step.before);
        return true;
    }
    return false;
}

// Makes a step again on rows that stand as they were before it.
bool MakeAgain(const UndoStep& step, CUndoRows& rows)
{
    switch (step.eKind)
    {
    case UndoStep::EKind::Add:
        if (step.nRow < 0 || step.nRow > rows.Count())
            return false;
        rows.Insert(step.nRow, step.after);
        return true;
    case UndoStep::EKind::Delete:
        if (!HoldsAt(rows, step.nRow, step.before))
            return false;
        rows.Erase(step.nRow);
        return true;
    case UndoStep::EKind::Update:
        if (!HoldsAt(rows, step.nRow, step.before))
            return false;
        rows.Replace(step.nRow, step.after);
        return true;
    }
    return false;
}
}  // namespace

void CUndoHistory::Record(const UndoStep& step)
{
    m_done.push_back(step);
    m_undone.clear();
}

void CUndoHistory::Clear()
{
    m_done.clear();
    m_undone.clear();
}

bool CUndoHistory::Undo(CUndoRows& rows)
{
    if (m_done.empty())
        return false;
    if (!TakeBack(m_done.back(), rows))
    {
        Clear();
        return false;
    }
    m_undone.push_back(std::move(m_done.back()));
    m_done.pop_back();
    return true;
}

bool CUndoHistory::Redo(CUndoRows& rows)
{
    if (m_undone.empty())
        return false;
    if (!MakeAgain(m_undone.back(), rows))
    {
        Clear();
        return false;
    }
    m_done.push_back(std::move(m_undone.back()));
    m_undone.pop_back();
    return true;
}
