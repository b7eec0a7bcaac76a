// F1 help (the help file's path and context, the failure message, the viewer, the help file) and
// the Help button.
#include "tests/gui/GuiTest.h"

#include "app/AboutDialog.h"
#include "app/HelpViewer.h"
#include "app/MainDialog.h"
#include "entries/DateDialog.h"
#include "res/ProductInfo.h"

#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/display.h>
#include <wx/html/htmlwin.h>
#include <wx/stdpaths.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace
{
struct HelpRequest
{
    std::string strFile;
    int nContext;
};

// The fixture's hooks, with the help viewer's requests recorded and answered by m_bHelpShows.
class HelpTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        ToolkitHooks hooks;
        hooks.onMessageBox = [this](const MessageBoxRequest& request) {
            m_messages.push_back(request);
            return EMessageAnswer::Ok;
        };
        hooks.onShellOpen = [this](const std::string& strTarget) { m_shellOpens.push_back(strTarget); };
        hooks.onRunModal = [this](wxDialog& dialog) { return m_runModal ? m_runModal(dialog) : wxID_OK; };
        hooks.onStartSockets = [] { return true; };
        hooks.onShowHelp = [this](const std::string& strFile, int nContext) {
            m_helpRequests.push_back({strFile, nContext});
            return m_bHelpShows;
        };
        CToolkit::SetHooks(hooks);
        // The application's event table, as COvertimeApp has it.
        wxTheApp->Bind(wxEVT_MENU, &HelpTest::OnAppHelp, this, wxID_HELP);
    }

    void TearDown() override
    {
        wxTheApp->Unbind(wxEVT_MENU, &HelpTest::OnAppHelp, this, wxID_HELP);
        if (CHelpViewer* pViewer = CHelpViewer::Find())
            pViewer->Destroy();
        wxYield();
        GuiTest::TearDown();
    }

    void OnAppHelp(wxCommandEvent& event)
    {
        LaunchHelp(dynamic_cast<wxWindow*>(event.GetEventObject()));
    }

    static void PressF1(wxWindow& window)
    {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = WXK_F1;
        key.SetEventObject(&window);
        window.ProcessWindowEvent(key);
    }

    static std::string ExpectedHelpFile()
    {
        return wxStandardPaths::Get().GetExecutablePath().utf8_string() + ".HLP";
    }

    std::vector<HelpRequest> m_helpRequests;
    bool m_bHelpShows = true;
};

std::string SourceFile(const std::string& strFromTop)
{
    std::string strHere = __FILE__;
    return strHere.substr(0, strHere.rfind("tests/gui/")) + strFromTop;
}
}  // namespace

TEST(HelpFilePathTest, ReplacesOrAppendsTheExtension)
{
    const struct
    {
        const char* pszExecutable;
        const char* pszExpected;
    } cases[] = {
        {"/usr/lib/vantrell/vantrell", "/usr/lib/vantrell/vantrell.HLP"},
        {"/opt/vantrell.exe", "/opt/vantrell.HLP"},
        {"/opt/v1.02/vantrell", "/opt/v1.02/vantrell.HLP"},
        {"/home/me/.vantrell", "/home/me/.vantrell.HLP"},
        {"/home/me/my.tool.bin", "/home/me/my.tool.HLP"},
        {"vantrell", "vantrell.HLP"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszExecutable);
        EXPECT_EQ(HelpFilePath(c.pszExecutable), c.pszExpected);
    }
}

TEST_F(HelpTest, F1AsksForTheHelpFileAtTheContextOfTheDialogInFront)
{
    CMainDialog& main = OpenMain();
    PressF1(main);
    // F1 while typing in a field is F1 in the window.
    PressF1(*main.FindWindow(XRCID("IDC_DESCRIPTION")));
    {
        CAboutDialog about;
        about.Show();
        PressF1(about);
        PressF1(*about.FindWindow(wxID_OK));
    }
    {
        CDateDialog date(&main);
        date.Show();
        PressF1(date);
    }
    const int expected[] = {0x20066, 0x20066, 0x20064, 0x20064, 0x20082};
    ASSERT_EQ(m_helpRequests.size(), std::size(expected));
    for (size_t i = 0; i < m_helpRequests.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(m_helpRequests[i].strFile, ExpectedHelpFile());
        EXPECT_EQ(m_helpRequests[i].nContext, expected[i]);
    }
    EXPECT_TRUE(m_messages.empty());
    EXPECT_TRUE(main.IsShown());
}

TEST_F(HelpTest, OtherKeysRaiseNoHelp)
{
    CMainDialog& main = OpenMain();
    for (int nModifiers : {wxMOD_SHIFT, wxMOD_CONTROL, wxMOD_ALT})
    {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = WXK_F1;
        key.m_shiftDown = nModifiers == wxMOD_SHIFT;
        key.m_controlDown = nModifiers == wxMOD_CONTROL;
        key.m_altDown = nModifiers == wxMOD_ALT;
        main.ProcessWindowEvent(key);
    }
    wxKeyEvent f2(wxEVT_CHAR_HOOK);
    f2.m_keyCode = WXK_F2;
    main.ProcessWindowEvent(f2);
    EXPECT_TRUE(m_helpRequests.empty());
}

TEST_F(HelpTest, NoViewerGivesTheFailureMessage)
{
    CMainDialog& main = OpenMain();
    m_bHelpShows = false;
    PressF1(main);
    ASSERT_EQ(m_helpRequests.size(), 1u);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].strText, "Failed to launch help.");
    EXPECT_EQ(m_messages[0].strCaption, CToolkit::GetAppTitle());
    EXPECT_EQ(m_messages[0].eButtons, EMessageButtons::Ok);
    EXPECT_TRUE(m_messages[0].bExclamation);
    EXPECT_TRUE(main.IsShown());
}

TEST_F(HelpTest, ViewerOpensAtTheAnchorOfTheContext)
{
    // Enough text above the anchor that reaching it means scrolling.
    std::string strPage = "<html><body><a name=\"0x20066\"></a><h3>Main</h3>";
    for (int i = 0; i < 200; ++i)
        strPage += "<p>line " + std::to_string(i) + "</p>";
    strPage += "<a name=\"0x20064\"></a><h3>About</h3>";
    for (int i = 0; i < 200; ++i)
        strPage += "<p>more " + std::to_string(i) + "</p>";
    strPage += "</body></html>";
    WriteFile("test.HLP", strPage);

    ASSERT_TRUE(CHelpViewer::Open(m_folder.GetPath() + "/test.HLP", 0x20066));
    CHelpViewer* pViewer = CHelpViewer::Find();
    ASSERT_NE(pViewer, nullptr);
    EXPECT_TRUE(pViewer->IsShown());
    EXPECT_EQ(pViewer->GetHtmlWindow()->GetViewStart().y, 0);

    // Asking again reuses the window and moves it to the new section.
    ASSERT_TRUE(CHelpViewer::Open(m_folder.GetPath() + "/test.HLP", 0x20064));
    EXPECT_EQ(CHelpViewer::Find(), pViewer);
    EXPECT_GT(pViewer->GetHtmlWindow()->GetViewStart().y, 0);

    // A context without an anchor shows the file from its top.
    ASSERT_TRUE(CHelpViewer::Open(m_folder.GetPath() + "/test.HLP", 0x20999));
    EXPECT_EQ(pViewer->GetHtmlWindow()->GetViewStart().y, 0);
}

TEST_F(HelpTest, ViewerRefusesAFileItCannotRead)
{
    ASSERT_EQ(mkdir("folder.HLP", 0700), 0);
    for (const char* pszName : {"missing.HLP", "folder.HLP"})
    {
        SCOPED_TRACE(pszName);
        EXPECT_FALSE(CHelpViewer::Open(m_folder.GetPath() + "/" + pszName, 0x20066));
        EXPECT_EQ(CHelpViewer::Find(), nullptr);
    }
    // The toolkit layer's own viewer, with no test hook in the way.
    ToolkitHooks hooks;
    CToolkit::SetHooks(hooks);
    EXPECT_FALSE(CToolkit::ShowHelp(m_folder.GetPath() + "/missing.HLP", 0x20066));
}

TEST_F(HelpTest, HelpFileHasTheContextsAnchorsAndPlaceholders)
{
    std::ifstream in(SourceFile("res/help/vantrell.html"), std::ios::binary);
    ASSERT_TRUE(in) << "no help file source";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string strHelp = bytes.str();
    for (int nContext : {0x20066, 0x20064})
        EXPECT_NE(strHelp.find("<a name=\"" + HelpAnchor(nContext) + "\">"), std::string::npos)
            << HelpAnchor(nContext);
    for (const char* pszPlaceholder : {"#DATA#", "#COUNT#", "#VALUE#", "#TOTALMINS#", "#OT#", "#DATE#",
                                       "#DESCRIPTION#", "#RUNNINGTOTAL#", "kvl.dat"})
        EXPECT_NE(strHelp.find(pszPlaceholder), std::string::npos) << pszPlaceholder;
}

TEST_F(HelpTest, HelpButtonOpensTheHelpPageAndKeepsTheForm)
{
    CMainDialog& main = OpenMain();
    auto* pDescription = dynamic_cast<wxTextCtrl*>(main.FindWindow(XRCID("IDC_DESCRIPTION")));
    auto* pOvertime = dynamic_cast<wxComboBox*>(main.FindWindow(XRCID("IDC_OVERTIME")));
    ASSERT_TRUE(pDescription && pOvertime);
    pDescription->ChangeValue("typed before Help");
    pOvertime->ChangeValue("2:10");

    Click("IDC_HELP_PAGE");

    ASSERT_EQ(m_shellOpens.size(), 1u);
    EXPECT_EQ(m_shellOpens[0], std::string(kWebAddress) + "help.htm");
    EXPECT_EQ(pDescription->GetValue(), "typed before Help");
    EXPECT_EQ(pOvertime->GetValue(), "2:10");
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(HelpTest, ViewerClosesByEscCtrlWAndItsCloseBoxAndOnlyItself)
{
    WriteFile("test.HLP", "<html><body><a name=\"0x20066\"></a><p>Help</p></body></html>");
    const std::string strFile = m_folder.GetPath() + "/test.HLP";
    CMainDialog& main = OpenMain();
    const struct
    {
        const char* pszName;
        int nKey;
        int nModifiers;  // -1: the close box
    } closers[] = {{"Esc", WXK_ESCAPE, wxMOD_NONE}, {"Ctrl+W", 'W', wxMOD_CONTROL}, {"close box", 0, -1}};
    for (const auto& closer : closers)
    {
        SCOPED_TRACE(closer.pszName);
        ASSERT_TRUE(CHelpViewer::Open(strFile, 0x20066));
        CHelpViewer* pViewer = CHelpViewer::Find();
        ASSERT_NE(pViewer, nullptr);
        if (closer.nModifiers < 0)
            pViewer->Close();
        else
        {
            wxKeyEvent key(wxEVT_CHAR_HOOK);
            key.m_keyCode = closer.nKey;
            key.m_controlDown = closer.nModifiers == wxMOD_CONTROL;
            key.SetEventObject(pViewer->GetHtmlWindow());
            pViewer->GetHtmlWindow()->ProcessWindowEvent(key);
        }
        // Gone at once, so F1 before the deferred destruction opens a fresh viewer.
        EXPECT_EQ(CHelpViewer::Find(), nullptr);
        wxYield();
        EXPECT_TRUE(main.IsShown());
    }
    // Other keys are the page's.
    ASSERT_TRUE(CHelpViewer::Open(strFile, 0x20066));
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = 'W';
    CHelpViewer::Find()->GetHtmlWindow()->ProcessWindowEvent(key);
    EXPECT_NE(CHelpViewer::Find(), nullptr);
}

TEST_F(HelpTest, ViewerOpensBesideOrOverTheMainWindowOnTheScreen)
{
    WriteFile("test.HLP", "<html><body><p>Help</p></body></html>");
    CMainDialog& main = OpenMain();
    ASSERT_TRUE(CHelpViewer::Open(m_folder.GetPath() + "/test.HLP", 0x20066));
    CHelpViewer* pViewer = CHelpViewer::Find();
    ASSERT_NE(pViewer, nullptr);
    WaitFor([&] { return pViewer->IsShownOnScreen(); });
    const wxRect viewer = pViewer->GetScreenRect();
    const wxRect owner = main.GetScreenRect();
    const wxRect screen = wxDisplay(0u).GetClientArea();
    EXPECT_TRUE(screen.Contains(viewer)) << "the viewer leaves the screen";
    // Touching or overlapping the main window, never in a corner of its own.
    EXPECT_TRUE(viewer.Intersects(owner) || viewer.GetLeft() == owner.GetRight() + 1
                || viewer.GetRight() + 1 == owner.GetLeft());
}
