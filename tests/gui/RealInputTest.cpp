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
