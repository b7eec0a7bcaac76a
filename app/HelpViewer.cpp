// F1 help: the help file's path and context, the Help command, and the help viewer window.
#include "app/HelpViewer.h"

#include "app/Toolkit.h"
#include "app/Translations.h"
#include "app/ViewerPlacement.h"
#include "res/Icon.h"
#include "res/Resource.h"

#include <wx/display.h>
#include <wx/html/htmlwin.h>
#include <wx/sizer.h>
#include <wx/stdpaths.h>

#include <cstdio>

namespace
{
constexpr int kHelpContextBase = 0x20000;

CHelpViewer* g_pViewer = nullptr;

// The whole file, or false when it cannot be opened or read (a folder, say).
bool ReadWholeFile(const std::string& strPath, std::string& strBytes)
{
    std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
    if (!pFile)
        return false;
    strBytes.clear();
    char buffer[8192];
    size_t nRead;
    while ((nRead = std::fread(buffer, 1, sizeof buffer, pFile)) > 0)
        strBytes.append(buffer, nRead);
    const bool bOk = !std::ferror(pFile);
    std::fclose(pFile);
    return bOk;
}

// The dialogs are loaded from their layouts, which name them after their templates.
int TemplateNumberOf(const wxWindow& window)
{
    const wxString name = window.GetName();
    if (name == "IDD_ABOUTBOX")
        return IDD_ABOUTBOX;
    if (name == "IDD_DATE")
        return IDD_DATE;
    return IDD_MAIN;
}
}  // namespace

std::string HelpFilePath(const std::string& strExecutable)
{
    const size_t nNameStart = strExecutable.rfind('/') == std::string::npos
                                  ? 0
                                  : strExecutable.rfind('/') + 1;
    const size_t nDot = strExecutable.rfind('.');
    // A dot that begins the name ("/opt/.vantrell") marks a hidden file, not an extension.
    if (nDot == std::string::npos || nDot <= nNameStart)
        return strExecutable + ".HLP";
    return strExecutable.substr(0, nDot) + ".HLP";
}

int HelpContextOf(const wxWindow* pWindow)
{
    const wxWindow* pTop = pWindow ? wxGetTopLevelParent(const_cast<wxWindow*>(pWindow)) : nullptr;
    return kHelpContextBase + (pTop ? TemplateNumberOf(*pTop) : IDD_MAIN);
}

std::string HelpAnchor(int nContext)
{
    char szAnchor[16];
    std::snprintf(szAnchor, sizeof szAnchor, "0x%x", static_cast<unsigned>(nContext));
    return szAnchor;
}

bool RaiseHelpOnF1(wxWindow& window, const wxKeyEvent& event)
{
    if (event.GetKeyCode() != WXK_F1 || event.HasAnyModifiers())
        return false;
    // A command event climbs from the dialog to the application, whose event table answers it.
    wxCommandEvent help(wxEVT_MENU, wxID_HELP);
    help.SetEventObject(&window);
    window.GetEventHandler()->ProcessEvent(help);
    return true;
}

void LaunchHelp(const wxWindow* pFrom)
{
    const std::string strFile =
        LocalizedHelpFile(HelpFilePath(wxStandardPaths::Get().GetExecutablePath().utf8_string()));
    if (!CToolkit::ShowHelp(strFile, HelpContextOf(pFrom)))
        CToolkit::AppMessageBox(_("Failed to launch help.").utf8_string());
}

wxBEGIN_EVENT_TABLE(CHelpViewer, wxFrame)
    EVT_HTML_LINK_CLICKED(wxID_ANY, CHelpViewer::OnLinkClicked)
    EVT_CHAR_HOOK(CHelpViewer::OnCharHook)
    EVT_CLOSE(CHelpViewer::OnClose)
wxEND_EVENT_TABLE()

bool CHelpViewer::Open(const std::string& strHelpFile, int nContext)
{
    std::string strBytes;
    if (!ReadWholeFile(strHelpFile, strBytes))
        return false;
    if (!g_pViewer)
    {
        g_pViewer = new CHelpViewer();
        g_pViewer->PlaceBesideMainWindow();
    }
    if (g_pViewer->IsIconized())
        g_pViewer->Iconize(false);
    g_pViewer->Show();
    g_pViewer->ShowPage(strBytes, nContext);
    g_pViewer->Raise();
    // The keys that scroll and close go to the page.
    g_pViewer->m_pHtml->SetFocus();
    return true;
}

CHelpViewer* CHelpViewer::Find()
{
    return g_pViewer;
}

CHelpViewer::CHelpViewer()
    : wxFrame(nullptr, wxID_ANY, _("Vantrell Help"), wxDefaultPosition, wxSize(560, 520))
{
    SetIcons(LoadMainIconBundle());
    m_pHtml = new wxHtmlWindow(this, wxID_ANY);
    auto* pSizer = new wxBoxSizer(wxVERTICAL);
    pSizer->Add(m_pHtml, 1, wxEXPAND);
    SetSizer(pSizer);
    Layout();
    // The main window runs modally for the whole session; the viewer must not wait for it.
    CToolkit::FreeFromModalRuns(*this);
}

void CHelpViewer::PlaceBesideMainWindow()
{
    const wxWindow* pMain = CToolkit::GetMainWindow();
    if (!pMain || !pMain->IsShown())
    {
        Centre();
        return;
    }
    const wxRect owner = pMain->GetScreenRect();
    const int nDisplay = wxDisplay::GetFromWindow(pMain);
    const unsigned nIndex = nDisplay == wxNOT_FOUND ? 0u : static_cast<unsigned>(nDisplay);
    const wxRect area = wxDisplay(nIndex).GetClientArea();
    const wxSize size = GetSize();
    const ScreenRect frame = PlaceBeside({owner.x, owner.y, owner.width, owner.height}, size.x, size.y,
                                         {area.x, area.y, area.width, area.height});
    SetSize(frame.x, frame.y, frame.nWidth, frame.nHeight);
}

// Esc and Ctrl+W close the viewer as its close box does; every other key is the page's.
void CHelpViewer::OnCharHook(wxKeyEvent& event)
{
    const bool bEscape = event.GetKeyCode() == WXK_ESCAPE && !event.HasAnyModifiers();
    const bool bCtrlW = event.GetKeyCode() == 'W' && event.GetModifiers() == wxMOD_CONTROL;
    if (bEscape || bCtrlW)
        Close();
    else
        event.Skip();
}

void CHelpViewer::OnClose(wxCloseEvent&)
{
    // Forgotten at once: F1 before the deferred destruction opens a new viewer.
    if (g_pViewer == this)
        g_pViewer = nullptr;
    Destroy();
}

// Links inside the file jump to its anchors; any other address goes to the browser, since the
// viewer shows this one file and fetches nothing.
void CHelpViewer::OnLinkClicked(wxHtmlLinkEvent& event)
{
    const wxString href = event.GetLinkInfo().GetHref();
    if (href.StartsWith("#"))
        m_pHtml->LoadPage(href);
    else
        CToolkit::ShellOpen(href.utf8_string());
}

CHelpViewer::~CHelpViewer()
{
    if (g_pViewer == this)
        g_pViewer = nullptr;
}

void CHelpViewer::ShowPage(const std::string& strHtml, int nContext)
{
    wxString page = wxString::FromUTF8(strHtml);
    if (page.empty() && !strHtml.empty())
        page = wxString::From8BitData(strHtml.data(), strHtml.size());
    Layout();
    m_pHtml->SetPage(page);
    // A file without the anchor still shows, from its top, even in a reused window.
    m_pHtml->Scroll(0, 0);
    m_pHtml->LoadPage("#" + wxString::FromUTF8(HelpAnchor(nContext)));
}
