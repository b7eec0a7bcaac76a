// The GUI test helpers.
#include "tests/gui/GuiTest.h"

#include "app/MainDialog.h"
#include "entries/EntryListCtrl.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/stdpaths.h>
#include <wx/stopwatch.h>
#include <wx/xrc/xmlres.h>

#include <fstream>
#include <sstream>

bool WaitFor(const std::function<bool()>& condition, int nMilliseconds)
{
    wxStopWatch watch;
    while (!condition())
    {
        if (watch.Time() > nMilliseconds)
            return false;
        wxYield();
        wxMilliSleep(5);
    }
    return true;
}

void YieldFor(int nMilliseconds)
{
    wxStopWatch watch;
    while (watch.Time() < nMilliseconds)
    {
        wxYield();
        wxMilliSleep(5);
    }
}

void GuiTest::SetUp()
{
    m_folder.Enter("vantrell-gui");

    ToolkitHooks hooks;
    hooks.onMessageBox = [this](const MessageBoxRequest& request) {
        m_messages.push_back(request);
        if (m_answers.empty())
            return request.eButtons == EMessageButtons::Ok ? EMessageAnswer::Ok : EMessageAnswer::No;
        const EMessageAnswer answer = m_answers.front();
        m_answers.erase(m_answers.begin());
        return answer;
    };
    hooks.onShellOpen = [this](const std::string& strTarget) { m_shellOpens.push_back(strTarget); };
    hooks.onRunModal = [this](wxDialog& dialog) {
        if (m_runModal)
            return m_runModal(dialog);
        dialog.InitDialog();
        return static_cast<int>(wxID_OK);
    };
    hooks.onStartSockets = [] { return true; };
    hooks.onExecutablePath = [this] {
        return m_strExecutable.empty() ? wxStandardPaths::Get().GetExecutablePath().utf8_string() : m_strExecutable;
    };
    hooks.onShowHelp = [](const std::string&, int) { return true; };
    CToolkit::SetHooks(hooks);
}

void GuiTest::TearDown()
{
    if (m_pMain)
        CloseMain();
    CToolkit::ClearHooks();
    m_folder.Leave();
}

CMainDialog& GuiTest::OpenMain()
{
    m_pMain = std::make_unique<CMainDialog>();
    m_pMain->Show();  // showing a dialog sends it the opening step
    WaitFor([this] { return m_pMain->IsShownOnScreen(); }, 2000);
    return *m_pMain;
}

void GuiTest::CloseMain()
{
    m_pMain->Hide();
    m_pMain->OnDestroy();
    m_pMain.reset();
    wxYield();
}

void GuiTest::Click(const char* pszButton)
{
    wxCommandEvent event(wxEVT_BUTTON, XRCID(pszButton));
    event.SetEventObject(m_pMain->FindWindow(XRCID(pszButton)));
    m_pMain->ProcessWindowEvent(event);
}

void GuiTest::ClickList()
{
    wxCommandEvent event(vtEVT_LIST_CLICK, XRCID("IDC_LIST"));
    m_pMain->ProcessWindowEvent(event);
}

std::string GuiTest::ReadFile(const std::string& strName) const
{
    std::ifstream in(strName, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void GuiTest::WriteFile(const std::string& strName, const std::string& strBytes) const
{
    std::ofstream out(strName, std::ios::binary);
    out << strBytes;
}
