// The application object: starts the socket layer, runs the main window, ends the program.
#pragma once

#include <wx/app.h>

class CDataFileLock;

class COvertimeApp : public wxApp
{
public:
    ~COvertimeApp() override;

    // Runs the whole program; always false, so no message loop of the toolkit's own follows.
    bool InitInstance();

    bool OnInit() override;
    int OnRun() override;

private:
    // One window per data file: false when another start has it open (this one then ends).
    bool TakeDataFileLock(CDataFileLock& lock);
    void OnHelp(wxCommandEvent& event);

    int m_nExitCode = 0;

    wxDECLARE_EVENT_TABLE();
};

wxDECLARE_APP(COvertimeApp);
