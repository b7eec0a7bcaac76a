// Undo and redo on the real main window: keys, window menu items, the data file after each step.
#include "tests/gui/GuiTest.h"

#include "app/MainDialog.h"
#include "entries/EntryListCtrl.h"
#include "res/Resource.h"

#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <vector>

namespace
{
const char kThreeRows[] = "CREATOR=KVL 1.0\r\n"
                          "DESCRIPTION=oldest\r\nOT=2:00\r\nDATE=2026-12-01\r\n\r\n"
                          "DESCRIPTION=middle\r\nOT=0:45\r\nDATE=2026-12-02\r\n\r\n"
                          "DESCRIPTION=newest\r\nOT=1:30\r\nDATE=2026-12-03\r\n";

class UndoTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        WriteFile("kvl.dat", kThreeRows);
        OpenMain();
    }

    void Type(const EntryRow& row)
    {
        Text("IDC_DESCRIPTION")->ChangeValue(wxString::FromUTF8(row.strDescription));
        Text("IDC_DATE")->ChangeValue(wxString::FromUTF8(row.strDate));
        dynamic_cast<wxComboBox*>(m_pMain->FindWindow(XRCID("IDC_OVERTIME")))
            ->ChangeValue(wxString::FromUTF8(row.strOvertime));
    }
    wxTextCtrl* Text(const char* pszName) { return dynamic_cast<wxTextCtrl*>(m_pMain->FindWindow(XRCID(pszName))); }
    CEntryTable& Table() { return m_pMain->m_listEntries; }
    void Mark(int nRow) { Table().GetListCtrl()->MoveSelectionMark(nRow); }
    std::vector<EntryRow> Rows()
    {
        std::vector<EntryRow> rows;
        for (int i = 0; i < Table().GetRowCount(); ++i)
            rows.push_back(Table().GetRow(i));
        return rows;
    }
    // A key as the window's key handling receives it before any control does.
    bool Press(int nKey, int nModifiers)
    {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = nKey;
        key.SetControlDown((nModifiers & wxMOD_CONTROL) != 0);
        key.SetShiftDown((nModifiers & wxMOD_SHIFT) != 0);
        key.SetAltDown((nModifiers & wxMOD_ALT) != 0);
        return m_pMain->ProcessWindowEvent(key);
    }
    void Undo() { Press('Z', wxMOD_CONTROL); }
    void Redo() { Press('Z', wxMOD_CONTROL | wxMOD_SHIFT); }
    wxMenuItem* MenuItem(int nId) { return m_pMain->GetSystemMenu()->FindItem(nId); }
    void ExpectItems(const char* pszUndo, bool bUndo, const char* pszRedo, bool bRedo)
    {
        EXPECT_EQ(MenuItem(IDM_UNDO)->GetItemLabelText(), pszUndo);
        EXPECT_EQ(MenuItem(IDM_UNDO)->IsEnabled(), bUndo);
        EXPECT_EQ(MenuItem(IDM_REDO)->GetItemLabelText(), pszRedo);
        EXPECT_EQ(MenuItem(IDM_REDO)->IsEnabled(), bRedo);
    }

    struct State
    {
        std::vector<EntryRow> rows;
        std::string strFile;
    };
    State Now() { return {Rows(), ReadFile("kvl.dat")}; }
    void ExpectState(const State& state)
    {
        EXPECT_EQ(Rows(), state.rows);
        EXPECT_EQ(ReadFile("kvl.dat"), state.strFile);  // written at once
        EXPECT_EQ(m_pMain->m_nRowCount, static_cast<int>(state.rows.size()));
    }
};
}  // namespace

TEST_F(UndoTest, EachStepUndoesAndRedoesInOrderAndIsWrittenAtOnce)
{
    ExpectItems("Undo", false, "Redo", false);
    struct Step
    {
        const char* pszName;
        std::function<void()> make;
        const char* pszUndoItem;
    };
    const std::vector<Step> steps = {
        {"Add", [this] { Type({"late fix", "2026-12-04", "0:30"}); Click("IDC_ADD"); }, "Undo Add"},
        // the middle one of four: it must come back between its neighbours
        {"Delete", [this] { Mark(2); Click("IDC_DELETE"); }, "Undo Delete"},
        {"Update", [this] { Mark(2); ClickList(); Type({"oldest, longer", "2026-12-01", "2:15"}); Click("IDC_UPDATE"); },
         "Undo Update"},
    };
    std::vector<State> states{Now()};
    for (const Step& step : steps)
    {
        step.make();
        states.push_back(Now());
        SCOPED_TRACE(step.pszName);
        ASSERT_NE(states.back().rows, states[states.size() - 2].rows);
        ExpectItems(step.pszUndoItem, true, "Redo", false);
    }
    ASSERT_EQ(Rows(), (std::vector<EntryRow>{{"late fix", "2026-12-04", "0:30"},
                                             {"newest", "2026-12-03", "1:30"},
                                             {"oldest, longer", "2026-12-01", "2:15"}}));

    const char* const redoItems[] = {"Redo Add", "Redo Delete", "Redo Update"};
    for (size_t i = steps.size(); i > 0; --i)
    {
        SCOPED_TRACE(std::string("undo of ") + steps[i - 1].pszName);
        Undo();
        ExpectState(states[i - 1]);
        ExpectItems(i > 1 ? steps[i - 2].pszUndoItem : "Undo", i > 1, redoItems[i - 1], true);
    }
    // Nothing left: a further Ctrl+Z changes nothing and writes nothing.
    Undo();
    ExpectState(states[0]);

    for (size_t i = 1; i <= steps.size(); ++i)
    {
        SCOPED_TRACE(std::string("redo of ") + steps[i - 1].pszName);
        if (i % 2)
            Redo();
        else
            Press('Y', wxMOD_CONTROL);
        ExpectState(states[i]);
    }
    ExpectItems("Undo Update", true, "Redo", false);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(UndoTest, ANewChangeClearsTheRedoSide)
{
    Mark(0);
    Click("IDC_DELETE");
    Undo();
    ExpectItems("Undo", false, "Redo Delete", true);
    Type({"another", "", ""});
    Click("IDC_ADD");
    ExpectItems("Undo Add", true, "Redo", false);
    const State state = Now();
    Redo();
    ExpectState(state);
}

TEST_F(UndoTest, MenuItemsUndoAndRedo)
{
    Mark(1);
    Click("IDC_DELETE");
    const State deleted = Now();
    wxCommandEvent undo(wxEVT_MENU, IDM_UNDO);
    m_pMain->ProcessWindowEvent(undo);
    EXPECT_EQ(Table().GetCellText(1, 0), "middle");
    wxCommandEvent redo(wxEVT_MENU, IDM_REDO);
    m_pMain->ProcessWindowEvent(redo);
    ExpectState(deleted);
    EXPECT_TRUE(m_pMain->IsShown());
}

TEST_F(UndoTest, TheMarkStaysOnItsEntryOrIsDropped)
{
    // The mark on "oldest" (row 2) while an added row is taken back: it moves up with its entry.
    Type({"added", "", ""});
    Click("IDC_ADD");
    Mark(3);
    Undo();
    EXPECT_EQ(Table().GetMarkedRow(), 2);
    EXPECT_EQ(Table().GetCellText(2, 0), "oldest");

    // A deleted row put back above the mark pushes the mark down with its entry.
    Mark(0);
    Click("IDC_DELETE");
    Mark(1);  // "oldest", now row 1
    Undo();
    EXPECT_EQ(Table().GetMarkedRow(), 2);
    EXPECT_EQ(Table().GetCellText(0, 0), "newest");

    // A marked row rewritten by an undo is no longer the row the form was loaded from: no mark.
    Mark(1);
    ClickList();
    Type({"middle, edited", "", ""});
    Click("IDC_UPDATE");
    ASSERT_EQ(Table().GetMarkedRow(), 1);
    Undo();
    EXPECT_EQ(Table().GetCellText(1, 0), "middle");
    EXPECT_EQ(Table().GetMarkedRow(), -1);
    // so a Delete right after removes nothing
    Click("IDC_DELETE");
    EXPECT_EQ(Table().GetRowCount(), 3);
}

TEST_F(UndoTest, UndoLeavesTheFormAndOtherKeysAlone)
{
    Mark(0);
    Click("IDC_DELETE");
    Type({"being typed", "", "0:45"});
    // Ctrl+Alt+Z and a plain Z are no undo; they go on to the controls.
    Press('Z', wxMOD_CONTROL | wxMOD_ALT);
    Press('Z', 0);
    EXPECT_EQ(Table().GetRowCount(), 2);
    Undo();
    EXPECT_EQ(Table().GetRowCount(), 3);
    EXPECT_EQ(Text("IDC_DESCRIPTION")->GetValue(), "being typed");
}

TEST_F(UndoTest, AnUpdateThatChangesNothingIsNoStep)
{
    Mark(0);
    Click("IDC_DELETE");
    Mark(0);
    ClickList();
    Click("IDC_UPDATE");  // the row's own texts: no change, no step
    ExpectItems("Undo Delete", true, "Redo", false);
    Undo();
    EXPECT_EQ(Table().GetRowCount(), 3);
}
