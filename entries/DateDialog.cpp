// The date picker dialog.
#include "entries/DateDialog.h"

#include "app/HelpViewer.h"

#include <wx/calctrl.h>
#include <wx/xrc/xmlres.h>

#include <stdexcept>

wxBEGIN_EVENT_TABLE(CDateDialog, wxDialog)
    EVT_CHAR_HOOK(CDateDialog::OnCharHook)
wxEND_EVENT_TABLE()

CDateDialog::CDateDialog(wxWindow* pOwner)
{
    if (!wxXmlResource::Get()->LoadDialog(this, pOwner, "IDD_DATE"))
        throw std::logic_error("the date dialog's layout IDD_DATE is missing");
    SetClientSize(GetSize());
    m_calendar = dynamic_cast<wxCalendarCtrl*>(FindWindow(XRCID("IDC_CALENDAR")));
    if (!m_calendar)
        throw std::logic_error("the date dialog has no calendar");
}

bool CDateDialog::TransferDataToWindow()
{
    m_calendar->SetDate(wxDateTime(static_cast<time_t>(m_timeSelected)));
    return true;
}

void CDateDialog::OnDestroy()
{
    const wxDateTime day = m_calendar->GetDate();
    if (day.IsValid())
        m_timeSelected = LocalDayStart(day.GetYear(), day.GetMonth() - wxDateTime::Jan + 1, day.GetDay());
}

void CDateDialog::OnCharHook(wxKeyEvent& event)
{
    // F1 asks for the help at this dialog's own context, as in the other dialogs.
    if (!RaiseHelpOnF1(*this, event))
        event.Skip();
}
