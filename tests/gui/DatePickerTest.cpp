// The Select button and the calendar dialog.
#include "tests/gui/GuiTest.h"

#include "app/MainDialog.h"
#include "entries/DateDialog.h"
#include "entries/LocalDate.h"

#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <cstdlib>
#include <ctime>

namespace
{
class DatePickerTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        const char* pszTz = std::getenv("TZ");
        m_strOldTz = pszTz ? pszTz : "";
        m_bHadTz = pszTz != nullptr;
        OpenMain();
    }
    void TearDown() override
    {
        if (m_bHadTz)
            setenv("TZ", m_strOldTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
        GuiTest::TearDown();
    }
    void SetZone(const char* pszZone)
    {
        setenv("TZ", pszZone, 1);
        tzset();
    }
    // The calendar is shown, the user picks a day and closes it with the given code.
    void PickOnClose(int nYear, wxDateTime::Month eMonth, int nDay, int nCode)
    {
        m_runModal = [=](wxDialog& dialog) {
            dialog.InitDialog();
            auto& date = dynamic_cast<CDateDialog&>(dialog);
            date.m_calendar->SetDate(wxDateTime(static_cast<wxDateTime::wxDateTime_t>(nDay), eMonth, nYear, 15, 47));
            return nCode;
        };
    }
    std::string DateShown()
    {
        return dynamic_cast<wxTextCtrl*>(m_pMain->FindWindow(XRCID("IDC_DATE")))->GetValue().utf8_string();
    }

    std::string m_strOldTz;
    bool m_bHadTz = false;
};
}  // namespace

TEST_F(DatePickerTest, ReturnAtOnceGivesToday)
{
    Click("IDC_SELECT_DATE");
    EXPECT_EQ(DateShown(), FormatLocalDay(std::time(nullptr)));
}

TEST_F(DatePickerTest, DayPickedIsWrittenWithTwoDigitMonthAndDay)
{
    const struct
    {
        int nYear;
        wxDateTime::Month eMonth;
        int nDay;
        const char* pszText;
    } days[] = {
        {2026, wxDateTime::Mar, 1, "2026-03-01"},
        {2026, wxDateTime::Dec, 25, "2026-12-25"},
        {1999, wxDateTime::Dec, 31, "1999-12-31"},
        {2040, wxDateTime::Feb, 29, "2040-02-29"},
        {2038, wxDateTime::Jan, 20, "2038-01-20"},
        {1970, wxDateTime::Jan, 1, "1970-01-01"},
    };
    // Zones with daylight saving, one of them changing at midnight.
    for (const char* pszZone : {"Europe/Berlin", "America/New_York", "America/Sao_Paulo", "UTC"})
    {
        SetZone(pszZone);
        for (const auto& day : days)
        {
            SCOPED_TRACE(std::string(pszZone) + " " + day.pszText);
            for (int nCode : {wxID_OK, wxID_CANCEL})  // Return and Esc alike
            {
                PickOnClose(day.nYear, day.eMonth, day.nDay, nCode);
                Click("IDC_SELECT_DATE");
                EXPECT_EQ(DateShown(), day.pszText);
            }
        }
    }
}

TEST_F(DatePickerTest, SelectKeepsTheOtherFields)
{
    dynamic_cast<wxTextCtrl*>(m_pMain->FindWindow(XRCID("IDC_DESCRIPTION")))->ChangeValue("typed");
    PickOnClose(2026, wxDateTime::Jul, 4, wxID_OK);
    Click("IDC_SELECT_DATE");
    EXPECT_EQ(DateShown(), "2026-07-04");
    m_pMain->PullFields();
    EXPECT_EQ(m_pMain->m_strDescription, "typed");
}

TEST_F(DatePickerTest, DialogUsesItsLayout)
{
    CDateDialog dialog(m_pMain.get());
    EXPECT_EQ(dialog.GetTitle(), "Date Selection");
    EXPECT_EQ(dialog.GetClientSize(), dialog.ConvertDialogToPixels(wxSize(186, 113)));
    EXPECT_EQ(dialog.FindWindow(wxID_OK)->GetLabel(), "Return");
    EXPECT_EQ(dialog.m_timeSelected, 0);
}

TEST_F(DatePickerTest, CalendarOpensAtTheFormsDateOrToday)
{
    const std::string strToday = FormatLocalDay(std::time(nullptr));
    const struct
    {
        const char* pszField;
        std::string strOpensAt;
    } cases[] = {
        {"2026-03-01", "2026-03-01"},
        {"1999-12-31", "1999-12-31"},
        {"2040-02-29", "2040-02-29"},
        {"", strToday},
        {"2026-02-30", strToday},
        {"next Monday", strToday},
    };
    SetZone("America/Sao_Paulo");  // a zone whose midnight is sometimes missing
    auto* pDate = dynamic_cast<wxTextCtrl*>(m_pMain->FindWindow(XRCID("IDC_DATE")));
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszField);
        pDate->ChangeValue(c.pszField);
        std::string strShownAtOpen;
        m_runModal = [&](wxDialog& dialog) {
            dialog.InitDialog();
            const wxDateTime day = dynamic_cast<CDateDialog&>(dialog).m_calendar->GetDate();
            strShownAtOpen = day.Format("%Y-%m-%d").utf8_string();
            return static_cast<int>(wxID_OK);
        };
        Click("IDC_SELECT_DATE");
        EXPECT_EQ(strShownAtOpen, c.strOpensAt);
        // Return at once keeps the day it opened at.
        EXPECT_EQ(DateShown(), c.strOpensAt);
    }
}
