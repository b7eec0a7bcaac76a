// The date picker dialog.
#include "entries/DateDialog.h"

#include "app/HelpViewer.h"

#include <wx/calctrl.h>
#include <wx/settings.h>
#include <wx/xrc/xmlres.h>

#include <stdexcept>

wxBEGIN_EVENT_TABLE(CDateDialog, wxDialog)
    EVT_CHAR_HOOK(CDateDialog::OnCharHook)
wxEND_EVENT_TABLE()

CDateDialog::CDateDialog(wxWindow* pOwner)
{
    if (!wxXmlResource::Get()->LoadDialog(this, pOwner, "IDD_DATE"))
        throw std::logic_error("the date dialog's layout IDD_DATE is missing");
    m_calendar = new wxGenericCalendarCtrl(this, wxID_ANY, wxDefaultDateTime, wxDefaultPosition,
                                           wxDefaultSize, wxCAL_SEQUENTIAL_MONTH_SELECTION);
    if (!wxXmlResource::Get()->AttachUnknownControl("IDC_CALENDAR", m_calendar, this))
        throw std::logic_error("the date dialog has no place for its calendar");
    // The desktop's colours rather than the control's own blue on grey.
    m_calendar->SetHeaderColours(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT),
                                 wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
}

bool CDateDialog::TransferDataToWindow()
{
    m_calendar->SetDate(wxDateTime(static_cast<time_t>(m_timeSelected)));
    // The calendar is first in tab order, so the arrow keys move its day from the start.
    m_calendar->SetFocus();
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
    if (RaiseHelpOnF1(*this, event))
        return;
    // The calendar takes every key for itself, Enter too; Enter is still the dialog's Return.
    const int nKey = event.GetKeyCode();
    if ((nKey == WXK_RETURN || nKey == WXK_NUMPAD_ENTER) && !event.HasAnyModifiers()
        && EmulateButtonClickIfPresent(wxID_OK))
        return;
    event.Skip();
}
