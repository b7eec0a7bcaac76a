// The date picker: a calendar that opens on a given day and gives back the day selected when it closes.
#pragma once

#include "entries/LocalDate.h"

#include <wx/calctrl.h>
#include <wx/generic/calctrlg.h>
#include <wx/dialog.h>


class CDateDialog : public wxDialog
{
public:
    explicit CDateDialog(wxWindow* pOwner);

    // Towards the calendar: it selects the local day of m_timeSelected and shows its month.
    bool TransferDataToWindow() override;
    // The destruction step: m_timeSelected takes the day selected at that moment, at its start.
    void OnDestroy();

    wxGenericCalendarCtrl* m_calendar = nullptr;
    TimeSeconds m_timeSelected = 0;

private:
    void OnCharHook(wxKeyEvent& event);

    wxDECLARE_EVENT_TABLE();
};
