// The About box: the icon, the product's name and version, and OK.
#pragma once

#include <wx/dialog.h>

class wxKeyEvent;

class CAboutDialog : public wxDialog
{
public:
    // Owned by the main window, as every dialog of the tool is.
    CAboutDialog();
    ~CAboutDialog() override;

private:
    void OnCharHook(wxKeyEvent& event);

    wxDECLARE_EVENT_TABLE();
};
