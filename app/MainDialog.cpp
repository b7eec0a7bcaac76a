// The main window: its layout, field exchange, event table, opening and closing.
#include "app/MainDialog.h"

#include "app/IconPosition.h"
#include "app/Toolkit.h"
#include "app/Translations.h"
#include "entries/EntryListCtrl.h"
#include "report/Duration.h"
#include "res/Icon.h"
#include "res/Resource.h"

#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/intl.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <stdexcept>

wxBEGIN_EVENT_TABLE(CMainDialog, wxDialog)
    EVT_INIT_DIALOG(CMainDialog::OnInitDialogEvent)
    EVT_PAINT(CMainDialog::OnPaint)
    EVT_CLOSE(CMainDialog::OnCloseWindow)
    EVT_CHAR_HOOK(CMainDialog::OnCharHook)
    EVT_CHAR_HOOK(CMainDialog::OnWindowKeys)  // F1 and the window menu's keys, after OnCharHook skips them
    EVT_CONTEXT_MENU(CMainDialog::OnContextMenu)
    EVT_MENU(IDM_ABOUTBOX, CMainDialog::OnSystemMenuItem)
    EVT_MENU(IDM_SYSCLOSE, CMainDialog::OnSystemMenuItem)
    EVT_MENU(IDM_UNDO, CMainDialog::OnUndoItem)
    EVT_MENU(IDM_REDO, CMainDialog::OnRedoItem)
    EVT_BUTTON(wxID_OK, CMainDialog::OnOK)
    EVT_BUTTON(XRCID("IDC_ADD"), CMainDialog::OnAdd)
    EVT_BUTTON(XRCID("IDC_DELETE"), CMainDialog::OnDelete)
    EVT_BUTTON(XRCID("IDC_UPDATE"), CMainDialog::OnUpdate)
    EVT_BUTTON(XRCID("IDC_CLEAR"), CMainDialog::OnClear)
    EVT_BUTTON(XRCID("IDC_REPORT"), CMainDialog::OnReport)
    EVT_BUTTON(XRCID("IDC_HELP_PAGE"), CMainDialog::OnHelpPage)
    EVT_BUTTON(XRCID("IDC_SELECT_DATE"), CMainDialog::OnSelectDate)
    EVT_COMMAND(XRCID("IDC_LIST"), vtEVT_LIST_CLICK, CMainDialog::OnClickList)
    EVT_COMMAND(XRCID("IDC_LIST"), vtEVT_LIST_MARK, CMainDialog::OnMarkList)
wxEND_EVENT_TABLE()

namespace
{
// The template's size in dialog units: the window's client area when it opens, and its least.
const wxSize kTemplateSize(312, 147);

// The template's creation order, which is the tab order.
const char* const kTabOrder[] = {
    "wxID_OK",          "IDC_LIST",    "IDC_SELECT_DATE", "IDC_DATE_LABEL",        "IDC_DATE",
    "IDC_OT_LABEL",     "IDC_OVERTIME", "IDC_DESCRIPTION_LABEL", "IDC_DESCRIPTION", "IDC_ADD",
    "IDC_DELETE",       "IDC_UPDATE",  "IDC_CLEAR",       "IDC_TITLE_LINE",        "IDC_HELP_PAGE",
    "IDC_REPORT",       "IDC_STATUS_LINE",
};

template <class T>
T* FindControl(wxWindow* pParent, const char* pszName)
{
    T* pControl = dynamic_cast<T*>(pParent->FindWindow(XRCID(pszName)));
    if (!pControl)
        throw std::logic_error(std::string("the main window has no control ") + pszName);
    return pControl;
}
}  // namespace

CMainDialog::CMainDialog() : m_hIcon(LoadMainIcon())
{
    if (!wxXmlResource::Get()->LoadDialog(this, nullptr, "IDD_MAIN"))
        throw std::logic_error("the main window's layout IDD_MAIN is missing");
    FitLabelsToTexts(*this);
    m_pDescription = FindControl<wxTextCtrl>(this, "IDC_DESCRIPTION");
    m_pDate = FindControl<wxTextCtrl>(this, "IDC_DATE");
    m_pOvertime = FindControl<wxComboBox>(this, "IDC_OVERTIME");
    m_pStatusLine = FindControl<wxStaticText>(this, "IDC_STATUS_LINE");
    // The template's tab order has one stop for the OT field, not one more for its arrow.
    CToolkit::KeepArrowOutOfTabOrder(*m_pOvertime);
    FindControl<CEntryListCtrl>(this, "IDC_LIST");
    wxWindow* pPrevious = nullptr;
    for (const char* pszName : kTabOrder)
    {
        wxWindow* pControl = FindControl<wxWindow>(this, pszName);
        if (pPrevious)
            pControl->MoveAfterInTabOrder(pPrevious);
        pPrevious = pControl;
    }
    // The template gives the client area, as dialog templates do, and it is the least size; the
    // frame comes on top of it.
    wxSize least = ConvertDialogToPixels(kTemplateSize);
    least.IncTo(GetSizer()->GetMinSize());
    SetMinClientSize(least);
    SetClientSize(least);
    CToolkit::SetMainWindow(this);
}

CMainDialog::~CMainDialog()
{
    if (CToolkit::GetMainWindow() == this)
        CToolkit::SetMainWindow(nullptr);
}

int CMainDialog::DoModal()
{
    const int nResult = CToolkit::RunModal(*this);
    Hide();
    OnDestroy();
    return nResult;
}

void CMainDialog::PullFields()
{
    m_strDescription = m_pDescription->GetValue().utf8_string();
    m_strDate = m_pDate->GetValue().utf8_string();
    m_strOvertime = m_pOvertime->GetValue().utf8_string();
}

void CMainDialog::PushFields()
{
    m_pDescription->ChangeValue(wxString::FromUTF8(m_strDescription));
    m_pDate->ChangeValue(wxString::FromUTF8(m_strDate));

    // The OT field shows the first list item that the text begins, letters compared without case.
    const wxString overtime = wxString::FromUTF8(m_strOvertime).Lower();
    if (!overtime.empty())
    {
        const unsigned nItems = m_pOvertime->GetCount();
        for (unsigned i = 0; i < nItems; ++i)
        {
            if (m_pOvertime->GetString(i).Lower().StartsWith(overtime))
            {
                m_pOvertime->SetSelection(static_cast<int>(i));
                m_pOvertime->ChangeValue(m_pOvertime->GetString(i));
                return;
            }
        }
    }
    m_pOvertime->ChangeValue(wxString::FromUTF8(m_strOvertime));
}

void CMainDialog::RefreshRowCount()
{
    PullFields();
    m_nRowCount = m_listEntries.GetRowCount();
    PushFields();
}

void CMainDialog::ReverseRows()
{
    PullFields();
    m_nRowCount = m_listEntries.GetRowCount();
    for (int j = 0; j < m_nRowCount / 2; ++j)
    {
        const int k = m_nRowCount - 1 - j;
        std::string strTemp[CEntryTable::COLUMN_COUNT];
        for (int nColumn = 0; nColumn < CEntryTable::COLUMN_COUNT; ++nColumn)
            strTemp[nColumn] = m_listEntries.GetCellText(k, nColumn);
        for (int nColumn = 0; nColumn < CEntryTable::COLUMN_COUNT; ++nColumn)
            m_listEntries.SetCellText(k, nColumn, m_listEntries.GetCellText(j, nColumn));
        for (int nColumn = 0; nColumn < CEntryTable::COLUMN_COUNT; ++nColumn)
            m_listEntries.SetCellText(j, nColumn, strTemp[nColumn]);
    }
    PushFields();
}

void CMainDialog::OnInitDialogEvent(wxInitDialogEvent&)
{
    OnInitDialog();
}

bool CMainDialog::OnInitDialog()
{
    // The first exchange attaches the table to its list; later ones leave it alone.
    if (!m_listEntries.IsAttached())
        m_listEntries.Attach(FindControl<CEntryListCtrl>(this, "IDC_LIST"));
    PushFields();
    AppendAboutItem();
    SetIcons(LoadMainIconBundle());
    m_listEntries.SetUpColumns();
    m_listEntries.SetOnChange([this] { ShowLogSummary(); });
    ShowLogSummary();
    LoadEntries();
    // The first control in tab order takes the focus, as a dialog's opening gives it.
    FindWindow(wxID_OK)->SetFocus();
    return true;
}

void CMainDialog::ShowLogSummary()
{
    // The count and the report's total (#VALUE#), which the table keeps as rows change.
    const int nRows = m_listEntries.GetRowCount();
    const wxString total = wxString::FromUTF8(FormatDuration(m_listEntries.GetTotalMinutes()));
    m_pStatusLine->SetLabel(
        wxString::Format(wxPLURAL("%d entry, total %s", "%d entries, total %s", nRows), nRows, total));
}

void CMainDialog::OnDestroy()
{
    if (m_bDestroyed)
        return;
    m_bDestroyed = true;
    SaveEntries();
}

void CMainDialog::EndDialogRun(int nCode)
{
    if (IsModal())
        EndModal(nCode);
    else
    {
        SetReturnCode(nCode);
        Hide();
    }
}

void CMainDialog::EndOnSignal()
{
    // A second signal finds the close under way.
    if (m_bEndingOnSignal)
        return;
    m_bEndingOnSignal = true;
    // Whatever the save has to tell goes to standard error from here on.
    CToolkit::BeginEnding();
    SaveTable();
    if (m_pSystemMenu)
        CToolkit::ClosePopupMenu(*m_pSystemMenu);
    // The main window's run is one of them; it ends last, when the dialogs over it have returned.
    CToolkit::EndAllModal();
    if (!IsModal())
        EndDialogRun(wxID_CANCEL);
}

void CMainDialog::OnOK(wxCommandEvent&)
{
    PullFields();
    if (ConfirmClose())
        EndDialogRun(wxID_OK);
}

void CMainDialog::OnCharHook(wxKeyEvent& event)
{
    // The window's own keys come before its controls': GTK 3's entry fields have no undo of their
    // own, so Ctrl+Z always means the table's.
    const int nKey = event.GetKeyCode();
    const int nModifiers = event.GetModifiers();
    // Esc is the Cancel command: it ends the run without a pull.
    if (nKey == WXK_ESCAPE && !event.HasAnyModifiers())
    {
        if (ConfirmClose())
            EndDialogRun(wxID_CANCEL);
    }
    else if (nKey == 'Z' && nModifiers == wxMOD_CONTROL)
        UndoLastChange();
    else if ((nKey == 'Z' && nModifiers == (wxMOD_CONTROL | wxMOD_SHIFT)) ||
             (nKey == 'Y' && nModifiers == wxMOD_CONTROL))
        RedoLastChange();
    else
        event.Skip();
}

void CMainDialog::OnCloseWindow(wxCloseEvent&)
{
    OnSysCommand(IDM_SYSCLOSE, 0);
}

void CMainDialog::OnPaint(wxPaintEvent& event)
{
    if (!IsIconized())
    {
        event.Skip();
        return;
    }
    wxPaintDC dc(this);
    dc.SetBackground(GetBackgroundColour());
    dc.Clear();
    const wxSize client = GetClientSize();
    const IconPosition pos = CentreIcon(client.GetWidth(), client.GetHeight(),
                                        wxSystemSettings::GetMetric(wxSYS_ICON_X, this),
                                        wxSystemSettings::GetMetric(wxSYS_ICON_Y, this));
    dc.DrawIcon(m_hIcon, pos.x, pos.y);
}
