// The toolkit layer's real services, each replaceable by a test hook.
#include "app/Toolkit.h"

#include "app/HelpViewer.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/socket.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

namespace
{
ToolkitHooks g_hooks;
wxWindow* g_pMainWindow = nullptr;

}  // namespace

// Message texts are written with CR LF line breaks; GTK would show the CR as a stray glyph.
wxString CToolkit::ToMessageText(const std::string& strText)
{
    std::string strLines;
    strLines.reserve(strText.size());
    for (size_t i = 0; i < strText.size(); ++i)
    {
        if (strText[i] == '\r' && i + 1 < strText.size() && strText[i + 1] == '\n')
            continue;
        strLines += strText[i];
    }
    return wxString::FromUTF8(strLines);
}

void CToolkit::SetMainWindow(wxWindow* pWindow)
{
    g_pMainWindow = pWindow;
}

wxWindow* CToolkit::GetMainWindow()
{
    return g_pMainWindow;
}

std::string CToolkit::GetAppTitle()
{
    wxFileName exe(wxStandardPaths::Get().GetExecutablePath());
    return exe.GetName().utf8_string();
}

void CToolkit::MainMessageBox(wxWindow* pOwner, const std::string& strText,
                              const std::string& strCaption)
{
    MessageBoxRequest request;
    request.strText = strText;
    request.strCaption = strCaption;
    request.pOwner = pOwner;
    ShowMessage(request);
}

EMessageAnswer CToolkit::AppMessageBox(const std::string& strText, EMessageButtons eButtons)
{
    MessageBoxRequest request;
    request.strText = strText;
    request.strCaption = GetAppTitle();
    request.eButtons = eButtons;
    request.bExclamation = true;
    request.pOwner = g_pMainWindow;
    return ShowMessage(request);
}

EMessageAnswer CToolkit::ShowMessage(const MessageBoxRequest& request)
{
    if (g_hooks.onMessageBox)
        return g_hooks.onMessageBox(request);

    long nStyle = request.eButtons == EMessageButtons::YesNo ? wxYES_NO : wxOK;
    nStyle |= request.bExclamation ? wxICON_EXCLAMATION : wxICON_NONE;
    wxMessageDialog box(request.pOwner, ToMessageText(request.strText),
                        wxString::FromUTF8(request.strCaption), nStyle | wxCENTRE);
    switch (box.ShowModal())
    {
    case wxID_YES:
        return EMessageAnswer::Yes;
    case wxID_NO:
        return EMessageAnswer::No;
    default:
        return EMessageAnswer::Ok;
    }
}

int CToolkit::RunModal(wxDialog& dialog)
{
    if (g_hooks.onRunModal)
        return g_hooks.onRunModal(dialog);
    return dialog.ShowModal();
}

void CToolkit::ShellOpen(const std::string& strTarget)
{
    if (g_hooks.onShellOpen)
    {
        g_hooks.onShellOpen(strTarget);
        return;
    }
    const wxString target = wxString::FromUTF8(strTarget);
    if (target.StartsWith("http://") || target.StartsWith("https://"))
        wxLaunchDefaultBrowser(target);
    else
        wxLaunchDefaultApplication(target);
}

bool CToolkit::ShowHelp(const std::string& strHelpFile, int nContext)
{
    if (g_hooks.onShowHelp)
        return g_hooks.onShowHelp(strHelpFile, nContext);
    return CHelpViewer::Open(strHelpFile, nContext);
}

bool CToolkit::StartSockets()
{
    if (g_hooks.onStartSockets)
        return g_hooks.onStartSockets();
    return wxSocketBase::Initialize();
}

void CToolkit::SetHooks(ToolkitHooks hooks)
{
    g_hooks = std::move(hooks);
}

void CToolkit::ClearHooks()
{
    g_hooks = ToolkitHooks();
}
