// The window in German: run by the gui_de test, under LC_ALL=de_DE.UTF-8, as a German desktop starts
// the tool. Texts, messages and the calendar follow the locale; the data file and the report do not.
#include "tests/gui/GuiTest.h"

#include "app/MainDialog.h"
#include "app/Translations.h"
#include "entries/DateDialog.h"
#include "entries/EntryListCtrl.h"
#include "res/Resource.h"

#include <wx/calctrl.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/translation.h>
#include <wx/uiaction.h>
#include <wx/xrc/xmlres.h>

#include <gtk/gtk.h>

#include <ctime>

namespace
{
void CollectLabels(GtkWidget* pWidget, gpointer pTexts)
{
    if (GTK_IS_LABEL(pWidget))
        static_cast<std::vector<std::string>*>(pTexts)->push_back(gtk_label_get_text(GTK_LABEL(pWidget)));
    else if (GTK_IS_CONTAINER(pWidget))
        gtk_container_forall(GTK_CONTAINER(pWidget), CollectLabels, pTexts);
}

// The texts shown on the buttons of the native message box that is up, which is then answered No.
std::vector<std::string> AnswerMessageBoxNo()
{
    std::vector<std::string> texts;
    GList* pWindows = gtk_window_list_toplevels();
    for (GList* p = pWindows; p; p = p->next)
    {
        if (!GTK_IS_MESSAGE_DIALOG(p->data) || !gtk_widget_get_visible(GTK_WIDGET(p->data)))
            continue;
        GtkDialog* pDialog = GTK_DIALOG(p->data);
        for (int nResponse : {GTK_RESPONSE_YES, GTK_RESPONSE_NO})
            if (GtkWidget* pButton = gtk_dialog_get_widget_for_response(pDialog, nResponse))
                CollectLabels(pButton, &texts);
        gtk_dialog_response(pDialog, GTK_RESPONSE_NO);
    }
    g_list_free(pWindows);
    return texts;
}

class GermanLocaleTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        wxTranslations* pTranslations = wxTranslations::Get();
        if (!pTranslations || pTranslations->GetBestTranslation("vantrell") != "de")
            GTEST_SKIP() << "the gui_de test runs these under LC_ALL=de_DE.UTF-8";
    }

    wxString Label(const char* pszName) { return m_pMain->FindWindow(XRCID(pszName))->GetLabel(); }

    void Type(const std::string& strDescription, const std::string& strDate, const std::string& strOvertime)
    {
        Text("IDC_DESCRIPTION")->ChangeValue(wxString::FromUTF8(strDescription));
        Text("IDC_DATE")->ChangeValue(wxString::FromUTF8(strDate));
        dynamic_cast<wxComboBox*>(m_pMain->FindWindow(XRCID("IDC_OVERTIME")))
            ->ChangeValue(wxString::FromUTF8(strOvertime));
    }
    wxTextCtrl* Text(const char* pszName)
    {
        return dynamic_cast<wxTextCtrl*>(m_pMain->FindWindow(XRCID(pszName)));
    }

    // The first day of the calendar's weeks: the day named at the left of its header row.
    static wxDateTime::WeekDay FirstDayOfTheWeek(wxCalendarCtrlBase& calendar)
    {
        const wxSize size = calendar.GetClientSize();
        for (int y = 0; y < size.GetHeight(); ++y)
        {
            wxDateTime::WeekDay day = wxDateTime::Inv_WeekDay;
            if (calendar.HitTest(wxPoint(4, y), nullptr, &day) == wxCAL_HITTEST_HEADER)
                return day;
        }
        return wxDateTime::Inv_WeekDay;
    }
};
}  // namespace

TEST_F(GermanLocaleTest, ButtonsLabelsAndColumnsAreGerman)
{
    OpenMain();
    const std::vector<std::pair<const char*, const char*>> labels = {
        {"wxID_OK", "Beenden"},        {"IDC_ADD", "Hinzufügen"},     {"IDC_DELETE", "Löschen"},
        {"IDC_UPDATE", "Ändern"},      {"IDC_CLEAR", "Leeren"},       {"IDC_REPORT", "Bericht"},
        {"IDC_HELP_PAGE", "Hilfe"},    {"IDC_SELECT_DATE", "Auswählen"},
    };
    for (const auto& [pszName, pszGerman] : labels)
    {
        SCOPED_TRACE(pszName);
        EXPECT_EQ(Label(pszName).utf8_string(), pszGerman);
    }
    // The drop-down's durations are stored as picked: they are never translated.
    auto* pOvertime = dynamic_cast<wxComboBox*>(m_pMain->FindWindow(XRCID("IDC_OVERTIME")));
    ASSERT_NE(pOvertime, nullptr);
    EXPECT_EQ(pOvertime->GetString(5).utf8_string(), "1:30");
    CEntryListCtrl* pList = m_pMain->m_listEntries.GetListCtrl();
    const char* const columns[] = {"Beschreibung", "Datum", "Überstunden"};
    ASSERT_EQ(pList->GetColumnCount(), 3u);
    for (unsigned i = 0; i < 3; ++i)
        EXPECT_EQ(pList->GetColumn(i)->GetTitle().utf8_string(), columns[i]);
    // Labels longer than the English ones are shown whole: the form makes room for them.
    for (const char* pszLabel : {"IDC_DATE_LABEL", "IDC_OT_LABEL", "IDC_DESCRIPTION_LABEL"})
    {
        SCOPED_TRACE(pszLabel);
        wxWindow* pLabel = m_pMain->FindWindow(XRCID(pszLabel));
        ASSERT_NE(pLabel, nullptr);
        EXPECT_GE(pLabel->GetSize().GetWidth(), pLabel->GetTextExtent(pLabel->GetLabel()).GetWidth());
    }
    wxMenu* pMenu = m_pMain->GetSystemMenu();
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(pMenu->GetLabel(IDM_SYSCLOSE).utf8_string(), "&Schließen");
    EXPECT_EQ(pMenu->GetLabel(IDM_ABOUTBOX).utf8_string(), "&Über Vantrell...");
}

TEST_F(GermanLocaleTest, MessageBoxesAreGerman)
{
    OpenMain();
    Type("   ", "2024-03-01", "1:30");
    Click("IDC_ADD");
    Type("Datensicherung", "2024-03-01", "1:30");
    Click("IDC_ADD");
    Click("IDC_ADD");
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[0].strText, "Beschreibung fehlt.\r\nEs wurde kein Eintrag hinzugefügt.");
    EXPECT_EQ(m_messages[0].strCaption, "Fehler");
    EXPECT_EQ(m_messages[1].strText,
              "Dieser Eintrag ist bereits in der Liste.\r\nMöchten Sie ihn wirklich hinzufügen?");

    // The real box's buttons are the toolkit's own, in German too.
    wxMessageDialog box(m_pMain.get(), wxString::FromUTF8(m_messages[1].strText), "vantrell", wxYES_NO);
    std::vector<std::string> buttons;
    wxTimer answer;
    answer.Bind(wxEVT_TIMER, [&buttons](wxTimerEvent&) { buttons = AnswerMessageBoxNo(); });
    answer.StartOnce(300);
    EXPECT_EQ(box.ShowModal(), wxID_NO);
    EXPECT_EQ(buttons, (std::vector<std::string>{"Ja", "Nein"}));
}

TEST_F(GermanLocaleTest, CalendarStartsItsWeeksOnMondayWithGermanMonthNames)
{
    OpenMain();
    CDateDialog dialog(m_pMain.get());
    auto* pCalendar = dynamic_cast<wxCalendarCtrlBase*>(dialog.FindWindow(XRCID("IDC_CALENDAR")));
    ASSERT_NE(pCalendar, nullptr);
    EXPECT_EQ(dialog.GetTitle().utf8_string(), "Datumsauswahl");
    EXPECT_EQ(dialog.FindWindow(wxID_OK)->GetLabel().utf8_string(), "OK");
    // Away from the main window: a bare X server stacks the two as it likes.
    dialog.Move(0, 0);
    dialog.Show();
    dialog.Raise();
    ASSERT_TRUE(WaitFor([&] { return pCalendar->IsShownOnScreen(); }));
    pCalendar->SetDate(wxDateTime(1, wxDateTime::Jan, 2024));
    YieldFor(200);
    // The calendar takes the first day of the week and the names from the process's locale.
    EXPECT_EQ(FirstDayOfTheWeek(*pCalendar), wxDateTime::Mon);
    std::tm january{};
    january.tm_year = 124;
    january.tm_mday = 1;
    char szMonth[32];
    ASSERT_GT(std::strftime(szMonth, sizeof szMonth, "%B", &january), 0u);
    EXPECT_STREQ(szMonth, "Januar");
    dialog.Hide();
}

TEST_F(GermanLocaleTest, DataFileAndReportAreTheSameBytesAsInEnglish)
{
    WriteFile("ReportOutside.htm", "#COUNT# #VALUE# #TOTALMINS#\n#DATA#");
    WriteFile("ReportInside.htm", "#OT#|#DATE#|#DESCRIPTION#|#RUNNINGTOTAL#\n");
    OpenMain();
    Type("Überstunden für Müller", "2024-03-01", "1:30");
    Click("IDC_ADD");
    Type("Umzug Hauptstraße", "2024-12-31", "20000:00");
    Click("IDC_ADD");
    // The duplicate test compares bytes: other letter case is another entry in every locale.
    Type("ÜBERSTUNDEN FÜR MÜLLER", "2024-03-01", "1:30");
    Click("IDC_ADD");
    EXPECT_TRUE(m_messages.empty());
    m_answers = {EMessageAnswer::No};
    Click("IDC_REPORT");
    CloseMain();

    EXPECT_EQ(ReadFile("kvl.dat"), "CREATOR=KVL 1.0\r\n"
                                   "DESCRIPTION=Überstunden für Müller\r\nOT=1:30\r\nDATE=2024-03-01\r\n\r\n"
                                   "DESCRIPTION=Umzug Hauptstraße\r\nOT=20000:00\r\nDATE=2024-12-31\r\n\r\n"
                                   "DESCRIPTION=ÜBERSTUNDEN FÜR MÜLLER\r\nOT=1:30\r\nDATE=2024-03-01\r\n");
    const std::string strReport = ReadFile("report.htm");
    EXPECT_EQ(strReport.substr(0, strReport.find('\r')), "3 20003:00 1200180");
    EXPECT_NE(strReport.find("\r\n20000:00|2024-12-31|Umzug Hauptstraße|1200090\r\n"), std::string::npos)
        << strReport;

    // Read back under German, the file gives the same rows.
    OpenMain();
    ASSERT_EQ(m_pMain->m_listEntries.GetRowCount(), 3);
    EXPECT_EQ(m_pMain->m_listEntries.GetCellText(1, 0), "Umzug Hauptstraße");
    EXPECT_EQ(m_pMain->m_listEntries.GetCellText(1, 2), "20000:00");
}

TEST_F(GermanLocaleTest, HelpFileInGermanWhereOneLiesBesideTheEnglish)
{
    WriteFile("tool.HLP", "<html>English</html>");
    EXPECT_EQ(LocalizedHelpFile(m_folder.GetPath() + "/tool.HLP"), m_folder.GetPath() + "/tool.HLP");
    WriteFile("tool.de.HLP", "<html>Deutsch</html>");
    EXPECT_EQ(LocalizedHelpFile(m_folder.GetPath() + "/tool.HLP"), m_folder.GetPath() + "/tool.de.HLP");
}
