// The toolkit layer's real services, each replaceable by a test hook.
#include "app/Toolkit.h"

#include "app/HelpViewer.h"

#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/socket.h>
#include <wx/stdpaths.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include <gtk/gtk.h>

namespace
{
ToolkitHooks g_hooks;
wxWindow* g_pMainWindow = nullptr;
bool g_bEnding = false;

// GTK's native dialogs (the message boxes) run GTK's own loop, which wxWidgets' EndModal cannot end:
// a response ends it, as a click on the close box would.
bool RespondToNativeDialog(void* pWidget);

// Every modal dialog that is up, the innermost last: the tool's own, GTK's native message dialogs
// and any the toolkit opens by itself. Once the run is ending, none is shown any more.
class CModalTracker : public wxModalDialogHook
{
public:
    std::vector<wxDialog*> m_dialogs;

    // A dialog's loop can be told to end only while it is the innermost one, so the dialogs end one
    // after the other: each one as soon as the one above it has returned.
    void EndInnermost()
    {
        if (m_dialogs.empty())
            return;
        wxDialog* pDialog = m_dialogs.back();
        if (pDialog->IsModal())
            pDialog->EndModal(wxID_CANCEL);
        else
            RespondToNativeDialog(pDialog->GetHandle());
    }

protected:
    int Enter(wxDialog* pDialog) override
    {
        if (g_bEnding)
            return wxID_CANCEL;
        m_dialogs.push_back(pDialog);
        return wxID_NONE;
    }

    void Exit(wxDialog* pDialog) override
    {
        auto it = std::find(m_dialogs.rbegin(), m_dialogs.rend(), pDialog);
        if (it != m_dialogs.rend())
            m_dialogs.erase(std::next(it).base());
        if (g_bEnding)
            EndInnermost();
    }
};

CModalTracker& ModalTracker()
{
    static CModalTracker s_tracker;
    static const bool s_bRegistered = (s_tracker.Register(), true);
    (void)s_bRegistered;
    return s_tracker;
}

// A few calls of GTK's own where wxWidgets offers none. The toolkit is built on GTK and links it, so
// they are looked up in the running program rather than built against GTK's headers.
template <class TFunction>
TFunction GtkFunction(const char* pszName)
{
    void* pSymbol = dlsym(RTLD_DEFAULT, pszName);
    TFunction pfn = nullptr;
    static_assert(sizeof pfn == sizeof pSymbol, "function and object pointers differ in size");
    std::memcpy(&pfn, &pSymbol, sizeof pfn);
    return pfn;
}

const int kGtkResponseDeleteEvent = -4;  // GTK_RESPONSE_DELETE_EVENT: the window was closed

bool RespondToNativeDialog(void* pWidget)
{
    using FnType = size_t (*)();
    using FnIsA = int (*)(void*, size_t);
    using FnResponse = void (*)(void*, int);
    static const auto pfnDialogType = GtkFunction<FnType>("gtk_dialog_get_type");
    static const auto pfnIsA = GtkFunction<FnIsA>("g_type_check_instance_is_a");
    static const auto pfnResponse = GtkFunction<FnResponse>("gtk_dialog_response");
    if (!pWidget || !pfnDialogType || !pfnIsA || !pfnResponse || !pfnIsA(pWidget, pfnDialogType()))
        return false;
    pfnResponse(pWidget, kGtkResponseDeleteEvent);
    return true;
}

void WriteToStandardError(const std::string& strText)
{
    std::fprintf(stderr, "%s: %s\n", CToolkit::GetAppTitle().c_str(),
                 CToolkit::ToMessageText(strText).utf8_string().c_str());
    std::fflush(stderr);
}

// The combo box's own parts, internal ones included: the arrow is one of those.
void TakeArrowOutOfFocusChain(GtkWidget* pWidget, gpointer)
{
    if (GTK_IS_TOGGLE_BUTTON(pWidget))
        gtk_widget_set_can_focus(pWidget, FALSE);
    else if (GTK_IS_CONTAINER(pWidget))
        gtk_container_forall(GTK_CONTAINER(pWidget), TakeArrowOutOfFocusChain, nullptr);
}
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
    if (pWindow)
        ModalTracker();
    g_pMainWindow = pWindow;
}

wxWindow* CToolkit::GetMainWindow()
{
    return g_pMainWindow;
}

std::string CToolkit::GetExecutablePath()
{
    if (g_hooks.onExecutablePath)
        return g_hooks.onExecutablePath();
    return wxStandardPaths::Get().GetExecutablePath().utf8_string();
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
    const EMessageAnswer eDefault = request.eButtons == EMessageButtons::YesNo         ? EMessageAnswer::No
                                    : request.eButtons == EMessageButtons::YesNoCancel ? EMessageAnswer::Cancel
                                                                                       : EMessageAnswer::Ok;
    if (g_bEnding)
    {
        WriteToStandardError(request.strText);
        return eDefault;
    }
    if (g_hooks.onMessageBox)
        return g_hooks.onMessageBox(request);

    long nStyle = request.eButtons == EMessageButtons::YesNo         ? wxYES_NO
                  : request.eButtons == EMessageButtons::YesNoCancel ? wxYES_NO | wxCANCEL
                                                                     : wxOK;
    nStyle |= request.bExclamation ? wxICON_EXCLAMATION : wxICON_NONE;
    wxMessageDialog box(request.pOwner, ToMessageText(request.strText),
                        wxString::FromUTF8(request.strCaption), nStyle | wxCENTRE);
    switch (box.ShowModal())
    {
    case wxID_YES:
        return EMessageAnswer::Yes;
    case wxID_NO:
        return EMessageAnswer::No;
    default:  // Cancel, closed without an answer, or ended by a termination signal
        return eDefault;
    }
}

int CToolkit::RunModal(wxDialog& dialog)
{
    if (g_bEnding)
        return wxID_CANCEL;
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

void CToolkit::FreeFromModalRuns(wxTopLevelWindow& window)
{
    GtkWidget* pWidget = window.GetHandle();
    if (!pWidget || !GTK_IS_WINDOW(pWidget))
        return;
    GtkWindowGroup* pGroup = gtk_window_group_new();
    gtk_window_group_add_window(pGroup, GTK_WINDOW(pWidget));
    g_object_unref(pGroup);  // the window keeps its group alive
    // The window manager reads the group from the window's hints when it is mapped.
    gtk_widget_realize(pWidget);
    if (GdkWindow* pGdkWindow = gtk_widget_get_window(pWidget))
        gdk_window_set_group(pGdkWindow, pGdkWindow);
    // While a modal run is up, the toolkit answers a close request only for windows marked as
    // dialogs; the window's close box must keep working.
    window.SetExtraStyle(window.GetExtraStyle() | wxTOPLEVEL_EX_DIALOG);
}

void CToolkit::KeepArrowOutOfTabOrder(wxComboBox& combo)
{
    if (GtkWidget* pWidget = combo.GetHandle(); pWidget && GTK_IS_CONTAINER(pWidget))
        gtk_container_forall(GTK_CONTAINER(pWidget), TakeArrowOutOfFocusChain, nullptr);
}

bool CToolkit::StartSockets()
{
    if (g_hooks.onStartSockets)
        return g_hooks.onStartSockets();
    return wxSocketBase::Initialize();
}

void CToolkit::EndAllModal()
{
    BeginEnding();
    ModalTracker().EndInnermost();
}

void CToolkit::BeginEnding()
{
    g_bEnding = true;
}

bool CToolkit::IsEnding()
{
    return g_bEnding;
}

void CToolkit::ClosePopupMenu(wxMenu& menu)
{
    using FnPopdown = void (*)(void*);
    static const auto pfnPopdown = GtkFunction<FnPopdown>("gtk_menu_popdown");
    if (menu.m_popupShown && menu.m_menu && pfnPopdown)
        pfnPopdown(menu.m_menu);
}

void CToolkit::RaiseWindows()
{
    if (auto* pMain = dynamic_cast<wxTopLevelWindow*>(g_pMainWindow))
    {
        if (pMain->IsIconized())
            pMain->Iconize(false);
        pMain->Raise();
        // A desktop that keeps other programs from taking the focus shows the request instead.
        pMain->RequestUserAttention();
    }
    for (wxDialog* pDialog : ModalTracker().m_dialogs)
    {
        if (pDialog != g_pMainWindow && pDialog->GetHandle())
            pDialog->Raise();
    }
}

void CToolkit::SetHooks(ToolkitHooks hooks)
{
    g_hooks = std::move(hooks);
}

void CToolkit::ClearHooks()
{
    g_hooks = ToolkitHooks();
    g_bEnding = false;  // one test's signal does not end the next test's dialogs
}
