// The About box, IDD_ABOUTBOX. OK, Enter, Esc and the close box are the base dialog's own.
#include "app/AboutDialog.h"

#include "app/HelpViewer.h"
#include "app/Toolkit.h"
#include "res/Icon.h"

#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include <stdexcept>

wxBEGIN_EVENT_TABLE(CAboutDialog, wxDialog)
    EVT_CHAR_HOOK(CAboutDialog::OnCharHook)
wxEND_EVENT_TABLE()

CAboutDialog::CAboutDialog()
{
    if (!wxXmlResource::Get()->LoadDialog(this, CToolkit::GetMainWindow(), "IDD_ABOUTBOX"))
        throw std::logic_error("the About box's layout IDD_ABOUTBOX is missing");
    CentreOnParent();

    auto* pIcon = dynamic_cast<wxStaticBitmap*>(FindWindow(XRCID("IDC_ABOUT_ICON")));
    auto* pVersion = dynamic_cast<wxStaticText*>(FindWindow(XRCID("IDC_ABOUT_VERSION")));
    if (!pIcon || !pVersion || !FindWindow(wxID_OK))
        throw std::logic_error("the About box's layout lacks a control");
    pIcon->SetIcon(LoadMainIcon());
    // The text is shown as written: an ampersand in it is no access key.
    pVersion->SetLabelText(pVersion->GetLabel());
}

CAboutDialog::~CAboutDialog() = default;

void CAboutDialog::OnCharHook(wxKeyEvent& event)
{
    if (!RaiseHelpOnF1(*this, event))
        event.Skip();
}
