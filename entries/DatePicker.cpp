// The Select button: the Date field takes the day picked in the calendar.
#include "app/MainDialog.h"

#include "app/Toolkit.h"
#include "entries/DateDialog.h"

#include <ctime>

std::string CMainDialog::PickDate()
{
    CDateDialog dialog(this);
    // The calendar opens at the form's day, when the Date field holds one, and at today otherwise.
    const std::optional<CalendarDay> day = ParseLocalDay(m_strDate);
    dialog.m_timeSelected = day ? LocalDayStart(day->nYear, day->nMonth, day->nDay)
                                : static_cast<TimeSeconds>(std::time(nullptr));
    CToolkit::RunModal(dialog);
    // However it was closed, the day selected at that moment is the answer.
    dialog.OnDestroy();
    return FormatLocalDay(dialog.m_timeSelected);
}

void CMainDialog::OnSelectDate(wxCommandEvent&)
{
    PullFields();
    m_strDate = PickDate();
    PushFields();
}
