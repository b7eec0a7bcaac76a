// Start-up of the tool.
#include "app/App.h"

#include "app/HelpViewer.h"
#include "app/MainDialog.h"
#include "app/Toolkit.h"
#include "res/Resource.h"

#include <wx/timer.h>
#include <wx/xrc/xmlres.h>

#include <csignal>
#include <cstdlib>

void InitXmlResource();  // the compiled dialog layouts

wxBEGIN_EVENT_TABLE(COvertimeApp, wxApp)
    EVT_MENU(wxID_HELP, COvertimeApp::OnHelp)
wxEND_EVENT_TABLE()

COvertimeApp::~COvertimeApp() = default;

namespace
{
CMainDialog* g_pRunningDialog = nullptr;

// The desktop ends a session with a signal, not with an event: the table must be on disk before the
// process goes. If a nested loop keeps the window from closing, the process leaves on its own.
void OnTerminationSignal(int)
{
    // Outside the main window's run there is no table to keep.
    if (!g_pRunningDialog)
        std::_Exit(0);
    g_pRunningDialog->EndOnSignal();
    // Made once and never destroyed: it may fire while the toolkit is going down.
    static wxTimer* s_pWatchdog = [] {
        auto* pTimer = new wxTimer();
        pTimer->Bind(wxEVT_TIMER, [](wxTimerEvent&) { std::_Exit(0); });
        return pTimer;
    }();
    s_pWatchdog->StartOnce(3000);
}
}  // namespace

bool COvertimeApp::OnInit()
{
    for (int nSignal : {SIGTERM, SIGINT, SIGHUP})
        SetSignalHandler(nSignal, OnTerminationSignal);
    InitInstance();
    return true;
}

int COvertimeApp::OnRun()
{
    // The main window ran modally inside start-up; there is nothing left for a message loop to do.
    return m_nExitCode;
}

bool COvertimeApp::InitInstance()
{
    if (!CToolkit::StartSockets())
    {
        CToolkit::AppMessageBox(LoadResourceString(IDS_SOCKETS_INIT_FAILED));
        m_nExitCode = 1;
        return false;
    }

    wxXmlResource::Get()->InitAllHandlers();
    InitXmlResource();

    CMainDialog dialog;
    SetTopWindow(&dialog);
    g_pRunningDialog = &dialog;
    dialog.DoModal();
    g_pRunningDialog = nullptr;
    SetTopWindow(nullptr);
    m_nExitCode = 0;
    return false;
}

// F1 in any of the tool's dialogs: the help file at the context of the dialog that raised it.
void COvertimeApp::OnHelp(wxCommandEvent& event)
{
    LaunchHelp(dynamic_cast<wxWindow*>(event.GetEventObject()));
}
