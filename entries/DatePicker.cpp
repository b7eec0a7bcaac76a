// The Select button: the Date field takes the day picked in the calendar.
#include "app/MainDialog.h"

#include "app/Toolkit.h"
#include "entries/DateDialog.h"

#include <ctime>

std::string CMainDialog::PickDate()
{
    CDateDialog dialog(this);
    dialog.m_timeSelected = static_cast<TimeSeconds>(std::time(nullptr));
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
