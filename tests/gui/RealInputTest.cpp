// A few commands through real mouse and keyboard input (XTest), as a user gives them.
#include "tests/gui/GuiTest.h"

#include "app/AboutDialog.h"
#include "app/HelpViewer.h"
#include "app/MainDialog.h"
#include "entries/DateDialog.h"
#include "entries/EntryListCtrl.h"

#include <wx/app.h>
#include <wx/html/htmlwin.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/xrc/xmlres.h>

#include <cstdlib>
#include <string>

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

    // The keyboard goes to the window in front: raised by the window manager, or, in a bare X
    // server, the one under the pointer.
    static void BringToFront(wxWindow& window)
    {
        wxGetTopLevelParent(&window)->Raise();
        wxUIActionSimulator().MouseMove(window.GetScreenRect().GetPosition() + window.GetSize() / 2);
        YieldFor(150);
    }

    static bool HasFocusIn(const wxWindow* pWindow)
    {
        const wxWindow* pFocus = wxWindow::FindFocus();
        return pFocus && pWindow && (pFocus == pWindow || pWindow->IsDescendant(const_cast<wxWindow*>(pFocus)));
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

// The help viewer takes the wheel and the keys while the main window runs modally, as it always does.
TEST_F(RealInputTest, ViewerScrollsWithTheWheelAndEscClosesOnlyIt)
{
    std::string strPage = "<html><body><a name=\"0x20066\"></a><h3>Main</h3>";
    for (int i = 0; i < 300; ++i)
        strPage += "<p>line " + std::to_string(i) + "</p>";
    WriteFile("test.HLP", strPage + "</body></html>");
    const std::string strHelpFile = m_folder.GetPath() + "/test.HLP";
    ToolkitHooks hooks;
    hooks.onMessageBox = [this](const MessageBoxRequest& request) {
        m_messages.push_back(request);
        return EMessageAnswer::Ok;
    };
    hooks.onShowHelp = [&](const std::string&, int nContext) { return CHelpViewer::Open(strHelpFile, nContext); };
    CToolkit::SetHooks(hooks);
    // The application's answer to F1, as COvertimeApp's event table gives it.
    auto onHelp = [](wxCommandEvent& event) { LaunchHelp(dynamic_cast<wxWindow*>(event.GetEventObject())); };
    wxTheApp->Bind(wxEVT_MENU, onHelp, wxID_HELP);

    m_pMain = std::make_unique<CMainDialog>();
    CMainDialog& main = *m_pMain;
    int nScrolledTo = 0;
    bool bViewerShown = false, bViewerClosed = false, bMainShownAfterEsc = false;
    main.CallAfter([&] {
        BringToFront(main);
        wxUIActionSimulator simulator;
        simulator.Char(WXK_F1);
        bViewerShown = WaitFor([] { return CHelpViewer::Find() && CHelpViewer::Find()->IsShownOnScreen(); });
        if (bViewerShown)
        {
            wxHtmlWindow* pHtml = CHelpViewer::Find()->GetHtmlWindow();
            BringToFront(*pHtml);
            // The wheel is button 5 to the X server; the toolkit's simulator has no wheel.
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(std::system("xdotool click 5"), 0);
            WaitFor([&] { return pHtml->GetViewStart().y > 0; });
            nScrolledTo = pHtml->GetViewStart().y;
            simulator.Char(WXK_ESCAPE);
            bViewerClosed = WaitFor([] { return CHelpViewer::Find() == nullptr; });
            YieldFor(100);
            bMainShownAfterEsc = main.IsShown() && main.IsModal();
        }
        if (main.IsModal())
            main.EndModal(wxID_OK);
    });
    // A run that the steps above do not end ends here, instead of hanging.
    wxTimer guard;
    guard.Bind(wxEVT_TIMER, [&main](wxTimerEvent&) { if (main.IsModal()) main.EndModal(-1); });
    guard.StartOnce(15000);
    const int nResult = main.ShowModal();
    guard.Stop();
    wxTheApp->Unbind(wxEVT_MENU, onHelp, wxID_HELP);
    if (CHelpViewer* pViewer = CHelpViewer::Find())
        pViewer->Destroy();
    wxYield();

    EXPECT_NE(nResult, -1);
    EXPECT_TRUE(bViewerShown);
    EXPECT_GT(nScrolledTo, 0) << "the wheel did not scroll the viewer";
    EXPECT_TRUE(bViewerClosed) << "Esc did not close the viewer";
    EXPECT_TRUE(bMainShownAfterEsc) << "Esc reached the main window";
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(RealInputTest, TabFollowsTheTemplatesOrderWithOneStopForTheOvertime)
{
    CMainDialog& dialog = OpenMain();
    BringToFront(dialog);
    dialog.FindWindow(wxID_OK)->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return HasFocusIn(dialog.FindWindow(wxID_OK)); }));
    wxUIActionSimulator simulator;
    const char* const order[] = {"IDC_LIST", "IDC_SELECT_DATE", "IDC_DATE", "IDC_OVERTIME", "IDC_DESCRIPTION",
                                 "IDC_ADD", "IDC_DELETE", "IDC_UPDATE", "IDC_CLEAR", "IDC_HELP_PAGE",
                                 "IDC_REPORT"};
    for (const char* pszName : order)
    {
        SCOPED_TRACE(pszName);
        simulator.Char(WXK_TAB);
        EXPECT_TRUE(WaitFor([&] { return HasFocusIn(dialog.FindWindow(XRCID(pszName))); }, 1500));
    }
}

// The Menu key and Shift+F10 open the window menu wherever the focus is, and its access keys work.
TEST_F(RealInputTest, MenuKeyAndShiftF10OpenTheWindowMenu)
{
    int nAboutRuns = 0;
    m_runModal = [&](wxDialog& dialog) {
        nAboutRuns += dynamic_cast<CAboutDialog*>(&dialog) != nullptr;
        return static_cast<int>(wxID_OK);
    };
    CMainDialog& dialog = OpenMain();
    BringToFront(dialog);
    auto* pDescription = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(XRCID("IDC_DESCRIPTION")));
    pDescription->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return HasFocusIn(pDescription); }));
    wxUIActionSimulator simulator;
    // Once the menu is up it holds the keyboard; its access key A chooses the About item.
    wxTimer chooseAbout;
    chooseAbout.Bind(wxEVT_TIMER, [&simulator](wxTimerEvent&) { simulator.Char('a'); });
    const struct
    {
        const char* pszName;
        int nKey;
        int nModifiers;
    } keys[] = {{"Menu", WXK_MENU, wxMOD_NONE}, {"Shift+F10", WXK_F10, wxMOD_SHIFT}};
    for (const auto& key : keys)
    {
        SCOPED_TRACE(key.pszName);
        const int nBefore = nAboutRuns;
        chooseAbout.StartOnce(300);
        simulator.Char(key.nKey, key.nModifiers);
        EXPECT_TRUE(WaitFor([&] { return nAboutRuns == nBefore + 1; }));
        chooseAbout.Stop();
        YieldFor(50);
    }
    EXPECT_EQ(pDescription->GetValue(), "") << "a key went to the field instead of the menu";
    EXPECT_TRUE(dialog.IsShown());
}

// The calendar's keyboard cursor is its selected day: the arrow keys move the day from the one it
// opens at, which is the form's.
TEST_F(RealInputTest, CalendarArrowKeysMoveFromTheFormsDay)
{
    CMainDialog& main = OpenMain();
    auto* pDate = dynamic_cast<wxTextCtrl*>(main.FindWindow(XRCID("IDC_DATE")));
    pDate->ChangeValue("2026-03-01");
    wxUIActionSimulator simulator;
    m_runModal = [&](wxDialog& dialog) {
        dialog.CallAfter([&] {
            BringToFront(dialog);
            simulator.Char(WXK_LEFT);
            simulator.Char(WXK_UP);
            YieldFor(100);
            simulator.Char(WXK_RETURN);
        });
        wxTimer guard;
        guard.Bind(wxEVT_TIMER, [&dialog](wxTimerEvent&) { dialog.EndModal(-1); });
        guard.StartOnce(5000);
        const int nCode = dialog.ShowModal();
        EXPECT_EQ(nCode, wxID_OK) << "Enter did not close the calendar";
        return nCode;
    };
    Click("IDC_SELECT_DATE");
    // One day back, then one week back, from 1 March.
    EXPECT_EQ(pDate->GetValue(), "2026-02-21");
}

// The About box's modal run leaves the help viewer working too.
TEST_F(RealInputTest, ViewerScrollsWhileTheAboutBoxIsUp)
{
    std::string strPage = "<html><body>";
    for (int i = 0; i < 300; ++i)
        strPage += "<p>line " + std::to_string(i) + "</p>";
    WriteFile("test.HLP", strPage + "</body></html>");
    OpenMain();
    ASSERT_TRUE(CHelpViewer::Open(m_folder.GetPath() + "/test.HLP", 0x20066));
    wxHtmlWindow* pHtml = CHelpViewer::Find()->GetHtmlWindow();
    ASSERT_TRUE(WaitFor([&] { return pHtml->IsShownOnScreen(); }));

    CAboutDialog about;
    int nScrolledTo = 0;
    about.CallAfter([&] {
        YieldFor(100);
        BringToFront(*pHtml);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(std::system("xdotool click 5"), 0);
        WaitFor([&] { return pHtml->GetViewStart().y > 0; });
        nScrolledTo = pHtml->GetViewStart().y;
        about.EndModal(wxID_OK);
    });
    wxTimer guard;
    guard.Bind(wxEVT_TIMER, [&about](wxTimerEvent&) { if (about.IsModal()) about.EndModal(-1); });
    guard.StartOnce(10000);
    EXPECT_EQ(about.ShowModal(), wxID_OK);
    guard.Stop();
    CHelpViewer::Find()->Destroy();
    wxYield();
    EXPECT_GT(nScrolledTo, 0) << "the About box's run blocked the viewer";
}
