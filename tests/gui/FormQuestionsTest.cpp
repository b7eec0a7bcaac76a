// The questions that keep typed work: closing with an entry not yet added, and an overtime that
// would count as something else than it says.
#include "tests/gui/GuiTest.h"

#include "app/MainDialog.h"
#include "entries/EntryListCtrl.h"
#include "res/Resource.h"

#include <wx/combobox.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

namespace
{
const char kOneRow[] = "CREATOR=KVL 1.0\r\nDESCRIPTION=Backup\r\nOT=1\r\nDATE=2005-03-01\r\n";

class FormQuestionsTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        WriteFile("kvl.dat", kOneRow);
        OpenMain();
    }

    void Type(const EntryRow& row)
    {
        Text("IDC_DESCRIPTION")->ChangeValue(wxString::FromUTF8(row.strDescription));
        Text("IDC_DATE")->ChangeValue(wxString::FromUTF8(row.strDate));
        Overtime()->ChangeValue(wxString::FromUTF8(row.strOvertime));
    }
    EntryRow Shown()
    {
        return {Text("IDC_DESCRIPTION")->GetValue().utf8_string(), Text("IDC_DATE")->GetValue().utf8_string(),
                Overtime()->GetValue().utf8_string()};
    }
    wxTextCtrl* Text(const char* pszName) { return dynamic_cast<wxTextCtrl*>(m_pMain->FindWindow(XRCID(pszName))); }
    wxComboBox* Overtime() { return dynamic_cast<wxComboBox*>(m_pMain->FindWindow(XRCID("IDC_OVERTIME"))); }
    CEntryTable& Table() { return m_pMain->m_listEntries; }
    void Mark(int nRow) { Table().GetListCtrl()->MoveSelectionMark(nRow); }

    // The four ways a user closes the window.
    struct ClosePath
    {
        const char* pszName;
        std::function<void(CMainDialog&)> close;
        int nCode;
    };
    static std::vector<ClosePath> ClosePaths()
    {
        return {
            {"Quit", [](CMainDialog& d) { wxCommandEvent e(wxEVT_BUTTON, wxID_OK); d.ProcessWindowEvent(e); }, wxID_OK},
            {"Esc", [](CMainDialog& d) { wxKeyEvent e(wxEVT_CHAR_HOOK); e.m_keyCode = WXK_ESCAPE; d.ProcessWindowEvent(e); },
             wxID_CANCEL},
            {"close box", [](CMainDialog& d) { d.Close(); }, wxID_CANCEL},
            {"window menu", [](CMainDialog& d) { wxCommandEvent e(wxEVT_MENU, IDM_SYSCLOSE); d.ProcessWindowEvent(e); },
             wxID_CANCEL},
        };
    }
    // A fresh window on the one-row data file.
    void Reopen()
    {
        CloseMain();
        WriteFile("kvl.dat", kOneRow);
        m_messages.clear();
        m_answers.clear();
        OpenMain();
    }
};

const char kCloseQuestion[] = "The entry \"Server move\" in the form is not in the list.\r\n"
                              "Do you want to add it before closing?";
}  // namespace

TEST_F(FormQuestionsTest, ClosingWithATypedEntryAsksOnEveryPath)
{
    const struct
    {
        EMessageAnswer eAnswer;
        bool bCloses;
        bool bAdded;
    } answers[] = {
        {EMessageAnswer::Yes, true, true},
        {EMessageAnswer::No, true, false},
        {EMessageAnswer::Cancel, false, false},
    };
    for (const ClosePath& path : ClosePaths())
    {
        for (const auto& answer : answers)
        {
            SCOPED_TRACE(testing::Message() << path.pszName << ", answer " << static_cast<int>(answer.eAnswer));
            Reopen();
            Type({"Server move", "2026-12-11", "2:30"});
            m_pMain->SetReturnCode(0);
            m_answers = {answer.eAnswer};
            path.close(*m_pMain);
            ASSERT_EQ(m_messages.size(), 1u);
            EXPECT_EQ(m_messages[0].strText, kCloseQuestion);
            EXPECT_EQ(m_messages[0].eButtons, EMessageButtons::YesNoCancel);
            EXPECT_EQ(m_messages[0].strCaption, CToolkit::GetAppTitle());
            EXPECT_EQ(m_pMain->IsShown(), !answer.bCloses);
            EXPECT_EQ(m_pMain->GetReturnCode(), answer.bCloses ? path.nCode : 0);
            // Added means written at once, before the window is even destroyed.
            EXPECT_EQ(ReadFile("kvl.dat").find("Server move") != std::string::npos, answer.bAdded);
            if (!answer.bCloses)
            {
                EXPECT_EQ(Shown(), (EntryRow{"Server move", "2026-12-11", "2:30"}));
            }
            // The answer No leaves the table as it was.
            EXPECT_EQ(Table().GetRowCount(), answer.bAdded ? 2 : 1);
            Type({"", "", ""});
        }
    }
}

TEST_F(FormQuestionsTest, YesThatAddRefusesKeepsTheWindowOpen)
{
    // The typed entry is already in the list: Add's own question comes next, and its No refuses.
    Type({"Backup", "2005-03-01", "1:00"});
    Table().SetCellText(0, 2, "1:00");
    m_answers = {EMessageAnswer::Yes, EMessageAnswer::No};
    m_pMain->SetReturnCode(0);
    wxCommandEvent quit(wxEVT_BUTTON, wxID_OK);
    m_pMain->ProcessWindowEvent(quit);
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[1].strText, "This entry is already in the list.\r\nDo you really want to add this item?");
    EXPECT_TRUE(m_pMain->IsShown());
    EXPECT_EQ(m_pMain->GetReturnCode(), 0);
    EXPECT_EQ(Table().GetRowCount(), 1);

    // An overtime question answered No refuses as well.
    Type({"Night shift", "", "1.5"});
    m_messages.clear();
    m_answers = {EMessageAnswer::Yes, EMessageAnswer::No};
    m_pMain->ProcessWindowEvent(quit);
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_TRUE(m_pMain->IsShown());
    EXPECT_EQ(Table().GetRowCount(), 1);
}

TEST_F(FormQuestionsTest, NoQuestionForAFormWithNothingNew)
{
    const struct
    {
        const char* pszCase;
        std::function<void()> make;
    } cases[] = {
        {"empty form", [] {}},
        {"blank description", [this] { Type({" \t ", "2026-12-11", "1:00"}); }},
        {"row just loaded", [this] { Mark(0); ClickList(); }},
        {"entry just added", [this] { Type({"Night shift", "", "1"}); Click("IDC_ADD"); }},
        {"report leaves the last row in the form", [this] {
             WriteFile("ReportOutside.htm", "#COUNT#");
             WriteFile("ReportInside.htm", "");
             Click("IDC_REPORT");
             m_messages.clear();
         }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszCase);
        Reopen();
        c.make();
        wxCommandEvent quit(wxEVT_BUTTON, wxID_OK);
        m_pMain->ProcessWindowEvent(quit);
        EXPECT_TRUE(m_messages.empty());
        EXPECT_FALSE(m_pMain->IsShown());
    }
}

TEST_F(FormQuestionsTest, ALoadedRowChangedInTheFormIsAskedAbout)
{
    Mark(0);
    ClickList();
    Text("IDC_DESCRIPTION")->ChangeValue("Backup of the mail server");
    m_answers = {EMessageAnswer::Cancel};
    m_pMain->Close();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_pMain->IsShown());
}

TEST_F(FormQuestionsTest, ATerminationSignalDoesNotAsk)
{
    Type({"Server move", "", ""});
    m_pMain->EndOnSignal();
    EXPECT_TRUE(m_messages.empty());
    EXPECT_FALSE(m_pMain->IsShown());
}

TEST_F(FormQuestionsTest, AnOvertimeThatCountsAsSomethingElseIsQuestionedOnAdd)
{
    const struct
    {
        const char* pszOvertime;
        const char* pszCount;
    } cases[] = {
        {"1.5", "1:00"}, {"2h 30m", "2:00"}, {"abc", "0:00"}, {"-1:30", "-0:30"}, {"1:", "1:00"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszOvertime);
        m_messages.clear();
        const std::string strFile = ReadFile("kvl.dat");
        Type({"Night shift", "2026-12-11", c.pszOvertime});
        m_answers = {EMessageAnswer::No};
        Click("IDC_ADD");
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].strText, std::string("The overtime \"") + c.pszOvertime +
                                             "\" is not in hours and minutes (such as 1:30) and will count as " +
                                             c.pszCount + ".\r\nDo you want to add it anyway?");
        EXPECT_EQ(m_messages[0].eButtons, EMessageButtons::YesNo);
        EXPECT_TRUE(m_messages[0].bExclamation);
        // No: nothing added or written, the form exactly as typed ("1:" not completed to "1:00").
        EXPECT_EQ(Table().GetRowCount(), 1);
        EXPECT_EQ(ReadFile("kvl.dat"), strFile);
        EXPECT_EQ(Shown(), (EntryRow{"Night shift", "2026-12-11", c.pszOvertime}));

        // Yes: added with the text as typed.
        m_answers = {EMessageAnswer::Yes};
        Click("IDC_ADD");
        ASSERT_EQ(Table().GetRowCount(), 2);
        EXPECT_EQ(Table().GetRow(0).strOvertime, c.pszOvertime);
        Mark(0);
        Click("IDC_DELETE");
    }
}

TEST_F(FormQuestionsTest, PlainAndEmptyOvertimesAreNotQuestioned)
{
    for (const char* pszOvertime : {"", "  ", "1", "1:30", ":45", " -2", "12:00", "1:75"})
    {
        SCOPED_TRACE(pszOvertime);
        Type({std::string("Entry ") + pszOvertime, "", pszOvertime});
        Click("IDC_ADD");
        EXPECT_TRUE(m_messages.empty());
        EXPECT_EQ(Table().GetRow(0).strOvertime, pszOvertime);
    }
}

TEST_F(FormQuestionsTest, AnOvertimeThatCountsAsSomethingElseIsQuestionedOnUpdate)
{
    Mark(0);
    ClickList();
    Overtime()->ChangeValue("1,5");
    m_answers = {EMessageAnswer::No};
    Click("IDC_UPDATE");
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].strText, "The overtime \"1,5\" is not in hours and minutes (such as 1:30) and will "
                                     "count as 1:00.\r\nDo you want to update the entry anyway?");
    EXPECT_EQ(Table().GetRow(0).strOvertime, "1");
    EXPECT_EQ(Shown(), (EntryRow{"Backup", "2005-03-01", "1,5"}));  // not emptied

    m_answers = {EMessageAnswer::Yes};
    Click("IDC_UPDATE");
    EXPECT_EQ(Table().GetRow(0).strOvertime, "1,5");
    EXPECT_EQ(Shown(), (EntryRow{"", "", ""}));

    // With no row marked nothing would change: no question, and the form is emptied as before.
    Mark(-1);
    m_messages.clear();
    Type({"Backup", "", "1,5"});
    Click("IDC_UPDATE");
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(Shown(), (EntryRow{"", "", ""}));
}
