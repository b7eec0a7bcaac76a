// The window menu, its system commands and the About box.
#include "tests/gui/GuiTest.h"

#include "app/AboutDialog.h"
#include "app/MainDialog.h"
#include "res/Resource.h"

#include <wx/button.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/xrc/xmlres.h>

#include <functional>

namespace
{
class AboutTest : public GuiTest
{
protected:
    // Every dialog that a command runs, by kind.
    void RecordModals()
    {
        m_runModal = [this](wxDialog& dialog) {
            m_nAboutRuns += dynamic_cast<CAboutDialog*>(&dialog) != nullptr;
            m_nOtherRuns += dynamic_cast<CAboutDialog*>(&dialog) == nullptr;
            return static_cast<int>(wxID_OK);
        };
    }

    int m_nAboutRuns = 0;
    int m_nOtherRuns = 0;
};
}  // namespace

TEST_F(AboutTest, WindowMenuHoldsUndoRedoThenCloseThenSeparatorThenAbout)
{
    wxMenu* pMenu = OpenMain().GetSystemMenu();
    ASSERT_NE(pMenu, nullptr);
    ASSERT_EQ(pMenu->GetMenuItemCount(), 6u);
    const wxMenuItemList& items = pMenu->GetMenuItems();
    EXPECT_EQ(items[0]->GetId(), IDM_UNDO);
    EXPECT_EQ(items[1]->GetId(), IDM_REDO);
    EXPECT_TRUE(items[2]->IsSeparator());
    EXPECT_EQ(items[3]->GetId(), IDM_SYSCLOSE);
    EXPECT_EQ(items[3]->GetItemLabelText(), "Close");
    EXPECT_TRUE(items[4]->IsSeparator());
    EXPECT_EQ(items[5]->GetId(), IDM_ABOUTBOX);
    // A is the access key.
    EXPECT_EQ(items[5]->GetItemLabel(), "&About Vantrell...");
}

TEST_F(AboutTest, SystemCommandsOpenAboutOnlyInItsRange)
{
    struct Case
    {
        unsigned nCommand;
        bool bOpensAbout;
    };
    const Case cases[] = {
        {0x0010, true}, {0x0011, true}, {0x001F, true}, {0x0000, false}, {0x0020, false},
        {0x0110, false}, {0xF010, false},
    };
    CMainDialog& main = OpenMain();
    RecordModals();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "command 0x" << std::hex << c.nCommand);
        m_nAboutRuns = 0;
        main.OnSysCommand(c.nCommand, 0);
        EXPECT_EQ(m_nAboutRuns, c.bOpensAbout ? 1 : 0);
        EXPECT_TRUE(main.IsShown());
    }
    EXPECT_EQ(m_nOtherRuns, 0);
}

TEST_F(AboutTest, MenuItemsReachTheirCommands)
{
    CMainDialog& main = OpenMain();
    RecordModals();

    wxCommandEvent about(wxEVT_MENU, IDM_ABOUTBOX);
    main.ProcessWindowEvent(about);
    EXPECT_EQ(m_nAboutRuns, 1);
    EXPECT_TRUE(main.IsShown());

    // Close is the Cancel path: the run ends without a pull.
    main.SetReturnCode(0);
    wxCommandEvent close(wxEVT_MENU, IDM_SYSCLOSE);
    main.ProcessWindowEvent(close);
    EXPECT_EQ(main.GetReturnCode(), wxID_CANCEL);
    EXPECT_FALSE(main.IsShown());
    EXPECT_EQ(m_nAboutRuns, 1);
}

TEST_F(AboutTest, AboutLeavesTheFormAsItWas)
{
    CMainDialog& main = OpenMain();
    RecordModals();
    auto* pDescription = dynamic_cast<wxTextCtrl*>(main.FindWindow(XRCID("IDC_DESCRIPTION")));
    ASSERT_NE(pDescription, nullptr);
    pDescription->ChangeValue("typed, not added");

    main.OnSysCommand(IDM_ABOUTBOX, 0);

    EXPECT_EQ(m_nAboutRuns, 1);
    EXPECT_EQ(pDescription->GetValue(), "typed, not added");
    EXPECT_TRUE(main.IsShown());
}

TEST_F(AboutTest, AboutBoxShowsNameVersionIconAndDefaultOk)
{
    OpenMain();
    CAboutDialog about;
    EXPECT_EQ(about.GetTitle(), "About Vantrell");
    EXPECT_EQ(about.GetParent(), m_pMain.get());
    auto* pVersion = dynamic_cast<wxStaticText*>(about.FindWindow(XRCID("IDC_ABOUT_VERSION")));
    ASSERT_NE(pVersion, nullptr);
    EXPECT_EQ(pVersion->GetLabelText(), "Vantrell Version 1.0");
    auto* pOk = dynamic_cast<wxButton*>(about.FindWindow(wxID_OK));
    ASSERT_NE(pOk, nullptr);
    EXPECT_EQ(pOk->GetLabelText(), "OK");
    EXPECT_EQ(about.GetDefaultItem(), pOk);
    EXPECT_TRUE(about.FindWindow(XRCID("IDC_ABOUT_ICON")) != nullptr);
}

// The real modal run, ended by each way a user closes the box.
TEST_F(AboutTest, AboutBoxClosesByOkEscAndCloseBox)
{
    struct Case
    {
        const char* pszName;
        std::function<void(wxDialog&)> close;
    };
    const Case cases[] = {
        {"OK",
         [](wxDialog& dialog) {
             wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
             click.SetEventObject(dialog.FindWindow(wxID_OK));
             dialog.FindWindow(wxID_OK)->ProcessWindowEvent(click);
         }},
        {"Esc",
         [](wxDialog& dialog) {
             wxKeyEvent key(wxEVT_CHAR_HOOK);
             key.m_keyCode = WXK_ESCAPE;
             key.SetEventObject(&dialog);
             dialog.ProcessWindowEvent(key);
         }},
        {"close box", [](wxDialog& dialog) { dialog.Close(); }},
    };
    OpenMain();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        CAboutDialog about;
        about.CallAfter([&about, &c] { c.close(about); });
        // A box that does not close ends here with a code of its own, instead of hanging.
        wxTimer guard;
        guard.Bind(wxEVT_TIMER, [&about](wxTimerEvent&) { about.EndModal(-1); });
        guard.StartOnce(3000);
        const int nResult = about.ShowModal();
        guard.Stop();
        EXPECT_NE(nResult, -1);
        EXPECT_FALSE(about.IsShown());
    }
    EXPECT_TRUE(m_pMain->IsShown());
}
