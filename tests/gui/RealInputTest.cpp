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
    wxWindow* pRows = dialog.m_listEntries.GetListCtrl()->GetRowsWindow();
    simulator.MouseMove(pRows->GetScreenPosition() + wxPoint(30, 8));
    YieldFor(50);
    simulator.MouseClick();
    EXPECT_TRUE(WaitFor([&] { return pDescription->GetValue() == "Typed by hand"; }));
    EXPECT_EQ(dialog.m_listEntries.GetMarkedRow(), 0);
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
    wxWindow* pRows = dialog.m_listEntries.GetListCtrl()->GetRowsWindow();
    simulator.MouseMove(pRows->GetScreenPosition() + wxPoint(30, 8));
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
