// Tests of the undo history on a plain list of rows.
#include "entries/UndoHistory.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
class CVectorRows : public CUndoRows
{
public:
    explicit CVectorRows(std::vector<EntryRow> rows) : m_rows(std::move(rows)) {}
    int Count() const override { return static_cast<int>(m_rows.size()); }
    const EntryRow& Row(int nRow) const override { return m_rows.at(static_cast<size_t>(nRow)); }
    void Insert(int nRow, const EntryRow& row) override { m_rows.insert(m_rows.begin() + nRow, row); }
    void Erase(int nRow) override { m_rows.erase(m_rows.begin() + nRow); }
    void Replace(int nRow, const EntryRow& row) override { m_rows.at(static_cast<size_t>(nRow)) = row; }

    std::vector<EntryRow> m_rows;
};

const EntryRow kA{"A", "2026-12-01", "1:00"};
const EntryRow kB{"B", "2026-12-02", "0:30"};
const EntryRow kC{"C", "", ""};
const EntryRow kB2{"B changed", "2026-12-02", "0:45"};

// The window's commands on the rows, each recorded as it is made.
struct Session
{
    CVectorRows rows{{kB, kA}};  // B on top, as after two adds
    CUndoHistory history;

    void Add(const EntryRow& row)
    {
        rows.Insert(0, row);
        history.Record(UndoStep::Add(row));
    }
    void Delete(int nRow)
    {
        const EntryRow row = rows.Row(nRow);
        rows.Erase(nRow);
        history.Record(UndoStep::Delete(nRow, row));
    }
    void Update(int nRow, const EntryRow& row)
    {
        const EntryRow old = rows.Row(nRow);
        rows.Replace(nRow, row);
        history.Record(UndoStep::Update(nRow, old, row));
    }
};
}  // namespace

TEST(UndoHistory, EveryStepUndoesBackToTheStartAndRedoesToTheEnd)
{
    Session s;
    const std::vector<EntryRow> start = s.rows.m_rows;
    std::vector<std::vector<EntryRow>> states{start};
    s.Add(kC);
    states.push_back(s.rows.m_rows);
    s.Update(1, kB2);
    states.push_back(s.rows.m_rows);
    s.Delete(2);  // the middle of three is not the top: it must come back at its own place
    states.push_back(s.rows.m_rows);
    s.Delete(0);
    states.push_back(s.rows.m_rows);
    ASSERT_EQ(s.rows.m_rows, (std::vector<EntryRow>{kB2}));

    for (size_t i = states.size() - 1; i > 0; --i)
    {
        SCOPED_TRACE(testing::Message() << "undo to state " << i - 1);
        ASSERT_TRUE(s.history.CanUndo());
        ASSERT_TRUE(s.history.Undo(s.rows));
        EXPECT_EQ(s.rows.m_rows, states[i - 1]);
    }
    EXPECT_FALSE(s.history.CanUndo());
    EXPECT_FALSE(s.history.Undo(s.rows));
    EXPECT_EQ(s.rows.m_rows, start);

    for (size_t i = 1; i < states.size(); ++i)
    {
        SCOPED_TRACE(testing::Message() << "redo to state " << i);
        ASSERT_TRUE(s.history.CanRedo());
        ASSERT_TRUE(s.history.Redo(s.rows));
        EXPECT_EQ(s.rows.m_rows, states[i]);
    }
    EXPECT_FALSE(s.history.CanRedo());
    EXPECT_FALSE(s.history.Redo(s.rows));
}

TEST(UndoHistory, NextStepsNameWhatUndoAndRedoWouldDo)
{
    Session s;
    EXPECT_FALSE(s.history.CanUndo());
    EXPECT_FALSE(s.history.CanRedo());
    s.Add(kC);
    s.Delete(1);
    EXPECT_EQ(s.history.NextUndo().eKind, UndoStep::EKind::Delete);
    EXPECT_EQ(s.history.NextUndo().nRow, 1);
    EXPECT_EQ(s.history.NextUndo().before, kB);
    s.history.Undo(s.rows);
    EXPECT_EQ(s.history.NextUndo().eKind, UndoStep::EKind::Add);
    EXPECT_EQ(s.history.NextRedo().eKind, UndoStep::EKind::Delete);
}

TEST(UndoHistory, ANewChangeClearsTheRedoSide)
{
    Session s;
    s.Add(kC);
    s.Update(0, kB2);
    s.history.Undo(s.rows);
    s.history.Undo(s.rows);
    ASSERT_TRUE(s.history.CanRedo());
    s.Delete(0);
    EXPECT_FALSE(s.history.CanRedo());
    EXPECT_FALSE(s.history.Redo(s.rows));
    // The undo side still holds what came before the undone steps.
    ASSERT_TRUE(s.history.Undo(s.rows));
    EXPECT_EQ(s.rows.m_rows, (std::vector<EntryRow>{kB, kA}));
    EXPECT_FALSE(s.history.CanUndo());
}

TEST(UndoHistory, UndoOfDuplicatesTakesBackTheRightRow)
{
    // Two equal rows: undoing the second add leaves exactly one, undoing the delete of the lower one
    // puts it back below.
    Session s;
    s.Add(kA);
    ASSERT_EQ(s.rows.m_rows, (std::vector<EntryRow>{kA, kB, kA}));
    s.Delete(2);
    ASSERT_TRUE(s.history.Undo(s.rows));
    EXPECT_EQ(s.rows.m_rows, (std::vector<EntryRow>{kA, kB, kA}));
    ASSERT_TRUE(s.history.Undo(s.rows));
    EXPECT_EQ(s.rows.m_rows, (std::vector<EntryRow>{kB, kA}));
}

TEST(UndoHistory, RowsChangedBehindItsBackDropTheHistoryAndStayUntouched)
{
    // Each case makes a step, changes the rows without the history, then undoes or redoes.
    const struct
    {
        const char* pszCase;
        std::function<void(Session&)> make;
        bool bUndo;
    } cases[] = {
        {"added row replaced", [](Session& s) { s.Add(kC); s.rows.Replace(0, kA); }, true},
        {"updated row replaced", [](Session& s) { s.Update(1, kB2); s.rows.Replace(1, kC); }, true},
        {"deleted row's place gone", [](Session& s) { s.Delete(1); s.rows.Erase(0); }, true},
        {"row to delete again replaced",
         [](Session& s) { s.Delete(0); s.history.Undo(s.rows); s.rows.Replace(0, kC); }, false},
        {"row to update again replaced",
         [](Session& s) { s.Update(0, kB2); s.history.Undo(s.rows); s.rows.Replace(0, kC); }, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszCase);
        Session s;
        c.make(s);
        const std::vector<EntryRow> before = s.rows.m_rows;
        EXPECT_FALSE(c.bUndo ? s.history.Undo(s.rows) : s.history.Redo(s.rows));
        EXPECT_EQ(s.rows.m_rows, before);
        EXPECT_FALSE(s.history.CanUndo());
        EXPECT_FALSE(s.history.CanRedo());
    }
}
