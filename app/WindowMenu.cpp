// The main window's system commands: its window menu with the About item and the keys that open
// it, the About box, F1 and the Help button.
#include "app/MainDialog.h"

#include "app/AboutDialog.h"
#include "app/HelpViewer.h"
#include "app/Toolkit.h"
#include "res/ProductInfo.h"
#include "res/Resource.h"

#include <wx/intl.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>

namespace
{
// The system's keyboard command that opens the window menu (Alt+Space).
constexpr unsigned kSysKeyMenu = 0xF100;

// The low four bits of a system command are the system's own.
constexpr unsigned kSysCommandMask = 0xFFF0;

// Labels and frames have no context menu of their own: a right-click there is on the window.
bool IsFreeArea(const wxObject* pObject, const wxWindow* pWindow)
{
    return pObject == pWindow || dynamic_cast<const wxStaticText*>(pObject)
           || dynamic_cast<const wxStaticBox*>(pObject)
           || dynamic_cast<const wxStaticBitmap*>(pObject)
           || dynamic_cast<const wxStaticLine*>(pObject);
}
// Alt+Space, which window managers mostly keep for their own menu, and the desktop's keys for a
// context menu: the Menu key and Shift+F10. They open the window menu wherever the focus is.
bool OpensWindowMenu(const wxKeyEvent& event)
{
    const int nKey = event.GetKeyCode();
    const int nModifiers = event.GetModifiers();
    return (nKey == WXK_SPACE && nModifiers == wxMOD_ALT)
           || ((nKey == WXK_MENU || nKey == WXK_WINDOWS_MENU) && nModifiers == wxMOD_NONE)
           || (nKey == WXK_F10 && nModifiers == wxMOD_SHIFT);
}
}  // namespace

wxMenu* CMainDialog::GetSystemMenu()
{
    if (!m_pSystemMenu)
    {
        m_pSystemMenu = std::make_unique<wxMenu>();
        m_pSystemMenu->Append(IDM_UNDO, _("&Undo"));
        m_pSystemMenu->Append(IDM_REDO, _("&Redo"));
        m_pSystemMenu->AppendSeparator();
        m_pSystemMenu->Append(IDM_SYSCLOSE, _("&Close"));
        RefreshUndoItems();
    }
    return m_pSystemMenu.get();
}

void CMainDialog::AppendAboutItem()
{
    wxMenu* pMenu = GetSystemMenu();
    if (!pMenu)
        return;
    const std::string strAbout = LoadResourceString(IDS_ABOUTBOX);
    if (strAbout.empty())
        return;
    pMenu->AppendSeparator();
    pMenu->Append(IDM_ABOUTBOX, wxString::FromUTF8(strAbout));
}

void CMainDialog::OnSysCommand(unsigned nID, long)
{
    if ((nID & kSysCommandMask) == IDM_ABOUTBOX)
    {
        CAboutDialog dlgAbout;
        CToolkit::RunModal(dlgAbout);
        return;
    }
    // The default handling of the system's own commands.
    switch (nID & kSysCommandMask)
    {
    case IDM_SYSCLOSE:
        if (ConfirmClose())
            EndDialogRun(wxID_CANCEL);
        break;
    case kSysKeyMenu:
        ShowSystemMenu(wxDefaultPosition);
        break;
    default:
        break;
    }
}

void CMainDialog::OnSystemMenuItem(wxCommandEvent& event)
{
    OnSysCommand(static_cast<unsigned>(event.GetId()), 0);
}

void CMainDialog::OnContextMenu(wxContextMenuEvent& event)
{
    if (IsFreeArea(event.GetEventObject(), this))
        ShowSystemMenu(event.GetPosition());
    else
        event.Skip();
}

void CMainDialog::OnWindowKeys(wxKeyEvent& event)
{
    if (RaiseHelpOnF1(*this, event))
        return;
    if (OpensWindowMenu(event))
        OnSysCommand(kSysKeyMenu, ' ');
    else
        event.Skip();
}

void CMainDialog::ShowSystemMenu(const wxPoint& screenPos)
{
    wxMenu* pMenu = GetSystemMenu();
    if (!pMenu)
        return;
    // From the keyboard the menu drops from the window's top left corner, as a title bar's would.
    const wxPoint pos = screenPos == wxDefaultPosition ? wxPoint(0, 0) : ScreenToClient(screenPos);
    PopupMenu(pMenu, pos);
}

void CMainDialog::OnHelpPage(wxCommandEvent&)
{
    PullFields();
    CToolkit::ShellOpen(std::string(kWebAddress) + "help.htm");
    PushFields();
}
