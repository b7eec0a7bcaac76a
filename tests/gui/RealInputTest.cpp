// A few commands through real mouse and keyboard input (XTest), as a user gives them.
#include "tests/gui/GuiTest.h"

#include "app/MainDialog.h"
#include "entries/EntryListCtrl.h"

#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/xrc/xmlres.h>

namespace
{
class RealInputTest : public GuiTest
{
protected:
    void ClickOn(wxWindow* pWindow)
    {
        wxUIActionSimulator simulator;
        simulator.MouseMove(pWindow->GetScreenRect().GetPosition() + pWindow->GetSize() / 2);
        YieldFor(50);
        simulator.MouseClick();
        YieldFor(50);
    }
};
}  // namespace

TEST_F(RealInputTest, TypeAndAddThenClickTheRow)
{
    CMainDialog& dialog = OpenMain();
    dialog.Raise();
    YieldFor(100);
    auto* pDescription = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(XRCID("IDC_DESCRIPTION")));
    ClickOn(pDescription);
    pDescription->SetFocus();
    YieldFor(50);
    wxUIActionSimulator simulator;
    simulator.Text("Typed by hand");
    ASSERT_TRUE(WaitFor([&] { return pDescription->GetValue() == "Typed by hand"; }));

    ClickOn(dialog.FindWindow(XRCID("IDC_ADD")));
    ASSERT_TRUE(WaitFor([&] { return dialog.m_listEntries.GetRowCount() == 1; }));
    EXPECT_EQ(dialog.m_listEntries.GetCellText(0, 0), "Typed by hand");

    ClickOn(dialog.FindWindow(XRCID("IDC_CLEAR")));
    ASSERT_TRUE(WaitFor([&] { return pDescription->GetValue().empty(); }));

    // A click on the first row loads it into the form.
    const wxRect row = dialog.m_listEntries.GetListCtrl()->GetRowScreenRect(0);
    ASSERT_FALSE(row.IsEmpty());
    simulator.MouseMove(row.GetPosition() + wxPoint(30, row.GetHeight() / 2));
    YieldFor(50);
    simulator.MouseClick();
    EXPECT_TRUE(WaitFor([&] { return pDescription->GetValue() == "Typed by hand"; }));
    EXPECT_EQ(dialog.m_listEntries.GetMarkedRow(), 0);
}

TEST_F(RealInputTest, ArrowKeyMovesTheFormWithTheMarkSoUpdateWritesThatRow)
{
    CMainDialog& dialog = OpenMain();
    CEntryTable& table = dialog.m_listEntries;
    for (const char* psz : {"third", "second", "first"})
        table.InsertTopRow(EntryRow{psz, "2026-12-11", "1:00"});
    dialog.Raise();
    YieldFor(100);
    auto* pDescription = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(XRCID("IDC_DESCRIPTION")));

    const wxRect row = table.GetListCtrl()->GetRowScreenRect(1);
    ASSERT_FALSE(row.IsEmpty());
    wxUIActionSimulator simulator;
    simulator.MouseMove(row.GetPosition() + wxPoint(30, row.GetHeight() / 2));
    YieldFor(50);
    simulator.MouseClick();
    ASSERT_TRUE(WaitFor([&] { return pDescription->GetValue() == "second"; }));

    simulator.Char(WXK_DOWN);
    ASSERT_TRUE(WaitFor([&] { return pDescription->GetValue() == "third"; }));
    EXPECT_EQ(table.GetMarkedRow(), 2);

    pDescription->ChangeValue("third, corrected");
    ClickOn(dialog.FindWindow(XRCID("IDC_UPDATE")));
    ASSERT_TRUE(WaitFor([&] { return table.GetCellText(2, 0) == "third, corrected"; }));
    EXPECT_EQ(table.GetCellText(1, 0), "second");
    EXPECT_EQ(table.GetCellText(0, 0), "first");
}

TEST_F(RealInputTest, HighlightOnlyWhileTheListHasTheFocus)
{
    CMainDialog& dialog = OpenMain();
    CEntryTable& table = dialog.m_listEntries;
    for (const char* psz : {"second", "first"})
        table.InsertTopRow(psz);
    dialog.Raise();
    YieldFor(100);
    CEntryListCtrl* pList = table.GetListCtrl();

    const wxRect row = pList->GetRowScreenRect(1);
    wxUIActionSimulator simulator;
    simulator.MouseMove(row.GetPosition() + wxPoint(30, row.GetHeight() / 2));
    YieldFor(50);
    simulator.MouseClick();
    ASSERT_TRUE(WaitFor([&] { return pList->IsHighlighted(1); }));

    // The focus goes: the highlight goes with it, the mark stays.
    ClickOn(dialog.FindWindow(XRCID("IDC_DESCRIPTION")));
    EXPECT_TRUE(WaitFor([&] { return !pList->IsHighlighted(1); }));
    EXPECT_EQ(table.GetMarkedRow(), 1);

    // Back by the keyboard, as Shift+Tab from Select brings it: the marked row shows again, and the
    // widget's habit of selecting a row on the focus's arrival moves neither mark nor form.
    dialog.FindWindow(XRCID("IDC_SELECT_DATE"))->SetFocus();
    YieldFor(50);
    simulator.KeyDown(WXK_SHIFT);
    simulator.Char(WXK_TAB, wxMOD_SHIFT);
    simulator.KeyUp(WXK_SHIFT);
    EXPECT_TRUE(WaitFor([&] { return pList->IsHighlighted(1); }));
    EXPECT_FALSE(pList->IsHighlighted(0));
    EXPECT_EQ(table.GetMarkedRow(), 1);
}

TEST_F(RealInputTest, TabIntoTheListLeavesTheFormAlone)
{
    CMainDialog& dialog = OpenMain();
    dialog.m_listEntries.InsertTopRow("stored");
    dialog.Raise();
    YieldFor(100);
    auto* pDescription = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(XRCID("IDC_DESCRIPTION")));
    pDescription->ChangeValue("typed, not added");
    // The focus starts on Quit; one Tab reaches the list.
    dialog.FindWindow(wxID_OK)->SetFocus();
    YieldFor(50);
    wxUIActionSimulator simulator;
    simulator.Char(WXK_TAB);
    ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == dialog.m_listEntries.GetListCtrl(); }));
    YieldFor(100);
    EXPECT_EQ(pDescription->GetValue(), "typed, not added");
    EXPECT_EQ(dialog.m_listEntries.GetMarkedRow(), -1);
    EXPECT_FALSE(dialog.m_listEntries.GetListCtrl()->IsHighlighted(0));
}

TEST_F(RealInputTest, CtrlZTakesBackADeleteWhileTheFocusIsInAField)
{
    WriteFile("kvl.dat", "CREATOR=KVL 1.0\r\nDESCRIPTION=kept\r\nOT=1:00\r\nDATE=2026-12-10\r\n\r\n"
                         "DESCRIPTION=removed by mistake\r\nOT=0:30\r\nDATE=2026-12-11\r\n");
    CMainDialog& dialog = OpenMain();
    dialog.Raise();
    YieldFor(100);
    const std::string strBefore = ReadFile("kvl.dat");
    wxUIActionSimulator simulator;
    const wxRect row = dialog.m_listEntries.GetListCtrl()->GetRowScreenRect(0);
    ASSERT_FALSE(row.IsEmpty());
    simulator.MouseMove(row.GetPosition() + wxPoint(30, row.GetHeight() / 2));
    YieldFor(50);
    simulator.MouseClick();
    ASSERT_TRUE(WaitFor([&] { return dialog.m_listEntries.GetMarkedRow() == 0; }));
    ClickOn(dialog.FindWindow(XRCID("IDC_DELETE")));
    ASSERT_TRUE(WaitFor([&] { return dialog.m_listEntries.GetRowCount() == 1; }));

    // With the Description field focused, as it is while typing.
    auto* pDescription = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(XRCID("IDC_DESCRIPTION")));
    ClickOn(pDescription);
    pDescription->SetFocus();
    YieldFor(50);
    simulator.Char('z', wxMOD_CONTROL);
    ASSERT_TRUE(WaitFor([&] { return dialog.m_listEntries.GetRowCount() == 2; }));
    EXPECT_EQ(dialog.m_listEntries.GetCellText(0, 0), "removed by mistake");
    EXPECT_EQ(ReadFile("kvl.dat"), strBefore);
    YieldFor(50);
    EXPECT_EQ(pDescription->GetValue(), "removed by mistake");  // the key went to no field

    simulator.Char('z', wxMOD_CONTROL | wxMOD_SHIFT);
    ASSERT_TRUE(WaitFor([&] { return dialog.m_listEntries.GetRowCount() == 1; }));
    EXPECT_EQ(dialog.m_listEntries.GetCellText(0, 0), "kept");
}
