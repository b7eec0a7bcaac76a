// Start-up of the tool.
#include "app/App.h"

#include "app/MainDialog.h"
#include "app/Toolkit.h"
#include "res/Resource.h"

#include <wx/xrc/xmlres.h>

void InitXmlResource();  // the compiled dialog layouts

wxBEGIN_EVENT_TABLE(COvertimeApp, wxApp)
    EVT_MENU(wxID_HELP, COvertimeApp::OnHelp)
wxEND_EVENT_TABLE()

COvertimeApp::~COvertimeApp() = default;

bool COvertimeApp::OnInit()
{
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
    dialog.DoModal();
    SetTopWindow(nullptr);
    m_nExitCode = 0;
    return false;
}

void COvertimeApp::OnHelp(wxCommandEvent&)
{
}
